// Fuzzes the log file and name file readers. Beyond not crashing, whatever is read must
// write out and read back to the same records.
#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QByteArray name = parseNameFile(bytes);
    if (name.size() > LogBook::kLogNameMaxBytes)
        std::abort();

    LogFileContents contents = parseLogFile(bytes);
    if (int(contents.records.size()) > contents.announcedRows)
        std::abort();
    LogBook book;
    loadContents(book, std::move(contents));
    for (const FlightRecord &r : book.records()) {
        for (int f = 0; f < kFieldCount; ++f) {
            const int width = fieldWidth(Field(f));
            if (width && r.fieldText(Field(f)).size() >= width)
                std::abort();
        }
    }
    const QByteArray image = buildLogImage(book);
    const LogFileContents again = parseLogFile(image);
    if (!again.isComplete() || again.records.size() != book.records().size())
        std::abort();
    for (size_t i = 0; i < again.records.size(); ++i) {
        for (int f = 0; f < kFieldCount; ++f) {
            if (again.records[i].fieldText(Field(f)) != book.records()[i].fieldText(Field(f)))
                std::abort();
        }
    }
    return 0;
}
