// The painter: the reduced traces leave exactly the pixels of a line through every sample,
// mono draws no colour, colour draws its traces, and the cursor comes off without a redraw.
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphview.h"
#include "barograph/render/graphpainter.h"
#include "logbook/core/text/cp932.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

BarographTrace randomFlight(int samples, quint32 seed)
{
    QRandomGenerator rng(seed);
    BarographFile file;
    file.interval = 1 + int(rng.bounded(3));
    float altitude = 800;
    float climb = 0;
    for (int i = 0; i < samples; ++i) {
        climb = std::clamp(climb + float(rng.generateDouble() - 0.5) * 3.0f, -12.0f, 12.0f);
        altitude += climb * float(file.interval);
        file.altitudes.push_back(altitude);
    }
    file.marks = {0, samples / 3, samples - 1};
    return BarographTrace::fromFile(std::move(file));
}

struct Scene {
    BarographTrace trace;
    FlightStats stats;
    GraphView view;
    GraphLayout layout;

    /// `zoom` samples from a third of the way in, or the whole trace when 0.
    Scene(BarographTrace t, int width, int zoom = 0) : trace(std::move(t)), layout(GraphLayout::forWidth(width))
    {
        stats = computeFlightStats(trace);
        view = GraphView::fullView(trace, stats);
        if (zoom > 0) {
            view.firstSample = trace.sampleCount() / 3;
            view.viewSamples = zoom;
            view.lastSample = view.firstSample + zoom - 1;
            view.viewStart = view.firstSample * trace.interval;
            view.viewSeconds = (zoom - 1) * trace.interval;
            view.viewEnd = view.viewStart + view.viewSeconds;
        }
    }
    GraphPlot plot() const { return buildGraphPlot(trace, stats, view, layout); }

    // The plot with a line through every sample and one variogram stroke per sample pair.
    GraphPlot everySegment() const
    {
        GraphPlot p = plot();
        p.altitudeTrace.clear();
        p.varioTrace.clear();
        float before = 0;
        QPoint previous;
        for (qint32 i = view.firstSample; i <= view.lastSample; ++i) {
            const qint32 x = view.sampleX(i, layout);
            p.altitudeTrace.push_back(QPoint(x, view.traceY(trace.altitudes[size_t(i)], layout)));
            const float v = std::clamp(trace.varios[size_t(i)], -8.0f, 8.0f);
            const QPoint point(x, GraphView::varioY(v, layout));
            if (i > view.firstSample) {
                p.varioTrace.push_back({{previous, point}, v + before > 0});
                before = v;
            }
            previous = point;
        }
        return p;
    }
};

// `clipped` paints through a clip region, which takes the painter off its fast path of
// writing the traces' vertical runs straight into the picture.
QImage painted(const GraphPlot &plot, const GraphLayout &layout, const PlotStyle &style, bool clipped = false)
{
    QImage image = newSurface(layout);
    QPainter painter(&image);
    if (clipped)
        painter.setClipRect(image.rect());
    paintGraph(painter, plot, style);
    return image;
}

QString firstDifference(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("first difference at %1,%2: %3 instead of %4")
                    .arg(x).arg(y).arg(a.pixel(x, y), 0, 16).arg(b.pixel(x, y), 0, 16);
    return {};
}

int pixelsOf(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        n += int(std::count(line, line + image.width(), colour));
    }
    return n;
}

} // namespace

class TestGraphPainter : public QObject {
    Q_OBJECT
private slots:
    void reducedTracesLeaveTheSamePixels_data();
    void reducedTracesLeaveTheSamePixels();
    void monoDrawsNoColour();
    void climbBandsLieUnderEverything();
    void cursorDrawnTwiceLeavesNoTrace();
    void headerDrawsIntoTheTextBlockOnly();
    void labelBoxesHoldTheirTextOnScreenAndPage();
};

void TestGraphPainter::reducedTracesLeaveTheSamePixels_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("width");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("zoom");
    QTest::newRow("fewer samples than columns") << 300 << 640 << 1u << 0;
    QTest::newRow("about one per column") << 600 << 640 << 2u << 0;
    QTest::newRow("a few per column") << 2000 << 640 << 3u << 0;
    QTest::newRow("10 h at 1 s") << 36000 << 1000 << 4u << 0;
    QTest::newRow("narrow window") << 5000 << 200 << 5u << 0;
    QTest::newRow("wide window") << 20000 << 1900 << 6u << 0;
    QTest::newRow("200,000 samples") << 200000 << 1000 << 10u << 0;
    QTest::newRow("zoomed to 8 samples") << 5000 << 640 << 16u << 8;
    QTest::newRow("zoomed to 1000 samples") << 5000 << 640 << 17u << 1000;
    for (quint32 seed = 11; seed < 15; ++seed)
        QTest::addRow("seed %u", seed) << 8000 << 640 << seed << 0;
}

void TestGraphPainter::reducedTracesLeaveTheSamePixels()
{
    QFETCH(int, samples);
    QFETCH(int, width);
    QFETCH(quint32, seed);
    QFETCH(int, zoom);
    const Scene scene(randomFlight(samples, seed), width, zoom);
    const GraphPlot reduced = scene.plot();
    const GraphPlot full = scene.everySegment();
    QVERIFY(reduced.altitudeTrace.size() <= size_t(4 * (width + 1)));
    const QImage a = painted(reduced, scene.layout, PlotStyle::colour());
    const QImage b = painted(full, scene.layout, PlotStyle::colour(), true);
    if (a != b)
        QFAIL(qPrintable(firstDifference(a, b)));
    // The picture's own pixels and Qt's lines agree.
    const QImage c = painted(reduced, scene.layout, PlotStyle::colour(), true);
    if (a != c)
        QFAIL(qPrintable(firstDifference(a, c)));
}

