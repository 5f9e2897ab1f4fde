// What the barograph window draws.
#include "graphplot.h"

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphview.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/text/cp932.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QByteArray hoursMinutes(qint32 seconds)
{
    return QByteArray::number(seconds / 3600) + ':' + numtext::decimal(seconds / 60 % 60, 2, true);
}

// "%d:%02d'%02d\"": hours, minutes and seconds.
QByteArray hoursMinutesSeconds(qint32 seconds)
{
    return hoursMinutes(seconds) + '\'' + numtext::decimal(seconds % 60, 2, true) + '"';
}

// The first grid time after the view's start: grid times are multiples of the tick.
qint64 firstTimeTick(const GraphView &view)
{
    return view.viewStart < 0 ? 0 : (qint64(view.viewStart) / view.timeTick + 1) * view.timeTick;
}

// The first grid altitude at or above the view's bottom: grid altitudes count up from the
// bottom of the whole axis.
qint64 firstAltitudeTick(const GraphView &view)
{
    if (view.viewAltMin <= view.axisAltMin)
        return view.axisAltMin;
    const qint64 steps = (qint64(view.viewAltMin) - view.axisAltMin + view.altTick - 1) / view.altTick;
    return view.axisAltMin + steps * view.altTick;
}

QByteArray rounded(float value, int width)
{
    return numtext::fixed(value, 1, width);
}

// Walks the samples of a view column by column. Sample i lies at pixel column plotLeft + c
// with c = (i - firstSample) x plot width / (viewSamples - 1) (integer division), so the
// samples of column c are those from ceil(c x divisor / width) up to the next column's first:
// two divisions per column instead of one per sample.
class ColumnWalk {
public:
    ColumnWalk(const GraphView &view, const GraphLayout &l, qint32 first, qint32 last)
        : m_width(std::max<qint64>(l.plotWidth(), 1)), m_divisor(std::max<qint64>(qint64(view.viewSamples) - 1, 1)),
          m_left(l.plotLeft), m_origin(view.firstSample), m_next(first), m_last(last)
    {
    }

    /// The next column: its samples `from` to `to` and its pixel column. False at the end.
    bool next(qint32 &from, qint32 &to, qint32 &x)
    {
        if (m_next > m_last)
            return false;
        from = m_next;
        const qint64 column = (qint64(from) - m_origin) * m_width / m_divisor;
        x = qint32(m_left + column);
        const qint64 nextColumnStart = ((column + 1) * m_divisor + m_width - 1) / m_width;
        to = qint32(std::min<qint64>(m_origin + nextColumnStart - 1, m_last));
        m_next = to + 1;
        return true;
    }

private:
    qint64 m_width;
    qint64 m_divisor;
    qint64 m_left;
    qint64 m_origin;
    qint32 m_next;
    qint32 m_last;
};

// The grid with its labels at their first places; arrangeLabels moves or leaves them out.
void addGrid(GraphPlot &plot, const GraphView &view, const GraphLayout &l)
{
    plot.timeEdgeLabels = {{{QPoint(l.plotLeft - 20, l.plotBottom + 6), hoursMinutesSeconds(view.viewStart)},
                            {QPoint(l.plotRight - 10, l.plotBottom + 6), hoursMinutesSeconds(view.viewEnd)},
                            {QPoint(l.plotRight + 4, l.plotBottom - 6), "Time"}}};
    plot.altitudeTopLabel = {QPoint(l.plotLeft - 28, l.plotTop - 5), numtext::decimal(view.viewAltMax, 4)};

    const qint64 plotWidth = l.plotWidth();
    const qint64 seconds = std::max(view.viewSeconds, 1);
    for (qint64 t = firstTimeTick(view); t < view.viewEnd; t += view.timeTick) {
        const qint32 x = qint32(l.plotLeft + (t - view.viewStart) * plotWidth / seconds);
        const PlotText label{QPoint(x - 10, l.plotBottom + 6),
                             view.timeTick >= 60 ? hoursMinutes(qint32(t)) : hoursMinutesSeconds(qint32(t))};
        plot.timeTicks.push_back({{QPoint(x, l.plotTop), QPoint(x, l.plotBottom)},
                                  label,
                                  {QPoint(x, l.varioTop), QPoint(x, l.varioBottom)}});
    }

    for (qint64 a = firstAltitudeTick(view); a < view.viewAltMax; a += view.altTick) {
        const qint32 y = view.altY(qint32(a), l);
        if (y > l.plotTop && y < l.plotBottom)
            plot.altitudeTicks.push_back({{QPoint(l.plotLeft, y), QPoint(l.plotRight, y)},
                                          {QPoint(l.plotLeft - 28, y - 5), numtext::decimal(a, 4)}});
    }

    for (qint32 k = 0; k <= 4; ++k) {
        const qint32 y = l.varioTop + l.varioHeight() * k / 4;
        plot.varioTicks[size_t(k)] = {{QPoint(l.plotLeft, y), QPoint(l.plotRight, y)},
                                      {QPoint(l.plotLeft - 18, y - 5), numtext::decimal((2 - k) * 4, 2)}};
    }
}

