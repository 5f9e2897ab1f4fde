// The totals table (rows, formats, closing rows, lenient keys), the totals of a range of
// rows, and the chart's geometry.
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/totals.h"
#include "logbook/core/totalschart.h"

#include <QTest>

namespace {

// Flights as "date duration" pairs.
LogBook bookOf(const QList<std::pair<QByteArray, QByteArray>> &flights)
{
    LogBook book;
    for (const auto &[date, duration] : flights) {
        FlightRecord &r = book.appendRow();
        r.date = date;
        r.duration = duration;
        r.area = "area";
    }
    book.renumber();
    return book;
}

// The table as one line per row: "F date" for a flight, "M <col 1>|<col 4>" for subtotals.
QStringList describe(const FlightTotals &t)
{
    QStringList rows;
    for (int r = 0; r < t.rowCount(); ++r) {
        const QString c1 = cp932::toUnicode(t.cell(r, 1));
        if (t.kind(r) == TotalsRowKind::Flight)
            rows << QStringLiteral("F ") + c1;
        else
            rows << QStringLiteral("%1 %2|%3").arg(QChar(t.kind(r) == TotalsRowKind::Month ? u'M' : u'Y'))
                        .arg(c1, cp932::toUnicode(t.cell(r, 4)));
    }
    return rows;
}

} // namespace

class TestTotals : public QObject {
    Q_OBJECT
private slots:
    void table_data();
    void table();
    void flightRowsCopyEveryField();
    void rangeTotalsClipToFlights();
    void chartHasTwelveMonthsPerYear();
    void chartTextsFitTheFaceTheyAreDrawnIn_data();
    void chartTextsFitTheFaceTheyAreDrawnIn();
};

void TestTotals::table_data()
{
    QTest::addColumn<LogBook>("book");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("two years") << bookOf({{"97/05/03", "01:00:00"}, {"97/05/20", "00:30:00"},
                                          {"97/07/01", "02:00:00"}, {"98/04/11", "00:45:00"}})
                               << QStringList{"F 97/05/03", "F 97/05/20", "M      5月|01:30:00", "F 97/07/01",
                                              "M      7月|02:00:00", "Y   1997年|03:30:00", "F 98/04/11",
                                              "M      4月|00:45:00", "Y   1998年|00:45:00"};
    QTest::newRow("one flight") << bookOf({{"03/12/24", "00:30:00"}})
                                << QStringList{"F 03/12/24", "M     12月|00:30:00", "Y   2003年|00:30:00"};
    QTest::newRow("same month, next year")
        << bookOf({{"97/05/10", "00:10:00"}, {"98/05/02", "00:20:00"}})
        << QStringList{"F 97/05/10", "M      5月|00:10:00", "Y   1997年|00:10:00", "F 98/05/02",
                       "M      5月|00:20:00", "Y   1998年|00:20:00"};
    // Subtotals inside the list are written even when zero; the closing ones are not.
    QTest::newRow("zero closing rows")
        << bookOf({{"97/05/10", "00:00:00"}, {"98/01/02", "00:00:00"}})
        << QStringList{"F 97/05/10", "M      5月|00:00:00", "Y   1997年|00:00:00", "F 98/01/02"};
    QTest::newRow("zero closing month only")
        << bookOf({{"98/01/10", "00:05:00"}, {"98/02/02", "00:00:00"}})
        << QStringList{"F 98/01/10", "M      1月|00:05:00", "F 98/02/02", "Y   1998年|00:05:00"};
    QTest::newRow("beyond 99 hours")
        << bookOf({{"99/06/01", "60:00:00"}, {"99/06/02", "40:30:05"}})
        << QStringList{"F 99/06/01", "F 99/06/02", "M      6月|100:30:05", "Y   1999年|100:30:05"};
    // A blank date is month 0 of 2000; a duration that reads as no time counts none.
    QTest::newRow("blank dates")
        << bookOf({{"  /  /  ", "00:10:00"}, {"", "xx:10:0x"}, {"69/13/01", "  :  :  "}})
        << QStringList{"F   /  /  ", "F ", "M      0月|00:10:00", "Y   2000年|00:10:00", "F 69/13/01"};
}

void TestTotals::table()
{
    QFETCH(LogBook, book);
    QFETCH(QStringList, rows);
    QCOMPARE(describe(computeTotals(book)), rows);
}

void TestTotals::flightRowsCopyEveryField()
{
    LogBook book = bookOf({{"24/05/03", "01:12:40"}});
    FlightRecord &f = book.row(1);
    f.time = "10:21:05";
    f.maxAltitude = "0987 m";
    f.maxClimb = "3.4 m/s";
    f.comment = "line\r\nnext";
    f.barographFile = "24050310.BRG";
    const FlightTotals t = computeTotals(book);
    for (int c = 0; c < kFieldCount; ++c)
        QCOMPARE(t.cell(0, c), f.fieldText(Field(c)));
    for (int c : {0, 2, 3, 5, 6, 7, 8})
        QVERIFY(t.cell(1, c).isEmpty());
    // A snapshot: later changes of the log do not reach it.
    f.area = "changed";
    QCOMPARE(t.cell(0, 3), QByteArrayView("area"));
    QCOMPARE(computeTotals(LogBook()).rowCount(), 0);
}

