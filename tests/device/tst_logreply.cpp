// The log reply decoder: framing, entry fields, pieces, refusals.
#include "device/core/logreply.h"

#include <QTest>

namespace {

// Entries written from the reply table: date, take-off, duration, altitude, climb, area.
const QByteArray kFlight2 = "240502" "113000" "000300" "0912" "0015" "ITAJIKI ";
const QByteArray kFlight1 = "240501" "101500" "000004" "1203" "0123" "ASHIO   ";
const QByteArray kTwoFlights = "02" + kFlight2 + kFlight1;

LogReplyDecoder decodeInPieces(const QByteArray &reply, const QList<int> &pieces)
{
    LogReplyDecoder d;
    qsizetype at = 0;
    for (const int n : pieces) {
        d.feed(QByteArrayView(reply).sliced(at, n));
        at += n;
    }
    d.feed(QByteArrayView(reply).sliced(at));
    return d;
}

} // namespace

class TestLogReply : public QObject {
    Q_OBJECT
private slots:
    void entriesComeInReplyOrder();
    void entryFields_data();
    void entryFields();
    void piecesGiveTheSameReply_data();
    void piecesGiveTheSameReply();
    void refusedReplies_data();
    void refusedReplies();
    void onlyPossibleDatesAndTimes_data();
    void onlyPossibleDatesAndTimes();
    void zeroFlightsCompleteAfterTheCount();
    void bytesAfterTheReplyAreIgnored();
    void longestReplyIsNinetyNineFlights();
};

void TestLogReply::entriesComeInReplyOrder()
{
    LogReplyDecoder d;
    QCOMPARE(d.feed(kTwoFlights), DecodeStatus::Complete);
    QCOMPARE(d.flightCount(), 2);
    QCOMPARE(d.expectedLength(), 70);
    QCOMPARE(d.received(), 70);
    QCOMPARE(d.entries().size(), size_t(2));
    QCOMPARE(d.entries()[0].date, QByteArray("24/05/02"));
    QCOMPARE(d.entries()[1].date, QByteArray("24/05/01"));

    const FlightRecord r = d.entries()[1].toFlightRecord(1);
    QCOMPARE(r.date, "24/05/01");
    QCOMPARE(r.time, "10:15:00");
    QCOMPARE(r.duration, "00:00:04");
    QCOMPARE(r.maxAltitude, "1203 m");
    QCOMPARE(r.maxClimb, "12.3 m/s");
    QCOMPARE(r.area, "ASHIO");
    QCOMPARE(r.deviceIndex, 1);
    QVERIFY(r.comment.isEmpty());
    QVERIFY(r.barographFile.isEmpty());
}

void TestLogReply::entryFields_data()
{
    QTest::addColumn<QByteArray>("altitude");
    QTest::addColumn<QByteArray>("climb");
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<QByteArray>("maxAltitude");
    QTest::addColumn<QByteArray>("maxClimb");
    QTest::addColumn<QByteArray>("areaText");

    QTest::newRow("altitude keeps four digits") << QByteArray("0850") << QByteArray("0035") << QByteArray("ASHIO   ")
                                               << QByteArray("0850 m") << QByteArray("3.5 m/s") << QByteArray("ASHIO");
    QTest::newRow("two-digit climb") << QByteArray("2999") << QByteArray("0123") << QByteArray("ASAGIRI ")
                                     << QByteArray("2999 m") << QByteArray("12.3 m/s") << QByteArray("ASAGIRI");
    QTest::newRow("no climb, no altitude") << QByteArray("0000") << QByteArray("0000") << QByteArray("        ")
                                           << QByteArray("0000 m") << QByteArray("0.0 m/s") << QByteArray();
    QTest::newRow("widest numbers") << QByteArray("9999") << QByteArray("9999") << QByteArray("ABCDEFGH")
                                    << QByteArray("9999 m") << QByteArray("999.9 m/s") << QByteArray("ABCDEFGH");
    QTest::newRow("inner blanks stay") << QByteArray("0100") << QByteArray("0005") << QByteArray("A B     ")
                                       << QByteArray("0100 m") << QByteArray("0.5 m/s") << QByteArray("A B");
    // Half-width katakana (アサギリ) is cp932 text and is kept byte for byte.
    QTest::newRow("half-width katakana") << QByteArray("1200") << QByteArray("0010") << QByteArray("\xb1\xbb\xb7\xde\xd8   ")
                                         << QByteArray("1200 m") << QByteArray("1.0 m/s") << QByteArray("\xb1\xbb\xb7\xde\xd8");
}

