// duvazi-tool end to end: show in its three formats, copy byte for byte, damaged input.
#include "tests/common/toolrun.h"

#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

using Run = ToolRun;

Run tool(const QStringList &args)
{
    return runTool(args);
}

QString data(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/logbook/") + QLatin1String(name);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDuvaziTool : public QObject {
    Q_OBJECT
private slots:
    void helpListsEveryVerb();
    void showJsonDecodesJapanese();
    void showJsonNameIsNullWithoutNameFile();
    void showCsvQuotesComments();
    void copyIsByteIdentical();
    void damagedFilesFail_data();
    void damagedFilesFail();
    void sortAndMergeRenumberAndReportDuplicates();
    void totalsSortFirstAndSayDuplicates();
    void writingOverALogKeepsTheOldOneAndFailuresExitOne();
    void csvExportImportRoundTrip();
    void deleteNeverTakesTheLogARowNames();
    void csvOpensInLibreOffice();
    void excludeAndCarrySaveTheCompanion();
    void csvDurationCountsAsItReads();
    void wrongUsage();
    void aLogMergedWithItselfLeavesOutOnlyTheRowLeftOut();
    void aDamagedCompanionBesideABareLogNameIsKeptInBak();
    void printedBookShowsEveryFigureWhole();
};

void TestDuvaziTool::showJsonDecodesJapanese()
{
    const Run r = tool({"log", "show", data("three-flights.log"), "--json"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(root.value("name").toString(), QStringLiteral("春の足尾山"));
    const QJsonArray rows = root.value("rows").toArray();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0].toObject().value("date").toString(), QStringLiteral("日付"));
    const QJsonObject first = rows[1].toObject();
    QCOMPARE(first.value("area").toString(), QStringLiteral("足尾山"));
    QCOMPARE(first.value("maxAltitude").toString(), QStringLiteral("0987 m"));
    QCOMPARE(first.value("barographFile").toString(), QStringLiteral("24050310.BRG"));
    QCOMPARE(rows[3].toObject().value("area").toString(), QStringLiteral("①≒∵ソ表"));
    QCOMPARE(first.keys().size(), 9);
}

