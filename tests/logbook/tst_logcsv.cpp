// The log book's CSV: what a round trip keeps in each encoding (every cp932 code included),
// the exact layout, the reading of files a spreadsheet wrote, and every bad line named.
#include "logbook/core/csv.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/logfile.h"
#include "logbook/core/text/cp932.h"

#include <QTest>

namespace {

FlightRecord flight(const QByteArray &area, const QByteArray &comment, const QByteArray &climb = "3.4 m/s")
{
    FlightRecord r;
    r.date = "24/05/03";
    r.time = "10:21:05";
    r.area = area;
    r.duration = "01:12:40";
    r.maxAltitude = "0987 m";
    r.maxClimb = climb;
    r.comment = comment;
    r.barographFile = "V4050310.V21";
    return r;
}

LogBook bookOf(const std::vector<FlightRecord> &flights)
{
    LogBook book;
    for (const FlightRecord &f : flights)
        book.appendRow(f);
    book.renumber();
    return book;
}

// The log a CSV gives when its flights are added to a new log, as the import does.
QByteArray importedImage(const QByteArray &csvBytes)
{
    const LogCsvContents contents = parseLogCsv(csvBytes);
    if (!contents.isReadable())
        qWarning("%s", qPrintable(describeProblems(contents.problems)));
    LogBook book;
    appendCsvFlights(book, contents);
    book.renumber();
    return buildLogImage(book);
}

// Every double-byte code the codec knows, split by whether encoding its character gives
// the code back.
void allDoubleByteCodes(QByteArray &canonical, QByteArray &duplicates)
{
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            QByteArray code;
            code += char(lead);
            code += char(trail);
            const QString text = cp932::toUnicode(code);
            if (text.size() != 1 || text[0] == QChar(0xFFFD))
                continue; // no code: the lead byte fails and the trail byte stands alone
            (cp932::fromUnicode(text) == code ? canonical : duplicates) += code;
        }
    }
}

} // namespace

class TestLogCsv : public QObject {
    Q_OBJECT
private slots:
    void layoutIsRfc4180WithTitlesAndGuards();
    void cp932KeepsEveryByte();
    void formulaStartsAreGuardedAndComeBack_data();
    void formulaStartsAreGuardedAndComeBack();
    void utf8KeepsCanonicalCodesAndFoldsDuplicates();
    void spreadsheetVariantsRead();
    void everyBadLineIsNamedAndNothingIsRead();
    void timesAreKeptAsTheLogWritesThemOrRefused();
};

void TestLogCsv::layoutIsRfc4180WithTitlesAndGuards()
{
    const LogBook book = bookOf({flight("\xB1\xBC\xB5", "a,b \"q\"\r\nnext", "-2.5 m/s"), flight("@home", "'quoted")});
    const LogCsv csvFile = buildLogCsv(book, CsvEncoding::Utf8);
    const QByteArray expected = QStringLiteral(
        "\uFEFF,日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n"
        "1,24/05/03,10:21:05,ｱｼｵ,01:12:40,0987 m,'-2.5 m/s,\"a,b \"\"q\"\"\r\nnext\",V4050310.V21\r\n"
        "2,24/05/03,10:21:05,'@home,01:12:40,0987 m,3.4 m/s,''quoted,V4050310.V21\r\n").toUtf8();
    QCOMPARE(QString::fromUtf8(csvFile.bytes), QString::fromUtf8(expected));
    QCOMPARE(csvFile.cellsChangedByUtf8, 0);
    QCOMPARE(csv::unguarded(csv::guarded("=1+1")), QByteArray("=1+1"));

    const QByteArray sjis = buildLogCsv(book, CsvEncoding::Cp932).bytes;
    QVERIFY(sjis.startsWith(",\x93\xfa\x95\x74,")); // no byte-order mark; 日付 in cp932
    QVERIFY(sjis.contains(",\xB1\xBC\xB5,"));       // ｱｼｵ as the log holds it
}

