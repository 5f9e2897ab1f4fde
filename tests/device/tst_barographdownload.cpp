// The barograph downloads on the in-process simulated instrument: load-all, the queue of the
// graph command, the files written, and the faults of each transfer.
#include "barograph/core/barographfile.h"
#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "tests/device/downloadrig.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray kNames[] = {"V4050110.V15", "V4050211.V30", "V4050314.V05"};

/// A log book holding one flight read from a file, then the three flights downloaded.
void downloadAfterOneOldFlight(DownloadRig &rig)
{
    FlightRecord &old = rig.book.appendRow();
    old.date = "24/04/30";
    old.time = "12:00:00";
    rig.downloadLog();
}

/// Load all, as far as flight 1's barograph written.
void loadAllThroughFlight1(DownloadRig &rig)
{
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
}

/// The file a flight's barograph becomes when it is downloaded on its own.
QByteArray ownDownload(const SimFlight &flight)
{
    BarographReplyDecoder reply;
    reply.feed(flight.barographReply());
    return buildBarographImage(barographFromReply(reply));
}

void loadAll(DownloadRig &rig)
{
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.runLoadTimer();
}

} // namespace

class TestBarographDownload : public QObject {
    Q_OBJECT
private slots:
    void loadAllFetchesEveryBarographThenOpensTheWindows();
    void requestIsPacedAndNumbered();
    void pauseStartsWhenTheCommandHasLeftThePort();
    void progressFollowsTheReply();
    void graphQueueRunsOneRowAtATime();
    void rowsThatCannotDownloadAreSkipped();
    void repliesTooShortWriteNothing_data();
    void repliesTooShortWriteNothing();
    void existingFileIsReplaced();
    void fileThatCannotBeWrittenLeavesTheRowAlone();
    void failedTransferLetsTheSequenceGoOn_data();
    void failedTransferLetsTheSequenceGoOn();
    void timeOutEndsTheSequenceWithOneMessage_data();
    void timeOutEndsTheSequenceWithOneMessage();
    void abandonedReplyNeverReachesTheNextFlight_data();
    void abandonedReplyNeverReachesTheNextFlight();
    void lineThatNeverGoesQuietEndsTheSequence();
    void nextRequestWaitsForAnOpenMessage();
    void cancelEndsTheWholeSequence();
    void linkFailureStopsSequenceAndQueue();
    void portThatCannotOpenStopsSequenceAndQueue();
    void tinyPiecesEndExactlyAtTheEnd();
    void rowsAreFollowedByIdentity();
    void flightsSharingANameEachKeepTheirOwn();
    void flightsAlreadyInTheLogAreAskedAbout_data();
    void flightsAlreadyInTheLogAreAskedAbout();
};

void TestBarographDownload::loadAllFetchesEveryBarographThenOpensTheWindows()
{
    DownloadRig rig(threeFlights());
    FlightRecord &old = rig.book.appendRow();
    old.date = "24/04/30";
    rig.downloader.AllLoad();
    QCOMPARE(rig.state.loadAllNext, 2);
    rig.sendRequest();
    rig.sim.deliverAll();
    QCOMPARE(rig.book.rowCount(), 5);
    rig.runLoadTimer();

    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02", "B03"}));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rig.book.row(2 + i).barographFile, kNames[i]);
        QCOMPARE(readAll(rig.file(kNames[i])),
                 readAll(QStringLiteral(TEST_DATA_DIR "/device/") + QString::fromLatin1(kNames[i]) + ".expected"));
    }
    QVERIFY(rig.book.row(1).barographFile.isEmpty());
    // One transfer at a time, in row order; the windows open together at the end.
    QCOMPARE(rig.observer.events,
             (QStringList{"rows 5", "progress 24/05/01  10:15:00", "closeProgress", "row 2",
                          "progress 24/05/02  11:30:00", "closeProgress", "row 3", "progress 24/05/03  14:05:00",
                          "closeProgress", "row 4", "open 2", "open 3", "open 4"}));
    QVERIFY(rig.state.openList.empty());
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(!rig.observer.timerArmed);
    QVERIFY(rig.prompts.informed.isEmpty());
    QVERIFY(rig.book.logModified);
}

