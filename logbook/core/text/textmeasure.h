// How wide and tall a text is drawn, asked by the layouts that place texts (the barograph's
// labels, the totals chart): they live in core and know no font, so whoever paints hands
// them the measure of the face it paints in (measuredIn, logbook/render/textmeasure.h), and
// a label is never placed by a guess at its width. QtCore only.
#pragma once

#include <QByteArray>

#include <functional>

/// How wide a cp932 text is drawn, in the surface's pixels.
using TextWidth = std::function<qint32(const QByteArray &text)>;
/// 7 pixels a byte: about the widest digits of the 12-pixel face; where no font is at hand.
inline qint32 estimatedTextWidth(const QByteArray &text)
{
    return qint32(text.size()) * 7;
}
/// The height of a text's line where no font is at hand.
inline constexpr qint32 kLabelHeight = 13;

struct TextMeasure {
    TextWidth width = estimatedTextWidth;
    qint32 height = kLabelHeight; ///< one line, leading included
};
