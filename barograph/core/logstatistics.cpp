// What the statistics of a log need beyond its rows.
#include "logstatistics.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightanalysis.h"
#include "logbook/core/filereader.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/text/cp932.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {

StatisticsInputs::Climbing climbingOf(const Companion::Analysis &a)
{
    return {a.totalClimb, a.biggestGain};
}

/// Reads, hashes and, when its content is not in the cache yet, analyses one barograph.
std::optional<Companion::Analysis> analysed(const QFileInfo &info, std::map<QByteArray, Companion::Analysis> &cache)
{
    const std::optional<QByteArray> bytes = readInputFile(info.filePath(), barofile::kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    const QByteArray hash = QCryptographicHash::hash(*bytes, QCryptographicHash::Sha1).toHex();
    auto found = cache.find(hash);
    if (found == cache.end()) {
        std::optional<BarographFile> file = parseBarographFile(*bytes);
        if (!file || !isUsableBarograph(*file))
            return std::nullopt;
        const FlightAnalysis analysis = analyseFlight(BarographTrace::fromFile(std::move(*file)));
        Companion::Analysis figures;
        figures.totalClimb = analysis.totalClimb;
        for (const Climb &c : analysis.climbs)
            figures.biggestGain = std::max(figures.biggestGain, double(c.gain));
        found = cache.emplace(hash, figures).first;
    }
    found->second.file = info.fileName();
    found->second.size = info.size();
    found->second.modified = info.lastModified().toMSecsSinceEpoch();
    return found->second;
}

} // namespace

StatisticsInputs statisticsInputs(const LogBook &book, const QString &folder,
                                  std::map<QByteArray, Companion::Analysis> &cache)
{
    // Each row's barograph, looked up by the stamp of the file as it was analysed.
    std::unordered_map<QString, const Companion::Analysis *> byFile;
    for (const auto &[hash, figures] : cache) {
        if (!figures.file.isEmpty())
            byFile[figures.file] = &figures;
    }
    auto climbing = std::make_shared<std::unordered_map<int, StatisticsInputs::Climbing>>();
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    for (int row = 1; row < book.rowCount(); ++row) {
        const FlightRecord &flight = book.row(row);
        // The name rule, without barographPath's look for other letter cases: a log of
        // 20,000 flights with their files elsewhere would list the folder for each.
        if (!flight.hasBarograph() || flight.excludedFromStatistics
            || barographNameFault(flight.barographFile) != BarographNameFault::None)
            continue;
        const QFileInfo info(base + cp932::toUnicode(flight.barographFile));
        if (!info.isFile())
            continue;
        const auto known = byFile.find(info.fileName());
        if (known != byFile.end() && known->second->size == info.size() &&
            known->second->modified == info.lastModified().toMSecsSinceEpoch()) {
            (*climbing)[row] = climbingOf(*known->second);
            continue;
        }
        if (const std::optional<Companion::Analysis> figures = analysed(info, cache))
            (*climbing)[row] = climbingOf(*figures);
    }
    StatisticsInputs inputs;
    inputs.excluded = [&book](int row) { return book.row(row).excludedFromStatistics; };
    inputs.carriedFlights = book.companion.carriedFlights;
    inputs.carriedSeconds = book.companion.carriedSeconds;
    inputs.climbing = [climbing](int row) -> std::optional<StatisticsInputs::Climbing> {
        const auto found = climbing->find(row);
        return found == climbing->end() ? std::nullopt : std::optional(found->second);
    };
    return inputs;
}
