// What the binary log cannot hold.
#include "companion.h"

#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/messages.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>

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

// A flight key as stored: its fields percent-encoded, joined by '|'.
QByteArray keyText(const FlightKey &key)
{
    QByteArray text;
    for (size_t i = 0; i < FlightKey::kFields.size(); ++i) {
        if (i)
            text += '|';
        text += key.field(i).toByteArray().toPercentEncoding(kKeepAsIs);
    }
    return text;
}

const QLatin1StringView kVersion("version");
const QLatin1StringView kFlights("flights");     // version 2: one entry per row
const QLatin1StringView kExcluded("excluded");   // version 1: keys left out
const QLatin1StringView kCarried("carriedOver");
const QLatin1StringView kDownloads("downloads"); // version 1: rows as downloaded, by key
const QLatin1StringView kAnalysis("analysis");
const QLatin1StringView kRules("rules");         // version 3
const QLatin1StringView kGear("gear");           // version 3

QString badMember(QLatin1StringView name)
{
    return msg::CompanionBadMember.toString().arg(name);
}

bool isKnownMember(QByteArrayView name)
{
    for (const QLatin1StringView known : {kVersion, kFlights, kExcluded, kCarried, kDownloads, kAnalysis, kRules, kGear}) {
        if (name == QByteArrayView(known.data(), known.size()))
            return true;
    }
    return false;
}

