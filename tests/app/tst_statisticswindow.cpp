// The statistics window and the printed log book, driven through the main window: the
// window against what duvazi-tool reports for the same saved log, the edits the log cannot
// hold, a bar selecting its flights in the log list, and the print command's PDF.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "barograph/core/messages.h"
#include "barograph/ui/statschartview.h"
#include "logbook/core/logbookpages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/ui/loglistwindow.h"
#include "tests/common/samplewindow.h"
#include "tests/common/toolrun.h"
#include "tests/common/windowreadings.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Fixture : SampleWindow {
    TFormStats *openStatistics()
    {
        prompter.files.push_back(logPath());
        trigger("FileOpenItem");
        trigger("MenuStatistics");
        // The barographs are read on a worker: the figures follow.
        TFormStats *w = form->statisticsCommands().window();
        return w && QTest::qWaitFor([w] { return !w->isComputing(); }) ? w : nullptr;
    }
    void click(TFormStats *w, const char *button) { w->findChild<QPushButton *>(QLatin1String(button))->click(); }
    QString itemText(const char *name) { return qobject_cast<QAction *>(form->command(QLatin1String(name)))->text(); }
    std::vector<int> selectedRows() const { return selectedLogRows(*form); }
};

QString hours(const QJsonValue &seconds)
{
    return QString::fromLatin1(numtext::clockText(qint32(seconds.toDouble())));
}

} // namespace

class TestStatisticsWindow : public QObject {
    Q_OBJECT
private slots:
    void windowShowsWhatTheToolReports();
    void leavingOutAndCarryingOverModifyTheLog();
    void yearBarSelectsThatYearsFlights();
    void keyboardMovesInTheYearTableSelect();
    void chartLabelsStayRightOfTheHourScale();
    void printCommandWritesThePdf();
    void printDrawsTheLogAsItWasAndCancelWritesNothing();
};