void TestBarographDownload::requestIsPacedAndNumbered()
{
    std::vector<SimFlight> flights = threeFlights();
    for (int i = 0; i < 9; ++i)
        flights.push_back(flights[0]);
    DownloadRig rig(flights);
    rig.downloadLog();
    rig.downloader.queueBarograph(12);
    rig.pacer.t = 1000ms;
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    const auto &sent = rig.sim.engine.received();
    QCOMPARE(sent.size(), size_t(4)); // "L", then "B", "1", "2"
    QCOMPARE(sent[1].byte, 'B');
    QCOMPARE(sent[1].timeMs, 1200);
    QCOMPARE(sent[2].byte, '1');
    QCOMPARE(sent[3].byte, '2');
    QCOMPARE(sent[2].timeMs, 1720); // 500 ms and the margin
    QCOMPARE(sent[3].timeMs, 1720);
}

// The pause after "B" is what the instrument must see: it starts when "B" has left the
// port, however long the port held it, and a "B" that never leaves times out.
void TestBarographDownload::pauseStartsWhenTheCommandHasLeftThePort()
{
    DownloadRig rig(threeFlights());
    rig.downloadLog();
    rig.sim.sentAtOnce = false;
    rig.pacer.t = 1000ms;
    rig.downloader.queueBarograph(1);
    rig.downloader.TimerLoadTimer();
    rig.advance(200ms);
    QCOMPARE(rig.sim.hostBytes(), QByteArray("LB"));
    rig.advance(150ms); // the handshake holds "B" back
    rig.sim.reportSent();
    rig.advance(519ms);
    QCOMPARE(rig.sim.hostBytes(), QByteArray("LB"));
    rig.advance(1ms);
    QCOMPARE(rig.sim.hostBytes(), QByteArray("LB01"));
    QCOMPARE(rig.sim.engine.received().back().timeMs, 1000 + 200 + 150 + 520);
    rig.sim.deliverAll();
    QCOMPARE(rig.book.row(1).barographFile, kNames[0]);

    rig.downloader.queueBarograph(2);
    rig.downloader.TimerLoadTimer();
    rig.advance(10s + 200ms); // never sent: the silence time-out
    QCOMPARE(rig.sim.hostBytes(), QByteArray("LB01B"));
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::TimedOut);
    QCOMPARE(rig.prompts.informed, QStringList{msg::NoAnswer.toString()});
    QVERIFY(!rig.sim.isOpen());
}

void TestBarographDownload::progressFollowsTheReply()
{
    DownloadRig rig({longFlight(600, 2)});
    rig.downloadLog();
    QCOMPARE(rig.book.row(1).duration, "00:10:00");
    rig.sim.pieceSize = 100;
    rig.downloader.queueBarograph(1);
    rig.runLoadTimer();
    const std::vector<int> &p = rig.observer.progressValues;
    QCOMPARE(p.front(), 0);
    QVERIFY(std::is_sorted(p.begin(), p.end()));
    QCOMPARE(p.back(), 100);
    QVERIFY(p.size() > 10);
}

void TestBarographDownload::graphQueueRunsOneRowAtATime()
{
    DownloadRig rig(threeFlights());
    rig.downloadLog();
    rig.downloader.queueBarograph(3);
    rig.downloader.queueBarograph(1);
    rig.downloader.TimerLoadTimer();
    QVERIFY(!rig.observer.timerArmed); // the finish re-arms it
    QCOMPARE(rig.state.baroQueue, (std::vector<int>{3, 1}));
    rig.sendRequest();
    rig.sim.deliverAll();
    QCOMPARE(rig.state.baroQueue, std::vector<int>{1});
    QVERIFY(rig.observer.timerArmed);
    rig.runLoadTimer();
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B03", "B01"}));
    QCOMPARE(rig.observer.opened(), (QStringList{"open 3", "open 1"}));
    QVERIFY(rig.book.row(2).barographFile.isEmpty());
}

