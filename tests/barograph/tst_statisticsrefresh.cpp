// The statistics kept up to date off the window's thread: what is shown is always the log
// as it is now, a change costs the rows it changed, and files changed behind the log's back
// are picked up when every file is checked again. The tool's synchronous path is the oracle.
#include "barograph/core/barographfile.h"
#include "barograph/core/currencyreport.h"
#include "barograph/core/statisticsrefresh.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <algorithm>

namespace {

/// A flight with one climb of `gainM` metres (each gain its own content).
QByteArray flightClimbing(int gainM)
{
    BarographFile file;
    file.interval = 1;
    file.altitudes.assign(120, 1000.0f);
    for (int t = 0; t < gainM / 2; ++t)
        file.altitudes.push_back(file.altitudes.back() + 2);
    for (int t = 0; t < 700; ++t)
        file.altitudes.push_back(file.altitudes.back() - 1);
    file.altitudes.insert(file.altitudes.end(), 120, file.altitudes.back());
    return buildBarographImage(file);
}

struct Log {
    QTemporaryDir dir;
    LogBook book;

    /// `flights` flights on one day each, flight i naming "Fi.V00" that climbs 100 + 20 i m.
    explicit Log(int flights)
    {
        book.workFolder = dir.path() + u'/';
        for (int i = 1; i <= flights; ++i) {
            FlightRecord &r = book.appendRow();
            r.date = QByteArray("24/05/") + QByteArray::number(i % 28 + 1).rightJustified(2, '0');
            r.duration = "00:30:00";
            r.barographFile = "F" + QByteArray::number(i) + ".V00";
            write(r.barographFile.toByteArray(), 100 + 20 * i);
        }
    }
    void write(const QByteArray &name, int gainM) const
    {
        QVERIFY(!writeFile(dir.filePath(QString::fromLatin1(name)), flightClimbing(gainM)));
    }
    /// What the tool reports for the log as it is now.
    LogStatistics expected() const
    {
        std::map<QByteArray, Companion::Analysis> cache;
        return computeStatistics(book, statisticsInputs(book, book.workFolder, cache));
    }
};

bool sameClimbing(const LogStatistics &a, const LogStatistics &b)
{
    if (a.years.size() != b.years.size() || a.biggestGain.row != b.biggestGain.row ||
        a.biggestGain.value != b.biggestGain.value)
        return false;
    for (size_t i = 0; i < a.years.size(); ++i) {
        if (a.years[i].withBarograph != b.years[i].withBarograph || a.years[i].totalClimbed != b.years[i].totalClimbed)
            return false;
    }
    return true;
}

} // namespace

class TestStatisticsRefresh : public QObject {
    Q_OBJECT
private slots:
    // The look started for the log before an edit is never shown: the figures that follow
    // are the edited log's, shown once, and what the worker analysed joins the log's cache.
    void anEditDuringALookSupersedesIt()
    {
        Log log(200);
        StatisticsRefresh refresh(log.book);
        QSignalSpy ready(&refresh, &StatisticsRefresh::ready);
        refresh.update(true);
        QVERIFY(refresh.isLooking());
        log.write("NEW.V00", 8000);
        log.book.row(7).barographFile = "NEW.V00";
        refresh.update();
        QCOMPARE(refresh.heightOf(7).state, RowHeight::State::Reading);
        QTRY_COMPARE(ready.size(), 1);
        QVERIFY(!refresh.isLooking());
        QCOMPARE(refresh.statistics().biggestGain.row, 7);
        QVERIFY(sameClimbing(refresh.statistics(), log.expected()));
        // The heights the currency window counts are those the tool reads in place.
        std::map<QByteArray, Companion::Analysis> toolCache;
        const CurrencyReport inPlace = currencyReport(log.book, {{"H", RuleKind::HeightFlights, 1, 0, 0, {}, {}}},
                                                      QDate(2024, 6, 1), log.book.workFolder, toolCache);
        for (int row = 1; row < log.book.rowCount(); ++row) {
            QCOMPARE(refresh.heightOf(row).state, RowHeight::State::Measured);
            QCOMPARE(refresh.heightOf(row).dropM, inPlace.height(row).dropM);
        }
        // Every barograph the log names is in its cache (F7 too, if the first look reached it).
        const auto &cache = log.book.companion.analysis;
        QVERIFY(cache.size() == 200 || cache.size() == 201);
        QVERIFY(std::any_of(cache.begin(), cache.end(), [](const auto &e) { return e.second.file == u"NEW.V00"; }));
    }

    // One edited row is looked at alone; a file rewritten behind the log's back keeps its
    // old figures until every file is checked again.
    void anEditLooksAtItsRowOnlyAndARecheckAtEveryFile()
    {
        Log log(30);
        StatisticsRefresh refresh(log.book);
        QSignalSpy ready(&refresh, &StatisticsRefresh::ready);
        QSignalSpy progress(&refresh, &StatisticsRefresh::progress);
        refresh.update(true);
        QTRY_COMPARE(ready.size(), 1);
        const LogStatistics before = refresh.statistics();

        log.write("F2.V00", 1000); // behind the log's back
        log.book.row(5).duration = "00:31:00";
        log.book.row(6).comment = "a comment needs no look";
        progress.clear();
        refresh.update();
        QTRY_COMPARE(ready.size(), 2);
        QCOMPARE(progress.first().at(1).toInt(), 1);
        QVERIFY(sameClimbing(refresh.statistics(), before));

        progress.clear();
        refresh.update(true);
        QTRY_COMPARE(ready.size(), 3);
        QCOMPARE(progress.first().at(1).toInt(), 30);
        QCOMPARE(refresh.statistics().biggestGain.row, 2);
        QVERIFY(sameClimbing(refresh.statistics(), log.expected()));
    }
};

QTEST_GUILESS_MAIN(TestStatisticsRefresh)
#include "tst_statisticsrefresh.moc"
