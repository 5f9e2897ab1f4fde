// Gear and when it is due for its check.
#include "gear.h"

#include "logbook/core/companion.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/nametable.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::pair<GearKind, const char16_t *> kKindNames[] = {
    {GearKind::Glider, u"glider"}, {GearKind::Harness, u"harness"},
    {GearKind::Reserve, u"reserve"}, {GearKind::Instrument, u"instrument"},
};
constexpr std::pair<DueBy, const char16_t *> kDueByNames[] = {
    {DueBy::Months, u"months"}, {DueBy::Hours, u"hours"}, {DueBy::Flights, u"flights"}, {DueBy::Event, u"event"},
};

// Limits beyond a lifetime of flying are slips, and keep every sum within range.
constexpr int kMaxMonths = 1200;
constexpr double kMaxHours = 100000;
constexpr int kMaxFlights = 1000000;
constexpr qsizetype kMaxDates = 10000; // uses and checks of one item

// The item of `kind` in use on `day`: the one whose latest day of use on or before it is the
// latest; on a tie, the one listed later (entered last).
std::optional<size_t> itemInUse(const std::vector<GearItem> &gear, GearKind kind, QDate day)
{
    std::optional<size_t> found;
    QDate since;
    for (size_t i = 0; i < gear.size(); ++i) {
        if (gear[i].kind != kind)
            continue;
        const auto after = std::upper_bound(gear[i].usedFrom.begin(), gear[i].usedFrom.end(), day);
        if (after != gear[i].usedFrom.begin() && *std::prev(after) >= since) {
            since = *std::prev(after);
            found = i;
        }
    }
    return found;
}

std::optional<std::vector<QDate>> datesOf(const QJsonValue &value)
{
    if (!value.isArray() && !value.isUndefined())
        return std::nullopt;
    const QJsonArray array = value.toArray();
    if (array.size() > kMaxDates)
        return std::nullopt;
    std::vector<QDate> dates;
    for (const QJsonValue &v : array) {
        const QByteArray text = v.toString().toLatin1();
        const std::optional<QDate> day = v.isString() ? numtext::readCalendarDate(text) : std::nullopt;
        // Written as the one writer writes it, ascending and once: what this program keeps.
        if (!day || numtext::dateText(*day) != text || (!dates.empty() && dates.back() >= *day))
            return std::nullopt;
        dates.push_back(*day);
    }
    return dates;
}

QJsonArray datesArray(const std::vector<QDate> &dates)
{
    QJsonArray array;
    for (const QDate &d : dates)
        array.append(QString::fromLatin1(numtext::dateText(d)));
    return array;
}

} // namespace

