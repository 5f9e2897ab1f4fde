// The log book commands driven through the real main window's menu items and buttons:
// the log book, the list, the files on disk and the enabled commands after each step.
#include "tests/app/maincommandsfixture.h"

using namespace maincommands;

class TestMainCommands : public QObject {
    Q_OBJECT
private slots:
    void openFillsListCaptionNameAndCommands();
    void cancelledOpenDialogChangesNothing();
    void gateQuestionComesBeforeDiscardQuestion();
    void damagedLogKeepsCompleteFlightsAndSaysHowMany();
    void addingReportsDuplicatesOnce();
    void saveAsKeepsWhateverItReplaces();
    void savingTwiceKeepsTheFirstBackup();
    void sortReportsDuplicatesAndLeavesSaveAlone();
    void csvEncodingIsTheExportDialogsFileType();
    void igcExportOfTheSelectedRow();
    void showBarographHandsOverRowsAndQueuesOnce();
    void editOpensOneEditorPerRowAndCloseAllEditors();
    void commandLineOpen();
    void totalsSortFirstAndReuseTheirWindow();
    void realEditorsFromDoubleClickAndNewFlight();
    void exitAsksEveryQuestionBeforeClosingAnything();
    void workspaceBackground();
};

void TestMainCommands::openFillsListCaptionNameAndCommands()
{
    Fixture f;
    f.openSample();
    QCOMPARE(f.prompter.dialogs, QStringList{QStringLiteral("open:ログファイル(*.log)")});
    QCOMPARE(f.book().rowCount(), 4);
    QCOMPARE(f.book().currentLogPath, f.dir.filePath("three-flights.log"));
    QCOMPARE(f.book().workFolder, f.dir.path() + u'/');
    QCOMPARE(f.form->logList()->windowTitle(), QStringLiteral("ログファイル - ")
                                                   + QDir::toNativeSeparators(f.dir.filePath("three-flights.log")));
    QCOMPARE(f.form->logList()->nameField()->text(), QStringLiteral("春の足尾山"));
    QCOMPARE(f.gridRows(), 4);
    QCOMPARE(f.cell(1, 3), QStringLiteral("足尾山"));
    QVERIFY(!f.book().logModified);
    QVERIFY(f.recordCommands(true));
    QVERIFY(f.enabled("FileSaveAsItem") && f.enabled("Reload"));
    QVERIFY(!f.enabled("SaveBtn") && !f.enabled("FileSaveItem"));
    QVERIFY(f.prompter.informed.isEmpty());

    // An empty log: record commands on, one blank row; Edit and Show barograph do nothing.
    f.openSample("empty.log");
    QCOMPARE(f.gridRows(), 2);
    QVERIFY(f.recordCommands(true));
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("名前ファイルが開けません。")});
    f.click("SBEdit");
    f.click("SBGraph");
    QCOMPARE(f.form->workspace()->subWindowList().size(), 1);
}

void TestMainCommands::cancelledOpenDialogChangesNothing()
{
    Fixture f;
    f.openSample();
    f.book().logModified = true;
    f.prompter.answers = {Answer::Ok};  // discard the changes
    f.prompter.files = {QString()};     // then cancel the dialog
    f.click("OpenBtn");
    QCOMPARE(f.book().rowCount(), 4);
    QVERIFY(f.book().logModified);
    QVERIFY(f.form->logList()->windowTitle().endsWith(QStringLiteral("three-flights.log")));
    QVERIFY(f.recordCommands(true));

    // A file that cannot be read: the message, and the record commands as they were.
    f.prompter.answers = {Answer::Ok};
    f.prompter.files = {f.dir.filePath("no-such.log")};
    f.trigger("FileOpenItem");
    QCOMPARE(f.prompter.informed.last(), QStringLiteral("LOGファイルが開けません。"));
    QCOMPARE(f.book().rowCount(), 4);
    QVERIFY(f.recordCommands(true));
}

