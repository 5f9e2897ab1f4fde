// The log's companion file: everything it holds comes back byte for byte, members of a
// newer version survive, a damaged file is refused with its reason, and a flight's key
// follows its content, not its row.
#include "logbook/core/companion.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>

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
        c.excluded = {flightKey(flight), QByteArray("a|b%|\xff")};
        c.carriedFlights = 312;
        c.carriedSeconds = 3600LL * 540 + 7;
        Companion::Download d;
        for (int f = 0; f < kFieldCount; ++f)
            d.fields[size_t(f)] = flight.fieldText(Field(f)).toByteArray();
        d.raw = QStringLiteral("raw/24050310-1.BRG");
        c.downloads[flightKey(flight)] = d;
        c.analysis[QByteArray(40, 'a')] = {1234.5, 678.25, QStringLiteral("24050310.BRG"), 30424, 1733580000000};
        c.unknown.insert(QStringLiteral("fromANewerVersion"), QJsonObject{{QStringLiteral("x"), 1}});

        const QByteArray bytes = serializeCompanion(c);
        const auto read = parseCompanion(bytes);
        QVERIFY(std::holds_alternative<Companion>(read));
        QVERIFY(std::get<Companion>(read) == c);
        QCOMPARE(serializeCompanion(std::get<Companion>(read)), bytes);
        QVERIFY(bytes.contains("\"version\": 1"));
        // A corpus seed for the reader's fuzz target, kept where CTest runs it.
        if (qEnvironmentVariableIsSet("DUVAZI_REGENERATE")) {
            QFile seed(QStringLiteral(FUZZ_CORPUS_DIR "/companion/full.json"));
            QVERIFY(seed.open(QIODevice::WriteOnly) && seed.write(bytes) == bytes.size());
        }
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not JSON") << QByteArray("{\"version\": 1,");
        QTest::newRow("an array") << QByteArray("[1]");
        QTest::newRow("no version") << QByteArray("{\"excluded\": []}");
        QTest::newRow("excluded not a list") << QByteArray("{\"version\": 1, \"excluded\": \"x\"}");
        QTest::newRow("a key with a raw byte") << QByteArray("{\"version\": 1, \"excluded\": [\"\xc3\xa9\"]}");
        QTest::newRow("negative carried time")
            << QByteArray("{\"version\": 1, \"carriedOver\": {\"flights\": 1, \"seconds\": -5}}");
        QTest::newRow("a row of eight fields")
            << QByteArray("{\"version\": 1, \"downloads\": [{\"row\": [\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}]}");
        QTest::newRow("a field too wide for its row")
            << QByteArray("{\"version\": 1, \"downloads\": [{\"row\": [\"1234567\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}]}");
        QTest::newRow("a 0x00 in a field")
            << QByteArray("{\"version\": 1, \"downloads\": [{\"row\": [\"1%00\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]}]}");
        QTest::newRow("an analysis not by hash")
            << QByteArray("{\"version\": 1, \"analysis\": {\"x\": {\"totalClimb\": 1, \"biggestGain\": 1}}}");
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        const auto read = parseCompanion(bytes);
        QVERIFY(std::holds_alternative<QString>(read));
        QVERIFY(!std::get<QString>(read).isEmpty());
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
        QVERIFY(written.downloads.count(flightKey(again.row(1))));

        // A damaged companion: said, kept in bak, and the log still reads.
        QFile damaged(companionPathFor(path));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"version\": ") > 0);
        damaged.close();
        const CompanionRead bad = readCompanionBeside(path, dir.filePath(QStringLiteral("bak")));
        QVERIFY(!bad.companion && !bad.damage.isEmpty());
        QCOMPARE(QDir(dir.filePath(QStringLiteral("bak"))).entryList({QStringLiteral("*.damaged")}).size(), 1);
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
