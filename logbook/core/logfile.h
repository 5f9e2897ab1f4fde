// The binary log file (".log"): reading and building its image. QtCore only.
//
// Layout (little-endian):
//   offset size  written                                   read back
//   0      1     0x00                                      ignored
//   1      1     0x02                                      ignored
//   2      2     total file length, low 16 bits            ignored
//   4      2     0                                         ignored
//   6      2     row count, title record included          number of records that follow
//   8      2     0                                         ignored
//   10     1     0x09                                      ignored
//   11     3     0                                         ignored
// then each record: its nine fields in order, each as text followed by one 0x00 byte.
// Record 0 is the title record. Nothing follows the last record.
#pragma once

#include "logbook/core/flightrecord.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

class LogBook;

inline constexpr int kLogHeaderSize = 14;
/// The largest log file read: 65,535 records of 1 KB each, the fixed fields (102 bytes) and a
/// comment of some 900 bytes on average; real logs stay far below it.
inline constexpr qint64 kMaxLogRecordBytes = 1024;
inline constexpr qint64 kMaxLogFileBytes = kLogHeaderSize + 65535 * kMaxLogRecordBytes;

/// What a log file held. Only complete records are kept: a file that ends inside the header
/// or inside a record is never read past its end.
struct LogFileContents {
    std::vector<FlightRecord> records; ///< complete records, record 0 (the titles) first
    int announcedRows = 0;             ///< row count from the header, title record included
    bool headerComplete = false;

    /// Every announced record was read.
    bool isComplete() const { return headerComplete && int(records.size()) == announcedRows; }
    /// Not even the header or the title record could be read.
    bool isUnreadable() const { return !headerComplete || (announcedRows > 0 && records.empty()); }
};

/// Parses a log file image. Fixed fields longer than their width are cut (fitField).
LogFileContents parseLogFile(QByteArrayView image);

/// The file image of a log book, byte for byte as the format above. The caller checks
/// rowCount() <= LogBook::kMaxRows first; the count is stored modulo 65536.
QByteArray buildLogImage(const LogBook &book);

/// Replaces the rows of `book` with the contents of a log file (record 0 becomes the title
/// record). A file that announced no records at all gets the standard title record, so row 0
/// always exists.
void loadContents(LogBook &book, LogFileContents contents);

/// Appends the flights of another log file after the current rows: its record 0 and each
/// stored row number are discarded. Returns the number of flights appended.
int appendFlights(LogBook &book, const LogFileContents &contents);
