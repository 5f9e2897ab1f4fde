// Numbers as text, locale-independent.
#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace numtext {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Pads printf-style: blanks before the sign, or zeros after it.
QByteArray padded(QByteArray digits, int width, bool zeroPad)
{
    if (digits.size() >= width)
        return digits;
    const qsizetype fill = width - digits.size();
    if (!zeroPad)
        return QByteArray(fill, ' ') + digits;
    const bool sign = digits.startsWith('-') || digits.startsWith('+');
    digits.insert(sign ? 1 : 0, QByteArray(fill, '0'));
    return digits;
}

// Position after leading blanks and the sign; `negative` tells which sign was there.
qsizetype skipBlanksAndSign(QByteArrayView text, bool &negative)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

// Hours of a clock time: five digits reach 99999:59:59, below 2^30 seconds.
constexpr qsizetype kMaxHourDigits = 5;

// One part of a clock time: one to `maxDigits` digits, white space around them allowed.
std::optional<qint32> clockPart(QByteArrayView part, qsizetype maxDigits)
{
    part = part.trimmed();
    if (part.isEmpty() || part.size() > maxDigits)
        return std::nullopt;
    qint32 value = 0;
    for (const char c : part) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

QByteArray fixed(double value, int decimals, int width, bool zeroPad)
{
    char buffer[400]; // the longest double in fixed notation has 309 digits before the point
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      decimals);
    if (result.ec != std::errc())
        return QByteArray("?");
    return padded(QByteArray(buffer, result.ptr - buffer), width, zeroPad);
}

QByteArray decimal(qint64 value, int width, bool zeroPad)
{
    return padded(QByteArray::number(value), width, zeroPad);
}

QByteArray clockText(qint64 seconds)
{
    return decimal(seconds / 3600, 2, true) + ':' + decimal(seconds / 60 % 60, 2, true) + ':'
        + decimal(seconds % 60, 2, true);
}

std::optional<qint32> clockSeconds(QByteArrayView text, ClockForm form)
{
    QByteArrayView parts[3]; // hours, minutes, seconds
    qsizetype count = 0;
    for (qsizetype from = 0;;) {
        if (count == 3)
            return std::nullopt;
        const qsizetype colon = text.indexOf(':', from);
        parts[count++] = text.sliced(from, (colon < 0 ? text.size() : colon) - from);
        if (colon < 0)
            break;
        from = colon + 1;
    }
    if (count < 2 || (count == 2 && form == ClockForm::HoursMinutesSeconds))
        return std::nullopt;
    qint32 seconds = 0;
    for (qsizetype k = 0; k < 3; ++k) {
        const std::optional<qint32> value = k < count ? clockPart(parts[k], k == 0 ? kMaxHourDigits : 2) : 0;
        if (!value || (k > 0 && *value > 59))
            return std::nullopt;
        seconds = seconds * 60 + *value;
    }
    return seconds;
}

std::optional<DateNumbers> readDate(QByteArrayView text)
{
    constexpr qint64 kLimit = 1000000;
    int numbers[3] = {0, 0, 0};
    qsizetype i = 0;
    for (int read = 0; read < 3; ++read) {
        if (read > 0) {
            if (i >= text.size() || text[i] != '/')
                break;
            ++i;
        }
        bool negative = false;
        const QByteArrayView rest = text.sliced(i);
        i += skipBlanksAndSign(rest, negative);
        const qsizetype digitsStart = i;
        qint64 value = 0;
        for (; i < text.size() && isDigit(text[i]); ++i)
            value = std::min(value * 10 + (text[i] - '0'), kLimit);
        if (i == digitsStart) {
            if (read == 0)
                return std::nullopt;
            break;
        }
        numbers[read] = int(negative ? -value : value);
    }
    const int yy = numbers[0];
    return DateNumbers{yy < 70 ? 2000 + yy : 1900 + yy, numbers[1], numbers[2]};
}

std::optional<QDate> readCalendarDate(QByteArrayView text)
{
    const std::optional<DateNumbers> d = readDate(text);
    const QDate date = d ? QDate(d->year, d->month, d->day) : QDate();
    return date.isValid() ? std::optional(date) : std::nullopt;
}

QByteArray dateText(QDate date)
{
    return decimal(date.year() % 100, 2, true) + '/' + decimal(date.month(), 2, true) + '/' +
           decimal(date.day(), 2, true);
}

qint32 toInt(QByteArrayView text)
{
    bool negative = false;
    qsizetype i = skipBlanksAndSign(text, negative);
    qint64 value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            break; // clamped below; the remaining digits cannot bring it back
    }
    if (negative)
        value = -value;
    return qint32(qBound(qint64(std::numeric_limits<qint32>::min()), value,
                         qint64(std::numeric_limits<qint32>::max())));
}

std::optional<double> toReal(QByteArrayView text)
{
    bool negative = false;
    const qsizetype start = skipBlanksAndSign(text, negative);
    qsizetype i = start;
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e]))
                ++e;
            i = e;
        }
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + i, value,
                                        std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace numtext
