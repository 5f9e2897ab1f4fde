// The system calls the one writer is made of, one small function each, so that the writer
// reads the same on every system: errno carries the reason of any that fails. Linux and the
// other Unix systems, and Windows with the calls it has. QtCore only.
#pragma once

#include <QString>

#include <QtGlobal>

namespace filecalls {

/// A new file, created exclusively; -1 with errno on failure.
int openNew(const QString &path);
/// A file with no name yet in `folder` (O_TMPFILE), so that a kill leaves nothing behind;
/// -1 with errno where the system has none.
int openAnonymous(const QString &folder);
/// Gives an anonymous file its name.
bool nameAnonymous(int fd, const QString &path);
qint64 writeSome(int fd, const char *data, qint64 size);
bool syncFd(int fd);
void closeFd(int fd);
/// Gives the new file the permissions of the one it replaces.
void copyMode(int fd, const QString &target);
bool renameOver(const QString &from, const QString &to);
bool hardLink(const QString &from, const QString &to);
bool syncFolder(const QString &folder);
bool removeFile(const QString &path);
bool makeFolder(const QString &path);

/// What stands at a path, a symbolic link not followed.
enum class Kind { Missing, Regular, Link, Folder, Other };
Kind kindOf(const QString &path);

} // namespace filecalls
