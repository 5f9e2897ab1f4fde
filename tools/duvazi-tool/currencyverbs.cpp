// "log currency" and "gear": whether the pilot is current under their rules, and when each
// item of their gear is due for its check, on the same core as the currency window.
#include "output.h"
#include "verbs.h"

#include "barograph/core/currencyreport.h"
#include "logbook/core/filereader.h"
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <map>
#include <type_traits>

namespace {

QJsonValue dateValue(const std::optional<QDate> &day)
{
    return day ? QJsonValue(QString::fromLatin1(numtext::dateText(*day))) : QJsonValue(QJsonValue::Null);
}

QString dateString(QDate day)
{
    return QString::fromLatin1(numtext::dateText(day));
}

// A date argument; reported and std::nullopt when it is no day.
std::optional<QDate> dateArgument(const QString &text)
{
    const std::optional<QDate> day = numtext::readCalendarDate(text.toLatin1());
    if (!day)
        report(QStringLiteral("not a date YY/MM/DD: ") + text);
    return day;
}

QString heightReason(RowHeight::State state)
{
    switch (state) {
    case RowHeight::State::NoBarograph:
        return QStringLiteral("noBarograph");
    case RowHeight::State::NotRead:
        return QStringLiteral("notRead");
    case RowHeight::State::NoTakeoffOrLanding:
        return QStringLiteral("noTakeoffOrLanding");
    case RowHeight::State::Reading: // the tool reads every barograph before it answers
        return QStringLiteral("reading");
    case RowHeight::State::Measured:
        break;
    }
    return {};
}

QJsonObject json(const CurrencyReport &report)
{
    QJsonArray rules;
    for (size_t i = 0; i < report.rules.size(); ++i) {
        const CurrencyRule &rule = report.rules[i];
        const RuleStatus &s = report.status[i];
        QJsonArray rows;
        for (const int row : s.rows)
            rows.append(row);
        QJsonObject o{{QStringLiteral("name"), cp932::toUnicode(rule.name)},
                      {QStringLiteral("kind"), ruleKindName(rule.kind)},
                      {QStringLiteral("count"), s.count},
                      {QStringLiteral("min"), rule.min},
                      {QStringLiteral("met"), s.met},
                      {QStringLiteral("rows"), rows},
                      {QStringLiteral("lapses"), dateValue(s.lapses)}};
        if (rule.kind == RuleKind::HeightFlights) {
            QJsonArray notMeasured;
            for (const auto &[row, state] : s.notMeasured)
                notMeasured.append(QJsonObject{{QStringLiteral("row"), row}, {QStringLiteral("reason"), heightReason(state)}});
            o.insert(QStringLiteral("notMeasured"), notMeasured);
        }
        rules.append(o);
    }
    return {{QStringLiteral("on"), dateString(report.on)}, {QStringLiteral("rules"), rules}};
}

QString text(const CurrencyReport &report)
{
    QString out = QStringLiteral("on %1\n").arg(dateString(report.on));
    for (size_t i = 0; i < report.rules.size(); ++i) {
        const CurrencyRule &rule = report.rules[i];
        const RuleStatus &s = report.status[i];
        const QString count = rule.kind == RuleKind::Expiry
                                  ? QStringLiteral("expires ") + (rule.expires.isValid() ? dateString(rule.expires) : QStringLiteral("(not set)"))
                                  : ruleCountText(rule, s) + QStringLiteral(" / ") + QString::number(rule.min);
        out += QStringLiteral("%1\t%2\t%3\t%4").arg(cp932::toUnicode(rule.name), ruleKindName(rule.kind), count,
                                                  s.met ? QStringLiteral("met") : QStringLiteral("not met"));
        if (s.lapses)
            out += QStringLiteral("\tlapses %1").arg(dateString(*s.lapses));
        QStringList rows;
        for (const int row : s.rows)
            rows.append(QString::number(row));
        if (!rows.isEmpty())
            out += QStringLiteral("\trows ") + rows.join(u',');
        out += u'\n';
        for (const auto &[row, state] : s.notMeasured)
            out += QStringLiteral("  row %1: %2\n").arg(row).arg(heightStateText(state));
    }
    for (const size_t i : report.lapsingSoon())
        out += QStringLiteral("lapses within %1 days: %2 (%3)\n")
                   .arg(RuleStatus::kSoonDays).arg(cp932::toUnicode(report.rules[i].name), dateString(*report.status[i].lapses));
    return out;
}

QJsonObject json(const LogBook &book, const std::vector<GearItem> &gear, QDate on)
{
    QJsonArray items;
    for (size_t i = 0; i < gear.size(); ++i) {
        const GearStatus s = gearStatus(book, gear, i, on);
        QJsonObject o{{QStringLiteral("name"), cp932::toUnicode(gear[i].name)},
                      {QStringLiteral("kind"), gearKindName(gear[i].kind)},
                      {QStringLiteral("flights"), int(s.rows.size())},
                      {QStringLiteral("hours"), double(s.seconds) / 3600},
                      {QStringLiteral("due"), dateValue(s.due)},
                      {QStringLiteral("dueBy"), s.due ? QJsonValue(dueByName(s.dueBy)) : QJsonValue(QJsonValue::Null)}};
        if (s.eventRow)
            o.insert(QStringLiteral("eventRow"), s.eventRow);
        items.append(o);
    }
    return {{QStringLiteral("on"), dateString(on)}, {QStringLiteral("gear"), items}};
}

QString text(const LogBook &book, const std::vector<GearItem> &gear, QDate on)
{
    QString out = QStringLiteral("on %1\n").arg(dateString(on));
    for (size_t i = 0; i < gear.size(); ++i) {
        const GearStatus s = gearStatus(book, gear, i, on);
        out += QStringLiteral("%1\t%2\t%3 flights\t%4 since %5").arg(cp932::toUnicode(gear[i].name), gearKindName(gear[i].kind))
                   .arg(s.rows.size()).arg(QString::fromLatin1(numtext::clockText(s.seconds)),
                                           s.lastCheck ? dateString(*s.lastCheck) : QStringLiteral("first use"));
        out += s.due ? QStringLiteral("\tdue %1 by %2\n").arg(dateString(*s.due), dueByName(s.dueBy)) : QStringLiteral("\n");
    }
    return out;
}

// The options after a gear verb's name, each with its value.
std::optional<std::map<QString, QString>> options(const QStringList &args, qsizetype from, const QStringList &known)
{
    std::map<QString, QString> values;
    for (qsizetype i = from; i < args.size(); ++i) {
        if (args[i] == u"--json") {
            values[args[i]] = QString();
        } else if (known.contains(args[i]) && i + 1 < args.size() && !values.count(args[i])) {
            values[args[i]] = args[i + 1];
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return values;
}

int gearAdd(LogBook &book, const QByteArray &name, const std::map<QString, QString> &o)
{
    GearItem item;
    item.name = name;
    const auto kind = o.count(QStringLiteral("--kind")) ? gearKindOf(o.at(QStringLiteral("--kind"))) : std::nullopt;
    if (!kind)
        return 2;
    item.kind = *kind;
    bool ok = true;
    const auto number = [&](const char *option, auto &into, double high) {
        const auto it = o.find(QLatin1String(option));
        if (it == o.end())
            return;
        bool read = false;
        const double value = it->second.toDouble(&read);
        ok = ok && read && value > 0 && value <= high &&
             (std::is_floating_point_v<std::decay_t<decltype(into)>> || value == std::floor(value));
        into = std::decay_t<decltype(into)>(value);
    };
    number("--every-months", item.everyMonths, 1200);
    number("--every-hours", item.everyHours, 100000);
    number("--every-flights", item.everyFlights, 1000000);
    if (!ok)
        return 2;
    if (gearNamed(book.companion.gear, name)) {
        report(QStringLiteral("gear %1 is there already").arg(cp932::toUnicode(name)));
        return 1;
    }
    book.companion.gear.push_back(std::move(item));
    return 0;
}

} // namespace

int logCurrency(const QStringList &args)
{
    QString path, rulesPath;
    std::optional<QDate> on = QDate::currentDate();
    bool asJson = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == u"--json") {
            asJson = true;
        } else if (args[i] == u"--rules" && hasValue) {
            rulesPath = args[++i];
        } else if (args[i] == u"--on" && hasValue) {
            if (!(on = dateArgument(args[++i])))
                return 2;
        } else if (path.isEmpty() && !args[i].startsWith(u"--")) {
            path = args[i];
        } else {
            return 2;
        }
    }
    if (path.isEmpty())
        return 2;
    std::optional<LogBook> book = readLog(path);
    if (!book)
        return 1;
    std::vector<CurrencyRule> rules = book->companion.rules;
    if (!rulesPath.isEmpty()) {
        ReadFailure failure;
        const std::optional<QByteArray> bytes = readInputFile(rulesPath, kMaxRulesFileBytes, &failure);
        if (!bytes) {
            report(QStringLiteral("cannot read ") + rulesPath + u'\n' + failure.reason());
            return 1;
        }
        auto parsed = parseRulesFile(*bytes);
        if (const QString *problem = std::get_if<QString>(&parsed)) {
            report(rulesPath + QStringLiteral(": ") + *problem);
            return 1;
        }
        rules = std::move(std::get<std::vector<CurrencyRule>>(parsed));
    }
    // Barographs lie beside the log; this verb only reads, so what it analyses is not kept.
    std::map<QByteArray, Companion::Analysis> cache = book->companion.analysis;
    const CurrencyReport report = currencyReport(*book, std::move(rules), *on, QFileInfo(path).absolutePath(), cache);
    writeOut(asJson ? QJsonDocument(json(report)).toJson(QJsonDocument::Indented) : text(report).toUtf8());
    return finishOut() ? 0 : 1;
}