void TestBarographDownload::rowsThatCannotDownloadAreSkipped()
{
    DownloadRig rig(threeFlights());
    downloadAfterOneOldFlight(rig);
    rig.book.row(3).barographFile = "V0000000.V00";
    rig.book.row(4).graphOpen = true;
    rig.downloader.queueBarograph(1);
    rig.downloader.queueBarograph(3);
    rig.downloader.queueBarograph(4);
    rig.downloader.queueBarograph(9);
    rig.downloader.queueBarograph(2);
    rig.runLoadTimer();
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01"}));
    QCOMPARE(rig.observer.opened(), QStringList{"open 2"});
}

void TestBarographDownload::repliesTooShortWriteNothing_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<bool>("written");
    QTest::newRow("31 bytes, 3 samples") << 3 << false;
    QTest::newRow("36 bytes, 4 samples") << 4 << true;
}

void TestBarographDownload::repliesTooShortWriteNothing()
{
    QFETCH(int, samples);
    QFETCH(bool, written);
    std::vector<SimFlight> flights = threeFlights();
    flights[0].samplesTenths.resize(size_t(samples));
    DownloadRig rig(flights);
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.runLoadTimer();
    QCOMPARE(QFile::exists(rig.file(kNames[0])), written);
    QCOMPARE(rig.book.row(1).barographFile.isEmpty(), !written);
    QCOMPARE(rig.prompts.informed,
             written ? QStringList() : QStringList{QStringLiteral("ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが短すぎます。\n 24/05/01 10:15:00")});
    QVERIFY(QFile::exists(rig.file(kNames[2]))); // the sequence went on
}

void TestBarographDownload::existingFileIsReplaced()
{
    DownloadRig rig(threeFlights());
    rig.downloadLog();
    QFile old(rig.file(kNames[1]));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older download of this flight\r\n");
    old.close();
    rig.downloader.queueBarograph(2);
    rig.runLoadTimer();
    QCOMPARE(readAll(rig.file(kNames[1])), readAll(QStringLiteral(TEST_DATA_DIR "/device/V4050211.V30.expected")));
    // The file it replaced is kept.
    QCOMPARE(readAll(rig.file("bak/" + kNames[1])), QByteArray("an older download of this flight\r\n"));
}

void TestBarographDownload::fileThatCannotBeWrittenLeavesTheRowAlone()
{
    DownloadRig rig(threeFlights());
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    const QString workFolder = rig.book.workFolder;
    rig.book.workFolder = workFolder + QStringLiteral("missing/");
    rig.book.logModified = false;
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
    QVERIFY(rig.book.row(1).barographFile.isEmpty());
    QVERIFY(!rig.book.logModified);
    QCOMPARE(rig.prompts.informed.size(), 1);
    QVERIFY(rig.prompts.informed[0].startsWith(msg::BaroCannotWrite.toString() + u'\n'));
    rig.book.workFolder = workFolder;
    rig.runLoadTimer();
    QCOMPARE(rig.observer.opened(), (QStringList{"open 2", "open 3"}));
}

void TestBarographDownload::failedTransferLetsTheSequenceGoOn_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    QTest::addColumn<QString>("message");
    using K = Misbehaviour::Kind;
    const auto baro = Misbehaviour::Target::BarographReply;
    const QString refused = msg::BaroReplyRefused.toString().arg(QStringLiteral("24/05/02 11:30:00"));
    QTest::newRow("garbage") << Misbehaviour::of(K::Garbage, 0, baro) << refused;
    QTest::newRow("unknown interval") << Misbehaviour::of(K::CorruptByte, 3, baro) << refused;
    QTest::newRow("corrupt sample") << Misbehaviour::of(K::CorruptByte, 10, baro) << refused;
    QTest::newRow("babble") << Misbehaviour::of(K::Babble, 4, baro) << refused;
}

