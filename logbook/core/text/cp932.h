// The one place where cp932 (Shift-JIS) bytes become Unicode for the screen and back.
// Everything stored, compared or sent stays cp932 bytes; only windows call this module.
// Depends on QtCore only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace cp932 {

/// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

/// Length in bytes (1 or 2) of the code `bytes` starts with, as toUnicode reads it: every
/// code becomes exactly one character, so this walks the bytes character by character. A
/// lead byte without a valid trail byte is a code of its own (a U+FFFD). 0 for no bytes.
qsizetype codeLength(QByteArrayView bytes);

/// Decodes cp932 bytes as Windows does. A byte sequence that is not a cp932 code becomes
/// U+FFFD (a lead byte at the very end included).
QString toUnicode(QByteArrayView bytes);

/// Encodes text as Windows does (best-fit mappings included, e.g. U+00A5 to 0x5C).
/// A character that cp932 cannot express becomes '?'.
QByteArray fromUnicode(QStringView text);

/// True when every character of the text has a cp932 code.
bool canEncode(QStringView text);

/// Length of the longest prefix of `bytes` that is at most `maxBytes` long and does not end
/// inside a double-byte character. A lead byte without its trail byte is never kept.
qsizetype fitLength(QByteArrayView bytes, qsizetype maxBytes);

/// `bytes` cut to at most `maxBytes`, never in the middle of a double-byte character.
QByteArray truncated(QByteArrayView bytes, qsizetype maxBytes);

/// Number of cp932 codes this module knows (single- and double-byte), for tests.
int codeCount();

/// Decodes a stream that arrives in chunks: a lead byte at the end of one chunk waits for
/// its trail byte in the next.
class StreamDecoder {
public:
    QString decode(QByteArrayView chunk);
    /// Decodes what is still waiting (a lone lead byte becomes U+FFFD) and resets.
    QString flush();
    bool hasPending() const { return m_pending >= 0; }

private:
    int m_pending = -1;
};

} // namespace cp932
