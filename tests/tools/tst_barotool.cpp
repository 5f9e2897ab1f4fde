// duvazi-tool's barograph verbs end to end: the statistics against their golden file, the
// rendered picture and PDF page, the view after operations, edits saved exactly as the
// window saves them, refused files and wrong usage.
#include "barograph/core/barographfile.h"
#include "barograph/core/barographsession.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/sitesfile.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/logfile.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "tests/common/toolrun.h"

#include <QFile>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using Run = ToolRun;

Run tool(const QStringList &args)
{
    return runTool(args);
}

QString data(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

int pixelsOf(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

class TestBaroTool : public QObject {
    Q_OBJECT
private slots:
    void statsMatchTheGoldenFile();
    void statsText();
    void climbsJsonIsTheAnalysis();
    void refusedFilesFail_data();
    void refusedFilesFail();
    void everyReaderRefusesWhatIsNoFileOrTooLarge_data();
    void everyReaderRefusesWhatIsNoFileOrTooLarge();
    void renderDrawsTheWindowsPicture();
    void renderWithTheFlightsRow();
    void renderReportsAnUnwritablePicture();
    void renderPdfAsThePrint();
    void viewAfterOperations();
    void editsSaveAsTheWindowDoes();
    void revertPutsBackTheDownloadedFileAndRow();
    void exportWritesAnIgcAtTheSite();
    void wrongUsage_data();
    void wrongUsage();
};

void TestBaroTool::statsMatchTheGoldenFile()
{
    const Run r = tool({"baro", "stats", data("barograph/V7081114.V35"), "--json"});
    QCOMPARE(r.exitCode, 0);
    const QString golden = data("barograph/V7081114.V35.stats.expected");
    // Regenerating the golden file is deliberate: DUVAZI_REGENERATE=1, then review the diff.
    if (qEnvironmentVariableIsSet("DUVAZI_REGENERATE")) {
        QFile f(golden);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(r.out);
    }
    QFile f(golden);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(r.out, f.readAll());
}

void TestBaroTool::statsText()
{
    const Run r = tool({"baro", "stats", data("barograph/lf-only.V01")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains("marks            1 3\n"));
    QVERIFY(r.out.contains("axisAltMin       0\n"));
    QVERIFY(r.out.contains("axisAltMax       1000\n"));
    QVERIFY(r.out.contains("peakAltitude     987.6\n"));
}

void TestBaroTool::climbsJsonIsTheAnalysis()
{
    const Run r = tool({"baro", "climbs", data("barograph/V7081114.V35"), "--json"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    const FlightAnalysis a = analyseFlight(BarographTrace::fromFile(*readBarographFile(data("barograph/V7081114.V35"))));
    QCOMPARE(json.value("takeoff").toDouble(), *a.takeoff);
    QCOMPARE(json.value("landing").toDouble(), *a.landing);
    const QJsonArray climbs = json.value("climbs").toArray();
    QCOMPARE(climbs.size(), qsizetype(a.climbs.size()));
    QVERIFY(!climbs.isEmpty());
    for (const char *key : {"start", "end", "baseAltitude", "topAltitude", "gain", "meanClimb", "bestClimb30s"})
        QVERIFY2(climbs.last().toObject().contains(QLatin1String(key)), key);
    QCOMPARE(climbs.last().toObject().value("end").toDouble(), a.climbs.back().end);
    QCOMPARE(json.value("histogram").toArray().size(), qsizetype(a.histogram.size()));
    for (const char *key : {"climbingShare", "totalClimb", "bestClimb30s", "maxSink30s"})
        QVERIFY2(json.value(QLatin1String(key)).isDouble(), key);
}

void TestBaroTool::refusedFilesFail_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("missing") << data("barograph/missing.V00");
    QTest::newRow("not a barograph") << data("barograph/make_samples.py");
    QTest::newRow("a log file") << data("logbook/three-flights.log");
}

void TestBaroTool::refusedFilesFail()
{
    QFETCH(QString, file);
    const Run r = tool({"baro", "stats", file});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.contains(QStringLiteral("バログラフファイルが開けません。").toUtf8()));
}

void TestBaroTool::everyReaderRefusesWhatIsNoFileOrTooLarge_data()
{
    // Each reader of the tool, with IN where the input goes; and what stands at IN.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("input");
    const QString log = data("logbook/three-flights.log"), baro = data("barograph/V7081114.V35");
    const struct {
        const char *name;
        QStringList args;
        QString message;
        qint64 limit;
    } readers[] = {
        {"log show", {"log", "show", "IN"}, QStringLiteral("LOGファイルが開けません。"), kMaxLogFileBytes},
        {"log import", {"log", "import", "IN", "OUT"}, QStringLiteral("CSVファイルが開けません。"), kMaxCsvFileBytes},
        {"baro stats", {"baro", "stats", "IN"}, QStringLiteral("バログラフファイルが開けません。"), barofile::kMaxFileBytes},
        {"baro correct", {"baro", "correct", "IN", "--zero", "--out", "OUT"}, QStringLiteral("バログラフファイルが開けません。"),
         barofile::kMaxFileBytes},
        {"baro export sites", {"baro", "export", baro, "--igc", "OUT", "--log", log, "--row", "1", "--sites", "IN"},
         QStringLiteral("サイトファイルが開けません。"), kMaxSitesFileBytes},
    };
    for (const auto &r : readers) {
        for (const char *input : {"/dev/zero", "pipe", "oversized"})
            QTest::addRow("%s, %s", r.name, input) << r.args << r.message << r.limit << QString::fromLatin1(input);
    }
    QTest::addRow("baro correct, out to a pipe") << QStringList{"baro", "correct", baro, "--zero", "--out", "IN"}
                                                  << QStringLiteral("バログラフファイルが開けません。") << qint64(0)
                                                  << QStringLiteral("pipe");
}

void TestBaroTool::everyReaderRefusesWhatIsNoFileOrTooLarge()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QFETCH(qint64, limit);
    QFETCH(QString, input);
    QTemporaryDir dir;
    QString in = input;
    if (input == u"pipe") {
        in = dir.filePath("in");
        QVERIFY(::mkfifo(QFile::encodeName(in).constData(), 0600) == 0);
    } else if (input == u"oversized") {
        in = dir.filePath("in");
        QFile big(in);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(limit + 1)); // sparse: nothing is written
    }
    args.replaceInStrings(QStringLiteral("OUT"), dir.filePath("out.log"));
    args.replaceInStrings(QStringLiteral("IN"), in);
    // A reader that waited for the pipe's writer or read /dev/zero to its end would not come
    // back; runTool gives up after 30 s.
    const Run r = tool(args);
    QCOMPARE(r.exitCode, 1);
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.contains(message + u'\n'), r.err.constData());
    QVERIFY2(err.contains(input == u"oversized" ? QStringLiteral("ファイルが大きすぎます（") : QStringLiteral("通常のファイルではありません")),
             r.err.constData());
    QVERIFY(!QFile::exists(dir.filePath("out.log")));
}