// Only flight 2's barograph is refused: flights 1 and 3 are written, 2 is not.
void TestBarographDownload::failedTransferLetsTheSequenceGoOn()
{
    QFETCH(Misbehaviour, fault);
    QFETCH(QString, message);
    DownloadRig rig(threeFlights());
    loadAllThroughFlight1(rig);
    rig.sim.engine.misbehaviour = fault;
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.advance(10s);
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.sim.isOpen());
    QVERIFY(!rig.observer.progressShown);
    QVERIFY(!QFile::exists(rig.file(kNames[1])));
    QVERIFY(rig.book.row(2).barographFile.isEmpty());
    QCOMPARE(rig.prompts.informed, QStringList{message});
    rig.sim.engine.misbehaviour = Misbehaviour::none();
    rig.runLoadTimer();
    QVERIFY(QFile::exists(rig.file(kNames[2])));
    QCOMPARE(rig.observer.opened(), (QStringList{"open 1", "open 3"}));
}

void TestBarographDownload::timeOutEndsTheSequenceWithOneMessage_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    using K = Misbehaviour::Kind;
    const auto baro = Misbehaviour::Target::BarographReply;
    QTest::newRow("no answer") << Misbehaviour::of(K::NoAnswer, 0, baro);
    QTest::newRow("cut in a sample") << Misbehaviour::of(K::CutAfter, 12, baro);
    QTest::newRow("cut in the trailer") << Misbehaviour::of(K::CutAfter, 40, baro);
}

// A silent instrument does not cost ten seconds and a message per flight: the first
// time-out ends the sequence and the queue, and flight 1's window still opens.
void TestBarographDownload::timeOutEndsTheSequenceWithOneMessage()
{
    QFETCH(Misbehaviour, fault);
    DownloadRig rig(threeFlights());
    loadAllThroughFlight1(rig);
    rig.sim.engine.misbehaviour = fault;
    rig.downloader.queueBarograph(3);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.advance(10s);
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::TimedOut);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(rig.state.baroQueue.empty());
    QCOMPARE(rig.prompts.informed, QStringList{msg::NoAnswer.toString()});
    rig.runLoadTimer();
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02"}));
    QCOMPARE(rig.observer.opened(), QStringList{"open 1"});
    QCOMPARE(rig.prompts.informed.size(), 1);
}

void TestBarographDownload::abandonedReplyNeverReachesTheNextFlight_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    QTest::addColumn<QString>("message");
    using K = Misbehaviour::Kind;
    const auto baro = Misbehaviour::Target::BarographReply;
    const QString refused = msg::BaroReplyRefused.toString().arg(QStringLiteral("24/05/01 10:15:00"));
    QTest::newRow("corrupt byte") << Misbehaviour::of(K::CorruptByte, 20, baro, 1) << refused;
    QTest::newRow("unknown interval") << Misbehaviour::of(K::CorruptByte, 3, baro, 1) << refused;
}

// An instrument that goes on sending a reply the program gave up on: the rest of flight 1's
// barograph arrives before the next request would, at the line's pace. The next request
// waits for a quiet line, and flights 2 and 3 get exactly their own bytes.
void TestBarographDownload::abandonedReplyNeverReachesTheNextFlight()
{
    QFETCH(Misbehaviour, fault);
    QFETCH(QString, message);
    std::vector<SimFlight> flights = threeFlights();
    flights[0].samplesTenths.resize(300, 12100); // 1516 bytes: three seconds of line
    DownloadRig rig(flights);
    rig.sim.engine.keepsSending = true;
    rig.sim.engine.misbehaviour = fault;
    rig.downloader.AllLoad();
    rig.runPacedLine(5);
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02", "B03"}));
    QVERIFY(rig.book.row(1).barographFile.isEmpty());
    QVERIFY(!QFile::exists(rig.file(kNames[0])));
    for (int i = 1; i < 3; ++i) {
        QCOMPARE(rig.book.row(1 + i).barographFile, kNames[i]);
        QCOMPARE(readAll(rig.file(kNames[i])),
                 readAll(QStringLiteral(TEST_DATA_DIR "/device/") + QString::fromLatin1(kNames[i]) + ".expected"));
    }
    QCOMPARE(rig.prompts.informed, QStringList{message});
    QCOMPARE(rig.observer.opened(), (QStringList{"open 2", "open 3"}));
    // Flight 2 was asked for only once the whole of flight 1 had gone by.
    const auto &host = rig.sim.engine.received();
    const auto b02 = std::find_if(host.begin() + 2, host.end(), [](const auto &b) { return b.byte == 'B'; });
    QVERIFY(b02 != host.end());
    QVERIFY(b02->timeMs > 3000);
}