void TestStatisticsWindow::windowShowsWhatTheToolReports()
{
    Fixture f;
    QVERIFY(!f.form->isCommandEnabled(QStringLiteral("MenuStatistics")));
    QVERIFY(!f.form->isCommandEnabled(QStringLiteral("LogBookPrint")));
    TFormStats *w = f.openStatistics();
    QVERIFY(w && w->isVisible());
    QVERIFY(f.form->isCommandEnabled(QStringLiteral("LogBookPrint")));
    // What only the companion holds reaches the tool through the saved log.
    f.form->logList()->selectRows(2, 2);
    f.click(w, "Exclude");
    w->carriedFlightsField()->setValue(40);
    w->carriedTimeField()->setText(QStringLiteral("123:45"));
    f.click(w, "SetCarried");
    f.form->logCommands().save();
    QVERIFY(!f.form->logBook().logModified);

    const ToolRun run = runTool({QStringLiteral("log"), QStringLiteral("stats"), f.logPath(), QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject tool = QJsonDocument::fromJson(run.out).object();
    const LogStatistics &shown = w->statistics();
    QCOMPARE(shown.flights, tool[u"total"][u"flights"].toInt());
    QCOMPARE(double(shown.seconds), tool[u"total"][u"seconds"].toDouble());
    QCOMPARE(shown.excluded, tool[u"excluded"].toInt());
    QCOMPARE(shown.excluded, 1);
    const QJsonArray years = tool[u"years"].toArray();
    QCOMPARE(w->yearTable()->rowCount(), years.size());
    for (int i = 0; i < years.size(); ++i) {
        const QJsonObject y = years[i].toObject();
        QCOMPARE(cell(w->yearTable(), i, 0), QString::number(y[u"year"].toInt()));
        QCOMPARE(cell(w->yearTable(), i, 1), QString::number(y[u"flights"].toInt()));
        QCOMPARE(cell(w->yearTable(), i, 2), hours(y[u"seconds"]));
        QCOMPARE(cell(w->yearTable(), i, 4), hours(y[u"longestSeconds"]));
        QCOMPARE(cell(w->yearTable(), i, 5), QString::number(y[u"highest"].toDouble(), 'f', 0) + QStringLiteral(" m"));
    }
    const QJsonArray sites = tool[u"sites"].toArray();
    QCOMPARE(w->siteTable()->rowCount(), sites.size());
    for (int i = 0; i < sites.size(); ++i) {
        const QJsonObject s = sites[i].toObject();
        QCOMPARE(cell(w->siteTable(), i, 0), s[u"site"].toString());
        QCOMPARE(cell(w->siteTable(), i, 2), hours(s[u"seconds"]));
        QCOMPARE(cell(w->siteTable(), i, 4), s[u"firstDate"].toString());
    }
    QCOMPARE(shown.longest.row, tool[u"records"][u"longest"][u"row"].toInt());
    QCOMPARE(shown.highest.row, tool[u"records"][u"highest"][u"row"].toInt());
}

// Each edit is a step of the log's history, named in the Edit menu; a new one drops the
// steps undone before it.
void TestStatisticsWindow::leavingOutAndCarryingOverModifyTheLog()
{
    Fixture f;
    TFormStats *w = f.openStatistics();
    const int flights = w->statistics().flights;
    QVERIFY(!f.form->isCommandEnabled(QStringLiteral("SaveBtn")));

    // Nothing selected: said, nothing changed.
    f.form->logList()->clearSelection();
    f.click(w, "Exclude");
    QCOMPARE(f.prompter.informed.size(), 1);
    QVERIFY(!f.form->logBook().logModified);

    f.form->logList()->selectRows(1, 2);
    f.click(w, "Exclude");
    QVERIFY(f.form->logBook().logModified);
    QVERIFY(f.form->isCommandEnabled(QStringLiteral("SaveBtn")));
    QCOMPARE(w->statistics().flights, flights - 2);
    QCOMPARE(w->statistics().excluded, 2);
    QVERIFY(w->summary()->text().contains(QStringLiteral("除外 2本")));
    QCOMPARE(f.itemText("UndoItem"), QStringLiteral("元に戻す: 統計から除外 2件(&U)"));
    // Every selected flight left out already: the same button counts them again.
    f.click(w, "Exclude");
    QCOMPARE(w->statistics().excluded, 0);
    QCOMPARE(f.itemText("UndoItem"), QStringLiteral("元に戻す: 統計に戻す 2件(&U)"));
    QCOMPARE(w->statistics().flights, flights);

    w->carriedFlightsField()->setValue(12);
    w->carriedTimeField()->setText(QStringLiteral("1:60"));
    f.click(w, "SetCarried");
    QCOMPARE(f.prompter.informed.size(), 2); // not a time: said, nothing kept
    QCOMPARE(f.form->logBook().companion.carriedFlights, 0);
    w->carriedTimeField()->setText(QStringLiteral("100:30:15"));
    f.click(w, "SetCarried");
    QCOMPARE(f.form->logBook().companion.carriedFlights, 12);
    QCOMPARE(f.form->logBook().companion.carriedSeconds, 100 * 3600 + 30 * 60 + 15);
    QCOMPARE(w->statistics().flights, flights + 12);

    f.trigger("UndoItem");
    QCOMPARE(f.form->logBook().companion.carriedFlights, 0);
    QCOMPARE(f.itemText("RedoItem"), QStringLiteral("やり直し: 繰越の設定(&R)"));
    f.trigger("UndoItem");
    QVERIFY(f.form->logBook().row(1).excludedFromStatistics && f.form->logBook().row(2).excludedFromStatistics);
    w->carriedTimeField()->setText(QStringLiteral("1:00"));
    f.click(w, "SetCarried");
    QVERIFY(!f.form->isCommandEnabled(QStringLiteral("RedoItem")));
}

void TestStatisticsWindow::yearBarSelectsThatYearsFlights()
{
    Fixture f;
    TFormStats *w = f.openStatistics();
    w->tabs()->setCurrentIndex(w->tabs()->count() - 1);
    StatsChartView *chart = w->yearChart();
    QTRY_VERIFY(chart->isVisible() && chart->width() > 100);
    const LogBook &book = f.form->logBook();
    for (int bar = 0; bar < chart->barCount(); ++bar) {
        QTest::mouseClick(chart, Qt::LeftButton, {}, chart->barColumn(bar).bottomLeft().toPoint() + QPoint(2, -2));
        std::vector<int> expected;
        for (int row = 1; row < book.rowCount(); ++row) {
            if (flightYear(book.row(row).date) == w->statistics().years[size_t(bar)].year)
                expected.push_back(row);
        }
        QCOMPARE(f.selectedRows(), expected);
    }
    QVERIFY(chart->barCount() >= 2);
}

void TestStatisticsWindow::keyboardMovesInTheYearTableSelect()
{
    Fixture f;
    TFormStats *w = f.openStatistics();
    QTableWidget *years = w->yearTable();
    QVERIFY(years->rowCount() >= 2);
    const LogBook &book = f.form->logBook();
    const auto flightsOf = [&](int yearRow) {
        std::vector<int> rows;
        for (int row = 1; row < book.rowCount(); ++row) {
            if (flightYear(book.row(row).date) == w->statistics().years[size_t(yearRow)].year)
                rows.push_back(row);
        }
        return rows;
    };
    years->setCurrentCell(1, 0);
    f.form->logList()->clearSelection();
    QTest::keyClick(years, Qt::Key_Up);
    QCOMPARE(years->currentRow(), 0);
    QCOMPARE(f.selectedRows(), flightsOf(0));
    QTest::keyClick(years, Qt::Key_Down);
    QCOMPARE(f.selectedRows(), flightsOf(1));
}

// Seventy years in a narrow chart: only every n-th year is labelled, no label reaches left
// of the axis, where the hour scale's "0h" stands, or past the chart's edge, and none
// touches the next.
void TestStatisticsWindow::chartLabelsStayRightOfTheHourScale()
{
    StatsChartView chart(QStringLiteral("年別"));
    std::vector<StatsChartView::Bar> bars;
    for (int year = 1970; year < 2040; ++year)
        bars.push_back({QString::number(year), qint64(year - 1960) * 367 * 36});
    chart.setBars(bars);
    for (const int width : {chart.minimumWidth(), 1500}) {
        chart.resize(width, 160);
        int labelled = 0;
        QRectF before;
        for (int i = 0; i < chart.barCount(); ++i) {
            const QRectF label = chart.labelArea(i);
            if (label.isEmpty())
                continue;
            ++labelled;
            QVERIFY2(label.left() >= chart.plotArea().left() && label.right() <= chart.width(), qPrintable(bars[size_t(i)].label));
            QVERIFY2(before.isEmpty() || label.left() > before.right(), qPrintable(bars[size_t(i)].label)); // "19701973"
            before = label;
        }
        QVERIFY(labelled >= 2);
    }
}

void TestStatisticsWindow::printCommandWritesThePdf()
{
    Fixture f;
    f.openStatistics();
    StatisticsCommands &c = f.form->statisticsCommands();
    c.askRange = [](QWidget *) { return LogBookRange{QStringLiteral("90/01/01"), QString()}; };
    c.choosePrinter = [](QPrinter &, QWidget *) { return PrintTarget::Pdf; };
    const QString pdf = f.dir.filePath(QStringLiteral("book.pdf"));
    f.prompter.files.push_back(pdf);
    f.trigger("LogBookPrint");
    QCOMPARE(f.prompter.dialogs.last(), QStringLiteral("save:") + f.dir.filePath(QStringLiteral("three-flights.pdf")));
    QTRY_VERIFY(!c.printing().isRunning());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5).startsWith("%PDF"));

    // A printer is drawn on by the worker too (here one that prints into a file).
    const QString printed = f.dir.filePath(QStringLiteral("printer.pdf"));
    c.choosePrinter = [&](QPrinter &printer, QWidget *) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return PrintTarget::Printer;
    };
    f.trigger("LogBookPrint");
    QTRY_VERIFY(!c.printing().isRunning());
    QVERIFY(QFileInfo(printed).size() > 1000);
}

