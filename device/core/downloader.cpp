// The download procedures.
#include "downloader.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsave.h"
#include "logbook/core/text/numbertext.h"
#include "device/core/commerror.h"
#include "device/core/linesettings.h"
#include "device/core/messages.h"
#include "device/core/pacer.h"
#include "device/core/protocol.h"
#include "device/core/seriallink.h"
#include "logbook/core/companion.h"
#include "logbook/core/fieldformats.h"
#include "logbook/core/filereader.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFileInfo>
#include <QHashFunctions>

#include <algorithm>
#include <array>
#include <cerrno>
#include <unordered_map>

using std::chrono::milliseconds;


BarographFile barographFromReply(const BarographReplyDecoder &reply)
{
    BarographFile file;
    file.interval = reply.intervalSec();
    file.altitudes.reserve(size_t(reply.sampleCount()));
    // Tenths of a metre to metres. A float holds n / 10 to far better than the 0.05 m that
    // would change the one decimal the file keeps.
    for (const int sample : reply.samples())
        file.altitudes.push_back(float((sample + reply.offsetTenths()) * 0.1));
    return file;
}

namespace {

// The downloads' usual writer: the files of one barograph as one write, the version a
// barograph replaces kept in the work folder's "bak".
BarographWriter writerFor(const LogBook &book)
{
    return [&book](const std::vector<FileImage> &files) {
        return writeFiles(files, WriteOptions{BackupRule{backupFolder(book.workFolder), 10, {}}, {}});
    };
}

} // namespace

bool endsTheSequence(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::TimedOut:
    case TransferOutcome::NeverQuiet:
    case TransferOutcome::Cancelled:
    case TransferOutcome::Replaced:
    case TransferOutcome::OpenFailed:
    case TransferOutcome::LinkFailed:
        return true;
    case TransferOutcome::Done:
    case TransferOutcome::Empty:
    case TransferOutcome::TooShort:
    case TransferOutcome::Refused:
    case TransferOutcome::RowGone:
    case TransferOutcome::CannotWrite:
        return false;
    }
    return true;
}

Downloader::Downloader(LogBook &book, DownloadState &state, SerialLink &link, Pacer &pacer, Prompter &prompter,
                       DownloadObserver &observer, std::function<QString()> portName)
    : silenceTimeout(protocol::kSilenceTimeout),
      settleTime(protocol::kSettleTime),
      settleLimitBytes(std::max(LogReplyDecoder::kMaxReplyBytes, BarographReplyDecoder::kMaxReplyBytes)),
      writeBarograph(writerFor(book)),
      m_book(book),
      m_state(state),
      m_link(link),
      m_pacer(pacer),
      m_prompter(prompter),
      m_observer(observer),
      m_portName(std::move(portName))
{
}

// ---- Starting ---------------------------------------------------------------------------

void Downloader::LogLoad()
{
    if (isTransferring()) {
        const TransferMode mode = m_state.transferMode;
        endTransfer();
        m_lineDirty = true; // the reply that was running may go on arriving
        ended(mode, TransferOutcome::Replaced);
    }
    // The instrument numbers its flights afresh in every log reply: earlier numbers, and the
    // rows queued or sequenced by them, no longer match it.
    for (int r = 1; r < m_book.rowCount(); ++r)
        m_book.row(r).deviceIndex = -1;
    m_state.baroQueue.clear();
    m_state.loadAllNext = 0;
    m_state.loadAllLast = 0;

    try {
        openPort();
    } catch (const ECommError &) {
        ended(TransferMode::Log, TransferOutcome::OpenFailed);
        throw;
    }
    m_state.transferMode = TransferMode::Log;
    m_state.expectedLength = 0;
    m_state.flightCount = 0;
    m_logReply.reset();
    startRequest();
}

void Downloader::AllLoad()
{
    const int firstNewRow = std::max(m_book.rowCount(), 1);
    LogLoad();
    m_state.loadAllNext = firstNewRow;
    m_state.loadAllLast = 0;
    m_observer.armLoadTimer();
}

