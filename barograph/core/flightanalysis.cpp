// A debrief of a flight from its altitude trace alone.
//
// The ground: on the ground the instrument reads one altitude but for sensor noise (a few
// tenths of a metre, and a whole metre's rounding either way), the weather (metres per
// hour) and the pilot's feet: walking down a landing field or a launch slope moves it at
// most 0.3 m/s, evenly. In the air it is never so: a glide sinks 0.7 m/s or more, and where
// the air lifts enough to hold a pilot level it is rough, each turn through a thermal
// surging by metres. So ten seconds whose altitude stays within 2 m of a line no steeper
// than 0.3 m/s are ground, enough to tell it (a sailplane rolling out on its wheel reads a
// metre high and low as its speed falls). A shorter break in it across which the altitude
// moved no faster than walking, measured between the middles of the ground on either side
// (laying out the wing, a few running steps, a steeper step down the slope), is still
// ground; a flight is a minute or more without ground, or a break across which the altitude
// moved as only flying moves it. A pilot sets down level or sinking, never rising: ground
// the altitude climbed onto is lift near a hill top, and the landing is the next stretch of
// ground after it. What the altitude cannot tell: a pilot skimming a hill top level within a
// metre or two for as long as a stretch of ground lasts, before setting down, reads as
// ground. Take-off is where the ground before the first flight ends, landing where the
// ground after the last begins. A log that starts or ends in the air has none there.
//
// The climbs: a climb runs from where the altitude turns up to where it turns down for
// good, told by height, not by seconds. Leaving the core for a turn and finding it again
// costs a pilot up to 15 m (ten seconds in the sink beside it at 1.5 m/s); a glide to the
// next thermal loses 20 m within its first twenty seconds at a paraglider's sink of 1 m/s
// and more. So a fall of more than 17 m below the top ends a climb and a smaller one is a
// dip inside it (17, not 20: sampled every 4 s, a dip looks up to 2 m shallower than it
// was). A pilot level for two minutes has left the lift or soars a ridge: that ends the
// climb too. Its ends are then moved off the level stretches at its foot and top, to where
// the altitude really turns. A rise that gains 30 m over 30 s or more (one thermalling
// turn) is a climb; a bump of lift in a glide gains less.
#include "flightanalysis.h"

#include "barograph/core/barographtrace.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kGroundWindow = 10;  ///< s: enough ground to tell it from flight
constexpr int kGroundWindowMin = 4;   ///< samples: a line through fewer fits anything
constexpr float kGroundDrift = 0.3f;  ///< m/s: the fastest a walking pilot's altitude moves
constexpr float kGroundSpread = 2.0f; ///< m: a metre's rounding, sensor noise and footsteps about that line
constexpr double kFlightMin = 60;     ///< s: the least flying between two stretches of ground
constexpr float kJoinLoss = 17.0f;    ///< m: a smaller fall below the top is a dip in the climb
constexpr double kLevelMax = 120;     ///< s: level for longer, the climb has ended
constexpr float kLevelStep = 2.0f;    ///< m: less gain than this is level, not climbing
constexpr double kMinClimbSeconds = 30; ///< s: one thermalling turn
constexpr float kMinClimbGain = 30;   ///< m
constexpr double kSmoothHalf = 2;     ///< s: each side of the smoothed altitude
constexpr float kDipDepth = 2.0f;     ///< m: a smaller fall inside a climb is noise
constexpr double kBestWindow = 30;    ///< s: best climb and strongest sink
constexpr double kHistogramHalf = 5;  ///< s: each side of the rate the histogram counts
constexpr float kBin = 0.5f;          ///< m/s
constexpr float kRateBound = 20.0f;   ///< m/s: no glider climbs or sinks faster; beyond counts at the ends

class Analyser {
public:
    Analyser(const std::vector<float> &altitudes, qint32 interval)
        : h(altitudes), n(int(altitudes.size())), dt(std::max<qint32>(1, interval))
    {
        prefix.resize(size_t(n) + 1);
        for (int i = 0; i < n; ++i)
            prefix[size_t(i) + 1] = prefix[size_t(i)] + double(h[size_t(i)]);
    }