void TestStatisticsWindow::printDrawsTheLogAsItWasAndCancelWritesNothing()
{
    // A hundred pages, so that the print is still drawing while the test acts.
    Fixture f;
    f.openStatistics();
    LogBook &book = f.form->logBook();
    while (book.rowCount() <= 2000)
        book.appendRow(book.row(1));
    f.form->setGridRowCount(book.rowCount());
    const int pages = int(logBookPages(book, logBookSelection(book, 0, 0)).size());
    StatisticsCommands &c = f.form->statisticsCommands();
    c.askRange = [](QWidget *) { return LogBookRange{}; };
    c.choosePrinter = [](QPrinter &, QWidget *) { return PrintTarget::Pdf; };
    const QString cancelled = f.dir.filePath(QStringLiteral("cancelled.pdf"));
    const QString whole = f.dir.filePath(QStringLiteral("whole.pdf"));

    f.prompter.files = {cancelled};
    f.trigger("LogBookPrint");
    QVERIFY(c.printing().isRunning());
    // A second print waits for the first: its command is off meanwhile, and back after.
    QObject *printCommand = f.form->command(QStringLiteral("LogBookPrint"));
    QVERIFY(!qobject_cast<QAction *>(printCommand)->isEnabled());
    f.form->statusBar()->findChild<QPushButton *>(QStringLiteral("LogBookPrintCancel"))->click();
    QTRY_VERIFY(!c.printing().isRunning());
    QVERIFY(qobject_cast<QAction *>(printCommand)->isEnabled());
    QVERIFY(!QFile::exists(cancelled));
    QVERIFY(f.form->statusBar()->findChildren<QPushButton *>(QStringLiteral("LogBookPrintCancel")).isEmpty());

    // The rows deleted while the pages are drawn are printed all the same.
    f.prompter.files = {whole};
    f.trigger("LogBookPrint");
    while (book.rowCount() > 2)
        book.removeRow(book.rowCount() - 1);
    f.form->setGridRowCount(book.rowCount());
    QTRY_VERIFY_WITH_TIMEOUT(!c.printing().isRunning(), 120000);
    QFile file(whole);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(int(file.readAll().count("/Type /Page\n")), pages);
}

QTEST_MAIN(TestStatisticsWindow)
#include "tst_statisticswindow.moc"
