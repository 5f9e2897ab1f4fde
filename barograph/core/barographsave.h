// Saving a changed barograph from its window: the file with its backup in "bak", the name
// the flight record keeps, and the statistics written back into the record. QtCore only.
#pragma once

#include "barograph/core/barographfile.h"
#include "logbook/core/filewriter.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct FlightRecord;
struct FlightStats;

/// Writes a barograph file over whatever stands at `path` (filewriter.h): the version it
/// replaces goes into the "bak" folder of `workFolder` first, and a file that already
/// holds exactly these bytes is left as it is. Used by the window's save and the download.
/// On failure nothing has changed.
std::optional<WriteFailure> saveBarographFile(const QString &path, const BarographFile &file,
                                              const QString &workFolder, const WriteOptions &options = {});
/// The image saveBarographFile writes, as one file of a write of several (a barograph with
/// its log), its replaced version kept in `workFolder`'s "bak"; std::nullopt when the file
/// at `path` already holds exactly these bytes.
std::optional<FileImage> barographImage(const QString &path, const BarographFile &file, const QString &workFolder);

/// The name a flight record keeps for a barograph saved under another name: the last
/// component of the chosen path with a to z in upper case (cp932 double-byte characters
/// left whole), unless the upper-case name is another file already (letter case matters on
/// this file system): then the name as chosen. std::nullopt when the record's field cannot hold it (more than 13 bytes,
/// characters without a cp932 code, or a name the barograph name rule refuses): it would
/// name a file that can never be found.
std::optional<QByteArray> recordFileName(const QString &chosenPath);

/// Writes the flight's statistics into its record: `time` and `duration` as
/// "%02d:%02d:%02d" of takeoffSeconds and flightSeconds, `maxAltitude` as "%04d m" of
/// peakAltitude rounded half away from zero (10.5 -> "0011 m", -10.5 -> "-011 m"),
/// `maxClimb` as "%02.1f m/s" of peakClimb.
void writeFlightBack(FlightRecord &record, qint32 takeoffSeconds, const FlightStats &stats);
