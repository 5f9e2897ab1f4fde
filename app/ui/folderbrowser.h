// The chained drive list, folder tree and file list that the start-folder and background
// dialogs share: choosing a drive shows its folders, choosing a folder shows its files. On
// Linux the "drives" are the home folder and the mounted file systems.
#pragma once

#include <QObject>
#include <QRect>
#include <QStringList>

class QComboBox;
class QFileSystemModel;
class QListView;
class QModelIndex;
class QSortFilterProxyModel;
class QTreeView;
class QWidget;

class FolderBrowser : public QObject {
    Q_OBJECT
public:
    /// Makes the three lists on `parent`; the file list shows the files matching
    /// `nameFilters` (letter case ignored).
    FolderBrowser(QWidget *parent, const QStringList &nameFilters);

    /// Places the lists (client coordinates of the parent).
    void place(const QRect &drives, const QRect &folders, const QRect &files);

    /// Shows `folder` in the tree (its drive chosen, the folder open) and lists its files. A
    /// relative folder is taken from the current folder; one on no listed drive adds its root
    /// to the drives; one that does not exist shows the home folder.
    void showFolder(const QString &folder);
    /// Shows the folder of `file` and selects `file` in the file list. False when the file
    /// does not exist (the folder is shown if it exists).
    bool selectFile(const QString &file);

    /// What the path field typed: a path (with a separator, or from "~") shows that folder,
    /// false when it is none; other text lists only the files whose names hold it.
    bool goTo(const QString &typed);
    void setNamePart(const QString &part);

    /// The folder selected in the tree, without a trailing separator.
    QString folder() const { return m_folder; }
    /// The full path of the file selected in the file list; empty when none is.
    QString selectedFile() const;

    void setEnabled(bool enabled);

    /// The drives offered: the home folder first, then every mounted file system.
    static QStringList driveRoots();

    QComboBox *drives() const { return m_drives; }
    QTreeView *folders() const { return m_folders; }
    QListView *files() const { return m_files; }

signals:
    /// A double-click on a file that the list's filters name (its full path).
    void fileActivated(const QString &path);

private:
    void chooseDrive(int index);
    /// The drive holding `folder`, its root added to the drives first when none does.
    int driveIndexOf(const QString &folder);
    void fileDoubleClicked(const QModelIndex &index);
    void folderChosen(const QString &folder);

    QComboBox *m_drives;
    QTreeView *m_folders;
    QListView *m_files;
    QFileSystemModel *m_folderModel;
    QFileSystemModel *m_fileModel;
    QSortFilterProxyModel *m_fileList; ///< the files of the shown folder, without folders
    QString m_folder;
    bool m_keepInView = false; ///< the shown folder is kept in view while the tree fills
};
