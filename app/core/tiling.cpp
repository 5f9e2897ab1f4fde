// Horizontal tiling, as the platform's MDI tiling has always laid windows out: about the
// square root of the count as the number of columns, the windows of a column one above the
// other, full column width.
#include "tiling.h"

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