void TestMainCommands::gateQuestionComesBeforeDiscardQuestion()
{
    Fixture f;
    f.openSample();
    f.form->logList()->selectRows(1, 1);
    f.click("SBGraph");
    QVERIFY(f.book().row(1).graphOpen);
    QVERIFY(!f.enabled("DeleteItem") && !f.enabled("CutBtn"));
    QVERIFY(f.enabled("GraphClose"));
    f.book().logModified = true;

    f.prompter.answers = {Answer::Cancel};
    f.trigger("FileOpenItem");
    QCOMPARE(f.prompter.asked.size(), size_t(1));
    QCOMPARE(f.prompter.asked[0].text, QStringLiteral("ﾃﾞｰﾀ編集、ｸﾞﾗﾌｨｯｸ表示がされています。\nすべて閉じますか？"));
    QCOMPARE(f.prompter.informed.last(),
             QStringLiteral("ﾃﾞｰﾀ編集/ｸﾞﾗﾌ表示のすべてを削除できませんでした。\n作業を中止します。"));
    QVERIFY(f.book().row(1).graphOpen);

    f.prompter.answers = {Answer::Ok, Answer::Cancel}; // close them all, then keep the changes
    f.trigger("FileOpenItem");
    QCOMPARE(f.prompter.asked.size(), size_t(3));
    QCOMPARE(f.prompter.asked[2].text, QStringLiteral("現在のログファイルは変更されています。\n破棄してもいいですか？"));
    QVERIFY(f.prompter.asked[2].icon == Prompter::Icon::Exclamation);
    QVERIFY(!f.book().row(1).graphOpen);
    QVERIFY(f.enabled("DeleteItem") && f.enabled("CutBtn"));
    QVERIFY(!f.enabled("GraphClose"));
    QVERIFY(f.book().logModified);
}

void TestMainCommands::damagedLogKeepsCompleteFlightsAndSaysHowMany()
{
    Fixture f;
    const QByteArray before = readAll(f.dir.filePath("damaged-inside-record.log"));
    f.openSample("damaged-inside-record.log");
    QCOMPARE(f.prompter.informed.first(),
             QStringLiteral("LOGファイルが壊れています。\n3件のログのうち2件を読み込みました。"));
    QCOMPARE(f.book().rowCount(), 3);
    QCOMPARE(f.gridRows(), 3);
    QCOMPARE(readAll(f.dir.filePath("damaged-inside-record.log")), before);
}

void TestMainCommands::addingReportsDuplicatesOnce()
{
    Fixture f;
    f.openSample();
    f.prompter.files = {f.dir.filePath("three-flights.log")};
    f.trigger("Reload");
    QCOMPARE(f.book().rowCount(), 7);
    QCOMPARE(f.gridRows(), 7);
    QCOMPARE(f.cell(6, 0), QStringLiteral("6"));
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("同一日時のログがあります。")});
    QVERIFY(f.book().logModified);
    QVERIFY(f.enabled("SaveBtn") && f.enabled("FileSaveItem") && f.enabled("FileSaveAsItem"));
    QCOMPARE(f.book().currentLogPath, f.dir.filePath("three-flights.log"));

    f.prompter.files = {f.dir.filePath("missing.log")};
    f.trigger("Reload");
    QCOMPARE(f.prompter.informed.last(), QStringLiteral("追加LOGファイルが開けません。"));
    QCOMPARE(f.book().rowCount(), 7);
}

void TestMainCommands::saveAsKeepsWhateverItReplaces()
{
    Fixture f;
    f.openSample();
    const QByteArray original = readAll(f.dir.filePath("three-flights.log"));
    f.book().removeRow(3);
    f.book().logModified = true;
    // "three-flights" is the current file: it is backed up before it is replaced. A name
    // differing only in letter case is another file here, and the current one stays.
    f.prompter.files = {f.dir.filePath("THREE-FLIGHTS.LOG"), f.dir.filePath("three-flights")};
    f.trigger("FileSaveAsItem");
    QCOMPARE(f.prompter.dialogs.last(), QStringLiteral("save, old kept:") + f.dir.filePath("three-flights.log"));
    QCOMPARE(readAll(f.dir.filePath("three-flights.log")), original);
    QVERIFY(!QFile::exists(f.dir.filePath("bak")));
    f.book().logModified = true;
    f.trigger("FileSaveAsItem");
    QCOMPARE(readAll(f.dir.filePath("bak/three-flights.log")), original);
    QCOMPARE(f.book().currentLogPath, f.dir.filePath("three-flights.log"));
    QVERIFY(!f.book().logModified);
    QVERIFY(!f.enabled("SaveBtn"));
    QCOMPARE(parseLogFile(readAll(f.book().currentLogPath)).records.size(), size_t(3));
}