// Every text of the graph, most telling first: the titles and the view's edges, the scales'
// ends, "Max Gain", the altitude grid, the gain marks, then the time grid. Scale labels stay in the margin left of the
// panels, gain texts inside the altitude panel, "Max Gain" between the text block and it.
void arrangeLabels(GraphPlot &plot, const GraphView &view, const GraphLayout &l, const LabelFont &font)
{
    LabelLayout layout(QRect(0, 0, l.imageWidth, l.imageHeight), font);
    const qint32 h = font.height;
    const auto width = [&font](const PlotText &t) { return font.width(t.text); };
    const QRect margin(0, 0, l.plotLeft, l.imageHeight);
    const QRect panel(QPoint(l.plotLeft + 1, l.plotTop + 1), QPoint(l.plotRight - 1, l.plotBottom - 1));
    const QRect aboveGraph(0, l.plotTop - 31, l.imageWidth, 31);

    layout.reserve(font.rotatedBoxOf(plot.altitudeTitle));
    layout.reserve(font.rotatedBoxOf(plot.varioTitle));
    for (const GraphPlot::GainMark &mark : plot.gainMarks) { // no text over an arrow
        const auto &a = mark.arrow;
        layout.reserve(QRect(QPoint(a[0].x(), std::min(a[0].y(), a[1].y())), QPoint(a[2].x(), std::max(a[0].y(), a[1].y()))));
    }

    PlotText &start = plot.timeEdgeLabels[0];
    layout.place(start, {start.topLeft, QPoint(0, start.topLeft.y())});
    PlotText &end = plot.timeEdgeLabels[1];
    layout.place(end, {end.topLeft, QPoint(l.imageWidth - width(end), end.topLeft.y()),
                       QPoint(l.plotRight - width(end), end.topLeft.y())});
    PlotText &time = plot.timeEdgeLabels[2];
    const qint32 aboveTimes = l.plotBottom + 6 - h; // ends just above the edge times' row
    layout.place(time, {time.topLeft, QPoint(time.topLeft.x(), aboveTimes),
                        QPoint(l.imageWidth - width(time), aboveTimes)});

    const auto besideAxis = [&](PlotText &label, qint32 lineY) {
        const qint32 right = l.plotLeft - 1 - width(label);
        layout.place(label, {label.topLeft, QPoint(right, label.topLeft.y()), QPoint(label.topLeft.x(), lineY + 1),
                             QPoint(right, lineY + 1), QPoint(right, lineY - h)},
                     margin);
    };
    for (GraphPlot::GridLine &tick : plot.varioTicks)
        besideAxis(tick.label, tick.line.from.y());
    besideAxis(plot.altitudeTopLabel, l.plotTop);

    if (plot.maxGainLabel) {
        PlotText &gain = *plot.maxGainLabel;
        const qint32 w = width(gain);
        layout.place(gain, {gain.topLeft, QPoint(l.imageWidth - w, gain.topLeft.y()),
                            QPoint(l.plotRight - w, gain.topLeft.y())},
                     aboveGraph);
    }

    // The altitude scale before the gain marks: a mark's texts find another place inside
    // the panel, a scale label has only its own.
    for (GraphPlot::GridLine &tick : plot.altitudeTicks)
        layout.place(tick.label, {tick.label.topLeft, QPoint(l.plotLeft - 1 - width(tick.label), tick.label.topLeft.y())},
                     margin);

    // A mark's name and value as one block: on its arrow's side of the point, else on the
    // other; left-aligned a little before the point, else held inside the panel's edges
    // (a gap from the axis, where the scale's labels stand), else beside the point; at the
    // first of those places clear of the altitude trace, where there is one.
    for (GraphPlot::GainMark &mark : plot.gainMarks) {
        const QPoint tip = mark.arrow[1];
        const bool pointsUp = mark.arrow[0].y() > tip.y(); // the bottom's arrow, under its point
        const QPoint point = tip + QPoint(0, pointsUp ? -2 : 2);
        PlotText *const down[] = {&mark.name, &mark.value};
        PlotText *const up[] = {&mark.value, &mark.name};
        const std::span<PlotText *const> lines = pointsUp ? std::span<PlotText *const>(down) : std::span<PlotText *const>(up);
        const qint32 w = layout.widthOf(lines);
        // Rows clear of the arrow, whichever side of the point it stands.
        const qint32 below = point.y() + 10;
        const qint32 above = point.y() - 9 - 2 * h;
        const std::array rows = pointsUp ? std::array{below, above} : std::array{above, below};
        const qint32 x = point.x() - 16;
        const auto inPanel = [&](qint32 at) { return std::max(std::min(at, l.plotRight - 1 - w), l.plotLeft + LabelLayout::kGap); };
        std::vector<QPoint> places;
        for (const qint32 y : rows)
            places.insert(places.end(), {QPoint(x, y), QPoint(inPanel(x), y)});
        places.insert(places.end(), {QPoint(point.x() + 8, point.y() - h), QPoint(point.x() - 8 - w, point.y() - h)});
        // Further along the rows, for a place off the trace: at a take-off from the ground
        // the trace climbs away right beside the bottom's point.
        for (const qint32 shift : {w / 2, w, 3 * w / 2, 2 * w}) {
            for (const qint32 y : rows)
                places.insert(places.end(), {QPoint(inPanel(x + shift), y), QPoint(inPanel(x - shift), y)});
        }
        layout.placeClearOf(plot.altitudeTrace, lines, places, panel);
    }

    // Time labels every k-th grid time, k the first of 1, 2, 3, 4, 6, 12, 24, ... that leaves
    // room for the widest, so that those shown keep an even step (every 3 hours, not 5:00,
    // 9:00, 13:00, 18:00); one still meeting another text is left out.
    const qint64 tickPitch = qint64(l.plotWidth()) * view.timeTick / std::max(view.viewSeconds, 1);
    qint32 widest = 0;
    for (const GraphPlot::TimeTick &tick : plot.timeTicks)
        widest = std::max(widest, width(tick.label));
    qint64 stride = 1;
    for (const qint64 k : {1, 2, 3, 4, 6, 12}) {
        stride = k;
        if (k * tickPitch > widest + LabelLayout::kGap)
            break;
    }
    while (stride * tickPitch <= widest + LabelLayout::kGap && stride < (qint64(1) << 40))
        stride *= 2;
    qint64 t = firstTimeTick(view);
    for (GraphPlot::TimeTick &tick : plot.timeTicks) {
        if ((t / view.timeTick) % stride == 0)
            layout.place(tick.label, {tick.label.topLeft});
        else
            tick.label.text.clear();
        t += view.timeTick;
    }
}

