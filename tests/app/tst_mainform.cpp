// The main window: start-up from settings, the initial command states, the name-field rule,
// the exit question and where the window comes back.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "app/ui/tformdir.h"
#include "barograph/ui/tcprint.h"
#include "logbook/core/logfile.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loglistwindow.h"
#include "tests/common/scriptedprompter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QAction>
#include <QCheckBox>
#include <QTest>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString settingsPath = dir.filePath("cfg/duvazi.conf");
    ScriptedPrompter prompter;

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
};

const char *const kEnabledAtStart[] = {
    "OpenBtn", "ExitBtn", "FileOpenItem", "MenuLogLoad", "MenuBaroLoad", "MenuAllLoad",
    "FileExitItem", "MenuNewLog", "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem",
    "WindowMinimizeItem", "MMBackground", "PrintColorSet", "MenuFlyer",
    "MenuParam", "MenuOption", "HelpAboutItem",
};
const char *const kDisabledAtStart[] = {
    "SBGraph", "SBEdit", "DeleteItem", "CutBtn", "MenuTotal", "SortByDate", "SaveBtn",
    "FileSaveItem", "FileSaveAsItem", "FileNewItem", "FileCloseItem", "Reload", "HeightAdjust",
    "CopyBtn", "PasteBtn", "GraphClose", "DataEditClose", "CutItem", "CopyItem", "PasteItem",
    "MenuStartDir", // a first run shows the start-folder dialog
};

void addFlight(TMainForm &form)
{
    form.logBook().appendRow().date = "24/05/03";
    form.logList()->model()->setGridRowCount(form.logBook().rowCount());
    form.RedrawGrid();
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void startUpSetsCaptionStatesAndFolder();
    void startUpSurvivesBadPictureAndOddValues();
    void everyMenuHasDistinctMnemonics();
    void nameFieldEnablesSaveOnlyWithFlights();
    void exitCancelKeepsRunningAndWritesNothing();
    void exitNoWritesEverySetting();
    void exitStaysOpenWhenTheSaveDoesNotHappen_data();
    void exitStaysOpenWhenTheSaveDoesNotHappen();
    void exitYesSavesTheOpenLog();
    void settingsThatCannotBeWrittenAreReported();
    void printModeKeptAcrossRuns();
    void windowComesBackWhereItWas_data();
    void windowComesBackWhereItWas();
    void commandLineAnswersWithoutAWindow_data();
    void commandLineAnswersWithoutAWindow();
};

void TestMainForm::startUpSetsCaptionStatesAndFolder()
{
    Fixture f;
    const QString before = QDir::currentPath();
    auto form = f.start();
    QCOMPARE(form->windowTitle(), QStringLiteral("DUVAZI"));
    for (const char *name : kEnabledAtStart)
        QVERIFY2(form->isCommandEnabled(QLatin1String(name)), name);
    for (const char *name : kDisabledAtStart)
        QVERIFY2(!form->isCommandEnabled(QLatin1String(name)), name);
    QVERIFY(qobject_cast<QAction *>(form->command("SMCOM1"))->isChecked());
    QCOMPARE(form->logBook().rowCount(), 1);
    QCOMPARE(form->logBook().workFolder, before + u'/');
    QVERIFY(!form->logBook().logModified);
    QVERIFY(form->logList()->isVisible());
    QVERIFY(form->formDir() && form->formDir()->isVisible());
    QDir::setCurrent(before);
}

