// duvazi-tool download against duvazi-instrument-sim: the two programs as a user runs them.
#include "barograph/core/barographfile.h"
#include "device/core/messages.h"
#include "logbook/core/logfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode;
    QString err;
};

// The simulator, started with `options`; stopped with the test.
class Simulator {
public:
    explicit Simulator(const QStringList &options)
    {
        m_process.start(QStringLiteral(DUVAZI_INSTRUMENT_SIM), QStringList{"--bytes-per-second", "0"} + options);
        if (m_process.waitForReadyRead(10000))
            path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Simulator()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString path;

private:
    QProcess m_process;
};

Run download(const QStringList &args, const char *verb = "download")
{
    QProcess p;
    p.start(QStringLiteral(DUVAZI_TOOL), QStringList{QString::fromLatin1(verb)} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestDownloadTool : public QObject {
    Q_OBJECT
private slots:
    void newLogWithBarographs();
    void appendsToAnExistingLog();
    void failedTransfersKeepWhatArrivedWhole_data();
    void failedTransfersKeepWhatArrivedWhole();
    void abandonedBarographSpoilsNoOtherFlight();
    void newOnlyTwiceGivesEachFlightOnce();
    void sendsSettingsAndRefusesBadValues();
    void wrongUsage();
};

void TestDownloadTool::newLogWithBarographs()
{
    QTemporaryDir dir;
    Simulator sim({"--flights", "3"});
    QVERIFY(!sim.path.isEmpty());
    const QString log = dir.filePath(QStringLiteral("flights.log"));
    const Run r = download({"--port", sim.path, "--log", log, "--barographs"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const std::optional<LogFileContents> contents = readLogFile(log);
    QVERIFY(contents && contents->isComplete());
    QCOMPARE(contents->records.size(), size_t(4));
    for (size_t i = 1; i < 4; ++i) {
        const FlightRecord &row = contents->records[i];
        QVERIFY(!row.barographFile.isEmpty());
        const std::optional<BarographFile> baro = readBarographFile(dir.filePath(QString::fromLatin1(row.barographFile)));
        QVERIFY(baro);
        QVERIFY(baro->sampleCount() >= 4);
    }
    QVERIFY(r.err.contains(QStringLiteral("3 flights downloaded")));
}

void TestDownloadTool::appendsToAnExistingLog()
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("three-flights.log"));
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/three-flights.log"), log));
    QFile::setPermissions(log, QFile::ReadOwner | QFile::WriteOwner);
    Simulator sim({"--flights", "2"});
    const Run r = download({"--port", sim.path, "--log", log});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const std::optional<LogFileContents> contents = readLogFile(log);
    QVERIFY(contents && contents->isComplete());
    QCOMPARE(contents->records.size(), size_t(1 + 3 + 2));
    QVERIFY(contents->records[5].barographFile.isEmpty()); // the log only
    QCOMPARE(contents->records[1].date, "24/05/03"); // the old flights stay first
    QCOMPARE(contents->records[5].number, "5");        // numbered as the list numbers them
}

void TestDownloadTool::failedTransfersKeepWhatArrivedWhole_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("silent") << "silent" << msg::NoAnswer.toString();
    QTest::newRow("refused log") << "garbage@log" << msg::LogReplyRefused.toString();
    QTest::newRow("refused barograph") << "corrupt:3@baro" << QStringLiteral("ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが正しくありません。");
}

void TestDownloadTool::failedTransfersKeepWhatArrivedWhole()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QTemporaryDir dir;
    Simulator sim({"--flights", "2", "--fail", fault});
    const QString log = dir.filePath(QStringLiteral("flights.log"));
    const Run r = download({"--port", sim.path, "--log", log, "--barographs"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("failed: ")), qPrintable(r.err));
    if (!fault.endsWith(u"@baro")) {
        QVERIFY(!QFile::exists(log)); // nothing arrived
        return;
    }
    // The log arrived whole and is kept; no barograph did, and the log names none.
    const std::optional<LogFileContents> contents = readLogFile(log);
    QVERIFY(contents && contents->isComplete());
    QCOMPARE(contents->records.size(), size_t(3));
    QVERIFY(contents->records[1].barographFile.isEmpty() && contents->records[2].barographFile.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{"flights.duvazi.json", "flights.lif", "flights.log"})); // rows as downloaded
}

