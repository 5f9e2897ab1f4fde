// Cells of the log list.
#include "logbookmodel.h"

#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/loggrid.h"

#include <QBrush>
#include <QColor>

LogBookModel::LogBookModel(const LogBook &book, QObject *parent)
    : QAbstractTableModel(parent), m_book(book)
{
}

void LogBookModel::setGridRowCount(int rows)
{
    rows = qMax(rows, 2);
    if (rows == m_gridRows)
        return;
    if (rows > m_gridRows) {
        beginInsertRows({}, m_gridRows - 1, rows - 2);
        m_gridRows = rows;
        endInsertRows();
    } else {
        beginRemoveRows({}, rows - 1, m_gridRows - 2);
        m_gridRows = rows;
        endRemoveRows();
    }
}

void LogBookModel::refreshAll()
{
    if (m_gridRows > 1)
        emit dataChanged(index(0, 0), index(m_gridRows - 2, kFieldCount - 1));
}

void LogBookModel::refreshRow(int gridRow)
{
    if (gridRow >= 1 && gridRow < m_gridRows)
        emit dataChanged(index(gridRow - 1, 0), index(gridRow - 1, kFieldCount - 1));
}

int LogBookModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_gridRows - 1;
}

int LogBookModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kFieldCount;
}

QVariant LogBookModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const auto field = Field(index.column());
    if (role == Qt::BackgroundRole && field == Field::Number)
        return QBrush(QColor(0xF0, 0xF0, 0xF0)); // the grid's fixed column
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (row >= m_book.rowCount())
        return QString(); // the blank row of a log without flights
    const QString text = cp932::toUnicode(m_book.row(row).fieldText(field));
    if (role == Qt::ToolTipRole)
        return field == Field::Comment && !text.isEmpty() ? QVariant(text) : QVariant();
    if (field == Field::Comment) {
        // The whole comment in one line of its cell; line breaks show as a mark.
        QString oneLine = text;
        oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" ↵ "));
        oneLine.replace(u'\n', QStringLiteral(" ↵ "));
        oneLine.replace(u'\r', QStringLiteral(" ↵ "));
        return oneLine;
    }
    return text;
}

QVariant LogBookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return logColumnTitle(section);
}

Qt::ItemFlags LogBookModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
