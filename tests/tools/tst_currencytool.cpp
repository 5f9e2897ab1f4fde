// "log currency" and "gear" end to end: the JSON the issue gives, from a log whose barographs
// were measured on disk (a drop of exactly the minimum counts, a trace without a take-off and a
// typed flight do not, and are said), the log's own rules or a rules file, and gear kept in
// the companion through the tool's writes.
#include "tests/common/droppingflight.h"
#include "tests/common/toolrun.h"

#include "barograph/core/barographfile.h"
#include "logbook/core/companion.h"
#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest/QTest>

namespace {

QJsonObject json(const ToolRun &run)
{
    return QJsonDocument::fromJson(run.out).object();
}

QJsonArray rowsOf(const QJsonValue &rule)
{
    return rule.toObject().value("rows").toArray();
}

struct Log {
    QTemporaryDir dir;
    QString path = dir.filePath("L.log");

    // 1: 400 m drop, 2: 399 m, 3: typed, 4: 600 m left out of the statistics, 5: recorded
    // from the air, 6: 500 m and a tree landing. Dates 24/05/01 to 24/05/06.
    Log(std::vector<CurrencyRule> rules = {})
    {
        LogBook book;
        const int drops[] = {400, 399, 0, 600, 450, 500};
        for (int i = 0; i < 6; ++i) {
            FlightRecord &r = book.appendRow();
            r.date = "24/05/0" + QByteArray::number(i + 1);
            r.time = "12:00:00";
            r.duration = "01:00:00";
            if (i != 2) {
                r.barographFile = "F" + QByteArray::number(i + 1) + ".V00";
                writeFile(dir.filePath(QString::fromLatin1(r.barographFile.toByteArray())), flightDropping(drops[i], i == 4));
            }
        }
        book.row(4).excludedFromStatistics = true;
        book.row(6).comment = cp932::fromUnicode(u"着水");
        book.companion.rules = std::move(rules);
        book.renumber();
        saveLogBook(book, path, "n");
    }
};

} // namespace

