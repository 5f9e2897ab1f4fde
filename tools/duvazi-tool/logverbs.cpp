// The log verbs: show, copy, sort, merge, delete, totals, CSV export and import, and what the
// statistics count beyond the rows (flights left out, flights and time carried over).
#include "output.h"
#include "verbs.h"

#include "barograph/core/messages.h"
#include "logbook/core/csv.h"
#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/companion.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/statisticsedits.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/totals.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>
#include <optional>

std::optional<LogBook> readLog(const QString &path, std::optional<QByteArray> *name, LogRead purpose)
{
    ReadFailure failure;
    std::optional<LogFileContents> contents = readLogFile(path, &failure);
    if (!contents) {
        report(msg::LogFileCannotOpen.toString() + u'\n' + failure.reason());
        return std::nullopt;
    }
    if (contents->isUnreadable()) {
        report(msg::LogFileUnreadable.toString() + QStringLiteral(" (") + path + u')');
        return std::nullopt;
    }
    if (!contents->isComplete()) {
        report(msg::LogFileDamaged.toString()
                   .arg(qMax(0, int(contents->records.size()) - 1))
                   .arg(qMax(0, contents->announcedRows - 1))
               + QStringLiteral(" (") + path + u')');
        return std::nullopt;
    }
    LogBook book;
    loadContents(book, std::move(*contents));
    // What the log cannot hold comes along, so that a verb writing the log back keeps it.
    const CompanionRead companion = readCompanionBeside(
        path, purpose == LogRead::ToWrite ? backupFolder(folderOf(QFileInfo(path).absoluteFilePath())) : QString());
    if (companion.companion) {
        if (const int unmatched = attachCompanion(book, *companion.companion))
            report(msg::CompanionUnmatched.toString().arg(unmatched));
    } else if (!companion.damage.isEmpty()) {
        report(msg::CompanionDamaged.toString().arg(companion.damage));
    }
    if (name)
        *name = readNameFile(namePathFor(path));
    return book;
}

namespace {

QString text(QByteArrayView cp932Bytes)
{
    return cp932::toUnicode(cp932Bytes);
}

// A cell of the tab-separated output: on one line, without tabs.
QString oneLineCell(QByteArrayView cp932Bytes)
{
    QString cell = text(cp932Bytes);
    cell.replace(u'\t', u' ');
    cell.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    cell.replace(u'\n', QStringLiteral("\\n"));
    cell.replace(u'\r', QStringLiteral("\\n"));
    return cell;
}

QString fieldNamesLine(QChar separator)
{
    QString line;
    for (int f = 0; f < kFieldCount; ++f)
        line += (f ? QString(separator) : QString()) + QLatin1String(fieldName(Field(f)));
    return line + u'\n';
}

} // namespace

int logShow(const QStringList &args)
{
    QString path;
    enum class Format { Text, Json, Csv } format = Format::Text;
    for (const QString &a : args) {
        if (a == u"--json")
            format = Format::Json;
        else if (a == u"--csv")
            format = Format::Csv;
        else if (path.isEmpty() && !a.startsWith(u"--"))
            path = a;
        else
            return 2;
    }
    if (path.isEmpty())
        return 2;
    std::optional<QByteArray> name;
    const std::optional<LogBook> book = readLog(path, &name);
    if (!book)
        return 1;

    if (format == Format::Json) {
        QJsonArray rows;
        for (const FlightRecord &r : book->records()) {
            QJsonObject row;
            for (int f = 0; f < kFieldCount; ++f)
                row.insert(QLatin1String(fieldName(Field(f))), text(r.fieldText(Field(f))));
            rows.append(row);
        }
        QJsonObject root;
        root.insert(QStringLiteral("name"), name ? QJsonValue(text(*name)) : QJsonValue());
        root.insert(QStringLiteral("rows"), rows);
        writeOut(QJsonDocument(root).toJson(QJsonDocument::Indented));
        return 0;
    }

    if (format == Format::Csv) {
        // Every row, the titles included, under the field names; written as the export is.
        QList<QByteArray> cells;
        for (int f = 0; f < kFieldCount; ++f)
            cells << fieldName(Field(f));
        QByteArray out = csv::row(cells);
        for (const FlightRecord &r : book->records()) {
            cells.clear();
            for (int f = 0; f < kFieldCount; ++f)
                cells << csv::guarded(text(r.fieldText(Field(f))).toUtf8());
            out += csv::row(cells);
        }
        writeOut(out);
        return 0;
    }

    QString out = fieldNamesLine(u'\t');
    for (const FlightRecord &r : book->records()) {
        for (int f = 0; f < kFieldCount; ++f)
            out += (f ? QStringLiteral("\t") : QString()) + oneLineCell(r.fieldText(Field(f)));
        out += u'\n';
    }
    writeOut(out.toUtf8());
    return 0;
}

