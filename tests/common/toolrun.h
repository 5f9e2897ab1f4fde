// Runs duvazi-tool (DUVAZI_TOOL, set by the test's CMake target) and collects what it said.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct ToolRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(DUVAZI_TOOL), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
