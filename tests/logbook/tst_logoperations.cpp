// Sorting by date against the bubble sort the log has always been sorted with, the
// duplicate checks, and where a row's barograph file may be looked for.
#include "logbook/core/logbook.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/text/cp932.h"

#include <QRandomGenerator>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

LogBook bookOf(const QList<std::pair<QByteArray, QByteArray>> &dateTimes)
{
    LogBook book;
    int n = 0;
    for (const auto &[date, time] : dateTimes) {
        FlightRecord &r = book.appendRow();
        r.date = date;
        r.time = time;
        r.comment = QByteArray::number(n++); // identifies the flight after sorting
    }
    return book;
}

QByteArrayList order(const LogBook &book)
{
    QByteArrayList ids;
    for (int r = 1; r < book.rowCount(); ++r)
        ids << book.row(r).comment;
    return ids;
}

// The sort as it has always been done: bubble passes over rows 1 to n - 1, noting a duplicate
// whenever two neighbours compare equal and never swapping them.
bool referenceBubbleSort(LogBook &book)
{
    const int n = book.rowCount();
    std::vector<qint64> keys(static_cast<size_t>(n));
    for (int r = 1; r < n; ++r)
        keys[size_t(r)] = flightSortKey(book.row(r).date, book.row(r).time);
    bool duplicate = false;
    for (int limit = n - 1; limit >= 2; --limit) {
        for (int i = 1; i < limit; ++i) {
            if (keys[size_t(i)] == keys[size_t(i + 1)])
                duplicate = true;
            if (keys[size_t(i)] > keys[size_t(i + 1)]) {
                std::swap(keys[size_t(i)], keys[size_t(i + 1)]);
                book.swapRows(i, i + 1);
            }
        }
    }
    return duplicate;
}

} // namespace

Q_DECLARE_METATYPE(BarographNameFault)

class TestLogOperations : public QObject {
    Q_OBJECT
private slots:
    void sortKeys_data();
    void sortKeys();
    void centuryAndSecondsAsTheLogAlwaysSorted();
    void sortEqualsTheBubbleSortOnRandomLogs();
    void duplicateDateTimeIsByteWise();
    void barographPaths_data();
    void barographPaths();
    void barographLinksStayInTheFolder();
    void barographFoundInOtherLetterCaseAndShared();
};

void TestLogOperations::sortKeys_data()
{
    QTest::addColumn<QByteArray>("date");
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<qint64>("key");
    const auto key = [](qint64 y, qint64 m, qint64 d, qint64 h, qint64 min) {
        return (y * 448 + m * 32 + d) * 1440 + h * 60 + min;
    };
    QTest::newRow("1999") << QByteArray("99/12/31") << QByteArray("23:59:59") << key(99, 12, 31, 23, 59);
    QTest::newRow("2000 counts as 100") << QByteArray("00/01/01") << QByteArray("00:00:00") << key(100, 1, 1, 0, 0);
    QTest::newRow("69 is 2069") << QByteArray("69/01/01") << QByteArray("10:00:00") << key(169, 1, 1, 10, 0);
    QTest::newRow("70 is 1970") << QByteArray("70/01/01") << QByteArray("10:00:00") << key(70, 1, 1, 10, 0);
    QTest::newRow("two numbers; a time without seconds is none")
        << QByteArray("24/05") << QByteArray("10:21") << key(124, 5, 0, 0, 0);
    QTest::newRow("nothing readable") << QByteArray("??") << QByteArray("") << key(0, 0, 0, 0, 0);
    QTest::newRow("blanks and signs; a signed time is none")
        << QByteArray(" 24/ 5/-3") << QByteArray("+1:2:3") << key(124, 5, -3, 0, 0);
    QTest::newRow("huge numbers do not overflow") << QByteArray("99999999999/1/1") << QByteArray("1:1:1")
                                                  << key(1000000, 1, 1, 1, 1);
}

void TestLogOperations::sortKeys()
{
    QFETCH(QByteArray, date);
    QFETCH(QByteArray, time);
    QFETCH(qint64, key);
    QCOMPARE(flightSortKey(date, time), key);
}

void TestLogOperations::centuryAndSecondsAsTheLogAlwaysSorted()
{
    LogBook book = bookOf({{"00/01/01", "10:00:00"}, {"99/12/31", "10:00:00"},
                           {"24/05/03", "10:21:59"}, {"24/05/03", "10:21:05"}});
    QVERIFY(sortFlightsByDate(book)); // differing only in seconds: a duplicate
    QCOMPARE(order(book), QByteArrayList({"1", "0", "2", "3"})); // and their order is kept
    QCOMPARE(book.row(0).date, cp932::fromUnicode(u"日付"));

    LogBook one = bookOf({{"24/05/03", "10:00:00"}});
    QVERIFY(!sortFlightsByDate(one));
    LogBook none;
    QVERIFY(!sortFlightsByDate(none));
}

void TestLogOperations::sortEqualsTheBubbleSortOnRandomLogs()
{
    QRandomGenerator rng(7);
    const QByteArrayList odd = {"", "24", "24/5", "x/y/z", "24/05/03/09", " 1/ 2/ 3"};
    for (int round = 0; round < 300; ++round) {
        QList<std::pair<QByteArray, QByteArray>> flights;
        const int n = int(rng.bounded(40));
        for (int i = 0; i < n; ++i) {
            // Few distinct days and minutes, so that equal keys are common.
            QByteArray date = QByteArray::number(rng.bounded(2) ? 99 : 0).rightJustified(2, '0') + "/0"
                              + QByteArray::number(1 + rng.bounded(3)) + "/1" + QByteArray::number(rng.bounded(3));
            QByteArray time = "1" + QByteArray::number(rng.bounded(3)) + ":0" + QByteArray::number(rng.bounded(3))
                              + ":" + QByteArray::number(10 + rng.bounded(50));
            if (rng.bounded(10) == 0)
                date = odd[int(rng.bounded(odd.size()))];
            flights.append({date, time});
        }
        LogBook fast = bookOf(flights);
        LogBook reference = bookOf(flights);
        const bool duplicate = sortFlightsByDate(fast);
        QCOMPARE(duplicate, referenceBubbleSort(reference));
        QCOMPARE(order(fast), order(reference));
    }
}

