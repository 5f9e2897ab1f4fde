// The barograph painter.
#include "graphpainter.h"

#include "barograph/core/barographsession.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphview.h"
#include "logbook/core/text/cp932.h"
#include "logbook/render/textmeasure.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

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
    if (text.text.isEmpty())
        return; // left out where it would run into another
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

// Vertical runs of the traces and the dots of the grid. On the plain 32-bit picture the
// window and the picture files use, without transformation or clipping, they go straight into
// its pixels: the same pixels Qt's line drawing sets, at a fraction of its cost per pixel,
// which is what keeps a dense trace and a dense grid cheap. On any other device (a printer)
// they are ordinary lines and points.
class PixelWriter {
public:
    PixelWriter(QPainter &p, const PlotStyle &style) : m_painter(p), m_style(style)
    {
        QPaintDevice *device = p.device();
        if (device && device->devType() == QInternal::Image && p.transform().isIdentity() && !p.hasClipping()
            && p.compositionMode() == QPainter::CompositionMode_SourceOver) {
            auto *image = static_cast<QImage *>(device);
            if (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32)
                m_image = image;
        }
    }

    /// Pixels (x, from.y) to (x, to.y), both included, in an opaque colour.
    void draw(const PlotSegment &run, const QColor &colour)
    {
        if (!m_image) {
            const QPen pen = m_painter.pen();
            m_painter.setPen(m_style.pen(colour));
            drawLine(m_painter, run);
            m_painter.setPen(pen);
            return;
        }
        const int x = run.from.x();
        if (x < 0 || x >= m_image->width())
            return;
        const int top = std::max(std::min(run.from.y(), run.to.y()), 0);
        const int bottom = std::min(std::max(run.from.y(), run.to.y()), m_image->height() - 1);
        const QRgb rgb = colour.rgb();
        const qsizetype stride = m_image->bytesPerLine() / qsizetype(sizeof(QRgb));
        QRgb *pixel = reinterpret_cast<QRgb *>(m_image->bits()) + top * stride + x;
        for (int y = top; y <= bottom; ++y, pixel += stride)
            *pixel = rgb;
    }

    /// A filled rectangle of an opaque colour.
    void fill(const QRect &area, const QColor &colour)
    {
        if (!m_image) {
            m_painter.fillRect(area, colour);
            return;
        }
        const QRect r = area & m_image->rect();
        if (r.isEmpty())
            return;
        const QRgb rgb = colour.rgb();
        const qsizetype stride = m_image->bytesPerLine() / qsizetype(sizeof(QRgb));
        QRgb *line = reinterpret_cast<QRgb *>(m_image->bits()) + r.top() * stride + r.left();
        for (int y = r.top(); y <= r.bottom(); ++y, line += stride)
            std::fill(line, line + r.width(), rgb);
    }

    /// A dotted grid line, which never slants: every third pixel from its start.
    void drawDotted(const PlotSegment &line, const QColor &colour)
    {
        const QPoint d = line.to - line.from;
        const int length = std::max(std::abs(d.x()), std::abs(d.y()));
        const QPoint step(d.x() > 0 ? 1 : d.x() < 0 ? -1 : 0, d.y() > 0 ? 1 : d.y() < 0 ? -1 : 0);
        const QRect bounds = m_image ? m_image->rect() : QRect();
        std::vector<QPoint> dots;
        for (int i = 0; i <= length; i += 3) {
            const QPoint dot = line.from + step * i;
            if (!m_image)
                dots.push_back(dot);
            else if (bounds.contains(dot))
                m_image->setPixel(dot, colour.rgb());
        }
        if (!m_image) {
            const QPen pen = m_painter.pen();
            m_painter.setPen(m_style.pen(colour));
            m_painter.drawPoints(dots.data(), int(dots.size()));
            m_painter.setPen(pen);
        }
    }

private:
    QPainter &m_painter;
    const PlotStyle &m_style;
    QImage *m_image = nullptr;
};

// The altitude trace: a polyline, its segments each drawn whole with both end points, so that
// its picture is the union of its segments whatever order or joins they come in. (A polyline
// call leaves out join pixels where a trace doubles back on itself within one column.)
void drawAltitudeTrace(QPainter &p, const std::vector<QPoint> &points, const QColor &colour, const PlotStyle &style)
{
    PixelWriter runs(p, style);
    if (points.size() == 1)
        runs.draw({points.front(), points.front()}, colour);
    std::vector<QLine> slanted;
    slanted.reserve(points.size());
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i - 1].x() == points[i].x())
            runs.draw({points[i - 1], points[i]}, colour);
        else
            slanted.emplace_back(points[i - 1], points[i]);
    }
    p.setPen(style.pen(colour));
    p.drawLines(slanted.data(), int(slanted.size()));
}