void TestLogCsv::cp932KeepsEveryByte()
{
    QByteArray canonical, duplicates;
    allDoubleByteCodes(canonical, duplicates);
    // Backslash trails (ソ 表), NEC row 13 and both IBM ranges, formula starts, every
    // line end, quotes and commas, a half-width area and an empty comment.
    const LogBook book = bookOf({
        flight("\x87\x40\x87\x90\x87\x9A\x83\x5C\x95\x5C", canonical),
        flight("\xED\x40\xEE\xEC\xFA\x5C\xFC\x4B", duplicates),
        flight("=SUM(A1)", "+1\r\n-2\n@3\r\"x\",,y'", "-0.4 m/s"),
        flight("\xB1\xBC\xB5", ""),
    });
    const LogCsv csvFile = buildLogCsv(book, CsvEncoding::Cp932);
    QCOMPARE(parseLogCsv(csvFile.bytes).encoding, CsvEncoding::Cp932);
    QCOMPARE(importedImage(csvFile.bytes), buildLogImage(book));
}

void TestLogCsv::formulaStartsAreGuardedAndComeBack_data()
{
    // A comment as the pilot typed it; whether a spreadsheet would run it as a formula.
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("guarded");
    for (const char *text : {"=1+1", "+81 90", "-2", "@SUM(A1)", "\t=1+1", "\r=1+1", "\n=1+1", "＝1+1", "＋1", "－1",
                             "＠SUM(A1)", "'quoted"})
        QTest::addRow("guarded: %s", text) << QString::fromUtf8(text) << true;
    for (const char *text : {"サーマル良好。", "a=1", ""})
        QTest::addRow("as it is: %s", text) << QString::fromUtf8(text) << false;
}

void TestLogCsv::formulaStartsAreGuardedAndComeBack()
{
    QFETCH(QString, comment);
    QFETCH(bool, guarded);
    const QByteArray bytes = cp932::fromUnicode(comment);
    const LogBook book = bookOf({flight("\xB1\xBC\xB5", bytes)});
    for (const CsvEncoding encoding : {CsvEncoding::Cp932, CsvEncoding::Utf8}) {
        const QByteArray csvBytes = buildLogCsv(book, encoding).bytes;
        const QByteArray cell = encoding == CsvEncoding::Cp932 ? bytes : comment.toUtf8();
        // The comment's cell, quoted when it holds a line end, with or without the guard.
        const QByteArray written = cell.contains('\r') || cell.contains('\n') ? "\"'" + cell + '"' : "'" + cell;
        QCOMPARE(csvBytes.contains(',' + written + ','), guarded);
        QCOMPARE(importedImage(csvBytes), buildLogImage(book));
    }
}

void TestLogCsv::utf8KeepsCanonicalCodesAndFoldsDuplicates()
{
    QByteArray canonical, duplicates;
    allDoubleByteCodes(canonical, duplicates);
    qInfo("cp932 double-byte codes: %lld canonical, %lld duplicates", canonical.size() / 2, duplicates.size() / 2);
    QVERIFY(duplicates.contains("\xED\x40") && duplicates.contains("\x87\x90")); // NEC-selected IBM, NEC row 13

    const LogBook kept = bookOf({flight("\x87\x40\x83\x5C", canonical), flight("=x", "a,\"b\"\r\nc")});
    const LogCsv keptCsv = buildLogCsv(kept, CsvEncoding::Utf8);
    QCOMPARE(keptCsv.cellsChangedByUtf8, 0);
    QCOMPARE(importedImage(keptCsv.bytes), buildLogImage(kept));

    // Each duplicate comes back as the code its character encodes to, and is counted.
    const LogBook folded = bookOf({flight("\x87\x90", duplicates)});
    const LogCsv foldedCsv = buildLogCsv(folded, CsvEncoding::Utf8);
    QCOMPARE(foldedCsv.cellsChangedByUtf8, 2);
    const LogCsvContents back = parseLogCsv(foldedCsv.bytes);
    QVERIFY(back.isReadable());
    QCOMPARE(back.flights.at(0).area, QByteArray("\x81\xE0"));
    QCOMPARE(back.flights.at(0).comment.bytes(), cp932::fromUnicode(cp932::toUnicode(duplicates)));
}

