// Draws a barograph picture described by barograph/core's GraphPlot and GraphHeader, and the
// cursor over it, on any paint device: the window's surface, a picture file, a printer.
// QtGui only.
#pragma once

#include "barograph/core/graphcursor.h"
#include "barograph/core/graphplot.h"
#include "barograph/render/plotstyle.h"

#include <QImage>

class BarographSession;
class QPainter;

/// Everything below the text block, in the order of the plot.
void paintGraph(QPainter &painter, const GraphPlot &plot, const PlotStyle &style);
/// The text block.
void paintHeader(QPainter &painter, const GraphHeader &header, const PlotStyle &style);
/// The cursor's four lines in grey, combined by exclusive-or with what lies below, so that
/// drawing them twice leaves the picture as it was.
void paintCursor(QPainter &painter, const CursorPlacement &cursor, const GraphLayout &layout);

/// The style's label face as the label layout measures it: how wide it draws a text, how
/// tall its lines are.
LabelFont labelFontOf(const PlotStyle &style);

/// The picture of a surface (text block and graph) on a page of `page` device pixels (the
/// printable area), placed and scaled as printPlacement gives it and drawn at the device's
/// own resolution, never stretched from a bitmap. `style` is used as forPage() of it.
void paintPage(QPainter &painter, QSize page, const GraphLayout &layout, const GraphPlot &plot,
               const GraphHeader &header, const PlotStyle &style);
/// A PDF file of one A4 portrait page at 600 dpi showing the picture as the print does.
QByteArray pdfOfPicture(const GraphLayout &layout, const GraphPlot &plot, const GraphHeader &header,
                        const PlotStyle &style);

/// A new surface for a layout, white, in the format the window and the picture files use.
QImage newSurface(const GraphLayout &layout);

/// The graph a barograph window draws for a session's view: labels left out by the style's
/// face, the session's climbs shaded.
GraphPlot plotOf(const BarographSession &session, const PlotStyle &style);
/// What a barograph window draws for a session: its graph and text block.
struct SurfacePicture {
    GraphPlot plot;
    GraphHeader header;
};
SurfacePicture pictureOf(const BarographSession &session, const HeaderFacts &facts, const PlotStyle &style);

/// The whole picture of a session's view on its surface, without the cursor: what its
/// window shows.
QImage renderGraphPicture(const BarographSession &session, const HeaderFacts &facts, const PlotStyle &style);
