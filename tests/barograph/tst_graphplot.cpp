// What the window draws, as values: grid lines and their labels, the variogram's colours,
// gain arrows, marks, and the text block with its comment lines.
#include "barograph/core/flightstats.h"
#include "barograph/core/graphplot.h"
#include "barograph/core/graphview.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/text/cp932.h"
#include "tests/barograph/barographtestdata.h"

#include <QTest>

namespace {

struct Drawn {
    BarographTrace trace;
    FlightStats stats;
    GraphView view;
    GraphLayout layout = GraphLayout::forWidth(640);
    GraphPlot plot;

    explicit Drawn(BarographTrace t) : trace(std::move(t))
    {
        stats = computeFlightStats(trace);
        view = GraphView::fullView(trace, stats);
        plot = buildGraphPlot(trace, stats, view, layout);
    }
};

// A view of seconds `from` to `to` and, when given, of altitudes `low` to `high`: what the
// zoom tool and the rubber band leave.
GraphView zoomed(GraphView v, qint32 interval, qint32 from, qint32 to, qint32 low = 0, qint32 high = 0)
{
    v.viewStart = from, v.viewEnd = to, v.viewSeconds = to - from;
    v.firstSample = from / interval, v.lastSample = to / interval, v.viewSamples = (to - from) / interval + 1;
    if (high > low)
        v.viewAltMin = low, v.viewAltMax = high, v.viewAltSpan = high - low;
    v.updateTicks();
    return v;
}

// A thermal flight: up from `base` by 900 m over the first third, down over the rest.
std::vector<float> thermalFlight(qsizetype samples, float base)
{
    std::vector<float> altitudes(static_cast<size_t>(samples));
    for (qsizetype i = 0; i < samples; ++i)
        altitudes[size_t(i)] = i < samples / 3 ? base + 900.0f * float(i) / float(samples / 3)
                                               : base + 900.0f * float(samples - i) / float(samples - samples / 3);
    return altitudes;
}

QByteArrayList labelsOf(const std::vector<GraphPlot::TimeTick> &ticks)
{
    QByteArrayList labels;
    for (const GraphPlot::TimeTick &t : ticks)
        labels << t.label.text;
    return labels;
}

template<typename Lines>
QByteArrayList labelsOf(const Lines &lines)
{
    QByteArrayList labels;
    for (const GraphPlot::GridLine &l : lines)
        labels << l.label.text;
    return labels;
}

QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

} // namespace

Q_DECLARE_METATYPE(BarographTrace)

class TestGraphPlot : public QObject {
    Q_OBJECT
private slots:
    void timeGridLabels_data();
    void timeGridLabels();
    void altitudeGridStaysStrictlyInside();
    void labelsNeverRunIntoOthers();
    void noTextCoversAnotherOrLeavesThePicture_data();
    void noTextCoversAnotherOrLeavesThePicture();
    void gainMarksKeepClearOfTheScaleTheTraceAndTheTimes_data();
    void gainMarksKeepClearOfTheScaleTheTraceAndTheTimes();
    void varioGridAndFrames();
    void varioColours();
    void climbBeyond8IsDrawnAtTheEdge();
    void reducedTraceKeepsEachColumnsExtremes();
    void gainArrowsOnlyAbove20m_data();
    void gainArrowsOnlyAbove20m();
    void marksInsideTheView();
    void flatTraceStillDraws();
    void climbBandsClippedToTheView_data();
    void climbBandsClippedToTheView();
    void header();
    void commentLines_data();
    void commentLines();
};

void TestGraphPlot::timeGridLabels_data()
{
    QTest::addColumn<qint32>("seconds");
    QTest::addColumn<QByteArrayList>("labels");
    QTest::newRow("179 s: every 30 s with seconds")
        << 179 << QByteArrayList{"0:00'30\"", "0:01'00\"", "0:01'30\"", "0:02'00\"", "0:02'30\""};
    QTest::newRow("180 s: every minute, hours and minutes")
        << 180 << QByteArrayList{"0:01", "0:02"};
    // "3:00" would run into the end label "3:10'00\"": its line stays, its label goes.
    QTest::newRow("3 h 10 min: every hour")
        << 3 * 3600 + 600 << QByteArrayList{"1:00", "2:00", ""};
}

