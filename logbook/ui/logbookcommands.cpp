// The log book commands.
#include "logbookcommands.h"

#include "logbook/core/companion.h"

#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/filereader.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/totals.h"
#include "logbook/ui/loglistwindow.h"
#include "logbook/ui/mainformlink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace {

// Barographs taken away and put back keep their versions as a barograph save does.
WriteOptions barographBackup(const LogBook &book)
{
    WriteOptions options;
    options.backup = BackupRule{backupFolder(book.workFolder), 10, {}};
    return options;
}

using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;
using Icon = Prompter::Icon;

// Tells the pilot how much of a damaged log file could be read; false when nothing could.
bool reportDamage(Prompter &prompter, const LogFileContents &contents)
{
    if (contents.isUnreadable()) {
        prompter.inform(msg::LogFileUnreadable);
        return false;
    }
    if (!contents.isComplete()) {
        prompter.inform(msg::LogFileDamaged.toString()
                            .arg(qMax(0, int(contents.records.size()) - 1))
                            .arg(qMax(0, contents.announcedRows - 1)));
    }
    return true;
}

} // namespace

LogBookCommands::LogBookCommands(MainFormLink &link, LogCommandHost &host, TLogG &list)
    : m_link(link), m_host(host), m_list(list)
{
}

bool LogBookCommands::anyWindowOpen() const
{
    const LogBook &book = m_link.logBook();
    for (int r = 1; r < book.rowCount(); ++r) {
        if (book.row(r).graphOpen || book.row(r).editorOpen)
            return true;
    }
    return false;
}

bool LogBookCommands::closeAll()
{
    bool result = true;
    if (anyWindowOpen()) {
        const Answer a = m_link.prompter().ask(msg::AskCloseAllWindows, msg::CaptionConfirm,
                                               Buttons::OkCancel, Icon::Question);
        if (a == Answer::Ok) {
            closeAllGraphs();
            closeAllEditors();
        } else {
            result = false;
        }
    }
    return result && !anyWindowOpen();
}

bool LogBookCommands::gateOrReport()
{
    if (closeAll())
        return true;
    m_link.prompter().inform(msg::WindowsStillOpen);
    return false;
}

bool LogBookCommands::closeRowWindows(bool FlightRecord::*open, QPointer<QObject> FlightRecord::*window)
{
    LogBook &book = m_link.logBook();
    for (int r = 1; r < book.rowCount(); ++r) {
        FlightRecord &row = book.row(r);
        if (!(row.*open))
            continue;
        if (auto *w = qobject_cast<QWidget *>((row.*window).data()))
            w->close(); // its own close handling clears the flag, or refuses to close
        else
            row.*open = false; // the window is gone: nothing is open any more
    }
    for (int r = 1; r < book.rowCount(); ++r) {
        if (book.row(r).*open)
            return false;
    }
    return true;
}

bool LogBookCommands::closeAllGraphs()
{
    if (!closeRowWindows(&FlightRecord::graphOpen, &FlightRecord::graphWindow))
        return false;
    emit allGraphsClosed();
    return true;
}

bool LogBookCommands::closeAllEditors()
{
    if (!closeRowWindows(&FlightRecord::editorOpen, &FlightRecord::editorWindow))
        return false;
    emit allEditorsClosed();
    return true;
}

bool LogBookCommands::downloadAllowsMovingRows()
{
    // The downloads keep row numbers; replacing, reordering or removing rows under them
    // would give a barograph to the wrong flight.
    if (!m_host.isDownloadPending())
        return true;
    m_link.prompter().inform(msg::DownloadRunning);
    return false;
}

