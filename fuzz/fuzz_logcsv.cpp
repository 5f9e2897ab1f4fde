// Fuzzes the log book's CSV reader. Beyond not crashing: whatever reads must fit its fields,
// every time and duration must be empty or as the one writer writes it, and written back as
// cp932 CSV must read back to the same flights.
#include "logbook/core/logbook.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/text/numbertext.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const LogCsvContents contents = parseLogCsv(bytes);
    if (!contents.isReadable())
        return 0;
    for (const FlightRecord &flight : contents.flights) {
        for (const QByteArrayView time : {flight.time.view(), flight.duration.view()}) {
            const std::optional<qint32> seconds = numtext::clockSeconds(time);
            if (!time.isEmpty() && (!seconds || numtext::clockText(*seconds) != time))
                std::abort();
        }
    }
    LogBook book;
    appendCsvFlights(book, contents);
    const LogCsvContents again = parseLogCsv(buildLogCsv(book, CsvEncoding::Cp932).bytes);
    if (!again.isReadable() || again.flights.size() != contents.flights.size())
        std::abort();
    for (size_t i = 0; i < again.flights.size(); ++i) {
        for (int f = 1; f < kFieldCount; ++f) {
            if (again.flights[i].fieldText(Field(f)) != contents.flights[i].fieldText(Field(f)))
                std::abort();
        }
    }
    return 0;
}
