// A debrief of a flight from its altitude trace alone: where it left and regained the
// ground, every climb with its strength, and how the flying time divides between climb
// rates. The instrument records no position, so climbs are found from the altitude as a
// pilot reads them off the barograph: sustained gain over tens of seconds, not the turning
// of a track. Every threshold is in seconds and metres, never in samples, so one flight
// recorded at 1, 2 or 4 s gives the same climbs. QtCore only.
#pragma once

#include <QtGlobal>

#include <optional>
#include <vector>

struct BarographTrace;

struct Climb {
    double start = 0;        ///< seconds from the first sample: the base of the climb
    double end = 0;          ///< seconds from the first sample: its top
    float baseAltitude = 0;  ///< metres, smoothed over a few seconds
    float topAltitude = 0;
    float gain = 0;          ///< topAltitude - baseAltitude
    float meanClimb = 0;     ///< gain / (end - start), m/s
    float bestClimb30s = 0;  ///< the best 30 s inside the climb, m/s
    float heightLost = 0;    ///< metres given up in the dips inside it (each of 2 m or more)

    double duration() const { return end - start; }
};

/// The flying time spent at each climb rate, in 0.5 m/s bins [from, to) between -20 and
/// +20 m/s; a faster rate (a glitch, a dropped instrument) is counted in the bin at that end.
struct RateBin {
    float from = 0;
    float to = 0;
    double seconds = 0;
};

struct FlightAnalysis {
    std::optional<double> takeoff; ///< seconds from the first sample; none when the trace starts in the air
    std::optional<double> landing; ///< seconds from the first sample; none when it ends in the air
    std::vector<Climb> climbs;     ///< in time order, never overlapping
    double flyingSeconds = 0;      ///< from take-off (or the first sample) to landing (or the last)
    double climbingShare = 0;      ///< the climbs' time over the flying time, 0 to 1
    double totalClimb = 0;         ///< the climbs' gains added up, metres
    float bestClimb30s = 0;        ///< the best 30 s of the flight, m/s
    float maxSink30s = 0;          ///< the strongest 30 s of sink, as a (negative) climb rate, m/s
    std::vector<RateBin> histogram; ///< ascending, contiguous from the lowest bin to the highest
};

/// Analyses `altitudes` (metres) sampled every `interval` seconds (at least 1).
FlightAnalysis analyseFlight(const std::vector<float> &altitudes, qint32 interval);
FlightAnalysis analyseFlight(const BarographTrace &trace);