// The traces, reduced column by column so that the cost of drawing stops growing with the
// sample count while the pixels stay exactly those of a line through every sample.
//
// Altitude: within a column the strokes are vertical and cover exactly the pixels between
// the column's highest and lowest point, so its first, highest, lowest and last points keep
// the picture; the pixel row falls as the altitude rises, so the extremes of the altitudes
// give those of the rows. The strokes between columns keep their end points.
//
// Variogram: the colour a pixel ends with is that of the last stroke over it. Walking a
// column's strokes backwards, the pixels already claimed always form one interval (the
// strokes join end to end), so each earlier stroke can only add a run above or below it;
// those runs, in their strokes' colours, drawn after the stroke into the column, give the
// column's final picture.
void addTraces(GraphPlot &plot, const BarographTrace &trace, const GraphView &view, const GraphLayout &l)
{
    const qint32 first = std::max(view.firstSample, 0);
    const qint32 last = std::min(view.lastSample, trace.sampleCount() - 1);
    const float *altitude = trace.altitudes.data();
    const float *vario = trace.varios.data();
    // GraphView::varioY for a climb already held to +-8 m/s, which always lands on the panel.
    const float varioHeight = float(l.varioHeight());
    const double varioTop = l.varioTop + 0.5;
    const auto varioY = [varioHeight, varioTop](float v) { return qint32((8.0f - v) * varioHeight * 0.0625 + varioTop); };
    // The first stroke of a view is coloured by its end point alone.
    const auto climbsInto = [first](qint32 i, float v, float before) { return v + (i - 1 > first ? before : 0.0f) > 0; };

    std::vector<QPoint> &polyline = plot.altitudeTrace;
    std::vector<VarioStroke> &strokes = plot.varioTrace;
    std::vector<float> climbs; // this column's climbs, held to +-8 m/s
    std::vector<qint32> rows;  // ... and their pixel rows
    QPoint varioEnd;           // the last point of the previous column
    float varioEndClimb = 0;
    ColumnWalk walk(view, l, first, last);
    qint32 from = 0, to = 0, x = 0;
    while (walk.next(from, to, x)) {
        float low = altitude[from], high = altitude[from];
        for (qint32 i = from + 1; i <= to; ++i) {
            low = std::min(low, altitude[i]);
            high = std::max(high, altitude[i]);
        }
        for (const float a : {altitude[from], high, low, altitude[to]}) {
            const QPoint p(x, view.traceY(a, l));
            if (polyline.empty() || polyline.back() != p)
                polyline.push_back(p);
        }

        const qint32 count = to - from + 1;
        climbs.resize(size_t(count));
        rows.resize(size_t(count));
        for (qint32 k = 0; k < count; ++k) {
            climbs[size_t(k)] = std::min(std::max(vario[from + k], -8.0f), 8.0f);
            rows[size_t(k)] = varioY(climbs[size_t(k)]);
        }
        if (from > first) // the stroke into this column comes before its runs
            strokes.push_back({{varioEnd, QPoint(x, rows[0])}, climbsInto(from, climbs[0], varioEndClimb)});

        // Runs grow outward from the last stroke; a run next to the previous one on its side
        // in the same colour simply lengthens it. Stroke k joins rows k - 1 and k, and since
        // row k is already claimed, it adds pixels only when row k - 1 lies outside.
        if (count >= 2) {
            const qint32 a = rows[size_t(count) - 2], b = rows[size_t(count) - 1];
            const bool climbing = climbsInto(to, climbs[size_t(count) - 1], climbs[size_t(count) - 2]);
            strokes.push_back({{QPoint(x, std::min(a, b)), QPoint(x, std::max(a, b))}, climbing});
            size_t topRun = strokes.size() - 1, bottomRun = topRun; // the outermost run on each side
            qint32 claimedLow = std::min(a, b), claimedHigh = std::max(a, b);
            for (qint32 k = count - 2; k >= 1; --k) {
                const qint32 row = rows[size_t(k) - 1];
                if (row >= claimedLow && row <= claimedHigh)
                    continue;
                const bool up = climbsInto(from + k, climbs[size_t(k)], climbs[size_t(k) - 1]);
                if (row < claimedLow) {
                    if (strokes[topRun].climbing == up) {
                        strokes[topRun].line.from.setY(row);
                    } else {
                        strokes.push_back({{QPoint(x, row), QPoint(x, claimedLow - 1)}, up});
                        topRun = strokes.size() - 1;
                    }
                    claimedLow = row;
                } else {
                    if (strokes[bottomRun].climbing == up) {
                        strokes[bottomRun].line.to.setY(row);
                    } else {
                        strokes.push_back({{QPoint(x, claimedHigh + 1), QPoint(x, row)}, up});
                        bottomRun = strokes.size() - 1;
                    }
                    claimedHigh = row;
                }
            }
        }
        varioEnd = QPoint(x, rows.back());
        varioEndClimb = climbs.back();
    }
}

