#include "stallprobe.h"

#include <algorithm>

StallProbe::StallProbe(QObject *parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &StallProbe::tick);
}

void StallProbe::start()
{
    m_worst = 0;
    m_clock.start();
    m_last = 0;
    m_timer.start();
}

double StallProbe::stop()
{
    tick();
    m_timer.stop();
    return worstMs();
}

void StallProbe::onStall(double thresholdMs, std::function<void(double, double)> report)
{
    m_thresholdMs = thresholdMs;
    m_report = std::move(report);
}

void StallProbe::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 gap = now - m_last;
    m_last = now;
    m_worst = std::max(m_worst, gap);
    if (m_report && double(gap) / 1e6 >= m_thresholdMs)
        m_report(double(gap) / 1e6, double(now) / 1e9);
}
