// Flight statistics: peaks, the coarse step and axis bounds in 32-bit floats, and the gain
// search with its strict comparisons.
#include "barograph/core/flightstats.h"
#include "tests/barograph/barographtestdata.h"

#include <QTest>

#include <algorithm>

namespace {

using Values = std::vector<float>;

} // namespace

Q_DECLARE_METATYPE(Values)

class TestFlightStats : public QObject {
    Q_OBJECT
private slots:
    void peaksAndClimb_data();
    void peaksAndClimb();
    void coarseStep_data();
    void coarseStep();
    void axisBounds_data();
    void axisBounds();
    void gainSearch_data();
    void gainSearch();
};

void TestFlightStats::peaksAndClimb_data()
{
    QTest::addColumn<qint32>("interval");
    QTest::addColumn<Values>("altitudes");
    QTest::addColumn<float>("peak");
    QTest::addColumn<float>("low");
    QTest::addColumn<qint32>("seconds");
    QTest::addColumn<float>("climb");
    QTest::newRow("two samples") << 1 << Values{100.0f, 100.5f} << 100.5f << 100.0f << 1 << 0.5f;
    QTest::newRow("climb per second") << 4 << Values{500, 520, 510, 530} << 530.0f << 500.0f << 12 << 5.0f;
    QTest::newRow("only sinking: the least sink") << 2 << Values{900, 890, 889} << 900.0f << 889.0f << 4 << -0.5f;
    QTest::newRow("below -30000 m seeds") << 1 << Values{-40000, -40010} << -40000.0f << -40010.0f << 1 << -10.0f;
    QTest::newRow("sink steeper than -1000 m/s") << 1 << Values{90000, 80000, 69000} << 90000.0f << 69000.0f << 2
                                                 << -10000.0f;
}

void TestFlightStats::peaksAndClimb()
{
    QFETCH(qint32, interval);
    QFETCH(Values, altitudes);
    QFETCH(float, peak);
    QFETCH(float, low);
    QFETCH(qint32, seconds);
    QFETCH(float, climb);
    const FlightStats s = computeFlightStats(traceOf(interval, altitudes));
    QCOMPARE(s.peakAltitude, peak);
    QCOMPARE(s.lowAltitude, low);
    QCOMPARE(s.altitudeRange, peak - low);
    QCOMPARE(s.flightSeconds, seconds);
    QCOMPARE(s.peakClimb, climb);
}

void TestFlightStats::coarseStep_data()
{
    QTest::addColumn<float>("range");
    QTest::addColumn<qint32>("step");
    QTest::newRow("negative") << -1.0f << 10;
    QTest::newRow("0") << 0.0f << 10;
    QTest::newRow("50") << 50.0f << 10;
    QTest::newRow("50.5") << 50.5f << 20;
    // In 32-bit floats 150.1 - 100.1 is 50.0000076, just over 50.
    QTest::newRow("150.1 - 100.1") << 150.1f - 100.1f << 20;
    QTest::newRow("100") << 100.0f << 20;
    QTest::newRow("300") << 300.0f << 50;
    QTest::newRow("475.3") << 475.3f << 100;
    QTest::newRow("1000") << 1000.0f << 200;
    QTest::newRow("3000") << 3000.0f << 500;
    QTest::newRow("3000.1") << 3000.1f << 1000;
    QTest::newRow("beyond the table") << 400000.0f << 1000;
}

void TestFlightStats::coarseStep()
{
    QFETCH(float, range);
    QFETCH(qint32, step);
    QCOMPARE(coarseAltitudeStep(range), step);
}

void TestFlightStats::axisBounds_data()
{
    QTest::addColumn<Values>("altitudes");
    QTest::addColumn<qint32>("min");
    QTest::addColumn<qint32>("max");
    QTest::newRow("512.3 to 987.6") << Values{512.3f, 987.6f} << 500 << 1000;
    QTest::newRow("rounded at a half") << Values{19.4f, 49.4f} << 10 << 50;
    // Rounded up to 20, the bottom would lie above 19.5: one step lower.
    QTest::newRow("a half over the bound") << Values{19.5f, 49.5f} << 10 << 50;
    QTest::newRow("below zero") << Values{-12.0f, 30.0f} << -20 << 40;
    QTest::newRow("150.1 and 100.1 take step 20") << Values{100.1f, 150.1f} << 100 << 160;
    // The trace lies inside its axis, which keeps one step of height.
    QTest::newRow("flat at 99.5") << Values{99.5f, 99.5f} << 90 << 100;
    QTest::newRow("flat at 100") << Values{100.0f, 100.0f} << 100 << 110;
}

void TestFlightStats::axisBounds()
{
    QFETCH(Values, altitudes);
    QFETCH(qint32, min);
    QFETCH(qint32, max);
    const AltitudeAxis axis = altitudeAxis(computeFlightStats(traceOf(1, altitudes)));
    QCOMPARE(axis.min, min);
    QCOMPARE(axis.max, max);
    QVERIFY(axis.span() > 0);
    QVERIFY(axis.min <= *std::min_element(altitudes.begin(), altitudes.end()));
}

void TestFlightStats::gainSearch_data()
{
    QTest::addColumn<Values>("altitudes");
    QTest::addColumn<float>("gain");
    QTest::addColumn<qint32>("bottomIndex");
    QTest::addColumn<qint32>("topIndex");
    QTest::addColumn<bool>("shown");
    QTest::newRow("never rises") << Values{500, 500, 490, 480} << -1.0f << 0 << 0 << false;
    QTest::newRow("exactly 20 m is not shown") << Values{100, 120} << 20.0f << 0 << 1 << false;
    QTest::newRow("20.1 m is shown") << Values{100.0f, 120.1f} << 120.1f - 100.0f << 0 << 1 << true;
    QTest::newRow("two equal lows keep the first") << Values{300, 200, 250, 200, 260} << 60.0f << 1 << 4 << true;
    QTest::newRow("two equal highs keep the first") << Values{100, 150, 140, 150} << 50.0f << 0 << 1 << true;
    QTest::newRow("a later low with a smaller rise") << Values{100, 200, 50, 120} << 100.0f << 0 << 1 << true;
    QTest::newRow("a later low with a larger rise") << Values{100, 200, 50, 260} << 210.0f << 2 << 3 << true;
}

void TestFlightStats::gainSearch()
{
    QFETCH(Values, altitudes);
    QFETCH(float, gain);
    QFETCH(qint32, bottomIndex);
    QFETCH(qint32, topIndex);
    QFETCH(bool, shown);
    const FlightStats s = computeFlightStats(traceOf(1, altitudes));
    QCOMPARE(s.maxGain, gain);
    QCOMPARE(s.gainBottomIndex, bottomIndex);
    QCOMPARE(s.gainTopIndex, topIndex);
    QCOMPARE(s.gainBottom, altitudes[size_t(bottomIndex)]);
    QCOMPARE(s.gainTop, altitudes[size_t(topIndex)]);
    QCOMPARE(s.showsGain(), shown);
}

QTEST_GUILESS_MAIN(TestFlightStats)
#include "tst_flightstats.moc"
