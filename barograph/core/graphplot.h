// What the barograph window draws, as plain values: every line, point and label of the
// graph below the text block and of the text block itself, in surface pixels and in the
// order they are drawn. The painter (barograph/render) only draws them. QtCore only.
//
// Labels carry cp932 bytes and the top-left corner of their text cell.
#pragma once

#include "barograph/core/flightanalysis.h"
#include "barograph/core/graphlayout.h"

#include <QByteArray>
#include <QPoint>
#include <QRect>

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

struct BarographTrace;
struct FlightRecord;
struct FlightStats;
struct GraphView;

struct PlotText {
    QPoint topLeft;
    QByteArray text; ///< cp932
};

struct PlotSegment {
    QPoint from;
    QPoint to;
};

/// One stroke of the variogram; green in colour when it climbs, else black.
struct VarioStroke {
    PlotSegment line;
    bool climbing = false;
};

struct GraphPlot {
    QRect clear; ///< filled white first: from plotTop - 31 to the bottom

    /// The climbs in view, shaded under everything else: for each one the columns of its
    /// time held to the panels' edges, as a band over the altitude panel and then one over
    /// the variogram, each at least one column wide. Climbs in touching columns share a band.
    std::vector<QRect> climbBands;

    struct TimeTick {
        PlotSegment altitudeLine; ///< dotted, grey in colour
        PlotText label;           ///< "%d:%02d" or "%d:%02d'%02d\""; empty when left out
        PlotSegment varioLine;
    };
    std::vector<TimeTick> timeTicks;
    std::array<PlotText, 3> timeEdgeLabels; ///< view start, view end, "Time"

    struct GridLine {
        PlotSegment line; ///< dotted black
        PlotText label;   ///< empty when left out
    };
    std::vector<GridLine> altitudeTicks;
    PlotText altitudeTopLabel;          ///< "%4d" of viewAltMax
    std::array<GridLine, 5> varioTicks; ///< 8, 4, 0, -4, -8 m/s

    /// The altitude trace as one polyline, at most four points per pixel column (its first,
    /// lowest, highest and last sample there): the same pixels as a line through every
    /// sample, at a cost that stops growing with the sample count.
    std::vector<QPoint> altitudeTrace;
    /// The variogram: the stroke into each column, then that column's vertical runs in
    /// the colour that the last sample-to-sample stroke over each pixel would leave.
    std::vector<VarioStroke> varioTrace;

    std::array<QPoint, 5> altitudeFrame; ///< closed outline, solid black
    std::array<QPoint, 5> varioFrame;
    PlotSegment zeroLine;

    struct GainMark {
        std::array<QPoint, 3> arrow; ///< red in colour
        PlotText name;               ///< "Gain Bottom" / "Gain Top"
        PlotText value;              ///< "%4.1fm"
    };
    std::vector<GainMark> gainMarks;
    std::optional<PlotText> maxGainLabel; ///< "Max Gain %4.1f m"

    std::vector<QRect> markCircles; ///< red in colour, hollow

    /// Rotated a quarter turn, reading upward from topLeft; serif, blue and green in colour.
    PlotText altitudeTitle;
    PlotText varioTitle;
};

/// The text block above the graph.
struct GraphHeader {
    QRect clear; ///< filled white first: from the top to plotTop - 30
    std::vector<PlotText> texts;
};

/// How wide a label's cp932 text is drawn, in surface pixels: the painter's font answers
/// it (textWidthOf in barograph/render); estimatedTextWidth where no font is at hand.
using TextWidth = std::function<qint32(const QByteArray &text)>;
/// 7 pixels a byte: about the widest digits of the 12-pixel label face.
qint32 estimatedTextWidth(const QByteArray &text);
/// The height of a label's cell in surface pixels.
inline constexpr qint32 kLabelHeight = 13;

/// Everything drawGraph draws for a view of a trace, its `climbs` shaded. A grid label that would run into
/// another (the view's start and end times, "Gain Bottom" and its value, the top altitude,
/// the label before it) is left out, its grid line kept: its text is empty.
GraphPlot buildGraphPlot(const BarographTrace &trace, const FlightStats &stats, const GraphView &view,
                         const GraphLayout &layout, const TextWidth &textWidth = estimatedTextWidth,
                         std::span<const Climb> climbs = {});

/// What the text block shows of a flight.
struct HeaderFacts {
    qint32 flightNumber = 0;   ///< the row in the log book
    QByteArray logName;        ///< cp932
    QByteArray date;           ///< cp932, YY/MM/DD
    QByteArray area;           ///< cp932
    QByteArray comment;        ///< cp932, any length
    qint32 takeoffSeconds = 0; ///< clock time of the first sample, seconds after midnight
    qint32 interval = 1;

    static HeaderFacts of(qint32 row, const QByteArray &logName, const FlightRecord &record,
                          qint32 takeoffSeconds, qint32 interval);
};

/// The longest comment line the text block shows, in bytes; longer lines are cut on a
/// character boundary.
inline constexpr qsizetype kCommentLineMaxBytes = 127;

/// Everything drawHeader draws. The comment shows one line per 16 pixels from y = 160 while
/// y < plotTop - 48, at most four lines: a line is a run of bytes of 32 and above, and the
/// control bytes after it are skipped.
GraphHeader buildGraphHeader(const HeaderFacts &facts, const FlightStats &stats, const GraphLayout &layout);

/// The comment's lines as the text block shows them, each cut to kCommentLineMaxBytes.
std::vector<QByteArray> headerCommentLines(QByteArrayView comment, qsizetype maxLines);