// A line that goes on talking is not waited on for ever: after more bytes than any reply,
// one message, and the sequence ends.
void TestBarographDownload::lineThatNeverGoesQuietEndsTheSequence()
{
    DownloadRig rig(threeFlights());
    rig.downloader.settleLimitBytes = 2000;
    rig.sim.engine.keepsSending = true;
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::Babble, 3, Misbehaviour::Target::BarographReply, 1);
    rig.downloader.AllLoad();
    rig.runPacedLine(5);
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::NeverQuiet);
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01"}));
    QCOMPARE(rig.prompts.informed.size(), 2); // flight 1 refused, then the line
    QCOMPARE(rig.prompts.informed.back(), msg::LineNeverQuiet.toString());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(!rig.observer.timerArmed);
    QVERIFY(!rig.sim.isOpen());
    QVERIFY(!rig.observer.progressShown);
}

// A message box runs its own event loop, and the load timer ticks in it: the next request
// waits until the message has been answered.
void TestBarographDownload::nextRequestWaitsForAnOpenMessage()
{
    std::vector<SimFlight> flights = threeFlights();
    flights[0].samplesTenths.resize(3);
    DownloadRig rig(flights);
    bool startedBehindTheMessage = false;
    rig.prompts.whileOpen = [&] {
        QVERIFY(rig.downloader.isShowingMessage());
        for (int i = 0; i < 5; ++i) {
            rig.downloader.TimerLoadTimer();
            startedBehindTheMessage = startedBehindTheMessage || rig.downloader.isTransferring();
        }
    };
    rig.downloader.AllLoad();
    rig.runPacedLine(50);
    QVERIFY(!startedBehindTheMessage);
    QVERIFY(!rig.downloader.isShowingMessage());
    QCOMPARE(rig.prompts.informed.size(), 1);
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02", "B03"}));
    QCOMPARE(rig.observer.opened(), (QStringList{"open 2", "open 3"}));
}

void TestBarographDownload::cancelEndsTheWholeSequence()
{
    DownloadRig rig(threeFlights());
    loadAllThroughFlight1(rig);
    rig.downloader.queueBarograph(3);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.downloader.cancel();
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(rig.state.baroQueue.empty());
    QVERIFY(!rig.sim.isOpen());
    QVERIFY(!rig.observer.progressShown);
    QVERIFY(rig.prompts.informed.isEmpty());
    rig.runLoadTimer();
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02"}));
    QCOMPARE(rig.observer.opened(), QStringList{"open 1"}); // what was fetched still opens
}

void TestBarographDownload::linkFailureStopsSequenceAndQueue()
{
    DownloadRig rig(threeFlights());
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.downloader.queueBarograph(3);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::HangUp, 20, Misbehaviour::Target::BarographReply);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(rig.state.baroQueue.empty());
    QVERIFY(!rig.observer.progressShown);
    QCOMPARE(rig.observer.ends.back(), std::make_pair(TransferMode::Barograph, TransferOutcome::LinkFailed));
    // Flight 1's window still opens.
    QVERIFY(rig.observer.timerArmed);
    rig.runLoadTimer();
    QCOMPARE(rig.observer.opened(), QStringList{"open 1"});
    QCOMPARE(rig.sim.engine.requests(), (std::vector<QByteArray>{"L", "B01", "B02"}));
}

