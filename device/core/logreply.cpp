// Decoding the log reply.
#include "logreply.h"

#include "logbook/core/fieldformats.h"

#include <algorithm>

namespace {

bool allDigits(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The area is what the instrument's display shows: printable ASCII and half-width
// katakana, blank padded. No control byte, and above all no 0x00.
bool isAreaText(QByteArrayView area)
{
    return std::all_of(area.begin(), area.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF);
    });
}

int decimal(QByteArrayView digits)
{
    int v = 0;
    for (const char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

/// Six digits read as three two-digit numbers, each within its range.
bool inRanges(QByteArrayView six, int lo0, int hi0, int lo1, int hi1, int lo2, int hi2)
{
    const int a = decimal(six.sliced(0, 2));
    const int b = decimal(six.sliced(2, 2));
    const int c = decimal(six.sliced(4, 2));
    return a >= lo0 && a <= hi0 && b >= lo1 && b <= hi1 && c >= lo2 && c <= hi2;
}

/// "ab" "cd" "ef" from six characters, joined by `separator`.
QByteArray sixWithSeparators(QByteArrayView six, char separator)
{
    QByteArray out;
    out.reserve(8);
    out.append(six.sliced(0, 2)).append(separator).append(six.sliced(2, 2)).append(separator).append(six.sliced(4, 2));
    return out;
}

} // namespace

FlightRecord LogEntry::toFlightRecord(int deviceIndex) const
{
    FlightRecord r;
    r.date = date;
    r.time = time;
    r.duration = duration;
    r.maxAltitude = maxAltitude;
    r.maxClimb = maxClimb;
    r.area = area;
    r.deviceIndex = deviceIndex;
    return r;
}

std::optional<LogEntry> decodeLogEntry(QByteArrayView entry)
{
    Q_ASSERT(entry.size() == LogReplyDecoder::kEntryBytes);
    if (!allDigits(entry.first(26)) || !isAreaText(entry.sliced(26, 8)))
        return std::nullopt;
    // What the instrument's clock can show: bytes of another reply (a barograph's digits
    // arriving late, say) give months like 88 and are no log entry.
    const bool plausible = inRanges(entry.sliced(0, 6), 0, 99, 1, 12, 1, 31)   // YYMMDD
                           && inRanges(entry.sliced(6, 6), 0, 23, 0, 59, 0, 59)  // take-off hhmmss
                           && inRanges(entry.sliced(12, 6), 0, 23, 0, 59, 0, 59); // in the air, under a day
    if (!plausible)
        return std::nullopt;
    LogEntry e;
    e.date = sixWithSeparators(entry.sliced(0, 6), '/');
    e.time = sixWithSeparators(entry.sliced(6, 6), ':');
    e.duration = sixWithSeparators(entry.sliced(12, 6), ':');
    e.maxAltitude = fieldformat::altitudeText(decimal(entry.sliced(18, 4)));
    // The small addition keeps a tenth that double cannot hold exactly (0.35 is 0.3499...)
    // from rounding down when printed with one decimal.
    e.maxClimb = fieldformat::climbText(decimal(entry.sliced(22, 4)) * 0.1 + 0.0001);
    QByteArrayView area = entry.sliced(26, 8);
    while (!area.isEmpty() && area.back() == ' ')
        area.chop(1);
    e.area = area.toByteArray();
    return e;
}

DecodeStatus LogReplyDecoder::refuse(Problem problem)
{
    m_status = DecodeStatus::Malformed;
    m_problem = problem;
    m_pending.clear();
    return m_status;
}

DecodeStatus LogReplyDecoder::feed(QByteArrayView bytes)
{
    while (m_status == DecodeStatus::NeedMore && !bytes.isEmpty()) {
        const int want = (m_flightCount < 0 ? kCountBytes : kEntryBytes) - int(m_pending.size());
        const int take = int(std::min<qsizetype>(want, bytes.size()));
        m_pending.append(bytes.first(take));
        bytes = bytes.sliced(take);
        m_received += take;
        if (take < want)
            break;
        if (m_flightCount < 0) {
            if (!allDigits(m_pending))
                return refuse(Problem::CountNotDigits);
            m_flightCount = decimal(m_pending);
            m_entries.reserve(size_t(m_flightCount));
        } else {
            std::optional<LogEntry> entry = decodeLogEntry(m_pending);
            if (!entry)
                return refuse(isAreaText(QByteArrayView(m_pending).sliced(26, 8)) ? Problem::EntryNotDigits
                                                                                   : Problem::AreaNotText);
            m_entries.push_back(std::move(*entry));
        }
        m_pending.clear();
        if (int(m_entries.size()) == m_flightCount)
            m_status = DecodeStatus::Complete;
    }
    return m_status;
}
