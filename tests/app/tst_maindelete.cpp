// Deleting rows from the main window: the rows selected and no others, each barograph asked
// about once with the last row naming it, and undo bringing rows and files back.
#include "tests/app/maincommandsfixture.h"

using namespace maincommands;

class TestMainDelete : public QObject {
    Q_OBJECT
private slots:
    void deletingEveryFlightLeavesOneBlankRow();
    void deleteTakesOnlyTheSelectedRowsAcrossGaps();
    void deleteRemovesOnlyWhatNoOtherRowNames();
    void undoOfDeleteBringsBackRowsAndBarographFromBak();
};

void TestMainDelete::deletingEveryFlightLeavesOneBlankRow()
{
    Fixture f;
    f.openSample();
    QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/empty.log"), f.dir.filePath("24050310.BRG"));
    QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/empty.log"), f.dir.filePath("99123123.BRG"));
    f.form->logList()->selectRows(1, 3);
    f.prompter.answers = {Answer::Ok, Answer::Yes, Answer::No};
    f.click("CutBtn");
    QCOMPARE(f.prompter.asked.size(), size_t(3)); // the flight without a barograph is not asked about
    QCOMPARE(f.prompter.asked[0].text, QStringLiteral("選択されているログを削除します。"));
    QCOMPARE(f.prompter.asked[1].text, QStringLiteral("バログラフファイル：24050310.BRG\nを削除しますか？"));
    // Both stay until the log is saved; the one answered yes goes with that save.
    QVERIFY(QFile::exists(f.dir.filePath("24050310.BRG")) && QFile::exists(f.dir.filePath("99123123.BRG")));
    QCOMPARE(f.book().barographsToRetire, std::vector<QString>{f.dir.filePath("24050310.BRG")});
    QCOMPARE(f.book().rowCount(), 1);
    QCOMPARE(f.gridRows(), 2);
    QCOMPARE(f.cell(1, 3), QString());
    QVERIFY(f.recordCommands(false));
    QVERIFY(f.enabled("SaveBtn") && f.enabled("FileSaveItem"));
    QVERIFY(f.book().logModified);
}

// A year picked in the statistics or a rule's rows in the currency window select rows with
// gaps: delete takes those rows, never the ones between them.
void TestMainDelete::deleteTakesOnlyTheSelectedRowsAcrossGaps()
{
    Fixture f;
    f.openSample();
    QStringList middle;
    for (int c = 0; c < kFieldCount; ++c)
        middle << f.cell(2, c);
    f.form->logList()->selectRowSet({1, 3});
    f.prompter.answers = {Answer::Ok, Answer::No, Answer::No};
    f.click("CutBtn");
    QCOMPARE(f.book().rowCount(), 2);
    for (int c = 1; c < kFieldCount; ++c) // the number column counts rows afresh
        QCOMPARE(f.cell(1, c), middle[c]);
}

void TestMainDelete::deleteRemovesOnlyWhatNoOtherRowNames()
{
    Fixture f;
    QDir(f.dir.path()).mkdir("work");
    for (const char *name : {"x.BRG", "work/inside.BRG", "work/shared.BRG"})
        QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/empty.log"), f.dir.filePath(name));
    // A log that was never saved: barograph files are looked for in the work folder.
    f.book().workFolder = f.dir.filePath("work/");
    for (const char *name : {"../x.BRG", "inside.BRG", "shared.BRG", "SHARED.brg", "missing.BRG"})
        f.book().appendRow().barographFile = name;
    f.form->setGridRowCount(6);
    f.form->RedrawGrid();
    f.form->logList()->selectRows(1, 5);
    qobject_cast<QAction *>(f.form->command("DeleteItem"))->setEnabled(true);
    f.prompter.answers = {Answer::Ok, Answer::Yes, Answer::Yes, Answer::Yes}; // no question for ../x.BRG
    f.trigger("DeleteItem");
    // Merged copies of one flight share a file: it goes with the last row that names it.
    QStringList toRetire;
    for (const QString &path : f.book().barographsToRetire)
        toRetire << QFileInfo(path).canonicalFilePath();
    QCOMPARE(toRetire, (QStringList{QFileInfo(f.dir.filePath("work/inside.BRG")).canonicalFilePath(),
                                    QFileInfo(f.dir.filePath("work/shared.BRG")).canonicalFilePath()}));
    QCOMPARE(f.prompter.informed, (QStringList{
        QStringLiteral("バログラフファイル：../x.BRG\nを削除できませんでした。\n1行目のログ：バログラフファイル名「../x.BRG」は使えません。フォルダーやドライブを含む名前です。"),
        QStringLiteral("バログラフファイル：shared.BRG\nは他のログでも使われているので削除しません。"),
        QStringLiteral("バログラフファイル：missing.BRG\nを削除できませんでした。\n見つかりません。（")
            + QDir::toNativeSeparators(f.dir.filePath("work/missing.BRG")) + QStringLiteral("）"),
    }));
    QCOMPARE(f.book().rowCount(), 1);
}