// The instrument goes on sending flight 1's corrupted barograph after the tool gave up on it,
// at a paced line: flight 1 gets no file and a message, every other flight the very file a
// clean download writes, the tool exits 1, and the transcript holds every byte.
void TestDownloadTool::abandonedBarographSpoilsNoOtherFlight()
{
    QTemporaryDir clean;
    {
        Simulator sim({"--flights", "3"});
        const Run r = download({"--port", sim.path, "--log", clean.filePath("f.log"), "--barographs"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    }
    QTemporaryDir dir;
    Simulator sim({"--flights", "3", "--bytes-per-second", "4800", "--keep-sending", "--fail", "corrupt:20@baro1"});
    const QString trace = dir.filePath("download.trace");
    const Run r = download({"--port", sim.path, "--log", dir.filePath("f.log"), "--barographs", "--trace", trace});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが正しくありません。")), qPrintable(r.err));
    const std::optional<LogFileContents> contents = readLogFile(dir.filePath("f.log"));
    QVERIFY(contents && contents->isComplete());
    QCOMPARE(contents->records.size(), size_t(4));
    QVERIFY(contents->records[1].barographFile.isEmpty());
    QStringList expected = QDir(clean.path()).entryList({"V*"}, QDir::Files);
    QCOMPARE(expected.size(), 3);
    expected.removeOne(QString::fromLatin1(readLogFile(clean.filePath("f.log"))->records[1].barographFile));
    QCOMPARE(QDir(dir.path()).entryList({"V*"}, QDir::Files), expected);
    for (const QString &name : std::as_const(expected)) {
        QFile a(clean.filePath(name));
        QFile b(dir.filePath(name));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(name));
    }
    QFile transcript(trace);
    QVERIFY(transcript.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(transcript.readAll()).split(u'\n');
    QCOMPARE(lines.filter(QStringLiteral(" > B")).size(), 3);
    QCOMPARE(lines.filter(QStringLiteral(" open ")).size(), 4);
    QVERIFY(lines.filter(QStringLiteral(" < ")).size() > 3);
}

void TestDownloadTool::sendsSettingsAndRefusesBadValues()
{
    Simulator sim({"--verbose"});
    const Run name = download({"name", "ABCDE", "--port", sim.path}, "send");
    QVERIFY2(name.exitCode == 0, qPrintable(name.err));
    QVERIFY(name.err.contains(QStringLiteral("sent: F + 16 bytes")));
    const Run option = download({"option", "0", "0", "1", "0", "0", "1", "0", "--port", sim.path, "--delay1", "0", "--delay2", "0"}, "send");
    QVERIFY2(option.exitCode == 0, qPrintable(option.err));
    // A value out of range: a message, exit 1, nothing sent.
    const Run rise = download({"param", "4.1", "0.3", "0", "1", "4", "0", "0", "2", "1", "--port", sim.path}, "send");
    QCOMPARE(rise.exitCode, 1);
    QVERIFY(rise.err.contains(QStringLiteral("上昇音、下降音は0.1から4.0までです。")));
    const Run five = download({"option", "0", "1", "1", "1", "1", "1", "0", "--port", sim.path}, "send");
    QCOMPARE(five.exitCode, 1);
    QCOMPARE(download({"param", "1.0", "--port", sim.path}, "send").exitCode, 2);
}

void TestDownloadTool::wrongUsage()
{
    QCOMPARE(download({"--log", "x.log"}).exitCode, 2);
    const Run missing = download({"--port", "/dev/duvazi-no-such-port", "--log", "x.log"});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains(QStringLiteral("/dev/duvazi-no-such-port")));
}

// A relaunch in flight 1's minute gets a name of its own, said on standard error; the second
// run with --new-only adds nothing, says so, and keeps no second raw copy.
void TestDownloadTool::newOnlyTwiceGivesEachFlightOnce()
{
    QTemporaryDir dir;
    Simulator sim({"--flights", "2", "--same-minute", "1"});
    const QString log = dir.filePath(QStringLiteral("flights.log"));
    const QStringList args{"--port", sim.path, "--log", log, "--barographs", "--new-only"};
    const Run first = download(args);
    QVERIFY2(first.exitCode == 0, qPrintable(first.err));
    QVERIFY2(first.err.contains(QStringLiteral("に保存しました")), qPrintable(first.err));
    const Run second = download(args);
    QVERIFY2(second.exitCode == 0, qPrintable(second.err));
    QVERIFY2(second.err.contains(QStringLiteral("3 flights already in the log, skipped")), qPrintable(second.err));

    const std::optional<LogFileContents> contents = readLogFile(log);
    QVERIFY(contents && contents->isComplete());
    QCOMPARE(contents->records.size(), size_t(4));
    QSet<QByteArray> names;
    for (size_t i = 1; i < 4; ++i) {
        const QByteArray name = contents->records[i].barographFile.toByteArray();
        names.insert(name);
        QFile file(dir.filePath(QString::fromLatin1(name))), raw(dir.filePath("raw/" + QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::ReadOnly) && raw.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), raw.readAll());
    }
    QCOMPARE(names.size(), 3);
    QCOMPARE(QDir(dir.filePath("raw")).entryList(QDir::Files).size(), 3);
}

QTEST_GUILESS_MAIN(TestDownloadTool)
#include "tst_downloadtool.moc"
