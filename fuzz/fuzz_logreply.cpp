// Fuzzes the log reply decoder. The first byte chooses how the rest is cut into pieces;
// whatever the pieces, the decoder must come to the same result as with the whole reply
// at once, never take more than a reply can hold, and give entries that fit their fields.
#include "device/core/logreply.h"
#include "fuzz/pieces.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameEntries(const LogReplyDecoder &a, const LogReplyDecoder &b)
{
    if (a.entries().size() != b.entries().size())
        return false;
    for (size_t i = 0; i < a.entries().size(); ++i) {
        const LogEntry &x = a.entries()[i];
        const LogEntry &y = b.entries()[i];
        if (x.date != y.date || x.time != y.time || x.duration != y.duration || x.maxAltitude != y.maxAltitude
            || x.maxClimb != y.maxClimb || x.area != y.area)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView reply(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    LogReplyDecoder whole;
    whole.feed(reply);
    const LogReplyDecoder pieces = decodeInPieces<LogReplyDecoder>(reply, data[0], 40);

    if (whole.status() != pieces.status() || whole.received() != pieces.received() || !sameEntries(whole, pieces))
        std::abort();
    if (whole.received() > LogReplyDecoder::kMaxReplyBytes || whole.flightCount() > 99)
        std::abort();
    if (whole.status() == DecodeStatus::Complete && int(whole.entries().size()) != whole.flightCount())
        std::abort();
    for (size_t i = 0; i < whole.entries().size(); ++i) {
        const FlightRecord r = whole.entries()[i].toFlightRecord(int(i) + 1);
        if (r.date.size() != 8 || r.time.size() != 8 || r.duration.size() != 8 || r.maxAltitude.size() != 6
            || r.area.size() > 8 || r.maxClimb.size() > r.maxClimb.kMaxBytes)
            std::abort();
    }
    return 0;
}
