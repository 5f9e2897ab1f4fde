// Flights left out of the statistics and the figures carried over.
#include "statisticsedits.h"

#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"

#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <algorithm>

QString setExclusion(LogBook &book, const std::vector<int> &rows, bool excluded)
{
    int changed = 0;
    for (int r : rows) {
        FlightRecord &flight = book.row(r);
        if (flight.excludedFromStatistics != excluded) {
            flight.excludedFromStatistics = excluded;
            ++changed;
        }
    }
    if (!changed)
        return {};
    book.logModified = true;
    return (excluded ? msg::StepExclude : msg::StepInclude).toString().arg(changed);
}

QString toggleExclusion(LogBook &book, const std::vector<int> &rows)
{
    const bool allExcluded =
        std::all_of(rows.begin(), rows.end(), [&](int r) { return book.row(r).excludedFromStatistics; });
    return setExclusion(book, rows, !allExcluded);
}

QString setCarriedOver(LogBook &book, int flights, qint64 seconds)
{
    Companion &c = book.companion;
    if (c.carriedFlights == flights && c.carriedSeconds == seconds)
        return {};
    c.carriedFlights = flights;
    c.carriedSeconds = seconds;
    book.logModified = true;
    return msg::StepCarried.toString();
}

std::optional<qint64> readCarriedTime(QStringView text)
{
    if (text.trimmed().isEmpty())
        return 0;
    // A paper log book's total is often written without seconds.
    return numtext::clockSeconds(cp932::fromUnicode(text), numtext::ClockForm::SecondsOptional);
}