void TestGraphPlot::timeGridLabels()
{
    QFETCH(qint32, seconds);
    QFETCH(QByteArrayList, labels);
    const Drawn d(traceOf(seconds, {100, 200}));
    QCOMPARE(labelsOf(d.plot.timeTicks), labels);
    QCOMPARE(d.plot.timeEdgeLabels[0].text, QByteArray("0:00'00\""));
    QCOMPARE(d.plot.timeEdgeLabels[2].text, QByteArray("Time"));
    // Each tick's line stands at its time and its label 10 pixels to the left of it.
    for (const GraphPlot::TimeTick &t : d.plot.timeTicks) {
        QCOMPARE(t.label.topLeft, t.altitudeLine.from + QPoint(-10, 270 + 6));
        QCOMPARE(t.varioLine.from, QPoint(t.altitudeLine.from.x(), 564));
    }
}

void TestGraphPlot::altitudeGridStaysStrictlyInside()
{
    // 512.3 to 987.6 m: axis 500 to 1000, grid every 100 m; 500 and 1000 lie on the frame.
    const Drawn d(traceOf(1, {512.3f, 987.6f}));
    QCOMPARE(labelsOf(d.plot.altitudeTicks), (QByteArrayList{" 600", " 700", " 800", " 900"}));
    QCOMPARE(d.plot.altitudeTicks.front().line.from, QPoint(58, 540 - 54));
    QCOMPARE(d.plot.altitudeTicks.front().label.topLeft, QPoint(30, 540 - 54 - 5));
    QCOMPARE(d.plot.altitudeTopLabel.text, QByteArray("1000"));
}

void TestGraphPlot::labelsNeverRunIntoOthers()
{
    // A view whose 900 m line lies 4 pixels below the top: its label would cover the top
    // label's, so it goes; the line stays.
    Drawn d(traceOf(1, {512.3f, 987.6f}));
    d.view.viewAltMax = 905;
    d.view.viewAltSpan = 405;
    const GraphPlot plot = buildGraphPlot(d.trace, d.stats, d.view, d.layout);
    QCOMPARE(labelsOf(plot.altitudeTicks), (QByteArrayList{" 600", " 700", " 800", ""}));
    QCOMPARE(plot.altitudeTicks.back().line.from.y(), 540 - 400 * 270 / 405);
    // The painter's face decides: where its text is narrow, "3:00" fits before the end.
    const Drawn hours(traceOf(3 * 3600 + 600, {100, 200}));
    const GraphPlot narrow =
        buildGraphPlot(hours.trace, hours.stats, hours.view, hours.layout, LabelFont{[](const QByteArray &) { return 20; }});
    QCOMPARE(labelsOf(narrow.timeTicks), (QByteArrayList{"1:00", "2:00", "3:00"}));
}

void TestGraphPlot::noTextCoversAnotherOrLeavesThePicture_data()
{
    QTest::addColumn<BarographTrace>("trace");
    QTest::addColumn<qint32>("from"); // the view in seconds; 0 to 0 for the whole flight
    QTest::addColumn<qint32>("to");
    QTest::addColumn<qint32>("low"); // and in metres; 0 to 0 for the whole axis
    QTest::addColumn<qint32>("high");
    const BarographTrace flight = traceOf(2, thermalFlight(1800, 612.5f));
    QTest::newRow("flat") << traceOf(10, std::vector<float>(720, 500.0f)) << 0 << 0 << 0 << 0;
    QTest::newRow("negative") << traceOf(1, {-120.0f, -40.0f, -95.5f, -1000.0f}) << 0 << 0 << 0 << 0;
    QTest::newRow("tiny span") << traceOf(1, {100.0f, 100.4f, 100.1f}) << 0 << 0 << 0 << 0;
    QTest::newRow("55 hours") << traceOf(1, thermalFlight(55 * 3600 + 33 * 60 + 20, 800.6f)) << 0 << 0 << 0 << 0;
    QTest::newRow("corrected to zero") << traceOf(2, thermalFlight(1800, 0.0f)) << 0 << 0 << 0 << 0;
    QTest::newRow("thousands of metres") << traceOf(5, thermalFlight(900, 9400.0f)) << 0 << 0 << 0 << 0;
    QTest::newRow("rubber band") << flight << 840 << 878 << 0 << 0;
    QTest::newRow("gain top at the top edge") << flight << 0 << 3600 << 1100 << 1513;
    QTest::newRow("gain bottom at the bottom edge") << flight << 0 << 1200 << 612 << 700;
    QTest::newRow("gain marks at the sides") << flight << 2 << 1198 << 600 << 1600;
}

