// IGC files of barograph-only flights: the record layouts checked by a small reader written
// from the format's record tables, UTC times across midnight, altitude fields at their
// limits, the problems that stop an export, names in ASCII, the sites file, and (where
// node and the igc-parser package are installed) an independent reader.
#include "barograph/core/barographtrace.h"
#include "barograph/core/igcexport.h"
#include "barograph/core/sitesfile.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

BarographTrace traceOf(std::vector<float> altitudes, qint32 interval = 2)
{
    BarographFile f;
    f.interval = interval;
    f.altitudes = std::move(altitudes);
    return BarographTrace::fromFile(std::move(f));
}

IgcFlight flightAt(const char *date, const char *time, std::optional<FlyingSite> site)
{
    IgcFlight f;
    f.date = date;
    f.time = time;
    f.site = std::move(site);
    return f;
}

const FlyingSite kAshio{cp932::fromUnicode(u"足尾山"), "ASHIO", 36.293055, 140.120833, 627};

// What a reader that knows only the record layouts accepts: ASCII lines ending in CR LF, an
// A record first, HFDTE before the first B, B records of exactly 35 characters whose times
// (carried over midnight) increase, and no G record. Returns the B records, or fails.
QList<QByteArray> readIgcRecords(const QByteArray &file)
{
    QList<QByteArray> bRecords;
    [&] {
        QVERIFY(file.endsWith("\r\n"));
        const QList<QByteArray> lines = file.chopped(1).split('\n'); // each still ends with CR
        bool dateSeen = false;
        qint64 previous = -1, dayOffset = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QVERIFY2(lines[i].endsWith('\r'), lines[i].constData());
            const QByteArray line = lines[i].chopped(1);
            for (const char c : line)
                QVERIFY(c >= 0x20 && c < 0x7F);
            if (i == 0)
                QVERIFY(line.startsWith('A') && line.size() >= 7);
            QVERIFY(!line.startsWith('G'));
            if (line.startsWith("HFDTE"))
                dateSeen = true;
            if (!line.startsWith('B'))
                continue;
            QVERIFY(dateSeen);
            QCOMPARE(line.size(), 35);
            QVERIFY(line[14] == 'N' || line[14] == 'S');
            QVERIFY(line[23] == 'E' || line[23] == 'W');
            QVERIFY(line[24] == 'A' || line[24] == 'V');
            qint64 t = line.mid(1, 2).toInt() * 3600 + line.mid(3, 2).toInt() * 60 + line.mid(5, 2).toInt();
            if (t + dayOffset < previous)
                dayOffset += 86400;
            t += dayOffset;
            QVERIFY(t > previous);
            previous = t;
            bRecords << line;
        }
    }();
    return bRecords;
}

} // namespace

class TestIgcExport : public QObject {
    Q_OBJECT
private slots:
    void recordsFollowTheLayout();
    void utcDateAndTimesCrossMidnight();
    void problemsStopTheExport();
    void namesBecomeAscii_data();
    void namesBecomeAscii();
    void utcOffsetsRead();
    void sitesFileReadsWaypoints();
    void igcParserReadsTheExport();
};

void TestIgcExport::recordsFollowTheLayout()
{
    IgcFlight flight = flightAt("24/05/03", "10:21:05", kAshio);
    flight.pilot = "\xD4\xCF\xC0\xDE \xBC\xAE\xB3\xC0"; // ﾔﾏﾀﾞ ｼｮｳﾀ
    flight.correctionM = -12.5f;
    const IgcFile igc = buildIgc(traceOf({612.4f, -12.6f, 123456.f, -20000.f, 0.5f}), flight);
    QCOMPARE(igc.problem, IgcFile::Problem::None);
    const QList<QByteArray> b = readIgcRecords(igc.bytes);
    QCOMPARE(b, (QList<QByteArray>{
                    "B0121053617583N14007250EV0061200000", "B0121073617583N14007250EV-001300000",
                    "B0121093617583N14007250EV9999900000", "B0121113617583N14007250EV-999900000",
                    "B0121133617583N14007250EV0000100000"}));
    QVERIFY(igc.bytes.startsWith("AXDUBAR\r\nHFDTEDATE:030524,01\r\nHFPLTPILOTINCHARGE:Yamada Shouta\r\n"));
    for (const char *header : {"HFGTYGLIDERTYPE:NKN", "HFDTMGPSDATUM:WGS84", "HFGPSRECEIVER:NIL", "HFALGALTGPS:NIL",
                               "HFALPALTPRESSURE:ISA", "HFTZNTIMEZONE:+9", "HFSITSITE:ASHIO",
                               "HOCOMCOMMENT:PRESSURE ALTITUDES CORRECTED BY -12.5 M"})
        QVERIFY2(igc.bytes.contains(QByteArray(header) + "\r\n"), header);

    // South and west, and no correction line when none was applied.
    const IgcFile south = buildIgc(traceOf({1, 2}), flightAt("24/05/03", "10:21:05", FlyingSite{"S", "S", -33.5, -70.25, 0}));
    QCOMPARE(readIgcRecords(south.bytes).at(0), QByteArray("B0121053330000S07015000WV0000100000"));
    QVERIFY(!south.bytes.contains("CORRECTED"));
}

