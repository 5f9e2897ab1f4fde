// The chained drive, folder and file lists.
#include "folderbrowser.h"

#include "app/core/appsettings.h"
#include "logbook/ui/japanesefont.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTreeView>

namespace {

// The file list's view of its folder. QFileSystemModel keeps every folder that has been its
// root path in its listing, even where its filters hide folders, so a folder opened and left
// again would stand among the files. Only the folders on the way to the shown one pass.
class FileListModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setFolder(const QString &folder)
    {
        m_folder = folder;
        invalidateFilter();
    }
    void setNamePart(const QString &part)
    {
        m_namePart = part;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = static_cast<const QFileSystemModel *>(sourceModel());
        const QModelIndex index = files->index(row, 0, parent);
        if (!files->isDir(index))
            return m_namePart.isEmpty() || files->fileName(index).contains(m_namePart, Qt::CaseInsensitive);
        const QString path = files->filePath(index);
        return m_folder == path || m_folder.startsWith(path.endsWith(u'/') ? path : path + u'/');
    }

private:
    QString m_folder;
    QString m_namePart; ///< only files whose names hold it are listed
};

// The drive whose root is the longest start of `folder`.
int driveIndexFor(const QStringList &roots, const QString &folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < roots.size(); ++i) {
        const QString root = roots.at(i);
        const bool inside = folder == root || folder.startsWith(root.endsWith(u'/') ? root : root + u'/');
        if (inside && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace

FolderBrowser::FolderBrowser(QWidget *parent, const QStringList &nameFilters)
    : QObject(parent), m_drives(new QComboBox(parent)), m_folders(new QTreeView(parent)),
      m_files(new QListView(parent)), m_folderModel(new QFileSystemModel(this)), m_fileModel(new QFileSystemModel(this)),
      m_fileList(new FileListModel(this))
{
    m_drives->setObjectName(QStringLiteral("DriveComboBox"));
    m_folders->setObjectName(QStringLiteral("DirectoryListBox"));
    m_files->setObjectName(QStringLiteral("FileListBox"));
    const QFont listFont = japaneseUiFont(13);
    QPalette black = m_folders->palette();
    black.setColor(QPalette::Text, Qt::black);
    for (QWidget *w : {static_cast<QWidget *>(m_drives), static_cast<QWidget *>(m_folders), static_cast<QWidget *>(m_files)}) {
        w->setFont(listFont);
        w->setPalette(black);
    }

    for (const QString &root : driveRoots())
        m_drives->addItem(QDir::toNativeSeparators(root), root);

    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folderModel->setRootPath(QDir::rootPath());
    m_folders->setModel(m_folderModel);
    for (int c = 1; c < m_folderModel->columnCount(); ++c)
        m_folders->hideColumn(c);
    m_folders->setHeaderHidden(true);
    m_folders->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_fileModel->setFilter(QDir::Files);
    m_fileModel->setNameFilters(nameFilters);
    m_fileModel->setNameFilterDisables(false); // files that do not match are not listed at all
    m_fileModel->setReadOnly(true);
    m_fileList->setSourceModel(m_fileModel);
    m_files->setModel(m_fileList);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);

    connect(m_drives, &QComboBox::activated, this, &FolderBrowser::chooseDrive);
    // The model reads and sorts folders in the background: the shown folder is brought back
    // into view as rows arrive above it, until the pilot scrolls or clicks the tree.
    const auto keepInView = [this] {
        if (m_keepInView && m_folders->currentIndex().isValid())
            m_folders->scrollTo(m_folders->currentIndex(), QAbstractItemView::PositionAtCenter);
    };
    connect(m_folderModel, &QFileSystemModel::directoryLoaded, this, keepInView);
    connect(m_folderModel, &QAbstractItemModel::layoutChanged, this, keepInView);
    connect(m_folderModel, &QAbstractItemModel::rowsInserted, this, keepInView);
    connect(m_folders->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { m_keepInView = false; });
    connect(m_folders, &QAbstractItemView::pressed, this, [this] { m_keepInView = false; });
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    folderChosen(m_folderModel->filePath(current));
            });
    connect(m_files, &QListView::doubleClicked, this, &FolderBrowser::fileDoubleClicked);
}

void FolderBrowser::place(const QRect &drives, const QRect &folders, const QRect &files)
{
    m_drives->setGeometry(drives.x(), drives.y(), drives.width(), m_drives->sizeHint().height());
    m_folders->setGeometry(folders);
    m_files->setGeometry(files);
}

