// The main window: controls, start-up, exit and the enabling of commands.
#include "mainform.h"

#include "app/core/messages.h"
#include "app/core/settingsstore.h"
#include "app/ui/speedicons.h"
#include "app/ui/workspace.h"
#include "barograph/ui/tgraph.h"
#include "app/ui/devicecommands.h"
#include "app/ui/frameplacement.h"
#include "device/ui/devicecontroller.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/messages.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/closequery.h"
#include "logbook/ui/loglistwindow.h"
#include "logbook/ui/prompter.h"
#include "logbook/ui/tdataedit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <climits>

TMainForm::TMainForm(std::unique_ptr<SettingsStore> store, Prompter *prompter, QWidget *parent)
    : QMainWindow(parent), m_store(std::move(store))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(msg::AppCaption.toString());
    setFont(japaneseUiFont(12));
    resize(640, 440);
    m_placement = new FramePlacement(*this);
    if (!prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        prompter = m_ownPrompter.get();
    }
    m_prompter = prompter;

    TimerLoad = new QTimer(this);
    TimerLoad->setObjectName(QStringLiteral("TimerLoad"));
    m_workspace = new Workspace(this);
    setCentralWidget(m_workspace);
    createButtons();
    createMenus();
    // The status bar is one simple panel showing the hint under the mouse.
    statusBar()->setSizeGripEnabled(true);
    // On its right, the number and flying time of the flights selected in the list.
    m_selectionTotals = new QLabel(statusBar());
    m_selectionTotals->setObjectName(QStringLiteral("SelectionTotals"));
    statusBar()->addPermanentWidget(m_selectionTotals);

    m_logList = new TLogG(m_book, m_workspace);
    m_workspace->addSubWindow(m_logList);
    connect(m_logList, &TLogG::nameEdited, this, &TMainForm::EdNameChange);
    m_logList->show();
    // The print-mode and correction dialogs live as long as the program, keeping what the pilot chose.
    const auto igc = [this] {
        return IgcExportSettings{m_settings.igcUtcOffsetMinutes, m_settings.sitesFile, m_settings.flyerName};
    };
    m_barograph = std::make_unique<BarographCommands>(*this, igc, [this](const IgcExportSettings &changed) {
        m_settings.igcUtcOffsetMinutes = changed.utcOffsetMinutes;
        m_settings.sitesFile = changed.sitesFile;
    });
    m_graphFactory = [this](MainFormLink &link) -> QMdiSubWindow * {
        auto *graph = new TGraph(link);
        m_barograph->attachGraph(*graph);
        return graph;
    };
    m_editorFactory = [](MainFormLink &link) -> QMdiSubWindow * { return new TDataEdit(link); };
    m_commands = std::make_unique<LogBookCommands>(*this, static_cast<LogCommandHost &>(*this), *m_logList);
    m_statistics = std::make_unique<StatisticsCommands>(*this, *m_logList);
    m_import = std::make_unique<FlightImportCommand>(*this, *m_commands, [this] { return m_settings.sitesFile; },
                                                     m_settings.importUtcOffsetMinutes);
    m_currency = std::make_unique<CurrencyCommands>(*this, *m_logList);
    m_shell = new ShellCommands(this, m_settings, m_book, *m_workspace, *m_prompter);
    m_devices = new DeviceCommands(*this, m_settings, m_download, *TimerLoad, MenuPortSet,
                                   {SMCOM[0], SMCOM[1], SMCOM[2], SMCOM[3]}, statusBar(), this);
    for (int i = 0; i < kCommandCount; ++i) {
        m_commandObjects[i] = findChild<QObject *>(commandName(Command(i)));
        Q_ASSERT(m_commandObjects[i]);
    }
    connectCommands();
    connectCommandEvents();
}

TMainForm::~TMainForm()
{
    // QWidget's destructor, which runs after this one, closes the workspace's windows and so
    // activates others: by then nothing of this class may be called back.
    disconnect(m_workspace, nullptr, this, nullptr);
}

DeviceController &TMainForm::device()
{
    return m_devices->controller();
}

PortChoiceMenu &TMainForm::portChoice()
{
    return m_devices->portChoice();
}

