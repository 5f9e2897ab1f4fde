// Flights from other instruments' logs.
#include "flightimport.h"

#include "barograph/core/barographsave.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/messages.h"
#include "logbook/core/filereader.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kDay = 24 * 3600;
constexpr qint64 kJulianDayOfEpoch = 2440588; // 1970-01-01
/// Two flights are one when their take-offs and their durations each differ by at most a
/// minute: two loggers on one pilot disagree by the seconds each needs to see the launch.
constexpr qint64 kSameFlightSeconds = 60;

// The coarsest of the instrument's intervals (1, 2 or 4 s) on which the log's usual fix
// spacing falls whole, so that every regular fix is a sample and the barograph holds its
// altitude exactly: 3 s or 5 s fixes give 1 s, 6 s give 2 s, 8 s give 4 s.
qint32 intervalFor(const std::vector<TrackFix> &fixes)
{
    std::vector<qint64> gaps;
    gaps.reserve(fixes.size());
    for (size_t i = 1; i < fixes.size(); ++i)
        gaps.push_back(fixes[i].utc - fixes[i - 1].utc);
    const auto middle = gaps.begin() + qsizetype(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    return *middle % 4 == 0 ? 4 : *middle % 2 == 0 ? 2 : 1;
}

// The altitude every `interval` seconds from the first fix, linear between fixes.
std::vector<float> resampled(const std::vector<TrackFix> &fixes, qint32 interval, qint64 count)
{
    std::vector<float> out;
    out.reserve(size_t(count));
    size_t j = 0;
    for (qint64 k = 0; k < count; ++k) {
        const qint64 t = fixes.front().utc + k * interval;
        while (j + 2 < fixes.size() && fixes[j + 1].utc <= t)
            ++j;
        const TrackFix &a = fixes[j];
        const TrackFix &b = fixes[std::min(j + 1, fixes.size() - 1)];
        const double share = b.utc > a.utc ? std::clamp(double(t - a.utc) / double(b.utc - a.utc), 0.0, 1.0) : 0.0;
        out.push_back(float(a.altitudeM + (b.altitudeM - a.altitudeM) * share));
    }
    return out;
}

double distanceM(double lat1, double lon1, double lat2, double lon2)
{
    constexpr double kEarthRadiusM = 6371000;
    constexpr double kRad = 3.14159265358979323846 / 180;
    const double dLat = (lat2 - lat1) * kRad;
    const double dLon = (lon2 - lon1) * kRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2)
        + std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadiusM * std::asin(std::min(1.0, std::sqrt(h)));
}

// The site of the launch: the first fix with a position from take-off on (or the last before).
QByteArray siteOfLaunch(const std::vector<TrackFix> &fixes, qint64 takeoffUtc, const std::vector<FlyingSite> &sites)
{
    const TrackFix *launch = nullptr;
    for (const TrackFix &f : fixes) {
        if (!f.hasPosition)
            continue;
        launch = &f;
        if (f.utc >= takeoffUtc)
            break;
    }
    if (!launch)
        return {};
    // Over the sites themselves: the nearest is named after the loop, so it must not point
    // into a copy that the loop alone keeps alive.
    const FlyingSite *nearest = nullptr;
    double best = kSiteRadiusM;
    for (const FlyingSite &s : sites) {
        const double d = distanceM(launch->latitudeDeg, launch->longitudeDeg, s.latitudeDeg, s.longitudeDeg);
        if (d <= best) {
            best = d;
            nearest = &s;
        }
    }
    return nearest ? fitField(Field::Area, nearest->name) : QByteArray();
}

