// The statistics of the open log, kept up to date off the window's thread.
#include "statisticsrefresh.h"

#include "barograph/core/currencyreport.h"
#include "logbook/core/logbook.h"

#include <QHash>

#include <atomic>
#include <utility>

namespace {

/// What a look at a row's barograph depends on: its name, and the fields that cutting or
/// correcting the barograph rewrites (a file changed so is stat'ed again). A comment, a site
/// or leaving the flight out changes nothing here.
size_t lookKey(const FlightRecord &f)
{
    return qHashMulti(0, f.barographFile.view(), f.date.view(), f.time.view(), f.duration.view(),
                      f.maxAltitude.view(), f.maxClimb.view());
}

} // namespace

/// One look, shared by the window's thread and the worker: the worker writes `found` and
/// `done`, the window's thread `cancel`; everything else is fixed when the job is made.
struct StatisticsRefresh::Job {
    quint64 generation = 0;
    QString folder;
    std::vector<BarographToLook> rows;
    std::vector<size_t> keys; ///< each row's lookKey when the job was made
    std::map<QByteArray, Companion::Analysis> cache;
    std::atomic<bool> cancel = false;
    std::atomic<int> done = 0;
    BarographLooks found;
};

StatisticsRefresh::StatisticsRefresh(LogBook &book, QObject *parent) : QObject(parent), m_book(book)
{
    m_pool.setMaxThreadCount(1);
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_job)
            emit progress(m_job->done.load(), int(m_job->rows.size()));
    });
}

StatisticsRefresh::~StatisticsRefresh()
{
    if (m_job)
        m_job->cancel = true;
    m_pool.waitForDone();
}

void StatisticsRefresh::logChanged()
{
    ++m_generation;
    if (m_job)
        m_job->cancel = true;
}

void StatisticsRefresh::update(bool recheckFiles)
{
    logChanged();
    m_recheckPending = m_recheckPending || recheckFiles;
    if (m_job)
        m_updatePending = true; // when the cancelled look has stopped
    else
        start();
}

void StatisticsRefresh::start()
{
    m_updatePending = false;
    const bool recheck = std::exchange(m_recheckPending, false);
    if (m_book.workFolder != m_folder) {
        m_looks.clear();
        m_folder = m_book.workFolder;
    }
    // Rows no longer in the log (deleted, or another log opened) are forgotten now and then.
    if (m_looks.size() > 2 * size_t(m_book.rowCount()) + 64) {
        std::unordered_map<quint64, RowLook> present;
        for (const FlightRecord &flight : m_book.records()) {
            if (const auto it = m_looks.find(flight.rowId); it != m_looks.end())
                present.insert(*it);
        }
        m_looks = std::move(present);
    }
    auto job = std::make_shared<Job>();
    for (int row = 1; row < m_book.rowCount(); ++row) {
        const FlightRecord &flight = m_book.row(row);
        const size_t key = lookKey(flight);
        const auto known = m_looks.find(flight.rowId);
        if (!recheck && known != m_looks.end() && known->second.key == key)
            continue;
        if (!needsBarographLook(flight)) {
            m_looks[flight.rowId] = {key, std::nullopt, std::nullopt};
            continue;
        }
        job->rows.push_back({flight.rowId, flight.barographFile.toByteArray()});
        job->keys.push_back(key);
    }
    if (job->rows.empty()) {
        compute();
        emit ready();
        announceLooking();
        return;
    }
    job->generation = m_generation;
    job->folder = m_folder;
    job->cache = m_book.companion.analysis;
    m_job = job;
    // `this` outlives the job: the destructor waits for it. A result posted to a destroyed
    // object is dropped by Qt.
    m_pool.start([this, job] {
        job->found = lookAtBarographs(job->rows, job->folder, job->cache, &job->cancel, &job->done);
        QMetaObject::invokeMethod(this, [this, job] { onLooked(job); }, Qt::QueuedConnection);
    });
    emit progress(0, int(job->rows.size()));
    m_progressTimer.start();
    announceLooking();
    if (job->rows.size() > kPreviewRows) {
        compute();
        emit preview();
    }
}

// Said on changes only: a look that ends into the next one (the log changed meanwhile) is one
// piece of work to the commands.
void StatisticsRefresh::announceLooking()
{
    if (isLooking() != m_announcedLooking) {
        m_announcedLooking = isLooking();
        emit lookingChanged(m_announcedLooking);
    }
}

void StatisticsRefresh::onLooked(const std::shared_ptr<Job> &job)
{
    m_job.reset();
    m_progressTimer.stop();
    // What the look found stays true of each row as it was when the job was made: a row
    // changed since has another key and is looked at again. Rows a cancelled look did not
    // reach are forgotten, so that a recheck it was doing is finished by the next one.
    if (job->folder == m_book.workFolder) {
        const std::vector<BarographLooks::Look> &looks = job->found.looks;
        for (size_t i = 0; i < job->rows.size(); ++i) {
            if (i < looks.size())
                m_looks[looks[i].rowId] = {job->keys[i], looks[i].climbing, looks[i].heightDrop};
            else
                m_looks.erase(job->rows[i].rowId);
        }
        for (const auto &[hash, figures] : job->found.learned)
            m_book.companion.analysis[hash] = figures;
    }
    if (m_updatePending)
        start();
    else if (job->generation == m_generation) {
        compute();
        emit ready();
    }
    // else the log changed and its update() is on its way.
    announceLooking();
}

RowHeight StatisticsRefresh::heightOf(int row) const
{
    const FlightRecord &flight = m_book.row(row);
    const auto it = m_looks.find(flight.rowId);
    // A row changed since its look (another barograph named) is being looked at again.
    if (it == m_looks.end() || it->second.key != lookKey(flight))
        return {RowHeight::State::Reading, 0};
    return rowHeight(flight, it->second.climbing, it->second.heightDrop);
}

void StatisticsRefresh::compute()
{
    m_statistics = computeStatistics(m_book, statisticsInputsOf(m_book, [this](int row) {
        const auto it = m_looks.find(m_book.row(row).rowId);
        return it == m_looks.end() ? std::nullopt : it->second.climbing;
    }));
}
