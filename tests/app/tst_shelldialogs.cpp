// The start-folder and background dialogs through the real main window: what OK, Cancel and
// a double-click change, what is refused, and what the next start does with it; and where
// tiling puts the windows.
#include "app/core/settingsstore.h"
#include "app/core/tiling.h"
#include "app/ui/folderbrowser.h"
#include "app/ui/mainform.h"
#include "app/ui/tbackgrd.h"
#include "app/ui/tformdir.h"
#include "app/ui/workspace.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loglistwindow.h"
#include "tests/common/scriptedprompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QMdiSubWindow>
#include <QTest>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString settingsPath = dir.filePath("cfg/duvazi.conf");
    ScriptedPrompter prompter;
    const QString startFolder = QDir::currentPath();

    ~Fixture() { QDir::setCurrent(startFolder); }

    std::unique_ptr<TMainForm> start(const std::function<void(FileSettingsStore &)> &prepare = {})
    {
        if (prepare) {
            FileSettingsStore store(settingsPath);
            prepare(store);
            store.commit();
        }
        auto form = std::make_unique<TMainForm>(std::make_unique<FileSettingsStore>(settingsPath), &prompter);
        form->show();
        return form;
    }
    void quit(std::unique_ptr<TMainForm> &form)
    {
        form->logBook().logModified = false;
        QVERIFY(form->close());
        form.reset();
    }
    QString makeFolder(const QString &relative)
    {
        QDir(dir.path()).mkpath(relative);
        return dir.filePath(relative);
    }
};

bool enabled(const TMainForm &form, const char *name) { return form.isCommandEnabled(QLatin1String(name)); }

// The row of a file in a browser's file list, once the list has read its folder.
QModelIndex fileRow(FolderBrowser *browser, const QString &name)
{
    QAbstractItemModel *model = browser->files()->model();
    const QModelIndex root = browser->files()->rootIndex();
    for (int r = 0; r < model->rowCount(root); ++r) {
        if (model->index(r, 0, root).data().toString() == name)
            return model->index(r, 0, root);
    }
    return {};
}

