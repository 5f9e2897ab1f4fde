// The log reply: the instrument's answer to "L", decoded piece by piece as it arrives, and
// the flight records made from its entries. Pure: no I/O. QtCore and logbook/core only.
//
// Log reply, ASCII:
//   offset  size    contents
//   0       2       N, the number of flights: two decimal digits, tens first
//   2       34 x N  the entries; entry k (0-based) is the instrument's flight N - k, so the
//                   newest flight comes first and flight 1 last
// Total 2 + 34 x N bytes; nothing follows.
//
// Entry, 34 bytes:
//   offset  size  contents                              becomes
//   0       6     date, digits YYMMDD                   date "YY/MM/DD"
//   6       6     take-off time, digits hhmmss          time "hh:mm:ss"
//   12      6     time in the air, digits hhmmss        duration "hh:mm:ss"
//   18      4     maximum altitude, metres, digits      maxAltitude "%04d m"
//   22      4     maximum climb, 0.1 m/s, digits        maxClimb "%02.1f m/s" of v x 0.1 + 0.0001
//   26      8     area name, blank padded, cp932        area without its trailing blanks
#pragma once

#include "device/core/protocol.h"
#include "logbook/core/flightrecord.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

/// The fields of one entry, in the form the log book stores them (cp932 text).
struct LogEntry {
    QByteArray date;
    QByteArray time;
    QByteArray duration;
    QByteArray maxAltitude;
    QByteArray maxClimb;
    QByteArray area;

    /// A new row's record: these fields, nothing else; `deviceIndex` as given.
    FlightRecord toFlightRecord(int deviceIndex) const;
};

/// Decodes one 34-byte entry. std::nullopt when a date, time or number field holds anything
/// but decimal digits, or a date or time the instrument's clock cannot show (month 1-12, day
/// 1-31, hours 0-23, minutes and seconds 0-59; a time in the air of less than a day): such
/// an entry did not come from the instrument's log.
std::optional<LogEntry> decodeLogEntry(QByteArrayView entry);

class LogReplyDecoder {
public:
    static constexpr int kCountBytes = 2;
    static constexpr int kEntryBytes = 34;
    /// The longest reply there is: 99 flights.
    static constexpr int kMaxReplyBytes = kCountBytes + kEntryBytes * 99;

    enum class Problem {
        None,
        CountNotDigits,
        EntryNotDigits,
        AreaNotText, ///< the area holds a byte the instrument never sends (a 0x00 of line noise)
    };

    /// Takes the next piece of the reply. Once Complete or Malformed, further bytes are
    /// ignored. A count of 00 completes the reply with no entries.
    DecodeStatus feed(QByteArrayView bytes);
    DecodeStatus status() const { return m_status; }
    Problem problem() const { return m_problem; }
    /// Bytes taken so far (never more than the whole reply).
    int received() const { return m_received; }
    /// Flights the reply announces; -1 until the two count digits are in.
    int flightCount() const { return m_flightCount; }
    /// 2 + 34 x N once the count is known, else 0.
    int expectedLength() const { return m_flightCount < 0 ? 0 : kCountBytes + kEntryBytes * m_flightCount; }
    /// The entries decoded so far, in reply order (flight N first).
    const std::vector<LogEntry> &entries() const { return m_entries; }

    void reset() { *this = LogReplyDecoder(); }

private:
    DecodeStatus refuse(Problem problem);

    DecodeStatus m_status = DecodeStatus::NeedMore;
    Problem m_problem = Problem::None;
    int m_received = 0;
    int m_flightCount = -1;
    QByteArray m_pending; ///< the count, or the entry being received
    std::vector<LogEntry> m_entries;
};
