// TComm on a real serial port: a pseudo-terminal with the simulated instrument behind it.
#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/serial/portadvice.h"
#include "device/serial/tcomm.h"
#include "device/sim/ptyinstrument.h"
#include "tests/device/downloadrig.h"
#include "tests/device/rununtil.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

Q_DECLARE_METATYPE(PortFacts)

class TestTComm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newComponentHasTheDefaults();
    void openAppliesTheLine_data();
    void openAppliesTheLine();
    void openAndCloseTwiceChangeNothing();
    void openFailuresSayWhatToDo();
    void openAdviceSaysWhatToDo_data();
    void openAdviceSaysWhatToDo();
    void deviceWithoutPermissionIsExplained();
    void closedPortAndLongWritesThrow();
    void sentEventFollowsEachWrite();
    void receiveEventsCountWaitingBytesInOrder();
    void closeInsideTheReceiveEventEndsTheEvents();
    void hangUpClosesThePortOnce();

private:
    std::unique_ptr<PtyInstrument> m_sim;
};

void TestTComm::init()
{
    m_sim = std::make_unique<PtyInstrument>();
    m_sim->bytesPerSecond = 0;
    m_sim->engine.flights = threeFlights();
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
}

void TestTComm::newComponentHasTheDefaults()
{
    TComm comm;
    const LineSettings &line = comm.lineSettings();
    QCOMPARE(line.baudRate, 9600);
    QCOMPARE(line.baudRateUserDefined, 9600);
    QCOMPARE(line.parityBits, cpbNone);
    QCOMPARE(line.byteSize, cbs8);
    QCOMPARE(line.stopBits, csb1);
    QCOMPARE(line.flowControls, TCommFlowControls(cfcRtsCts));
    QCOMPARE(line.inQueueSize, quint16(4096));
    QCOMPARE(line.outQueueSize, quint16(4096));
    QCOMPARE(line.receiveNotifySize, 3072);
    QCOMPARE(line.sendNotifySize, 1024);
    QCOMPARE(line.eventMask, TCommEventMask(0));
    QVERIFY(!comm.isOpen());
    QCOMPARE(lineBytesPerSecond(instrumentLine()), 480);
}

void TestTComm::openAppliesTheLine_data()
{
    QTest::addColumn<LineSettings>("line");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<bool>("parity");
    QTest::addColumn<bool>("twoStopBits");
    QTest::addColumn<bool>("rtsCts");
    QTest::newRow("the instrument's line") << instrumentLine() << 4800 << 8 << false << false << true;
    LineSettings user;
    user.baudRate = -1;
    user.baudRateUserDefined = 19200;
    QTest::newRow("user-defined speed") << user << 19200 << 8 << false << false << true;
    LineSettings other;
    other.byteSize = cbs7;
    other.parityBits = cpbEven;
    other.stopBits = csb2;
    other.flowControls = 0;
    // A pseudo-terminal keeps 8 data bits without parity whatever it is told.
    QTest::newRow("2 stop bits without handshake") << other << 9600 << 8 << false << true << false;
}

// The settings are read back from the terminal itself: what the device really got.
void TestTComm::openAppliesTheLine()
{
    QFETCH(LineSettings, line);
    TComm comm;
    comm.open(m_sim->path(), line); // DTR is refused by a pseudo-terminal: no matter
    QVERIFY(comm.isOpen());
    const PtyInstrument::HostLine seen = m_sim->hostLine();
    QTEST(seen.baudRate, "baudRate");
    QTEST(seen.dataBits, "dataBits");
    QTEST(seen.parity, "parity");
    QTEST(seen.twoStopBits, "twoStopBits");
    QTEST(seen.rtsCts, "rtsCts");
    QCOMPARE(comm.lineSettings(), line);
    QCOMPARE(comm.deviceName(), m_sim->path());
}

void TestTComm::openAndCloseTwiceChangeNothing()
{
    TComm comm;
    comm.close();
    comm.open(m_sim->path(), instrumentLine());
    comm.open(m_sim->path(), instrumentLine());
    QVERIFY(comm.isOpen());
    comm.write("L");
    QVERIFY(runUntil([&] { return !m_sim->engine.requests().empty(); }));
    comm.close();
    comm.close();
    QVERIFY(!comm.isOpen());
}