void TestMainForm::startUpSurvivesBadPictureAndOddValues()
{
    Fixture f;
    QFile bad(f.dir.filePath("bad.bmp"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("BM not really a bitmap");
    bad.close();
    auto form = f.start([&](FileSettingsStore &s) {
        s.writeBool("IfUseBmp", true);
        s.writeString("BmpFileName", f.dir.filePath("bad.bmp"));
        s.writeInt("ComPort", 7);
        s.writeString("Rise", "not a double");
        s.writeInt("IfDirSet", 1);
        s.writeString("StartDir", f.dir.filePath("no-such-folder/"));
    });
    QVERIFY(form->backgroundPicture().isNull());
    QCOMPARE(form->logBook().rowCount(), 1);
    QCOMPARE(form->settings().rise, 0.1);
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!qobject_cast<QAction *>(form->command(QStringLiteral("SMCOM%1").arg(i)))->isChecked());
    QCOMPARE(form->logBook().workFolder, QDir::currentPath() + u'/');
}

// Alt and a letter shared by two items of one menu only highlights the first: each menu
// (the menu bar too) is walked, its submenus with it.
void TestMainForm::everyMenuHasDistinctMnemonics()
{
    Fixture f;
    auto form = f.start();
    std::vector<QWidget *> menus{form->menuBar()};
    int walked = 0;
    while (!menus.empty()) {
        QWidget *menu = menus.back();
        menus.pop_back();
        ++walked;
        QHash<QKeySequence, QString> taken;
        for (QAction *action : menu->actions()) {
            if (action->menu())
                menus.push_back(action->menu());
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (action->isSeparator() || key.isEmpty())
                continue;
            QVERIFY2(!taken.contains(key), qPrintable(taken.value(key) + QStringLiteral(" / ") + action->text()));
            taken.insert(key, action->text());
        }
    }
    QVERIFY(walked >= 6); // the bar, its five menus and the port submenu
}

void TestMainForm::nameFieldEnablesSaveOnlyWithFlights()
{
    Fixture f;
    auto form = f.start();
    QLineEdit *name = form->logList()->nameField();
    QTest::keyClicks(name, QStringLiteral("a"));
    QVERIFY(!form->logBook().logModified);
    QVERIFY(!form->isCommandEnabled("SaveBtn"));

    addFlight(*form);
    QTest::keyClicks(name, QStringLiteral("b"));
    QVERIFY(form->logBook().logModified);
    QVERIFY(form->isCommandEnabled("FileSaveItem"));
    QVERIFY(form->isCommandEnabled("SaveBtn"));
    f.prompter.answers = {Prompter::Answer::No};
}

void TestMainForm::exitCancelKeepsRunningAndWritesNothing()
{
    Fixture f;
    auto form = f.start();
    addFlight(*form);
    form->logBook().logModified = true;
    f.prompter.answers = {Prompter::Answer::Cancel};
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(f.prompter.asked.size(), size_t(1));
    QCOMPARE(f.prompter.asked[0].text, QStringLiteral("ログデータが変更されています。\nセーブしますか？"));
    QCOMPARE(f.prompter.asked[0].caption, QStringLiteral("確認"));
    QVERIFY(f.prompter.asked[0].buttons == Prompter::Buttons::YesNoCancel);
    QVERIFY(!QFile::exists(f.settingsPath));
    f.prompter.answers = {Prompter::Answer::No};
}

void TestMainForm::exitNoWritesEverySetting()
{
    Fixture f;
    auto form = f.start([](FileSettingsStore &s) { s.writeInt("ComPort", 7); });
    form->logBook().logModified = true;
    f.prompter.answers = {Prompter::Answer::No};
    QVERIFY(form->close());
    const FileSettingsStore saved(f.settingsPath);
    for (const char *name : {"MonoPrint", "AskPrint", "WindowState", "FormTop", "FormLeft", "FormHeight",
                             "FormWidth", "ComPort", "Sound", "BarGraph", "Numeric", "Sampling", "Printer",
                             "Option1", "IfDirSet"})
        QVERIFY2(saved.readInt(QLatin1String(name)).has_value(), name);
    for (const char *name : {"Rise", "Sink"})
        QVERIFY2(saved.readDouble(QLatin1String(name)).has_value(), name);
    for (const char *name : {"FlyerName", "StartDir", "BmpFileName"})
        QVERIFY2(saved.readString(QLatin1String(name)).has_value(), name);
    QCOMPARE(saved.readInt("ComPort"), std::optional<qint32>(7));
    QCOMPARE(saved.readString("StartDir"),
             std::optional<QString>(QDir::toNativeSeparators(form->logBook().workFolder)));
}

void TestMainForm::windowComesBackWhereItWas_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<bool>("maximised"); // at exit
    QTest::addColumn<QRect>("kept");     // the frame shown, and saved at exit
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect inside(screen.topLeft() + QPoint(40, 30), QSize(500, 400));
    QTest::newRow("on the screen") << inside << false << inside;
    // Maximised at exit: the frame it had before is what the next start restores.
    QTest::newRow("maximised at exit") << inside << true << inside;
    QTest::newRow("below and right of the screen")
        << QRect(screen.bottomRight() + QPoint(200, 100), QSize(500, 400)) << false
        << QRect(screen.bottomRight() - QPoint(499, 399), QSize(500, 400));
    QTest::newRow("above the screen: its caption comes back")
        << QRect(screen.topLeft() + QPoint(40, -6), QSize(500, 400)) << false
        << QRect(screen.topLeft() + QPoint(40, 0), QSize(500, 400));
}

void TestMainForm::windowComesBackWhereItWas()
{
    QFETCH(QRect, stored);
    QFETCH(bool, maximised);
    QFETCH(QRect, kept);
    Fixture f;
    auto form = f.start([&stored](FileSettingsStore &s) {
        s.writeInt("WindowState", 0);
        s.writeInt("FormLeft", stored.left());
        s.writeInt("FormTop", stored.top());
        s.writeInt("FormWidth", stored.width());
        s.writeInt("FormHeight", stored.height());
    });
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->frameGeometry(), kept); // once the window is framed
    if (maximised) {
        form->showMaximized();
        QTRY_VERIFY(form->frameGeometry() != kept);
    }
    QVERIFY(form->close());
    const FileSettingsStore saved(f.settingsPath);
    QCOMPARE(QRect(*saved.readInt("FormLeft"), *saved.readInt("FormTop"), *saved.readInt("FormWidth"),
                   *saved.readInt("FormHeight")),
             kept);
    QCOMPARE(saved.readInt("WindowState"), std::optional<qint32>(maximised ? 2 : 0));
}

