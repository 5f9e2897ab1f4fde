// Smoke tests of the device link's windows: the commands through the controller, with the
// simulated instrument on a pseudo-terminal (or started as the program's simulator port) and
// a fake main window.
#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/serial/portadvice.h"
#include "device/sim/ptyinstrument.h"
#include "device/ui/devicecontroller.h"
#include "device/ui/portchoicemenu.h"
#include "device/ui/progresswindow.h"
#include "logbook/ui/prompter.h"
#include "tests/common/fakemainformlink.h"
#include "tests/common/modalbox.h"
#include "tests/device/rununtil.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

namespace {

struct Rig {
    QTemporaryDir dir;
    PtyInstrument sim;
    FakeMainFormLink main;
    DownloadState state;
    QTimer timerLoad;
    QString device;
    DeviceController controller{main, state, timerLoad, [this] { return device; }};

    Rig()
    {
        main.book.workFolder = dir.path() + u'/';
        sim.bytesPerSecond = 0;
        sim.engine.flights = demoFlights(6);
        sim.start();
        device = sim.path();
        // What the controller announces, in order with what it asks of the link.
        QStringList &events = main.events;
        QObject::connect(&controller, &DeviceController::logDownloaded, [&events] { events << QStringLiteral("logDownloaded"); });
        QObject::connect(&controller, &DeviceController::downloadedGraphOpened,
                         [&events] { events << QStringLiteral("downloadedGraphOpened"); });
    }
    bool idle() { return !timerLoad.isActive() && !controller.downloader().isTransferring(); }
};

} // namespace

class TestDeviceController : public QObject {
    Q_OBJECT
private slots:
    void loadAllFromTheSimulatorOpensEveryGraph();
    void secondLoadAllAddsOnlyTheNewWhenTold();
    void cancelEndsTheTransferAtOnce();
    void portThatCannotOpenIsReported();
    void silentInstrumentEndsWithTheMessage();
    void portMenuOffersListedTypedAndSimulator();
    void uploadAndDownloadsTakeTurnsOnThePort();
    void simulatorPortStartsTheSimulatorProgram();
};

void TestDeviceController::loadAllFromTheSimulatorOpensEveryGraph()
{
    Rig rig;
    rig.controller.loadAll();
    QList<QPointer<TProgress>> shown;
    QString title;
    QVERIFY(runUntil([&] {
        TProgress *p = rig.controller.progressWindow();
        if (p && p->isVisible() && !shown.contains(p)) {
            shown << p;
            title = p->windowTitle();
        }
        return rig.main.openedGraphs.size() == 6;
    }, 30000));
    QVERIFY(!shown.isEmpty());
    QCOMPARE(title, QStringLiteral("Loading Barograph"));
    QVERIFY(runUntil([&] { return rig.idle(); }));
    QVERIFY(!rig.controller.progressWindow());
    for (const QPointer<TProgress> &p : std::as_const(shown))
        QVERIFY(!p || !p->isVisible()); // every one gone when its download ended
    QCOMPARE(rig.main.book.rowCount(), 7);
    QCOMPARE(rig.main.openedGraphs, (QList<int>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(rig.main.events.mid(0, 3), (QStringList{"setGridRowCount 7", "redrawGrid", "logDownloaded"}));
    QCOMPARE(rig.main.events.filter("refreshRow").size(), 6);
    QCOMPARE(rig.main.events.filter("downloadedGraphOpened").size(), 6);
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files).size(), 6);
    QVERIFY(rig.main.book.logModified);
    QVERIFY(rig.main.prompts.asked.empty());
    QVERIFY(rig.main.prompts.informed.isEmpty());
    QVERIFY(!rig.controller.Comm1().isOpen());
}

void TestDeviceController::cancelEndsTheTransferAtOnce()
{
    Rig rig;
    rig.controller.loadLog();
    QVERIFY(runUntil([&] { return rig.main.book.rowCount() == 7; }));
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::NoAnswer);
    rig.controller.downloader().queueBarograph(2);
    rig.controller.downloader().queueBarograph(3);
    QVERIFY(runUntil([&] { return rig.sim.engine.requests().size() == 2; }));
    TProgress *progress = rig.controller.progressWindow();
    QVERIFY(progress);
    QTest::mouseClick(progress->BBCancel, Qt::LeftButton);
    QVERIFY(!progress->isVisible());
    QVERIFY(!rig.controller.downloader().isTransferring());
    QVERIFY(!rig.controller.Comm1().isOpen());
    QVERIFY(!rig.controller.progressWindow());
    QVERIFY(rig.state.baroQueue.empty()); // one Cancel ends the whole queue
    QVERIFY(rig.idle());
    QVERIFY(rig.main.prompts.informed.isEmpty());
    // The program is idle and the next download works.
    rig.sim.engine.misbehaviour = Misbehaviour::none();
    rig.controller.downloader().queueBarograph(3);
    QVERIFY(runUntil([&] { return rig.main.openedGraphs == QList<int>{3}; }));
    QCOMPARE(rig.sim.engine.requests().size(), size_t(3));
}

