// The log list window over a log book: cells, the blank row, renumbering, the name field
// and the selected range.
#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/totals.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loggrid.h"
#include "logbook/ui/loglistwindow.h"
#include "logbook/ui/tformtotal.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <QStyle>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

LogBook threeFlights()
{
    QFile f(QStringLiteral(TEST_DATA_DIR "/logbook/three-flights.log"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data");
    LogBook book;
    loadContents(book, parseLogFile(f.readAll()));
    return book;
}

// Types text the way an input method delivers it: one key event per character.
void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

QString cell(const TLogG &w, int gridRow, int column)
{
    return w.model()->index(gridRow - 1, column).data().toString();
}

// The number cells of a grid whose text the view would elide: its width in the grid's font
// beyond the cell's width less the margins the item delegate keeps.
QStringList cutNumbers(const QTableView *grid)
{
    const QFontMetrics metrics(grid->font());
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    QStringList cut;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        if (!isNumberColumn(c))
            continue;
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const QString text = grid->model()->index(r, c).data().toString();
            if (metrics.horizontalAdvance(text) > grid->columnWidth(c) - margins)
                cut << QStringLiteral("row %1 column %2: %3").arg(r).arg(c).arg(text);
        }
    }
    return cut.mid(0, 5);
}

} // namespace

class TestLogListWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithTitlesAndOneBlankRow();
    void showsFieldsAsStoredAfterRedraw();
    void nameFieldCutsTo31BytesAndSignalsEdits();
    void settingTheNameIsNotAnEdit();
    void selectedRowsAreTheRowsThemselves();
    void doubleClickRequestsEdit();
    void numberColumnStaysWhenScrolledSideways();
    void closingOnlyMinimises();
    void maximisedTheCommentsTakeTheRoom();
    void everyNumberFitsItsColumn_data();
    void everyNumberFitsItsColumn();
};

void TestLogListWindow::startsWithTitlesAndOneBlankRow()
{
    LogBook book;
    TLogG w(book);
    QCOMPARE(w.windowTitle(), QStringLiteral("ログファイル"));
    QCOMPARE(w.model()->rowCount(), 1);
    QCOMPARE(w.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("日付"));
    QCOMPARE(w.model()->headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ"));
    QCOMPARE(w.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
    for (int c = 0; c < 9; ++c)
        QCOMPARE(cell(w, 1, c), QString());
    QCOMPARE(w.grid()->columnWidth(7), 166);
    QVERIFY(w.grid()->columnWidth(1) >= 60);
}

void TestLogListWindow::showsFieldsAsStoredAfterRedraw()
{
    LogBook book = threeFlights();
    TLogG w(book);
    w.model()->setGridRowCount(book.rowCount());
    book.swapRows(1, 3);
    book.renumber();
    w.model()->refreshAll();
    QCOMPARE(w.model()->rowCount(), 3);
    QCOMPARE(cell(w, 1, 0), QStringLiteral("1"));
    QCOMPARE(cell(w, 3, 0), QStringLiteral("3"));
    QCOMPARE(cell(w, 3, 3), QStringLiteral("足尾山"));
    QCOMPARE(cell(w, 3, 5), QStringLiteral("0987 m"));
    QCOMPARE(cell(w, 3, 8), QStringLiteral("24050310.BRG"));
    // A comment of several lines is shown whole in its one cell.
    QCOMPARE(cell(w, 3, 7), QStringLiteral("サーマル良好。 ↵ 南東の風 2m/s"));
    QCOMPARE(book.row(3).number, QByteArray("3"));

    // Deleting every flight leaves the grid with one blank row.
    while (book.hasFlights())
        book.removeRow(1);
    w.model()->setGridRowCount(2);
    QCOMPARE(w.model()->rowCount(), 1);
    QCOMPARE(cell(w, 1, 3), QString());
}

void TestLogListWindow::nameFieldCutsTo31BytesAndSignalsEdits()
{
    LogBook book;
    TLogG w(book);
    QSignalSpy edited(&w, &TLogG::nameEdited);
    w.nameField()->setFocus();
    typeText(w.nameField(), QString(20, u'ソ')); // 40 bytes typed
    QCOMPARE(edited.count(), 20);
    QCOMPARE(w.nameText(), cp932::fromUnicode(QString(15, u'ソ'))); // 30 bytes kept
    QVERIFY(w.nameField()->isModified());
}

void TestLogListWindow::settingTheNameIsNotAnEdit()
{
    LogBook book;
    TLogG w(book);
    QSignalSpy edited(&w, &TLogG::nameEdited);
    w.setNameText(cp932::fromUnicode(QStringLiteral("春の足尾山")));
    QCOMPARE(edited.count(), 0);
    QVERIFY(!w.nameField()->isModified());
    QCOMPARE(w.nameField()->text(), QStringLiteral("春の足尾山"));
    w.setLogPath(QStringLiteral("/f/a.log"));
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("ログファイル - ")));
}

void TestLogListWindow::selectedRowsAreTheRowsThemselves()
{
    LogBook book = threeFlights();
    TLogG w(book);
    w.model()->setGridRowCount(book.rowCount());
    QCOMPARE(w.selectedRows(), std::vector<int>{1});
    w.selectRows(2, 3);
    QCOMPARE(w.selectedRows(), (std::vector<int>{2, 3}));
    w.selectRowSet({3, 1});
    QCOMPARE(w.selectedRows(), (std::vector<int>{1, 3}));
}

