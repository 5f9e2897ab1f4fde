// The shell's commands.
#include "shellcommands.h"

#include "app/core/appsettings.h"
#include "app/core/messages.h"
#include "app/core/tiling.h"
#include "app/ui/workspace.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/questionparent.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

ShellCommands::ShellCommands(QWidget *frame, AppSettings &settings, LogBook &book, Workspace &workspace,
                             Prompter &prompter)
    : QObject(frame), m_frame(frame), m_settings(settings), m_book(book), m_workspace(workspace),
      m_prompter(prompter)
{
}

void ShellCommands::chooseStartFolder()
{
    QString missing;
    m_book.workFolder = decideWorkFolder(m_settings, QDir::currentPath(), &missing);
    if (missing.isEmpty())
        return;
    // Said once the window is up, over the start-folder dialog if that opens.
    const QString text = msg::StartFolderMissing.toString().arg(QDir::toNativeSeparators(missing),
                                                                 QDir::toNativeSeparators(m_book.workFolder));
    QTimer::singleShot(0, this, [this, text] { m_prompter.inform(text); });
}

void ShellCommands::loadBackground()
{
    // A picture that cannot be loaded leaves the workspace with its gradient.
    if (!m_settings.bmpFileName.isEmpty())
        m_picture.load(m_settings.bmpFileName);
    showBackground();
}

void ShellCommands::showBackground()
{
    m_workspace.setBackground(m_settings.ifUseBmp, m_settings.ifScaleBmp, m_picture);
}

void ShellCommands::showDialog(QDialog *dialog, CommandEvent opened, CommandEvent closed)
{
    connect(dialog, &QDialog::finished, this, [this, closed] { emit commandEvent(closed); });
    emit commandEvent(opened);
    dialog->show();
    // At start-up the dialog is shown while the main window is still being mapped, and the
    // window manager then gives the keyboard to the main window: the pilot would type into
    // the log list behind the dialog. Ask for it once the event loop runs.
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->raise();
        dialog->activateWindow();
    });
}

void ShellCommands::openStartFolderDialog()
{
    auto *dialog = new TFormDir({m_book.workFolder, m_settings.ifDirSet, m_settings.dontAskDir}, m_prompter, m_frame);
    m_formDir = dialog;
    connect(dialog, &TFormDir::chosen, this, &ShellCommands::startFolderChosen);
    // A double-click on a log file: the dialog has closed with its settings taken, and the
    // main window opens the log as its open command would.
    connect(dialog, &TFormDir::logFileChosen, this, &ShellCommands::logFileChosen);
    showDialog(dialog, CommandEvent::StartDirOpened, CommandEvent::StartDirClosed);
}

void ShellCommands::startFolderChosen(const StartFolderChoice &choice)
{
    m_book.workFolder = withTrailingSlash(absoluteFolder(choice.workFolder, QDir::currentPath()));
    m_settings.ifDirSet = choice.ifDirSet;
    m_settings.dontAskDir = choice.dontAskDir;
    QDir::setCurrent(m_book.workFolder);
}

void ShellCommands::openBackgroundDialog()
{
    auto *dialog = new TBackGrd({m_settings.ifUseBmp, m_settings.ifScaleBmp, m_settings.bmpFileName}, m_book.workFolder,
                                m_prompter, m_frame);
    m_backGrd = dialog;
    connect(dialog, &TBackGrd::chosen, this, &ShellCommands::backgroundChosen);
    showDialog(dialog, CommandEvent::BackgroundOpened, CommandEvent::BackgroundClosed);
}

void ShellCommands::backgroundChosen(const BackgroundChoice &choice)
{
    m_settings.ifUseBmp = choice.usePicture;
    m_settings.ifScaleBmp = choice.stretch;
    m_settings.bmpFileName = choice.pictureFile;
    bool failed = false;
    if (m_settings.ifUseBmp) {
        m_picture = QImage(choice.pictureFile);
        // The settings say what the workspace shows: without a picture, the gradient.
        failed = m_picture.isNull();
        if (failed)
            m_settings.ifUseBmp = false;
    }
    showBackground();
    m_workspace.viewport()->repaint();
    if (failed)
        m_prompter.inform(msg::PictureCannotLoad.toString().arg(QDir::toNativeSeparators(choice.pictureFile)));
}

void ShellCommands::cascade()
{
    m_workspace.cascadeWindows();
}

void ShellCommands::tile()
{
    // Minimised windows stay where they are, along the bottom. Maximised ones are restored
    // before the workspace is measured, so that every window shares all of it.
    QList<QMdiSubWindow *> windows = m_workspace.arrangeableWindows();
    for (QMdiSubWindow *w : windows)
        if (w->isMaximized())
            w->showNormal();
    const std::vector<QRect> places = tileHorizontally(int(windows.size()), m_workspace.viewport()->size());
    for (qsizetype i = 0; i < windows.size(); ++i)
        windows[i]->setGeometry(places[size_t(i)]);
}

void ShellCommands::arrangeIcons()
{
    // Minimised children line up along the bottom of the workspace, left to right.
    int x = 0;
    const QSize room = m_workspace.viewport()->size();
    for (QMdiSubWindow *w : m_workspace.subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > room.width())
            x = 0;
        w->move(x, room.height() - size.height());
        x += size.width();
    }
}

void ShellCommands::minimizeAll()
{
    const QList<QMdiSubWindow *> windows = m_workspace.subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->showMinimized();
}

void ShellCommands::updateWindowMenu(QMenu *menu)
{
    for (QAction *a : std::as_const(m_windowListActions)) {
        menu->removeAction(a);
        delete a;
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow *> windows = m_workspace.subWindowList();
    if (windows.isEmpty())
        return;
    m_windowListActions << menu->addSeparator();
    int n = 1;
    for (QMdiSubWindow *w : windows) {
        QString title = w->windowTitle();
        // Barograph windows all bear one caption: the menu tells them apart by their flight.
        for (int r = 1; r < m_book.rowCount(); ++r) {
            const FlightRecord &row = m_book.row(r);
            if (row.graphOpen && row.graphWindow == w) {
                title += QStringLiteral(" %1 %2").arg(cp932::toUnicode(row.date.toByteArray()),
                                                      cp932::toUnicode(row.time.toByteArray()));
                break;
            }
        }
        QAction *a = menu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(title));
        a->setCheckable(true);
        a->setChecked(w == m_workspace.activeSubWindow());
        connect(a, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(w)] {
            if (!window) // it may have closed since the menu was shown
                return;
            if (window->isMinimized()) // chosen to be worked in, not to stay an icon
                window->showNormal();
            m_workspace.setActiveSubWindow(window);
        });
        m_windowListActions << a;
    }
}

void ShellCommands::about()
{
    QMessageBox::about(questionParent(m_frame), msg::AboutCaption.toString(),
                       msg::AboutText.toString().arg(QCoreApplication::applicationVersion()));
}
