// Another instrument's flight log as the importer reads it: the time, altitude and position
// of every fix of an IGC file or a GPX track, and the recorder the file names. The readers
// are tolerant, because pilots' logs come from every kind of logger and one bad line must
// not cost a flight: a B record that cannot be read is skipped and counted, times run on
// across midnight UTC, CR LF and LF both end a line. Only a file without two usable fixes is
// refused, with its reason. QtCore only.
//
// IGC B record, the only fix record read (columns 1-based; anything after column 35 is
// an extension the I record describes, ignored):
//   1      'B'
//   2-7    HHMMSS          UTC time of the fix
//   8-14   DDMMmmm + N|S   latitude: degrees, minutes with three decimals
//   16-23  DDDMMmmm + E|W  longitude
//   25     A|V             A: a 3-D GNSS fix; V: none (its GNSS altitude means nothing)
//   26-30  PPPPP           pressure altitude in m ("-dddd" below 0); 00000 without a sensor
//   31-35  GGGGG           GNSS altitude in m
// The UTC date of the first fix is in "HFDTEDDMMYY" or, since 2016, "HFDTEDATE:DDMMYY,NN".
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>
#include <vector>

struct TrackFix {
    qint64 utc = 0;          ///< seconds since 1970-01-01 00:00 UTC
    float altitudeM = 0;     ///< metres: pressure altitude, or GNSS altitude without one
    /// metres: the GNSS receiver's altitude, or NaN where it has none (2-D fixes). Kept beside
    /// the pressure altitude for whoever checks one against the other.
    float gnssAltitudeM = 0;
    bool hasPosition = false;
    double latitudeDeg = 0;  ///< north positive
    double longitudeDeg = 0; ///< east positive
};

/// A flight log read: its fixes in strictly increasing time.
struct TrackLog {
    std::vector<TrackFix> fixes;
    /// The altitudes are the GNSS receiver's: the log holds no pressure altitude (the
    /// pilot is told, since GNSS altitude is noisier and climbs read from it less sure).
    bool gnssAltitude = false;
    QByteArray recorder;   ///< printable ASCII from the headers; empty when none
    int brokenRecords = 0; ///< fix records that could not be read, skipped
    /// Written by this program's IGC export: the instrument's own barograph, which already
    /// runs from take-off to landing, so nothing is cut from it.
    bool ownBarograph = false;
};

/// A log read, or why it cannot be (the pilot's words).
using TrackRead = std::variant<TrackLog, QString>;

/// The largest log read: a day of fixes five times a second with long extensions stays below.
inline constexpr qint64 kMaxTrackFileBytes = 48 * 1024 * 1024;

/// Reads an IGC file. `fileName` gives the date when the file has no HFDTE header but its
/// name starts with one ("2024-05-03-XCT-...igc", as long IGC names do).
TrackRead parseIgcLog(QByteArrayView bytes, QStringView fileName = {});
/// Reads the track points of a GPX file (every <trkpt> with a <time> and an <ele>; points
/// without them are skipped and counted). GPX elevations are the GNSS receiver's.
TrackRead parseGpxLog(QByteArrayView bytes);
/// The reader for a file's content: GPX when it is XML, else IGC.
TrackRead parseTrackLog(QByteArrayView bytes, QStringView fileName = {});

/// Whether the importer takes a file by its name: ".igc" or ".gpx", in any letter case.
bool isTrackFileName(QStringView fileName);
