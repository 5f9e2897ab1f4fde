// Writing files all or nothing, with backups.
#include "filewriter.h"

#include "logbook/core/filecalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>


namespace {

using namespace filecalls;

// Where a file given by `path` is really put: a symbolic link there (or a chain of them) is
// followed to the file it names, which may not exist yet. Sets errno and returns an empty
// string for a loop of links.
QString resolvedTarget(const QString &path, Kind &kind)
{
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        kind = kindOf(p);
        if (kind != Kind::Link)
            return p;
        p = QFileInfo(p).symLinkTarget();
    }
    errno = ELOOP;
    return QString();
}

// ---- Names ---------------------------------------------------------------------------------

QString randomTag()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 6; ++i)
        tag += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return tag;
}

// The temporary files of a target: ".NAME.~xxxxxx.tmp" beside it.
QString tempPathFor(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".~") + randomTag()
           + QStringLiteral(".tmp");
}

QRegularExpression tempPattern(const QString &fileName)
{
    return QRegularExpression(QStringLiteral("^\\.") + QRegularExpression::escape(fileName)
                              + QStringLiteral("\\.~[a-z0-9]{6}\\.tmp$"));
}

// A run killed between naming its temporary file and renaming it leaves the file behind;
// the next write of the same target clears it away.
void removeStaleTemps(const QString &target)
{
    const QFileInfo info(target);
    const QRegularExpression pattern = tempPattern(info.fileName());
    const QDir folder(info.absolutePath());
    for (const QString &entry : folder.entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden)) {
        if (pattern.match(entry).hasMatch())
            removeFile(folder.filePath(entry));
    }
}

// "NAME.EXT" split at its last dot: ("NAME", ".EXT"); no dot: (name, "").
std::pair<QString, QString> splitExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return {fileName, QString()};
    return {fileName.left(dot), fileName.mid(dot)};
}

QString historyName(const QString &fileName, const QString &stamp, int sequence)
{
    const auto [base, ext] = splitExtension(fileName);
    return base + u'.' + stamp + (sequence > 1 ? QStringLiteral("-%1").arg(sequence) : QString()) + ext;
}

QRegularExpression historyPattern(const QString &fileName)
{
    const auto [base, ext] = splitExtension(fileName);
    return QRegularExpression(u'^' + QRegularExpression::escape(base) + QStringLiteral("\\.(\\d{8}-\\d{6})(?:-(\\d+))?")
                              + QRegularExpression::escape(ext) + u'$');
}

// ---- One write -----------------------------------------------------------------------------

class Write {
public:
    Write(const std::vector<FileImage> &files, const WriteOptions &options) : m_files(files), m_options(options) {}
    ~Write() { discardTemps(); }

    std::optional<WriteFailure> run();

private:
    struct Temp {
        int fd = -1;
        QString path;       ///< its name in the folder; empty while it has none
        QString target;     ///< where it goes: the path given, or the file a link there names
        bool replaces = false; ///< its target exists: the old version is backed up
        bool throughLink = false;
    };
    struct MadeBackup {
        QString path;
        bool transient = false; ///< only a restore point: removed whatever happens
    };

    bool fails(WriteStep step, const QString &path)
    {
        const int error = m_options.fault ? m_options.fault(step, path) : 0;
        if (error)
            errno = error;
        return error != 0;
    }
    std::optional<WriteFailure> failure(const QString &path, bool backup = false) const
    {
        return WriteFailure{QDir::toNativeSeparators(path), errno ? errno : EIO, backup};
    }
    QString backupFolderOf(size_t i) const
    {
        return QDir::cleanPath(m_files[i].backupFolder.isEmpty() ? m_options.backup->folder : m_files[i].backupFolder);
    }

    std::optional<WriteFailure> writeTemp(const FileImage &file, Temp &temp);
    std::optional<WriteFailure> keepOldVersions();
    std::optional<WriteFailure> makeBackupFolder(const QString &folder);
    void keepRestorePoints();
    std::optional<WriteFailure> linkOrCopy(const QString &from, const QString &to, bool copy);
    std::optional<WriteFailure> commit();
    bool nameTemp(Temp &temp, const QString &target);
    void putBack(size_t renamed);
    void pruneHistory();
    void discardTemps();

