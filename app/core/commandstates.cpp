// The enabling table. Nothing recomputes command states from the data: each event sets
// exactly the commands its rows name, so a command keeps whatever the last event gave it.
#include "commandstates.h"

#include <algorithm>


namespace {

using C = Command;
using E = CommandEvent;

enum class Value { Off, On, LogModified, RecordCommandsBefore, HasFlights, CanUndo, CanRedo };
enum class When { Always, HasFlights, NoGraphOpen, NoWindowOpen, LogModified };

struct Row {
    E event;
    std::vector<C> commands;
    Value value;
    When when = When::Always;
};

// The record commands and the save commands are always set together, in this order.
#define RECORD C::SBGraph, C::SBEdit, C::DeleteItem, C::CutBtn, C::MenuTotal, C::SortByDate
#define SAVE C::SaveBtn, C::FileSaveItem
// The statistics, the printed log book and the IGC export follow the record commands (they
// need flights), in rows of their own so that the record commands stay the six they always
// were.
#define FIGURES C::MenuStatistics, C::LogBookPrint, C::FileIgcExport

// What each work keeps off while it runs: a download, the commands that would move or
// remove the rows it writes (delete, cut, sort, reading the log again) and an import; an
// import the same, a second import, undo and redo, and opening another log; a print, a
// second print.
struct WorkRule {
    Work work;
    E started;
    std::vector<C> held;
};

const std::vector<WorkRule> &workRules()
{
    static const std::vector<WorkRule> kRules = {
        {Work::Download, E::DownloadStarted, {C::DeleteItem, C::CutBtn, C::SortByDate, C::Reload, C::FileImportFlights}},
        {Work::Print, E::PrintStarted, {C::LogBookPrint}},
        {Work::Import, E::ImportStarted,
         {C::DeleteItem, C::CutBtn, C::SortByDate, C::Reload, C::FileImportFlights, C::UndoItem, C::RedoItem,
          C::FileOpenItem, C::OpenBtn}},
        {Work::Statistics, E::StatisticsStarted, {}},
    };
    return kRules;
}

const std::vector<Row> &table()
{
    static const std::vector<Row> kTable = {
        {E::StartUp, {RECORD, SAVE, C::FileSaveAsItem, C::FileNewItem, C::FileCloseItem, C::Reload, C::HeightAdjust,
                      C::CopyBtn, C::PasteBtn, C::GraphClose, C::DataEditClose}, Value::Off},
        {E::StartUp, {FIGURES}, Value::Off},
        {E::LogOpened, {SAVE}, Value::Off},
        {E::LogOpened, {RECORD, C::FileSaveAsItem, C::Reload}, Value::On},
        {E::LogOpened, {FIGURES}, Value::On},
        {E::OpenFailed, {RECORD}, Value::RecordCommandsBefore},
        {E::OpenFailed, {FIGURES}, Value::RecordCommandsBefore},
        {E::LogMerged, {SAVE, RECORD, C::FileSaveAsItem}, Value::On},
        {E::LogMerged, {FIGURES}, Value::On},
        {E::LogDownloaded, {RECORD, C::FileSaveAsItem, C::Reload}, Value::On},
        {E::LogDownloaded, {FIGURES}, Value::On},
        {E::FlightsDeleted, {SAVE}, Value::On},
        {E::AllFlightsDeleted, {RECORD}, Value::Off},
        {E::AllFlightsDeleted, {FIGURES}, Value::Off},
        {E::AllFlightsDeleted, {SAVE}, Value::On},
        {E::LogWritten, {SAVE}, Value::Off},
        // Here the menu item leads and the button follows it.
        {E::NameChanged, {C::FileSaveItem, C::SaveBtn}, Value::On, When::HasFlights},
        {E::EditorSaved, {C::FileSaveAsItem, C::Reload, C::SortByDate}, Value::On},
        {E::EditorSaved, {SAVE}, Value::LogModified},
        {E::EditorShown, {C::DeleteItem, C::CutBtn}, Value::Off},
        {E::NewEditorShown, {C::DeleteItem, C::CutBtn, C::MenuNewLog}, Value::Off},
        {E::EditorClosed, {C::SBGraph, C::SBEdit, C::DeleteItem, C::CutBtn}, Value::On, When::NoWindowOpen},
        {E::NewEditorClosed, {C::SBGraph, C::SBEdit, C::DeleteItem, C::CutBtn}, Value::On, When::NoWindowOpen},
        {E::NewEditorClosed, {C::MenuNewLog}, Value::On},
        {E::GraphLoaded, {C::DeleteItem, C::CutBtn}, Value::Off},
        {E::GraphLoaded, {C::HeightAdjust}, Value::On},
        {E::GraphClosed, {C::HeightAdjust}, Value::Off, When::NoGraphOpen},
        {E::GraphClosed, {C::DeleteItem, C::CutBtn}, Value::On, When::NoWindowOpen},
        {E::EditorsOpened, {C::DataEditClose}, Value::On},
        {E::GraphsOpened, {C::GraphClose}, Value::On},
        {E::AllEditorsClosed, {C::DataEditClose}, Value::Off},
        {E::AllGraphsClosed, {C::GraphClose}, Value::Off},
        {E::StartDirOpened, {C::MenuStartDir}, Value::Off},
        {E::StartDirClosed, {C::MenuStartDir}, Value::On},
        {E::BackgroundOpened, {C::MMBackground}, Value::Off},
        {E::BackgroundClosed, {C::MMBackground}, Value::On},
        {E::LogChanged, {SAVE, C::FileSaveAsItem}, Value::On, When::LogModified},
        {E::LogUndone, {RECORD}, Value::HasFlights, When::NoWindowOpen},
        {E::LogUndone, {FIGURES}, Value::HasFlights},
        {E::LogUndone, {SAVE}, Value::LogModified},
        {E::LogUndone, {C::FileSaveAsItem}, Value::On},
        // Each work's start turns off what it holds (workRules); its end gives those commands
        // back as they belong.
        {E::DownloadEnded, {C::DeleteItem, C::CutBtn}, Value::HasFlights, When::NoWindowOpen},
        {E::DownloadEnded, {C::SortByDate, C::Reload}, Value::HasFlights},
        {E::DownloadEnded, {C::FileImportFlights}, Value::On},
        {E::ImportEnded, {C::DeleteItem, C::CutBtn}, Value::HasFlights, When::NoWindowOpen},
        {E::ImportEnded, {C::SortByDate, C::Reload}, Value::HasFlights},
        {E::ImportEnded, {C::FileImportFlights, C::FileOpenItem, C::OpenBtn}, Value::On},
        {E::PrintEnded, {C::LogBookPrint}, Value::HasFlights},
    };
    static const std::vector<Row> kWithHistory = [] {
        std::vector<Row> rows = kTable;
        for (const WorkRule &rule : workRules())
            rows.push_back({rule.started, rule.held, Value::Off});
        // Every event that can record, undo or redo a step, or change the active window,
        // shows the history as it now is.
        for (E e : {E::StartUp, E::LogOpened, E::LogMerged, E::LogDownloaded, E::FlightsDeleted,
                    E::AllFlightsDeleted, E::LogWritten, E::EditorSaved, E::GraphLoaded, E::GraphClosed,
                    E::LogChanged, E::LogUndone, E::HistoryChanged, E::DownloadStarted, E::DownloadEnded,
                    E::ImportStarted, E::ImportEnded}) {
            rows.push_back({e, {C::UndoItem}, Value::CanUndo});
            rows.push_back({e, {C::RedoItem}, Value::CanRedo});
        }
        return rows;
    }();
    return kWithHistory;
}

#undef RECORD
#undef SAVE
#undef FIGURES

bool holds(When when, const CommandFacts &facts)
{
    switch (when) {
    case When::Always: return true;
    case When::HasFlights: return facts.hasFlights;
    case When::NoGraphOpen: return !facts.graphOpen;
    case When::NoWindowOpen: return !facts.windowOpen;
    case When::LogModified: return facts.logModified;
    }
    return false;
}

bool valueOf(Value value, const CommandFacts &facts)
{
    switch (value) {
    case Value::Off: return false;
    case Value::On: return true;
    case Value::LogModified: return facts.logModified;
    case Value::RecordCommandsBefore: return facts.recordCommandsBefore;
    case Value::HasFlights: return facts.hasFlights;
    case Value::CanUndo: return facts.canUndo;
    case Value::CanRedo: return facts.canRedo;
    }
    return false;
}

} // namespace

