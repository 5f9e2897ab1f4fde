// The settings messages against worked examples, and the settings file.
#include "device/core/instrumentsettings.h"
#include "device/core/instrumentsettingsfile.h"
#include "logbook/core/text/cp932.h"

#include <QTest>

class TestInstrumentSettings : public QObject {
    Q_OBJECT
private slots:
    void flyerName();
    void parameters();
    void thresholdRange_data();
    void thresholdRange();
    void options();
    void moreThanFourItemsKeepTheFirstFour();
    void settingsFileRoundTripAndRefusals();
};

void TestInstrumentSettings::flyerName()
{
    QCOMPARE(instrument::flyerNameMessage("ABCDE"), QByteArray("ABCDE           "));
    // A stored name too long for the instrument: 16 bytes, never half a character.
    const QByteArray long15 = QByteArray(15, 'A') + cp932::fromUnicode(u"ソ");
    QCOMPARE(instrument::flyerNameMessage(long15), QByteArray(15, 'A') + ' ');
    QCOMPARE(instrument::flyerNameMessage(QByteArray(20, 'x')), QByteArray(16, 'x'));
    QCOMPARE(instrument::flyerNameMessage(QByteArray("AB\0CD", 5)), QByteArray("AB              "));
}

void TestInstrumentSettings::parameters()
{
    ParameterSettings s;
    s.rise = 1.5f;
    s.sink = 0.3f;
    s.autoSet = false;
    s.takeOff = true;
    s.sound = 4; // "１００"
    s.sampling = 2; // 4 s
    s.printer = 1;  // DPU-411
    QVERIFY(instrument::isValid(s));
    QCOMPARE(instrument::parameterMessage(s), QByteArray("11" "0000" "15" "03" "00" "7<?\?64" "58?\?28" "58?\?28" "04" "00" "00" "1"));
    s.takeOff = false;
    s.autoSet = true;
    s.barGraph = 1;
    s.numeric = 3;
    s.sampling = 0;
    s.printer = 0;
    s.rise = 4.0f;
    s.sink = 0.1f;
    QCOMPARE(instrument::parameterMessage(s), QByteArray("00" "0192" "40" "01" "11" "7<?\?64" "5>?\?32" "6:?\?46" "04" "01" "03" "0"));
}

void TestInstrumentSettings::thresholdRange_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("inRange");
    QTest::newRow("0.1") << 0.1f << true;
    QTest::newRow("4.0") << 4.0f << true;
    QTest::newRow("0.0") << 0.0f << false;
    QTest::newRow("4.1") << 4.1f << false;
    QTest::newRow("negative") << -1.0f << false;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << false;
}

void TestInstrumentSettings::thresholdRange()
{
    QFETCH(float, value);
    QFETCH(bool, inRange);
    QCOMPARE(instrument::isThresholdInRange(value), inRange);
}

void TestInstrumentSettings::options()
{
    OptionSettings s;
    s.thermo = true;
    s.alt3 = true;
    QByteArray expected(80, '0');
    expected[1] = '2';
    expected.replace(2, 10, "21?\?230010");
    expected[15] = expected[23] = expected[31] = '1';
    expected.replace(32, 24, "::?>23001040:6?>6?\?>2008");
    QCOMPARE(instrument::optionMessage(s), expected);

    // ALT2 as option display 1 and four items: every mark, all four fragments.
    OptionSettings all{2, true, false, true, true, false, true};
    const QByteArray m = instrument::optionMessage(all);
    QCOMPARE(m.mid(0, 12), QByteArray("04:1?>6:?>10"));
    QCOMPARE(m.mid(12, 20), QByteArray("01000101010001000100"));
    QCOMPARE(m.mid(32), QByteArray("::?>23001040:6?>6?\?>200821?\?23000220:1?>6:?>0210"));
}

void TestInstrumentSettings::moreThanFourItemsKeepTheFirstFour()
{
    const OptionSettings six{0, true, true, true, true, true, true};
    QVERIFY(!instrument::isValid(six));
    const OptionSettings four = instrument::limitedToFour(six);
    QCOMPARE(four, (OptionSettings{0, true, true, true, true, false, false}));
    QVERIFY(instrument::isValid(four));
}

void TestInstrumentSettings::settingsFileRoundTripAndRefusals()
{
    InstrumentSettingsFile both;
    both.parameters = ParameterSettings{2.5f, 0.3f, true, false, 1, 2, 3, 0, 1};
    both.options = OptionSettings{3, false, true, false, false, true, false};
    const auto back = parseInstrumentSettingsFile(buildInstrumentSettingsFile(both));
    QVERIFY(std::holds_alternative<InstrumentSettingsFile>(back));
    QCOMPARE(*std::get<InstrumentSettingsFile>(back).parameters, *both.parameters);
    QCOMPARE(*std::get<InstrumentSettingsFile>(back).options, *both.options);

    InstrumentSettingsFile optionsOnly;
    optionsOnly.options = both.options;
    const auto only = parseInstrumentSettingsFile(buildInstrumentSettingsFile(optionsOnly));
    QVERIFY(!std::get<InstrumentSettingsFile>(only).parameters);

    const QByteArray good = buildInstrumentSettingsFile(both);
    const struct {
        QByteArray image;
        int line;
    } refused[] = {
        {QByteArray(good).replace("Rise=2.5", "Rise=4.5"), 2},
        {QByteArray(good).replace("Sound=1", "Sound=5"), 6},
        {QByteArray(good).replace("Rise=2.5", "Rise=x"), 2},
        {QByteArray(good).replace("Rise=2.5", "Rise=2.51"), 2}, // sent and written back as 2.5
        {QByteArray(good).replace("Rise=2.5", "Colour=2"), 2},
        {QByteArray(good).replace("Rise=2.5\n", ""), 16}, // a group without all its names
        {QByteArray(good).replace("Barometer=0", "Barometer=1").replace("MaxAlt=0", "MaxAlt=1")
             .replace("Alt2=0", "Alt2=1"), 17}, // five items
        {"# nothing\n", 1},
    };
    for (const auto &r : refused) {
        const auto result = parseInstrumentSettingsFile(r.image);
        QVERIFY2(std::holds_alternative<SettingsFileError>(result), r.image.constData());
        QCOMPARE(std::get<SettingsFileError>(result).line, r.line);
    }
}

QTEST_GUILESS_MAIN(TestInstrumentSettings)
#include "tst_instrumentsettings.moc"
