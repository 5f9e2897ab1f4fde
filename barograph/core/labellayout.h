// Where the texts of the barograph picture stand: each text gets a box (its width as the
// painter's face draws it, the face's height) and the first of its places where that box
// stays inside its region and clear of every box placed before it. A text with no such
// place is left out (emptied); the lines it labels stay. One layout serves the window, the
// picture files and the printed page, since all of them draw the same GraphPlot. QtCore only.
#pragma once

#include "logbook/core/text/textmeasure.h"

#include <QByteArray>
#include <QPoint>
#include <QRect>

#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

struct PlotText {
    QPoint topLeft;
    QByteArray text; ///< cp932
};

/// The label face as the layout sees it: the painter's font measures it (labelFontOf in
/// barograph/render); the estimate where no font is at hand.
struct LabelFont {
    TextWidth width = estimatedTextWidth;
    qint32 height = kLabelHeight;

    /// The cell a text covers, drawn with its top-left corner at its point.
    QRect boxOf(const PlotText &label) const;
    /// The cell of an axis title: a face a third larger than the labels', turned a quarter
    /// so that it reads upward from its point.
    QRect rotatedBoxOf(const PlotText &title) const;
};

class LabelLayout {
public:
    /// Columns kept free between two texts on one line, so that neighbours never read as one.
    static constexpr qint32 kGap = 5;

    LabelLayout(const QRect &picture, LabelFont font);

    const LabelFont &font() const { return m_font; }
    /// A box no text may cover, though one may come right up to it: an axis title, which
    /// stands across the lines rather than beside them.
    void reserve(const QRect &box);
    /// Stacks `lines` one font height apart, the first at the first of `places` where all
    /// their boxes lie inside `region` and the picture and clear of the boxes taken so far,
    /// and takes those boxes. Where no place fits, every line is emptied. Empty lines take
    /// no room. True when placed.
    bool place(std::span<PlotText *const> lines, std::span<const QPoint> places, const QRect &region);
    /// As place, but the first place whose boxes `trace` (a polyline) does not cross comes
    /// first: a label over a trace hides the part of the flight it names. Only where every
    /// place crosses it does the first place that fits otherwise take the lines.
    bool placeClearOf(std::span<const QPoint> trace, std::span<PlotText *const> lines, std::span<const QPoint> places,
                      const QRect &region);
    bool place(PlotText &label, std::initializer_list<QPoint> places, const QRect &region);
    bool place(PlotText &label, std::initializer_list<QPoint> places) { return place(label, places, m_picture); }

    /// The widest of the lines.
    qint32 widthOf(std::span<PlotText *const> lines) const;
    const std::vector<QRect> &taken() const { return m_taken; }

private:
    bool fits(const QRect &box, const QRect &region) const;
    /// Takes the first of `places` where the lines fit (clear of `trace`, when given); false,
    /// with nothing changed, where none does.
    bool take(std::span<PlotText *const> lines, std::span<const QPoint> places, const QRect &region,
              std::span<const QPoint> trace);

    QRect m_picture;
    LabelFont m_font;
    std::vector<QRect> m_reserved;
    std::vector<QRect> m_taken;
};