class TestCurrencyTool : public QObject {
    Q_OBJECT
private slots:
    void currencyJsonFromMeasuredBarographs()
    {
        Log log;
        const QString rules = log.dir.filePath("rules.json");
        writeFile(rules, R"({"rules": [
            {"name": "高度差400", "kind": "heightFlights", "min": 2, "minHeight": 400, "withinDays": 6},
            {"name": "days", "kind": "days", "min": 3},
            {"name": "hours", "kind": "hours", "min": 1.5, "withinDays": 2}]})");
        const ToolRun run = runTool({"log", "currency", log.path, "--rules", rules, "--on", "24/05/06", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = json(run);
        QCOMPARE(o.value("on").toString(), "24/05/06");
        const QJsonArray r = o.value("rules").toArray();
        QCOMPARE(r.size(), 3);
        const QJsonObject height = r[0].toObject();
        QCOMPARE(height.value("name").toString(), QStringLiteral("高度差400"));
        QCOMPARE(height.value("kind").toString(), "heightFlights");
        QCOMPARE(rowsOf(height), (QJsonArray{1, 6})); // 400 m exactly counts, 399 m does not
        QCOMPARE(height.value("count").toDouble(), 2.0);
        QCOMPARE(height.value("min").toDouble(), 2.0);
        QVERIFY(height.value("met").toBool());
        QCOMPARE(height.value("lapses").toString(), "24/05/07"); // the day 24/05/01 leaves the 6 days
        const QJsonArray notMeasured = height.value("notMeasured").toArray();
        QCOMPARE(notMeasured.size(), 2);
        QCOMPARE(notMeasured[0].toObject().value("row").toInt(), 3);
        QCOMPARE(notMeasured[0].toObject().value("reason").toString(), "noBarograph");
        QCOMPARE(notMeasured[1].toObject().value("reason").toString(), "noTakeoffOrLanding");
        QCOMPARE(rowsOf(r[1]), (QJsonArray{1, 2, 3, 5, 6})); // row 4 left out
        QCOMPARE(r[2].toObject().value("count").toDouble(), 2.0);
        QVERIFY(r[2].toObject().value("met").toBool());
        QCOMPARE(r[2].toObject().value("lapses").toString(), "24/05/07");
        QVERIFY(r[1].toObject().value("lapses").isNull());

        // The text form says why a row did not count.
        const ToolRun text = runTool({"log", "currency", log.path, "--rules", rules, "--on", "24/05/06"});
        QVERIFY(QString::fromUtf8(text.out).contains(QStringLiteral("  row 3: バログラフがありません\n")));
        QVERIFY(QString::fromUtf8(text.out).contains(QStringLiteral("lapses within 30 days: 高度差400 (24/05/07)")));
    }

    void withoutRulesTheLogsOwn()
    {
        CurrencyRule tandem{"T", RuleKind::Flights, 3, 90, 0, {}, {}};
        Log log({tandem});
        const QJsonArray r = json(runTool({"log", "currency", log.path, "--on", "24/08/02", "--json"})).value("rules").toArray();
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0].toObject().value("name").toString(), "T");
        QCOMPARE(rowsOf(r[0]), (QJsonArray{5, 6}));
        QVERIFY(!r[0].toObject().value("met").toBool());
        QVERIFY(r[0].toObject().value("lapses").isNull());
    }

    void gearIsKeptAndDue()
    {
        Log log;
        QCOMPARE(runTool({"gear", log.path, "add", "ウイング", "--kind", "glider", "--every-months", "24",
                          "--every-flights", "4"}).exitCode, 0);
        QCOMPARE(runTool({"gear", log.path, "add", "ウイング", "--kind", "glider"}).exitCode, 1); // there already
        QCOMPARE(runTool({"gear", log.path, "add", "R", "--kind", "reserve", "--every-months", "6"}).exitCode, 0);
        QCOMPARE(runTool({"gear", log.path, "use", "ウイング", "--from", "24/05/02"}).exitCode, 0);
        QCOMPARE(runTool({"gear", log.path, "use", "R", "--from", "24/01/01"}).exitCode, 0);
        QCOMPARE(runTool({"gear", log.path, "check", "R", "--on", "24/05/03"}).exitCode, 0);
        QCOMPARE(runTool({"gear", log.path, "use", "nobody", "--from", "24/05/02"}).exitCode, 1);

        const ToolRun due = runTool({"gear", log.path, "due", "--on", "24/05/06", "--json"});
        QCOMPARE(due.exitCode, 0);
        const QJsonArray gear = json(due).value("gear").toArray();
        QCOMPARE(gear.size(), 2);
        const QJsonObject wing = gear[0].toObject();
        QCOMPARE(wing.value("name").toString(), QStringLiteral("ウイング"));
        QCOMPARE(wing.value("kind").toString(), "glider");
        QCOMPARE(wing.value("flights").toInt(), 5);   // rows 2 to 6, the one left out too
        QCOMPARE(wing.value("hours").toDouble(), 5.0);
        QCOMPARE(wing.value("due").toString(), "24/05/05"); // the fourth flight
        QCOMPARE(wing.value("dueBy").toString(), "flights");
        const QJsonObject reserve = gear[1].toObject();
        QCOMPARE(reserve.value("flights").toInt(), 3); // after the check of 24/05/03
        QCOMPARE(reserve.value("due").toString(), "24/05/06"); // the water landing
        QCOMPARE(reserve.value("dueBy").toString(), "event");

        // The gear lives in the companion, written with the log in one save.
        const auto companion = parseCompanion(*readInputFile(companionPathFor(log.path), Companion::kMaxBytes));
        QCOMPARE(std::get<Companion>(companion).gear.size(), size_t(2));
        QCOMPARE(std::get<Companion>(companion).gear[1].checks, std::vector<QDate>{QDate(2024, 5, 3)});
    }

    void wrongUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no day") << QStringList{"log", "currency", "L", "--on", "24/02/30"} << 2;
        QTest::newRow("unknown option") << QStringList{"log", "currency", "L", "--off"} << 2;
        QTest::newRow("no kind") << QStringList{"gear", "L", "add", "X"} << 2;
        QTest::newRow("a kind of no gear") << QStringList{"gear", "L", "add", "X", "--kind", "boots"} << 2;
        QTest::newRow("months not whole") << QStringList{"gear", "L", "add", "X", "--kind", "glider", "--every-months", "1.5"} << 2;
        QTest::newRow("use without a day") << QStringList{"gear", "L", "use", "X"} << 2;
        QTest::newRow("check on no day") << QStringList{"gear", "L", "check", "X", "--on", "x"} << 2;
        QTest::newRow("a verb of none") << QStringList{"gear", "L", "repack", "X"} << 2;
        QTest::newRow("a rules file of none") << QStringList{"log", "currency", "L", "--rules", "missing.json"} << 1;
    }
    void wrongUsage()
    {
        QFETCH(QStringList, args);
        Log log;
        for (QString &a : args)
            a = a == "L" ? log.path : a;
        const QByteArray before = *readInputFile(log.path, 1 << 20);
        QTEST(runTool(args).exitCode, "exitCode");
        QCOMPARE(*readInputFile(log.path, 1 << 20), before);
    }
};

QTEST_GUILESS_MAIN(TestCurrencyTool)
#include "tst_currencytool.moc"
