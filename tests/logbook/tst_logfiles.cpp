// Log files on disk: derived paths, the name file, and saving all or nothing with the
// backup into "bak".
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
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
    void saveMovesOldFileIntoBakAndKeepsOlderBackup();
    void failedWriteLeavesOldFileAndModified();
    void nameFileIsWrittenEvenWhenTheLogIsNot();
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
    writeFile(dir.filePath("x.lif"), content);
    QCOMPARE(readNameFile(dir.filePath("x.lif")), std::optional<QByteArray>(name));
    QVERIFY(!readNameFile(dir.filePath("missing.lif")));
}

void TestLogFiles::saveWritesLogAndNameAndClearsModified()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(2, dir.path());
    const LogSaveResult r = saveLogBook(book, dir.filePath("spring"), "name", false);
    QCOMPARE(r.log, LogSaveResult::Log::Written);
    QVERIFY(r.nameWritten);
    QCOMPARE(book.currentLogPath, dir.filePath("spring.log"));
    QVERIFY(!book.logModified);
    QCOMPARE(readAll(dir.filePath("spring.log")), buildLogImage(book));
    QCOMPARE(readAll(dir.filePath("spring.lif")), QByteArray("name")); // no line end
    QCOMPARE(book.logName, QByteArray("name"));
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestLogFiles::saveMovesOldFileIntoBakAndKeepsOlderBackup()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(1, dir.path());
    QVERIFY(saveLogBook(book, dir.filePath("a.log"), {}, true).log == LogSaveResult::Log::Written);
    const QByteArray first = readAll(dir.filePath("a.log"));

    book.appendRow().comment = "second";
    QVERIFY(saveLogBook(book, book.currentLogPath, {}, true).log == LogSaveResult::Log::Written);
    QCOMPARE(readAll(dir.filePath("bak/a.log")), first);
    const QByteArray second = readAll(dir.filePath("a.log"));
    QCOMPARE(second, buildLogImage(book));

    // A second save: the backup of that name exists, so it stays and the log is
    // overwritten in place.
    book.appendRow().comment = "third";
    QVERIFY(saveLogBook(book, book.currentLogPath, {}, true).log == LogSaveResult::Log::Written);
    QCOMPARE(readAll(dir.filePath("bak/a.log")), first);
    QCOMPARE(readAll(dir.filePath("a.log")), buildLogImage(book));
    QVERIFY(!QFile::exists(dir.filePath("bak/a.lif"))); // only the log file is backed up
}

void TestLogFiles::failedWriteLeavesOldFileAndModified()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(1, dir.path());
    QVERIFY(saveLogBook(book, dir.filePath("a.log"), {}, true).log == LogSaveResult::Log::Written);
    const QByteArray old = readAll(dir.filePath("a.log"));

    // The target's folder is replaced by a file, so no temporary file can be created there.
    book.appendRow();
    book.logModified = true;
    const LogSaveResult r = saveLogBook(book, dir.filePath("a.log/inside.log"), {}, true);
    QCOMPARE(r.log, LogSaveResult::Log::CannotWrite);
    QVERIFY(book.logModified);
    QCOMPARE(book.currentLogPath, dir.filePath("a.log"));
    QCOMPARE(readAll(dir.filePath("a.log")), old); // still in its place, not moved to bak
    QVERIFY(!QFile::exists(dir.filePath("bak/a.log")));
}

void TestLogFiles::nameFileIsWrittenEvenWhenTheLogIsNot()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(1, dir.path());
    // A folder stands where the log file would go: the log cannot be written, its name can.
    QVERIFY(QDir(dir.path()).mkdir("x.log"));
    const LogSaveResult r = saveLogBook(book, dir.filePath("x.log"), "n", false);
    QCOMPARE(r.log, LogSaveResult::Log::CannotWrite);
    QVERIFY(r.nameWritten);
    QCOMPARE(readAll(dir.filePath("x.lif")), QByteArray("n"));
    QVERIFY(book.currentLogPath.isEmpty());
}

void TestLogFiles::tooManyRowsWritesNothing()
{
    QTemporaryDir dir;
    LogBook book = bookWithFlights(LogBook::kMaxRows, dir.path()); // 65536 rows with the title
    const LogSaveResult r = saveLogBook(book, dir.filePath("big.log"), "n", false);
    QCOMPARE(r.log, LogSaveResult::Log::TooManyRows);
    QVERIFY(!r.nameWritten);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(book.logModified);

    book.removeRow(1); // exactly 65535 rows fit
    QCOMPARE(saveLogBook(book, dir.filePath("big.log"), "n", false).log, LogSaveResult::Log::Written);
    QCOMPARE(int(parseLogFile(readAll(dir.filePath("big.log"))).records.size()), LogBook::kMaxRows);
}

void TestLogFiles::backupFolderLivesUnderWorkFolder()
{
    // After Save as into another folder, the backup still goes under the work folder.
    QTemporaryDir work, other;
    LogBook book = bookWithFlights(1, work.path());
    QVERIFY(saveLogBook(book, other.filePath("b.log"), {}, false).log == LogSaveResult::Log::Written);
    QVERIFY(saveLogBook(book, book.currentLogPath, {}, true).log == LogSaveResult::Log::Written);
    QVERIFY(QFile::exists(work.filePath("bak/b.log")));
    QVERIFY(!QFile::exists(other.filePath("bak/b.log")));
}

QTEST_GUILESS_MAIN(TestLogFiles)
#include "tst_logfiles.moc"
