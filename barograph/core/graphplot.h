// What the barograph window draws, as plain values: every line, point and label of the
// graph below the text block and of the text block itself, in surface pixels and in the
// order they are drawn. The painter (barograph/render) only draws them. QtCore only.
//
// Labels carry cp932 bytes and the top-left corner of their text cell, placed by one
// LabelLayout so that no two texts of the picture cover each other or leave it.
#pragma once

#include "barograph/core/flightanalysis.h"
#include "barograph/core/graphlayout.h"
#include "barograph/core/labellayout.h"

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

/// Everything drawGraph draws for a view of a trace, its `climbs` shaded. Every text is
/// measured in `font` and placed in turn (the axis titles, the view's start and end times,
/// "Time", the variogram scale, the top altitude, "Max Gain", the altitude grid, the gain
/// marks' names and values, the time grid) at its first place clear of those before it
/// and inside the picture: an edge time or "Max Gain" moves inside the picture's edge, a
/// gain mark's texts to the other side of their arrow, inside the altitude panel, a scale
/// label to the right-aligned place by its axis. A text with no such place is left out
/// (empty); its grid line stays.
GraphPlot buildGraphPlot(const BarographTrace &trace, const FlightStats &stats, const GraphView &view,
                         const GraphLayout &layout, const LabelFont &font = {}, std::span<const Climb> climbs = {});

/// Every text box of a picture as `font` measures it, the axis titles' turned: what the
/// layout keeps apart and inside the picture.
std::vector<QRect> textBoxesOf(const GraphPlot &plot, const GraphHeader &header, const LabelFont &font);

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
/// control bytes after it are skipped. The columns were set for a narrow face: a text starts
/// at least a gap after the one before it on its line, and one running past the picture's
/// right edge is cut on a character boundary (left out when nothing of it fits).
GraphHeader buildGraphHeader(const HeaderFacts &facts, const FlightStats &stats, const GraphLayout &layout,
                             const LabelFont &font = {});

/// The comment's lines as the text block shows them, each cut to kCommentLineMaxBytes.
std::vector<QByteArray> headerCommentLines(QByteArrayView comment, qsizetype maxLines);
