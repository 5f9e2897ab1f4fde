// The downloads end to end through the real serial link: TComm on a pseudo-terminal with
// the simulated instrument on the other side, driven by the event loop and real timers.
#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "device/core/portsession.h"
#include "device/serial/tcomm.h"
#include "device/sim/ptyinstrument.h"
#include "tests/device/downloadrig.h"
#include "tests/device/rununtil.h"

#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

class TimedObserver : public RecordingObserver {
public:
    explicit TimedObserver(QTimer &timer) : m_timer(timer) {}
    void armLoadTimer() override
    {
        RecordingObserver::armLoadTimer();
        m_timer.start(kLoadTimerInterval);
    }
    void stopLoadTimer() override
    {
        RecordingObserver::stopLoadTimer();
        m_timer.stop();
    }

private:
    QTimer &m_timer;
};

struct PtyRig {
    QTemporaryDir dir;
    LogBook book;
    DownloadState state;
    PtyInstrument sim;
    TComm comm;
    QTimer loadTimer;
    ScriptedPrompter prompts;
    TimedObserver observer{loadTimer};
    PortSession session{comm, [this] { return sim.path(); }, book, state, prompts, observer, loadTimer};
    Downloader &downloader = session.downloader();

    PtyRig()
    {
        sim.bytesPerSecond = 0;
        sim.engine.flights = threeFlights();
        sim.start();
        book.workFolder = dir.path() + u'/';
    }

