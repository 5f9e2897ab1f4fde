// The clock and alarm of the transfer procedures. Every fixed pause and the silence time-out
// go through it, so a procedure never sleeps: it asks to be woken and returns. The windows
// back it with a QTimer; tests with a hand-moved clock. QtCore only.
#pragma once

#include <chrono>

class Pacer {
public:
    virtual ~Pacer() = default;

    /// Time since an arbitrary fixed start.
    virtual std::chrono::milliseconds now() const = 0;
    /// Asks for one wake-up (the procedure's tick()) after `delay`; replaces an earlier
    /// request that has not fired yet.
    virtual void wakeAfter(std::chrono::milliseconds delay) = 0;
    /// Drops a pending wake-up.
    virtual void cancelWake() = 0;
};
