// The device link's commands.
#include "devicecontroller.h"

#include "device/core/commerror.h"
#include "device/core/downloadwiring.h"
#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/ui/progresswindow.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/mainformlink.h"

#include <QTimer>

#ifdef Q_OS_UNIX
#include "device/sim/ptyinstrument.h"
#endif

namespace {
/// Flights the simulated instrument holds when it is chosen in the program.
constexpr int kSimulatorFlights = 6;
} // namespace

DeviceController::DeviceController(MainFormLink &link, DownloadState &state, QTimer &loadTimer,
                                   std::function<QString()> portDevice, QObject *parent)
    : QObject(parent),
      m_link(link),
      m_loadTimer(loadTimer),
      m_portDevice(std::move(portDevice)),
      m_traffic(m_comm, [this] { return qint64(m_pacer.now().count()); }),
      m_downloader(link.logBook(), state, m_traffic, m_pacer, link.prompter(), *this, [this] { return deviceToOpen(); }),
      m_uploader(m_traffic, m_uploadPacer, [this] { return deviceToOpen(); })
{
    m_traffic.keepEntries = false;
    m_timerConnection = connectDownloader(m_downloader, m_traffic, m_pacer, m_loadTimer, link.prompter());
    // The port is one: while an upload holds it, its events are the upload's, and the load
    // timer starts no download.
    const auto toDownloads = std::move(m_traffic.onSent);
    m_traffic.onSent = [this, toDownloads] {
        if (m_uploader.isRunning())
            m_uploader.sent();
        else if (toDownloads)
            toDownloads();
    };
    const auto failedDownloads = std::move(m_traffic.onFailed);
    m_traffic.onFailed = [this, failedDownloads](const ECommError &error) {
        if (!m_uploader.isRunning()) {
            if (failedDownloads)
                failedDownloads(error);
            return;
        }
        m_uploader.linkFailed();
        reportCommError(m_link.prompter(), error);
    };
    QObject::disconnect(m_timerConnection);
    m_timerConnection = connect(&m_loadTimer, &QTimer::timeout, this, [this] {
        if (!m_uploader.isRunning())
            runCommand(m_link.prompter(), [this] { m_downloader.TimerLoadTimer(); });
    });
    m_uploadPacer.onWake = [this] { runCommand(m_link.prompter(), [this] { m_uploader.tick(); }); };
}

bool DeviceController::portFreeForDownload()
{
    if (!m_uploader.isRunning())
        return true;
    m_link.prompter().inform(msg::LoadWhileSending);
    return false;
}

bool DeviceController::startUpload(const Uploader::Request &request, std::function<void(int percent)> progress,
                                   std::function<void(bool sent)> finished)
{
    if (m_uploader.isRunning())
        return false;
    if (m_downloader.needsPort()) {
        m_link.prompter().inform(msg::SendWhileLoading);
        return false;
    }
    m_uploader.onProgress = std::move(progress);
    m_uploader.onFinished = [this, finished = std::move(finished)](Uploader::Outcome outcome) {
        if (outcome == Uploader::Outcome::TimedOut)
            m_link.prompter().inform(msg::SendTimedOut);
        finished(outcome == Uploader::Outcome::Sent);
    };
    return runCommand(m_link.prompter(), [&] { m_uploader.start(request); });
}

bool DeviceController::setTrafficTrace(const QString &path)
{
    m_traffic.setTranscript(nullptr);
    m_trace.close();
    if (path.isEmpty())
        return true;
    m_trace.setFileName(path);
    if (!m_trace.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    m_traffic.setTranscript(&m_trace);
    return true;
}

DeviceController::~DeviceController()
{
    // Nothing may call back into a half-destroyed controller.
    m_traffic.onReceived = nullptr;
    m_traffic.onFailed = nullptr;
    m_traffic.onSent = nullptr;
    m_pacer.onWake = nullptr;
    m_uploadPacer.onWake = nullptr;
    m_uploader.onFinished = nullptr;
    m_uploader.onProgress = nullptr;
    QObject::disconnect(m_timerConnection);
    m_comm.close();
    delete m_progress;
}

void DeviceController::MenuLogLoadClick()
{
    if (portFreeForDownload())
        runCommand(m_link.prompter(), [this] { m_downloader.LogLoad(); });
}

void DeviceController::MenuAllLoadClick()
{
    if (portFreeForDownload())
        runCommand(m_link.prompter(), [this] { m_downloader.AllLoad(); });
}

QString DeviceController::deviceToOpen()
{
    const QString device = m_portDevice();
    if (device != kSimulatorDevice)
        return device;
#ifdef Q_OS_UNIX
    if (!m_simulator) {
        auto simulator = std::make_unique<PtyInstrument>();
        simulator->engine.flights = demoFlights(kSimulatorFlights);
        simulator->bytesPerSecond = simulatorBytesPerSecond;
        if (!simulator->start())
            throw ECommOpenError(-1, msg::SimulatorFailed.toString().arg(simulator->errorString()));
        m_simulator = std::move(simulator);
    }
    return m_simulator->path();
#else
    throw ECommOpenError(-1, msg::SimulatorFailed.toString().arg(QStringLiteral("no pseudo-terminals")));
#endif
}

void DeviceController::logRowsAppended(int rowCount)
{
    m_link.setGridRowCount(rowCount);
    m_link.redrawGrid();
    m_link.logDownloadDone();
    m_link.logChanged();
}

void DeviceController::rowChanged(int row)
{
    m_link.refreshRow(row);
    m_link.logChanged();
}

void DeviceController::openDownloadedGraph(int row)
{
    m_link.openGraphWindow(row);
    m_link.downloadedGraphOpened();
}

void DeviceController::armLoadTimer()
{
    m_loadTimer.start(kLoadTimerInterval);
}

void DeviceController::stopLoadTimer()
{
    m_loadTimer.stop();
}

void DeviceController::showProgress(QByteArrayView flightText)
{
    delete m_progress;
    m_progress = new TProgress(m_link.frameWindow());
    m_progress->setFlightText(cp932::toUnicode(flightText));
    connect(m_progress, &TProgress::cancelled, this,
            [this] { runCommand(m_link.prompter(), [this] { m_downloader.cancel(); }); });
    m_progress->show();
}

void DeviceController::setProgress(int percent)
{
    if (m_progress)
        m_progress->setProgress(percent);
}

void DeviceController::closeProgress()
{
    // Not close(): a dialog's close goes through reject(), which here means Cancel.
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
    m_progress = nullptr;
}

void DeviceController::logReceiving(int received, int expected)
{
    if (received == 0)
        emit statusChanged(msg::LogWaiting.toString());
    else if (expected > 0)
        emit statusChanged(msg::LogReceivingOf.toString().arg(received).arg(expected));
    else
        emit statusChanged(msg::LogReceiving.toString().arg(received));
}

void DeviceController::transferEnded(TransferMode mode, TransferOutcome)
{
    if (mode == TransferMode::Log)
        emit statusChanged(QString());
}
