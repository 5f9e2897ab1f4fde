// Where a barograph window's tool windows (cursor, climbs, zoom) stand in the workspace.
// They are tools of one child window: inside the workspace, beside their graph where the
// workspace has room, and never over a caption button, their own graph's or another
// window's, so that every window can still be moved, maximised and closed. All rectangles
// are in the workspace's coordinates. QtCore only.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

/// What a placement looks at.
struct ToolRoom {
    QRect area;          ///< the workspace's visible part
    QRect graph;         ///< the graph window's frame
    int captionHeight = 0; ///< its caption's height; 0 for a maximised window (its caption is gone)
    /// The caption buttons of every window shown in the workspace, the graph's own among them.
    std::vector<QRect> captionButtons;
};

/// The cursor tool: over the graph's caption a little right of its left edge, left of the
/// caption buttons; below the caption where the caption is too narrow.
QPoint placeCursorTool(const ToolRoom &room, QSize size);

/// The climbs tool: beside the graph's right edge, level with its top; beside its left edge
/// where the right has no room; over the graph below its caption, clear of the cursor tool
/// where it can be, when neither side has room.
QPoint placeClimbsTool(const ToolRoom &room, QSize size, const QRect &cursorTool);

/// The zoom tool: beside the graph level with the cursor tool, or below the climbs tool
/// (`climbsTool` null when it is not shown); else beside or below the cursor tool. Never
/// over the other two tools.
QPoint placeZoomTool(const ToolRoom &room, QSize size, const QRect &cursorTool, const QRect &climbsTool);

/// A tool the pilot put somewhere, moved no further than it takes to bring it into `area`
/// (its top-left corner when it is larger than the area).
QPoint keptInside(const QRect &tool, const QRect &area);
