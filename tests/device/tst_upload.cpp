// The settings upload: on the in-process instrument with a hand-moved clock (every pause from
// when the byte left, progress, time-outs, a failing link), and end to end through the port
// session and the real serial link on a pseudo-terminal, measured at the instrument's side.
#include "device/core/commerror.h"
#include "device/core/instrumentsettings.h"
#include "device/core/portsession.h"
#include "device/core/uploader.h"
#include "device/serial/tcomm.h"
#include "device/sim/ptyinstrument.h"
#include "device/sim/simulatedinstrument.h"
#include "tests/device/downloadrig.h"
#include "tests/device/rununtil.h"

#include <QTest>

namespace {

// The in-process instrument: each byte takes `wire` to leave the port.
struct Rig {
    ManualPacer pacer;
    SimulatedInstrument sim;
    Uploader uploader{sim, pacer, [] { return QStringLiteral("sim"); }};
    std::vector<int> progress;
    std::vector<Uploader::Outcome> ends;
    std::chrono::milliseconds wire{2};

    Rig()
    {
        sim.sentAtOnce = false;
        sim.clock = [this] { return qint64(pacer.t.count()); };
        sim.onSent = [this] { uploader.sent(); };
        uploader.onProgress = [this](int p) { progress.push_back(p); };
        uploader.onFinished = [this](Uploader::Outcome o) { ends.push_back(o); };
    }
    // Moves the clock: a byte written leaves after `wire`; otherwise to the next wake-up.
    void run()
    {
        for (int guard = 0; uploader.isRunning() && guard < 1000; ++guard) {
            if (pacer.requested.size() && pacer.due && *pacer.due - pacer.t == uploader.sendTimeout) {
                pacer.t += wire;
                sim.reportSent();
            } else {
                pacer.t = *pacer.due;
                uploader.tick();
            }
        }
    }
};

// Gaps between the arrivals of consecutive bytes at the instrument, command first.
std::vector<qint64> gaps(const InstrumentEngine::SettingsMessage &m)
{
    std::vector<qint64> g;
    qint64 last = m.commandTimeMs;
    for (const qint64 t : m.byteTimesMs) {
        g.push_back(t - last);
        last = t;
    }
    return g;
}

} // namespace

class TestUpload : public QObject {
    Q_OBJECT
private slots:
    void everyPauseStartsWhenTheByteLeft();
    void byteThatNeverLeavesEndsTheUpload();
    void failingLinkEndsIt();
    void throughTheRealPort_data();
    void throughTheRealPort();
};

void TestUpload::everyPauseStartsWhenTheByteLeft()
{
    Rig rig;
    rig.wire = std::chrono::milliseconds(5); // a slow line: the pause still follows the byte
    rig.uploader.start({'F', instrument::flyerNameMessage("ABCDE"), 80ms, 10ms});
    rig.run();
    QCOMPARE(rig.ends, std::vector<Uploader::Outcome>{Uploader::Outcome::Sent});
    QVERIFY(!rig.sim.isOpen());
    QCOMPARE(rig.sim.engine.settingsMessages().size(), size_t(1));
    const InstrumentEngine::SettingsMessage &m = rig.sim.engine.settingsMessages()[0];
    QCOMPARE(m.command, 'F');
    QCOMPARE(m.bytes, QByteArray("ABCDE           "));
    const std::vector<qint64> g = gaps(m);
    QCOMPARE(g.size(), size_t(16));
    // Written when the pause is over, arriving one wire time later: pause + margin + wire.
    QVERIFY2(g[0] >= 80 + 5, qPrintable(QString::number(g[0])));
    for (size_t i = 1; i < g.size(); ++i)
        QVERIFY2(g[i] >= 10 + 5, qPrintable(QString::number(g[i])));
    // 0 when the upload starts, then i x 100 / 16 after byte i.
    std::vector<int> expected{0};
    for (int i = 0; i < 16; ++i)
        expected.push_back(i * 100 / 16);
    QCOMPARE(rig.progress, expected);
}

