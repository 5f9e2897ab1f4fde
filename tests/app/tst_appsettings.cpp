// Settings: the typed file store, defaults and wrong types, the placement rule and the
// start folder.
#include "app/core/appsettings.h"
#include "app/core/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAppSettings : public QObject {
    Q_OBJECT
private slots:
    void valuesRoundTripWithTheirTypes();
    void wrongTypesAndDamagedLinesReadAsDefaults();
    void firstRunDefaults();
    void placement_data();
    void placement();
    void storedValuesSurviveAWriteAndRead();
    void workFolder();
};

void TestAppSettings::valuesRoundTripWithTheirTypes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cfg/vevave/duvazi.conf");
    {
        FileSettingsStore store(path);
        store.writeInt("I", -5);
        store.writeBool("B", true);
        store.writeDouble("D", 0.1);
        store.writeString("S", QStringLiteral("足尾\\山\nline"));
        QVERIFY(store.commit());
    }
    FileSettingsStore store(path);
    QCOMPARE(store.readInt("I"), std::optional<qint32>(-5));
    QCOMPARE(store.readBool("B"), std::optional<bool>(true));
    QCOMPARE(store.readDouble("D"), std::optional<double>(0.1)); // bit for bit
    QCOMPARE(store.readString("S"), std::optional<QString>(QStringLiteral("足尾\\山\nline")));
    QVERIFY(!store.readInt("missing"));
}

void TestAppSettings::wrongTypesAndDamagedLinesReadAsDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("duvazi.conf");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Rise=binary:0102\n"          // not 8 bytes
            "Sink=dword:3\n"              // an integer where a double belongs
            "Sampling=sz:1\n"             // text where an integer belongs
            "ComPort=dword:7\n"
            "AutoSet=dword:5\n"           // any non-zero value is true
            "garbage without equals\n"
            "FormTop=dword:notanumber\n"
            "FormLeft=dword:12\r\n");
    f.close();
    const FileSettingsStore store(path);
    const AppSettings s = readAppSettings(store, QSize(1280, 1024));
    QCOMPARE(s.rise, 0.1);
    QCOMPARE(s.sink, 0.1);
    QCOMPARE(s.sampling, 2);
    QCOMPARE(s.comPort, 7);
    QVERIFY(s.autoSet);
    QCOMPARE(s.formTop, 0);
    QCOMPARE(s.formLeft, 12);
}

void TestAppSettings::firstRunDefaults()
{
    QTemporaryDir dir;
    const FileSettingsStore store(dir.filePath("none.conf"));
    const AppSettings s = readAppSettings(store, QSize(1920, 1080));
    QVERIFY(!s.windowStateStored);
    QCOMPARE(s.formWidth, 1000);  // 1344 capped
    QCOMPARE(s.formHeight, 750);  // 756 capped
    QCOMPARE(s.comPort, 1);
    QCOMPARE(s.sampling, 2);
    QCOMPARE(s.rise, 0.1);
    QVERIFY(!s.dontAskDir);
    QVERIFY(!s.startDir);
    QVERIFY(!s.importUtcOffsetMinutes); // the computer's time zone
    const AppSettings small = readAppSettings(store, QSize(800, 600));
    QCOMPARE(small.formWidth, 560);
    QCOMPARE(small.formHeight, 420);
}

void TestAppSettings::placement_data()
{
    QTest::addColumn<bool>("stateStored");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("stored"); // (0, 0): not stored
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("state");
    QTest::newRow("first run, large screen") << false << QSize(1600, 1200) << QSize() << QSize(1000, 750) << 0;
    QTest::newRow("first run, 915 x 686") << false << QSize(915, 686) << QSize() << QSize(640, 480) << 0;
    QTest::newRow("first run, 914 wide") << false << QSize(914, 768) << QSize() << QSize(640, 460) << 2;
    QTest::newRow("first run, 685 high") << false << QSize(1024, 685) << QSize() << QSize(640, 460) << 2;
    QTest::newRow("stored small size stays") << true << QSize(1600, 1200) << QSize(300, 200) << QSize(300, 200) << 0;
}

void TestAppSettings::placement()
{
    QFETCH(bool, stateStored);
    QFETCH(QSize, screen);
    QFETCH(QSize, stored);
    QFETCH(QSize, size);
    QFETCH(int, state);
    QTemporaryDir dir;
    FileSettingsStore store(dir.filePath("s.conf"));
    if (stateStored)
        store.writeInt("WindowState", 0);
    if (stored.isValid()) {
        store.writeInt("FormWidth", stored.width());
        store.writeInt("FormHeight", stored.height());
    }
    const Placement p = decidePlacement(readAppSettings(store, screen));
    QCOMPARE(QSize(p.width, p.height), size);
    QCOMPARE(p.windowState, state);
    QCOMPARE(p.top, 0);
    QCOMPARE(p.left, 0);
}

void TestAppSettings::storedValuesSurviveAWriteAndRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.conf");
    AppSettings s;
    s.flyerName = QByteArray("\x83\x5C\x83\x89", 4); // ソラ in cp932
    s.rise = 2.3;
    s.comPort = 7; // no item is ticked for it, and it is written back as it was
    s.comDevice = QStringLiteral("/dev/ttyUSB0");
    s.comTypedDevice = QStringLiteral("/dev/pts/4");
    s.trafficTrace = QStringLiteral("/tmp/evodu.trace");
    s.windowState = 2;
    s.ifDirSet = 1;
    s.importUtcOffsetMinutes = 5 * 60 + 45;
    {
        FileSettingsStore store(path);
        writeAppSettings(store, s, QStringLiteral("/flights/"));
        QVERIFY(store.commit());
    }
    const FileSettingsStore store(path);
    const AppSettings back = readAppSettings(store, QSize(1024, 768));
    QCOMPARE(back.flyerName, s.flyerName);
    QCOMPARE(back.rise, 2.3);
    QCOMPARE(back.comPort, 7);
    QCOMPARE(back.comDevice, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(back.comTypedDevice, QStringLiteral("/dev/pts/4"));
    QCOMPARE(back.trafficTrace, QStringLiteral("/tmp/evodu.trace"));
    QVERIFY(back.windowStateStored);
    QCOMPARE(back.windowState, 2);
    QCOMPARE(back.startDir, std::optional<QString>(QDir::toNativeSeparators("/flights/")));
    QCOMPARE(back.importUtcOffsetMinutes, s.importUtcOffsetMinutes);
}

void TestAppSettings::workFolder()
{
    QTemporaryDir dir;
    AppSettings s;
    const QString current = QStringLiteral("/current");
    QCOMPARE(decideWorkFolder(s, current), QStringLiteral("/current/"));
    s.ifDirSet = 1; // without a StartDir: as if 0
    QCOMPARE(decideWorkFolder(s, current), QStringLiteral("/current/"));
    s.startDir = dir.path() + u'/';
    QCOMPARE(decideWorkFolder(s, current), dir.path() + u'/');
    s.startDir = dir.path() + QStringLiteral("/gone/"); // a folder that no longer exists
    QCOMPARE(decideWorkFolder(s, current), QStringLiteral("/current/"));
    s.ifDirSet = 0;
    s.startDir = dir.path();
    QCOMPARE(decideWorkFolder(s, current), QStringLiteral("/current/"));
}

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
