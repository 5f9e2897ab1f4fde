// The log's companion file: everything it holds comes back byte for byte, members of a
// newer version survive, a damaged file is refused with its reason, and a flight's key
// follows its content, not its row.
#include "logbook/core/companion.h"

#include <QFile>
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
        c.analysis[QByteArray(40, 'a')] = {1234.5, 678.25};
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