void TestGraphPlot::noTextCoversAnotherOrLeavesThePicture()
{
    QFETCH(BarographTrace, trace);
    QFETCH(qint32, from);
    QFETCH(qint32, to);
    QFETCH(qint32, low);
    QFETCH(qint32, high);
    const FlightStats stats = computeFlightStats(trace);
    GraphView view = GraphView::fullView(trace, stats);
    if (to > from)
        view = zoomed(view, trace.interval, from, to, low, high);
    FlightRecord record;
    record.comment = QByteArray(200, 'w') + "\r\n" + QByteArray(40, 'x');
    const HeaderFacts facts = HeaderFacts::of(20000, QByteArray(60, 'n'), record, 0, trace.interval);
    // The estimate, a wide face, a tall one and a narrow one, over the window's widths.
    const std::vector<LabelFont> faces = {LabelFont{}, {[](const QByteArray &t) { return qint32(t.size()) * 9; }, 16},
                                          {[](const QByteArray &t) { return qint32(t.size()) * 8; }, 19},
                                          {[](const QByteArray &t) { return qint32(t.size()) * 5; }, 11}};
    for (const LabelFont &face : faces) {
        for (const qint32 width : {200, 330, 480, 640, 1000, 1900}) {
            const GraphLayout layout = GraphLayout::forWidth(width);
            const GraphPlot plot = buildGraphPlot(trace, stats, view, layout, face);
            const std::vector<QRect> boxes = textBoxesOf(plot, buildGraphHeader(facts, stats, layout, face), face);
            const QRect picture(0, 0, layout.imageWidth, layout.imageHeight);
            const QByteArray where = QByteArray::number(width) + " pixels, face " + QByteArray::number(face.height);
            for (size_t i = 0; i < boxes.size(); ++i) {
                QVERIFY2(picture.contains(boxes[i]), where.constData());
                for (size_t j = i + 1; j < boxes.size(); ++j)
                    QVERIFY2(!boxes[i].intersects(boxes[j]), where.constData());
            }
            // The view's edges are what a pilot reads the time by: only a tiny picture loses one.
            if (width >= 330) {
                QVERIFY(!plot.timeEdgeLabels[0].text.isEmpty());
                QVERIFY(!plot.timeEdgeLabels[1].text.isEmpty());
            }
            if (width >= 480 && stats.showsGain() && face.height < 19) {
                QCOMPARE(plot.maxGainLabel.has_value() && !plot.maxGainLabel->text.isEmpty(), true);
                for (const GraphPlot::GainMark &mark : plot.gainMarks)
                    QVERIFY2(!mark.name.text.isEmpty() && !mark.value.text.isEmpty(), qPrintable(QString::number(width)));
            }
        }
    }
}

// The gain marks where they crowd the other texts: the bottom at the take-off, in the
// panel's lower left corner beside the altitude scale, over the time labels under the axis,
// with the trace coming down to it from a hill. Every scale label stays, no mark's text
// lies on the trace, and no text covers an arrow.
void TestGraphPlot::gainMarksKeepClearOfTheScaleTheTraceAndTheTimes_data()
{
    QTest::addColumn<BarographTrace>("trace");
    QTest::addColumn<qint32>("width");
    // Down from the hill into the valley, up 1000 m in a thermal, a glide out.
    std::vector<float> fromAHill;
    for (int i = 0; i < 300; ++i)
        fromAHill.push_back(700.0f - 700.0f * float(i) / 300.0f);
    for (int i = 0; i < 1000; ++i)
        fromAHill.push_back(float(i));
    for (int i = 0; i < 1700; ++i)
        fromAHill.push_back(1000.0f - 800.0f * float(i) / 1700.0f);
    QTest::newRow("200,000 samples from the ground") << traceOf(1, thermalFlight(200000, 0.0f)) << 640;
    QTest::newRow("200,000 samples, a wide window") << traceOf(1, thermalFlight(200000, 0.0f)) << 1000;
    QTest::newRow("200,000 samples, maximised") << traceOf(1, thermalFlight(200000, 0.0f)) << 1270;
    QTest::newRow("from a hill") << traceOf(2, fromAHill) << 640;
    QTest::newRow("from a hill, narrow") << traceOf(2, fromAHill) << 480;
}

