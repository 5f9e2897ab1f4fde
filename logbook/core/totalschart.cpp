// Geometry of the totals chart.
#include "totalschart.h"

#include "logbook/core/totals.h"
#include "logbook/core/text/numbertext.h"

#include <algorithm>
#include <climits>
#include <map>

namespace {

constexpr qreal kRightMargin = 8;
constexpr qreal kTopMargin = 10;
constexpr qreal kTextGap = 4;     // between a scale label and the axis, between two years' texts
constexpr qreal kMinSlotWidth = 7;

// An hour step of 1, 2 or 5 times a power of ten that gives at most `maxSteps` steps.
int hourStep(double maxHours, int maxSteps)
{
    for (int scale = 1;; scale *= 10) {
        for (const int step : {1, 2, 5}) {
            if (maxHours / (step * scale) <= maxSteps || scale > 100000)
                return step * scale;
        }
    }
}

} // namespace

TotalsChart layoutTotalsChart(const FlightTotals &totals, QSizeF size, const TextMeasure &text)
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
    const qreal line = std::max<qint32>(text.height, 1);
    chart.lineHeight = line;
    // Under the axis: the month numbers, then the year, then its total.
    const qreal bottomMargin = 3 * line + kTextGap;
    const qreal plotHeight = std::max<qreal>(10, size.height() - kTopMargin - bottomMargin);

    qint64 maxSeconds = 0;
    for (const auto &[year, sums] : years)
        maxSeconds = std::max(maxSeconds, *std::max_element(sums.months + 1, sums.months + 13));
    // As many hour lines as keep their labels a line apart, five at most.
    const int maxSteps = std::clamp(int(plotHeight / (line + 2)), 1, 5);
    const int step = hourStep(double(maxSeconds) / 3600, maxSteps);
    const int steps = std::max(1, int((maxSeconds + qint64(step) * 3600 - 1) / (qint64(step) * 3600)));
    qreal scaleWidth = 0;
    for (int i = 0; i <= steps; ++i) {
        chart.ticks.push_back({0, numtext::decimal(qint64(i) * step) + " h"});
        scaleWidth = std::max<qreal>(scaleWidth, text.width(chart.ticks.back().label));
    }
    const qreal left = scaleWidth + 2 * kTextGap;

    qreal widestYearText = 0;
    for (const auto &[year, sums] : years) {
        TotalsChart::Year y;
        y.seconds = sums.total;
        y.label = numtext::decimal(year, 4) + "\x94\x4e"; // 年
        y.time = numtext::clockText(sums.total);
        widestYearText = std::max<qreal>(widestYearText, std::max(text.width(y.label), text.width(y.time)));
        chart.years.push_back(y);
    }
    const qreal leastBlock = std::max(12 * kMinSlotWidth, widestYearText + kTextGap);
    chart.minimumWidth = left + kRightMargin + qreal(years.size()) * leastBlock;
    const qreal width = std::max(size.width(), chart.minimumWidth);
    chart.plot = QRectF(left, kTopMargin, width - left - kRightMargin, plotHeight);
    const QRectF &plot = chart.plot;
    for (int i = 0; i <= steps; ++i)
        chart.ticks[size_t(i)].y = plot.bottom() - plot.height() * i / steps;
    if (years.empty())
        return chart;

    const qreal top = qreal(steps) * step * 3600;
    const qreal block = plot.width() / qreal(years.size());
    const qreal slot = block / 12;
    qreal x = plot.left();
    size_t index = 0;
    for (const auto &[year, sums] : years) {
        chart.years[index++].block = QRectF(x, plot.top(), block, plot.height());
        for (int m = 1; m <= 12; ++m) {
            const qreal h = sums.months[m] > 0 ? plot.height() * qreal(sums.months[m]) / top : 0;
            const qreal barLeft = x + slot * (m - 1) + slot * 0.15;
            chart.bars.push_back({QRectF(barLeft, plot.bottom() - h, slot * 0.7, h), year, m,
                                  qint32(std::min<qint64>(sums.months[m], INT_MAX))});
        }
        x += block;
    }
    return chart;
}
