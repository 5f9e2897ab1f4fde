// Sorting and adding on large logs, and the duplicate check, at 2,000 and 20,000 flights.
// Goals: the 20,000 / 2,000 time ratio under 15 (n log n), a 20,000-flight sort under 20 ms.
#include "benchdata.h"

#include "logbook/core/logfile.h"
#include "logbook/core/logoperations.h"

#include <QRandomGenerator>

#include <cstdio>

namespace {

struct Figures {
    double sort;
    double merge;
    double duplicates;
};

Figures measure(int flights)
{
    LogBook base = bench::realisticLog(flights);
    // Shuffle so that the sort has real work to do.
    QRandomGenerator rng(1);
    for (int i = base.rowCount() - 1; i > 1; --i)
        base.swapRows(i, 1 + int(rng.bounded(i)));
    LogFileContents other;
    other.records = bench::realisticLog(flights / 2).records();

    Figures f{};
    f.sort = bench::medianMs(31, [&] {
        LogBook book = base;
        sortFlightsByDate(book);
    });
    const double copy = bench::medianMs(31, [&] { LogBook book = base; });
    f.sort -= copy; // the copy of the log is not part of the sort
    f.merge = bench::medianMs(31, [&] {
        LogBook book = base;
        appendFlights(book, other);
        book.renumber();
        hasDuplicateDateTime(book);
    }) - copy;
    f.duplicates = bench::medianMs(31, [&] { hasDuplicateDateTime(base); });
    return f;
}

} // namespace

int main()
{
    const Figures small = measure(2000);
    const Figures large = measure(20000);
    std::printf("                      2000 flights  20000 flights  ratio (goal < 15)\n");
    std::printf("  sort by date      %10.3f ms  %10.3f ms  %6.1f   (goal: 20000 under 20 ms)\n", small.sort,
                large.sort, large.sort / small.sort);
    std::printf("  add + check       %10.3f ms  %10.3f ms  %6.1f\n", small.merge, large.merge,
                large.merge / small.merge);
    std::printf("  duplicate check   %10.3f ms  %10.3f ms  %6.1f\n", small.duplicates, large.duplicates,
                large.duplicates / small.duplicates);
    return 0;
}
