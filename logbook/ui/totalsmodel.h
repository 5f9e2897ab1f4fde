// The totals window's table model: a FlightTotals snapshot, read-only, in the log list's
// columns; model row i is grid row i + 1.
#pragma once

#include "logbook/core/totals.h"

#include <QAbstractTableModel>

class TotalsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    /// Shows another table; nothing of the one before remains.
    void setTotals(FlightTotals totals);
    const FlightTotals &totals() const { return m_totals; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    FlightTotals m_totals;
};