// What the JSON parser would be asked to build, counted from the bytes outside strings
// before it builds anything: a file beyond the bounds is refused for the price of one pass.
// The bytes need not be JSON (the parser judges that); whatever they are, they are counted
// the same way the parser would meet them. A member of the top object named with escapes
// counts as unknown, which only bounds it more.
std::optional<QString> shapeProblem(QByteArrayView bytes)
{
    const char *const begin = bytes.data();
    const char *const end = begin + bytes.size();
    int depth = 0;
    qint64 containers = 0;
    qint64 values = 0;
    qint64 unknownBytes = 0;
    QByteArrayView lastText;           // the string last met in the top object: a member's name
    const char *unknownValue = nullptr; // where the value of an unknown top member starts
    const auto endOfMember = [&](const char *at) {
        if (unknownValue)
            unknownBytes += at - unknownValue;
        unknownValue = nullptr;
        return unknownBytes <= Companion::kMaxUnknownBytes;
    };
    for (const char *p = begin; p < end; ++p) {
        switch (*p) {
        case '"': {
            // Its closing quote: the next one not escaped by an odd run of backslashes.
            const char *q = p;
            for (;;) {
                q = static_cast<const char *>(std::memchr(q + 1, '"', size_t(end - q - 1)));
                if (!q)
                    return msg::CompanionNotJson.toString(); // a string that never ends
                const char *escapes = q;
                while (escapes > p + 1 && escapes[-1] == '\\')
                    --escapes;
                if ((q - escapes) % 2 == 0)
                    break;
            }
            if (q - p - 1 > Companion::kMaxTextBytes)
                return msg::CompanionTextTooLong.toString();
            if (depth == 1)
                lastText = QByteArrayView(p + 1, q - p - 1);
            p = q;
            break;
        }
        case '[':
        case '{':
            if (++depth > Companion::kMaxDepth || ++containers > Companion::kMaxContainers ||
                ++values > Companion::kMaxValues)
                return msg::CompanionTooManyMembers.toString();
            break;
        case ']':
        case '}':
            if (depth == 1 && !endOfMember(p))
                return msg::CompanionUnknownTooLarge.toString();
            depth = std::max(0, depth - 1);
            break;
        case ',':
            if (++values > Companion::kMaxValues)
                return msg::CompanionTooManyMembers.toString();
            if (depth == 1 && !endOfMember(p))
                return msg::CompanionUnknownTooLarge.toString();
            break;
        case ':':
            if (depth == 1 && !isKnownMember(lastText))
                unknownValue = p + 1;
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

// A row's fields as downloaded: every field of the row, each of them one a row can hold.
std::shared_ptr<const DownloadedFlight> downloadOf(const QJsonValue &value, const QJsonValue &raw,
                                                   const QJsonValue &source = QJsonValue(QJsonValue::Undefined))
{
    const QJsonArray fields = value.toArray();
    if (!value.isArray() || fields.size() != kFieldCount || !(raw.isString() || raw.isUndefined()))
        return nullptr;
    DownloadedFlight download;
    FlightRecord row;
    for (int f = 0; f < kFieldCount; ++f) {
        if (!isEncodedText(fields[f]))
            return nullptr;
        download.fields[size_t(f)] = decoded(fields[f]);
        row.setField(Field(f), download.fields[size_t(f)]);
        // A field that does not fit its width or holds a 0x00 is no row the instrument gave.
        if (row.fieldText(Field(f)) != download.fields[size_t(f)])
            return nullptr;
    }
    download.raw = raw.toString();
    if (!source.isUndefined()) {
        // {"file": name, "sha1": hex, "recorder": bytes}: an imported flight's log.
        const QJsonObject object = source.toObject();
        const QJsonValue file = object.value(QLatin1StringView("file"));
        const QJsonValue sha1 = object.value(QLatin1StringView("sha1"));
        const QJsonValue recorder = object.value(QLatin1StringView("recorder"));
        if (!source.isObject() || !file.isString() || !isEncodedText(sha1) || !isEncodedText(recorder))
            return nullptr;
        download.source = FlightSource{file.toString(), sha1.toString().toLatin1(), decoded(recorder)};
    }
    return std::make_shared<const DownloadedFlight>(std::move(download));
}

QJsonObject sourceObject(const FlightSource &source)
{
    return {{QStringLiteral("file"), source.file},
            {QStringLiteral("sha1"), QString::fromLatin1(source.sha1)},
            {QStringLiteral("recorder"), encoded(source.recorder)}};
}

QJsonArray fieldsArray(const DownloadedFlight &download)
{
    QJsonArray fields;
    for (const QByteArray &field : download.fields)
        fields.append(encoded(field));
    return fields;
}

// Version 1 kept the keys left out and the rows as downloaded by the key of their flight;
// each key becomes one entry for every flight of that key, as that version read it.
std::optional<QString> readVersion1Entries(QJsonObject &root, Companion &c)
{
    std::map<QByteArray, size_t> byKey;
    const auto entryOf = [&](const QByteArray &key) -> Companion::Entry & {
        const auto [it, added] = byKey.emplace(key, c.entries.size());
        if (added)
            c.entries.push_back({Companion::kEveryRowOfItsKey, key, false, nullptr});
        return c.entries[it->second];
    };
    if (root.contains(kExcluded)) {
        if (!root.value(kExcluded).isArray())
            return badMember(kExcluded);
        for (const QJsonValue &key : root.value(kExcluded).toArray()) {
            if (!isEncodedText(key))
                return badMember(kExcluded);
            entryOf(decoded(key)).excluded = true;
        }
        root.remove(kExcluded);
    }
    if (root.contains(kDownloads)) {
        if (!root.value(kDownloads).isArray())
            return badMember(kDownloads);
        for (const QJsonValue &entry : root.value(kDownloads).toArray()) {
            const QJsonObject object = entry.toObject();
            auto download = downloadOf(object.value(QLatin1StringView("row")), object.value(QLatin1StringView("raw")));
            // The flight it belongs to now: its present content, unless the pilot has not
            // changed it since it came.
            const QJsonValue flight = object.value(QLatin1StringView("flight"));
            if (!download || !(flight.isUndefined() || isEncodedText(flight)))
                return badMember(kDownloads);
            entryOf(flight.isUndefined() ? keyText(FlightKey::ofDownloaded(*download)) : decoded(flight)).downloaded =
                std::move(download);
        }
        root.remove(kDownloads);
    }
    return std::nullopt;
}

// Version 2: {"row": position, "flight": key, "excluded": true, "downloaded": [fields], "raw": path,
// "source": {"file": name, "sha1": hex, "recorder": bytes}}.
std::optional<QString> readVersion2Entries(QJsonObject &root, Companion &c)
{
    if (!root.contains(kFlights))
        return std::nullopt;
    if (!root.value(kFlights).isArray())
        return badMember(kFlights);
    const QJsonArray flights = root.value(kFlights).toArray();
    c.entries.reserve(size_t(flights.size()));
    for (const QJsonValue &value : flights) {
        const QJsonObject object = value.toObject();
        const QJsonValue row = object.value(QLatin1StringView("row"));
        const QJsonValue key = object.value(QLatin1StringView("flight"));
        const QJsonValue excluded = object.value(QLatin1StringView("excluded"));
        const QJsonValue fields = object.value(QLatin1StringView("downloaded"));
        const QJsonValue raw = object.value(QLatin1StringView("raw"));
        const QJsonValue source = object.value(QLatin1StringView("source"));
        Companion::Entry entry;
        const double position = row.toDouble(-1);
        if (!(row.isUndefined() || (position >= 1 && position < LogBook::kMaxRows && position == int(position))) ||
            !isEncodedText(key) || !(excluded.isUndefined() || excluded.isBool()))
            return badMember(kFlights);
        entry.row = row.isUndefined() ? Companion::kNoRow : int(position);
        entry.key = decoded(key);
        entry.excluded = excluded.toBool();
        if (!fields.isUndefined() && !(entry.downloaded = downloadOf(fields, raw, source)))
            return badMember(kFlights);
        // An entry that holds nothing, or a raw copy or source of no download, is no entry
        // this program wrote.
        if ((!entry.excluded && !entry.downloaded) ||
            (!entry.downloaded && !(raw.isUndefined() && source.isUndefined())))
            return badMember(kFlights);
        c.entries.push_back(std::move(entry));
    }
    root.remove(kFlights);
    return std::nullopt;
}

QByteArray compactText(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    const QByteArray inArray = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return inArray.mid(1, inArray.size() - 2);
}

// The top object a member a line, and the entries of a member that holds them (a flight,
// an analysis) a line each: a full log's companion in half the bytes of an indented file (well within
// kMaxBytes), and still one a person can read and compare.
QByteArray laidOut(const QJsonObject &root)
{
    QByteArray out = "{\n";
    for (auto it = root.begin(); it != root.end(); ++it) {
        out += "    " + compactText(it.key()) + ": ";
        const QJsonValue value = it.value();
        QByteArrayList items;
        bool ofContainers = false;
        if (value.isArray()) {
            for (const QJsonValue &item : value.toArray()) {
                items.append(compactText(item));
                ofContainers |= item.isArray() || item.isObject();
            }
        } else if (value.isObject()) {
            const QJsonObject members = value.toObject();
            for (auto m = members.begin(); m != members.end(); ++m) {
                items.append(compactText(m.key()) + ':' + compactText(m.value()));
                ofContainers |= m.value().isArray() || m.value().isObject();
            }
        }
        if (!ofContainers)
            out += compactText(value);
        else
            out += (value.isArray() ? "[\n        " : "{\n        ") + items.join(",\n        ") +
                   (value.isArray() ? "\n    ]" : "\n    }");
        out += std::next(it) == root.end() ? "\n" : ",\n";
    }
    return out + "}\n";
}

} // namespace

QString encodedBytes(QByteArrayView bytes)
{
    return encoded(bytes);
}

std::optional<QByteArray> decodedBytes(const QJsonValue &value)
{
    return isEncodedText(value) ? std::optional(decoded(value)) : std::nullopt;
}

QByteArray flightKey(const FlightRecord &flight)
{
    return keyText(FlightKey::ofPresent(flight));
}

bool Companion::Entry::operator==(const Entry &o) const
{
    const bool sameDownload = downloaded == o.downloaded ||
        (downloaded && o.downloaded && downloaded->fields == o.downloaded->fields && downloaded->raw == o.downloaded->raw
         && downloaded->source == o.downloaded->source);
    return row == o.row && key == o.key && excluded == o.excluded && sameDownload;
}

bool Companion::operator==(const Companion &o) const
{
    const auto sameAnalysis = [&] {
        if (analysis.size() != o.analysis.size())
            return false;
        for (auto a = analysis.begin(), b = o.analysis.begin(); a != analysis.end(); ++a, ++b) {
            if (a->first != b->first || a->second.totalClimb != b->second.totalClimb ||
                a->second.biggestGain != b->second.biggestGain || a->second.file != b->second.file ||
                a->second.size != b->second.size || a->second.modified != b->second.modified ||
                a->second.heightDrop != b->second.heightDrop || a->second.heightKnown != b->second.heightKnown)
                return false;
        }
        return true;
    };
    return entries == o.entries && carriedFlights == o.carriedFlights && carriedSeconds == o.carriedSeconds &&
           sameAnalysis() && rules == o.rules && gear == o.gear && unknown == o.unknown;
}

std::variant<Companion, QString> parseCompanion(QByteArrayView bytes)
{
    if (bytes.size() > Companion::kMaxBytes)
        return msg::CompanionTooLarge.toString();
    if (const std::optional<QString> problem = shapeProblem(bytes))
        return *problem;
    QJsonParseError error;
    // The bytes are not copied: the document keeps nothing of them once built.
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return msg::CompanionNotJson.toString();
    QJsonObject root = document.object();
    if (!root.value(kVersion).isDouble() || root.value(kVersion).toDouble() < 1)
        return msg::CompanionNoVersion.toString();
    const bool byContent = root.value(kVersion).toDouble() < 2;
    Companion c;
    root.remove(kVersion);

    if (const std::optional<QString> problem = byContent ? readVersion1Entries(root, c) : readVersion2Entries(root, c))
        return *problem;
    // The other version's members: none this program wrote into a file of this version, and
    // kept they would stand beside (or for) the entries the next save writes.
    for (const QLatin1StringView name : {kFlights, kExcluded, kDownloads})
        root.remove(name);
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
            const QJsonValue drop = figures.value(QLatin1StringView("heightDrop")); // null: none found
            const auto wholeOrAbsent = [](const QJsonValue &v) {
                return v.isUndefined() || (v.isDouble() && v.toDouble() >= 0 && v.toDouble() < 1e15 &&
                                           v.toDouble() == double(qint64(v.toDouble())));
            };
            if (!hashShaped || !total.isDouble() || !biggest.isDouble() || !(file.isUndefined() || file.isString()) ||
                !wholeOrAbsent(size) || !wholeOrAbsent(modified) ||
                !(drop.isUndefined() || drop.isNull() || drop.isDouble()))
                return badMember(kAnalysis);
            c.analysis[hash.toLatin1()] = {total.toDouble(), biggest.toDouble(), file.toString(),
                                           size.isUndefined() ? -1 : qint64(size.toDouble()),
                                           qint64(modified.toDouble()),
                                           drop.isDouble() ? std::optional(drop.toDouble()) : std::nullopt,
                                           !drop.isUndefined()};
        }
        root.remove(kAnalysis);
    }
    if (root.contains(kRules)) {
        auto rules = rulesFromJson(root.value(kRules).toArray(), TextForm::Bytes);
        if (!root.value(kRules).isArray() || std::holds_alternative<QString>(rules))
            return badMember(kRules);
        c.rules = std::move(std::get<std::vector<CurrencyRule>>(rules));
        root.remove(kRules);
    }
    if (root.contains(kGear)) {
        auto gear = gearFromJson(root.value(kGear).toArray());
        if (!root.value(kGear).isArray() || std::holds_alternative<QString>(gear))
            return badMember(kGear);
        c.gear = std::move(std::get<std::vector<GearItem>>(gear));
        root.remove(kGear);
    }
    c.unknown = root;
    return c;
}

