// Log files on disk: the paths of a log and its name file, reading, all-or-nothing saving
// with the backup into "bak", and the one-line name file (".lif"). QtCore only.
//
// Paths are the operating system's own (QString, '/' inside the program), never cp932 text.
#pragma once

#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logfile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

class LogBook;

/// The endings of a log's own files: the log and its name file (the companion's is in
/// companion.h). No barograph name may end so (barographNameFault).
inline constexpr QStringView kLogExtension = u".log";
inline constexpr QStringView kNameFileExtension = u".lif";

/// The path a log is written to: the extension of the last component becomes ".log"
/// (appended when it has none). A "." in a folder name is never taken for an extension.
QString logPathFor(const QString &chosenPath);
/// The name file beside a log: the extension of the last component becomes ".lif".
QString namePathFor(const QString &logPath);
/// The folder of a path, up to and including its last separator ('/'); empty if none.
QString folderOf(const QString &path);
/// A folder path with exactly one trailing '/'.
QString withTrailingSlash(const QString &folder);

/// True when two paths name one file: the same file on disk when both exist (as the file
/// system sees links and letter case), else the same absolute path.
bool isSameFile(const QString &a, const QString &b);

/// Reads a whole log file; std::nullopt when it cannot be opened (not a regular file, or
/// larger than kMaxLogFileBytes), with the reason in `why` when given.
std::optional<LogFileContents> readLogFile(const QString &path, ReadFailure *why = nullptr);

/// The name a name file's bytes hold: the first line, cut to 31 bytes on a character
/// boundary.
QByteArray parseNameFile(QByteArrayView bytes);
/// The largest name file read: one line of a 31-byte name, with room for a line end.
inline constexpr qint64 kMaxNameFileBytes = 4096;
/// The name in a name file (parseNameFile); std::nullopt when the file cannot be opened.
std::optional<QByteArray> readNameFile(const QString &path, ReadFailure *why = nullptr);
/// The folder backups go to: workFolder + "bak".
QString backupFolder(const QString &workFolder);

struct LogSaveResult {
    enum class Outcome { Written, Failed, TooManyRows };
    Outcome outcome = Outcome::Failed;
    std::optional<WriteFailure> failure; ///< why it failed, when it did
    QString logPath;                     ///< where the log was (or would have been) written
};

/// Saves the log book and its name file as one write (filewriter.h): the log first, the
/// name file right after, neither replaced unless both were written in full. The versions
/// they replace go into "bak" under the work folder (beside the target while the log has
/// no work folder); a backup that cannot be made stops the save. On success
/// currentLogPath becomes the written path and logModified is cleared; on failure nothing
/// on disk has changed and the log stays modified. `logName` takes the name field's text
/// (cut to 31 bytes). With more rows than a file can hold, nothing at all is written.
/// `barographs` (the files of rows this save brings, such as an import's) go in the same
/// write, before the log, so that no saved row ever names a file not yet in place.
LogSaveResult saveLogBook(LogBook &book, const QString &chosenPath, const QByteArray &nameText,
                          const WriteOptions &options = {}, std::vector<FileImage> barographs = {});

/// The two files saveLogBook writes for `book` at `logPath` (already ".log"), with
/// `nameText` as the name: for a write of several files at once (a barograph with its log).
/// Their replaced versions go into `backupFolder`; then the barographs the book was asked to
/// retire. Empty when the book has more rows than a file can hold.
std::vector<FileImage> logBookImages(const LogBook &book, const QString &logPath, const QByteArray &nameText,
                                     const QString &backupFolder);