qint32 zoneOffsetSeconds(qint64 utc, const ImportSettings &settings)
{
    if (settings.utcOffsetMinutes)
        return *settings.utcOffsetMinutes * 60;
    return QTimeZone::systemTimeZone().offsetFromUtc(QDateTime::fromSecsSinceEpoch(utc, Qt::UTC));
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

// A flight's take-off as local seconds since the epoch, and its duration, from its identity;
// std::nullopt when its date or times cannot be read.
struct FlightTimes {
    qint64 takeoff = 0;
    qint32 duration = 0;
};
std::optional<FlightTimes> timesOf(const FlightKey &key)
{
    const std::optional<numtext::DateNumbers> ymd = numtext::readDate(key.field(0));
    const std::optional<qint32> time = numtext::clockSeconds(key.field(1));
    const std::optional<qint32> duration = numtext::clockSeconds(key.field(2));
    const QDate date = ymd ? QDate(ymd->year, ymd->month, ymd->day) : QDate();
    if (!date.isValid() || !time || !duration)
        return std::nullopt;
    return FlightTimes{(date.toJulianDay() - kJulianDayOfEpoch) * kDay + *time, *duration};
}

bool sameFlight(const FlightTimes &a, const FlightTimes &b)
{
    return std::abs(a.takeoff - b.takeoff) <= kSameFlightSeconds
        && std::abs(qint64(a.duration) - qint64(b.duration)) <= kSameFlightSeconds;
}

// The row's date and take-off time in the pilot's zone, and the identity the flight comes
// with (its fields as imported); false when the date falls outside the years a log holds.
bool placeInZone(ImportedFlight &flight, const FlightSource &source, const ImportSettings &settings)
{
    const qint64 local = flight.takeoffUtc + zoneOffsetSeconds(flight.takeoffUtc, settings);
    const QDate date = QDate::fromJulianDay(kJulianDayOfEpoch + floorDiv(local, kDay));
    if (date.year() < 1970 || date.year() >= 2070)
        return false;
    FlightRecord &row = flight.row;
    row.date = date.toString(QStringLiteral("yy/MM/dd")).toLatin1();
    row.time = numtext::clockText(qint32(local - floorDiv(local, kDay) * kDay));
    row.downloaded = std::make_shared<const DownloadedFlight>(DownloadedFlight{downloadedFields(row), {}, source});
    return true;
}

// A flight read and not (or no longer) found in the log: its notes are what the pilot reads.
void markNew(ImportItem &item)
{
    item.status = ImportItem::Status::New;
    item.existingRow = -1;
    item.earlierItem = -1;
    item.reason = item.flight->notes.join(u'\n');
}

// The SHA-1 of the log a row was imported from; empty when it was not.
QByteArray sourceSha1(const FlightRecord &row)
{
    return row.downloaded && row.downloaded->source ? row.downloaded->source->sha1 : QByteArray();
}

} // namespace

std::variant<ImportedFlight, QString> flightFromTrack(const TrackLog &log, const FlightSource &source,
                                                      const ImportSettings &settings)
{
    if (log.fixes.size() < 2)
        return baromsg::ImportNoFix.toString();
    const qint32 interval = intervalFor(log.fixes);
    const qint64 span = log.fixes.back().utc - log.fixes.front().utc;
    if (span / interval + 1 > barofile::kMaxFileSamples)
        return baromsg::ImportTooLong.toString();
    const std::vector<float> all = resampled(log.fixes, interval, span / interval + 1);
    if (all.size() < size_t(barofile::kMinSamples))
        return baromsg::ImportNoFix.toString();

    qint64 first = 0;
    qint64 last = qint64(all.size()) - 1;
    if (!log.ownBarograph) {
        const FlightAnalysis analysis = analyseFlight(all, interval);
        if (analysis.takeoff)
            first = std::clamp<qint64>(qint64(std::floor(*analysis.takeoff / interval)), 0, last);
        if (analysis.landing)
            last = std::clamp<qint64>(qint64(std::ceil(*analysis.landing / interval)), first, last);
        if (last - first + 1 < barofile::kMinSamples) { // no flight found in it: keep it whole
            first = 0;
            last = qint64(all.size()) - 1;
        }
    }
    ImportedFlight flight;
    flight.barograph.interval = interval;
    flight.barograph.altitudes.reserve(size_t(last - first + 1));
    for (qint64 k = first; k <= last; ++k)
        flight.barograph.altitudes.push_back(float(std::round(all[size_t(k)])));
    if (!isUsableBarograph(flight.barograph))
        return baromsg::ImportTooLong.toString();
    flight.takeoffUtc = log.fixes.front().utc + first * interval;

    FlightRecord &row = flight.row;
    row.area = siteOfLaunch(log.fixes, flight.takeoffUtc, settings.sites);
    // The take-off time is the zone's, given next.
    setFiguresFromBarograph(row, buildBarographImage(flight.barograph), 0, QString());
    if (!placeInZone(flight, source, settings))
        return baromsg::ImportBadDate.toString();
    if (log.gnssAltitude)
        flight.notes << baromsg::ImportGnssAltitude.toString();
    if (log.brokenRecords)
        flight.notes << baromsg::ImportBrokenRecords.toString().arg(log.brokenRecords);
    return flight;
}

