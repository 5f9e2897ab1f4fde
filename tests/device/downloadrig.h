// The download procedures on the in-process simulated instrument, with a hand-moved clock:
// no event loop, no waiting. Each test moves time and delivers the instrument's answer.
#pragma once

#include "device/core/downloader.h"
#include "device/core/pacer.h"
#include "device/core/protocol.h"
#include "device/sim/faultylink.h"
#include "device/sim/simulatedinstrument.h"
#include "logbook/core/logbook.h"
#include "tests/common/scriptedprompter.h"

#include <QStringList>
#include <QTemporaryDir>

#include <optional>

using namespace std::chrono_literals;

/// A clock that moves only when told, and the wake-ups asked of it.
class ManualPacer : public Pacer {
public:
    std::chrono::milliseconds t{0};
    std::optional<std::chrono::milliseconds> due;
    std::vector<std::chrono::milliseconds> requested; ///< every pause asked for, in order

    std::chrono::milliseconds now() const override { return t; }
    void wakeAfter(std::chrono::milliseconds delay) override
    {
        requested.push_back(delay);
        due = t + delay;
    }
    void cancelWake() override { due.reset(); }
};

/// Records what the procedures asked of the windows.
class RecordingObserver : public DownloadObserver {
public:
    QStringList events; ///< "rows 3", "row 2", "open 2", "progress <text>", "closeProgress"
    bool timerArmed = false;
    bool progressShown = false;
    std::vector<int> progressValues;
    std::vector<std::pair<TransferMode, TransferOutcome>> ends;
    std::vector<std::pair<int, int>> logProgress; ///< (received, expected) while the log arrives

    void logRowsAppended(int rowCount) override { events << QStringLiteral("rows %1").arg(rowCount); }
    void rowChanged(int row) override { events << QStringLiteral("row %1").arg(row); }
    void openDownloadedGraph(int row) override { events << QStringLiteral("open %1").arg(row); }
    void armLoadTimer() override { timerArmed = true; }
    void stopLoadTimer() override { timerArmed = false; }
    void showProgress(QByteArrayView text) override
    {
        progressShown = true;
        events << QStringLiteral("progress ") + QString::fromLatin1(text);
    }
    void setProgress(int percent) override { progressValues.push_back(percent); }
    void closeProgress() override
    {
        progressShown = false;
        events << QStringLiteral("closeProgress");
    }
    void transferEnded(TransferMode mode, TransferOutcome outcome) override { ends.emplace_back(mode, outcome); }
    void logReceiving(int received, int expected) override { logProgress.emplace_back(received, expected); }

    QStringList opened() const { return events.filter(QStringLiteral("open ")); }
};

struct DownloadRig {
    QTemporaryDir dir;
    LogBook book;
    DownloadState state;
    SimulatedInstrument sim;
    FaultyLink faulty{sim}; ///< what the downloader talks to; passes everything until told to fail
    ManualPacer pacer;
    ScriptedPrompter prompts;
    RecordingObserver observer;
    Downloader downloader;

    explicit DownloadRig(std::vector<SimFlight> flights = {})
        : sim(std::move(flights)),
          downloader(book, state, faulty, pacer, prompts, observer, [] { return QStringLiteral("/dev/ttyTEST"); })
    {
        book.workFolder = dir.path() + u'/';
        sim.clock = [this] { return qint64(pacer.t.count()); };
        faulty.onReceived = [this](int waiting) { downloader.Comm1CommReceive(waiting); };
        faulty.onFailed = [this](const ECommError &e) { downloader.linkFailed(e); };
        faulty.onSent = [this] { downloader.Comm1CommSent(); };
    }

    /// Moves the clock by `step`, running every wake-up that falls due on the way.
    void advance(std::chrono::milliseconds step)
    {
        const auto target = pacer.t + step;
        while (pacer.due && *pacer.due <= target) {
            pacer.t = *pacer.due;
            pacer.due.reset();
            downloader.tick();
        }
        pacer.t = target;
    }

    /// Runs the pauses of a request so it goes out: 200 ms after opening (300 ms of quiet
    /// line after a transfer that did not end cleanly), and for a barograph 500 ms and the
    /// margin after "B".
    void sendRequest() { advance(protocol::kSettleTime + protocol::kPauseBeforeFlightNumber + protocol::kWireMargin); }

    /// A whole log download: start, request, the answer in one go (or in sim.pieceSize pieces).
    void downloadLog()
    {
        downloader.LogLoad();
        sendRequest();
        sim.deliverAll();
    }

    /// Plays the load timer until it stops: each tick, the request's pauses, the answer.
    /// Returns the ticks run.
    int runLoadTimer(int maxTicks = 1000)
    {
        int ticks = 0;
        while (observer.timerArmed && ticks < maxTicks) {
            ++ticks;
            downloader.TimerLoadTimer();
            sendRequest();
            sim.deliverAll();
        }
        return ticks;
    }

    /// Plays a line that carries `bytesPer10ms` bytes every 10 ms while the port is open
    /// (a closed port holds the instrument off), with the load timer ticking every 300 ms
    /// while it is armed, until nothing is left to do or `limit` has passed.
    void runPacedLine(int bytesPer10ms, std::chrono::milliseconds limit = std::chrono::minutes(10))
    {
        sim.pieceSize = bytesPer10ms;
        const auto end = pacer.t + limit;
        auto nextTick = pacer.t;
        while (pacer.t < end && (observer.timerArmed || downloader.isTransferring())) {
            if (observer.timerArmed && pacer.t >= nextTick) {
                downloader.TimerLoadTimer();
                nextTick = pacer.t + std::chrono::milliseconds(300);
            }
            advance(std::chrono::milliseconds(10));
            sim.deliver();
        }
    }

    QString file(const QByteArray &name) const { return dir.path() + u'/' + QString::fromLatin1(name); }
};

/// Three short flights with known barographs: flight 1 at 1 s, 2 at 2 s, 3 at 4 s.
inline std::vector<SimFlight> threeFlights()
{
    std::vector<SimFlight> f(3);
    f[0] = {"240501", "101500", "ASHIO", 1, {12000, 12010, 12030, 12020, 11990}, 100};
    f[1] = {"240502", "113000", "ITAJIKI", 2, {9000, 9100, 9150, 9120, 9000, 8800}, -50};
    f[2] = {"240503", "140500", "HAKUBA", 4, {15000, 15200, 15500, 15100, 14000, 12000, 9000}, 0};
    return f;
}