// A double-click as the view sees one: the press that picks the item comes first.
void doubleClick(QListView *view, const QModelIndex &index)
{
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// The workspace as painted behind its windows.
QImage background(Workspace *workspace)
{
    QWidget *viewport = workspace->viewport();
    QImage image(viewport->size(), QImage::Format_RGB32);
    viewport->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

} // namespace

class TestShellDialogs : public QObject {
    Q_OBJECT
private slots:
    void startFolderFromTheSettings_data();
    void startFolderFromTheSettings();
    void folderOnNoDriveAddsItsRootOnce();
    void folderOpenedAndLeftIsNotAmongTheLogs();
    void startFolderChosenAndKeptForTheNextStart();
    void startFolderCancelAndTooLongChangeNothing();
    void doubleClickedLogOpensWithItsQuestion();
    void backgroundPictureStretchedThenRefused();
    void tilingLaysColumnsOfRows();
    void pathFieldGoesThereOrNarrowsTheList();
    void cascadeKeepsSizesInsideTheWorkspace();
    void newWindowsOpenInsideTheWorkspace();
    void cascadeAfterMaximisedWindows_data();
    void cascadeAfterMaximisedWindows();
    void anIconChosenInTheWindowMenuComesBack();
};

void TestShellDialogs::startFolderFromTheSettings_data()
{
    QTest::addColumn<QString>("startDir");
    QTest::addColumn<QString>("workFolder"); // relative to the temporary folder
    QTest::addColumn<bool>("told");
    QTest::newRow("relative") << "flights/" << "flights/" << false;
    QTest::newRow("unclean") << "./flights/../flights//" << "flights/" << false;
    QTest::newRow("gone") << "gone/" << "" << true;
}

void TestShellDialogs::startFolderFromTheSettings()
{
    QFETCH(QString, startDir);
    QFETCH(QString, workFolder);
    QFETCH(bool, told);
    Fixture f;
    f.makeFolder("flights");
    QDir::setCurrent(f.dir.path());
    auto form = f.start([&](FileSettingsStore &s) {
        s.writeInt("IfDirSet", 1);
        s.writeBool("DontAskdir", false);
        s.writeString("StartDir", startDir);
    });
    // The window comes up and the dialog shows the folder, absolute, on one of the drives.
    const QString expected = QDir(f.dir.path()).absoluteFilePath(workFolder);
    QCOMPARE(form->logBook().workFolder, withTrailingSlash(expected));
    QVERIFY(form->formDir() && form->formDir()->isVisible());
    QCOMPARE(form->formDir()->browser()->folder(), QDir::cleanPath(expected));
    QCOMPARE(QDir::currentPath(), QDir::cleanPath(expected));
    const QString message = QStringLiteral("起動ﾌｫﾙﾀﾞｰが見つかりません。\n%1\n%2 で起動します。")
                                .arg(f.dir.filePath("gone"), withTrailingSlash(f.dir.path()));
    QCoreApplication::processEvents(); // the message waits for the window to be up
    QCOMPARE(f.prompter.informed, told ? QStringList{message} : QStringList());
    f.quit(form);
}

void TestShellDialogs::folderOnNoDriveAddsItsRootOnce()
{
    Fixture f;
    const QString deep = f.makeFolder("a/b");
    QWidget parent;
    FolderBrowser browser(&parent, {QStringLiteral("*.log")});
    browser.drives()->clear();
    browser.drives()->addItem(QStringLiteral("elsewhere"), QStringLiteral("/no-such-drive"));
    QDir::setCurrent(f.dir.path());
    browser.showFolder(QStringLiteral("a")); // relative: taken from the current folder
    QCOMPARE(browser.folder(), f.dir.filePath("a"));
    QCOMPARE(browser.drives()->count(), 2);
    QCOMPARE(browser.drives()->currentData().toString(), QDir::rootPath());
    browser.showFolder(deep);
    QCOMPARE(browser.drives()->count(), 2);
    QCOMPARE(browser.folder(), deep);
}

void TestShellDialogs::folderOpenedAndLeftIsNotAmongTheLogs()
{
    Fixture f;
    const QString flights = f.makeFolder("flights");
    const QString inside = f.makeFolder("flights/old.log"); // a folder named like a log
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/three-flights.log"), flights + "/three-flights.log"));
    auto form = f.start();
    FolderBrowser *browser = form->formDir()->browser();
    browser->showFolder(inside);
    browser->showFolder(flights);
    QTRY_VERIFY(fileRow(browser, "three-flights.log").isValid());
    QCOMPARE(browser->files()->model()->rowCount(browser->files()->rootIndex()), 1);
    QVERIFY(!fileRow(browser, "old.log").isValid());
    form->formDir()->BBCancel->click();
    f.quit(form);
}

void TestShellDialogs::pathFieldGoesThereOrNarrowsTheList()
{
    Fixture f;
    const QString flights = f.makeFolder("flights");
    for (const char *name : {"2023.log", "2024.log", "club.log"})
        QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/three-flights.log"), flights + u'/' + QLatin1String(name)));
    auto form = f.start();
    TFormDir *dialog = form->formDir();
    FolderBrowser *browser = dialog->browser();
    // A path and Return: that folder, and the dialog stays open.
    QTest::keyClicks(dialog->EdPath, QDir::toNativeSeparators(flights));
    QTest::keyClick(dialog->EdPath, Qt::Key_Return);
    QCOMPARE(browser->folder(), flights);
    QVERIFY(dialog->isVisible() && dialog->EdPath->text().isEmpty());
    QTRY_COMPARE(browser->files()->model()->rowCount(browser->files()->rootIndex()), 3);
    // Part of a name narrows the list as it is typed.
    QTest::keyClicks(dialog->EdPath, QStringLiteral("202"));
    QCOMPARE(browser->files()->model()->rowCount(browser->files()->rootIndex()), 2);
    QVERIFY(!fileRow(browser, "club.log").isValid());
    // A path to no folder stays in the field.
    dialog->EdPath->clear();
    QTest::keyClicks(dialog->EdPath, flights + QStringLiteral("/nowhere"));
    QTest::keyClick(dialog->EdPath, Qt::Key_Return);
    QVERIFY(dialog->isVisible() && !dialog->EdPath->text().isEmpty());
    QCOMPARE(browser->folder(), flights);
    dialog->BBCancel->click();
    f.quit(form);
}

void TestShellDialogs::startFolderChosenAndKeptForTheNextStart()
{
    Fixture f;
    const QString flights = f.makeFolder("flights");
    auto form = f.start();
    TFormDir *dialog = form->formDir();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(!enabled(*form, "MenuStartDir"));
    // The dialog opens on the work folder with the stored choices.
    QCOMPARE(dialog->browser()->folder() + u'/', form->logBook().workFolder);
    QVERIFY(dialog->RBFolder[0]->isChecked() && !dialog->CheckBox->isChecked());

    dialog->browser()->showFolder(flights);
    dialog->RBFolder[1]->setChecked(true);
    dialog->CheckBox->setChecked(true);
    dialog->BBOK->click();
    QTRY_VERIFY(!form->formDir());
    QVERIFY(enabled(*form, "MenuStartDir"));
    QCOMPARE(form->logBook().workFolder, flights + u'/');
    QCOMPARE(QDir::currentPath(), flights);
    f.quit(form);

    // The next start shows no dialog and begins in the chosen folder; the menu still opens it.
    QDir::setCurrent(f.startFolder);
    form = f.start();
    QVERIFY(!form->formDir());
    QCOMPARE(form->logBook().workFolder, flights + u'/');
    QVERIFY(enabled(*form, "MenuStartDir"));
    qobject_cast<QAction *>(form->command("MenuStartDir"))->trigger();
    QVERIFY(form->formDir() && form->formDir()->RBFolder[1]->isChecked() && form->formDir()->CheckBox->isChecked());
    QVERIFY(!enabled(*form, "MenuStartDir"));
    f.quit(form);
}

void TestShellDialogs::startFolderCancelAndTooLongChangeNothing()
{
    Fixture f;
    // Long enough that the folder with its separator passes the 127 bytes the setting keeps.
    const QString longName = QString(128 - f.dir.path().size(), u'x');
    const QString tooLong = f.makeFolder(longName);
    auto form = f.start();
    const QString before = form->logBook().workFolder;
    TFormDir *dialog = form->formDir();

    dialog->browser()->showFolder(tooLong);
    dialog->RBFolder[1]->setChecked(true);
    dialog->BBOK->click();
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("ﾌｫﾙﾀﾞｰ名が長すぎます。\n127ﾊﾞｲﾄまでのﾌｫﾙﾀﾞｰを選んでください。")});
    QVERIFY(dialog->isVisible());
    QCOMPARE(form->logBook().workFolder, before);

    dialog->CheckBox->setChecked(true);
    dialog->BBCancel->click();
    QTRY_VERIFY(!form->formDir());
    QCOMPARE(form->logBook().workFolder, before);
    QCOMPARE(form->settings().ifDirSet, 0);
    QVERIFY(!form->settings().dontAskDir);
    QVERIFY(enabled(*form, "MenuStartDir"));
    f.quit(form);
}

