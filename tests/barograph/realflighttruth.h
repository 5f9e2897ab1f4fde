// What a real flight's GPS track says independently of its altitude: where the pilot took
// off and landed, and where they circled in thermals. The analysis and the importer are both
// judged against it on the published logs of tests/data/realflights.
//
// The truth: where the pilot was comes from the GPS fixes alone; how much height a thermal
// gained or a glide lost from the logger's own pressure altitude at its own rate, as GPS
// heights wander by metres from fix to fix, which would blur a 20 m rule.
// - Flying: the distance travelled over 10 s faster than a pilot walks or a sailplane rolls
//   after touching down (paraglider 3 m/s, sailplane 25 m/s), or for a paraglider a GPS
//   height 25 m from both where the log starts and ends (hovering in a strong wind); slow
//   stretches under 30 s inside a flight are flight. Take-off is the first moment of a
//   minute of flying, landing the last. The truth is itself good to about 10 s.
// - Circling: 300 degrees of turn within 60 s. A thermal is a stretch of circling gaining
//   30 m, from its lowest point before its top to its top.
// - Lift without circling (ridge, wave, a tow, a pull-up): a climb found outside every
//   thermal over which the GPS height rose 20 m or more while flying. It is counted apart.
#pragma once

#include "barograph/core/tracklog.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace realflights {

struct Fix {
    double t = 0;   ///< seconds since the first fix
    double xM = 0;  ///< metres east of the first fix
    double yM = 0;  ///< metres north of it
    double pressureM = 0;
    double gpsM = 0;
};

/// The fixes of an IGC log as the importer reads them (time, position, pressure and GNSS
/// altitude), the time from the first fix and the position in metres from it.
inline std::vector<Fix> readFixes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const TrackRead read = parseIgcLog(file.readAll(), QFileInfo(path).fileName());
    const TrackLog *log = std::get_if<TrackLog>(&read);
    if (!log || log->fixes.empty())
        return {};
    const TrackFix &first = log->fixes.front();
    constexpr double kMetresPerDegree = 6371000.0 * std::numbers::pi / 180;
    const double eastScale = kMetresPerDegree * std::cos(first.latitudeDeg * std::numbers::pi / 180);
    std::vector<Fix> fixes;
    for (const TrackFix &f : log->fixes) {
        fixes.push_back({double(f.utc - first.utc), (f.longitudeDeg - first.longitudeDeg) * eastScale,
                         (f.latitudeDeg - first.latitudeDeg) * kMetresPerDegree, double(f.altitudeM),
                         double(f.gnssAltitudeM)});
    }
    return fixes;
}

/// The log at every second from its first fix, each value interpolated between fixes.
struct Track {
    std::vector<double> x, y, pressure, gps;
    int seconds() const { return int(x.size()); }

    explicit Track(const std::vector<Fix> &fixes)
    {
        size_t k = 0;
        for (int t = 0; t <= int(fixes.back().t); ++t) {
            while (fixes[k + 1].t < t)
                ++k;
            const Fix &a = fixes[k], &b = fixes[k + 1];
            const double w = (t - a.t) / (b.t - a.t);
            x.push_back(a.xM + w * (b.xM - a.xM));
            y.push_back(a.yM + w * (b.yM - a.yM));
            pressure.push_back(a.pressureM + w * (b.pressureM - a.pressureM));
            gps.push_back(a.gpsM + w * (b.gpsM - a.gpsM));
        }
    }

    /// The barograph an instrument recording every `interval` seconds would hold.
    std::vector<float> barograph(int interval) const
    {
        std::vector<float> samples;
        for (int t = 0; t < seconds(); t += interval)
            samples.push_back(float(pressure[size_t(t)]));
        return samples;
    }
};

struct Span {
    double from = 0;
    double to = 0;
    double length() const { return to - from; }
};

inline double overlap(Span a, Span b)
{
    return std::max(0.0, std::min(a.to, b.to) - std::max(a.from, b.from));
}

struct Truth {
    std::optional<double> takeoff;  ///< none when the log starts in the air
    std::optional<double> landing;  ///< none when it ends in the air
    double flightFrom = 0, flightTo = 0;
    std::vector<Span> thermals;
    std::vector<bool> circling;     ///< each second
    std::vector<double> height;     ///< pressure altitude smoothed over 5 s, each second
    std::vector<double> gpsHeight;  ///< GPS altitude smoothed over 11 s, each second
};

