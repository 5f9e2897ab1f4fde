// One row of the log book: nine stored cp932 text fields and the run-time state of the row.
// Depends on QtCore only.
#pragma once

#include "logbook/core/text/fixedtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>

/// The stored fields, in the order they are written to a log file.
enum class Field {
    Number,
    Date,
    Time,
    Area,
    Duration,
    MaxAltitude,
    MaxClimb,
    Comment,
    BarographFile,
};
inline constexpr int kFieldCount = 9;

/// Width of a fixed field in bytes, terminator included; 0 for the comment (any length).
constexpr int fieldWidth(Field field)
{
    constexpr std::array<int, kFieldCount> widths = {6, 10, 10, 25, 10, 12, 15, 0, 14};
    return widths[static_cast<size_t>(field)];
}

/// The field names used by exports (JSON keys, CSV header).
const char *fieldName(Field field);

/// Cuts text to what a field can hold: its width less the terminator, never in the middle
/// of a double-byte character. The comment is kept whole.
QByteArray fitField(Field field, QByteArrayView text);

/// The file a flight was imported from (another instrument's IGC or GPX log): what the
/// pilot needs to find it again, and its content's SHA-1, so that the same file imported
/// twice is known whatever its name.
struct FlightSource {
    QString file;       ///< the file's name, without its folder
    QByteArray sha1;    ///< SHA-1 of its bytes, 40 lower-case hexadecimal digits
    QByteArray recorder; ///< the recorder its headers name (ASCII); empty when none
    bool operator==(const FlightSource &) const = default;
};

/// A flight as the instrument gave it: its row's fields, and the raw copy of its barograph (a
/// path relative to the work folder; empty without one). A flight imported from another
/// instrument's log is known the same way, by the row the import made, with its source.
struct DownloadedFlight {
    std::array<QByteArray, kFieldCount> fields;
    QString raw;
    std::optional<FlightSource> source = std::nullopt; ///< the log it was imported from; none when downloaded here
};

struct FlightRecord;
/// A flight's fields as the instrument (or the import) gave them, for FlightRecord::downloaded.
std::array<QByteArray, kFieldCount> downloadedFields(const FlightRecord &record);

struct FlightRecord {
    FixedText<6> number;         ///< row number, rewritten by every redraw of the list
    FixedText<10> date;          ///< YY/MM/DD
    FixedText<10> time;          ///< HH:MM:SS, clock time of the flight
    FixedText<25> area;          ///< flying site
    FixedText<10> duration;      ///< HH:MM:SS in the air
    FixedText<12> maxAltitude;   ///< "%04d m" when downloaded, "%04.1f m" once edited
    FixedText<15> maxClimb;      ///< "%02.1f m/s" when downloaded, "%.1f m/s" once edited
    VariableText comment;        ///< any length, may hold line breaks
    FixedText<14> barographFile; ///< plain file name in the work folder; empty without barograph

    // Run-time state, never written to a file.
    bool editorOpen = false;
    bool graphOpen = false;
    QPointer<QObject> graphWindow;  ///< valid only while graphOpen
    QPointer<QObject> editorWindow; ///< valid only while editorOpen
    qint32 deviceIndex = -1; ///< 1-based position in the instrument after the latest download
    /// Names the row for as long as it is in its log book, wherever sorting or deletions
    /// move it; given by LogBook when the row is appended (0: not in a log book).
    quint64 rowId = 0;

    // Kept in the log's companion file, not in the log: they travel with the row wherever
    // sorting, editing or merging takes it.
    bool excludedFromStatistics = false; ///< a test flight or ground handling
    std::shared_ptr<const DownloadedFlight> downloaded; ///< null: not downloaded here

    /// The text of a field.
    QByteArrayView fieldText(Field f) const;
    /// Stores text into a field, cut to its width (fitField).
    void setField(Field f, QByteArrayView text);
    bool hasBarograph() const { return !barographFile.isEmpty(); }

    /// Row 0 of every new log: the column titles.
    static FlightRecord titleRecord();
};

/// What names a flight: its date, clock time, duration, maximum altitude and climb (the
/// area, comment, number and barograph name are the pilot's to change). A key views the
/// texts of the record or downloaded fields it was taken from, which must outlive it, so
/// that comparing a download with a log of 20,000 rows copies nothing.
class FlightKey {
public:
    static constexpr std::array<Field, 5> kFields = {Field::Date, Field::Time, Field::Duration, Field::MaxAltitude,
                                                     Field::MaxClimb};

    /// The flight as its row shows it now.
    static FlightKey ofPresent(const FlightRecord &flight);
    /// The flight as the instrument sent it.
    static FlightKey ofDownloaded(const DownloadedFlight &flight);
    /// Who the flight is: as the instrument sent it when it was downloaded here, whatever the
    /// pilot cut or corrected since; as its row shows it otherwise.
    static FlightKey identityOf(const FlightRecord &flight);

    QByteArrayView field(size_t i) const { return m_fields[i]; }
    bool operator==(const FlightKey &other) const { return m_fields == other.m_fields; }

    struct Hash {
        size_t operator()(const FlightKey &k) const;
    };

private:
    std::array<QByteArrayView, kFields.size()> m_fields;
};