void TMainForm::connectCommands()
{
    LogBookCommands *c = m_commands.get();
    const auto onClick = [this](QToolButton *b, auto f) { connect(b, &QToolButton::clicked, this, f); };
    const auto onTrigger = [this](QAction *a, auto f) { connect(a, &QAction::triggered, this, f); };

    onClick(OpenBtn, [c] { c->open(); });
    onClick(SaveBtn, [c] { c->save(); });
    onClick(CutBtn, [c] { c->deleteSelected(); });
    onClick(SBEdit, [c] { c->editSelected(); });
    onClick(SBGraph, [c] { c->showBarographs(); });
    onClick(ExitBtn, [this] { close(); });

    onTrigger(FileOpenItem, [c] { c->open(); });
    onTrigger(Reload, [c] { c->merge(); });
    onTrigger(FileSaveItem, [c] { c->save(); });
    onTrigger(FileSaveAsItem, [c] { c->saveAs(); });
    onTrigger(MenuBaroLoad, [c] { c->showBarographs(); });
    onTrigger(MenuLogLoad, [this] { m_devices->loadLog(); });
    onTrigger(MenuAllLoad, [this] { m_devices->loadAll(); });
    onTrigger(FileExitItem, [this] { close(); });
    onTrigger(FileCsvExport, [c] { c->exportCsv(); });
    onTrigger(FileCsvImport, [c] { c->importCsv(); });
    onTrigger(FileImportFlights, [this] { m_import->start(); });
    onTrigger(MenuIgc, [this] { m_barograph->editIgcSettings(); });
    onTrigger(MenuFlyer, [this] { m_devices->openFlyerName(); });
    onTrigger(MenuParam, [this] { m_devices->openParameters(); });
    onTrigger(MenuOption, [this] { m_devices->openOptions(); });
    onTrigger(DeleteItem, [c] { c->deleteSelected(); });
    onTrigger(UndoItem, [this] { undoStep(); });
    onTrigger(RedoItem, [this] { redoStep(); });
    connect(m_workspace, &QMdiArea::subWindowActivated, this, [this] { applyCommandEvent(CommandEvent::HistoryChanged); });
    onTrigger(SortByDate, [c] { c->sortByDate(); });
    onTrigger(MenuNewLog, [c] { c->newRecord(); });
    onTrigger(MenuTotal, [c] { c->showTotals(); });
    onTrigger(MenuStatistics, [this] { m_statistics->showStatistics(); });
    onTrigger(LogBookPrint, [this] { m_statistics->printLogBook(); });
    onTrigger(MenuCurrency, [this] { m_currency->showCurrency(); });
    // The pilot hears of a rule about to lapse as soon as the log is open.
    connect(c, &LogBookCommands::logOpened, m_currency.get(), &CurrencyCommands::noticeLapsingRules, Qt::QueuedConnection);
    onTrigger(FileIgcExport, [this] { m_barograph->exportRowIgc(m_logList->selectedRows().front()); });
    connect(m_logList, &TLogG::editRequested, this, [c] { c->editSelected(); });

    const QAbstractItemModel *list = m_logList->grid()->model();
    connect(m_logList->grid()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TMainForm::updateSelectionTotals);
    connect(list, &QAbstractItemModel::dataChanged, this, &TMainForm::updateSelectionTotals);
    connect(list, &QAbstractItemModel::rowsInserted, this, &TMainForm::updateSelectionTotals);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &TMainForm::updateSelectionTotals);

    ShellCommands *shell = m_shell;
    onTrigger(MenuStartDir, [shell] { shell->openStartFolderDialog(); });
    onTrigger(MMBackground, [shell] { shell->openBackgroundDialog(); });
    onTrigger(WindowCascadeItem, [shell] { shell->cascade(); });
    onTrigger(WindowTileItem, [shell] { shell->tile(); });
    onTrigger(WindowArrangeItem, [shell] { shell->arrangeIcons(); });
    onTrigger(WindowMinimizeItem, [shell] { shell->minimizeAll(); });
    connect(Window1, &QMenu::aboutToShow, shell, [this, shell] { shell->updateWindowMenu(Window1); });
    connect(shell, &ShellCommands::commandEvent, this, [this](CommandEvent event) { applyCommandEvent(event); });
    connect(shell, &ShellCommands::logFileChosen, this, &TMainForm::openLog);
    onTrigger(DataEditClose, [c] { c->closeAllEditors(); });
    onTrigger(GraphClose, [c] { c->closeAllGraphs(); });
    onTrigger(HelpAboutItem, [shell] { shell->about(); });
    onTrigger(HeightAdjust, [this] { m_barograph->correctCurrentGraph(); });
    onTrigger(PrintColorSet, [this] { m_barograph->choosePrintMode(); });
}

