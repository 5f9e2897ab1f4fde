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

CurrencyReport currencyReport(const LogBook &book, std::vector<CurrencyRule> rules, QDate on, const QString &folder,
                              std::map<QByteArray, Companion::Analysis> &cache)
{
    CurrencyReport report;
    report.on = on;
    report.rules = std::move(rules);
    auto measured = std::make_shared<std::unordered_map<quint64, RowHeight>>();
    const bool heights = std::any_of(report.rules.begin(), report.rules.end(),
                                     [](const CurrencyRule &r) { return r.kind == RuleKind::HeightFlights; });
    if (heights) {
        std::vector<BarographToLook> rows;
        for (int row = 1; row < book.rowCount(); ++row) {
            const FlightRecord &flight = book.row(row);
            if (needsBarographLook(flight))
                rows.push_back({flight.rowId, flight.barographFile.toByteArray()});
            else if (flight.hasBarograph()) // a name that is no barograph's
                (*measured)[flight.rowId] = {RowHeight::State::NotRead, 0};
        }
        BarographLooks found = lookAtBarographs(rows, folder, cache);
        for (auto &[hash, figures] : found.learned)
            cache[hash] = std::move(figures);
        for (const BarographLooks::Look &look : found.looks) {
            RowHeight &h = (*measured)[look.rowId];
            if (!look.climbing)
                h.state = RowHeight::State::NotRead;
            else if (!look.heightDrop)
                h.state = RowHeight::State::NoTakeoffOrLanding;
            else
                h = {RowHeight::State::Measured, *look.heightDrop};
        }
    }
    report.height = [&book, measured](int row) {
        const auto it = measured->find(book.row(row).rowId);
        return it == measured->end() ? RowHeight{} : it->second;
    };
    for (const CurrencyRule &rule : report.rules)
        report.status.push_back(ruleStatus(book, rule, on, report.height));
    return report;
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
