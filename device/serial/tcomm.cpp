// The serial-port component.
#include "tcomm.h"

#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "device/serial/portadvice.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {

/// Bytes still in the driver's transmit queue, not yet on the wire (0 where the platform
/// does not say).
int driverQueued(const QSerialPort &port)
{
#if defined(Q_OS_UNIX) && defined(TIOCOUTQ)
    int queued = 0;
    if (::ioctl(int(port.handle()), TIOCOUTQ, &queued) == 0)
        return queued;
#else
    Q_UNUSED(port);
#endif
    return 0;
}

} // namespace

TComm::TComm(QObject *parent) : QObject(parent)
{
    connect(&m_serial, &QSerialPort::readyRead, this, &TComm::DoCommReceive);
    connect(&m_serial, &QSerialPort::bytesWritten, this, &TComm::checkSent);
    connect(&m_serial, &QSerialPort::errorOccurred, this, &TComm::onError);
    m_sentPoll.setSingleShot(true);
    m_sentPoll.setTimerType(Qt::PreciseTimer);
    connect(&m_sentPoll, &QTimer::timeout, this, &TComm::checkSent);
}

TComm::~TComm()
{
    close();
}

// RTS/CTS (also for half duplex, which Qt has no toggle mode for) or XON/XOFF; without
// either, RTS is held on. DTR/DSR flow control is not offered by Qt: DTR is then simply
// raised while the port is open, as it is without it. A value the port cannot take (4 data
// bits, say) leaves the previous one.
void TComm::applyLine()
{
    m_serial.setBaudRate(m_line.effectiveBaudRate());
    m_serial.setDataBits(QSerialPort::DataBits(m_line.dataBits()));
    static constexpr QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                       QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                       QSerialPort::SpaceParity};
    m_serial.setParity(parities[m_line.parityBits]);
    static constexpr QSerialPort::StopBits stops[] = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                      QSerialPort::TwoStop};
    m_serial.setStopBits(stops[m_line.stopBits]);
    // The driver's receive queue: when it is full, RTS holds the instrument off.
    m_serial.setReadBufferSize(m_line.inQueueSize);
    const TCommFlowControls f = m_line.flowControls;
    if (f & (cfcRtsCts | cfcHalfDuplex))
        m_serial.setFlowControl(QSerialPort::HardwareControl);
    else if (f & cfcXonXoff)
        m_serial.setFlowControl(QSerialPort::SoftwareControl);
    else
        m_serial.setFlowControl(QSerialPort::NoFlowControl);
    if (m_serial.isOpen() && !(f & (cfcRtsCts | cfcHalfDuplex)))
        m_serial.setRequestToSend(true);
}

void TComm::open(const QString &portName, const LineSettings &settings)
{
    if (m_serial.isOpen())
        return;
    m_device = portName;
    m_line = settings;
    m_serial.setPortName(portName);
    applyLine();
    if (!m_serial.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_serial.error();
        const QString advice = openFailureAdvice(error, portName, m_serial.errorString());
        m_serial.clearError();
        throw ECommOpenError(-1, advice);
    }
    m_serial.clear(QSerialPort::AllDirections);
    applyLine();
    // A pseudo-terminal (the simulator) refuses the DTR request; the line works without it.
    if (!m_serial.setDataTerminalReady(true))
        m_serial.clearError();
}

void TComm::close()
{
    m_sentPoll.stop();
    m_sendPending = false;
    if (!m_serial.isOpen())
        return;
    if (!m_serial.setDataTerminalReady(false))
        m_serial.clearError();
    m_serial.clear(QSerialPort::AllDirections);
    m_serial.close();
    m_serial.clearError();
}

void TComm::write(const QByteArray &bytes)
{
    if (!m_serial.isOpen())
        throw ECommError(msg::CommNotOpen.toString());
    if (bytes.size() > m_line.outQueueSize)
        throw ECommError(msg::CommWriteTooLong.toString());
    m_sendPending = true;
    // flush() hands the bytes to the driver now rather than at the event loop's next turn,
    // which a modal box or a busy window can put off.
    const bool taken = m_serial.write(bytes) == bytes.size()
                       && (m_serial.flush() || m_serial.error() == QSerialPort::NoError);
    if (!taken && m_serial.isOpen()) {
        const int code = int(m_serial.error());
        const QString detail = m_serial.errorString();
        m_serial.clearError();
        m_sendPending = false;
        throw ECommReadWriteError(code, detail);
    }
}

QByteArray TComm::read(int count)
{
    if (!m_serial.isOpen())
        throw ECommError(msg::CommNotOpen.toString());
    QByteArray bytes(qMin<qint64>(count, m_serial.bytesAvailable()), Qt::Uninitialized);
    if (m_serial.read(bytes.data(), bytes.size()) < 0) {
        const int code = int(m_serial.error());
        const QString detail = m_serial.errorString();
        m_serial.clearError();
        throw ECommReadWriteError(code, detail);
    }
    return bytes;
}

void TComm::DoCommReceive()
{
    if (!m_serial.isOpen() || !onReceived)
        return;
    const qint64 waiting = m_serial.bytesAvailable();
    if (waiting > 0)
        onReceived(int(qMin<qint64>(waiting, 0xFFFF)));
}

// Written bytes have left the port when Qt's buffer and the driver's transmit queue are
// both empty. The driver gives no event for that, so its queue is looked at every
// millisecond until it is: a byte takes 2 ms at 4800 bit/s.
void TComm::checkSent()
{
    if (!m_sendPending || !m_serial.isOpen() || m_serial.bytesToWrite() > 0)
        return;
    if (driverQueued(m_serial) > 0) {
        m_sentPoll.start(1);
        return;
    }
    m_sendPending = false;
    if (onSent)
        onSent();
}

// A failed read, write or device ends the transfer: the port is closed at once. Left open,
// a port whose other side has gone (a pseudo-terminal whose server closed, a USB adapter
// pulled out) raises ReadError again and again for as long as it stays open.
void TComm::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        break;
    default:
        return; // open failures are thrown by open(); a refused DTR request is harmless
    }
    if (m_failing || !m_serial.isOpen())
        return;
    m_failing = true;
    // Not the port's errorString(): after a hang-up it can still hold the reason of an
    // earlier refused request (the DTR ioctl on a pseudo-terminal).
    const QString detail = msg::LineLost.toString().arg(error == QSerialPort::ReadError    ? msg::LineReadFailed
                                                        : error == QSerialPort::WriteError ? msg::LineWriteFailed
                                                                                           : msg::LineGone);
    m_sentPoll.stop();
    m_sendPending = false;
    m_serial.close();
    m_serial.clearError();
    m_failing = false;
    if (onFailed)
        onFailed(ECommReadWriteError(int(error), detail));
}
