// Currency rules and gear over a known log: every case of the rule table was worked out by
// hand from the log below (window edges, a leap day, a height of exactly the minimum, flights
// without a barograph, a flight left out); over random logs, that more flying never makes a
// rule lapse sooner and that a rule lapses on exactly the day it says.
#include "logbook/core/currency.h"
#include "logbook/core/gear.h"
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QRandomGenerator>
#include <QtTest/QTest>

namespace {

QDate day(const char *text)
{
    return numtext::readCalendarDate(text).value_or(QDate());
}

// The log of the rule table: date, duration, left out of the statistics, and what its
// barograph measured (a drop in metres, or why none).
struct Flight {
    const char *date;
    const char *duration;
    bool excluded;
    RowHeight height;
};
constexpr RowHeight measured(double m) { return {RowHeight::State::Measured, m}; }
constexpr RowHeight kTyped{RowHeight::State::NoBarograph, 0};
const Flight kFlights[] = {
    {"24/02/28", "01:00:00", false, measured(300.0)},   // 1
    {"24/02/29", "00:30:00", false, measured(299.9)},   // 2: the leap day, 0.1 m short
    {"24/02/29", "00:45:00", false, kTyped},            // 3: typed, no barograph
    {"24/03/01", "02:00:00", true, measured(800)},      // 4: left out of the statistics
    {"24/03/01", "00:15:00", false, measured(500)},     // 5
    {"24/05/30", "01:30:00", false, {RowHeight::State::NotRead, 0}},            // 6
    {"24/05/31", "00:10:00", false, {RowHeight::State::NoTakeoffOrLanding, 0}}, // 7
    {"", "03:00:00", false, measured(900)},             // 8: a blank date is no day
    {"23/12/31", "00:20:00", false, measured(1000)},    // 9
    {"24/06/15", "00:05:00", false, measured(300)},     // 10
    {"24/13/01", "01:00:00", false, measured(600)},     // 11: month 13 is no day
    {"25/02/28", "01:00:00", false, kTyped},            // 12
};

LogBook knownLog()
{
    LogBook book;
    for (const Flight &f : kFlights) {
        FlightRecord &r = book.appendRow();
        r.date = f.date;
        r.duration = f.duration;
        r.excludedFromStatistics = f.excluded;
    }
    return book;
}

RowHeight knownHeight(int row)
{
    return kFlights[row - 1].height;
}

using Rows = QList<int>;

void row(const char *name, RuleKind kind, double min, int withinDays, int minHeightM, const char *on, double count,
         bool met, Rows rows, Rows notMeasured, const char *lapses, const char *expires = "")
{
    CurrencyRule rule{"r", kind, min, withinDays, minHeightM, day(expires), {}};
    QTest::newRow(name) << rule << day(on) << count << met << rows << notMeasured << day(lapses);
}

// A random log of up to 40 flights over two years, some left out, some measured.
LogBook randomLog(QRandomGenerator &random, std::vector<RowHeight> &heights)
{
    LogBook book;
    const int flights = random.bounded(41);
    for (int i = 0; i < flights; ++i) {
        FlightRecord &r = book.appendRow();
        r.date = numtext::dateText(QDate(2024, 1, 1).addDays(random.bounded(730)));
        r.duration = numtext::clockText(random.bounded(4 * 3600));
        r.excludedFromStatistics = random.bounded(8) == 0;
        heights.push_back(random.bounded(4) ? measured(random.bounded(1000)) : kTyped);
    }
    return book;
}

CurrencyRule randomRule(QRandomGenerator &random)
{
    const RuleKind kinds[] = {RuleKind::Flights, RuleKind::Days, RuleKind::Hours, RuleKind::HeightFlights};
    const RuleKind kind = kinds[random.bounded(4)];
    const int withinDays = random.bounded(3) ? 1 + random.bounded(400) : 0;
    return {"r", kind, double(random.bounded(kind == RuleKind::Hours ? 20 : 15)), withinDays, random.bounded(800), {}, {}};
}

} // namespace

Q_DECLARE_METATYPE(CurrencyRule)

