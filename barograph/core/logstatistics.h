// What the statistics of a log need beyond its rows: the flights the pilot left out, the
// time carried over from before the log, and how much each flight with a barograph climbed.
// The statistics window and duvazi-tool build them the same way, here: the barographs are
// looked at from a copy of what the log names, so that the window can do it on a worker
// thread (StatisticsRefresh) while the tool does it in place. QtCore only.
#pragma once

#include "logbook/core/companion.h"
#include "logbook/core/statistics.h"

#include <QString>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

class LogBook;
struct BarographTrace;
struct FlightAnalysis;

/// The metres a flight came down from its launch to its landing place, each the mean altitude
/// of the 30 s the instrument rested there, to 0.1 m (negative when it landed higher); none
/// when the trace shows no take-off or no landing.
std::optional<double> takeoffToLandingDrop(const BarographTrace &trace, const FlightAnalysis &analysis);

/// Whether the statistics look at a flight's barograph: it names one by a valid name. Flights
/// left out of the statistics are looked at too, so that counting one again costs no read.
bool needsBarographLook(const FlightRecord &flight);

/// One flight's barograph to look at, copied out of the log.
struct BarographToLook {
    quint64 rowId = 0;
    QByteArray file; ///< cp932, as the row names it
};

/// What looking at the barographs found.
struct BarographLooks {
    struct Look {
        quint64 rowId = 0;
        /// None: the file is missing, unreadable or not a usable barograph.
        std::optional<StatisticsInputs::Climbing> climbing;
        /// With climbing: the metres from take-off down to landing (none when the trace shows
        /// no take-off or no landing).
        std::optional<double> heightDrop;
    };
    std::vector<Look> looks; ///< in the order asked; only the first ones when cancelled
    /// Analyses made anew, and known ones found under another name or stamp: the entries to
    /// put into the log's cache.
    std::map<QByteArray, Companion::Analysis> learned;
};

/// Looks at the barographs `rows` in `folder`. A barograph's climbing comes from `cache`
/// when the file's name, size and time match an entry, or when its content does (a renamed
/// file); only other files are read whole and analysed. Touches no log, so it runs on any
/// thread. `cancel`, when given, is read before each file; `done`, when given, counts the
/// files looked at, for progress.
BarographLooks lookAtBarographs(const std::vector<BarographToLook> &rows, const QString &folder,
                                const std::map<QByteArray, Companion::Analysis> &cache,
                                const std::atomic<bool> *cancel = nullptr, std::atomic<int> *done = nullptr);

/// Every barograph `book` names looked at in place in `folder` through `cache`, which what
/// was learned is added to; the looks by rowId. The tool's way: windows look off their thread.
std::unordered_map<quint64, BarographLooks::Look> lookAtBarographsOf(const LogBook &book, const QString &folder,
                                                                   std::map<QByteArray, Companion::Analysis> &cache);

/// The inputs of `book`'s statistics with each row's climbing from `climbing` (flights left
/// out of the statistics have none). They refer to `book`.
StatisticsInputs statisticsInputsOf(const LogBook &book,
                                     std::function<std::optional<StatisticsInputs::Climbing>(int row)> climbing);

/// The inputs of `book`'s statistics, its barographs looked at in place from `folder`
/// (lookAtBarographs); what that learned is added to `cache`.
StatisticsInputs statisticsInputs(const LogBook &book, const QString &folder,
                                  std::map<QByteArray, Companion::Analysis> &cache);