void Downloader::queueBarograph(int row)
{
    if (!m_state.isQueued(row))
        m_state.baroQueue.push_back(row);
    m_observer.armLoadTimer();
}

void Downloader::BaroLoad(int row)
{
    const FlightRecord &record = m_book.row(row);
    m_state.durationSeconds = fieldformat::secondsOf(record.duration);
    m_state.transferMode = TransferMode::Barograph;
    m_state.baroInterval = 0;
    m_state.baroRow = row;
    m_baroRowId = record.rowId;
    m_baroFlight = record.date.toByteArray() + ' ' + record.time.toByteArray();
    m_baroReply.reset();
    try {
        openPort();
    } catch (const ECommError &) {
        m_state.transferMode = TransferMode::Idle;
        stopSequence();
        ended(TransferMode::Barograph, TransferOutcome::OpenFailed);
        throw;
    }
    m_observer.showProgress(record.date.toByteArray() + "  " + record.time.toByteArray());
    m_observer.setProgress(0);
    startRequest();
}

void Downloader::openPort()
{
    m_link.open(m_portName(), instrumentLine());
}

// ---- Stepping through a request ---------------------------------------------------------

void Downloader::startRequest()
{
    m_opened = m_pacer.now();
    m_quietSince = m_opened;
    m_discarded = 0;
    m_step = Step::BeforeCommand;
    m_pacer.wakeAfter(std::max(milliseconds(0), commandDue() - m_opened));
}

milliseconds Downloader::commandDue() const
{
    const milliseconds afterOpen = m_opened + protocol::kPauseAfterOpen;
    return m_lineDirty ? std::max(afterOpen, m_quietSince + settleTime) : afterOpen;
}

void Downloader::sendCommand()
{
    m_lineDirty = false;
    if (m_state.transferMode == TransferMode::Log) {
        awaitReply();
        m_observer.logReceiving(0, 0);
        send(protocol::logRequest());
        return;
    }
    // The pause before the flight number starts once "B" has left the port (Comm1CommSent).
    // Should that never happen (a handshake that holds the port), the silence time-out ends it.
    m_step = Step::SendingCommand;
    m_lastActivity = m_pacer.now();
    m_pacer.wakeAfter(silenceTimeout);
    send(protocol::barographCommand());
}

void Downloader::pauseThen(Step step, milliseconds pause)
{
    m_step = step;
    m_due = m_pacer.now() + pause;
    m_pacer.wakeAfter(pause);
}

void Downloader::awaitReply()
{
    m_step = Step::AwaitingReply;
    m_lastActivity = m_pacer.now();
    m_pacer.wakeAfter(silenceTimeout);
}

void Downloader::send(const QByteArray &bytes)
{
    try {
        m_link.write(bytes);
    } catch (const ECommError &) {
        abandonAfterLinkFailure();
        throw;
    }
}

void Downloader::Comm1CommSent()
{
    if (m_step == Step::SendingCommand)
        pauseThen(Step::BeforeFlightNumber, protocol::kPauseBeforeFlightNumber + protocol::kWireMargin);
}

void Downloader::tick()
{
    const milliseconds now = m_pacer.now();
    switch (m_step) {
    case Step::Idle:
        return;
    case Step::BeforeCommand:
        if (now < commandDue())
            m_pacer.wakeAfter(commandDue() - now);
        else
            sendCommand();
        return;
    case Step::BeforeFlightNumber:
        if (now < m_due) {
            m_pacer.wakeAfter(m_due - now);
        } else if (baroRowNow() < 0) {
            giveUp(TransferOutcome::RowGone, {});
        } else {
            awaitReply();
            send(protocol::barographFlightNumber(m_book.row(baroRowNow()).deviceIndex));
        }
        return;
    case Step::SendingCommand:
    case Step::AwaitingReply:
        if (now - m_lastActivity >= silenceTimeout)
            giveUp(TransferOutcome::TimedOut, msg::NoAnswer);
        else
            m_pacer.wakeAfter(m_lastActivity + silenceTimeout - now);
        return;
    }
}

