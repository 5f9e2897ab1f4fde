// Flights from other instruments' logs: real IGC logs and damaged forms of them, GPX, our own
// IGC export read back, duplicates by identity, and the apply step.
#include "barograph/core/barographsave.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightimport.h"
#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"
#include "logbook/core/companion.h"
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "tests/barograph/realflighttruth.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QString kData = QStringLiteral(TEST_DATA_DIR "/barograph/import/");
const QString kRealFlights = QStringLiteral(REALFLIGHTS_DIR "/igc/");
const QString kNapret = kRealFlights + QStringLiteral("pg-napret.igc");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every line of a log, with what `change` makes of it (an empty result drops the line).
QByteArray eachLine(const QByteArray &bytes, const std::function<QByteArray(const QByteArray &)> &change)
{
    QByteArray out;
    for (const QByteArray &line : bytes.split('\n')) {
        const QByteArray changed = change(line.endsWith('\r') ? line.chopped(1) : line);
        if (!changed.isEmpty())
            out += changed + "\r\n";
    }
    return out;
}

// A B record's UTC time shifted by `seconds`, kept within the day.
QByteArray shiftedTime(const QByteArray &line, int seconds)
{
    if (!line.startsWith('B'))
        return line;
    const int t = (line.mid(1, 2).toInt() * 3600 + line.mid(3, 2).toInt() * 60 + line.mid(5, 2).toInt() + seconds
                   + 86400) % 86400;
    return 'B' + QByteArray::number(t / 3600).rightJustified(2, '0') + QByteArray::number(t / 60 % 60).rightJustified(2, '0')
        + QByteArray::number(t % 60).rightJustified(2, '0') + line.mid(7);
}

ImportItem importBytes(const QByteArray &bytes, const QString &name = QStringLiteral("flight.igc"),
                       const ImportSettings &settings = {})
{
    static QTemporaryDir dir;
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return {};
    f.close();
    return readImportSource(f.fileName(), settings);
}

ImportSettings utcPlus(int hours)
{
    ImportSettings s;
    s.utcOffsetMinutes = hours * 60;
    return s;
}

QString text(QByteArrayView cp932Bytes)
{
    return cp932::toUnicode(cp932Bytes);
}

} // namespace

class TestFlightImport : public QObject {
    Q_OBJECT
private slots:
    void realLogsFollowThePressureAltitude_data();
    void realLogsFollowThePressureAltitude();
    void damagedFormsReadAsTheyShould_data();
    void damagedFormsReadAsTheyShould();
    void gpxTracksReadLikeIgc();
    void ownExportComesBackAsTheSameRowAndSamples();
    void launchNearASiteNamesIt();
    void duplicatesAreKnownByIdentity();
    void anotherZoneRewritesTheRowsAndTheDuplicates();
    void applyAddsOneStepAndFreeNames();
    void theCorpusImportedAgainAddsNothing();
    void sourceTravelsThroughTheCompanion();
};

// Every log of the real-flight corpus, judged against its GPS track, and a glider's 3 s
// fixes across midnight UTC.
void TestFlightImport::realLogsFollowThePressureAltitude_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("date"); // empty: not checked
    QTest::addColumn<bool>("judged");     // against the GPS track's take-off and landing
    const QStringList corpus = QDir(kRealFlights).entryList({QStringLiteral("*.igc")}, QDir::Files);
    QVERIFY(corpus.size() >= 30);
    for (const QString &name : corpus)
        QTest::newRow(qPrintable(name)) << kRealFlights + name
                                        << (name == u"pg-napret.igc" ? QByteArray("16/04/03") : QByteArray()) << true;
    QTest::newRow("glider across midnight UTC") << kData + QStringLiteral("new_zealand.igc") << QByteArray("09/11/06")
                                                << false;
}

