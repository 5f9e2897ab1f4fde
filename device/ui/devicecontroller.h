// The device link's commands as the main window gives them: the log download, load all,
// the load timer's ticks and the progress window, on the serial component Comm1. The main
// window owns one controller for the whole run; everything the downloads change in the
// log book and its windows goes through MainFormLink.
#pragma once

#include "device/core/downloader.h"
#include "device/core/uploader.h"
#include "device/core/timerpacer.h"
#include "device/serial/tcomm.h"
#include "device/sim/trafficlog.h"
#include "device/ui/progresswindow.h"

#include <QFile>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class MainFormLink;
class PtyInstrument;
class QTimer;

class DeviceController : public QObject, private DownloadObserver {
    Q_OBJECT
public:
    /// `state` and `loadTimer` (TimerLoad) belong to the main window; the controller takes
    /// over the timer's timeout. `portDevice` gives the device chosen in the port menu, asked
    /// afresh at every transfer: a device name, or kSimulatorDevice for the simulated
    /// instrument, which the controller then starts inside the program.
    DeviceController(MainFormLink &link, DownloadState &state, QTimer &loadTimer,
                     std::function<QString()> portDevice, QObject *parent = nullptr);
    ~DeviceController() override;

    /// MenuLogLoad "ﾛｸﾞﾃﾞｰﾀのﾛｰﾄﾞ(&L)".
    void MenuLogLoadClick();
    /// MenuAllLoad "全てのﾃﾞｰﾀのﾛｰﾄﾞ(&D)".
    void MenuAllLoadClick();

    /// Sends a settings message on the same port. Refused with a message while a download
    /// runs or waits; false when it did not start (the reason was shown). Then `progress`
    /// and `finished` follow it; a time-out or a failed link is said before `finished`.
    bool startUpload(const Uploader::Request &request, std::function<void(int percent)> progress,
                     std::function<void(bool sent)> finished);
    Uploader &uploader() { return m_uploader; }

    /// Appends every byte to and from the instrument, with its time, to the file at `path`
    /// (the "TrafficTrace" setting); empty stops recording. Returns false when the file
    /// cannot be opened (nothing is recorded then).
    bool setTrafficTrace(const QString &path);

    /// The pace of the simulated instrument when it is started: the real line's 480 bytes/s,
    /// so the progress window moves as it would with the instrument (0: as fast as it goes).
    int simulatorBytesPerSecond = 480;

    TComm &Comm1() { return m_comm; }
    Downloader &downloader() { return m_downloader; }
    /// The progress window of the running barograph download (null when none runs).
    TProgress *progressWindow() const { return m_progress; }
    /// The simulated instrument, once it has been started by a transfer (null before, and
    /// where pseudo-terminals do not exist).
    PtyInstrument *simulator() const { return m_simulator.get(); }

signals:
    /// The text for the main window's status bar while the log arrives; empty when done.
    void statusChanged(const QString &text);

private:
    QString deviceToOpen();
    /// A download may start now: no upload holds the port (said when one does).
    bool portFreeForDownload();

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
    TimerPacer m_pacer;
    TrafficLog m_traffic; ///< every transfer goes through it; it writes only with a transcript
    QFile m_trace;
    Downloader m_downloader;
    TimerPacer m_uploadPacer;
    Uploader m_uploader;
    QPointer<TProgress> m_progress;
    std::unique_ptr<PtyInstrument> m_simulator;
    QMetaObject::Connection m_timerConnection;
};
