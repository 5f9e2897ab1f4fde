// TFormTotal, the totals window: every flight in date order with the flying time of each
// month and year, the log's name as it was, and a bar chart of the hours per month under
// the table (a splitter between them). A snapshot: the totals command refreshes it.
#pragma once

#include "logbook/core/totals.h"

#include <QMdiSubWindow>

class QLineEdit;
class QSplitter;
class QTableView;
class TotalsChartView;
class TotalsModel;

class TFormTotal : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit TFormTotal(QWidget *parent = nullptr);

    /// Shows a new table and the log's name (cp932); brings a minimised or maximised window
    /// back to its normal state.
    void showTotals(FlightTotals totals, const QByteArray &logName);

    TotalsModel *model() const { return m_model; }
    QTableView *grid() const { return StringGrid1; }
    TotalsChartView *chart() const { return m_chart; }
    QSplitter *splitter() const { return m_splitter; }
    QLineEdit *nameField() const { return EdName; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    /// The chart's least height while the table takes what its rows need.
    static constexpr int kChartLeast = 110;
    void giveTheTableItsRoom();

    TotalsModel *m_model;
    QLineEdit *EdName;
    QTableView *StringGrid1;
    TotalsChartView *m_chart;
    QSplitter *m_splitter;
    bool m_splitterPlaced = false; ///< the pilot moved the splitter
};
