// Where a barograph window's tool windows stand.
#include "toolplacement.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace {

constexpr int kGap = 8;           ///< between a tool and what it stands beside
constexpr int kCursorIndent = 60; ///< the cursor tool's distance from the graph's left edge

struct Candidate {
    QPoint at;
    bool beside; ///< meant to stand outside the graph: one that lands on it is not beside it
};

QRect movedInside(QRect place, const QRect &area)
{
    if (area.isEmpty())
        return place;
    place.moveLeft(std::max(std::min(place.left(), area.right() + 1 - place.width()), area.left()));
    place.moveTop(std::max(std::min(place.top(), area.bottom() + 1 - place.height()), area.top()));
    return place;
}

const QRect *firstCovered(const QRect &place, const std::vector<QRect> &rects)
{
    const auto it = std::find_if(rects.begin(), rects.end(), [&](const QRect &r) { return place.intersects(r); });
    return it == rects.end() ? nullptr : &*it;
}

// A place over a caption button slides left past it (a button sits at its caption's right
// end, so left is where the caption has room), as long as the area has room there.
std::optional<QRect> leftOfButtons(QRect place, const ToolRoom &room)
{
    for (size_t i = 0; i <= room.captionButtons.size(); ++i) {
        const QRect *button = firstCovered(place, room.captionButtons);
        if (!button)
            return place;
        place.moveRight(button->left() - kGap);
        if (!room.area.isEmpty() && place.left() < room.area.left())
            return std::nullopt;
    }
    return std::nullopt;
}

// The first candidate that, brought into the area, covers no caption button and, as far as
// any candidate can, none of `avoid`, and stands outside the graph when it is meant to.
// Failing all, the first candidate brought into the area.
QPoint firstClear(std::initializer_list<Candidate> candidates, QSize size, const ToolRoom &room,
                  std::initializer_list<QRect> avoid)
{
    const std::vector<QRect> others(avoid.begin(), avoid.end());
    for (const bool strict : {true, false}) {
        for (const Candidate &c : candidates) {
            const std::optional<QRect> place = leftOfButtons(movedInside(QRect(c.at, size), room.area), room);
            if (!place || (c.beside && place->intersects(room.graph)))
                continue;
            if (!strict || !firstCovered(*place, others))
                return place->topLeft();
        }
    }
    return movedInside(QRect(candidates.begin()->at, size), room.area).topLeft();
}

// Right of the graph, and of a cursor tool wider than the graph's caption.
int besideRight(const ToolRoom &room, const QRect &cursorTool)
{
    return std::max(room.graph.right(), cursorTool.right()) + 1 + kGap;
}

} // namespace

QPoint placeCursorTool(const ToolRoom &room, QSize size)
{
    const QRect &g = room.graph;
    return firstClear({{g.topLeft() + QPoint(kCursorIndent, 0), false}, {g.topLeft() + QPoint(0, room.captionHeight), false}},
                      size, room, {});
}

QPoint placeClimbsTool(const ToolRoom &room, QSize size, const QRect &cursorTool)
{
    const QRect &g = room.graph;
    const int belowCaption = g.top() + room.captionHeight;
    return firstClear({{QPoint(besideRight(room, cursorTool), g.top()), true},
                       {QPoint(g.left() - kGap - size.width(), g.top()), true},
                       {QPoint(g.right() + 1 - size.width(), belowCaption), false},
                       {QPoint(g.right() + 1 - size.width(), cursorTool.bottom() + 1 + kGap), false},
                       {QPoint(g.left(), cursorTool.bottom() + 1 + kGap), false}},
                      size, room, {cursorTool});
}

QPoint placeZoomTool(const ToolRoom &room, QSize size, const QRect &cursorTool, const QRect &climbsTool)
{
    const QPoint belowClimbs = climbsTool.isNull() ? QPoint(besideRight(room, cursorTool), cursorTool.bottom() + 1 + kGap)
                                                   : climbsTool.bottomLeft() + QPoint(0, 1 + kGap);
    return firstClear({{QPoint(besideRight(room, cursorTool), cursorTool.top()), true},
                       {belowClimbs, true},
                       {cursorTool.topRight() + QPoint(1 + kGap, 0), false},
                       {cursorTool.bottomLeft() + QPoint(0, 1 + kGap), false}},
                      size, room, {cursorTool, climbsTool});
}

QPoint keptInside(const QRect &tool, const QRect &area)
{
    return movedInside(tool, area).topLeft();
}
