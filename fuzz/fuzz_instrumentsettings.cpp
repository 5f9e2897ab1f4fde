// Fuzzes the instrument settings file reader. Whatever it accepts must build messages the
// instrument can take and write out to a file that reads back the same.
#include "device/core/instrumentsettings.h"
#include "device/core/instrumentsettingsfile.h"

#include <cstdint>
#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto result = parseInstrumentSettingsFile(bytes);
    if (const auto *error = std::get_if<SettingsFileError>(&result)) {
        if (error->line < 1 || error->reason.isEmpty())
            std::abort();
        return 0;
    }
    const InstrumentSettingsFile &file = std::get<InstrumentSettingsFile>(result);
    const auto inForm = [](const QByteArray &m) {
        for (const char c : m) {
            if (c < '0' || c > '?')
                return false;
        }
        return true;
    };
    if (file.parameters && (!instrument::isValid(*file.parameters)
                            || !inForm(instrument::parameterMessage(*file.parameters))))
        std::abort();
    if (file.options && (!instrument::isValid(*file.options) || !inForm(instrument::optionMessage(*file.options))))
        std::abort();
    const auto again = parseInstrumentSettingsFile(buildInstrumentSettingsFile(file));
    const auto *back = std::get_if<InstrumentSettingsFile>(&again);
    if (!back || back->parameters != file.parameters || back->options != file.options)
        std::abort();
    return 0;
}
