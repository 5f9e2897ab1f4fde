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

/// The copy a download kept of a flight's barograph as it came from the instrument: the
/// path of its row's downloaded->raw in `workFolder`. Empty when the row was not
/// downloaded here, or names a copy outside the work folder.
QString downloadedCopyPath(const QString &workFolder, const FlightRecord &row);
/// The one rule for the take-off time, duration, maximum altitude and climb a row takes from
/// its barograph, whoever saves it (the window, the tool's cut, correct and revert, an
/// import): the figures of `image` (the bytes written, its first sample at `takeoffSeconds`)
/// as they read back from the file, so that the row agrees with every later look at the
/// file; or, when the bytes are exactly the raw copy downloaded with the row (in
/// `workFolder`), the row as the instrument gave it, so a flight put back as downloaded
/// shows the instrument's own figures and never a second opinion of the same samples.
/// False, with the row unchanged, when `image` is not a barograph the viewer can use.
bool setFiguresFromBarograph(FlightRecord &row, QByteArrayView image, qint32 takeoffSeconds,
                             const QString &workFolder);
