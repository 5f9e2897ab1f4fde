// What the log list and the totals window share: the grid's look (nine columns with their
// widths and titles, 18-pixel rows, columns the user can widen, the number column fixed
// while the others scroll sideways, number columns as wide as their longest text), and line
// edits that keep to a field's width in cp932 bytes.
#pragma once

#include <QPointer>
#include <QString>
#include <QTableView>

#include <functional>

class QLineEdit;

/// The log grid: a double-click anywhere on it (a cell, the empty space below the last
/// row, or the title row) runs `onDoubleClick` with the selection the click leaves.
class LogGridView : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void()> onDoubleClick;

    /// Keeps the number column in place when the other columns scroll sideways: a second
    /// view of the same model and selection, showing only that column, lies over it.
    void freezeNumberColumn();
    /// Gives `column` the room the columns leave free (a maximised window's), and takes it
    /// back when the grid narrows; a width the user sets on it is kept as its own.
    void giveSpareWidthTo(int column);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    void placeFrozen();
    void fitSpareWidth();

    QPointer<QTableView> m_frozen;
    int m_spareColumn = -1;
    int m_spareGiven = 0;       ///< what fitSpareWidth added to that column
    bool m_fittingSpare = false;
};

/// The columns that hold numbers (the row number, flying time, altitude and climb): a
/// column cut to "19…" or "367:1…" reads as another number.
bool isNumberColumn(int column);
/// The width a number column needs for its longest text in the grid's font, title included.
int neededColumnWidth(const QTableView *grid, int column, int firstRow = 0, int lastRow = -1);
/// Widens the number columns whenever rows arrive or change so that no number is cut
/// (never narrows a column the user widened).
void keepNumberColumnsFitted(QTableView *grid);

/// The title of a column of the log list ("" for column 0).
QString logColumnTitle(int column);

/// Gives a grid the log list's columns and rows. Its model must have the nine columns.
void setUpLogGrid(QTableView *grid);

/// Cuts an edit's text to `maxBytes` cp932 bytes, on a character boundary, keeping the caret
/// where it was. Returns true when it cut. Connect to textEdited: typing and pasting alike.
bool keepCp932Bytes(QLineEdit *edit, int maxBytes);
