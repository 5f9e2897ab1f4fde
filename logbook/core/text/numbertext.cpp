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

QByteArray clockText(qint32 seconds)
{
    return decimal(seconds / 3600, 2, true) + ':' + decimal(seconds / 60 % 60, 2, true) + ':'
        + decimal(seconds % 60, 2, true);
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
