// The settings messages.
#include "instrumentsettings.h"

#include "logbook/core/text/numbertext.h"
#include "logbook/core/text/cp932.h"

#include <cmath>

namespace {

// The stored templates, in the character form, each a run of fixed-width fragments chosen
// by a setting's index.
constexpr char kResponseTemplate[] = "58?\?285>?\?3264?\?3<6:?\?467<?\?64"; // 6 per choice
constexpr char kSamplingTemplate[] = "019201280000";                   // 4 per choice
constexpr char kOption1Template[] = "21?\?23001070?>230078:1?>6:?>109?\?>6;?>10"; // 10 per choice
constexpr char kOption2Template[] = "::?>23001040:6?>6?\?>200821?\?23000220:1?>6:?>0210"; // 12 per item

QByteArrayView fragment(const char *templ, int width, int index)
{
    return QByteArrayView(templ + width * index, width);
}

void put(QByteArray &message, int at, QByteArrayView text)
{
    message.replace(at, text.size(), text.toByteArray());
}

char flag(bool on)
{
    return on ? '1' : '0';
}

char digit(int value)
{
    return char('0' + value);
}

bool inRange(int value, int count)
{
    return value >= 0 && value < count;
}

} // namespace

int OptionSettings::checkedCount() const
{
    return int(barometer) + int(thermo) + int(maxAlt) + int(alt2) + int(alt3) + int(windV);
}

namespace instrument {

QByteArray fittedFlyerName(QByteArrayView name)
{
    const qsizetype nul = name.indexOf('\0');
    return cp932::truncated(nul < 0 ? name : name.first(nul), kFlyerNameBytes);
}

QByteArray flyerNameMessage(QByteArrayView name)
{
    QByteArray message = fittedFlyerName(name);
    message.append(kFlyerNameBytes - message.size(), ' ');
    return message;
}

QByteArray thresholdText(float value)
{
    return numtext::fixed(double(value), 1, 1);
}

bool isThresholdInRange(float value)
{
    return std::isfinite(value) && value >= kMinThreshold && value <= kMaxThreshold;
}

bool isValid(const ParameterSettings &s)
{
    return isThresholdInRange(s.rise) && isThresholdInRange(s.sink) && inRange(s.sound, kChoices)
           && inRange(s.barGraph, kChoices) && inRange(s.numeric, kChoices) && inRange(s.sampling, kSamplingChoices)
           && inRange(s.printer, 2);
}

QByteArray parameterMessage(const ParameterSettings &s)
{
    Q_ASSERT(isValid(s));
    QByteArray m(kParameterChars, '0');
    put(m, 0, s.takeOff ? "11" : "00");
    put(m, 2, fragment(kSamplingTemplate, 4, s.sampling));
    // The units and tenths digits of the one-decimal text ("1.5": '1' and '5').
    const QByteArray rise = thresholdText(s.rise);
    const QByteArray sink = thresholdText(s.sink);
    m[6] = rise[0];
    m[7] = rise[2];
    m[8] = sink[0];
    m[9] = sink[2];
    put(m, 10, s.autoSet ? "11" : "00");
    put(m, 12, fragment(kResponseTemplate, 6, s.sound));
    put(m, 18, fragment(kResponseTemplate, 6, s.barGraph));
    put(m, 24, fragment(kResponseTemplate, 6, s.numeric));
    m[31] = digit(s.sound);
    m[33] = digit(s.barGraph);
    m[35] = digit(s.numeric);
    m[36] = flag(s.printer == 1);
    return m;
}

OptionSettings limitedToFour(OptionSettings s)
{
    int kept = 0;
    for (bool *item : {&s.barometer, &s.thermo, &s.maxAlt, &s.alt2, &s.alt3, &s.windV}) {
        if (*item && ++kept > kMaxOptionItems)
            *item = false;
    }
    return s;
}

bool isValid(const OptionSettings &s)
{
    return inRange(s.option1, kOption1Choices) && s.checkedCount() <= kMaxOptionItems;
}

QByteArray optionMessage(const OptionSettings &s)
{
    Q_ASSERT(isValid(s));
    const int count = s.checkedCount();
    QByteArray m(kOptionChars, '0');
    m[1] = digit(count);
    put(m, 2, fragment(kOption1Template, 10, s.option1));
    m[13] = flag(s.windV);
    m[15] = flag(s.thermo);
    m[17] = flag(s.barometer);
    m[19] = flag(s.maxAlt);
    m[21] = flag(s.alt2);
    m[23] = flag(s.alt3);
    m[25] = flag(s.option1 == 2);
    m[27] = flag(s.option1 == 3);
    m[29] = flag(s.alt2);
    m[31] = flag(s.alt3);
    // As many item fragments as items are checked, in the template's order, whichever
    // items they are: the instrument takes it so.
    put(m, 32, QByteArrayView(kOption2Template, 12 * count));
    return m;
}

} // namespace instrument
