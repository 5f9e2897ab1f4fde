// The currency window driven through the main window, against what duvazi-tool prints for the
// same saved log: the rules with their counts, states and lapses, a rule's rows selected in the
// log list, the gear list, the proof PDF listing the same rows, and the notice when a log opens
// with a rule about to lapse.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "barograph/core/barographfile.h"
#include "barograph/core/messages.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/ui/loglistwindow.h"
#include "tests/common/scriptedprompter.h"
#include "tests/common/droppingflight.h"
#include "tests/common/toolrun.h"
#include "tests/common/windowreadings.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString day(int fromToday)
{
    return QString::fromLatin1(numtext::dateText(QDate::currentDate().addDays(fromToday)));
}

struct Fixture {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;
    QString path = dir.filePath("C.log");

    // 1: downloaded here with its raw copy, 400 m; 2: typed; 3: 500 m, typed with a barograph.
    // Rule T (3 flights in 90 days) lapses in 5 days; rule H counts flights of 400 m.
    Fixture()
    {
        LogBook book;
        const int offsets[] = {-85, -84, -10};
        for (int i = 0; i < 3; ++i) {
            FlightRecord &r = book.appendRow();
            r.date = day(offsets[i]).toLatin1();
            r.time = "12:00:00";
            r.duration = "01:00:00";
        }
        book.row(1).barographFile = "F1.V00";
        book.row(3).barographFile = "F3.V00";
        QDir(dir.path()).mkdir("raw");
        writeFile(dir.filePath("F1.V00"), flightDropping(400));
        writeFile(dir.filePath("raw/F1.V00"), flightDropping(400));
        writeFile(dir.filePath("F3.V00"), flightDropping(500));
        auto download = std::make_shared<DownloadedFlight>();
        for (int f = 0; f < kFieldCount; ++f)
            download->fields[size_t(f)] = book.row(1).fieldText(Field(f)).toByteArray();
        download->raw = QStringLiteral("raw/F1.V00");
        book.row(1).downloaded = download;
        book.companion.rules = {{"T", RuleKind::Flights, 3, 90, 0, {}, {}},
                                {"H", RuleKind::HeightFlights, 1, 0, 400, {}, {}}};
        book.renumber();
        saveLogBook(book, path, "c");
        form = std::make_unique<TMainForm>(std::make_unique<FileSettingsStore>(dir.filePath("cfg.conf")), &prompter);
        form->show();
    }
    ~Fixture()
    {
        prompter.answers = {Prompter::Answer::No, Prompter::Answer::No};
        form->close();
    }
    void trigger(const char *name) { qobject_cast<QAction *>(form->command(QLatin1String(name)))->trigger(); }
    std::vector<int> selectedRows() const { return selectedLogRows(*form); }
};

std::vector<int> rowsOf(const QJsonValue &array)
{
    std::vector<int> rows;
    for (const QJsonValue &v : array.toArray())
        rows.push_back(v.toInt());
    return rows;
}

} // namespace

