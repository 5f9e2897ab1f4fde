// The verbs of duvazi-tool. Each returns the process exit code: 0 done, 1 the input could
// not be used (message on standard error), 2 wrong usage.
#pragma once

#include <QStringList>

int logShow(const QStringList &args);
int logCopy(const QStringList &args);
int logSort(const QStringList &args);
int logMerge(const QStringList &args);
int baroStats(const QStringList &args);
int baroRender(const QStringList &args);
