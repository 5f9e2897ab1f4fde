// The open log: its rows (row 0 the title record, flights from row 1) and the log-wide state.
// Owned by the main window for the whole run and handed down by reference. QtCore only.
#pragma once

#include "logbook/core/companion.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/loghistory.h"

#include <QString>

#include <vector>

class LogBook {
public:
    /// A new log: the title record only, capacity 4.
    LogBook();

    int rowCount() const { return int(m_records.size()); }
    /// Slots allocated: starts at 4 and grows by 4 whenever a row is stored at or beyond it.
    int capacity() const { return m_capacity; }
    /// True when the log holds at least one flight (row 1 and up).
    bool hasFlights() const { return rowCount() >= 2; }

    FlightRecord &row(int index) { return m_records.at(size_t(index)); }
    const FlightRecord &row(int index) const { return m_records.at(size_t(index)); }
    const std::vector<FlightRecord> &records() const { return m_records; }

    /// Frees every row; capacity back to 4, no rows at all (not even the title record).
    void clear();
    /// Clears and starts again with the title record, as at start-up, with no history.
    void reset();
    /// The row whose rowId is `id`; -1 when no row has it (deleted, or another log opened).
    int rowOfId(quint64 id) const;

    /// Appends an empty row (deviceIndex -1) and returns it.
    FlightRecord &appendRow();
    /// Appends a row holding `record`; its run-time state is reset and it gets a new rowId.
    FlightRecord &appendRow(FlightRecord record);
    /// Removes a row; later rows move down by one.
    void removeRow(int index);
    void swapRows(int a, int b);
    /// Replaces all rows at once (sorting); the count must not change.
    void replaceRows(std::vector<FlightRecord> rows);
    /// Puts back rows that were in this log book (undo and redo), each keeping its rowId.
    void restoreRows(std::vector<FlightRecord> rows);
    /// Takes freshly read rows as the whole log (after clear()), as if each had been
    /// appended in turn (each gets a new rowId); their run-time state must be the defaults.
    /// The companion's entries are attached separately (attachCompanion).
    void adoptRows(std::vector<FlightRecord> rows);
    /// Rewrites the `number` of every flight as its row index ("%d"), as every redraw of
    /// the list does; these numbers are what the next save stores.
    void renumber();

    // Log-wide state.
    QString currentLogPath;  ///< the log file last opened or saved; empty if never on disk
    QByteArray logName;      ///< cp932, at most 31 bytes; kept in the name file
    QString workFolder;      ///< barograph files and "bak" live here; ends with '/'
    bool logModified = false;
    /// The companion file's log-wide part (time carried over, the analysis cache) and the
    /// entries that matched no flight; each flight carries its own.
    Companion companion;
    /// The steps taken on the rows, for undo and redo; reset when a log is opened.
    LogHistory history;
    /// Barograph files the pilot deleted with their rows. They stay where they are until the
    /// log that no longer names them is saved, and that save takes them into bak: a log
    /// left unsaved (or a crash) never names a file that is gone.
    std::vector<QString> barographsToRetire;

    static constexpr int kLogNameMaxBytes = 31;
    /// Rows a log file can hold (its count is 16 bits wide), title record included.
    static constexpr int kMaxRows = 65535;

private:
    void growFor(int index);

    std::vector<FlightRecord> m_records;
    int m_capacity = 4;
    quint64 m_lastRowId = 0; ///< never reused, so an old id never names a new row
};
