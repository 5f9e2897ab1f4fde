// Recording a link's traffic.
#include "trafficlog.h"

#include "device/core/commerror.h"

TrafficLog::TrafficLog(SerialLink &inner, std::function<qint64()> clock)
    : ForwardingLink(inner), m_clock(std::move(clock))
{
}

void TrafficLog::failedFromInner(const ECommError &e)
{
    m_entries.push_back({Direction::Failed, m_clock(), e.message().toUtf8()});
    ForwardingLink::failedFromInner(e);
}

void TrafficLog::open(const QString &portName, const LineSettings &settings)
{
    const bool wasOpen = m_inner.isOpen();
    m_inner.open(portName, settings);
    if (!wasOpen)
        m_entries.push_back({Direction::Open, m_clock(), portName.toUtf8()});
}

void TrafficLog::close()
{
    if (m_inner.isOpen())
        m_entries.push_back({Direction::Close, m_clock(), {}});
    m_inner.close();
}

void TrafficLog::write(const QByteArray &bytes)
{
    m_inner.write(bytes);
    m_entries.push_back({Direction::Sent, m_clock(), bytes});
}

QByteArray TrafficLog::read(int count)
{
    QByteArray bytes = m_inner.read(count);
    if (!bytes.isEmpty())
        m_entries.push_back({Direction::Received, m_clock(), bytes});
    return bytes;
}

QByteArray TrafficLog::receivedBytes() const
{
    QByteArray out;
    for (const Entry &e : m_entries) {
        if (e.direction == Direction::Received)
            out += e.bytes;
    }
    return out;
}

QByteArray TrafficLog::sentBytes() const
{
    QByteArray out;
    for (const Entry &e : m_entries) {
        if (e.direction == Direction::Sent)
            out += e.bytes;
    }
    return out;
}

QByteArray TrafficLog::toText() const
{
    QByteArray out;
    for (const Entry &e : m_entries) {
        out += QByteArray::number(e.timeMs) + ' ';
        switch (e.direction) {
        case Direction::Open: out += "open "; break;
        case Direction::Close: out += "close"; break;
        case Direction::Sent: out += "> "; break;
        case Direction::Received: out += "< "; break;
        case Direction::Failed: out += "failed "; break;
        }
        for (const char c : e.bytes) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && u < 0x7F && c != '\\')
                out += c;
            else
                out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        }
        out += '\n';
    }
    return out;
}
