// A flight as the simulated instrument holds it, and the bytes it answers with. The replies
// are written here from the instrument's protocol tables, field by field, and never with the
// host's decoders, so that a mistake shared by both sides cannot hide. QtCore only.
#pragma once

#include <QByteArray>

#include <vector>

struct SimFlight {
    QByteArray date;      ///< "YYMMDD"
    QByteArray takeoff;   ///< "hhmmss"
    QByteArray area;      ///< cp932, at most 8 bytes
    int intervalSec = 2;  ///< 1, 2 or 4
    std::vector<int> samplesTenths; ///< altitudes in 0.1 m before the offset
    int offsetTenths = 0; ///< added to every sample (may be negative)

    /// Seconds in the air: from the first sample to the last.
    int durationSec() const;
    /// Highest altitude in whole metres (samples plus offset, cut towards zero).
    int maxAltitudeM() const;
    /// Best climb between two samples, in 0.1 m/s.
    int maxClimbTenths() const;

    /// The 34 bytes of this flight in the log reply.
    QByteArray logEntry() const;
    /// The whole barograph reply, 16 + 5 x S bytes.
    QByteArray barographReply() const;
};

/// The log reply for flights 1..N (index 0 is flight 1): the count, then the entries from
/// flight N down to flight 1.
QByteArray logReplyFor(const std::vector<SimFlight> &flights);

/// Flights a pilot might bring home: ridge soaring, thermals, a sled ride, with plausible
/// barographs. The same seed gives the same flights.
std::vector<SimFlight> demoFlights(int count, unsigned seed = 1);

/// One flight of `durationSec` seconds at `intervalSec` per sample (for benchmarks).
SimFlight longFlight(int durationSec, int intervalSec);

/// A second flight taking off in the same minute as `flight` (a relaunch after a bad start):
/// `n` x 7 seconds later, its barograph `n` x 7 m higher, so that it is another flight in
/// everything but the minute.
SimFlight sameMinuteFlight(const SimFlight &flight, int n = 1);
