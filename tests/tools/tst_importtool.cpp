// duvazi-tool log import-flights end to end: a dry run writes nothing, a second import adds
// nothing, a damaged file is named and the others imported, exit codes and usage.
#include "tests/common/toolrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

const QString kData = QStringLiteral(TEST_DATA_DIR "/barograph/import/");
const QString kNapret = QStringLiteral(REALFLIGHTS_DIR "/igc/pg-napret.igc");

// Every file and folder below a folder, each file with its bytes.
std::map<QString, QByteArray> folderContents(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        files[f.fileName()] = it.fileInfo().isDir()            ? QByteArray("folder")
                              : f.open(QIODevice::ReadOnly) ? f.readAll()
                                                            : QByteArray("?");
    }
    return files;
}

// A folder "logs" with the real logs in a subfolder and a file that is no log beside them.
void makeSources(const QTemporaryDir &dir)
{
    QDir(dir.path()).mkpath(QStringLiteral("logs/2016"));
    QFile::copy(kNapret, dir.filePath(QStringLiteral("logs/2016/napret.igc")));
    QFile::copy(kData + QStringLiteral("new_zealand.igc"), dir.filePath(QStringLiteral("logs/new_zealand.IGC")));
    QFile bad(dir.filePath(QStringLiteral("logs/notes.igc")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a flight\n");
}

QJsonObject importJson(const QTemporaryDir &dir, QStringList extra = {}, int *exitCode = nullptr)
{
    const ToolRun r = runTool(QStringList{QStringLiteral("log"), QStringLiteral("import-flights"),
                                          dir.filePath(QStringLiteral("F.log")), dir.filePath(QStringLiteral("logs")),
                                          QStringLiteral("--json"), QStringLiteral("--utc-offset"), QStringLiteral("+9")}
                              + extra);
    if (exitCode)
        *exitCode = r.exitCode;
    return QJsonDocument::fromJson(r.out).object();
}

// source file name -> status, row
std::map<QString, std::pair<QString, int>> statuses(const QJsonObject &root)
{
    std::map<QString, std::pair<QString, int>> out;
    for (const QJsonValue &v : root.value(QStringLiteral("files")).toArray()) {
        const QJsonObject f = v.toObject();
        out[QFileInfo(f.value(QStringLiteral("source")).toString()).fileName()] = {
            f.value(QStringLiteral("status")).toString(), f.value(QStringLiteral("row")).toInt(-1)};
    }
    return out;
}

} // namespace

class TestImportTool : public QObject {
    Q_OBJECT
private slots:
    void dryRunWritesNothing();
    void secondImportAddsNothingAndSaysSo();
    void keepAddsDuplicatesAndLocalTimeFollowsTheOffset();
    void wrongUsage_data();
    void wrongUsage();
};

void TestImportTool::dryRunWritesNothing()
{
    QTemporaryDir dir;
    makeSources(dir);
    const auto before = folderContents(dir.path());
    int rc = 0;
    const QJsonObject root = importJson(dir, {QStringLiteral("--dry-run")}, &rc);
    QCOMPARE(rc, 1); // notes.igc is refused
    QCOMPARE(folderContents(dir.path()), before);
    QCOMPARE(root.value(QStringLiteral("added")).toInt(), 2); // what the import would add

    // Nor beside a log whose companion is damaged: a save would keep it aside, a dry run not.
    importJson(dir);
    QFile companion(dir.filePath(QStringLiteral("F.duvazi.json")));
    QVERIFY(companion.open(QIODevice::WriteOnly | QIODevice::Truncate));
    companion.write("{\"entries\": [");
    companion.close();
    const auto damaged = folderContents(dir.path());
    importJson(dir, {QStringLiteral("--dry-run")});
    QCOMPARE(folderContents(dir.path()), damaged);
}

void TestImportTool::secondImportAddsNothingAndSaysSo()
{
    QTemporaryDir dir;
    makeSources(dir);
    int rc = 0;
    const QJsonObject first = importJson(dir, {}, &rc);
    QCOMPARE(rc, 1);
    QCOMPARE(first.value(QStringLiteral("added")).toInt(), 2);
    const auto s = statuses(first);
    QCOMPARE(s.at(QStringLiteral("notes.igc")), std::make_pair(QStringLiteral("error"), -1));
    // Folders in name order: "2016/napret.igc" before "new_zealand.IGC".
    QCOMPARE(s.at(QStringLiteral("napret.igc")), std::make_pair(QStringLiteral("new"), 1));
    QCOMPARE(s.at(QStringLiteral("new_zealand.IGC")), std::make_pair(QStringLiteral("new"), 2));
    for (const QJsonValue &v : first.value(QStringLiteral("files")).toArray()) {
        const QString barograph = v.toObject().value(QStringLiteral("barograph")).toString();
        QVERIFY(barograph.isEmpty() || QFile::exists(dir.filePath(barograph)));
    }
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("F.duvazi.json"))));

    const auto written = folderContents(dir.path());
    const QJsonObject again = importJson(dir, {}, &rc);
    QCOMPARE(again.value(QStringLiteral("added")).toInt(), 0);
    const auto s2 = statuses(again);
    QCOMPARE(s2.at(QStringLiteral("napret.igc")), std::make_pair(QStringLiteral("duplicate"), 1));
    QCOMPARE(s2.at(QStringLiteral("new_zealand.IGC")), std::make_pair(QStringLiteral("duplicate"), 2));
    QCOMPARE(folderContents(dir.path()), written);
    // The text form says it in the report line.
    const ToolRun text = runTool({QStringLiteral("log"), QStringLiteral("import-flights"),
                                  dir.filePath(QStringLiteral("F.log")), dir.filePath(QStringLiteral("logs/2016"))});
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.endsWith(QStringLiteral("0件取り込み、1件は既にあります、0件は読めません\n").toUtf8()), text.out);
}

