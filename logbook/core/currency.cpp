// Rules over the log book and their status on a date.
#include "currency.h"

#include "logbook/core/companion.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/nametable.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <map>

namespace {

constexpr std::pair<RuleKind, const char16_t *> kKindNames[] = {
    {RuleKind::Flights, u"flights"}, {RuleKind::Days, u"days"},     {RuleKind::Hours, u"hours"},
    {RuleKind::HeightFlights, u"heightFlights"}, {RuleKind::Expiry, u"expiry"},
};

// A window longer than a hundred years, a height beyond any mountain, or a count beyond any
// flying life is no rule but a slip; they also keep every sum and date within range.
constexpr int kMaxWindowDays = 36500;
constexpr int kMaxHeightM = 10000;
constexpr double kMaxMin = 1e6;

CurrencyRule preset(QStringView name, RuleKind kind, double min, int withinDays, int minHeightM, QStringView source)
{
    return {cp932::fromUnicode(name), kind, min, withinDays, minHeightM, QDate(), cp932::fromUnicode(source)};
}

// What is to be reached, in whole units of what is counted: flights, days or seconds.
qint64 unitsNeeded(const CurrencyRule &rule)
{
    return rule.kind == RuleKind::Hours ? std::llround(rule.min * 3600) : qint64(std::ceil(rule.min));
}

QJsonValue textValue(const QByteArray &bytes, TextForm form)
{
    return form == TextForm::Unicode ? QJsonValue(cp932::toUnicode(bytes)) : QJsonValue(encodedBytes(bytes));
}

std::optional<QByteArray> textOf(const QJsonValue &value, TextForm form)
{
    if (form == TextForm::Bytes)
        return decodedBytes(value);
    if (!value.isString())
        return std::nullopt;
    return cp932::fromUnicode(value.toString());
}

bool isWhole(const QJsonValue &v, int low, int high)
{
    return v.isDouble() && v.toDouble() >= low && v.toDouble() <= high && v.toDouble() == std::floor(v.toDouble());
}

} // namespace

std::vector<CurrencyRule> currencyPresets()
{
    return {
        preset(msg::PresetTandem, RuleKind::Flights, 3, 90, 0, msg::PresetTandemSource),
        preset(msg::PresetLicence300, RuleKind::HeightFlights, 25, 0, 300, msg::PresetLicenceSource),
        preset(msg::PresetLicence500, RuleKind::HeightFlights, 15, 0, 500, msg::PresetLicenceSource),
        preset(msg::PresetRatingDays, RuleKind::Days, 30, 0, 0, msg::PresetRatingSource),
        preset(msg::PresetRatingFlights, RuleKind::Flights, 90, 0, 0, msg::PresetRatingSource),
        preset(msg::PresetRatingHours, RuleKind::Hours, 20, 0, 0, msg::PresetRatingSource),
        preset(msg::PresetLevelHours5, RuleKind::Hours, 5, 0, 0, msg::PresetLevelSource),
        preset(msg::PresetLevelFlights60, RuleKind::Flights, 60, 0, 0, msg::PresetLevelSource),
        preset(msg::PresetLevelHours10, RuleKind::Hours, 10, 0, 0, msg::PresetLevelSource),
        preset(msg::PresetLevelHours20, RuleKind::Hours, 20, 0, 0, msg::PresetLevelSource),
        preset(msg::PresetLicenceExpiry, RuleKind::Expiry, 0, 0, 0, msg::PresetExpirySource),
        preset(msg::PresetRegistrationExpiry, RuleKind::Expiry, 0, 0, 0, msg::PresetExpirySource),
        preset(msg::PresetInsuranceExpiry, RuleKind::Expiry, 0, 0, 0, msg::PresetExpirySource),
        preset(msg::PresetMedicalExpiry, RuleKind::Expiry, 0, 0, 0, msg::PresetExpirySource),
    };
}

RuleStatus ruleStatus(const LogBook &book, const CurrencyRule &rule, QDate on, const HeightOf &height)
{
    RuleStatus s;
    if (rule.kind == RuleKind::Expiry) {
        s.met = rule.expires.isValid() && on <= rule.expires;
        if (s.met)
            s.lapses = rule.expires.addDays(1);
        return s;
    }
    // The window of withinDays days whose last day is `on`: a flight dated f counts up to
    // the day f + withinDays - 1 and lapses on f + withinDays.
    const QDate firstDay = rule.withinDays > 0 ? on.addDays(-(rule.withinDays - 1)) : QDate();
    std::map<QDate, qint64> byDay; // what each day brings: flights, one day, or seconds
    for (int row = 1; row < book.rowCount(); ++row) {
        const FlightRecord &flight = book.row(row);
        if (flight.excludedFromStatistics)
            continue;
        const std::optional<QDate> day = numtext::readCalendarDate(flight.date);
        if (!day || *day > on || (firstDay.isValid() && *day < firstDay))
            continue;
        qint64 units = 1;
        if (rule.kind == RuleKind::Hours) {
            units = numtext::clockSeconds(flight.duration).value_or(0);
        } else if (rule.kind == RuleKind::HeightFlights) {
            const RowHeight h = height ? height(row) : RowHeight{};
            if (h.state != RowHeight::State::Measured) {
                s.notMeasured.emplace_back(row, h.state);
                continue;
            }
            if (h.dropM < rule.minHeightM)
                continue;
        }
        s.rows.push_back(row);
        qint64 &brought = byDay[*day];
        brought = rule.kind == RuleKind::Days ? 1 : brought + units;
    }
    qint64 total = 0;
    for (const auto &[day, units] : byDay)
        total += units;
    const qint64 need = unitsNeeded(rule);
    s.met = total >= need;
    s.seconds = rule.kind == RuleKind::Hours ? total : 0;
    s.count = rule.kind == RuleKind::Hours ? double(total) / 3600 : double(total);
    if (rule.withinDays > 0 && s.met && need > 0) {
        // Without more flying the oldest days leave the window first.
        qint64 left = total;
        for (const auto &[day, units] : byDay) {
            left -= units;
            if (left < need) {
                s.lapses = day.addDays(rule.withinDays);
                break;
            }
        }
    }
    return s;
}

