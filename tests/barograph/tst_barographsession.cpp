// The barograph session without a display: the zoom window's buttons and their limits, the
// rubber zoom and panning on the altitude panel, the cursor kept in view, the altitude
// correction and the metres typed for it, the cuts with the save into the file and the flight's row, the
// analysis following every change of the trace, a stretch shown on its own, and the print rectangle.
#include "barograph/core/barographfile.h"
#include "barograph/core/barographsession.h"
#include "logbook/core/flightrecord.h"
#include "tests/barograph/barographtestdata.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// `samples` samples at `interval` s, a slow climb from 1000 m to 1999 m over the trace:
// axis 1000 to 2000, on the default 640-pixel surface (plot 542 x 270 pixels).
BarographSession sessionOf(int samples, qint32 interval = 2)
{
    std::vector<float> altitudes;
    for (int i = 0; i < samples; ++i)
        altitudes.push_back(1000.0f + 999.0f * float(i) / float(std::max(samples - 1, 1)));
    return BarographSession(traceOf(interval, altitudes), 10 * 3600, 640);
}

struct Edges {
    qint32 first, last, start, end;
};

Edges edgesOf(const BarographSession &s)
{
    const GraphView &v = s.view();
    return {v.firstSample, v.lastSample, v.viewStart, v.viewEnd};
}

bool consistent(const BarographSession &s)
{
    const GraphView &v = s.view();
    return v.viewSamples == v.lastSample - v.firstSample + 1 && v.viewSeconds == v.viewEnd - v.viewStart
        && v.viewAltSpan == v.viewAltMax - v.viewAltMin && v.firstSample >= 0
        && v.lastSample < s.trace().sampleCount() && v.viewAltMin >= v.axisAltMin && v.viewAltMax <= v.axisAltMax;
}

// Everything undo gives back: every sample's bytes, the marks and the varios, the take-off
// time and the correction applied.
QByteArray stateOf(const BarographSession &s)
{
    const BarographTrace &t = s.trace();
    QByteArray out = QByteArray::number(t.interval) + ' ' + QByteArray::number(s.takeoffSeconds()) + ' '
                     + QByteArray::number(double(s.appliedCorrection().value_or(-12345.0f)), 'g', 9) + '\n';
    for (qint32 m : t.marks)
        out += QByteArray::number(m) + ',';
    out += QByteArray(reinterpret_cast<const char *>(t.altitudes.data()), qsizetype(t.altitudes.size() * sizeof(float)));
    out += QByteArray(reinterpret_cast<const char *>(t.varios.data()), qsizetype(t.varios.size() * sizeof(float)));
    return out;
}

} // namespace

class TestBarographSession : public QObject {
    Q_OBJECT
private slots:
    void horizontalButtons();
    void verticalButtons();
    void rubberZoom();
    void panning();
    void cursorKeptInTheView();
    void altitudeCorrection();
    void typedMetres_data();
    void typedMetres();
    void cutsAndSave();
    void randomEditsUndoAndRedoEverySample();
    void revertOfAnUnchangedTraceIsNoStep();
    void printRectangle();
    void analysisFollowsTheTrace();
    void stretch_data();
    void stretch();
};

