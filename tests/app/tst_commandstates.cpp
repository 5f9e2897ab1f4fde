// The enabling table, row by row: what each event sets, in order, under each of its
// conditions.
#include "app/core/commandstates.h"

#include <QTest>

Q_DECLARE_METATYPE(CommandEvent)

namespace {

// "SBGraph+ SaveBtn-": every setting in order, + enabled, - disabled.
QString describe(const std::vector<CommandSetting> &settings)
{
    QStringList parts;
    for (const CommandSetting &s : settings)
        parts << commandName(s.command) + QLatin1Char(s.enabled ? '+' : '-');
    return parts.join(u' ');
}

CommandFacts facts(const char *which)
{
    const QByteArray w(which);
    CommandFacts f;
    f.recordCommandsBefore = w.contains("before");
    f.graphOpen = w.contains("graph");
    f.windowOpen = w.contains("graph") || w.contains("editor");
    f.logModified = w.contains("modified");
    f.hasFlights = w.contains("flights");
    f.canUndo = w.contains("undo");
    f.canRedo = w.contains("redo");
    f.running[size_t(Work::Download)] = w.contains("downloading");
    f.running[size_t(Work::Print)] = w.contains("printing");
    f.running[size_t(Work::Import)] = w.contains("importing");
    return f;
}

} // namespace

class TestCommandStates : public QObject {
    Q_OBJECT
private slots:
    void everyRowSetsItsCommands_data();
    void everyRowSetsItsCommands();
    void everyCommandHasItsObjectName();
};

