// The view: its grid steps, the mappings between time, altitude and pixels, and the
// cursor's arithmetic (placement, read-outs, steps, typed times).
#include "barograph/core/flightstats.h"
#include "barograph/core/graphcursor.h"
#include "barograph/core/graphview.h"
#include "tests/barograph/barographtestdata.h"

#include <QTest>

namespace {

// 601 samples at 1 s from 1000 m rising 1 m per sample: axis 1000 to 1700 (step 200), a
// plot of 542 pixels on the default 640-pixel surface.
struct Fixture {
    BarographTrace trace;
    FlightStats stats;
    GraphView view;
    GraphLayout layout = GraphLayout::forWidth(640);

    Fixture()
    {
        std::vector<float> altitudes;
        for (int i = 0; i <= 600; ++i)
            altitudes.push_back(1000.0f + float(i));
        trace = traceOf(1, altitudes);
        stats = computeFlightStats(trace);
        view = GraphView::fullView(trace, stats);
    }
};

} // namespace

class TestGraphView : public QObject {
    Q_OBJECT
private slots:
    void timeTicks_data();
    void timeTicks();
    void altitudeTicks_data();
    void altitudeTicks();
    void fullViewCoversTheTrace();
    void mappings();
    void degenerateViewsDivideByNothingZero();
    void cursorPlacement_data();
    void cursorPlacement();
    void steps_data();
    void steps();
    void typedTimes_data();
    void typedTimes();
    void markFigures_data();
    void markFigures();
};

void TestGraphView::timeTicks_data()
{
    QTest::addColumn<qint32>("seconds");
    QTest::addColumn<qint32>("tick");
    const QList<std::pair<qint32, qint32>> table = {
        {0, 10},     {89, 10},     {90, 30},     {179, 30},    {180, 60},     {359, 60},
        {360, 120},  {899, 120},   {900, 300},   {1799, 300},  {1800, 600},   {5399, 600},
        {5400, 1800}, {10799, 1800}, {10800, 3600}, {1 << 24, 3600}};
    for (const auto &[seconds, tick] : table)
        QTest::addRow("%d s", seconds) << seconds << tick;
}

void TestGraphView::timeTicks()
{
    QFETCH(qint32, seconds);
    QFETCH(qint32, tick);
    QCOMPARE(timeTickFor(seconds), tick);
}

void TestGraphView::altitudeTicks_data()
{
    QTest::addColumn<qint32>("span");
    QTest::addColumn<qint32>("tick");
    const QList<std::pair<qint32, qint32>> table = {
        {-10, 5},   {0, 5},     {40, 5},     {41, 10},    {80, 10},     {200, 20},      {201, 50},
        {400, 50},  {800, 100}, {1500, 200}, {4000, 500}, {4001, 1000}, {300000, 1000}, {400000, 1000}};
    for (const auto &[span, tick] : table)
        QTest::addRow("%d m", span) << span << tick;
}

void TestGraphView::altitudeTicks()
{
    QFETCH(qint32, span);
    QFETCH(qint32, tick);
    QCOMPARE(altTickFor(span), tick);
}

void TestGraphView::fullViewCoversTheTrace()
{
    const Fixture f;
    QCOMPARE(f.view.viewStart, 0);
    QCOMPARE(f.view.viewEnd, 600);
    QCOMPARE(f.view.viewSeconds, 600);
    QCOMPARE(f.view.firstSample, 0);
    QCOMPARE(f.view.lastSample, 600);
    QCOMPARE(f.view.viewSamples, 601);
    QCOMPARE(f.view.axisAltMin, 1000);
    QCOMPARE(f.view.axisAltMax, 1800); // ceil(1600.5 / 200) x 200
    QCOMPARE(f.view.viewAltSpan, 800);
    QCOMPARE(f.view.timeTick, 120);
    QCOMPARE(f.view.altTick, 100);
}

