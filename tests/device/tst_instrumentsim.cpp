// The simulated instrument itself: its replies against the protocol tables written out by
// hand, its named failures, and the settings messages it records.
#include "device/sim/instrumentengine.h"
#include "tests/device/downloadrig.h"

#include <QTest>

namespace {

const QByteArray kEntry1 = "240501" "101500" "000004" "1213" "0020" "ASHIO   ";
const QByteArray kBaro1 = "DVB2" "12000" "12010" "12030" "12020" "11990" "99999" "00100" "0" "0";

QByteArray answerTo(InstrumentEngine &engine, const QByteArray &request)
{
    engine.hostSent(request, 0);
    QByteArray out;
    while (engine.hasOutput() && out.size() < 100000) {
        const QByteArray piece = engine.takeOutput(64);
        if (piece.isEmpty())
            break;
        out += piece;
    }
    return out;
}

} // namespace

class TestInstrumentSim : public QObject {
    Q_OBJECT
private slots:
    void repliesFollowTheTables();
    void misbehaviours_data();
    void misbehaviours();
    void settingsMessagesAreRecordedWithTheirTimes();
};

void TestInstrumentSim::repliesFollowTheTables()
{
    InstrumentEngine engine;
    engine.flights = threeFlights();
    const QByteArray log = answerTo(engine, "L");
    QCOMPARE(log.size(), 2 + 3 * 34);
    QCOMPARE(log.left(2), QByteArray("03"));
    QCOMPARE(log.right(34), kEntry1); // flight 1 comes last
    QCOMPARE(answerTo(engine, "B01"), kBaro1);
    QCOMPARE(answerTo(engine, "B03").mid(3, 1), QByteArray("0")); // 4 s per sample
    QVERIFY(answerTo(engine, "B04").isEmpty());                   // no such flight
    QCOMPARE(engine.requests(), (std::vector<QByteArray>{"L", "B01", "B03", "B04"}));
    // A negative offset is sent as its size with the sign '1'.
    QVERIFY(answerTo(engine, "B02").endsWith("99999" "00050" "0" "1"));
}

void TestInstrumentSim::misbehaviours_data()
{
    QTest::addColumn<Misbehaviour>("fault");
    QTest::addColumn<QByteArray>("answer");
    using K = Misbehaviour::Kind;
    QTest::newRow("no answer") << Misbehaviour::of(K::NoAnswer) << QByteArray();
    QTest::newRow("cut") << Misbehaviour::of(K::CutAfter, 7) << kBaro1.left(7);
    QTest::newRow("corrupt") << Misbehaviour::of(K::CorruptByte, 3) << "DVBx" + kBaro1.mid(4);
    QTest::newRow("hang-up") << Misbehaviour::of(K::HangUp, 9) << kBaro1.left(9);
    QTest::newRow("babble") << Misbehaviour::of(K::Babble, 4) << QByteArray(); // checked below
    QTest::newRow("only the log misbehaves") << Misbehaviour::of(K::NoAnswer, 0, Misbehaviour::Target::LogReply)
                                             << kBaro1;
}

void TestInstrumentSim::misbehaviours()
{
    QFETCH(Misbehaviour, fault);
    QFETCH(QByteArray, answer);
    InstrumentEngine engine;
    engine.flights = threeFlights();
    engine.misbehaviour = fault;
    const QByteArray out = answerTo(engine, "B01");
    if (fault.kind == Misbehaviour::Kind::Babble) {
        QVERIFY(out.size() >= 100000);
        QVERIFY(out.startsWith("DVB2123451234512345"));
        QVERIFY(engine.hasOutput()); // for ever
        return;
    }
    QCOMPARE(out, answer);
    QCOMPARE(engine.hasHungUp(), fault.kind == Misbehaviour::Kind::HangUp);
}

void TestInstrumentSim::settingsMessagesAreRecordedWithTheirTimes()
{
    InstrumentEngine engine;
    engine.hostSent("F", 1000);
    const QByteArray name = "TARO YAMADA     ";
    for (int i = 0; i < name.size(); ++i)
        engine.hostSent(name.mid(i, 1), 1080 + 10 * i);
    engine.hostSent("P" + QByteArray(37, '0'), 3000);
    QCOMPARE(engine.settingsMessages().size(), size_t(2));
    const InstrumentEngine::SettingsMessage &f = engine.settingsMessages()[0];
    QCOMPARE(f.command, 'F');
    QCOMPARE(f.bytes, name);
    QCOMPARE(f.commandTimeMs, 1000);
    QCOMPARE(f.byteTimesMs.front(), 1080);
    QCOMPARE(f.byteTimesMs.back(), 1230);
    QCOMPARE(engine.settingsMessages()[1].bytes.size(), 37);
    QVERIFY(engine.requests().empty()); // settings bytes are never taken for commands
}

QTEST_GUILESS_MAIN(TestInstrumentSim)
#include "tst_instrumentsim.moc"