void TestCommandStates::everyRowSetsItsCommands_data()
{
    QTest::addColumn<CommandEvent>("event");
    QTest::addColumn<QString>("facts");
    QTest::addColumn<QString>("expected");
    using E = CommandEvent;
    const QString record = QStringLiteral("SBGraph%1 SBEdit%1 DeleteItem%1 CutBtn%1 MenuTotal%1 SortByDate%1");
    const QString save = QStringLiteral("SaveBtn%1 FileSaveItem%1");
    const QString figures = QStringLiteral(" MenuStatistics%1 LogBookPrint%1 FileIgcExport%1");
    const QString hist = QStringLiteral(" UndoItem- RedoItem-");
    const auto row = [](const char *name, E e, const char *f, const QString &expected) {
        QTest::newRow(name) << e << QString::fromLatin1(f) << expected;
    };

    row("start-up", E::StartUp, "flights modified graph",
        record.arg('-') + u' ' + save.arg('-')
            + QStringLiteral(" FileSaveAsItem- FileNewItem- FileCloseItem- Reload- HeightAdjust- CopyBtn- PasteBtn-"
                             " GraphClose- DataEditClose-") + figures.arg('-') + hist);
    row("open succeeded", E::LogOpened, "modified",
        save.arg('-') + u' ' + record.arg('+') + QStringLiteral(" FileSaveAsItem+ Reload+") + figures.arg('+') + hist);
    // Cancelled or unreadable: the record commands go back to what the delete button was.
    row("open failed, were on", E::OpenFailed, "before", record.arg('+') + figures.arg('+'));
    row("open failed, were off", E::OpenFailed, "flights", record.arg('-') + figures.arg('-'));
    row("add done", E::LogMerged, "",
        save.arg('+') + u' ' + record.arg('+') + QStringLiteral(" FileSaveAsItem+") + figures.arg('+') + hist);
    row("log download done", E::LogDownloaded, "modified",
        record.arg('+') + QStringLiteral(" FileSaveAsItem+ Reload+") + figures.arg('+') + hist);
    row("delete, flights remain", E::FlightsDeleted, "flights", save.arg('+') + hist);
    row("delete, none remains", E::AllFlightsDeleted, "",
        record.arg('-') + figures.arg('-') + u' ' + save.arg('+') + hist);
    row("log written", E::LogWritten, "flights modified", save.arg('-') + hist);
    row("name typed with flights", E::NameChanged, "flights", QStringLiteral("FileSaveItem+ SaveBtn+"));
    row("name typed without flights", E::NameChanged, "modified", QString());
    row("editor saved", E::EditorSaved, "modified",
        QStringLiteral("FileSaveAsItem+ Reload+ SortByDate+ ") + save.arg('+') + hist);
    row("editor saved, log unmodified", E::EditorSaved, "",
        QStringLiteral("FileSaveAsItem+ Reload+ SortByDate+ ") + save.arg('-') + hist);
    row("editor shown", E::EditorShown, "editor", QStringLiteral("DeleteItem- CutBtn-"));
    row("new-flight editor shown", E::NewEditorShown, "editor", QStringLiteral("DeleteItem- CutBtn- MenuNewLog-"));
    row("last editor closed", E::EditorClosed, "", QStringLiteral("SBGraph+ SBEdit+ DeleteItem+ CutBtn+"));
    row("editor closed, a graph open", E::EditorClosed, "graph", QString());
    row("editor closed, another editor open", E::EditorClosed, "editor", QString());
    row("new-flight editor closed, last", E::NewEditorClosed, "",
        QStringLiteral("SBGraph+ SBEdit+ DeleteItem+ CutBtn+ MenuNewLog+"));
    row("new-flight editor closed, others open", E::NewEditorClosed, "editor", QStringLiteral("MenuNewLog+"));
    row("graph loaded", E::GraphLoaded, "graph", QStringLiteral("DeleteItem- CutBtn- HeightAdjust+") + hist);
    row("last graph closed", E::GraphClosed, "", QStringLiteral("HeightAdjust- DeleteItem+ CutBtn+") + hist);
    row("graph closed, an editor open", E::GraphClosed, "editor", QStringLiteral("HeightAdjust-") + hist);
    row("graph closed, another graph open", E::GraphClosed, "graph", QStringLiteral("UndoItem- RedoItem-"));
    row("edit opened editors", E::EditorsOpened, "", QStringLiteral("DataEditClose+"));
    row("a graph window opened", E::GraphsOpened, "", QStringLiteral("GraphClose+"));
    row("close all editors", E::AllEditorsClosed, "", QStringLiteral("DataEditClose-"));
    row("close all graphs", E::AllGraphsClosed, "", QStringLiteral("GraphClose-"));
    row("start-folder dialog opened", E::StartDirOpened, "", QStringLiteral("MenuStartDir-"));
    row("start-folder dialog closed", E::StartDirClosed, "", QStringLiteral("MenuStartDir+"));
    row("background dialog opened", E::BackgroundOpened, "", QStringLiteral("MMBackground-"));
    row("background dialog closed", E::BackgroundClosed, "", QStringLiteral("MMBackground+"));
    row("log changed elsewhere", E::LogChanged, "modified", save.arg('+') + QStringLiteral(" FileSaveAsItem+") + hist);
    row("undo left flights", E::LogUndone, "flights modified undo",
        record.arg('+') + figures.arg('+') + u' ' + save.arg('+') + QStringLiteral(" FileSaveAsItem+ UndoItem+ RedoItem-"));
    row("undo back to the saved log", E::LogUndone, "flights redo",
        record.arg('+') + figures.arg('+') + u' ' + save.arg('-') + QStringLiteral(" FileSaveAsItem+ UndoItem- RedoItem+"));
    row("undo emptied the log", E::LogUndone, "modified redo",
        record.arg('-') + figures.arg('-') + u' ' + save.arg('+') + QStringLiteral(" FileSaveAsItem+ UndoItem- RedoItem+"));
    row("undo under an open editor", E::LogUndone, "flights editor undo redo",
        figures.arg('+').trimmed() + u' ' + save.arg('-') + QStringLiteral(" FileSaveAsItem+ UndoItem+ RedoItem+"));
    row("another window's history", E::HistoryChanged, "redo", QStringLiteral("UndoItem- RedoItem+"));
    row("log unchanged elsewhere", E::LogChanged, "flights", QStringLiteral("UndoItem- RedoItem-"));
    // A download keeps its rows where they are: no delete or sort while it runs, whatever
    // else happens meanwhile, and back as they belong when it ends.
    row("download started", E::DownloadStarted, "flights downloading undo",
        QStringLiteral("DeleteItem- CutBtn- SortByDate- Reload- FileImportFlights- UndoItem+ RedoItem-"));
    row("log arrived during a load-all", E::LogDownloaded, "flights downloading",
        QStringLiteral("SBGraph+ SBEdit+ DeleteItem- CutBtn- MenuTotal+ SortByDate- FileSaveAsItem+ Reload-")
            + figures.arg('+') + hist);
    row("graph closed during a download", E::GraphClosed, "downloading", QStringLiteral("HeightAdjust- DeleteItem- CutBtn-") + hist);
    row("download ended", E::DownloadEnded, "flights",
        QStringLiteral("DeleteItem+ CutBtn+ SortByDate+ Reload+ FileImportFlights+") + hist);
    row("download ended under a window", E::DownloadEnded, "flights graph",
        QStringLiteral("SortByDate+ Reload+ FileImportFlights+") + hist);
    row("download ended during an import", E::DownloadEnded, "flights importing undo",
        QStringLiteral("DeleteItem- CutBtn- SortByDate- Reload- FileImportFlights-") + hist);
    // An import's preview keeps the rows it names as duplicates where they are, the log's
    // history too, and the log itself, until it is applied or cancelled.
    row("import started", E::ImportStarted, "flights importing undo redo",
        QStringLiteral("DeleteItem- CutBtn- SortByDate- Reload- FileImportFlights- UndoItem- RedoItem- FileOpenItem- OpenBtn-")
            + hist);
    row("editor saved during an import", E::EditorSaved, "flights modified importing undo",
        QStringLiteral("FileSaveAsItem+ Reload- SortByDate- ") + save.arg('+') + hist);
    row("import ended", E::ImportEnded, "flights undo",
        QStringLiteral("DeleteItem+ CutBtn+ SortByDate+ Reload+ FileImportFlights+ FileOpenItem+ OpenBtn+ UndoItem+ RedoItem-"));
    // A print draws a copy: only a second print waits for it, and a log opened meanwhile
    // does not offer one.
    row("print started", E::PrintStarted, "flights", QStringLiteral("LogBookPrint-"));
    row("log opened during a print", E::LogOpened, "flights printing",
        save.arg('-') + u' ' + record.arg('+') + QStringLiteral(" FileSaveAsItem+ Reload+ MenuStatistics+ LogBookPrint- FileIgcExport+") + hist);
    row("print ended", E::PrintEnded, "flights", QStringLiteral("LogBookPrint+"));
}

void TestCommandStates::everyRowSetsItsCommands()
{
    QFETCH(CommandEvent, event);
    QFETCH(QString, facts);
    QFETCH(QString, expected);
    QCOMPARE(describe(commandSettings(event, ::facts(facts.toLatin1().constData()))), expected);
}

void TestCommandStates::everyCommandHasItsObjectName()
{
    QStringList names;
    for (int i = 0; i < kCommandCount; ++i) {
        const QString name = commandName(Command(i));
        QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(name));
        names << name;
    }
}

QTEST_GUILESS_MAIN(TestCommandStates)
#include "tst_commandstates.moc"
