// The character-level difference of an edit, mapped back to the original bytes.
#include "cp932edit.h"

#include "cp932.h"

#include <QString>

#include <vector>

namespace cp932 {

QByteArray encodeEdited(QByteArrayView original, QStringView edited)
{
    // Where each character of the original starts in its bytes, and where the last ends.
    std::vector<qsizetype> starts;
    starts.reserve(size_t(original.size()) + 1);
    for (qsizetype at = 0; at < original.size(); at += codeLength(original.sliced(at)))
        starts.push_back(at);
    starts.push_back(original.size());
    const QString decoded = toUnicode(original);
    const qsizetype n = decoded.size();
    Q_ASSERT(n + 1 == qsizetype(starts.size()));

    const qsizetype shorter = qMin(n, edited.size());
    qsizetype prefix = 0;
    while (prefix < shorter && decoded[prefix] == edited[prefix])
        ++prefix;
    // A lead byte that stood alone (a U+FFFD) would pair with the first new byte after it
    // into another character: it goes with the change.
    if (prefix > 0 && starts[size_t(prefix)] - starts[size_t(prefix - 1)] == 1
        && isLeadByte(static_cast<unsigned char>(original[starts[size_t(prefix - 1)]])))
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && decoded[n - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;

    QByteArray bytes = original.first(starts[size_t(prefix)]).toByteArray();
    bytes += fromUnicode(edited.sliced(prefix, edited.size() - prefix - suffix));
    bytes += original.sliced(starts[size_t(n - suffix)]);
    return bytes;
}

} // namespace cp932