QByteArray serializeCompanion(const Companion &c)
{
    QJsonObject root = c.unknown;
    root.insert(kVersion, Companion::kVersion);
    if (c.carriedFlights != 0 || c.carriedSeconds != 0)
        root.insert(kCarried, QJsonObject{{QStringLiteral("flights"), c.carriedFlights},
                                          {QStringLiteral("seconds"), double(c.carriedSeconds)}});
    if (!c.entries.empty()) {
        QJsonArray flights;
        for (const Companion::Entry &e : c.entries) {
            QJsonObject entry{{QStringLiteral("flight"), encoded(e.key)}};
            if (e.row > 0)
                entry.insert(QStringLiteral("row"), e.row);
            if (e.excluded)
                entry.insert(QStringLiteral("excluded"), true);
            if (e.downloaded) {
                entry.insert(QStringLiteral("downloaded"), fieldsArray(*e.downloaded));
                if (!e.downloaded->raw.isEmpty())
                    entry.insert(QStringLiteral("raw"), e.downloaded->raw);
                if (e.downloaded->source)
                    entry.insert(QStringLiteral("source"), sourceObject(*e.downloaded->source));
            }
            flights.append(entry);
        }
        root.insert(kFlights, flights);
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
            if (figures.heightKnown)
                entry.insert(QStringLiteral("heightDrop"),
                             figures.heightDrop ? QJsonValue(*figures.heightDrop) : QJsonValue(QJsonValue::Null));
            analysis.insert(QString::fromLatin1(hash), entry);
        }
        root.insert(kAnalysis, analysis);
    }
    if (!c.rules.empty())
        root.insert(kRules, rulesToJson(c.rules, TextForm::Bytes));
    if (!c.gear.empty())
        root.insert(kGear, gearToJson(c.gear));
    return laidOut(root);
}

