// The import of other instruments' logs through the real main window: the preview read off
// the window's thread, a choice on a duplicate, one save and one undo step, the report, and
// the commands held while the preview is open.
#include "app/core/messages.h"
#include "barograph/core/messages.h"
#include "barograph/ui/tformimport.h"
#include "logbook/core/messages.h"
#include "logbook/core/logfiles.h"
#include "tests/common/samplewindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Window : SampleWindow {
    Window()
    {
        // Two copies of one real log (the second is a duplicate within the batch) and a file
        // that is no log.
        QDir(dir.path()).mkpath(QStringLiteral("logs"));
        const QString napret = QStringLiteral(REALFLIGHTS_DIR "/igc/pg-napret.igc");
        QFile::copy(napret, dir.filePath(QStringLiteral("logs/a.igc")));
        QFile::copy(napret, dir.filePath(QStringLiteral("logs/b.igc")));
        QFile notes(dir.filePath(QStringLiteral("logs/c.igc")));
        if (notes.open(QIODevice::WriteOnly))
            notes.write("no flight here\n");
        notes.close();
        form->openLog(logPath());
    }

    // Opens the preview and reads the folder; the preview when it is ready.
    TFormImport *preview()
    {
        trigger("FileImportFlights");
        TFormImport *dialog = form->importCommand().dialog();
        if (!dialog)
            return nullptr;
        QSignalSpy ready(dialog, &TFormImport::previewReady);
        dialog->readSources({dir.filePath(QStringLiteral("logs"))});
        return ready.wait(20000) ? dialog : nullptr;
    }
};

} // namespace

class TestImportWindow : public QObject {
    Q_OBJECT
private slots:
    void previewThenOneSaveAndOneUndoStep();
    void closingThePreviewWritesNothing();
    void aFailedWriteTakesTheFlightsBack();
    void aLogDoubleClickedWaitsForThePreview();
    void theChosenZoneGivesTheTimesAndIsKept();
};

void TestImportWindow::previewThenOneSaveAndOneUndoStep()
{
    Window w;
    TFormImport *dialog = w.preview();
    QVERIFY(dialog);
    // While the preview is open, nothing may move the rows it names.
    for (const char *held : {"DeleteItem", "SortByDate", "Reload", "FileImportFlights"})
        QVERIFY2(!w.enabled(held), held);
    QCOMPARE(dialog->items().size(), size_t(3));
    QCOMPARE(dialog->findChild<QProgressBar *>(QStringLiteral("ImportProgress"))->format(), QStringLiteral("3件を読みました"));
    QCOMPARE(dialog->items()[1].status, ImportItem::Status::Duplicate);
    auto *summary = dialog->findChild<QLabel *>(QStringLiteral("ImportSummary"));
    QCOMPARE(summary->text(), baromsg::ImportWouldDo.toString().arg(QStringLiteral("1件取り込み、1件は既にあります、1件は読めません")));
    dialog->findChild<QComboBox *>(QStringLiteral("ImportChoice1"))->setCurrentIndex(1); // add it anyway
    QCOMPARE(summary->text(), baromsg::ImportWouldDo.toString().arg(QStringLiteral("2件取り込み、0件は既にあります、1件は読めません")));

    dialog->findChild<QPushButton *>(QStringLiteral("ImportApply"))->click();
    const LogBook &book = w.form->logBook();
    QCOMPARE(book.rowCount(), 6);
    QCOMPARE(w.prompter.informed.last(), QStringLiteral("2件取り込み、0件は既にあります、1件は読めません"));
    // One save: the log on disk holds the new rows, and their barographs stand beside it.
    QVERIFY(!book.logModified);
    const std::optional<LogFileContents> saved = readLogFile(w.dir.filePath("three-flights.log"));
    QVERIFY(saved && saved->records.size() == 6);
    for (int r : {4, 5})
        QVERIFY(QFile::exists(w.dir.filePath(QString::fromLatin1(book.row(r).barographFile.toByteArray()))));
    QVERIFY(w.enabled("DeleteItem") && w.enabled("FileImportFlights") && w.enabled("UndoItem"));
    // One undo step takes both flights back.
    auto *undo = qobject_cast<QAction *>(w.form->command(QStringLiteral("UndoItem")));
    QVERIFY(undo->text().contains(baromsg::ImportStep));
    undo->trigger();
    QCOMPARE(book.rowCount(), 4);
}

