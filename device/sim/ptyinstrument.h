// The simulated instrument on a pseudo-terminal: the program opens the terminal's path like
// any serial port and talks to it through the real serial link. Runs on the thread's event
// loop (no thread of its own). POSIX only. QtCore only.
#pragma once

#include "device/sim/instrumentengine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

class PtyInstrument : public QObject {
    Q_OBJECT
public:
    explicit PtyInstrument(QObject *parent = nullptr);
    ~PtyInstrument() override;

    InstrumentEngine engine;
    /// Bytes per second the answers go out at; 0 sends them as fast as the terminal takes
    /// them. The instrument's line carries 480 bytes/s.
    int bytesPerSecond = 480;
    /// Largest piece written at once (0: no limit); small pieces make the host receive the
    /// answer in many small notifications.
    int pieceSize = 0;

    /// Creates the pseudo-terminal. Returns false (see errorString()) when it cannot.
    bool start();
    /// The path the host opens, e.g. "/dev/pts/3". Empty before start().
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }
    /// Closes the terminal: the host's port sees the line go dead.
    void hangUp();
    /// The line as the host set it on the terminal (speed, framing, handshake).
    struct HostLine {
        int baudRate = 0;
        int dataBits = 0;
        bool parity = false;
        bool twoStopBits = false;
        bool rtsCts = false;
    };
    HostLine hostLine() const;
    /// Milliseconds since start().
    qint64 elapsedMs() const { return m_clock.elapsed(); }
    /// Microseconds since start(), for measuring the host's pauses.
    qint64 elapsedUs() const { return m_clock.nsecsElapsed() / 1000; }

signals:
    /// The host sent bytes (already given to the engine).
    void hostBytes(const QByteArray &bytes);
    /// The line went dead (hang-up requested or reached).
    void hungUp();

private:
    void readHost();
    void sendDue();
    void scheduleSend();
    void closeAll();

    int m_master = -1;
    int m_slaveKeeper = -1; ///< our own handle on the terminal, so it lives with no host on it
    QString m_path;
    QString m_error;
    QSocketNotifier *m_readNotifier = nullptr;
    QTimer *m_sendTimer = nullptr;
    QElapsedTimer m_clock;
    qint64 m_burstStartMs = -1; ///< when the current answer began to go out
    qint64 m_burstSent = 0;     ///< bytes of it sent since then
    QByteArray m_unsent;        ///< taken from the engine, refused by a full terminal
};