// Delete leaves the barograph in place until the log that no longer names it is saved, which
// takes it into bak; Ctrl+Z (the Edit menu's undo, named after the step) puts back the rows
// with their ids and bytes, and the file from bak once a save has taken it.
void TestMainDelete::undoOfDeleteBringsBackRowsAndBarographFromBak()
{
    Fixture f;
    f.openSample();
    const QString barograph = f.dir.filePath("KEEP.V00");
    const QByteArray bytes = " 3\r\n 2\r\n 0\r\n 100.0\r\n 110.0\r\n 120.0\r\n";
    QVERIFY(writeFile(barograph, bytes) == std::nullopt);
    for (int r = 1; r < f.book().rowCount(); ++r)
        f.book().row(r).barographFile = r == 2 ? "KEEP.V00" : "";
    f.book().history.reset(f.book());
    const std::vector<FlightRecord> before = f.book().records();
    const auto same = [](const std::vector<FlightRecord> &a, const std::vector<FlightRecord> &b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto &x, const auto &y) {
                   // What undo gives back: the stored fields, the exclusion, the download.
                   return x.rowId == y.rowId && x.number == y.number && x.date == y.date && x.time == y.time
                          && x.area == y.area && x.duration == y.duration && x.maxAltitude == y.maxAltitude
                          && x.maxClimb == y.maxClimb && x.comment == y.comment && x.barographFile == y.barographFile
                          && x.excludedFromStatistics == y.excludedFromStatistics && x.downloaded == y.downloaded;
               });
    };
    auto *undo = qobject_cast<QAction *>(f.form->command("UndoItem"));
    auto *redo = qobject_cast<QAction *>(f.form->command("RedoItem"));
    QCOMPARE(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));

    f.form->logList()->selectRows(2, 3);
    f.prompter.answers = {Answer::Ok, Answer::Yes};
    f.trigger("DeleteItem");
    QCOMPARE(f.book().rowCount(), 2);
    QCOMPARE(readAll(barograph), bytes); // the saved log still names it
    QCOMPARE(undo->text(), QStringLiteral("元に戻す: 削除 2件(&U)"));
    QVERIFY(f.enabled("UndoItem") && !f.enabled("RedoItem"));

    f.trigger("UndoItem");
    QVERIFY(same(f.book().records(), before));
    QCOMPARE(readAll(barograph), bytes);
    QVERIFY(!f.book().logModified && !f.enabled("SaveBtn"));
    QCOMPARE(redo->text(), QStringLiteral("やり直し: 削除 2件(&R)"));
    QVERIFY(!f.enabled("UndoItem") && f.enabled("RedoItem"));
    QCOMPARE(f.cell(3, 1), QString::fromLatin1(before[3].date.toByteArray()));

    f.trigger("RedoItem");
    QCOMPARE(f.book().rowCount(), 2);
    QVERIFY(QFile::exists(barograph) && f.book().logModified && f.enabled("SaveBtn"));
    QCOMPARE(undo->text(), QStringLiteral("元に戻す: 削除 2件(&U)"));

    f.click("SaveBtn");
    QVERIFY(!QFile::exists(barograph));
    const QStringList kept = backupHistory(f.dir.filePath("bak"), "KEEP.V00");
    QCOMPARE(kept.size(), 1);
    QCOMPARE(readAll(f.dir.filePath("bak/") + kept.first()), bytes);
    f.trigger("UndoItem");
    QVERIFY(same(f.book().records(), before) && f.book().logModified);
    QCOMPARE(readAll(barograph), bytes);
}

QTEST_MAIN(TestMainDelete)
#include "tst_maindelete.moc"
