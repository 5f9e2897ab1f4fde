// Fuzzes the reader of a rules file given to "duvazi-tool log currency --rules": whatever it
// accepts, written back as a rules file, reads back as the same rules.
#include "logbook/core/currency.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto parsed = parseRulesFile(bytes);
    if (const auto *rules = std::get_if<std::vector<CurrencyRule>>(&parsed)) {
        const QByteArray written =
            QJsonDocument(QJsonObject{{QStringLiteral("rules"), rulesToJson(*rules, TextForm::Unicode)}}).toJson();
        const auto again = parseRulesFile(written);
        const auto *reread = std::get_if<std::vector<CurrencyRule>>(&again);
        if (!reread || *reread != *rules)
            std::abort();
    }
    return 0;
}
