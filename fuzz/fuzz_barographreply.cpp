// Fuzzes the barograph reply decoder. The first byte chooses how the rest is cut into
// pieces; whatever the pieces, the decoder must come to the same result as with the whole
// reply at once, keep within its limits, and give a file the viewer can read back.
#include "barograph/core/barographfile.h"
#include "device/core/barographreply.h"
#include "device/core/downloader.h"
#include "fuzz/pieces.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView reply(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    BarographReplyDecoder whole;
    whole.feed(reply);
    const BarographReplyDecoder pieces = decodeInPieces<BarographReplyDecoder>(reply, data[0], 16);

    if (whole.status() != pieces.status() || whole.received() != pieces.received()
        || whole.samples() != pieces.samples() || whole.intervalSec() != pieces.intervalSec()
        || (whole.status() == DecodeStatus::Complete && whole.offsetTenths() != pieces.offsetTenths()))
        std::abort();
    if (whole.received() > BarographReplyDecoder::kMaxReplyBytes || whole.sampleCount() > BarographReplyDecoder::kMaxSamples)
        std::abort();
    if (whole.status() == DecodeStatus::Complete) {
        if (whole.received() != 16 + 5 * whole.sampleCount())
            std::abort();
        // What the download writes, the viewer must read back to the same altitudes.
        if (whole.sampleCount() >= 4) {
            const BarographFile file = barographFromReply(whole);
            const std::optional<BarographFile> back = parseBarographFile(buildBarographImage(file));
            if (!back || back->interval != file.interval || back->sampleCount() != file.sampleCount())
                std::abort();
            for (int i = 0; i < file.sampleCount(); ++i) {
                if (std::abs(back->altitudes[size_t(i)] - file.altitudes[size_t(i)]) > 0.051f)
                    std::abort();
            }
        }
    }
    return 0;
}
