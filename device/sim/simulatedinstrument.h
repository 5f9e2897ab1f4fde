// The instrument in-process, behind the link interface: the transfer procedures talk to it
// as to a real port, and a test decides when its answers arrive and in what pieces.
// QtCore only.
#pragma once

#include "device/core/seriallink.h"
#include "device/sim/instrumentengine.h"

#include <functional>

class SimulatedInstrument : public SerialLink {
public:
    InstrumentEngine engine;
    /// Largest piece one delivery hands over; 0 delivers all that is waiting at once.
    int pieceSize = 0;
    /// Whether what the host writes has left the port at once (onSent from inside write());
    /// otherwise it leaves when the test calls reportSent().
    bool sentAtOnce = true;
    /// The time recorded with each byte the host sends (milliseconds).
    std::function<qint64()> clock = [] { return qint64(0); };

    SimulatedInstrument() = default;
    explicit SimulatedInstrument(std::vector<SimFlight> flights) { engine.flights = std::move(flights); }

    void open(const QString &portName, const LineSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray &bytes) override;
    QByteArray read(int count) override;

    /// Hands the next piece of the answer to the host (onReceived). Returns the bytes
    /// handed over; 0 when nothing is waiting or the port is closed. When the line goes
    /// dead, closes the port and raises onFailed instead.
    int deliver();
    /// Delivers until nothing is waiting, the port is closed, or `maxBytes` went over.
    /// Returns the bytes delivered.
    qint64 deliverAll(qint64 maxBytes = 4 * 1024 * 1024);

    /// The bytes written have left the port: raises onSent.
    void reportSent();

    int openCount() const { return m_openCount; }
    const QString &lastPortName() const { return m_portName; }
    const LineSettings &lastSettings() const { return m_settings; }
    /// What the host sent, as one byte string.
    QByteArray hostBytes() const;

private:
    bool m_open = false;
    int m_openCount = 0;
    QString m_portName;
    LineSettings m_settings;
    QByteArray m_arrived; ///< delivered, not yet read by the host
};
