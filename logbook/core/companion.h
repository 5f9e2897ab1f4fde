// What the binary log cannot hold, kept beside it in "NAME.duvazi.json" (UTF-8 JSON with a
// version): flights left out of the statistics and flying time carried over from before this
// log, each flight's row as it was downloaded with the raw copy of its barograph, and the
// analysis of barographs, cached by their content; a flight imported from another
// instrument's log names that log. It is saved together with the log and its name file; a
// log without one works as before.
//
// Each flight's entry names its row: its position in the log as saved, and the key of the
// row's content then as a check, so that two equal rows keep their own entries and a log
// changed by another program gives no entry to a wrong flight. Version 1 named flights by
// content only; such files are still read so. Texts stay bytes: keys and rows are stored
// percent-encoded, so every byte comes back exactly. Members a newer version adds are kept
// and written back as they were. Version 3 adds the pilot's currency rules and gear, and the
// height each analysed barograph came down from take-off to landing. QtCore only.
#pragma once

#include "logbook/core/currency.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/gear.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringView>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

/// The text of a flight's present content key (FlightKey::ofPresent), as the companion
/// stores it.
QByteArray flightKey(const FlightRecord &flight);

/// Bytes as the companion writes them into JSON text: printable ASCII as it is, every other
/// byte %XX, so that they come back exactly.
QString encodedBytes(QByteArrayView bytes);
/// The bytes of such a text; std::nullopt when `value` is not one.
std::optional<QByteArray> decodedBytes(const QJsonValue &value);

struct Companion {
    static constexpr int kVersion = 3;
    /// A companion file larger than this is not read (a log of 65,535 flights with every
    /// entry and every barograph analysed writes some 50 MB).
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;
    // Within that size the shape is bounded too, so that reading any file costs at most a
    // few hundred megabytes and a second: JSON's containers cost a hundred bytes and more
    // each, so 64 MiB of "[]," would take gigabytes. A log of 65,535 flights with every entry
    // and analysis needs depth 4, ~200,000 containers and ~1.4 million values.
    static constexpr int kMaxDepth = 32;
    static constexpr qint64 kMaxContainers = 4 * 65536;
    static constexpr qint64 kMaxValues = 32 * 65536;  ///< containers and members or elements
    static constexpr qint64 kMaxTextBytes = 1 << 20;  ///< one string (a key or path is short)
    /// Members of a newer version, kept as they came: room for a hundred bytes a flight.
    static constexpr qint64 kMaxUnknownBytes = 8 << 20;

    int carriedFlights = 0; ///< flights before this log (a paper log book)
    qint64 carriedSeconds = 0;

    static constexpr int kNoRow = 0;
    static constexpr int kEveryRowOfItsKey = -1;
    /// One flight's entries and the row they belong to.
    struct Entry {
        /// Its row's position in the log as saved (1: the first flight); kNoRow when it
        /// names none (an entry that matched no flight when read), kEveryRowOfItsKey when it
        /// came from a version 1 file (it belongs to every flight of its key).
        int row = kNoRow;
        QByteArray key; ///< flightKey of that row when saved: the check that it is still that flight
        bool excluded = false;                       ///< left out of the statistics
        std::shared_ptr<const DownloadedFlight> downloaded; ///< null: not downloaded here
        bool operator==(const Entry &other) const;
    };
    /// The entries of flights, in the order of their rows; in LogBook::companion, the entries
    /// that matched no flight when the log was read (kept, and written back naming no row).
    std::vector<Entry> entries;

    /// What the flight analysis found in a barograph, by the SHA-1 of the file's bytes. The
    /// file's name, size and time when it was analysed let a later look trust the figures
    /// without reading the file again.
    struct Analysis {
        double totalClimb = 0;
        double biggestGain = 0;
        QString file;        ///< plain file name; empty when not known
        qint64 size = -1;
        qint64 modified = 0; ///< milliseconds since the epoch
        /// Metres from the take-off's altitude down to the landing's, to 0.1 m; none when the
        /// trace shows no take-off or no landing.
        std::optional<double> heightDrop{};
        /// Whether heightDrop was looked for: an entry of an older version was not, and its
        /// file is analysed again when next looked at.
        bool heightKnown = false;
    };
    std::map<QByteArray, Analysis> analysis;

    std::vector<CurrencyRule> rules; ///< the pilot's rules, in the order they are listed
    std::vector<GearItem> gear;

    QJsonObject unknown; ///< members this version does not know, written back as read

    bool isEmpty() const
    {
        return entries.empty() && carriedFlights == 0 && carriedSeconds == 0 && analysis.empty() && rules.empty() &&
               gear.empty() && unknown.isEmpty();
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

/// Gives each flight of `book` its entries of `companion`: an entry goes to the row it
/// names when that row's content is still its key; failing that (the log changed
/// elsewhere), to the one row with its key that no entry took, when exactly one is left for
/// exactly one entry; else to none. What matched no flight stays in book.companion, to be
/// written back as it was. Returns how many entries matched no flight.
int attachCompanion(LogBook &book, Companion companion);
/// The same for flights merged from another log, from `firstRow` on: their entries and
/// that log's analyses join this log's; its log-wide figures and the entries that matched no
/// flight do not.
void attachMergedCompanion(LogBook &book, Companion companion, int firstRow);
/// What to write beside `book`: its log-wide part, each flight's entries naming its row,
/// and the entries that matched no flight when the log was read.
Companion companionOf(const LogBook &book);

/// The companion beside a log: none (a log without one), read, or damaged (the reason; the
/// damaged file is copied into `backupFolder`, made when missing, so that a later save
/// cannot lose it). An empty `backupFolder` copies nothing, for a reader that will not save
/// (a dry run writes nothing at all). Relative paths are taken from the current folder.
struct CompanionRead {
    std::optional<Companion> companion;
    QString damage; ///< empty unless damaged
};
CompanionRead readCompanionBeside(const QString &logPath, const QString &backupFolder);
