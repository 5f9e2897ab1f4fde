// Fuzzes the sites (CUP) file reader: every site it keeps has a position on the globe that
// is not 0/0, and lookups by any of its names find a site.
#include "barograph/core/sitesfile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SitesFileContents contents = parseSitesFile(bytes);
    for (const FlyingSite &s : contents.sites) {
        if (!(std::abs(s.latitudeDeg) <= 90) || !(std::abs(s.longitudeDeg) <= 180)
            || (s.latitudeDeg == 0 && s.longitudeDeg == 0) || !std::isfinite(s.elevationM))
            std::abort();
        if (!s.name.trimmed().isEmpty() && !findSite(contents.sites, s.name))
            std::abort();
    }
    return 0;
}
