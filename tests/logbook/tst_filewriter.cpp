// The all-or-nothing writer: a failure at any step leaves every target and the backup folder
// as they were; the history keeps the newest versions; a backup across file systems is a
// copy; a temporary file left by a killed run is cleared by the next write; a symbolic link
// is written through and kept; what is not a regular file is refused.
#include "logbook/core/filewriter.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void plant(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every name under a folder with its bytes, for before-and-after comparisons.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDir dir(root);
    for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isDir()) {
            files.insert(name + u'/', {});
            const QMap<QString, QByteArray> inner = snapshot(path);
            for (auto it = inner.begin(); it != inner.end(); ++it)
                files.insert(name + u'/' + it.key(), it.value());
        } else {
            files.insert(name, readAll(path));
        }
    }
    return files;
}

WriteOptions withBackup(const QString &folder, QDateTime now = {})
{
    WriteOptions o;
    o.backup = BackupRule{folder, 10, now};
    return o;
}

} // namespace

class TestFileWriter : public QObject {
    Q_OBJECT
private slots:
    void failureAtAnyStepChangesNothing();
    void historyKeepsTheNewestTen();
    void backupAcrossFileSystemsIsACopy();
    void leftoverTemporaryFileIsCleared();
    void linkIsWrittenThroughAndKept();
    void onlyRegularFilesAreReplaced_data();
    void onlyRegularFilesAreReplaced();
};

void TestFileWriter::failureAtAnyStepChangesNothing()
{
    // Count the steps of one whole action's write over old files: a log and its name file,
    // a barograph linked into the work folder from elsewhere, backed up into another folder,
    // and a deleted flight's barograph taken away. Then fail each step in turn.
    const auto run = [](const QString &root, int failAt, int *steps) {
        WriteOptions o = withBackup(root + "/bak", QDateTime(QDate(2026, 5, 3), QTime(10, 21, 5)));
        int n = 0;
        o.fault = [&n, failAt](WriteStep, const QString &) { return ++n == failAt ? ENOSPC : 0; };
        FileImage gone{root + "/GONE.BRG", {}};
        gone.remove = true;
        const auto failure = writeFiles({{root + "/a.log", "new log"},
                                         {root + "/a.lif", "new name"},
                                         {root + "/V.V35", "new barograph", true, root + "/work/bak"},
                                         gone},
                                        o);
        if (steps)
            *steps = n;
        return failure;
    };
    const auto prepare = [](const QTemporaryDir &dir) {
        plant(dir.filePath("a.log"), "old log");
        plant(dir.filePath("a.lif"), "old name");
        plant(dir.filePath("GONE.BRG"), "deleted barograph");
        QDir(dir.path()).mkdir("bak");
        plant(dir.filePath("bak/a.log"), "first backup");
        QDir(dir.path()).mkdir("elsewhere");
        plant(dir.filePath("elsewhere/V.V35"), "old barograph");
        QVERIFY(QFile::link("elsewhere/V.V35", dir.filePath("V.V35")));
    };
    int total = 0;
    {
        QTemporaryDir dir;
        prepare(dir);
        QVERIFY(!run(dir.path(), 0, &total));
        QCOMPARE(readAll(dir.filePath("a.log")), QByteArray("new log"));
        QCOMPARE(readAll(dir.filePath("bak/a.20260503-102105.lif")), QByteArray("old name"));
        QCOMPARE(readAll(dir.filePath("elsewhere/V.V35")), QByteArray("new barograph"));
        QCOMPARE(readAll(dir.filePath("work/bak/V.20260503-102105.V35")), QByteArray("old barograph"));
        QVERIFY(!QFile::exists(dir.filePath("GONE.BRG")));
        QCOMPARE(readAll(dir.filePath("bak/GONE.20260503-102105.BRG")), QByteArray("deleted barograph"));
    }
    QVERIFY(total >= 15);
    for (int failAt = 1; failAt <= total; ++failAt) {
        QTemporaryDir dir;
        prepare(dir);
        const QMap<QString, QByteArray> before = snapshot(dir.path());
        const std::optional<WriteFailure> failure = run(dir.path(), failAt, nullptr);
        QVERIFY2(failure, qPrintable(QString::number(failAt)));
        QCOMPARE(failure->error, ENOSPC);
        // Even a failed sync of the folders after the last rename puts the old files back.
        QCOMPARE(snapshot(dir.path()), before);
        QVERIFY(QFileInfo(dir.filePath("V.V35")).isSymLink());
    }
}