// ---- Receiving --------------------------------------------------------------------------

void Downloader::discard(qsizetype count)
{
    if (m_step != Step::BeforeCommand) {
        // Between "B" and the flight number: the request goes on (its reply is judged when it
        // comes), but the next one waits for a quiet line.
        m_lineDirty = true;
        return;
    }
    m_lineDirty = true;
    m_quietSince = m_pacer.now();
    m_discarded += count;
    if (m_discarded > settleLimitBytes) {
        giveUp(TransferOutcome::NeverQuiet, msg::LineNeverQuiet);
        return;
    }
    m_pacer.wakeAfter(commandDue() - m_quietSince);
}

void Downloader::Comm1CommReceive(int waiting)
{
    QByteArray bytes;
    try {
        bytes = m_link.read(waiting);
    } catch (const ECommError &) {
        abandonAfterLinkFailure();
        throw;
    }
    // With no download running, bytes are no answer and nothing waits for the line.
    if (m_step == Step::Idle || bytes.isEmpty())
        return;
    if (m_step != Step::AwaitingReply) {
        discard(bytes.size());
        return;
    }
    m_lastActivity = m_pacer.now();
    m_pacer.wakeAfter(silenceTimeout);

    if (m_state.transferMode == TransferMode::Log) {
        const DecodeStatus status = m_logReply.feed(bytes);
        m_state.expectedLength = m_logReply.expectedLength();
        m_state.flightCount = std::max(0, m_logReply.flightCount());
        if (status == DecodeStatus::Complete)
            LogLoadEnd();
        else if (status == DecodeStatus::Malformed)
            giveUp(TransferOutcome::Refused, msg::LogReplyRefused);
        else
            m_observer.logReceiving(m_logReply.received(), m_state.expectedLength);
        return;
    }

    const DecodeStatus status = m_baroReply.feed(bytes);
    m_state.baroInterval = m_baroReply.intervalSec();
    if (m_state.baroInterval > 0 && m_state.durationSeconds >= m_state.baroInterval) {
        const int samples = (m_baroReply.received() - BarographReplyDecoder::kHeaderBytes)
                            / BarographReplyDecoder::kSampleBytes;
        const int expected = m_state.durationSeconds / m_state.baroInterval;
        m_observer.setProgress(std::min(100, samples * 100 / expected));
    }
    if (status == DecodeStatus::Complete)
        BaroLoadEnd();
    else if (status == DecodeStatus::Malformed)
        giveUp(TransferOutcome::Refused, msg::BaroReplyRefused.toString().arg(baroFlightText()));
}

// ---- Finishing --------------------------------------------------------------------------

