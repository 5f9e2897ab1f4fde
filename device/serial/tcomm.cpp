// The serial-port component.
#include "tcomm.h"

#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "device/core/portname.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

TComm::TComm(QObject *parent) : QObject(parent)
{
    connect(&m_serial, &QSerialPort::readyRead, this, &TComm::DoCommReceive);
    connect(&m_serial, &QSerialPort::bytesWritten, this, &TComm::DoCommTransmit);
    connect(&m_serial, &QSerialPort::errorOccurred, this, &TComm::onError);
}

TComm::~TComm()
{
    Close();
}

QString TComm::deviceName() const
{
    return m_portName.isEmpty() ? comDeviceName(m_port) : m_portName;
}

void TComm::setBaudRate(qint32 rate)
{
    m_line.baudRate = rate;
    applyLine();
}

void TComm::setBaudRateUserDefined(qint32 rate)
{
    m_line.baudRateUserDefined = rate;
    applyLine();
}

void TComm::setParityBits(TCommParityBits parity)
{
    m_line.parityBits = parity;
    applyLine();
}

void TComm::setByteSize(TCommByteSize size)
{
    m_line.byteSize = size;
    applyLine();
}

void TComm::setStopBits(TCommStopBits bits)
{
    m_line.stopBits = bits;
    applyLine();
}

void TComm::setFlowControls(TCommFlowControls flow)
{
    m_line.flowControls = flow;
    applyLine();
}

void TComm::setInQueueSize(quint16 size)
{
    m_line.inQueueSize = size;
    applyLine();
}

// QSerialPort keeps these and applies them when it opens; on an open port they take effect
// at once. A value the port cannot take (4 data bits, say) leaves the previous one.
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
    applyFlowControl();
}

// RTS/CTS (also for half duplex, which Qt has no toggle mode for) or XON/XOFF; without
// either, RTS is held on. DTR/DSR flow control is not offered by Qt: DTR is then simply
// raised while the port is open, as it is without it.
void TComm::applyFlowControl()
{
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

void TComm::Open()
{
    if (m_serial.isOpen())
        return;
    const QString device = deviceName();
    m_serial.setPortName(device);
    applyLine();
    if (!m_serial.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_serial.error();
        const QString advice = openAdvice(error, device);
        m_serial.clearError();
        throw ECommOpenError(-1, advice);
    }
    m_serial.clear(QSerialPort::AllDirections);
    applyFlowControl();
    // A pseudo-terminal (the simulator) refuses the DTR request; the line works without it.
    if (!m_serial.setDataTerminalReady(true))
        m_serial.clearError();
}

void TComm::Close()
{
    if (!m_serial.isOpen())
        return;
    if (!m_serial.setDataTerminalReady(false))
        m_serial.clearError();
    m_serial.clear(QSerialPort::AllDirections);
    m_serial.close();
    m_serial.clearError();
}

void TComm::Write(const char *buffer, int count)
{
    if (!m_serial.isOpen())
        throw ECommError(msg::CommNotOpen.toString());
    if (count > m_line.outQueueSize)
        throw ECommError(msg::CommWriteTooLong.toString());
    if (m_serial.write(buffer, count) != count) {
        const int code = int(m_serial.error());
        const QString detail = m_serial.errorString();
        m_serial.clearError();
        throw ECommReadWriteError(code, detail);
    }
}

void TComm::Read(char *buffer, int count)
{
    if (!m_serial.isOpen())
        throw ECommError(msg::CommNotOpen.toString());
    if (m_serial.read(buffer, count) < 0) {
        const int code = int(m_serial.error());
        const QString detail = m_serial.errorString();
        m_serial.clearError();
        throw ECommReadWriteError(code, detail);
    }
}

void TComm::WriteString(QByteArrayView text)
{
    Write(text.data(), int(text.size()));
}

void TComm::open(const QString &portName, const LineSettings &settings)
{
    if (m_serial.isOpen())
        return;
    m_portName = portName;
    m_line = settings;
    Open();
}

QByteArray TComm::read(int count)
{
    QByteArray bytes(qMin<qint64>(count, m_serial.bytesAvailable()), Qt::Uninitialized);
    Read(bytes.data(), int(bytes.size()));
    return bytes;
}

bool TComm::DsrState()
{
    return m_serial.isOpen() && (m_serial.pinoutSignals() & QSerialPort::DataSetReadySignal);
}

void TComm::DoCommReceive()
{
    if (!m_serial.isOpen() || !onReceived)
        return;
    const qint64 waiting = m_serial.bytesAvailable();
    if (waiting > 0)
        onReceived(int(qMin<qint64>(waiting, 0xFFFF)));
}

void TComm::DoCommTransmit()
{
    if (m_serial.isOpen() && OnCommTransmit && m_serial.bytesToWrite() == 0)
        OnCommTransmit(this, 0);
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
        return; // open failures are thrown by Open(); a refused DTR request is harmless
    }
    if (m_failing || !m_serial.isOpen())
        return;
    m_failing = true;
    // Not the port's errorString(): after a hang-up it can still hold the reason of an
    // earlier refused request (the DTR ioctl on a pseudo-terminal).
    const QString detail = msg::LineLost.toString().arg(error == QSerialPort::ReadError    ? msg::LineReadFailed
                                                        : error == QSerialPort::WriteError ? msg::LineWriteFailed
                                                                                           : msg::LineGone);
    m_serial.close();
    m_serial.clearError();
    m_failing = false;
    if (onFailed)
        onFailed(ECommReadWriteError(int(error), detail));
}

QString TComm::openAdvice(QSerialPort::SerialPortError error, const QString &device) const
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return msg::PortNotFound.toString().arg(device);
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // The same error stands for a device another program holds (its lock file) and
        // for a device this user may not open; only the second is cured by a group.
        if (QFileInfo::exists(device) && ::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0)
            return msg::PortPermissionDenied.toString().arg(device);
#endif
        return msg::PortInUse.toString().arg(device);
    default:
        return msg::PortOpenFailed.toString().arg(device, m_serial.errorString());
    }
}
