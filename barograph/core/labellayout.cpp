// Where the texts of the barograph picture stand.
#include "labellayout.h"

#include <algorithm>

QRect LabelFont::boxOf(const PlotText &label) const
{
    return QRect(label.topLeft, QSize(std::max(width(label.text), 1), std::max(height, 1)));
}

QRect LabelFont::rotatedBoxOf(const PlotText &title) const
{
    const qint32 length = std::max(width(title.text) * 4 / 3, 1);
    const qint32 thickness = std::max(height * 4 / 3, 1);
    return QRect(title.topLeft.x(), title.topLeft.y() - length, thickness, length);
}

LabelLayout::LabelLayout(const QRect &picture, LabelFont font) : m_picture(picture), m_font(std::move(font)) {}

void LabelLayout::reserve(const QRect &box)
{
    m_reserved.push_back(box);
}

bool LabelLayout::fits(const QRect &box, const QRect &region) const
{
    if (!region.contains(box) || !m_picture.contains(box))
        return false;
    if (std::any_of(m_reserved.begin(), m_reserved.end(), [&box](const QRect &r) { return r.intersects(box); }))
        return false;
    const QRect spaced = box.adjusted(-kGap, 0, kGap, 0);
    return std::none_of(m_taken.begin(), m_taken.end(), [&spaced](const QRect &r) { return r.intersects(spaced); });
}

qint32 LabelLayout::widthOf(std::span<PlotText *const> lines) const
{
    qint32 widest = 0;
    for (const PlotText *line : lines)
        if (!line->text.isEmpty())
            widest = std::max(widest, m_font.width(line->text));
    return widest;
}

namespace {

/// Whether the segment from `a` to `b` passes through `box` (Liang-Barsky clipping).
bool crosses(QPointF a, QPointF b, const QRect &box)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
    double enter = 0, leave = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false; // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    return enter <= leave;
}

bool traceCrosses(std::span<const QPoint> trace, const QRect &box)
{
    if (trace.size() == 1)
        return box.contains(trace[0]);
    for (size_t i = 1; i < trace.size(); ++i) {
        if (crosses(trace[i - 1], trace[i], box))
            return true;
    }
    return false;
}

} // namespace

bool LabelLayout::take(std::span<PlotText *const> lines, std::span<const QPoint> places, const QRect &region,
                       std::span<const QPoint> trace)
{
    const qint32 pitch = std::max(m_font.height, 1);
    for (const QPoint &at : places) {
        bool fit = true;
        for (size_t k = 0; k < lines.size() && fit; ++k) {
            const PlotText *line = lines[k];
            if (line->text.isEmpty())
                continue;
            const QRect box = m_font.boxOf({at + QPoint(0, qint32(k) * pitch), line->text});
            fit = fits(box, region) && !traceCrosses(trace, box);
        }
        if (!fit)
            continue;
        for (size_t k = 0; k < lines.size(); ++k) {
            PlotText *line = lines[k];
            line->topLeft = at + QPoint(0, qint32(k) * pitch);
            if (!line->text.isEmpty())
                m_taken.push_back(m_font.boxOf(*line));
        }
        return true;
    }
    return false;
}

bool LabelLayout::place(std::span<PlotText *const> lines, std::span<const QPoint> places, const QRect &region)
{
    return placeClearOf({}, lines, places, region);
}

bool LabelLayout::placeClearOf(std::span<const QPoint> trace, std::span<PlotText *const> lines,
                               std::span<const QPoint> places, const QRect &region)
{
    if ((!trace.empty() && take(lines, places, region, trace)) || take(lines, places, region, {}))
        return true;
    for (PlotText *line : lines)
        line->text.clear();
    return false;
}

bool LabelLayout::place(PlotText &label, std::initializer_list<QPoint> places, const QRect &region)
{
    PlotText *const lines[] = {&label};
    return place(lines, std::span<const QPoint>(places.begin(), places.size()), region);
}