void TestLogReply::entryFields()
{
    QFETCH(QByteArray, altitude);
    QFETCH(QByteArray, climb);
    QFETCH(QByteArray, area);
    const QByteArray entry = "991231" "235959" "012040" + altitude + climb + area;
    const std::optional<LogEntry> e = decodeLogEntry(entry);
    QVERIFY(e);
    QCOMPARE(e->date, QByteArray("99/12/31"));
    QCOMPARE(e->time, QByteArray("23:59:59"));
    QCOMPARE(e->duration, QByteArray("01:20:40"));
    QTEST(e->maxAltitude, "maxAltitude");
    QTEST(e->maxClimb, "maxClimb");
    QTEST(e->area, "areaText");
}

void TestLogReply::piecesGiveTheSameReply_data()
{
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("2, 30, rest") << QList<int>{2, 30};
    QTest::newRow("count split") << QList<int>{1, 1};
    QTest::newRow("count and entry start together") << QList<int>{3, 33, 1};
    QList<int> ones(69, 1);
    QTest::newRow("byte by byte") << ones;
}

void TestLogReply::piecesGiveTheSameReply()
{
    QFETCH(QList<int>, pieces);
    const LogReplyDecoder d = decodeInPieces(kTwoFlights, pieces);
    QCOMPARE(d.status(), DecodeStatus::Complete);
    QCOMPARE(d.entries().size(), size_t(2));
    QCOMPARE(d.entries()[0].area, QByteArray("ITAJIKI"));
    QCOMPARE(d.entries()[1].maxClimb, QByteArray("12.3 m/s"));

    // Not complete one byte short of the end.
    LogReplyDecoder shortOne;
    QCOMPARE(shortOne.feed(kTwoFlights.chopped(1)), DecodeStatus::NeedMore);
}

void TestLogReply::refusedReplies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("entriesKept");
    const int count = int(LogReplyDecoder::Problem::CountNotDigits);
    const int entry = int(LogReplyDecoder::Problem::EntryNotDigits);
    QTest::newRow("count with a blank") << QByteArray(" 2") + kFlight2 << count << 0;
    QTest::newRow("count with a letter") << QByteArray("0A") << count << 0;
    QTest::newRow("negative count") << QByteArray("-1") << count << 0;
    // ':' is the character after '9': (':' - '0') would count as ten.
    QTest::newRow("count of ten-something") << QByteArray(":2") << count << 0;
    QTest::newRow("letter in a date") << "02" + kFlight2.left(3) + 'x' + kFlight2.mid(4) + kFlight1 << entry << 0;
    QTest::newRow("blank in the altitude of flight 1")
        << "02" + kFlight2 + kFlight1.left(18) + " 850" + kFlight1.mid(22) << entry << 1;
    // The area is the instrument's printable ASCII: a 0x00 there would end the field early
    // in the log file and shift every field after it.
    const int area = int(LogReplyDecoder::Problem::AreaNotText);
    QTest::newRow("0x00 in an area") << "02" + kFlight2.left(28) + '\0' + kFlight2.mid(29) + kFlight1 << area << 0;
    QTest::newRow("control byte in an area") << "01" + kFlight1.left(33) + '\x1b' << area << 0;
}

void TestLogReply::refusedReplies()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, problem);
    QFETCH(int, entriesKept);
    LogReplyDecoder d;
    QCOMPARE(d.feed(reply), DecodeStatus::Malformed);
    QCOMPARE(int(d.problem()), problem);
    QCOMPARE(int(d.entries().size()), entriesKept);
    // Once refused, it stays refused.
    QCOMPARE(d.feed(kTwoFlights), DecodeStatus::Malformed);
}

