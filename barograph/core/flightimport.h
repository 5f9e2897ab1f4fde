// Flights from other instruments' logs (IGC, GPX) into the log book, as the instrument would
// have recorded them: a row and a barograph from take-off to landing at a whole interval of
// 1, 2 or 4 s in whole metres, the row's figures by the one rule of setFiguresFromBarograph,
// the source named in the companion. Every import is first a preview: each file read and
// told new, already in the log, or refused with its reason, before anything is written.
// QtCore only; reading the files needs no log book, so it may run off the window's thread.
#pragma once

#include "barograph/core/barographfile.h"
#include "barograph/core/sitesfile.h"
#include "barograph/core/tracklog.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/flightrecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

class LogBook;

struct ImportSettings {
    /// The pilot's time zone as minutes ahead of UTC; none: the computer's zone at the time
    /// of each flight.
    std::optional<qint32> utcOffsetMinutes;
    /// Where a launch within kSiteRadiusM of one names the row's site.
    std::vector<FlyingSite> sites;
};

/// A launch this close to a site is at that site: a take-off field's extent.
inline constexpr double kSiteRadiusM = 500;

/// A flight made from a log, before it is in a log book.
struct ImportedFlight {
    FlightRecord row; ///< every field but the number and the barograph's name; `downloaded` names the source
    BarographFile barograph;
    qint64 takeoffUtc = 0; ///< seconds since the epoch of the barograph's first sample
    QStringList notes;     ///< what the pilot should know (GNSS altitude, records skipped)
};

/// The flight of a log read: the fixes resampled (linear between fixes) to the coarsest of
/// the instrument's intervals (1, 2 or 4 s) that their usual spacing is a whole multiple of, cut to the take-off and landing the
/// flight analysis finds (a log of the instrument's own barograph is not cut), in whole
/// metres; the date and take-off time in the pilot's zone. The reason when it cannot be one.
std::variant<ImportedFlight, QString> flightFromTrack(const TrackLog &log, const FlightSource &source,
                                                      const ImportSettings &settings);

/// One file of an import and what it becomes.
struct ImportItem {
    enum class Status { New, Duplicate, Error };
    QString path;
    Status status = Status::Error;
    QString reason; ///< why it is refused, or why it is a duplicate; with a flight, its notes after
    std::optional<ImportedFlight> flight;
    int existingRow = -1; ///< a duplicate's row in the log (index from 1); -1 when an earlier file of the batch
    int earlierItem = -1; ///< a duplicate's earlier file of the batch, when that is what it repeats
    bool addAnyway = false; ///< the pilot's choice for a duplicate: add it all the same
    int row = -1;           ///< after applyImport: the row added or found (index from 1)
};

/// The files an import reads: each named file, and the IGC and GPX files in each named
/// folder and its subfolders, in name order.
QStringList collectImportSources(const QStringList &paths);
/// Reads one file into an item, New or Error (kMaxTrackFileBytes at most). Safe on any thread.
ImportItem readImportSource(const QString &path, const ImportSettings &settings);
/// Marks each New item that is a flight of `book` or of an earlier file as a Duplicate: the
/// same source SHA-1, or a take-off within a minute with a duration within a minute of the
/// flight's identity (FlightKey::identityOf: as it came, whatever the pilot cut since).
void markDuplicates(std::vector<ImportItem> &items, const LogBook &book);

/// The items in another time zone (`settings`' offset): each flight's date and take-off time,
/// and the identity it comes with, in that zone, and the duplicates of `book` and of the batch
/// marked anew. A duplicate's choice is kept for when it is one again.
void changeImportZone(std::vector<ImportItem> &items, const LogBook &book, const ImportSettings &settings);

struct ImportCounts {
    int added = 0;
    int duplicates = 0; ///< duplicates not added
    int errors = 0;
};
ImportCounts countImport(const std::vector<ImportItem> &items);
/// "n件取り込み、m件は既にあります、k件は読めません"
QString importReport(const ImportCounts &counts);

/// Appends the rows of the New items and of the Duplicates to add anyway, each with a
/// barograph name of the download's form that no row and no file in the barograph folder
/// has, as one undo step "取り込み"; sets each item's row. Returns the barograph files to
/// write with the log, in one write. Nothing is written here.
std::vector<FileImage> applyImport(LogBook &book, std::vector<ImportItem> &items);