void TestFlightImport::realLogsFollowThePressureAltitude()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, date);
    QFETCH(bool, judged);
    const QByteArray bytes = fileBytes(file);
    const ImportItem item = importBytes(bytes, QFileInfo(file).fileName(), utcPlus(0));
    QCOMPARE(item.status, ImportItem::Status::New);
    const ImportedFlight &f = *item.flight;
    if (!date.isEmpty())
        QCOMPARE(QByteArrayView(f.row.date), QByteArrayView(date));
    QVERIFY(f.barograph.sampleCount() > 600);

    // The trace as the viewer reads it, at the time of every fix of the flight, against the
    // fix's own pressure altitude.
    const TrackLog log = std::get<TrackLog>(parseIgcLog(bytes));
    const BarographTrace trace = BarographTrace::fromFile(f.barograph);
    const qint64 landing = f.takeoffUtc + trace.flightSeconds();
    int fixes = 0, close = 0;
    for (const TrackFix &fix : log.fixes) {
        if (fix.utc < f.takeoffUtc || fix.utc > landing)
            continue;
        ++fixes;
        close += std::abs(trace.altitudeAt(float(fix.utc - f.takeoffUtc)) - fix.altitudeM) <= 2 ? 1 : 0;
    }
    QVERIFY2(close >= 0.95 * fixes, qPrintable(QStringLiteral("%1 of %2").arg(close).arg(fixes)));
    QVERIFY(f.takeoffUtc >= log.fixes.front().utc);
    QVERIFY(landing <= log.fixes.back().utc);
    if (!judged)
        return;

    // The row's take-off within a minute of the GPS track's and its duration within two;
    // a log that starts (ends) in the air is imported from its first (to its last) fix.
    const realflights::Track track(realflights::readFixes(file));
    const realflights::Truth truth = realflights::truthOf(track, QFileInfo(file).fileName().startsWith(u"sp-"));
    const double takeoff = truth.takeoff.value_or(0);
    const double duration = truth.landing.value_or(track.seconds() - 1) - takeoff;
    const qint64 takeoffError = f.takeoffUtc - log.fixes.front().utc - qint64(takeoff);
    const qint64 durationError = qint64(numtext::clockSeconds(f.row.duration).value_or(-1)) - qint64(duration);
    QVERIFY2(std::abs(takeoffError) <= 60 && std::abs(durationError) <= 120,
             qPrintable(QStringLiteral("take-off %1 s, landing %2 s, duration %3 s against the track")
                            .arg(takeoffError).arg(takeoffError + durationError).arg(durationError)));
}

void TestFlightImport::damagedFormsReadAsTheyShould_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal"); // empty: imported
    QTest::addColumn<QString>("note");    // a note the flight must carry
    QTest::addColumn<int>("interval");

    const QByteArray napret = fileBytes(kNapret);
    const QString igc = QStringLiteral("flight.igc");
    QTest::newRow("as it is") << napret << igc << QString() << QString() << 1;
    QTest::newRow("LF only") << QByteArray(napret).replace("\r\n", "\n") << igc << QString() << QString() << 1;
    QTest::newRow("HFDTEDATE: header")
        << eachLine(napret, [](const QByteArray &l) { return l == "HFDTE030416" ? QByteArray("HFDTEDATE:030416,01") : l; })
        << igc << QString() << QString() << 1;
    QTest::newRow("truncated mid-record") << napret.left(napret.size() / 2 + 17) << igc << QString()
                                          << baromsg::ImportBrokenRecords.toString().arg(1) << 1;
    int n = 0;
    QTest::newRow("a broken B record")
        << eachLine(napret, [&n](const QByteArray &l) { return l.startsWith('B') && ++n == 700 ? l.left(27) + "x" + l.mid(28) : l; })
        << igc << QString() << baromsg::ImportBrokenRecords.toString().arg(1) << 1;
    const auto noDate = eachLine(napret, [](const QByteArray &l) { return l.startsWith("HFDTE") ? QByteArray() : l; });
    QTest::newRow("no date") << noDate << igc << baromsg::ImportNoDate.toString() << QString() << 0;
    QTest::newRow("no date, a long IGC name") << noDate << QStringLiteral("2016-04-03-XGD-jos-01.igc") << QString()
                                              << QString() << 1;
    QTest::newRow("GNSS only")
        << eachLine(napret, [](const QByteArray &l) { return l.startsWith('B') ? l.left(25) + "00000" + l.mid(30) : l; })
        << igc << QString() << baromsg::ImportGnssAltitude.toString() << 1;
    QTest::newRow("across midnight UTC")
        << eachLine(napret, [](const QByteArray &l) { return shiftedTime(l, 11 * 3600 + 1800); }) << igc << QString()
        << QString() << 1;
    n = 0;
    QTest::newRow("4 s fixes")
        << eachLine(napret, [&n](const QByteArray &l) { return l.startsWith('B') && n++ % 4 ? QByteArray() : l; })
        << igc << QString() << QString() << 4;
    n = 0;
    QTest::newRow("5 s fixes") // every fix on a sample
        << eachLine(napret, [&n](const QByteArray &l) { return l.startsWith('B') && n++ % 5 ? QByteArray() : l; })
        << igc << QString() << QString() << 1;
    QTest::newRow("a foreign file") << QByteArray("just some notes\nabout a flight\n") << QStringLiteral("notes.igc")
                                    << baromsg::ImportNotTrackLog.toString() << QString() << 0;
    QTest::newRow("headers only")
        << eachLine(napret, [](const QByteArray &l) { return l.startsWith('B') ? QByteArray() : l; }) << igc
        << baromsg::ImportNoFix.toString() << QString() << 0;
    QTest::newRow("every fix V, no pressure")
        << eachLine(napret, [](const QByteArray &l) { return l.startsWith('B') ? l.left(24) + "V00000" + l.mid(30) : l; })
        << igc << baromsg::ImportNoFix.toString() << QString() << 0;
}