void LogBookCommands::open(const QString &givenPath)
{
    if (!downloadAllowsMovingRows() || !gateOrReport())
        return;
    LogBook &book = m_link.logBook();
    Prompter &prompter = m_link.prompter();
    if (book.logModified
        && prompter.ask(msg::AskDiscardChanges, msg::CaptionConfirm, Buttons::OkCancel, Icon::Exclamation)
               != Answer::Ok)
        return;

    const bool recordCommands = m_host.isDeleteButtonEnabled();
    QString path = givenPath;
    if (path.isEmpty()) {
        path = prompter.chooseOpenFile(msg::LogFileFilter, book.workFolder);
        if (path.isEmpty()) {
            emit openFailed(recordCommands);
            return;
        }
    }
    // Absolute first: the work folder, its "bak" and the companion are all found from it.
    path = QFileInfo(path).absoluteFilePath();
    std::optional<LogFileContents> contents = readLogFile(path);
    if (!contents) {
        prompter.inform(msg::LogFileCannotOpen);
        emit openFailed(recordCommands);
        return;
    }
    if (!reportDamage(prompter, *contents)) {
        emit openFailed(recordCommands);
        return;
    }

    book.currentLogPath = path;
    book.workFolder = folderOf(path);
    m_list.setLogPath(path);
    loadContents(book, std::move(*contents));
    const CompanionRead companion = readCompanionBeside(path, backupFolder(book.workFolder));
    const int unmatched = companion.companion ? attachCompanion(book, *companion.companion) : 0;
    m_link.setGridRowCount(book.rowCount());
    m_link.redrawGrid();
    m_list.clearSelection();
    if (!companion.damage.isEmpty())
        prompter.inform(msg::CompanionDamaged.toString().arg(companion.damage));
    if (unmatched > 0)
        prompter.inform(msg::CompanionUnmatched.toString().arg(unmatched));

    const std::optional<QByteArray> name = readNameFile(namePathFor(path));
    if (!name)
        prompter.inform(msg::NameFileCannotOpen);
    book.logName = name.value_or(QByteArray());
    m_list.setNameText(book.logName);

    book.logModified = false;
    book.history.reset(book);
    emit logOpened();
    emit historyChanged();
}

void LogBookCommands::merge()
{
    // Flights added under a running download would take the places its rows are given.
    if (!downloadAllowsMovingRows())
        return;
    LogBook &book = m_link.logBook();
    Prompter &prompter = m_link.prompter();
    const QString path = prompter.chooseOpenFile(msg::LogFileFilter, book.workFolder);
    if (path.isEmpty())
        return;
    const std::optional<LogFileContents> contents = readLogFile(path);
    if (!contents) {
        prompter.inform(msg::AddLogFileCannotOpen);
        return;
    }
    if (!reportDamage(prompter, *contents))
        return;
    const int firstAdded = book.rowCount();
    appendFlights(book, *contents);
    const CompanionRead companion = readCompanionBeside(path, backupFolder(book.workFolder));
    if (companion.companion)
        attachMergedCompanion(book, *companion.companion, firstAdded);
    flightsAdded(msg::StepMerge.toString().arg(book.rowCount() - firstAdded));
    if (!companion.damage.isEmpty())
        prompter.inform(msg::CompanionDamaged.toString().arg(companion.damage));
}

void LogBookCommands::flightsAdded(const QString &step)
{
    LogBook &book = m_link.logBook();
    m_link.setGridRowCount(book.rowCount());
    m_link.redrawGrid();
    book.logModified = true;
    recordStep(step);
    emit logMerged();
    if (hasDuplicateDateTime(book))
        m_link.prompter().inform(msg::DuplicateDateTime);
}

bool LogBookCommands::save()
{
    const LogBook &book = m_link.logBook();
    if (book.currentLogPath.isEmpty())
        return saveAs();
    return saveTo(book.currentLogPath);
}

bool LogBookCommands::saveAs()
{
    const LogBook &book = m_link.logBook();
    const QString chosen = m_link.prompter().chooseSaveFileKeepingOld(msg::LogFileFilter, book.currentLogPath);
    if (chosen.isEmpty())
        return false;
    // Whatever file the save replaces, the current one or another, keeps its old version
    // in "bak": there is no need to decide here whether the name is the current file's.
    return saveTo(chosen);
}

bool LogBookCommands::flightsImported(std::vector<FileImage> barographs)
{
    LogBook &book = m_link.logBook();
    m_link.setGridRowCount(book.rowCount());
    m_link.redrawGrid();
    emit historyChanged();
    emit logMerged();
    bool written = false;
    if (!book.currentLogPath.isEmpty()) {
        written = saveTo(book.currentLogPath, std::move(barographs));
    } else {
        const std::optional<WriteFailure> failure =
            writeFiles(barographs, WriteOptions{BackupRule{backupFolder(book.workFolder), 10, {}}, {}});
        if (failure)
            m_link.prompter().inform(msg::LogFileCannotOpen.toString() + u'\n' + failure->reason());
        written = !failure;
    }
    if (!written) {
        book.history.dropLatest(book);
        m_link.setGridRowCount(book.rowCount());
        m_link.redrawGrid();
        emit historyStepped(book.hasFlights());
        emit historyChanged();
    }
    return written;
}