void TestMainCommands::savingTwiceKeepsTheFirstBackup()
{
    Fixture f;
    f.openSample();
    const QByteArray original = readAll(f.dir.filePath("three-flights.log"));
    QTest::keyClicks(f.form->logList()->nameField(), QStringLiteral("!"));
    QVERIFY(f.enabled("SaveBtn"));
    f.click("SaveBtn");
    QVERIFY(!f.enabled("SaveBtn"));
    QCOMPARE(readAll(f.dir.filePath("three-flights.lif")), cp932::fromUnicode(u"春の足尾山!"));
    f.book().removeRow(1);
    QTest::keyClicks(f.form->logList()->nameField(), QStringLiteral("!"));
    f.trigger("FileSaveItem");
    QCOMPARE(readAll(f.dir.filePath("bak/three-flights.log")), original);
    QCOMPARE(parseLogFile(readAll(f.dir.filePath("three-flights.log"))).records.size(), size_t(3));
}


// The CSV's encoding is chosen as the export dialog's file type, UTF-8 first; the type last
// chosen is offered again.
void TestMainCommands::csvEncodingIsTheExportDialogsFileType()
{
    Fixture f;
    f.openSample();
    const QString csv = f.dir.filePath("flights.csv");
    f.prompter.dialogs.clear();
    f.prompter.files = {csv, csv};
    f.prompter.filterChoices = {1};
    f.trigger("FileCsvExport");
    QCOMPARE(readAll(csv), buildLogCsv(f.book(), CsvEncoding::Cp932).bytes);
    f.trigger("FileCsvExport");
    QCOMPARE(readAll(csv), buildLogCsv(f.book(), CsvEncoding::Cp932).bytes);
    const QString preset = f.dir.filePath("three-flights.csv");
    QCOMPARE(f.prompter.dialogs, (QStringList{
        QStringLiteral("save as CSVファイル UTF-8・Excelなど(*.csv):") + preset,
        QStringLiteral("save as CSVファイル Shift-JIS・古いソフト用(*.csv):") + preset}));
    QVERIFY(f.prompter.asked.empty());
}

// The File menu's IGC export writes the selected flight's barograph as saved; a sites file
// chosen when the settings name none is searched for the flight's area before anything is
// asked. A flight without a barograph is said.
void TestMainCommands::igcExportOfTheSelectedRow()
{
    Fixture f;
    f.openSample();
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/barograph/V7081114.V35"), f.dir.filePath("24050310.BRG")));
    QVERIFY(writeFile(f.dir.filePath("sites.cup"),
          QStringLiteral("name,code,country,lat,lon,elev\r\n\"足尾山\",ASHIO,JA,3617.583N,14007.250E,627m\r\n").toUtf8()) == std::nullopt);
    QVERIFY(f.enabled("FileIgcExport"));
    f.prompter.files = {f.dir.filePath("sites.cup"), f.dir.filePath("flight.igc")};
    f.form->logList()->selectRows(1, 1);
    f.trigger("FileIgcExport");
    QCOMPARE(f.prompter.informed, QStringList{baromsg::IgcNoSite.toString()});
    QVERIFY(readAll(f.dir.filePath("flight.igc")).startsWith("AXDUBAR\r\nHFDTEDATE:030524,01\r\n"));

    f.prompter.informed.clear();
    f.form->logList()->selectRows(2, 2);
    f.trigger("FileIgcExport");
    QCOMPARE(f.prompter.informed, QStringList{baromsg::IgcNoBarograph.toString()});
}

void TestMainCommands::sortReportsDuplicatesAndLeavesSaveAlone()
{
    Fixture f;
    f.openSample();
    f.prompter.files = {f.dir.filePath("three-flights.log")};
    f.trigger("Reload");
    f.click("SaveBtn"); // saved: the save commands are off, nothing is modified
    f.prompter.informed.clear();
    f.trigger("SortByDate");
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("同一日時のログがあります。")});
    QCOMPARE(f.cell(1, 1), QStringLiteral("99/12/31"));
    QCOMPARE(f.cell(2, 1), QStringLiteral("99/12/31"));
    QCOMPARE(f.cell(6, 0), QStringLiteral("6"));
    QVERIFY(!f.book().logModified);
    QVERIFY(!f.enabled("SaveBtn"));
}