QStringList FolderBrowser::driveRoots()
{
    QStringList roots{QDir::homePath()};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        // Snap and container mounts are not where a pilot keeps flights.
        if (root.startsWith(QLatin1String("/snap/")) || root.startsWith(QLatin1String("/var/lib/"))
            || roots.contains(root))
            continue;
        roots << root;
    }
    return roots;
}

void FolderBrowser::chooseDrive(int index)
{
    const QString root = m_drives->itemData(index).toString();
    m_folders->setRootIndex(m_folderModel->index(root));
    m_folders->clearSelection();
    folderChosen(root);
}

int FolderBrowser::driveIndexOf(const QString &folder)
{
    QStringList roots;
    for (int i = 0; i < m_drives->count(); ++i)
        roots << m_drives->itemData(i).toString();
    const int drive = driveIndexFor(roots, folder);
    if (drive >= 0)
        return drive;
    // A folder on no listed drive (a mount that appeared since, a network share): its own
    // root is offered from now on. The root is found by climbing, so it always holds the
    // folder and the drive is added once.
    QDir top(folder);
    while (top.cdUp()) {
    }
    const QString root = top.absolutePath();
    m_drives->addItem(QDir::toNativeSeparators(root), root);
    return m_drives->count() - 1;
}

void FolderBrowser::showFolder(const QString &given)
{
    QString folder = absoluteFolder(given, QDir::currentPath());
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const int drive = driveIndexOf(folder);
    m_drives->setCurrentIndex(drive);
    const QString root = m_drives->itemData(drive).toString();
    m_folders->setRootIndex(m_folderModel->index(root));
    if (folder == root) {
        m_folders->clearSelection();
        folderChosen(root);
        return;
    }
    const QModelIndex index = m_folderModel->index(folder);
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
        m_folders->expand(above);
    m_folders->setCurrentIndex(index); // lists its files through currentChanged
    m_folders->expand(index);
    m_keepInView = true;
    m_folders->scrollTo(index, QAbstractItemView::PositionAtCenter);
    folderChosen(folder);
}

void FolderBrowser::folderChosen(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    // A file chosen in the folder left behind is no longer in view: it is no longer chosen.
    m_files->selectionModel()->clear();
    m_files->setCurrentIndex(QModelIndex());
    const QModelIndex root = m_fileModel->setRootPath(folder);
    static_cast<FileListModel *>(m_fileList)->setFolder(folder);
    m_files->setRootIndex(m_fileList->mapFromSource(root));
}

bool FolderBrowser::goTo(const QString &typed)
{
    const QString text = typed.trimmed();
    // A path goes to its folder; anything else narrows the file list to names holding it.
    if (text.contains(u'/') || text.contains(u'\\') || text.startsWith(u'~')) {
        QString path = QDir::fromNativeSeparators(text);
        if (path.startsWith(u'~'))
            path = QDir::homePath() + path.mid(1);
        const QFileInfo info(path);
        if (!info.isDir())
            return false;
        setNamePart(QString());
        showFolder(info.absoluteFilePath());
        return true;
    }
    setNamePart(text);
    return true;
}

void FolderBrowser::setNamePart(const QString &part)
{
    static_cast<FileListModel *>(m_fileList)->setNamePart(part);
}

void FolderBrowser::fileDoubleClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString path = m_fileModel->filePath(m_fileList->mapToSource(index));
    const QFileInfo info(path);
    // Only a listed kind of file is acted on; should a folder show in the list after all, it
    // is opened in the tree, as a double-click on a folder does everywhere else.
    if (info.isDir())
        showFolder(path);
    else if (info.isFile() && QDir::match(m_fileModel->nameFilters(), info.fileName()))
        emit fileActivated(path);
}

bool FolderBrowser::selectFile(const QString &file)
{
    const QFileInfo info(file);
    showFolder(info.absolutePath());
    if (!info.isFile())
        return false;
    const QModelIndex index = m_fileList->mapFromSource(m_fileModel->index(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    m_files->setCurrentIndex(index);
    m_files->scrollTo(index);
    return true;
}

QString FolderBrowser::selectedFile() const
{
    const QModelIndex index = m_files->currentIndex();
    if (!index.isValid() || !m_files->selectionModel()->isSelected(index) || index.parent() != m_files->rootIndex())
        return QString();
    return m_fileModel->filePath(m_fileList->mapToSource(index));
}

void FolderBrowser::setEnabled(bool enabled)
{
    m_drives->setEnabled(enabled);
    m_folders->setEnabled(enabled);
    m_files->setEnabled(enabled);
}
