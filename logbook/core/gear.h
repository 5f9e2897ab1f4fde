// Gear and when it is due for its check: a wing at the earliest of a number of months, of
// hours and of flights since its last check, or at once after a tree or water landing; a
// reserve repacked every few months. Which flights an item flew is told by the date from which
// the pilot uses it, per kind (a new wing from 26/04/01 flies every flight from then on until
// another wing takes over). Kept in the log's companion. QtCore only.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QJsonArray>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

class LogBook;

enum class GearKind { Glider, Harness, Reserve, Instrument };

struct GearItem {
    QByteArray name; ///< cp932
    GearKind kind = GearKind::Glider;
    // The limits between checks; 0: none of that kind.
    int everyMonths = 0;
    double everyHours = 0;
    int everyFlights = 0;
    std::vector<QDate> usedFrom; ///< ascending: days from which it is the one of its kind in use
    std::vector<QDate> checks;   ///< ascending: days it was checked (repacked, trimmed)
    bool operator==(const GearItem &) const = default;
};

/// What is due first.
enum class DueBy { None, Months, Hours, Flights, Event };

struct GearStatus {
    std::optional<QDate> lastCheck; ///< the last check on or before the day asked
    /// Its flights after the last check up to the day asked, in date order. A check covers the
    /// flights of its own day: the check after a tree landing is made after that flight.
    std::vector<int> rows;
    qint64 seconds = 0; ///< their flying time
    /// The earliest of: the months after the last check (or the first use), the date of the
    /// flight that reached the hours or the flights, the date of a flight whose comment tells of
    /// an event that forces a check. None when no limit is set or reached.
    std::optional<QDate> due;
    DueBy dueBy = DueBy::None;
    int eventRow = 0; ///< the first flight since the last check that forced a check; 0: none
};

/// The status of `gear[item]` on the day `on`. Every flight counts, those left out of the
/// statistics too: ground handling wears a wing as flying does.
GearStatus gearStatus(const LogBook &book, const std::vector<GearItem> &gear, size_t item, QDate on);

/// Whether a flight's comment (cp932) tells of something that forces a check of the gear
/// flown: a tree or water landing, a reserve thrown.
bool isGearEvent(QByteArrayView comment);

/// The JSON names ("glider", "harness", "reserve", "instrument"; "months", "hours", "flights", "event").
QString gearKindName(GearKind kind);
std::optional<GearKind> gearKindOf(QStringView name);
QString dueByName(DueBy by);

/// The gear as the companion keeps it: [{"name", "kind", "everyMonths", "everyHours",
/// "everyFlights", "usedFrom": [dates], "checks": [dates]}], the name percent-encoded cp932.
std::variant<std::vector<GearItem>, QString> gearFromJson(const QJsonArray &array);
QJsonArray gearToJson(const std::vector<GearItem> &gear);

/// The item named `name` (cp932); null when none is.
GearItem *gearNamed(std::vector<GearItem> &gear, QByteArrayView name);
/// Adds `day` to ascending `dates` where it belongs; false when it is there already.
bool insertDate(std::vector<QDate> &dates, QDate day);
