// TLogG, the log list window: the log's name above a grid of its flights. It holds no
// flight data of its own; the grid reads the LogBook through LogBookModel.
#pragma once

#include <QMdiSubWindow>

#include <utility>
#include <vector>

class LogBook;
class LogBookModel;
class QLabel;
class QLineEdit;
class QTableView;

class TLogG : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit TLogG(const LogBook &book, QWidget *parent = nullptr);

    LogBookModel *model() const { return m_model; }
    QTableView *grid() const { return StringGrid1; }
    QLineEdit *nameField() const { return EdName; }

    /// The selected rows as grid rows, ascending, gaps kept (a year picked in the statistics,
    /// a rule's rows); the current row when none is selected, row 1 when there is none.
    std::vector<int> selectedRows() const;
    /// Selects grid rows top to bottom.
    void selectRows(int top, int bottom);
    /// Selects the given grid rows (any order, gaps allowed), the first of them current and
    /// scrolled into view; nothing when `rows` is empty.
    void selectRowSet(const std::vector<int> &rows);
    /// Selects nothing, the first row current, the first columns in view: a log just
    /// opened has no selection nor sideways scroll of the log before it.
    void clearSelection();

    /// The name field's text as cp932 bytes.
    QByteArray nameText() const;
    /// Shows a name (cp932) without counting it as typed; clears the changed mark.
    void setNameText(const QByteArray &name);

    /// "ログファイル", or "ログファイル - path" once a log file is open.
    void setLogPath(const QString &path);

signals:
    /// The user typed in the name field (already cut to what a name file keeps).
    void nameEdited();
    /// A double-click on the grid: the Edit command on the selection it leaves.
    void editRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void onNameEdited();

    const LogBook &m_book;
    LogBookModel *m_model;
    QLabel *LbName;
    QLineEdit *EdName;
    QTableView *StringGrid1;
};
