// The cursor in numbers.
#include "graphcursor.h"

#include "barograph/core/barographtrace.h"
#include "barograph/core/graphview.h"
#include "logbook/core/text/numbertext.h"

#include <algorithm>
#include <cmath>

CursorPlacement placeCursor(float t, const BarographTrace &trace, const GraphView &view,
                            const GraphLayout &layout)
{
    CursorPlacement c;
    c.x = view.xAtTime(t, layout);
    c.timeText = numtext::clockText(truncClamped(std::trunc(double(t) + 0.0001)));

    const float altitude = trace.altitudeAt(t);
    c.altitudeText = numtext::fixed(altitude, 1, 4);
    // Rounded after the subtraction from plotBottom, unlike the trace itself.
    const float fromBottom = (altitude - float(view.viewAltMin)) * float(layout.plotHeight())
        / float(std::max(view.viewAltSpan, 1));
    c.altitudeY = std::clamp(truncClamped(double(float(layout.plotBottom) - fromBottom) + 0.5), layout.plotTop,
                             layout.plotBottom);

    const float climb = trace.varioAt(t);
    c.varioText = numtext::fixed(climb, 1, 2);
    c.varioY = GraphView::varioY(climb, layout);
    return c;
}

namespace {

QByteArray signedFixed(double value, int decimals)
{
    const QByteArray text = numtext::fixed(value, decimals);
    return text.startsWith('-') ? text : '+' + text;
}

} // namespace

MarkSpan markSpan(float markTime, float cursorTime, const BarographTrace &trace)
{
    const float earlier = std::min(markTime, cursorTime), later = std::max(markTime, cursorTime);
    const double seconds = double(later) - double(earlier);
    const double height = double(trace.altitudeAt(later)) - double(trace.altitudeAt(earlier));
    MarkSpan span;
    span.timeText = numtext::clockText(truncClamped(std::trunc(seconds + 0.0001)));
    span.heightText = signedFixed(height, 1);
    span.climbText = seconds > 0 ? signedFixed(height / seconds, 2) : QByteArray("-");
    return span;
}

qint32 stepRightTime(float cursorTime, qint32 interval, qint32 viewEnd, bool shift)
{
    const qint32 t = truncClamped(std::trunc(cursorTime));
    const qint32 next = shift ? t + 1 : (t + interval) / interval * interval;
    return std::min(next, viewEnd);
}

std::optional<qint32> stepLeftTime(float cursorTime, qint32 interval, qint32 viewStart, bool shift)
{
    qint32 t = truncClamped(std::trunc(cursorTime)) - 1;
    if (t < viewStart)
        return std::nullopt;
    if (!shift)
        t = t / interval * interval;
    return t;
}

std::optional<qint32> typedSeconds(QByteArrayView text)
{
    // The mask leaves out the digits not typed yet: a shorter text is still being typed,
    // though "01:02:0" would read as a time.
    if (text.size() != 8)
        return std::nullopt;
    return numtext::clockSeconds(text);
}
