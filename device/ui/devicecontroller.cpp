// The device link's windows.
#include "devicecontroller.h"

#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/ui/progresswindow.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/mainformlink.h"
#include "logbook/ui/questionparent.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

/// Flights the simulated instrument holds when it is chosen in the program.
constexpr int kSimulatorFlights = 6;
/// How long the simulator may take to start and name its terminal.
constexpr int kSimulatorStartMs = 5000;
/// How long "sent" stays in the status bar.
constexpr int kSentShownMs = 3000;

// The simulator's program: installed beside this one, or in the build tree's tools folder.
QString simulatorBesideProgram()
{
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {dir + QStringLiteral("/duvazi-instrument-sim"),
                                     dir + QStringLiteral("/../tools/duvazi-instrument-sim")}) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return dir + QStringLiteral("/duvazi-instrument-sim");
}

// The window of an exit that waits for work on the port (an upload, a download): it says
// so and cannot be closed, since an upload must go out whole and a download's end is what
// the pilot chose to wait for.
class WorkWait : public QDialog {
public:
    WorkWait(QWidget *parent, QStringView text) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    {
        setObjectName(QStringLiteral("WorkWait"));
        markClosesByItself(*this); // it goes when the work ends
        setWindowTitle(msg::Confirm.toString());
        setModal(true);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(text.toString(), this));
        bar = new QProgressBar(this);
        bar->setRange(0, 100);
        layout->addWidget(bar);
    }
    void reject() override {} // Esc and the window's close button
    QProgressBar *bar;
};

} // namespace

DeviceController::DeviceController(MainFormLink &link, DownloadState &state, QTimer &loadTimer,
                                   std::function<QString()> portDevice, QObject *parent)
    : QObject(parent),
      m_link(link),
      m_loadTimer(loadTimer),
      m_portDevice(std::move(portDevice)),
      m_session(m_comm, [this] { return deviceToOpen(); }, link.logBook(), state, link.prompter(), *this, loadTimer)
{
    connect(&m_session, &PortSession::uploadProgress, this,
            [this](int percent) { emit statusChanged(msg::SendingStatus.toString().arg(percent)); });
    connect(&m_session, &PortSession::uploadFinished, this, &DeviceController::uploadEnded);
}

DeviceController::~DeviceController()
{
    delete m_progress;
    if (m_simulator) {
        m_simulator->kill();
        m_simulator->waitForFinished(kSimulatorStartMs);
    }
}

void DeviceController::uploadEnded(bool sent)
{
    if (!sent) {
        emit statusChanged(QString()); // what went wrong was said in a box
        return;
    }
    emit statusChanged(msg::SentStatus.toString());
    QTimer::singleShot(kSentShownMs, this, [this] {
        if (!m_session.isUploading() && !m_session.downloader().isTransferring())
            emit statusChanged(QString());
    });
}

void DeviceController::waitForUpload(QWidget *asker)
{
    if (!m_session.isUploading())
        return;
    WorkWait wait(questionParent(asker), msg::WaitingForSend);
    QEventLoop loop;
    connect(&m_session, &PortSession::uploadProgress, wait.bar, &QProgressBar::setValue);
    connect(&m_session, &PortSession::uploadFinished, &loop, &QEventLoop::quit);
    wait.show();
    loop.exec();
}

void DeviceController::waitForDownloads(QWidget *asker)
{
    if (!downloader().needsPort())
        return;
    WorkWait wait(questionParent(asker), msg::WaitingForLoad);
    wait.bar->setRange(0, 0); // a load-all's length is not known ahead
    QEventLoop loop;
    // The download ends in many ways (done, cancelled, failed, a question answered No):
    // what counts is that it no longer needs the port.
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (!downloader().needsPort())
            loop.quit();
    });
    poll.start(50);
    wait.show();
    loop.exec();
}

QString DeviceController::deviceToOpen()
{
    const QString device = m_portDevice();
    return device == kSimulatorDevice ? startSimulator() : device;
}

// The simulator runs as a program of its own: it makes the pseudo-terminal, prints its path
// and answers there until this program ends (it leaves when its input closes).
QString DeviceController::startSimulator()
{
    if (m_simulator && m_simulator->state() == QProcess::Running)
        return m_simulatorPath;
    delete m_simulator;
    m_simulator = new QProcess(this);
    m_simulator->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString program = simulatorProgram.isEmpty() ? simulatorBesideProgram() : simulatorProgram;
    m_simulator->start(program, {QStringLiteral("--flights"), QString::number(kSimulatorFlights),
                                 QStringLiteral("--bytes-per-second"), QString::number(simulatorBytesPerSecond),
                                 QStringLiteral("--until-input-ends")});
    if (m_simulator->waitForStarted(kSimulatorStartMs)) {
        while (!m_simulator->canReadLine() && m_simulator->waitForReadyRead(kSimulatorStartMs)) {
        }
        m_simulatorPath = QString::fromLocal8Bit(m_simulator->readLine()).trimmed();
    }
    if (m_simulator->state() != QProcess::Running || m_simulatorPath.isEmpty()) {
        const QString why = m_simulator->error() == QProcess::FailedToStart
                                ? QDir::toNativeSeparators(program) + u' ' + m_simulator->errorString()
                                : m_simulator->errorString();
        m_simulator->kill();
        throw ECommOpenError(-1, msg::SimulatorFailed.toString().arg(why));
    }
    return m_simulatorPath;
}

void DeviceController::loadLog()
{
    m_session.loadLog();
    noteDownloading();
}

void DeviceController::loadAll()
{
    m_session.loadAll();
    noteDownloading();
}

void DeviceController::noteDownloading()
{
    // Later, not now: a download's state settles only when the command that changed it
    // (a reply's end, the load timer's tick) has run to its end.
    QTimer::singleShot(0, this, [this] {
        const bool now = downloader().needsPort();
        if (now != m_downloading) {
            m_downloading = now;
            emit downloadingChanged(now);
        }
    });
}

void DeviceController::logRowsAppended(int rowCount)
{
    noteDownloading();
    m_link.setGridRowCount(rowCount);
    m_link.redrawGrid();
    emit logDownloaded();
    m_link.logChanged();
}

void DeviceController::rowChanged(int row)
{
    noteDownloading();
    m_link.refreshRow(row);
    m_link.logChanged();
}

void DeviceController::openDownloadedGraph(int row)
{
    noteDownloading();
    m_link.openGraphWindow(row);
    emit downloadedGraphOpened();
}

void DeviceController::armLoadTimer()
{
    noteDownloading();
    m_loadTimer.start(kLoadTimerInterval);
}

void DeviceController::stopLoadTimer()
{
    noteDownloading();
    m_loadTimer.stop();
}

void DeviceController::showProgress(QByteArrayView flightText)
{
    noteDownloading();
    delete m_progress;
    m_progress = new TProgress(m_link.frameWindow());
    m_progress->setFlightText(cp932::toUnicode(flightText));
    connect(m_progress, &TProgress::cancelled, this, [this] { m_session.cancelDownload(); });
    m_progress->show();
}

void DeviceController::setProgress(int percent)
{
    if (m_progress)
        m_progress->setProgress(percent);
}

void DeviceController::closeProgress()
{
    noteDownloading();
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
    noteDownloading();
    if (mode == TransferMode::Log)
        emit statusChanged(QString());
}