void TestBarographSession::horizontalButtons()
{
    BarographSession s = sessionOf(1000);
    QVERIFY(s.zoom(ZoomStep::ZoomInH));
    QCOMPARE(s.view().viewSamples, 500);
    QCOMPARE(s.view().lastSample, 499);
    QCOMPARE(s.view().viewEnd, 998);
    QCOMPARE(s.view().timeTick, 300); // ticks follow the zoom

    // Scrolls keep the ticks and stop at either end of the trace.
    s.zoom(ZoomStep::ScrollRight);
    QCOMPARE(s.view().firstSample, 250);
    const qint32 tick = s.view().timeTick;
    for (int i = 0; i < 5; ++i)
        QVERIFY(s.zoom(ZoomStep::ScrollRight));
    QCOMPARE(s.view().lastSample, 999);
    QCOMPARE(s.view().firstSample, 500);
    QCOMPARE(s.view().viewStart, 1000);
    QCOMPARE(s.view().timeTick, tick);
    for (int i = 0; i < 5; ++i)
        s.zoom(ZoomStep::ScrollLeft);
    QCOMPARE(s.view().firstSample, 0);

    // Zooming out at the end of the trace shifts the view to end at the last sample.
    s.zoom(ZoomStep::ZoomInH);
    for (int i = 0; i < 10; ++i)
        s.zoom(ZoomStep::ScrollRight); // 750 to 999
    QCOMPARE(s.view().firstSample, 750);
    s.zoom(ZoomStep::ZoomOutH);
    QCOMPARE(s.view().viewSamples, 500);
    QCOMPARE(s.view().lastSample, 999);
    QCOMPARE(s.view().firstSample, 500);
    QCOMPARE(s.view().viewStart, 1000);
    QVERIFY(consistent(s));

    // Halving stops once fewer than 16 samples are shown: at most 8 through the buttons.
    BarographSession small = sessionOf(1000);
    int zooms = 0;
    while (small.zoom(ZoomStep::ZoomInH))
        ++zooms;
    QCOMPARE(small.view().viewSamples, 15);
    QCOMPARE(zooms, 6);
    const Edges before = edgesOf(small);
    QVERIFY(!small.zoom(ZoomStep::ZoomInH));
    QCOMPARE(edgesOf(small).last, before.last);
    for (int i = 0; i < 10; ++i)
        small.zoom(ZoomStep::ZoomOutH);
    QCOMPARE(small.view().viewSamples, 1000);
    QVERIFY(consistent(small));
}

void TestBarographSession::verticalButtons()
{
    BarographSession s = sessionOf(1000); // axis 1000 to 2000
    QCOMPARE(s.view().axisAltSpan, 1000);
    s.zoom(ZoomStep::ZoomInV);
    QCOMPARE(s.view().viewAltMin, 1000);
    QCOMPARE(s.view().viewAltMax, 1500);
    QCOMPARE(s.view().altTick, 100);
    s.zoom(ZoomStep::ScrollUp);
    s.zoom(ZoomStep::ScrollUp);
    QCOMPARE(s.view().viewAltMax, 2000); // held at the axis
    QCOMPARE(s.view().viewAltMin, 1500);
    // Doubling on the unchanged bottom would reach 2500: the span doubles, the view moves
    // down to end at the axis top.
    s.zoom(ZoomStep::ZoomInV);
    s.zoom(ZoomStep::ScrollUp);
    s.zoom(ZoomStep::ScrollUp); // 1750 to 2000
    QVERIFY(s.zoom(ZoomStep::ZoomOutV));
    QCOMPARE(s.view().viewAltSpan, 500);
    QCOMPARE(s.view().viewAltMax, 2000);
    QCOMPARE(s.view().viewAltMin, 1500);
    s.zoom(ZoomStep::ScrollDown);
    s.zoom(ZoomStep::ScrollDown);
    QCOMPARE(s.view().viewAltMin, 1000);
    while (s.zoom(ZoomStep::ZoomInV)) {
    }
    QVERIFY(s.view().viewAltSpan >= 30 && s.view().viewAltSpan < 60);
    QVERIFY(consistent(s));
}

