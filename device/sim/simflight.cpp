// The simulated instrument's flights and replies.
#include "simflight.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

/// `value` as `width` decimal digits, zero padded on the left.
QByteArray digits(int value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0', true);
}

QByteArray hhmmss(int seconds)
{
    return digits(seconds / 3600 % 100, 2) + digits(seconds / 60 % 60, 2) + digits(seconds % 60, 2);
}

char intervalCode(int intervalSec)
{
    switch (intervalSec) {
    case 1: return '2';
    case 2: return '8';
    default: return '0';
    }
}

} // namespace

int SimFlight::durationSec() const
{
    return samplesTenths.empty() ? 0 : int(samplesTenths.size() - 1) * intervalSec;
}

int SimFlight::maxAltitudeM() const
{
    if (samplesTenths.empty())
        return 0;
    return (*std::max_element(samplesTenths.begin(), samplesTenths.end()) + offsetTenths) / 10;
}

int SimFlight::maxClimbTenths() const
{
    int best = 0;
    for (size_t i = 1; i < samplesTenths.size(); ++i)
        best = std::max(best, (samplesTenths[i] - samplesTenths[i - 1]) / intervalSec);
    return best;
}

// Entry: date 6, take-off 6, duration 6, max altitude 4 (m), max climb 4 (0.1 m/s), area 8.
QByteArray SimFlight::logEntry() const
{
    QByteArray e = date + takeoff + hhmmss(durationSec()) + digits(maxAltitudeM() % 10000, 4)
                   + digits(maxClimbTenths() % 10000, 4) + area.leftJustified(8, ' ', true);
    Q_ASSERT(e.size() == 34);
    return e;
}

// Reply: 3 bytes not interpreted, interval code, samples (5 digits each), "99999", offset
// (5 digits), 1 byte not interpreted, sign ('0' adds the offset, '1' subtracts it).
QByteArray SimFlight::barographReply() const
{
    QByteArray r = "DVB";
    r += intervalCode(intervalSec);
    r.reserve(16 + 5 * qsizetype(samplesTenths.size()));
    for (const int s : samplesTenths)
        r += digits(s, 5);
    r += "99999";
    r += digits(std::abs(offsetTenths), 5);
    r += '0';
    r += offsetTenths < 0 ? '1' : '0';
    return r;
}

QByteArray logReplyFor(const std::vector<SimFlight> &flights)
{
    QByteArray r = digits(int(flights.size()), 2);
    for (auto it = flights.rbegin(); it != flights.rend(); ++it)
        r += it->logEntry();
    return r;
}

namespace {

// A barograph: launch from `launchTenths`, then thermals and glides towards the landing
// field at `landingTenths`, `samples` samples long.
std::vector<int> flightShape(QRandomGenerator &rng, int samples, int intervalSec, int launchTenths,
                             int landingTenths)
{
    std::vector<int> out;
    out.reserve(size_t(samples));
    double alt = launchTenths;
    double climb = 0; // 0.1 m per second
    int phaseLeft = 0;
    for (int i = 0; i < samples; ++i) {
        const int left = samples - i;
        if (--phaseLeft <= 0) {
            phaseLeft = 20 + int(rng.bounded(90));
            const bool thermal = rng.bounded(100) < 45 && left > samples / 5;
            climb = thermal ? 5 + rng.bounded(25) : -(8 + rng.bounded(8));
        }
        // Head for the landing field during the last fifth of the flight.
        if (left < samples / 5)
            climb = (landingTenths - alt) / std::max(1, left * intervalSec);
        alt += climb * intervalSec + (int(rng.bounded(7)) - 3);
        alt = std::clamp(alt, double(landingTenths), 40000.0);
        out.push_back(int(std::lround(alt)));
    }
    if (!out.empty())
        out.back() = landingTenths;
    return out;
}

} // namespace

std::vector<SimFlight> demoFlights(int count, unsigned seed)
{
    static const char *const areas[] = {"ASHIO", "ITAJIKI", "\xb1\xbb\xb7\xde\xd8", "ASAGIRI", "HAKUBA", "KOMI"};
    QRandomGenerator rng(seed);
    std::vector<SimFlight> flights;
    int day = 3;
    for (int i = 0; i < count; ++i) {
        SimFlight f;
        day += 1 + int(rng.bounded(6));
        const int month = 4 + day / 28 % 8;
        f.date = "24" + digits(month, 2) + digits(1 + day % 28, 2);
        const int takeoff = 9 * 3600 + int(rng.bounded(7 * 3600));
        f.takeoff = hhmmss(takeoff);
        f.area = areas[rng.bounded(int(std::size(areas)))];
        f.intervalSec = i % 3 == 2 ? 4 : i % 3 == 1 ? 1 : 2;
        // Short flights keep a download at the line's real pace to a few seconds each.
        const int minutes = 6 + int(rng.bounded(15));
        const int samples = minutes * 60 / f.intervalSec + 1;
        f.offsetTenths = int(rng.bounded(400)) - 200;
        f.samplesTenths = flightShape(rng, samples, f.intervalSec, 8000 + int(rng.bounded(4000)),
                                      2500 + int(rng.bounded(1000)));
        flights.push_back(std::move(f));
    }
    return flights;
}

SimFlight longFlight(int durationSec, int intervalSec)
{
    QRandomGenerator rng(7);
    SimFlight f;
    f.date = "240615";
    f.takeoff = "110000";
    f.area = "ASAGIRI";
    f.intervalSec = intervalSec;
    f.offsetTenths = 120;
    f.samplesTenths = flightShape(rng, durationSec / intervalSec + 1, intervalSec, 11000, 3000);
    return f;
}

SimFlight sameMinuteFlight(const SimFlight &flight, int n)
{
    SimFlight f = flight;
    const int seconds = f.takeoff.mid(4, 2).toInt();
    f.takeoff = f.takeoff.left(4) + QByteArray::number(100 + (seconds + 7 * n) % 60).right(2);
    for (int &sample : f.samplesTenths)
        sample += 70 * n;
    return f;
}
