// Wraps any link and records both directions with their times, so that a session (with the
// real instrument, too) can be read back, asserted on, or kept as test data; with a
// transcript device it writes each entry there as it happens (duvazi-tool download --trace,
// the program's "TrafficTrace" setting). QtCore only.
#pragma once

#include "device/core/forwardinglink.h"

#include <functional>
#include <vector>

class QIODevice;

class TrafficLog : public ForwardingLink {
public:
    enum class Direction { Open, Close, Sent, Received, Failed };
    struct Entry {
        Direction direction;
        qint64 timeMs;
        QByteArray bytes; ///< the bytes; for Open the port name, for Failed the message (UTF-8)
    };

    /// `inner` must outlive this log. `clock` gives the time of each entry in milliseconds.
    TrafficLog(SerialLink &inner, std::function<qint64()> clock);

    void open(const QString &portName, const LineSettings &settings) override;
    void close() override;
    void write(const QByteArray &bytes) override;
    QByteArray read(int count) override;

    /// Also writes every entry, as one line of toText(), to `device` (borrowed; null: none)
    /// as soon as it happens, so a transcript is whole up to a crash.
    void setTranscript(QIODevice *device) { m_transcript = device; }
    /// Keeps the entries in memory (the default); a long transcript need not.
    bool keepEntries = true;

    const std::vector<Entry> &entries() const { return m_entries; }
    /// Everything received, joined.
    QByteArray receivedBytes() const;
    /// Everything sent, joined.
    QByteArray sentBytes() const;
    /// One line per entry: time in ms, direction (">" sent, "<" received, "open", "close",
    /// "failed") and the bytes with non-printing ones as \xNN.
    QByteArray toText() const;
    /// One entry's line, without the line end.
    static QByteArray entryText(const Entry &entry);

protected:
    void failedFromInner(const ECommError &e) override;

private:
    void record(Direction direction, QByteArray bytes);

    std::function<qint64()> m_clock;
    QIODevice *m_transcript = nullptr;
    std::vector<Entry> m_entries;
};
