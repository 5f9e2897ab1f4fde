// The one owner of the instrument's port: the traffic recorder around the link, the pacers,
// the downloads and the settings upload. It decides who holds the port (a download waits
// for an upload to end, and an upload for the downloads), runs every event of the link,
// the pacers and the load timer as a command, and reports the upload's progress and end by
// its own signals, so that the upload goes on whatever window started it. The link itself
// (a real port, or a simulator in the tests) is handed in. QtCore only.
#pragma once

#include "device/core/downloader.h"
#include "device/core/timerpacer.h"
#include "device/core/trafficlog.h"
#include "device/core/uploader.h"

#include <QFile>
#include <QObject>

#include <chrono>
#include <functional>

class QTimer;

/// The load timer's interval whenever it is armed.
inline constexpr std::chrono::milliseconds kLoadTimerInterval{300};

class PortSession : public QObject {
    Q_OBJECT
public:
    /// Everything is borrowed and must outlive the session. `portName` gives the device to
    /// open, asked afresh at every transfer. The session takes over `link`'s events and
    /// `loadTimer`'s ticks; `observer` arms and stops the timer.
    PortSession(SerialLink &link, std::function<QString()> portName, LogBook &book, DownloadState &state,
                Prompter &prompter, DownloadObserver &observer, QTimer &loadTimer, QObject *parent = nullptr);
    ~PortSession() override;

    /// The log download; the load-all sequence. Refused with a message while an upload
    /// holds the port; a port that does not open is reported.
    void loadLog();
    void loadAll();
    /// The progress window's Cancel.
    void cancelDownload();

    /// Sends a settings message. Refused with a message while a download runs or waits, or
    /// while another upload sends; false when it did not start (the reason was shown).
    /// Then uploadProgress and uploadFinished follow it; a time-out or a failed link is
    /// said before uploadFinished.
    bool startUpload(const Uploader::Request &request);
    /// The same, with `progress` and `finished` called for this upload only and only while
    /// `listener` lives: a window that closes while it sends hears no more, and the
    /// message goes out whole all the same.
    bool startUpload(const Uploader::Request &request, QObject *listener, std::function<void(int percent)> progress,
                     std::function<void(bool sent)> finished);
    bool isUploading() const { return m_uploader.isRunning(); }

    /// Appends every byte to and from the instrument, with its time, to the file at `path`
    /// (emptied first with `truncate`); empty stops recording. False when the file cannot
    /// be opened (nothing is recorded then).
    bool recordTraffic(const QString &path, bool truncate = false);

    Downloader &downloader() { return m_downloader; }
    Uploader &uploader() { return m_uploader; }
    TrafficLog &traffic() { return m_traffic; }

signals:
    /// Each message byte of the running upload that has left the port: its percentage.
    void uploadProgress(int percent);
    /// The upload ended, the port is closed: whether the whole message went out.
    void uploadFinished(bool sent);

private:
    bool portFreeForDownload();
    /// No other upload sends and no download runs or waits; else says so.
    bool portFreeForUpload();

    Prompter &m_prompter;
    TimerPacer m_downloadPacer;
    TimerPacer m_uploadPacer;
    TrafficLog m_traffic; ///< every transfer goes through it; it writes only with a transcript
    QFile m_trace;
    Downloader m_downloader;
    Uploader m_uploader;
};