int logExport(const QStringList &args)
{
    QString path, outPath;
    CsvEncoding encoding = CsvEncoding::Utf8;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == u"--csv" && hasValue) {
            outPath = args[++i];
        } else if (a == u"--encoding" && hasValue) {
            const QString e = args[++i].toLower();
            if (e == u"utf8" || e == u"utf-8")
                encoding = CsvEncoding::Utf8;
            else if (e == u"cp932" || e == u"sjis" || e == u"shift_jis")
                encoding = CsvEncoding::Cp932;
            else
                return 2;
        } else if (path.isEmpty() && !a.startsWith(u"--")) {
            path = a;
        } else {
            return 2;
        }
    }
    if (path.isEmpty() || outPath.isEmpty())
        return 2;
    const std::optional<LogBook> book = readLog(path);
    if (!book)
        return 1;
    const LogCsv csvFile = buildLogCsv(*book, encoding);
    if (const std::optional<WriteFailure> failure = writeFile(outPath, csvFile.bytes)) {
        report(msg::CsvCannotWrite.toString() + u'\n' + failure->reason());
        return 1;
    }
    if (csvFile.cellsChangedByUtf8 > 0)
        report(msg::CsvUtf8Changes.toString().arg(csvFile.cellsChangedByUtf8));
    return 0;
}

int logImport(const QStringList &args)
{
    if (args.size() != 2 || args[0].startsWith(u"--") || args[1].startsWith(u"--"))
        return 2;
    const QString &csvPath = args[0];
    const QString &logPath = args[1];
    ReadFailure failure;
    const std::optional<QByteArray> bytes = readInputFile(csvPath, kMaxCsvFileBytes, &failure);
    if (!bytes) {
        report(msg::CsvCannotOpen.toString() + u'\n' + failure.reason());
        return 1;
    }
    const LogCsvContents contents = parseLogCsv(*bytes);
    if (!contents.isReadable()) {
        report(msg::CsvCannotRead.toString() + u'\n' + describeProblems(contents.problems));
        return 1;
    }
    // Added after the flights of an existing log, as Add does; else into a new log.
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLogOrNew(logPath, &name);
    if (!book)
        return 1;
    appendCsvFlights(*book, contents);
    book->renumber();
    if (hasDuplicateDateTime(*book))
        report(msg::DuplicateDateTime);
    return writeLog(*book, logPath, name.value_or(QByteArray()));
}

std::optional<LogBook> readLogOrNew(const QString &path, std::optional<QByteArray> *name, LogRead purpose)
{
    if (QFileInfo::exists(path))
        return readLog(path, name, purpose);
    return LogBook();
}

int writeLog(LogBook &book, const QString &path, const QByteArray &name)
{
    book.workFolder = folderOf(QFileInfo(path).absoluteFilePath());
    const LogSaveResult result = saveLogBook(book, path, name);
    switch (result.outcome) {
    case LogSaveResult::Outcome::Written:
        return 0;
    case LogSaveResult::Outcome::TooManyRows:
        report(msg::LogTooManyRows);
        return 1;
    case LogSaveResult::Outcome::Failed:
        break;
    }
    report(msg::LogFileCannotOpen.toString() + u'\n' + result.failure->reason());
    return 1;
}

// Reads IN (and its name file), lets `change` work on the log, and writes it to OUT with
// its name file. `change` returns false when it could not do its work (reported).
int rewriteLog(const QString &in, const QString &out, const std::function<bool(LogBook &)> &change)
{
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLog(in, &name);
    if (!book || !change(*book))
        return 1;
    return writeLog(*book, out, name.value_or(QByteArray()));
}

int logCopy(const QStringList &args)
{
    if (args.size() != 2)
        return 2;
    return rewriteLog(args[0], args[1], [](LogBook &) { return true; });
}

int logSort(const QStringList &args)
{
    if (args.size() != 2)
        return 2;
    return rewriteLog(args[0], args[1], [](LogBook &book) {
        const bool duplicate = sortFlightsByDate(book);
        book.renumber(); // as the list's redraw does
        if (duplicate)
            report(msg::DuplicateDateTime);
        return true;
    });
}

int logMerge(const QStringList &args)
{
    if (args.size() != 3)
        return 2;
    return rewriteLog(args[0], args[2], [&](LogBook &book) {
        const std::optional<LogBook> added = readLog(args[1]);
        if (!added)
            return false;
        LogFileContents contents;
        contents.records = added->records();
        appendFlights(book, contents);
        book.renumber();
        if (hasDuplicateDateTime(book))
            report(msg::DuplicateDateTime);
        return true;
    });
}

