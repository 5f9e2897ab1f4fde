// The printed log book of 20,000 flights (1,000 pages) as a PDF file, through the print the
// main window runs: the copy of the log and the pages taken on the window's thread, the
// pages drawn on the worker, the count in a real status bar, the file written by the one
// writer. A 5 ms timer on the window's thread measures the longest time its event loop
// could not run. Goals: no stall of 50 ms or more; the whole print under 5 s.
#include "benchdata.h"

#include "barograph/ui/logbookprinting.h"
#include "logbook/core/logbookpages.h"
#include "logbook/core/stallprobe.h"
#include "logbook/ui/prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const LogBook book = bench::realisticLog(20000);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    QtPrompter prompter(&window);
    LogBookPrinting printing(prompter, window.statusBar());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logbook.pdf"));

    StallProbe probe;

    QElapsedTimer total;
    double copyMs = 0, stallMs = 0;
    int pages = 0;
    QObject::connect(&printing, &LogBookPrinting::finished, &app, [&](LogBookPrinting::Outcome) {
        stallMs = probe.stop();
        app.quit();
    });
    QTimer::singleShot(200, &app, [&] {
        probe.start();
        total.start();
        // What StatisticsCommands::printLogBook does once the dialogs are answered.
        const LogBookSelection selection = logBookSelection(book, 0, 0);
        PrintedLogBook printed =
            printedLogBook(book, logBookPages(book, selection), QStringLiteral("ログブック"), selection.rowsPerPage);
        pages = int(printed.pages.size());
        copyMs = double(total.nsecsElapsed()) / 1e6;
        printing.startPdf(std::move(printed), path);
    });
    app.exec();
    const double totalMs = double(total.nsecsElapsed()) / 1e6;
    std::printf("log book of 20000 flights, %d pages, as PDF (%.1f MB) on the worker  %7.0f ms  (goal < 5000 ms)\n",
                pages, double(QFileInfo(path).size()) / 1e6, totalMs);
    std::printf("  of which the copy of the log and the pages on the window's thread  %7.1f ms\n", copyMs);
    std::printf("  longest stall of the window's event loop meanwhile  %7.1f ms  (goal < 50 ms)\n", stallMs);
    return QFileInfo::exists(path) ? 0 : 1;
}