QString companionPathFor(const QString &logPath)
{
    QString base = logPath;
    if (base.endsWith(kLogExtension, Qt::CaseInsensitive))
        base.chop(kLogExtension.size());
    return base + kCompanionEnding.toString();
}

namespace {

void give(FlightRecord &flight, const Companion::Entry &entry)
{
    flight.excludedFromStatistics |= entry.excluded;
    if (entry.downloaded)
        flight.downloaded = entry.downloaded;
}

/// Gives flights from `firstRow` on the entries of `companion` (whose rows were numbered
/// from 1 in their own log); leaves in it the entries that matched no flight, naming none.
void attachEntries(LogBook &book, Companion &companion, int firstRow)
{
    const int rows = book.rowCount();
    std::vector<std::optional<QByteArray>> keys(size_t(std::max(rows, 0)));
    const auto keyOf = [&](int row) -> const QByteArray & {
        std::optional<QByteArray> &key = keys[size_t(row)];
        if (!key)
            key = flightKey(book.row(row));
        return *key;
    };
    std::vector<bool> taken(keys.size(), false);
    std::vector<bool> matched(companion.entries.size(), false);

    // The row each entry names, when it is still that flight.
    for (size_t e = 0; e < companion.entries.size(); ++e) {
        const Companion::Entry &entry = companion.entries[e];
        const int row = firstRow - 1 + entry.row;
        if (entry.row > 0 && row < rows && !taken[size_t(row)] && keyOf(row) == entry.key) {
            give(book.row(row), entry);
            taken[size_t(row)] = matched[e] = true;
        }
    }
    // The rest by their key alone (the log's rows moved, or the entry named none): an entry
    // goes to a row only when neither has a twin to be confused with.
    std::unordered_map<QByteArray, std::pair<int, std::vector<size_t>>> byKey; // rows left, entries left
    for (size_t e = 0; e < companion.entries.size(); ++e) {
        if (!matched[e] && companion.entries[e].row != Companion::kEveryRowOfItsKey)
            byKey[companion.entries[e].key].second.push_back(e);
    }
    for (int row = firstRow; !byKey.empty() && row < rows; ++row) {
        if (const auto it = byKey.find(keyOf(row)); !taken[size_t(row)] && it != byKey.end())
            it->second.first = it->second.first ? -1 : row;
    }
    for (const auto &[key, found] : byKey) {
        if (found.first > 0 && found.second.size() == 1) {
            give(book.row(found.first), companion.entries[found.second.front()]);
            matched[found.second.front()] = true;
        }
    }
    // A version 1 entry belongs to every flight of its key (a file has one entry a key).
    std::unordered_map<QByteArray, size_t> everyRowOf;
    for (size_t e = 0; e < companion.entries.size(); ++e) {
        if (companion.entries[e].row == Companion::kEveryRowOfItsKey)
            everyRowOf.emplace(companion.entries[e].key, e);
    }
    for (int row = firstRow; !everyRowOf.empty() && row < rows; ++row) {
        if (const auto it = everyRowOf.find(keyOf(row)); it != everyRowOf.end()) {
            give(book.row(row), companion.entries[it->second]);
            matched[it->second] = true;
        }
    }

    std::vector<Companion::Entry> left;
    for (size_t e = 0; e < companion.entries.size(); ++e) {
        if (!matched[e]) {
            left.push_back(std::move(companion.entries[e]));
            left.back().row = Companion::kNoRow;
        }
    }
    companion.entries = std::move(left);
}

} // namespace

