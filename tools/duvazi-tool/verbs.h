// The verbs of duvazi-tool. Each returns the process exit code: 0 done, 1 the input could
// not be used (message on standard error), 2 wrong usage.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

class LogBook;

int logShow(const QStringList &args);
int logCopy(const QStringList &args);
int logSort(const QStringList &args);
int logMerge(const QStringList &args);
int logDelete(const QStringList &args);
int logExclude(const QStringList &args);
int logCarry(const QStringList &args);
int logTotals(const QStringList &args);
int logExport(const QStringList &args);
int logImport(const QStringList &args);
int logImportFlights(const QStringList &args);
int logStats(const QStringList &args);
int logPrint(const QStringList &args);
int logCurrency(const QStringList &args);
int gear(const QStringList &args);
int baroStats(const QStringList &args);
int baroRender(const QStringList &args);
int baroView(const QStringList &args);
int baroCorrect(const QStringList &args);
int baroCut(const QStringList &args);
int baroRevert(const QStringList &args);
int baroExport(const QStringList &args);
int baroClimbs(const QStringList &args);
int download(const QStringList &args);
int send(const QStringList &args);

/// Whether a verb reads a log to write it back, or only to look (a dry run, which writes
/// nothing at all: not even a damaged companion kept aside in "bak").
enum class LogRead { ToWrite, ToLook };
/// Reads a log the way the program opens it (and its name file into `name`, when given). A
/// damaged or unreadable file is reported and gives std::nullopt: the tool never works on
/// part of a log.
std::optional<LogBook> readLog(const QString &path, std::optional<QByteArray> *name = nullptr,
                               LogRead purpose = LogRead::ToWrite);
/// readLog when a file stands at `path`; else a new, empty log book (made only when written).
std::optional<LogBook> readLogOrNew(const QString &path, std::optional<QByteArray> *name,
                                    LogRead purpose = LogRead::ToWrite);
/// Writes a log book (and its name file) as the program's save does, the versions it
/// replaces kept in "bak" beside `path`; 0 on success, 1 with the failure reported.
int writeLog(LogBook &book, const QString &path, const QByteArray &name);
