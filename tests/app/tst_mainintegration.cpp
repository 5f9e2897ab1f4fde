// The main window with the real windows of every subsystem: barograph windows opened from
// the log list and by a download from the simulated instrument, the port menu's choices
// kept in the settings, and exit while an upload sends.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "app/ui/workspace.h"
#include "barograph/ui/tgraph.h"
#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/sim/ptyinstrument.h"
#include "device/ui/devicecontroller.h"
#include "device/ui/portchoicemenu.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"
#include "logbook/ui/loglistwindow.h"
#include "tests/common/modalbox.h"
#include "tests/common/scriptedprompter.h"
#include "tests/device/rununtil.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

struct Fixture {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;

    Fixture()
    {
        form = std::make_unique<TMainForm>(std::make_unique<FileSettingsStore>(dir.filePath("cfg.conf")), &prompter);
        form->show();
        form->logBook().workFolder = dir.path() + u'/';
    }
    ~Fixture()
    {
        prompter.answers = {Prompter::Answer::No, Prompter::Answer::No, Prompter::Answer::No};
        form->close();
    }
    void trigger(const char *name) { qobject_cast<QAction *>(form->command(QLatin1String(name)))->trigger(); }
    /// A load-all from the simulator at ten times the line's pace, until the first
    /// barograph is named in its row (the others still to come).
    bool loadAllUntilTheFirstBarograph()
    {
        form->settings().comDevice = kSimulatorDevice;
        form->device().simulatorBytesPerSecond = 4800;
        trigger("MenuAllLoad");
        const LogBook &book = form->logBook();
        return runUntil([&] { return book.rowCount() > 1 && !book.row(1).barographFile.isEmpty(); }, 60000);
    }
    bool enabled(const char *name) const { return form->isCommandEnabled(QLatin1String(name)); }
    int graphWindows() const
    {
        int n = 0;
        for (QMdiSubWindow *w : form->workspace()->subWindowList())
            n += qobject_cast<TGraph *>(w) && w->isVisible() ? 1 : 0;
        return n;
    }
};

} // namespace

class TestMainIntegration : public QObject {
    Q_OBJECT
private slots:
    void showBarographOpensTheViewer();
    void loadAllFromTheSimulatorOpensEveryGraph();
    void undoWaitsForTheLoadAll();
    void exitDuringALoadAllDoesWhatWasAnswered_data();
    void exitDuringALoadAllDoesWhatWasAnswered();
    void portMenuChoicesAreKept();
    void exitWaitsForTheUploadToEnd();
};

void TestMainIntegration::showBarographOpensTheViewer()
{
    Fixture f;
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/barograph/V7081114.V35"), f.dir.filePath("V7081114.V35")));
    LogBook &book = f.form->logBook();
    FlightRecord &r = book.appendRow();
    r.date = "97/08/11";
    r.time = "14:35:20";
    r.barographFile = "V7081114.V35";
    book.appendRow().barographFile = "missing.V00";
    f.form->setGridRowCount(book.rowCount());
    f.form->RedrawGrid();
    f.form->logList()->selectRows(1, 2);
    f.trigger("MenuBaroLoad");
    QVERIFY(runUntil([&] { return f.graphWindows() == 1 && !f.prompter.informed.isEmpty(); }));
    QCOMPARE(f.prompter.informed, QStringList{QStringLiteral("バログラフファイルが開けません。\n") + book.workFolder + "missing.V00"});
    QVERIFY(book.row(1).graphOpen);
    QVERIFY(!book.row(2).graphOpen);
    QVERIFY(f.enabled("HeightAdjust") && f.enabled("GraphClose"));
    QVERIFY(!f.enabled("DeleteItem") && !f.enabled("CutBtn"));

    f.trigger("GraphClose");
    QVERIFY(runUntil([&] { return f.graphWindows() == 0; }));
    QVERIFY(!book.row(1).graphOpen);
    QVERIFY(!f.enabled("HeightAdjust") && !f.enabled("GraphClose"));
    QVERIFY(f.enabled("DeleteItem"));
}

