// Sending a settings message.
#include "uploader.h"

#include "device/core/commerror.h"
#include "device/core/linesettings.h"
#include "device/core/pacer.h"
#include "device/core/seriallink.h"

using std::chrono::milliseconds;

namespace {

// The pause goes from "the byte has left the driver" to the next write; the byte itself and
// the timers' jitter take a little of it at the instrument's side.
constexpr milliseconds kMargin{2};

} // namespace

Uploader::Uploader(SerialLink &link, Pacer &pacer, std::function<QString()> portName)
    : m_link(link), m_pacer(pacer), m_portName(std::move(portName))
{
}

void Uploader::start(const Request &request)
{
    if (isRunning())
        return;
    m_request = request;
    m_link.open(m_portName(), instrumentLine());
    m_next = -1;
    if (onProgress)
        onProgress(0);
    write(m_request.command);
}

void Uploader::write(char byte)
{
    m_step = Step::Sending;
    m_pacer.wakeAfter(sendTimeout);
    try {
        m_link.write(QByteArray(1, byte));
    } catch (const ECommError &) {
        finish(Outcome::LinkFailed);
        throw;
    }
}

void Uploader::sent()
{
    if (m_step != Step::Sending)
        return;
    milliseconds pause = m_request.afterByte;
    if (m_next < 0) {
        pause = m_request.afterCommand;
    } else if (onProgress) {
        onProgress(m_next * 100 / int(m_request.message.size()));
    }
    ++m_next;
    m_step = Step::Pausing;
    // A negative delay counts as none.
    m_pacer.wakeAfter(std::max(pause, milliseconds(0)) + kMargin);
}

void Uploader::tick()
{
    switch (m_step) {
    case Step::Idle:
        return;
    case Step::Sending:
        finish(Outcome::TimedOut); // the byte never left: the handshake holds the port
        return;
    case Step::Pausing:
        if (m_next >= m_request.message.size())
            finish(Outcome::Sent);
        else
            write(m_request.message[m_next]);
        return;
    }
}

void Uploader::linkFailed()
{
    if (isRunning())
        finish(Outcome::LinkFailed);
}

void Uploader::cancel()
{
    if (isRunning())
        finish(Outcome::Cancelled);
}

void Uploader::finish(Outcome outcome)
{
    m_step = Step::Idle;
    m_pacer.cancelWake();
    m_link.close();
    if (onFinished)
        onFinished(outcome);
}
