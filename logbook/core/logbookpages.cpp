// The log book on paper.
#include "logbookpages.h"

#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/statistics.h"

#include <algorithm>

std::optional<qint64> dateBound(QByteArrayView date)
{
    const bool shaped = date.size() == 8 && date[2] == '/' && date[5] == '/' &&
                        std::all_of(date.begin(), date.end(), [](char c) { return c == '/' || (c >= '0' && c <= '9'); });
    if (!shaped)
        return std::nullopt;
    return flightDateOrder(date);
}

std::vector<LogBookPage> logBookPages(const LogBook &book, const LogBookSelection &selection)
{
    const int perPage = std::max(1, selection.rowsPerPage);
    std::vector<LogBookPage> pages;
    // Pages printed from a date continue the book: what was flown before it is carried into
    // the first "前ページまでの計" with what came from before the log.
    PageTotal sum = selection.carried;
    for (int row = 1; selection.fromDate && row < book.rowCount(); ++row) {
        if (!(selection.excluded && selection.excluded(row)) && flightDateOrder(book.row(row).date) < selection.fromDate) {
            ++sum.flights;
            sum.seconds += fieldformat::secondsOf(book.row(row).duration);
        }
    }
    const auto newPage = [&] {
        LogBookPage page;
        page.before = sum;
        page.cumulative = sum;
        pages.push_back(page);
    };
    int leftOut = 0;
    for (int row = 1; row < book.rowCount(); ++row) {
        const qint64 order = flightDateOrder(book.row(row).date);
        if ((selection.fromDate && order < selection.fromDate) || (selection.toDate && order > selection.toDate))
            continue;
        if (selection.excluded && selection.excluded(row)) {
            ++leftOut;
            continue;
        }
        if (pages.empty() || int(pages.back().rows.size()) == perPage)
            newPage();
        LogBookPage &page = pages.back();
        const qint64 seconds = fieldformat::secondsOf(book.row(row).duration);
        page.rows.push_back(row);
        ++page.page.flights;
        page.page.seconds += seconds;
        ++sum.flights;
        sum.seconds += seconds;
        page.cumulative = sum;
    }
    if (pages.empty())
        newPage();
    for (LogBookPage &page : pages)
        page.leftOut = leftOut;
    return pages;
}

LogBookSelection logBookSelection(const LogBook &book, qint64 fromDate, qint64 toDate)
{
    LogBookSelection selection;
    selection.fromDate = fromDate;
    selection.toDate = toDate;
    selection.excluded = [&book](int row) { return book.row(row).excludedFromStatistics; };
    selection.carried = {book.companion.carriedFlights, book.companion.carriedSeconds};
    return selection;
}
