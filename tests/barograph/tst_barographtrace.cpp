// The trace in memory: derived climb rates, values between samples, and both cuts with
// their marks.
#include "tests/barograph/barographtestdata.h"

#include <QTest>

namespace {

// n samples rising by 1 m per sample.
BarographTrace ramp(qint32 interval, qint32 n, std::vector<qint32> marks = {})
{
    std::vector<float> altitudes;
    for (qint32 i = 0; i < n; ++i)
        altitudes.push_back(float(i));
    return traceOf(interval, altitudes, std::move(marks));
}

using Values = std::vector<float>;
using Marks = std::vector<qint32>;

} // namespace

Q_DECLARE_METATYPE(Values)
Q_DECLARE_METATYPE(Marks)

class TestBarographTrace : public QObject {
    Q_OBJECT
private slots:
    void variosAreForwardDifferences();
    void valuesAtTimes_data();
    void valuesAtTimes();
    void cutArithmetic_data();
    void cutArithmetic();
    void rightCutKeepsLeadingMarksAndTheLastVario();
    void leftCutRenumbersMarks_data();
    void leftCutRenumbersMarks();
    void fileRoundTripDropsVarios();
};

void TestBarographTrace::variosAreForwardDifferences()
{
    QCOMPARE(traceOf(1, {100.0f, 100.5f}).varios, (Values{0.5f, 0.5f}));
    QCOMPARE(traceOf(2, {10.0f, 14.0f, 13.0f, 20.0f}).varios, (Values{2.0f, -0.5f, 3.5f, 3.5f}));
}

void TestBarographTrace::valuesAtTimes_data()
{
    QTest::addColumn<qint32>("interval");
    QTest::addColumn<float>("t");
    QTest::addColumn<float>("altitude");
    QTest::addColumn<float>("vario");
    // altitudes 10, 14, 13, 20 at interval 2; varios 2, -0.5, 3.5, 3.5
    QTest::newRow("first sample") << 2 << 0.0f << 10.0f << 2.0f;
    QTest::newRow("half way") << 2 << 1.0f << 12.0f << 0.75f;
    QTest::newRow("on a sample") << 2 << 4.0f << 13.0f << 3.5f;
    // trunc(3.99995 + 0.0001) is 4: sample 2, reached from a hair before it.
    QTest::newRow("just short of a sample counts as it")
        << 2 << 3.99995f << 13.0f + 7.0f * (3.99995f - 4.0f) / 2.0f << 3.5f;
    QTest::newRow("last sample") << 2 << 6.0f << 20.0f << 3.5f;
    QTest::newRow("beyond the end stays on the last sample") << 2 << 600.0f << 20.0f << 3.5f;
    QTest::newRow("before the start goes on from the first sample") << 2 << -5.0f << 0.0f << 8.25f;
}

void TestBarographTrace::valuesAtTimes()
{
    QFETCH(qint32, interval);
    QFETCH(float, t);
    QFETCH(float, altitude);
    QFETCH(float, vario);
    const BarographTrace trace = traceOf(interval, {10.0f, 14.0f, 13.0f, 20.0f});
    QCOMPARE(trace.altitudeAt(t), altitude);
    QCOMPARE(trace.varioAt(t), vario);
}

void TestBarographTrace::cutArithmetic_data()
{
    QTest::addColumn<qint32>("interval");
    QTest::addColumn<qint32>("samples");
    QTest::addColumn<float>("cursor");
    QTest::addColumn<qint32>("keep");   // right cut, -1 for none
    QTest::addColumn<qint32>("remove"); // left cut, -1 for none
    QTest::newRow("cursor at 100 s, interval 4") << 4 << 100 << 100.0f << 26 << 24;
    QTest::newRow("between samples counts the one before") << 4 << 100 << 103.9f << 26 << 24;
    QTest::newRow("0.0001 s short of a sample counts as it") << 4 << 100 << 99.99995f << 26 << 24;
    QTest::newRow("on the last sample: nothing to cut right") << 4 << 100 << 396.0f << -1 << 98;
    QTest::newRow("on the first sample") << 4 << 100 << 0.0f << -1 << -1;
    QTest::newRow("on the second sample: nothing to cut left") << 4 << 100 << 4.0f << 2 << -1;
    QTest::newRow("third sample: one removed") << 4 << 100 << 8.0f << 3 << 1;
    QTest::newRow("right cut keeping 1 sample does nothing") << 4 << 100 << 3.0f << -1 << -1;
    QTest::newRow("two samples: nothing at all") << 1 << 2 << 1.0f << -1 << -1;
    QTest::newRow("cursor beyond the end") << 1 << 10 << 50.0f << -1 << -1;
    QTest::newRow("negative cursor") << 1 << 10 << -3.0f << -1 << -1;
}

void TestBarographTrace::cutArithmetic()
{
    QFETCH(qint32, interval);
    QFETCH(qint32, samples);
    QFETCH(float, cursor);
    QFETCH(qint32, keep);
    QFETCH(qint32, remove);
    const BarographTrace trace = ramp(interval, samples);
    QCOMPARE(rightCutKeep(trace, cursor).value_or(-1), keep);
    QCOMPARE(leftCutRemove(trace, cursor).value_or(-1), remove);
}

void TestBarographTrace::rightCutKeepsLeadingMarksAndTheLastVario()
{
    BarographTrace trace = traceOf(1, {0, 1, 3, 6, 10, 15}, {1, 3, 4});
    trace.cutAfter(4);
    QCOMPARE(trace.sampleCount(), 4);
    QCOMPARE(trace.altitudes, (Values{0, 1, 3, 6}));
    // Moved, not derived again: the last one still climbs towards the removed sample.
    QCOMPARE(trace.varios, (Values{1, 2, 3, 4}));
    QCOMPARE(trace.marks, (Marks{1, 3}));
    QCOMPARE(trace.flightSeconds(), 3);
}

void TestBarographTrace::leftCutRenumbersMarks_data()
{
    QTest::addColumn<Marks>("marks");
    QTest::addColumn<qint32>("removed");
    QTest::addColumn<Marks>("kept");
    QTest::newRow("3, 30, 40 less 24") << Marks{3, 30, 40} << 24 << Marks{6, 16};
    QTest::newRow("a mark on the new first sample") << Marks{24, 25} << 24 << Marks{0, 1};
    QTest::newRow("all gone") << Marks{1, 2, 23} << 24 << Marks{};
    QTest::newRow("none") << Marks{} << 24 << Marks{};
}

void TestBarographTrace::leftCutRenumbersMarks()
{
    QFETCH(Marks, marks);
    QFETCH(qint32, removed);
    QFETCH(Marks, kept);
    BarographTrace trace = ramp(4, 100, marks);
    trace.cutBefore(removed);
    QCOMPARE(trace.marks, kept);
    QCOMPARE(trace.sampleCount(), 100 - removed);
    QCOMPARE(trace.altitudes.front(), float(removed));
    QCOMPARE(trace.varios.size(), trace.altitudes.size());
    for (const qint32 m : trace.marks) // each names the same sample as before
        QCOMPARE(trace.altitudes[size_t(m)], float(m + removed));
}

void TestBarographTrace::fileRoundTripDropsVarios()
{
    const BarographTrace trace = traceOf(4, {1, 2, 3}, {1});
    const BarographFile file = trace.toFile();
    QCOMPARE(file.interval, 4);
    QCOMPARE(file.marks, (Marks{1}));
    QCOMPARE(file.altitudes, (Values{1, 2, 3}));
}

QTEST_GUILESS_MAIN(TestBarographTrace)
#include "tst_barographtrace.moc"