void TestImportWindow::closingThePreviewWritesNothing()
{
    Window w;
    const QByteArray before = [&] {
        QFile f(w.dir.filePath("three-flights.log"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QStringList files = QDir(w.dir.path()).entryList(QDir::Files);
    TFormImport *dialog = w.preview();
    QVERIFY(dialog);
    dialog->findChild<QPushButton *>(QStringLiteral("ImportClose"))->click();
    QCOMPARE(w.form->logBook().rowCount(), 4);
    QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files), files);
    QFile f(w.dir.filePath("three-flights.log"));
    QVERIFY(f.open(QIODevice::ReadOnly) && f.readAll() == before);
    QVERIFY(w.enabled("DeleteItem") && w.enabled("FileImportFlights"));
    QVERIFY(!w.enabled("UndoItem"));
}

void TestImportWindow::aFailedWriteTakesTheFlightsBack()
{
    Window w;
    QFile bak(w.dir.filePath(QStringLiteral("bak"))); // where the log's old version must go: a file, not a folder
    QVERIFY(bak.open(QIODevice::WriteOnly));
    bak.close();
    TFormImport *dialog = w.preview();
    QVERIFY(dialog);
    dialog->findChild<QPushButton *>(QStringLiteral("ImportApply"))->click();
    QCOMPARE(w.form->logBook().rowCount(), 4);
    QVERIFY(w.prompter.informed.last().startsWith(msg::LogFileCannotOpen));
    QVERIFY(!w.enabled("UndoItem") && !w.enabled("RedoItem"));
    QVERIFY(QDir(w.dir.path()).entryList({QStringLiteral("V*")}, QDir::Files).isEmpty());
}

// The start-folder dialog opens a log without the open command: it is held all the same.
void TestImportWindow::aLogDoubleClickedWaitsForThePreview()
{
    Window w;
    QVERIFY(w.preview());
    w.trigger("MenuStartDir");
    QVERIFY(w.form->formDir());
    const QString other = w.dir.filePath(QStringLiteral("other.log"));
    QVERIFY(QFile::copy(w.logPath(), other));
    emit w.form->formDir()->logFileChosen(other);
    QCOMPARE(w.prompter.informed.last(), msg::OpenHeldByImport);
    QCOMPARE(w.form->logBook().currentLogPath, w.logPath());
}

// The zone chosen in the preview gives its dates and times at once, and the next preview
// starts in it.
void TestImportWindow::theChosenZoneGivesTheTimesAndIsKept()
{
    Window w;
    TFormImport *dialog = w.preview();
    QVERIFY(dialog);
    auto *zone = dialog->findChild<QComboBox *>(QStringLiteral("ImportZone"));
    const auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("ImportTable"));
    const auto cell = [table](int column) { return table->item(0, column)->text(); };
    // napret starts in the air at its first fix, 12:00:00 UTC on 2016-04-03.
    zone->setCurrentIndex(zone->findData(0));
    QCOMPARE(cell(TFormImport::ColTime), QStringLiteral("12:00:00"));
    zone->setCurrentIndex(zone->findData(12 * 60));
    QCOMPARE(cell(TFormImport::ColDate), QStringLiteral("16/04/04"));
    QCOMPARE(cell(TFormImport::ColTime), QStringLiteral("00:00:00"));
    dialog->findChild<QPushButton *>(QStringLiteral("ImportClose"))->click();
    QCOMPARE(w.form->settings().importUtcOffsetMinutes, std::optional<qint32>(12 * 60));
    w.trigger("FileImportFlights");
    QCOMPARE(w.form->importCommand().dialog()->findChild<QComboBox *>(QStringLiteral("ImportZone"))->currentData(),
             QVariant(12 * 60));
}

QTEST_MAIN(TestImportWindow)
#include "tst_importwindow.moc"
