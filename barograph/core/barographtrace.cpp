// A flight's barograph in memory.
#include "barographtrace.h"

#include <algorithm>
#include <cmath>

namespace {

// The sample a time falls on: trunc(t + 0.0001) / interval, kept inside the trace.
qint32 sampleAt(const BarographTrace &trace, float t)
{
    const double seconds = std::trunc(double(t) + 0.0001);
    const double index = seconds >= 0 ? std::floor(seconds / trace.interval) : 0.0;
    return qint32(std::min(index, double(trace.sampleCount() - 1)));
}

float interpolated(const BarographTrace &trace, const std::vector<float> &values, float t)
{
    const qint32 i = sampleAt(trace, t);
    if (i >= trace.sampleCount() - 1)
        return values[size_t(i)];
    const float from = values[size_t(i)];
    const float to = values[size_t(i) + 1];
    return from + (to - from) * (t - float(i * trace.interval)) / float(trace.interval);
}

// The sample index of the cursor, as the cuts count it; negative times count as 0.
qint64 cursorSample(const BarographTrace &trace, float cursorTime)
{
    const double seconds = std::trunc(double(cursorTime) + 0.0001);
    return seconds > 0 ? qint64(std::min(seconds, 1e15)) / trace.interval : 0;
}

} // namespace

BarographTrace BarographTrace::fromFile(BarographFile file)
{
    BarographTrace trace;
    trace.interval = file.interval;
    trace.marks = std::move(file.marks);
    trace.altitudes = std::move(file.altitudes);
    trace.deriveVarios();
    return trace;
}

BarographFile BarographTrace::toFile() const
{
    BarographFile file;
    file.interval = interval;
    file.marks = marks;
    file.altitudes = altitudes;
    return file;
}

void BarographTrace::deriveVarios()
{
    const size_t n = altitudes.size();
    varios.assign(n, 0.0f);
    for (size_t i = 0; i + 1 < n; ++i)
        varios[i] = (altitudes[i + 1] - altitudes[i]) / float(interval);
    if (n >= 2)
        varios[n - 1] = varios[n - 2];
}

float BarographTrace::altitudeAt(float t) const
{
    return interpolated(*this, altitudes, t);
}

float BarographTrace::varioAt(float t) const
{
    return interpolated(*this, varios, t);
}

void BarographTrace::cutAfter(qint32 keep)
{
    altitudes.resize(size_t(keep));
    varios.resize(size_t(keep));
    // Counting stops at the first mark at or beyond the cut; marks are ascending.
    const auto firstGone = std::find_if(marks.begin(), marks.end(), [keep](qint32 m) { return m >= keep; });
    marks.erase(firstGone, marks.end());
}

void BarographTrace::cutBefore(qint32 removed)
{
    altitudes.erase(altitudes.begin(), altitudes.begin() + removed);
    varios.erase(varios.begin(), varios.begin() + removed);
    const auto firstKept = std::find_if(marks.begin(), marks.end(), [removed](qint32 m) { return m >= removed; });
    marks.erase(marks.begin(), firstKept);
    for (qint32 &m : marks)
        m -= removed;
}

std::optional<qint32> rightCutKeep(const BarographTrace &trace, float cursorTime)
{
    const qint64 keep = cursorSample(trace, cursorTime) + 1;
    if (keep >= trace.sampleCount() || keep < barofile::kMinSamples)
        return std::nullopt;
    return qint32(keep);
}

std::optional<qint32> leftCutRemove(const BarographTrace &trace, float cursorTime)
{
    const qint64 removed = cursorSample(trace, cursorTime) - 1;
    if (removed <= 0 || removed > trace.sampleCount() - barofile::kMinSamples)
        return std::nullopt;
    return qint32(removed);
}