void TestMainForm::printModeKeptAcrossRuns()
{
    Fixture f;
    auto form = f.start([](FileSettingsStore &s) {
        s.writeInt("MonoPrint", 1);
        s.writeBool("AskPrint", true);
    });
    TCPrint *mode = form->printMode();
    QCOMPARE(mode->itemIndex(), 1);
    QVERIFY(mode->CheckBColor->isChecked());
    // The menu command shows the same dialog, whose changes are kept and written at exit.
    form->barographCommands().showDialog = [](QDialog &dialog) {
        auto &print = static_cast<TCPrint &>(dialog);
        print.setItemIndex(0);
        print.CheckBColor->setChecked(false);
        return false;
    };
    qobject_cast<QAction *>(form->command("PrintColorSet"))->trigger();
    QVERIFY(form->close());
    const FileSettingsStore saved(f.settingsPath);
    QCOMPARE(saved.readInt("MonoPrint"), std::optional<qint32>(0));
    QCOMPARE(saved.readBool("AskPrint"), std::optional<bool>(false));
}

void TestMainForm::exitStaysOpenWhenTheSaveDoesNotHappen_data()
{
    QTest::addColumn<bool>("dialogCancelled");
    QTest::newRow("save dialog cancelled") << true;
    QTest::newRow("save failed") << false;
}

void TestMainForm::exitStaysOpenWhenTheSaveDoesNotHappen()
{
    QFETCH(bool, dialogCancelled);
    Fixture f;
    auto form = f.start();
    addFlight(*form);
    form->logBook().logModified = true;
    QVERIFY(QDir(f.dir.path()).mkdir("taken.log")); // a folder where the log would go
    f.prompter.answers = {Prompter::Answer::Yes};
    f.prompter.files = {dialogCancelled ? QString() : f.dir.filePath("taken")};
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(f.prompter.dialogs, QStringList{QStringLiteral("save, old kept:")});
    QCOMPARE(f.prompter.informed.size(), dialogCancelled ? 0 : 1);
    if (!dialogCancelled)
        QVERIFY(f.prompter.informed[0].startsWith(QStringLiteral("LOGファイルが開けません。\n")));
    QVERIFY(form->logBook().logModified);
    QCOMPARE(form->logBook().rowCount(), 2);
    QVERIFY(!QFile::exists(f.settingsPath)); // the program did not end
}

void TestMainForm::exitYesSavesTheOpenLog()
{
    Fixture f;
    auto form = f.start();
    addFlight(*form);
    form->logBook().logModified = true;
    f.prompter.answers = {Prompter::Answer::Yes};
    f.prompter.files = {f.dir.filePath("spring")};
    QVERIFY(form->close());
    QFile log(f.dir.filePath("spring.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(int(parseLogFile(log.readAll()).records.size()), 2);
    QVERIFY(QFile::exists(f.dir.filePath("spring.lif")));
}

void TestMainForm::settingsThatCannotBeWrittenAreReported()
{
    Fixture f;
    QFile blocker(f.dir.filePath("cfg"));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the settings folder should be
    blocker.close();
    auto form = f.start();
    QVERIFY(form->close());
    QCOMPARE(f.prompter.informed,
             QStringList{QStringLiteral("設定を保存できませんでした。\n次回は前回保存された設定で起動します。")});
}

void TestMainForm::commandLineAnswersWithoutAWindow_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstLine"); // of standard output, or of standard error with exit code 2
    QTest::newRow("version") << QStringList{"--version"} << 0 << "duvazi " DUVAZI_VERSION;
    QTest::newRow("help") << QStringList{"--help"} << 0 << "使い方: duvazi [オプション] [ログファイル]";
    QTest::newRow("help, short") << QStringList{"-h"} << 0 << "使い方: duvazi [オプション] [ログファイル]";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "duvazi: --bogus は使えません。";
    QTest::newRow("two logs") << QStringList{"a.log", "b.log"} << 2 << "duvazi: b.log は使えません。";
    QTest::newRow("unknown beside a Qt option") << QStringList{"-style", "fusion", "--bogus"} << 2
                                                << "duvazi: --bogus は使えません。";
}

void TestMainForm::commandLineAnswersWithoutAWindow()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, firstLine);
    // No display at all: an answer that needed a window could not be given.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(DUVAZI_APP), options);
    QVERIFY(app.waitForFinished(30000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), exitCode);
    const QByteArray text = exitCode == 2 ? app.readAllStandardError() : app.readAllStandardOutput();
    QCOMPARE(QString::fromUtf8(text).section(u'\n', 0, 0), firstLine);
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
