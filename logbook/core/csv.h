// Comma-separated text as RFC 4180 has it: rows of cells, a cell quoted when it holds a
// comma, a quote or a line break (quotes doubled), CR LF after every row. Used by the log
// book's CSV and by the sites file. QtCore only.
//
// Reading and writing work on bytes, not characters: every byte that means something here
// (comma, quote, CR, LF) is below 0x40, and neither a UTF-8 sequence nor a cp932 trail byte
// ever holds one, so the same code serves both encodings and keeps every other byte as it is.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <vector>

namespace csv {

/// One row as written: the cells joined by commas, each quoted when it has to be, CR LF at
/// the end.
QByteArray row(const QList<QByteArray> &cells);

/// A cell that a spreadsheet would take for a formula (it starts with =, +, - or @, their
/// full-width forms ＝ ＋ － ＠ in UTF-8 or cp932, a tab, CR or LF) gets an apostrophe in
/// front, and so does a cell that already starts with one, so that unguarded() gives back
/// every cell exactly.
QByteArray guarded(QByteArrayView cell);
/// The cell without the one apostrophe guarded() put in front, if any.
QByteArray unguarded(QByteArrayView cell);

struct Row {
    int line = 0;             ///< 1-based line of the file where the row starts
    QList<QByteArray> cells;
};

struct Problem {
    enum class Kind {
        UnclosedQuote,  ///< a quoted cell runs to the end of the file
        TextAfterQuote, ///< something other than a comma or a line end follows a closing quote
        QuoteInCell,    ///< a quote inside a cell that does not start with one
    };
    int line = 0;
    Kind kind = Kind::UnclosedQuote;
};

struct Table {
    std::vector<Row> rows;         ///< rows that read, blank lines left out
    std::vector<Problem> problems; ///< rows that did not, one problem each
};

/// Reads comma-separated text. A line end is CR LF, LF or CR alone; inside quotes each is
/// kept as it stands. A row with a problem is skipped up to the end of its line.
Table parse(QByteArrayView text);

} // namespace csv
