// "download": the program's own download procedures without windows, on the event loop.
// Progress and messages go to standard error; with --trace, every byte to and from the
// instrument goes to a transcript file with its time.
//
// A download is one transaction: the barographs (and their raw copies) arrive into memory
// and are written together with the log, its name file and its companion in one write at
// the end. A kill leaves the folder as it was or finished, and a write that fails leaves
// every file as it was.
#include "output.h"
#include "stderrprompter.h"
#include "verbs.h"

#include "device/core/commerror.h"
#include "device/core/downloader.h"
#include "device/core/portsession.h"
#include "device/serial/tcomm.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {

// Follows the transfers: prints their progress, names every one that failed, and ends the
// event loop when nothing is left to do.
class ToolObserver : public DownloadObserver {
public:
    ToolObserver(LogBook &book, QTimer &loadTimer, bool barographs)
        : m_book(book), m_loadTimer(loadTimer), m_barographs(barographs)
    {
    }

    bool logFailed = false;
    int failures = 0;
    Downloader *downloader = nullptr;

    void logRowsAppended(int rowCount) override
    {
        report(QStringLiteral("%1 flights downloaded").arg(rowCount - 1 - m_rowsBefore));
        if (downloader && downloader->skippedFlights > 0)
            report(QStringLiteral("%1 flights already in the log, skipped").arg(downloader->skippedFlights));
    }
    void rowChanged(int row) override
    {
        report(QStringLiteral("barograph received: ") + cp932::toUnicode(m_book.row(row).barographFile));
    }
    void openDownloadedGraph(int) override {}
    void armLoadTimer() override { m_loadTimer.start(kLoadTimerInterval); }
    void stopLoadTimer() override
    {
        m_loadTimer.stop();
        finishLater();
    }
    void showProgress(QByteArrayView flightText) override
    {
        m_flight = cp932::toUnicode(flightText);
        m_lastQuarter = -1;
    }
    void setProgress(int percent) override
    {
        if (percent / 25 != m_lastQuarter) {
            m_lastQuarter = percent / 25;
            report(QStringLiteral("barograph %1  %2%").arg(m_flight).arg(percent));
        }
    }
    void closeProgress() override {}
    void transferEnded(TransferMode mode, TransferOutcome outcome) override
    {
        switch (outcome) {
        case TransferOutcome::Done:
        case TransferOutcome::TooShort: // said so; nothing to keep, and no failure
            break;
        case TransferOutcome::Empty:
            m_barographs = false;
            break;
        default:
            ++failures;
            if (mode == TransferMode::Log)
                logFailed = true;
            report(mode == TransferMode::Log ? QStringLiteral("failed: the log")
                                             : QStringLiteral("failed: barograph %1").arg(m_flight));
            break;
        }
        if (mode == TransferMode::Log)
            m_logDone = true;
        finishLater();
    }
    void setRowsBefore(int rows) { m_rowsBefore = rows - 1; }

private:
    // Decided once the procedure that called us has returned.
    void finishLater()
    {
        QTimer::singleShot(0, [this] {
            const bool busy = downloader && downloader->isTransferring();
            const bool sequenceLeft = m_barographs && !logFailed && m_loadTimer.isActive();
            if (m_logDone && !busy && !sequenceLeft)
                QCoreApplication::exit(0);
        });
    }

    LogBook &m_book;
    QTimer &m_loadTimer;
    bool m_barographs;
    bool m_logDone = false;
    int m_rowsBefore = 0;
    QString m_flight;
    int m_lastQuarter = -1;
};

} // namespace

int download(const QStringList &args)
{
    QString port;
    QString logPath;
    QString tracePath;
    bool barographs = false;
    bool newOnly = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--port" && i + 1 < args.size())
            port = args[++i];
        else if (args[i] == u"--log" && i + 1 < args.size())
            logPath = args[++i];
        else if (args[i] == u"--barographs")
            barographs = true;
        else if (args[i] == u"--new-only")
            newOnly = true;
        else if (args[i] == u"--trace" && i + 1 < args.size())
            tracePath = args[++i];
        else
            return 2;
    }
    if (port.isEmpty() || logPath.isEmpty())
        return 2;
    logPath = QFileInfo(logPath).absoluteFilePath();

    // Appended to the log when it exists, else to a new log with its title record.
    const bool exists = QFileInfo::exists(logPath);
    std::optional<QByteArray> name;
    std::optional<LogBook> read = exists ? readLog(logPath, &name) : std::optional<LogBook>(LogBook());
    if (!read)
        return 1;
    LogBook book = std::move(*read);
    book.workFolder = folderOf(logPath);

    DownloadState state;
    TComm comm;
    QTimer loadTimer;
    StderrPrompter prompter;
    ToolObserver observer(book, loadTimer, barographs);
    observer.setRowsBefore(book.rowCount());
    PortSession session(comm, [&] { return port; }, book, state, prompter, observer, loadTimer);
    observer.downloader = &session.downloader();
    std::vector<FileImage> barographFiles;
    session.downloader().staged = &barographFiles;
    session.downloader().duplicates = newOnly ? DuplicateFlights::NewOnly : DuplicateFlights::AppendAll;
    if (!session.recordTraffic(tracePath, true)) {
        report(QStringLiteral("cannot write %1").arg(tracePath));
        return 1;
    }

    const bool started =
        runCommand(prompter, [&] { barographs ? session.downloader().AllLoad() : session.downloader().LogLoad(); });
    if (started)
        QCoreApplication::exec();
    if (!started)
        observer.logFailed = true;

    // What arrived whole is kept: the log with every barograph that arrived, in one write,
    // the barographs first (a kill between two renames leaves a file no log names yet, never
    // a row naming a file that is not its flight's).
    int rc = observer.failures > 0 || !started ? 1 : 0;
    if (book.logModified) {
        book.renumber(); // as the list's redraw does before the program saves
        const BackupRule rule{backupFolder(book.workFolder), 10, {}};
        std::vector<FileImage> files = logBookImages(book, logPath, name.value_or(QByteArray()), rule.folder);
        if (files.empty()) {
            report(msg::LogTooManyRows);
            report(QStringLiteral("nothing saved"));
            return 1;
        }
        files.insert(files.begin(), barographFiles.begin(), barographFiles.end());
        std::optional<WriteFailure> failure;
        const QDir work(book.workFolder);
        const bool hadRawFolder = work.exists(QStringLiteral("raw"));
        if (!barographFiles.empty())
            failure = makeRawFolder(book.workFolder);
        if (!failure)
            failure = writeFiles(files, WriteOptions{rule, {}});
        if (failure) {
            if (!hadRawFolder)
                work.rmdir(QStringLiteral("raw")); // made for this write, and empty: the folder is as it was
            report(msg::LogFileCannotOpen.toString() + u'\n' + failure->reason());
            report(QStringLiteral("nothing saved"));
            rc = 1;
        }
    }
    return rc;
}