bool LogBookCommands::saveTo(const QString &path, std::vector<FileImage> barographs)
{
    LogBook &book = m_link.logBook();
    Prompter &prompter = m_link.prompter();
    const LogSaveResult result = saveLogBook(book, path, m_list.nameText(), {}, std::move(barographs));
    switch (result.outcome) {
    case LogSaveResult::Outcome::TooManyRows:
        prompter.inform(msg::LogTooManyRows);
        return false;
    case LogSaveResult::Outcome::Failed:
        prompter.inform(msg::LogFileCannotOpen.toString() + u'\n' + result.failure->reason());
        return false;
    case LogSaveResult::Outcome::Written:
        break;
    }
    m_list.setLogPath(book.currentLogPath);
    book.history.markSaved();
    emit logWritten();
    m_list.nameField()->setModified(false);
    return true;
}

void LogBookCommands::sortByDate()
{
    if (!downloadAllowsMovingRows() || !gateOrReport())
        return;
    const bool duplicate = sortFlightsByDate(m_link.logBook());
    m_link.redrawGrid();
    recordStep(msg::StepSort.toString());
    if (duplicate)
        m_link.prompter().inform(msg::DuplicateDateTime);
}

void LogBookCommands::deleteSelected()
{
    if (!downloadAllowsMovingRows() || !gateOrReport())
        return;
    LogBook &book = m_link.logBook();
    if (!book.hasFlights())
        return;
    Prompter &prompter = m_link.prompter();
    const std::vector<int> rows = selectedFlights();
    const int count = int(rows.size());
    if (count == 0)
        return;
    if (prompter.ask(msg::AskDeleteSelected, msg::CaptionWarning, Buttons::OkCancel, Icon::Exclamation)
        != Answer::Ok)
        return;

    const QString folder = barographFolder(book);
    std::vector<RetiredFile> retired;
    // Top to bottom, each row gone before the next is asked about, so that a barograph two
    // of them share is asked about once, with the last of them; each row above has moved
    // the rest up by one.
    for (int i = 0; i < count; ++i) {
        const int r = rows[size_t(i)] - i;
        if (book.row(r).hasBarograph())
            deleteBarographOf(r, folder, retired);
        book.removeRow(r);
    }

    const bool flightsRemain = book.hasFlights();
    m_link.setGridRowCount(book.rowCount()); // a log without flights keeps one blank row
    m_link.redrawGrid();
    book.logModified = true;
    recordStep(msg::StepDelete.toString().arg(count), std::move(retired));
    emit flightsDeleted(flightsRemain);
}

// Asks whether a row's barograph file goes too. If so, it goes into bak with the next save of
// the log (where undo finds it again), so that the saved log never names a file that is
// gone. A file that another row still names stays (merged copies of one flight share their
// file), and a file that is not there is reported.
void LogBookCommands::deleteBarographOf(int row, const QString &folder, std::vector<RetiredFile> &retired)
{
    LogBook &book = m_link.logBook();
    Prompter &prompter = m_link.prompter();
    const QString shown = cp932::toUnicode(book.row(row).barographFile);
    if (!rowsSharingBarograph(book, row).isEmpty()) {
        prompter.inform(msg::BarographStillNamed.toString().arg(shown));
        return;
    }
    // A name that could reach beyond a barograph (a path, the log's own files) never
    // deletes anything.
    BarographNameFault fault = BarographNameFault::None;
    const std::optional<QString> path = barographPath(folder, book.row(row).barographFile, &fault);
    const QFileInfo file(path.value_or(QString()));
    if (!path) {
        prompter.inform(msg::BarographNotRemoved.toString().arg(shown) + u'\n'
                        // the number the list shows: rows above it may be going too
                        + msg::LogRowProblem.toString().arg(cp932::toUnicode(book.row(row).number),
                                                            barographNameRefusal(book.row(row).barographFile, fault)));
        return;
    }
    if (prompter.ask(msg::AskDeleteBarograph.toString().arg(shown), msg::CaptionConfirm, Buttons::YesNo,
                     Icon::Question)
        != Answer::Yes)
        return;
    if (!file.isFile()) {
        const WriteFailure why{QDir::toNativeSeparators(*path), !file.exists() ? ENOENT : EINVAL};
        prompter.inform(msg::BarographNotRemoved.toString().arg(shown) + u'\n' + why.reason());
        return;
    }
    book.barographsToRetire.push_back(*path);
    retired.push_back({*path});
}