void TestDuvaziTool::showJsonNameIsNullWithoutNameFile()
{
    const Run r = tool({"log", "show", data("empty.log"), "--json"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(QJsonDocument::fromJson(r.out).object().value("name").isNull());
}

void TestDuvaziTool::showCsvQuotesComments()
{
    const Run r = tool({"log", "show", data("three-flights.log"), "--csv"});
    QCOMPARE(r.exitCode, 0);
    const QString text = QString::fromUtf8(r.out);
    QVERIFY(text.startsWith(QStringLiteral("number,date,time,area,duration,maxAltitude,maxClimb,comment,barographFile\r\n")));
    QVERIFY(text.contains(QStringLiteral("\"サーマル良好。\r\n南東の風 2m/s\"")));
    const Run plain = tool({"log", "show", data("three-flights.log")});
    QCOMPARE(plain.exitCode, 0);
    QCOMPARE(plain.out.count('\n'), 5); // header and four rows, line breaks escaped
}

void TestDuvaziTool::helpListsEveryVerb()
{
    // --help answers on standard output and succeeds; no arguments is a usage error.
    const Run help = tool({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.err.isEmpty());
    for (const char *verb : {"log show", "baro render", "send name", "download --port"})
        QVERIFY2(help.out.contains(QByteArray("duvazi-tool ") + verb), verb);
    const Run none = tool({});
    QCOMPARE(none.exitCode, 2);
    QVERIFY(none.out.isEmpty() && none.err.startsWith("usage: duvazi-tool"));
}

void TestDuvaziTool::copyIsByteIdentical()
{
    QTemporaryDir dir;
    const Run r = tool({"log", "copy", data("three-flights.log"), dir.filePath("copy.log")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(readAll(dir.filePath("copy.log")), readAll(data("three-flights.log")));
    QCOMPARE(readAll(dir.filePath("copy.lif")), readAll(data("three-flights.lif")));
}

void TestDuvaziTool::damagedFilesFail_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("header") << data("damaged-header.log") << QStringLiteral("壊れていて読み込めません");
    QTest::newRow("inside a record") << data("damaged-inside-record.log") << QStringLiteral("3件のログのうち2件");
    QTest::newRow("count") << data("damaged-count.log") << QStringLiteral("8件のログのうち3件");
    QTest::newRow("missing") << data("no-such.log") << QStringLiteral("LOGファイルが開けません。");
}

void TestDuvaziTool::damagedFilesFail()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const Run show = tool({"log", "show", file, "--json"});
    QCOMPARE(show.exitCode, 1);
    QVERIFY(show.out.isEmpty());
    QVERIFY2(QString::fromUtf8(show.err).contains(message), show.err.constData());
    const Run copy = tool({"log", "copy", file, dir.filePath("out.log")});
    QCOMPARE(copy.exitCode, 1);
    QVERIFY(!QFile::exists(dir.filePath("out.log")));
}

void TestDuvaziTool::sortAndMergeRenumberAndReportDuplicates()
{
    QTemporaryDir dir;
    const Run sorted = tool({"log", "sort", data("three-flights.log"), dir.filePath("sorted.log")});
    QCOMPARE(sorted.exitCode, 0);
    QVERIFY(sorted.err.isEmpty());
    const QJsonArray rows = QJsonDocument::fromJson(tool({"log", "show", dir.filePath("sorted.log"), "--json"}).out)
                                .object().value("rows").toArray();
    QCOMPARE(rows[1].toObject().value("date").toString(), QStringLiteral("99/12/31"));
    QCOMPARE(rows[1].toObject().value("number").toString(), QStringLiteral("1"));
    QCOMPARE(rows[3].toObject().value("number").toString(), QStringLiteral("3"));
    QCOMPARE(readAll(dir.filePath("sorted.lif")), readAll(data("three-flights.lif")));

    const Run merged = tool({"log", "merge", data("three-flights.log"), data("three-flights.log"), dir.filePath("m.log")});
    QCOMPARE(merged.exitCode, 0);
    QCOMPARE(QString::fromUtf8(merged.err).count(QStringLiteral("同一日時のログがあります。")), 1);
    const QJsonArray all = QJsonDocument::fromJson(tool({"log", "show", dir.filePath("m.log"), "--json"}).out)
                               .object().value("rows").toArray();
    QCOMPARE(all.size(), 7);
    QCOMPARE(all[6].toObject().value("number").toString(), QStringLiteral("6"));
    QCOMPARE(tool({"log", "merge", data("three-flights.log"), data("damaged-count.log"), dir.filePath("x.log")}).exitCode, 1);
    QVERIFY(!QFile::exists(dir.filePath("x.log")));
}

void TestDuvaziTool::totalsSortFirstAndSayDuplicates()
{
    // Out of order, a duplicate date and time, a blank date, a year beyond 99 hours.
    LogBook book;
    const char *const flights[][3] = {{"98/04/11", "12:00:00", "60:00:00"}, {"  /  /  ", "  :  :  ", "00:10:00"},
                                      {"98/04/11", "12:00:30", "40:00:10"}, {"97/05/03", "10:00:00", "01:00:00"}};
    for (const auto &[date, time, duration] : flights) {
        FlightRecord &r = book.appendRow();
        r.date = date;
        r.time = time;
        r.duration = duration;
        r.comment = "a\r\nb";
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("mixed.log");
    QCOMPARE(saveLogBook(book, path, QByteArray("mixed")).outcome, LogSaveResult::Outcome::Written);
    const QByteArray before = readAll(path);

    const Run json = tool({"log", "totals", path, "--json"});
    QCOMPARE(json.exitCode, 0);
    QVERIFY(QString::fromUtf8(json.err).contains(QStringLiteral("同一日時のログがあります。")));
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(root.value("duplicates").toBool(), true);
    QStringList rows;
    for (const QJsonValue &row : root.value("rows").toArray()) {
        const QJsonArray cells = row.toObject().value("cells").toArray();
        QCOMPARE(cells.size(), 9);
        rows << row.toObject().value("kind").toString() + u'|' + cells[0].toString() + u'|' + cells[1].toString()
                    + u'|' + cells[4].toString();
    }
    // The sort puts a date without numbers first; the totals count it in 2000.
    QCOMPARE(rows, QStringList({"flight|1|  /  /  |00:10:00", "month||     0月|00:10:00", "year||  2000年|00:10:00",
                                "flight|2|97/05/03|01:00:00", "month||     5月|01:00:00", "year||  1997年|01:00:00",
                                "flight|3|98/04/11|60:00:00", "flight|4|98/04/11|40:00:10",
                                "month||     4月|100:00:10", "year||  1998年|100:00:10"}));
    // The text form: the same rows under the field names, one line each; the file untouched.
    const Run text = tool({"log", "totals", path});
    QCOMPARE(text.exitCode, 0);
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 1 + rows.size());
    QVERIFY(lines[1].endsWith("00:10:00\t\t\ta\\nb\t"));
    QCOMPARE(lines[2].split('\t').size(), 9);
    QCOMPARE(readAll(path), before);
}

void TestDuvaziTool::writingOverALogKeepsTheOldOneAndFailuresExitOne()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("spring.log");
    QCOMPARE(tool({"log", "copy", data("three-flights.log"), log}).exitCode, 0);
    const QByteArray before = readAll(log);
    // Sorting a log onto itself keeps the version it replaced, as the window's Save does.
    QCOMPARE(tool({"log", "sort", log, log}).exitCode, 0);
    QVERIFY(readAll(log) != before);
    QCOMPARE(readAll(dir.filePath("bak/spring.log")), before);

    // A folder where the output would go: nothing written, the reason on the second line.
    QVERIFY(QDir(dir.path()).mkdir("taken.log"));
    const Run refused = tool({"log", "copy", log, dir.filePath("taken.log")});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(QString::fromUtf8(refused.err).contains(QStringLiteral("LOGファイルが開けません。\n同じ名前のフォルダーがあります。")),
             refused.err.constData());

    // Output that cannot be written is a failure, not a success.
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(DUVAZI_TOOL), {"log", "show", log});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("ディスクの空き容量が足りません。")));
}

