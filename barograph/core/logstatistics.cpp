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
#include <cmath>
#include <memory>
#include <unordered_map>

namespace {

void take(BarographLooks::Look &look, const Companion::Analysis &a)
{
    look.climbing = StatisticsInputs::Climbing{a.totalClimb, a.biggestGain};
    look.heightDrop = a.heightDrop;
}

/// The figures of a file as it is now: its entry of `cache` or `learned` by content, stamped
/// with the file; analysed and added to `learned` when its content is new.
std::optional<Companion::Analysis> analysed(const QFileInfo &info, const std::map<QByteArray, Companion::Analysis> &cache,
                                            std::map<QByteArray, Companion::Analysis> &learned)
{
    const std::optional<QByteArray> bytes = readInputFile(info.filePath(), barofile::kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    const QByteArray hash = QCryptographicHash::hash(*bytes, QCryptographicHash::Sha1).toHex();
    Companion::Analysis figures;
    if (const auto seen = learned.find(hash); seen != learned.end()) {
        figures = seen->second;
    } else if (const auto known = cache.find(hash); known != cache.end() && known->second.heightKnown) {
        figures = known->second;
    } else {
        std::optional<BarographFile> file = parseBarographFile(*bytes);
        if (!file || !isUsableBarograph(*file))
            return std::nullopt;
        const BarographTrace trace = BarographTrace::fromFile(std::move(*file));
        const FlightAnalysis analysis = analyseFlight(trace);
        figures.totalClimb = analysis.totalClimb;
        for (const Climb &c : analysis.climbs)
            figures.biggestGain = std::max(figures.biggestGain, double(c.gain));
        figures.heightDrop = takeoffToLandingDrop(trace, analysis);
        figures.heightKnown = true;
    }
    figures.file = info.fileName();
    figures.size = info.size();
    figures.modified = info.lastModified().toMSecsSinceEpoch();
    learned[hash] = figures;
    return figures;
}

} // namespace

std::optional<double> takeoffToLandingDrop(const BarographTrace &trace, const FlightAnalysis &analysis)
{
    if (!analysis.takeoff || !analysis.landing || trace.altitudes.empty())
        return std::nullopt;
    // The launch and the landing place are where the instrument rested: the mean of the 30 s
    // before take-off and after landing (the stretch the analysis calls ground), not the one
    // sample at the instant, which sits anywhere within the ground's noise of 1.5 m.
    constexpr double kGroundSeconds = 30;
    const auto meanOver = [&trace](double from, double to) {
        const qint64 last = trace.sampleCount() - 1;
        const qint64 first = std::clamp(qint64(std::ceil(from / trace.interval)), qint64(0), last);
        const qint64 end = std::clamp(qint64(std::floor(to / trace.interval)), first, last);
        double sum = 0;
        for (qint64 i = first; i <= end; ++i)
            sum += trace.altitudes[size_t(i)];
        return sum / double(end - first + 1);
    };
    const double drop = meanOver(*analysis.takeoff - kGroundSeconds, *analysis.takeoff) -
                        meanOver(*analysis.landing, *analysis.landing + kGroundSeconds);
    // To the 0.1 m the file stores: a drop of exactly the minimum must not fall short by a
    // float's last bit.
    return std::round(drop * 10) / 10;
}

bool needsBarographLook(const FlightRecord &flight)
{
    // The name rule, without barographPath's look for other letter cases: a log of 20,000
    // flights with their files elsewhere would list the folder for each.
    return flight.hasBarograph() && barographNameFault(flight.barographFile) == BarographNameFault::None;
}

BarographLooks lookAtBarographs(const std::vector<BarographToLook> &rows, const QString &folder,
                                const std::map<QByteArray, Companion::Analysis> &cache,
                                const std::atomic<bool> *cancel, std::atomic<int> *done)
{
    // The cache entry of each file asked for, to trust its figures when the file's stamp is
    // still the one analysed. Only the files asked for are indexed: one edited row must not
    // cost an index of every barograph of the log.
    std::unordered_map<QString, const Companion::Analysis *> byFile;
    for (const BarographToLook &row : rows)
        byFile.emplace(cp932::toUnicode(row.file), nullptr);
    for (const auto &[hash, figures] : cache) {
        if (const auto wanted = byFile.find(figures.file); wanted != byFile.end())
            wanted->second = &figures;
    }
    BarographLooks found;
    found.looks.reserve(rows.size());
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const BarographToLook &row : rows) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            break;
        BarographLooks::Look &look = found.looks.emplace_back();
        look.rowId = row.rowId;
        const QString name = cp932::toUnicode(row.file);
        const QFileInfo info(base + name);
        if (info.isFile()) {
            const Companion::Analysis *known = byFile.at(name);
            if (known && known->heightKnown && known->size == info.size() &&
                known->modified == info.lastModified().toMSecsSinceEpoch())
                take(look, *known);
            else if (const std::optional<Companion::Analysis> figures = analysed(info, cache, found.learned))
                take(look, *figures);
        }
        if (done)
            done->fetch_add(1, std::memory_order_relaxed);
    }
    return found;
}

StatisticsInputs statisticsInputsOf(const LogBook &book,
                                     std::function<std::optional<StatisticsInputs::Climbing>(int row)> climbing)
{
    StatisticsInputs inputs;
    inputs.excluded = [&book](int row) { return book.row(row).excludedFromStatistics; };
    inputs.carriedFlights = book.companion.carriedFlights;
    inputs.carriedSeconds = book.companion.carriedSeconds;
    inputs.climbing = [&book, climbing = std::move(climbing)](int row) -> std::optional<StatisticsInputs::Climbing> {
        return book.row(row).excludedFromStatistics ? std::nullopt : climbing(row);
    };
    return inputs;
}

std::unordered_map<quint64, BarographLooks::Look> lookAtBarographsOf(const LogBook &book, const QString &folder,
                                                                   std::map<QByteArray, Companion::Analysis> &cache)
{
    std::vector<BarographToLook> rows;
    for (int row = 1; row < book.rowCount(); ++row) {
        const FlightRecord &flight = book.row(row);
        if (needsBarographLook(flight))
            rows.push_back({flight.rowId, flight.barographFile.toByteArray()});
    }
    BarographLooks found = lookAtBarographs(rows, folder, cache);
    for (auto &[hash, figures] : found.learned)
        cache[hash] = std::move(figures);
    std::unordered_map<quint64, BarographLooks::Look> looks;
    for (BarographLooks::Look &look : found.looks)
        looks[look.rowId] = std::move(look);
    return looks;
}

StatisticsInputs statisticsInputs(const LogBook &book, const QString &folder,
                                  std::map<QByteArray, Companion::Analysis> &cache)
{
    auto looks = std::make_shared<std::unordered_map<quint64, BarographLooks::Look>>(lookAtBarographsOf(book, folder, cache));
    return statisticsInputsOf(book, [&book, looks](int row) -> std::optional<StatisticsInputs::Climbing> {
        const auto it = looks->find(book.row(row).rowId);
        return it == looks->end() ? std::nullopt : it->second.climbing;
    });
}
