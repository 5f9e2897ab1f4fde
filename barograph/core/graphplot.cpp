// What the barograph window draws.
#include "graphplot.h"

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphview.h"
#include "barograph/core/messages.h"
#include "barograph/core/numbertext.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/text/cp932.h"

#include <algorithm>
#include <cmath>

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

// Reduces the altitude polyline to the first, lowest, highest and last point of each pixel
// column. The pixels of a column's vertical strokes are exactly those between its lowest and
// highest point, and the strokes between columns keep their end points.
class ColumnPolyline {
public:
    explicit ColumnPolyline(std::vector<QPoint> &out) : m_out(out) {}

    void add(QPoint p)
    {
        if (m_count > 0 && p.x() != m_x)
            flush();
        if (m_count++ == 0) {
            m_x = p.x();
            m_first = m_low = m_high = m_last = p.y();
            return;
        }
        m_low = std::min(m_low, p.y());
        m_high = std::max(m_high, p.y());
        m_last = p.y();
    }
    void flush()
    {
        if (m_count == 0)
            return;
        for (const qint32 y : {m_first, m_low, m_high, m_last}) {
            const QPoint p(m_x, y);
            if (m_out.empty() || m_out.back() != p)
                m_out.push_back(p);
        }
        m_count = 0;
    }

private:
    std::vector<QPoint> &m_out;
    qint32 m_count = 0;
    qint32 m_x = 0, m_first = 0, m_low = 0, m_high = 0, m_last = 0;
};

// Reduces the coloured variogram strokes the same way. Within a column the strokes are
// vertical, and the colour a pixel ends with is that of the last stroke over it. Walking
// the column's strokes backwards, the pixels already claimed always form one interval (the
// strokes join end to end), so each earlier stroke can only add a run above or below it:
// those runs, in their strokes' colours, give the column's final picture.
class ColumnStrokes {
public:
    explicit ColumnStrokes(std::vector<VarioStroke> &out) : m_out(out) {}

    /// The next point and the colour of the stroke that reaches it.
    void add(QPoint p, bool climbing)
    {
        if (!m_ys.empty() && p.x() != m_x) {
            const QPoint from(m_x, m_ys.back());
            flush();
            m_out.push_back({{from, p}, climbing}); // the stroke into the new column
        }
        m_x = p.x();
        m_ys.push_back(p.y());
        m_climbing.push_back(climbing);
    }
    /// Emits the finished column's runs.
    void flush()
    {
        qint32 claimedLow = 0, claimedHigh = -1; // nothing claimed yet
        for (qsizetype j = qsizetype(m_ys.size()) - 1; j >= 1; --j) {
            const qint32 a = std::min(m_ys[size_t(j) - 1], m_ys[size_t(j)]);
            const qint32 b = std::max(m_ys[size_t(j) - 1], m_ys[size_t(j)]);
            const bool climbing = m_climbing[size_t(j)];
            if (claimedHigh < claimedLow) {
                run(a, b, climbing);
                claimedLow = a;
                claimedHigh = b;
                continue;
            }
            if (a < claimedLow) {
                run(a, claimedLow - 1, climbing);
                claimedLow = a;
            }
            if (b > claimedHigh) {
                run(claimedHigh + 1, b, climbing);
                claimedHigh = b;
            }
        }
        m_ys.clear();
        m_climbing.clear();
    }

private:
    void run(qint32 from, qint32 to, bool climbing)
    {
        m_out.push_back({{QPoint(m_x, from), QPoint(m_x, to)}, climbing});
    }

    std::vector<VarioStroke> &m_out;
    std::vector<qint32> m_ys;     // this column's points
    std::vector<bool> m_climbing; // colour of the stroke reaching each of them
    qint32 m_x = 0;
};