void TestGraphPainter::monoDrawsNoColour()
{
    const Scene scene(randomFlight(3000, 7), 640);
    const QImage colour = painted(scene.plot(), scene.layout, PlotStyle::colour());
    QVERIFY(pixelsOf(colour, qRgb(0, 0, 255)) > 500);  // the altitude trace
    QVERIFY(pixelsOf(colour, qRgb(0, 128, 0)) > 100);  // climbs on the variogram
    QVERIFY(pixelsOf(colour, qRgb(255, 0, 0)) > 10);   // gain arrows and marks
    const QImage mono = painted(scene.plot(), scene.layout, PlotStyle::mono());
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x) {
            const QRgb p = mono.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                QFAIL(qPrintable(QStringLiteral("colour at %1,%2").arg(x).arg(y)));
        }
    // The same lines in both: wherever colour has ink, mono has too.
    QCOMPARE(pixelsOf(mono, qRgb(255, 255, 255)) <= pixelsOf(colour, qRgb(255, 255, 255)) + 50, true);
}

void TestGraphPainter::climbBandsLieUnderEverything()
{
    const Scene scene(randomFlight(3000, 7), 640);
    GraphPlot shaded = scene.plot();
    shaded.climbBands = {QRect(QPoint(100, 270), QPoint(220, 540)), QRect(QPoint(100, 564), QPoint(220, 676))};
    for (const PlotStyle &style : {PlotStyle::colour(), PlotStyle::mono()}) {
        const QImage plain = painted(scene.plot(), scene.layout, style);
        const QImage banded = painted(shaded, scene.layout, style);
        // Only paper inside the bands changes: grid dots, traces, frames and labels stay.
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb before = plain.pixel(x, y), after = banded.pixel(x, y);
                const bool inBand = shaded.climbBands[0].contains(x, y) || shaded.climbBands[1].contains(x, y);
                if (after != before && !(inBand && before == qRgb(255, 255, 255) && after == style.climbBand.rgb()))
                    QFAIL(qPrintable(QStringLiteral("%1,%2 changed").arg(x).arg(y)));
            }
        QVERIFY(pixelsOf(banded, style.climbBand.rgb()) > 121 * 300);
    }
}

void TestGraphPainter::cursorDrawnTwiceLeavesNoTrace()
{
    const Scene scene(randomFlight(1000, 8), 640);
    QImage image = painted(scene.plot(), scene.layout, PlotStyle::colour());
    const QImage before = image;
    const CursorPlacement c = placeCursor(333.0f, scene.trace, scene.view, scene.layout);
    {
        QPainter p(&image);
        paintCursor(p, c, scene.layout);
    }
    // Grey exclusive-or white is a darker grey, readable on the white plot.
    int greyed = 0;
    for (int y = 271; y < 540; ++y) {
        if (y != c.altitudeY && before.pixel(c.x, y) == qRgb(255, 255, 255)) {
            QCOMPARE(image.pixel(c.x, y), qRgb(127, 127, 127));
            ++greyed;
        }
    }
    QVERIFY(greyed > 100);
    {
        QPainter p(&image);
        paintCursor(p, c, scene.layout);
    }
    QCOMPARE(image, before);
}

void TestGraphPainter::headerDrawsIntoTheTextBlockOnly()
{
    const Scene scene(randomFlight(100, 9), 640);
    HeaderFacts facts;
    facts.comment = QByteArray(400, 'W'); // far wider than the surface
    QImage image = newSurface(scene.layout);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        paintHeader(p, buildGraphHeader(facts, scene.stats, scene.layout), PlotStyle::colour());
    }
    QVERIFY(pixelsOf(image.copy(0, 0, 640, 240), qRgb(255, 255, 255)) > 100000); // cleared
    QCOMPARE(pixelsOf(image.copy(0, 240, 640, 766 - 240), qRgb(0, 0, 0)), 640 * (766 - 240)); // untouched
}

QTEST_MAIN(TestGraphPainter)
#include "tst_graphpainter.moc"

void TestGraphPainter::labelBoxesHoldTheirTextOnScreenAndPage()
{
    // The layout keeps boxes apart; texts stay apart only if each is drawn inside its box, on
    // the window's surface and on a page drawn at the printer's resolution alike.
    const PlotStyle style = PlotStyle::colour();
    const LabelFont font = labelFontOf(style);
    QImage surface = newSurface(GraphLayout());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter page(&buffer);
    page.setResolution(600);
    for (QPaintDevice *device : std::initializer_list<QPaintDevice *>{&surface, &page}) {
        const QFontMetricsF metrics(style.forPage().textFont, device);
        QVERIFY(metrics.height() <= font.height);
        for (const QByteArray &text : {QByteArray("55:33'19\""), QByteArray("Gain Bottom"), QByteArray("800.6m"),
                                      cp932::fromUnicode(u"獲得高度： 1234.5 m")})
            QVERIFY2(metrics.horizontalAdvance(cp932::toUnicode(text)) <= font.width(text), text.constData());
    }
}