    FlightAnalysis run()
    {
        FlightAnalysis result;
        if (n < 2)
            return result;
        if (!findGround(result))
            return result; // never in the air
        const int first = result.takeoff ? int(std::lround(*result.takeoff / dt)) : 0;
        const int last = result.landing ? int(std::lround(*result.landing / dt)) : n - 1;
        if (last - first < 2)
            return result;
        result.flyingSeconds = double(last - first) * dt;
        findClimbs(first, last, result);
        double climbing = 0;
        for (const Climb &c : result.climbs) {
            climbing += c.duration();
            result.totalClimb += double(c.gain);
        }
        result.climbingShare = climbing / result.flyingSeconds;
        const auto [best, sink] = extremeRates(first, last);
        result.bestClimb30s = best;
        result.maxSink30s = sink;
        fillHistogram(first, last, result);
        return result;
    }

private:
    /// Samples in `seconds`, at least one.
    int samples(double seconds) const { return std::max(1, int(std::lround(seconds / dt))); }

    /// The mean altitude of samples [from, to), clamped to the trace.
    double mean(int from, int to) const
    {
        from = std::clamp(from, 0, n - 1);
        to = std::clamp(to, from + 1, n);
        return (prefix[size_t(to)] - prefix[size_t(from)]) / double(to - from);
    }

    float smoothed(int i) const
    {
        const int k = int(kSmoothHalf / dt);
        return float(mean(i - k, i + k + 1));
    }

    /// The climb rate over `half` samples each side of i (one-sided at the ends).
    float rate(int i, int half, int first, int last) const
    {
        const int from = std::max(first, i - half);
        const int to = std::min(last, i + half);
        return to > from ? (h[size_t(to)] - h[size_t(from)]) / float((to - from) * dt) : 0.0f;
    }

    /// The least-squares line through the samples [from, from + count).
    struct Line {
        double at0 = 0;  ///< metres at the first sample
        double slope = 0; ///< metres a sample
        double at(int k) const { return at0 + slope * k; }
    };
    Line fit(int from, int count) const
    {
        const double mid = (count - 1) / 2.0;
        const double meanH = (prefix[size_t(from + count)] - prefix[size_t(from)]) / count;
        double sxy = 0, sxx = 0;
        for (int k = 0; k < count; ++k) {
            sxy += (k - mid) * (double(h[size_t(from + k)]) - meanH);
            sxx += (k - mid) * (k - mid);
        }
        const double slope = sxy / sxx;
        return {meanH - slope * mid, slope};
    }

    /// Whether the samples [from, from + count) are ground: within kGroundSpread of their
    /// least-squares line, which is no steeper than kGroundDrift.
    bool isGround(int from, int count) const
    {
        const Line line = fit(from, count);
        if (std::abs(line.slope) > double(kGroundDrift) * dt)
            return false;
        double low = 0, high = 0;
        for (int k = 0; k < count; ++k) {
            const double off = double(h[size_t(from + k)]) - line.at(k);
            low = std::min(low, off);
            high = std::max(high, off);
        }
        return high - low <= double(kGroundSpread);
    }

    /// Whether the altitude rose onto sample `at` over the kGroundWindow before it by more than
    /// kGroundSpread: a pilot sets down level or sinking, never rising.
    bool reachedClimbing(int at) const
    {
        float lowest = h[size_t(at)];
        for (int k = std::max(0, at - samples(kGroundWindow)); k < at; ++k)
            lowest = std::min(lowest, h[size_t(k)]);
        return h[size_t(at)] - lowest > kGroundSpread;
    }

