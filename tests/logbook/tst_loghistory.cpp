// The log's undo history: random runs of every step that changes rows, undone and redone
// in full, every byte and rowId compared at each point with the modified flag.
#include "logbook/core/logbook.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/logfile.h"
#include "logbook/core/loghistory.h"
#include "logbook/core/logoperations.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Everything undo promises to give back, row by row: the stored content and the rowId; and
// the figures carried over.
QByteArray image(const LogBook &book)
{
    QByteArray out = QByteArray::number(book.companion.carriedFlights) + '/'
                     + QByteArray::number(book.companion.carriedSeconds) + '\n';
    for (const FlightRecord &r : book.records()) {
        out += QByteArray::number(r.rowId) + '|';
        for (int f = 0; f < kFieldCount; ++f)
            out += r.fieldText(Field(f)).toByteArray().toHex() + '|';
        out += r.excludedFromStatistics ? "x|" : "-|";
        out += r.downloaded ? r.downloaded->fields[0].toHex() + r.downloaded->raw.toUtf8() : QByteArray("none");
        out += '\n';
    }
    return out;
}

FlightRecord someFlight(QRandomGenerator &rng)
{
    static const QByteArray texts[] = {"", "A9 /", "\x82\xa0\xb1:", "\x88\x9f\x88\x9f\x88\x9f\x88\x9f\x88\x9f\x88\x9f"};
    FlightRecord r;
    r.date = QByteArray("24/0") + char('1' + rng.bounded(9)) + "/1" + char('0' + rng.bounded(10));
    r.time = QByteArray("1") + char('0' + rng.bounded(4)) + ":00:00";
    r.area = texts[rng.bounded(4)];
    r.comment = texts[rng.bounded(4)] + texts[rng.bounded(4)];
    r.barographFile = texts[rng.bounded(2)];
    r.excludedFromStatistics = rng.bounded(4) == 0;
    if (rng.bounded(3) == 0)
        r.downloaded = std::make_shared<DownloadedFlight>(DownloadedFlight{{r.date.toByteArray()}, r.area.toByteArray()});
    return r;
}

// One step of the kinds the commands take, on a small log, then the redraw's renumbering.
void takeStep(LogBook &book, QRandomGenerator &rng)
{
    const int flights = book.rowCount() - 1;
    const int first = 1 + int(rng.bounded(qMax(flights, 1)));
    LogFileContents other{{FlightRecord::titleRecord(), someFlight(rng), someFlight(rng)}};
    switch (flights == 0 ? 0 : rng.bounded(9)) {
    case 0: appendFlights(book, other); break; // Add
    case 1: // a CSV's flights
        appendCsvFlights(book, parseLogCsv("number,date,time,area,duration,maxAltitude,maxClimb,comment,barographFile\n"
                                           "1,24/05/05,10:00:00,Ashio,00:10:00,0800 m,2.0 m/s,x,\n"));
        break;
    case 2: book.appendRow(someFlight(rng)); break; // a new flight, a download's
    case 3: // Delete of a selection
        for (int n = 1 + int(rng.bounded(qMin(3, book.rowCount() - first))); n > 0; --n)
            book.removeRow(first);
        break;
    case 4: sortFlightsByDate(book); break;
    case 5: // an editor's save, a barograph saved into its row
        book.row(first).setField(Field(rng.bounded(kFieldCount)), someFlight(rng).comment.bytes());
        book.row(first).excludedFromStatistics = !book.row(first).excludedFromStatistics;
        break;
    case 6: book.row(first).downloaded = someFlight(rng).downloaded; break; // named by a download
    case 7: // a download's new flights, sorted in among the others
        book.appendRow(someFlight(rng));
        book.removeRow(first);
        sortFlightsByDate(book);
        break;
    default: // the statistics window's carried-over figures
        book.companion.carriedFlights = int(rng.bounded(3));
        book.companion.carriedSeconds = rng.bounded(2) * 3600;
        break;
    }
    book.renumber();
    book.logModified = true;
}

} // namespace

class TestLogHistory : public QObject {
    Q_OBJECT
private slots:
    void randomStepsUndoAndRedoEveryByte();
    void keepsTheLastTwoHundredSteps();
    void deletingARowKeepsThatRowAlone();
    void aDroppedStepLeavesNoRedo();
};