void TestMainCommands::showBarographHandsOverRowsAndQueuesOnce()
{
    Fixture f;
    f.openSample();
    f.form->logList()->selectRows(1, 3);
    f.trigger("MenuBaroLoad");
    // Rows 1 and 3 have barograph files, row 2 came from a file without one.
    QVERIFY(f.book().row(1).graphOpen && f.book().row(3).graphOpen);
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("バログラフを表示できません。")});
    QVERIFY(f.enabled("HeightAdjust"));
    f.trigger("MenuBaroLoad");
    QCOMPARE(f.prompter.informed.count(QStringLiteral("すでに表示しています。")), 2);

    // A row from the latest download without a barograph file waits in the queue, once.
    f.book().row(2).deviceIndex = 2;
    f.form->logList()->selectRows(2, 2);
    f.click("SBGraph");
    f.click("SBGraph");
    QCOMPARE(f.form->downloadState().baroQueue, std::vector<int>{2});
    QVERIFY(f.form->loadTimer()->isActive());
    QCOMPARE(f.form->loadTimer()->interval(), 300);

    // While the row waits for its barograph, rows may not be reordered, removed or replaced.
    f.prompter.informed.clear();
    f.trigger("SortByDate");
    f.trigger("FileOpenItem");
    QCOMPARE(f.prompter.informed.count(QStringLiteral("ﾃﾞｰﾀのﾛｰﾄﾞ中です。\nﾛｰﾄﾞが終わってからもう一度実行してください。")), 2);
    QVERIFY(f.prompter.asked.empty());
    QCOMPARE(f.book().rowCount(), 4);
    f.form->downloadState().baroQueue.clear();
    f.form->loadTimer()->stop();

    // Close all graphs; a window that refuses keeps the command enabled.
    dynamic_cast<StubRowWindow *>(f.book().row(3).graphWindow.data())->refuseClose = true;
    f.trigger("GraphClose");
    QVERIFY(!f.book().row(1).graphOpen && f.book().row(3).graphOpen);
    QVERIFY(f.enabled("GraphClose") && f.enabled("HeightAdjust"));
    dynamic_cast<StubRowWindow *>(f.book().row(3).graphWindow.data())->refuseClose = false;
    f.trigger("GraphClose");
    QVERIFY(!f.enabled("GraphClose") && !f.enabled("HeightAdjust"));
    QVERIFY(f.enabled("DeleteItem") && f.enabled("CutBtn"));
}

void TestMainCommands::editOpensOneEditorPerRowAndCloseAllEditors()
{
    Fixture f;
    f.openSample();
    f.form->logList()->selectRows(2, 3);
    f.click("SBEdit");
    QVERIFY(f.book().row(2).editorOpen && f.book().row(3).editorOpen);
    QVERIFY(f.enabled("DataEditClose"));
    QVERIFY(!f.enabled("DeleteItem") && !f.enabled("CutBtn"));
    f.form->logList()->selectRows(1, 3);
    f.click("SBEdit");
    QCOMPARE(f.prompter.informed.count(QStringLiteral("すでに編集中です。")), 2);
    QVERIFY(f.book().row(1).editorOpen);

    f.trigger("MenuNewLog");
    QVERIFY(!f.enabled("MenuNewLog"));
    f.trigger("DataEditClose");
    QVERIFY(!f.enabled("DataEditClose"));
    QVERIFY(f.enabled("DeleteItem") && f.enabled("SBEdit"));
}

void TestMainCommands::commandLineOpen()
{
    Fixture f;
    f.form->openLog(f.dir.filePath("three-flights.log"));
    QVERIFY(f.prompter.dialogs.isEmpty());
    QCOMPARE(f.book().rowCount(), 4);
}

