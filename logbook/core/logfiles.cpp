// Log files on disk.
#include "logfiles.h"

#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

// Writes bytes to a temporary file beside `path` and, if `beforeCommit` agrees, puts it in
// place. Returns false without touching `path` when anything fails before the commit.
template<typename BeforeCommit, typename CommitFailed>
bool writeAllOrNothing(const QString &path, const QByteArray &bytes, BeforeCommit beforeCommit,
                       CommitFailed commitFailed)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    beforeCommit();
    if (!file.commit()) {
        commitFailed();
        return false;
    }
    return true;
}

} // namespace

QString logPathFor(const QString &chosenPath)
{
    return withExtension(chosenPath, u".log");
}

QString namePathFor(const QString &logPath)
{
    return withExtension(logPath, u".lif");
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

std::optional<LogFileContents> readLogFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (QFileInfo(file).isDir())
        return std::nullopt;
    return parseLogFile(file.readAll());
}

std::optional<QByteArray> readNameFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(file).isDir())
        return std::nullopt;
    return parseNameFile(file.read(64));
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

bool writeNameFile(const QString &path, const QByteArray &name)
{
    return writeAllOrNothing(path, name, [] {}, [] {});
}

QString backupFolder(const QString &workFolder)
{
    return withTrailingSlash(workFolder) + QStringLiteral("bak");
}

bool moveToBackup(const QString &file, const QString &workFolder)
{
    const QString folder = backupFolder(workFolder);
    QDir().mkpath(folder);
    const QString target = folder + u'/' + QFileInfo(file).fileName();
    if (QFileInfo::exists(target))
        return false; // the older backup stays
    return QFile::rename(file, target);
}

LogSaveResult saveLogBook(LogBook &book, const QString &chosenPath, const QByteArray &nameText,
                          bool backupCurrent)
{
    LogSaveResult result;
    result.logPath = logPathFor(chosenPath);
    if (book.rowCount() > LogBook::kMaxRows) {
        result.log = LogSaveResult::Log::TooManyRows;
        return result;
    }

    const QString current = book.currentLogPath;
    const QString backupTarget = backupFolder(book.workFolder) + u'/' + QFileInfo(current).fileName();
    bool movedToBackup = false;
    const bool written = writeAllOrNothing(
        result.logPath, buildLogImage(book),
        [&] {
            if (backupCurrent && !current.isEmpty() && QFileInfo::exists(current))
                movedToBackup = moveToBackup(current, book.workFolder);
        },
        [&] {
            if (movedToBackup)
                QFile::rename(backupTarget, current); // put the old file back where it was
        });
    if (written) {
        result.log = LogSaveResult::Log::Written;
        book.currentLogPath = result.logPath;
        book.logModified = false;
    }

    book.logName = cp932::truncated(nameText, LogBook::kLogNameMaxBytes);
    result.nameWritten = writeNameFile(namePathFor(result.logPath), book.logName);
    return result;
}
