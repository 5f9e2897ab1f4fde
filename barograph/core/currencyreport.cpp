// The status of the pilot's rules with what the barographs measured.
#include "currencyreport.h"

#include "barograph/core/logstatistics.h"
#include "logbook/core/logbook.h"

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
