// What the binary log cannot hold, kept beside it in "NAME.duvazi.json" (UTF-8 JSON with a
// version): flights left out of the statistics and flying time carried over from before this
// log, each flight's row as it was downloaded with the raw copy of its barograph, and the
// analysis of barographs, cached by their content. It is saved together with the log and its
// name file; a log without one works as before.
//
// Flights are named by their content (date, time, duration, maximum altitude and climb), not
// by their row, so sorting or renumbering carries their entries along. Texts stay bytes:
// keys and rows are stored percent-encoded, so every byte comes back exactly. Members a
// newer version adds are kept and written back as they were. QtCore only.
#pragma once

#include "logbook/core/flightrecord.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringView>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <variant>
#include <vector>

/// A flight's content key: date, time, duration, maximum altitude and climb.
QByteArray flightKey(const FlightRecord &flight);

struct Companion {
    static constexpr int kVersion = 1;
    /// A companion file larger than this is not read (a log of 65,535 flights with every
    /// entry needs a few megabytes).
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

    std::set<QByteArray> excluded; ///< flight keys left out of the statistics (as stored)
    int carriedFlights = 0;        ///< flights before this log (a paper log book)
    qint64 carriedSeconds = 0;

    using Download = DownloadedFlight;
    /// By the key of the row they belong to (its present content, which may differ from the
    /// fields as downloaded once the pilot edits or cuts the flight).
    std::map<QByteArray, Download> downloads;

    /// What the flight analysis found in a barograph, by the SHA-1 of the file's bytes. The
    /// file's name, size and time when it was analysed let a later look trust the figures
    /// without reading the file again.
    struct Analysis {
        double totalClimb = 0;
        double biggestGain = 0;
        QString file;        ///< plain file name; empty when not known
        qint64 size = -1;
        qint64 modified = 0; ///< milliseconds since the epoch
    };
    std::map<QByteArray, Analysis> analysis;

    QJsonObject unknown; ///< members this version does not know, written back as read

    bool isEmpty() const
    {
        return excluded.empty() && carriedFlights == 0 && carriedSeconds == 0 && downloads.empty() &&
               analysis.empty() && unknown.isEmpty();
    }
    bool operator==(const Companion &other) const;
};

/// Reads a companion file's bytes; the problem in the program's words when it is damaged.
std::variant<Companion, QString> parseCompanion(QByteArrayView bytes);
QByteArray serializeCompanion(const Companion &companion);

/// How a companion's name ends.
inline constexpr QStringView kCompanionEnding = u".duvazi.json";
/// "DIR/NAME.duvazi.json" beside "DIR/NAME.log".
QString companionPathFor(const QString &logPath);

class LogBook;

/// Gives each flight of `book` its entries of `companion`, matched by its present content;
/// what matches no flight stays in book.companion, to be written back as it was.
void attachCompanion(LogBook &book, Companion companion);
/// The same for flights merged from another log, from `firstRow` on: their entries and
/// that log's analyses join this log's; its log-wide figures do not.
void attachMergedCompanion(LogBook &book, Companion companion, int firstRow);
/// What to write beside `book`: its log-wide part, and each flight's entries under the key
/// of its present content.
Companion companionOf(const LogBook &book);

/// The companion beside a log: none (a log without one), read, or damaged (the reason; the
/// damaged file is copied into `backupFolder` so that a later save cannot lose it).
struct CompanionRead {
    std::optional<Companion> companion;
    QString damage; ///< empty unless damaged
};
CompanionRead readCompanionBeside(const QString &logPath, const QString &backupFolder);
