// Number formats of the log book's fields.
#include "fieldformats.h"

#include "logbook/core/text/numbertext.h"

#include <cfloat>

namespace fieldformat {

namespace {

// The editors and downloads add this before rounding to one decimal, so that a value
// stored as a float (5.4 is 5.3999996) still shows its own last digit.
constexpr double kBias = 0.0001;

double asFloatPlusBias(double value)
{
    // Taken as single precision, as the editor always has; kept finite.
    return double(float(qBound(double(-FLT_MAX), value, double(FLT_MAX)))) + kBias;
}

} // namespace

QByteArray altitudeText(qint64 altitudeM)
{
    return numtext::decimal(altitudeM, 4, true) + " m";
}

QByteArray climbText(double climbMps)
{
    return numtext::fixed(climbMps, 1, 2, true) + " m/s";
}

QByteArray editedAltitudeText(double altitudeM)
{
    return numtext::fixed(altitudeM + kBias, 1, 4, true) + " m";
}

QByteArray editedClimbText(double climbMps)
{
    return numtext::fixed(climbMps + kBias, 1) + " m/s";
}

double numberAtStart(QByteArrayView text)
{
    return numtext::toReal(text).value_or(0.0);
}

QByteArray altitudeEditText(QByteArrayView maxAltitude)
{
    return numtext::fixed(asFloatPlusBias(numberAtStart(maxAltitude)), 1, 4, true);
}

QByteArray climbEditText(QByteArrayView maxClimb)
{
    return numtext::fixed(asFloatPlusBias(numberAtStart(maxClimb)), 1, 1);
}

bool isNumberText(QByteArrayView text)
{
    bool digitSeen = false;
    qsizetype point = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+' || c == '-') {
            if (i != 0)
                return false;
        } else if (c == '.') {
            if (point >= 0 || !digitSeen)
                return false;
            point = i;
        } else if (c >= '0' && c <= '9') {
            if (point >= 0 && i > point + 1)
                return false;
            digitSeen = true;
        } else {
            return false;
        }
    }
    return true;
}

qint32 secondsOf(QByteArrayView timeOrDuration)
{
    return numtext::clockSeconds(timeOrDuration).value_or(0);
}

} // namespace fieldformat