std::vector<int> LogBookCommands::selectedFlights() const
{
    std::vector<int> rows = m_list.selectedRows();
    const int flights = m_link.logBook().rowCount() - 1;
    std::erase_if(rows, [flights](int r) { return r < 1 || r > flights; });
    return rows;
}

void LogBookCommands::newRecord()
{
    m_host.createEditorWindow(-1);
}

void LogBookCommands::editSelected()
{
    LogBook &book = m_link.logBook();
    if (!book.hasFlights())
        return;
    for (const int r : selectedFlights()) {
        if (book.row(r).editorOpen) {
            m_link.prompter().inform(msg::AlreadyEditing);
            continue;
        }
        if (QMdiSubWindow *editor = m_host.createEditorWindow(r)) {
            book.row(r).editorWindow = editor;
            emit editorsOpened();
        }
    }
}

void LogBookCommands::showBarographs()
{
    LogBook &book = m_link.logBook();
    if (!book.hasFlights())
        return;
    for (const int r : selectedFlights()) {
        const FlightRecord &row = book.row(r);
        if (row.graphOpen) {
            m_link.prompter().inform(msg::AlreadyShowing);
        } else if (row.hasBarograph()) {
            m_link.openGraphWindow(r);
            emit graphsOpened();
        } else if (row.deviceIndex <= 0) {
            m_link.prompter().inform(msg::CannotShowBarograph);
        } else {
            m_host.queueBarograph(r);
        }
    }
}

void LogBookCommands::showTotals()
{
    const LogBook &book = m_link.logBook();
    if (!book.hasFlights())
        return;
    // Declined or impossible, the sort leaves the flights in the list's order, and the
    // totals follow that order.
    sortByDate();
    if (!m_totals) {
        m_totals = new TFormTotal;
        m_link.workspaceArea()->addSubWindow(m_totals);
        m_totals->show();
    }
    m_totals->showTotals(computeTotals(book), m_list.nameText());
    m_link.workspaceArea()->setActiveSubWindow(m_totals);
}

bool LogBookCommands::exportCsv()
{
    const LogBook &book = m_link.logBook();
    Prompter &prompter = m_link.prompter();
    // The encoding is a file type of the dialog, so the pilot chooses it with the name; the
    // last one chosen is offered again.
    static constexpr struct {
        CsvEncoding encoding;
        QStringView filter;
    } kChoices[] = {{CsvEncoding::Utf8, msg::CsvFilterUtf8}, {CsvEncoding::Cp932, msg::CsvFilterCp932}};
    QStringList filters;
    for (const auto &choice : kChoices)
        filters << choice.filter.toString();
    const QString preset = book.currentLogPath.isEmpty()
                               ? QString()
                               : folderOf(book.currentLogPath) + QFileInfo(book.currentLogPath).completeBaseName()
                                     + QStringLiteral(".csv");
    const QString path = prompter.chooseSaveFileAmong(filters, preset, &m_csvChoice);
    if (path.isEmpty())
        return false;
    const LogCsv csvFile = buildLogCsv(book, kChoices[qBound(0, m_csvChoice, int(std::size(kChoices)) - 1)].encoding);
    if (const std::optional<WriteFailure> failure = writeFile(path, csvFile.bytes)) {
        prompter.inform(msg::CsvCannotWrite.toString() + u'\n' + failure->reason());
        return false;
    }
    if (csvFile.cellsChangedByUtf8 > 0)
        prompter.inform(msg::CsvUtf8Changes.toString().arg(csvFile.cellsChangedByUtf8));
    return true;
}

