// TMainForm, the program's MDI frame: speed buttons, menus, the status bar with hints, the
// enabling of commands, start-up (settings, placement, the log book) and exit. Each command's
// logic lives in its subsystem; this window dispatches and sets enabled states.
#pragma once

#include "app/core/appsettings.h"
#include "app/core/commandstates.h"
#include "app/ui/shellcommands.h"
#include "barograph/ui/barographcommands.h"
#include "barograph/ui/flightimportcommand.h"
#include "barograph/ui/statisticscommands.h"
#include "barograph/ui/tformcurrency.h"
#include "device/core/downloadstate.h"
#include "logbook/core/logbook.h"
#include "logbook/ui/logbookcommands.h"
#include "logbook/ui/mainformlink.h"

#include <QImage>
#include <QMainWindow>

#include <functional>
#include <memory>

class DeviceCommands;
class DeviceController;
class FramePlacement;
class PortChoiceMenu;
class Prompter;
class SettingsStore;
class TLogG;
class Workspace;
class QAction;
class TGraph;

class QActionGroup;
class QLabel;
class QMenu;
class QMdiSubWindow;
class QTimer;
class QToolButton;

class TMainForm : public QMainWindow, public MainFormLink, private LogCommandHost {
    Q_OBJECT
public:
    /// `store` is where settings are read at start-up and written at exit; `prompter`
    /// answers questions and file dialogs (null: real message boxes and dialogs).
    explicit TMainForm(std::unique_ptr<SettingsStore> store, Prompter *prompter = nullptr,
                       QWidget *parent = nullptr);
    ~TMainForm() override;

    AppSettings &settings() { return m_settings; }
    TLogG *logList() const { return m_logList; }
    Workspace *workspace() const { return m_workspace; }
    const QImage &backgroundPicture() const { return m_shell->backgroundPicture(); }
    DownloadState &downloadState() { return m_download; }
    DeviceController &device();
    PortChoiceMenu &portChoice();
    QTimer *loadTimer() const { return TimerLoad; }
    TCPrint *printMode() const { return &m_barograph->printMode(); }
    TFormAdjust *formAdjust() const { return &m_barograph->formAdjust(); }
    BarographCommands &barographCommands() { return *m_barograph; }
    StatisticsCommands &statisticsCommands() { return *m_statistics; }
    FlightImportCommand &importCommand() { return *m_import; }
    CurrencyCommands &currencyCommands() { return *m_currency; }

    /// Makes the child windows of a row. Each reads currentRow() when it is shown and
    /// returns null when no such window can be made. What an editor or a barograph window
    /// announces (shown, loaded, saved, closed) sets the commands through applyCommandEvent().
    using WindowFactory = std::function<QMdiSubWindow *(MainFormLink &)>;
    void setGraphWindowFactory(WindowFactory f) { m_graphFactory = std::move(f); }
    void setEditorWindowFactory(WindowFactory f) { m_editorFactory = std::move(f); }

    // MainFormLink
    LogBook &logBook() override { return m_book; }
    Prompter &prompter() override { return *m_prompter; }
    QWidget *frameWindow() override { return this; }
    QMdiArea *workspaceArea() override;
    int currentRow() const override { return m_currentRow; }
    void setGridRowCount(int rows) override;
    void redrawGrid() override { RedrawGrid(); }
    void refreshRow(int row) override;
    void openGraphWindow(int row) override;
    void logChanged() override;

    /// Sets the commands an event names, as the enabling table gives them for the program's
    /// state now. `recordCommandsBefore` is the record commands' state when Open started.
    void applyCommandEvent(CommandEvent event, bool recordCommandsBefore = false);

    /// Every command, by its name (a QAction for menu items, a QToolButton for buttons).
    QObject *command(const QString &name) const;
    /// The enabled state of a command by its name.
    bool isCommandEnabled(const QString &name) const;

    /// Renumbers the flights and rewrites the list from the log book.
    void RedrawGrid();
    /// Open with a path (the command line, a double-click in the start-folder dialog), as the
    /// open command does after its dialog; not while the command is held.
    void openLog(const QString &path);
    LogBookCommands &logCommands() { return *m_commands; }
    /// The start-folder and background dialogs while they are open (null otherwise).
    TFormDir *formDir() const { return m_shell->formDir(); }
    TBackGrd *backgroundDialog() const { return m_shell->backgroundDialog(); }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createButtons();
    void createMenus();
    void startUp();
    bool askToClose();
    void writeSettings();

    bool anyRowHas(bool FlightRecord::*flag) const;
    void connectCommands();
    void connectCommandEvents();
    void connectWindowEvents(QMdiSubWindow *window);

    // LogCommandHost
    bool isDeleteButtonEnabled() const override;
    bool isDownloadPending() const override;
    QMdiSubWindow *createEditorWindow(int row) override;
    void queueBarograph(int row) override;

    // Commands
    void EdNameChange();
    /// Undo and redo act on the active barograph window's history while one is active (its
    /// cuts and corrections), on the log's otherwise.
    TGraph *activeGraph() const;
    void undoStep();
    void redoStep();
    void showHistoryItems(CommandFacts &facts);
    void updateSelectionTotals();

    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter *m_prompter;
    AppSettings m_settings;
    LogBook m_book;
    Workspace *m_workspace;
    TLogG *m_logList = nullptr;
    std::unique_ptr<LogBookCommands> m_commands;
    ShellCommands *m_shell = nullptr;
    DownloadState m_download;
    QTimer *TimerLoad;
    DeviceCommands *m_devices = nullptr;
    std::unique_ptr<BarographCommands> m_barograph;
    std::unique_ptr<StatisticsCommands> m_statistics;
    std::unique_ptr<FlightImportCommand> m_import;
    std::unique_ptr<CurrencyCommands> m_currency;
    int m_currentRow = -1;
    WindowFactory m_graphFactory;
    WindowFactory m_editorFactory;
    QObject *m_commandObjects[kCommandCount] = {}; ///< each Command's menu item or button
    bool m_shown = false;
    FramePlacement *m_placement; ///< where the frame stands, and what is saved of it
    bool m_closing = false;

    // Speed buttons
    QToolButton *OpenBtn, *SaveBtn, *CutBtn, *SBEdit, *SBGraph, *ExitBtn, *CopyBtn, *PasteBtn;
    // Menu items
    QMenu *File1, *Edit1, *Window1, *Option, *Help1, *MenuPortSet;
    QAction *FileNewItem, *FileOpenItem, *Reload, *FileCloseItem, *FileSaveItem, *FileSaveAsItem,
        *MenuLogLoad, *MenuBaroLoad, *MenuAllLoad, *FileExitItem, *FileCsvExport, *FileCsvImport, *FileIgcExport,
        *LogBookPrint, *FileImportFlights;
    QAction *UndoItem, *RedoItem;
    QAction *DeleteItem, *CutItem, *CopyItem, *PasteItem, *SortByDate, *MenuTotal, *MenuStatistics, *MenuNewLog;
    QAction *MenuCurrency; ///< always on: rules and gear mean something before the first flight
    QAction *WindowCascadeItem, *WindowTileItem, *WindowArrangeItem, *WindowMinimizeItem,
        *DataEditClose, *GraphClose;
    QAction *HeightAdjust, *MMBackground, *PrintColorSet, *MenuStartDir, *MenuFlyer, *MenuParam,
        *MenuOption, *MenuIgc;
    QAction *SMCOM[4];
    QActionGroup *m_comGroup;
    QAction *HelpAboutItem;
    QLabel *m_selectionTotals; ///< the status bar's totals of the selected flights
};