void TestGraphPlot::gainMarksKeepClearOfTheScaleTheTraceAndTheTimes()
{
    QFETCH(BarographTrace, trace);
    QFETCH(qint32, width);
    const FlightStats stats = computeFlightStats(trace);
    const GraphView view = GraphView::fullView(trace, stats);
    const GraphLayout layout = GraphLayout::forWidth(width);
    // The estimate, and a face as wide and tall as the screen's.
    for (const LabelFont &font : {LabelFont{}, LabelFont{[](const QByteArray &t) { return qint32(t.size()) * 7; }, 16}}) {
    const GraphPlot plot = buildGraphPlot(trace, stats, view, layout, font);
    QCOMPARE(plot.gainMarks.size(), size_t(2));
    for (const GraphPlot::GridLine &tick : plot.altitudeTicks)
        QVERIFY2(!tick.label.text.isEmpty(), "a scale label left out");
    const std::vector<QRect> texts = textBoxesOf(plot, GraphHeader{}, font);
    for (const GraphPlot::GainMark &mark : plot.gainMarks) {
        const QRect arrow = QRect(mark.arrow[0], mark.arrow[2]).united(QRect(mark.arrow[1], QSize(1, 1)));
        QVERIFY2(arrow.top() > layout.plotTop && arrow.bottom() < layout.plotBottom, "an arrow leaves the panel");
        for (const QRect &box : texts)
            QVERIFY2(!box.intersects(arrow), "a text covers an arrow");
        for (const PlotText *text : {&mark.name, &mark.value}) {
            QVERIFY(!text->text.isEmpty());
            const QRect box = font.boxOf(*text);
            // The reduced trace steps a pixel column at a time: a segment's bounds are its pixels.
            for (size_t i = 1; i < plot.altitudeTrace.size(); ++i)
                QVERIFY2(!QRect(plot.altitudeTrace[i - 1], plot.altitudeTrace[i]).normalized().intersects(box),
                         text->text.constData());
        }
    }
    }
}

void TestGraphPlot::varioGridAndFrames()
{
    const Drawn d(traceOf(1, {100, 101}));
    QCOMPARE(labelsOf(d.plot.varioTicks), (QByteArrayList{" 8", " 4", " 0", "-4", "-8"}));
    QCOMPARE(d.plot.varioTicks[1].line.from, QPoint(58, 564 + 28));
    QCOMPARE(d.plot.zeroLine.from, QPoint(58, 620));
    QCOMPARE(d.plot.altitudeFrame.front(), d.plot.altitudeFrame.back());
    QCOMPARE(d.plot.varioFrame[2], QPoint(600, 564));
}

void TestGraphPlot::varioColours()
{
    // Varios -5, 3, -4, 1, 1: the first stroke counts its end point alone (3 > 0); the
    // others add the point before (3 - 4 < 0, -4 + 1 < 0, 1 + 1 > 0).
    const Drawn d(traceOf(1, {100, 95, 98, 94, 95}));
    std::vector<bool> colours;
    for (const VarioStroke &s : d.plot.varioTrace)
        colours.push_back(s.climbing);
    QCOMPARE(colours, (std::vector<bool>{true, false, false, true}));
}

void TestGraphPlot::climbBeyond8IsDrawnAtTheEdge()
{
    const Drawn d(traceOf(1, {100, 130, 100}));
    QCOMPARE(d.plot.varioTrace.front().line.from.y(), 564);  // +30 m/s held at +8
    QCOMPARE(d.plot.varioTrace.front().line.to.y(), 676);    // -30 m/s held at -8
}

void TestGraphPlot::reducedTraceKeepsEachColumnsExtremes()
{
    // 5 samples per pixel column: the polyline keeps the first, topmost, bottom-most and
    // last point of each.
    std::vector<float> altitudes;
    for (int i = 0; i < 5 * 542 + 1; ++i)
        altitudes.push_back(float(1000 + (i % 5 == 2 ? 40 : 0) - (i % 5 == 3 ? 40 : 0) + i % 5));
    const Drawn d(traceOf(1, altitudes));
    QVERIFY(d.plot.altitudeTrace.size() <= 4 * 543);
    QCOMPARE(d.plot.altitudeTrace.front().x(), 58);
    QCOMPARE(d.plot.altitudeTrace.back().x(), 600);
    // Column 59 holds samples 5 to 9 (1000, 1001, 1042, 963, 1004).
    std::vector<qint32> ys;
    for (const QPoint &p : d.plot.altitudeTrace) {
        if (p.x() == 59)
            ys.push_back(p.y());
    }
    const auto y = [&d](float a) { return d.view.traceY(a, d.layout); };
    QCOMPARE(ys, (std::vector<qint32>{y(1000), y(1042), y(963), y(1004)}));
    QVERIFY(d.plot.varioTrace.size() <= 8 * 543);
}