void TestImportTool::keepAddsDuplicatesAndLocalTimeFollowsTheOffset()
{
    QTemporaryDir dir;
    makeSources(dir);
    importJson(dir);
    const QJsonObject kept = importJson(dir, {QStringLiteral("--duplicates"), QStringLiteral("keep")});
    QCOMPARE(kept.value(QStringLiteral("added")).toInt(), 2);
    QCOMPARE(statuses(kept).at(QStringLiteral("napret.igc")), std::make_pair(QStringLiteral("duplicate"), 3));
    const ToolRun show = runTool({QStringLiteral("log"), QStringLiteral("show"), dir.filePath(QStringLiteral("F.log")),
                                  QStringLiteral("--json")});
    const QJsonArray rows = QJsonDocument::fromJson(show.out).object().value(QStringLiteral("rows")).toArray();
    QCOMPARE(rows.size(), 5);
    // napret's first fix is 12:00:00 UTC on 2016-04-03 and it starts in the air.
    QCOMPARE(rows[1].toObject().value(QStringLiteral("time")).toString(), QStringLiteral("21:00:00"));
    QCOMPARE(rows[1].toObject().value(QStringLiteral("date")).toString(), QStringLiteral("16/04/03"));
}

void TestImportTool::wrongUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no source") << QStringList{QStringLiteral("F.log")};
    QTest::newRow("duplicates neither skip nor keep")
        << QStringList{QStringLiteral("F.log"), QStringLiteral("a.igc"), QStringLiteral("--duplicates"), QStringLiteral("ask")};
    QTest::newRow("offset beyond +14")
        << QStringList{QStringLiteral("F.log"), QStringLiteral("a.igc"), QStringLiteral("--utc-offset"), QStringLiteral("+15")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("F.log"), QStringLiteral("a.igc"), QStringLiteral("--all")};
}

void TestImportTool::wrongUsage()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const ToolRun r = runTool(QStringList{QStringLiteral("log"), QStringLiteral("import-flights")} + args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestImportTool)
#include "tst_importtool.moc"
