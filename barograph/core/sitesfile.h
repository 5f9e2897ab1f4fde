// The flying sites file in the SeeYou CUP format that pilots already keep: one waypoint per
// line as comma-separated cells (name, code, country, lat, lon, elev, ...), a header line
// first, tasks after a "-----Related Tasks-----" line. Read for the positions an IGC file of a
// barograph-only flight needs. QtCore only.
//
//   cell  example        meaning
//   0     "足尾山"        name (quoted or not)
//   1     ASHIO          short code
//   3     3617.583N      latitude: degrees (2 digits), minutes with decimals, N or S
//   4     14007.250E     longitude: degrees (3 digits), minutes with decimals, E or W
//   5     627.0m         elevation in m, or in ft with "ft"; may be empty
#pragma once

#include "logbook/core/filereader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

/// A place an IGC file can name: the position of every fix of a barograph-only flight.
struct FlyingSite {
    QByteArray name;         ///< cp932, as the log's area field holds names
    QByteArray code;         ///< cp932
    double latitudeDeg = 0;  ///< north positive
    double longitudeDeg = 0; ///< east positive
    double elevationM = 0;
};

struct SitesFileContents {
    std::vector<FlyingSite> sites;
    std::vector<int> badLines; ///< 1-based lines that name no usable waypoint
};

/// Reads a sites file: UTF-8 (with or without a byte-order mark) when it is valid UTF-8,
/// else cp932. The header line and blank lines are skipped; everything from the tasks
/// marker on is ignored. A waypoint whose position cannot be read, lies outside the globe
/// or is exactly 0/0 is left out and its line listed.
SitesFileContents parseSitesFile(QByteArrayView bytes);

/// The largest sites file read: tens of thousands of waypoints.
inline constexpr qint64 kMaxSitesFileBytes = 16 * 1024 * 1024;
/// Reads a sites file from disk; std::nullopt when it cannot be opened or is larger than
/// kMaxSitesFileBytes, with the reason in `why` when given.
std::optional<SitesFileContents> readSitesFile(const QString &path, ReadFailure *why = nullptr);

/// The site whose name or code is `name` (blanks around either ignored; ASCII letters
/// compared without regard to case when no site matches exactly).
std::optional<FlyingSite> findSite(const std::vector<FlyingSite> &sites, QByteArrayView name);