void TestTComm::openFailuresSayWhatToDo()
{
    TComm comm;
    try {
        comm.open(QStringLiteral("/dev/duvazi-no-such-port"), instrumentLine());
        QFAIL("opened a missing device");
    } catch (const ECommOpenError &e) {
        QCOMPARE(e.ErrorCode, -1);
        QCOMPARE(e.message(), msg::CommOpenError.toString().arg(-1) + u'\n'
                                  + msg::PortNotFound.toString().arg(QStringLiteral("/dev/duvazi-no-such-port")));
    }
    QVERIFY(!comm.isOpen());

    // A device another program holds: its lock refuses the second open.
    TComm first;
    first.open(m_sim->path(), instrumentLine());
    TComm second;
    try {
        second.open(m_sim->path(), instrumentLine());
        QFAIL("opened a device in use");
    } catch (const ECommOpenError &e) {
        QVERIFY2(e.message().contains(msg::PortInUse.toString().arg(m_sim->path())), qPrintable(e.message()));
    }
    QVERIFY(!second.isOpen());
    QVERIFY(first.isOpen());
}

void TestTComm::openAdviceSaysWhatToDo_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<PortFacts>("facts");
    QTest::addColumn<QString>("advice");
    const QString dev = QStringLiteral("/dev/ttyUSB0");
    const int missing = QSerialPort::DeviceNotFoundError;
    const int refused = QSerialPort::PermissionError;
    PortFacts gone;
    QTest::newRow("missing") << missing << gone << msg::PortNotFound.toString().arg(dev);
    PortFacts goneWithBrltty;
    goneWithBrltty.portPrograms = {QStringLiteral("brltty")};
    QTest::newRow("missing, brltty running")
        << missing << goneWithBrltty
        << msg::PortNotFound.toString().arg(dev) + u'\n' + msg::PortTakenByBrltty.toString();
    PortFacts locked;
    locked.exists = true;
    QTest::newRow("not in the group") << refused << locked << msg::PortPermissionDenied.toString().arg(dev);
    PortFacts notYet = locked;
    notYet.group = QStringLiteral("dialout");
    notYet.listedInGroup = true;
    QTest::newRow("in the group since the last login")
        << refused << notYet << msg::PortNeedsNewLogin.toString().arg(dev, QStringLiteral("dialout"));
    PortFacts held = locked;
    held.accessible = true;
    QTest::newRow("held by another program") << refused << held << msg::PortInUse.toString().arg(dev);
    held.portPrograms = {QStringLiteral("ModemManager")};
    QTest::newRow("held, ModemManager running")
        << refused << held << msg::PortInUse.toString().arg(dev) + u'\n' + msg::PortHeldByModemManager.toString();
    QTest::newRow("anything else") << int(QSerialPort::UnknownError) << held
                                   << msg::PortOpenFailed.toString().arg(dev, QStringLiteral("I/O error"));
}

void TestTComm::openAdviceSaysWhatToDo()
{
    QFETCH(int, error);
    QFETCH(PortFacts, facts);
    QTEST(openAdvice(QSerialPort::SerialPortError(error), QStringLiteral("/dev/ttyUSB0"), facts,
                     QStringLiteral("I/O error")),
          "advice");
}

// Only a user other than root can be refused a device.
void TestTComm::deviceWithoutPermissionIsExplained()
{
    if (::geteuid() == 0)
        QSKIP("root opens every device");
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyLOCKED"));
    QFile f(device);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(f.setPermissions(QFile::Permissions()));
    TComm comm;
    try {
        comm.open(device, instrumentLine());
        QFAIL("opened a device without permission");
    } catch (const ECommOpenError &e) {
        QVERIFY2(e.message().contains(msg::PortPermissionDenied.toString().arg(device))
                     || e.message().contains(QStringLiteral("ログインし直す")),
                 qPrintable(e.message()));
    }
}