void TestBarographSession::rubberZoom()
{
    const GraphLayout l = GraphLayout::forWidth(640);
    const QPoint press(l.plotLeft + 271, l.plotTop + 135); // the middle of the altitude panel
    BarographSession s = sessionOf(1000);
    QVERIFY(s.beginDrag(press, false));
    const qint32 anchor = s.drag().anchorSample;
    // 35 pixels right: three steps, 1000, 800, 640, 512; the sample under the press stays.
    QVERIFY(s.dragTo(press + QPoint(35, 3)));
    QCOMPARE(s.view().viewSamples, 512);
    QCOMPARE(s.view().firstSample, anchor - qint32(512 * s.drag().xFraction));
    QCOMPARE(s.view().viewAltSpan, 1000); // horizontal only
    // Back to the press: the view at the press, not nudged by the anchor's rounding.
    s.dragTo(press + QPoint(4, 2));
    QCOMPARE(s.view().viewSamples, 1000);
    QCOMPARE(s.view().viewAltMin, 1000);
    // Far right: never fewer than 16 samples; far left: never more than the trace.
    s.dragTo(press + QPoint(500, 0));
    QCOMPARE(s.view().viewSamples, 16);
    s.dragTo(press - QPoint(500, 0));
    QCOMPARE(s.view().viewSamples, 1000);
    // Straight up: vertical only, 4/5 per 10 pixels, at least 30 m.
    s.dragTo(press - QPoint(0, 20));
    QCOMPARE(s.view().viewAltSpan, 640);
    QCOMPARE(s.view().viewSamples, 1000);
    s.dragTo(press - QPoint(0, 200));
    QCOMPARE(s.view().viewAltSpan, 30);
    s.dragTo(press + QPoint(0, 200)); // down: grows, at most the axis
    QCOMPARE(s.view().viewAltSpan, 1000);
    QVERIFY(consistent(s));
    s.endDrag(true); // the other button ends nothing
    QCOMPARE(s.drag().mode, int(GraphDrag::Rubber));
    s.endDrag(false);
    QVERIFY(!s.dragTo(press + QPoint(35, 0)));

    // Outside the altitude panel nothing starts; a trace shorter than 16 samples shows all.
    QVERIFY(!s.beginDrag(QPoint(press.x(), l.varioTop + 5), false));
    BarographSession tiny = sessionOf(10);
    tiny.beginDrag(press, false);
    tiny.dragTo(press + QPoint(100, 0));
    QCOMPARE(tiny.view().viewSamples, 10);
    QVERIFY(consistent(tiny));
}

void TestBarographSession::panning()
{
    const GraphLayout l = GraphLayout::forWidth(640);
    BarographSession s = sessionOf(1000);
    s.zoom(ZoomStep::ZoomInH);
    s.zoom(ZoomStep::ScrollRight); // samples 250 to 749, 500 s to 1498 s
    s.zoom(ZoomStep::ZoomInV);     // 1000 to 1500 m
    const QPoint press(300, 400);
    QVERIFY(s.beginDrag(press, true));
    // The trace follows the mouse: 271 pixels right is half the view earlier, 27 pixels
    // down shows 50 m higher up.
    QVERIFY(s.dragTo(press + QPoint(271, 27)));
    QCOMPARE(s.view().viewStart, 500 - 998 / 2);
    QCOMPARE(s.view().firstSample, s.view().viewStart / 2);
    QCOMPARE(s.view().viewAltMin, 1050);
    QCOMPARE(s.view().timeTick, 300); // no new ticks while panning
    // Beyond the start it stops at 0, beyond the axis at its top.
    s.dragTo(QPoint(l.plotRight + 200, l.plotBottom));
    QCOMPARE(s.view().viewStart, 0);
    QCOMPARE(s.view().viewAltMax, 1000 + 140 * 500 / 270 + 500);
    s.dragTo(QPoint(l.plotLeft - 100, l.plotTop)); // held to the panel's left edge
    QCOMPARE(s.view().viewStart, 500 + 242 * 998 / 542);
    QCOMPARE(s.view().viewAltMin, 1000);
    QVERIFY(consistent(s));
    QVERIFY(!s.dragTo(QPoint(300, l.varioTop + 10))); // outside the altitude panel
}

void TestBarographSession::cursorKeptInTheView()
{
    BarographSession s = sessionOf(1000);
    s.cursorOn = true;
    s.cursorTime = 1500;
    s.zoom(ZoomStep::ZoomInH);
    QCOMPARE(s.cursorTime, 998.0f);
    s.zoom(ZoomStep::ScrollRight); // starts at 500 s
    s.cursorTime = 100;
    s.zoom(ZoomStep::ScrollRight);
    QCOMPARE(s.cursorTime, float(s.view().viewStart));
    s.cursorOn = false; // a hidden cursor keeps its time
    s.cursorTime = 0;
    s.zoom(ZoomStep::ScrollRight);
    QCOMPARE(s.cursorTime, 0.0f);
}

