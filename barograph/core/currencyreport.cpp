// The status of the pilot's rules with what the barographs measured.
#include "currencyreport.h"

#include "barograph/core/logstatistics.h"
#include "barograph/core/messages.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/numbertext.h"

#include <QStringList>

#include <algorithm>
#include <memory>
#include <unordered_map>

std::vector<size_t> CurrencyReport::lapsingSoon() const
{
    std::vector<size_t> soon;
    for (size_t i = 0; i < status.size(); ++i) {
        if (status[i].lapsesWithin(on))
            soon.push_back(i);
    }
    return soon;
}

bool needsHeights(const std::vector<CurrencyRule> &rules)
{
    return std::any_of(rules.begin(), rules.end(), [](const CurrencyRule &r) { return r.kind == RuleKind::HeightFlights; });
}

RowHeight rowHeight(const FlightRecord &flight, const std::optional<StatisticsInputs::Climbing> &climbing,
                    std::optional<double> heightDrop)
{
    if (!flight.hasBarograph())
        return {};
    if (!climbing)
        return {RowHeight::State::NotRead, 0};
    if (!heightDrop)
        return {RowHeight::State::NoTakeoffOrLanding, 0};
    return {RowHeight::State::Measured, *heightDrop};
}

CurrencyReport currencyReport(const LogBook &book, std::vector<CurrencyRule> rules, QDate on, HeightOf height)
{
    CurrencyReport report;
    report.on = on;
    report.rules = std::move(rules);
    report.height = std::move(height);
    for (const CurrencyRule &rule : report.rules)
        report.status.push_back(ruleStatus(book, rule, on, report.height));
    return report;
}

CurrencyReport currencyReport(const LogBook &book, std::vector<CurrencyRule> rules, QDate on, const QString &folder,
                              std::map<QByteArray, Companion::Analysis> &cache)
{
    auto found = std::make_shared<std::unordered_map<quint64, BarographLooks::Look>>();
    if (needsHeights(rules))
        *found = lookAtBarographsOf(book, folder, cache);
    return currencyReport(book, std::move(rules), on, [&book, found](int row) {
        const FlightRecord &flight = book.row(row);
        const auto it = found->find(flight.rowId);
        return it == found->end() ? rowHeight(flight, std::nullopt, std::nullopt)
                                  : rowHeight(flight, it->second.climbing, it->second.heightDrop);
    });
}

std::vector<ProofRow> proofRows(const LogBook &book, const CurrencyReport &report, size_t rule)
{
    std::vector<ProofRow> proof;
    for (const int row : report.status.at(rule).rows) {
        const FlightRecord &flight = book.row(row);
        proof.push_back({row, report.height(row), flight.downloaded && !flight.downloaded->raw.isEmpty()});
    }
    return proof;
}

QString ruleConditionText(const CurrencyRule &rule)
{
    using namespace baromsg;
    const QString window = rule.withinDays > 0 ? CurrencyWithin.toString().arg(rule.withinDays) : CurrencyAllTime.toString();
    switch (rule.kind) {
    case RuleKind::Flights:
        return CurrencyAtLeastFlights.toString().arg(rule.min) + window;
    case RuleKind::Days:
        return CurrencyAtLeastDays.toString().arg(rule.min) + window;
    case RuleKind::Hours:
        return CurrencyAtLeastHours.toString().arg(rule.min) + window;
    case RuleKind::HeightFlights:
        return CurrencyAtLeastHeight.toString().arg(rule.minHeightM).arg(rule.min) + window;
    case RuleKind::Expiry:
        return CurrencyExpiresOn.toString().arg(rule.expires.isValid() ? QString::fromLatin1(numtext::dateText(rule.expires))
                                                                       : QStringLiteral("--/--/--"));
    }
    return {};
}

QString ruleCountText(const CurrencyRule &rule, const RuleStatus &status)
{
    if (rule.kind == RuleKind::Expiry)
        return {};
    return rule.kind == RuleKind::Hours ? QString::fromLatin1(numtext::clockText(status.seconds)) : QString::number(status.count);
}

QString heightStateText(RowHeight::State state)
{
    switch (state) {
    case RowHeight::State::NoBarograph:
        return msg::HeightNoBarograph.toString();
    case RowHeight::State::NotRead:
        return msg::HeightNotRead.toString();
    case RowHeight::State::NoTakeoffOrLanding:
        return msg::HeightNoTakeoffOrLanding.toString();
    case RowHeight::State::Reading:
        return msg::HeightReading.toString();
    case RowHeight::State::Measured:
        break;
    }
    return {};
}

QString gearKindText(GearKind kind)
{
    using namespace baromsg;
    switch (kind) {
    case GearKind::Glider:
        return GearKindGlider.toString();
    case GearKind::Harness:
        return GearKindHarness.toString();
    case GearKind::Reserve:
        return GearKindReserve.toString();
    case GearKind::Instrument:
        return GearKindInstrument.toString();
    }
    return {};
}

QString dueByText(const GearStatus &status)
{
    using namespace baromsg;
    switch (status.dueBy) {
    case DueBy::Months:
        return GearByMonths.toString();
    case DueBy::Hours:
        return GearByHours.toString();
    case DueBy::Flights:
        return GearByFlights.toString();
    case DueBy::Event:
        return GearByEvent.toString().arg(status.eventRow);
    case DueBy::None:
        break;
    }
    return {};
}

QString gearLimitsText(const GearItem &item)
{
    using namespace baromsg;
    QStringList limits;
    if (item.everyMonths > 0)
        limits.append(GearEveryMonths.toString().arg(item.everyMonths));
    if (item.everyHours > 0)
        limits.append(GearEveryHours.toString().arg(item.everyHours));
    if (item.everyFlights > 0)
        limits.append(GearEveryFlights.toString().arg(item.everyFlights));
    return limits.join(u'・');
}
