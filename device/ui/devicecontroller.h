// The device link as the main window uses it: the port session on the serial component
// Comm1, the progress window of the barograph downloads, the status bar's texts while the
// log arrives and while an upload sends, and the simulated instrument when it is the chosen
// port. The main window owns one controller for the whole run; everything the downloads
// change in the log book and its windows goes through MainFormLink.
#pragma once

#include "device/core/portsession.h"
#include "device/serial/tcomm.h"
#include "device/ui/progresswindow.h"

#include <QObject>
#include <QPointer>

#include <functional>

class MainFormLink;
class QProcess;
class QTimer;

class DeviceController : public QObject, private DownloadObserver {
    Q_OBJECT
public:
    /// `state` and `loadTimer` (TimerLoad) belong to the main window; the session takes
    /// over the timer's timeout. `portDevice` gives the device chosen in the port menu, asked
    /// afresh at every transfer: a device name, or kSimulatorDevice for the simulated
    /// instrument, which the controller then starts beside the program.
    DeviceController(MainFormLink &link, DownloadState &state, QTimer &loadTimer,
                     std::function<QString()> portDevice, QObject *parent = nullptr);
    ~DeviceController() override;

    /// The log download; load all.
    void loadLog();
    void loadAll();

    /// Returns once no upload sends: a message cut in half would make the instrument take
    /// the next one as its rest. Meanwhile a small window over `asker` says what it waits
    /// for; it cannot be closed.
    void waitForUpload(QWidget *asker);
    /// Returns once no download runs or waits (a load-all to its last barograph), with a
    /// small window over `asker` saying so.
    void waitForDownloads(QWidget *asker);
    /// Stops the running download and the rest of a load-all, as the progress window's
    /// Cancel does.
    void cancelDownload() { m_session.cancelDownload(); }

    /// The "TrafficTrace" setting: every byte to and from the instrument is appended to the
    /// file at `path` (empty: none). False when the file cannot be opened.
    bool setTrafficTrace(const QString &path) { return m_session.recordTraffic(path); }

    /// The simulated instrument: its program (empty: duvazi-instrument-sim found beside this
    /// program) and the pace of its answers when it is started, the real line's 480 bytes/s
    /// so the progress window moves as it would with the instrument (0: as fast as it goes).
    QString simulatorProgram;
    int simulatorBytesPerSecond = 480;

    PortSession &session() { return m_session; }
    TComm &Comm1() { return m_comm; }
    Downloader &downloader() { return m_session.downloader(); }
    /// The progress window of the running barograph download (null when none runs).
    TProgress *progressWindow() const { return m_progress; }

signals:
    /// The text for the main window's status bar while the log arrives or an upload sends;
    /// empty when done.
    void statusChanged(const QString &text);
    /// A log download appended its flights to the log book (and redrew the list).
    void logDownloaded();
    /// A downloaded barograph's window was opened.
    void downloadedGraphOpened();
    /// A download started needing the port, or no longer needs it (a load-all once its last
    /// barograph is in).
    void downloadingChanged(bool downloading);

private:
    QString deviceToOpen();
    QString startSimulator();
    void uploadEnded(bool sent);
    /// Looks, once the running command is done, whether a download needs the port, and
    /// says so when that changed.
    void noteDownloading();

    // DownloadObserver
    void logRowsAppended(int rowCount) override;
    void rowChanged(int row) override;
    void openDownloadedGraph(int row) override;
    void armLoadTimer() override;
    void stopLoadTimer() override;
    void showProgress(QByteArrayView flightText) override;
    void setProgress(int percent) override;
    void closeProgress() override;
    void logReceiving(int received, int expected) override;
    void transferEnded(TransferMode mode, TransferOutcome outcome) override;

    MainFormLink &m_link;
    QTimer &m_loadTimer;
    std::function<QString()> m_portDevice;
    TComm m_comm;
    PortSession m_session;
    QPointer<TProgress> m_progress;
    bool m_downloading = false; ///< as last announced
    QProcess *m_simulator = nullptr;
    QString m_simulatorPath;
};
