// Downloads at the real line's pace: the simulated instrument (a separate process) sends at
// 480 bytes/s on a pseudo-terminal, the program's procedures receive through TComm.
// Goals: wall time within 5 % of the line's own time for those bytes plus the protocol's
// fixed pauses; the program's CPU time under 2 % of the wall time.
#include "device/core/downloader.h"
#include "device/core/portsession.h"
#include "device/core/protocol.h"
#include "device/serial/tcomm.h"
#include "logbook/core/logbook.h"
#include "logbook/core/prompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

class SilentPrompter : public Prompter {
public:
    Answer ask(QStringView text, QStringView, Buttons, Icon) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return Answer::Ok;
    }
    void inform(QStringView text) override { ask(text, {}, Buttons::Ok, Icon::None); }
    QString chooseOpenFile(QStringView, const QString &) override { return {}; }
    QString chooseSaveFile(QStringView, const QString &) override { return {}; }
    QString chooseSaveFileAmong(const QStringList &, const QString &, int *) override { return {}; }
};

class QuitWhenEnded : public NoWindowsObserver {
public:
    TransferOutcome outcome = TransferOutcome::Done;
    void transferEnded(TransferMode, TransferOutcome o) override
    {
        outcome = o;
        QCoreApplication::quit();
    }
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Figures {
    double wallS = 0;
    double cpuS = 0;
    bool ok = false;
};

// Starts the instrument with `simOptions`, then runs one transfer (`start`) to its end.
template<typename Start>
Figures measure(const QStringList &simOptions, Start &&start)
{
    QProcess sim;
    sim.start(QStringLiteral(DUVAZI_INSTRUMENT_SIM), simOptions);
    if (!sim.waitForReadyRead(10000))
        return {};
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();

    QTemporaryDir dir;
    LogBook book;
    book.workFolder = dir.path() + u'/';
    DownloadState state;
    TComm comm;
    QTimer loadTimer;
    SilentPrompter prompter;
    QuitWhenEnded observer;
    PortSession session(comm, [&] { return port; }, book, state, prompter, observer, loadTimer);

    Figures f;
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    start(session.downloader(), book);
    QCoreApplication::exec();
    f.wallS = double(wall.nsecsElapsed()) / 1e9;
    f.cpuS = cpuSeconds() - cpu0;
    f.ok = observer.outcome == TransferOutcome::Done;
    sim.terminate();
    sim.waitForFinished(5000);
    return f;
}

void print(const char *what, int bytes, double pausesS, const Figures &f)
{
    const double lineS = bytes / 480.0;
    const double expected = lineS + pausesS;
    std::printf("%s: %d bytes, line %.3f s + pauses %.3f s = %.3f s\n", what, bytes, lineS, pausesS, expected);
    std::printf("  wall %8.3f s   %+6.2f %% of the line and pauses (goal within 5 %%)%s\n", f.wallS,
                (f.wallS / expected - 1) * 100, f.ok ? "" : "   TRANSFER FAILED");
    std::printf("  cpu  %8.3f s   %6.2f %% of the wall time (goal under 2 %%)\n", f.cpuS, f.cpuS / f.wallS * 100);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const double afterOpen = protocol::kPauseAfterOpen.count() / 1000.0;
    const double beforeNumber = (protocol::kPauseBeforeFlightNumber + protocol::kWireMargin).count() / 1000.0;

    const Figures log = measure({"--flights", "40"}, [](Downloader &d, LogBook &) { d.LogLoad(); });
    print("log of 40 flights", 2 + 34 * 40, afterOpen, log);

    // Flight 1 of the instrument: 2 hours at 2 s per sample, 3601 samples, fetched as the
    // graph command's queue fetches it.
    const Figures baro =
        measure({"--flights", "0", "--long", "7200:2"}, [](Downloader &d, LogBook &book) {
            FlightRecord &r = book.appendRow();
            r.date = "24/06/15";
            r.time = "11:00:00";
            r.duration = "02:00:00";
            r.deviceIndex = 1;
            d.queueBarograph(1);
            d.TimerLoadTimer();
        });
    print("barograph of 2 hours at 2 s", 16 + 5 * 3601, afterOpen + beforeNumber, baro);
    return 0;
}