void TestGraphView::mappings()
{
    const Fixture f;
    const GraphLayout &l = f.layout;
    QCOMPARE(l.plotRight, 600);
    QCOMPARE(l.plotWidth(), 542);
    QCOMPARE(f.view.xAtTime(0.0f, l), 58);
    QCOMPARE(f.view.xAtTime(600.0f, l), 600);
    QCOMPARE(f.view.xAtTime(300.0f, l), 58 + 271);
    QCOMPARE(f.view.xAtTime(1.0f, l), 58); // 0.903 truncated
    QCOMPARE(f.view.timeAtX(58, l), 0.0f);
    QCOMPARE(f.view.timeAtX(600, l), 600.0f);
    QCOMPARE(f.view.timeAtX(329, l), 271.0f * 600.0f / 542.0f);
    QCOMPARE(f.view.altY(1000, l), 540);
    QCOMPARE(f.view.altY(1800, l), 270);
    QCOMPARE(f.view.altY(1001, l), 540); // 270 / 800 truncated
    QCOMPARE(f.view.altY(1003, l), 539);
    QCOMPARE(f.view.sampleX(600, l), 600);
    QCOMPARE(f.view.sampleX(1, l), 58);
    QCOMPARE(f.view.traceY(1001.5f, l), 540 - 1);  // 0.506 + 0.5 truncated
    QCOMPARE(f.view.traceY(5000.0f, l), 270);      // held inside the panel
    QCOMPARE(f.view.traceY(-5000.0f, l), 540);
    QCOMPARE(GraphView::varioY(8.0f, l), 564);
    QCOMPARE(GraphView::varioY(0.0f, l), 620);
    QCOMPARE(GraphView::varioY(-8.0f, l), 676);
}

void TestGraphView::degenerateViewsDivideByNothingZero()
{
    GraphView view;
    view.viewSeconds = 0;
    view.viewAltSpan = 0;
    view.viewSamples = 1;
    const GraphLayout narrow = GraphLayout::forWidth(10);
    QCOMPARE(narrow.plotWidth(), 1);
    QCOMPARE(view.xAtTime(5.0f, narrow), 58 + 5);
    QCOMPARE(view.timeAtX(60, narrow), 0.0f);
    QCOMPARE(view.altY(3, narrow), 540 - 3 * 270);
    QCOMPARE(view.sampleX(1, narrow), 59);
    QCOMPARE(view.traceY(1e30f, narrow), 270);
    // Far outside the view, pixels stay within reach of 32-bit arithmetic.
    view.viewSeconds = 1;
    QCOMPARE(view.xAtTime(3e9f, GraphLayout::forWidth(4000)), 1 << 30);
    QCOMPARE(truncClamped(std::numeric_limits<double>::quiet_NaN()), -(1 << 30));
}

void TestGraphView::cursorPlacement_data()
{
    QTest::addColumn<std::vector<float>>("altitudes");
    QTest::addColumn<float>("t");
    QTest::addColumn<qint32>("x");
    QTest::addColumn<qint32>("altitudeY");
    QTest::addColumn<qint32>("varioY");
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<QByteArray>("altitude");
    QTest::addColumn<QByteArray>("vario");
    // 20, 30, 24 m at 1 s: axis 20 to 40 (step 10), 270 pixels for 20 m, 542 for 2 s;
    // varios 10, -6, -6.
    const std::vector<float> peak{20, 30, 24};
    QTest::newRow("start") << peak << 0.0f << 58 << 540 << 550 << QByteArray("00:00:00") << QByteArray("20.0")
                           << QByteArray("10.0");
    QTest::newRow("between samples") << peak << 0.5f << 193 << 473 << 606 << QByteArray("00:00:00")
                                     << QByteArray("25.0") << QByteArray("2.0");
    QTest::newRow("peak") << peak << 1.0f << 329 << 405 << 662 << QByteArray("00:00:01") << QByteArray("30.0")
                          << QByteArray("-6.0");
    QTest::newRow("last sample") << peak << 2.0f << 600 << 486 << 662 << QByteArray("00:00:02")
                                 << QByteArray("24.0") << QByteArray("-6.0");
    QTest::newRow("climb above 8 m/s lies above the panel")
        << std::vector<float>{0, 30} << 0.0f << 58 << 540 << 410 << QByteArray("00:00:00") << QByteArray(" 0.0")
        << QByteArray("30.0");
}