void TMainForm::connectCommandEvents()
{
    using E = CommandEvent;
    const auto on = [this](auto *sender, auto signal, E event) {
        connect(sender, signal, this, [this, event] { applyCommandEvent(event); });
    };
    LogBookCommands *c = m_commands.get();
    on(c, &LogBookCommands::logOpened, E::LogOpened);
    connect(c, &LogBookCommands::openFailed, this,
            [this](bool recordCommands) { applyCommandEvent(E::OpenFailed, recordCommands); });
    on(c, &LogBookCommands::logMerged, E::LogMerged);
    connect(c, &LogBookCommands::flightsDeleted, this,
            [this](bool remain) { applyCommandEvent(remain ? E::FlightsDeleted : E::AllFlightsDeleted); });
    on(c, &LogBookCommands::logWritten, E::LogWritten);
    on(c, &LogBookCommands::editorsOpened, E::EditorsOpened);
    on(c, &LogBookCommands::graphsOpened, E::GraphsOpened);
    on(c, &LogBookCommands::allEditorsClosed, E::AllEditorsClosed);
    on(c, &LogBookCommands::allGraphsClosed, E::AllGraphsClosed);
    on(c, &LogBookCommands::historyChanged, E::HistoryChanged);
    on(c, &LogBookCommands::historyStepped, E::LogUndone);
    connect(&device(), &DeviceController::logDownloaded, this, [this, c] {
        c->recordStep(msg::StepDownload.toString());
        applyCommandEvent(E::LogDownloaded);
    });
    on(&device(), &DeviceController::downloadedGraphOpened, E::GraphsOpened);
    on(m_import.get(), &FlightImportCommand::importStarted, E::ImportStarted);
    on(m_import.get(), &FlightImportCommand::importEnded, E::ImportEnded);
    connect(&device(), &DeviceController::downloadingChanged, this,
            [this](bool downloading) { applyCommandEvent(downloading ? E::DownloadStarted : E::DownloadEnded); });
    on(&m_statistics->printing(), &LogBookPrinting::started, E::PrintStarted);
    on(&m_statistics->printing(), &LogBookPrinting::finished, E::PrintEnded);
    connect(m_statistics.get(), &StatisticsCommands::computingChanged, this,
            [this](bool computing) { applyCommandEvent(computing ? E::StatisticsStarted : E::StatisticsEnded); });
}

void TMainForm::connectWindowEvents(QMdiSubWindow *window)
{
    using E = CommandEvent;
    if (auto *graph = qobject_cast<TGraph *>(window)) {
        connect(graph, &TGraph::graphLoaded, this, [this] { applyCommandEvent(E::GraphLoaded); });
        connect(graph, &TGraph::graphClosed, this, [this] { applyCommandEvent(E::GraphClosed); });
        connect(graph, &TGraph::traceChanged, this, [this] { applyCommandEvent(E::HistoryChanged); });
    } else if (auto *editor = qobject_cast<TDataEdit *>(window)) {
        connect(editor, &TDataEdit::editorShown, this,
                [this](bool newFlight) { applyCommandEvent(newFlight ? E::NewEditorShown : E::EditorShown); });
        connect(editor, &TDataEdit::editorSaved, this, [this] { applyCommandEvent(E::EditorSaved); });
        connect(editor, &TDataEdit::editorClosed, this,
                [this](bool newFlight) { applyCommandEvent(newFlight ? E::NewEditorClosed : E::EditorClosed); });
    }
}

void TMainForm::applyCommandEvent(CommandEvent event, bool recordCommandsBefore)
{
    CommandFacts facts;
    facts.recordCommandsBefore = recordCommandsBefore;
    facts.graphOpen = anyRowHas(&FlightRecord::graphOpen);
    facts.windowOpen = facts.graphOpen || anyRowHas(&FlightRecord::editorOpen);
    facts.logModified = m_book.logModified;
    facts.hasFlights = m_book.hasFlights();
    facts.running[size_t(Work::Download)] = device().downloader().needsPort();
    facts.running[size_t(Work::Print)] = m_statistics && m_statistics->printing().isRunning();
    facts.running[size_t(Work::Statistics)] = m_statistics && m_statistics->isComputing();
    facts.running[size_t(Work::Import)] = m_import && m_import->isImporting();
    showHistoryItems(facts);
    for (const CommandSetting &s : commandSettings(event, facts)) {
        QObject *o = m_commandObjects[int(s.command)];
        if (auto *action = qobject_cast<QAction *>(o))
            action->setEnabled(s.enabled);
        else if (auto *widget = qobject_cast<QWidget *>(o))
            widget->setEnabled(s.enabled);
    }
}