void TestFlightImport::damagedFormsReadAsTheyShould()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QFETCH(QString, note);
    QFETCH(int, interval);
    const ImportItem item = importBytes(bytes, name, utcPlus(2));
    if (!refusal.isEmpty()) {
        QCOMPARE(item.status, ImportItem::Status::Error);
        QCOMPARE(item.reason, refusal);
        return;
    }
    QCOMPARE(item.status, ImportItem::Status::New);
    const ImportedFlight &f = *item.flight;
    QCOMPARE(f.barograph.interval, interval);
    if (!note.isEmpty())
        QVERIFY2(f.notes.contains(note), qPrintable(f.notes.join(u'|')));
    else
        QVERIFY2(f.notes.isEmpty(), qPrintable(f.notes.join(u'|')));

    // Every whole form is the original flight: the same take-off within a minute (the date
    // moves with a shift across midnight) and the same duration within two minutes (GNSS
    // altitude, noisier, may see the landing a little earlier or later).
    static const ImportedFlight original = *importBytes(fileBytes(kNapret), name, utcPlus(2)).flight;
    if (QTest::currentDataTag() == QByteArrayView("truncated mid-record"))
        return;
    const bool shifted = QTest::currentDataTag() == QByteArrayView("across midnight UTC");
    QVERIFY(std::abs(f.takeoffUtc - original.takeoffUtc - (shifted ? 41400 : 0)) <= 60);
    const qint32 duration = (f.barograph.sampleCount() - 1) * f.barograph.interval;
    const qint32 before = (original.barograph.sampleCount() - 1) * original.barograph.interval;
    QVERIFY2(std::abs(duration - before) <= 120, qPrintable(QStringLiteral("%1 %2").arg(duration).arg(before)));
}

