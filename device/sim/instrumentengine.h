// The simulated instrument's side of the protocol, shared by the in-process link and the
// pseudo-terminal server: it takes the host's bytes, records them with their times, and
// queues its answers, misbehaving on request. No I/O, no timers. QtCore only.
#pragma once

#include "device/sim/simflight.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

/// The instrument's named failures.
struct Misbehaviour {
    enum class Kind {
        None,
        NoAnswer,    ///< requests are taken and never answered
        CutAfter,    ///< a reply stops after n bytes, for good
        CorruptByte, ///< byte n of a reply is replaced by 'x'
        Garbage,     ///< the reply is replaced by bytes that are no reply at all
        Babble,      ///< the reply never ends: after its first n bytes come digits for ever
        HangUp,      ///< after n bytes of a reply the line goes dead
        OpenFails,   ///< the port cannot be opened (in-process link only)
    };
    enum class Target { AnyReply, LogReply, BarographReply };

    Kind kind = Kind::None;
    int n = 0;
    Target target = Target::AnyReply;
    int flight = 0; ///< with BarographReply: only this flight's barograph (0: every one)

    static Misbehaviour none() { return {}; }
    static Misbehaviour of(Kind kind, int n = 0, Target target = Target::AnyReply, int flight = 0)
    {
        return {kind, n, target, flight};
    }
};

class InstrumentEngine {
public:
    /// A settings message the host sent, byte by byte with the time each byte arrived.
    struct SettingsMessage {
        char command = 0;
        QByteArray bytes;
        std::vector<qint64> byteTimesMs;
        qint64 commandTimeMs = 0;
    };
    struct HostByte {
        char byte;
        qint64 timeMs;
    };

    std::vector<SimFlight> flights; ///< index 0 is flight 1
    Misbehaviour misbehaviour;
    /// Goes on sending a reply to its end whatever the host does: a reply the host gave up
    /// on comes out in full when the port opens again, and a new request is answered only
    /// after it. Otherwise the instrument drops what it had still to send when the port
    /// opens or a new command arrives.
    bool keepsSending = false;

    /// The host's bytes, arrived at `nowMs`.
    void hostSent(QByteArrayView bytes, qint64 nowMs);
    /// Whether answer bytes are waiting (always true while babbling).
    bool hasOutput() const;
    /// Takes up to `max` answer bytes. Stops at the point where the line goes dead.
    QByteArray takeOutput(int max);
    /// The line went dead (HangUp reached). Nothing more is sent.
    bool hasHungUp() const { return m_hungUp; }
    /// Bytes of answers sent so far.
    qint64 sentBytes() const { return m_sent; }

    /// Every byte the host sent, in order.
    const std::vector<HostByte> &received() const { return m_received; }
    /// Every complete settings message ("F", "P", "O").
    const std::vector<SettingsMessage> &settingsMessages() const { return m_settings; }
    /// The requests answered so far: "L", "B05", ...
    const std::vector<QByteArray> &requests() const { return m_requests; }

    /// The host opened the port: a half-received request is gone, so are unsent answers
    /// unless the instrument keeps sending, and a line that went dead works again (plugged
    /// back in).
    void lineOpened();

private:
    enum class Expect { Command, FlightNumber, SettingsBytes };
    void answer(const QByteArray &reply, Misbehaviour::Target kind, int flight = 0);
    /// A new command: unless it keeps sending, the instrument drops the rest of its answer.
    void dropUnsent();

    Expect m_expect = Expect::Command;
    QByteArray m_partial;
    SettingsMessage m_message;
    int m_messageLength = 0;

    QByteArray m_out;       ///< answer bytes not yet taken
    qint64 m_hangUpAt = -1; ///< stream position at which the line goes dead
    bool m_babbling = false;
    bool m_hungUp = false;
    qint64 m_sent = 0;
    std::vector<HostByte> m_received;
    std::vector<SettingsMessage> m_settings;
    std::vector<QByteArray> m_requests;
};
