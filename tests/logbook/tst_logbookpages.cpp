// The printed log book's pages over random logs: every page's "累計" is the pages so far
// plus what was carried over and flown before the first date printed, exactly; each page
// starts where the one before ended; the flights left out and those outside the date range
// are on no page.
#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logbookpages.h"
#include "logbook/core/statistics.h"

#include <QRandomGenerator>
#include <QtTest/QTest>

class TestLogBookPages : public QObject {
    Q_OBJECT
private slots:
    void pagesCarryTheirTotalsForward()
    {
        QRandomGenerator rng(11);
        for (int round = 0; round < 300; ++round) {
            LogBook book;
            const int flights = int(rng.bounded(90));
            for (int i = 0; i < flights; ++i) {
                FlightRecord &r = book.appendRow();
                r.date = QByteArray::number(10 + rng.bounded(15)) + "/0" + QByteArray::number(1 + rng.bounded(9)) + "/1" +
                         QByteArray::number(rng.bounded(10));
                r.duration = QByteArray::number(rng.bounded(100)).rightJustified(2, '0') + ":" +
                             QByteArray::number(rng.bounded(60)).rightJustified(2, '0') + ":30";
                r.excludedFromStatistics = book.rowCount() % 7 == 4; // row 3, 10, ...
            }
            // What only the companion holds reaches the pages through the selection.
            book.companion.carriedFlights = int(rng.bounded(500));
            book.companion.carriedSeconds = qint64(rng.bounded(1000000));
            const bool ranged = rng.bounded(2);
            LogBookSelection selection = logBookSelection(book, ranged ? *dateBound("15/01/01") : 0,
                                                          ranged ? *dateBound("20/12/31") : 0);
            selection.rowsPerPage = 1 + int(rng.bounded(25));
            QCOMPARE(selection.carried.flights, book.companion.carriedFlights);
            const std::vector<LogBookPage> pages = logBookPages(book, selection);
            QVERIFY(!pages.empty());
            PageTotal sum = selection.carried;
            for (int row = 1; selection.fromDate && row < book.rowCount(); ++row) {
                if (!selection.excluded(row) && flightDateOrder(book.row(row).date) < selection.fromDate) {
                    ++sum.flights;
                    sum.seconds += fieldformat::secondsOf(book.row(row).duration);
                }
            }
            int printed = 0;
            for (const LogBookPage &page : pages) {
                QCOMPARE(page.before.flights, sum.flights);
                QCOMPARE(page.before.seconds, sum.seconds);
                QVERIFY(int(page.rows.size()) <= selection.rowsPerPage);
                qint64 seconds = 0;
                for (int row : page.rows) {
                    QVERIFY(!book.row(row).excludedFromStatistics);
                    const qint64 order = flightDateOrder(book.row(row).date);
                    QVERIFY(!selection.fromDate || (order >= selection.fromDate && order <= selection.toDate));
                    seconds += fieldformat::secondsOf(book.row(row).duration);
                }
                QCOMPARE(page.page.flights, int(page.rows.size()));
                QCOMPARE(page.page.seconds, seconds);
                sum.flights += page.page.flights;
                sum.seconds += seconds;
                QCOMPARE(page.cumulative.flights, sum.flights);
                QCOMPARE(page.cumulative.seconds, sum.seconds);
                printed += int(page.rows.size());
            }
            int expected = 0;
            for (int row = 1; row < book.rowCount(); ++row) {
                const qint64 order = flightDateOrder(book.row(row).date);
                expected += row % 7 != 3 &&
                            (!selection.fromDate || (order >= selection.fromDate && order <= selection.toDate));
            }
            QCOMPARE(printed, expected);
            int leftOut = 0;
            for (int row = 1; row < book.rowCount(); ++row) {
                const qint64 order = flightDateOrder(book.row(row).date);
                leftOut += selection.excluded(row) &&
                           (!selection.fromDate || (order >= selection.fromDate && order <= selection.toDate));
            }
            QCOMPARE(pages.front().leftOut, leftOut);
        }
    }

    void dateBounds_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("a date") << QByteArray("24/05/03") << true;
        QTest::newRow("four-digit year") << QByteArray("2024/05/03") << false;
        QTest::newRow("blank") << QByteArray() << false;
        QTest::newRow("letters") << QByteArray("24/ab/03") << false;
    }
    void dateBounds()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        QCOMPARE(dateBound(text).has_value(), valid);
    }
};

QTEST_APPLESS_MAIN(TestLogBookPages)
#include "tst_logbookpages.moc"