void TestLogOperations::duplicateDateTimeIsByteWise()
{
    QVERIFY(!hasDuplicateDateTime(bookOf({{"24/05/03", "10:21:05"}, {"24/05/03", "10:21:06"}})));
    QVERIFY(hasDuplicateDateTime(bookOf({{"24/05/03", "10:21:05"}, {"x", "y"}, {"24/05/03", "10:21:05"}})));
    // The same key but other texts: not a duplicate for the add check.
    QVERIFY(!hasDuplicateDateTime(bookOf({{"24/05/03", "10:21:05"}, {"24/5/3", "10:21:05"}})));
}

void TestLogOperations::barographPaths_data()
{
    using F = BarographNameFault;
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<F>("fault"); // what the rule says; a path only without one
    QTest::newRow("plain") << QByteArray("V7081114.V35") << F::None;
    QTest::newRow("so has a backslash byte") << cp932::fromUnicode(u"ソ.BRG") << F::None;
    QTest::newRow("a log's name inside") << QByteArray("F.log.V00") << F::None;
    QTest::newRow("empty") << QByteArray() << F::Path;
    QTest::newRow("parent") << QByteArray("..") << F::Path;
    QTest::newRow("dot") << QByteArray(".") << F::Path;
    QTest::newRow("up and out") << QByteArray("../x.BRG") << F::Path;
    QTest::newRow("backslash") << QByteArray("..\\x.BRG") << F::Path;
    QTest::newRow("absolute") << QByteArray("/etc/passwd") << F::Path;
    QTest::newRow("drive") << QByteArray("C:x.BRG") << F::Path;
    QTest::newRow("undecodable") << QByteArray("\x80x") << F::Character;
    QTest::newRow("control character") << QByteArray("a\tb.V35") << F::Character;
    QTest::newRow("the log") << QByteArray("F.log") << F::LogFile;
    QTest::newRow("the log, upper case") << QByteArray("F.LOG") << F::LogFile;
    QTest::newRow("its companion") << QByteArray("F.duvazi.json") << F::LogFile;
    QTest::newRow("the log with a dot Windows drops") << QByteArray("F.log.") << F::SystemName;
    QTest::newRow("the null device") << QByteArray("nul.V00") << F::SystemName;
}

void TestLogOperations::barographPaths()
{
    QFETCH(QByteArray, name);
    QFETCH(BarographNameFault, fault);
    QCOMPARE(barographNameFault(name), fault);
    BarographNameFault found = BarographNameFault::OutsideFolder;
    const std::optional<QString> p = barographPath(QStringLiteral("/w"), name, &found);
    QCOMPARE(found, fault);
    QCOMPARE(p.value_or(QString()), fault == BarographNameFault::None ? QStringLiteral("/w/") + cp932::toUnicode(name) : QString());
}

// The writer writes through a link: one in the work folder may stand for a barograph there,
// never for a file elsewhere or for the log's own files.
void TestLogOperations::barographLinksStayInTheFolder()
{
    QTemporaryDir dir;
    const QString work = dir.filePath("work/");
    QVERIFY(QDir(dir.path()).mkdir("work"));
    QVERIFY(QFile(work + "F.log").open(QIODevice::WriteOnly) && QFile(work + "V.V00").open(QIODevice::WriteOnly));
    // link name -> where it leads (the last elsewhere, and not there)
    for (const auto &[link, target] : {std::pair{"in.V00", "V.V00"}, {"log.V00", "F.log"}, {"out.V00", "../x.V00"}})
        QVERIFY(QFile::link(QLatin1String(target), work + QLatin1String(link)));
    BarographNameFault fault = BarographNameFault::OutsideFolder;
    QCOMPARE(barographPath(work, "in.V00", &fault).value_or(QString()), work + "in.V00");
    QCOMPARE(fault, BarographNameFault::None);
    for (const char *refused : {"log.V00", "out.V00"}) {
        QVERIFY(!barographPath(work, refused, &fault));
        QCOMPARE(fault, BarographNameFault::OutsideFolder);
    }
}

void TestLogOperations::barographFoundInOtherLetterCaseAndShared()
{
    QTemporaryDir dir;
    LogBook book;
    book.workFolder = dir.path() + u'/';
    QFile(dir.filePath("v7081114.v35")).open(QIODevice::WriteOnly);
    QCOMPARE(barographPath(book.workFolder, "V7081114.V35"), std::optional<QString>(dir.filePath("v7081114.v35")));
    QCOMPARE(barographPath(book.workFolder, "MISSING.V00"), std::optional<QString>(dir.filePath("MISSING.V00")));

    // Two merged copies of one flight name the same file, in any letter case.
    for (const char *name : {"V7081114.V35", "other.V00", "v7081114.v35"})
        book.appendRow().barographFile = name;
    QCOMPARE(rowsSharingBarograph(book, 1), QList<int>{3});
    QCOMPARE(rowsSharingBarograph(book, 2), QList<int>());
    QFile(dir.filePath("V7081114.V35")).open(QIODevice::WriteOnly); // now two files
    QCOMPARE(rowsSharingBarograph(book, 1), QList<int>());
}

QTEST_GUILESS_MAIN(TestLogOperations)
#include "tst_logoperations.moc"