    const std::vector<FileImage> &m_files;
    const WriteOptions &m_options;
    std::vector<Temp> m_temps;
    std::vector<MadeBackup> m_backups;
    std::vector<QString> m_backupOf; ///< per file: its timestamped backup, if it has one
    std::vector<QString> m_madeFolders; ///< backup folders this write made, deepest first
};

std::optional<WriteFailure> Write::run()
{
    m_temps.resize(m_files.size());
    m_backupOf.resize(m_files.size());
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (auto f = writeTemp(m_files[i], m_temps[i]))
            return f;
    }
    if (auto f = keepOldVersions())
        return f;
    keepRestorePoints();
    return commit();
}

// A write without a backup rule still keeps what it replaces until the end: each old
// version gets a hidden second name until the folders are synced, so that a failure can put
// it back.
void Write::keepRestorePoints()
{
    if (m_options.backup)
        return;
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!m_temps[i].replaces)
            continue;
        const QString point = tempPathFor(m_temps[i].target);
        if (hardLink(m_temps[i].target, point)) {
            m_backups.push_back({point, true});
            m_backupOf[i] = point;
        }
    }
}

std::optional<WriteFailure> Write::writeTemp(const FileImage &file, Temp &temp)
{
    Kind kind = Kind::Missing;
    temp.target = resolvedTarget(file.path, kind);
    if (temp.target.isEmpty())
        return failure(file.path);
    temp.throughLink = temp.target != QFileInfo(file.path).absoluteFilePath();
    if (kind == Kind::Folder || kind == Kind::Other) {
        // A rename would put a regular file where the pilot keeps a folder or a device.
        errno = kind == Kind::Folder ? EISDIR : kNotRegularFile;
        return failure(file.path);
    }
    temp.replaces = kind == Kind::Regular;
    if (file.remove)
        return std::nullopt;
    const QString &target = temp.target;
    removeStaleTemps(target);
    if (fails(WriteStep::CreateTemp, file.path))
        return failure(file.path);
    temp.fd = openAnonymous(QFileInfo(target).absolutePath());
    if (temp.fd < 0) {
        if (errno == ENOENT || errno == EACCES || errno == EROFS || errno == ENOSPC)
            return failure(file.path);
        temp.path = tempPathFor(target);
        temp.fd = openNew(temp.path);
        if (temp.fd < 0) {
            const int error = errno;
            temp.path.clear();
            errno = error;
            return failure(file.path);
        }
    }
    copyMode(temp.fd, target);

    const char *data = file.bytes.constData();
    qint64 left = file.bytes.size();
    while (left > 0) {
        if (fails(WriteStep::WriteTemp, file.path))
            return failure(file.path);
        const qint64 n = writeSome(temp.fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return failure(file.path);
        }
        data += n;
        left -= n;
    }
    if (fails(WriteStep::SyncTemp, file.path) || !syncFd(temp.fd))
        return failure(file.path);
    return std::nullopt;
}

std::optional<WriteFailure> Write::makeBackupFolder(const QString &folder)
{
    if (fails(WriteStep::MakeBackupFolder, folder))
        return failure(folder, true);
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        errno = ENOTDIR; // a file stands where the folder should be
        return failure(folder, true);
    }
    if (info.exists())
        return std::nullopt;
    // The folders this makes, deepest first, go again if the write fails.
    for (QString missing = folder; !QFileInfo::exists(missing); missing = QFileInfo(missing).absolutePath())
        m_madeFolders.push_back(missing);
    if (!QDir().mkpath(folder)) {
        makeFolder(folder); // for its errno
        return failure(folder, true);
    }
    return std::nullopt;
}