void TestMainCommands::totalsSortFirstAndReuseTheirWindow()
{
    Fixture f;
    f.trigger("MenuTotal"); // no flights: nothing happens
    QCOMPARE(f.form->workspace()->subWindowList().size(), 1);
    f.openSample();
    // The list's selection totalled in the status bar.
    f.form->logList()->selectRows(2, 3);
    auto *selection = f.form->findChild<QLabel *>(QStringLiteral("SelectionTotals"));
    QCOMPARE(selection->text(), QStringLiteral("選択 2件　滞空時間 00:25:13"));
    f.form->logList()->selectRowSet({1, 3}); // gaps count the rows, not the span
    QCOMPARE(selection->text(), QStringLiteral("選択 2件　滞空時間 01:12:50"));

    // An editor is open: the sort's question, declined, then its message; the table follows
    // the list as it is.
    f.form->logList()->selectRows(1, 1);
    f.click("SBEdit");
    f.trigger("MenuTotal");
    QCOMPARE(f.prompter.asked.size(), size_t(1));
    QCOMPARE(f.prompter.informed.last(), QStringLiteral("ﾃﾞｰﾀ編集/ｸﾞﾗﾌ表示のすべてを削除できませんでした。\n作業を中止します。"));
    TFormTotal *totals = f.form->logCommands().totalsWindow();
    QVERIFY(totals && totals->isVisible());
    QCOMPARE(totals->windowTitle(), QStringLiteral("集計"));
    QCOMPARE(totals->nameField()->text(), QStringLiteral("春の足尾山"));
    QCOMPARE(totals->model()->rowCount(), 7); // 2024, then 1999: a year row after each
    QCOMPARE(totals->model()->index(6, 1).data().toString(), QStringLiteral("  1999年"));

    // Sorted the second time; the same window shows the new table whole.
    f.prompter.answers = {Answer::Ok};
    totals->showMinimized();
    f.trigger("MenuTotal");
    QCOMPARE(f.form->logCommands().totalsWindow(), totals);
    QVERIFY(!totals->isMinimized());
    QCOMPARE(f.cell(1, 1), QStringLiteral("99/12/31"));
    const FlightTotals expected = computeTotals(f.book());
    QCOMPARE(totals->model()->rowCount(), expected.rowCount());
    for (int r = 0; r < expected.rowCount(); ++r) {
        for (int c = 0; c < kFieldCount; ++c) {
            if (c != 7) // the comment cell shows line breaks as a mark
                QCOMPARE(totals->model()->index(r, c).data().toString(), cp932::toUnicode(expected.cell(r, c)));
        }
    }
    QCOMPARE(totals->grid()->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("滞空時間"));
    QCOMPARE(f.form->workspace()->subWindowList().size(), 2);
    totals->close();
    QTRY_VERIFY(!f.form->logCommands().totalsWindow());
}

void TestMainCommands::realEditorsFromDoubleClickAndNewFlight()
{
    Fixture f;
    f.form->setEditorWindowFactory([](MainFormLink &l) { return new TDataEdit(l); });
    f.openSample();
    QTableView *grid = f.form->logList()->grid();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    // A double-click below the last row edits the selected rows.
    f.form->logList()->selectRows(2, 3);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(10, grid->viewport()->height() - 4));
    QVERIFY(f.book().row(2).editorOpen && f.book().row(3).editorOpen);
    QVERIFY(f.enabled("DataEditClose") && !f.enabled("DeleteItem") && !f.enabled("CutBtn"));
    f.trigger("MenuNewLog");
    QVERIFY(!f.enabled("MenuNewLog"));

    // OK on flight 2 with its altitude changed: the number in the editor's format, the log
    // modified.
    auto *second = qobject_cast<TDataEdit *>(f.book().row(2).editorWindow.data());
    second->EdMaxH->setText(QStringLiteral("613"));
    second->BBOk->click();
    QCOMPARE(f.cell(2, 5), QStringLiteral("613.0 m"));
    QVERIFY(f.book().logModified && f.enabled("SaveBtn") && f.enabled("FileSaveItem"));
    QVERIFY(!f.enabled("DeleteItem")); // flight 3 is still being edited

    // The new flight saves as row 4; closing every editor gives the commands back.
    auto *added = f.form->findChild<TDataEdit *>();
    for (TDataEdit *e : f.form->findChildren<TDataEdit *>()) {
        if (e->isNewFlight())
            added = e;
    }
    added->BBOk->click();
    QCOMPARE(f.book().rowCount(), 5);
    QCOMPARE(f.cell(4, 0), QStringLiteral("4"));
    QVERIFY(f.enabled("MenuNewLog"));
    f.trigger("DataEditClose");
    QVERIFY(!f.book().row(3).editorOpen);
    QVERIFY(f.enabled("DeleteItem") && f.enabled("CutBtn") && f.enabled("SBEdit") && !f.enabled("DataEditClose"));
}

