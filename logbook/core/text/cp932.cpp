// cp932 <-> Unicode through a table generated from glibc's iconv (tools/cp932gen), so the
// result is the same on every platform and does not depend on how Qt was built.
#include "cp932.h"

#include <QHash>

#include <cstdint>

namespace {

#include "cp932table.inc"

constexpr char16_t kReplacement = 0xFFFD;

int leadIndex(unsigned char lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F;
}

// Unicode of one double-byte code, 0 when there is none.
char16_t doubleByte(unsigned char lead, unsigned char trail)
{
    if (!cp932::isLeadByte(lead) || trail < 0x40 || trail > 0xFC)
        return 0;
    return kDoubleByteTable[leadIndex(lead) * 189 + (trail - 0x40)];
}

// Unicode of one single-byte code, -1 when there is none.
int singleByte(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xA1 && byte <= 0xDF)
        return 0xFF61 + (byte - 0xA1); // half-width katakana
    return -1;
}

// Unicode -> cp932 code (one byte as 0x00XX, two bytes as 0xLLTT). Built once.
const QHash<char16_t, uint16_t> &encodeTable()
{
    static const QHash<char16_t, uint16_t> table = [] {
        QHash<char16_t, uint16_t> t;
        t.reserve(8000);
        for (int b = 0; b < 0x100; ++b) {
            const int u = singleByte(static_cast<unsigned char>(b));
            if (u >= 0 && !t.contains(char16_t(u)))
                t.insert(char16_t(u), uint16_t(b));
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!cp932::isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char16_t u = doubleByte(static_cast<unsigned char>(lead),
                                              static_cast<unsigned char>(trail));
                if (u && !t.contains(u))
                    t.insert(u, uint16_t((lead << 8) | trail));
            }
        }
        for (const Cp932Override &o : kEncodeOverrides)
            t.insert(o.unicode, o.code);
        return t;
    }();
    return table;
}

} // namespace

namespace cp932 {

QString toUnicode(QByteArrayView bytes)
{
    StreamDecoder decoder;
    QString text = decoder.decode(bytes);
    text += decoder.flush();
    return text;
}

QString StreamDecoder::decode(QByteArrayView chunk)
{
    QString out;
    out.reserve(chunk.size());
    qsizetype i = 0;
    if (m_pending >= 0 && !chunk.isEmpty()) {
        const char16_t u = doubleByte(static_cast<unsigned char>(m_pending),
                                      static_cast<unsigned char>(chunk[0]));
        if (u) {
            out += QChar(u);
            i = 1;
        } else {
            out += QChar(kReplacement); // the lead byte is dropped; the next byte starts afresh
        }
        m_pending = -1;
    }
    while (i < chunk.size()) {
        const auto byte = static_cast<unsigned char>(chunk[i]);
        if (isLeadByte(byte)) {
            if (i + 1 >= chunk.size()) {
                m_pending = byte;
                break;
            }
            const char16_t u = doubleByte(byte, static_cast<unsigned char>(chunk[i + 1]));
            if (u) {
                out += QChar(u);
                i += 2;
            } else {
                out += QChar(kReplacement);
                i += 1;
            }
            continue;
        }
        const int u = singleByte(byte);
        out += QChar(u >= 0 ? char16_t(u) : kReplacement);
        ++i;
    }
    return out;
}

QString StreamDecoder::flush()
{
    if (m_pending < 0)
        return {};
    m_pending = -1;
    return QString(QChar(kReplacement));
}

qsizetype codeLength(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return bytes.size();
    return doubleByte(static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>(bytes[1])) ? 2 : 1;
}

QByteArray fromUnicode(QStringView text)
{
    const auto &table = encodeTable();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const auto it = table.constFind(c.unicode());
        if (it == table.constEnd()) {
            out += '?';
            continue;
        }
        const uint16_t code = it.value();
        if (code > 0xFF)
            out += char(code >> 8);
        out += char(code & 0xFF);
    }
    return out;
}

bool canEncode(QStringView text)
{
    const auto &table = encodeTable();
    for (const QChar c : text) {
        if (!table.contains(c.unicode()))
            return false;
    }
    return true;
}

qsizetype fitLength(QByteArrayView bytes, qsizetype maxBytes)
{
    // Only the byte before the cut matters: the text keeps [0, n) unless byte n - 1 starts a
    // double-byte character. A byte outside the lead range always ends a character (it is
    // single or a trail), so the character boundaries after it alternate through the run of
    // lead-range bytes that follows; walking back over that run tells whether n - 1 starts
    // a character, without scanning the whole text.
    const qsizetype n = qBound<qsizetype>(0, maxBytes, bytes.size());
    if (n == 0)
        return 0;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype runStart = n - 1;
    while (runStart >= 0 && isLeadByte(data[runStart]))
        --runStart;
    ++runStart; // first byte of the run, a character boundary
    const qsizetype lastInRun = n - 1 - runStart; // >= 0 when byte n - 1 is in the run
    const bool lastStartsCharacter = lastInRun >= 0 && lastInRun % 2 == 0 && isLeadByte(data[n - 1]);
    return lastStartsCharacter ? n - 1 : n;
}

QByteArray truncated(QByteArrayView bytes, qsizetype maxBytes)
{
    return bytes.first(fitLength(bytes, maxBytes)).toByteArray();
}

int codeCount()
{
    return kCp932CodeCount;
}

} // namespace cp932