// Climbs that share or touch a column make one band: a long flight seen whole has several
// climbs to a column, and each band would cost a pass over the panels' height.
void addClimbBands(GraphPlot &plot, std::span<const Climb> climbs, const GraphView &view, const GraphLayout &l)
{
    std::vector<QRect> &bands = plot.climbBands;
    for (const Climb &c : climbs) {
        if (c.end < view.viewStart || c.start > view.viewEnd)
            continue;
        const qint32 left = std::max(view.xAtTime(float(c.start), l), l.plotLeft);
        const qint32 right = std::max(std::min(view.xAtTime(float(c.end), l), l.plotRight), left);
        if (!bands.empty() && left <= bands.back().right() + 1) {
            for (size_t k = bands.size() - 2; k < bands.size(); ++k)
                bands[k].setRight(std::max(bands[k].right(), right));
            continue;
        }
        bands.push_back(QRect(QPoint(left, l.plotTop), QPoint(right, l.plotBottom)));
        bands.push_back(QRect(QPoint(left, l.varioTop), QPoint(right, l.varioBottom)));
    }
}

void addFrames(GraphPlot &plot, const GraphLayout &l)
{
    plot.altitudeFrame = {QPoint(l.plotLeft, l.plotBottom), QPoint(l.plotRight, l.plotBottom),
                          QPoint(l.plotRight, l.plotTop), QPoint(l.plotLeft, l.plotTop),
                          QPoint(l.plotLeft, l.plotBottom)};
    plot.varioFrame = {QPoint(l.plotLeft, l.varioBottom), QPoint(l.plotRight, l.varioBottom),
                       QPoint(l.plotRight, l.varioTop), QPoint(l.plotLeft, l.varioTop),
                       QPoint(l.plotLeft, l.varioBottom)};
    const qint32 zero = (l.varioTop + l.varioBottom) / 2;
    plot.zeroLine = {QPoint(l.plotLeft, zero), QPoint(l.plotRight, zero)};
}

