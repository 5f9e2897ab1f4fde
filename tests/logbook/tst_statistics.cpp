// The statistics of a log: the figures of a known log (duplicates, a blank date, a year of
// more than 99 hours, sites differing only by trailing blanks, ties), and over random logs,
// that leaving one flight out changes every figure by exactly that flight.
#include "logbook/core/logbook.h"
#include "logbook/core/statistics.h"

#include <QRandomGenerator>
#include <QtTest/QTest>

namespace {

FlightRecord &add(LogBook &book, const char *date, const char *duration, const char *area,
                  const char *altitude = "0500 m", const char *climb = "1.0 m/s")
{
    FlightRecord &r = book.appendRow();
    r.date = date;
    r.time = "12:00:00";
    r.duration = duration;
    r.area = area;
    r.maxAltitude = altitude;
    r.maxClimb = climb;
    return r;
}

const YearStatistics *yearOf(const LogStatistics &s, int year)
{
    for (const YearStatistics &y : s.years)
        if (y.year == year)
            return &y;
    return nullptr;
}

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT
private slots:
    void figuresOfAKnownLog()
    {
        LogBook book;
        add(book, "24/05/03", "01:00:00", "Ashio   ", "0987 m", "3.4 m/s");
        add(book, "24/05/03", "01:00:00", "Ashio   ", "0987 m", "3.4 m/s"); // the same flight twice
        add(book, "", "00:10:00", "Itajiki");                              // a blank date: 2000
        add(book, "99/12/31", "50:00:00", "Ashio");
        add(book, "99/08/01", "50:00:00", "Hakuba", "1500.5 m", "5.0 m/s");
        add(book, "99/13/01", "01:00:00", "Hakuba");                        // no such month
        StatisticsInputs inputs;
        inputs.carriedFlights = 120;
        inputs.carriedSeconds = 3600 * 80;
        inputs.climbing = [](int row) -> std::optional<StatisticsInputs::Climbing> {
            if (row == 4)
                return StatisticsInputs::Climbing{1200, 700};
            return std::nullopt;
        };
        const LogStatistics s = computeStatistics(book, inputs);

        QCOMPARE(s.flights, 126);
        QCOMPARE(s.seconds, qint64(3600 * (80 + 103) + 600));
        QCOMPARE(s.years.size(), size_t(3));
        QCOMPARE(s.years.front().year, 1999);
        const YearStatistics *y1999 = yearOf(s, 1999);
        QCOMPARE(y1999->flights, 3);
        QCOMPARE(y1999->seconds, qint64(101 * 3600)); // beyond 99 hours
        QCOMPARE(y1999->longestSeconds, qint64(50 * 3600));
        QCOMPARE(y1999->highest, 1500.5);
        QCOMPARE(y1999->withBarograph, 1);
        QCOMPARE(y1999->totalClimbed, 1200.0);
        QCOMPARE(yearOf(s, 2000)->flights, 1);
        QCOMPARE(yearOf(s, 2024)->meanSeconds(), qint64(3600));

        QCOMPARE(s.months.size(), size_t(3)); // May, August, December; month 13 nowhere
        int monthFlights = 0;
        for (const MonthStatistics &m : s.months)
            monthFlights += m.flights;
        QCOMPARE(monthFlights, 4);

        QCOMPARE(s.sites.size(), size_t(3));
        QCOMPARE(s.sites[0].site, QByteArray("Ashio")); // 52 hours, blanks or not
        QCOMPARE(s.sites[0].flights, 3);
        QCOMPARE(s.sites[0].firstDate, QByteArray("99/12/31"));
        QCOMPARE(s.sites[0].lastDate, QByteArray("24/05/03"));
        QCOMPARE(s.sites[1].site, QByteArray("Hakuba"));

        QCOMPARE(s.longest.row, 4); // a tie with row 5: the first
        QCOMPARE(s.highest.row, 5);
        QCOMPARE(s.bestClimb.row, 5);
        QCOMPARE(s.biggestGain.row, 4);
        QCOMPARE(s.biggestGain.value, 700.0);
    }

    void leavingAFlightOutChangesEveryFigureByThatFlight()
    {
        const char *areas[] = {"Ashio", "Hakuba", "Itajiki", "Asagiri "};
        QRandomGenerator rng(7);
        for (int round = 0; round < 200; ++round) {
            LogBook book;
            const int flights = 1 + int(rng.bounded(40));
            for (int i = 0; i < flights; ++i) {
                const QByteArray date = QByteArray::number(rng.bounded(100)).rightJustified(2, '0') + '/' +
                                        QByteArray::number(1 + rng.bounded(12)).rightJustified(2, '0') + "/15";
                const QByteArray duration = QByteArray::number(rng.bounded(100)).rightJustified(2, '0') + ":" +
                                            QByteArray::number(rng.bounded(60)).rightJustified(2, '0') + ":07";
                add(book, date.constData(), duration.constData(), areas[rng.bounded(4)]);
            }
            const int out = 1 + int(rng.bounded(flights));
            const LogStatistics all = computeStatistics(book);
            const LogStatistics less = computeStatistics(book, {[out](int row) { return row == out; }, 0, 0, {}});
            const FlightRecord &f = book.row(out);
            const qint64 d = [&] {
                const QByteArray t = f.duration.toByteArray();
                return t.left(2).toLongLong() * 3600 + t.mid(3, 2).toLongLong() * 60 + 7;
            }();
            QCOMPARE(less.excluded, 1);
            QCOMPARE(all.flights - less.flights, 1);
            QCOMPARE(all.seconds - less.seconds, d);
            const int year = f.date.toByteArray().left(2).toInt();
            const int fullYear = year < 70 ? 2000 + year : 1900 + year;
            const YearStatistics *before = yearOf(all, fullYear);
            const YearStatistics *after = yearOf(less, fullYear);
            QCOMPARE(before->flights - (after ? after->flights : 0), 1);
            QCOMPARE(before->seconds - (after ? after->seconds : 0), d);
            qint64 monthsBefore = 0, monthsAfter = 0, sitesBefore = 0, sitesAfter = 0;
            for (const MonthStatistics &m : all.months)
                monthsBefore += m.seconds;
            for (const MonthStatistics &m : less.months)
                monthsAfter += m.seconds;
            for (const SiteStatistics &site : all.sites)
                sitesBefore += site.seconds;
            for (const SiteStatistics &site : less.sites)
                sitesAfter += site.seconds;
            QCOMPARE(monthsBefore - monthsAfter, d);
            QCOMPARE(sitesBefore - sitesAfter, d);
            QVERIFY(less.longest.row != out);
        }
    }
};

QTEST_APPLESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
