// Geometry of the totals chart.
#include "totalschart.h"

#include "logbook/core/totals.h"
#include "logbook/core/text/numbertext.h"

#include <algorithm>
#include <climits>
#include <map>

namespace {

constexpr qreal kLeftMargin = 44;   // hour labels
constexpr qreal kRightMargin = 8;
constexpr qreal kTopMargin = 10;
constexpr qreal kBottomMargin = 34; // month numbers, then the year's label
constexpr qreal kMinSlotWidth = 7;

// An hour step of 1, 2 or 5 times a power of ten that gives at most five steps.
int hourStep(double maxHours)
{
    for (int scale = 1;; scale *= 10) {
        for (const int step : {1, 2, 5}) {
            if (maxHours / (step * scale) <= 5 || scale > 100000)
                return step * scale;
        }
    }
}

} // namespace

TotalsChart layoutTotalsChart(const FlightTotals &totals, QSizeF size)
{
    // Year -> seconds per month (index 1-12) and the year's own total.
    struct YearSums {
        qint64 months[13] = {};
        qint32 total = 0;
    };
    std::map<int, YearSums> years;
    for (const PeriodTotal &m : totals.months()) {
        if (m.month >= 1 && m.month <= 12)
            years[m.year].months[m.month] += m.seconds;
        else
            years[m.year]; // the year shows, the month has no slot
    }
    for (const PeriodTotal &y : totals.years())
        years[y.year].total = qint32(qBound(qint64(INT_MIN), qint64(years[y.year].total) + y.seconds, qint64(INT_MAX)));

    TotalsChart chart;
    chart.minimumWidth = kLeftMargin + kRightMargin + qreal(years.size()) * 12 * kMinSlotWidth;
    const qreal width = std::max(size.width(), chart.minimumWidth);
    chart.plot = QRectF(kLeftMargin, kTopMargin, width - kLeftMargin - kRightMargin,
                        std::max<qreal>(10, size.height() - kTopMargin - kBottomMargin));
    if (years.empty())
        return chart;

    qint64 maxSeconds = 0;
    for (const auto &[year, sums] : years)
        maxSeconds = std::max(maxSeconds, *std::max_element(sums.months + 1, sums.months + 13));
    const int step = hourStep(double(maxSeconds) / 3600);
    const int steps = std::max(1, int((maxSeconds + qint64(step) * 3600 - 1) / (qint64(step) * 3600)));
    const qreal top = qreal(steps) * step * 3600;
    const QRectF &plot = chart.plot;
    for (int i = 0; i <= steps; ++i)
        chart.ticks.push_back({plot.bottom() - plot.height() * i / steps, numtext::decimal(qint64(i) * step) + " h"});

    const qreal block = plot.width() / qreal(years.size());
    const qreal slot = block / 12;
    qreal x = plot.left();
    for (const auto &[year, sums] : years) {
        TotalsChart::Year y;
        y.block = QRectF(x, plot.top(), block, plot.height());
        y.seconds = sums.total;
        y.label = numtext::decimal(year, 4) + "\x94\x4e " + numtext::clockText(sums.total); // 年
        chart.years.push_back(y);
        for (int m = 1; m <= 12; ++m) {
            const qreal h = sums.months[m] > 0 ? plot.height() * qreal(sums.months[m]) / top : 0;
            const qreal left = x + slot * (m - 1) + slot * 0.15;
            chart.bars.push_back({QRectF(left, plot.bottom() - h, slot * 0.7, h), year, m,
                                  qint32(std::min<qint64>(sums.months[m], INT_MAX))});
        }
        x += block;
    }
    return chart;
}