bool inView(qint32 index, const GraphView &view)
{
    return index >= view.firstSample && index <= view.lastSample;
}

void addGain(GraphPlot &plot, const FlightStats &stats, const GraphView &view, const GraphLayout &l)
{
    if (!stats.showsGain())
        return;
    // The bottom's arrow points up at it from below, the top's down from above; an arrow
    // with no room on its side inside the panel points from the other, so that it never
    // runs over the time labels under the axis or the texts above the graph.
    const auto mark = [&](qint32 index, float altitude, bool fromBelow, const char *name) {
        if (!inView(index, view))
            return;
        const qint32 x = view.sampleX(index, l);
        const qint32 y = view.altY(truncClamped(double(altitude) + 0.5), l);
        if (y < l.plotTop || y > l.plotBottom)
            return;
        if (fromBelow ? y + 8 >= l.plotBottom : y - 8 <= l.plotTop)
            fromBelow = !fromBelow;
        const qint32 side = fromBelow ? 1 : -1;
        plot.gainMarks.push_back({{QPoint(x - 3, y + 8 * side), QPoint(x, y + 2 * side), QPoint(x + 3, y + 8 * side)},
                                  {QPoint(x - 16, fromBelow ? y + 10 : y - 18), name},
                                  {QPoint(x - 16, fromBelow ? y + 10 + kLabelHeight : y - 18 - kLabelHeight),
                                   rounded(altitude, 4) + 'm'}});
    };
    mark(stats.gainBottomIndex, stats.gainBottom, true, "Gain Bottom");
    mark(stats.gainTopIndex, stats.gainTop, false, "Gain Top");
    plot.maxGainLabel = PlotText{QPoint(l.plotRight - 80, l.plotTop - 18),
                                 "Max Gain " + rounded(stats.maxGain, 4) + " m"};
}