void TestBaroTool::renderDrawsTheWindowsPicture()
{
    QTemporaryDir dir;
    QCOMPARE(tool({"baro", "render", data("barograph/V7081114.V35"), "--out", dir.filePath("c.png")}).exitCode, 0);
    const QImage colour(dir.filePath("c.png"));
    QCOMPARE(colour.size(), QSize(640, 766));
    QVERIFY(pixelsOf(colour, qRgb(0, 0, 255)) > 500);

    QCOMPARE(tool({"baro", "render", data("barograph/V7081114.V35"), "--out", dir.filePath("m.png"), "--mono",
                   "--width", "1000"})
                 .exitCode,
             0);
    const QImage mono(dir.filePath("m.png"));
    QCOMPARE(mono.size(), QSize(1000, 766));
    QCOMPARE(pixelsOf(mono, qRgb(0, 0, 255)), 0);
}

void TestBaroTool::renderWithTheFlightsRow()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("f.png");
    const QStringList base = {"baro", "render", data("barograph/V7081114.V35"), "--out", out};
    QCOMPARE(tool(base + QStringList{"--log", data("logbook/three-flights.log"), "--row", "1"}).exitCode, 0);
    QVERIFY(QImage(out).width() == 640);
    const Run noRow = tool(base + QStringList{"--log", data("logbook/three-flights.log"), "--row", "9"});
    QCOMPARE(noRow.exitCode, 1);
}

