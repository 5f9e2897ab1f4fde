// The log's companion file: everything it holds comes back byte for byte, members of a
// newer version survive, a damaged or outsized file is refused with its reason, and each
// entry goes back to its own row, or to none when the log changed elsewhere.
#include "logbook/core/companion.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>

namespace {

FlightRecord flightAt(const char *time, const char *comment = "")
{
    FlightRecord r;
    r.date = "24/05/03";
    r.time = time;
    r.duration = "00:30:00";
    r.comment = comment;
    return r;
}

std::shared_ptr<const DownloadedFlight> downloadWithRaw(const FlightRecord &flight, const char *raw)
{
    DownloadedFlight d;
    for (int f = 0; f < kFieldCount; ++f)
        d.fields[size_t(f)] = flight.fieldText(Field(f)).toByteArray();
    d.raw = QString::fromLatin1(raw);
    return std::make_shared<const DownloadedFlight>(d);
}

// The raw copy a row's entry names; "-" when it has none.
QString rawOf(const FlightRecord &flight)
{
    return flight.downloaded ? flight.downloaded->raw : QStringLiteral("-");
}

} // namespace

class TestCompanion : public QObject {
    Q_OBJECT
private slots:
    void everythingComesBackExactly()
    {
        FlightRecord flight;
        flight.date = "24/05/03";
        flight.time = "10:21:05";
        flight.duration = "01:12:40";
        flight.maxAltitude = "0987 m";
        flight.maxClimb = "3.4 m/s";
        flight.area = QByteArray("\x91\xab\x94\xf6\x8e\x52", 6); // cp932, and a byte that is '%'-like
        flight.comment = QByteArray("100%\r\n\x81\x60|\x1f", 10);
        Companion c;
        c.carriedFlights = 312;
        c.carriedSeconds = 3600LL * 540 + 7;
        c.entries.push_back({1, flightKey(flight), true, downloadWithRaw(flight, "raw/24050310-1.BRG")});
        c.entries.push_back({Companion::kNoRow, QByteArray("a|b%|\xff"), true, nullptr});
        c.analysis[QByteArray(40, 'a')] = {1234.5, 678.25, QStringLiteral("24050310.BRG"), 30424, 1733580000000};
        c.analysis[QByteArray(40, 'b')] = {1, 1, {}, -1, 0, 312.4, true};
        c.analysis[QByteArray(40, 'c')] = {1, 1, {}, -1, 0, std::nullopt, true}; // no landing found
        c.rules = currencyPresets();
        c.rules[0].name = QByteArray("%`ÿ", 4);
        c.rules.back().expires = QDate(2028, 2, 29);
        c.gear.push_back({QByteArray("E|%", 4), GearKind::Reserve, 6, 0.5, 0, {QDate(2024, 2, 29)},
                          {QDate(2024, 3, 1), QDate(2069, 12, 31)}});
        c.unknown.insert(QStringLiteral("fromANewerVersion"), QJsonObject{{QStringLiteral("x"), 1}});

        const QByteArray bytes = serializeCompanion(c);
        const auto read = parseCompanion(bytes);
        QVERIFY(std::holds_alternative<Companion>(read));
        QVERIFY(std::get<Companion>(read) == c);
        QCOMPARE(serializeCompanion(std::get<Companion>(read)), bytes);
        QVERIFY(bytes.contains("\"version\": 3"));
        // A corpus seed for the reader's fuzz target, kept where CTest runs it.
        if (qEnvironmentVariableIsSet("DUVAZI_REGENERATE")) {
            QFile seed(QStringLiteral(FUZZ_CORPUS_DIR "/companion/full-v3.json"));
            QVERIFY(seed.open(QIODevice::WriteOnly) && seed.write(bytes) == bytes.size());
        }
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason"); // empty: any reason
        QTest::newRow("not JSON") << QByteArray("{\"version\": 1,") << QString();
        QTest::newRow("an array") << QByteArray("[1]") << QString();
        QTest::newRow("no version") << QByteArray("{\"excluded\": []}") << QString();
        QTest::newRow("excluded not a list") << QByteArray("{\"version\": 1, \"excluded\": \"x\"}") << QString();
        QTest::newRow("a key with a raw byte") << QByteArray("{\"version\": 1, \"excluded\": [\"\xc3\xa9\"]}") << QString();
        QTest::newRow("negative carried time")
            << QByteArray("{\"version\": 1, \"carriedOver\": {\"flights\": 1, \"seconds\": -5}}") << QString();
        QTest::newRow("a row of eight fields")
            << QByteArray("{\"version\": 1, \"downloads\": [{\"row\": [\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}]}") << QString();
        QTest::newRow("a field too wide for its row")
            << QByteArray("{\"version\": 1, \"downloads\": [{\"row\": [\"1234567\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}]}") << QString();
        QTest::newRow("a 0x00 in a field")
            << QByteArray("{\"version\": 1, \"downloads\": [{\"row\": [\"1%00\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}]}") << QString();
        QTest::newRow("an analysis not by hash")
            << QByteArray("{\"version\": 1, \"analysis\": {\"x\": {\"totalClimb\": 1, \"biggestGain\": 1}}}") << QString();
        QTest::newRow("a row that is no position")
            << QByteArray("{\"version\": 2, \"flights\": [{\"row\": 1.5, \"flight\": \"k\", \"excluded\": true}]}") << QString();
        QTest::newRow("an entry holding nothing") << QByteArray("{\"version\": 2, \"flights\": [{\"flight\": \"k\"}]}") << QString();
        QTest::newRow("a raw copy of no download")
            << QByteArray("{\"version\": 2, \"flights\": [{\"flight\": \"k\", \"excluded\": true, \"raw\": \"r\"}]}") << QString();
        QTest::newRow("a rule of no kind")
            << QByteArray("{\"version\": 3, \"rules\": [{\"name\": \"a\", \"kind\": \"landings\", \"min\": 1}]}") << QString();
        QTest::newRow("a height rule without its height")
            << QByteArray("{\"version\": 3, \"rules\": [{\"name\": \"a\", \"kind\": \"heightFlights\", \"min\": 1}]}") << QString();
        QTest::newRow("an expiry that is no day")
            << QByteArray("{\"version\": 3, \"rules\": [{\"name\": \"a\", \"kind\": \"expiry\", \"expires\": \"27/02/29\"}]}") << QString();
        QTest::newRow("checks out of order")
            << QByteArray("{\"version\": 3, \"gear\": [{\"name\": \"g\", \"kind\": \"glider\", \"checks\": [\"25/01/02\", \"25/01/01\"]}]}") << QString();
        QTest::newRow("a negative limit")
            << QByteArray("{\"version\": 3, \"gear\": [{\"name\": \"g\", \"kind\": \"glider\", \"everyHours\": -1}]}") << QString();
        // Within the size limit, shapes that would cost the JSON parser gigabytes.
        QTest::newRow("nested too deep") << QByteArray(Companion::kMaxDepth + 1, '[') + QByteArray(Companion::kMaxDepth + 1, ']') << msg::CompanionTooManyMembers.toString();
        QTest::newRow("too many containers")
            << "{\"version\": 2, \"x\": [" + QByteArray("[],").repeated(Companion::kMaxContainers) + "[]]}" << msg::CompanionTooManyMembers.toString();
        QTest::newRow("too many values")
            << "{\"version\": 2, \"x\": [" + QByteArray("1,").repeated(Companion::kMaxValues) + "1]}" << msg::CompanionTooManyMembers.toString();
        QTest::newRow("a string too long")
            << "{\"version\": 2, \"flights\": [{\"flight\": \"" + QByteArray(Companion::kMaxTextBytes + 1, 'a') + "\"}]}" << msg::CompanionTextTooLong.toString();
        QByteArray unknown = "{\"version\": 2";
        for (qint64 n = 0; n <= Companion::kMaxUnknownBytes / Companion::kMaxTextBytes; ++n)
            unknown += ", \"x" + QByteArray::number(n) + "\": \"" + QByteArray(Companion::kMaxTextBytes, 'a') + '"';
        QTest::newRow("unknown members too large") << unknown + '}' << msg::CompanionUnknownTooLarge.toString();
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const auto read = parseCompanion(bytes);
        QVERIFY(std::holds_alternative<QString>(read));
        QVERIFY(!std::get<QString>(read).isEmpty());
        if (!reason.isEmpty())
            QCOMPARE(std::get<QString>(read), reason);
    }

