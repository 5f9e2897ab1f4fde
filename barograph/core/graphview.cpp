// The visible part of a barograph.
#include "graphview.h"

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"

#include <array>
#include <cmath>

namespace {

// A divisor that is never zero: views and plots always have some extent, but a damaged
// state must not crash the drawing.
qint64 atLeastOne(qint64 value)
{
    return value >= 1 ? value : 1;
}

} // namespace

qint32 truncClamped(double coordinate)
{
    constexpr double limit = 1 << 30;
    if (!(coordinate > -limit)) // NaN too
        return -(1 << 30);
    return coordinate < limit ? qint32(coordinate) : (1 << 30);
}

GraphView GraphView::fullView(const BarographTrace &trace, const FlightStats &stats)
{
    const AltitudeAxis axis = altitudeAxis(stats);
    GraphView view;
    view.axisAltMin = view.viewAltMin = axis.min;
    view.axisAltMax = view.viewAltMax = axis.max;
    view.axisAltSpan = view.viewAltSpan = axis.span();
    view.viewStart = 0;
    view.viewEnd = view.viewSeconds = stats.flightSeconds;
    view.firstSample = 0;
    view.lastSample = trace.sampleCount() - 1;
    view.viewSamples = trace.sampleCount();
    view.updateTicks();
    return view;
}

void GraphView::updateTicks()
{
    timeTick = timeTickFor(viewSeconds);
    altTick = altTickFor(viewAltSpan);
}

qint32 GraphView::xAtTime(float t, const GraphLayout &layout) const
{
    const float x = (t - float(viewStart)) * float(layout.plotWidth()) / float(atLeastOne(viewSeconds))
        + float(layout.plotLeft);
    return truncClamped(x);
}

float GraphView::timeAtX(qint32 x, const GraphLayout &layout) const
{
    return float(x - layout.plotLeft) * float(viewSeconds) / float(atLeastOne(layout.plotWidth()))
        + float(viewStart);
}

qint32 GraphView::altY(qint32 altitude, const GraphLayout &layout) const
{
    const qint64 y = layout.plotBottom
        - (qint64(altitude) - viewAltMin) * layout.plotHeight() / atLeastOne(viewAltSpan);
    return truncClamped(double(y));
}

qint32 GraphView::sampleX(qint32 index, const GraphLayout &layout) const
{
    return qint32(layout.plotLeft
                  + (qint64(index) - firstSample) * layout.plotWidth() / atLeastOne(viewSamples - 1));
}

qint32 GraphView::traceY(float altitude, const GraphLayout &layout) const
{
    const float scaled = (altitude - float(viewAltMin)) * float(layout.plotHeight())
        / float(atLeastOne(viewAltSpan));
    const qint32 y = layout.plotBottom - truncClamped(double(scaled) + 0.5);
    return std::clamp(y, layout.plotTop, layout.plotBottom);
}

qint32 GraphView::varioY(float climb, const GraphLayout &layout)
{
    return truncClamped(double((8.0f - climb) * float(layout.varioHeight())) * 0.0625 + layout.varioTop + 0.5);
}

qint32 timeTickFor(qint32 viewSeconds)
{
    static constexpr std::array<qint32, 8> candidates = {3600, 1800, 600, 300, 120, 60, 30, 10};
    for (const qint32 tick : candidates) {
        if (viewSeconds / tick >= 3)
            return tick;
    }
    return 10;
}

qint32 altTickFor(qint32 viewAltSpan)
{
    struct Row {
        qint32 upTo;
        qint32 tick;
    };
    static constexpr std::array<Row, 7> rows = {
        {{40, 5}, {80, 10}, {200, 20}, {400, 50}, {800, 100}, {1500, 200}, {4000, 500}}};
    for (const Row &row : rows) {
        if (viewAltSpan <= row.upTo)
            return row.tick;
    }
    return 1000;
}
