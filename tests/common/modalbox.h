// Answers the message box or dialog that is actually open, as a pilot would: the test arms
// an answer, does what raises the box, and the answer is given from inside the box's own
// event loop. Nested loops, a window closed while its box waits, and where the box opened
// (its parent, whether it is on top) are then exercised as in the program.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>
#include <memory>

/// What a box looked like when it was answered.
struct SeenBox {
    QString text;
    QPointer<QWidget> parent;  ///< the window it was raised over
    bool onTop = false;        ///< it asked to stay on top
    bool hadKeyboardFocus = false; ///< the focus was inside it (offscreen: its focus widget)
};

/// Arms `act` to run on the next modal widget that opens (the active modal widget), from
/// inside its event loop; it may click a button, type, or close windows. Returns what the
/// box looked like; `seen->text` stays empty when no box opened within `timeoutMs`.
inline std::shared_ptr<SeenBox> whenBoxOpens(std::function<void(QWidget *box)> act, int timeoutMs = 5000)
{
    auto seen = std::make_shared<SeenBox>();
    auto *poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, seen, clock, act, timeoutMs] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !box->isVisible()) {
            if (clock->elapsed() > timeoutMs)
                poll->deleteLater();
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (auto *message = qobject_cast<QMessageBox *>(box))
            seen->text = message->text();
        else
            seen->text = box->windowTitle();
        seen->parent = box->parentWidget() ? box->parentWidget()->window() : nullptr;
        seen->onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QWidget *focus = QApplication::focusWidget();
        seen->hadKeyboardFocus = focus && box->isAncestorOf(focus);
        act(box);
    });
    poll->start(10);
    return seen;
}

/// Answers the next message box with `button`.
inline std::shared_ptr<SeenBox> answerNextBox(QMessageBox::StandardButton button, int timeoutMs = 5000)
{
    return whenBoxOpens(
        [button](QWidget *box) {
            if (auto *message = qobject_cast<QMessageBox *>(box)) {
                if (QAbstractButton *b = message->button(button)) {
                    b->click();
                    return;
                }
            }
            if (auto *dialog = qobject_cast<QDialog *>(box))
                dialog->reject();
        },
        timeoutMs);
}
