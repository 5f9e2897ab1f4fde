// The one way this program writes a file: all or nothing, with the version it replaces
// kept in a backup folder first. Used for the log and its name file, barographs (saved or
// downloaded) and the settings file, by the windows and by duvazi-tool alike. QtCore only.
//
// A write goes in three steps:
//   1. every new file is written in full to a temporary file beside its target and synced;
//   2. each target that already exists is linked (or, where links cannot be made, copied
//      and synced) into the backup folder, which is synced too;
//   3. the temporary files are renamed over their targets, in the order given (a file the
//      write takes away, kept in step 2 like a replaced one, is removed in its turn), and
//      each folder is synced.
// Until step 3 nothing at any target has changed; a rename is atomic, so at every instant a
// complete file (old or new) stands at each path. A failure in step 3 (or in syncing the
// folders after it) puts back the files already renamed. The old file is never moved away:
// a crash can cost the new version, never the old one. The files of one write are all the
// files one action changes (a barograph, its log and name file): the renames follow each
// other with nothing in between, so a kill can leave a mixed set only in that instant.
//
// What stands at a path is respected: a symbolic link is written through (the file it
// points to is replaced in its own folder, its old version copied into the backup folder
// under the link's name; the link stays), and anything but a regular file (a device, a
// named pipe) is refused.
//
// Backups: "bak/NAME.EXT" is the first version ever replaced and is kept for good (other
// programs look there); besides it every replaced version is kept as
// "bak/NAME.YYYYMMDD-HHMMSS.EXT" (with "-2", "-3"... when two writes fall in one second),
// the newest few only.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cerrno>
#include <functional>
#include <optional>
#include <vector>

/// One file to put in place.
struct FileImage {
    QString path;
    QByteArray bytes;
    bool keepFirst = true; ///< keep "bak/NAME.EXT" besides the history (a log's name file has none)
    QString backupFolder = {}; ///< where its replaced version goes when not the write's rule folder
    /// The file is taken away instead: its version kept like a replaced one, then removed
    /// after every other file of the write is in place (give these last), so that a log no
    /// longer naming it is saved before it goes. A missing file is nothing to do.
    bool remove = false;
};

/// Where a write keeps the versions it replaces.
struct BackupRule {
    QString folder;          ///< the backup folder, made when missing
    int historyToKeep = 10;  ///< timestamped versions kept per file name
    QDateTime now;           ///< the stamp of this write; the current local time when invalid
};

/// The steps of a write, for the fault injection of tests.
enum class WriteStep { CreateTemp, WriteTemp, SyncTemp, MakeBackupFolder, Backup, NameTemp, Rename, SyncFolder };

struct WriteOptions {
    std::optional<BackupRule> backup; ///< no backup without it
    /// Called before each step with the path it concerns; a non-zero errno value makes the
    /// step fail as the system would. Tests only.
    std::function<int(WriteStep, const QString &path)> fault;
};

/// Why a write failed: the file concerned and the system's reason.
struct WriteFailure {
    QString path;  ///< the file or folder that could not be written
    int error = 0; ///< the errno value
    bool backup = false; ///< the failure was in keeping the old version

    /// The reason in the program's own words, with the path: the second line of a message
    /// whose first line says what could not be done.
    QString reason() const;
};

/// The errno value of a path that holds something other than a regular file (a device, a
/// named pipe, a socket): neither written over nor read.
inline constexpr int kNotRegularFile = ENODEV;

/// Writes the files all or nothing, as described above. Returns the failure, if any; on a
/// failure every target is as it was and no temporary file is left.
std::optional<WriteFailure> writeFiles(const std::vector<FileImage> &files, const WriteOptions &options = {});
/// The same for one file.
std::optional<WriteFailure> writeFile(const QString &path, const QByteArray &bytes,
                                      const WriteOptions &options = {});

/// The system's reason for an errno value, in the program's own words.
QString systemReason(int error);

/// The timestamped backup names of `fileName` in a backup folder, oldest first.
QStringList backupHistory(const QString &backupFolder, const QString &fileName);