void addMarks(GraphPlot &plot, const BarographTrace &trace, const GraphView &view, const GraphLayout &l)
{
    for (const qint32 m : trace.marks) {
        if (!inView(m, view) || m >= trace.sampleCount())
            continue;
        const qint32 x = view.sampleX(m, l);
        const qint32 y = view.altY(truncClamped(double(trace.altitudes[size_t(m)]) + 0.5), l);
        if (y >= l.plotTop && y <= l.plotBottom)
            plot.markCircles.push_back(QRect(x - 4, y - 4, 8, 8));
    }
}

QByteArray sj(QStringView text)
{
    return cp932::fromUnicode(text);
}

// "(%dmin %dsec)" of a sample's elapsed time.
QByteArray minutesSeconds(qint32 index, qint32 interval)
{
    const qint64 s = qint64(index) * interval;
    return '(' + QByteArray::number(s / 60) + "min " + QByteArray::number(s % 60) + "sec)";
}

} // namespace

GraphPlot buildGraphPlot(const BarographTrace &trace, const FlightStats &stats, const GraphView &view,
                         const GraphLayout &layout, const LabelFont &font, std::span<const Climb> climbs)
{
    GraphPlot plot;
    plot.clear = QRect(QPoint(0, layout.plotTop - 31), QPoint(layout.imageWidth - 1, layout.imageHeight - 1));
    addClimbBands(plot, climbs, view, layout);
    addGain(plot, stats, view, layout);
    addGrid(plot, view, layout);
    addTraces(plot, trace, view, layout);
    addFrames(plot, layout);
    addMarks(plot, trace, view, layout);
    plot.altitudeTitle = {QPoint(8, (layout.plotTop + layout.plotBottom) / 2 + 32), "Altitude (m)"};
    plot.varioTitle = {QPoint(8, (layout.varioTop + layout.varioBottom) / 2 + 36), "Variogram (m/s)"};
    arrangeLabels(plot, view, layout, font);
    return plot;
}

HeaderFacts HeaderFacts::of(qint32 row, const QByteArray &logName, const FlightRecord &record,
                            qint32 takeoffSeconds, qint32 interval)
{
    HeaderFacts facts;
    facts.flightNumber = row;
    facts.logName = logName;
    facts.date = record.date.toByteArray();
    facts.area = record.area.toByteArray();
    facts.comment = record.comment;
    facts.takeoffSeconds = takeoffSeconds;
    facts.interval = interval;
    return facts;
}

std::vector<QByteArray> headerCommentLines(QByteArrayView comment, qsizetype maxLines)
{
    std::vector<QByteArray> lines;
    qsizetype pos = 0;
    const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(comment[i]); };
    // The comment ends at its end or at a NUL byte, as the C string it always was.
    while (qsizetype(lines.size()) < maxLines && pos < comment.size() && byteAt(pos) != 0) {
        const qsizetype start = pos;
        while (pos < comment.size() && byteAt(pos) >= 32)
            ++pos;
        lines.push_back(cp932::truncated(comment.sliced(start, pos - start), kCommentLineMaxBytes));
        while (pos < comment.size() && byteAt(pos) >= 1 && byteAt(pos) <= 31)
            ++pos;
    }
    return lines;
}