GearStatus gearStatus(const LogBook &book, const std::vector<GearItem> &gear, size_t item, QDate on)
{
    const GearItem &it = gear.at(item);
    GearStatus s;
    const auto checked = std::upper_bound(it.checks.begin(), it.checks.end(), on);
    if (checked != it.checks.begin())
        s.lastCheck = *std::prev(checked);

    std::vector<std::pair<QDate, int>> flown; // day and row, since the last check
    for (int row = 1; row < book.rowCount(); ++row) {
        const std::optional<QDate> day = numtext::readCalendarDate(book.row(row).date);
        if (day && *day <= on && (!s.lastCheck || *day > *s.lastCheck) && itemInUse(gear, it.kind, *day) == item)
            flown.emplace_back(*day, row);
    }
    std::stable_sort(flown.begin(), flown.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    const auto dueOn = [&s](QDate day, DueBy by) {
        if (!s.due || day < *s.due) {
            s.due = day;
            s.dueBy = by;
        }
    };
    // Months run from the last check, or from the first use of a new item.
    const QDate since = s.lastCheck ? *s.lastCheck : (it.usedFrom.empty() ? QDate() : it.usedFrom.front());
    if (it.everyMonths > 0 && since.isValid())
        dueOn(since.addMonths(it.everyMonths), DueBy::Months);
    const qint64 hoursLimit = std::llround(it.everyHours * 3600);
    for (size_t i = 0; i < flown.size(); ++i) {
        const auto &[day, row] = flown[i];
        const FlightRecord &flight = book.row(row);
        s.rows.push_back(row);
        const qint64 before = s.seconds;
        s.seconds += numtext::clockSeconds(flight.duration).value_or(0);
        if (hoursLimit > 0 && before < hoursLimit && s.seconds >= hoursLimit)
            dueOn(day, DueBy::Hours);
        if (it.everyFlights > 0 && qint64(i) + 1 == it.everyFlights)
            dueOn(day, DueBy::Flights);
        if (!s.eventRow && isGearEvent(flight.fieldText(Field::Comment))) {
            s.eventRow = row;
            dueOn(day, DueBy::Event);
        }
    }
    return s;
}

bool isGearEvent(QByteArrayView comment)
{
    // The words pilots write for a landing that may have hurt the gear: in a tree, in water,
    // a reserve thrown (it must be repacked), in full and half width.
    static const QByteArray words[] = {
        cp932::fromUnicode(u"ツリー"), cp932::fromUnicode(u"ﾂﾘｰ"),   cp932::fromUnicode(u"木に"),
        cp932::fromUnicode(u"着水"),   cp932::fromUnicode(u"水没"), cp932::fromUnicode(u"レスキュー"),
        cp932::fromUnicode(u"ﾚｽｷｭｰ"), cp932::fromUnicode(u"ﾘｻﾞｰﾌﾞ投"), cp932::fromUnicode(u"リザーブ投"),
    };
    // Matched character by character, so that a trail byte and the next lead byte never make
    // a word that is not there.
    for (qsizetype i = 0; i < comment.size(); i += std::max<qsizetype>(1, cp932::codeLength(comment.sliced(i)))) {
        for (const QByteArray &w : words) {
            if (comment.sliced(i).startsWith(w))
                return true;
        }
    }
    return false;
}

QString gearKindName(GearKind kind)
{
    return nameIn(kKindNames, kind);
}

std::optional<GearKind> gearKindOf(QStringView name)
{
    return valueIn(kKindNames, name);
}

QString dueByName(DueBy by)
{
    return nameIn(kDueByNames, by);
}

std::variant<std::vector<GearItem>, QString> gearFromJson(const QJsonArray &array)
{
    std::vector<GearItem> gear;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject o = array[i].toObject();
        const auto bad = [&](const char *member) {
            return msg::GearBadMember.toString().arg(i + 1).arg(QLatin1String(member));
        };
        GearItem item;
        const std::optional<QByteArray> name = decodedBytes(o.value(QLatin1StringView("name")));
        if (!array[i].isObject() || !name || name->isEmpty())
            return bad("name");
        item.name = *name;
        const std::optional<GearKind> kind = gearKindOf(o.value(QLatin1StringView("kind")).toString());
        if (!kind)
            return bad("kind");
        item.kind = *kind;
        const QJsonValue months = o.value(QLatin1StringView("everyMonths"));
        const QJsonValue hours = o.value(QLatin1StringView("everyHours"));
        const QJsonValue flights = o.value(QLatin1StringView("everyFlights"));
        const auto whole = [](const QJsonValue &v, int high) {
            return v.isUndefined() ||
                   (v.isDouble() && v.toDouble() >= 0 && v.toDouble() <= high && v.toDouble() == std::floor(v.toDouble()));
        };
        if (!whole(months, kMaxMonths))
            return bad("everyMonths");
        if (!(hours.isUndefined() || (hours.isDouble() && hours.toDouble() >= 0 && hours.toDouble() <= kMaxHours)))
            return bad("everyHours");
        if (!whole(flights, kMaxFlights))
            return bad("everyFlights");
        item.everyMonths = months.toInt();
        item.everyHours = hours.toDouble();
        item.everyFlights = flights.toInt();
        std::optional<std::vector<QDate>> used = datesOf(o.value(QLatin1StringView("usedFrom")));
        if (!used)
            return bad("usedFrom");
        std::optional<std::vector<QDate>> checks = datesOf(o.value(QLatin1StringView("checks")));
        if (!checks)
            return bad("checks");
        item.usedFrom = std::move(*used);
        item.checks = std::move(*checks);
        gear.push_back(std::move(item));
    }
    return gear;
}

QJsonArray gearToJson(const std::vector<GearItem> &gear)
{
    QJsonArray array;
    for (const GearItem &g : gear) {
        QJsonObject o{{QStringLiteral("name"), encodedBytes(g.name)}, {QStringLiteral("kind"), gearKindName(g.kind)}};
        if (g.everyMonths > 0)
            o.insert(QStringLiteral("everyMonths"), g.everyMonths);
        if (g.everyHours > 0)
            o.insert(QStringLiteral("everyHours"), g.everyHours);
        if (g.everyFlights > 0)
            o.insert(QStringLiteral("everyFlights"), g.everyFlights);
        if (!g.usedFrom.empty())
            o.insert(QStringLiteral("usedFrom"), datesArray(g.usedFrom));
        if (!g.checks.empty())
            o.insert(QStringLiteral("checks"), datesArray(g.checks));
        array.append(o);
    }
    return array;
}

GearItem *gearNamed(std::vector<GearItem> &gear, QByteArrayView name)
{
    const auto it = std::find_if(gear.begin(), gear.end(), [&](const GearItem &g) { return g.name == name; });
    return it == gear.end() ? nullptr : &*it;
}

bool insertDate(std::vector<QDate> &dates, QDate day)
{
    const auto at = std::lower_bound(dates.begin(), dates.end(), day);
    if (at != dates.end() && *at == day)
        return false;
    dates.insert(at, day);
    return true;
}