int gear(const QStringList &args)
{
    if (args.size() < 2 || args[0].startsWith(u"--"))
        return 2;
    const QString &path = args[0];
    const QString &verb = args[1];
    const bool named = verb != u"due";
    if (named && (args.size() < 3 || args[2].startsWith(u"--")))
        return 2;
    static const QStringList known = {QStringLiteral("--kind"), QStringLiteral("--every-months"),
                                      QStringLiteral("--every-hours"), QStringLiteral("--every-flights"),
                                      QStringLiteral("--from"), QStringLiteral("--on")};
    const auto o = options(args, named ? 3 : 2, known);
    const auto has = [&](const char *option) { return o->count(QLatin1String(option)) > 0; };
    if (!o || (verb == u"add" && (has("--from") || has("--on") || has("--json"))) ||
        (verb == u"use" && (o->size() != 1 || !has("--from"))) || (verb == u"check" && (o->size() != 1 || !has("--on"))) ||
        (verb == u"due" && (has("--kind") || has("--from") || o->size() > size_t(has("--on")) + size_t(has("--json")))) ||
        !(verb == u"add" || verb == u"use" || verb == u"check" || verb == u"due"))
        return 2;
    std::optional<QDate> day = QDate::currentDate();
    for (const char *option : {"--from", "--on"}) {
        if (has(option) && !(day = dateArgument(o->at(QLatin1String(option)))))
            return 2;
    }
    std::optional<QByteArray> logName;
    std::optional<LogBook> book = readLog(path, &logName);
    if (!book)
        return 1;
    std::vector<GearItem> &gear = book->companion.gear;
    if (verb == u"due") {
        writeOut(has("--json") ? QJsonDocument(json(*book, gear, *day)).toJson(QJsonDocument::Indented)
                               : text(*book, gear, *day).toUtf8());
        return finishOut() ? 0 : 1;
    }
    const QByteArray name = cp932::fromUnicode(args[2]);
    if (verb == u"add") {
        if (const int rc = gearAdd(*book, name, *o))
            return rc;
    } else {
        GearItem *item = gearNamed(gear, name);
        if (!item) {
            report(QStringLiteral("no gear %1 in %2").arg(args[2], path));
            return 1;
        }
        if (!insertDate(verb == u"use" ? item->usedFrom : item->checks, *day))
            return 0; // so already: the files stay as they are
    }
    return writeLog(*book, path, logName.value_or(QByteArray()));
}
