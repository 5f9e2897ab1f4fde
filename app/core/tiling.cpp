// Horizontal tiling, as the platform's MDI tiling has always laid windows out: about the
// square root of the count as the number of columns, the windows of a column one above the
// other, full column width.
#include "tiling.h"

#include <algorithm>
#include <cmath>

std::vector<QRect> tileHorizontally(int count, QSize area)
{
    std::vector<QRect> places;
    if (count <= 0)
        return places;
    const int columns = int(std::sqrt(double(count)));
    int rows = count / columns;
    const int width = area.width() / columns;
    int placed = 0;
    for (int c = 0; c < columns; ++c) {
        if (c == columns - 1)
            rows = count - placed;
        const int height = area.height() / rows;
        for (int r = 0; r < rows; ++r, ++placed)
            places.emplace_back(c * width, r * height, width, height);
    }
    return places;
}

namespace {

// A window of `size` shrunk to fit from `at` to the area's far corner, but no smaller than
// `minimum` nor than the area allows.
QRect fitted(QPoint at, QSize size, QSize area, QSize minimum)
{
    const QSize room(area.width() - at.x(), area.height() - at.y());
    return QRect(at, size.boundedTo(room).expandedTo(minimum.boundedTo(area)));
}

bool fitsFrom(QPoint at, QSize size, QSize area, QSize minimum)
{
    return at.x() + std::min(size.width(), std::max(minimum.width(), 1)) <= area.width()
        && at.y() + std::min(size.height(), std::max(minimum.height(), 1)) <= area.height();
}

} // namespace

std::vector<QRect> cascade(const std::vector<QSize> &sizes, QSize area, QSize minimum)
{
    std::vector<QRect> places;
    QPoint at(0, 0);
    for (const QSize &size : sizes) {
        if (!places.empty()) {
            at += QPoint(kCascadeStep, kCascadeStep);
            if (!fitsFrom(at, size, area, minimum))
                at = QPoint(0, 0);
        }
        places.push_back(fitted(at, size, area, minimum));
    }
    return places;
}

QRect placeNewWindow(QSize size, QSize area, const QRect &last, QSize minimum)
{
    // The same stair as cascade(): a graph taller than the workspace once went back to the
    // corner each time, every new one exactly over the last.
    QPoint at(0, 0);
    if (last.isValid() && last.x() >= 0 && last.y() >= 0) {
        at = last.topLeft() + QPoint(kCascadeStep, kCascadeStep);
        if (!fitsFrom(at, size, area, minimum))
            at = QPoint(0, 0);
    }
    return fitted(at, size, area.expandedTo(QSize(1, 1)), minimum);
}

QRect keptOnScreen(const QRect &frame, const std::vector<QRect> &screens)
{
    if (screens.empty())
        return frame;
    const QRect *screen = &screens.front();
    qint64 most = 0;
    for (const QRect &s : screens) {
        const QRect common = s.intersected(frame);
        const qint64 area = qint64(common.width()) * common.height();
        if (!common.isEmpty() && area > most) {
            most = area;
            screen = &s;
        }
    }
    QRect placed(frame.topLeft(), frame.size().boundedTo(screen->size()));
    placed.moveLeft(std::clamp(placed.left(), screen->left(), screen->right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), screen->top(), screen->bottom() + 1 - placed.height()));
    return placed;
}
