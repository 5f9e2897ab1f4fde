// Flight statistics.
#include "flightstats.h"

#include "barograph/core/barographtrace.h"

#include <array>
#include <cmath>

FlightStats computeFlightStats(const BarographTrace &trace)
{
    FlightStats s;
    const std::vector<float> &alt = trace.altitudes;
    const qint32 n = trace.sampleCount();
    const float interval = float(trace.interval);
    s.flightSeconds = trace.flightSeconds();

    // The first sample and the first climb seed the search, rather than fixed bounds such
    // as -30000 m, so that a trace wholly beyond them still reports its own values.
    s.peakAltitude = s.lowAltitude = alt[0];
    s.peakClimb = (alt[1] - alt[0]) / interval;
    for (qint32 i = 0; i < n; ++i) {
        const float a = alt[size_t(i)];
        if (a > s.peakAltitude)
            s.peakAltitude = a;
        if (a < s.lowAltitude)
            s.lowAltitude = a;
        if (i < n - 1) {
            const float climb = (alt[size_t(i) + 1] - a) / interval;
            if (climb > s.peakClimb)
                s.peakClimb = climb;
        }
    }
    s.altitudeRange = s.peakAltitude - s.lowAltitude;

    // Gain: a running candidate restarts at every new low and grows with every new high.
    float top = alt[0], bottom = alt[0];
    qint32 topIndex = 0, bottomIndex = 0;
    s.gainTop = s.gainBottom = alt[0];
    for (qint32 i = 1; i < n; ++i) {
        const float a = alt[size_t(i)];
        if (a < bottom) {
            top = bottom = a;
            topIndex = bottomIndex = i;
        } else if (a > top) {
            top = a;
            topIndex = i;
            const float gain = a - bottom;
            if (gain > s.maxGain) {
                s.maxGain = gain;
                s.gainTop = top;
                s.gainTopIndex = topIndex;
                s.gainBottom = bottom;
                s.gainBottomIndex = bottomIndex;
            }
        }
    }
    return s;
}

qint32 coarseAltitudeStep(float altitudeRange)
{
    struct Row {
        float upTo;
        qint32 step;
    };
    static constexpr std::array<Row, 6> rows = {{{50, 10}, {100, 20}, {300, 50}, {500, 100}, {1000, 200}, {3000, 500}}};
    for (const Row &row : rows) {
        if (altitudeRange <= row.upTo)
            return row.step;
    }
    return 1000;
}

AltitudeAxis altitudeAxis(const FlightStats &stats)
{
    AltitudeAxis axis;
    axis.step = coarseAltitudeStep(stats.altitudeRange);
    axis.min = qint32(std::floor((double(stats.lowAltitude) + 0.5) / axis.step) * axis.step);
    axis.max = qint32(std::ceil((double(stats.peakAltitude) + 0.5) / axis.step) * axis.step);
    // Rounding half a metre up can lift the bottom over the lowest sample (99.5 m gives
    // 100): one step lower keeps the whole trace inside the axis.
    if (double(axis.min) > double(stats.lowAltitude))
        axis.min -= axis.step;
    if (axis.max <= axis.min)
        axis.max = axis.min + axis.step;
    return axis;
}