// Deletes flights as the list's Delete does, in one save: the log, its name file and
// companion first, then (with --barographs) each deleted flight's barograph into bak, unless
// another row still names it.
int logDelete(const QStringList &args)
{
    if (args.isEmpty() || args[0].startsWith(u"--"))
        return 2;
    int first = -1;
    int last = -1;
    bool barographs = false;
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (args[i] == u"--row" && hasValue)
            first = args[++i].toInt(&ok);
        else if (args[i] == u"--to" && hasValue)
            last = args[++i].toInt(&ok);
        else if (args[i] == u"--barographs")
            barographs = true;
        else
            return 2;
        if (!ok)
            return 2;
    }
    if (first < 1)
        return 2;
    last = last < 0 ? first : last;
    return rewriteLog(args[0], args[0], [&](LogBook &book) {
        if (last < first || last >= book.rowCount()) {
            report(QStringLiteral("no flights %1 to %2 in %3").arg(first).arg(last).arg(args[0]));
            return false;
        }
        book.workFolder = folderOf(QFileInfo(args[0]).absoluteFilePath());
        book.currentLogPath = args[0]; // never taken away, whatever its name
        const QString folder = barographFolder(book);
        for (int r = last; r >= first; --r) {
            const FlightRecord &row = book.row(r);
            BarographNameFault fault = BarographNameFault::None;
            const std::optional<QString> path =
                barographs && row.hasBarograph() && rowsSharingBarograph(book, r).isEmpty()
                    ? barographPath(folder, row.barographFile, &fault) : std::nullopt;
            if (path && QFileInfo(*path).isFile())
                book.barographsToRetire.push_back(*path);
            else if (fault != BarographNameFault::None) // a name that reaches beyond a barograph: kept
                report(msg::BarographNotRemoved.toString().arg(text(row.barographFile)) + u'\n'
                       + msg::LogRowProblem.toString().arg(r).arg(barographNameRefusal(row.barographFile, fault)));
            book.removeRow(r);
        }
        book.renumber();
        return true;
    });
}

// Leaves a flight out of the statistics (or, with --include, counts it again) as the
// statistics window does, in one save of the log, its name file and companion. A flight that
// is so already leaves the files as they are.
int logExclude(const QStringList &args)
{
    if (args.isEmpty() || args[0].startsWith(u"--"))
        return 2;
    int row = -1;
    bool include = false;
    for (int i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == u"--row" && i + 1 < args.size())
            row = args[++i].toInt(&ok);
        else if (args[i] == u"--include")
            include = true;
        else
            return 2;
        if (!ok)
            return 2;
    }
    if (row < 1)
        return 2;
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLog(args[0], &name);
    if (!book)
        return 1;
    if (row >= book->rowCount()) {
        report(QStringLiteral("no flight %1 in %2").arg(row).arg(args[0]));
        return 1;
    }
    if (setExclusion(*book, {row}, !include).isEmpty())
        return 0;
    return writeLog(*book, args[0], name.value_or(QByteArray()));
}

// Sets the flights and flying time carried over from before the log, as the statistics
// window does, in one save of the log, its name file and companion.
int logCarry(const QStringList &args)
{
    if (args.isEmpty() || args[0].startsWith(u"--"))
        return 2;
    std::optional<int> flights;
    std::optional<qint64> seconds;
    for (int i = 1; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return 2;
        if (args[i] == u"--flights") {
            bool ok = false;
            flights = args[++i].toInt(&ok);
            if (!ok || *flights < 0 || *flights > kMaxCarriedFlights)
                return 2;
        } else if (args[i] == u"--time") {
            seconds = readCarriedTime(args[++i]);
            if (!seconds) {
                report(baromsg::StatsBadTime);
                return 2;
            }
        } else {
            return 2;
        }
    }
    if (!flights || !seconds)
        return 2;
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLog(args[0], &name);
    if (!book)
        return 1;
    if (setCarriedOver(*book, *flights, *seconds).isEmpty())
        return 0;
    return writeLog(*book, args[0], name.value_or(QByteArray()));
}

int logTotals(const QStringList &args)
{
    const auto parsed = fileAndJsonFlag(args);
    if (!parsed)
        return 2;
    const auto &[path, json] = *parsed;
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLog(path, &name);
    if (!book)
        return 1;
    // The totals command sorts first, as this does; the file itself is left as it is.
    const bool duplicate = book->hasFlights() && sortFlightsByDate(*book);
    book->renumber();
    if (duplicate)
        report(msg::DuplicateDateTime);
    const FlightTotals totals = computeTotals(*book);

    if (json) {
        static const char *const kinds[] = {"flight", "month", "year"};
        QJsonArray rows;
        for (int r = 0; r < totals.rowCount(); ++r) {
            QJsonArray cells;
            for (int c = 0; c < kFieldCount; ++c)
                cells.append(text(totals.cell(r, c)));
            rows.append(QJsonObject{{QStringLiteral("kind"), QLatin1String(kinds[int(totals.kind(r))])},
                                    {QStringLiteral("cells"), cells}});
        }
        QJsonObject root;
        root.insert(QStringLiteral("name"), name ? QJsonValue(text(*name)) : QJsonValue());
        root.insert(QStringLiteral("duplicates"), duplicate);
        root.insert(QStringLiteral("rows"), rows);
        writeOut(QJsonDocument(root).toJson(QJsonDocument::Indented));
        return 0;
    }
    QString out = fieldNamesLine(u'\t');
    for (int r = 0; r < totals.rowCount(); ++r) {
        for (int c = 0; c < kFieldCount; ++c)
            out += (c ? QStringLiteral("\t") : QString()) + oneLineCell(totals.cell(r, c));
        out += u'\n';
    }
    writeOut(out.toUtf8());
    return 0;
}