void TestFlightImport::gpxTracksReadLikeIgc()
{
    QByteArray gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"PhoneVario 3.2\"><trk><trkseg>\n";
    for (int i = 0; i < 400; ++i) {
        const int alt = i < 200 ? 800 + i * 2 : 1200 - (i - 200) * 3;
        gpx += QStringLiteral("<trkpt lat=\"36.%1\" lon=\"140.1\"><ele>%2.4</ele><time>2024-05-03T02:%3:%4Z</time></trkpt>\n")
                   .arg(1000 + i).arg(alt).arg(10 + i / 30, 2, 10, QLatin1Char('0')).arg(i % 30 * 2, 2, 10, QLatin1Char('0'))
                   .toLatin1();
        if (i == 100)
            gpx += "<trkpt lat=\"36.1\" lon=\"140.1\"><ele>900</ele></trkpt>\n"; // no time: skipped
    }
    const ImportItem whole = importBytes(gpx + "</trkseg></trk></gpx>\n", QStringLiteral("t.gpx"), utcPlus(9));
    QCOMPARE(whole.status, ImportItem::Status::New);
    QCOMPARE(QByteArrayView(whole.flight->row.date), QByteArrayView("24/05/03"));
    QCOMPARE(whole.flight->barograph.interval, 2);
    QCOMPARE(whole.flight->row.downloaded->source->recorder, QByteArray("PhoneVario 3.2"));
    QVERIFY(whole.flight->notes.contains(baromsg::ImportGnssAltitude.toString()));
    QVERIFY(whole.flight->notes.contains(baromsg::ImportBrokenRecords.toString().arg(1)));
    // Cut short in the middle of a point, it keeps the points before.
    const ImportItem cut = importBytes(gpx.left(gpx.size() * 3 / 4), QStringLiteral("t.gpx"), utcPlus(9));
    QCOMPARE(cut.status, ImportItem::Status::New);
    QVERIFY(cut.flight->barograph.sampleCount() < whole.flight->barograph.sampleCount());
    QCOMPARE(importBytes("<html><body>no track</body></html>", QStringLiteral("t.gpx")).reason,
             baromsg::ImportNotTrackLog.toString());
}

void TestFlightImport::ownExportComesBackAsTheSameRowAndSamples()
{
    // A barograph of whole metres, as IGC holds them, at 2 s: it must come back exactly.
    BarographFile file;
    file.interval = 2;
    for (int i = 0; i < 900; ++i)
        file.altitudes.push_back(float(600 + (i < 300 ? i * 3 : 900 - (i - 300) * 2) + (i % 7 == 0 ? 1 : 0)));
    FlightRecord row;
    row.date = "24/05/03";
    QVERIFY(setFiguresFromBarograph(row, buildBarographImage(file), 23 * 3600 + 30 * 60 + 5, QString()));
    IgcFlight flight;
    flight.date = row.date.toByteArray();
    flight.time = row.time.toByteArray();
    flight.utcOffsetMinutes = 9 * 60;
    flight.site = FlyingSite{"ASHIO", "ASHIO", 36.29, 140.12, 627};
    const IgcFile igc = buildIgc(BarographTrace::fromFile(file), flight);
    QCOMPARE(igc.problem, IgcFile::Problem::None);

    const ImportItem item = importBytes(igc.bytes, QStringLiteral("own.igc"), utcPlus(9));
    QCOMPARE(item.status, ImportItem::Status::New);
    for (Field f : {Field::Date, Field::Time, Field::Duration, Field::MaxAltitude, Field::MaxClimb})
        QCOMPARE(item.flight->row.fieldText(f), row.fieldText(f));
    QCOMPARE(item.flight->barograph.interval, file.interval);
    QCOMPARE(item.flight->barograph.altitudes, file.altitudes);
    QCOMPARE(item.flight->row.downloaded->source->recorder, QByteArray(kIgcRecorderType));
}

void TestFlightImport::launchNearASiteNamesIt()
{
    // napret's launch, 46°12.584'N 12°49.706'E (it starts in the air at its first fix).
    ImportSettings settings = utcPlus(2);
    const QByteArray bytes = fileBytes(kNapret);
    settings.sites = {{"FAR", "F", 46.2097 + 0.01, 12.8284, 0}, {"NEAR", "N", 46.2097 + 0.004, 12.8284, 0}};
    QCOMPARE(QByteArrayView(importBytes(bytes, QStringLiteral("n.igc"), settings).flight->row.area), QByteArrayView("NEAR"));
    settings.sites.pop_back(); // 1.1 km away
    QCOMPARE(QByteArrayView(importBytes(bytes, QStringLiteral("n.igc"), settings).flight->row.area), QByteArrayView(""));
}