class TestCurrency : public QObject {
    Q_OBJECT
private slots:
    void ruleTable_data()
    {
        QTest::addColumn<CurrencyRule>("rule");
        QTest::addColumn<QDate>("on");
        QTest::addColumn<double>("count");
        QTest::addColumn<bool>("met");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<Rows>("notMeasured");
        QTest::addColumn<QDate>("lapses"); // invalid: none
        row("all flights", RuleKind::Flights, 1, 0, 0, "24/06/30", 8, true, {1, 2, 3, 5, 6, 7, 9, 10}, {}, "");
        row("all flights short", RuleKind::Flights, 9, 0, 0, "24/06/30", 8, false, {1, 2, 3, 5, 6, 7, 9, 10}, {}, "");
        row("before every flight", RuleKind::Flights, 1, 0, 0, "23/12/30", 0, false, {}, {}, "");
        row("on the first flight's day", RuleKind::Flights, 1, 0, 0, "23/12/31", 1, true, {9}, {}, "");
        row("a later flight not yet flown", RuleKind::Flights, 1, 0, 0, "24/06/14", 7, true, {1, 2, 3, 5, 6, 7, 9}, {}, "");
        row("tandem 3 in 90 short", RuleKind::Flights, 3, 90, 0, "24/05/31", 2, false, {6, 7}, {}, "");
        row("tandem 3 in 90 met", RuleKind::Flights, 3, 90, 0, "24/03/01", 5, true, {1, 2, 3, 5, 9}, {}, "24/05/29");
        row("window of 1 day on the leap day", RuleKind::Flights, 1, 1, 0, "24/02/29", 2, true, {2, 3}, {}, "24/03/01");
        row("window of 1 day, excluded twin left out", RuleKind::Flights, 1, 1, 0, "24/03/01", 1, true, {5}, {}, "24/03/02");
        row("window of 2 days", RuleKind::Flights, 1, 2, 0, "24/03/01", 3, true, {2, 3, 5}, {}, "24/03/03");
        row("window of 2 days, exactly the minimum", RuleKind::Flights, 3, 2, 0, "24/03/01", 3, true, {2, 3, 5}, {}, "24/03/02");
        row("window of 2 days, one short", RuleKind::Flights, 4, 2, 0, "24/03/01", 3, false, {2, 3, 5}, {}, "");
        row("window ends the day before a flight leaves", RuleKind::Flights, 1, 90, 0, "24/05/27", 4, true, {1, 2, 3, 5}, {}, "24/05/30");
        row("window first day is the flight's", RuleKind::Flights, 1, 90, 0, "24/05/28", 3, true, {2, 3, 5}, {}, "24/05/30");
        row("window has just lost the flight", RuleKind::Flights, 2, 91, 0, "24/05/29", 3, true, {2, 3, 5}, {}, "24/05/30");
        row("leap year: 366 days reach back to the leap day", RuleKind::Flights, 1, 366, 0, "25/02/28", 7, true, {2, 3, 5, 6, 7, 10, 12}, {}, "26/03/01");
        row("leap year: 367 days reach the day before", RuleKind::Flights, 1, 367, 0, "25/02/28", 8, true, {1, 2, 3, 5, 6, 7, 10, 12}, {}, "26/03/02");
        row("leap day lapses over March 1", RuleKind::Flights, 2, 1, 0, "24/02/29", 2, true, {2, 3}, {}, "24/03/01");
        row("no minimum never lapses", RuleKind::Flights, 0, 30, 0, "24/03/01", 4, true, {1, 2, 3, 5}, {}, "");
        row("a half flight rounds up", RuleKind::Flights, 2.5, 0, 0, "24/02/29", 4, true, {1, 2, 3, 9}, {}, "");
        row("days all time", RuleKind::Days, 3, 0, 0, "24/03/01", 4, true, {1, 2, 3, 5, 9}, {}, "");
        row("days short", RuleKind::Days, 5, 0, 0, "24/03/01", 4, false, {1, 2, 3, 5, 9}, {}, "");
        row("two flights one day", RuleKind::Days, 1, 1, 0, "24/02/29", 1, true, {2, 3}, {}, "24/03/01");
        row("days in a window of 3", RuleKind::Days, 2, 3, 0, "24/03/01", 3, true, {1, 2, 3, 5}, {}, "24/03/03");
        row("days in a window of 3, exactly", RuleKind::Days, 3, 3, 0, "24/03/01", 3, true, {1, 2, 3, 5}, {}, "24/03/02");
        row("days over the leap day", RuleKind::Days, 2, 2, 0, "24/03/01", 2, true, {2, 3, 5}, {}, "24/03/02");
        row("hours all time", RuleKind::Hours, 1, 0, 0, "24/02/29", 9300.0 / 3600, true, {1, 2, 3, 9}, {}, "");
        row("hours exactly the minimum", RuleKind::Hours, 1.25, 1, 0, "24/02/29", 1.25, true, {2, 3}, {}, "24/03/01");
        row("hours a second short", RuleKind::Hours, 1.2503, 1, 0, "24/02/29", 1.25, false, {2, 3}, {}, "");
        row("hours excluded flight not counted", RuleKind::Hours, 0.25, 1, 0, "24/03/01", 0.25, true, {5}, {}, "24/03/02");
        row("hours over a window", RuleKind::Hours, 2, 60, 0, "24/03/01", 2.5, true, {1, 2, 3, 5}, {}, "24/04/28");
        row("hours on a day of no flight", RuleKind::Hours, 1, 1, 0, "24/04/01", 0, false, {}, {}, "");
        row("height 300 all time", RuleKind::HeightFlights, 1, 0, 300, "24/06/30", 4, true, {1, 5, 9, 10}, {3, 6, 7}, "");
        row("height exactly 300 counts, 299.9 not", RuleKind::HeightFlights, 1, 2, 300, "24/02/29", 1, true, {1}, {3}, "24/03/01");
        row("height 500", RuleKind::HeightFlights, 2, 0, 500, "24/06/30", 2, true, {5, 9}, {3, 6, 7}, "");
        row("height excluded flight", RuleKind::HeightFlights, 1, 0, 800, "24/06/30", 1, true, {9}, {3, 6, 7}, "");
        row("height none measured in window", RuleKind::HeightFlights, 1, 3, 0, "24/05/31", 0, false, {}, {6, 7}, "");
        row("height 0 counts every measured flight", RuleKind::HeightFlights, 5, 0, 0, "24/06/30", 5, true, {1, 2, 5, 9, 10}, {3, 6, 7}, "");
        row("height above every flight", RuleKind::HeightFlights, 1, 0, 1001, "24/06/30", 0, false, {}, {3, 6, 7}, "");
        row("height windowed lapse", RuleKind::HeightFlights, 2, 400, 300, "24/03/01", 3, true, {1, 5, 9}, {3}, "25/04/03");
        row("a typed flight proves nothing", RuleKind::HeightFlights, 1, 1, 0, "25/02/28", 0, false, {}, {12}, "");
        row("license 25 flights of 300", RuleKind::HeightFlights, 25, 0, 300, "24/06/30", 4, false, {1, 5, 9, 10}, {3, 6, 7}, "");
        row("expiry on its last day", RuleKind::Expiry, 0, 0, 0, "24/06/30", 0, true, {}, {}, "24/07/01", "24/06/30");
        row("expiry the day after", RuleKind::Expiry, 0, 0, 0, "24/07/01", 0, false, {}, {}, "", "24/06/30");
        row("expiry on a leap day", RuleKind::Expiry, 0, 0, 0, "24/02/01", 0, true, {}, {}, "24/03/01", "24/02/29");
        row("expiry not set", RuleKind::Expiry, 0, 0, 0, "24/06/30", 0, false, {}, {}, "");
    }
    void ruleTable()
    {
        QFETCH(CurrencyRule, rule);
        QFETCH(QDate, on);
        const RuleStatus s = ruleStatus(knownLog(), rule, on, knownHeight);
        QTEST(s.count, "count");
        QTEST(s.met, "met");
        QTEST(Rows(s.rows.begin(), s.rows.end()), "rows");
        Rows notMeasured;
        for (const auto &[r, why] : s.notMeasured)
            notMeasured.append(r);
        QTEST(notMeasured, "notMeasured");
        QTEST(s.lapses.value_or(QDate()), "lapses");
    }

