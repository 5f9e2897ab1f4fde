// The visible part of a barograph: elapsed seconds and samples at the left and right edges,
// altitudes at the bottom and top, the grid steps, and the mappings between time, altitude
// and pixels. Zoom and scroll change it; drawing only reads it. QtCore only.
#pragma once

#include "barograph/core/graphlayout.h"

#include <QtGlobal>

struct BarographTrace;
struct FlightStats;

struct GraphView {
    // Bounds of the whole trace: the limits of every vertical zoom and scroll.
    qint32 axisAltMin = 0;
    qint32 axisAltMax = 10;
    qint32 axisAltSpan = 10;
    qint32 viewStart = 0;   ///< elapsed seconds at the left edge
    qint32 viewEnd = 1;     ///< ... at the right edge
    qint32 viewSeconds = 1; ///< viewEnd - viewStart
    qint32 firstSample = 0;
    qint32 lastSample = 1;
    qint32 viewSamples = 2; ///< lastSample - firstSample + 1
    qint32 viewAltMin = 0;  ///< m at the bottom of the altitude panel
    qint32 viewAltMax = 10; ///< m at its top
    qint32 viewAltSpan = 10;
    qint32 timeTick = 10;   ///< seconds between vertical grid lines
    qint32 altTick = 5;     ///< metres between horizontal grid lines

    /// The whole trace, with its ticks.
    static GraphView fullView(const BarographTrace &trace, const FlightStats &stats);
    /// Recomputes timeTick and altTick from viewSeconds and viewAltSpan.
    void updateTicks();

    /// Pixel column of an elapsed time: (t - viewStart) x plot width / viewSeconds +
    /// plotLeft in floating point, truncated toward zero.
    qint32 xAtTime(float t, const GraphLayout &layout) const;
    /// Elapsed time of a pixel column: (x - plotLeft) x viewSeconds / plot width + viewStart.
    float timeAtX(qint32 x, const GraphLayout &layout) const;
    /// Pixel row of a whole altitude: plotBottom - (a - viewAltMin) x plot height /
    /// viewAltSpan, in integers truncating toward zero.
    qint32 altY(qint32 altitude, const GraphLayout &layout) const;
    /// Pixel column of a sample: plotLeft + (i - firstSample) x plot width /
    /// (viewSamples - 1), in integers.
    qint32 sampleX(qint32 index, const GraphLayout &layout) const;
    /// Pixel row of an altitude on the trace: plotBottom - trunc((a - viewAltMin) x plot
    /// height / viewAltSpan + 0.5), kept inside the altitude panel.
    qint32 traceY(float altitude, const GraphLayout &layout) const;
    /// Pixel row of a climb rate on the variogram, whose scale is fixed at -8 to +8 m/s:
    /// trunc((8 - v) x variogram height / 16 + varioTop + 0.5). Not kept inside the panel.
    static qint32 varioY(float climb, const GraphLayout &layout);
};

/// The largest of 10, 30, 60, 120, 300, 600, 1800, 3600 s that fits at least 3 times into
/// the view; 10 when none does.
qint32 timeTickFor(qint32 viewSeconds);
/// 5 m up to a span of 40 (and for 0 or less), 10 up to 80, 20 up to 200, 50 up to 400, 100
/// up to 800, 200 up to 1500, 500 up to 4000, else 1000.
qint32 altTickFor(qint32 viewAltSpan);

/// Converts a pixel coordinate computed in floating point, truncating toward zero, and
/// holds it to +-2^30 so that a time or altitude far outside the view cannot overflow.
qint32 truncClamped(double coordinate);
