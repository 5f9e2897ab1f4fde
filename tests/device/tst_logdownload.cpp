// The log download on the in-process simulated instrument: what is sent and when, the rows
// appended, and every way a transfer can end badly.
#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "tests/device/downloadrig.h"

#include <QTest>

class TestLogDownload : public QObject {
    Q_OBJECT
private slots:
    void appendsFlightsOldestFirst();
    void piecesGiveTheSameRows_data();
    void piecesGiveTheSameRows();
    void earlierRowsLoseTheirFlightNumbers();
    void bytesBeforeTheRequestAreNoAnswer();
    void failedTransfersAppendNothing_data();
    void failedTransfersAppendNothing();
    void impossibleDateAppendsNothing();
    void silenceIsCountedFromTheLastByte();
    void logProgressIsReported();
    void portThatCannotOpenLeavesEverythingIdle();
    void emptyLogSaysSo();
    void cancelEndsAtOnce();
    void newDownloadReplacesARunningOne();
    void loadAllStopsWhenTheLogFails();
};

void TestLogDownload::appendsFlightsOldestFirst()
{
    DownloadRig rig(threeFlights());
    rig.downloader.LogLoad();
    QVERIFY(rig.sim.isOpen());
    QCOMPARE(rig.sim.lastPortName(), QStringLiteral("/dev/ttyTEST"));
    QCOMPARE(rig.sim.lastSettings(), instrumentLine());
    QCOMPARE(rig.state.transferMode, TransferMode::Log);
    QVERIFY(rig.sim.hostBytes().isEmpty()); // nothing before the pause
    rig.sendRequest();
    QCOMPARE(rig.sim.hostBytes(), QByteArray("L"));
    QCOMPARE(rig.sim.engine.received().front().timeMs, 200);
    rig.sim.deliverAll();

    QCOMPARE(rig.book.rowCount(), 4);
    for (int r = 1; r <= 3; ++r) {
        QCOMPARE(rig.book.row(r).deviceIndex, r);
        QCOMPARE(rig.book.row(r).date, "24/05/0" + QByteArray::number(r));
    }
    QCOMPARE(rig.book.row(1).time, "10:15:00");
    QCOMPARE(rig.book.row(1).duration, "00:00:04");
    QCOMPARE(rig.book.row(1).maxAltitude, "1213 m");
    QCOMPARE(rig.book.row(3).area, "HAKUBA");
    QVERIFY(rig.book.logModified);
    QCOMPARE(rig.observer.events, QStringList{QStringLiteral("rows 4")});
    QCOMPARE(rig.state.flightCount, 3);
    QCOMPARE(rig.state.expectedLength, 2 + 3 * 34);
    QVERIFY(!rig.sim.isOpen());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.pacer.due);
    QVERIFY(rig.prompts.informed.isEmpty());
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::Done);
}

void TestLogDownload::piecesGiveTheSameRows_data()
{
    QTest::addColumn<int>("piece");
    for (const int n : {1, 2, 3, 33, 34, 35})
        QTest::addRow("%d bytes", n) << n;
}

void TestLogDownload::piecesGiveTheSameRows()
{
    QFETCH(int, piece);
    DownloadRig rig(threeFlights());
    rig.sim.pieceSize = piece;
    rig.downloadLog();
    QCOMPARE(rig.book.rowCount(), 4);
    QCOMPARE(rig.book.row(2).area, "ITAJIKI");
    QCOMPARE(rig.book.row(2).maxClimb, "5.0 m/s");
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
}

void TestLogDownload::earlierRowsLoseTheirFlightNumbers()
{
    DownloadRig rig(threeFlights());
    rig.downloadLog();
    rig.downloader.queueBarograph(2);
    rig.downloader.queueBarograph(3);
    rig.downloader.duplicates = DuplicateFlights::AppendAll;
    rig.downloadLog(); // the same log again is appended again
    QCOMPARE(rig.book.rowCount(), 7);
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(rig.book.row(r).deviceIndex, -1);
    for (int r = 4; r <= 6; ++r)
        QCOMPARE(rig.book.row(r).deviceIndex, r - 3);
    QVERIFY(rig.state.baroQueue.empty()); // queued by numbers that no longer hold
}

