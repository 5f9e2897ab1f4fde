// TComm on a real serial port: a pseudo-terminal with the simulated instrument behind it.
#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/serial/tcomm.h"
#include "device/sim/ptyinstrument.h"
#include "tests/device/downloadrig.h"
#include "tests/device/rununtil.h"

#include <QTest>

class TestTComm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newComponentHasTheDefaults();
    void openAppliesTheLine_data();
    void openAppliesTheLine();
    void openAndCloseTwiceChangeNothing();
    void openFailuresSayWhatToDo();
    void closedPortAndLongWritesThrow();
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
    QCOMPARE(comm.Port(), quint8(1));
    QCOMPARE(comm.BaudRate(), 9600);
    QCOMPARE(comm.BaudRateUserDefined(), 9600);
    QCOMPARE(comm.ParityBits(), cpbNone);
    QCOMPARE(comm.ByteSize(), cbs8);
    QCOMPARE(comm.StopBits(), csb1);
    QCOMPARE(comm.FlowControls(), TCommFlowControls(cfcRtsCts));
    QCOMPARE(comm.InQueueSize(), quint16(4096));
    QCOMPARE(comm.OutQueueSize(), quint16(4096));
    QCOMPARE(comm.ReceiveNotifySize(), 3072);
    QCOMPARE(comm.SendNotifySize(), 1024);
    QCOMPARE(comm.EventMask(), TCommEventMask(0));
    QVERIFY(!comm.DsrState());
    QVERIFY(!comm.isOpen());
    QCOMPARE(comm.deviceName(), comDeviceName(1));
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
    // A setter on the open port applies at once.
    comm.setBaudRate(2400);
    QCOMPARE(m_sim->hostLine().baudRate, 2400);
}

void TestTComm::openAndCloseTwiceChangeNothing()
{
    TComm comm;
    comm.close();
    comm.setPortName(m_sim->path());
    comm.Open();
    comm.Open();
    QVERIFY(comm.isOpen());
    comm.WriteString("L");
    QVERIFY(runUntil([&] { return !m_sim->engine.requests().empty(); }));
    comm.Close();
    comm.Close();
    QVERIFY(!comm.isOpen());
}

void TestTComm::openFailuresSayWhatToDo()
{
    TComm comm;
    comm.setPortName(QStringLiteral("/dev/duvazi-no-such-port"));
    try {
        comm.Open();
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

void TestTComm::closedPortAndLongWritesThrow()
{
    TComm comm;
    QVERIFY_THROWS_EXCEPTION(ECommError, comm.WriteString("L"));
    QVERIFY_THROWS_EXCEPTION(ECommError, comm.read(1));
    try {
        comm.WriteString("L");
    } catch (const ECommError &e) {
        QCOMPARE(e.message(), QStringLiteral("通信が開始されていない。"));
        QCOMPARE(QByteArray(e.what()), QByteArray("通信が開始されていない。"));
    }
    comm.open(m_sim->path(), instrumentLine());
    comm.setOutQueueSize(4);
    try {
        comm.WriteString("12345");
        QFAIL("wrote more than the queue");
    } catch (const ECommError &e) {
        QCOMPARE(e.message(), msg::CommWriteTooLong.toString());
    }
    comm.WriteString("1234");
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
    comm.WriteString("L");
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
        comm.Close();
    };
    comm.open(m_sim->path(), instrumentLine());
    m_sim->pieceSize = 10;
    comm.WriteString("L");
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