void TestShellDialogs::doubleClickedLogOpensWithItsQuestion()
{
    Fixture f;
    const QString flights = f.makeFolder("flights");
    for (const char *name : {"three-flights.log", "three-flights.lif"})
        QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/") + QLatin1String(name),
                            flights + u'/' + QLatin1String(name)));
    auto form = f.start();
    LogBook &book = form->logBook();
    book.appendRow().date = "24/05/03";
    form->logList()->model()->setGridRowCount(book.rowCount());
    book.logModified = true;

    TFormDir *dialog = form->formDir();
    dialog->browser()->showFolder(flights);
    QListView *files = dialog->browser()->files();
    QTRY_VERIFY(fileRow(dialog->browser(), "three-flights.log").isValid());
    QVERIFY(!fileRow(dialog->browser(), "three-flights.lif").isValid()); // only log files are listed
    f.prompter.answers = {Prompter::Answer::Ok};
    doubleClick(files, fileRow(dialog->browser(), "three-flights.log"));

    // The folder is taken, the dialog closes, then the open command asks about the changes.
    QTRY_VERIFY(!form->formDir());
    QCOMPARE(f.prompter.asked.size(), size_t(1));
    QCOMPARE(f.prompter.asked[0].text, QStringLiteral("現在のログファイルは変更されています。\n破棄してもいいですか？"));
    QCOMPARE(book.currentLogPath, flights + QStringLiteral("/three-flights.log"));
    QCOMPARE(book.rowCount(), 4);
    QCOMPARE(book.workFolder, flights + u'/');
    QVERIFY(enabled(*form, "MenuStartDir") && enabled(*form, "SBGraph"));
    f.quit(form);
}