void TestLogDownload::bytesBeforeTheRequestAreNoAnswer()
{
    DownloadRig rig(threeFlights());
    rig.downloader.LogLoad();
    rig.sim.engine.hostSent("L", 0); // an answer already on its way when the port opened
    rig.sim.deliverAll();
    QCOMPARE(rig.book.rowCount(), 1);
    rig.sendRequest();
    rig.sim.deliverAll();
    QCOMPARE(rig.book.rowCount(), 4);
}

void TestLogDownload::failedTransfersAppendNothing_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<TransferOutcome>("outcome");
    using K = Misbehaviour::Kind;
    const QString silence = msg::NoAnswer.toString();
    QTest::newRow("no answer") << Misbehaviour::of(K::NoAnswer) << silence << TransferOutcome::TimedOut;
    QTest::newRow("cut after the count") << Misbehaviour::of(K::CutAfter, 2) << silence << TransferOutcome::TimedOut;
    QTest::newRow("cut one byte short") << Misbehaviour::of(K::CutAfter, 103) << silence << TransferOutcome::TimedOut;
    QTest::newRow("garbage") << Misbehaviour::of(K::Garbage) << msg::LogReplyRefused.toString() << TransferOutcome::Refused;
    QTest::newRow("corrupt count") << Misbehaviour::of(K::CorruptByte, 1) << msg::LogReplyRefused.toString()
                                   << TransferOutcome::Refused;
    QTest::newRow("corrupt last entry's climb") << Misbehaviour::of(K::CorruptByte, 2 + 68 + 25)
                                                << msg::LogReplyRefused.toString() << TransferOutcome::Refused;
    QTest::newRow("hang-up") << Misbehaviour::of(K::HangUp, 50) << QString() << TransferOutcome::LinkFailed;
}

void TestLogDownload::failedTransfersAppendNothing()
{
    QFETCH(Misbehaviour, fault);
    QFETCH(QString, message);
    QFETCH(TransferOutcome, outcome);
    DownloadRig rig(threeFlights());
    rig.sim.engine.misbehaviour = fault;
    rig.downloadLog();
    rig.advance(10s);

    QCOMPARE(rig.book.rowCount(), 1);
    QVERIFY(!rig.book.logModified);
    QVERIFY(!rig.sim.isOpen());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.pacer.due);
    QCOMPARE(rig.prompts.informed, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(rig.observer.ends.size(), size_t(1));
    QCOMPARE(rig.observer.ends.front().second, outcome);
    QVERIFY(rig.observer.events.isEmpty());

    // The program stays usable: the next download works.
    rig.sim.engine.misbehaviour = Misbehaviour::none();
    rig.downloadLog();
    QCOMPARE(rig.book.rowCount(), 4);
}

void TestLogDownload::impossibleDateAppendsNothing()
{
    std::vector<SimFlight> flights = threeFlights();
    flights[1].date = "241302"; // month 13, in the middle of the reply
    DownloadRig rig(flights);
    rig.downloadLog();
    QCOMPARE(rig.book.rowCount(), 1);
    QVERIFY(!rig.book.logModified);
    QCOMPARE(rig.prompts.informed, QStringList{msg::LogReplyRefused.toString()});
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::Refused);
}

void TestLogDownload::logProgressIsReported()
{
    DownloadRig rig(threeFlights());
    rig.sim.pieceSize = 40;
    rig.downloadLog();
    // Waiting for the answer, then each piece but the last (which ends the transfer).
    QCOMPARE(rig.observer.logProgress, (std::vector<std::pair<int, int>>{{0, 0}, {40, 104}, {80, 104}}));
    QCOMPARE(rig.book.rowCount(), 4);
}