    /// The last sample of the ground window [from, from + count) seen from `step`'s side
    /// that still lies on its line: the window may already hold the first metre or two of
    /// the flight leaving it, which is not ground.
    int groundEdge(int from, int count, int step) const
    {
        const Line line = fit(from, count);
        int k = step > 0 ? count - 1 : 0;
        while (k != (step > 0 ? 0 : count - 1) && std::abs(double(h[size_t(from + k)]) - line.at(k)) > double(kGroundSpread) / 2)
            k -= step;
        return from + k;
    }

    /// The ground at one end of the trace (`step` +1 from the first sample, -1 from the last):
    /// the last sample of it, nullopt when the trace starts (ends) in the air; false when the
    /// trace holds no flight. Ground goes on across a stretch without it shorter than
    /// kFlightMin over which the altitude moved no faster than a walking pilot.
    std::optional<std::optional<int>> groundAtEnd(int step) const
    {
        const int window = std::max(kGroundWindowMin, samples(kGroundWindow));
        if (n < window)
            return std::nullopt;
        const int flight = samples(kFlightMin);
        const auto ground = [&](int i) { // the window ending (starting) at i, from the end
            const int from = step > 0 ? i : i - window + 1;
            return from >= 0 && from + window <= n && isGround(from, window);
        };
        const auto level = [&](int i) { return step > 0 ? mean(i - window + 1, i + 1) : mean(i, i + window); };
        const int start = step > 0 ? 0 : n - 1;
        if (!ground(start))
            return std::optional<int>{};
        int groundEnd = start + step * (window - 1);
        // Where each stretch of ground after the first began, seen from the end: the landing
        // moves back to the next of them when the flight reached the one before it climbing.
        std::vector<int> stretches;
        const auto edge = [&] {
            int at = groundEdge(step > 0 ? groundEnd - window + 1 : groundEnd, window, step);
            while (step < 0 && !stretches.empty() && reachedClimbing(at)) {
                at = groundEdge(stretches.back(), window, step);
                stretches.pop_back();
            }
            return at;
        };
        for (int i = start + step; i >= 0 && i < n; i += step) {
            if (ground(i)) {
                const int end = i + step * (window - 1);
                const int apart = step * (i - groundEnd) + window - 1; // samples between the two windows' middles
                if (std::abs(level(end) - level(groundEnd)) > double(kGroundDrift) * apart * dt + double(kGroundSpread))
                    return edge(); // over the gap the altitude moved as only a flight moves it
                if (step * (i - groundEnd) > 0)
                    stretches.push_back(groundEnd);
                groundEnd = end;
            } else if (step * (i - groundEnd) >= flight) {
                return edge();
            }
        }
        return std::nullopt;
    }

    /// Sets take-off and landing where the ground is seen; false when the trace never leaves it.
    bool findGround(FlightAnalysis &result) const
    {
        const auto before = groundAtEnd(+1);
        const auto after = groundAtEnd(-1);
        if (!before || !after)
            return false;
        if (*before)
            result.takeoff = double(**before) * dt;
        if (*after && (!result.takeoff || **after * dt > *result.takeoff))
            result.landing = double(**after) * dt;
        return true;
    }

    void findClimbs(int first, int last, FlightAnalysis &result) const
    {
        std::vector<float> s(size_t(last - first + 1));
        for (int i = first; i <= last; ++i)
            s[size_t(i - first)] = smoothed(i);
        const auto at = [&](int i) { return s[size_t(i - first)]; };
        const int level = samples(kLevelMax);
        // The lowest point since the last climb ended, the highest since, and where the
        // altitude last gained kLevelStep.
        int trough = first, peak = first, rise = first;
        float riseFrom = at(first);
        for (int i = first + 1; i <= last + 1; ++i) {
            const bool end = i > last;
            if (!end && at(i) > at(peak)) {
                peak = i;
                if (at(i) >= riseFrom + kLevelStep) {
                    rise = i;
                    riseFrom = at(i);
                }
            }
            if (end || at(peak) - at(i) > kJoinLoss || i - rise > level) {
                addClimb(trough, peak, at, result);
                if (end)
                    break;
                trough = peak;
                for (int k = peak + 1; k <= i; ++k)
                    trough = at(k) <= at(trough) ? k : trough;
                peak = rise = trough;
                riseFrom = at(trough);
                continue;
            }
            if (at(i) < at(trough)) {
                trough = peak = rise = i;
                riseFrom = at(i);
            }
        }
    }

