// Time from a loaded LogBook to a painted log list (offscreen), at 2,000 and 20,000 flights.
// Goal: under 50 ms at 20,000, and no growth with rows that are not visible.
#include "benchdata.h"

#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loglistwindow.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

namespace {

double showLog(int flights)
{
    LogBook book = bench::realisticLog(flights);
    return bench::medianMs(11, [&] {
        TLogG window(book);
        window.resize(640, 350);
        window.model()->setGridRowCount(book.rowCount());
        book.renumber();
        window.model()->refreshAll();
        const QPixmap painted = window.grab();
        Q_UNUSED(painted);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const double small = showLog(2000);
    const double large = showLog(20000);
    std::printf("log list from a loaded LogBook to a painted grid (offscreen, 640 x 350):\n");
    std::printf("   2000 flights  %7.2f ms\n", small);
    std::printf("  20000 flights  %7.2f ms  (goal < 50 ms)  ratio to 2000: %.2f (goal ~1)\n", large, large / small);
    return 0;
}
