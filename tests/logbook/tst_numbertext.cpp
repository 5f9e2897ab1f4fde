// Numbers as text: printf's formats without the locale, C's atoi and atof, and the one reader
// and writer of clock times.
#include "logbook/core/text/numbertext.h"

#include <QTest>

#include <clocale>

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void fixed_data();
    void fixed();
    void decimalAndClock();
    void clockTimes_data();
    void clockTimes();
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

void TestNumberText::clockTimes_data()
{
    // What the one reader makes of a text (-1: no time) and what the one writer makes of
    // that; "H:MM" only where seconds may be left out.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("secondsOptional");
    QTest::addColumn<qint32>("seconds");
    QTest::addColumn<QByteArray>("written");
    const auto row = [](const char *name, const QByteArray &text, qint32 seconds, const QByteArray &written,
                        bool secondsOptional = false) {
        QTest::newRow(name) << text << secondsOptional << seconds << written;
    };
    row("midnight", "0:00:00", 0, "00:00:00");
    row("one digit of hours: an hour and a half", "1:30:00", 5400, "01:30:00");
    row("as the log writes it", "01:30:00", 5400, "01:30:00");
    row("the widest two-digit hours", "99:59:59", 99 * 3600 + 59 * 60 + 59, "99:59:59");
    row("100 hours", "100:00:00", 360000, "100:00:00");
    row("five hour digits", "99999:59:59", 99999 * 3600 + 3599, "99999:59:59");
    row("six hour digits", "100000:00:00", -1, "");
    row("minute 60", "00:60:00", -1, "");
    row("second 60", "00:00:60", -1, "");
    row("blanks around each part, as the editor's mask leaves them", " 9: 5: 7", 32707, "09:05:07");
    row("a digit not typed in the editor", "1 :30:00", 5400, "01:30:00");
    row("blank fields", "  :  :  ", -1, "");
    row("empty", "", -1, "");
    row("garbage", "xx:10:0x", -1, "");
    row("no seconds", "10:3", -1, "");
    row("no seconds where they may be left out", "123:45", 123 * 3600 + 45 * 60, "123:45:00", true);
    row("minute 60 where seconds may be left out", "1:60", -1, "", true);
    row("hours only", "1", -1, "", true);
    row("a fourth part", "1:30:00:00", -1, "");
    row("a sign", "+1:30:00", -1, "");
    row("a damaged field's digits", "999999999", -1, "");
    row("full-width digits", "\x82\x50:30:00", -1, ""); // １ in cp932
}

void TestNumberText::clockTimes()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, secondsOptional);
    QFETCH(qint32, seconds);
    QFETCH(QByteArray, written);
    const numtext::ClockForm form =
        secondsOptional ? numtext::ClockForm::SecondsOptional : numtext::ClockForm::HoursMinutesSeconds;
    QCOMPARE(numtext::clockSeconds(text, form).value_or(-1), seconds);
    if (seconds < 0)
        return;
    QCOMPARE(numtext::clockText(seconds), written);
    QCOMPARE(numtext::clockSeconds(written).value_or(-1), seconds); // what it writes, it reads
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
