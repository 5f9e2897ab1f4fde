// The log book commands as the pilot starts them from the main window: open, add, save,
// save as, sort, delete, new record, edit, show barograph, and the closing of editor and
// barograph windows. The main window dispatches to these and sets command states through
// LogCommandHost.
#pragma once

#include "logbook/core/flightrecord.h"
#include "logbook/ui/tformtotal.h"

#include <QPointer>
#include <QString>

class MainFormLink;
class QMdiSubWindow;
class TLogG;

/// What the log book commands need from the main window beyond MainFormLink: the command
/// states their events set, and the windows and the barograph queue it owns.
class LogCommandHost {
public:
    virtual ~LogCommandHost() = default;

    virtual bool isDeleteButtonEnabled() const = 0;
    /// A download is running or waiting: it refers to rows by their index.
    virtual bool isDownloadPending() const = 0;
    virtual void setRecordCommands(bool enabled) = 0;
    /// Open succeeded: save commands disabled; record commands, save as and add enabled.
    virtual void logOpened() = 0;
    /// Add done: save commands, record commands and save as enabled.
    virtual void logMerged() = 0;
    /// Delete done: save commands enabled; record commands disabled if no flight remains.
    virtual void flightsDeleted(bool flightsRemain) = 0;
    /// The log file was written: save commands disabled.
    virtual void logWritten() = 0;
    /// An editor / a barograph window was opened by Edit / Show barograph.
    virtual void editorOpened() = 0;
    virtual void graphOpened() = 0;
    /// Close all editors / graphs left none open.
    virtual void allEditorsClosed() = 0;
    virtual void allGraphsClosed() = 0;
    /// Makes the editor of a row (-1: a new flight) after setting currentRow; null when no
    /// editor can be made.
    virtual QMdiSubWindow *createEditorWindow(int row) = 0;
    /// Puts a row in the barograph download queue (once) and starts the load timer.
    virtual void queueBarograph(int row) = 0;
};

class LogBookCommands {
public:
    LogBookCommands(MainFormLink &link, LogCommandHost &host, TLogG &list);

    /// Open with a path, or with the open dialog when `path` is empty.
    void open(const QString &path = QString());
    void merge();
    /// Each returns true when the log was written (false: cancelled, or failed and said so).
    bool save();
    bool saveAs();
    void sortByDate();
    void deleteSelected();
    void newRecord();
    void editSelected();
    void showBarographs();
    /// Writes the flights as CSV: asks for the encoding (Yes UTF-8, No cp932) and the file.
    /// Returns true when a file was written.
    bool exportCsv();
    /// Adds the flights of a CSV file as Add does; a file with any unreadable line adds
    /// nothing and names those lines.
    void importCsv();
    /// Sorts (with the sort's question and messages) and shows the totals by month and year
    /// in the one totals window, made when there is none. Does nothing without flights.
    void showTotals();
    /// The totals window while it is open.
    TFormTotal *totalsWindow() const { return m_totals; }
    /// Asks every open barograph / editor window to close. Returns true when none is left.
    bool closeAllGraphs();
    bool closeAllEditors();
    /// The gate before the rows are replaced, reordered or removed: asks to close every
    /// editor and barograph window. True when none is left open.
    bool closeAll();

private:
    bool anyWindowOpen() const;
    bool closeRowWindows(bool FlightRecord::*open, QPointer<QObject> FlightRecord::*window);
    bool gateOrReport();
    /// After flights were appended (Add, CSV): redraw, mark modified, report duplicates.
    void flightsAdded();
    bool downloadAllowsMovingRows();
    bool saveTo(const QString &path);
    void deleteBarographOf(int row, const QString &folder);

    MainFormLink &m_link;
    LogCommandHost &m_host;
    TLogG &m_list;
    QPointer<TFormTotal> m_totals;
};
