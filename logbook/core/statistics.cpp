// The statistics of a flying life.
#include "statistics.h"

#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/totals.h"
#include "logbook/core/text/numbertext.h"

#include <algorithm>
#include <map>

namespace {

/// Keeps the larger value with the first row that reached it.
void raise(FlightRecordHolder &record, int row, double value)
{
    if (record.row == 0 || value > record.value)
        record = {row, value};
}

} // namespace

namespace {

qint64 orderOf(const numtext::DateNumbers &d)
{
    return qint64(d.year) * 100000000 + qint64(d.month) * 10000 + d.day;
}

} // namespace

qint64 flightDateOrder(QByteArrayView date)
{
    return orderOf(flightDate(date));
}

QByteArray siteOf(QByteArrayView area)
{
    qsizetype end = area.size();
    while (end > 0 && (area[end - 1] == ' ' || area[end - 1] == '\t'))
        --end;
    return area.first(end).toByteArray();
}

LogStatistics computeStatistics(const LogBook &book, const StatisticsInputs &inputs)
{
    LogStatistics s;
    std::map<int, YearStatistics> years;
    std::map<int, MonthStatistics> months;
    std::map<QByteArray, SiteStatistics> sites;
    std::map<QByteArray, std::pair<qint64, qint64>> siteDates; // first and last date order
    for (int row = 1; row < book.rowCount(); ++row) {
        if (inputs.excluded && inputs.excluded(row)) {
            ++s.excluded;
            continue;
        }
        const FlightRecord &flight = book.row(row);
        const qint64 seconds = fieldformat::secondsOf(flight.duration);
        const double altitude = fieldformat::numberAtStart(flight.maxAltitude);
        const double climb = fieldformat::numberAtStart(flight.maxClimb);
        ++s.flights;
        s.seconds += seconds;

        // The date read once: reading it is a third of the work at 20,000 flights.
        const numtext::DateNumbers date = flightDate(flight.date);
        const int yearNumber = date.year;
        YearStatistics &year = years[yearNumber];
        const bool firstOfYear = year.flights == 0;
        year.year = yearNumber;
        ++year.flights;
        year.seconds += seconds;
        year.longestSeconds = std::max(year.longestSeconds, seconds);
        year.highest = firstOfYear ? altitude : std::max(year.highest, altitude);
        year.bestClimb = firstOfYear ? climb : std::max(year.bestClimb, climb);
        year.rows.push_back(row);

        if (const int monthNumber = date.month; monthNumber >= 1 && monthNumber <= 12) {
            MonthStatistics &month = months[monthNumber];
            month.month = monthNumber;
            ++month.flights;
            month.seconds += seconds;
            month.rows.push_back(row);
        }

        const QByteArray siteName = siteOf(flight.area);
        SiteStatistics &site = sites[siteName];
        auto &[first, last] = siteDates[siteName];
        const qint64 order = orderOf(date);
        if (site.flights == 0 || order < first) {
            first = order;
            site.firstDate = flight.date.toByteArray();
        }
        if (site.flights == 0 || order >= last) {
            last = order;
            site.lastDate = flight.date.toByteArray();
        }
        site.highest = site.flights == 0 ? altitude : std::max(site.highest, altitude);
        site.site = siteName;
        ++site.flights;
        site.seconds += seconds;
        site.rows.push_back(row);

        raise(s.longest, row, double(seconds));
        raise(s.highest, row, altitude);
        raise(s.bestClimb, row, climb);
        if (inputs.climbing) {
            if (const auto climbing = inputs.climbing(row)) {
                ++year.withBarograph;
                year.totalClimbed += climbing->total;
                raise(s.biggestGain, row, climbing->biggest);
            }
        }
    }
    s.carriedFlights = inputs.carriedFlights;
    s.carriedSeconds = inputs.carriedSeconds;
    s.flights += inputs.carriedFlights;
    s.seconds += inputs.carriedSeconds;
    for (auto &[key, year] : years)
        s.years.push_back(year);
    for (auto &[key, month] : months)
        s.months.push_back(month);
    for (auto &[key, site] : sites)
        s.sites.push_back(std::move(site));
    std::stable_sort(s.sites.begin(), s.sites.end(), [](const SiteStatistics &a, const SiteStatistics &b) {
        return a.seconds > b.seconds;
    });
    return s;
}