void TestBarographSession::altitudeCorrection()
{
    BarographSession s(traceOf(2, {1180.4f, 1300.0f, 412.3f, 700.0f}), 0, 640);
    s.zoom(ZoomStep::ZoomInV);
    QCOMPARE(s.correctionOffset(CorrectionMode::Zero, 0, 0), -412.3f);
    QCOMPARE(s.correctionOffset(CorrectionMode::Takeoff, 1250, 0), float(1250.0 - double(1180.4f)));
    QCOMPARE(s.correctionOffset(CorrectionMode::Offset, 0, -30), -30.0f);
    QCOMPARE(s.correctionOffset(CorrectionMode::None, 5, 5), 0.0f);

    const std::vector<float> varios = s.trace().varios;
    s.cursorOn = true;
    s.cursorTime = 3;
    QVERIFY(s.correctAltitudes(s.correctionOffset(CorrectionMode::Zero, 0, 0)));
    QCOMPARE(s.trace().altitudes[2], 0.0f);
    QCOMPARE(s.trace().altitudes[0], 1180.4f - 412.3f);
    QCOMPARE(s.trace().varios, varios); // differences stay as they were
    QCOMPARE(s.stats().lowAltitude, 0.0f);
    QCOMPARE(s.view().viewAltSpan, s.view().axisAltSpan); // the whole flight again
    QCOMPARE(s.cursorTime, 3.0f);
    QVERIFY(s.baroModified());

    BarographSession twice = sessionOf(100);
    QVERIFY(twice.correctAltitudes(-30));
    QVERIFY(twice.correctAltitudes(-30));
    QCOMPARE(twice.trace().altitudes[0], 940.0f);
    QCOMPARE(twice.appliedCorrection(), std::optional<float>(-60.0f)); // what an IGC export declares
    BarographSession zero = sessionOf(100);
    QVERIFY(zero.correctAltitudes(0));
    QVERIFY(zero.baroModified());
    // Beyond what a file can hold: refused, nothing changed.
    BarographSession far = sessionOf(100);
    QVERIFY(!far.correctAltitudes(1e9f));
    QVERIFY(!far.correctAltitudes(std::numeric_limits<float>::infinity()));
    QCOMPARE(far.trace().altitudes[0], 1000.0f);
    QVERIFY(!far.baroModified());
    QVERIFY(!far.appliedCorrection());
}

void TestBarographSession::typedMetres_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("metres"); // NaN: refused as no number
    const double none = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("the default") << "+0.0" << 0.0;
    QTest::newRow("a unit after it") << "350m" << 350.0;
    QTest::newRow("blanks, sign, exponent") << "  -12.5e1" << -125.0;
    QTest::newRow("full-width digits, sign, point, space, unit") << QStringLiteral("　－１２５０．５ｍ") << -1250.5;
    QTest::newRow("minus sign") << QStringLiteral("\u221230") << -30.0;
    QTest::newRow("beyond a double") << "-1e999" << -std::numeric_limits<double>::infinity();
    QTest::newRow("empty") << "" << none;
    QTest::newRow("letters") << "abc" << none;
    QTest::newRow("a sign alone") << QStringLiteral("＋") << none;
    QTest::newRow("a unit first") << "m350" << none;
}

void TestBarographSession::typedMetres()
{
    QFETCH(QString, typed);
    QFETCH(double, metres);
    const std::optional<double> read = readTypedMetres(typed);
    if (std::isnan(metres))
        QVERIFY2(!read, qPrintable(QString::number(read.value_or(0))));
    else
        QCOMPARE(read, std::optional<double>(metres));
}

