// The barograph reply: the instrument's answer to "B" and a flight number, decoded piece by
// piece as it arrives. Pure: no I/O. QtCore only.
//
// Barograph reply, ASCII, S samples:
//   offset    size   contents
//   0         3      not interpreted
//   3         1      interval code: '2' = 1 s, '8' = 2 s, '0' = 4 s per sample
//   4         5 x S  samples, five decimal digits each: altitude in 0.1 m before the offset;
//                    sample j was taken j x interval seconds after take-off
//   4 + 5S    5      end mark "99999"
//   9 + 5S    5      offset, five decimal digits, 0.1 m
//   14 + 5S   1      not interpreted
//   15 + 5S   1      sign of the offset: '0' adds it, any other character subtracts it
// Total 16 + 5 x S bytes; nothing follows. Altitude of sample j in metres:
// (sample + signed offset) x 0.1.
//
// The end mark is looked for only where a sample would start (offset 4 + 5k). Looking at
// whatever five bytes happen to lie 12 to 8 bytes before the end of the latest piece would
// take the last sample's final 9 and the mark's first four 9s for the mark when a piece
// stops a byte or four short of the end, and end the reply with a sample lost. A sample
// of 99999 (9999.9 m before the offset) cannot be told from the mark; the instrument does
// not record one.
#pragma once

#include "device/core/protocol.h"

#include <QByteArrayView>

#include <vector>

class BarographReplyDecoder {
public:
    static constexpr int kHeaderBytes = 4;
    static constexpr int kSampleBytes = 5;
    static constexpr int kTrailerBytes = 12; ///< end mark, offset, one byte, sign
    /// More samples than a day at one per second is no barograph: the reply is refused
    /// rather than kept growing (an instrument babbling digits for ever).
    static constexpr int kMaxSamples = 24 * 3600;
    static constexpr int kMaxReplyBytes = kHeaderBytes + kSampleBytes * kMaxSamples + kTrailerBytes;

    enum class Problem { None, UnknownInterval, NotDigits, TooLong };

    /// Takes the next piece of the reply. Once Complete or Malformed, further bytes are
    /// ignored.
    DecodeStatus feed(QByteArrayView bytes);
    DecodeStatus status() const { return m_status; }
    Problem problem() const { return m_problem; }
    /// Bytes taken so far (never more than the whole reply).
    int received() const { return m_received; }
    /// Seconds per sample (1, 2 or 4); 0 until the interval code is in.
    int intervalSec() const { return m_intervalSec; }
    int sampleCount() const { return int(m_samples.size()); }
    /// The samples as sent, in 0.1 m, before the offset.
    const std::vector<int> &samples() const { return m_samples; }
    /// The signed offset in 0.1 m; valid once Complete.
    int offsetTenths() const { return m_offsetTenths; }

    void reset() { *this = BarographReplyDecoder(); }

private:
    DecodeStatus refuse(Problem problem);
    void takeGroup();
    void takeTrailer();

    enum class Phase { Header, Samples, Trailer };
    DecodeStatus m_status = DecodeStatus::NeedMore;
    Problem m_problem = Problem::None;
    Phase m_phase = Phase::Header;
    int m_received = 0;
    int m_intervalSec = 0;
    int m_offsetTenths = 0;
    char m_group[kTrailerBytes] = {}; ///< the header, a sample, or the trailer being received
    int m_groupSize = 0;
    std::vector<int> m_samples;
};

/// Seconds per sample for an interval code; 0 for an unknown code.
int barographIntervalSec(char code);
