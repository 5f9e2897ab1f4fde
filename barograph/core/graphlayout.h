// Where the barograph window draws: the altitude panel and the variogram panel below it, in
// pixels of the drawing surface (y grows downward). Only the right edge follows the
// surface's width. QtCore only.
#pragma once

#include <QtGlobal>

#include <algorithm>

struct GraphLayout {
    /// The surface's height when the window has its default size; it keeps it.
    static constexpr qint32 kSurfaceHeight = 766;
    /// The right edge stays this far from the surface's right edge.
    static constexpr qint32 kRightMargin = 40;

    qint32 imageWidth = 640;
    qint32 imageHeight = kSurfaceHeight;
    qint32 plotLeft = 58;
    qint32 plotRight = 600;
    qint32 plotTop = 270;
    qint32 plotBottom = 540;
    qint32 varioTop = 564;    ///< plotBottom + 24
    qint32 varioBottom = 676; ///< varioTop + 112

    /// The layout for a surface width. A surface too narrow for any plot still gets a plot
    /// one pixel wide, so that nothing divides by zero.
    static GraphLayout forWidth(qint32 imageWidth)
    {
        GraphLayout layout;
        layout.imageWidth = imageWidth;
        layout.plotRight = std::max(imageWidth - kRightMargin, layout.plotLeft + 1);
        return layout;
    }

    qint32 plotWidth() const { return plotRight - plotLeft; }
    qint32 plotHeight() const { return plotBottom - plotTop; }
    qint32 varioHeight() const { return varioBottom - varioTop; }

    bool inAltitudePanel(qint32 x, qint32 y) const
    {
        return x >= plotLeft && x <= plotRight && y >= plotTop && y <= plotBottom;
    }
    bool inVarioPanel(qint32 x, qint32 y) const
    {
        return x >= plotLeft && x <= plotRight && y >= varioTop && y <= varioBottom;
    }
    /// Between the panels' left and right edges, from the altitude panel's top to the
    /// variogram panel's bottom (the band where presses and moves count).
    bool inGraphBand(qint32 x, qint32 y) const
    {
        return x >= plotLeft && x <= plotRight && y >= plotTop && y <= varioBottom;
    }
};