    // Over random logs: one more flight (on any day, before or after the day asked) never
    // turns a met rule unmet nor brings its lapse forward; flying days never outnumber
    // flights; and without flights after the day asked, a rule is met the day before the day it
    // says it lapses and not on that day.
    void moreFlyingNeverLapsesSooner()
    {
        QRandomGenerator random(31);
        for (int n = 0; n < 1000; ++n) {
            std::vector<RowHeight> heights;
            LogBook book = randomLog(random, heights);
            const auto height = [&heights](int r) { return heights[size_t(r - 1)]; };
            const CurrencyRule rule = randomRule(random);
            const QDate on = QDate(2024, 1, 1).addDays(random.bounded(800));
            const RuleStatus before = ruleStatus(book, rule, on, height);

            CurrencyRule days = rule;
            days.kind = RuleKind::Days;
            CurrencyRule flights = rule;
            flights.kind = RuleKind::Flights;
            QVERIFY(ruleStatus(book, days, on).count <= ruleStatus(book, flights, on).count);

            LogBook upToOn;
            std::vector<RowHeight> upToOnHeights;
            for (int r = 1; r < book.rowCount(); ++r) {
                if (numtext::readCalendarDate(book.row(r).date).value() <= on) {
                    upToOn.appendRow(book.row(r)).excludedFromStatistics = book.row(r).excludedFromStatistics;
                    upToOnHeights.push_back(heights[size_t(r - 1)]);
                }
            }
            const auto heightUpToOn = [&upToOnHeights](int r) { return upToOnHeights[size_t(r - 1)]; };
            if (before.lapses) {
                QVERIFY2(ruleStatus(upToOn, rule, before.lapses->addDays(-1), heightUpToOn).met, qPrintable(QString::number(n)));
                QVERIFY2(!ruleStatus(upToOn, rule, *before.lapses, heightUpToOn).met, qPrintable(QString::number(n)));
            }

            FlightRecord &added = book.appendRow();
            added.date = numtext::dateText(QDate(2024, 1, 1).addDays(random.bounded(800)));
            added.duration = numtext::clockText(random.bounded(4 * 3600));
            heights.push_back(random.bounded(2) ? measured(random.bounded(1000)) : kTyped);
            const RuleStatus after = ruleStatus(book, rule, on, height);
            QVERIFY2(after.count >= before.count, qPrintable(QString::number(n)));
            QVERIFY2(!before.met || after.met, qPrintable(QString::number(n)));
            QVERIFY2(!before.lapses || !after.lapses || *after.lapses >= *before.lapses, qPrintable(QString::number(n)));
            QVERIFY2(!before.met || !before.lapses || after.lapses, qPrintable(QString::number(n))); // met for good only by an all-time rule
        }
    }

