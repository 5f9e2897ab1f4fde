// Which commands of the main window each event enables or disables: one table, kept apart
// from the widgets so that every rule can be checked without a window. QtCore only.
#pragma once

#include <QLatin1StringView>

#include <array>
#include <vector>

/// The commands whose enabled state events set; each is named as the main window's
/// menu item or speed button of that name.
enum class Command {
    SBGraph, SBEdit, DeleteItem, CutBtn, MenuTotal, SortByDate, // the record commands
    SaveBtn, FileSaveItem,                                     // the save commands
    FileSaveAsItem, FileNewItem, FileCloseItem, Reload, HeightAdjust, CopyBtn, PasteBtn,
    GraphClose, DataEditClose, MenuNewLog, MenuStartDir, MMBackground,
    MenuStatistics, LogBookPrint, FileIgcExport, // need flights, as the totals do
    UndoItem, RedoItem, // the history of the active window (a barograph's, or the log's)
    FileImportFlights,  // flights from other instruments' logs
    FileOpenItem, OpenBtn, // open another log in place of this one
};
inline constexpr int kCommandCount = int(Command::OpenBtn) + 1;

/// The object name of a command's menu item or button.
QLatin1StringView commandName(Command command);

/// What happened. Each event's settings are fixed, some under a condition (see CommandFacts).
enum class CommandEvent {
    StartUp,
    LogOpened,         ///< Open read a log file
    OpenFailed,        ///< Open cancelled in its file dialog, or the file could not be read
    LogMerged,         ///< Add (or a CSV's flights) appended flights
    LogDownloaded,     ///< a log download appended its flights
    FlightsDeleted,    ///< Delete done, flights remain
    AllFlightsDeleted, ///< Delete done, no flight remains
    LogWritten,        ///< Save or Save as wrote the log file
    NameChanged,       ///< the log list's name field was typed in
    EditorSaved,       ///< a record editor stored its data in the log book
    EditorShown,
    NewEditorShown,    ///< the editor of a flight not yet in the log
    EditorClosed,
    NewEditorClosed,
    GraphLoaded,       ///< a barograph window has loaded its file
    GraphClosed,
    EditorsOpened,     ///< Edit opened at least one editor
    GraphsOpened,      ///< Show barograph, or a finished download, opened a barograph window
    AllEditorsClosed,  ///< close all editors left none open
    AllGraphsClosed,   ///< close all graphs left none open
    StartDirOpened,
    StartDirClosed,
    BackgroundOpened,
    BackgroundClosed,
    /// The log book changed outside its commands (a barograph saved back into its flight,
    /// a downloaded barograph named in its row): the log can be saved while it is modified.
    LogChanged,
    LogUndone,         ///< undo or redo changed the log's rows
    /// The history undo and redo act on changed, or became another window's (a barograph
    /// window activated).
    HistoryChanged,
    /// A download started needing the port (a log download, a load-all, a barograph), and
    /// stopped needing it: the rows it writes must stay where they are meanwhile.
    DownloadStarted,
    DownloadEnded,
    /// A print of the log book started drawing its pages on a worker, and ended.
    PrintStarted,
    PrintEnded,
    /// The statistics window started reading the barographs on a worker, and ended.
    StatisticsStarted,
    StatisticsEnded,
    /// An import of other instruments' logs began reading its files, and ended (applied or
    /// cancelled).
    ImportStarted,
    ImportEnded,
};

/// The long pieces of work that run while the pilot goes on with the window. Each is a
/// state of its own: while it runs, the commands that would contradict it stay off whatever
/// event happens meanwhile (see workHolds).
enum class Work {
    Download,   ///< a log download, a load-all, a barograph download: the rows it writes
    Print,      ///< the log book drawn from a copy: only a second print contradicts it
    /// An import's preview is open: the rows it names as duplicates must stay where they
    /// are, no undo may take one away, and no other log may take this one's place.
    Import,
    /// The statistics read the barographs of the log as it was; a result for a log that no
    /// longer is is never shown (the window looks again), so no command contradicts it.
    Statistics,
};
inline constexpr int kWorkCount = int(Work::Statistics) + 1;

/// Whether `command` stays off while `work` runs.
bool workHolds(Work work, Command command);

/// The state of the program that some settings depend on, as it is when the event happens.
struct CommandFacts {
    bool recordCommandsBefore = false; ///< CutBtn's state when Open started (for OpenFailed)
    bool graphOpen = false;            ///< some row has a barograph window open
    bool windowOpen = false;           ///< some row has an editor or a barograph window open
    bool logModified = false;
    bool hasFlights = false;
    bool canUndo = false; ///< the active window's history has a step to undo
    bool canRedo = false;
    /// The work running now, by Work. Undo and redo of the log are kept off during a
    /// download through canUndo and canRedo (a step may be about the rows it writes).
    std::array<bool, kWorkCount> running{};

    bool runs(Work work) const { return running[size_t(work)]; }
};

struct CommandSetting {
    Command command;
    bool enabled;
    bool operator==(const CommandSetting &) const = default;
};

/// The settings an event makes, in the order they are made; commands not named keep their
/// state.
std::vector<CommandSetting> commandSettings(CommandEvent event, const CommandFacts &facts);
