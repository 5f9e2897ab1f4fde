// A debrief of a flight from its altitude trace alone.
//
// The ground: lying on the ground the instrument reads the same altitude but for sensor
// noise (a few tenths of a metre) and the weather (metres per hour), while a paraglider in
// the air is never still for half a minute: it sinks 0.7 m/s or more in a glide and surges
// as it circles in lift. A still stretch from the first sample is the ground before
// take-off, one up to the last sample the ground after landing; take-off is the last
// moment at that ground level before the altitude leaves it.
//
// The climbs: the climb rate over 30 s (about one turn of a thermalling circle) averages
// out the surges of circling and the noise. Stretches climbing by it are joined across
// gaps short enough to be the pilot leaving the core, and their ends moved to the lowest
// and highest altitude near them, where the climb really began and ended. A bump of lift
// in a glide gains too little over 30 s to count, and what is left must last 45 s and gain
// 30 m to be a climb.
#include "flightanalysis.h"

#include "barograph/core/barographtrace.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

namespace {

constexpr double kStillWindow = 30;   ///< s: looked at whole to call a moment still
constexpr float kStillRange = 3.0f;   ///< m: what noise and weather move a resting instrument
constexpr double kGroundMin = 20;     ///< s: the least ground before take-off or after landing
constexpr double kGroundLevel = 30;   ///< s: the ground level is the mean over this much ground
constexpr float kLeftGround = 5.0f;   ///< m: this far from the ground level the pilot is flying
constexpr float kAtGround = 1.5f;     ///< m: within the noise of the ground level
constexpr double kRateWindow = 30;    ///< s: about one thermalling turn
constexpr float kClimbing = 0.2f;     ///< m/s over kRateWindow: climbing
constexpr double kDipMax = 45;        ///< s: a shorter gap in the climbing is a dip, not a glide
constexpr double kEdgeSearch = 20;    ///< s: how far a climb's ends are looked for around the stretch
constexpr double kMinClimbSeconds = 45;
constexpr float kMinClimbGain = 30;   ///< m
constexpr double kSmoothHalf = 2;     ///< s: each side of the smoothed altitude
constexpr float kDipDepth = 2.0f;     ///< m: a smaller fall inside a climb is noise
constexpr double kBestWindow = 30;    ///< s: best climb and strongest sink
constexpr double kHistogramHalf = 5;  ///< s: each side of the rate the histogram counts
constexpr float kBin = 0.5f;          ///< m/s

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
        const int k = int(kSmoothHalf / dt + 0.5);
        return float(mean(i - k, i + k + 1));
    }

    /// The climb rate over `half` samples each side of i (one-sided at the ends).
    float rate(int i, int half, int first, int last) const
    {
        const int from = std::max(first, i - half);
        const int to = std::min(last, i + half);
        return to > from ? (h[size_t(to)] - h[size_t(from)]) / float((to - from) * dt) : 0.0f;
    }

    /// Whether each sample lies in a stretch of kStillWindow whose altitudes span less than
    /// kStillRange (sliding minimum and maximum).
    std::vector<bool> stillness() const
    {
        const int half = samples(kStillWindow / 2);
        std::vector<bool> still(static_cast<size_t>(n));
        std::deque<int> lows, highs;
        int added = 0;
        for (int i = 0; i < n; ++i) {
            for (; added < std::min(n, i + half + 1); ++added) {
                while (!lows.empty() && h[size_t(lows.back())] >= h[size_t(added)])
                    lows.pop_back();
                lows.push_back(added);
                while (!highs.empty() && h[size_t(highs.back())] <= h[size_t(added)])
                    highs.pop_back();
                highs.push_back(added);
            }
            while (lows.front() < i - half)
                lows.pop_front();
            while (highs.front() < i - half)
                highs.pop_front();
            still[size_t(i)] = h[size_t(highs.front())] - h[size_t(lows.front())] < kStillRange;
        }
        return still;
    }

    /// Sets take-off and landing where the ground is seen; false when the trace never leaves it.
    bool findGround(FlightAnalysis &result) const
    {
        const std::vector<bool> still = stillness();
        int lead = 0;
        while (lead < n && still[size_t(lead)])
            ++lead;
        if (lead == n)
            return false;
        int trail = n - 1;
        while (trail >= 0 && still[size_t(trail)])
            --trail;
        const int level = samples(kGroundLevel);
        if (lead * dt >= kGroundMin) {
            const double ground = mean(lead - level, lead);
            if (const auto left = departure(lead - samples(kStillWindow / 2), +1, ground)) {
                int at = *left;
                while (at > 0 && std::abs(h[size_t(at)] - ground) > kAtGround)
                    --at;
                result.takeoff = double(at) * dt;
            }
        }
        if ((n - 1 - trail) * dt >= kGroundMin) {
            const double ground = mean(trail + 1, trail + 1 + level);
            if (const auto left = departure(trail + samples(kStillWindow / 2), -1, ground)) {
                int at = *left;
                while (at < n - 1 && std::abs(h[size_t(at)] - ground) > kAtGround)
                    ++at;
                if (!result.takeoff || at * dt > *result.takeoff)
                    result.landing = double(at) * dt;
            }
        }
        return true;
    }

    /// From `from` in direction `step`, the first sample kLeftGround or more from `ground`.
    std::optional<int> departure(int from, int step, double ground) const
    {
        for (int i = std::clamp(from, 0, n - 1); i >= 0 && i < n; i += step) {
            if (std::abs(h[size_t(i)] - ground) > kLeftGround)
                return i;
        }
        return std::nullopt;
    }

    void findClimbs(int first, int last, FlightAnalysis &result) const
    {
        // Stretches climbing over kRateWindow, joined across dips.
        const int half = samples(kRateWindow / 2);
        std::vector<std::pair<int, int>> stretches;
        for (int i = first; i <= last; ++i) {
            if (rate(i, half, first, last) <= kClimbing)
                continue;
            if (!stretches.empty() && (i - stretches.back().second) * dt <= kDipMax)
                stretches.back().second = i;
            else
                stretches.push_back({i, i});
        }
        const int edge = samples(kEdgeSearch);
        for (const auto &[from, to] : stretches) {
            int base = std::max(first, from - edge);
            float baseAltitude = smoothed(base);
            for (int i = base + 1; i <= std::min(last, from + edge); ++i) {
                if (const float s = smoothed(i); s < baseAltitude) {
                    baseAltitude = s;
                    base = i;
                }
            }
            int top = std::min(last, to + edge);
            float topAltitude = smoothed(top);
            for (int i = top - 1; i >= std::max(first, to - edge); --i) {
                if (const float s = smoothed(i); s > topAltitude) {
                    topAltitude = s;
                    top = i;
                }
            }
            if (top <= base || (top - base) * dt < kMinClimbSeconds || topAltitude - baseAltitude < kMinClimbGain)
                continue;
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
        std::map<int, double> bins;
        for (int i = first; i < last; ++i)
            bins[int(std::floor(rate(i, half, first, last) / kBin))] += dt;
        if (bins.empty())
            return;
        for (int b = bins.begin()->first; b <= bins.rbegin()->first; ++b) {
            const auto found = bins.find(b);
            result.histogram.push_back({float(b) * kBin, float(b + 1) * kBin, found == bins.end() ? 0.0 : found->second});
        }
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