void TestGraphPlot::gainArrowsOnlyAbove20m_data()
{
    QTest::addColumn<std::vector<float>>("altitudes");
    QTest::addColumn<int>("arrows");
    QTest::newRow("never rises") << std::vector<float>{500, 490, 480} << 0;
    QTest::newRow("20.0 m") << std::vector<float>{500, 520} << 0;
    QTest::newRow("20.1 m") << std::vector<float>{500.0f, 520.1f} << 2;
}

void TestGraphPlot::gainArrowsOnlyAbove20m()
{
    QFETCH(std::vector<float>, altitudes);
    QFETCH(int, arrows);
    const Drawn d(traceOf(1, altitudes));
    QCOMPARE(int(d.plot.gainMarks.size()), arrows);
    QCOMPARE(d.plot.maxGainLabel.has_value(), arrows > 0);
    if (arrows == 0)
        return;
    const GraphPlot::GainMark &bottom = d.plot.gainMarks[0];
    const QPoint tip = bottom.arrow[1];
    // The bottom on the panel's lower edge: its arrow points at it from above, clear of
    // the time labels under the axis.
    QCOMPARE(bottom.arrow[0], tip + QPoint(-3, -6));
    QCOMPARE(bottom.name.text, QByteArray("Gain Bottom"));
    QCOMPARE(bottom.value.text, QByteArray("500.0m"));
    QCOMPARE(d.plot.gainMarks[1].value.text, QByteArray("520.1m"));
    QCOMPARE(d.plot.maxGainLabel->text, QByteArray("Max Gain 20.1 m"));
    QCOMPARE(d.plot.maxGainLabel->topLeft, QPoint(600 - 80, 270 - 18));
}

void TestGraphPlot::marksInsideTheView()
{
    Drawn d(traceOf(1, {100, 150, 120, 180}, {0, 2, 3}));
    QCOMPARE(d.plot.markCircles.size(), size_t(3));
    QCOMPARE(d.plot.markCircles[1].topLeft() + QPoint(4, 4),
             QPoint(d.view.sampleX(2, d.layout), d.view.altY(120, d.layout)));
    d.view.firstSample = 1;
    d.view.lastSample = 2;
    d.view.viewSamples = 2;
    QCOMPARE(buildGraphPlot(d.trace, d.stats, d.view, d.layout).markCircles.size(), size_t(1));
}

void TestGraphPlot::flatTraceStillDraws()
{
    const Drawn d(traceOf(1, std::vector<float>(20, 99.5f)));
    QCOMPARE(d.view.viewAltSpan, 10);
    QVERIFY(!d.plot.altitudeTrace.empty());
    for (const QPoint &p : d.plot.altitudeTrace)
        QVERIFY(p.y() >= 270 && p.y() <= 540);
    const Drawn narrow(traceOf(1, {1, 2}));
    GraphLayout tiny = GraphLayout::forWidth(0);
    QVERIFY(!buildGraphPlot(narrow.trace, narrow.stats, narrow.view, tiny).altitudeTrace.empty());
}

void TestGraphPlot::climbBandsClippedToTheView_data()
{
    QTest::addColumn<QList<double>>("climbs"); // start, end of each
    QTest::addColumn<QList<int>>("columns");   // left and right column of each band
    // A view of 1000 to 2000 s over the 542 columns from 58 to 600.
    QTest::newRow("inside") << QList<double>{1200, 1500} << QList<int>{58 + 108, 58 + 271};
    QTest::newRow("across the left edge") << QList<double>{800, 1100} << QList<int>{58, 58 + 54};
    QTest::newRow("across the right edge") << QList<double>{1900, 2600} << QList<int>{58 + 487, 600};
    QTest::newRow("shorter than a column") << QList<double>{1500, 1500.5} << QList<int>{58 + 271, 58 + 271};
    QTest::newRow("out of view") << QList<double>{100, 999, 2001, 2500} << QList<int>{};
    QTest::newRow("touching columns share a band, a gap parts them")
        << QList<double>{1200, 1300, 1301, 1500, 1505, 1600} << QList<int>{58 + 108, 58 + 271, 58 + 273, 58 + 325};
}

