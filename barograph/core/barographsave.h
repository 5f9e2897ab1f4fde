// Saving a changed barograph from its window: the file with its backup in "bak", the name
// the flight record keeps, and the statistics written back into the record. QtCore only.
#pragma once

#include "barograph/core/barographfile.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct FlightRecord;
struct FlightStats;

/// True when two paths name the same file as the program has always compared them: the
/// whole texts, letters without regard to case.
bool isSameBarographPath(const QString &a, const QString &b);

/// Writes a barograph to `chosenPath` all or nothing. When the chosen file is the one the
/// trace was read from (isSameBarographPath with `readPath`), that file goes into the
/// "bak" folder of `workFolder` just before the new one takes its place; an older backup of
/// the same name stays and the file is then simply replaced. The "bak" folder is created
/// either way. On failure nothing has changed: the old file is where it was.
/// Returns false when the file cannot be written.
bool saveBarographFile(const QString &chosenPath, const BarographFile &file, const QString &readPath,
                       const QString &workFolder);

/// The name a flight record keeps for a barograph saved under another name: the last
/// component of the chosen path with a to z in upper case (cp932 double-byte characters
/// left whole). std::nullopt when the record's field cannot hold it (more than 13 bytes,
/// characters without a cp932 code, or a backslash or colon that the lookup in the work
/// folder refuses): it would name a file that can never be found.
std::optional<QByteArray> recordFileName(const QString &chosenPath);

/// Seconds after midnight of a record's `time` (HH:MM:SS): the integer conversions of the
/// text from its 1st, 4th and 7th characters, as hours, minutes and seconds.
qint32 takeoffSecondsOf(QByteArrayView time);

/// Writes the flight's statistics into its record: `time` and `duration` as
/// "%02d:%02d:%02d" of takeoffSeconds and flightSeconds, `maxAltitude` as "%04d m" of
/// peakAltitude + 0.5 truncated, `maxClimb` as "%02.1f m/s" of peakClimb.
void writeFlightBack(FlightRecord &record, qint32 takeoffSeconds, const FlightStats &stats);