void TestGraphView::cursorPlacement()
{
    QFETCH(std::vector<float>, altitudes);
    QFETCH(float, t);
    const BarographTrace trace = traceOf(1, altitudes);
    const GraphView view = GraphView::fullView(trace, computeFlightStats(trace));
    const CursorPlacement c = placeCursor(t, trace, view, GraphLayout::forWidth(640));
    QTEST(c.x, "x");
    QTEST(c.altitudeY, "altitudeY");
    QTEST(c.varioY, "varioY");
    QTEST(c.timeText, "time");
    QTEST(c.altitudeText, "altitude");
    QTEST(c.varioText, "vario");
}

void TestGraphView::steps_data()
{
    QTest::addColumn<float>("cursor");
    QTest::addColumn<qint32>("interval");
    QTest::addColumn<qint32>("viewStart");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<qint32>("right");
    QTest::addColumn<qint32>("left"); // -1: no step
    QTest::newRow("interval 2 at 10 s") << 10.0f << 2 << 0 << false << 12 << 8;
    QTest::newRow("interval 2 at 10 s, Shift") << 10.0f << 2 << 0 << true << 11 << 9;
    QTest::newRow("between samples") << 10.7f << 4 << 0 << false << 12 << 8;
    QTest::newRow("at the view's end") << 99.0f << 4 << 0 << false << 100 << 96;
    QTest::newRow("beyond the view's end") << 100.0f << 4 << 0 << false << 100 << 96;
    QTest::newRow("at the view's start") << 20.0f << 4 << 20 << false << 24 << -1;
    QTest::newRow("just after the view's start") << 21.5f << 4 << 20 << false << 24 << 20;
    QTest::newRow("just after the view's start, Shift") << 21.5f << 4 << 20 << true << 22 << 20;
    QTest::newRow("a panned view's start between samples") << 22.0f << 4 << 21 << false << 24 << 20;
}

void TestGraphView::steps()
{
    QFETCH(float, cursor);
    QFETCH(qint32, interval);
    QFETCH(qint32, viewStart);
    QFETCH(bool, shift);
    QFETCH(qint32, right);
    QFETCH(qint32, left);
    // A view ending at 100 s.
    QCOMPARE(stepRightTime(cursor, interval, 100, shift), right);
    QCOMPARE(stepLeftTime(cursor, interval, viewStart, shift).value_or(-1), left);
}

void TestGraphView::typedTimes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint32>("seconds"); // -1: incomplete
    QTest::newRow("complete") << QByteArray("01:02:03") << 3723;
    QTest::newRow("minutes beyond 59 read as no time") << QByteArray("00:75:00") << -1;
    QTest::newRow("blanks of the mask") << QByteArray("01:0_:03") << -1;
    QTest::newRow("short") << QByteArray("01:02:0") << -1;
    QTest::newRow("colons only") << QByteArray("::::::::") << -1;
}

void TestGraphView::typedTimes()
{
    QFETCH(QByteArray, text);
    QFETCH(qint32, seconds);
    QCOMPARE(typedSeconds(text).value_or(-1), seconds);
}

void TestGraphView::markFigures_data()
{
    QTest::addColumn<float>("mark");
    QTest::addColumn<float>("cursor");
    QTest::addColumn<QByteArrayList>("figures");
    // 100 m, then 350 m at 200 s, then 250 m at 400 s (every 100 s).
    QTest::newRow("cursor after the mark") << 0.0f << 200.0f << QByteArrayList{"00:03:20", "+250.0", "+1.25"};
    QTest::newRow("cursor before the mark: the same stretch")
        << 200.0f << 0.0f << QByteArrayList{"00:03:20", "+250.0", "+1.25"};
    QTest::newRow("sinking, between samples") << 250.0f << 350.0f << QByteArrayList{"00:01:40", "-50.0", "-0.50"};
    QTest::newRow("one time") << 300.0f << 300.0f << QByteArrayList{"00:00:00", "+0.0", "-"};
}

void TestGraphView::markFigures()
{
    QFETCH(float, mark);
    QFETCH(float, cursor);
    const MarkSpan span = markSpan(mark, cursor, traceOf(100, {100, 225, 350, 300, 250}));
    QTEST((QByteArrayList{span.timeText, span.heightText, span.climbText}), "figures");
}

QTEST_GUILESS_MAIN(TestGraphView)
#include "tst_graphview.moc"
