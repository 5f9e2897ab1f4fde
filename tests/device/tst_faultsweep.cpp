// The fault sweep: every reply cut, corrupted or hung up at every byte position, and the
// link failing at every byte it writes or reads. Whatever happens, the port ends closed,
// the transfer idle, at most one message is shown, and no flight or file comes from a reply
// that was not whole and sound.
#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "tests/device/downloadrig.h"

#include <QDir>
#include <QTest>

namespace {

using K = Misbehaviour::Kind;

void checkIdle(DownloadRig &rig)
{
    QVERIFY(!rig.sim.isOpen());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.pacer.due);
    QVERIFY(!rig.observer.progressShown);
    QVERIFY(rig.prompts.informed.size() <= 1);
    QCOMPARE(rig.observer.ends.size(), size_t(1));
}

// Bytes of the log reply that the host reads as digits (count, dates, times, numbers);
// the area names are free text.
bool isDigitField(int position)
{
    return position < 2 || (position - 2) % 34 < 26;
}

// Bytes of a barograph reply with S samples that the host checks: the interval code, the
// samples, the mark and the offset. The first three bytes and the byte before the sign are
// not interpreted; the sign is any character.
bool isCheckedBaroByte(int position, int size)
{
    return position >= 3 && position < size - 2;
}

// How a transfer ends when its reply is cut, hung up or corrupted where it is checked.
TransferOutcome outcomeOf(K kind)
{
    switch (kind) {
    case K::CutAfter: return TransferOutcome::TimedOut;
    case K::HangUp: return TransferOutcome::LinkFailed;
    default: return TransferOutcome::Refused;
    }
}

} // namespace

class TestFaultSweep : public QObject {
    Q_OBJECT
private slots:
    void logReply_data();
    void logReply();
    void barographReply_data();
    void barographReply();
    void linkFailsAtEveryByte_data();
    void linkFailsAtEveryByte();
};

void TestFaultSweep::logReply_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    const int size = int(logReplyFor(threeFlights()).size());
    for (int n = 0; n < size; ++n) {
        QTest::addRow("cut after %d", n) << Misbehaviour::of(K::CutAfter, n);
        QTest::addRow("hang up after %d", n) << Misbehaviour::of(K::HangUp, n);
        QTest::addRow("corrupt byte %d", n) << Misbehaviour::of(K::CorruptByte, n);
    }
}

void TestFaultSweep::logReply()
{
    QFETCH(Misbehaviour, fault);
    DownloadRig rig(threeFlights());
    rig.sim.engine.misbehaviour = fault;
    rig.sim.pieceSize = 7;
    rig.downloadLog();
    rig.advance(10s);
    checkIdle(rig);

    const TransferOutcome outcome = rig.observer.ends.front().second;
    if (fault.kind == K::CorruptByte && !isDigitField(fault.n)) {
        QCOMPARE(outcome, TransferOutcome::Done);
        QCOMPARE(rig.book.rowCount(), 4);
        return;
    }
    QCOMPARE(rig.book.rowCount(), 1);
    QVERIFY(!rig.book.logModified);
    QVERIFY(rig.observer.events.isEmpty());
    QCOMPARE(outcome, outcomeOf(fault.kind));
    if (fault.kind == K::CutAfter)
        QCOMPARE(rig.prompts.informed, QStringList{msg::NoAnswer.toString()});
    else if (fault.kind == K::CorruptByte)
        QCOMPARE(rig.prompts.informed, QStringList{msg::LogReplyRefused.toString()});
}

void TestFaultSweep::barographReply_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    const auto baro = Misbehaviour::Target::BarographReply;
    const int size = int(threeFlights()[1].barographReply().size());
    for (int n = 0; n < size; ++n) {
        QTest::addRow("cut after %d", n) << Misbehaviour::of(K::CutAfter, n, baro);
        QTest::addRow("hang up after %d", n) << Misbehaviour::of(K::HangUp, n, baro);
        QTest::addRow("corrupt byte %d", n) << Misbehaviour::of(K::CorruptByte, n, baro);
    }
}

void TestFaultSweep::barographReply()
{
    QFETCH(Misbehaviour, fault);
    DownloadRig rig(threeFlights());
    rig.downloadLog();
    rig.observer.ends.clear();
    rig.sim.engine.misbehaviour = fault;
    rig.sim.pieceSize = 3;
    rig.downloader.queueBarograph(2);
    rig.downloader.TimerLoadTimer();
    rig.sendRequest();
    rig.sim.deliverAll();
    rig.advance(10s);
    checkIdle(rig);
    QVERIFY(rig.state.baroQueue.empty());

    const int size = int(threeFlights()[1].barographReply().size());
    const TransferOutcome outcome = rig.observer.ends.front().second;
    const QStringList files = QDir(rig.dir.path()).entryList(QDir::Files);
    if (fault.kind == K::CorruptByte && !isCheckedBaroByte(fault.n, size)) {
        QCOMPARE(outcome, TransferOutcome::Done);
        QCOMPARE(files, QStringList{"V4050211.V30"});
        return;
    }
    QVERIFY(files.isEmpty());
    QVERIFY(rig.book.row(2).barographFile.isEmpty());
    QVERIFY(rig.state.openList.empty());
    QCOMPARE(outcome, outcomeOf(fault.kind));
}

void TestFaultSweep::linkFailsAtEveryByte_data()
{
    QTest::addColumn<bool>("writing");
    QTest::addColumn<int>("n");
    // "L", then "B" and two digits per flight.
    for (int n = 0; n < 1 + 3 * 3; ++n)
        QTest::addRow("write fails after %d", n) << true << n;
    const int replies = int(logReplyFor(threeFlights()).size());
    for (int n = 0; n < replies + 60; n += 3)
        QTest::addRow("read fails after %d", n) << false << n;
}

// A port that fails in the middle of a load-all: one error, thrown once, and the whole
// sequence ends with the port closed and nothing half-written.
void TestFaultSweep::linkFailsAtEveryByte()
{
    QFETCH(bool, writing);
    QFETCH(int, n);
    DownloadRig rig(threeFlights());
    (writing ? rig.faulty.failWriteAfter : rig.faulty.failReadAfter) = n;
    int thrown = 0;
    try {
        rig.downloader.AllLoad();
        rig.runPacedLine(7);
    } catch (const ECommError &) {
        ++thrown;
    }
    QCOMPARE(thrown, 1);
    QVERIFY(!rig.sim.isOpen());
    QCOMPARE(rig.state.transferMode, TransferMode::Idle);
    QVERIFY(!rig.pacer.due);
    QVERIFY(!rig.observer.progressShown);
    QCOMPARE(rig.state.loadAllNext, 0);
    QVERIFY(rig.prompts.informed.isEmpty());
    QCOMPARE(rig.observer.ends.back().second, TransferOutcome::LinkFailed);
    // Every file written is named by its row, and only those.
    QStringList named;
    for (int r = 1; r < rig.book.rowCount(); ++r) {
        if (rig.book.row(r).hasBarograph())
            named << QString::fromLatin1(rig.book.row(r).barographFile);
    }
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files, QDir::Name), named);
}

QTEST_GUILESS_MAIN(TestFaultSweep)
#include "tst_faultsweep.moc"
