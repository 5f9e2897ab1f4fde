// An IGC file of a barograph-only flight, for flight viewers and web log books: the trace's
// pressure altitudes as B records at one fixed position, the flying site's. QtCore only.
//
// The instrument records no position, but readers refuse a file without one: every fix
// carries the site's coordinates, marked V (no GNSS fix), and a GNSS altitude of 0. Times
// are UTC: the instrument's local clock minus the configured offset. Layout, CR LF after
// each line, ASCII only, no G record:
//   AXDUBAR                         A record: an X manufacturer code, unregistered
//   HFDTEDATE:DDMMYY,01             UTC date of the first fix
//   HF... / HO...                   headers: pilot, glider, datum, receiver, altitude
//                                   sources, time zone, site, a correction if any
//   BHHMMSSDDMMmmmNDDDMMmmmEVPPPPPGGGGG   one per sample, 35 characters
//     PPPPP: pressure altitude in m, "-dddd" below 0, clamped to -9999..99999
#pragma once

#include "barograph/core/sitesfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>

struct BarographTrace;

/// The recorder type (HFFTYFRTYPE) the export writes: an importer that reads it knows the
/// file holds the instrument's own barograph, take-off to landing.
inline constexpr char kIgcRecorderType[] = "DUVAZI,DIV-EVODU-REV";

/// What an IGC file of a flight is made from besides its trace.
struct IgcFlight {
    QByteArray date;                 ///< the record's YY/MM/DD: local date of the first sample
    QByteArray time;                 ///< the record's HH:MM:SS: local time of the first sample
    qint32 utcOffsetMinutes = 9 * 60; ///< the instrument's clock ahead of UTC
    QByteArray pilot;                ///< the flyer name, cp932; romanised for the file
    std::optional<FlyingSite> site;  ///< where every fix is placed
    /// The offset in metres when the altitudes were corrected (said in a comment header).
    std::optional<float> correctionM;
};

struct IgcFile {
    enum class Problem {
        None,
        NoSite,   ///< no site: viewers reject a file without a position
        BadDate,  ///< the record's date reads as no day of the years 1970 to 2069
        BadTime,  ///< the record's time reads as no time of day
        TooLong,  ///< a day or longer: readers cannot tell the days apart
    };
    QByteArray bytes;
    Problem problem = Problem::None;
};

/// Builds the file. A site at exactly 0/0, or outside the globe, counts as no site.
IgcFile buildIgc(const BarographTrace &trace, const IgcFlight &flight);

/// A name in ASCII for an IGC header: ASCII kept, full-width forms narrowed, kana written in
/// Hepburn romaji (words capitalised), anything else (kanji) left out; "NKN" when nothing
/// is left.
QByteArray romanisedName(QByteArrayView cp932Name);

/// Minutes of a UTC offset written as "+9", "-3.5" or "+5:45", between -12 and +14 hours.
std::optional<qint32> parseUtcOffset(QStringView text);
/// "+9", "-3.5", "+5:45": the way parseUtcOffset reads it back.
QString utcOffsetText(qint32 minutes);