void TestShellDialogs::backgroundPictureStretchedThenRefused()
{
    Fixture f;
    const QString pictures = f.makeFolder("pictures");
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(pictures + QStringLiteral("/red.PNG"), "PNG"));
    QFile bad(pictures + QStringLiteral("/bad.bmp"));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("BM but not a bitmap") > 0);
    bad.close();
    auto form = f.start();
    form->formDir()->BBCancel->click();

    qobject_cast<QAction *>(form->command("MMBackground"))->trigger();
    TBackGrd *dialog = form->backgroundDialog();
    QVERIFY(dialog && !enabled(*form, "MMBackground"));
    // No settings stored: both boxes clear, the lists and the stretch box disabled.
    QVERIFY(!dialog->CBUse->isChecked() && !dialog->CBSize->isChecked());
    QVERIFY(!dialog->CBSize->isEnabled() && !dialog->browser()->files()->isEnabled());
    dialog->CBUse->click();
    QVERIFY(dialog->CBSize->isEnabled() && dialog->browser()->files()->isEnabled());

    // With the picture on and no file selected, OK says so and keeps the dialog.
    dialog->BBOK->click();
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("背景に使う画像ファイルを選んでください。")});
    QVERIFY(dialog->isVisible());

    dialog->browser()->showFolder(pictures);
    QTRY_VERIFY(fileRow(dialog->browser(), "red.PNG").isValid());
    dialog->browser()->files()->setCurrentIndex(fileRow(dialog->browser(), "red.PNG"));
    // Browsing elsewhere takes the picture out of view, and out of the choice.
    dialog->browser()->showFolder(f.dir.path());
    QCOMPARE(dialog->browser()->selectedFile(), QString());
    dialog->browser()->showFolder(pictures);
    QTRY_VERIFY(fileRow(dialog->browser(), "red.PNG").isValid());
    dialog->browser()->files()->setCurrentIndex(fileRow(dialog->browser(), "red.PNG"));
    dialog->CBSize->click();
    dialog->BBOK->click();
    QTRY_VERIFY(!form->backgroundDialog());
    QVERIFY(enabled(*form, "MMBackground"));
    QVERIFY(form->settings().ifUseBmp && form->settings().ifScaleBmp);
    QCOMPARE(form->settings().bmpFileName, pictures + QStringLiteral("/red.PNG"));
    QCOMPARE(form->backgroundPicture().size(), QSize(4, 3));
    const QImage painted = background(form->workspace());
    QCOMPARE(painted.pixelColor(painted.width() / 2, painted.height() / 2), QColor(Qt::red));

    // Reopened on the chosen picture; a file that is not a picture: a message and the gradient.
    qobject_cast<QAction *>(form->command("MMBackground"))->trigger();
    dialog = form->backgroundDialog();
    QVERIFY(dialog->CBUse->isChecked() && dialog->CBSize->isChecked());
    QTRY_COMPARE(dialog->browser()->selectedFile(), pictures + QStringLiteral("/red.PNG"));
    QTRY_VERIFY(fileRow(dialog->browser(), "bad.bmp").isValid());
    doubleClick(dialog->browser()->files(), fileRow(dialog->browser(), "bad.bmp"));
    QTRY_VERIFY(!form->backgroundDialog());
    QCOMPARE(f.prompter.informed.last(), QStringLiteral("背景の画像が読み込めません。\n") + pictures + QStringLiteral("/bad.bmp"));
    QVERIFY(!form->settings().ifUseBmp);
    const QImage gradient = background(form->workspace());
    QCOMPARE(gradient.pixelColor(gradient.width() / 2, 0), QColor(0, 0, 255));

    // Cancel after changes leaves everything as it was.
    qobject_cast<QAction *>(form->command("MMBackground"))->trigger();
    form->backgroundDialog()->CBUse->click();
    form->backgroundDialog()->BBCancel->click();
    QTRY_VERIFY(!form->backgroundDialog());
    QVERIFY(!form->settings().ifUseBmp && enabled(*form, "MMBackground"));
    f.quit(form);
}

void TestShellDialogs::tilingLaysColumnsOfRows()
{
    const auto rects = [](int count) {
        QStringList out;
        for (const QRect &r : tileHorizontally(count, QSize(600, 420)))
            out << QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        return out.join(u' ');
    };
    QCOMPARE(rects(0), QString());
    QCOMPARE(rects(1), QStringLiteral("0,0 600x420"));
    // Two or three windows lie one above the other, full width.
    QCOMPARE(rects(2), QStringLiteral("0,0 600x210 0,210 600x210"));
    QCOMPARE(rects(3), QStringLiteral("0,0 600x140 0,140 600x140 0,280 600x140"));
    QCOMPARE(rects(4), QStringLiteral("0,0 300x210 0,210 300x210 300,0 300x210 300,210 300x210"));
    // The list and six barographs: two columns, the last taking the four left over.
    QCOMPARE(rects(7), QStringLiteral("0,0 300x140 0,140 300x140 0,280 300x140 "
                                      "300,0 300x105 300,105 300x105 300,210 300x105 300,315 300x105"));
}

