// Numbers as text, the way the log, the barograph files and the viewer write them ("%5.1f",
// "%04d", "%02d:%02d:%02d", ...) and read them back (C's atoi and atof), and the one reader
// and writer of clock times and durations and the one reader of dates: every program that
// shows a figure of a time reads its text here, so a text means one thing everywhere.
// Independent of the process locale: a German desktop must not turn "1244.5" into "1244,5".
// QtCore only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>

#include <optional>

namespace numtext {

/// printf's "%<width>.<decimals>f": the value rounded to `decimals` places (exact decimal
/// rounding, ties to even, as glibc and the C++ library do), right-aligned in `width` with
/// blanks, or with zeros after the sign when `zeroPad` ("%05.1f").
QByteArray fixed(double value, int decimals, int width = 0, bool zeroPad = false);
/// printf's "%<width>d", with zeros after the sign when `zeroPad` ("%04d").
QByteArray decimal(qint64 value, int width = 0, bool zeroPad = false);
/// The one writer of clock times and durations: "%02d:%02d:%02d" of seconds / 3600,
/// (seconds / 60) mod 60 and seconds mod 60, the hours as wide as they need (a total of a
/// life's flying as well as a time of day). What it writes for 0 up to clockSeconds' largest
/// reading, clockSeconds reads back.
QByteArray clockText(qint64 seconds);

/// Whether a clock time may leave out its seconds.
enum class ClockForm {
    HoursMinutesSeconds, ///< "H:MM:SS", as the log's times and durations are stored
    SecondsOptional,     ///< also "H:MM", as a paper log book writes the total carried over
};

/// The one reader of clock times and durations: hours, minutes and seconds separated by ':',
/// the hours one to five digits, minutes and seconds one or two digits from 0 to 59, each part
/// with white space before or after its digits allowed, as the editor's masked field
/// leaves a digit not typed ("1 :30:00"). "01:30:00" and "1:30:00" are both an hour and a half.
/// std::nullopt for anything else: empty, a part missing, empty or left over, a sign, a minute
/// 60, a digit that is not ASCII. Five hour digits keep every reading below 2^30, so that a
/// damaged field added to a time of day or summed over a log cannot overflow.
std::optional<qint32> clockSeconds(QByteArrayView text, ClockForm form = ClockForm::HoursMinutesSeconds);

/// A date's numbers, the year in full.
struct DateNumbers {
    int year = 0;
    int month = 0; ///< 0 when the text has no month
    int day = 0;   ///< 0 when the text has no day
};

/// The one reader of dates "YY/MM/DD": up to three numbers separated by '/', each after
/// optional blanks and a sign, read as a "%d/%d/%d" scan reads them and each kept within
/// one million, so that no order made of them overflows. The one year pivot: a two-digit
/// year below 70 is this century's (69 is 2069, 70 is 1970), as the log has always sorted.
/// std::nullopt when the text does not start with a number.
std::optional<DateNumbers> readDate(QByteArrayView text);
/// A day of the calendar, read as readDate reads the text: std::nullopt unless the year,
/// month and day make a day that exists (no 23/02/29, no month 13, no blank date). For rules
/// that count days, where a date that is no day cannot be placed.
std::optional<QDate> readCalendarDate(QByteArrayView text);
/// The one writer of dates: "YY/MM/DD", which readDate reads back as `date` for the years
/// 1970 to 2069 (the pivot's century).
QByteArray dateText(QDate date);

/// C's atoi: leading blanks skipped, an optional sign, digits up to the first other
/// character; 0 without digits. Out-of-range values are clamped to the 32-bit range.
qint32 toInt(QByteArrayView text);
/// C's atof: leading blanks skipped, an optional sign, digits with an optional decimal
/// point and exponent, up to the first character that does not fit; 0 without a number.
/// No "inf", "nan" or hexadecimal forms. std::nullopt when the number is beyond the range
/// of a double (either way), which no sensible file holds.
std::optional<double> toReal(QByteArrayView text);

} // namespace numtext
