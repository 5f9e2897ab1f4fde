// The log book on paper: the flights on pages of a fixed number of rows, and under each
// page the three total rows of a paper log book: this page, the pages before (with what was
// carried over from before this log), and everything so far. Flights the pilot left out of
// the statistics are left out here too. QtCore only.
#pragma once

#include <QByteArrayView>

#include <functional>
#include <optional>
#include <vector>

class LogBook;

struct PageTotal {
    int flights = 0;
    qint64 seconds = 0;
};

struct LogBookPage {
    std::vector<int> rows; ///< the log's rows (1 and up) on this page, in log order
    PageTotal page;        ///< "このページ計"
    PageTotal before;      ///< "前ページまでの計": the pages before, what was carried over, and
                           ///< the flights before the first date printed
    PageTotal cumulative;  ///< "累計": before plus this page
    int leftOut = 0;       ///< flights of the printed dates the pilot left out (every page says so)
};

struct LogBookSelection {
    qint64 fromDate = 0; ///< flightDateOrder() bounds, both included; 0: no bound
    qint64 toDate = 0;
    std::function<bool(int row)> excluded;
    PageTotal carried;
    int rowsPerPage = 20;
};

/// What the printed log book of `book` takes between two bounds (0: none): the flights the
/// pilot left out stay out, and what was carried over from before the log opens the first
/// page. The selection refers to `book`.
LogBookSelection logBookSelection(const LogBook &book, qint64 fromDate, qint64 toDate);

/// The pages of the flights `selection` takes; one empty page when none (so a carried-over
/// total still prints).
std::vector<LogBookPage> logBookPages(const LogBook &book, const LogBookSelection &selection);

/// "YY/MM/DD" as an order (year as the totals read it, month, day); std::nullopt when the
/// text is not a date of that form. For the date range of the printed log book.
std::optional<qint64> dateBound(QByteArrayView date);
