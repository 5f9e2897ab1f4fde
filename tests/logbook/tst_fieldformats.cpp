// The number formats of the altitude and climb fields, the editor's number check and the
// flying time of a duration, with their edge values.
#include "logbook/core/fieldformats.h"

#include <QTest>

using namespace fieldformat;

class TestFieldFormats : public QObject {
    Q_OBJECT
private slots:
    void storedFormats();
    void editorTexts_data();
    void editorTexts();
    void numberCheck_data();
    void numberCheck();
    void durations();
};

void TestFieldFormats::storedFormats()
{
    QCOMPARE(altitudeText(345), QByteArray("0345 m"));
    QCOMPARE(altitudeText(12345), QByteArray("12345 m"));
    QCOMPARE(climbText(0.35 + 0.0001), QByteArray("0.4 m/s"));
    QCOMPARE(climbText(-2.5), QByteArray("-2.5 m/s"));
    // What the editor stores: "%04.1f m" and "%.1f m/s" of the number plus 0.0001.
    QCOMPARE(editedAltitudeText(2345), QByteArray("2345.0 m"));
    QCOMPARE(editedAltitudeText(345), QByteArray("345.0 m"));
    QCOMPARE(editedAltitudeText(5), QByteArray("05.0 m"));
    QCOMPARE(editedAltitudeText(numberAtStart("")), QByteArray("00.0 m"));
    QCOMPARE(editedAltitudeText(numberAtStart("-")), QByteArray("00.0 m"));
    QCOMPARE(editedAltitudeText(12.25), QByteArray("12.3 m")); // the bias lifts a half
    QCOMPARE(editedClimbText(5.4), QByteArray("5.4 m/s"));
    QCOMPARE(editedClimbText(-2.5), QByteArray("-2.5 m/s"));
    QCOMPARE(editedClimbText(numberAtStart("")), QByteArray("0.0 m/s"));
}

void TestFieldFormats::editorTexts_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("altitude");
    QTest::addColumn<QByteArray>("climb");
    QTest::newRow("downloaded") << QByteArray("0345 m") << QByteArray("345.0") << QByteArray("345.0");
    QTest::newRow("edited") << QByteArray("2345.0 m") << QByteArray("2345.0") << QByteArray("2345.0");
    QTest::newRow("small") << QByteArray("5.0 m") << QByteArray("05.0") << QByteArray("5.0");
    QTest::newRow("float tenth") << QByteArray("5.4 m/s") << QByteArray("05.4") << QByteArray("5.4");
    QTest::newRow("negative") << QByteArray("-0.7 m/s") << QByteArray("-0.7") << QByteArray("-0.7");
    QTest::newRow("no number") << QByteArray("最大") << QByteArray("00.0") << QByteArray("0.0");
    // Kept finite: the editor never shows "inf", which its own check would refuse.
    const QByteArray floatMax("340282346638528859811704183484516925440.0");
    QTest::newRow("beyond a float") << QByteArray("1e300 m") << floatMax << floatMax;
}

void TestFieldFormats::editorTexts()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, altitude);
    QFETCH(QByteArray, climb);
    QCOMPARE(altitudeEditText(stored), altitude);
    QCOMPARE(climbEditText(stored), climb);
}

void TestFieldFormats::numberCheck_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");
    for (const char *ok : {"", "-", "+", "12", "-3.5", "12.", "0.0", "1234567"})
        QTest::newRow(ok) << QByteArray(ok) << true;
    for (const char *bad : {"1.25", ".5", "+.5", "1-2", "1e3", "12.3.", "a", " 1", "--1", "1.2.3"})
        QTest::newRow(bad) << QByteArray(bad) << false;
}

void TestFieldFormats::numberCheck()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QCOMPARE(isNumberText(text), accepted);
}

void TestFieldFormats::durations()
{
    // What the one reader reads; a field it cannot read counts no time.
    QCOMPARE(secondsOf("01:12:40"), 4360);
    QCOMPARE(secondsOf("1:30:00"), 5400);
    QCOMPARE(secondsOf("  :  :  "), 0);
    QCOMPARE(secondsOf("1"), 0);
    QCOMPARE(secondsOf("999999999"), 0);
}

QTEST_GUILESS_MAIN(TestFieldFormats)
#include "tst_fieldformats.moc"
