// Comma-separated rows, written and read.
#include "csv.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace csv {

namespace {

bool needsQuotes(QByteArrayView cell)
{
    for (const char c : cell) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
}

// What a spreadsheet takes for the start of a formula: = + - @, the same in full width (which
// some spreadsheets fold to half width first), and a tab or line end before one (which they
// skip). The full-width forms in both encodings a cell can be in: a cp932 lead byte 0x81 is
// never the start of UTF-8 text, nor 0xEF 0xBC of cp932 text a pilot typed.
bool startsFormula(QByteArrayView cell)
{
    static const QByteArrayView starts[] = {
        "=", "+", "-", "@", "\t", "\r", "\n",
        "\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0", // ＝ ＋ － ＠ in UTF-8
        "\x81\x81", "\x81\x7B", "\x81\x7C", "\x81\x97",                  // ＝ ＋ － ＠ in cp932
    };
    return std::any_of(std::begin(starts), std::end(starts), [cell](QByteArrayView s) { return cell.startsWith(s); });
}

} // namespace

QByteArray row(const QList<QByteArray> &cells)
{
    QByteArray out;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i)
            out += ',';
        const QByteArray &cell = cells[i];
        if (!needsQuotes(cell)) {
            out += cell;
            continue;
        }
        out += '"';
        for (const char c : cell) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

QByteArray guarded(QByteArrayView cell)
{
    if (startsFormula(cell) || cell.startsWith('\''))
        return '\'' + cell.toByteArray();
    return cell.toByteArray();
}

QByteArray unguarded(QByteArrayView cell)
{
    return (cell.startsWith('\'') ? cell.sliced(1) : cell).toByteArray();
}

Table parse(QByteArrayView text)
{
    Table table;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    // Steps over the line end at i, if there is one, counting it.
    const auto skipLineEnd = [&]() {
        if (i < n && text[i] == '\r') {
            ++i;
            if (i < n && text[i] == '\n')
                ++i;
            ++line;
            return true;
        }
        if (i < n && text[i] == '\n') {
            ++i;
            ++line;
            return true;
        }
        return false;
    };
    const auto atLineEnd = [&]() { return i >= n || text[i] == '\r' || text[i] == '\n'; };

    while (i < n) {
        Row row;
        row.line = line;
        std::optional<Problem::Kind> problem;
        bool blank = true; // the row so far is one empty, unquoted cell
        for (;;) {
            QByteArray cell;
            if (i < n && text[i] == '"') {
                blank = false;
                ++i;
                bool closed = false;
                while (i < n) {
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (text[i] == '\r' || text[i] == '\n') {
                        // Kept as it stands; counted as the line end it is.
                        const qsizetype from = i;
                        skipLineEnd();
                        cell += text.sliced(from, i - from);
                        continue;
                    }
                    cell += text[i++];
                }
                if (!closed) {
                    problem = Problem::Kind::UnclosedQuote;
                    break;
                }
                if (!atLineEnd() && text[i] != ',') {
                    problem = Problem::Kind::TextAfterQuote;
                    break;
                }
            } else {
                const qsizetype from = i;
                while (!atLineEnd() && text[i] != ',' && text[i] != '"')
                    ++i;
                if (i < n && text[i] == '"') {
                    problem = Problem::Kind::QuoteInCell;
                    break;
                }
                cell = text.sliced(from, i - from).toByteArray();
                if (!cell.isEmpty())
                    blank = false;
            }
            row.cells << cell;
            if (i < n && text[i] == ',') {
                blank = false;
                ++i;
                continue;
            }
            break;
        }
        if (problem) {
            table.problems.push_back({row.line, *problem});
            while (!atLineEnd())
                ++i;
        } else if (!blank) {
            table.rows.push_back(std::move(row));
        }
        skipLineEnd();
    }
    return table;
}

} // namespace csv