QString ruleKindName(RuleKind kind)
{
    return nameIn(kKindNames, kind);
}

std::optional<RuleKind> ruleKindOf(QStringView name)
{
    return valueIn(kKindNames, name);
}

std::variant<std::vector<CurrencyRule>, QString> rulesFromJson(const QJsonArray &array, TextForm form)
{
    if (array.size() > kMaxRules)
        return msg::RulesTooMany.toString().arg(kMaxRules);
    std::vector<CurrencyRule> rules;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject o = array[i].toObject();
        const auto bad = [&](const char *member) {
            return msg::RuleBadMember.toString().arg(i + 1).arg(QLatin1String(member));
        };
        CurrencyRule rule;
        const std::optional<QByteArray> name = textOf(o.value(QLatin1StringView("name")), form);
        if (!array[i].isObject() || !name || name->isEmpty())
            return bad("name");
        rule.name = *name;
        const std::optional<RuleKind> kind = ruleKindOf(o.value(QLatin1StringView("kind")).toString());
        if (!kind)
            return bad("kind");
        rule.kind = *kind;
        const QJsonValue min = o.value(QLatin1StringView("min"));
        if (!(min.isDouble() && min.toDouble() >= 0 && min.toDouble() <= kMaxMin) &&
            !(rule.kind == RuleKind::Expiry && min.isUndefined()))
            return bad("min");
        rule.min = min.toDouble();
        const QJsonValue within = o.value(QLatin1StringView("withinDays"));
        if (!within.isUndefined() && !isWhole(within, 0, kMaxWindowDays))
            return bad("withinDays");
        rule.withinDays = within.toInt();
        const QJsonValue height = o.value(QLatin1StringView("minHeight"));
        if (rule.kind == RuleKind::HeightFlights ? !isWhole(height, 0, kMaxHeightM) : !height.isUndefined())
            return bad("minHeight");
        rule.minHeightM = height.toInt();
        const QJsonValue expires = o.value(QLatin1StringView("expires"));
        if (!expires.isUndefined()) {
            const std::optional<QDate> day =
                rule.kind == RuleKind::Expiry && expires.isString()
                    ? numtext::readCalendarDate(expires.toString().toLatin1()) : std::nullopt;
            if (!day || numtext::dateText(*day) != expires.toString().toLatin1())
                return bad("expires");
            rule.expires = *day;
        }
        const QJsonValue source = o.value(QLatin1StringView("source"));
        if (!source.isUndefined()) {
            const std::optional<QByteArray> text = textOf(source, form);
            if (!text)
                return bad("source");
            rule.source = *text;
        }
        rules.push_back(std::move(rule));
    }
    return rules;
}

QJsonArray rulesToJson(const std::vector<CurrencyRule> &rules, TextForm form)
{
    QJsonArray array;
    for (const CurrencyRule &r : rules) {
        QJsonObject o{{QStringLiteral("name"), textValue(r.name, form)}, {QStringLiteral("kind"), ruleKindName(r.kind)}};
        if (r.kind != RuleKind::Expiry || r.min != 0)
            o.insert(QStringLiteral("min"), r.min);
        if (r.withinDays > 0)
            o.insert(QStringLiteral("withinDays"), r.withinDays);
        if (r.kind == RuleKind::HeightFlights)
            o.insert(QStringLiteral("minHeight"), r.minHeightM);
        if (r.kind == RuleKind::Expiry && r.expires.isValid())
            o.insert(QStringLiteral("expires"), QString::fromLatin1(numtext::dateText(r.expires)));
        if (!r.source.isEmpty())
            o.insert(QStringLiteral("source"), textValue(r.source, form));
        array.append(o);
    }
    return array;
}

std::variant<std::vector<CurrencyRule>, QString> parseRulesFile(QByteArrayView bytes)
{
    if (bytes.size() > kMaxRulesFileBytes)
        return msg::CompanionTooLarge.toString();
    // Within a megabyte the parser's cost is bounded by the size: no nested-container bound
    // is needed as it is for the companion's 64 MiB.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().value(QLatin1StringView("rules")).isArray())
        return msg::RulesNotRulesFile.toString();
    return rulesFromJson(document.object().value(QLatin1StringView("rules")).toArray(), TextForm::Unicode);
}