QStringList collectImportSources(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (isTrackFileName(it.fileName()))
                found << file;
        }
        found.sort();
        files << found;
    }
    return files;
}

ImportItem readImportSource(const QString &path, const ImportSettings &settings)
{
    ImportItem item;
    item.path = path;
    ReadFailure failure;
    const std::optional<QByteArray> bytes = readInputFile(path, kMaxTrackFileBytes, &failure);
    if (!bytes) {
        item.reason = baromsg::ImportCannotRead.toString() + u'\n' + failure.reason();
        return item;
    }
    const QString fileName = QFileInfo(path).fileName();
    TrackRead read = parseTrackLog(*bytes, fileName);
    if (const QString *why = std::get_if<QString>(&read)) {
        item.reason = *why;
        return item;
    }
    const TrackLog &log = std::get<TrackLog>(read);
    const FlightSource source{fileName, QCryptographicHash::hash(*bytes, QCryptographicHash::Sha1).toHex(),
                              log.recorder};
    std::variant<ImportedFlight, QString> flight = flightFromTrack(log, source, settings);
    if (const QString *why = std::get_if<QString>(&flight)) {
        item.reason = *why;
        return item;
    }
    item.flight = std::move(std::get<ImportedFlight>(flight));
    markNew(item);
    return item;
}

void changeImportZone(std::vector<ImportItem> &items, const LogBook &book, const ImportSettings &settings)
{
    for (ImportItem &item : items) {
        if (!item.flight)
            continue;
        if (placeInZone(*item.flight, *item.flight->row.downloaded->source, settings)) {
            markNew(item);
            continue;
        }
        item.status = ImportItem::Status::Error;
        item.reason = baromsg::ImportBadDate.toString();
        item.flight.reset();
    }
    markDuplicates(items, book);
}

void markDuplicates(std::vector<ImportItem> &items, const LogBook &book)
{
    // The log's flights by take-off, so that each file looks at the few within a minute.
    struct Known {
        FlightTimes times;
        int row = -1;  ///< a row of the log, or -1 for an item
        int item = -1;
    };
    std::vector<Known> known;
    known.reserve(size_t(book.rowCount()));
    QHash<QByteArray, int> rowOfSha1;
    for (int r = 1; r < book.rowCount(); ++r) {
        if (const std::optional<FlightTimes> t = timesOf(FlightKey::identityOf(book.row(r))))
            known.push_back({*t, r, -1});
        if (const QByteArray sha1 = sourceSha1(book.row(r)); !sha1.isEmpty())
            rowOfSha1.insert(sha1, r);
    }
    const auto byTakeoff = [](const Known &a, const Known &b) { return a.times.takeoff < b.times.takeoff; };
    std::sort(known.begin(), known.end(), byTakeoff);
    QHash<QByteArray, int> itemOfSha1;
    std::vector<Known> batch; // earlier files of this import, few enough to look at each
    for (size_t i = 0; i < items.size(); ++i) {
        ImportItem &item = items[i];
        if (item.status != ImportItem::Status::New)
            continue;
        const FlightRecord &row = item.flight->row;
        const QByteArray sha1 = sourceSha1(row);
        const std::optional<FlightTimes> times = timesOf(FlightKey::identityOf(row));
        std::optional<Known> match;
        if (!sha1.isEmpty() && rowOfSha1.contains(sha1)) {
            match = Known{{}, rowOfSha1.value(sha1), -1};
        } else if (!sha1.isEmpty() && itemOfSha1.contains(sha1)) {
            match = Known{{}, -1, itemOfSha1.value(sha1)};
        } else if (times) {
            auto it = std::lower_bound(known.begin(), known.end(), Known{{times->takeoff - kSameFlightSeconds, 0}},
                                       byTakeoff);
            for (; it != known.end() && it->times.takeoff <= times->takeoff + kSameFlightSeconds && !match; ++it) {
                if (sameFlight(it->times, *times))
                    match = *it;
            }
            for (const Known &k : batch) {
                if (!match && sameFlight(k.times, *times))
                    match = k;
            }
        }
        if (match) {
            item.status = ImportItem::Status::Duplicate;
            item.existingRow = match->row;
            item.earlierItem = match->item;
            const bool sameFile = !sha1.isEmpty()
                && (rowOfSha1.value(sha1, -2) == match->row || itemOfSha1.value(sha1, -2) == match->item);
            item.reason = sameFile ? baromsg::ImportSameSource.toString()
                : match->row > 0 ? baromsg::ImportSameFlight.toString().arg(match->row)
                                 : baromsg::ImportSameAsFile.toString().arg(QFileInfo(items[size_t(match->item)].path).fileName());
            continue;
        }
        if (!sha1.isEmpty())
            itemOfSha1.insert(sha1, int(i));
        if (times)
            batch.push_back({*times, -1, int(i)});
    }
}

