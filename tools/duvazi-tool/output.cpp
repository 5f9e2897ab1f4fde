// Output helpers.
#include "output.h"

#include "logbook/core/filewriter.h"

#include <cerrno>
#include <cstdio>

namespace {

// The first reason standard output failed: later calls only see its error flag.
int &outputError()
{
    static int error = 0;
    return error;
}

} // namespace

void writeOut(const QByteArray &utf8)
{
    errno = 0;
    if (std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) != size_t(utf8.size()) && !outputError())
        outputError() = errno ? errno : EIO;
}

bool finishOut()
{
    errno = 0;
    if (std::fflush(stdout) != 0 && !outputError())
        outputError() = errno ? errno : EIO;
    if (!outputError() && !std::ferror(stdout))
        return true;
    report(QStringLiteral("出力を書き込めません。\n") + systemReason(outputError() ? outputError() : EIO));
    return false;
}

void report(QStringView message)
{
    const QByteArray text = "duvazi-tool: " + message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}