void TestBarographDownload::portThatCannotOpenStopsSequenceAndQueue()
{
    DownloadRig rig(threeFlights());
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.downloader.queueBarograph(3);
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::OpenFails);
    QVERIFY_THROWS_EXCEPTION(ECommOpenError, rig.downloader.TimerLoadTimer());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(rig.state.baroQueue.empty());
    QVERIFY(!rig.observer.timerArmed);
    QVERIFY(!rig.observer.progressShown);
    QVERIFY(rig.observer.events.filter("progress").isEmpty());
}

void TestBarographDownload::tinyPiecesEndExactlyAtTheEnd()
{
    std::vector<SimFlight> flights = threeFlights();
    flights[1].samplesTenths.back() = 8809; // the last sample ends in 9, like the mark
    DownloadRig rig(flights);
    rig.downloadLog();
    for (const int piece : {1, 2, 3, 4}) {
        rig.book.row(2).barographFile.clear();
        rig.downloader.queueBarograph(2);
        rig.sim.pieceSize = piece;
        rig.runLoadTimer();
        QCOMPARE(rig.book.row(2).barographFile, kNames[1]);
        const QByteArray file = readAll(rig.file(kNames[1]));
        QVERIFY2(file.startsWith(" 6\r\n 2\r\n 0\r\n") && file.endsWith(" 875.9\r\n"), file.constData());
    }
}

void TestBarographDownload::rowsAreFollowedByIdentity()
{
    DownloadRig rig(threeFlights());
    rig.downloadLog();
    // A row above is deleted and the row itself edited while its barograph downloads: it
    // still gets its file, named by its date and time as they are now.
    rig.downloader.queueBarograph(2);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.book.removeRow(1);
    rig.book.row(1).time = "11:31:00";
    rig.sim.deliverAll();
    QCOMPARE(rig.book.row(1).barographFile, QByteArray("V4050211.V31"));
    QCOMPARE(readAll(rig.file("V4050211.V31")), readAll(QStringLiteral(TEST_DATA_DIR "/device/V4050211.V30.expected")));
    QVERIFY(rig.book.row(2).barographFile.isEmpty());
    rig.runLoadTimer();
    QCOMPARE(rig.observer.opened(), QStringList{"open 1"});

    // The row itself deleted: no file at all, and nothing else is touched.
    rig.downloader.queueBarograph(2);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.book.removeRow(2);
    rig.sim.deliverAll();
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.sim.isOpen());
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files), QStringList{"V4050211.V31"});
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::RowGone);
    QVERIFY(rig.prompts.informed.isEmpty());
}

// Two relaunches in flight 1's minute, and flight 2's name held by an older flight's file
// with other content: every row shows its own flight, kept as it came under raw/, the old
// file stays, and the pilot hears of each name that moved.
void TestBarographDownload::flightsSharingANameEachKeepTheirOwn()
{
    std::vector<SimFlight> flights = threeFlights();
    flights.push_back(sameMinuteFlight(flights[0], 1));
    flights.push_back(sameMinuteFlight(flights[0], 2));
    DownloadRig rig(flights);
    FlightRecord &old = rig.book.appendRow();
    old.date = "24/05/02";
    old.time = "11:30:59";
    old.barographFile = kNames[1];
    QFile held(rig.file(kNames[1]));
    QVERIFY(held.open(QIODevice::WriteOnly));
    held.write("an older flight in the same minute\r\n");
    held.close();

    loadAll(rig);
    QCOMPARE(rig.book.rowCount(), 2 + 5);
    for (int i = 0; i < 5; ++i) {
        const FlightRecord &row = rig.book.row(2 + i);
        QCOMPARE(readAll(rig.file(row.barographFile.toByteArray())), ownDownload(flights[size_t(i)]));
        QVERIFY(row.downloaded && row.downloaded->fields[size_t(Field::MaxAltitude)] == row.maxAltitude.toByteArray());
        QCOMPARE(readAll(rig.dir.path() + u'/' + row.downloaded->raw), ownDownload(flights[size_t(i)]));
    }
    QCOMPARE(rig.book.row(3).barographFile, "V4050211.V3A");
    QCOMPARE(readAll(rig.file(kNames[1])), QByteArray("an older flight in the same minute\r\n"));
    QCOMPARE(rig.prompts.informed.size(), 3);
    QVERIFY(rig.prompts.informed[0].contains(u"24/05/02 11:30:59") && rig.prompts.informed[0].contains(u"V4050211.V3A"));
    QVERIFY(!QFile::exists(rig.file("bak/" + kNames[1])));
}

