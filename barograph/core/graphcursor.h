// The barograph's cursor in numbers: where its three lines go and what its read-outs say at
// an elapsed time, the step buttons' arithmetic and the typed time. QtCore only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

struct BarographTrace;
struct GraphLayout;
struct GraphView;

/// The cursor drawn at an elapsed time: a vertical line at x through both panels, a
/// horizontal line across the altitude panel at altitudeY and one across the variogram
/// panel at varioY, and the tool window's read-outs.
struct CursorPlacement {
    qint32 x = 0;
    qint32 altitudeY = 0; ///< kept inside the altitude panel
    qint32 varioY = 0;    ///< not kept inside: a climb beyond +-8 m/s lies off the panel
    QByteArray timeText;     ///< "%02d:%02d:%02d" of trunc(t + 0.0001)
    QByteArray altitudeText; ///< "%4.1f"
    QByteArray varioText;    ///< "%2.1f"
};

CursorPlacement placeCursor(float t, const BarographTrace &trace, const GraphView &view,
                            const GraphLayout &layout);

/// The figures between the mark and the cursor, from the earlier of the two to the later:
/// whichever side of the mark the cursor stands, a climb reads as a positive height.
struct MarkSpan {
    QByteArray timeText;   ///< "%02d:%02d:%02d" of the seconds between them, truncated
    QByteArray heightText; ///< "%+.1f": metres gained (negative: lost)
    QByteArray climbText;  ///< "%+.2f": the mean climb in m/s; "-" when both stand at one time
};
MarkSpan markSpan(float markTime, float cursorTime, const BarographTrace &trace);

/// Step right from the cursor: t = trunc(cursorTime), then t + 1 with Shift, else the next
/// sample time; never beyond viewEnd.
qint32 stepRightTime(float cursorTime, qint32 interval, qint32 viewEnd, bool shift);
/// Step left from the cursor: t = trunc(cursorTime) - 1, without Shift moved back to the
/// sample time at or before it; std::nullopt when t lies before viewStart.
std::optional<qint32> stepLeftTime(float cursorTime, qint32 interval, qint32 viewStart, bool shift);

/// The elapsed seconds of a complete time edit: 8 characters read by numtext::clockSeconds;
/// std::nullopt while it is incomplete or reads as no time (minutes beyond 59).
std::optional<qint32> typedSeconds(QByteArrayView text);
