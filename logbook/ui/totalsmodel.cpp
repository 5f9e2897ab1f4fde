// Cells of the totals table.
#include "totalsmodel.h"

#include "logbook/core/text/cp932.h"
#include "logbook/ui/loggrid.h"

#include <QBrush>
#include <QColor>

#include <utility>

void TotalsModel::setTotals(FlightTotals totals)
{
    beginResetModel();
    m_totals = std::move(totals);
    endResetModel();
}

int TotalsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_totals.rowCount();
}

int TotalsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kFieldCount;
}

QVariant TotalsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const TotalsRowKind kind = m_totals.kind(index.row());
    if (role == Qt::BackgroundRole) {
        // Subtotals stand out from the flights; column 0 is the grid's fixed column.
        if (kind == TotalsRowKind::Year)
            return QBrush(QColor(0xFF, 0xE4, 0xB0));
        if (kind == TotalsRowKind::Month)
            return QBrush(QColor(0xFF, 0xF8, 0xD8));
        if (index.column() == 0)
            return QBrush(QColor(0xF0, 0xF0, 0xF0));
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    QString text = cp932::toUnicode(m_totals.cell(index.row(), index.column()));
    if (index.column() == int(Field::Comment)) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" ↵ "));
        text.replace(u'\n', QStringLiteral(" ↵ "));
        text.replace(u'\r', QStringLiteral(" ↵ "));
    }
    return text;
}

QVariant TotalsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Vertical ? QVariant(section + 1) : QVariant(logColumnTitle(section));
}

Qt::ItemFlags TotalsModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
