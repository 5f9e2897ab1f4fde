// Sending the instrument one of its settings messages: the command letter, a pause, then the
// message one byte at a time with a pause after each, on the same link and pacer as the
// downloads. Every pause starts when the byte before it has left the port, so that the
// instrument sees at least the pause asked for; the procedure never sleeps: it asks the
// pacer to wake it, and the windows go on working meanwhile. Nothing is read back. QtCore only.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

class Pacer;
class SerialLink;

class Uploader {
public:
    struct Request {
        char command = 0;
        QByteArray message;
        std::chrono::milliseconds afterCommand{0};
        std::chrono::milliseconds afterByte{0};
    };
    enum class Outcome { Sent, TimedOut, LinkFailed, Cancelled };

    Uploader(SerialLink &link, Pacer &pacer, std::function<QString()> portName);

    /// Opens the port and sends the command letter. Throws ECommOpenError (nothing more
    /// happens) when the port does not open, ECommError when the link refuses the byte.
    void start(const Request &request);
    bool isRunning() const { return m_step != Step::Idle; }

    /// The link: everything written so far has left the port.
    void sent();
    /// The pacer: a pause is over, or the wait for a byte to leave has gone on too long.
    void tick();
    /// The link failed on its own (it is closed already).
    void linkFailed();
    void cancel();

    /// Each message byte that has left the port: its percentage (i x 100 / length).
    std::function<void(int percent)> onProgress;
    /// The upload ended; the port is closed.
    std::function<void(Outcome outcome)> onFinished;

    /// How long a byte may wait to leave the port (the handshake holds it) before the upload
    /// is given up.
    std::chrono::milliseconds sendTimeout{10000};

private:
    enum class Step { Idle, Sending, Pausing };

    void write(char byte);
    void finish(Outcome outcome);

    SerialLink &m_link;
    Pacer &m_pacer;
    std::function<QString()> m_portName;
    Request m_request;
    Step m_step = Step::Idle;
    int m_next = 0; ///< the message byte to send next; -1 while the command is on its way
};
