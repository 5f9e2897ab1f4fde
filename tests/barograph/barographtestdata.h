// Test helpers of the barograph tests: traces from literal altitudes and the sample files
// of tests/data/barograph.
#pragma once

#include "barograph/core/barographtrace.h"

#include <QFile>
#include <QString>

#include <vector>

inline BarographTrace traceOf(qint32 interval, std::vector<float> altitudes, std::vector<qint32> marks = {})
{
    BarographFile file;
    file.interval = interval;
    file.altitudes = std::move(altitudes);
    file.marks = std::move(marks);
    return BarographTrace::fromFile(std::move(file));
}

inline QString samplePath(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/barograph/") + QLatin1String(name);
}

inline QByteArray sampleBytes(const char *name)
{
    QFile f(samplePath(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", name);
    return f.readAll();
}

/// The bytes of a file; "<missing>" when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