int attachCompanion(LogBook &book, Companion companion)
{
    attachEntries(book, companion, 1);
    const int unmatched = int(companion.entries.size());
    book.companion = std::move(companion);
    return unmatched;
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
    std::vector<Companion::Entry> entries;
    for (int row = 1; row < book.rowCount(); ++row) {
        const FlightRecord &flight = book.row(row);
        if (flight.excludedFromStatistics || flight.downloaded)
            entries.push_back({row, flightKey(flight), flight.excludedFromStatistics, flight.downloaded});
    }
    // The entries that matched no flight when the log was read follow, naming no row.
    entries.insert(entries.end(), c.entries.begin(), c.entries.end());
    c.entries = std::move(entries);
    return c;
}

CompanionRead readCompanionBeside(const QString &logPath, const QString &backupFolder)
{
    // Absolute first: a bare "F.log" has no folder, and "bak" beside nothing is the root's.
    const QString path = companionPathFor(QFileInfo(logPath).absoluteFilePath());
    if (!QFileInfo::exists(path))
        return {};
    ReadFailure failure;
    const std::optional<QByteArray> bytes = readInputFile(path, Companion::kMaxBytes, &failure);
    if (!bytes)
        return {std::nullopt, failure.reason()};
    auto parsed = parseCompanion(*bytes);
    if (Companion *companion = std::get_if<Companion>(&parsed))
        return {std::move(*companion), {}};
    if (backupFolder.isEmpty())
        return {std::nullopt, std::get<QString>(parsed)};
    // Kept aside at once: the next save writes a sound companion over it.
    const QString bak = QFileInfo(backupFolder).absoluteFilePath();
    const QString kept = bak + u'/' + QFileInfo(path).fileName() + u'.' +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                         QStringLiteral(".damaged");
    std::optional<WriteFailure> failed;
    if (!QDir().mkpath(bak))
        failed = WriteFailure{bak, QFileInfo::exists(bak) ? EEXIST : EACCES};
    else
        failed = writeFile(kept, *bytes);
    if (failed)
        return {std::nullopt, std::get<QString>(parsed) + u'\n' + failed->reason()};
    return {std::nullopt, std::get<QString>(parsed)};
}
