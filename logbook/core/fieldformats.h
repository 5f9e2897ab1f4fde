// The number formats of the log book's fields: maximum altitude and climb as the instrument
// and the barograph window store them, as the record editor shows and stores them, the
// number at the start of such a text, the editor's number check, and the seconds of a time or
// duration field. Shared by the editor, the downloads and the barograph write-back. QtCore only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace fieldformat {

/// "%04d m": a maximum altitude in whole metres, as downloads and barograph saves store it.
QByteArray altitudeText(qint64 altitudeM);
/// "%02.1f m/s": a maximum climb, as downloads and barograph saves store it.
QByteArray climbText(double climbMps);

/// "%04.1f m" of the value plus 0.0001, as the record editor stores an altitude
/// (345 gives "345.0 m", 5 gives "05.0 m").
QByteArray editedAltitudeText(double altitudeM);
/// "%.1f m/s" of the value plus 0.0001, as the record editor stores a climb
/// (-2.5 gives "-2.5 m/s").
QByteArray editedClimbText(double climbMps);

/// The number at the start of a text, unit or anything else after it ignored; 0 for an
/// empty or sign-only text or one without a number.
double numberAtStart(QByteArrayView text);

/// What the record editor's altitude field shows for a stored `maxAltitude`: its number
/// taken as a float, plus 0.0001, as "%04.1f" ("0345 m" shows as "345.0").
QByteArray altitudeEditText(QByteArrayView maxAltitude);
/// The same for `maxClimb`, as "%1.1f" ("5.4 m/s" shows as "5.4").
QByteArray climbEditText(QByteArrayView maxClimb);

/// The editor's number check: an optional leading sign, digits, and at most one point that
/// follows a digit and is followed by at most one digit. The empty text, "-", "12", "-3.5"
/// and "12." pass; "1.25", ".5", "+.5", "1-2" and "1e3" do not.
bool isNumberText(QByteArrayView text);

/// Seconds of a record's `time` or `duration` as every figure counts them (totals,
/// statistics, the printed book, a barograph's clock, the download's progress): the one
/// reading of numtext::clockSeconds ("1:30:00" is an hour and a half), and 0 for a field it
/// cannot read, as a blank field counts no time.
qint32 secondsOf(QByteArrayView timeOrDuration);

} // namespace fieldformat
