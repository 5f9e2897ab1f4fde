// The system calls the one writer is made of.
#include "filecalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace filecalls {

#ifdef Q_OS_WIN
// Untested here: the program is built and tried on Linux. The same steps with the calls
// Windows has for them.
int lastError()
{
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return EEXIST;
    default: return EACCES;
    }
}
std::wstring wide(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }
int openNew(const QString &path) { return _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE); }
int openAnonymous(const QString &) { errno = EOPNOTSUPP; return -1; }
bool nameAnonymous(int, const QString &) { errno = EOPNOTSUPP; return false; }
qint64 writeSome(int fd, const char *data, qint64 size) { return _write(fd, data, unsigned(std::min<qint64>(size, 1 << 30))); }
bool syncFd(int fd) { return _commit(fd) == 0; }
void closeFd(int fd) { _close(fd); }
void copyMode(int, const QString &) {}
bool renameOver(const QString &from, const QString &to)
{
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = lastError();
    return false;
}
bool hardLink(const QString &from, const QString &to)
{
    if (CreateHardLinkW(wide(to).c_str(), wide(from).c_str(), nullptr))
        return true;
    errno = lastError();
    return false;
}
bool syncFolder(const QString &) { return true; } // NTFS commits the rename itself
bool removeFile(const QString &path) { return DeleteFileW(wide(path).c_str()) != 0; }
bool makeFolder(const QString &path)
{
    if (CreateDirectoryW(wide(path).c_str(), nullptr))
        return true;
    errno = lastError();
    return false;
}
Kind kindOf(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymbolicLink())
        return Kind::Link;
    if (!info.exists())
        return Kind::Missing;
    return info.isDir() ? Kind::Folder : info.isFile() ? Kind::Regular : Kind::Other;
}
#else
QByteArray native(const QString &path) { return QFile::encodeName(path); }
int openNew(const QString &path) { return ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
int openAnonymous(const QString &folder)
{
#ifdef O_TMPFILE
    // An unnamed file: a crash while it is written leaves nothing behind. It gets a name only
    // an instant before it is renamed over its target, through /proc.
    if (::access("/proc/self/fd", X_OK) != 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(native(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    Q_UNUSED(folder);
    errno = EOPNOTSUPP;
    return -1;
#endif
}
bool nameAnonymous(int fd, const QString &path)
{
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, native(path).constData(), AT_SYMLINK_FOLLOW) == 0;
}
qint64 writeSome(int fd, const char *data, qint64 size) { return ::write(fd, data, size_t(size)); }
bool syncFd(int fd) { return ::fsync(fd) == 0; }
void closeFd(int fd) { ::close(fd); }
// The new file keeps the permissions of the one it replaces.
void copyMode(int fd, const QString &target)
{
    struct stat st {};
    if (::stat(native(target).constData(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, st.st_mode & 07777);
}
bool renameOver(const QString &from, const QString &to) { return ::rename(native(from).constData(), native(to).constData()) == 0; }
bool hardLink(const QString &from, const QString &to) { return ::link(native(from).constData(), native(to).constData()) == 0; }
bool syncFolder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL; // some file systems cannot sync a folder
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}
bool removeFile(const QString &path) { return ::unlink(native(path).constData()) == 0; }
bool makeFolder(const QString &path) { return ::mkdir(native(path).constData(), 0777) == 0; }
Kind kindOf(const QString &path)
{
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return Kind::Missing;
    if (S_ISLNK(st.st_mode))
        return Kind::Link;
    return S_ISREG(st.st_mode) ? Kind::Regular : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
}
#endif

} // namespace filecalls