void TestMainIntegration::loadAllFromTheSimulatorOpensEveryGraph()
{
    Fixture f;
    f.form->settings().comDevice = kSimulatorDevice;
    f.form->device().simulatorBytesPerSecond = 0; // as fast as it goes
    f.trigger("MenuAllLoad");
    QVERIFY(runUntil([&] { return f.graphWindows() == 6; }, 60000));
    QVERIFY(runUntil([&] { return !f.form->loadTimer()->isActive(); }));
    const LogBook &book = f.form->logBook();
    QCOMPARE(book.rowCount(), 7);
    for (int row = 1; row < 7; ++row) {
        QVERIFY(book.row(row).graphOpen);
        QVERIFY(QFile::exists(f.dir.filePath(QString::fromLatin1(book.row(row).barographFile.toByteArray()))));
    }
    QVERIFY(book.logModified);
    QVERIFY(f.enabled("SBGraph") && f.enabled("FileSaveAsItem") && f.enabled("GraphClose"));
    QVERIFY(f.enabled("SaveBtn") && f.enabled("FileSaveItem")); // the download modified the log

    // The downloaded log saves like any other.
    f.prompter.files = {f.dir.filePath("downloaded")};
    f.trigger("FileSaveAsItem");
    QFile saved(f.dir.filePath("downloaded.log"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(parseLogFile(saved.readAll()).records.size(), size_t(7));
}

// Once the first barograph is named, while the others still come, undo (of the step
// naming it), delete and sort are off; afterwards every row names a file that exists,
// every file the download wrote is named by a row, and undo and sort are back.
void TestMainIntegration::undoWaitsForTheLoadAll()
{
    Fixture f;
    const LogBook &book = f.form->logBook();
    QVERIFY(f.loadAllUntilTheFirstBarograph());
    QVERIFY(f.form->device().downloader().needsPort());
    QVERIFY(runUntil([&] { return !f.enabled("SortByDate"); }));
    QVERIFY(!f.enabled("UndoItem") && !f.enabled("DeleteItem") && !f.enabled("CutBtn"));
    QVERIFY(runUntil([&] { return f.graphWindows() == 6 && !f.form->device().downloader().needsPort(); }, 120000));
    QVERIFY(runUntil([&] { return f.enabled("SortByDate"); })); // undo is the active graph window's now
    QSet<QString> named;
    for (int row = 1; row < book.rowCount(); ++row) {
        const QString name = QString::fromLatin1(book.row(row).barographFile.toByteArray());
        QVERIFY(QFile::exists(f.dir.filePath(name)));
        named << name;
    }
    const QStringList written = QDir(f.dir.path()).entryList({QStringLiteral("*.V*")}, QDir::Files);
    QCOMPARE(QSet<QString>(written.begin(), written.end()), named);
}

void TestMainIntegration::exitDuringALoadAllDoesWhatWasAnswered_data()
{
    QTest::addColumn<Prompter::Answer>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved"); // with every flight and barograph
    QTest::newRow("Yes: wait, save, end") << Prompter::Answer::Yes << true << true;
    QTest::newRow("No: stop, end unsaved") << Prompter::Answer::No << true << false;
    QTest::newRow("Cancel: stay, the load goes on") << Prompter::Answer::Cancel << false << false;
}

void TestMainIntegration::exitDuringALoadAllDoesWhatWasAnswered()
{
    QFETCH(Prompter::Answer, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    Fixture f;
    QVERIFY(f.loadAllUntilTheFirstBarograph());
    f.prompter.answers = {answer};
    f.prompter.files = {f.dir.filePath("downloaded")};
    QCOMPARE(f.form->close(), closes);
    QCOMPARE(f.prompter.asked.size(), size_t(1)); // one question, whatever happens next
    QVERIFY(f.prompter.asked[0].text.startsWith(QStringLiteral("ﾃﾞｰﾀのﾛｰﾄﾞ中です。\nﾛｰﾄﾞが終わるのを待って")));
    QCOMPARE(QFile::exists(f.dir.filePath("downloaded.log")), saved);
    if (saved) {
        QFile log(f.dir.filePath("downloaded.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const std::vector<FlightRecord> rows = parseLogFile(log.readAll()).records;
        QCOMPARE(rows.size(), size_t(7));
        for (size_t r = 1; r < rows.size(); ++r)
            QVERIFY(QFile::exists(f.dir.filePath(QString::fromLatin1(rows[r].barographFile.toByteArray()))));
    }
    const bool loading = f.form->device().downloader().needsPort();
    QCOMPARE(loading, !closes);
    if (!closes)
        QVERIFY(runUntil([&] { return !f.form->device().downloader().needsPort(); }, 120000));
}

void TestMainIntegration::portMenuChoicesAreKept()
{
    Fixture f;
    auto *com1 = qobject_cast<QAction *>(f.form->command("SMCOM1"));
    auto *com3 = qobject_cast<QAction *>(f.form->command("SMCOM3"));
    QVERIFY(com1->isChecked());
    emit f.form->portChoice().deviceChosen(QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(f.form->settings().comDevice, QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(!com1->isChecked());
    com3->trigger();
    QVERIFY(com3->isChecked());
    QCOMPARE(f.form->settings().comPort, 3);
    QVERIFY(f.form->settings().comDevice.isEmpty());
}

void TestMainIntegration::exitWaitsForTheUploadToEnd()
{
    Fixture f;
    PtyInstrument sim;
    QVERIFY(sim.start());
    f.form->settings().comDevice = sim.path();
    QVERIFY(f.form->device().session().startUpload({'F', "ABCDE           ", std::chrono::milliseconds(80),
                                                     std::chrono::milliseconds(10)}));
    QVERIFY(runUntil([&] { return f.form->statusBar()->currentMessage() == msg::SendingStatus.toString().arg(0); }));
    // The window that says why exit waits will not close.
    const std::shared_ptr<SeenBox> wait = whenBoxOpens([](QWidget *box) { box->close(); });
    QVERIFY(f.form->close());
    QVERIFY(!f.form->device().session().isUploading());
    QCOMPARE(wait->text, msg::Confirm.toString());
    QVERIFY(runUntil([&] { return sim.engine.settingsMessages().size() == 1; }));
    QCOMPARE(sim.engine.settingsMessages()[0].bytes, QByteArray("ABCDE           "));
}

QTEST_MAIN(TestMainIntegration)
#include "tst_mainintegration.moc"
