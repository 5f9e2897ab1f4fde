// The totals command's work on a 20,000-flight log: the sort by date and the totals table,
// as the window gets it. Goal: under 20 ms together.
#include "benchdata.h"

#include "logbook/core/logoperations.h"
#include "logbook/core/totals.h"
#include "logbook/core/totalschart.h"

#include <QRandomGenerator>

#include <cstdio>

int main()
{
    LogBook base = bench::realisticLog(20000);
    QRandomGenerator rng(7);
    for (int i = base.rowCount() - 1; i > 1; --i)
        base.swapRows(i, 1 + int(rng.bounded(i)));

    const double copy = bench::medianMs(31, [&] { LogBook book = base; });
    const double sortAndTotals = bench::medianMs(31, [&] {
        LogBook book = base;
        sortFlightsByDate(book);
        const FlightTotals totals = computeTotals(book);
        (void)totals;
    }) - copy;
    LogBook sorted = base;
    sortFlightsByDate(sorted);
    const double totalsOnly = bench::medianMs(31, [&] { const FlightTotals t = computeTotals(sorted); (void)t; });
    const FlightTotals table = computeTotals(sorted);
    const double chart = bench::medianMs(31, [&] { const TotalsChart c = layoutTotalsChart(table, QSizeF(639, 120)); (void)c; });
    const double range = bench::medianMs(31, [&] { const RangeTotals r = rangeTotals(sorted, 1, sorted.rowCount() - 1); (void)r; });

    std::printf("  20000 flights, %d table rows\n", table.rowCount());
    std::printf("  sort + totals      %8.3f ms   (goal: under 20 ms)\n", sortAndTotals);
    std::printf("  totals of a sorted log %8.3f ms\n", totalsOnly);
    std::printf("  chart layout       %8.3f ms\n", chart);
    std::printf("  status bar, all selected %8.3f ms\n", range);
    return 0;
}
