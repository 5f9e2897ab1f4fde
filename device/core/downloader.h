// The log and barograph downloads as one state machine over DownloadState: started by the
// commands, driven by "bytes arrived" (Comm1CommReceive), the pacer's wake-ups (tick) and
// the load timer (TimerLoadTimer). Nothing here waits: every pause is a wake-up request.
// No widgets; what the windows must do is asked of a DownloadObserver. QtCore only.
//
// Failures of the link are thrown (ECommError and kin) after the transfer has been wound
// up: port closed, progress window closed, mode idle. The caller runs each entry point as a
// command (runCommand in commerror.h), which reports the exception and lets it go no further.
#pragma once

#include "device/core/barographreply.h"
#include "device/core/downloadstate.h"
#include "device/core/logreply.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/flightrecord.h"

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <functional>
#include <vector>

class ECommError;
class LogBook;
class Pacer;
class Prompter;
class SerialLink;

/// How a transfer ended.
enum class TransferOutcome {
    Done,        ///< rows appended, or the barograph file written
    Empty,       ///< the log held no flight
    TooShort,    ///< the barograph had fewer than 4 samples; nothing written
    Refused,     ///< the reply was not what the instrument sends; nothing appended or written
    TimedOut,    ///< nothing arrived for the silence time-out
    NeverQuiet,  ///< the line went on talking before the request for longer than any reply
    Cancelled,   ///< the user cancelled
    Replaced,    ///< a new log download took over the port
    RowGone,     ///< the row was deleted while its barograph downloaded; nothing written
    CannotWrite, ///< the barograph file could not be written
    OpenFailed,  ///< the port could not be opened (also thrown)
    LinkFailed,  ///< a read or write failed or the line went dead (also thrown or reported)
};

/// Whether a transfer that ended so ends the load-all sequence and the queue with it: the
/// user said stop, or the instrument or the port is not there. A refused, short or
/// unwritable barograph concerns its flight only.
bool endsTheSequence(TransferOutcome outcome);

/// What the procedures ask of the windows (the main window, the log list, the progress
/// window and the load timer).
class DownloadObserver {
public:
    virtual ~DownloadObserver() = default;

    /// Flights were appended: the list takes the new row count and is redrawn, and the
    /// record commands follow.
    virtual void logRowsAppended(int rowCount) = 0;
    /// One row's cells changed (its barograph file name).
    virtual void rowChanged(int row) = 0;
    /// Opens the barograph window of a freshly downloaded row.
    virtual void openDownloadedGraph(int row) = 0;
    /// The load timer: armed at 300 ms, or stopped.
    virtual void armLoadTimer() = 0;
    virtual void stopLoadTimer() = 0;
    /// The progress window: shown with the flight's date and time ("%s  %s", cp932), its
    /// bar moved (0 to 100), closed.
    virtual void showProgress(QByteArrayView flightText) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void closeProgress() = 0;
    /// The log is arriving: `received` bytes so far (0 while the request waits for its
    /// answer), of `expected` once the count is in (else 0).
    virtual void logReceiving(int received, int expected)
    {
        Q_UNUSED(received);
        Q_UNUSED(expected);
    }
    /// A transfer ended, after everything else it does (for callers that wait on it).
    virtual void transferEnded(TransferMode mode, TransferOutcome outcome)
    {
        Q_UNUSED(mode);
        Q_UNUSED(outcome);
    }
};

/// An observer without windows, for a port session whose downloads no window follows (an
/// upload from the command line, a measurement that waits only for the end).
class NoWindowsObserver : public DownloadObserver {
public:
    void logRowsAppended(int) override {}
    void rowChanged(int) override {}
    void openDownloadedGraph(int) override {}
    void armLoadTimer() override {}
    void stopLoadTimer() override {}
    void showProgress(QByteArrayView) override {}
    void setProgress(int) override {}
    void closeProgress() override {}
};

struct BarographFile;

/// Commits the files of one downloaded barograph (the barograph, its raw copy) as one
/// write; returns why it could not, if it could not.
using BarographWriter = std::function<std::optional<WriteFailure>(const std::vector<FileImage> &files)>;

/// The barograph file of a complete reply: its interval, no marks, and each sample plus
/// the signed offset in metres.
BarographFile barographFromReply(const BarographReplyDecoder &reply);

/// Makes the work folder's "raw" folder, where every downloaded barograph is kept as it
/// came, when it is missing; the failure when it cannot.
std::optional<WriteFailure> makeRawFolder(const QString &workFolder);

/// For each of `flights`, whether a row of `book` is that flight (FlightKey): the row's
/// fields as downloaded when it was downloaded here, its present fields otherwise.
std::vector<bool> flightsAlreadyInLog(const LogBook &book, const std::vector<FlightRecord> &flights);

/// What a log download does with flights the log already holds (flightsAlreadyInLog).
enum class DuplicateFlights {
    Ask,       ///< asks whether to add only the new ones (the window)
    AppendAll, ///< appends every flight, as the instrument sends them
    NewOnly,   ///< appends only the flights the log does not hold
};

class Downloader {
public:
    /// Everything is borrowed and must outlive the downloader. `portName` gives the device
    /// to open, asked afresh at each transfer.
    Downloader(LogBook &book, DownloadState &state, SerialLink &link, Pacer &pacer, Prompter &prompter,
               DownloadObserver &observer, std::function<QString()> portName);

