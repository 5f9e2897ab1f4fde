// The port's one owner.
#include "portsession.h"

#include "device/core/commerror.h"
#include "device/core/messages.h"
#include "logbook/core/prompter.h"

#include <QTimer>

#include <array>
#include <memory>

PortSession::PortSession(SerialLink &link, std::function<QString()> portName, LogBook &book, DownloadState &state,
                         Prompter &prompter, DownloadObserver &observer, QTimer &loadTimer, QObject *parent)
    : QObject(parent),
      m_prompter(prompter),
      m_traffic(link, [this] { return qint64(m_downloadPacer.now().count()); }),
      m_downloader(book, state, m_traffic, m_downloadPacer, prompter, observer, portName),
      m_uploader(m_traffic, m_uploadPacer, portName)
{
    m_traffic.keepEntries = false;
    // Bytes that arrive while an upload sends are the downloads' to drain.
    m_traffic.onReceived = [this](int waiting) {
        runCommand(m_prompter, [&] { m_downloader.Comm1CommReceive(waiting); });
    };
    m_traffic.onSent = [this] {
        if (m_uploader.isRunning())
            m_uploader.sent();
        else
            m_downloader.Comm1CommSent();
    };
    m_traffic.onFailed = [this](const ECommError &error) {
        if (m_uploader.isRunning())
            m_uploader.linkFailed();
        else
            m_downloader.linkFailed(error);
        reportCommError(m_prompter, error);
    };
    m_downloadPacer.onWake = [this] { runCommand(m_prompter, [this] { m_downloader.tick(); }); };
    m_uploadPacer.onWake = [this] { runCommand(m_prompter, [this] { m_uploader.tick(); }); };
    // While an upload holds the port the load timer starts no download; it comes back.
    connect(&loadTimer, &QTimer::timeout, this, [this] {
        if (!m_uploader.isRunning())
            runCommand(m_prompter, [this] { m_downloader.TimerLoadTimer(); });
    });
    m_uploader.onProgress = [this](int percent) { emit uploadProgress(percent); };
    m_uploader.onFinished = [this](Uploader::Outcome outcome) {
        if (outcome == Uploader::Outcome::TimedOut)
            m_prompter.inform(msg::SendTimedOut);
        emit uploadFinished(outcome == Uploader::Outcome::Sent);
    };
}

PortSession::~PortSession()
{
    // Nothing may call back into a half-destroyed session.
    m_traffic.onReceived = nullptr;
    m_traffic.onFailed = nullptr;
    m_traffic.onSent = nullptr;
    m_downloadPacer.onWake = nullptr;
    m_uploadPacer.onWake = nullptr;
    m_uploader.onFinished = nullptr;
    m_uploader.onProgress = nullptr;
    m_traffic.close();
}

bool PortSession::portFreeForDownload()
{
    if (!m_uploader.isRunning())
        return true;
    m_prompter.inform(msg::LoadWhileSending);
    return false;
}

void PortSession::loadLog()
{
    if (portFreeForDownload())
        runCommand(m_prompter, [this] { m_downloader.LogLoad(); });
}

void PortSession::loadAll()
{
    if (portFreeForDownload())
        runCommand(m_prompter, [this] { m_downloader.AllLoad(); });
}

void PortSession::cancelDownload()
{
    runCommand(m_prompter, [this] { m_downloader.cancel(); });
}

bool PortSession::portFreeForUpload()
{
    if (m_uploader.isRunning()) {
        m_prompter.inform(msg::SendWhileSending);
        return false;
    }
    if (m_downloader.needsPort()) {
        m_prompter.inform(msg::SendWhileLoading);
        return false;
    }
    return true;
}

bool PortSession::startUpload(const Uploader::Request &request)
{
    return portFreeForUpload() && runCommand(m_prompter, [&] { m_uploader.start(request); }) && m_uploader.isRunning();
}

bool PortSession::startUpload(const Uploader::Request &request, QObject *listener,
                              std::function<void(int percent)> progress, std::function<void(bool sent)> finished)
{
    // Decided before listening: the refusal's box runs events, and the upload holding the
    // port may end meanwhile; its end is not this request's.
    if (!portFreeForUpload())
        return false;
    auto heard = std::make_shared<std::array<QMetaObject::Connection, 2>>();
    const auto stop = [heard] {
        QObject::disconnect((*heard)[0]);
        QObject::disconnect((*heard)[1]);
    };
    (*heard)[0] = connect(this, &PortSession::uploadProgress, listener, std::move(progress));
    (*heard)[1] = connect(this, &PortSession::uploadFinished, listener, [stop, finished = std::move(finished)](bool sent) {
        stop();
        finished(sent);
    });
    if (runCommand(m_prompter, [&] { m_uploader.start(request); }) && m_uploader.isRunning())
        return true;
    stop();
    return false;
}

bool PortSession::recordTraffic(const QString &path, bool truncate)
{
    m_traffic.setTranscript(nullptr);
    m_trace.close();
    if (path.isEmpty())
        return true;
    m_trace.setFileName(path);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered |
                                     (truncate ? QIODevice::Truncate : QIODevice::Append);
    if (!m_trace.open(mode))
        return false;
    m_traffic.setTranscript(&m_trace);
    return true;
}
