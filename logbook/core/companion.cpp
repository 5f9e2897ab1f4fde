// What the binary log cannot hold.
#include "companion.h"

#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/messages.h"

#include <QDateTime>
#include <QFileInfo>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

namespace {

// Bytes as JSON text: printable ASCII stays readable, every other byte is %XX, so the
// bytes come back exactly whatever they hold.
constexpr char kKeepAsIs[] = " /:.-_";

QString encoded(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toPercentEncoding(kKeepAsIs));
}

QByteArray decoded(const QJsonValue &value)
{
    return QByteArray::fromPercentEncoding(value.toString().toLatin1());
}

bool isEncodedText(const QJsonValue &value)
{
    if (!value.isString())
        return false;
    for (const QChar c : value.toString()) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

const QLatin1StringView kVersion("version");
const QLatin1StringView kExcluded("excluded");
const QLatin1StringView kCarried("carriedOver");
const QLatin1StringView kDownloads("downloads");
const QLatin1StringView kAnalysis("analysis");

QString badMember(QLatin1StringView name)
{
    return msg::CompanionBadMember.toString().arg(name);
}

} // namespace

QByteArray flightKey(const FlightRecord &flight)
{
    QByteArray key;
    for (const Field f : {Field::Date, Field::Time, Field::Duration, Field::MaxAltitude, Field::MaxClimb}) {
        if (!key.isEmpty())
            key += '|';
        key += flight.fieldText(f).toByteArray().toPercentEncoding(kKeepAsIs);
    }
    return key;
}

bool Companion::operator==(const Companion &o) const
{
    const auto sameDownloads = [&] {
        if (downloads.size() != o.downloads.size())
            return false;
        for (auto a = downloads.begin(), b = o.downloads.begin(); a != downloads.end(); ++a, ++b) {
            if (a->first != b->first || a->second.fields != b->second.fields || a->second.raw != b->second.raw)
                return false;
        }
        return true;
    };
    const auto sameAnalysis = [&] {
        if (analysis.size() != o.analysis.size())
            return false;
        for (auto a = analysis.begin(), b = o.analysis.begin(); a != analysis.end(); ++a, ++b) {
            if (a->first != b->first || a->second.totalClimb != b->second.totalClimb ||
                a->second.biggestGain != b->second.biggestGain || a->second.file != b->second.file ||
                a->second.size != b->second.size || a->second.modified != b->second.modified)
                return false;
        }
        return true;
    };
    return excluded == o.excluded && carriedFlights == o.carriedFlights && carriedSeconds == o.carriedSeconds &&
           sameDownloads() && sameAnalysis() && unknown == o.unknown;
}

