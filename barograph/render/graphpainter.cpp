// The barograph painter.
#include "graphpainter.h"

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphview.h"
#include "logbook/core/text/cp932.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Text drawn with its cell's top-left corner at the given point.
void drawText(QPainter &p, const PlotText &text)
{
    const QFontMetrics metrics(p.font());
    p.drawText(text.topLeft + QPoint(0, metrics.ascent()), cp932::toUnicode(text.text));
}

// Grid labels sit on a white cell of their own, so that grid lines never cross them.
void drawLabel(QPainter &p, const PlotText &text, const PlotStyle &style)
{
    const QPen pen = p.pen();
    p.setPen(style.ink);
    drawText(p, text);
    p.setPen(pen);
}

void drawLine(QPainter &p, const PlotSegment &segment)
{
    if (segment.from == segment.to)
        p.drawPoint(segment.from);
    else
        p.drawLine(segment.from, segment.to);
}

// A polyline as separate segments, each drawn whole with both of its end points: a trace's
// picture is the union of its segments, whatever order or joins they come in. (A polyline
// call leaves out join pixels where a trace doubles back on itself within one column.)
void drawSegments(QPainter &p, const std::vector<QPoint> &points)
{
    if (points.size() == 1) {
        p.drawPoint(points.front());
        return;
    }
    std::vector<QLine> lines;
    lines.reserve(points.size());
    for (size_t i = 1; i < points.size(); ++i)
        lines.emplace_back(points[i - 1], points[i]);
    p.drawLines(lines.data(), int(lines.size()));
}

// Axis titles read upward from their point.
void drawRotated(QPainter &p, const PlotText &text, const QColor &colour)
{
    p.save();
    p.setPen(colour);
    p.translate(text.topLeft);
    p.rotate(-90);
    drawText(p, {QPoint(0, 0), text.text});
    p.restore();
}

} // namespace

QImage newSurface(const GraphLayout &layout)
{
    QImage image(std::max(layout.imageWidth, 1), std::max(layout.imageHeight, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void paintGraph(QPainter &p, const GraphPlot &plot, const PlotStyle &style)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(style.textFont);
    p.fillRect(plot.clear, style.paper);
    p.setBackground(style.paper);
    p.setBackgroundMode(Qt::OpaqueMode);

    p.setPen(PlotStyle::dottedPen(style.timeGrid));
    for (const GraphPlot::TimeTick &tick : plot.timeTicks) {
        drawLine(p, tick.altitudeLine);
        drawLabel(p, tick.label, style);
        drawLine(p, tick.varioLine);
    }
    p.setPen(PlotStyle::dottedPen(style.ink));
    for (const PlotText &label : plot.timeEdgeLabels)
        drawLabel(p, label, style);
    for (const GraphPlot::GridLine &tick : plot.altitudeTicks) {
        drawLine(p, tick.line);
        drawLabel(p, tick.label, style);
    }
    drawLabel(p, plot.altitudeTopLabel, style);
    for (const GraphPlot::GridLine &tick : plot.varioTicks) {
        drawLine(p, tick.line);
        drawLabel(p, tick.label, style);
    }

    p.setPen(PlotStyle::solidPen(style.altitudeTrace));
    drawSegments(p, plot.altitudeTrace);
    const QPen climbPen = PlotStyle::solidPen(style.varioClimb);
    const QPen sinkPen = PlotStyle::solidPen(style.varioSink);
    for (const VarioStroke &stroke : plot.varioTrace) {
        p.setPen(stroke.climbing ? climbPen : sinkPen);
        drawLine(p, stroke.line);
    }

    p.setPen(PlotStyle::solidPen(style.ink));
    p.drawPolyline(plot.altitudeFrame.data(), int(plot.altitudeFrame.size()));
    p.drawPolyline(plot.varioFrame.data(), int(plot.varioFrame.size()));
    drawLine(p, plot.zeroLine);

    for (const GraphPlot::GainMark &mark : plot.gainMarks) {
        p.setPen(PlotStyle::solidPen(style.gain));
        p.drawPolyline(mark.arrow.data(), int(mark.arrow.size()));
        p.setPen(PlotStyle::solidPen(style.ink));
        drawLabel(p, mark.name, style);
        drawLabel(p, mark.value, style);
    }
    if (plot.maxGainLabel)
        drawLabel(p, *plot.maxGainLabel, style);

    p.setPen(PlotStyle::solidPen(style.marks));
    p.setBrush(Qt::NoBrush);
    for (const QRect &circle : plot.markCircles)
        p.drawEllipse(circle);

    p.setBackgroundMode(Qt::TransparentMode);
    p.setFont(style.titleFont);
    drawRotated(p, plot.altitudeTitle, style.altitudeTitle);
    drawRotated(p, plot.varioTitle, style.varioTitle);
    p.restore();
}

void paintHeader(QPainter &p, const GraphHeader &header, const PlotStyle &style)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(header.clear, style.paper);
    p.setFont(style.textFont);
    p.setPen(style.ink);
    p.setBackgroundMode(Qt::TransparentMode);
    for (const PlotText &text : header.texts)
        drawText(p, text);
    p.restore();
}

void paintCursor(QPainter &p, const CursorPlacement &c, const GraphLayout &l)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(PlotStyle::solidPen(QColor(128, 128, 128)));
    p.drawLine(c.x, l.plotTop, c.x, l.plotBottom);
    p.drawLine(c.x, l.varioTop, c.x, l.varioBottom);
    p.drawLine(l.plotLeft, c.altitudeY, l.plotRight, c.altitudeY);
    p.drawLine(l.plotLeft, c.varioY, l.plotRight, c.varioY);
    p.restore();
}

QImage renderGraphPicture(const BarographTrace &trace, const HeaderFacts &facts, qint32 width,
                          const PlotStyle &style)
{
    const FlightStats stats = computeFlightStats(trace);
    const GraphLayout layout = GraphLayout::forWidth(width);
    const GraphView view = GraphView::fullView(trace, stats);
    QImage image = newSurface(layout);
    QPainter painter(&image);
    paintGraph(painter, buildGraphPlot(trace, stats, view, layout), style);
    paintHeader(painter, buildGraphHeader(facts, stats, layout), style);
    return image;
}
