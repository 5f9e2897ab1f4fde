// The log's undo history on a 20,000-flight log: 200 deletes of one row each, taken as the
// list's Delete takes them (the row removed, the list renumbered, the step recorded).
// Goal: the memory the history holds for them under 50 MB (a step costs what it changed,
// not what the log holds). Figures: the undo and the redo of one such step.
#include "benchdata.h"

#include "logbook/core/messages.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Bytes the program holds from the allocator now, mapped blocks included; -1 where the C
// library cannot say.
double heldBytes()
{
#if defined(__GLIBC__)
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd);
#else
    return -1;
#endif
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    constexpr int kFlights = 20000;
    constexpr int kDeletes = 200;
    LogBook book = bench::realisticLog(kFlights);
    book.history.reset(book);
    QRandomGenerator rng(7);

    const double before = heldBytes();
    for (int i = 0; i < kDeletes; ++i) {
        book.removeRow(1 + int(rng.bounded(book.rowCount() - 1)));
        book.renumber();
        book.history.record(book, msg::StepDelete.toString().arg(1));
    }
    const double added = heldBytes() - before;
    if (book.history.undoCount() != kDeletes)
        std::abort();

    std::vector<double> undos, redos;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer t;
        t.start();
        book.history.undo(book);
        undos.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        book.history.redo(book);
        redos.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    if (book.rowCount() != kFlights + 1 - kDeletes)
        std::abort();

    if (added >= 0)
        std::printf("  history of %d one-row deletes on %d flights %8.2f MB   (goal: under 50 MB)\n", kDeletes,
                    kFlights, added / 1e6);
    else
        std::printf("  history memory: not measured on this C library   (goal: under 50 MB)\n");
    std::printf("  undo of one such delete %8.3f ms; its redo %8.3f ms\n", medianOf(undos), medianOf(redos));
    return 0;
}
