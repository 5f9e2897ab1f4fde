// Flying time by month and year: the totals table (every flight in the log's order with a
// subtotal row after each month and each year), the totals of a range of rows, and the
// keys read from a flight's texts. QtCore only.
#pragma once

#include "logbook/core/flightrecord.h"
#include "logbook/core/text/numbertext.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

class LogBook;

enum class TotalsRowKind { Flight, Month, Year };

/// The flying time of one month (month 1-12, or whatever the date held) or of one year
/// (month 0).
struct PeriodTotal {
    int year = 0;
    int month = 0;
    qint32 seconds = 0;
};

/// The totals table: rows of nine cp932 text cells in the columns of the log list. Flight
/// rows copy a flight's nine fields; a month row holds "    %2d月" in column 1 and the
/// month's flying time in column 4; a year row "  %4d年" and the year's flying time. A copy
/// of the log at the time it was made: later changes of the log book do not reach it.
class FlightTotals {
public:
    int rowCount() const { return int(m_rows.size()); }
    /// `row` counts from 0 (the first row under the titles).
    TotalsRowKind kind(int row) const { return m_rows[size_t(row)].kind; }
    QByteArrayView cell(int row, int column) const;

    /// Every subtotal row of the table, in table order (months that were written, years
    /// that were written), for the chart.
    const std::vector<PeriodTotal> &months() const { return m_months; }
    const std::vector<PeriodTotal> &years() const { return m_years; }

private:
    friend FlightTotals computeTotals(const LogBook &book);
    void appendFlight(const FlightRecord &flight);
    void appendPeriod(TotalsRowKind kind, const PeriodTotal &total);

    struct Row {
        TotalsRowKind kind;
        qint32 start[kFieldCount + 1]; ///< cell c is m_text[start[c], start[c + 1])
    };
    QByteArray m_text; ///< every cell's bytes, one after the other
    std::vector<Row> m_rows;
    std::vector<PeriodTotal> m_months;
    std::vector<PeriodTotal> m_years;
};

/// The totals of the flights (rows 1 and up) in their present order: after each month a
/// month row, after each year a year row; the closing month and year rows only when their
/// total is not zero. Totals are whole seconds; a total beyond the 32-bit range stops there.
FlightTotals computeTotals(const LogBook &book);

/// A date "YY/MM/DD" as the totals and statistics count it: read by numtext::readDate (one
/// year pivot), a date without a readable year as month 0 of 2000, as a blank year reads.
numtext::DateNumbers flightDate(QByteArrayView date);
/// The year of flightDate.
int flightYear(QByteArrayView date);
/// The month of flightDate.
int flightMonth(QByteArrayView date);

struct RangeTotals {
    int flights = 0;
    qint64 seconds = 0;
};
/// The number of flights and their flying time among rows top to bottom (clipped to the
/// flights of the log).
RangeTotals rangeTotals(const LogBook &book, int top, int bottom);
/// The same among the given rows, which may leave gaps (a year picked in the statistics).
RangeTotals rangeTotals(const LogBook &book, const std::vector<int> &rows);