void TestGraphPlot::climbBandsClippedToTheView()
{
    QFETCH(QList<double>, climbs);
    QFETCH(QList<int>, columns);
    Drawn d(traceOf(1, std::vector<float>(3001, 500.0f)));
    d.view.firstSample = d.view.viewStart = 1000;
    d.view.lastSample = d.view.viewEnd = 2000;
    d.view.viewSamples = 1001;
    d.view.viewSeconds = 1000;
    std::vector<Climb> given(size_t(climbs.size() / 2));
    for (size_t k = 0; k < given.size(); ++k) {
        given[k].start = climbs[qsizetype(2 * k)];
        given[k].end = climbs[qsizetype(2 * k + 1)];
    }
    const GraphPlot plot = buildGraphPlot(d.trace, d.stats, d.view, d.layout, LabelFont(), given);
    // Under the altitude panel, then under the variogram: each from frame to frame.
    std::vector<QRect> bands;
    for (qsizetype k = 0; k < columns.size(); k += 2) {
        bands.push_back(QRect(QPoint(columns[k], 270), QPoint(columns[k + 1], 540)));
        bands.push_back(QRect(QPoint(columns[k], 564), QPoint(columns[k + 1], 676)));
    }
    QCOMPARE(plot.climbBands, bands);
}

void TestGraphPlot::header()
{
    FlightRecord record;
    record.date = "97/08/11";
    record.area = sj("足尾山");
    record.comment = "first\r\nsecond";
    const BarographTrace trace = traceOf(2, {612.0f, 600.0f, 640.5f, 700.25f, 650.0f});
    const FlightStats stats = computeFlightStats(trace);
    // A face as narrow as the one the columns were set for keeps every text at its column.
    const LabelFont narrowFace{[](const QByteArray &text) { return qint32(text.size()) * 5; }};
    const GraphHeader h = buildGraphHeader(HeaderFacts::of(3, sj("山田"), record, 14 * 3600 + 35 * 60 + 20, 2),
                                           stats, GraphLayout::forWidth(640), narrowFace);
    QCOMPARE(h.clear, QRect(0, 0, 640, 240));
    QList<std::pair<QPoint, QByteArray>> texts;
    for (const PlotText &t : h.texts)
        texts.append({t.topLeft, t.text});
    const QList<std::pair<QPoint, QByteArray>> expected = {
        {{40, 40}, "Flight # 3"},
        {{40, 60}, sj("名前： 山田")},
        {{40, 80}, sj("テイクオフ： 97/08/11  14:35:20")},
        {{280, 80}, sj("滞空時間： 00:00:08")},
        {{40, 100}, sj("エリア： 足尾山")},
        {{40, 120}, sj("最大高度： 700.2 m")},
        {{280, 120}, sj("最大上昇率： 29.9 m/s")},
        {{40, 140}, sj("獲得高度： 100.2 m")},
        {{200, 140}, sj("Bottom： 600.0 m (0min 2sec)")},
        {{360, 140}, sj("Top： 700.2 m (0min 6sec)")},
        {{40, 160}, "first"},
        {{40, 176}, "second"},
    };
    QCOMPARE(texts, expected);
    // The exact bytes of one label, full-width colon included.
    QCOMPARE(h.texts[1].text.left(6), QByteArray("\x96\xbc\x91\x4f\x81\x46"));
}

void TestGraphPlot::commentLines_data()
{
    QTest::addColumn<QByteArray>("comment");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("CR LF between lines") << QByteArray("a\r\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("five lines show four") << QByteArray("1\n2\n3\n4\n5") << QByteArrayList{"1", "2", "3", "4"};
    QTest::newRow("blank lines fold away") << QByteArray("a\r\n\r\n\tb") << QByteArrayList{"a", "b"};
    QTest::newRow("leading control bytes give an empty first line") << QByteArray("\r\na") << QByteArrayList{"", "a"};
    QTest::newRow("a NUL ends the comment") << QByteArray("a\0b", 3) << QByteArrayList{"a"};
    QTest::newRow("Japanese stays whole") << sj("ソ表\r\n能") << QByteArrayList{sj("ソ表"), sj("能")};
    QTest::newRow("long line cut to 127 bytes") << QByteArray(300, 'x') << QByteArrayList{QByteArray(127, 'x')};
    // 64 double-byte characters are 128 bytes: the 64th does not fit and is left out whole.
    QTest::newRow("never cut inside a character")
        << sj(QString(64, u'表').toUtf8().constData()) << QByteArrayList{sj(QString(63, u'表').toUtf8().constData())};
}

void TestGraphPlot::commentLines()
{
    QFETCH(QByteArray, comment);
    QFETCH(QByteArrayList, lines);
    QByteArrayList got;
    for (const QByteArray &l : headerCommentLines(comment, 4))
        got << l;
    QCOMPARE(got, lines);
}

QTEST_GUILESS_MAIN(TestGraphPlot)
#include "tst_graphplot.moc"
