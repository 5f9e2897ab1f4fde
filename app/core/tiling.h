// Where "並べて表示(&T)" puts the workspace's windows: horizontal tiling, each window wider
// than high, in columns of rows; where the others go, and the main window on the screens.
// QtCore only.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

/// The places of `count` windows tiled horizontally over `area`, in window order: column by
/// column, top to bottom; the last column takes the windows left over. Empty for no window.
std::vector<QRect> tileHorizontally(int count, QSize area);

/// How far each window of a cascade lies right of and below the one before it: a caption's height.
inline constexpr int kCascadeStep = 24;

/// The places of windows of normal sizes `sizes` cascaded over `area`: each a step right of
/// and below the one before, keeping its own size where the workspace has room for it (never
/// smaller than `minimum`), shrunk to the workspace otherwise; a window that would pass the
/// workspace's right or bottom edge starts the stair again from the top-left corner.
std::vector<QRect> cascade(const std::vector<QSize> &sizes, QSize area, QSize minimum = QSize(200, 150));

/// Where a new window of `size` opens in a workspace of `area`: on the stair of cascade(), a
/// step right of and below `last` (the last window opened, when there is one), shrunk to the
/// room left there; at the top-left corner where even `minimum` would pass the workspace's
/// edge, or after a window dragged beyond it.
QRect placeNewWindow(QSize size, QSize area, const QRect &last, QSize minimum = QSize(200, 150));

/// The main window's frame `frame` brought onto the screens whose available areas are
/// `screens` (none: left as it is): onto the one it overlaps most, or the first when it
/// overlaps none, no larger than that screen, moved the least that puts it wholly on it, so
/// that its caption can always be grabbed.
QRect keptOnScreen(const QRect &frame, const std::vector<QRect> &screens);