void TestLogCsv::spreadsheetVariantsRead()
{
    const QByteArray header = QStringLiteral(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ").toUtf8();
    // UTF-8 without a byte-order mark, LF line ends, quoted titles, blank lines at the end;
    // the row number is the list's own and is not read.
    const QByteArray utf8 = "\"\"," + header.mid(1) + "\n99,24/05/03,10:21:05,\"足尾山\",01:00:00,0987 m,3.4 m/s,,\n\n\n";
    const LogCsvContents a = parseLogCsv(utf8);
    QVERIFY(a.isReadable());
    QCOMPARE(a.encoding, CsvEncoding::Utf8);
    QCOMPARE(a.flights.size(), size_t(1));
    QCOMPARE(a.flights[0].area, cp932::fromUnicode(u"足尾山"));
    QVERIFY(a.flights[0].number.isEmpty());
}

void TestLogCsv::everyBadLineIsNamedAndNothingIsRead()
{
    const QByteArray header = QStringLiteral(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n").toUtf8();
    const QByteArray good = "1,24/05/03,10:21:05,a,01:00:00,0987 m,3.4 m/s,\"two\r\nlines\",\r\n";
    const QByteArray text = header + good                                   // lines 2-3
                            + "2,24/05/03,10:21:05,a,01:00:00\r\n"            // 4: five cells
                            + "3,24/05/03,10:21:05,\"a\"b,,,,,\r\n"           // 5: text after a quote
                            + "4,24/05/03,10:21:05,12345678901234567890123456,,,,,\r\n" // 6: area too long
                            + "5,24/05/03,10:21:05,\xF0\xA0\x80\x8B,,,,,\r\n" // 7: no cp932 code
                            + good                                            // 8-9
                            + "8,24/05/03,10:21:05,a,,,,,flights.LOG\r\n"    // 10: names a log
                            + "6,x\"y,,,,,,,\r\n"                             // 11: stray quote
                            + "7,\"never closed,,,,,,,\r\n";                  // 12: to the end
    const LogCsvContents c = parseLogCsv(text);
    QVERIFY(!c.isReadable());
    QList<int> lines;
    for (const CsvLineProblem &p : c.problems)
        lines << p.line;
    QCOMPARE(lines, (QList<int>{4, 5, 6, 7, 10, 11, 12}));
    QVERIFY(describeProblems(c.problems).startsWith(QStringLiteral("4行目：欄が5個あります（9個のはずです）。\n")));
    QVERIFY(describeProblems(c.problems).contains(QStringLiteral("6行目：「エリア」が長すぎます（半角24文字までです）。")));
    QVERIFY(describeProblems(c.problems).contains(
        QStringLiteral("10行目：バログラフファイル名「flights.LOG」は使えません。ログファイルかその付属ファイルの名前です。")));

    QCOMPARE(parseLogCsv("number,date\r\n").problems.at(0).line, 1); // not our header
    QCOMPARE(parseLogCsv("").problems.at(0).line, 1);
}

void TestLogCsv::timesAreKeptAsTheLogWritesThemOrRefused()
{
    const QByteArray header = QStringLiteral(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n").toUtf8();
    const LogCsvContents c = parseLogCsv(header + "1,24/05/03,9:05:07,a,1:30:00,0987 m,3.4 m/s,,\r\n"
                                         + "2,24/05/04,,b,,,,,\r\n");
    QVERIFY(c.isReadable());
    QCOMPARE(c.flights[0].time, "09:05:07");
    QCOMPARE(c.flights[0].duration, "01:30:00");
    QCOMPARE(c.flights[1].duration, ""); // no time given stays none

    const LogCsvContents bad = parseLogCsv(header + "1,24/05/03,10:21:05,a,01:00:00,,,,\r\n"
                                           + "2,24/05/04,10:21:05,b,1:75:00,,,,\r\n");
    QVERIFY(bad.flights.size() == 1 && !bad.isReadable());
    QCOMPARE(describeProblems(bad.problems), QStringLiteral("3行目：「滞空時間」が時:分:秒（例 01:30:00）として読めません。"));
}

QTEST_GUILESS_MAIN(TestLogCsv)
#include "tst_logcsv.moc"