    /// Log download: forgets earlier flight numbers, opens the port and, 200 ms later (and
    /// once the line is quiet), sends "L". A transfer that is running is ended first.
    /// Throws ECommOpenError.
    void LogLoad();
    /// Load all: the log download, then (from the load timer) the barograph of every flight
    /// it appends, one at a time; their windows open at the end. Throws ECommOpenError.
    void AllLoad();
    /// The graph command's queueing: the row's barograph is fetched when the load timer gets
    /// to it (a row already queued is not queued twice); its window opens then.
    void queueBarograph(int row);
    /// The receive event: `waiting` bytes can be read. Throws ECommError when reading fails.
    void Comm1CommReceive(int waiting);
    /// The link's "sent" event: what was written has left the port.
    void Comm1CommSent();
    /// The load timer's tick: starts the next barograph download of the load-all sequence
    /// or the queue, or opens the windows of the downloaded rows. Waits while a message of
    /// the downloads is open. Throws ECommOpenError.
    void TimerLoadTimer();
    /// The pacer's wake-up: the next step of a paused request, or the silence time-out.
    /// Throws ECommError when sending fails.
    void tick();
    /// The progress window's Cancel: ends the transfer, the load-all sequence and the queue
    /// at once. The barographs already fetched still get their windows.
    void cancel();
    /// The link failed on its own (already closed): ends the transfer and stops the
    /// sequence and queue. The caller reports `error`.
    void linkFailed(const ECommError &error);

    bool isTransferring() const { return m_state.transferMode != TransferMode::Idle; }
    /// A transfer runs, or the load-all sequence or the queue has more to fetch.
    bool needsPort() const { return isTransferring() || m_state.loadAllNext > 0 || !m_state.baroQueue.empty(); }
    /// A message of the downloads is open (the next request waits for it).
    bool isShowingMessage() const { return m_messagesOpen > 0; }

    /// How long a transfer may receive nothing before it is given up.
    std::chrono::milliseconds silenceTimeout;
    /// How long the line must be quiet before a request after a transfer that did not end
    /// cleanly.
    std::chrono::milliseconds settleTime;
    /// Bytes a line may send while we wait for it to go quiet before the transfer is given
    /// up: the longest reply the instrument can send.
    qint64 settleLimitBytes;
    /// Writes each barograph with its raw copy as it arrives (writeFiles with the work
    /// folder's backup rule unless replaced). Unused while `staged` is set.
    BarographWriter writeBarograph;
    /// When set, the barographs (and raw copies) of this run are collected here instead of
    /// written, to be committed with the log in one write; names are then chosen as if
    /// these files stood in the folder already.
    std::vector<FileImage> *staged = nullptr;
    DuplicateFlights duplicates = DuplicateFlights::Ask;
    /// Flights of the latest log download left out because the log held them already.
    int skippedFlights = 0;

private:
    enum class Step {
        Idle,
        BeforeCommand,      ///< the pause after opening, and the wait for a quiet line
        SendingCommand,     ///< "B" is written and has not left the port yet
        BeforeFlightNumber, ///< the pause after "B" has left the port
        AwaitingReply,      ///< the request is out
    };

    void BaroLoad(int row);
    void LogLoadEnd();
    void BaroLoadEnd();

    void openPort();
    /// After opening: the first command goes out once the pause after opening is over and,
    /// if the line may still carry an abandoned reply, once it has been quiet for settleTime.
    void startRequest();
    std::chrono::milliseconds commandDue() const;
    void sendCommand();
    void send(const QByteArray &bytes);
    void pauseThen(Step step, std::chrono::milliseconds pause);
    void awaitReply();
    /// Bytes that are no answer: read and thrown away; before the request they restart the
    /// wait for a quiet line.
    void discard(qsizetype count);
    bool canDownload(int row) const;
    /// Closes the port and the progress window and returns to idle.
    void endTransfer();
    /// Ends a transfer that failed or was given up, shows `message` (if any) and lets the
    /// sequence or queue go on or stops it, as the outcome says.
    void giveUp(TransferOutcome outcome, QStringView message);
    /// The sequence and the queue stop; the rows already downloaded still get their windows.
    void stopSequence();
    /// Ends a running transfer whose link failed, with the sequence and queue.
    void abandonAfterLinkFailure();
    /// The row being downloaded, found by its identity; -1 when it was deleted.
    int baroRowNow() const;
    void dropQueueHead(int row);
    void armTimerIfPending();
    void inform(QStringView text);
    void ended(TransferMode mode, TransferOutcome outcome);
    /// The bytes standing at `path`: staged for this run, else on disk (std::nullopt when
    /// neither, or larger than `limit`; `exists` says whether anything stands there).
    std::optional<QByteArray> contentAt(const QString &path, qint64 limit, bool *exists) const;
    /// Names, writes (or stages) the barograph of the finished reply for `row` with its raw
    /// copy, and records both on the row. `moved` gets the message when the flight's name
    /// was taken by another flight's file.
    std::optional<WriteFailure> keepBarograph(int row, QString *moved);
    /// Commits the files of one barograph: staged, or written now.
    std::optional<WriteFailure> commitBarograph(std::vector<FileImage> files);
    /// "date time" of the flight being downloaded, for messages.
    QString baroFlightText() const;

    LogBook &m_book;
    DownloadState &m_state;
    SerialLink &m_link;
    Pacer &m_pacer;
    Prompter &m_prompter;
    DownloadObserver &m_observer;
    std::function<QString()> m_portName;

    Step m_step = Step::Idle;
    std::chrono::milliseconds m_due{0};
    std::chrono::milliseconds m_opened{0};
    std::chrono::milliseconds m_lastActivity{0};
    /// The last transfer did not end cleanly: the line may still carry its reply.
    bool m_lineDirty = false;
    std::chrono::milliseconds m_quietSince{0};
    qint64 m_discarded = 0;
    int m_messagesOpen = 0;
    LogReplyDecoder m_logReply;
    BarographReplyDecoder m_baroReply;
    quint64 m_baroRowId = 0;  ///< identity of the row being downloaded
    QByteArray m_baroFlight;  ///< its date and time when the download started, for messages
};