void TestLogReply::onlyPossibleDatesAndTimes_data()
{
    QTest::addColumn<QByteArray>("date");
    QTest::addColumn<QByteArray>("takeoff");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<bool>("taken");
    QTest::newRow("the edges") << QByteArray("991231") << QByteArray("235959") << QByteArray("235959") << true;
    QTest::newRow("the other edges") << QByteArray("000101") << QByteArray("000000") << QByteArray("000000") << true;
    QTest::newRow("month 0") << QByteArray("240001") << QByteArray("120000") << QByteArray("010000") << false;
    QTest::newRow("month 13") << QByteArray("241301") << QByteArray("120000") << QByteArray("010000") << false;
    QTest::newRow("day 0") << QByteArray("240500") << QByteArray("120000") << QByteArray("010000") << false;
    QTest::newRow("day 32") << QByteArray("240532") << QByteArray("120000") << QByteArray("010000") << false;
    // A barograph's digits read as an entry: the month 88 that once made its way in.
    QTest::newRow("88/88/08") << QByteArray("888808") << QByteArray("120000") << QByteArray("010000") << false;
    QTest::newRow("hour 24") << QByteArray("240501") << QByteArray("240000") << QByteArray("010000") << false;
    QTest::newRow("minute 60") << QByteArray("240501") << QByteArray("126000") << QByteArray("010000") << false;
    QTest::newRow("second 60") << QByteArray("240501") << QByteArray("120060") << QByteArray("010000") << false;
    QTest::newRow("a day in the air") << QByteArray("240501") << QByteArray("120000") << QByteArray("240000") << false;
    QTest::newRow("duration minute 60") << QByteArray("240501") << QByteArray("120000") << QByteArray("006000") << false;
    QTest::newRow("duration second 99") << QByteArray("240501") << QByteArray("120000") << QByteArray("000099") << false;
}

void TestLogReply::onlyPossibleDatesAndTimes()
{
    QFETCH(QByteArray, date);
    QFETCH(QByteArray, takeoff);
    QFETCH(QByteArray, duration);
    QFETCH(bool, taken);
    const QByteArray entry = date + takeoff + duration + "0850" + "0035" + "HAKUBA  ";
    QCOMPARE(decodeLogEntry(entry).has_value(), taken);
    LogReplyDecoder d;
    QCOMPARE(d.feed("02" + kFlight2 + entry), taken ? DecodeStatus::Complete : DecodeStatus::Malformed);
}

void TestLogReply::zeroFlightsCompleteAfterTheCount()
{
    LogReplyDecoder d;
    QCOMPARE(d.feed("0"), DecodeStatus::NeedMore);
    QCOMPARE(d.feed("0"), DecodeStatus::Complete);
    QCOMPARE(d.flightCount(), 0);
    QVERIFY(d.entries().empty());
}

void TestLogReply::bytesAfterTheReplyAreIgnored()
{
    LogReplyDecoder d;
    QCOMPARE(d.feed(kTwoFlights + "garbage after the end"), DecodeStatus::Complete);
    QCOMPARE(d.received(), 70);
    QCOMPARE(d.feed("more"), DecodeStatus::Complete);
    QCOMPARE(d.received(), 70);
}

void TestLogReply::longestReplyIsNinetyNineFlights()
{
    QByteArray reply = "99";
    for (int i = 0; i < 99; ++i)
        reply += kFlight1;
    LogReplyDecoder d;
    QCOMPARE(d.feed(reply.chopped(1)), DecodeStatus::NeedMore);
    QCOMPARE(d.feed(reply.right(1)), DecodeStatus::Complete);
    QCOMPARE(d.received(), LogReplyDecoder::kMaxReplyBytes);
    QCOMPARE(d.entries().size(), size_t(99));
}

QTEST_GUILESS_MAIN(TestLogReply)
#include "tst_logreply.moc"