void Downloader::LogLoadEnd()
{
    const std::vector<LogEntry> entries = m_logReply.entries();
    const int count = int(entries.size());
    endTransfer();
    if (count == 0) {
        m_state.loadAllNext = 0;
        armTimerIfPending();
        inform(msg::LogEmpty);
        ended(TransferMode::Log, TransferOutcome::Empty);
        return;
    }
    // The reply lists the newest flight first; the log book gets flight 1 first.
    std::vector<FlightRecord> flights;
    flights.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        flights.push_back(entries[size_t(count - 1 - i)].toFlightRecord(i + 1));
    std::vector<bool> known = flightsAlreadyInLog(m_book, flights);
    const int knownCount = int(std::count(known.begin(), known.end(), true));
    bool newOnly = duplicates == DuplicateFlights::NewOnly;
    if (knownCount > 0 && duplicates == DuplicateFlights::Ask) {
        // With nothing new, "only the new ones?" would offer to add none: the question is
        // then whether to add the same flights again (No adds nothing).
        const bool nothingNew = knownCount == count;
        ++m_messagesOpen; // the load timer waits behind the question, as behind a message
        const Prompter::Answer answer =
            nothingNew ? m_prompter.ask(msg::AskAllKnownAgain.toString().arg(count), msg::Confirm,
                                        Prompter::Buttons::YesNo, Prompter::Icon::Question)
                       : m_prompter.ask(msg::AskNewOnly.toString().arg(knownCount).arg(count - knownCount),
                                        msg::Confirm, Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
        --m_messagesOpen;
        if (!nothingNew && answer == Prompter::Answer::Cancel) {
            m_state.loadAllNext = 0;
            stopSequence();
            ended(TransferMode::Log, TransferOutcome::Cancelled);
            return;
        }
        newOnly = nothingNew ? answer != Prompter::Answer::Yes : answer == Prompter::Answer::Yes;
    }
    skippedFlights = newOnly ? knownCount : 0;
    const int firstRow = std::max(m_book.rowCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (newOnly && known[size_t(i)])
            continue;
        FlightRecord &row = m_book.appendRow(std::move(flights[size_t(i)]));
        row.downloaded = std::make_shared<const DownloadedFlight>(DownloadedFlight{downloadedFields(row), {}});
    }
    const int added = m_book.rowCount() - firstRow;
    // The load-all sequence fetches the barographs of the rows added, and of no other.
    if (m_state.loadAllNext > 0) {
        m_state.loadAllNext = added > 0 ? firstRow : 0;
        m_state.loadAllLast = firstRow + added - 1;
    }
    if (added > 0)
        m_book.logModified = true;
    m_observer.logRowsAppended(m_book.rowCount());
    ended(TransferMode::Log, TransferOutcome::Done);
}

void Downloader::BaroLoadEnd()
{
    // The row is followed by its identity: edited meanwhile, it still gets its file (named
    // by its date and time as they are now); deleted, it gets none.
    const int row = baroRowNow();
    endTransfer();
    dropQueueHead(m_state.baroRow);

    TransferOutcome outcome = TransferOutcome::Done;
    std::optional<WriteFailure> failure;
    QString moved; // what to tell when the flight's barograph got a free name
    if (row < 0) {
        outcome = TransferOutcome::RowGone;
    } else if (m_baroReply.sampleCount() < 4) {
        outcome = TransferOutcome::TooShort;
        m_lineDirty = true;
    } else {
        failure = keepBarograph(row, &moved);
        if (!failure) {
            m_book.logModified = true;
            m_observer.rowChanged(row);
            m_state.openList.push_back(row);
        } else {
            outcome = TransferOutcome::CannotWrite;
        }
    }
    m_baroReply.reset();
    armTimerIfPending();
    if (outcome == TransferOutcome::TooShort)
        inform(msg::BaroTooShort.toString().arg(baroFlightText()));
    else if (outcome == TransferOutcome::CannotWrite)
        inform(msg::BaroCannotWrite.toString() + u'\n' + failure->reason());
    else if (!moved.isEmpty())
        inform(moved);
    ended(TransferMode::Barograph, outcome);
}

void Downloader::endTransfer()
{
    const TransferMode mode = m_state.transferMode;
    m_step = Step::Idle;
    m_pacer.cancelWake();
    m_state.transferMode = TransferMode::Idle;
    m_link.close();
    if (mode == TransferMode::Barograph)
        m_observer.closeProgress();
}

void Downloader::giveUp(TransferOutcome outcome, QStringView message)
{
    const TransferMode mode = m_state.transferMode;
    endTransfer();
    // Whatever the instrument was sending may go on arriving.
    m_lineDirty = true;
    m_logReply.reset();
    m_baroReply.reset();
    if (mode == TransferMode::Log)
        m_state.loadAllNext = 0; // no flights, so no barographs to fetch
    else
        dropQueueHead(m_state.baroRow);
    if (endsTheSequence(outcome))
        stopSequence();
    else
        armTimerIfPending();
    if (!message.isEmpty())
        inform(message);
    ended(mode, outcome);
}

void Downloader::cancel()
{
    if (isTransferring())
        giveUp(TransferOutcome::Cancelled, {});
    else if (m_state.loadAllNext > 0 || !m_state.baroQueue.empty())
        stopSequence();
}

void Downloader::linkFailed(const ECommError &)
{
    abandonAfterLinkFailure();
}

void Downloader::abandonAfterLinkFailure()
{
    if (!isTransferring())
        return;
    const TransferMode mode = m_state.transferMode;
    endTransfer();
    m_lineDirty = true;
    m_logReply.reset();
    m_baroReply.reset();
    stopSequence();
    ended(mode, TransferOutcome::LinkFailed);
}

void Downloader::stopSequence()
{
    m_state.loadAllNext = 0;
    m_state.baroQueue.clear();
    // The rows already downloaded still get their windows.
    if (m_state.openList.empty())
        m_observer.stopLoadTimer();
    else
        m_observer.armLoadTimer();
}

void Downloader::dropQueueHead(int row)
{
    if (!m_state.baroQueue.empty() && m_state.baroQueue.front() == row)
        m_state.baroQueue.erase(m_state.baroQueue.begin());
}

void Downloader::armTimerIfPending()
{
    if (m_state.hasPendingWork())
        m_observer.armLoadTimer();
}

// A message box runs an event loop of its own: the load timer's ticks come on while it is
// open and must not start the next request behind it.
void Downloader::inform(QStringView text)
{
    ++m_messagesOpen;
    struct Closed {
        int &open;
        ~Closed() { --open; }
    } closed{m_messagesOpen};
    m_prompter.inform(text);
}

void Downloader::ended(TransferMode mode, TransferOutcome outcome)
{
    m_observer.transferEnded(mode, outcome);
}

int Downloader::baroRowNow() const
{
    const int row = m_book.rowOfId(m_baroRowId);
    return row >= 1 ? row : -1;
}

QString Downloader::baroFlightText() const
{
    return cp932::toUnicode(m_baroFlight);
}

// ---- The load timer ---------------------------------------------------------------------

bool Downloader::canDownload(int row) const
{
    if (row < 1 || row >= m_book.rowCount())
        return false;
    const FlightRecord &r = m_book.row(row);
    return r.deviceIndex >= 1 && r.deviceIndex <= protocol::kMaxFlightNumber && !r.hasBarograph() && !r.graphOpen;
}

void Downloader::TimerLoadTimer()
{
    if (isTransferring() || isShowingMessage())
        return; // the timer stays armed; a later tick tries again

    // The load-all sequence. The timer stays armed through its last row, so that the tick
    // after that row's finish opens the windows.
    while (m_state.loadAllNext > 0) {
        if (m_state.loadAllLast <= 0)
            m_state.loadAllLast = m_state.loadAllNext + m_state.flightCount - 1;
        if (m_state.loadAllNext > m_state.loadAllLast) {
            m_state.loadAllNext = 0;
            break;
        }
        const int row = m_state.loadAllNext++;
        if (m_state.loadAllNext > m_state.loadAllLast)
            m_state.loadAllNext = 0;
        if (canDownload(row)) {
            BaroLoad(row);
            return;
        }
    }

    // The queue of the graph command: its head stays queued until its download ends.
    while (!m_state.baroQueue.empty()) {
        const int row = m_state.baroQueue.front();
        if (!canDownload(row)) {
            m_state.baroQueue.erase(m_state.baroQueue.begin());
            continue;
        }
        m_observer.stopLoadTimer();
        BaroLoad(row);
        return;
    }

    m_observer.stopLoadTimer();
    const std::vector<int> rows = std::exchange(m_state.openList, {});
    for (const int row : rows) {
        if (row >= 1 && row < m_book.rowCount() && m_book.row(row).hasBarograph() && !m_book.row(row).graphOpen)
            m_observer.openDownloadedGraph(row);
    }
}
