// The statistics of a flying life, on a 20,000-flight log. Goal: under 20 ms (with every
// barograph's analysis already known). The printed log book is bench_logbookprint.
#include "benchdata.h"

#include "logbook/core/statistics.h"

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
    return 0;
}
