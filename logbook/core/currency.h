// Whether a pilot is current: rules over the log book (flights, flying days, hours, flights
// that came down far enough, fixed expiry dates) and their status on a date. Free-flight rule
// books count what the barograph measured, so a rule of height difference asks each row's
// measured drop through RowHeight; the barograph core finds it (currencyHeights). Flights
// left out of the statistics count nowhere here either. QtCore only.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QJsonArray>
#include <QString>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

class LogBook;

enum class RuleKind {
    Flights,       ///< flights flown
    Days,          ///< flying days: distinct dates with a flight
    Hours,         ///< flying time
    HeightFlights, ///< flights whose barograph came down at least minHeightM from take-off to landing
    Expiry,        ///< a fixed date (licence, flyer registration, insurance, medical)
};

struct CurrencyRule {
    QByteArray name;          ///< cp932
    RuleKind kind = RuleKind::Flights;
    double min = 0;           ///< flights, days or hours to reach
    int withinDays = 0;       ///< the window: this many days ending on the date asked, both ends in; 0: all time
    int minHeightM = 0;       ///< HeightFlights: metres from take-off down to landing
    QDate expires;            ///< Expiry: the last day it is valid; invalid while not set
    QByteArray source;        ///< cp932: where a preset comes from; empty for the pilot's own
    bool operator==(const CurrencyRule &) const = default;
};

/// The rules pilots are asked for most, each citing where it comes from; the pilot edits them
/// to the rule book that applies to them (an expiry's date is left to set).
std::vector<CurrencyRule> currencyPresets();

/// What a row's barograph measured for a rule of height difference.
struct RowHeight {
    enum class State {
        NoBarograph,        ///< the row names none: a typed flight proves no height
        NotRead,            ///< named, but missing or not a barograph
        NoTakeoffOrLanding, ///< the trace starts or ends in the air
        Measured,
        Reading,            ///< its barograph is still being read: the count may grow
    };
    State state = State::NoBarograph;
    double dropM = 0; ///< take-off altitude less landing altitude, to 0.1 m (Measured only)
};
using HeightOf = std::function<RowHeight(int row)>;

struct RuleStatus {
    /// Flights or days counted; for hours, the flying time in hours.
    double count = 0;
    qint64 seconds = 0; ///< the flying time counted (Hours)
    bool met = false;
    std::vector<int> rows; ///< the rows that count, ascending
    /// HeightFlights: rows in the window that could not be measured, and why; they do not count.
    std::vector<std::pair<int, RowHeight::State>> notMeasured;
    /// A windowed rule that is met (or an expiry not passed): the first day on which it is no
    /// longer met if the pilot flies no more.
    std::optional<QDate> lapses;
    /// Lapses within `days` of `on` (the notice at start-up, and the list apart).
    bool lapsesWithin(QDate on, int days = kSoonDays) const { return lapses && on.daysTo(*lapses) <= days; }
    static constexpr int kSoonDays = 30;
};

/// The status of `rule` on the day `on`, over the flights of `book` dated on or before it (and
/// within the window). A row whose date is no day of the calendar, or that is left out of the
/// statistics, counts nowhere. `height` is asked only for HeightFlights rules.
RuleStatus ruleStatus(const LogBook &book, const CurrencyRule &rule, QDate on, const HeightOf &height = {});

/// The JSON names of the kinds ("flights", "days", "hours", "heightFlights", "expiry").
QString ruleKindName(RuleKind kind);
std::optional<RuleKind> ruleKindOf(QStringView name);

/// How a rule's texts stand in JSON: as Unicode text, as a pilot writes a rules file, or as
/// percent-encoded cp932, as the companion keeps every byte.
enum class TextForm { Unicode, Bytes };
/// Rules as JSON objects {"name", "kind", "min", "withinDays", "minHeight", "expires", "source"}
/// (the last four only when set); the problem in the program's words when one is not a rule.
std::variant<std::vector<CurrencyRule>, QString> rulesFromJson(const QJsonArray &array, TextForm form);
QJsonArray rulesToJson(const std::vector<CurrencyRule> &rules, TextForm form);

/// A rules file: {"rules": [...]} as rulesFromJson reads them in Unicode.
std::variant<std::vector<CurrencyRule>, QString> parseRulesFile(QByteArrayView bytes);
/// A rules file larger than this is not read (a rule is a hundred bytes).
inline constexpr qint64 kMaxRulesFileBytes = 1 << 20;
/// More rules than this are refused: a pilot keeps a handful.
inline constexpr int kMaxRules = 1000;
