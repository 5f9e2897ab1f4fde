// Showing a window in the main window's workspace.
#include "mainformlink.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void bringToFront(MainFormLink &link, QMdiSubWindow *window, bool added)
{
    if (added) {
        link.workspaceArea()->addSubWindow(window);
        window->show();
    }
    if (window->isMinimized() || window->isMaximized())
        window->showNormal();
    link.workspaceArea()->setActiveSubWindow(window);
}
