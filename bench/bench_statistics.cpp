// The statistics of a flying life and the printed log book, on a 20,000-flight log.
// Goals: statistics under 20 ms (with every barograph's analysis already known); the log
// book of 20,000 flights as a PDF under 5 s.
#include "benchdata.h"

#include "logbook/core/logbookpages.h"
#include "logbook/core/statistics.h"
#include "logbook/render/logbookprint.h"

#include <QGuiApplication>

#include <cstdio>
#include <unordered_map>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const LogBook book = bench::realisticLog(20000);
    // A warm cache: what the analysis of each flight's barograph gave, looked up by row.
    std::unordered_map<int, StatisticsInputs::Climbing> cache;
    for (int row = 1; row < book.rowCount(); ++row) {
        if (book.row(row).hasBarograph())
            cache[row] = {double(row % 900), double(row % 400)};
    }
    StatisticsInputs inputs;
    inputs.climbing = [&](int row) -> std::optional<StatisticsInputs::Climbing> {
        const auto found = cache.find(row);
        return found == cache.end() ? std::nullopt : std::optional(found->second);
    };
    int years = 0;
    const double stats = bench::medianMs(21, [&] { years = int(computeStatistics(book, inputs).years.size()); });
    std::printf("statistics of 20000 flights (%d years, analysis known)  %7.2f ms  (goal < 20 ms)\n", years, stats);

    qsizetype bytes = 0;
    const double pdf = bench::medianMs(3, [&] {
        const std::vector<LogBookPage> pages = logBookPages(book, {});
        bytes = logBookPdf(book, pages, QStringLiteral("ログブック"), 20).size();
    });
    std::printf("log book of 20000 flights as PDF (%.1f MB)  %7.0f ms  (goal < 5000 ms)\n", double(bytes) / 1e6, pdf);
    return 0;
}
