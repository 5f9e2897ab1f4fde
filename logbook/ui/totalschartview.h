// The totals window's bar chart: flying hours per month, a block of twelve months per year
// with the year's total under it. Painted with QPainter from the geometry the core lays out.
#pragma once

#include "logbook/core/totals.h"
#include "logbook/core/totalschart.h"

#include <QWidget>

class TotalsChartView : public QWidget {
public:
    explicit TotalsChartView(QWidget *parent = nullptr);

    void setTotals(const FlightTotals *totals);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    /// The chart at the widget's size, its texts measured in the widget's font.
    TotalsChart chart() const;
    void fitMinimumWidth();

    const FlightTotals *m_totals = nullptr;
};