std::variant<Companion, QString> parseCompanion(QByteArrayView bytes)
{
    if (bytes.size() > Companion::kMaxBytes)
        return msg::CompanionTooLarge.toString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return msg::CompanionNotJson.toString();
    QJsonObject root = document.object();
    if (!root.value(kVersion).isDouble() || root.value(kVersion).toDouble() < 1)
        return msg::CompanionNoVersion.toString();
    Companion c;
    root.remove(kVersion);

    if (root.contains(kExcluded)) {
        if (!root.value(kExcluded).isArray())
            return badMember(kExcluded);
        for (const QJsonValue &key : root.value(kExcluded).toArray()) {
            if (!isEncodedText(key))
                return badMember(kExcluded);
            c.excluded.insert(decoded(key));
        }
        root.remove(kExcluded);
    }
    if (root.contains(kCarried)) {
        const QJsonObject carried = root.value(kCarried).toObject();
        const double flights = carried.value(QLatin1StringView("flights")).toDouble(-1);
        const double seconds = carried.value(QLatin1StringView("seconds")).toDouble(-1);
        if (!(flights >= 0 && flights <= 1e7 && seconds >= 0 && seconds <= 1e12) || flights != qint64(flights) ||
            seconds != qint64(seconds))
            return badMember(kCarried);
        c.carriedFlights = int(flights);
        c.carriedSeconds = qint64(seconds);
        root.remove(kCarried);
    }
    if (root.contains(kDownloads)) {
        if (!root.value(kDownloads).isArray())
            return badMember(kDownloads);
        for (const QJsonValue &entry : root.value(kDownloads).toArray()) {
            const QJsonArray fields = entry.toObject().value(QLatin1StringView("row")).toArray();
            const QJsonValue raw = entry.toObject().value(QLatin1StringView("raw"));
            if (fields.size() != kFieldCount || !(raw.isString() || raw.isUndefined()))
                return badMember(kDownloads);
            Companion::Download download;
            FlightRecord row;
            for (int f = 0; f < kFieldCount; ++f) {
                if (!isEncodedText(fields[f]))
                    return badMember(kDownloads);
                download.fields[size_t(f)] = decoded(fields[f]);
                row.setField(Field(f), download.fields[size_t(f)]);
                // A field that does not fit its width or holds a 0x00 is no row the
                // instrument gave.
                if (row.fieldText(Field(f)) != download.fields[size_t(f)])
                    return badMember(kDownloads);
            }
            download.raw = raw.toString();
            // The flight it belongs to now: its present content, unless the pilot has not
            // changed it since it came.
            const QJsonValue flight = entry.toObject().value(QLatin1StringView("flight"));
            if (!(flight.isUndefined() || isEncodedText(flight)))
                return badMember(kDownloads);
            c.downloads[flight.isUndefined() ? flightKey(row) : decoded(flight)] = download;
        }
        root.remove(kDownloads);
    }
    if (root.contains(kAnalysis)) {
        if (!root.value(kAnalysis).isObject())
            return badMember(kAnalysis);
        const QJsonObject analysis = root.value(kAnalysis).toObject();
        for (auto it = analysis.begin(); it != analysis.end(); ++it) {
            const QJsonObject figures = it.value().toObject();
            const QJsonValue total = figures.value(QLatin1StringView("totalClimb"));
            const QJsonValue biggest = figures.value(QLatin1StringView("biggestGain"));
            const QString hash = it.key();
            const bool hashShaped = hash.size() == 40 && std::all_of(hash.begin(), hash.end(), [](QChar ch) {
                                        return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f');
                                    });
            const QJsonValue file = figures.value(QLatin1StringView("file"));
            const QJsonValue size = figures.value(QLatin1StringView("size"));
            const QJsonValue modified = figures.value(QLatin1StringView("modified"));
            const auto wholeOrAbsent = [](const QJsonValue &v) {
                return v.isUndefined() || (v.isDouble() && v.toDouble() >= 0 && v.toDouble() < 1e15 &&
                                           v.toDouble() == double(qint64(v.toDouble())));
            };
            if (!hashShaped || !total.isDouble() || !biggest.isDouble() || !(file.isUndefined() || file.isString()) ||
                !wholeOrAbsent(size) || !wholeOrAbsent(modified))
                return badMember(kAnalysis);
            c.analysis[hash.toLatin1()] = {total.toDouble(), biggest.toDouble(), file.toString(),
                                           size.isUndefined() ? -1 : qint64(size.toDouble()),
                                           qint64(modified.toDouble())};
        }
        root.remove(kAnalysis);
    }
    c.unknown = root;
    return c;
}

