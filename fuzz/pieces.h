// Feeds an incremental decoder its input in pieces of pseudo-random sizes chosen by a seed,
// so that a fuzz target can compare any chunking with the whole input at once.
#pragma once

#include <QByteArrayView>

#include <algorithm>

template<typename Decoder>
Decoder decodeInPieces(QByteArrayView bytes, unsigned seed, int largestPiece)
{
    Decoder d;
    unsigned state = seed * 2654435761u + 1;
    while (!bytes.isEmpty()) {
        state = state * 1103515245u + 12345u;
        const qsizetype piece = std::min<qsizetype>(1 + (state >> 16) % unsigned(largestPiece), bytes.size());
        d.feed(bytes.first(piece));
        bytes = bytes.sliced(piece);
    }
    return d;
}
