// Keeps the statistics of the open log up to date as the log changes (and the height
// differences the currency rules count), without ever making the window wait for the disk: the barographs are stat'ed, read, hashed and analysed on a
// worker thread from a copy of what the log names, and what was learned about each row is
// kept by its rowId, so that a change costs only the rows it changed. QtCore only.
//
// A row is looked at again when its barograph name or the fields that name its flight
// (date, times, duration, altitude, climb: what cutting or correcting its barograph
// rewrites) differ from the last look; every row when asked to recheck the files, which the
// statistics window does when it is opened or its command chosen again: a file changed
// behind the log's back is noticed then.
#pragma once

#include "barograph/core/logstatistics.h"
#include "logbook/core/currency.h"
#include "logbook/core/statistics.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <memory>
#include <unordered_map>

class LogBook;

class StatisticsRefresh : public QObject {
    Q_OBJECT
public:
    /// Follows `book`, which must outlive this object; it is read and its analysis cache
    /// written on this object's thread only.
    explicit StatisticsRefresh(LogBook &book, QObject *parent = nullptr);
    /// Cancels the look under way and waits for it to stop (within one file).
    ~StatisticsRefresh() override;

    /// The log changed: a look under way is for a log that no longer is, and its result is
    /// not shown (what it found about rows still as they were is kept). update() follows.
    void logChanged();
    /// Brings the statistics up to the log as it is now: the rows that changed since their
    /// last look (every row with `recheckFiles`) are looked at on the worker, the others
    /// reused. Returns at once; ready() says when statistics() holds the result, before this
    /// returns when no barograph needs a look. A look under way is cancelled and the
    /// update follows when it has stopped. Before a long look, preview() says that
    /// statistics() holds the log's figures with the climbing known so far.
    void update(bool recheckFiles = false);

    bool isLooking() const { return m_job != nullptr; }
    const LogStatistics &statistics() const { return m_statistics; }
    /// Row `row`'s height difference as its last look found it; Reading while it has had none.
    RowHeight heightOf(int row) const;

    /// How often progress() is said during a look.
    static constexpr int kProgressIntervalMs = 100;
    /// A look at more barographs than this takes long enough (some 10 ms at least) for
    /// the pilot to see the figures of the rows first: an exclusion toggled during a first
    /// look at 20,000 flights shows at once, not half a minute later.
    static constexpr size_t kPreviewRows = 64;

signals:
    /// Barographs looked at so far of those this look needs.
    void progress(int done, int total);
    void preview();
    void ready();
    /// A look at barographs started (true) or ended with none following (false).
    void lookingChanged(bool looking);

private:
    struct Job;
    /// What the last look at a row found, and the row's key then.
    struct RowLook {
        size_t key = 0;
        std::optional<StatisticsInputs::Climbing> climbing;
        std::optional<double> heightDrop;
    };

    void start();
    void onLooked(const std::shared_ptr<Job> &job);
    void compute();
    void announceLooking();

    LogBook &m_book;
    QString m_folder; ///< the work folder the looks were made in
    std::unordered_map<quint64, RowLook> m_looks;
    quint64 m_generation = 0; ///< bumped on every change of the log
    bool m_updatePending = false;
    bool m_announcedLooking = false;
    bool m_recheckPending = false;
    std::shared_ptr<Job> m_job; ///< the look under way
    LogStatistics m_statistics;
    QTimer m_progressTimer;
    QThreadPool m_pool; ///< one thread: a superseded look ends before the next starts
};
