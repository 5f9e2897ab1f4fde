// The status of the pilot's rules on a date with what the barographs measured: one function
// for the currency window, its proof on paper and duvazi-tool, so that all three say the same.
// QtCore only.
#pragma once

#include "barograph/core/logstatistics.h"
#include "logbook/core/companion.h"
#include "logbook/core/currency.h"

#include <QDate>
#include <QString>

#include <map>
#include <vector>

class LogBook;

struct CurrencyReport {
    QDate on;
    std::vector<CurrencyRule> rules;
    std::vector<RuleStatus> status; ///< one a rule, in the same order
    /// What each row's barograph measured (NoBarograph for every row when no rule asks).
    HeightOf height;

    /// The rules (their indexes) that lapse within RuleStatus::kSoonDays of `on`.
    std::vector<size_t> lapsingSoon() const;
};

/// Whether any of `rules` counts height differences, which only the barographs tell.
bool needsHeights(const std::vector<CurrencyRule> &rules);
/// A row's height difference from what a look at its barograph found: climbing none when the
/// file could not be read, or when the row names no barograph one can look at.
RowHeight rowHeight(const FlightRecord &flight, const std::optional<StatisticsInputs::Climbing> &climbing,
                    std::optional<double> heightDrop);

/// The status of `rules` on `on` over `book`, each row's height difference from `height`.
CurrencyReport currencyReport(const LogBook &book, std::vector<CurrencyRule> rules, QDate on, HeightOf height);
/// The same, the barographs looked at in place in `folder` when a rule counts height
/// differences, through `cache` (the log's analysis cache; what is learned is added to it).
/// The tool's way: a window looks off its thread (StatisticsRefresh::heightOf).
CurrencyReport currencyReport(const LogBook &book, std::vector<CurrencyRule> rules, QDate on, const QString &folder,
                              std::map<QByteArray, Companion::Analysis> &cache);

/// A flight that counts for a rule, as its proof lists it.
struct ProofRow {
    int row = 0;
    RowHeight height;
    /// Downloaded here from the instrument with the raw copy of its barograph; otherwise typed
    /// (or imported), and its figures are the pilot's word.
    bool fromInstrument = false;
};
/// The flights that count for rule `rule` of `report`, in the order of its rows.
std::vector<ProofRow> proofRows(const LogBook &book, const CurrencyReport &report, size_t rule);

/// The texts the window and the proof show.
/// What a rule asks, in words: "フライト数 3以上（90日以内）", "期限 27/03/31".
QString ruleConditionText(const CurrencyRule &rule);
/// A count as the window shows it: flights and days as numbers, hours as a clock time.
QString ruleCountText(const CurrencyRule &rule, const RuleStatus &status);
/// Why a row's height difference is not known ("バログラフがありません").
QString heightStateText(RowHeight::State state);
QString gearKindText(GearKind kind);
/// What makes an item due ("月数", "ツリー・着水など（5行目）").
QString dueByText(const GearStatus &status);
/// An item's limits ("24か月・100時間").
QString gearLimitsText(const GearItem &item);
