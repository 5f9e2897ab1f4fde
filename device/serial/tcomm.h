// TComm (module Comm): the serial-port component on QSerialPort. It owns the port and the
// line settings, opens and closes the port on request, writes and reads raw bytes, and
// tells its owner how many received bytes are waiting. It knows nothing of the instrument.
//
// Receive events come from QSerialPort's readyRead on the thread that owns the component
// (the GUI thread), so they arrive in order, one at a time, serialised with everything else
// the GUI does; no watch thread, no lock, no busy wait. Writes are queued and go out from
// the event loop: Write never waits for the transmit queue.
#pragma once

#include "device/core/seriallink.h"

#include <QObject>
#include <QSerialPort>

#include <functional>

class TComm : public QObject, public SerialLink {
    Q_OBJECT
public:
    explicit TComm(QObject *parent = nullptr);
    /// Closes the port if it is open.
    ~TComm() override;

    // Published properties, with the defaults of a new component. Each setter stores the
    // value and, while the port is open, applies it at once.
    quint8 Port() const { return m_port; }
    void setPort(quint8 port) { m_port = port; }                  ///< default 1: "COM 1"
    /// The device to open; empty (the default) opens comDeviceName(Port()).
    QString PortName() const { return m_portName; }
    void setPortName(const QString &name) { m_portName = name; }
    qint32 BaudRate() const { return m_line.baudRate; }
    void setBaudRate(qint32 rate);                                 ///< default 9600; -1: user defined
    qint32 BaudRateUserDefined() const { return m_line.baudRateUserDefined; }
    void setBaudRateUserDefined(qint32 rate);                      ///< default 9600
    TCommParityBits ParityBits() const { return m_line.parityBits; }
    void setParityBits(TCommParityBits parity);                    ///< default cpbNone
    TCommByteSize ByteSize() const { return m_line.byteSize; }
    void setByteSize(TCommByteSize size);                          ///< default cbs8
    TCommStopBits StopBits() const { return m_line.stopBits; }
    void setStopBits(TCommStopBits bits);                          ///< default csb1
    TCommFlowControls FlowControls() const { return m_line.flowControls; }
    void setFlowControls(TCommFlowControls flow);                  ///< default cfcRtsCts
    quint16 InQueueSize() const { return m_line.inQueueSize; }
    void setInQueueSize(quint16 size);                             ///< default 4096
    quint16 OutQueueSize() const { return m_line.outQueueSize; }
    void setOutQueueSize(quint16 size) { m_line.outQueueSize = size; } ///< default 4096
    /// The XOFF and XON limits of input flow control belong to the driver, which Qt does
    /// not reach; they are kept for the settings' sake (defaults 3072 and 1024).
    qint32 ReceiveNotifySize() const { return m_line.receiveNotifySize; }
    void setReceiveNotifySize(qint32 size) { m_line.receiveNotifySize = size; }
    qint32 SendNotifySize() const { return m_line.sendNotifySize; }
    void setSendNotifySize(qint32 size) { m_line.sendNotifySize = size; }
    /// Port events besides received data. Qt reports no modem-line or line-status events,
    /// so the mask is kept but wakes nothing; the program never sets it (default empty).
    TCommEventMask EventMask() const { return m_line.eventMask; }
    void setEventMask(TCommEventMask mask) { m_line.eventMask = mask; }
    /// True when the port is open and the modem reports DSR on.
    bool DsrState();
    const LineSettings &lineSettings() const { return m_line; }

    /// Called when the transmit queue ran empty, with the count still queued (0). The
    /// program never assigns it. The receive event is SerialLink::onReceived.
    std::function<void(TComm *sender, quint16 size)> OnCommTransmit;

    /// Opens the port and raises DTR; does nothing if open. Throws ECommOpenError
    /// (ErrorCode -1) with advice on what to do.
    void Open();
    /// Drops DTR, discards both queues and closes; does nothing if closed. Safe inside the
    /// receive event.
    void Close();
    /// Queues `count` bytes for sending. Throws ECommError when closed or when `count`
    /// exceeds OutQueueSize, ECommReadWriteError when the port refuses them.
    void Write(const char *buffer, int count);
    /// Takes `count` received bytes into `buffer` (the count the receive event reported).
    /// Throws ECommError when closed, ECommReadWriteError on failure.
    void Read(char *buffer, int count);
    /// Writes the bytes of `text` without a terminator.
    void WriteString(QByteArrayView text);

    // SerialLink
    void open(const QString &portName, const LineSettings &settings) override;
    void close() override { Close(); }
    bool isOpen() const override { return m_serial.isOpen(); }
    void write(const QByteArray &bytes) override { Write(bytes.constData(), int(bytes.size())); }
    QByteArray read(int count) override;

    /// The device Open() uses.
    QString deviceName() const;

private:
    void applyLine();
    void applyFlowControl();
    void DoCommReceive();
    void DoCommTransmit();
    void onError(QSerialPort::SerialPortError error);
    QString openAdvice(QSerialPort::SerialPortError error, const QString &device) const;

    QSerialPort m_serial;
    quint8 m_port = 1;
    QString m_portName;
    LineSettings m_line;
    bool m_failing = false;
};