void LogBookCommands::importCsv()
{
    // Flights added under a running download would take the places its rows are given.
    if (!downloadAllowsMovingRows())
        return;
    LogBook &book = m_link.logBook();
    Prompter &prompter = m_link.prompter();
    const QString path = prompter.chooseOpenFile(msg::CsvFilter, book.workFolder);
    if (path.isEmpty())
        return;
    ReadFailure why;
    const std::optional<QByteArray> bytes = readInputFile(path, kMaxCsvFileBytes, &why);
    if (!bytes) {
        prompter.inform(msg::CsvCannotOpen.toString() + u'\n' + why.reason());
        return;
    }
    const LogCsvContents contents = parseLogCsv(*bytes);
    if (!contents.isReadable()) {
        prompter.inform(msg::CsvCannotRead.toString() + u'\n' + describeProblems(contents.problems));
        return;
    }
    const int firstAdded = book.rowCount();
    appendCsvFlights(book, contents);
    flightsAdded(msg::StepCsv.toString().arg(book.rowCount() - firstAdded));
}

void LogBookCommands::recordStep(const QString &name, std::vector<RetiredFile> retired)
{
    LogBook &book = m_link.logBook();
    if (book.history.record(book, name, std::move(retired)))
        emit historyChanged();
}

void LogBookCommands::undo()
{
    stepHistory(true);
}

void LogBookCommands::redo()
{
    stepHistory(false);
}

void LogBookCommands::stepHistory(bool back)
{
    LogBook &book = m_link.logBook();
    LogHistory &history = book.history;
    // A change the history has not seen yet (a barograph named by a download) is a step of
    // its own, so that undo takes back what the pilot sees last.
    recordStep(msg::StepDownload.toString());
    const LogStep *next = back ? history.nextUndo() : history.nextRedo();
    if (!next)
        return;
    // Not while a download runs or waits, whatever the step: it writes into rows, and a
    // barograph it is naming would end up named by nothing (or a row by a file undone).
    if (!downloadAllowsMovingRows())
        return;
    // Windows follow their rows by rowId wherever the step moves them; only a row the step
    // takes away must have its windows closed first.
    const std::vector<quint64> removed = back ? history.rowsUndoRemoves() : history.rowsRedoRemoves();
    const bool windowOnRemoved = std::any_of(removed.begin(), removed.end(), [&book](quint64 id) {
        const int r = book.rowOfId(id);
        return r >= 0 && (book.row(r).editorOpen || book.row(r).graphOpen);
    });
    if (windowOnRemoved && !gateOrReport())
        return;
    const LogStep *step = back ? history.undo(book) : history.redo(book);
    if (back)
        putBackRetired(step->retired);
    else
        history.setRetired(step, retireAgain(step->retired));
    m_link.setGridRowCount(book.rowCount());
    m_link.redrawGrid();
    emit historyStepped(book.hasFlights());
    emit historyChanged();
}

// Undo of a delete: a barograph still waiting for the save simply stays; one a save took
// into bak comes back from its newest kept version through the writer, unless a file of
// that name stands there again.
void LogBookCommands::putBackRetired(const std::vector<RetiredFile> &files)
{
    LogBook &book = m_link.logBook();
    std::vector<QString> &pending = book.barographsToRetire;
    for (const RetiredFile &f : files) {
        if (const auto it = std::find(pending.begin(), pending.end(), f.path); it != pending.end()) {
            pending.erase(it);
            continue;
        }
        if (QFileInfo::exists(f.path))
            continue;
        const QString bak = backupFolder(folderOf(f.path));
        const QStringList kept = backupHistory(bak, QFileInfo(f.path).fileName());
        ReadFailure why{QDir::toNativeSeparators(f.path), ENOENT};
        const std::optional<QByteArray> bytes = kept.isEmpty() ? std::nullopt
            : readInputFile(bak + u'/' + kept.last(), std::numeric_limits<qint32>::max(), &why);
        std::optional<WriteFailure> failure;
        if (bytes)
            failure = writeFile(f.path, *bytes, barographBackup(book));
        if (!bytes || failure)
            m_link.prompter().inform(msg::BarographNotRestored.toString().arg(QFileInfo(f.path).fileName()) + u'\n'
                                     + (bytes ? failure->reason() : why.reason()));
    }
}

// Redo of a delete lets the next save take the barographs into bak again.
std::vector<RetiredFile> LogBookCommands::retireAgain(const std::vector<RetiredFile> &files)
{
    std::vector<RetiredFile> retired;
    for (const RetiredFile &f : files) {
        if (QFileInfo::exists(f.path)) {
            m_link.logBook().barographsToRetire.push_back(f.path);
            retired.push_back(f);
        }
    }
    return retired;
}
