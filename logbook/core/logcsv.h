// The log book as a CSV file for spreadsheets and other log books: written with the list's
// column titles and one row per flight, read back into flights that Add appends.
// QtCore only.
//
// What a round trip keeps: the cp932 encoding writes every field's bytes as they are, so a
// log written and read back is the same byte for byte, whatever its fields hold, as long as
// each time and duration is empty or written as the log writes them ("01:30:00"); other
// readable times come back in that form, and unreadable ones are refused. The UTF-8
// encoding goes through Unicode, where cp932's duplicated codes (the NEC row 13 symbols that
// JIS X 0208 also has, the NEC-selected IBM extensions in 0xED/0xEE beside the IBM
// extensions in 0xFA-0xFC) become one character: such a code comes back as the one code the
// codec encodes that character to, and bytes that are no cp932 character at all cannot come
// back. Every other byte comes back as it was.
#pragma once

#include "logbook/core/flightrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

class LogBook;

enum class CsvEncoding {
    Utf8,  ///< UTF-8 with a byte-order mark, so that spreadsheets read Japanese text
    Cp932, ///< Shift-JIS bytes as the log holds them, for older Japanese software
};

struct LogCsv {
    QByteArray bytes;
    /// Cells whose bytes a UTF-8 file cannot give back (0 for cp932): duplicated codes, or
    /// bytes that are no character.
    int cellsChangedByUtf8 = 0;
};

/// The CSV of a log book: a header row with the list's column titles (the first, over the
/// row numbers, empty), then one row per flight in list order with its nine fields. Cells a
/// spreadsheet would take for a formula are guarded (csv::guarded).
LogCsv buildLogCsv(const LogBook &book, CsvEncoding encoding);

/// One line of a CSV file that cannot become a flight, with the reason in the program's
/// words.
struct CsvLineProblem {
    int line = 0;
    QString reason;
};

struct LogCsvContents {
    CsvEncoding encoding = CsvEncoding::Utf8;
    std::vector<FlightRecord> flights; ///< every flight row, in file order (numbers empty)
    std::vector<CsvLineProblem> problems;

    bool isReadable() const { return problems.empty(); }
};

/// Reads a CSV written by buildLogCsv, or by a spreadsheet from it. The encoding is UTF-8
/// when the file starts with a byte-order mark or is valid UTF-8 throughout, else cp932.
/// The first row must be the header; every other row must have nine cells whose text fits
/// its field (no 0x00, not wider than the field, characters cp932 can hold), and a time or
/// duration must be empty or read as numtext::clockSeconds reads it; it is kept as
/// numtext::clockText writes it ("1:30:00" becomes "01:30:00"), so that every figure reads
/// it alike. The row numbers are not read: the list numbers the flights itself.
LogCsvContents parseLogCsv(QByteArrayView bytes);

/// The largest CSV file read: a full log's CSV, its cells quoted and in UTF-8, stays below.
inline constexpr qint64 kMaxCsvFileBytes = 64 * 1024 * 1024;

/// The problems as one text: "N行目: reason" per line.
QString describeProblems(const std::vector<CsvLineProblem> &problems);

/// Appends the flights of a readable CSV after the current rows, as Add does with the
/// flights of another log file. Returns the number of flights appended.
int appendCsvFlights(LogBook &book, const LogCsvContents &contents);