void TestTotals::rangeTotalsClipToFlights()
{
    const LogBook book = bookOf({{"97/05/03", "01:00:00"}, {"97/05/20", "00:30:05"}, {"97/07/01", "02:00:00"}});
    const RangeTotals two = rangeTotals(book, 1, 2);
    QCOMPARE(two.flights, 2);
    QCOMPARE(two.seconds, 5405);
    QCOMPARE(rangeTotals(book, 0, 99).flights, 3);
    QCOMPARE(rangeTotals(LogBook(), 1, 1).flights, 0);
}

void TestTotals::chartHasTwelveMonthsPerYear()
{
    const LogBook book = bookOf({{"97/05/03", "02:00:00"}, {"97/07/01", "01:00:00"}, {"98/04/11", "00:30:00"},
                                 {"98/13/01", "05:00:00"}});
    const TotalsChart chart = layoutTotalsChart(computeTotals(book), QSizeF(600, 200));
    QCOMPARE(chart.years.size(), size_t(2));
    QCOMPARE(chart.bars.size(), size_t(24));
    QCOMPARE(cp932::toUnicode(chart.years[1].label), QStringLiteral("1998年"));
    QCOMPARE(chart.years[1].time, "05:30:00"); // month 13 counts
    const TotalsChart::Bar &may = chart.bars[4];
    const TotalsChart::Bar &july = chart.bars[6];
    QCOMPARE(may.month, 5);
    QCOMPARE(may.seconds, 7200);
    QCOMPARE(may.rect.height(), 2 * july.rect.height());
    QCOMPARE(chart.bars[5].rect.height(), 0.0);
    QCOMPARE(may.rect.bottom(), chart.plot.bottom());
    QVERIFY(chart.ticks.back().y <= may.rect.top());
    QVERIFY(chart.years[1].block.left() >= chart.bars[11].rect.right());
    // Too narrow a canvas: laid out at the width the bars need.
    const TotalsChart narrow = layoutTotalsChart(computeTotals(book), QSizeF(50, 200));
    QVERIFY(narrow.plot.right() <= narrow.minimumWidth);
    QVERIFY(narrow.bars[1].rect.left() - narrow.bars[0].rect.left() >= 6);
}

// Seventy years of 367 hours: the hour labels stay in their margin and a line apart at any
// height, and a year's label and total whole in its block; the canvas grows (and scrolls)
// where the blocks need it.
void TestTotals::chartTextsFitTheFaceTheyAreDrawnIn_data()
{
    QTest::addColumn<int>("pixelsPerByte");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<QSizeF>("size");
    QTest::newRow("the estimate, the window's size") << 7 << 13 << QSizeF(639, 120);
    QTest::newRow("a wide face, maximised") << 9 << 16 << QSizeF(1900, 300);
    QTest::newRow("a tall face, restored low") << 8 << 19 << QSizeF(639, 90);
    QTest::newRow("a narrow face, tall") << 5 << 11 << QSizeF(400, 600);
}

void TestTotals::chartTextsFitTheFaceTheyAreDrawnIn()
{
    QFETCH(int, pixelsPerByte);
    QFETCH(int, lineHeight);
    QFETCH(QSizeF, size);
    QList<std::pair<QByteArray, QByteArray>> flights;
    for (int year = 70; year < 70 + 70; ++year) {
        for (int month = 1; month <= 12; ++month)
            flights.append({QByteArray::number(year % 100).rightJustified(2, '0') + '/' +
                                 QByteArray::number(month).rightJustified(2, '0') + "/01",
                             "30:35:00"});
    }
    const TextMeasure face{[pixelsPerByte](const QByteArray &t) { return qint32(t.size()) * pixelsPerByte; }, lineHeight};
    const TotalsChart chart = layoutTotalsChart(computeTotals(bookOf(flights)), size, face);
    QCOMPARE(chart.years.size(), size_t(70));
    QCOMPARE(chart.years.back().time, "367:00:00");
    for (const TotalsChart::Year &y : chart.years) {
        QVERIFY2(face.width(y.label) <= y.block.width() && face.width(y.time) <= y.block.width(), y.label.constData());
        QVERIFY(y.block.right() <= std::max(size.width(), chart.minimumWidth));
    }
    QVERIFY(chart.ticks.size() >= 2);
    for (size_t i = 0; i < chart.ticks.size(); ++i) {
        QVERIFY2(face.width(chart.ticks[i].label) + 4 <= chart.plot.left(), chart.ticks[i].label.constData());
        if (i > 0)
            QVERIFY(chart.ticks[i - 1].y - chart.ticks[i].y >= lineHeight);
    }
    QVERIFY(chart.plot.bottom() + 3 * lineHeight <= size.height());
}

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
