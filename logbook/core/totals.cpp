// The totals table.
#include "totals.h"

#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/text/numbertext.h"

#include <limits>

namespace {

// 月 and 年 in cp932.
constexpr char kMonthMark[] = "\x8c\x8e";
constexpr char kYearMark[] = "\x94\x4e";

qint32 clampedSeconds(qint64 seconds)
{
    return qint32(qBound(qint64(std::numeric_limits<qint32>::min()), seconds,
                         qint64(std::numeric_limits<qint32>::max())));
}

} // namespace

QByteArrayView FlightTotals::cell(int row, int column) const
{
    const Row &r = m_rows[size_t(row)];
    return QByteArrayView(m_text).sliced(r.start[column], r.start[column + 1] - r.start[column]);
}

void FlightTotals::appendFlight(const FlightRecord &flight)
{
    Row row{TotalsRowKind::Flight, {}};
    for (int c = 0; c < kFieldCount; ++c) {
        row.start[c] = qint32(m_text.size());
        m_text += flight.fieldText(Field(c));
    }
    row.start[kFieldCount] = qint32(m_text.size());
    m_rows.push_back(row);
}

void FlightTotals::appendPeriod(TotalsRowKind kind, const PeriodTotal &total)
{
    Row row{kind, {}};
    const qint32 at = qint32(m_text.size());
    const QByteArray period = kind == TotalsRowKind::Month
                                  ? "    " + numtext::decimal(total.month, 2) + kMonthMark
                                  : "  " + numtext::decimal(total.year, 4) + kYearMark;
    const QByteArray time = numtext::clockText(total.seconds);
    // Columns 0, 2, 3 and 5 to 8 stay empty.
    row.start[0] = row.start[1] = at;
    row.start[2] = row.start[3] = row.start[4] = at + qint32(period.size());
    for (int c = 5; c <= kFieldCount; ++c)
        row.start[c] = at + qint32(period.size() + time.size());
    m_text += period;
    m_text += time;
    m_rows.push_back(row);
    (kind == TotalsRowKind::Month ? m_months : m_years).push_back(total);
}

FlightTotals computeTotals(const LogBook &book)
{
    FlightTotals table;
    if (!book.hasFlights())
        return table;
    table.m_rows.reserve(size_t(book.rowCount()) * 13 / 10);
    table.m_text.reserve(qsizetype(book.rowCount()) * 64);

    PeriodTotal month{flightYear(book.row(1).date), flightMonth(book.row(1).date), 0};
    PeriodTotal year{month.year, 0, 0};
    qint64 monthSeconds = 0;
    qint64 yearSeconds = 0;
    for (int r = 1; r < book.rowCount(); ++r) {
        const FlightRecord &flight = book.row(r);
        const int y = flightYear(flight.date);
        const int m = flightMonth(flight.date);
        if (m != month.month || y != year.year) {
            month.seconds = clampedSeconds(monthSeconds);
            table.appendPeriod(TotalsRowKind::Month, month);
            month = {y, m, 0};
            monthSeconds = 0;
            if (y != year.year) {
                year.seconds = clampedSeconds(yearSeconds);
                table.appendPeriod(TotalsRowKind::Year, year);
                year = {y, 0, 0};
                yearSeconds = 0;
            }
        }
        const qint64 seconds = fieldformat::secondsOf(flight.duration);
        monthSeconds = qBound(-(qint64(1) << 40), monthSeconds + seconds, qint64(1) << 40);
        yearSeconds = qBound(-(qint64(1) << 40), yearSeconds + seconds, qint64(1) << 40);
        table.appendFlight(flight);
    }
    month.seconds = clampedSeconds(monthSeconds);
    year.seconds = clampedSeconds(yearSeconds);
    if (month.seconds != 0)
        table.appendPeriod(TotalsRowKind::Month, month);
    if (year.seconds != 0)
        table.appendPeriod(TotalsRowKind::Year, year);
    return table;
}

numtext::DateNumbers flightDate(QByteArrayView date)
{
    return numtext::readDate(date).value_or(numtext::DateNumbers{2000, 0, 0});
}

int flightYear(QByteArrayView date)
{
    return flightDate(date).year;
}

int flightMonth(QByteArrayView date)
{
    return flightDate(date).month;
}

RangeTotals rangeTotals(const LogBook &book, int top, int bottom)
{
    std::vector<int> rows;
    for (int r = qMax(1, top); r <= qMin(bottom, book.rowCount() - 1); ++r)
        rows.push_back(r);
    return rangeTotals(book, rows);
}

RangeTotals rangeTotals(const LogBook &book, const std::vector<int> &rows)
{
    RangeTotals totals;
    for (const int r : rows) {
        if (r < 1 || r >= book.rowCount())
            continue;
        ++totals.flights;
        totals.seconds += fieldformat::secondsOf(book.row(r).duration);
    }
    return totals;
}
