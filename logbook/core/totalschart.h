// The bar chart of the totals window as plain geometry: one block of twelve month bars per
// year, the year's total under it, and an hour scale. Computed here, painted by the window.
// QtCore only.
#pragma once

#include "logbook/core/text/textmeasure.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <vector>

class FlightTotals;

struct TotalsChart {
    struct Bar {
        QRectF rect;    ///< empty height for a month without flying
        int year = 0;
        int month = 0;  ///< 1-12
        qint32 seconds = 0;
    };
    struct Year {
        QRectF block;     ///< the year's twelve month slots, plot height
        QByteArray label; ///< cp932: "1997年", under the month numbers
        QByteArray time;  ///< "123:30:00", under the label
        qint32 seconds = 0;
    };
    struct Tick {
        qreal y = 0;
        QByteArray label; ///< hours, "10 h"
    };

    QRectF plot;              ///< the bars' area, axis at its bottom
    qreal lineHeight = 0;     ///< of a text line under the axis: month numbers, label, time
    std::vector<Bar> bars;    ///< twelve per year, in year order
    std::vector<Year> years;
    std::vector<Tick> ticks;  ///< from 0 up, the last at or above the highest bar
    qreal minimumWidth = 0;   ///< narrower than this a bar or a year's text no longer fits
};

/// Lays out the chart of a totals table in a canvas of `size` pixels: the months and years
/// of its subtotal rows (a month outside 1-12 counts in its year only), years in ascending
/// order, bar heights in proportion to flying time. The texts are measured by `text`, the
/// face the chart is painted in: the hour scale's margin is as wide as its widest label,
/// its labels at least a line apart, and a year's block at least as wide as its texts
/// (the canvas then grows to minimumWidth and scrolls).
TotalsChart layoutTotalsChart(const FlightTotals &totals, QSizeF size, const TextMeasure &text = {});
