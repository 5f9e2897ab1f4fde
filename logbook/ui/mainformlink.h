// What the windows of every subsystem ask of the main window: the shared log book and its
// list, the questions, the row handed to a new window, and the events of the command-
// enabling table. The main window implements it; tests implement it with a small fake.
#pragma once

class LogBook;
class Prompter;
class QMdiArea;
class QWidget;

class MainFormLink {
public:
    virtual ~MainFormLink() = default;

    virtual LogBook &logBook() = 0;
    virtual Prompter &prompter() = 0;
    /// The main window itself (tool windows are placed relative to it).
    virtual QWidget *frameWindow() = 0;
    /// The workspace that MDI children are added to.
    virtual QMdiArea *workspaceArea() = 0;
    /// The row handed to the window being created (-1: a new flight).
    virtual int currentRow() const = 0;

    /// The log list: set its row count (title row included), renumber and redraw it all,
    /// or show one row again after single-cell changes.
    virtual void setGridRowCount(int rows) = 0;
    virtual void redrawGrid() = 0;
    virtual void refreshRow(int row) = 0;

    /// Opens the barograph window of a row, as Show barograph does for one row with a
    /// barograph file (used when downloaded barographs are opened).
    virtual void openGraphWindow(int row) = 0;

    // Events of the enabling table; each sets exactly the commands its row names.
    /// A barograph window has loaded its file: DeleteItem and CutBtn disabled, HeightAdjust enabled.
    virtual void graphLoaded() = 0;
    /// A barograph window closed (its row's graphOpen already cleared).
    virtual void graphClosed() = 0;
    /// A record editor was shown; `newRecord` when it edits a new flight.
    virtual void editorShown(bool newRecord) = 0;
    /// A record editor closed (its row's editorOpen already cleared).
    virtual void editorClosed(bool newRecord) = 0;
    /// A record editor saved its data into the log book.
    virtual void editorSaved() = 0;
    /// A log download appended its flights.
    virtual void logDownloadDone() = 0;
    /// A downloaded barograph's window was opened: GraphClose enabled.
    virtual void downloadedGraphOpened() = 0;
    /// The log book changed outside the log book commands (a barograph saved back into its
    /// row, a download): the save commands are enabled while the log is modified.
    virtual void logChanged() = 0;
};
