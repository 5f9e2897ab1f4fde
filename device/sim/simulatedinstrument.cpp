// The in-process simulated instrument.
#include "simulatedinstrument.h"

#include "device/core/commerror.h"
#include "device/core/messages.h"

void SimulatedInstrument::open(const QString &portName, const LineSettings &settings)
{
    if (m_open)
        return;
    if (engine.misbehaviour.kind == Misbehaviour::Kind::OpenFails)
        throw ECommOpenError(-1, msg::PortNotFound.toString().arg(portName));
    m_open = true;
    ++m_openCount;
    m_portName = portName;
    m_settings = settings;
    m_arrived.clear();
    engine.lineOpened();
}

void SimulatedInstrument::close()
{
    m_open = false;
    m_arrived.clear();
}

void SimulatedInstrument::write(const QByteArray &bytes)
{
    if (!m_open)
        throw ECommError(msg::CommNotOpen.toString());
    if (bytes.size() > m_settings.outQueueSize)
        throw ECommError(msg::CommWriteTooLong.toString());
    engine.hostSent(bytes, clock());
    if (sentAtOnce)
        reportSent();
}

void SimulatedInstrument::reportSent()
{
    if (m_open && onSent)
        onSent();
}

QByteArray SimulatedInstrument::read(int count)
{
    if (!m_open)
        throw ECommError(msg::CommNotOpen.toString());
    const QByteArray bytes = m_arrived.left(count);
    m_arrived.remove(0, bytes.size());
    return bytes;
}

int SimulatedInstrument::deliver()
{
    if (!m_open)
        return 0;
    const QByteArray piece = engine.takeOutput(pieceSize > 0 ? pieceSize : 1 << 20);
    if (engine.hasHungUp()) {
        close();
        if (onFailed)
            onFailed(ECommReadWriteError(-1, msg::LineLost.toString().arg(QStringLiteral("hang-up"))));
        return 0;
    }
    if (piece.isEmpty())
        return 0;
    m_arrived += piece;
    if (onReceived)
        onReceived(int(m_arrived.size()));
    return int(piece.size());
}

qint64 SimulatedInstrument::deliverAll(qint64 maxBytes)
{
    qint64 total = 0;
    while (m_open && engine.hasOutput() && total < maxBytes) {
        const int n = deliver();
        if (n == 0 && !engine.hasHungUp())
            break;
        total += n;
    }
    return total;
}

QByteArray SimulatedInstrument::hostBytes() const
{
    QByteArray out;
    for (const InstrumentEngine::HostByte &b : engine.received())
        out += b.byte;
    return out;
}