    bool waitForEnds(size_t count) { return runUntil([&] { return observer.ends.size() >= count; }); }
    bool waitForIdleTimer()
    {
        return runUntil([&] { return !loadTimer.isActive() && !downloader.isTransferring(); }, 20000);
    }
    QByteArray file(const char *name) const
    {
        QFile f(dir.path() + u'/' + QLatin1String(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

QByteArray expected(const char *name)
{
    QFile f(QStringLiteral(TEST_DATA_DIR "/device/") + QLatin1String(name) + QStringLiteral(".expected"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPtyDownload : public QObject {
    Q_OBJECT
private slots:
    void logDownload_data();
    void logDownload();
    void loadAllWritesEveryFileAndOpensTheWindows();
    void graphQueueDownloadsAndOpens();
    void silentInstrumentTimesOut();
    void refusedRepliesWriteNothing_data();
    void refusedRepliesWriteNothing();
    void hangUpIsReportedOnceAndStopsTheSequence();
    void missingPortIsReported();
    void instrumentSeesTheWholePauseAfterTheCommand_data();
    void instrumentSeesTheWholePauseAfterTheCommand();
};

void TestPtyDownload::logDownload_data()
{
    QTest::addColumn<int>("piece");
    QTest::newRow("in one piece") << 0;
    QTest::newRow("in 1-byte pieces") << 1;
    QTest::newRow("in 3-byte pieces") << 3;
}

void TestPtyDownload::logDownload()
{
    QFETCH(int, piece);
    PtyRig rig;
    rig.sim.pieceSize = piece;
    rig.downloader.LogLoad();
    QVERIFY(rig.waitForEnds(1));
    QCOMPARE(rig.observer.ends.front().second, TransferOutcome::Done);
    QCOMPARE(rig.book.rowCount(), 4);
    QCOMPARE(rig.book.row(3).area, "HAKUBA");
    QCOMPARE(rig.book.row(3).deviceIndex, 3);
    QVERIFY(!rig.comm.isOpen());
    QCOMPARE(rig.sim.engine.requests(), std::vector<QByteArray>{"L"});
    QVERIFY(rig.sim.engine.received().front().timeMs >= 200); // after the pause
}

void TestPtyDownload::loadAllWritesEveryFileAndOpensTheWindows()
{
    PtyRig rig;
    rig.sim.pieceSize = 4;
    rig.downloader.AllLoad();
    QVERIFY(rig.waitForEnds(4));
    QVERIFY(rig.waitForIdleTimer());
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02", "B03"}));
    for (const char *name : {"V4050110.V15", "V4050211.V30", "V4050314.V05"})
        QCOMPARE(rig.file(name), expected(name));
    QCOMPARE(rig.observer.opened(), (QStringList{"open 1", "open 2", "open 3"}));
    QVERIFY(rig.prompts.informed.isEmpty());
    QVERIFY(rig.prompts.asked.empty());
}

void TestPtyDownload::graphQueueDownloadsAndOpens()
{
    PtyRig rig;
    rig.downloader.LogLoad();
    QVERIFY(rig.waitForEnds(1));
    // What the graph command does with rows that can be downloaded.
    rig.downloader.queueBarograph(3);
    rig.downloader.queueBarograph(1);
    QVERIFY(rig.waitForEnds(3));
    QVERIFY(rig.waitForIdleTimer());
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B03", "B01"}));
    QCOMPARE(rig.observer.opened(), (QStringList{"open 3", "open 1"}));
    QCOMPARE(rig.file("V4050314.V05"), expected("V4050314.V05"));
}

void TestPtyDownload::silentInstrumentTimesOut()
{
    PtyRig rig;
    rig.downloader.silenceTimeout = 300ms;
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::NoAnswer);
    rig.downloader.AllLoad();
    QVERIFY(rig.waitForEnds(1));
    QCOMPARE(rig.observer.ends.front().second, TransferOutcome::TimedOut);
    QCOMPARE(rig.prompts.informed, QStringList{msg::NoAnswer.toString()});
    QVERIFY(!rig.comm.isOpen());
    QVERIFY(rig.waitForIdleTimer());
    QCOMPARE(rig.book.rowCount(), 1);

    rig.sim.engine.misbehaviour = Misbehaviour::none();
    rig.downloader.LogLoad();
    QVERIFY(rig.waitForEnds(2));
    QCOMPARE(rig.book.rowCount(), 4);
}

void TestPtyDownload::refusedRepliesWriteNothing_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    const auto baro = Misbehaviour::Target::BarographReply;
    QTest::newRow("garbage") << Misbehaviour::of(Misbehaviour::Kind::Garbage, 0, baro);
    QTest::newRow("babble") << Misbehaviour::of(Misbehaviour::Kind::Babble, 4, baro);
}

void TestPtyDownload::refusedRepliesWriteNothing()
{
    QFETCH(Misbehaviour, fault);
    PtyRig rig;
    rig.downloader.LogLoad();
    QVERIFY(rig.waitForEnds(1));
    rig.sim.engine.misbehaviour = fault;
    rig.downloader.queueBarograph(1);
    QVERIFY(rig.waitForEnds(2));
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::Refused);
    QVERIFY(rig.book.row(1).barographFile.isEmpty());
    QVERIFY(rig.file("V4050110.V15").isEmpty());
    QCOMPARE(rig.prompts.informed.size(), 1);
    QVERIFY(!rig.comm.isOpen());
}

void TestPtyDownload::hangUpIsReportedOnceAndStopsTheSequence()
{
    PtyRig rig;
    rig.sim.engine.misbehaviour =
        Misbehaviour::of(Misbehaviour::Kind::HangUp, 30, Misbehaviour::Target::BarographReply);
    rig.downloader.AllLoad();
    QVERIFY(rig.waitForEnds(2));
    QVERIFY(rig.waitForIdleTimer());
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::LinkFailed);
    QCOMPARE(rig.prompts.asked.size(), size_t(1));
    QVERIFY(rig.prompts.asked[0].text.startsWith(QStringLiteral("入出力エラー")));
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(!rig.comm.isOpen());
    QVERIFY(!rig.observer.progressShown);
}

void TestPtyDownload::missingPortIsReported()
{
    PtyRig rig;
    TComm otherPort;
    PortSession elsewhere(otherPort, [] { return QStringLiteral("/dev/duvazi-no-such-port"); }, rig.book, rig.state,
                          rig.prompts, rig.observer, rig.loadTimer);
    elsewhere.loadAll();
    QCOMPARE(rig.prompts.asked.size(), size_t(1));
    QVERIFY(rig.prompts.asked[0].text.contains(QStringLiteral("/dev/duvazi-no-such-port")));
    QVERIFY(!rig.loadTimer.isActive());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
}

void TestPtyDownload::instrumentSeesTheWholePauseAfterTheCommand_data()
{
    QTest::addColumn<int>("bytesPerSecond");
    QTest::newRow("the real line, 480 bytes/s") << 480;
    QTest::newRow("as fast as it goes") << 0;
}

// Measured where it matters, at the instrument: from the arrival of "B" to the arrival of
// the first digit, in every request of a load-all.
void TestPtyDownload::instrumentSeesTheWholePauseAfterTheCommand()
{
    QFETCH(int, bytesPerSecond);
    PtyRig rig;
    rig.sim.bytesPerSecond = bytesPerSecond;
    std::vector<SimFlight> flights = threeFlights();
    for (const SimFlight &f : threeFlights())
        flights.push_back(f);
    rig.sim.engine.flights = flights;
    QByteArray host;
    std::vector<qint64> arrivalUs;
    connect(&rig.sim, &PtyInstrument::hostBytes, this, [&](const QByteArray &bytes) {
        for (const char c : bytes) {
            host += c;
            arrivalUs.push_back(rig.sim.elapsedUs());
        }
    });
    rig.downloader.AllLoad();
    QVERIFY(runUntil([&] { return rig.observer.ends.size() == 7 && !rig.downloader.isTransferring(); }, 30000));
    QCOMPARE(host, QByteArray("LB01B02B03B04B05B06"));
    for (qsizetype i = 0; i < host.size(); ++i) {
        if (host[i] != 'B')
            continue;
        const qint64 gapUs = arrivalUs[size_t(i + 1)] - arrivalUs[size_t(i)];
        QVERIFY2(gapUs >= 500000, qPrintable(QStringLiteral("%1 µs after B%2").arg(gapUs).arg(i)));
    }
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::Done);
}

QTEST_GUILESS_MAIN(TestPtyDownload)
#include "tst_ptydownload.moc"