void TestFlightImport::duplicatesAreKnownByIdentity()
{
    const QByteArray napret = fileBytes(kNapret);
    const ImportItem first = importBytes(napret, QStringLiteral("a.igc"), utcPlus(2));
    LogBook book;
    FlightRecord cut = first.flight->row;
    cut.time = "14:30:00";     // cut and corrected since the import: its identity stays
    cut.duration = "00:10:00";
    book.appendRow(cut);
    FlightRecord other;        // a flight of this log not imported: known by its present fields
    other.date = "16/04/04";
    other.time = "10:00:00";
    other.duration = "01:00:00";
    book.appendRow(other);

    // The same flight from another logger: take-off and duration each within a minute.
    const QByteArray otherLogger = eachLine(napret, [](const QByteArray &l) {
        return l.startsWith("HFDTE") ? l : l.startsWith('A') ? QByteArray("AXYZ other") : shiftedTime(l, 50);
    });
    const QByteArray minuteLater = eachLine(napret, [](const QByteArray &l) { return shiftedTime(l, 61); });
    std::vector<ImportItem> items = {
        importBytes(napret, QStringLiteral("b.igc"), utcPlus(2)),       // same bytes, another name
        importBytes(otherLogger, QStringLiteral("c.igc"), utcPlus(2)),  // same flight
        importBytes(minuteLater, QStringLiteral("d.igc"), utcPlus(2)),  // a minute and a second later
        importBytes(minuteLater, QStringLiteral("e.igc"), utcPlus(2)),  // d again, within this batch
    };
    FlightRecord minuteLaterLog = items[2].flight->row;
    QCOMPARE(items[2].status, ImportItem::Status::New);
    markDuplicates(items, book);
    QCOMPARE(items[0].status, ImportItem::Status::Duplicate);
    QCOMPARE(items[0].existingRow, 1);
    QCOMPARE(items[0].reason, baromsg::ImportSameSource.toString());
    QCOMPARE(items[1].status, ImportItem::Status::Duplicate);
    QCOMPARE(items[1].reason, baromsg::ImportSameFlight.toString().arg(1));
    QCOMPARE(items[2].status, ImportItem::Status::New);
    QCOMPARE(items[3].status, ImportItem::Status::Duplicate);
    QCOMPARE(items[3].earlierItem, 2);
    QCOMPARE(items[3].existingRow, -1);

    // The log's own flight, not imported, by its present fields.
    minuteLaterLog.downloaded = nullptr;
    minuteLaterLog.date = other.date;
    minuteLaterLog.time = "10:00:59";
    minuteLaterLog.duration = "00:59:01";
    std::vector<ImportItem> mine(1);
    mine[0].status = ImportItem::Status::New;
    mine[0].flight = ImportedFlight{};
    mine[0].flight->row = minuteLaterLog;
    markDuplicates(mine, book);
    QCOMPARE(mine[0].existingRow, 2);
}

void TestFlightImport::anotherZoneRewritesTheRowsAndTheDuplicates()
{
    const QByteArray napret = fileBytes(kNapret);
    LogBook book;
    book.appendRow(importBytes(napret, QStringLiteral("a.igc"), utcPlus(2)).flight->row);
    // The same flight from another logger, read at UTC: two hours from the log's row.
    const QByteArray otherLogger = eachLine(napret, [](const QByteArray &l) {
        return l.startsWith("HFDTE") ? l : l.startsWith('A') ? QByteArray("AXYZ other") : shiftedTime(l, 20);
    });
    std::vector<ImportItem> items = {importBytes(otherLogger, QStringLiteral("c.igc"), utcPlus(0))};
    markDuplicates(items, book);
    QCOMPARE(items[0].status, ImportItem::Status::New);
    items[0].addAnyway = true;

    // In each zone the row is what a fresh read in it gives, across midnight too (+12).
    for (int hours : {2, 12, 0}) {
        changeImportZone(items, book, utcPlus(hours));
        const ImportedFlight fresh = *importBytes(otherLogger, QStringLiteral("c.igc"), utcPlus(hours)).flight;
        for (int f = 0; f < kFieldCount; ++f)
            QCOMPARE(items[0].flight->row.fieldText(Field(f)), fresh.row.fieldText(Field(f)));
        QCOMPARE(items[0].flight->row.downloaded->fields, fresh.row.downloaded->fields);
        QCOMPARE(items[0].status, hours == 2 ? ImportItem::Status::Duplicate : ImportItem::Status::New);
        QCOMPARE(items[0].existingRow, hours == 2 ? 1 : -1);
        QVERIFY(items[0].addAnyway);
        QCOMPARE(QByteArrayView(items[0].flight->row.date), QByteArrayView(hours == 12 ? "16/04/04" : "16/04/03"));
    }
}

