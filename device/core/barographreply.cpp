// Decoding the barograph reply.
#include "barographreply.h"

#include <algorithm>

namespace {

bool allDigits(const char *bytes, int count)
{
    return std::all_of(bytes, bytes + count, [](char c) { return c >= '0' && c <= '9'; });
}

int decimal(const char *digits, int count)
{
    int v = 0;
    for (int i = 0; i < count; ++i)
        v = v * 10 + (digits[i] - '0');
    return v;
}

} // namespace

int barographIntervalSec(char code)
{
    switch (code) {
    case '2': return 1;
    case '8': return 2;
    case '0': return 4;
    default: return 0;
    }
}

DecodeStatus BarographReplyDecoder::refuse(Problem problem)
{
    m_status = DecodeStatus::Malformed;
    m_problem = problem;
    return m_status;
}

DecodeStatus BarographReplyDecoder::feed(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (m_status != DecodeStatus::NeedMore)
            break;
        m_group[m_groupSize++] = c;
        ++m_received;
        switch (m_phase) {
        case Phase::Header:
            if (m_groupSize == kHeaderBytes) {
                m_intervalSec = barographIntervalSec(m_group[3]);
                if (m_intervalSec == 0)
                    return refuse(Problem::UnknownInterval);
                m_phase = Phase::Samples;
                m_groupSize = 0;
            }
            break;
        case Phase::Samples:
            if (m_groupSize == kSampleBytes)
                takeGroup();
            break;
        case Phase::Trailer:
            if (m_groupSize == kTrailerBytes)
                takeTrailer();
            break;
        }
    }
    return m_status;
}

// Five bytes at a sample boundary: the end mark or a sample.
void BarographReplyDecoder::takeGroup()
{
    if (std::all_of(m_group, m_group + kSampleBytes, [](char c) { return c == '9'; })) {
        m_phase = Phase::Trailer; // the mark stays as the trailer's first five bytes
        return;
    }
    if (!allDigits(m_group, kSampleBytes)) {
        refuse(Problem::NotDigits);
        return;
    }
    if (int(m_samples.size()) == kMaxSamples) {
        refuse(Problem::TooLong);
        return;
    }
    m_samples.push_back(decimal(m_group, kSampleBytes));
    m_groupSize = 0;
}

// "99999", five offset digits, one byte not interpreted, the sign.
void BarographReplyDecoder::takeTrailer()
{
    const char *offset = m_group + kSampleBytes;
    if (!allDigits(offset, 5)) {
        refuse(Problem::NotDigits);
        return;
    }
    const int magnitude = decimal(offset, 5);
    m_offsetTenths = m_group[kTrailerBytes - 1] == '0' ? magnitude : -magnitude;
    m_status = DecodeStatus::Complete;
}
