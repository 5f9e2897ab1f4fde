// Fuzzes the log's companion file reader: whatever it accepts, written back and read again,
// is the same companion (nothing the program keeps there drifts from save to save).
#include "logbook/core/companion.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto parsed = parseCompanion(bytes);
    if (const Companion *companion = std::get_if<Companion>(&parsed)) {
        const auto again = parseCompanion(serializeCompanion(*companion));
        const Companion *reread = std::get_if<Companion>(&again);
        if (!reread || !(*reread == *companion))
            std::abort();
    }
    return 0;
}
