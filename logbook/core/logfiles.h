// Log files on disk: the paths of a log and its name file, reading, all-or-nothing saving
// with the backup into "bak", and the one-line name file (".lif"). QtCore only.
//
// Paths are the operating system's own (QString, '/' inside the program), never cp932 text.
#pragma once

#include "logbook/core/logfile.h"

#include <QByteArray>
#include <QString>

#include <optional>

class LogBook;

/// The path a log is written to: the extension of the last component becomes ".log"
/// (appended when it has none). A "." in a folder name is never taken for an extension.
QString logPathFor(const QString &chosenPath);
/// The name file beside a log: the extension of the last component becomes ".lif".
QString namePathFor(const QString &logPath);
/// The folder of a path, up to and including its last separator ('/'); empty if none.
QString folderOf(const QString &path);
/// A folder path with exactly one trailing '/'.
QString withTrailingSlash(const QString &folder);

/// Reads a whole log file; std::nullopt when it cannot be opened.
std::optional<LogFileContents> readLogFile(const QString &path);

/// The name a name file's bytes hold: the first line, cut to 31 bytes on a character
/// boundary.
QByteArray parseNameFile(QByteArrayView bytes);
/// The name in a name file (parseNameFile); std::nullopt when the file cannot be opened.
std::optional<QByteArray> readNameFile(const QString &path);
/// Writes the name without a line end, all or nothing. Returns false on failure.
bool writeNameFile(const QString &path, const QByteArray &name);

/// The folder backups go to: workFolder + "bak".
QString backupFolder(const QString &workFolder);
/// Moves `file` into the backup folder under its own name. Fails (returns false) when the
/// backup folder already holds a file of that name: the older backup stays.
bool moveToBackup(const QString &file, const QString &workFolder);

struct LogSaveResult {
    enum class Log { Written, CannotWrite, TooManyRows };
    Log log = Log::CannotWrite;
    bool nameWritten = false; ///< the name file was written
    QString logPath;          ///< where the log was (or would have been) written
};

/// Saves the log book: the image goes to a temporary file beside the target, and only when
/// that is complete is the current file (if `backupCurrent`, the one at currentLogPath)
/// moved into "bak" and the new file put in place. A failure leaves the old file where it
/// was and the log marked modified. On success currentLogPath becomes the written path and
/// logModified is cleared. `logName` takes the name field's text (cut to 31 bytes) and the
/// name file is written beside the target even when the log file could not be.
/// With more rows than a file can hold, nothing at all is written.
LogSaveResult saveLogBook(LogBook &book, const QString &chosenPath, const QByteArray &nameText,
                          bool backupCurrent);
