// Fuzzes the log's companion file reader: whatever it accepts, written back and read again,
// is written the same way (nothing the program keeps there drifts from save to save), and a
// file of this version comes back as the same companion.
#include "logbook/core/companion.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto parsed = parseCompanion(bytes);
    if (const Companion *companion = std::get_if<Companion>(&parsed)) {
        const QByteArray written = serializeCompanion(*companion);
        const auto again = parseCompanion(written);
        const Companion *reread = std::get_if<Companion>(&again);
        if (!reread || serializeCompanion(*reread) != written)
            std::abort();
        // A version 1 entry belongs to every flight of its key, a version 2 one to its row:
        // only a file of this version reads back as the very same companion.
        const bool byContent = std::any_of(companion->entries.begin(), companion->entries.end(),
                                           [](const Companion::Entry &e) { return e.row == Companion::kEveryRowOfItsKey; });
        if (!byContent && !(*reread == *companion))
            std::abort();
    }
    return 0;
}
