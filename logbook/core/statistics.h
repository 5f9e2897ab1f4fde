// The statistics of a flying life: per year, per month of the year (the flying season), per
// site, and the pilot's records. Years, months and flying time are read from a flight's
// texts as the totals read them (a blank date counts as 2000), a site is the area text
// without its trailing blanks. Flights the pilot excluded (test flights, ground handling)
// count nowhere; flights and time carried over from before this log count in the total.
// QtCore only.
#pragma once

#include <QByteArray>

#include <functional>
#include <optional>
#include <vector>

class LogBook;

struct YearStatistics {
    int year = 0;
    int flights = 0;
    qint64 seconds = 0;
    qint64 longestSeconds = 0;
    double highest = 0;       ///< metres, the rows' maximum altitude
    double bestClimb = 0;     ///< m/s, the rows' maximum climb
    int withBarograph = 0;    ///< flights whose barograph was analysed
    double totalClimbed = 0;  ///< metres climbed in those flights' climbs
    std::vector<int> rows;    ///< the year's flights, in log order

    qint64 meanSeconds() const { return flights ? seconds / flights : 0; }
};

struct MonthStatistics {
    int month = 0; ///< 1 to 12
    int flights = 0;
    qint64 seconds = 0;
    std::vector<int> rows; ///< the month's flights, in log order
};

struct SiteStatistics {
    QByteArray site; ///< cp932, trailing blanks removed
    int flights = 0;
    qint64 seconds = 0;
    double highest = 0;
    QByteArray firstDate; ///< "YY/MM/DD" as stored
    QByteArray lastDate;
    std::vector<int> rows; ///< the site's flights, in log order
};

/// A record and the row (1 and up) that holds it; the first row on a tie.
struct FlightRecordHolder {
    int row = 0; ///< 0: no flight holds it
    double value = 0;
};

struct LogStatistics {
    int flights = 0;           ///< counted flights plus those carried over
    qint64 seconds = 0;        ///< their flying time plus the time carried over
    int excluded = 0;          ///< flights of the log left out
    int carriedFlights = 0;
    qint64 carriedSeconds = 0;
    std::vector<YearStatistics> years;   ///< ascending
    std::vector<MonthStatistics> months; ///< the months flown, ascending
    std::vector<SiteStatistics> sites;   ///< most flying time first, then by site text
    FlightRecordHolder longest;      ///< seconds
    FlightRecordHolder highest;      ///< metres
    FlightRecordHolder bestClimb;    ///< m/s
    FlightRecordHolder biggestGain;  ///< metres of one climb (flights with a barograph)
};

/// What the log itself cannot say.
struct StatisticsInputs {
    /// Whether row `row` is left out of the statistics.
    std::function<bool(int row)> excluded;
    int carriedFlights = 0;
    qint64 carriedSeconds = 0;
    /// For a row with an analysed barograph: metres climbed in its climbs, and the gain of
    /// its biggest climb.
    struct Climbing {
        double total = 0;
        double biggest = 0;
    };
    std::function<std::optional<Climbing>(int row)> climbing;
};

LogStatistics computeStatistics(const LogBook &book, const StatisticsInputs &inputs = {});

/// The site a flight counts under: its area without trailing blanks.
QByteArray siteOf(QByteArrayView area);
/// A date's order: its year as the totals read it, its month and its day.
qint64 flightDateOrder(QByteArrayView date);
