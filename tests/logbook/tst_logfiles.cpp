// Log files on disk: derived paths, the name file, and saving all or nothing with the
// backup into "bak".
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

namespace {

// The test's own file helpers (the program's writer is what is under test).
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void plantFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

LogBook bookWithFlights(int flights, const QString &workFolder)
{
    LogBook book;
    book.workFolder = withTrailingSlash(workFolder);
    for (int i = 0; i < flights; ++i) {
        FlightRecord &r = book.appendRow();
        r.date = "24/05/03";
        r.comment = QByteArray::number(i);
    }
    book.logModified = true;
    return book;
}

} // namespace

class TestLogFiles : public QObject {
    Q_OBJECT
private slots:
    void derivedPaths_data();
    void derivedPaths();
    void nameFileKeepsFirstLineAnd31Bytes_data();
    void nameFileKeepsFirstLineAnd31Bytes();
    void saveWritesLogAndNameAndClearsModified();
    void everySaveKeepsTheVersionItReplaces();
    void failedSaveChangesNothingAndSaysWhy_data();
    void failedSaveChangesNothingAndSaysWhy();
    void tooManyRowsWritesNothing();
    void backupFolderLivesUnderWorkFolder();
};

void TestLogFiles::derivedPaths_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("lif");
    QTest::newRow("plain") << "/a/spring.log" << "/a/spring.log" << "/a/spring.lif";
    QTest::newRow("no extension") << "/a/spring" << "/a/spring.log" << "/a/spring.lif";
    QTest::newRow("other extension") << "/a/spring.txt" << "/a/spring.log" << "/a/spring.lif";
    QTest::newRow("dot in folder name") << "/a.b/spring" << "/a.b/spring.log" << "/a.b/spring.lif";
    QTest::newRow("two dots") << "/a/x.2024.log" << "/a/x.2024.log" << "/a/x.2024.lif";
    QTest::newRow("katakana so in name") << QStringLiteral("/ソ/表.log") << QStringLiteral("/ソ/表.log")
                                         << QStringLiteral("/ソ/表.lif");
    QTest::newRow("long path") << "/" + QString(300, u'x') + "/f" << "/" + QString(300, u'x') + "/f.log"
                               << "/" + QString(300, u'x') + "/f.lif";
}

void TestLogFiles::derivedPaths()
{
    QFETCH(QString, chosen);
    QFETCH(QString, log);
    QFETCH(QString, lif);
    QCOMPARE(logPathFor(chosen), log);
    QCOMPARE(namePathFor(logPathFor(chosen)), lif);
    QCOMPARE(folderOf(log), log.left(log.lastIndexOf(u'/') + 1));
}

void TestLogFiles::nameFileKeepsFirstLineAnd31Bytes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("plain") << QByteArray("spring") << QByteArray("spring");
    QTest::newRow("first line only") << QByteArray("one\r\ntwo") << QByteArray("one");
    QTest::newRow("32 bytes") << QByteArray(32, 'n') << QByteArray(31, 'n');
    // 15 x ソ is 30 bytes, then a 16th would end at byte 32: only whole characters stay.
    QTest::newRow("never splits a character") << cp932::fromUnicode(QString(16, u'ソ'))
                                              << cp932::fromUnicode(QString(15, u'ソ'));
}

void TestLogFiles::nameFileKeepsFirstLineAnd31Bytes()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, name);
    QTemporaryDir dir;
    plantFile(dir.filePath("x.lif"), content);
    QCOMPARE(readNameFile(dir.filePath("x.lif")), std::optional<QByteArray>(name));
    QVERIFY(!readNameFile(dir.filePath("missing.lif")));
}

void TestLogFiles::saveWritesLogAndNameAndClearsModified()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(2, dir.path());
    const LogSaveResult r = saveLogBook(book, dir.filePath("spring"), "name");
    QCOMPARE(r.outcome, LogSaveResult::Outcome::Written);
    QCOMPARE(book.currentLogPath, dir.filePath("spring.log"));
    QVERIFY(!book.logModified);
    QCOMPARE(readAll(dir.filePath("spring.log")), buildLogImage(book));
    QCOMPARE(readAll(dir.filePath("spring.lif")), QByteArray("name")); // no line end
    QCOMPARE(book.logName, QByteArray("name"));
    // Nothing replaced, so no backup; no temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
}

