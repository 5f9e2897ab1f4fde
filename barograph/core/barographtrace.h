// A flight's barograph in memory: the samples of a barograph file and their climb rates,
// with the two cuts that remove ground time. Every other part of the viewer works on it.
// QtCore only.
#pragma once

#include "barograph/core/barographfile.h"

#include <optional>
#include <vector>

struct BarographTrace {
    qint32 interval = 1;          ///< seconds per sample
    std::vector<qint32> marks;    ///< ascending sample indexes, at most 256
    std::vector<float> altitudes; ///< metres
    /// Metres per second towards the next sample; the last entry repeats the one before.
    /// Derived once when loaded and moved, never derived again, by the cuts.
    std::vector<float> varios;

    qint32 sampleCount() const { return qint32(altitudes.size()); }
    qint32 markCount() const { return qint32(marks.size()); }
    /// Seconds from the first to the last sample.
    qint32 flightSeconds() const { return (sampleCount() - 1) * interval; }

    /// A trace of a file that isUsableBarograph() accepted, with its varios derived.
    static BarographTrace fromFile(BarographFile file);
    /// What saving writes: interval, marks and altitudes (the varios are never stored).
    BarographFile toFile() const;

    /// Fills `varios`: (altitudes[i+1] - altitudes[i]) / interval, the last entry a copy
    /// of the one before.
    void deriveVarios();

    /// The altitude and the climb rate at elapsed time t (seconds): with
    /// i = trunc(t + 0.0001) / interval, the value of sample i on or after the last sample,
    /// else interpolated linearly towards sample i + 1. Times before the first sample or
    /// after the last take the first or the last sample's index.
    float altitudeAt(float t) const;
    float varioAt(float t) const;

    /// Keeps the first `keep` samples (2 <= keep <= sampleCount) and the leading marks
    /// below `keep`. The last vario keeps its climb towards the removed sample.
    void cutAfter(qint32 keep);
    /// Removes the first `removed` samples (0 <= removed <= sampleCount - 2): altitudes and
    /// varios move to the front, marks below `removed` are dropped and the others renumbered
    /// so that they name the same samples.
    void cutBefore(qint32 removed);
};

/// The right cut at the cursor: how many samples stay, the cursor's own sample the last
/// (trunc(cursorTime + 0.0001) / interval + 1). std::nullopt when the cut would remove
/// nothing or keep fewer than 2 samples.
std::optional<qint32> rightCutKeep(const BarographTrace &trace, float cursorTime);
/// The left cut at the cursor: how many samples go, the sample just before the cursor's
/// becoming the first (trunc(cursorTime + 0.0001) / interval - 1). std::nullopt when
/// nothing would go or fewer than 2 samples would stay.
std::optional<qint32> leftCutRemove(const BarographTrace &trace, float cursorTime);
