// The simulated instrument's protocol side.
#include "instrumentengine.h"

#include "device/core/protocol.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// Bytes no instrument sends: a text line and a few control and high bytes.
QByteArray garbage()
{
    return QByteArray("#?ERR \x07\xff\x80 line noise\r\n", 21);
}

} // namespace

void InstrumentEngine::lineOpened()
{
    m_expect = Expect::Command;
    m_partial.clear();
    if (!keepsSending)
        dropUnsent();
    if (m_hungUp)
        m_hangUpAt = -1;
    m_hungUp = false;
}

void InstrumentEngine::dropUnsent()
{
    if (keepsSending)
        return;
    m_out.clear();
    m_babbling = false;
    m_hangUpAt = -1;
}

void InstrumentEngine::hostSent(QByteArrayView bytes, qint64 nowMs)
{
    for (const char c : bytes) {
        m_received.push_back({c, nowMs});
        switch (m_expect) {
        case Expect::Command:
            switch (c) {
            case protocol::kLogCommand:
                dropUnsent();
                m_requests.push_back("L");
                answer(logReplyFor(flights), Misbehaviour::Target::LogReply);
                break;
            case protocol::kBarographCommand:
                dropUnsent();
                m_expect = Expect::FlightNumber;
                m_partial.clear();
                break;
            case protocol::kFlyerCommand:
            case protocol::kParameterCommand:
            case protocol::kOptionCommand:
                m_expect = Expect::SettingsBytes;
                m_message = SettingsMessage{c, {}, {}, nowMs};
                m_messageLength = c == protocol::kFlyerCommand ? protocol::kFlyerMessageBytes
                                  : c == protocol::kParameterCommand ? protocol::kParameterMessageBytes
                                                                     : protocol::kOptionMessageBytes;
                break;
            default:
                break; // the instrument ignores what it does not know
            }
            break;
        case Expect::FlightNumber:
            if (!isDigit(c)) {
                m_expect = Expect::Command;
                break;
            }
            m_partial += c;
            if (m_partial.size() == 2) {
                m_expect = Expect::Command;
                m_requests.push_back("B" + m_partial);
                const int number = m_partial.toInt();
                if (number >= 1 && number <= int(flights.size()))
                    answer(flights[size_t(number - 1)].barographReply(), Misbehaviour::Target::BarographReply, number);
            }
            break;
        case Expect::SettingsBytes:
            m_message.bytes += c;
            m_message.byteTimesMs.push_back(nowMs);
            if (m_message.bytes.size() == m_messageLength) {
                m_settings.push_back(m_message);
                m_expect = Expect::Command;
            }
            break;
        }
    }
}

void InstrumentEngine::answer(const QByteArray &reply, Misbehaviour::Target kind, int flight)
{
    const Misbehaviour &m = misbehaviour;
    const bool applies = (m.target == Misbehaviour::Target::AnyReply || m.target == kind)
                         && (m.flight == 0 || m.flight == flight);
    if (!applies || m.kind == Misbehaviour::Kind::None || m.kind == Misbehaviour::Kind::OpenFails) {
        m_out += reply;
        return;
    }
    switch (m.kind) {
    case Misbehaviour::Kind::NoAnswer:
        break;
    case Misbehaviour::Kind::CutAfter:
        m_out += reply.left(m.n);
        break;
    case Misbehaviour::Kind::CorruptByte: {
        QByteArray bad = reply;
        if (m.n >= 0 && m.n < bad.size())
            bad[m.n] = 'x';
        m_out += bad;
        break;
    }
    case Misbehaviour::Kind::Garbage:
        m_out += garbage();
        break;
    case Misbehaviour::Kind::Babble:
        m_out += reply.left(m.n);
        m_babbling = true;
        break;
    case Misbehaviour::Kind::HangUp:
        m_out += reply.left(m.n);
        m_hangUpAt = m_sent + m_out.size();
        break;
    case Misbehaviour::Kind::None:
    case Misbehaviour::Kind::OpenFails:
        break;
    }
}

bool InstrumentEngine::hasOutput() const
{
    return !m_hungUp && (!m_out.isEmpty() || m_babbling || m_hangUpAt >= 0);
}

QByteArray InstrumentEngine::takeOutput(int max)
{
    if (m_hungUp || max <= 0)
        return {};
    if (m_hangUpAt >= 0 && m_sent >= m_hangUpAt) {
        m_hungUp = true;
        return {};
    }
    if (m_babbling && m_out.size() < max) {
        while (m_out.size() < max)
            m_out += "12345";
    }
    qint64 limit = max;
    if (m_hangUpAt >= 0)
        limit = std::min(limit, m_hangUpAt - m_sent);
    const QByteArray piece = m_out.left(limit);
    m_out.remove(0, piece.size());
    m_sent += piece.size();
    return piece;
}