class TestCurrencyWindow : public QObject {
    Q_OBJECT
private slots:
    void windowEqualsTheToolAndTheProofListsTheSameRows()
    {
        Fixture f;
        f.prompter.files.push_back(f.path);
        f.trigger("FileOpenItem");
        // The notice comes once the log is open.
        QVERIFY(QTest::qWaitFor([&f] { return !f.prompter.informed.isEmpty(); }));
        QVERIFY(f.prompter.informed.last().startsWith(baromsg::CurrencyNotice.toString().section(u'\n', 0, 0)));
        QVERIFY(f.prompter.informed.last().contains(QStringLiteral("T　失効日 ") + day(5)));

        f.trigger("MenuCurrency");
        TFormCurrency *w = f.form->currencyCommands().window();
        QVERIFY(w && w->isVisible());
        QVERIFY(w->setDay(day(0)));
        QVERIFY(QTest::qWaitFor([w] { return !w->isReading(); })); // the heights, read off the window's thread
        const ToolRun run = runTool({"log", "currency", f.path, "--on", day(0), "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray tool = QJsonDocument::fromJson(run.out).object().value("rules").toArray();
        QCOMPARE(w->ruleTable()->rowCount(), int(tool.size()));
        for (int i = 0; i < int(tool.size()); ++i) {
            const QJsonObject rule = tool[i].toObject();
            QCOMPARE(cell(w->ruleTable(), i, 0), rule.value("name").toString());
            QCOMPARE(cell(w->ruleTable(), i, 2), QStringLiteral("%1 / %2").arg(rule.value("count").toDouble()).arg(rule.value("min").toDouble()));
            QCOMPARE(cell(w->ruleTable(), i, 3), (rule.value("met").toBool() ? baromsg::CurrencyMet : baromsg::CurrencyNotMet).toString());
            QCOMPARE(cell(w->ruleTable(), i, 4), rule.value("lapses").toString());
            // A click selects the rule's flights in the log list and lists them below.
            w->chooseRule(i);
            QCOMPARE(f.selectedRows(), rowsOf(rule.value("rows")));
            QCOMPARE(w->rowTable()->rowCount(), int(rowsOf(rule.value("rows")).size()));
        }
        QCOMPARE(rowsOf(tool[1].toObject().value("rows")), (std::vector<int>{1, 3}));
        QCOMPARE(cell(w->rowTable(), 0, 5), QStringLiteral("400.0 m"));
        QCOMPARE(cell(w->rowTable(), 0, 6), baromsg::CurrencyFromInstrument.toString());
        QCOMPARE(cell(w->rowTable(), 1, 6), baromsg::CurrencyTyped.toString());
        QVERIFY(w->soonLabel()->text().contains(QStringLiteral("T (") + day(5) + u')'));

        // The proof lists the same rows, each with its height and origin.
        const QString pdf = f.dir.filePath("proof.pdf");
        QVERIFY(!w->writeProof(1, pdf));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed: the proof's text is not read back");
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("400.0 m")) && text.contains(QStringLiteral("500.0 m")), qPrintable(text));
        QCOMPARE(text.count(baromsg::CurrencyFromInstrument.toString()), 1);
        QVERIFY(text.contains(baromsg::CurrencyNotCounted.toString().arg(2).arg(msg::HeightNoBarograph.toString())));
    }

    void gearListEqualsTheTool()
    {
        Fixture f;
        f.prompter.files.push_back(f.path);
        f.trigger("FileOpenItem");
        f.trigger("MenuCurrency");
        TFormCurrency *w = f.form->currencyCommands().window();
        QVERIFY(w && w->setDay(day(0)));
        GearItem wing{"W", GearKind::Glider, 0, 0, 2, {}, {}};
        w->askGear = [&](QWidget *, QDate) { return NewGear{wing, QDate::currentDate().addDays(-100)}; };
        w->addGear();
        w->askDate = [](QWidget *, const QString &, QDate) { return QDate::currentDate().addDays(-84); };
        w->checkGear(0);
        QVERIFY(f.form->logBook().logModified);
        // Each edit is a step of the log's history, the window following undo and redo.
        const auto text = [&f](const char *name) { return qobject_cast<QAction *>(f.form->command(QLatin1String(name)))->text(); };
        QCOMPARE(text("UndoItem"), msg::UndoNamed.toString().arg(msg::StepGear));
        f.trigger("UndoItem");
        QVERIFY(f.form->logBook().companion.gear.front().checks.empty());
        QVERIFY(QTest::qWaitFor([w] { return cell(w->gearTable(), 0, 5).isEmpty(); }));
        f.trigger("RedoItem");
        QCOMPARE(f.form->logBook().companion.gear.front().checks, std::vector<QDate>{QDate::currentDate().addDays(-84)});
        QVERIFY(QTest::qWaitFor([w] { return cell(w->gearTable(), 0, 5) == day(-84); }));
        f.form->logCommands().save();

        const ToolRun run = runTool({"gear", f.path, "due", "--on", day(0), "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject tool = QJsonDocument::fromJson(run.out).object().value("gear").toArray().first().toObject();
        QCOMPARE(cell(w->gearTable(), 0, 0), tool.value("name").toString());
        QCOMPARE(cell(w->gearTable(), 0, 3), QString::number(tool.value("flights").toInt()));
        QCOMPARE(tool.value("flights").toInt(), 1); // the check covers its day: only row 3 after it
        QCOMPARE(cell(w->gearTable(), 0, 5), day(-84));
        QCOMPARE(cell(w->gearTable(), 0, 6), tool.value("due").toString());
        QVERIFY(tool.value("due").isNull());
    }
};

QTEST_MAIN(TestCurrencyWindow)
#include "tst_currencywindow.moc"