void TestIgcExport::utcDateAndTimesCrossMidnight()
{
    // 05:00 local at +9 is 20:00 UTC the day before (and across a year end); a flight that
    // passes UTC midnight keeps counting as readers expect.
    const IgcFile early = buildIgc(traceOf({1, 2}), flightAt("00/01/01", "05:00:00", kAshio));
    QVERIFY(early.bytes.contains("HFDTEDATE:311299,01"));
    QCOMPARE(readIgcRecords(early.bytes).at(0).left(7), QByteArray("B200000"));

    IgcFlight late = flightAt("24/05/03", "08:59:58", kAshio);
    const QList<QByteArray> b = readIgcRecords(buildIgc(traceOf({1, 2, 3}, 1), late).bytes);
    QCOMPARE(b.at(1).left(7), QByteArray("B235959"));
    QCOMPARE(b.at(2).left(7), QByteArray("B000000"));

    late.utcOffsetMinutes = -(3 * 60 + 30);
    QVERIFY(buildIgc(traceOf({1, 2}), late).bytes.contains("HFTZNTIMEZONE:-3.5\r\n"));
}

void TestIgcExport::problemsStopTheExport()
{
    const BarographTrace trace = traceOf({1, 2});
    QCOMPARE(buildIgc(trace, flightAt("24/05/03", "10:21:05", std::nullopt)).problem, IgcFile::Problem::NoSite);
    QCOMPARE(buildIgc(trace, flightAt("24/05/03", "10:21:05", FlyingSite{"n", "c", 0, 0, 0})).problem,
             IgcFile::Problem::NoSite); // never 0/0
    QCOMPARE(buildIgc(trace, flightAt("24/02/30", "10:21:05", kAshio)).problem, IgcFile::Problem::BadDate);
    QCOMPARE(buildIgc(trace, flightAt("24/05/03", "25:00:00", kAshio)).problem, IgcFile::Problem::BadTime);
    QCOMPARE(buildIgc(traceOf({1, 2}, 86400), flightAt("24/05/03", "10:21:05", kAshio)).problem,
             IgcFile::Problem::TooLong);
    QVERIFY(buildIgc(trace, flightAt("24/05/03", "10:21:05", std::nullopt)).bytes.isEmpty());
}

void TestIgcExport::namesBecomeAscii_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("ascii");
    QTest::newRow("half-width katakana") << QStringLiteral("ﾔﾏﾀﾞ ｼｮｳﾀ") << QByteArray("Yamada Shouta");
    QTest::newRow("hiragana, small tsu, chi") << QStringLiteral("きっちゃてん") << QByteArray("Kitchaten");
    QTest::newRow("full-width letters") << QStringLiteral("ＴＡＲＯ　ｙａｍａ") << QByteArray("TARO Yama");
    QTest::newRow("kanji left out") << QStringLiteral("山田 Taro") << QByteArray("Taro");
    QTest::newRow("nothing left") << QStringLiteral("山田太郎") << QByteArray("NKN");
}

void TestIgcExport::namesBecomeAscii()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, ascii);
    QCOMPARE(romanisedName(cp932::fromUnicode(name)), ascii);
}

void TestIgcExport::utcOffsetsRead()
{
    QCOMPARE(parseUtcOffset(u"+9"), std::optional<qint32>(540));
    QCOMPARE(parseUtcOffset(u"-3.5"), std::optional<qint32>(-210));
    QCOMPARE(parseUtcOffset(u"+5:45"), std::optional<qint32>(345));
    QCOMPARE(parseUtcOffset(u"0"), std::optional<qint32>(0));
    for (const char16_t *bad : {u"", u"+15", u"-13", u"9h", u"+5:60", u"+0.01"})
        QVERIFY2(!parseUtcOffset(bad), QStringView(bad).toUtf8().constData());
    for (const qint32 m : {540, -210, 345, 0})
        QCOMPARE(parseUtcOffset(utcOffsetText(m)), std::optional<qint32>(m));
}

