// The log file image: the exact layout, reading files written by another program, damaged
// files, field widths, and merging another file's flights.
#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/text/cp932.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray sample(const char *name)
{
    QFile f(QStringLiteral(TEST_DATA_DIR "/logbook/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", name);
    return f.readAll();
}

QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

// The title record as the program has always written it, spelled out byte by byte.
const QByteArray kTitleBytes = QByteArray(
    "\x00"
    "\x93\xfa\x95\x74\x00"                                 // 日付
    "\x8e\x9e\x8d\x8f\x00"                                 // 時刻
    "\x83\x47\x83\x8a\x83\x41\x00"                         // エリア
    "\x91\xd8\x8b\xf3\x8e\x9e\x8a\xd4\x00"                 // 滞空時間
    "\x8d\xc5\x91\xe5\x8d\x82\x93\x78\x00"                 // 最大高度
    "\x8d\xc5\x91\xe5\x8f\xe3\x8f\xb8\x97\xa6\x00"         // 最大上昇率
    "\x94\xf5\x8d\x6c\x81\x41\x83\x52\x83\x81\x83\x93\x83\x67\x00" // 備考、コメント
    "\xca\xde\xdb\xb8\xde\xd7\xcc\xcc\xa7\xb2\xd9\x00",    // ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ
    74);

} // namespace

class TestLogFile : public QObject {
    Q_OBJECT
private slots:
    void emptyLogIsHeaderAndTitleRecord();
    void flightImageMatchesHandBuiltBytes();
    void fileFromAnotherProgramReadsBackWhole();
    void writingWhatWasReadGivesTheSameBytes_data();
    void writingWhatWasReadGivesTheSameBytes();
    void lengthAbove65535KeepsLow16BitsAndReadsBack();
    void damagedFilesKeepCompleteRecordsOnly_data();
    void damagedFilesKeepCompleteRecordsOnly();
    void everyTruncationIsSafe();
    void longFieldsAreCutToTheirWidth();
    void zeroRecordsStillGiveATitleRow();
    void appendingSkipsTitleAndNumbers();
    void capacityGrowsByFour();
    void anyBytesInAnyFieldReadBackEqual();
};

void TestLogFile::emptyLogIsHeaderAndTitleRecord()
{
    const LogBook book;
    QCOMPARE(book.rowCount(), 1);
    QCOMPARE(book.capacity(), 4);
    QByteArray expected("\x00\x02\x58\x00\x00\x00\x01\x00\x00\x00\x09\x00\x00\x00", 14);
    expected += kTitleBytes;
    QCOMPARE(expected.size(), 88); // 0x58, the length stored at offset 2
    QCOMPARE(buildLogImage(book), expected);
    QCOMPARE(buildLogImage(book), sample("empty.log"));
}

void TestLogFile::flightImageMatchesHandBuiltBytes()
{
    LogBook book;
    FlightRecord &r = book.appendRow();
    r.number = "1";
    r.date = "24/05/03";
    r.time = "10:21:05";
    r.area = sj("足尾");
    r.duration = "01:12:40";
    r.maxAltitude = "0987 m";
    r.maxClimb = "3.4 m/s";
    r.barographFile = "24050310.BRG";
    // comment left empty: a single 0x00
    QByteArray flight("1\x00" "24/05/03\x00" "10:21:05\x00" "\x91\xab\x94\xf6\x00"
                      "01:12:40\x00" "0987 m\x00" "3.4 m/s\x00" "\x00" "24050310.BRG\x00",
                      2 + 9 + 9 + 5 + 9 + 7 + 8 + 1 + 13);
    const int total = 14 + 74 + int(flight.size());
    QByteArray expected("\x00\x02", 2);
    expected += char(total & 0xFF);
    expected += char(total >> 8);
    expected += QByteArray("\x00\x00\x02\x00\x00\x00\x09\x00\x00\x00", 10);
    expected += kTitleBytes + flight;
    QCOMPARE(buildLogImage(book), expected);
}

void TestLogFile::fileFromAnotherProgramReadsBackWhole()
{
    const LogFileContents c = parseLogFile(sample("three-flights.log"));
    QVERIFY(c.isComplete());
    QCOMPARE(c.announcedRows, 4);
    QCOMPARE(c.records[0].date, sj("日付"));
    QCOMPARE(c.records[1].area, sj("足尾山"));
    QCOMPARE(c.records[1].comment.bytes(), sj("サーマル良好。\r\n南東の風 2m/s"));
    QCOMPARE(c.records[2].area, QByteArray("\xb1\xbc\xb5")); // ｱｼｵ
    QCOMPARE(c.records[2].comment.bytes(), QByteArray());
    QCOMPARE(c.records[2].barographFile, QByteArray());
    QCOMPARE(c.records[3].area, sj("①≒∵ソ表"));
    QVERIFY(c.records[3].comment.size() > 3000); // several thousand bytes, whole
    QVERIFY(c.records[3].comment.endsWith(sj("ソソ")));
}

void TestLogFile::writingWhatWasReadGivesTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::newRow("empty") << sample("empty.log");
    QTest::newRow("three flights") << sample("three-flights.log");
}

void TestLogFile::writingWhatWasReadGivesTheSameBytes()
{
    QFETCH(QByteArray, image);
    LogBook book;
    loadContents(book, parseLogFile(image));
    QCOMPARE(buildLogImage(book), image);
}

void TestLogFile::lengthAbove65535KeepsLow16BitsAndReadsBack()
{
    LogBook book;
    for (int i = 0; i < 30; ++i)
        book.appendRow().comment = QByteArray(3000, 'x');
    const QByteArray image = buildLogImage(book);
    QVERIFY(image.size() > 65535);
    QCOMPARE(quint8(image[2]) | (quint8(image[3]) << 8), int(image.size() & 0xFFFF));
    const LogFileContents c = parseLogFile(image);
    QVERIFY(c.isComplete());
    QCOMPARE(int(c.records.size()), 31);
}

