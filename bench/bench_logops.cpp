// Sorting and adding on large logs, and the duplicate check, at 2,000 and 20,000 flights.
// Goals: the 20,000 / 2,000 time ratio under 15 (n log n), a 20,000-flight sort under 20 ms.
// Undo of deleting 10,000 flights of a 20,000-flight log: under 20 ms.
#include "benchdata.h"

#include "logbook/core/logfile.h"
#include "logbook/core/logoperations.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>

#include <cstdio>
#include <cstdlib>

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

// Deletes the middle half of a 20,000-flight log as Delete does (the list renumbered, the
// step recorded), then times the undo alone, and the redo.
std::pair<double, double> measureUndoOfDelete()
{
    const LogBook base = bench::realisticLog(20000);
    std::vector<double> undos, redos;
    for (int run = 0; run < 15; ++run) {
        LogBook book = base;
        book.history.reset(book);
        std::vector<FlightRecord> rows(book.records().begin(), book.records().begin() + 5001);
        rows.insert(rows.end(), book.records().begin() + 15001, book.records().end());
        book.restoreRows(std::move(rows));
        book.renumber();
        book.history.record(book, QStringLiteral("delete"));
        QElapsedTimer t;
        t.start();
        book.history.undo(book);
        undos.push_back(double(t.nsecsElapsed()) / 1e6);
        if (book.rowCount() != base.rowCount())
            std::abort();
        t.restart();
        book.history.redo(book);
        redos.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(undos.begin(), undos.end());
    std::sort(redos.begin(), redos.end());
    return {undos[undos.size() / 2], redos[redos.size() / 2]};
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
    const auto [undo, redo] = measureUndoOfDelete();
    std::printf("  undo of deleting 10000 of 20000 flights %8.3f ms   (goal: under 20 ms); its redo %8.3f ms\n", undo,
                redo);
    return 0;
}
