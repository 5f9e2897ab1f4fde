// The log book's CSV file.
#include "logcsv.h"

#include "logbook/core/csv.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QStringList>
#include <QUtf8StringView>

#include <algorithm>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QList<QStringView> columnTitles()
{
    return {u"", msg::TitleDate, msg::TitleTime, msg::TitleArea, msg::TitleDuration,
            msg::TitleMaxAltitude, msg::TitleMaxClimb, msg::TitleComment, msg::TitleBarographFile};
}

QByteArray encoded(QStringView text, CsvEncoding encoding)
{
    return encoding == CsvEncoding::Utf8 ? text.toUtf8() : cp932::fromUnicode(text);
}

QString fieldTitle(Field f)
{
    return columnTitles().at(int(f)).toString();
}

} // namespace

LogCsv buildLogCsv(const LogBook &book, CsvEncoding encoding)
{
    LogCsv out;
    if (encoding == CsvEncoding::Utf8)
        out.bytes = kByteOrderMark;
    QList<QByteArray> cells;
    for (QStringView title : columnTitles())
        cells << encoded(title, encoding);
    out.bytes += csv::row(cells);
    for (int r = 1; r < book.rowCount(); ++r) {
        cells.clear();
        for (int f = 0; f < kFieldCount; ++f) {
            const QByteArrayView bytes = book.row(r).fieldText(Field(f));
            if (encoding == CsvEncoding::Cp932) {
                cells << csv::guarded(bytes);
                continue;
            }
            const QString text = cp932::toUnicode(bytes);
            if (cp932::fromUnicode(text) != bytes)
                ++out.cellsChangedByUtf8;
            cells << csv::guarded(text.toUtf8());
        }
        out.bytes += csv::row(cells);
    }
    return out;
}

LogCsvContents parseLogCsv(QByteArrayView bytes)
{
    LogCsvContents contents;
    if (bytes.startsWith(kByteOrderMark)) {
        bytes = bytes.sliced(3);
    } else if (!QUtf8StringView(bytes).isValidUtf8()) {
        contents.encoding = CsvEncoding::Cp932;
    }
    const bool utf8 = contents.encoding == CsvEncoding::Utf8;
    const csv::Table table = csv::parse(bytes);
    const auto problem = [&](int line, const QString &reason) { contents.problems.push_back({line, reason}); };

    for (const csv::Problem &p : table.problems) {
        switch (p.kind) {
        case csv::Problem::Kind::UnclosedQuote: problem(p.line, msg::CsvUnclosedQuote.toString()); break;
        case csv::Problem::Kind::TextAfterQuote: problem(p.line, msg::CsvTextAfterQuote.toString()); break;
        case csv::Problem::Kind::QuoteInCell: problem(p.line, msg::CsvQuoteInCell.toString()); break;
        }
    }

    bool headerSeen = false;
    for (const csv::Row &row : table.rows) {
        if (!headerSeen) {
            headerSeen = true;
            QList<QByteArray> titles;
            for (QStringView title : columnTitles())
                titles << encoded(title, contents.encoding);
            QList<QByteArray> cells;
            for (const QByteArray &c : row.cells)
                cells << csv::unguarded(c);
            if (cells != titles)
                problem(row.line, msg::CsvNotLogHeader.toString());
            continue;
        }
        if (row.cells.size() != kFieldCount) {
            problem(row.line, msg::CsvCellCount.toString().arg(row.cells.size()).arg(kFieldCount));
            continue;
        }
        FlightRecord record;
        bool ok = true;
        for (int f = 1; f < kFieldCount; ++f) { // the row number is the list's own
            const Field field = Field(f);
            QByteArray text = csv::unguarded(row.cells[f]);
            if (utf8) {
                const QString unicode = QString::fromUtf8(text);
                if (!cp932::canEncode(unicode)) {
                    problem(row.line, msg::CsvNotEncodable.toString().arg(fieldTitle(field)));
                    ok = false;
                    continue;
                }
                text = cp932::fromUnicode(unicode);
            }
            if (text.contains('\0')) {
                problem(row.line, msg::CsvNulInCell.toString().arg(fieldTitle(field)));
                ok = false;
                continue;
            }
            if ((field == Field::Time || field == Field::Duration) && !text.isEmpty()) {
                // Stored as the one writer writes it, so every program reads the same time.
                const std::optional<qint32> seconds = numtext::clockSeconds(text);
                if (!seconds) {
                    problem(row.line, msg::CsvNotClockTime.toString().arg(fieldTitle(field)));
                    ok = false;
                    continue;
                }
                text = numtext::clockText(*seconds);
            }
            const int width = fieldWidth(field);
            if (width && text.size() > width - 1) {
                problem(row.line, msg::CsvCellTooLong.toString().arg(fieldTitle(field)).arg(width - 1));
                ok = false;
                continue;
            }
            if (fitField(field, text) != text) { // a double-byte character cut in half at its end
                problem(row.line, msg::CsvBrokenCharacter.toString().arg(fieldTitle(field)));
                ok = false;
                continue;
            }
            const BarographNameFault fault = field == Field::BarographFile && !text.isEmpty()
                ? barographNameFault(text) : BarographNameFault::None;
            if (fault != BarographNameFault::None) {
                problem(row.line, barographNameRefusal(text, fault));
                ok = false;
                continue;
            }
            record.setField(field, text);
        }
        if (ok)
            contents.flights.push_back(std::move(record));
    }
    if (!headerSeen)
        problem(1, msg::CsvNotLogHeader.toString());
    std::sort(contents.problems.begin(), contents.problems.end(),
              [](const CsvLineProblem &a, const CsvLineProblem &b) { return a.line < b.line; });
    return contents;
}

QString describeProblems(const std::vector<CsvLineProblem> &problems)
{
    QStringList lines;
    for (const CsvLineProblem &p : problems)
        lines << msg::CsvLine.toString().arg(p.line).arg(p.reason);
    return lines.join(u'\n');
}

int appendCsvFlights(LogBook &book, const LogCsvContents &contents)
{
    LogFileContents asLog;
    asLog.records.reserve(contents.flights.size() + 1);
    asLog.records.push_back(FlightRecord::titleRecord()); // skipped, as a log file's titles are
    asLog.records.insert(asLog.records.end(), contents.flights.begin(), contents.flights.end());
    return appendFlights(book, asLog);
}