QObject *TMainForm::command(const QString &name) const
{
    return findChild<QObject *>(name);
}

bool TMainForm::isCommandEnabled(const QString &name) const
{
    if (auto *a = findChild<QAction *>(name))
        return a->isEnabled();
    if (auto *w = findChild<QWidget *>(name))
        return w->isEnabled();
    return false;
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        startUp();
    }
}

void TMainForm::startUp()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    m_settings = readAppSettings(*m_store, screenSize);

    m_shell->chooseStartFolder();
    printMode()->setItemIndex(m_settings.monoPrint);
    printMode()->CheckBColor->setChecked(m_settings.askPrint);

    m_shell->loadBackground();

    m_devices->startUp();

    const Placement p = decidePlacement(m_settings);
    m_placement->restore(QRect(p.left, p.top, p.width, p.height));
    if (p.windowState == 2)
        setWindowState(Qt::WindowMaximized);
    else if (p.windowState == 1)
        setWindowState(Qt::WindowMinimized);

    m_book.reset();
    applyCommandEvent(CommandEvent::StartUp);

    m_book.logModified = false;
    m_book.currentLogPath.clear();

    // Start-up does not wait for the dialog: the folder read from the settings is current
    // until the pilot chooses another.
    if (!m_settings.dontAskDir)
        m_shell->openStartFolderDialog();
    QDir::setCurrent(m_book.workFolder);
}

void TMainForm::RedrawGrid()
{
    m_book.renumber();
    m_logList->model()->refreshAll();
}

QMdiArea *TMainForm::workspaceArea()
{
    return m_workspace;
}

void TMainForm::setGridRowCount(int rows)
{
    m_logList->model()->setGridRowCount(rows);
}

void TMainForm::refreshRow(int row)
{
    m_logList->model()->refreshRow(row);
}

bool TMainForm::anyRowHas(bool FlightRecord::*flag) const
{
    for (int r = 1; r < m_book.rowCount(); ++r) {
        if (m_book.row(r).*flag)
            return true;
    }
    return false;
}

void TMainForm::openGraphWindow(int row)
{
    m_currentRow = row;
    QMdiSubWindow *window = m_graphFactory ? m_graphFactory(*this) : nullptr;
    if (!window)
        return;
    connectWindowEvents(window);
    m_book.row(row).graphWindow = window;
    window->show();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!askToClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    writeSettings();
    event->accept();
}

bool TMainForm::askToClose()
{
    // An upload goes out whole before anything else: the instrument would take the next
    // message as the rest of one cut in half.
    m_devices->finishUpload();
    // A download is the pilot's to decide: wait for it and save, stop it and drop what it
    // brought, or stay. Asked over this window, which never closes by itself.
    bool saveAsked = false;
    if (m_devices->controller().downloader().needsPort()) {
        switch (m_prompter->ask(msg::AskExitDuringLoad, msg::Confirm, Prompter::Buttons::YesNoCancel,
                                Prompter::Icon::Question)) {
        case Prompter::Answer::Cancel:
            return false;
        case Prompter::Answer::Yes:
            m_devices->controller().waitForDownloads(this);
            if (m_book.logModified && !m_commands->save())
                return false;
            break;
        default:
            m_devices->controller().cancelDownload();
            m_devices->controller().waitForDownloads(this);
            break;
        }
        saveAsked = true;
    }
    // Every question comes before anything closes, so that Cancel at any of them leaves all
    // windows as they were. The barograph windows ask first: one saved now writes its
    // statistics into the log before the log itself is asked about.
    const QList<QMdiSubWindow *> children = m_workspace->subWindowList();
    for (QMdiSubWindow *w : children) {
        if (auto *query = dynamic_cast<CloseQuery *>(w); query && !query->queryClose())
            return false;
    }
    if (m_book.logModified && !saveAsked) {
        switch (m_prompter->ask(msg::AskSaveOnExit, msg::Confirm, Prompter::Buttons::YesNoCancel,
                                Prompter::Icon::Question)) {
        case Prompter::Answer::Cancel:
            return false;
        case Prompter::Answer::Yes:
            // A save that failed (and said why) or whose dialog was cancelled keeps the
            // program open: closing now would lose the log.
            if (!m_commands->save())
                return false;
            break;
        default:
            break;
        }
    }
    // A window that stays open all the same keeps the program running.
    bool allClosed = true;
    for (QMdiSubWindow *w : children) {
        if (w == m_logList)
            continue;
        auto *query = dynamic_cast<CloseQuery *>(w);
        allClosed = (query ? query->closeWithoutQuery() : w->close()) && allClosed;
    }
    return allClosed;
}

