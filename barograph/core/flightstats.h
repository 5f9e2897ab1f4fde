// The statistics of a flight's barograph: the numbers of the viewer's text block and of the
// flight record's duration, maximum altitude and climb, and the largest height gain.
// QtCore only.
#pragma once

#include <QtGlobal>

struct BarographTrace;

struct FlightStats {
    float peakAltitude = 0;     ///< m, largest sample
    float lowAltitude = 0;      ///< m, smallest sample
    float altitudeRange = 0;    ///< m, peakAltitude - lowAltitude, in 32-bit floats
    qint32 flightSeconds = 0;   ///< (sampleCount - 1) x interval
    float peakClimb = 0;        ///< m/s, largest climb from one sample to the next
    float maxGain = -1;         ///< m, largest rise from a running low to a later high; -1 without any
    float gainBottom = 0;       ///< m, the low of that rise
    qint32 gainBottomIndex = 0; ///< its sample
    float gainTop = 0;          ///< m, the high of that rise
    qint32 gainTopIndex = 0;    ///< its sample

    /// The gain is shown (text block, arrows) only above 20 m.
    bool showsGain() const { return maxGain > 20.0f; }
};

/// Computes the statistics of a trace of at least 2 samples. Equal values keep the earlier
/// low and the earlier high (the comparisons are strict).
FlightStats computeFlightStats(const BarographTrace &trace);

/// The altitude axis of the whole trace: bounds rounded outward to the coarse step.
struct AltitudeAxis {
    qint32 step = 10;
    qint32 min = 0;
    qint32 max = 10;
    qint32 span() const { return max - min; }
};

/// The coarse step for an altitude range: 10 m up to 50 (and for 0 or less), 20 up to 100,
/// 50 up to 300, 100 up to 500, 200 up to 1000, 500 up to 3000, else 1000.
qint32 coarseAltitudeStep(float altitudeRange);

/// floor((low + 0.5) / step) x step to ceiling((peak + 0.5) / step) x step, the bottom one
/// step lower where that rounding put it above the lowest sample (a trace at 99.5 m gets
/// 90 to 100, not 100 to 110, so that it lies inside). Both bounds never meet: the axis
/// always has one step of height at least.
AltitudeAxis altitudeAxis(const FlightStats &stats);