bool workHolds(Work work, Command command)
{
    for (const WorkRule &rule : workRules())
        if (rule.work == work)
            return std::find(rule.held.begin(), rule.held.end(), command) != rule.held.end();
    return false;
}

namespace {

bool heldByRunningWork(Command command, const CommandFacts &facts)
{
    for (int w = 0; w < kWorkCount; ++w)
        if (facts.running[size_t(w)] && workHolds(Work(w), command))
            return true;
    return false;
}

} // namespace

QLatin1StringView commandName(Command command)
{
    static constexpr QLatin1StringView kNames[kCommandCount] = {
        QLatin1StringView("SBGraph"),       QLatin1StringView("SBEdit"),        QLatin1StringView("DeleteItem"),
        QLatin1StringView("CutBtn"),        QLatin1StringView("MenuTotal"),     QLatin1StringView("SortByDate"),
        QLatin1StringView("SaveBtn"),       QLatin1StringView("FileSaveItem"),  QLatin1StringView("FileSaveAsItem"),
        QLatin1StringView("FileNewItem"),   QLatin1StringView("FileCloseItem"), QLatin1StringView("Reload"),
        QLatin1StringView("HeightAdjust"),  QLatin1StringView("CopyBtn"),       QLatin1StringView("PasteBtn"),
        QLatin1StringView("GraphClose"),    QLatin1StringView("DataEditClose"), QLatin1StringView("MenuNewLog"),
        QLatin1StringView("MenuStartDir"),  QLatin1StringView("MMBackground"),  QLatin1StringView("MenuStatistics"),
        QLatin1StringView("LogBookPrint"),  QLatin1StringView("FileIgcExport"), QLatin1StringView("UndoItem"),
        QLatin1StringView("RedoItem"),      QLatin1StringView("FileImportFlights"), QLatin1StringView("FileOpenItem"),
        QLatin1StringView("OpenBtn"),
    };
    const int i = int(command);
    return i >= 0 && i < kCommandCount ? kNames[i] : QLatin1StringView();
}

std::vector<CommandSetting> commandSettings(CommandEvent event, const CommandFacts &facts)
{
    std::vector<CommandSetting> settings;
    for (const Row &row : table()) {
        if (row.event != event || !holds(row.when, facts))
            continue;
        const bool enabled = valueOf(row.value, facts);
        for (Command c : row.commands)
            settings.push_back({c, enabled && !heldByRunningWork(c, facts)});
    }
    return settings;
}