// Random runs of cuts, corrections and reverts, with a save now and then: undoing all gives
// every sample back, redoing all every edit, and the modified flag says at each point
// whether the trace differs from what was read or last saved.
void TestBarographSession::randomEditsUndoAndRedoEverySample()
{
    QTemporaryDir dir;
    const QString work = dir.path() + u'/';
    QRandomGenerator rng(7081114);
    for (int run = 0; run < 1000; ++run) {
        std::vector<float> altitudes;
        for (int i = 40 + int(rng.bounded(40)); i > 0; --i)
            altitudes.push_back(float(rng.bounded(30000)) / 10.0f - 500.0f);
        BarographSession s(traceOf(2, altitudes, {3, 20, 35}), 10 * 3600, 640);
        std::vector<QByteArray> states{stateOf(s)};
        int savedAt = 0;
        const int steps = 1 + int(rng.bounded(50));
        for (int k = 0; k < steps; ++k) {
            s.cursorTime = float(rng.bounded(s.stats().flightSeconds + 1));
            bool edited = false;
            switch (rng.bounded(4)) {
            case 0: edited = s.cutLeft(); break;
            case 1: edited = s.cutRight(); break;
            case 2: edited = s.correctAltitudes(float(rng.bounded(2001)) / 10.0f - 100.0f); break;
            default:
                edited = s.replaceTrace(traceOf(1, {float(k), 2.5f, 7.25f}), 9 * 3600, QStringLiteral("revert"));
            }
            if (edited)
                states.push_back(stateOf(s));
            // A save now and then (a few runs only: every write is synced).
            if (run % 50 == 0 && rng.bounded(8) == 0) {
                QCOMPARE(s.save(work + "F.V00", work, nullptr).status, BarographSession::SaveStatus::Saved);
                savedAt = int(states.size()) - 1;
                states.back() = stateOf(s); // from now on the samples as the file holds them
            }
            QCOMPARE(s.baroModified(), int(states.size()) - 1 != savedAt);
        }
        const int last = int(states.size()) - 1;
        for (int k = last - 1; k >= 0; --k) {
            QVERIFY(s.undo());
            QCOMPARE(stateOf(s), states[size_t(k)]);
            QCOMPARE(s.baroModified(), k != savedAt);
        }
        QVERIFY(!s.undo() && s.undoName().isEmpty());
        for (int k = 1; k <= last; ++k) {
            QVERIFY(s.redo());
            QCOMPARE(stateOf(s), states[size_t(k)]);
            QCOMPARE(s.baroModified(), k != savedAt);
            QVERIFY(s.cursorTime >= 0 && s.cursorTime <= float(s.stats().flightSeconds) && consistent(s));
        }
        QVERIFY(!s.canRedo());
    }
}

void TestBarographSession::revertOfAnUnchangedTraceIsNoStep()
{
    BarographSession s(traceOf(2, {100.0f, 150.5f, 120.0f}, {1}), 10 * 3600, 640);
    QVERIFY(!s.replaceTrace(traceOf(2, {100.0f, 150.5f, 120.0f}, {1}), 10 * 3600, QStringLiteral("revert")));
    QVERIFY(!s.baroModified());
    QVERIFY(!s.canUndo());
    // Another take-off time is a change of its own.
    QVERIFY(s.replaceTrace(traceOf(2, {100.0f, 150.5f, 120.0f}, {1}), 11 * 3600, QStringLiteral("revert")));
    QVERIFY(s.baroModified());
}

void TestBarographSession::cutsAndSave()
{
    QTemporaryDir dir;
    const QString work = dir.path() + u'/';
    QVERIFY(QFile::copy(samplePath("V7081114.V35"), work + "V7081114.V35"));
    FlightRecord record;
    record.time = "14:35:20";
    record.barographFile = "V7081114.V35";
    std::optional<BarographSession> s = BarographSession::load(work, record, 640);
    QVERIFY(s);
    s->cursorTime = 2; // the second sample: nothing to cut on the left
    QVERIFY(!s->canCutLeft() && !s->cutLeft());
    s->cursorTime = 100;
    QVERIFY(s->cutLeft()); // 49 samples go, 98 s later
    QCOMPARE(s->takeoffSeconds(), 14 * 3600 + 35 * 60 + 20 + 98);
    QVERIFY(s->cursorOn && s->cursorTime == 0.0f);
    s->cursorTime = 3000;
    QVERIFY(s->cutRight());
    QCOMPARE(s->trace().sampleCount(), 1501);
    QCOMPARE(s->cursorTime, 3000.0f);
    QVERIFY(s->correctAltitudes(-100));

    const BarographSession::SaveResult saved = s->save(work + "V7081114.V35", work, &record);
    QCOMPARE(saved.status, BarographSession::SaveStatus::Saved);
    QVERIFY(!saved.renamed);
    QCOMPARE(fileBytes(work + "bak/V7081114.V35"), sampleBytes("V7081114.V35"));
    QCOMPARE(fileBytes(work + "V7081114.V35"), buildBarographImage(s->trace().toFile()));
    QCOMPARE(record.time, "14:36:58");
    QCOMPARE(record.duration, "00:50:00");
    QCOMPARE(record.maxAltitude, QByteArray::number(qint64(s->stats().peakAltitude + 0.5f)).rightJustified(4, '0') + " m");
    QCOMPARE(record.barographFile, "V7081114.V35");
    // Another name: the record takes it in upper case; one it cannot hold writes nothing.
    QCOMPARE(s->save(work + "abc.v12", work, &record).status, BarographSession::SaveStatus::Saved);
    QCOMPARE(record.barographFile, "ABC.V12");
    QCOMPARE(s->save(work + "a-very-long-name.v12", work, &record).status, BarographSession::SaveStatus::NameRefused);
    QVERIFY(!QFile::exists(work + "a-very-long-name.v12"));
}

