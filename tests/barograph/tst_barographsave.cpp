// Saving a changed barograph: the replaced file kept in "bak", the name the record keeps,
// and the statistics written back as the record's texts.
#include "barograph/core/barographsave.h"
#include "barograph/core/flightstats.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/text/cp932.h"
#include "tests/barograph/barographtestdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void plantFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

BarographFile twoSamples()
{
    BarographFile file;
    file.interval = 2;
    file.altitudes = {10.0f, 20.0f};
    return file;
}

} // namespace

class TestBarographSave : public QObject {
    Q_OBJECT
private slots:
    void replacedFileIsKeptAndAnIdenticalOneLeftAlone();
    void recordFileName_data();
    void recordFileName();
    void statisticsWrittenBack();
    void peakAltitudeRounded_data();
    void peakAltitudeRounded();
};

void TestBarographSave::replacedFileIsKeptAndAnIdenticalOneLeftAlone()
{
    QTemporaryDir dir;
    const QString work = dir.path() + u'/';
    QVERIFY(QDir(work).mkdir("bak"));
    plantFile(work + "bak/V7081114.V35", "older"); // the first backup, kept for good
    plantFile(work + "V7081114.V35", "old");
    QVERIFY(!saveBarographFile(work + "V7081114.V35", twoSamples(), work));
    QCOMPARE(fileBytes(work + "V7081114.V35"), buildBarographImage(twoSamples()));
    QCOMPARE(fileBytes(work + "bak/V7081114.V35"), QByteArray("older"));
    QStringList history = backupHistory(work + "bak", "V7081114.V35");
    QCOMPARE(history.size(), 1);
    QCOMPARE(fileBytes(work + "bak/" + history[0]), QByteArray("old"));

    // The same bytes again (a download of a flight already on disk): nothing to keep.
    QVERIFY(!saveBarographFile(work + "V7081114.V35", twoSamples(), work));
    QCOMPARE(backupHistory(work + "bak", "V7081114.V35"), history);
}

void TestBarographSave::recordFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QByteArray>("name"); // "-" for none
    QTest::newRow("upper-cased") << "/c/other/abc.v12" << QByteArray("ABC.V12");
    QTest::newRow("a backslash is no plain name") << "/w/a\\b.v12" << QByteArray("-");
    QTest::newRow("13 bytes fit") << "/w/abcdefgh.v12" << QByteArray("ABCDEFGH.V12");
    QTest::newRow("14 bytes do not") << "/w/abcdefghijk.v1" << QByteArray("-");
    // ビ is 0x83 0x72: its trail byte is an 'r' in ASCII and stays as it is; ｱ is one byte.
    QTest::newRow("double-byte characters stay whole") << QStringLiteral("/w/ビｱ.v1")
                                                      << QByteArray("\x83\x72\xb1.V1");
    QTest::newRow("no cp932 code") << QStringLiteral("/w/\u0101.v1") << QByteArray("-");
    QTest::newRow("no name") << "/w/" << QByteArray("-");
}

void TestBarographSave::recordFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QByteArray, name);
    QCOMPARE(::recordFileName(chosen).value_or("-"), name);
}

void TestBarographSave::statisticsWrittenBack()
{
    FlightRecord record;
    FlightStats stats = computeFlightStats(traceOf(2, {612.0f, 987.5f, 980.0f}));
    writeFlightBack(record, 14 * 3600 + 35 * 60 + 20 + 96, stats);
    QCOMPARE(record.time, "14:36:56");
    QCOMPARE(record.duration, "00:00:04");
    QCOMPARE(record.maxAltitude, "0988 m");
    QCOMPARE(record.maxClimb, "187.8 m/s");
    stats.peakClimb = -0.25f;
    writeFlightBack(record, 0, stats);
    QCOMPARE(record.maxClimb, "-0.2 m/s");
}

void TestBarographSave::peakAltitudeRounded_data()
{
    QTest::addColumn<float>("peak");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("10.5 up") << 10.5f << QByteArray("0011 m");
    QTest::newRow("-3.2 toward zero") << -3.2f << QByteArray("-003 m");
    QTest::newRow("-10.4 toward zero") << -10.4f << QByteArray("-010 m");
    QTest::newRow("-10.5 away from zero") << -10.5f << QByteArray("-011 m");
}

void TestBarographSave::peakAltitudeRounded()
{
    QFETCH(float, peak);
    QFETCH(QByteArray, text);
    FlightRecord record;
    writeFlightBack(record, 0, FlightStats{.peakAltitude = peak});
    QCOMPARE(record.maxAltitude, text);
}

QTEST_GUILESS_MAIN(TestBarographSave)
#include "tst_barographsave.moc"