inline Truth truthOf(const Track &track, bool sailplane)
{
    constexpr int kSpeedHalf = 5;           // s: ground speed over 10 s
    constexpr int kSlowInFlight = 30;       // s: slower than flying yet still in the air
    constexpr double kAboveGround = 25;     // m (GPS) from where the log starts and ends: flying
    constexpr int kFlyingRun = 60;          // s of flying that make a flight
    constexpr int kTurnHalf = 30;           // s: turn within 60 s
    constexpr double kCircle = 300;         // degrees
    constexpr double kThermalGain = 30;     // m
    const double flyingSpeed = sailplane ? 25.0 : 3.0;
    const int n = track.seconds();
    Truth truth;
    std::vector<bool> flying(static_cast<size_t>(n));
    truth.circling.resize(size_t(n));
    truth.height.resize(size_t(n));
    const auto at = [n](int t) { return size_t(std::clamp(t, 0, n - 1)); };
    std::vector<double> path(size_t(n) + 1); // metres travelled up to each second
    for (int t = 0; t < n; ++t) {
        const double step = t ? std::hypot(track.x[size_t(t)] - track.x[size_t(t - 1)], track.y[size_t(t)] - track.y[size_t(t - 1)]) : 0;
        path[size_t(t) + 1] = path[size_t(t)] + step;
        double sum = 0;
        for (int k = -2; k <= 2; ++k)
            sum += track.pressure[at(t + k)];
        truth.height[size_t(t)] = sum / 5;
        double gpsSum = 0;
        for (int k = -5; k <= 5; ++k)
            gpsSum += track.gps[at(t + k)];
        truth.gpsHeight.push_back(gpsSum / 11);
    }
    for (int t = 0; t < n; ++t) {
        const double gps = track.gps[size_t(t)];
        flying[size_t(t)] = (path[at(t + kSpeedHalf) + 1] - path[at(t - kSpeedHalf) + 1]) / (2 * kSpeedHalf) > flyingSpeed
                                  || (!sailplane && std::abs(gps - track.gps.front()) > kAboveGround && std::abs(gps - track.gps.back()) > kAboveGround);
    }
    // A slow stretch inside a flight (hovering into the wind) is still flight.
    for (int t = 0, slow = -1; t < n; ++t) {
        if (!flying[size_t(t)]) {
            slow = slow < 0 ? t : slow;
        } else if (slow > 0 && t - slow < kSlowInFlight) {
            std::fill(flying.begin() + slow, flying.begin() + t, true);
            slow = -1;
        } else {
            slow = -1;
        }
    }
    int first = -1, last = -1;
    for (int t = 0, run = 0; t < n; ++t) {
        run = flying[size_t(t)] ? run + 1 : 0;
        if (run == kFlyingRun && first < 0)
            first = t - kFlyingRun + 1;
        if (run >= kFlyingRun)
            last = t;
    }
    if (first < 0)
        return truth;
    truth.flightFrom = first;
    truth.flightTo = last;
    if (first > kSpeedHalf)
        truth.takeoff = first;
    if (last < n - 1 - kSpeedHalf)
        truth.landing = last;

    // The turn each second, from the track's heading over 2 s where the pilot moves.
    std::vector<double> turn(static_cast<size_t>(n));
    double previousHeading = std::nan("");
    for (int t = 1; t + 1 < n; ++t) {
        const double dx = track.x[size_t(t + 1)] - track.x[size_t(t - 1)];
        const double dy = track.y[size_t(t + 1)] - track.y[size_t(t - 1)];
        if (std::hypot(dx, dy) < 4) {
            previousHeading = std::nan("");
            continue;
        }
        const double heading = std::atan2(dy, dx) * 180 / std::numbers::pi;
        if (!std::isnan(previousHeading))
            turn[size_t(t)] = std::remainder(heading - previousHeading, 360.0);
        previousHeading = heading;
    }
    std::vector<double> turned(size_t(n) + 1);
    for (int t = 0; t < n; ++t)
        turned[size_t(t) + 1] = turned[size_t(t)] + turn[size_t(t)];
    for (int t = first; t <= last; ++t) {
        const int from = std::max(0, t - kTurnHalf), to = std::min(n, t + kTurnHalf);
        truth.circling[size_t(t)] = std::abs(turned[size_t(to)] - turned[size_t(from)]) >= kCircle;
    }
    for (int t = first; t <= last;) {
        if (!truth.circling[size_t(t)]) {
            ++t;
            continue;
        }
        int end = t;
        while (end + 1 <= last && truth.circling[size_t(end + 1)])
            ++end;
        const auto h = truth.height.begin();
        const int top = int(std::max_element(h + t, h + end + 1) - h);
        const int base = int(std::min_element(h + t, h + top + 1) - h);
        if (truth.height[size_t(top)] - truth.height[size_t(base)] >= kThermalGain)
            truth.thermals.push_back({double(base), double(top)});
        t = end + 1;
    }
    return truth;
}

} // namespace realflights
