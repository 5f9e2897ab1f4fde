// The small dialogs of the currency window: a rule, an item of gear, a date. Each gives
// std::nullopt when cancelled; the window takes them through replaceable functions, so that
// tests answer without a dialog.
#pragma once

#include "logbook/core/currency.h"
#include "logbook/core/gear.h"

#include <QDate>

#include <optional>

class QWidget;

/// Edits `rule` (a preset, or an empty rule for a new one).
std::optional<CurrencyRule> ruleDialog(QWidget *parent, const CurrencyRule &rule);
/// A new item of gear, with the day from which it is used (`firstUse`, as proposed).
struct NewGear {
    GearItem item;
    QDate firstUse;
};
std::optional<NewGear> gearDialog(QWidget *parent, QDate firstUse);
/// A day, "YY/MM/DD", with `caption` and `proposed` filled in.
std::optional<QDate> dateDialog(QWidget *parent, const QString &caption, QDate proposed);
