// TComm (module Comm): the serial-port component on QSerialPort. It owns the port and the
// line settings, opens and closes the port on request, writes and reads raw bytes, and
// tells its owner how many received bytes are waiting and when written bytes have left the
// port. It knows nothing of the instrument. Its one API is SerialLink's.
//
// Receive events come from QSerialPort's readyRead on the thread that owns the component
// (the GUI thread), so they arrive in order, one at a time, serialised with everything else
// the GUI does; no watch thread, no lock, no busy wait. Writes are handed to the driver at
// once and never wait for the transmit queue.
#pragma once

#include "device/core/seriallink.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>

class TComm : public QObject, public SerialLink {
    Q_OBJECT
public:
    explicit TComm(QObject *parent = nullptr);
    /// Closes the port if it is open.
    ~TComm() override;

    /// Opens `portName` with `settings` and raises DTR; does nothing if open. Throws
    /// ECommOpenError (ErrorCode -1) with what the user can do on a line of its own.
    void open(const QString &portName, const LineSettings &settings) override;
    /// Drops DTR, discards both queues and closes; does nothing if closed. Safe inside the
    /// receive event.
    void close() override;
    bool isOpen() const override { return m_serial.isOpen(); }
    /// Hands the bytes to the driver. Throws ECommError when closed or when they are more
    /// than the transmit queue takes, ECommReadWriteError when the port refuses them.
    void write(const QByteArray &bytes) override;
    /// Takes up to `count` received bytes. Throws ECommError when closed,
    /// ECommReadWriteError on failure.
    QByteArray read(int count) override;

    /// The device the port was last opened on, and its line.
    QString deviceName() const { return m_serial.portName().isEmpty() ? QString() : m_device; }
    const LineSettings &lineSettings() const { return m_line; }

private:
    void applyLine();
    void DoCommReceive();
    void checkSent();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_serial;
    QString m_device;
    LineSettings m_line;
    QTimer m_sentPoll;       ///< looks again at the driver's transmit queue
    bool m_sendPending = false;
    bool m_failing = false;
};
