// The log book commands as the pilot starts them from the main window: open, add, save,
// save as, sort, delete, new record, edit, show barograph, and the closing of editor and
// barograph windows. The main window dispatches to these; each command announces what it did
// with a signal, from which the main window sets the command states.
#pragma once

#include "logbook/core/filewriter.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/loghistory.h"
#include "logbook/ui/tformtotal.h"

#include <QObject>
#include <QPointer>
#include <QString>

class MainFormLink;
class QMdiSubWindow;
class TLogG;

/// What the log book commands need from the main window beyond MainFormLink: the state of
/// its delete button, and the windows and the barograph queue it owns.
class LogCommandHost {
public:
    virtual ~LogCommandHost() = default;

    /// The record commands' state as the delete button shows it (Open, cancelled or failed,
    /// gives it back to them).
    virtual bool isDeleteButtonEnabled() const = 0;
    /// A download is running or waiting: it refers to rows by their index.
    virtual bool isDownloadPending() const = 0;
    /// Makes the editor of a row (-1: a new flight) after setting currentRow; null when no
    /// editor can be made.
    virtual QMdiSubWindow *createEditorWindow(int row) = 0;
    /// Puts a row in the barograph download queue (once) and starts the load timer.
    virtual void queueBarograph(int row) = 0;
};

class LogBookCommands : public QObject {
    Q_OBJECT
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

    /// Undo / redo of the log's latest step (the Edit menu's items when no barograph window
    /// is active). Editors and barograph windows follow their rows wherever a step moves
    /// them; a step that takes away a row with a window open first asks every window to
    /// close, as Delete does. A step that moves rows waits for a download (it names rows by
    /// their place). Undoing a delete puts the barographs it took into bak back where they
    /// were; redoing it takes them again.
    void undo();
    void redo();
    /// After an import appended its flights and recorded its step: shows them, and saves the
    /// log with their barographs in one write (a log never saved writes the barographs alone
    /// and stays modified). When the write fails (said), the step is undone: no row names a
    /// file that is not there. True when the files were written.
    bool flightsImported(std::vector<FileImage> barographs);
    /// Records what the rows' latest change was, as one step of the history.
    void recordStep(const QString &name, std::vector<RetiredFile> retired = {});

signals:
    /// Open read a log file into the log book.
    void logOpened();
    /// Open was cancelled in its file dialog or could not read the file; the record
    /// commands go back to `recordCommands`, their state when it started.
    void openFailed(bool recordCommands);
    /// Add (or a CSV's flights) appended flights.
    void logMerged();
    void flightsDeleted(bool flightsRemain);
    /// Save or Save as wrote the log file.
    void logWritten();
    /// Edit opened at least one editor; Show barograph opened a window.
    void editorsOpened();
    void graphsOpened();
    /// Close all editors / graphs left none open.
    void allEditorsClosed();
    void allGraphsClosed();
    /// The history changed: a step recorded, undone or redone.
    void historyChanged();
    /// Undo or redo changed the rows.
    void historyStepped(bool flightsRemain);

private:
    void stepHistory(bool back);
    void putBackRetired(const std::vector<RetiredFile> &files);
    std::vector<RetiredFile> retireAgain(const std::vector<RetiredFile> &files);
    bool anyWindowOpen() const;
    bool closeRowWindows(bool FlightRecord::*open, QPointer<QObject> FlightRecord::*window);
    bool gateOrReport();
    /// After flights were appended (Add, CSV): redraw, mark modified, record the step
    /// called `step`, report duplicates.
    void flightsAdded(const QString &step);
    bool downloadAllowsMovingRows();
    bool saveTo(const QString &path, std::vector<FileImage> barographs = {});
    /// The barograph file goes into bak (the answer yes) or stays; what went, in `retired`.
    void deleteBarographOf(int row, const QString &folder, std::vector<RetiredFile> &retired);
    /// The selected rows that hold flights, ascending, gaps kept.
    std::vector<int> selectedFlights() const;

    MainFormLink &m_link;
    LogCommandHost &m_host;
    TLogG &m_list;
    QPointer<TFormTotal> m_totals;
    int m_csvChoice = 0; ///< the export dialog's file type last chosen: its encoding
};