void TestShellDialogs::cascadeKeepsSizesInsideTheWorkspace()
{
    const auto rects = [](const std::vector<QSize> &sizes, QSize area) {
        QStringList out;
        for (const QRect &r : cascade(sizes, area))
            out << QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        return out.join(u' ');
    };
    // The list and two barographs keep their sizes, a step apart.
    QCOMPARE(rects({{600, 300}, {640, 700}, {640, 700}}, QSize(1200, 800)),
             QStringLiteral("0,0 600x300 24,24 640x700 48,48 640x700"));
    // Too low for the stair: a window shrinks to the room left, and one that would pass the
    // edge starts again at the corner.
    QCOMPARE(rects({{640, 797}, {640, 797}, {640, 797}}, QSize(1000, 600)),
             QStringLiteral("0,0 640x600 24,24 640x576 48,48 640x552"));
    QCOMPARE(rects({{250, 180}, {250, 180}, {250, 180}, {250, 180}}, QSize(300, 220)),
             QStringLiteral("0,0 250x180 24,24 250x180 48,48 250x172 0,0 250x180"));
}

void TestShellDialogs::newWindowsOpenInsideTheWorkspace()
{
    const QSize area(1000, 800), graph(640, 700);
    QCOMPARE(placeNewWindow(graph, area, QRect()), QRect(0, 0, 640, 700));
    QCOMPARE(placeNewWindow(graph, area, QRect(24, 24, 600, 300)), QRect(48, 48, 640, 700));
    // Short of room below or to the right: a step on, shrunk to the room left, as cascading
    // places it; a graph taller than the workspace steps on too, never over the last.
    QCOMPARE(placeNewWindow(graph, area, QRect(0, 120, 600, 300)), QRect(24, 144, 640, 656));
    QCOMPARE(placeNewWindow(graph, area, QRect(400, 0, 600, 300)), QRect(424, 24, 576, 700));
    QCOMPARE(placeNewWindow(QSize(640, 900), area, QRect(0, 0, 640, 800)), QRect(24, 24, 640, 776));
    // Where even the smallest window would pass the edge, or after one dragged out: the corner.
    QCOMPARE(placeNewWindow(graph, area, QRect(850, 700, 150, 100)), QRect(0, 0, 640, 700));
    QCOMPARE(placeNewWindow(graph, area, QRect(-300, -50, 600, 300)), QRect(0, 0, 640, 700));
    QCOMPARE(placeNewWindow(QSize(1200, 900), area, QRect()), QRect(0, 0, 1000, 800));
}

void TestShellDialogs::cascadeAfterMaximisedWindows_data()
{
    QTest::addColumn<Qt::WindowState>("state");
    QTest::newRow("maximised") << Qt::WindowMaximized;
    QTest::newRow("icons") << Qt::WindowMinimized;
}

void TestShellDialogs::cascadeAfterMaximisedWindows()
{
    // Windows maximised or made icons before "重ねて表示" come back at their own sizes, on
    // the stair.
    QFETCH(Qt::WindowState, state);
    Workspace workspace;
    workspace.resize(1000, 800);
    workspace.show();
    QList<QMdiSubWindow *> windows;
    for (int i = 0; i < 3; ++i) {
        auto *w = workspace.addSubWindow(new QWidget);
        w->resize(500, 400);
        w->show();
        windows << w;
    }
    // Each opened a step from the one before.
    QCOMPARE(windows[1]->pos() - windows[0]->pos(), QPoint(kCascadeStep, kCascadeStep));
    for (QMdiSubWindow *w : windows)
        w->setWindowState(state);
    workspace.cascadeWindows();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!windows[i]->isMaximized() && !windows[i]->isMinimized());
        QCOMPARE(windows[i]->geometry(), QRect(QPoint(i * kCascadeStep, i * kCascadeStep), QSize(500, 400)));
    }
}

void TestShellDialogs::anIconChosenInTheWindowMenuComesBack()
{
    Fixture f;
    auto form = f.start();
    QMdiSubWindow *window = form->workspace()->addSubWindow(new QWidget);
    window->setWindowTitle(QStringLiteral("ﾃｽﾄ"));
    window->show();
    window->showMinimized();
    auto *menu = form->findChild<QMenu *>(QStringLiteral("Window1"));
    QVERIFY(menu);
    emit menu->aboutToShow();
    const QList<QAction *> actions = menu->actions();
    const auto chosen = std::find_if(actions.begin(), actions.end(),
                                     [](const QAction *a) { return a->text().endsWith(QStringLiteral("ﾃｽﾄ")); });
    QVERIFY(chosen != actions.end());
    (*chosen)->trigger();
    QVERIFY(!window->isMinimized());
    QCOMPARE(form->workspace()->activeSubWindow(), window);
    f.quit(form);
}

QTEST_MAIN(TestShellDialogs)
#include "tst_shelldialogs.moc"
