// Where a question, a message or a file dialog opens.
#include "questionparent.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace {

bool isOnTopWindow(const QWidget *window)
{
    return window && window->isWindow() && window->isVisible() &&
           window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

/// The on-top dialog a box belongs over: the active window when it is one, else the last
/// shown (Qt lists top-level widgets in the order they were made).
QWidget *onTopDialog(const QWidget *except)
{
    QWidget *active = QApplication::activeWindow();
    if (active != except && isOnTopWindow(active) && qobject_cast<QDialog *>(active))
        return active;
    QWidget *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != except && isOnTopWindow(window) && qobject_cast<QDialog *>(window))
            found = window;
    }
    return found;
}

} // namespace

QWidget *questionParent(QWidget *asker)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (asker && isOnTopWindow(asker->window()))
        return asker->window();
    if (QWidget *onTop = onTopDialog(nullptr))
        return onTop;
    return asker ? asker->window() : nullptr;
}

void raiseAboveOnTop(QWidget &box)
{
    const bool parentOnTop = box.parentWidget() && isOnTopWindow(box.parentWidget()->window());
    if (parentOnTop || onTopDialog(&box))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}
