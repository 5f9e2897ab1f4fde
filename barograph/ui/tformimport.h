// The import of flights from other instruments' logs as the pilot sees it: files or a folder
// chosen, read on a worker thread with progress and cancel, then a preview of what each file
// becomes (new, already in the log beside the row it repeats, refused with its reason) with
// a choice for each duplicate and for all of them, in the time zone the pilot chooses (the
// preview's dates and times follow a change at once). Nothing is written until 取り込む; the
// owner then applies the items (applyImport) and saves. The rows the preview names stay
// where they are while it is open (the command-state table holds them).
#pragma once

#include "barograph/core/flightimport.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <mutex>

class LogBook;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;

class TFormImport : public QDialog {
    Q_OBJECT
public:
    /// `book` is the log the preview compares with; it must outlive the dialog. The zone the
    /// preview starts in is `settings`' offset.
    TFormImport(const LogBook &book, ImportSettings settings, QWidget *parent = nullptr);
    /// Stops a reading still running and waits for its thread.
    ~TFormImport() override;

    /// Reads the files and folders (recursed) on the worker, then shows the preview.
    void readSources(const QStringList &paths);
    /// Stops the reading after the file being read; the files read so far stay in the preview.
    void cancelReading();
    bool isReading() const { return m_thread != nullptr; }

    /// The files as read, with the pilot's choices (for applyImport).
    std::vector<ImportItem> &items() { return m_items; }

    // Column indexes of the preview table.
    enum Column { ColFile, ColStatus, ColDate, ColTime, ColDuration, ColAltitude, ColClimb, ColArea, ColChoice, ColReason };

signals:
    /// The preview is complete (or the reading was cancelled): the items can be applied.
    void previewReady();
    /// The pilot chose the zone the flights' dates and times are in (none: the computer's).
    void zoneChosen(std::optional<qint32> utcOffsetMinutes);

private:
    struct Reading;
    void onReadingFinished();
    void showProgress();
    void fillTable();
    void setAllDuplicates(bool add);
    void updateSummary();
    void fillZones();
    void chooseZone();

    const LogBook &m_book;
    ImportSettings m_settings;
    std::vector<ImportItem> m_items;
    QLineEdit *m_path;
    QPushButton *m_read;
    QComboBox *m_zone;
    QProgressBar *m_progress;
    QPushButton *m_cancel;
    QTableWidget *m_table;
    QLabel *m_summary;
    QPushButton *m_import;
    QTimer *m_poll;
    QThread *m_thread = nullptr;
    std::shared_ptr<Reading> m_reading;
};