    void entriesFollowTheirFlightsThroughSaveSortAndEdit()
    {
        QTemporaryDir dir;
        LogBook book;
        book.workFolder = dir.path() + u'/';
        for (const char *time : {"14:00:00", "09:00:00", "11:00:00"}) {
            FlightRecord &r = book.appendRow();
            r.date = "24/05/03";
            r.time = time;
            r.duration = "00:30:00";
        }
        const QString path = dir.filePath(QStringLiteral("spring.log"));
        QCOMPARE(saveLogBook(book, path, "n").outcome, LogSaveResult::Outcome::Written);
        QVERIFY2(!QFile::exists(companionPathFor(path)), "nothing to keep, no companion");

        book.row(1).excludedFromStatistics = true;
        book.row(2).downloaded = std::make_shared<const DownloadedFlight>(
            DownloadedFlight{{"", "24/05/03", "09:00:00", "", "00:31:00", "0500 m", "1.0 m/s", "", "X.V00"}, "raw/X.V00"});
        book.companion.carriedFlights = 40;
        QCOMPARE(saveLogBook(book, path, "n").outcome, LogSaveResult::Outcome::Written);
        QVERIFY(QFile::exists(companionPathFor(path)));

        // Read back, sorted, the cut flight's figures changed: the entries stay with their flights.
        LogBook again;
        loadContents(again, *readLogFile(path));
        const CompanionRead read = readCompanionBeside(path, dir.filePath(QStringLiteral("bak")));
        QVERIFY(read.companion && read.damage.isEmpty());
        attachCompanion(again, *read.companion);
        sortFlightsByDate(again);
        again.row(1).duration = "00:29:00";
        QCOMPARE(again.row(1).time.toByteArray(), QByteArray("09:00:00"));
        QVERIFY(again.row(1).downloaded && again.row(1).downloaded->raw == QStringLiteral("raw/X.V00"));
        QVERIFY(again.row(3).excludedFromStatistics && !again.row(2).excludedFromStatistics);
        const Companion written = companionOf(again);
        QCOMPARE(written.carriedFlights, 40);
        QVERIFY(std::any_of(written.entries.begin(), written.entries.end(), [&](const Companion::Entry &e) {
            return e.row == 1 && e.key == flightKey(again.row(1)) && e.downloaded == again.row(1).downloaded;
        }));

        // A damaged companion: said, kept in bak at once (made when missing), and the log still reads.
        QVERIFY(QDir(dir.filePath(QStringLiteral("bak"))).removeRecursively());
        QFile damaged(companionPathFor(path));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"version\": ") > 0);
        damaged.close();
        const CompanionRead bad = readCompanionBeside(path, dir.filePath(QStringLiteral("bak")));
        QVERIFY(!bad.companion && !bad.damage.isEmpty());
        QCOMPARE(QDir(dir.filePath(QStringLiteral("bak"))).entryList({QStringLiteral("*.damaged")}).size(), 1);
    }

    // Rows A, B, C and D (A's twin: the same key) saved with their entries, then the log
    // rewritten by another program.
    void aLogChangedElsewhereGivesNoEntryToAWrongFlight_data()
    {
        QTest::addColumn<QByteArray>("rowsNow");
        QTest::addColumn<QStringList>("raws"); // each row's entry as read ("-": none)
        QTest::addColumn<int>("unmatched");
        QTest::newRow("unchanged") << QByteArray("ABCD") << QStringList{"a", "b", "c", "d"} << 0;
        QTest::newRow("sorted elsewhere") << QByteArray("CABD") << QStringList{"c", "a", "b", "d"} << 0;
        QTest::newRow("a row deleted") << QByteArray("ACD") << QStringList{"a", "c", "d"} << 1;
        QTest::newRow("a twin added") << QByteArray("ABCDA") << QStringList{"a", "b", "c", "d", "-"} << 0;
        QTest::newRow("twins moved") << QByteArray("BADC") << QStringList{"b", "-", "-", "c"} << 2;
    }
    void aLogChangedElsewhereGivesNoEntryToAWrongFlight()
    {
        QFETCH(QByteArray, rowsNow);
        QFETCH(QStringList, raws);
        QFETCH(int, unmatched);
        const auto flight = [](char name) {
            return flightAt(name == 'B' ? "11:00:00" : name == 'C' ? "12:00:00" : "10:00:00", name == 'D' ? "twin" : "");
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("moved.log"));
        LogBook book;
        for (const char name : QByteArray("ABCD")) {
            FlightRecord &r = book.appendRow(flight(name));
            r.downloaded = downloadWithRaw(r, QByteArray(1, char(name - 'A' + 'a')).constData());
        }
        QCOMPARE(saveLogBook(book, path, "n").outcome, LogSaveResult::Outcome::Written);
        LogBook elsewhere;
        for (const char name : rowsNow)
            elsewhere.appendRow(flight(name));
        QVERIFY(!writeFile(path, buildLogImage(elsewhere)));

        LogBook again;
        loadContents(again, *readLogFile(path));
        QCOMPARE(attachCompanion(again, *readCompanionBeside(path, dir.filePath(QStringLiteral("bak"))).companion),
                 unmatched);
        for (int row = 1; row < again.rowCount(); ++row)
            QCOMPARE(rawOf(again.row(row)), raws[row - 1]);
        // What matched nothing is written back, naming no row.
        const Companion written = companionOf(again);
        QCOMPARE(int(written.entries.size()), int(raws.size() - raws.count(QStringLiteral("-"))) + unmatched);
        QVERIFY(std::all_of(written.entries.end() - unmatched, written.entries.end(),
                            [](const Companion::Entry &e) { return e.row == Companion::kNoRow; }));
    }

    void version1FilesStillNameFlightsByContent()
    {
        const FlightRecord a = flightAt("10:00:00");
        const QByteArray bytes = "{\"version\": 1, \"excluded\": [\"" +
            flightKey(a).toPercentEncoding(" /:.-_") + "\"]}";
        LogBook book;
        book.appendRow(a);
        book.appendRow(flightAt("10:00:00", "twin"));
        QCOMPARE(attachCompanion(book, std::get<Companion>(parseCompanion(bytes))), 0);
        QVERIFY(book.row(1).excludedFromStatistics && book.row(2).excludedFromStatistics);
    }

    void aFullLogsCompanionIsWithinTheBounds()
    {
        LogBook book;
        for (int n = 1; n < LogBook::kMaxRows; ++n) {
            FlightRecord &r = book.appendRow(flightAt(QByteArray::number(n).constData(), "a comment"));
            r.excludedFromStatistics = true;
            r.downloaded = downloadWithRaw(r, "raw/24050310.V00-2");
            book.companion.analysis[QCryptographicHash::hash(QByteArray::number(n), QCryptographicHash::Sha1).toHex()] =
                {1234.5, 678.25, QStringLiteral("24050310.V00"), 30424, 1733580000000};
        }
        const auto read = parseCompanion(serializeCompanion(companionOf(book)));
        if (const QString *problem = std::get_if<QString>(&read))
            QFAIL(qPrintable(*problem));
        QCOMPARE(std::get<Companion>(read).entries.size(), size_t(LogBook::kMaxRows - 1));
    }

    void aFlightsKeyIsItsContent()
    {
        FlightRecord a;
        a.date = "24/05/03";
        a.time = "10:21:05";
        a.duration = "01:12:40";
        FlightRecord b = a;
        b.number = "17";
        b.area = "elsewhere";
        b.comment = "edited";
        QCOMPARE(flightKey(b), flightKey(a));
        b.maxClimb = "3.5 m/s";
        QVERIFY(flightKey(b) != flightKey(a));
        QCOMPARE(companionPathFor(QStringLiteral("/f/spring.LOG")), QStringLiteral("/f/spring.duvazi.json"));
    }
};

QTEST_APPLESS_MAIN(TestCompanion)
#include "tst_companion.moc"