    /// Adds the rise from `trough` to `peak` as a climb if it is one, its ends moved to where
    /// the altitude really turns: off the level stretches (within kLevelStep) at its foot and top.
    template <typename At>
    void addClimb(int trough, int peak, const At &at, FlightAnalysis &result) const
    {
        int base = trough, top = peak;
        for (int k = trough; k < peak; ++k)
            base = at(k) <= at(trough) + kLevelStep ? k : base;
        while (top > base && at(top - 1) >= at(peak) - kLevelStep)
            --top;
        if ((peak - trough) * dt < kMinClimbSeconds || at(peak) - at(trough) < kMinClimbGain)
            return;
        const float baseAltitude = at(base), topAltitude = at(top);
        Climb c;
        c.start = double(base) * dt;
        c.end = double(top) * dt;
        c.baseAltitude = baseAltitude;
        c.topAltitude = topAltitude;
        c.gain = topAltitude - baseAltitude;
        c.meanClimb = c.gain / float(c.duration());
        c.bestClimb30s = std::max(c.meanClimb, extremeRates(base, top).first);
        c.heightLost = heightLost(base, top);
        result.climbs.push_back(c);
    }

    /// The best climb and the strongest sink over kBestWindow within [from, to]; a stretch
    /// shorter than the window gives its own mean rate for both.
    std::pair<float, float> extremeRates(int from, int to) const
    {
        const int span = samples(kBestWindow);
        if (to - from < span) {
            const float r = (h[size_t(to)] - h[size_t(from)]) / float(std::max(1, (to - from) * dt));
            return {r, r};
        }
        float best = -1e9f, sink = 1e9f;
        for (int i = from; i + span <= to; ++i) {
            const float r = (h[size_t(i + span)] - h[size_t(i)]) / float(span * dt);
            best = std::max(best, r);
            sink = std::min(sink, r);
        }
        return {best, sink};
    }

    /// The metres given up inside [from, to]: every fall of kDipDepth or more below the
    /// highest altitude so far, from that altitude to the lowest before it was passed again.
    float heightLost(int from, int to) const
    {
        float peak = smoothed(from), trough = peak, lost = 0;
        for (int i = from + 1; i <= to; ++i) {
            const float s = smoothed(i);
            if (s > peak) {
                if (peak - trough >= kDipDepth)
                    lost += peak - trough;
                peak = trough = s;
            } else {
                trough = std::min(trough, s);
            }
        }
        if (peak - trough >= kDipDepth)
            lost += peak - trough;
        return lost;
    }

    void fillHistogram(int first, int last, FlightAnalysis &result) const
    {
        const int half = samples(kHistogramHalf);
        const int bound = int(kRateBound / kBin);
        std::vector<double> bins(size_t(2 * bound));
        int lowest = bound, highest = -bound - 1;
        for (int i = first; i < last; ++i) {
            const int b = std::clamp(int(std::floor(rate(i, half, first, last) / kBin)), -bound, bound - 1);
            bins[size_t(b + bound)] += dt;
            lowest = std::min(lowest, b);
            highest = std::max(highest, b);
        }
        for (int b = lowest; b <= highest; ++b)
            result.histogram.push_back({float(b) * kBin, float(b + 1) * kBin, bins[size_t(b + bound)]});
    }

    const std::vector<float> &h;
    const int n;
    const int dt;
    std::vector<double> prefix;
};

} // namespace

FlightAnalysis analyseFlight(const std::vector<float> &altitudes, qint32 interval)
{
    return Analyser(altitudes, interval).run();
}

FlightAnalysis analyseFlight(const BarographTrace &trace)
{
    return analyseFlight(trace.altitudes, trace.interval);
}
