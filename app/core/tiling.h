// Where "並べて表示(&T)" puts the workspace's windows: horizontal tiling, each window wider
// than high, in columns of rows. QtCore only.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

/// The places of `count` windows tiled horizontally over `area`, in window order: column by
/// column, top to bottom; the last column takes the windows left over. Empty for no window.
std::vector<QRect> tileHorizontally(int count, QSize area);
