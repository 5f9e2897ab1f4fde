// The pacer of a running program: a steady clock and a single-shot precise QTimer on the
// thread's event loop, so a pause lets the windows go on painting. QtCore only.
#pragma once

#include "device/core/pacer.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class TimerPacer : public Pacer {
public:
    TimerPacer()
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (onWake)
                onWake();
        });
    }

    /// Called from the event loop when a requested wake-up is due.
    std::function<void()> onWake;

    std::chrono::milliseconds now() const override { return std::chrono::milliseconds(m_clock.elapsed()); }
    void wakeAfter(std::chrono::milliseconds delay) override { m_timer.start(delay); }
    void cancelWake() override { m_timer.stop(); }

private:
    QElapsedTimer m_clock;
    QTimer m_timer;
};