void TestBarographSession::printRectangle()
{
    const PrintPlacement p = printPlacement(640, 766, 4800, 6600);
    QCOMPARE(p.scale, 6.75f);
    QCOMPARE((std::array<qint32, 4>{p.left, p.top, p.right, p.bottom}), (std::array<qint32, 4>{240, 714, 4560, 5885}));
    // A wide surface on a landscape page is limited by its height.
    const PrintPlacement wide = printPlacement(1000, 766, 6600, 4800);
    QVERIFY(std::abs(wide.bottom - wide.top - 766 * wide.scale) <= 1);
    QVERIFY(wide.top > 0 && wide.left > 0 && wide.right < 6600);
}


void TestBarographSession::analysisFollowsTheTrace()
{
    std::optional<BarographSession> s = BarographSession::loadFile(samplePath("V7081114.V35"), "14:35:20", 640);
    QVERIFY(s && s->correctAltitudes(-100.0f));
    QCOMPARE(s->analysis().climbs[0].baseAltitude, analyseFlight(s->trace()).climbs[0].baseAltitude);
    s->markTime = 500.0f;
    s->cursorTime = 1000.0f; // after the first climbs: they go with the left cut, and so does the mark
    QVERIFY(s->cutLeft() && !s->markTime);
    QCOMPARE(s->analysis().climbs.size(), analyseFlight(s->trace()).climbs.size());
}

void TestBarographSession::stretch_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QList<qint32>>("edges");     // firstSample, lastSample, viewStart, viewEnd
    QTest::addColumn<QList<qint32>>("altitudes"); // viewAltMin, viewAltMax
    // 1000 samples at 2 s, sample i at 1000 + i m (see sessionOf); axis 1000 to 2000.
    QTest::newRow("a quarter beside it, 15 % above and below")
        << 400.0 << 800.0 << QList<qint32>{150, 450, 300, 900} << QList<qint32>{1105, 1495};
    QTest::newRow("held at the trace's start and the axis bottom")
        << 0.0 << 200.0 << QList<qint32>{0, 125, 0, 250} << QList<qint32>{1000, 1163};
    QTest::newRow("at least 16 samples, 10 m above and below")
        << 1000.0 << 1002.0 << QList<qint32>{493, 508, 986, 1016} << QList<qint32>{1483, 1518};
}

void TestBarographSession::stretch()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QList<qint32>, edges);
    QFETCH(QList<qint32>, altitudes);
    BarographSession s = sessionOf(1000);
    s.cursorOn = true;
    s.cursorTime = 1990.0f;
    s.showStretch(start, end);
    QVERIFY(consistent(s));
    const Edges got = edgesOf(s);
    QCOMPARE((QList<qint32>{got.first, got.last, got.start, got.end}), edges);
    QCOMPARE((QList<qint32>{s.view().viewAltMin, s.view().viewAltMax}), altitudes);
    QVERIFY(s.cursorTime >= float(s.view().viewStart) && s.cursorTime <= float(s.view().viewEnd));
}

QTEST_GUILESS_MAIN(TestBarographSession)
#include "tst_barographsession.moc"
