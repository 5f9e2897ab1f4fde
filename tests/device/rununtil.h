// Runs the event loop until a condition holds (or a generous limit passes), for the tests
// that go through a real serial port on a pseudo-terminal. It waits for events; it never
// sleeps or spins.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

template<typename Condition>
bool runUntil(Condition &&done, int limitMs = 10000)
{
    QDeadlineTimer deadline(limitMs);
    QTimer heartbeat; // wakes the wait below now and then, so the limit is noticed
    heartbeat.start(50);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
