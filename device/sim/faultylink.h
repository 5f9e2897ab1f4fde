// Wraps any link and fails it mechanically: a read or write throws once a number of bytes
// has passed, whatever the bytes mean. QtCore only.
#pragma once

#include "device/core/forwardinglink.h"

class FaultyLink : public ForwardingLink {
public:
    using ForwardingLink::ForwardingLink;

    /// Reads throw ECommReadWriteError once this many bytes were read (-1: never).
    qint64 failReadAfter = -1;
    /// Writes throw ECommReadWriteError once this many bytes were written (-1: never).
    qint64 failWriteAfter = -1;

    void write(const QByteArray &bytes) override;
    QByteArray read(int count) override;

    qint64 bytesRead() const { return m_read; }
    qint64 bytesWritten() const { return m_written; }

private:
    qint64 m_read = 0;
    qint64 m_written = 0;
};