void addGrid(GraphPlot &plot, const GraphView &view, const GraphLayout &l)
{
    const qint64 plotWidth = l.plotWidth();
    const qint64 seconds = std::max(view.viewSeconds, 1);
    for (qint64 t = firstTimeTick(view); t < view.viewEnd; t += view.timeTick) {
        const qint32 x = qint32(l.plotLeft + (t - view.viewStart) * plotWidth / seconds);
        const QByteArray label = view.timeTick >= 60 ? hoursMinutes(qint32(t)) : hoursMinutesSeconds(qint32(t));
        plot.timeTicks.push_back({{QPoint(x, l.plotTop), QPoint(x, l.plotBottom)},
                                  {QPoint(x - 10, l.plotBottom + 6), label},
                                  {QPoint(x, l.varioTop), QPoint(x, l.varioBottom)}});
    }
    plot.timeEdgeLabels = {{{QPoint(l.plotLeft - 20, l.plotBottom + 6), hoursMinutesSeconds(view.viewStart)},
                            {QPoint(l.plotRight - 10, l.plotBottom + 6), hoursMinutesSeconds(view.viewEnd)},
                            {QPoint(l.plotRight + 4, l.plotBottom - 6), "Time"}}};

    for (qint64 a = firstAltitudeTick(view); a < view.viewAltMax; a += view.altTick) {
        const qint32 y = view.altY(qint32(a), l);
        if (y > l.plotTop && y < l.plotBottom)
            plot.altitudeTicks.push_back({{QPoint(l.plotLeft, y), QPoint(l.plotRight, y)},
                                          {QPoint(l.plotLeft - 28, y - 5), numtext::decimal(a, 4)}});
    }
    plot.altitudeTopLabel = {QPoint(l.plotLeft - 28, l.plotTop - 5), numtext::decimal(view.viewAltMax, 4)};

    for (qint32 k = 0; k <= 4; ++k) {
        const qint32 y = l.varioTop + l.varioHeight() * k / 4;
        plot.varioTicks[size_t(k)] = {{QPoint(l.plotLeft, y), QPoint(l.plotRight, y)},
                                      {QPoint(l.plotLeft - 18, y - 5), numtext::decimal((2 - k) * 4, 2)}};
    }
}

void addTraces(GraphPlot &plot, const BarographTrace &trace, const GraphView &view, const GraphLayout &l)
{
    const qint32 first = std::max(view.firstSample, 0);
    const qint32 last = std::min(view.lastSample, trace.sampleCount() - 1);
    ColumnPolyline altitude(plot.altitudeTrace);
    ColumnStrokes vario(plot.varioTrace);
    float before = 0; // the first stroke is coloured by its end point alone
    for (qint32 i = first; i <= last; ++i) {
        const qint32 x = view.sampleX(i, l);
        altitude.add(QPoint(x, view.traceY(trace.altitudes[size_t(i)], l)));
        const float v = std::clamp(trace.varios[size_t(i)], -8.0f, 8.0f);
        vario.add(QPoint(x, GraphView::varioY(v, l)), v + before > 0);
        if (i > first)
            before = v;
    }
    altitude.flush();
    vario.flush();
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
    if (inView(stats.gainBottomIndex, view)) {
        const qint32 x = view.sampleX(stats.gainBottomIndex, l);
        const qint32 y = view.altY(truncClamped(double(stats.gainBottom) + 0.5), l);
        if (y >= l.plotTop && y <= l.plotBottom)
            plot.gainMarks.push_back({{QPoint(x - 3, y + 8), QPoint(x, y + 2), QPoint(x + 3, y + 8)},
                                      {QPoint(x - 16, y + 10), "Gain Bottom"},
                                      {QPoint(x - 16, y + 20), rounded(stats.gainBottom, 4) + 'm'}});
    }
    if (inView(stats.gainTopIndex, view)) {
        const qint32 x = view.sampleX(stats.gainTopIndex, l);
        const qint32 y = view.altY(truncClamped(double(stats.gainTop) + 0.5), l);
        if (y >= l.plotTop && y <= l.plotBottom)
            plot.gainMarks.push_back({{QPoint(x - 3, y - 8), QPoint(x, y - 2), QPoint(x + 3, y - 8)},
                                      {QPoint(x - 16, y - 18), "Gain Top"},
                                      {QPoint(x - 16, y - 28), rounded(stats.gainTop, 4) + 'm'}});
    }
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
                         const GraphLayout &layout)
{
    GraphPlot plot;
    plot.clear = QRect(QPoint(0, layout.plotTop - 31), QPoint(layout.imageWidth - 1, layout.imageHeight - 1));
    addGrid(plot, view, layout);
    addTraces(plot, trace, view, layout);
    addFrames(plot, layout);
    addGain(plot, stats, view, layout);
    addMarks(plot, trace, view, layout);
    plot.altitudeTitle = {QPoint(8, (layout.plotTop + layout.plotBottom) / 2 + 32), "Altitude (m)"};
    plot.varioTitle = {QPoint(8, (layout.varioTop + layout.varioBottom) / 2 + 36), "Variogram (m/s)"};
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

GraphHeader buildGraphHeader(const HeaderFacts &f, const FlightStats &stats, const GraphLayout &l)
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
    qsizetype room = 0;
    for (qint32 y = 160; y < l.plotTop - 48; y += 16)
        ++room;
    qint32 y = 160;
    for (QByteArray &line : headerCommentLines(f.comment, room)) {
        text(40, y, std::move(line));
        y += 16;
    }
    return header;
}
