// What the windows of every subsystem ask of the main window: the shared log book and its
// list, the questions and the row handed to a new window. What happens in a window (an
// editor shown, a barograph loaded) it announces with its own signals; the main window
// turns those into command states. The main window implements this; tests use a small fake.
#pragma once

class LogBook;
class Prompter;
class QMdiArea;
class QMdiSubWindow;
class QWidget;

class MainFormLink {
public:
    virtual ~MainFormLink() = default;

    virtual LogBook &logBook() = 0;
    virtual Prompter &prompter() = 0;
    /// The main window itself: the parent of the dialogs the windows raise.
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

    /// The log book changed outside the log book commands (a barograph saved back into its
    /// row, a download): the save commands are enabled while the log is modified.
    virtual void logChanged() = 0;
};

/// Shows the one window of a kind in the workspace: added to it when `added` (just made),
/// then brought back from minimized or maximized and made the active one.
void bringToFront(MainFormLink &link, QMdiSubWindow *window, bool added);