void TestDuvaziTool::csvExportImportRoundTrip()
{
    QTemporaryDir dir;
    const QString sjis = dir.filePath("log.csv"), utf8 = dir.filePath("log-utf8.csv");
    // cp932 gives the same log back byte for byte: kanji, NEC and IBM codes, a comment with
    // a line break. UTF-8 says that one field (an IBM code that has a twin) will not.
    QCOMPARE(tool({"log", "export", data("three-flights.log"), "--csv", sjis, "--encoding", "cp932"}).exitCode, 0);
    const Run u = tool({"log", "export", data("three-flights.log"), "--csv", utf8});
    QCOMPARE(u.exitCode, 0);
    QVERIFY(readAll(utf8).startsWith("\xEF\xBB\xBF"));
    QVERIFY(QString::fromUtf8(u.err).contains(QStringLiteral("1個の欄")));
    QCOMPARE(tool({"log", "import", sjis, dir.filePath("new.log")}).exitCode, 0);
    QCOMPARE(readAll(dir.filePath("new.log")), readAll(data("three-flights.log")));

    // Into an existing log: added after its flights, duplicates said, the old file kept.
    const Run again = tool({"log", "import", utf8, dir.filePath("new.log")});
    QCOMPARE(again.exitCode, 0);
    QVERIFY(QString::fromUtf8(again.err).contains(QStringLiteral("同一日時のログがあります。")));
    QCOMPARE(readAll(dir.filePath("bak/new.log")), readAll(data("three-flights.log")));
    std::optional<LogFileContents> merged = readLogFile(dir.filePath("new.log"));
    QVERIFY(merged && merged->isComplete());
    QCOMPARE(merged->records.size(), size_t(7));
    QCOMPARE(merged->records[6].number, "6");

    // A file with a bad line adds nothing and names it.
    QFile bad(dir.filePath("bad.csv"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(readAll(sjis) + "4,\"open\r\n");
    bad.close();
    const Run refused = tool({"log", "import", bad.fileName(), dir.filePath("new.log")});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(QString::fromUtf8(refused.err).contains(QStringLiteral("6行目：")) /* the first flight spans two lines */, refused.err.constData());
    QCOMPARE(readLogFile(dir.filePath("new.log"))->records.size(), size_t(7));
}

// A row naming the log itself (as a CSV import once could make): its delete with
// --barographs takes the row, never the log, and says why.
void TestDuvaziTool::deleteNeverTakesTheLogARowNames()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("F.log");
    LogBook book;
    loadContents(book, std::move(*readLogFile(data("three-flights.log"))));
    book.row(1).barographFile = "F.log";
    QVERIFY(saveLogBook(book, log, "F").outcome == LogSaveResult::Outcome::Written);
    const Run r = tool({"log", "delete", log, "--row", "1", "--barographs"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(QString::fromUtf8(r.err).contains(QStringLiteral("を削除できませんでした。\n1行目のログ：バログラフファイル名「F.log」は使えません。"
                                                              "ログファイルかその付属ファイルの名前です。")), r.err.constData());
    QCOMPARE(readLogFile(log).value_or(LogFileContents()).records.size(), size_t(3)); // the titles and two flights
}

void TestDuvaziTool::csvDurationCountsAsItReads()
{
    // "1:30:00" is an hour and a half in the stored field and in every figure made of it.
    QTemporaryDir dir;
    QFile csvFile(dir.filePath("one.csv"));
    QVERIFY(csvFile.open(QIODevice::WriteOnly));
    csvFile.write(QStringLiteral(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n"
                                 "1,24/05/03,10:21:05,Ashio,1:30:00,0987 m,3.4 m/s,,\r\n").toUtf8());
    csvFile.close();
    const QString log = dir.filePath("one.log");
    QCOMPARE(tool({"log", "import", csvFile.fileName(), log}).exitCode, 0);
    QCOMPARE(readLogFile(log)->records[1].duration, "01:30:00");
    const Run stats = tool({"log", "stats", log});
    QVERIFY2(stats.out.contains("total\t1 flights\t01:30:00\n"), stats.out.constData());
    const Run totals = tool({"log", "totals", log});
    QCOMPARE(totals.out.count("\t01:30:00"), 3); // the flight, its month, its year
}

void TestDuvaziTool::csvOpensInLibreOffice()
{
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed");
    QTemporaryDir dir;
    const QString csvPath = dir.filePath("flights.csv");
    QCOMPARE(tool({"log", "export", data("three-flights.log"), "--csv", csvPath}).exitCode, 0);
    // Calc opens the file (UTF-8, comma, quoted cells as text) and converts it: the text
    // survives, line breaks inside cells and formula-like cells included.
    QProcess p;
    p.start(office, {"--headless", "-env:UserInstallation=file://" + dir.filePath("profile"), "--infilter=CSV:44,34,76",
                     "--convert-to", "html", "--outdir", dir.filePath("out"), csvPath});
    QVERIFY(p.waitForFinished(240000));
    const QString html = QString::fromUtf8(readAll(dir.filePath("out/flights.html")));
    QVERIFY2(!html.isEmpty(), p.readAllStandardError().constData());
    for (const QString &text : {QStringLiteral("足尾山"), QStringLiteral("①≒∵ソ表"), QStringLiteral("サーマル良好。"),
                                QStringLiteral("南東の風 2m/s"), QStringLiteral("ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ"), QStringLiteral("0987 m")})
        QVERIFY2(html.contains(text), qPrintable(text));
}

// What the statistics count beyond the rows, each set in one save that keeps the log's rows
// and the other setting; an unreadable time or a missing row changes nothing.
void TestDuvaziTool::excludeAndCarrySaveTheCompanion()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("spring.log");
    const QString companion = dir.filePath("spring.duvazi.json");
    QCOMPARE(tool({"log", "copy", data("three-flights.log"), log}).exitCode, 0);
    const auto stats = [&] { return QJsonDocument::fromJson(tool({"log", "stats", log, "--json"}).out).object(); };

    QCOMPARE(tool({"log", "exclude", log, "--row", "2"}).exitCode, 0);
    QCOMPARE(stats().value("excluded").toInt(), 1);
    QCOMPARE(readAll(log), readAll(data("three-flights.log")));
    QCOMPARE(tool({"log", "carry", log, "--flights", "40", "--time", "123:45:06"}).exitCode, 0);
    QCOMPARE(tool({"log", "exclude", log, "--row", "2", "--include"}).exitCode, 0);
    const QJsonObject after = stats();
    QCOMPARE(after.value("excluded").toInt(), 0);
    QCOMPARE(after.value("carriedOver").toObject().value("flights").toInt(), 40);
    QCOMPARE(after.value("carriedOver").toObject().value("seconds").toDouble(), 123 * 3600 + 45 * 60 + 6.0);

    const QByteArray kept = readAll(companion);
    const Run badTime = tool({"log", "carry", log, "--flights", "1", "--time", "1:60"});
    QCOMPARE(badTime.exitCode, 2);
    QVERIFY2(QString::fromUtf8(badTime.err).contains(QStringLiteral("時:分:秒")), badTime.err.constData());
    QCOMPARE(tool({"log", "exclude", log, "--row", "4"}).exitCode, 1);
    QCOMPARE(readAll(companion), kept);
}

void TestDuvaziTool::wrongUsage()
{
    QCOMPARE(tool({}).exitCode, 2);
    QCOMPARE(tool({"log", "show"}).exitCode, 2);
    QCOMPARE(tool({"log", "show", "a", "--xml"}).exitCode, 2);
}

void TestDuvaziTool::aLogMergedWithItselfLeavesOutOnlyTheRowLeftOut()
{
    QTemporaryDir dir;
    const QString merged = dir.filePath("twice.log");
    QCOMPARE(tool({"log", "merge", data("three-flights.log"), data("three-flights.log"), merged}).exitCode, 0);
    LogBook book;
    loadContents(book, *readLogFile(merged));
    QCOMPARE(book.rowCount(), 7);
    book.row(5).excludedFromStatistics = true; // the twin of row 2
    QCOMPARE(saveLogBook(book, merged, "n").outcome, LogSaveResult::Outcome::Written);
    const Run stats = tool({"log", "stats", merged, "--json"});
    QCOMPARE(stats.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(stats.out).object().value("excluded").toInt(), 1);
}

void TestDuvaziTool::aDamagedCompanionBesideABareLogNameIsKeptInBak()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(data("three-flights.log"), dir.filePath("F.log")));
    QFile damaged(dir.filePath("F.duvazi.json"));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"version\": ") > 0);
    damaged.close();
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const Run shown = tool({"log", "show", "F.log"});
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(shown.exitCode, 0);
    QVERIFY(QString::fromUtf8(shown.err).contains(QStringLiteral("bakに残しています")));
    QCOMPARE(QDir(dir.filePath("bak")).entryList({"F.duvazi.json.*.damaged"}).size(), 1);
}

