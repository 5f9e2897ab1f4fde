// Draws a barograph picture described by barograph/core's GraphPlot and GraphHeader, and the
// cursor over it, on any paint device: the window's surface, a picture file, a printer.
// QtGui only.
#pragma once

#include "barograph/core/graphcursor.h"
#include "barograph/core/graphplot.h"
#include "barograph/render/plotstyle.h"

#include <QImage>

class QPainter;

/// Everything below the text block, in the order of the plot.
void paintGraph(QPainter &painter, const GraphPlot &plot, const PlotStyle &style);
/// The text block.
void paintHeader(QPainter &painter, const GraphHeader &header, const PlotStyle &style);
/// The cursor's four lines in grey, combined by exclusive-or with what lies below, so that
/// drawing them twice leaves the picture as it was.
void paintCursor(QPainter &painter, const CursorPlacement &cursor, const GraphLayout &layout);

/// A new surface for a layout, white, in the format the window and the picture files use.
QImage newSurface(const GraphLayout &layout);

/// The whole picture of a trace shown in full on a surface `width` pixels wide: what a
/// barograph window of that width shows right after loading, without the cursor.
QImage renderGraphPicture(const BarographTrace &trace, const HeaderFacts &facts, qint32 width,
                          const PlotStyle &style);
