// Where a question, a message or a file dialog opens.
#include "questionparent.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace {

constexpr char kClosesByItself[] = "duvaziClosesByItself";

bool closesByItself(const QWidget *window)
{
    return window && window->property(kClosesByItself).toBool();
}

bool isOnTopWindow(const QWidget *window)
{
    return window && window->isWindow() && window->isVisible() &&
           window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// A window a box may stay with: the window itself, or for one that closes by itself the
// first window above it that does not.
QWidget *lasting(QWidget *window)
{
    while (window && closesByItself(window))
        window = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    return window;
}

/// The on-top dialog a box belongs over (with `lastingOnly`, one that does not close by
/// itself): the active window when it is one, else the last
/// shown (Qt lists top-level widgets in the order they were made).
QWidget *onTopDialog(const QWidget *except, bool lastingOnly)
{
    QWidget *active = QApplication::activeWindow();
    const auto fits = [except, lastingOnly](const QWidget *w) {
        return w != except && isOnTopWindow(w) && qobject_cast<const QDialog *>(w) && !(lastingOnly && closesByItself(w));
    };
    if (fits(active))
        return active;
    QWidget *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (fits(window))
            found = window;
    }
    return found;
}

} // namespace

QWidget *questionParent(QWidget *asker)
{
    if (QWidget *modal = QApplication::activeModalWidget(); modal && !closesByItself(modal))
        return modal;
    QWidget *own = asker ? lasting(asker->window()) : nullptr;
    if (isOnTopWindow(own))
        return own;
    if (QWidget *onTop = onTopDialog(nullptr, true))
        return onTop;
    return own;
}

void markClosesByItself(QWidget &window, bool closes)
{
    window.setProperty(kClosesByItself, closes);
}

void raiseAboveOnTop(QWidget &box)
{
    const bool parentOnTop = box.parentWidget() && isOnTopWindow(box.parentWidget()->window());
    const bool onTop = parentOnTop || onTopDialog(&box, false);
    if (onTop != box.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

int execAboveOnTop(QDialog &dialog)
{
    raiseAboveOnTop(dialog);
    return dialog.exec();
}