void TestLogListWindow::doubleClickRequestsEdit()
{
    LogBook book = threeFlights();
    TLogG w(book);
    w.model()->setGridRowCount(book.rowCount());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy edit(&w, &TLogG::editRequested);
    QTableView *grid = w.grid();
    const QRect r = grid->visualRect(w.model()->index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(edit.count(), 1);
    QCOMPARE(w.selectedRows(), std::vector<int>{2});
    // The title row: a click selects nothing, a double-click edits the selection.
    QHeaderView *titles = grid->horizontalHeader();
    const QPoint title(titles->sectionViewportPosition(3) + 5, 5);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, title);
    QTest::mouseDClick(titles->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(edit.count(), 2);
    QCOMPARE(w.selectedRows(), std::vector<int>{2});
}

void TestLogListWindow::numberColumnStaysWhenScrolledSideways()
{
    LogBook book = threeFlights();
    TLogG w(book);
    w.model()->setGridRowCount(book.rowCount());
    w.resize(300, 110); // narrower than the nine columns, lower than the four rows
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTableView *grid = w.grid();
    auto *numbers = grid->findChild<QTableView *>(QStringLiteral("NumberColumn"));
    QVERIFY(numbers && numbers->isVisible());
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    QVERIFY(grid->horizontalScrollBar()->value() > grid->columnWidth(0));

    // The numbers still stand at the left edge, over the scrolled columns.
    QCOMPARE(numbers->x(), grid->frameWidth());
    QCOMPARE(numbers->width(), grid->columnWidth(0) + 1);
    const QRect second = numbers->visualRect(w.model()->index(1, 0));
    QVERIFY(second.left() == 0 && second.width() > 0);
    QCOMPARE(w.model()->index(1, 0).data().toString(), QStringLiteral("2"));

    // A click on a number selects its row in the list; a double-click there edits it.
    QSignalSpy edit(&w, &TLogG::editRequested);
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(numbers->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(w.selectedRows(), std::vector<int>{2});
    QCOMPARE(edit.count(), 1);
    // Scrolling down moves both together.
    QVERIFY(grid->verticalScrollBar()->maximum() > 0);
    grid->verticalScrollBar()->setValue(1);
    QCOMPARE(grid->verticalScrollBar()->value(), 1);
    QCOMPARE(numbers->verticalScrollBar()->value(), grid->verticalScrollBar()->value());
    // Another log opened starts at its first columns.
    w.clearSelection();
    QCOMPARE(grid->horizontalScrollBar()->value(), 0);
}

void TestLogListWindow::maximisedTheCommentsTakeTheRoom()
{
    LogBook book = threeFlights();
    QMdiArea area;
    area.resize(1500, 500);
    area.show();
    auto *w = new TLogG(book);
    area.addSubWindow(w);
    w->model()->setGridRowCount(book.rowCount());
    w->resize(600, 300);
    w->show();
    QTableView *grid = w->grid();
    const int comment = grid->columnWidth(int(Field::Comment));
    QVERIFY(grid->horizontalHeader()->length() > grid->viewport()->width()); // scrolls sideways
    w->showMaximized();
    QTRY_VERIFY(grid->viewport()->width() > 1300);
    QCOMPARE(grid->horizontalHeader()->length(), grid->viewport()->width());
    QVERIFY(grid->columnWidth(int(Field::Comment)) > comment + 500);
    w->showNormal();
    QTRY_COMPARE(grid->columnWidth(int(Field::Comment)), comment);
}

void TestLogListWindow::closingOnlyMinimises()
{
    LogBook book;
    TLogG w(book);
    w.show();
    w.close();
    QVERIFY(w.isMinimized());
}

// A lifetime of flights (five-digit numbers) and totals of thousands of hours, in the usual
// font and a large one: no number of the log list or the totals window is cut off.
void TestLogListWindow::everyNumberFitsItsColumn_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("usual font") << 0;
    QTest::newRow("large font") << 16;
}

void TestLogListWindow::everyNumberFitsItsColumn()
{
    QFETCH(int, pointSize);
    const QFont usual = QApplication::font();
    QFont font = usual;
    if (pointSize)
        font.setPointSize(pointSize);
    QApplication::setFont(font);
    LogBook book = threeFlights();
    const std::vector<FlightRecord> three(book.records().begin() + 1, book.records().end());
    while (book.rowCount() <= 10050)
        book.appendRow(three[size_t(book.rowCount()) % three.size()]);
    book.renumber();

    TLogG list(book);
    list.model()->setGridRowCount(book.rowCount());
    list.model()->refreshAll();
    QCOMPARE(cell(list, 10050, 0), QStringLiteral("10050"));
    TFormTotal totals;
    totals.showTotals(computeTotals(book), "");
    QApplication::setFont(usual);
    QCOMPARE(cutNumbers(list.grid()), QStringList());
    QVERIFY(totals.grid()->model()->rowCount() > 10050);
    QCOMPARE(cutNumbers(totals.grid()), QStringList());
}

QTEST_MAIN(TestLogListWindow)
#include "tst_loglistwindow.moc"
