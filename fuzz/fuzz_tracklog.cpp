// Fuzzes both readers of other instruments' logs (IGC and GPX, each given every input) and
// the flight made from what they read: fixes strictly in time order, a refusal or at least
// two fixes, and every flight a barograph the viewer can use.
#include "barograph/core/flightimport.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkTrack(const TrackRead &read)
{
    const TrackLog *log = std::get_if<TrackLog>(&read);
    if (!log)
        return;
    if (log->fixes.size() < 2)
        std::abort();
    for (size_t i = 1; i < log->fixes.size(); ++i) {
        if (log->fixes[i].utc <= log->fixes[i - 1].utc)
            std::abort();
    }
    ImportSettings settings;
    settings.utcOffsetMinutes = 9 * 60;
    // Two sites by the launch of the seeds taken from a real log, so that naming the
    // nearest is run on every such input.
    settings.sites = {{"S", "S", 46.2097, 12.8284, 0}, {"T", "T", 46.2120, 12.8284, 0}};
    const auto flight = flightFromTrack(*log, FlightSource{}, settings);
    if (const ImportedFlight *f = std::get_if<ImportedFlight>(&flight); f && !isUsableBarograph(f->barograph))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkTrack(parseIgcLog(bytes, u"2024-05-03-XXX.igc"));
    checkTrack(parseGpxLog(bytes));
    return 0;
}
