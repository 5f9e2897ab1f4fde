// The barograph file: one flight's altitude samples as text, one number per line, written
// by the download and by the viewer's save, read by the viewer. QtCore only.
//
// Layout (each line ends with CR LF; a reader also takes a bare LF):
//   line                        written as   meaning
//   1                           " %d"        sampleCount, at least 2
//   2                           " %d"        interval, seconds between samples (1, 2 or 4)
//   3                           " %d"        markCount, 0 to 256
//   4 .. 3 + markCount          " %d"        marks: 0-based sample indexes, ascending
//   then sampleCount lines      " %5.1f"     altitudes in metres
// Sample i lies i x interval seconds after the first. The clock time of the first sample is
// not in the file: it is the flight record's take-off time.
#pragma once

#include "logbook/core/filereader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

struct BarographFile {
    qint32 interval = 0;          ///< seconds between two samples
    std::vector<qint32> marks;    ///< sample indexes, ascending
    std::vector<float> altitudes; ///< metres, one per sample

    qint32 sampleCount() const { return qint32(altitudes.size()); }
    qint32 markCount() const { return qint32(marks.size()); }
};

namespace barofile {
inline constexpr qint32 kMinSamples = 2;
inline constexpr qint32 kMaxMarks = 256;
/// The cursor keeps its time in a 32-bit float, which counts whole seconds exactly up to
/// 2^24 (194 days): no real flight comes near it, and nothing longer is read.
inline constexpr qint32 kMaxFlightSeconds = 1 << 24;
/// Far beyond any barometric altitude (the instrument records -9999.9 to 19999.8 m), yet
/// wide enough for any correction a pilot would apply; keeps every range inside the
/// viewer's step tables.
inline constexpr float kMaxAbsAltitudeM = 100000.0f;
/// The largest file read: two days of samples at one a second (the instrument holds at most
/// one), each line given 32 bytes, several times what " %5.1f" CR LF takes.
inline constexpr qint64 kMaxFileSamples = 2 * 24 * 3600;
inline constexpr qint64 kMaxFileBytes = (3 + kMaxMarks + kMaxFileSamples) * 32;
} // namespace barofile

/// True when the viewer can work on the contents: at least 2 samples, an interval of at
/// least 1 s, a flight of at most kMaxFlightSeconds, at most 256 marks in ascending order,
/// each naming a sample, and every altitude finite within +-kMaxAbsAltitudeM.
bool isUsableBarograph(const BarographFile &file);

/// Parses a file image. Each line is converted as C does (atoi for the three header lines,
/// atof for marks and altitudes; a mark is rounded by adding 0.5 and truncating). Returns
/// std::nullopt for anything isUsableBarograph refuses or when the file holds fewer lines
/// than it announces; never allocates more than the image's own size can justify. Anything
/// after the last announced line is ignored.
std::optional<BarographFile> parseBarographFile(QByteArrayView image);

/// Reads and parses a file (parseBarographFile); std::nullopt when it cannot be opened or
/// is larger than kMaxFileBytes (the reason in `why`, when given, and then `why->error` is
/// not 0) or cannot be used (`why->error` 0).
std::optional<BarographFile> readBarographFile(const QString &path, ReadFailure *why = nullptr);

/// The file image of a barograph, CR LF after every line on every platform, as the
/// instrument's desktop files have always been.
QByteArray buildBarographImage(const BarographFile &file);

/// The name the download gives a flight's barograph, from its record's `date` (YY/MM/DD) and
/// `time` (HH:MM:SS): "V", the year's last digit, month, day, hour, ".V", minutes; a flight
/// on 97/08/11 at 14:35:20 gets "V7081114.V35". A character that is missing or is not an
/// ASCII letter or digit (a damaged date) becomes '0', so the name never holds a separator.
///
/// Flights that share their minute would share that name, and one would show the other's
/// trace. The download then takes the first free name of the same form: `variant` 1 to 26
/// replaces the last character of the extension with A to Z ("V7081114.V3A"... "V3Z"), 27
/// to 702 replaces the last two with AA to ZZ ("V7081114.VAA"...). Every such name keeps the
/// 8.3 length and the ".V" that other software looks for; a letter never stands where the
/// plain name has a minute, so no variant is another flight's plain name. Variant 0, or one
/// past kMaxNameVariant, gives the plain name.
QByteArray barographFileName(QByteArrayView date, QByteArrayView time, int variant = 0);
inline constexpr int kMaxNameVariant = 26 + 26 * 26;
