// The shell's own commands as the main window's menus start them: the start-folder dialog and
// the start folder, the background dialog and picture, the window menu and the about box. The
// main window builds the menus and connects them here; what each command changes in the
// command states is announced through commandEvent().
#pragma once

#include "app/core/commandstates.h"
#include "app/ui/tbackgrd.h"
#include "app/ui/tformdir.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

struct AppSettings;
class LogBook;
class Prompter;
class Workspace;
class QAction;
class QMenu;
class QWidget;

class ShellCommands : public QObject {
    Q_OBJECT
public:
    /// Everything it works on is owned by `frame`, the main window, and outlives this object.
    ShellCommands(QWidget *frame, AppSettings &settings, LogBook &book, Workspace &workspace, Prompter &prompter);

    /// Start-up: the work folder the settings and the current folder give. A stored start
    /// folder that no longer exists is said so, once the window is up.
    void chooseStartFolder();
    /// Start-up: the background picture the settings name (none when it cannot be read).
    void loadBackground();

    /// The start-folder dialog (modeless, on top); its command is disabled while it is open.
    void openStartFolderDialog();
    /// The background dialog, likewise.
    void openBackgroundDialog();
    TFormDir *formDir() const { return m_formDir; }
    TBackGrd *backgroundDialog() const { return m_backGrd; }
    const QImage &backgroundPicture() const { return m_picture; }

    // The window menu.
    void cascade();
    /// Horizontal tiling of the windows that are not minimised.
    void tile();
    /// Minimised windows in a row along the bottom of the workspace.
    void arrangeIcons();
    /// Every window minimised, from the last to the first.
    void minimizeAll();
    /// Rewrites the list of open windows at the end of `menu` (before it shows).
    void updateWindowMenu(QMenu *menu);

    void about();

signals:
    /// A command changed what the command states depend on.
    void commandEvent(CommandEvent event);
    /// A log file double-clicked in the start-folder dialog, to be opened.
    void logFileChosen(const QString &path);

private:
    void showDialog(QDialog *dialog, CommandEvent opened, CommandEvent closed);
    void startFolderChosen(const StartFolderChoice &choice);
    void backgroundChosen(const BackgroundChoice &choice);
    void showBackground();

    QWidget *m_frame;
    AppSettings &m_settings;
    LogBook &m_book;
    Workspace &m_workspace;
    Prompter &m_prompter;
    QImage m_picture;
    QPointer<TFormDir> m_formDir;
    QPointer<TBackGrd> m_backGrd;
    QList<QAction *> m_windowListActions;
};