// The instrument's log downloaded again with one new flight: はい adds the new one and
// fetches its barograph only, いいえ adds all as before (the same flights find their own
// files and raw copies), キャンセル adds nothing. Flights cut or corrected since their
// download are still the flights the instrument sends.
void TestBarographDownload::flightsAlreadyInTheLogAreAskedAbout_data()
{
    QTest::addColumn<Prompter::Answer>("answer");
    QTest::addColumn<int>("rowsAdded");
    QTest::addColumn<int>("barographsFetched");
    QTest::addColumn<bool>("editedSince");
    QTest::addColumn<int>("newFlights");
    QTest::newRow("only the new") << Prompter::Answer::Yes << 1 << 1 << false << 1;
    QTest::newRow("all") << Prompter::Answer::No << 4 << 4 << false << 1;
    QTest::newRow("nothing") << Prompter::Answer::Cancel << 0 << 0 << false << 1;
    QTest::newRow("only the new, after a cut and a correction") << Prompter::Answer::Yes << 1 << 1 << true << 1;
    // Nothing new: not "add the new 0?", but whether to add the same flights again.
    QTest::newRow("nothing new, again") << Prompter::Answer::Yes << 3 << 3 << false << 0;
    QTest::newRow("nothing new, not again") << Prompter::Answer::No << 0 << 0 << false << 0;
}

void TestBarographDownload::flightsAlreadyInTheLogAreAskedAbout()
{
    QFETCH(Prompter::Answer, answer);
    QFETCH(int, rowsAdded);
    QFETCH(int, barographsFetched);
    QFETCH(bool, editedSince);
    QFETCH(int, newFlights);
    DownloadRig rig(threeFlights());
    loadAll(rig);
    QCOMPARE(rig.book.rowCount(), 4);
    if (editedSince) {
        rig.book.row(1).duration = "00:01:00";
        rig.book.row(1).maxClimb = "0.1 m/s";
        rig.book.row(2).maxAltitude = "0001 m";
    }
    if (newFlights > 0)
        rig.sim.engine.flights.push_back(sameMinuteFlight(rig.sim.engine.flights[2]));
    rig.observer.ends.clear();
    rig.prompts.answers = {answer};
    loadAll(rig);
    QCOMPARE(rig.prompts.asked.size(), size_t(1));
    QCOMPARE(rig.prompts.asked[0].text, newFlights > 0 ? msg::AskNewOnly.toString().arg(3).arg(1)
                                                       : msg::AskAllKnownAgain.toString().arg(3));
    QCOMPARE(rig.book.rowCount(), 4 + rowsAdded);
    const auto fetched = std::count(rig.observer.ends.begin(), rig.observer.ends.end(),
                                    std::pair(TransferMode::Barograph, TransferOutcome::Done));
    QCOMPARE(int(fetched), barographsFetched);
    for (int r = 1; r < rig.book.rowCount(); ++r)
        QVERIFY(rig.book.row(r).hasBarograph());
    QCOMPARE(QDir(rig.dir.filePath("raw")).entryList(QDir::Files).size(), rowsAdded > 0 && newFlights > 0 ? 4 : 3);
}

QTEST_GUILESS_MAIN(TestBarographDownload)
#include "tst_barographdownload.moc"
