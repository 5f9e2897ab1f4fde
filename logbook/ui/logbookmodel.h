// The log list's table model: reads the LogBook directly, no item per cell.
// Model row i is grid row i + 1 and LogBook row i + 1; the grid's title row is the header.
#pragma once

#include <QAbstractTableModel>

class LogBook;

class LogBookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LogBookModel(const LogBook &book, QObject *parent = nullptr);

    /// The grid's row count, title row included. Operations that change the number of
    /// flights set it before they redraw; a log without flights shows one blank row (2).
    void setGridRowCount(int rows);
    int gridRowCount() const { return m_gridRows; }

    /// Every cell is read again from the LogBook (the redraw of the list).
    void refreshAll();
    /// One grid row is read again (single-cell updates by downloads and graph windows).
    void refreshRow(int gridRow);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const LogBook &m_book;
    int m_gridRows = 2;
};
