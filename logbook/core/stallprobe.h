// How long the window's event loop was held: a 5 ms timer on its thread, and the largest gap
// between two of its ticks. The benchmarks measure their work with it, and the program runs
// one when DUVAZI_STALL_PROBE is set, so that a trial driving the real windows can read what
// the pilot felt. QtCore only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class StallProbe : public QObject {
public:
    explicit StallProbe(QObject *parent = nullptr);

    /// Starts measuring from now; the worst gap so far is forgotten.
    void start();
    /// Stops, counting the tick due now (work that ends on the window's thread counts too);
    /// the longest gap since start(), in ms.
    double stop();
    /// The longest gap since start(), in ms.
    double worstMs() const { return double(m_worst) / 1e6; }

    /// Called on the window's thread with each gap of at least `thresholdMs` and the time
    /// since start() it ended at, once the loop runs again.
    void onStall(double thresholdMs, std::function<void(double ms, double atSeconds)> report);

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0, m_worst = 0;
    double m_thresholdMs = 0;
    std::function<void(double, double)> m_report;
};
