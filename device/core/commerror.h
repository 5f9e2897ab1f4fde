// The serial link's exceptions. Each ends the command that raised it and is shown by the
// one report at the command boundary (reportCommError); none may cross Qt's event loop.
// QtCore only.
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

class Prompter;

/// A failure of the serial link, with its message for the user.
class ECommError : public std::exception {
public:
    explicit ECommError(QString message);
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

/// The port could not be opened. The message is "オープンエラー ErrorCode = %d" followed,
/// on a line of its own, by what the user can do (`advice`, may be empty).
class ECommOpenError : public ECommError {
public:
    explicit ECommOpenError(qint32 errorCode, const QString &advice = QString());
    qint32 ErrorCode;
};

/// A read or write failed. The message is "入出力エラー ErrorCode = %d" followed by
/// `detail` on a line of its own (may be empty).
class ECommReadWriteError : public ECommError {
public:
    explicit ECommReadWriteError(qint32 errorCode, const QString &detail = QString());
    qint32 ErrorCode;
};

/// The one report of a failed command: an error box with the exception's message.
void reportCommError(Prompter &prompter, const std::exception &e);

/// Runs a command at its boundary: an exception it throws is reported and goes no further.
/// Returns false when it threw.
template<typename F>
bool runCommand(Prompter &prompter, F &&command)
{
    try {
        command();
        return true;
    } catch (const std::exception &e) {
        reportCommError(prompter, e);
        return false;
    }
}
