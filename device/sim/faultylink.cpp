// A link that fails after n bytes.
#include "faultylink.h"

#include "device/core/commerror.h"

namespace {
constexpr qint32 kInjectedFault = 0x0008; // the line's framing-error flag
}

void FaultyLink::write(const QByteArray &bytes)
{
    if (failWriteAfter >= 0 && m_written + bytes.size() > failWriteAfter)
        throw ECommReadWriteError(kInjectedFault);
    m_inner.write(bytes);
    m_written += bytes.size();
}

QByteArray FaultyLink::read(int count)
{
    if (failReadAfter >= 0 && m_read + count > failReadAfter)
        throw ECommReadWriteError(kInjectedFault);
    QByteArray bytes = m_inner.read(count);
    m_read += bytes.size();
    return bytes;
}