void TestTComm::closedPortAndLongWritesThrow()
{
    TComm comm;
    QVERIFY_THROWS_EXCEPTION(ECommError, comm.write("L"));
    QVERIFY_THROWS_EXCEPTION(ECommError, comm.read(1));
    try {
        comm.write("L");
    } catch (const ECommError &e) {
        QCOMPARE(e.message(), QStringLiteral("通信が開始されていない。"));
        QCOMPARE(QByteArray(e.what()), QByteArray("通信が開始されていない。"));
    }
    LineSettings small = instrumentLine();
    small.outQueueSize = 4;
    comm.open(m_sim->path(), small);
    try {
        comm.write("12345");
        QFAIL("wrote more than the queue");
    } catch (const ECommError &e) {
        QCOMPARE(e.message(), msg::CommWriteTooLong.toString());
    }
    comm.write("1234");
}

// The sent event comes once per write, after the bytes have reached the other side's
// reach (the terminal), and never before write() was called.
void TestTComm::sentEventFollowsEachWrite()
{
    TComm comm;
    int sent = 0;
    qint64 sentAtUs = -1;
    comm.onSent = [&] {
        ++sent;
        sentAtUs = m_sim->elapsedUs();
    };
    comm.open(m_sim->path(), instrumentLine());
    QCoreApplication::processEvents();
    QCOMPARE(sent, 0);
    comm.write("B");
    QVERIFY(runUntil([&] { return sent == 1; }));
    QVERIFY(runUntil([&] { return !m_sim->engine.received().empty(); }));
    comm.write("01");
    QVERIFY(runUntil([&] { return sent == 2; }));
    QVERIFY(runUntil([&] { return m_sim->engine.requests().size() == 1; }));
    QCOMPARE(m_sim->engine.requests().front(), QByteArray("B01"));
    QVERIFY(sentAtUs >= 0);
    comm.write("L");
    comm.close(); // closed before the event: none comes
    QCoreApplication::processEvents();
    QCOMPARE(sent, 2);
}

void TestTComm::receiveEventsCountWaitingBytesInOrder()
{
    m_sim->pieceSize = 5;
    TComm comm;
    QByteArray received;
    int events = 0;
    comm.onReceived = [&](int waiting) {
        ++events;
        const QByteArray bytes = comm.read(waiting);
        QCOMPARE(bytes.size(), qsizetype(waiting));
        received += bytes;
    };
    comm.open(m_sim->path(), instrumentLine());
    comm.write("L");
    const QByteArray reply = logReplyFor(threeFlights());
    QVERIFY(runUntil([&] { return received.size() >= reply.size(); }));
    QCOMPARE(received, reply);
    QVERIFY(events > 1);
}

void TestTComm::closeInsideTheReceiveEventEndsTheEvents()
{
    TComm comm;
    int events = 0;
    comm.onReceived = [&](int waiting) {
        ++events;
        comm.read(waiting);
        comm.close();
    };
    comm.open(m_sim->path(), instrumentLine());
    m_sim->pieceSize = 10;
    comm.write("L");
    QVERIFY(runUntil([&] { return events > 0; }));
    QVERIFY(!comm.isOpen());
    QVERIFY(runUntil([&] { return m_sim->engine.sentBytes() >= logReplyFor(threeFlights()).size(); }));
    QCOMPARE(events, 1);
}

void TestTComm::hangUpClosesThePortOnce()
{
    TComm comm;
    int failures = 0;
    QString message;
    comm.onReceived = [&](int waiting) { comm.read(waiting); };
    comm.onFailed = [&](const ECommError &e) {
        ++failures;
        message = e.message();
        QVERIFY(!comm.isOpen());
    };
    comm.open(m_sim->path(), instrumentLine());
    m_sim->hangUp();
    QVERIFY(runUntil([&] { return failures > 0; }));
    QVERIFY(!comm.isOpen());
    QVERIFY(message.startsWith(QStringLiteral("入出力エラー ErrorCode = ")));
    // The reason is the hang-up's own, never the one left by the refused DTR request.
    QVERIFY2(message.contains(QStringLiteral("通信が切断されました。")) && !message.contains(u"ioctl", Qt::CaseInsensitive),
             qPrintable(message));
    // Nothing more comes once the port is closed (a port left open would fail on and on).
    QCoreApplication::processEvents();
    QCOMPARE(failures, 1);
}

QTEST_GUILESS_MAIN(TestTComm)
#include "tst_tcomm.moc"