void TestIgcExport::sitesFileReadsWaypoints()
{
    const QByteArray utf8 = QStringLiteral(
        "\uFEFFname,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
        "\"足尾山\",ASHIO,JA,3617.583N,14007.250E,627.0m,1,,,,\"east, launch\"\r\n"
        "\"Sea, level\",SEA,JA,3300.000S,07015.000W,2057ft,1,,,,\r\n"
        "\"Bad\",BAD,JA,9917.583N,14007.250E,0m,1,,,,\r\n"
        "\"Null\",NULL,,0000.000N,00000.000E,,1,,,,\r\n"
        "-----Related Tasks-----\r\n\"task\",\"ASHIO\"\r\n").toUtf8();
    const SitesFileContents c = parseSitesFile(utf8);
    QCOMPARE(c.sites.size(), size_t(2));
    QCOMPARE(c.badLines, (std::vector<int>{4, 5}));
    QCOMPARE(c.sites[0].name, cp932::fromUnicode(u"足尾山"));
    QVERIFY(qAbs(c.sites[0].latitudeDeg - (36 + 17.583 / 60)) < 1e-9);
    QVERIFY(qAbs(c.sites[1].longitudeDeg + (70 + 15.0 / 60)) < 1e-9);
    QVERIFY(qAbs(c.sites[1].elevationM - 2057 * 0.3048) < 1e-9);

    // The same file in cp932, matched by the log's area bytes, by code and without case.
    const SitesFileContents sjis = parseSitesFile(cp932::fromUnicode(QString::fromUtf8(utf8).mid(1)));
    QCOMPARE(sjis.sites.size(), size_t(2));
    QCOMPARE(findSite(sjis.sites, cp932::fromUnicode(u"足尾山"))->code, QByteArray("ASHIO"));
    QCOMPARE(findSite(sjis.sites, " ashio ")->code, QByteArray("ASHIO"));
    QVERIFY(!findSite(sjis.sites, "ashi"));
}

void TestIgcExport::igcParserReadsTheExport()
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    const QString modules = QStringLiteral(IGC_PARSER_MODULES);
    if (node.isEmpty())
        QSKIP("node is not installed");
    if (!QFile::exists(modules + QStringLiteral("/igc-parser/package.json")))
        QSKIP("igc-parser is not installed: npm install --prefix build/igc-check igc-parser");
    QTemporaryDir dir;
    const std::vector<float> altitudes = {612.4f, 700, -12.6f, 1500.5f, 3};
    const IgcFile igc = buildIgc(traceOf(altitudes, 4), flightAt("24/05/03", "08:59:56", kAshio));
    QFile out(dir.filePath(QStringLiteral("flight.igc")));
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(igc.bytes) == igc.bytes.size());
    out.close();

    QProcess p;
    p.setProcessEnvironment([&] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("NODE_PATH"), modules);
        return env;
    }());
    p.start(node, {QStringLiteral("-e"),
                   QStringLiteral("const r = require('igc-parser').parse(require('fs').readFileSync(process.argv[1], "
                                  "'utf8')); console.log(JSON.stringify({date: r.date, fixes: r.fixes.length, "
                                  "alt: r.fixes.map(f => f.pressureAltitude), lat: r.fixes[0].latitude, "
                                  "last: r.fixes[r.fixes.length - 1].timestamp - r.fixes[0].timestamp}))"),
                   out.fileName()});
    QVERIFY(p.waitForFinished(30000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QJsonObject r = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    QCOMPARE(r.value("date").toString(), QStringLiteral("2024-05-02"));
    QCOMPARE(r.value("fixes").toInt(), 5);
    QCOMPARE(r.value("alt").toVariant().toList(), (QVariantList{612, 700, -13, 1501, 3}));
    QVERIFY(qAbs(r.value("lat").toDouble() - 36.29305) < 1e-5);
    QCOMPARE(r.value("last").toInt(), 16000); // across UTC midnight, still 16 s
}

QTEST_GUILESS_MAIN(TestIgcExport)
#include "tst_igcexport.moc"