void TestLogFile::damagedFilesKeepCompleteRecordsOnly_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<bool>("unreadable");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("announced");
    QTest::newRow("ends inside the header") << sample("damaged-header.log") << true << 0 << 0;
    QTest::newRow("ends inside the third flight") << sample("damaged-inside-record.log") << false << 3 << 4;
    QTest::newRow("announces more records") << sample("damaged-count.log") << false << 4 << 9;
    QTest::newRow("ends inside the title") << sample("empty.log").left(30) << true << 0 << 1;
}

void TestLogFile::damagedFilesKeepCompleteRecordsOnly()
{
    QFETCH(QByteArray, image);
    QFETCH(bool, unreadable);
    QFETCH(int, records);
    QFETCH(int, announced);
    const LogFileContents c = parseLogFile(image);
    QVERIFY(!c.isComplete());
    QCOMPARE(c.isUnreadable(), unreadable);
    QCOMPARE(int(c.records.size()), records);
    QCOMPARE(c.announcedRows, announced);
}

void TestLogFile::everyTruncationIsSafe()
{
    // Whatever byte the file ends at, only whole records come back, each equal to the
    // original one.
    const QByteArray image = sample("three-flights.log");
    const LogFileContents whole = parseLogFile(image);
    for (qsizetype n = 0; n < image.size(); ++n) {
        const LogFileContents c = parseLogFile(QByteArrayView(image).first(n));
        QVERIFY(!c.isComplete());
        for (size_t i = 0; i < c.records.size(); ++i)
            QCOMPARE(c.records[i].comment, whole.records[i].comment);
    }
}

void TestLogFile::longFieldsAreCutToTheirWidth()
{
    const LogFileContents c = parseLogFile(sample("foreign-title.log"));
    QVERIFY(c.isComplete());
    const FlightRecord &r = c.records[1];
    QCOMPARE(r.number, QByteArray("12345"));
    QCOMPARE(r.date, QByteArray("2024/05/0"));
    QCOMPARE(r.time, QByteArray("10:21:05."));
    QCOMPARE(r.area, sj("ソソソソソソソソソソソソ")); // 24 bytes: twelve whole characters
    QCOMPARE(r.barographFile, QByteArray("a-very-long-b"));
    // A width of 25 with 23 bytes left would split the 12th ソ: cut before it.
    QCOMPARE(fitField(Field::Area, sj("aソソソソソソソソソソソソ")), sj("aソソソソソソソソソソソ"));
    QCOMPARE(fitField(Field::Comment, QByteArray(5000, 'c')).size(), 5000);
}

void TestLogFile::zeroRecordsStillGiveATitleRow()
{
    QByteArray image = sample("empty.log").left(14);
    image[6] = 0;
    LogBook book;
    book.appendRow();
    loadContents(book, parseLogFile(image));
    QCOMPARE(book.rowCount(), 1);
    QCOMPARE(book.row(0).date, sj("日付"));
}

void TestLogFile::appendingSkipsTitleAndNumbers()
{
    LogBook book;
    loadContents(book, parseLogFile(sample("three-flights.log")));
    const LogFileContents other = parseLogFile(sample("foreign-title.log"));
    QCOMPARE(appendFlights(book, other), 1);
    QCOMPARE(book.rowCount(), 5);
    QCOMPARE(book.row(0).date, sj("日付")); // our titles stay
    QCOMPARE(book.row(4).number, QByteArray());
    QCOMPARE(book.row(4).deviceIndex, -1);
    book.renumber();
    QCOMPARE(book.row(4).number, QByteArray("4"));
    // A foreign title record read as the whole log is kept and written back unchanged.
    LogBook foreign;
    loadContents(foreign, parseLogFile(sample("foreign-title.log")));
    QCOMPARE(foreign.row(0).date, QByteArray("Date"));
}

void TestLogFile::capacityGrowsByFour()
{
    LogBook book;
    QCOMPARE(book.capacity(), 4);
    for (int i = 0; i < 3; ++i)
        book.appendRow();
    QCOMPARE(book.capacity(), 4);
    book.appendRow(); // index 4 reaches the capacity
    QCOMPARE(book.capacity(), 8);
    book.removeRow(1);
    QCOMPARE(book.capacity(), 8); // never shrinks while the log is open
    book.clear();
    QCOMPARE(book.rowCount(), 0);
    QCOMPARE(book.capacity(), 4);
}

void TestLogFile::anyBytesInAnyFieldReadBackEqual()
{
    // Bytes as line noise, a damaged file or a careless script may bring them, 0x00 included,
    // stored through every way a field can be set: what is written reads back the same.
    QRandomGenerator random(8);
    const auto noise = [&random] {
        QByteArray bytes(random.bounded(40), Qt::Uninitialized);
        for (char &c : bytes)
            c = char(random.bounded(8) == 0 ? 0 : random.bounded(256));
        return bytes;
    };
    LogBook book;
    for (int i = 0; i < 500; ++i) {
        FlightRecord &r = book.appendRow();
        for (int f = 0; f < kFieldCount; ++f)
            r.setField(Field(f), noise());
        if (i % 2) {
            r.area = noise();
            r.comment = noise();
            r.barographFile = QByteArrayView(noise());
        }
    }
    const LogFileContents back = parseLogFile(buildLogImage(book));
    QVERIFY(back.isComplete());
    for (int i = 0; i < book.rowCount(); ++i) {
        for (int f = 0; f < kFieldCount; ++f)
            QCOMPARE(back.records[size_t(i)].fieldText(Field(f)), book.row(i).fieldText(Field(f)));
    }
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
