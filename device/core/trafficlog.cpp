// Recording a link's traffic.
#include "trafficlog.h"

#include "device/core/commerror.h"

#include <QIODevice>

TrafficLog::TrafficLog(SerialLink &inner, std::function<qint64()> clock)
    : ForwardingLink(inner), m_clock(std::move(clock))
{
}

void TrafficLog::failedFromInner(const ECommError &e)
{
    record(Direction::Failed, e.message().toUtf8());
    ForwardingLink::failedFromInner(e);
}

void TrafficLog::open(const QString &portName, const LineSettings &settings)
{
    const bool wasOpen = m_inner.isOpen();
    m_inner.open(portName, settings);
    if (!wasOpen)
        record(Direction::Open, portName.toUtf8());
}

void TrafficLog::close()
{
    if (m_inner.isOpen())
        record(Direction::Close, {});
    m_inner.close();
}

void TrafficLog::write(const QByteArray &bytes)
{
    m_inner.write(bytes);
    record(Direction::Sent, bytes);
}

QByteArray TrafficLog::read(int count)
{
    QByteArray bytes = m_inner.read(count);
    if (!bytes.isEmpty())
        record(Direction::Received, bytes);
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

void TrafficLog::record(Direction direction, QByteArray bytes)
{
    Entry entry{direction, m_clock(), std::move(bytes)};
    if (m_transcript)
        m_transcript->write(entryText(entry) + '\n');
    if (keepEntries)
        m_entries.push_back(std::move(entry));
}

QByteArray TrafficLog::entryText(const Entry &e)
{
    QByteArray out = QByteArray::number(e.timeMs) + ' ';
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
    return out;
}

QByteArray TrafficLog::toText() const
{
    QByteArray out;
    for (const Entry &e : m_entries)
        out += entryText(e) + '\n';
    return out;
}
