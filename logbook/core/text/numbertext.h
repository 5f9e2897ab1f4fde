// Numbers as text, the way the log, the barograph files and the viewer write them ("%5.1f",
// "%04d", "%02d:%02d:%02d", ...) and read them back (C's atoi and atof). Independent of the
// process locale: a German desktop must not turn "1244.5" into "1244,5". QtCore only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace numtext {

/// printf's "%<width>.<decimals>f": the value rounded to `decimals` places (exact decimal
/// rounding, ties to even, as glibc and the C++ library do), right-aligned in `width` with
/// blanks, or with zeros after the sign when `zeroPad` ("%05.1f").
QByteArray fixed(double value, int decimals, int width = 0, bool zeroPad = false);
/// printf's "%<width>d", with zeros after the sign when `zeroPad` ("%04d").
QByteArray decimal(qint64 value, int width = 0, bool zeroPad = false);
/// "%02d:%02d:%02d" of seconds / 3600, (seconds / 60) mod 60 and seconds mod 60.
QByteArray clockText(qint32 seconds);

/// C's atoi: leading blanks skipped, an optional sign, digits up to the first other
/// character; 0 without digits. Out-of-range values are clamped to the 32-bit range.
qint32 toInt(QByteArrayView text);
/// C's atof: leading blanks skipped, an optional sign, digits with an optional decimal
/// point and exponent, up to the first character that does not fit; 0 without a number.
/// No "inf", "nan" or hexadecimal forms. std::nullopt when the number is beyond the range
/// of a double (either way), which no sensible file holds.
std::optional<double> toReal(QByteArrayView text);

} // namespace numtext