void TestLogFiles::everySaveKeepsTheVersionItReplaces()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(1, dir.path());
    QCOMPARE(saveLogBook(book, dir.filePath("a.log"), "one").outcome, LogSaveResult::Outcome::Written);
    const QByteArray first = readAll(dir.filePath("a.log"));

    book.appendRow().comment = "second";
    QCOMPARE(saveLogBook(book, book.currentLogPath, "two").outcome, LogSaveResult::Outcome::Written);
    const QByteArray second = readAll(dir.filePath("a.log"));
    book.appendRow().comment = "third";
    QCOMPARE(saveLogBook(book, book.currentLogPath, "three").outcome, LogSaveResult::Outcome::Written);
    QCOMPARE(readAll(dir.filePath("a.log")), buildLogImage(book));
    QCOMPARE(readAll(dir.filePath("a.lif")), QByteArray("three"));

    // bak/a.log is the first version ever replaced, and stays so.
    QCOMPARE(readAll(dir.filePath("bak/a.log")), first);
    // Each replaced version is kept with its own name file, oldest first.
    const QStringList logs = backupHistory(dir.filePath("bak"), "a.log");
    const QStringList names = backupHistory(dir.filePath("bak"), "a.lif");
    QCOMPARE(logs.size(), 2);
    QCOMPARE(readAll(dir.filePath("bak/" + logs[0])), first);
    QCOMPARE(readAll(dir.filePath("bak/" + logs[1])), second);
    QCOMPARE(readAll(dir.filePath("bak/" + names[0])), QByteArray("one"));
    QCOMPARE(readAll(dir.filePath("bak/" + names[1])), QByteArray("two"));
    QCOMPARE(QString(names[1]).replace(".lif", ".log"), logs[1]); // stamped as a pair
}

void TestLogFiles::failedSaveChangesNothingAndSaysWhy_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("obstacle"); ///< a folder or file made first
    QTest::addColumn<bool>("obstacleIsFolder");
    QTest::addColumn<int>("injectedError"); ///< 0: none
    QTest::addColumn<QString>("reason");
    QTest::newRow("target is a folder") << "x.log" << "x.log" << true << 0 << QStringLiteral("同じ名前のフォルダー");
    QTest::newRow("bak is a file") << "a.log" << "bak" << false << 0 << QStringLiteral("バックアップを作れません。");
    QTest::newRow("folder of the target is a file") << "a.log/in.log" << "" << false << 0 << QString();
    QTest::newRow("disk full on the name file") << "a.log" << "" << false << int(ENOSPC)
                                                << QStringLiteral("ディスクの空き容量が足りません。");
    QTest::newRow("read-only") << "a.log" << "" << false << int(EROFS) << QStringLiteral("読み取り専用");
}

void TestLogFiles::failedSaveChangesNothingAndSaysWhy()
{
    QFETCH(QString, target);
    QFETCH(QString, obstacle);
    QFETCH(bool, obstacleIsFolder);
    QFETCH(int, injectedError);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    LogBook book = bookWithFlights(1, dir.path());
    QCOMPARE(saveLogBook(book, dir.filePath("a.log"), "old").outcome, LogSaveResult::Outcome::Written);
    const QByteArray old = readAll(dir.filePath("a.log"));
    if (!obstacle.isEmpty()) {
        if (obstacleIsFolder)
            QVERIFY(QDir(dir.path()).mkdir(obstacle));
        else
            plantFile(dir.filePath(obstacle), "a file");
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    book.appendRow();
    book.logModified = true;
    WriteOptions options;
    if (injectedError) {
        options.fault = [injectedError](WriteStep step, const QString &path) {
            return step == WriteStep::WriteTemp && path.endsWith(".lif") ? injectedError : 0;
        };
    }
    const LogSaveResult r = saveLogBook(book, dir.filePath(target), "new", options);
    QCOMPARE(r.outcome, LogSaveResult::Outcome::Failed);
    QVERIFY(r.failure);
    if (!reason.isEmpty())
        QVERIFY2(r.failure->reason().contains(reason), qPrintable(r.failure->reason()));
    QVERIFY(book.logModified);
    QCOMPARE(book.currentLogPath, dir.filePath("a.log"));
    QCOMPARE(readAll(dir.filePath("a.log")), old);
    QCOMPARE(readAll(dir.filePath("a.lif")), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

void TestLogFiles::tooManyRowsWritesNothing()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(LogBook::kMaxRows, dir.path()); // 65536 rows with the title
    const LogSaveResult r = saveLogBook(book, dir.filePath("big.log"), "n");
    QCOMPARE(r.outcome, LogSaveResult::Outcome::TooManyRows);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(book.logModified);

    book.removeRow(1); // exactly 65535 rows fit
    QCOMPARE(saveLogBook(book, dir.filePath("big.log"), "n").outcome, LogSaveResult::Outcome::Written);
    QCOMPARE(int(parseLogFile(readAll(dir.filePath("big.log"))).records.size()), LogBook::kMaxRows);
}

void TestLogFiles::backupFolderLivesUnderWorkFolder()
{
    // After Save as into another folder, the backup still goes under the work folder.
    QTemporaryDir work, other;
    LogBook book = bookWithFlights(1, work.path());
    QCOMPARE(saveLogBook(book, other.filePath("b.log"), {}).outcome, LogSaveResult::Outcome::Written);
    QCOMPARE(saveLogBook(book, book.currentLogPath, {}).outcome, LogSaveResult::Outcome::Written);
    QVERIFY(QFile::exists(work.filePath("bak/b.log")));
    QVERIFY(!QFile::exists(other.filePath("bak/b.log")));
}

QTEST_GUILESS_MAIN(TestLogFiles)
#include "tst_logfiles.moc"