std::optional<WriteFailure> Write::keepOldVersions()
{
    if (!m_options.backup)
        return std::nullopt;
    std::vector<QString> folders;
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (m_temps[i].replaces && std::find(folders.begin(), folders.end(), backupFolderOf(i)) == folders.end())
            folders.push_back(backupFolderOf(i));
    }
    for (const QString &folder : folders) {
        if (auto f = makeBackupFolder(folder))
            return f;
    }

    // One stamp for every file of this write, so that a log and its name file pair up. A
    // file keeps its versions under the name it was given, a link's rather than its target's.
    const BackupRule &rule = *m_options.backup;
    const QDateTime now = rule.now.isValid() ? rule.now : QDateTime::currentDateTime();
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const auto fileName = [this](size_t i) { return QFileInfo(m_files[i].path).fileName(); };
    int sequence = 1;
    const auto taken = [&](int seq) {
        for (size_t i = 0; i < m_files.size(); ++i) {
            if (m_temps[i].replaces && QFileInfo::exists(backupFolderOf(i) + u'/' + historyName(fileName(i), stamp, seq)))
                return true;
        }
        return false;
    };
    while (taken(sequence))
        ++sequence;

    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!m_temps[i].replaces)
            continue;
        // A link's file lives outside the backup's reach: bak gets a copy of its own, never
        // a second name for a file somewhere else.
        const QString &source = m_temps[i].target;
        const bool copy = m_temps[i].throughLink;
        const QString history = backupFolderOf(i) + u'/' + historyName(fileName(i), stamp, sequence);
        if (auto f = linkOrCopy(source, history, copy))
            return f;
        m_backups.push_back({history});
        m_backupOf[i] = history;
        const QString first = backupFolderOf(i) + u'/' + fileName(i);
        if (m_files[i].keepFirst && !QFileInfo::exists(first)) {
            if (auto f = linkOrCopy(source, first, copy))
                return f;
            m_backups.push_back({first});
        }
    }
    for (const QString &folder : folders) {
        if (fails(WriteStep::SyncFolder, folder) || !syncFolder(folder))
            return failure(folder, true);
    }
    return std::nullopt;
}

// A synced copy of `from` put in place at `to` by rename; errno set when it could not be.
bool copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        errno = EACCES;
        return false;
    }
    const QByteArray bytes = source.readAll();
    const QString temp = tempPathFor(to);
    const int fd = openNew(temp);
    if (fd < 0)
        return false;
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        const qint64 n = writeSome(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (n == 0)
            errno = ENOSPC;
        data += std::max<qint64>(n, 0);
        left -= std::max<qint64>(n, 0);
    }
    ok = ok && syncFd(fd);
    const int error = errno;
    closeFd(fd);
    if (ok && renameOver(temp, to))
        return true;
    const int finalError = ok ? errno : error;
    removeFile(temp);
    errno = finalError;
    return false;
}

std::optional<WriteFailure> Write::linkOrCopy(const QString &from, const QString &to, bool copy)
{
    if (fails(WriteStep::Backup, to))
        return failure(to, true);
    // Another file system, or one without links: a synced copy.
    if ((!copy && hardLink(from, to)) || copyFile(from, to))
        return std::nullopt;
    return failure(errno == EACCES ? from : to, true);
}

bool Write::nameTemp(Temp &temp, const QString &target)
{
    if (!temp.path.isEmpty())
        return true;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString path = tempPathFor(target);
        if (nameAnonymous(temp.fd, path)) {
            temp.path = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

std::optional<WriteFailure> Write::commit()
{
    // Every temporary file is named first, so that the renames follow each other with
    // nothing in between: a kill can pair a new log with an old name file only in the
    // instant between two renames.
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i].remove)
            continue;
        if (fails(WriteStep::NameTemp, m_files[i].path) || !nameTemp(m_temps[i], m_temps[i].target))
            return failure(m_files[i].path);
    }
    for (size_t i = 0; i < m_files.size(); ++i) {
        Temp &temp = m_temps[i];
        const auto putInPlace = [&] {
            // A link goes itself: the file it named is outside the folder this write keeps.
            return m_files[i].remove ? !temp.replaces || removeFile(m_files[i].path) : renameOver(temp.path, temp.target);
        };
        if (fails(WriteStep::Rename, m_files[i].path) || !putInPlace()) {
            const int error = errno;
            putBack(i);
            errno = error;
            return failure(m_files[i].path);
        }
        temp.path.clear();
    }
    for (Temp &temp : m_temps) {
        closeFd(temp.fd);
        temp.fd = -1;
    }
    std::vector<QString> folders;
    for (const Temp &temp : m_temps) {
        const QString folder = QFileInfo(temp.target).absolutePath();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const QString &folder : folders) {
        // A folder that cannot be synced may lose the new files to a power cut: the save
        // counts as failed, so the old versions go back where the pilot expects them.
        if (fails(WriteStep::SyncFolder, folder) || !syncFolder(folder)) {
            const int error = errno;
            putBack(m_files.size());
            for (const QString &f : folders)
                syncFolder(f);
            errno = error;
            return failure(folder);
        }
    }
    // The backups hold the replaced versions now and stay; restore points go.
    for (const MadeBackup &b : m_backups) {
        if (b.transient)
            removeFile(b.path);
    }
    m_backups.clear();
    m_madeFolders.clear();
    pruneHistory();
    return std::nullopt;
}