void TestDeviceController::portThatCannotOpenIsReported()
{
    Rig rig;
    rig.device = QStringLiteral("/dev/duvazi-no-such-port");
    rig.controller.loadAll();
    QCOMPARE(rig.main.prompts.asked.size(), size_t(1));
    QCOMPARE(rig.main.prompts.asked[0].caption, QStringLiteral("エラー"));
    QCOMPARE(rig.main.prompts.asked[0].icon, Prompter::Icon::Error);
    QVERIFY(rig.main.prompts.asked[0].text.contains(rig.device));
    QVERIFY(!rig.timerLoad.isActive());
    QVERIFY(!rig.controller.downloader().isTransferring());
}

void TestDeviceController::silentInstrumentEndsWithTheMessage()
{
    Rig rig;
    rig.controller.downloader().silenceTimeout = 300ms;
    rig.controller.loadLog();
    QVERIFY(runUntil([&] { return rig.main.book.rowCount() == 7; }));
    rig.sim.engine.misbehaviour = Misbehaviour::of(Misbehaviour::Kind::NoAnswer);
    rig.controller.loadAll();
    QVERIFY(runUntil([&] { return !rig.main.prompts.informed.isEmpty(); }));
    QCOMPARE(rig.main.prompts.informed, QStringList{msg::NoAnswer.toString()});
    QVERIFY(runUntil([&] { return rig.idle(); }));
    QCOMPARE(rig.main.book.rowCount(), 7);
    QVERIFY(!rig.controller.Comm1().isOpen());
}

void TestDeviceController::portMenuOffersListedTypedAndSimulator()
{
    QMenu menu;
    menu.addAction(QStringLiteral("COM 1"));
    QString chosen = QStringLiteral("/dev/pts/9");
    QString typed = QStringLiteral("/dev/pts/7");
    PortChoiceMenu ports(&menu, [&] { return chosen; }, [&] { return typed; });
    QStringList picked;
    connect(&ports, &PortChoiceMenu::deviceChosen, this, [&](const QString &d) { picked << d; });
    const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    const std::vector<ListedPort> listed = withStableNames(
        {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0  FT232R USB UART")},
         {QStringLiteral("/dev/ttyACM0"), QStringLiteral("ttyACM0")}},
        {{byId, QStringLiteral("/dev/ttyUSB0")}});
    QCOMPARE(listed[0].device, byId);
    QCOMPARE(listed[1].device, QStringLiteral("/dev/ttyACM0")); // no stable name: as listed
    ports.rebuild(listed);
    QStringList texts;
    for (QAction *a : ports.entries()) {
        if (!a->isSeparator())
            texts << a->text() + (a->isChecked() ? QStringLiteral(" *") : QString());
    }
    QCOMPARE(texts, (QStringList{"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (ttyUSB0)", "ttyACM0",
                                 "/dev/pts/9 *", "/dev/pts/7", msg::PortTyped.toString(), "シミュレータ"}));
    ports.entries().constLast()->trigger();
    ports.entries().at(1)->trigger();
    QCOMPARE(picked, (QStringList{kSimulatorDevice, byId}));

    // COM 1 to 4: nothing of ours is ticked, the typed path stays on offer, and a rebuild
    // replaces the entries.
    chosen.clear();
    ports.rebuild({});
    QCOMPARE(menu.actions().size(), 1 + 5);
    for (QAction *a : ports.entries())
        QVERIFY(!a->isChecked());
    QCOMPARE(ports.entries().at(1)->text(), typed);
}

