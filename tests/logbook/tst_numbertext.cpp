// Numbers as text: printf's formats without the locale, and C's atoi and atof.
#include "logbook/core/text/numbertext.h"

#include <QTest>

#include <clocale>

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void fixed_data();
    void fixed();
    void decimalAndClock();
    void toInt_data();
    void toInt();
    void toReal_data();
    void toReal();
};

void TestNumberText::fixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("zeroPad");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("%5.1f pads") << 99.5 << 5 << false << QByteArray(" 99.5");
    QTest::newRow("%5.1f wider than 5") << 12345.6 << 5 << false << QByteArray("12345.6");
    QTest::newRow("%5.1f negative") << -12.04 << 5 << false << QByteArray("-12.0");
    QTest::newRow("%4.1f float 987.6") << double(987.6f) << 4 << false << QByteArray("987.6");
    QTest::newRow("tie 0.25 to even") << 0.25 << 0 << false << QByteArray("0.2");
    QTest::newRow("tie 0.75 to even") << 0.75 << 0 << false << QByteArray("0.8");
    QTest::newRow("just under a half") << double(1244.45f) << 0 << false << QByteArray("1244.4");
    QTest::newRow("negative rounds to -0.0") << -0.04 << 0 << false << QByteArray("-0.0");
    QTest::newRow("%02.1f never pads") << 3.44 << 2 << true << QByteArray("3.4");
    QTest::newRow("%06.1f zeros after sign") << -3.44 << 6 << true << QByteArray("-003.4");
}

void TestNumberText::fixed()
{
    QFETCH(double, value);
    QFETCH(int, width);
    QFETCH(bool, zeroPad);
    QFETCH(QByteArray, text);
    QCOMPARE(numtext::fixed(value, 1, width, zeroPad), text);
    // The desktop's locale never changes the decimal point.
    const char *old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QCOMPARE(numtext::fixed(value, 1, width, zeroPad), text);
    std::setlocale(LC_NUMERIC, old ? old : "C");
}

void TestNumberText::decimalAndClock()
{
    QCOMPARE(numtext::decimal(987, 4, true), QByteArray("0987"));
    QCOMPARE(numtext::decimal(-2, 4, true), QByteArray("-002"));
    QCOMPARE(numtext::decimal(12345, 4, true), QByteArray("12345"));
    QCOMPARE(numtext::decimal(-8, 2), QByteArray("-8"));
    QCOMPARE(numtext::decimal(5, 4), QByteArray("   5"));
    QCOMPARE(numtext::clockText(0), QByteArray("00:00:00"));
    QCOMPARE(numtext::clockText(14 * 3600 + 35 * 60 + 20), QByteArray("14:35:20"));
    QCOMPARE(numtext::clockText(100 * 3600 + 59), QByteArray("100:00:59"));
}

void TestNumberText::toInt_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint32>("value");
    QTest::newRow("blanks and sign") << QByteArray(" \t-42xyz") << -42;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("stops at point") << QByteArray("2.9") << 2;
    QTest::newRow("no digits") << QByteArray("- 5") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("clamped high") << QByteArray("99999999999999999999") << 2147483647;
    QTest::newRow("clamped low") << QByteArray("-99999999999999999999") << qint32(-2147483647 - 1);
}

void TestNumberText::toInt()
{
    QFETCH(QByteArray, text);
    QFETCH(qint32, value);
    QCOMPARE(numtext::toInt(text), value);
}

void TestNumberText::toReal_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << QByteArray("  612.4") << 612.4 << true;
    QTest::newRow("sign and trailing text") << QByteArray("-12.5m") << -12.5 << true;
    QTest::newRow("plus") << QByteArray("+0.0") << 0.0 << true;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5 << true;
    QTest::newRow("trailing point") << QByteArray("3.") << 3.0 << true;
    QTest::newRow("exponent") << QByteArray("1.5E2") << 150.0 << true;
    QTest::newRow("bare e is not an exponent") << QByteArray("2e") << 2.0 << true;
    QTest::newRow("no number") << QByteArray("abc") << 0.0 << true;
    QTest::newRow("no inf") << QByteArray("inf") << 0.0 << true;
    QTest::newRow("no nan") << QByteArray("nan") << 0.0 << true;
    QTest::newRow("no hex") << QByteArray("0x10") << 0.0 << true;
    QTest::newRow("beyond a double") << QByteArray("1e400") << 0.0 << false;
}

void TestNumberText::toReal()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QFETCH(bool, valid);
    const std::optional<double> read = numtext::toReal(text);
    QCOMPARE(bool(read), valid);
    if (valid)
        QCOMPARE(*read, value);
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