// The variogram's strokes, strictly in their order: a later stroke covers an earlier one.
void drawVario(QPainter &p, const std::vector<VarioStroke> &strokes, const PlotStyle &style)
{
    PixelWriter runs(p, style);
    const QPen climbPen = style.pen(style.varioClimb);
    const QPen sinkPen = style.pen(style.varioSink);
    p.setPen(sinkPen);
    bool penClimbs = false;
    for (const VarioStroke &stroke : strokes) {
        if (stroke.line.from.x() == stroke.line.to.x()) {
            runs.draw(stroke.line, stroke.climbing ? style.varioClimb : style.varioSink);
            continue;
        }
        if (stroke.climbing != penClimbs) {
            p.setPen(stroke.climbing ? climbPen : sinkPen);
            penClimbs = stroke.climbing;
        }
        p.drawLine(stroke.line.from, stroke.line.to);
    }
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

    PixelWriter pixels(p, style);
    for (const QRect &band : plot.climbBands)
        pixels.fill(band, style.climbBand);
    for (const GraphPlot::TimeTick &tick : plot.timeTicks) {
        pixels.drawDotted(tick.altitudeLine, style.timeGrid);
        drawLabel(p, tick.label, style);
        pixels.drawDotted(tick.varioLine, style.timeGrid);
    }
    for (const PlotText &label : plot.timeEdgeLabels)
        drawLabel(p, label, style);
    for (const GraphPlot::GridLine &tick : plot.altitudeTicks) {
        pixels.drawDotted(tick.line, style.ink);
        drawLabel(p, tick.label, style);
    }
    drawLabel(p, plot.altitudeTopLabel, style);
    for (const GraphPlot::GridLine &tick : plot.varioTicks) {
        pixels.drawDotted(tick.line, style.ink);
        drawLabel(p, tick.label, style);
    }

    drawAltitudeTrace(p, plot.altitudeTrace, style.altitudeTrace, style);
    drawVario(p, plot.varioTrace, style);

    p.setPen(style.pen(style.ink));
    p.drawPolyline(plot.altitudeFrame.data(), int(plot.altitudeFrame.size()));
    p.drawPolyline(plot.varioFrame.data(), int(plot.varioFrame.size()));
    drawLine(p, plot.zeroLine);

    for (const GraphPlot::GainMark &mark : plot.gainMarks) {
        p.setPen(style.pen(style.gain));
        p.drawPolyline(mark.arrow.data(), int(mark.arrow.size()));
        p.setPen(style.pen(style.ink));
        drawLabel(p, mark.name, style);
        drawLabel(p, mark.value, style);
    }
    if (plot.maxGainLabel)
        drawLabel(p, *plot.maxGainLabel, style);

    p.setPen(style.pen(style.marks));
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

LabelFont labelFontOf(const PlotStyle &style)
{
    const TextMeasure measure = measuredIn(style.textFont);
    return {measure.width, measure.height};
}

void paintPage(QPainter &p, QSize page, const GraphLayout &layout, const GraphPlot &plot, const GraphHeader &header,
               const PlotStyle &style)
{
    const PrintPlacement at = printPlacement(layout.imageWidth, layout.imageHeight, page.width(), page.height());
    const PlotStyle pageStyle = style.forPage();
    p.save();
    p.translate(at.left, at.top);
    p.scale(at.scale, at.scale);
    p.setClipRect(QRect(0, 0, layout.imageWidth, layout.imageHeight));
    paintGraph(p, plot, pageStyle);
    paintHeader(p, header, pageStyle);
    p.restore();
}

QByteArray pdfOfPicture(const GraphLayout &layout, const GraphPlot &plot, const GraphHeader &header,
                        const PlotStyle &style)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("DUVAZI"));
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter p(&pdf);
        paintPage(p, QSize(pdf.width(), pdf.height()), layout, plot, header, style);
    }
    return bytes;
}

GraphPlot plotOf(const BarographSession &session, const PlotStyle &style)
{
    return buildGraphPlot(session.trace(), session.stats(), session.view(), session.layout(), labelFontOf(style),
                          session.analysis().climbs);
}

SurfacePicture pictureOf(const BarographSession &session, const HeaderFacts &facts, const PlotStyle &style)
{
    return {plotOf(session, style), buildGraphHeader(facts, session.stats(), session.layout(), labelFontOf(style))};
}

QImage renderGraphPicture(const BarographSession &session, const HeaderFacts &facts, const PlotStyle &style)
{
    const SurfacePicture picture = pictureOf(session, facts, style);
    QImage image = newSurface(session.layout());
    QPainter painter(&image);
    paintGraph(painter, picture.plot, style);
    paintHeader(painter, picture.header, style);
    return image;
}
