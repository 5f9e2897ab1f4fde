// How the barograph picture looks: colours, pens and fonts, in colour for the screen and in
// black for monochrome printing. QtGui only.
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>

struct PlotStyle {
    QColor timeGrid;      ///< grey, the vertical grid lines
    QColor altitudeTrace; ///< blue
    QColor varioClimb;    ///< green, a variogram stroke that climbs
    QColor varioSink;     ///< black
    QColor gain;          ///< red, the gain arrows
    QColor marks;         ///< red, the mark circles
    QColor altitudeTitle; ///< blue
    QColor varioTitle;    ///< green
    QColor climbBand;     ///< pale green, light grey without colour: the climbs' shading
    QColor ink = Qt::black;
    QColor paper = Qt::white;
    QFont textFont;  ///< labels and the text block: 12 pixels, Japanese proportional gothic
    QFont titleFont; ///< the rotated axis titles: 16 pixels, serif

    /// Lines one surface pixel wide however the painter is scaled (the screen), or one
    /// surface pixel scaled with the picture (a page drawn at the printer's resolution).
    bool scaledPens = false;

    static PlotStyle colour();
    /// Every pen and text black; the same lines, fonts and positions.
    static PlotStyle mono();
    /// The same style for a page: pens scale with the picture.
    PlotStyle forPage() const;

    /// The solid one-pixel pen of traces and outlines.
    QPen pen(const QColor &colour) const;
    /// The solid one-pixel pen on the screen's surface.
    static QPen solidPen(const QColor &colour);
};

/// "MS Pゴシック" at a pixel size, or an installed Japanese proportional gothic.
QFont graphTextFont(int pixelSize);
/// "Times New Roman" at a pixel size, or an installed serif face.
QFont graphTitleFont(int pixelSize);