// The first `renamed` files were put in place and the write fails: the old versions go back
// (their backups are renamed, else copied, over the new files) and the files that did not
// exist before are removed again. A backup that cannot be put back stays where it is.
void Write::putBack(size_t renamed)
{
    for (size_t j = 0; j < renamed; ++j) {
        const QString &target = m_temps[j].target;
        if (!m_temps[j].replaces) {
            if (!m_files[j].remove)
                removeFile(target);
            continue;
        }
        const QString &backup = m_backupOf[j];
        if (backup.isEmpty())
            continue; // nothing to restore from: the new file stays, complete
        const bool moved = renameOver(backup, target);
        if (!moved && copyFile(backup, target))
            continue; // the backup is removed with the others
        // Moved back, or the one copy of the old version left: not removed either way.
        m_backups.erase(std::remove_if(m_backups.begin(), m_backups.end(),
                                       [&backup](const MadeBackup &b) { return b.path == backup; }),
                        m_backups.end());
    }
}

void Write::pruneHistory()
{
    if (!m_options.backup)
        return;
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!m_temps[i].replaces)
            continue;
        const QString folder = backupFolderOf(i);
        QStringList history = backupHistory(folder, QFileInfo(m_files[i].path).fileName());
        const int excess = int(history.size()) - std::max(1, m_options.backup->historyToKeep);
        for (int k = 0; k < excess; ++k)
            removeFile(folder + u'/' + history[k]);
    }
}

void Write::discardTemps()
{
    for (Temp &temp : m_temps) {
        if (temp.fd >= 0)
            closeFd(temp.fd);
        if (!temp.path.isEmpty())
            removeFile(temp.path);
        temp = Temp{};
    }
    for (const MadeBackup &b : m_backups)
        removeFile(b.path); // the write failed: the old versions are back in their places
    m_backups.clear();
    for (const QString &folder : m_madeFolders)
        QDir().rmdir(folder); // only while empty: a backup that could not be put back stays
}

} // namespace

QString WriteFailure::reason() const
{
    QString text = systemReason(error);
    if (backup)
        text = QStringLiteral("バックアップを作れません。") + text;
    return text + QStringLiteral("（") + path + QStringLiteral("）");
}

QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EACCES:
    case EPERM: return QStringLiteral("書き込みが許可されていません。");
    case EROFS: return QStringLiteral("読み取り専用の場所です。");
    case EISDIR: return QStringLiteral("同じ名前のフォルダーがあります。");
    case ENOTDIR:
    case EEXIST: return QStringLiteral("フォルダーの場所に同じ名前のファイルがあります。");
    case ENOENT: return QStringLiteral("見つかりません。");
    case ENAMETOOLONG: return QStringLiteral("名前が長すぎます。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます。");
    case EINVAL: return QStringLiteral("ファイル名が正しくありません。");
    case EIO: return QStringLiteral("ディスクの読み書きでエラーが起きました。");
    case kNotRegularFile: return QStringLiteral("通常のファイルではありません（装置や名前付きパイプなど）。");
    case ELOOP: return QStringLiteral("シンボリックリンクが循環しています。");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

std::optional<WriteFailure> writeFiles(const std::vector<FileImage> &files, const WriteOptions &options)
{
    const int saved = errno;
    errno = 0;
    std::optional<WriteFailure> result = Write(files, options).run();
    errno = saved;
    return result;
}

std::optional<WriteFailure> writeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options)
{
    return writeFiles({FileImage{path, bytes}}, options);
}

QStringList backupHistory(const QString &backupFolder, const QString &fileName)
{
    const QRegularExpression pattern = historyPattern(fileName);
    struct Entry {
        QString name;
        QString stamp;
        int sequence;
    };
    std::vector<Entry> entries;
    for (const QString &name : QDir(backupFolder).entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (m.hasMatch())
            entries.push_back({name, m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.sequence < b.sequence;
    });
    QStringList names;
    for (const Entry &e : entries)
        names << e.name;
    return names;
}