void TestLogDownload::silenceIsCountedFromTheLastByte()
{
    DownloadRig rig(threeFlights());
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::CutAfter, 40);
    rig.downloader.LogLoad();
    rig.sendRequest();
    rig.advance(9s);
    rig.sim.deliverAll(); // 40 bytes, 9.7 s after the request
    rig.advance(9s);
    QCOMPARE(rig.state.transferMode, TransferMode::Log);
    rig.advance(1s);
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.prompts.informed, QStringList{msg::NoAnswer.toString()});
    // The pauses asked for: after opening, then the time-outs.
    QCOMPARE(rig.pacer.requested.front(), 200ms);
    QCOMPARE(rig.pacer.requested.at(1), 10000ms);
}

void TestLogDownload::portThatCannotOpenLeavesEverythingIdle()
{
    DownloadRig rig(threeFlights());
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::OpenFails);
    QVERIFY_THROWS_EXCEPTION(ECommOpenError, rig.downloader.AllLoad());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(!rig.observer.timerArmed);
    QVERIFY(!rig.pacer.due);
    QVERIFY(rig.sim.hostBytes().isEmpty());

    // Reported once, at the command boundary, with what to do.
    QVERIFY(!runCommand(rig.prompts, [&] { rig.downloader.LogLoad(); }));
    QCOMPARE(rig.prompts.asked.size(), size_t(1));
    QVERIFY(rig.prompts.asked[0].text.startsWith(QStringLiteral("オープンエラー ErrorCode = -1\n")));
    QVERIFY(rig.prompts.asked[0].text.contains(QStringLiteral("/dev/ttyTEST")));
    QCOMPARE(rig.prompts.asked[0].caption, msg::ErrorCaption.toString());
}

void TestLogDownload::emptyLogSaysSo()
{
    DownloadRig rig;
    rig.downloader.AllLoad();
    rig.sendRequest();
    rig.sim.deliverAll();
    QCOMPARE(rig.book.rowCount(), 1);
    QCOMPARE(rig.prompts.informed, QStringList{msg::LogEmpty.toString()});
    QCOMPARE(rig.state.loadAllNext, 0);
    QCOMPARE(rig.runLoadTimer(), 1); // one idle tick stops the timer
    QCOMPARE(rig.sim.engine.requests(), std::vector<QByteArray>{"L"});
}

void TestLogDownload::cancelEndsAtOnce()
{
    DownloadRig rig(threeFlights());
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::NoAnswer);
    rig.downloader.LogLoad();
    rig.sendRequest();
    rig.downloader.cancel();
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.sim.isOpen());
    QVERIFY(!rig.pacer.due);
    QVERIFY(rig.prompts.informed.isEmpty());
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::Cancelled);
}

void TestLogDownload::newDownloadReplacesARunningOne()
{
    DownloadRig rig(threeFlights());
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::NoAnswer);
    rig.downloader.LogLoad();
    rig.sendRequest();
    rig.sim.engine.misbehaviour = Misbehaviour::none();
    rig.downloadLog();
    QCOMPARE(rig.book.rowCount(), 4);
    QCOMPARE(rig.sim.openCount(), 2);
    QCOMPARE(rig.observer.ends.front().second, TransferOutcome::Replaced);
}

void TestLogDownload::loadAllStopsWhenTheLogFails()
{
    DownloadRig rig(threeFlights());
    rig.state.flightCount = 3; // left from an earlier download
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::CutAfter, 30);
    rig.downloader.AllLoad();
    QVERIFY(rig.observer.timerArmed);
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.downloader.TimerLoadTimer(); // a tick while the log transfer runs does nothing
    QCOMPARE(rig.state.transferMode, TransferMode::Log);
    rig.advance(10s);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(!rig.observer.timerArmed);
    QCOMPARE(rig.sim.engine.requests(), std::vector<QByteArray>{"L"});
}

QTEST_GUILESS_MAIN(TestLogDownload)
#include "tst_logdownload.moc"
