// The totals window's bar chart: flying hours per month, a block of twelve months per year
// with the year's total under it. Painted with QPainter from the geometry the core lays out.
#pragma once

#include "logbook/core/totals.h"

#include <QWidget>

class TotalsChartView : public QWidget {
public:
    explicit TotalsChartView(QWidget *parent = nullptr);

    void setTotals(const FlightTotals *totals);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    const FlightTotals *m_totals = nullptr;
};