void TestMainCommands::exitAsksEveryQuestionBeforeClosingAnything()
{
    Fixture f;
    f.openSample();
    f.form->logList()->selectRows(1, 3);
    f.click("SBGraph");
    auto *graph = dynamic_cast<StubRowWindow *>(f.book().row(1).graphWindow.data());
    auto *other = dynamic_cast<StubRowWindow *>(f.book().row(3).graphWindow.data());
    // Cancel at a window's own question: nothing closes and the log is not asked about.
    graph->refuseClose = true;
    f.book().logModified = true;
    QVERIFY(!f.form->close());
    QVERIFY(f.prompter.asked.empty());
    QVERIFY(graph->isVisible() && other->isVisible());
    // Cancel at the log's question: every window stays as it was.
    graph->refuseClose = false;
    f.prompter.answers = {Answer::Cancel};
    QVERIFY(!f.form->close());
    QVERIFY(graph->isVisible() && other->isVisible() && f.book().row(1).graphOpen);
    // No: each window closes without asking a second time, then the program.
    f.prompter.answers = {Answer::No};
    const int asked = graph->questions;
    QVERIFY(f.form->close());
    QCOMPARE(graph->questions, asked + 1);
    QVERIFY(!f.book().row(1).graphOpen && !f.book().row(3).graphOpen);
}

void TestMainCommands::workspaceBackground()
{
    // 100 pixels high: bands of one pixel, blue falling by 4 per band, then black.
    const QImage hundred = Workspace::renderBackground(QSize(10, 100), QSize(20, 140), false, false, {});
    QCOMPARE(hundred.pixelColor(5, 0), QColor(0, 0, 255));
    QCOMPARE(hundred.pixelColor(5, 63), QColor(0, 0, 255 - 4 * 63));
    QCOMPARE(hundred.pixelColor(5, 64), QColor(Qt::black));
    QCOMPARE(hundred.pixelColor(5, 99), QColor(Qt::black));
    // Lower than 64 pixels: all black.
    const QImage low = Workspace::renderBackground(QSize(10, 63), QSize(20, 100), false, false, {});
    QCOMPARE(low.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(low.pixelColor(9, 62), QColor(Qt::black));
    // A picture wanted but none loaded: the gradient, not an endless tiling.
    const QImage none = Workspace::renderBackground(QSize(10, 128), QSize(20, 140), true, false, QImage());
    QCOMPARE(none.pixelColor(0, 2), QColor(0, 0, 251));
    // Tiled from the top-left corner over the whole frame size; stretched over the client.
    QImage tile(3, 2, QImage::Format_RGB32);
    tile.fill(Qt::red);
    tile.setPixelColor(0, 0, Qt::green);
    const QImage tiled = Workspace::renderBackground(QSize(5, 5), QSize(8, 6), true, false, tile);
    QCOMPARE(tiled.size(), QSize(8, 6));
    QCOMPARE(tiled.pixelColor(3, 2), QColor(Qt::green));
    QCOMPARE(tiled.pixelColor(6, 4), QColor(Qt::green));
    QCOMPARE(tiled.pixelColor(4, 2), QColor(Qt::red));
    const QImage stretched = Workspace::renderBackground(QSize(6, 4), QSize(8, 6), true, true, tile);
    QCOMPARE(stretched.pixelColor(1, 1), QColor(Qt::green));
    QCOMPARE(stretched.pixelColor(5, 3), QColor(Qt::red));
    QCOMPARE(stretched.pixelColor(7, 5), QColor(Qt::black));
}

QTEST_MAIN(TestMainCommands)
#include "tst_maincommands.moc"