namespace {

// The text block's columns were set for a narrow face: each text starts at least a gap after
// the one before it on its line, and is cut where it would pass the picture's right edge.
void fitHeaderLines(GraphHeader &header, const GraphLayout &l, const LabelFont &font)
{
    std::map<qint32, qint32> lineEnds; // top of a line -> first column free after its last text
    std::vector<PlotText> fitted;
    for (PlotText &text : header.texts) {
        const auto end = lineEnds.find(text.topLeft.y());
        if (end != lineEnds.end())
            text.topLeft.setX(std::max(text.topLeft.x(), end->second + LabelLayout::kGap));
        const qint32 room = l.imageWidth - text.topLeft.x();
        qsizetype bytes = text.text.size();
        while (bytes > 0 && font.width(text.text.left(bytes)) > room)
            bytes = cp932::truncated(text.text, bytes - 1).size();
        if (bytes == 0)
            continue;
        text.text = text.text.left(bytes);
        lineEnds[text.topLeft.y()] = text.topLeft.x() + font.width(text.text);
        fitted.push_back(std::move(text));
    }
    header.texts = std::move(fitted);
}

} // namespace

std::vector<QRect> textBoxesOf(const GraphPlot &plot, const GraphHeader &header, const LabelFont &font)
{
    std::vector<QRect> boxes;
    const auto add = [&](const PlotText &t) {
        if (!t.text.isEmpty())
            boxes.push_back(font.boxOf(t));
    };
    for (const PlotText &t : header.texts)
        add(t);
    for (const GraphPlot::TimeTick &t : plot.timeTicks)
        add(t.label);
    for (const PlotText &t : plot.timeEdgeLabels)
        add(t);
    for (const GraphPlot::GridLine &t : plot.altitudeTicks)
        add(t.label);
    add(plot.altitudeTopLabel);
    for (const GraphPlot::GridLine &t : plot.varioTicks)
        add(t.label);
    for (const GraphPlot::GainMark &m : plot.gainMarks) {
        add(m.name);
        add(m.value);
    }
    if (plot.maxGainLabel)
        add(*plot.maxGainLabel);
    boxes.push_back(font.rotatedBoxOf(plot.altitudeTitle));
    boxes.push_back(font.rotatedBoxOf(plot.varioTitle));
    return boxes;
}

GraphHeader buildGraphHeader(const HeaderFacts &f, const FlightStats &stats, const GraphLayout &l, const LabelFont &font)
{
    GraphHeader header;
    header.clear = QRect(QPoint(0, 0), QPoint(l.imageWidth - 1, l.plotTop - 30 - 1));
    auto text = [&header](int x, int y, QByteArray bytes) { header.texts.push_back({QPoint(x, y), std::move(bytes)}); };
    text(40, 40, "Flight # " + QByteArray::number(f.flightNumber));
    text(40, 60, sj(baromsg::HeaderName) + f.logName);
    text(40, 80, sj(baromsg::HeaderTakeoff) + f.date + "  " + numtext::clockText(f.takeoffSeconds));
    text(280, 80, sj(baromsg::HeaderDuration) + numtext::clockText(stats.flightSeconds));
    text(40, 100, sj(baromsg::HeaderArea) + f.area);
    text(40, 120, sj(baromsg::HeaderPeak) + rounded(stats.peakAltitude, 4) + " m");
    text(280, 120, sj(baromsg::HeaderClimb) + rounded(stats.peakClimb, 2) + " m/s");
    if (stats.showsGain()) {
        text(40, 140, sj(baromsg::HeaderGain) + rounded(stats.maxGain, 4) + " m");
        text(200, 140, sj(baromsg::HeaderBottom) + rounded(stats.gainBottom, 4) + " m "
                           + minutesSeconds(stats.gainBottomIndex, f.interval));
        text(360, 140, sj(baromsg::HeaderTop) + rounded(stats.gainTop, 4) + " m "
                           + minutesSeconds(stats.gainTopIndex, f.interval));
    }
    // One line per 16 pixels, or per line of a taller face.
    const qint32 pitch = std::max(16, font.height);
    qsizetype room = 0;
    for (qint32 y = 160; y < l.plotTop - 48; y += pitch)
        ++room;
    qint32 y = 160;
    for (QByteArray &line : headerCommentLines(f.comment, room)) {
        text(40, y, std::move(line));
        y += pitch;
    }
    fitHeaderLines(header, l, font);
    return header;
}