void TestDeviceController::uploadAndDownloadsTakeTurnsOnThePort()
{
    Rig rig;
    QStringList status;
    connect(&rig.controller, &DeviceController::statusChanged, this, [&](const QString &text) { status << text; });
    PortSession &session = rig.controller.session();
    bool ended = false;
    connect(&session, &PortSession::uploadFinished, this, [&](bool sent) { ended = sent; });
    rig.controller.loadLog();
    QVERIFY(runUntil([&] { return rig.main.book.rowCount() == 7; }));
    // A barograph waiting in the queue holds the port: the upload says so and sends nothing.
    rig.controller.downloader().queueBarograph(2);
    QVERIFY(!session.startUpload({'F', "ABCDE           ", 80ms, 10ms}));
    QCOMPARE(rig.main.prompts.informed, QStringList{msg::SendWhileLoading.toString()});
    QVERIFY(runUntil([&] { return rig.idle(); }));
    // While the upload sends, a download waits for it; the status bar follows the upload.
    status.clear();
    QVERIFY(session.startUpload({'F', "ABCDE           ", 80ms, 10ms}));
    rig.controller.loadLog();
    QCOMPARE(rig.main.prompts.informed.last(), msg::LoadWhileSending.toString());
    QVERIFY(runUntil([&] { return ended; }));
    const auto &messages = rig.sim.engine.settingsMessages();
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].bytes, QByteArray("ABCDE           "));
    QCOMPARE(rig.main.book.rowCount(), 7); // the refused log download appended nothing
    QVERIFY(!rig.controller.Comm1().isOpen());
    QCOMPARE(status.first(), msg::SendingStatus.toString().arg(0));
    QVERIFY(status.contains(msg::SendingStatus.toString().arg(93)));
    QCOMPARE(status.last(), msg::SentStatus.toString());
}

void TestDeviceController::simulatorPortStartsTheSimulatorProgram()
{
    Rig rig;
    rig.device = kSimulatorDevice;
    rig.controller.simulatorBytesPerSecond = 0;
    rig.controller.loadLog();
    QVERIFY(runUntil([&] { return rig.main.book.rowCount() == 7; }));
    QVERIFY(rig.main.prompts.asked.empty());
    // A simulator that cannot start is said like a port that does not open.
    Rig missing;
    missing.device = kSimulatorDevice;
    missing.controller.simulatorProgram = missing.dir.filePath("no-such-simulator");
    missing.controller.loadLog();
    QCOMPARE(missing.main.prompts.asked.size(), size_t(1));
    QVERIFY(missing.main.prompts.asked[0].text.contains(QStringLiteral("シミュレータを起動できません")));
    QVERIFY(!missing.controller.downloader().isTransferring());
}

// The same log downloaded again with one new flight, the question answered はい in its real
// box: the new flight only, with its barograph and raw copy; it took off in flight 2's
// minute, so its own name comes with a message naming both.
void TestDeviceController::secondLoadAllAddsOnlyTheNewWhenTold()
{
    struct BoxLink : FakeMainFormLink {
        QtPrompter boxes{&area};
        Prompter &prompter() override { return boxes; }
    } main;
    QTemporaryDir dir;
    main.book.workFolder = dir.path() + u'/';
    PtyInstrument sim;
    sim.bytesPerSecond = 0;
    sim.engine.flights = demoFlights(3);
    QVERIFY(sim.start());
    DownloadState state;
    QTimer timerLoad;
    DeviceController controller{main, state, timerLoad, [&sim] { return sim.path(); }};
    const auto idle = [&] { return !timerLoad.isActive() && !controller.downloader().isTransferring(); };

    controller.loadAll();
    QVERIFY(runUntil([&] { return main.openedGraphs.size() == 3 && idle(); }, 30000));
    sim.engine.flights.push_back(sameMinuteFlight(sim.engine.flights[1]));
    std::shared_ptr<SeenBox> moved;
    const auto asked = whenBoxOpens([&](QWidget *box) {
        moved = answerNextBox(QMessageBox::Ok, 30000);
        qobject_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
    });
    controller.loadAll();
    QVERIFY(runUntil([&] { return main.openedGraphs.size() == 4 && idle(); }, 30000));
    QCOMPARE(asked->text, msg::AskNewOnly.toString().arg(3).arg(1));
    QVERIFY(moved && moved->text.contains(QString::fromLatin1(main.book.row(2).barographFile.toByteArray())));
    QVERIFY(moved->text.contains(QString::fromLatin1(main.book.row(4).barographFile.toByteArray())));
    QCOMPARE(main.book.rowCount(), 5);
    QVERIFY(main.book.row(4).hasBarograph() && main.book.row(4).downloaded);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("raw"))).entryList(QDir::Files).size(), 4);
}

QTEST_MAIN(TestDeviceController)
#include "tst_devicecontroller.moc"