void TestFlightImport::applyAddsOneStepAndFreeNames()
{
    QTemporaryDir dir;
    LogBook book;
    book.workFolder = dir.path() + u'/';
    book.history.reset(book);
    const QByteArray napret = fileBytes(kNapret);
    std::vector<ImportItem> items = {
        importBytes(napret, QStringLiteral("a.igc"), utcPlus(2)),
        importBytes(napret, QStringLiteral("b.igc"), utcPlus(2)),
        importBytes("nothing", QStringLiteral("c.igc"), utcPlus(2)),
        importBytes(napret, QStringLiteral("d.igc"), utcPlus(2)),
    };
    // A file of the first name already stands in the folder, named by no row: never overwritten.
    const QByteArray plainName = barographFileName(items[0].flight->row.date, items[0].flight->row.time);
    QFile stray(book.workFolder + QString::fromLatin1(plainName));
    QVERIFY(stray.open(QIODevice::WriteOnly));
    stray.close();
    markDuplicates(items, book);
    items[3].addAnyway = true;
    const std::vector<FileImage> files = applyImport(book, items);

    QCOMPARE(book.rowCount(), 3);
    QCOMPARE(files.size(), size_t(2));
    QCOMPARE(items[0].row, 1);
    QCOMPARE(items[1].row, 1); // the duplicate skipped: the row it repeats
    QCOMPARE(items[2].row, -1);
    QCOMPARE(items[3].row, 2);
    QVERIFY(book.row(1).barographFile != plainName);
    QVERIFY(book.row(1).barographFile != book.row(2).barographFile);
    QCOMPARE(files[0].path, book.workFolder + text(book.row(1).barographFile));
    QCOMPARE(importReport(countImport(items)), QStringLiteral("2件取り込み、1件は既にあります、1件は読めません"));
    QVERIFY(book.logModified);
    QCOMPARE(book.history.undoCount(), 1);
}

void TestFlightImport::theCorpusImportedAgainAddsNothing()
{
    LogBook book;
    const QStringList sources = collectImportSources({kRealFlights});
    const auto readAll = [&] {
        std::vector<ImportItem> items;
        for (const QString &source : sources)
            items.push_back(readImportSource(source, utcPlus(0)));
        markDuplicates(items, book);
        return items;
    };
    std::vector<ImportItem> first = readAll();
    applyImport(book, first);
    QCOMPARE(countImport(first).added, int(sources.size())); // no two flights of the corpus taken for one
    std::vector<ImportItem> again = readAll();
    applyImport(book, again);
    const ImportCounts counts = countImport(again);
    QCOMPARE(counts.added, 0);
    QCOMPARE(counts.duplicates, int(sources.size()));
    for (size_t i = 0; i < again.size(); ++i)
        QCOMPARE(again[i].row, first[i].row);
}

void TestFlightImport::sourceTravelsThroughTheCompanion()
{
    LogBook book;
    std::vector<ImportItem> items = {importBytes(fileBytes(kNapret), QStringLiteral("ñ.igc"))};
    applyImport(book, items);
    const QByteArray json = serializeCompanion(companionOf(book));
    const auto back = parseCompanion(json);
    QVERIFY(std::holds_alternative<Companion>(back));
    const Companion &c = std::get<Companion>(back);
    QCOMPARE(c.entries.size(), size_t(1));
    QCOMPARE(c.entries[0].downloaded->source, book.row(1).downloaded->source);
    QCOMPARE(c.entries[0].downloaded->source->file, QStringLiteral("ñ.igc"));
}

QTEST_GUILESS_MAIN(TestFlightImport)
#include "tst_flightimport.moc"