void TestBaroTool::renderReportsAnUnwritablePicture()
{
    QTemporaryDir dir;
    const Run r = tool({"baro", "render", data("barograph/V7081114.V35"), "--out", dir.filePath("no/such/folder.png")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("cannot write"));
}

void TestBaroTool::renderPdfAsThePrint()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    QCOMPARE(tool({"baro", "render", data("barograph/V7081114.V35"), "--out", pdf, "--view", "zoom-in-h"}).exitCode, 0);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("%PDF"));
    // The page as a picture: A4 with the graph centred on 90 % of its width.
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    QProcess p;
    p.start(pdftoppm, {"-r", "50", "-png", "-singlefile", pdf, dir.filePath("page")});
    QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
    const QImage page(dir.filePath("page.png"));
    QCOMPARE(page.size(), QSize(414, 585));
    QVERIFY(pixelsOf(page, qRgb(0, 0, 255)) > 100);
    int left = page.width();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < left; ++x)
            if (qGray(page.pixel(x, y)) < 128)
                left = x;
    QVERIFY2(left >= 18 && left < 60, qPrintable(QString::number(left)));
}

void TestBaroTool::viewAfterOperations()
{
    // From 1741 samples: halved (870), then a left drag of 35 pixels around the middle of
    // the altitude panel (870, 696, 556, 444).
    const Run r = tool({"baro", "view", data("barograph/V7081114.V35"), "zoom-in-h", "rubber", "329,405:364,405",
                        "scroll-up", "--json"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains("\"viewSamples\": 444,\n"));
    QVERIFY(r.out.contains("\"viewSeconds\": 886,\n"));
    QVERIFY(r.out.contains("\"timeTick\": 120,\n"));
    QVERIFY(r.out.endsWith("\"altTick\": 500\n}\n"));
    const Run pan = tool({"baro", "view", data("barograph/V7081114.V35"), "zoom-in-h", "pan", "300,400:600,400",
                          "--json"});
    QVERIFY(pan.out.contains("\"viewStart\": 0,\n"));
}

void TestBaroTool::editsSaveAsTheWindowDoes()
{
    QTemporaryDir dir;
    const QString work = dir.path() + u'/';
    const QString file = work + "24050310.BRG"; // the name row 1 of the log gives
    QVERIFY(QFile::copy(data("barograph/V7081114.V35"), file));
    QVERIFY(QFile::copy(data("logbook/three-flights.log"), work + "three.log"));
    const Run cut = tool({"baro", "cut", file, "--left", "100", "--log", work + "three.log", "--row", "1"});
    QCOMPARE(cut.exitCode, 0);
    const Run zero = tool({"baro", "correct", file, "--takeoff", "1250", "--out", work + "c.V35"});
    QCOMPARE(zero.exitCode, 0);

    // The same edits on the session the window works on, saved as its close does.
    FlightRecord record;
    record.time = "12:00:00";
    std::optional<BarographSession> s = BarographSession::loadFile(data("barograph/V7081114.V35"), "12:00:00", 640);
    s->cursorTime = 100;
    QVERIFY(s->cutLeft());
    QVERIFY(s->save(work + "window.V35", work, &record).status == BarographSession::SaveStatus::Saved);
    QCOMPARE(fileBytes(file), fileBytes(work + "window.V35"));
    QVERIFY(QFile::exists(work + "bak/24050310.BRG")); // the version replaced is kept
    QVERIFY(s->correctAltitudes(s->correctionOffset(CorrectionMode::Takeoff, 1250, 0)));
    QVERIFY(s->save(work + "window2.V35", work, &record).status == BarographSession::SaveStatus::Saved);
    QCOMPARE(fileBytes(work + "c.V35"), fileBytes(work + "window2.V35"));
    QVERIFY(zero.out.contains("duration         " + record.duration.toByteArray() + '\n'));
    QVERIFY(zero.out.contains("maxAltitude      " + record.maxAltitude.toByteArray() + '\n'));
    QVERIFY(zero.out.contains("maxClimb         " + record.maxClimb.toByteArray() + '\n'));
    // With the log, the row's take-off moves 98 s later and the log is saved with its backup.
    const Run row = tool({"log", "show", work + "three.log", "--csv"});
    QVERIFY(cut.out.contains("duration         00:56:22\n"));
    QVERIFY(QFile::exists(work + "bak/three.log"));
    QVERIFY(row.out.contains(",00:56:22,"));

    // Nothing to cut, or a correction beyond any file: nothing written, exit 1.
    const QByteArray before = fileBytes(file);
    QCOMPARE(tool({"baro", "cut", file, "--right", "99999"}).exitCode, 1);
    QCOMPARE(tool({"baro", "correct", file, "--offset", "1e9"}).exitCode, 1);
    QCOMPARE(fileBytes(file), before);
}

// Cut and corrected with its row, a downloaded flight goes back to the raw copy's bytes and
// the row's figures as downloaded; a flight not downloaded here stays as it is.
void TestBaroTool::revertPutsBackTheDownloadedFileAndRow()
{
    QTemporaryDir dir;
    const QString work = dir.path() + u'/';
    const QString file = work + "24050310.BRG"; // the name row 1 of the log gives
    QVERIFY(QDir(work).mkdir("raw"));
    QVERIFY(QFile::copy(data("barograph/V7081114.V35"), file));
    QVERIFY(QFile::copy(data("barograph/V7081114.V35"), work + "raw/24050310.BRG"));
    LogBook book;
    loadContents(book, *readLogFile(data("logbook/three-flights.log")));
    auto download = std::make_shared<DownloadedFlight>();
    for (int f = 0; f < kFieldCount; ++f)
        download->fields[size_t(f)] = book.row(1).fieldText(Field(f)).toByteArray();
    download->raw = QStringLiteral("raw/24050310.BRG");
    book.row(1).downloaded = download;
    QCOMPARE(saveLogBook(book, work + "three.log", "name").outcome, LogSaveResult::Outcome::Written);
    const QByteArray logBefore = fileBytes(work + "three.log");

    QCOMPARE(tool({"baro", "cut", file, "--left", "100", "--log", work + "three.log", "--row", "1"}).exitCode, 0);
    QCOMPARE(tool({"baro", "correct", file, "--offset", "25", "--log", work + "three.log", "--row", "1"}).exitCode, 0);
    QVERIFY(fileBytes(file) != fileBytes(work + "raw/24050310.BRG") && fileBytes(work + "three.log") != logBefore);
    const QByteArray edited = fileBytes(file);

    const Run revert = tool({"baro", "revert", file, "--log", work + "three.log", "--row", "1"});
    QCOMPARE(revert.exitCode, 0);
    QCOMPARE(fileBytes(file), fileBytes(data("barograph/V7081114.V35")));
    QCOMPARE(fileBytes(work + "three.log"), logBefore);
    QVERIFY(revert.out.contains("duration         " + download->fields[size_t(Field::Duration)] + '\n'));
    const QStringList kept = backupHistory(work + "bak", "24050310.BRG");
    QVERIFY(!kept.isEmpty() && fileBytes(work + "bak/" + kept.last()) == edited); // the edited one is in bak

    // Row 2 names another barograph: no edit rewrites its figures from this file.
    for (const QStringList &edit : {QStringList{"revert"}, QStringList{"cut", "--left", "100"},
                                    QStringList{"correct", "--offset", "5"}}) {
        const Run refused = tool(QStringList{"baro"} + edit.first(1) + QStringList{file} + edit.mid(1)
                                 + QStringList{"--log", work + "three.log", "--row", "2"});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(QString::fromUtf8(refused.err).contains(QStringLiteral("2行目のフライトのバログラフは")));
    }
    QCOMPARE(fileBytes(work + "three.log"), logBefore);
    QCOMPARE(fileBytes(file), fileBytes(data("barograph/V7081114.V35")));

    // Without a raw copy beside it, a file was not downloaded here: said, nothing written.
    QVERIFY(QFile::remove(work + "raw/24050310.BRG"));
    const Run refused = tool({"baro", "revert", file});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY(QString::fromUtf8(refused.err).contains(QStringLiteral("ダウンロードされたものではありません")));
}

void TestBaroTool::exportWritesAnIgcAtTheSite()
{
    QTemporaryDir dir;
    QFile sites(dir.filePath("sites.cup"));
    QVERIFY(sites.open(QIODevice::WriteOnly));
    sites.write(QStringLiteral("name,code,country,lat,lon,elev\r\n\"足尾山\",ASHIO,JA,3617.583N,14007.250E,627m\r\n").toUtf8());
    sites.close();
    const QString baro = data("barograph/V7081114.V35"), log = data("logbook/three-flights.log");
    const Run r = tool({"baro", "export", baro, "--igc", dir.filePath("f.igc"), "--log", log, "--row", "1",
                        "--sites", sites.fileName(), "--utc-offset", "+9"});
    QCOMPARE(r.exitCode, 0);
    QFile igc(dir.filePath("f.igc"));
    QVERIFY(igc.open(QIODevice::ReadOnly));
    const QByteArray bytes = igc.readAll();
    QVERIFY(bytes.startsWith("AXDUBAR\r\nHFDTEDATE:030524,01\r\n"));
    QVERIFY(bytes.contains("\r\nB0121053617583N14007250EV"));

    // Row 2's area is in no sites file: nothing is written, and --site names one instead.
    const Run missing = tool({"baro", "export", baro, "--igc", dir.filePath("g.igc"), "--log", log, "--row", "2",
                              "--sites", sites.fileName()});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(QString::fromUtf8(missing.err).contains(QStringLiteral("位置のないIGCファイル")));
    QVERIFY(!QFile::exists(dir.filePath("g.igc")));
    QCOMPARE(tool({"baro", "export", baro, "--igc", dir.filePath("g.igc"), "--log", log, "--row", "2", "--sites",
                   sites.fileName(), "--site", "ashio"}).exitCode, 0);
}

void TestBaroTool::wrongUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("stats without a file") << QStringList{"baro", "stats"};
    QTest::newRow("stats, unknown option") << QStringList{"baro", "stats", "x", "--csv"};
    QTest::newRow("render without --out") << QStringList{"baro", "render", "x"};
    QTest::newRow("render, width 0") << QStringList{"baro", "render", "x", "--out", "y.png", "--width", "0"};
    QTest::newRow("render, width not a number") << QStringList{"baro", "render", "x", "--out", "y.png", "--width", "a"};
    QTest::newRow("render, log without row") << QStringList{"baro", "render", "x", "--out", "y.png", "--log", "z"};
    QTest::newRow("view without --json") << QStringList{"baro", "view", data("barograph/V7081114.V35")};
    QTest::newRow("view, unknown operation")
        << QStringList{"baro", "view", data("barograph/V7081114.V35"), "zoom-in", "--json"};
    QTest::newRow("view, pan without points")
        << QStringList{"baro", "view", data("barograph/V7081114.V35"), "pan", "1,2", "--json"};
    QTest::newRow("correct, two modes") << QStringList{"baro", "correct", "x", "--zero", "--offset", "3"};
    QTest::newRow("correct, not a number") << QStringList{"baro", "correct", "x", "--offset", "3m"};
    QTest::newRow("cut, no side") << QStringList{"baro", "cut", "x"};
}

void TestBaroTool::wrongUsage()
{
    QFETCH(QStringList, args);
    const Run r = tool(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains("usage"));
}

QTEST_MAIN(TestBaroTool)
#include "tst_barotool.moc"