// A life of flying carried over into the log (five-digit hours) and whole barograph names:
// the PDF's text, read back with pdftotext, shows every figure whole, and the last page's
// "累計" is what "log stats" counts.
void TestDuvaziTool::printedBookShowsEveryFigureWhole()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString log = dir.filePath("life.log");
    const QString pdf = dir.filePath("life.pdf");
    QCOMPARE(tool({"log", "copy", data("three-flights.log"), log}).exitCode, 0);
    QCOMPARE(tool({"log", "carry", log, "--flights", "19997", "--time", "49725:00:00"}).exitCode, 0);
    QCOMPARE(tool({"log", "print", log, "--out", pdf}).exitCode, 0);
    const QJsonObject stats = QJsonDocument::fromJson(tool({"log", "stats", log, "--json"}).out).object();
    const qint64 seconds = qint64(stats["total"]["seconds"].toDouble()); // what was carried over included
    QProcess read;
    read.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(read.waitForFinished(30000));
    const QString text = QString::fromUtf8(read.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("累計")), qPrintable(text.left(400)));
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    const QString last = pages.constLast();
    const QString cumulative = last.mid(last.indexOf(QStringLiteral("累計")));
    QVERIFY2(cumulative.contains(QString::fromLatin1(numtext::clockText(seconds))), qPrintable(cumulative));
    QVERIFY2(cumulative.contains(QStringLiteral("%1 件").arg(stats["total"]["flights"].toInt())), qPrintable(cumulative));
    const QJsonArray rows = QJsonDocument::fromJson(tool({"log", "show", log, "--json"}).out).object()["rows"].toArray();
    QCOMPARE(rows.size(), 4); // the titles and three flights
    QStringList names;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QJsonObject row = rows[r].toObject();
        for (const char *figure : {"date", "time", "duration", "barographFile"})
            QVERIFY2(text.contains(row[QLatin1String(figure)].toString()), figure);
        names << row["barographFile"].toString();
    }
    // Only a comment may be cut: what follows a "…" is at most the row's barograph name.
    for (const QString &line : text.split(u'\n')) {
        const qsizetype cut = line.indexOf(QChar(0x2026));
        if (cut >= 0)
            QVERIFY2(line.mid(cut + 1).trimmed().isEmpty() || names.contains(line.mid(cut + 1).trimmed()), qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(TestDuvaziTool)
#include "tst_duvazitool.moc"
