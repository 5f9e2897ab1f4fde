// The serial link's exceptions and their one report.
#include "commerror.h"

#include "device/core/messages.h"
#include "logbook/core/prompter.h"

namespace {

QString withDetail(QStringView format, qint32 code, const QString &detail)
{
    QString text = format.toString().arg(code);
    if (!detail.isEmpty())
        text += u'\n' + detail;
    return text;
}

} // namespace

ECommError::ECommError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

ECommOpenError::ECommOpenError(qint32 errorCode, const QString &advice)
    : ECommError(withDetail(msg::CommOpenError, errorCode, advice)), ErrorCode(errorCode)
{
}

ECommReadWriteError::ECommReadWriteError(qint32 errorCode, const QString &detail)
    : ECommError(withDetail(msg::CommReadWriteError, errorCode, detail)), ErrorCode(errorCode)
{
}

void reportCommError(Prompter &prompter, const std::exception &e)
{
    const auto *comm = dynamic_cast<const ECommError *>(&e);
    const QString text = comm ? comm->message() : QString::fromUtf8(e.what());
    prompter.ask(text, msg::ErrorCaption, Prompter::Buttons::Ok, Prompter::Icon::Error);
}