void TestUpload::byteThatNeverLeavesEndsTheUpload()
{
    Rig rig;
    rig.uploader.start({'P', QByteArray(37, '0'), 0ms, 0ms});
    QVERIFY(rig.pacer.due);
    rig.pacer.t = *rig.pacer.due; // the handshake holds the command for the whole time-out
    rig.uploader.tick();
    QCOMPARE(rig.ends, std::vector<Uploader::Outcome>{Uploader::Outcome::TimedOut});
    QVERIFY(!rig.sim.isOpen());
}

void TestUpload::failingLinkEndsIt()
{
    Rig rig;
    rig.uploader.start({'O', QByteArray(80, '0'), 0ms, 0ms});
    rig.pacer.t += 2ms;
    rig.sim.reportSent();
    rig.sim.close(); // the adapter pulled out during the pause
    rig.pacer.t = *rig.pacer.due;
    QVERIFY_EXCEPTION_THROWN(rig.uploader.tick(), ECommError); // reported as every link failure
    QCOMPARE(rig.ends, std::vector<Uploader::Outcome>{Uploader::Outcome::LinkFailed});
    QVERIFY(!rig.uploader.isRunning());
}

void TestUpload::throughTheRealPort_data()
{
    QTest::addColumn<char>("command");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("afterCommand");
    QTest::addColumn<int>("afterByte");
    ParameterSettings p{1.5f, 0.3f, false, true, 4, 0, 0, 2, 1};
    OptionSettings o;
    o.thermo = o.alt3 = true;
    QTest::newRow("flyer name") << 'F' << instrument::flyerNameMessage("ABCDE") << 80 << 10;
    QTest::newRow("parameters, 120/10") << 'P' << instrument::parameterMessage(p) << 120 << 10;
    QTest::newRow("parameters, 0/0") << 'P' << instrument::parameterMessage(p) << 0 << 0;
    QTest::newRow("parameters, 300/50") << 'P' << instrument::parameterMessage(p) << 300 << 50;
    QTest::newRow("options") << 'O' << instrument::optionMessage(o) << 120 << 10;
}

void TestUpload::throughTheRealPort()
{
    QFETCH(char, command);
    QFETCH(QByteArray, message);
    QFETCH(int, afterCommand);
    QFETCH(int, afterByte);
    PtyInstrument sim;
    QVERIFY(sim.start());
    TComm comm;
    LogBook book;
    DownloadState state;
    QTimer loadTimer;
    ScriptedPrompter prompts;
    RecordingObserver observer;
    PortSession session(comm, [&] { return sim.path(); }, book, state, prompts, observer, loadTimer);
    std::optional<bool> end;
    connect(&session, &PortSession::uploadFinished, this, [&](bool sent) { end = sent; });
    // The event loop stays free while it sends: a 5 ms timer keeps firing.
    int beats = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
    heartbeat.start(5);

    QVERIFY(session.startUpload(
        {command, message, std::chrono::milliseconds(afterCommand), std::chrono::milliseconds(afterByte)}));
    QVERIFY(runUntil([&] { return end.has_value(); }, 20000));
    QVERIFY(*end);
    QVERIFY(runUntil([&] { return !sim.engine.settingsMessages().empty(); }));
    const InstrumentEngine::SettingsMessage &m = sim.engine.settingsMessages()[0];
    QCOMPARE(m.command, command);
    QCOMPARE(m.bytes, message);
    const std::vector<qint64> g = gaps(m);
    QVERIFY2(g[0] >= afterCommand, qPrintable(QString::number(g[0])));
    qint64 smallest = g[1];
    for (size_t i = 1; i < g.size(); ++i)
        smallest = std::min(smallest, g[i]);
    QVERIFY2(smallest >= afterByte, qPrintable(QString::number(smallest)));
    const qint64 whole = m.byteTimesMs.back() - m.commandTimeMs;
    QVERIFY(beats >= whole / 5 / 2); // at least half the beats it could have had
    qInfo("%c: first gap %lld ms, smallest byte gap %lld ms, whole %lld ms, %d beats", command, g[0], smallest, whole,
          beats);
}

QTEST_GUILESS_MAIN(TestUpload)
#include "tst_upload.moc"