ImportCounts countImport(const std::vector<ImportItem> &items)
{
    ImportCounts counts;
    for (const ImportItem &item : items) {
        if (item.status == ImportItem::Status::Error)
            ++counts.errors;
        else if (item.status == ImportItem::Status::Duplicate && !item.addAnyway)
            ++counts.duplicates;
        else
            ++counts.added;
    }
    return counts;
}

QString importReport(const ImportCounts &counts)
{
    return baromsg::ImportReport.toString().arg(counts.added).arg(counts.duplicates).arg(counts.errors);
}

std::vector<FileImage> applyImport(LogBook &book, std::vector<ImportItem> &items)
{
    const QString folder = withTrailingSlash(barographFolder(book));
    // The rule's names are ASCII: upper case finds every row naming the same file.
    QSet<QByteArray> taken;
    for (int r = 1; r < book.rowCount(); ++r)
        taken.insert(book.row(r).barographFile.toByteArray().toUpper());
    std::vector<FileImage> files;
    for (ImportItem &item : items) {
        const bool add = item.status == ImportItem::Status::New
            || (item.status == ImportItem::Status::Duplicate && item.addAnyway);
        if (!add) {
            if (item.status == ImportItem::Status::Duplicate)
                item.row = item.existingRow > 0 ? item.existingRow : items[size_t(item.earlierItem)].row;
            continue;
        }
        if (book.rowCount() >= LogBook::kMaxRows) {
            item.status = ImportItem::Status::Error;
            item.reason = msg::LogTooManyRows.toString();
            continue;
        }
        FlightRecord row = item.flight->row;
        QByteArray name;
        for (int variant = 0; variant <= kMaxNameVariant && name.isEmpty(); ++variant) {
            const QByteArray candidate = barographFileName(row.date, row.time, variant);
            const std::optional<QString> path = barographPath(folder, candidate);
            if (path && !taken.contains(candidate.toUpper()) && !QFileInfo::exists(*path))
                name = candidate;
        }
        if (name.isEmpty()) { // every name of the day's minute in use: no file to write it to
            item.status = ImportItem::Status::Error;
            item.reason = WriteFailure{folder + QString::fromLatin1(barographFileName(row.date, row.time)), EEXIST}.reason();
            continue;
        }
        taken.insert(name.toUpper());
        row.barographFile = name;
        files.push_back({folder + QString::fromLatin1(name), buildBarographImage(item.flight->barograph), true,
                         backupFolder(folder)});
        book.appendRow(std::move(row));
        item.row = book.rowCount() - 1;
    }
    book.renumber();
    if (book.history.record(book, baromsg::ImportStep.toString()))
        book.logModified = true;
    return files;
}
