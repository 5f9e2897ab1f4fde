// Log files on disk.
#include "logfiles.h"

#include "logbook/core/companion.h"

#include "logbook/core/logbook.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Index where the extension of the last path component starts (its last '.'), or -1.
qsizetype extensionStart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? dot : -1;
}

QString withExtension(const QString &path, QStringView extension)
{
    const QString p = QDir::fromNativeSeparators(path);
    const qsizetype dot = extensionStart(p);
    return (dot < 0 ? p : p.left(dot)) + extension.toString();
}

} // namespace

QString logPathFor(const QString &chosenPath)
{
    return withExtension(chosenPath, kLogExtension);
}

QString namePathFor(const QString &logPath)
{
    return withExtension(logPath, kNameFileExtension);
}

QString folderOf(const QString &path)
{
    const QString p = QDir::fromNativeSeparators(path);
    const qsizetype slash = p.lastIndexOf(u'/');
    return slash < 0 ? QString() : p.left(slash + 1);
}

QString withTrailingSlash(const QString &folder)
{
    QString f = QDir::fromNativeSeparators(folder);
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    if (!f.endsWith(u'/'))
        f += u'/';
    return f;
}

bool isSameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists()) {
#ifdef Q_OS_UNIX
        struct stat sa {};
        struct stat sb {};
        if (::stat(QFile::encodeName(fa.absoluteFilePath()).constData(), &sa) == 0
            && ::stat(QFile::encodeName(fb.absoluteFilePath()).constData(), &sb) == 0)
            return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#else
        return fa.canonicalFilePath().compare(fb.canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
    }
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

std::optional<LogFileContents> readLogFile(const QString &path, ReadFailure *why)
{
    const std::optional<QByteArray> bytes = readInputFile(path, kMaxLogFileBytes, why);
    if (!bytes)
        return std::nullopt;
    return parseLogFile(*bytes);
}

std::optional<QByteArray> readNameFile(const QString &path, ReadFailure *why)
{
    const std::optional<QByteArray> bytes = readInputFile(path, kMaxNameFileBytes, why);
    if (!bytes)
        return std::nullopt;
    return parseNameFile(*bytes);
}

QByteArray parseNameFile(QByteArrayView bytes)
{
    QByteArrayView line = bytes;
    for (const char end : {'\n', '\r'}) {
        const qsizetype at = line.indexOf(end);
        if (at >= 0)
            line = line.first(at);
    }
    return cp932::truncated(line, LogBook::kLogNameMaxBytes);
}

QString backupFolder(const QString &workFolder)
{
    return withTrailingSlash(workFolder) + QStringLiteral("bak");
}

LogSaveResult saveLogBook(LogBook &book, const QString &chosenPath, const QByteArray &nameText,
                          const WriteOptions &options, std::vector<FileImage> barographs)
{
    LogSaveResult result;
    result.logPath = logPathFor(chosenPath);
    if (book.rowCount() > LogBook::kMaxRows) {
        result.outcome = LogSaveResult::Outcome::TooManyRows;
        return result;
    }
    book.logName = cp932::truncated(nameText, LogBook::kLogNameMaxBytes);

    WriteOptions write = options;
    if (!write.backup) {
        const QString work = book.workFolder.isEmpty() ? folderOf(result.logPath) : book.workFolder;
        write.backup = BackupRule{backupFolder(work), 10, {}};
    }
    std::vector<FileImage> files = logBookImages(book, result.logPath, book.logName, write.backup->folder);
    files.insert(files.begin(), std::make_move_iterator(barographs.begin()), std::make_move_iterator(barographs.end()));
    result.failure = writeFiles(files, write);
    if (result.failure)
        return result;
    result.outcome = LogSaveResult::Outcome::Written;
    book.barographsToRetire.clear();
    book.currentLogPath = result.logPath;
    book.logModified = false;
    return result;
}

std::vector<FileImage> logBookImages(const LogBook &book, const QString &logPath, const QByteArray &nameText,
                                     const QString &backupFolder)
{
    if (book.rowCount() > LogBook::kMaxRows)
        return {};
    // "bak/NAME.log" has always been the log's first backup alone; the name files are kept
    // with their logs in the dated history.
    std::vector<FileImage> images = {
        {logPath, buildLogImage(book), true, backupFolder},
        {namePathFor(logPath), cp932::truncated(nameText, LogBook::kLogNameMaxBytes), false, backupFolder}};
    // The companion goes with them whenever it holds anything, or one stands there already
    // (which would otherwise describe another version of the log).
    const Companion companion = companionOf(book);
    const QString companionPath = companionPathFor(logPath);
    if (!companion.isEmpty() || QFileInfo::exists(companionPath))
        images.push_back({companionPath, serializeCompanion(companion), false, backupFolder});
    // Deleted barographs go last, once the log that no longer names them is in place; a file
    // a row names again (a later download of the same name) stays.
    std::vector<QString> named;
    for (int r = 1; !book.barographsToRetire.empty() && r < book.rowCount(); ++r) {
        if (const std::optional<QString> path = book.row(r).hasBarograph()
                ? barographPath(barographFolder(book), book.row(r).barographFile) : std::nullopt)
            named.push_back(QFileInfo(*path).absoluteFilePath());
    }
    // Nor does a file this write puts in place, or the one the log was read from: whatever a
    // row came to name, a delete never takes the log with it.
    const size_t ownFiles = images.size();
    const auto isOwnFile = [&](const QString &path) {
        return std::any_of(images.begin(), images.begin() + qsizetype(ownFiles),
                           [&](const FileImage &own) { return isSameFile(own.path, path); })
            || (!book.currentLogPath.isEmpty() && isSameFile(book.currentLogPath, path));
    };
    for (const QString &path : book.barographsToRetire) {
        if (std::find(named.begin(), named.end(), QFileInfo(path).absoluteFilePath()) != named.end() || isOwnFile(path))
            continue;
        FileImage image{path, {}, true, ::backupFolder(folderOf(path))};
        image.remove = true;
        images.push_back(image);
    }
    return images;
}
