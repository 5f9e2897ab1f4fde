// The only door to the instrument. Knows bytes, not messages. No widgets.
// Implemented by TComm on a real port, by the simulator in-process, and by wrappers that
// inject faults or record traffic.
#pragma once

#include "device/core/linesettings.h"

#include <QByteArray>
#include <QString>

#include <functional>

class ECommError;

class SerialLink {
public:
    virtual ~SerialLink() = default;

    /// Opens `portName` (a device such as "/dev/ttyUSB0" or "COM1") with the given line
    /// settings. Does nothing if already open. Throws ECommOpenError.
    virtual void open(const QString &portName, const LineSettings &settings) = 0;
    /// Closes the port; does nothing if closed. May be called from inside onReceived and
    /// never waits for anything.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    /// Sends bytes: queues them and returns; onSent tells when they have left the port.
    /// Throws ECommError when closed or too long, ECommReadWriteError when the port refuses
    /// them.
    virtual void write(const QByteArray &bytes) = 0;
    /// Takes up to `count` received bytes without waiting; meant for the count that
    /// onReceived reported. Throws ECommError when closed, ECommReadWriteError on failure.
    virtual QByteArray read(int count) = 0;

    /// Raised on the GUI thread, in order, when received bytes are waiting: how many.
    std::function<void(int waiting)> onReceived;
    /// Raised on the GUI thread once every byte written so far has left the port (the
    /// driver's transmit queue has run empty), possibly from inside write(). A pause the
    /// instrument must see between two bytes starts here, not when the first was queued:
    /// the transmit queue, the handshake and a busy event loop can hold a byte back.
    std::function<void()> onSent;
    /// Raised on the GUI thread when the port failed on its own (the other side hung up,
    /// the adapter was pulled). The port is already closed when this is called.
    std::function<void(const ECommError &error)> onFailed;
};