void TMainForm::writeSettings()
{
    m_settings.monoPrint = printMode()->itemIndex();
    m_settings.askPrint = printMode()->CheckBColor->isChecked();
    const Qt::WindowStates state = windowState();
    m_settings.windowState = state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0;
    const QRect frame = m_placement->normalFrame();
    m_settings.formTop = frame.top();
    m_settings.formLeft = frame.left();
    m_settings.formHeight = frame.height();
    m_settings.formWidth = frame.width();
    writeAppSettings(*m_store, m_settings, m_book.workFolder);
    if (!m_store->commit())
        m_prompter->inform(msg::SettingsNotSaved);
}

void TMainForm::openLog(const QString &path)
{
    // A log named outside the open command waits as the command does: while an import's
    // preview names rows of this log, the table holds the command, and this with it.
    if (!FileOpenItem->isEnabled()) {
        m_prompter->inform(msg::OpenHeldByImport);
        return;
    }
    m_commands->open(path);
}

bool TMainForm::isDeleteButtonEnabled() const
{
    return CutBtn->isEnabled();
}

bool TMainForm::isDownloadPending() const
{
    return m_download.transferMode != TransferMode::Idle || m_download.hasPendingWork();
}

QMdiSubWindow *TMainForm::createEditorWindow(int row)
{
    m_currentRow = row;
    QMdiSubWindow *window = m_editorFactory ? m_editorFactory(*this) : nullptr;
    if (window) {
        connectWindowEvents(window);
        window->show();
    }
    return window;
}

void TMainForm::queueBarograph(int row)
{
    device().downloader().queueBarograph(row);
}

TGraph *TMainForm::activeGraph() const
{
    return qobject_cast<TGraph *>(m_workspace->activeSubWindow());
}

void TMainForm::undoStep()
{
    if (TGraph *graph = activeGraph())
        graph->undo();
    else
        m_commands->undo();
}

void TMainForm::redoStep()
{
    if (TGraph *graph = activeGraph())
        graph->redo();
    else
        m_commands->redo();
}

// The items name the step they would take, from the history they act on now.
void TMainForm::showHistoryItems(CommandFacts &facts)
{
    const TGraph *graph = activeGraph();
    const LogHistory &log = m_book.history;
    // The log's history waits for a running download: a step may be about the rows it
    // writes (a barograph it named).
    facts.canUndo = graph ? graph->canUndo() : log.canUndo() && !facts.runs(Work::Download);
    facts.canRedo = graph ? graph->canRedo() : log.canRedo() && !facts.runs(Work::Download);
    const QString undoName = graph ? graph->undoName() : log.canUndo() ? log.nextUndo()->name : QString();
    const QString redoName = graph ? graph->redoName() : log.canRedo() ? log.nextRedo()->name : QString();
    UndoItem->setText(undoName.isEmpty() ? msg::UndoItem.toString() : msg::UndoNamed.toString().arg(undoName));
    RedoItem->setText(redoName.isEmpty() ? msg::RedoItem.toString() : msg::RedoNamed.toString().arg(redoName));
}

void TMainForm::logChanged()
{
    // A barograph a download named in its row: a step of the log's history.
    m_commands->recordStep(msg::StepDownload.toString());
    applyCommandEvent(CommandEvent::LogChanged);
}

void TMainForm::EdNameChange()
{
    if (!m_book.hasFlights())
        return;
    m_book.history.markChangedOutside();
    m_book.logModified = true;
    applyCommandEvent(CommandEvent::NameChanged);
}

void TMainForm::updateSelectionTotals()
{
    // The rows themselves, not the span from the first to the last: a year picked in the
    // statistics or a rule's rows in the currency window leave gaps.
    const bool selected = m_logList->grid()->selectionModel()->hasSelection();
    const RangeTotals totals = rangeTotals(m_book, m_logList->selectedRows());
    if (!selected || totals.flights == 0) {
        m_selectionTotals->clear();
        return;
    }
    const qint32 seconds = qint32(qBound(qint64(INT_MIN), totals.seconds, qint64(INT_MAX)));
    m_selectionTotals->setText(
        msg::SelectionTotals.toString().arg(totals.flights).arg(QString::fromLatin1(numtext::clockText(seconds))));
}