void TestLogHistory::randomStepsUndoAndRedoEveryByte()
{
    QRandomGenerator rng(20261207);
    for (int run = 0; run < 1000; ++run) {
        LogBook book;
        for (int i = int(rng.bounded(6)); i > 0; --i)
            book.appendRow(someFlight(rng));
        book.renumber();
        book.history.reset(book);
        book.logModified = false;

        // states[k]: the log after k steps; the save, when one falls, after savedAt steps.
        std::vector<QByteArray> states{image(book)};
        int savedAt = 0;
        const int steps = 1 + int(rng.bounded(50));
        for (int s = 0; s < steps; ++s) {
            takeStep(book, rng);
            if (book.history.record(book, QStringLiteral("step %1").arg(s)))
                states.push_back(image(book));
            if (rng.bounded(10) == 0) {
                book.history.markSaved();
                book.logModified = false;
                savedAt = int(states.size()) - 1;
            }
        }
        const int last = int(states.size()) - 1;
        QCOMPARE(book.history.undoCount(), last);
        for (int k = last - 1; k >= 0; --k) {
            QVERIFY(book.history.undo(book));
            QCOMPARE(image(book), states[size_t(k)]);
            QCOMPARE(book.logModified, k != savedAt);
        }
        QVERIFY(!book.history.undo(book));
        for (int k = 1; k <= last; ++k) {
            QVERIFY(book.history.redo(book));
            QCOMPARE(image(book), states[size_t(k)]);
            QCOMPARE(book.logModified, k != savedAt);
        }
        QVERIFY(!book.history.canRedo());
    }
}

// The oldest steps go, and with them a saved state that lies before them: going back as far
// as the history reaches then leaves the log modified.
void TestLogHistory::keepsTheLastTwoHundredSteps()
{
    LogBook book;
    book.appendRow().comment = QByteArray("start");
    book.history.reset(book);
    for (int i = 0; i < 250; ++i) {
        book.row(1).comment = QByteArray::number(i);
        book.logModified = true;
        QVERIFY(book.history.record(book, QStringLiteral("edit")));
    }
    QCOMPARE(book.history.undoCount(), LogHistory::kMaxSteps);
    while (book.history.undo(book)) {
    }
    QCOMPARE(book.row(1).comment.bytes(), QByteArray("49"));
    QVERIFY(book.logModified);
    QVERIFY(!book.history.record(book, QStringLiteral("nothing changed")));
}

// The renumbering that follows a delete is no change of the later rows: the step holds the
// one row it took away, whatever the log's length.
void TestLogHistory::deletingARowKeepsThatRowAlone()
{
    LogBook book;
    for (int i = 0; i < 1000; ++i)
        book.appendRow().comment = QByteArray::number(i);
    book.renumber();
    book.history.reset(book);
    book.removeRow(10);
    book.renumber();
    QVERIFY(book.history.record(book, QStringLiteral("delete")));
    const LogStep *step = book.history.nextUndo();
    QCOMPARE(step->removed.size(), size_t(1));
    QCOMPARE(step->removed[0].row.comment.bytes(), QByteArray("9"));
    QVERIFY(step->added.empty() && step->changed.empty() && step->orderBefore.empty());
}

// A step whose files could not be written is taken back and forgotten: no redo may bring back
// rows that name files which are not there, and the saved state is the saved state again.
void TestLogHistory::aDroppedStepLeavesNoRedo()
{
    LogBook book;
    book.appendRow().comment = QByteArray("saved");
    book.history.reset(book);
    book.row(1).comment = QByteArray("edited");
    QVERIFY(book.history.record(book, QStringLiteral("edit")));
    book.history.undo(book);
    book.appendRow().comment = QByteArray("imported");
    QVERIFY(book.history.record(book, QStringLiteral("import"))); // the edit's redo goes
    book.history.dropLatest(book);
    QCOMPARE(book.rowCount(), 2);
    QCOMPARE(book.row(1).comment.bytes(), QByteArray("saved"));
    QVERIFY(!book.history.canRedo() && !book.history.canUndo());
    QVERIFY(!book.logModified);
}

QTEST_GUILESS_MAIN(TestLogHistory)
#include "tst_loghistory.moc"