void TestFileWriter::historyKeepsTheNewestTen()
{
    QTemporaryDir dir;
    const QDateTime start(QDate(2026, 1, 1), QTime(9, 0, 0));
    for (int i = 0; i < 14; ++i) {
        // Two writes in one second get a sequence number; the order stays the write order.
        const QDateTime now = start.addSecs(i / 2);
        QVERIFY(!writeFile(dir.filePath("V7081114.V35"), QByteArray::number(i), withBackup(dir.filePath("bak"), now)));
    }
    const QStringList history = backupHistory(dir.filePath("bak"), "V7081114.V35");
    QCOMPARE(history.size(), 10);
    for (int k = 0; k < 10; ++k)
        QCOMPARE(readAll(dir.filePath("bak/" + history[k])), QByteArray::number(k + 3)); // versions 3 to 12
    QCOMPARE(history.first(), QStringLiteral("V7081114.20260101-090002.V35"));
    QCOMPARE(history[1], QStringLiteral("V7081114.20260101-090002-2.V35"));
    QCOMPARE(readAll(dir.filePath("bak/V7081114.V35")), QByteArray("0")); // the first, for good
    QCOMPARE(readAll(dir.filePath("V7081114.V35")), QByteArray("13"));
}

void TestFileWriter::backupAcrossFileSystemsIsACopy()
{
    QTemporaryDir here;
    QTemporaryDir there(QStringLiteral("/dev/shm/duvazi-XXXXXX"));
    if (!there.isValid() || QStorageInfo(here.path()).device() == QStorageInfo(there.path()).device())
        QSKIP("no second file system to back up to");
    plant(here.filePath("a.log"), "old");
    QVERIFY(!writeFile(here.filePath("a.log"), "new", withBackup(there.filePath("bak"))));
    QCOMPARE(readAll(there.filePath("bak/a.log")), QByteArray("old"));
    QCOMPARE(backupHistory(there.filePath("bak"), "a.log").size(), 1);
    QCOMPARE(QDir(there.filePath("bak")).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
}

void TestFileWriter::leftoverTemporaryFileIsCleared()
{
    QTemporaryDir dir;
    plant(dir.filePath(".a.log.~abc123.tmp"), "a killed run's");
    plant(dir.filePath(".b.log.~abc123.tmp"), "another file's");
    QVERIFY(!writeFile(dir.filePath("a.log"), "new"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{".b.log.~abc123.tmp", "a.log"}));
}

void TestFileWriter::linkIsWrittenThroughAndKept()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("kept");
    plant(dir.filePath("kept/real.log"), "old");
    QVERIFY(QFile::link(dir.filePath("kept/real.log"), dir.filePath("a.log")));
    QVERIFY(!writeFile(dir.filePath("a.log"), "new", withBackup(dir.filePath("bak"))));
    QVERIFY(QFileInfo(dir.filePath("a.log")).isSymLink());
    QCOMPARE(readAll(dir.filePath("kept/real.log")), QByteArray("new"));
    // The replaced version is a file of bak's own, not a second name of the one elsewhere.
    for (const QString &name : QDir(dir.filePath("bak")).entryList(QDir::Files)) {
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(dir.filePath("bak/" + name)).constData(), &st) == 0);
        QVERIFY(S_ISREG(st.st_mode) && st.st_nlink == 1);
        QCOMPARE(readAll(dir.filePath("bak/" + name)), QByteArray("old"));
    }
    QCOMPARE(QDir(dir.filePath("bak")).entryList(QDir::Files).size(), 2); // the first and the history
    QCOMPARE(QDir(dir.filePath("kept")).entryList(QDir::Files | QDir::Hidden), QStringList{"real.log"});
}

void TestFileWriter::onlyRegularFilesAreReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("named pipe") << "pipe" << kNotRegularFile;
    QTest::newRow("link to a named pipe") << "link" << kNotRegularFile;
    QTest::newRow("device") << "device" << kNotRegularFile;
    QTest::newRow("folder") << "folder" << EISDIR;
}

void TestFileWriter::onlyRegularFilesAreReplaced()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe");
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QString target = kind == "device" ? QStringLiteral("/dev/null") : pipe;
    if (kind == "link") {
        target = dir.filePath("a.log");
        QVERIFY(QFile::link(pipe, target));
    } else if (kind == "folder") {
        target = dir.filePath("a.log");
        QVERIFY(QDir(dir.path()).mkdir("a.log"));
    }
    const std::optional<WriteFailure> failure = writeFile(target, "new", withBackup(dir.filePath("bak")));
    QVERIFY(failure && failure->error == error);
    // Nothing was made beside it, not even the backup folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot).size(),
             kind == "pipe" || kind == "device" ? 1 : 2);
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