    // Gear over a known log: which item flew, what a check covers, which limit comes first.
    void gearDue_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QDate>("on");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QDate>("due");
        QTest::addColumn<int>("dueBy");
        QTest::addColumn<int>("eventRow");
        const auto add = [](const char *name, int item, const char *on, Rows rows, qint64 seconds, const char *due,
                            DueBy by, int eventRow) {
            QTest::newRow(name) << item << day(on) << rows << seconds << day(due) << int(by) << eventRow;
        };
        // Items: 0 glider A (12 months, 4 h, 4 flights; from 25/01/01, checked 25/03/01), 1 glider
        // B (from 25/03/15, no limits), 2 harness (3 flights), 3 harness' twin by hours (2 h, from
        // 24/01/01 until the harness takes over on 25/01/01), 4 reserve (6 months).
        add("months from the first use", 0, "25/02/15", {1, 2}, 3 * 3600, "26/01/01", DueBy::Months, 0);
        add("a check covers its own day", 0, "25/03/01", {}, 0, "26/03/01", DueBy::Months, 0);
        add("another wing took over", 0, "25/04/30", {}, 0, "26/03/01", DueBy::Months, 0);
        add("the new wing flies from its day", 1, "25/04/30", {5}, 3 * 3600, "", DueBy::None, 0);
        add("the third flight reaches the flights", 2, "25/04/30", {1, 2, 3, 4, 5}, 8 * 3600, "25/03/01", DueBy::Flights, 3);
        add("not yet reached", 2, "25/02/28", {1, 2}, 3 * 3600, "", DueBy::None, 0);
        add("before its first flight", 2, "24/12/31", {}, 0, "", DueBy::None, 0);
        add("used until another took over", 3, "25/04/30", {6}, 2 * 3600 + 1, "24/12/31", DueBy::Hours, 0);
        add("a tree landing before the months", 4, "25/04/30", {1, 2, 3, 4, 5}, 8 * 3600, "25/03/01", DueBy::Event, 3);
        add("months before the tree", 4, "25/02/28", {1, 2}, 3 * 3600, "25/07/01", DueBy::Months, 0);
    }
    void gearDue()
    {
        QFETCH(int, item);
        QFETCH(QDate, on);
        LogBook book;
        const char *flights[][3] = {{"25/01/10", "01:00:00", ""}, {"25/02/01", "02:00:00", ""},
                                    {"25/03/01", "01:30:00", "ツリーランディング、機体点検へ"}, {"25/03/01", "00:30:00", ""},
                                    {"25/04/01", "03:00:00", ""}, {"24/12/31", "02:00:01", ""}};
        for (const auto &f : flights) {
            FlightRecord &r = book.appendRow();
            r.date = f[0];
            r.duration = f[1];
            r.comment = cp932::fromUnicode(QString::fromUtf8(f[2]));
        }
        const std::vector<GearItem> gear = {
            {"A", GearKind::Glider, 12, 4, 4, {day("25/01/01")}, {day("25/03/01")}},
            {"B", GearKind::Glider, 0, 0, 0, {day("25/03/15")}, {}},
            {"H", GearKind::Harness, 0, 0, 3, {day("25/01/01")}, {}},
            {"H0", GearKind::Harness, 0, 2, 0, {day("24/01/01")}, {}},
            {"R", GearKind::Reserve, 6, 0, 0, {day("25/01/01")}, {}},
        };
        const GearStatus s = gearStatus(book, gear, size_t(item), on);
        QTEST(Rows(s.rows.begin(), s.rows.end()), "rows");
        QTEST(s.seconds, "seconds");
        QTEST(s.due.value_or(QDate()), "due");
        QTEST(int(s.dueBy), "dueBy");
        QTEST(s.eventRow, "eventRow");
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
