// The pseudo-terminal server.
#include "ptyinstrument.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <utility>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyInstrument::PtyInstrument(QObject *parent) : QObject(parent)
{
    m_sendTimer = new QTimer(this);
    m_sendTimer->setTimerType(Qt::PreciseTimer);
    m_sendTimer->setSingleShot(true);
    connect(m_sendTimer, &QTimer::timeout, this, &PtyInstrument::sendDue);
}

PtyInstrument::~PtyInstrument()
{
    closeAll();
}

bool PtyInstrument::start()
{
    m_clock.start();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        closeAll();
        return false;
    }
    const char *name = ptsname(m_master);
    m_path = QString::fromLocal8Bit(name);
    // Hold the terminal open ourselves: with no process on it, the master side reports a
    // hang-up on every poll and the notifier would spin. We never read from this handle.
    m_slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slaveKeeper < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        closeAll();
        return false;
    }
    // Raw, without echo: otherwise the terminal would send our answers back to us.
    termios tio;
    tcgetattr(m_slaveKeeper, &tio);
    cfmakeraw(&tio);
    tcsetattr(m_slaveKeeper, TCSANOW, &tio);

    m_readNotifier = new QSocketNotifier(qintptr(m_master), QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyInstrument::readHost);
    return true;
}

PtyInstrument::HostLine PtyInstrument::hostLine() const
{
    HostLine line;
    termios tio;
    if (m_slaveKeeper < 0 || tcgetattr(m_slaveKeeper, &tio) != 0)
        return line;
    static const std::pair<speed_t, int> speeds[] = {{B1200, 1200}, {B2400, 2400},   {B4800, 4800},
                                                    {B9600, 9600}, {B19200, 19200}, {B38400, 38400},
                                                    {B57600, 57600}, {B115200, 115200}};
    for (const auto &[code, rate] : speeds) {
        if (cfgetospeed(&tio) == code)
            line.baudRate = rate;
    }
    switch (tio.c_cflag & CSIZE) {
    case CS5: line.dataBits = 5; break;
    case CS6: line.dataBits = 6; break;
    case CS7: line.dataBits = 7; break;
    default: line.dataBits = 8; break;
    }
    line.parity = tio.c_cflag & PARENB;
    line.twoStopBits = tio.c_cflag & CSTOPB;
    line.rtsCts = tio.c_cflag & CRTSCTS;
    return line;
}

void PtyInstrument::readHost()
{
    char buffer[512];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n <= 0)
        return;
    const QByteArray bytes(buffer, qsizetype(n));
    engine.hostSent(bytes, elapsedMs());
    emit hostBytes(bytes);
    scheduleSend();
}

void PtyInstrument::scheduleSend()
{
    if (!m_sendTimer->isActive() && (engine.hasOutput() || !m_unsent.isEmpty()))
        m_sendTimer->start(0);
}

// Sends what the pace allows by now, then sleeps until the next byte is due.
void PtyInstrument::sendDue()
{
    if (m_master < 0)
        return;
    const qint64 now = elapsedMs();
    if (m_burstStartMs < 0) {
        m_burstStartMs = now;
        m_burstSent = 0;
    }
    qint64 allowed = bytesPerSecond > 0 ? (now - m_burstStartMs) * bytesPerSecond / 1000 - m_burstSent + 1
                                        : qint64(1) << 20;
    if (pieceSize > 0)
        allowed = std::min<qint64>(allowed, pieceSize);
    if (allowed > 0) {
        if (m_unsent.size() < allowed)
            m_unsent += engine.takeOutput(int(allowed - m_unsent.size()));
        if (engine.hasHungUp()) {
            hangUp();
            return;
        }
        const ssize_t written = m_unsent.isEmpty() ? 0 : ::write(m_master, m_unsent.constData(), size_t(m_unsent.size()));
        if (written > 0) {
            m_unsent.remove(0, written);
            m_burstSent += written;
        }
    }
    if (!engine.hasOutput() && m_unsent.isEmpty()) {
        m_burstStartMs = -1; // the next answer starts a new burst
        return;
    }
    int waitMs = 1;
    if (bytesPerSecond > 0) {
        // A UART's FIFO or a USB adapter hands bytes over every few milliseconds, not one
        // by one; 10 ms pieces keep the pace exact without waking the host per byte.
        const qint64 nextDue = m_burstStartMs + (m_burstSent + 1) * 1000 / bytesPerSecond;
        waitMs = int(std::max<qint64>(10, nextDue - elapsedMs()));
    }
    if (pieceSize > 0)
        waitMs = std::max(waitMs, 2); // give the host time to take each piece on its own
    m_sendTimer->start(waitMs);
}

void PtyInstrument::hangUp()
{
    const bool wasOpen = m_master >= 0;
    closeAll();
    if (wasOpen)
        emit hungUp();
}

void PtyInstrument::closeAll()
{
    m_sendTimer->stop();
    delete m_readNotifier;
    m_readNotifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    m_master = -1;
    m_slaveKeeper = -1;
}