QByteArray serializeCompanion(const Companion &c)
{
    QJsonObject root = c.unknown;
    root.insert(kVersion, Companion::kVersion);
    if (!c.excluded.empty()) {
        QJsonArray keys;
        for (const QByteArray &key : c.excluded)
            keys.append(encoded(key));
        root.insert(kExcluded, keys);
    }
    if (c.carriedFlights != 0 || c.carriedSeconds != 0)
        root.insert(kCarried, QJsonObject{{QStringLiteral("flights"), c.carriedFlights},
                                          {QStringLiteral("seconds"), double(c.carriedSeconds)}});
    if (!c.downloads.empty()) {
        QJsonArray downloads;
        for (const auto &[key, download] : c.downloads) {
            QJsonArray fields;
            for (const QByteArray &field : download.fields)
                fields.append(encoded(field));
            QJsonObject entry{{QStringLiteral("flight"), encoded(key)}, {QStringLiteral("row"), fields}};
            if (!download.raw.isEmpty())
                entry.insert(QStringLiteral("raw"), download.raw);
            downloads.append(entry);
        }
        root.insert(kDownloads, downloads);
    }
    if (!c.analysis.empty()) {
        QJsonObject analysis;
        for (const auto &[hash, figures] : c.analysis) {
            QJsonObject entry{{QStringLiteral("totalClimb"), figures.totalClimb},
                              {QStringLiteral("biggestGain"), figures.biggestGain}};
            if (!figures.file.isEmpty())
                entry.insert(QStringLiteral("file"), figures.file);
            if (figures.size >= 0)
                entry.insert(QStringLiteral("size"), double(figures.size));
            if (figures.modified != 0)
                entry.insert(QStringLiteral("modified"), double(figures.modified));
            analysis.insert(QString::fromLatin1(hash), entry);
        }
        root.insert(kAnalysis, analysis);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString companionPathFor(const QString &logPath)
{
    QString base = logPath;
    if (base.endsWith(kLogExtension, Qt::CaseInsensitive))
        base.chop(kLogExtension.size());
    return base + kCompanionEnding.toString();
}

namespace {

/// Gives flights from `firstRow` on their entries of `companion`; takes the entries that
/// matched out of it.
void attachEntries(LogBook &book, Companion &companion, int firstRow)
{
    std::set<QByteArray> matchedExcluded;
    std::set<QByteArray> matchedDownloads;
    for (int row = firstRow; row < book.rowCount(); ++row) {
        FlightRecord &flight = book.row(row);
        const QByteArray key = flightKey(flight);
        if (companion.excluded.count(key)) {
            flight.excludedFromStatistics = true;
            matchedExcluded.insert(key);
        }
        if (const auto found = companion.downloads.find(key); found != companion.downloads.end()) {
            flight.downloaded = std::make_shared<const DownloadedFlight>(found->second);
            matchedDownloads.insert(key);
        }
    }
    for (const QByteArray &key : matchedExcluded)
        companion.excluded.erase(key);
    for (const QByteArray &key : matchedDownloads)
        companion.downloads.erase(key);
}

} // namespace

void attachCompanion(LogBook &book, Companion companion)
{
    attachEntries(book, companion, 1);
    book.companion = std::move(companion);
}

void attachMergedCompanion(LogBook &book, Companion companion, int firstRow)
{
    attachEntries(book, companion, firstRow);
    // Analyses are by file content: any log's serve every log.
    book.companion.analysis.merge(companion.analysis);
}

Companion companionOf(const LogBook &book)
{
    Companion c = book.companion;
    for (int row = 1; row < book.rowCount(); ++row) {
        const FlightRecord &flight = book.row(row);
        if (!flight.excludedFromStatistics && !flight.downloaded)
            continue;
        const QByteArray key = flightKey(flight);
        if (flight.excludedFromStatistics)
            c.excluded.insert(key);
        if (flight.downloaded)
            c.downloads[key] = *flight.downloaded;
    }
    return c;
}

CompanionRead readCompanionBeside(const QString &logPath, const QString &backupFolder)
{
    const QString path = companionPathFor(logPath);
    if (!QFileInfo::exists(path))
        return {};
    ReadFailure failure;
    const std::optional<QByteArray> bytes = readInputFile(path, Companion::kMaxBytes, &failure);
    if (!bytes)
        return {std::nullopt, failure.reason()};
    auto parsed = parseCompanion(*bytes);
    if (Companion *companion = std::get_if<Companion>(&parsed))
        return {std::move(*companion), {}};
    // Kept aside at once: the next save writes a sound companion over it.
    const QString kept = backupFolder + u'/' + QFileInfo(path).fileName() + u'.' +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                         QStringLiteral(".damaged");
    if (const std::optional<WriteFailure> failed = writeFile(kept, *bytes))
        return {std::nullopt, std::get<QString>(parsed) + u'\n' + failed->reason()};
    return {std::nullopt, std::get<QString>(parsed)};
}
