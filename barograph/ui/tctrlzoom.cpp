// The zoom tool window.
#include "tctrlzoom.h"

#include "barograph/core/messages.h"
#include "barograph/ui/toolglyphs.h"

#include <QFrame>
#include <QToolButton>

TCtrlZoom::TCtrlZoom(QWidget *parent) : ToolStrip(parent, QSize(88, 60), QColor(128, 0, 128))
{
    setObjectName(QStringLiteral("CtrlZoom"));
    QFrame *strip = panel();
    SBZoomL = glyphButton(strip, "SBZoomL", QPoint(6, 17), baromsg::HintZoomLeft, Glyph::Left);
    SBZoomR = glyphButton(strip, "SBZoomR", QPoint(60, 17), baromsg::HintZoomRight, Glyph::Right);
    SBZoomU = glyphButton(strip, "SBZoomU", QPoint(33, 5), baromsg::HintZoomUp, Glyph::Up);
    SBZoomD = glyphButton(strip, "SBZoomD", QPoint(33, 31), baromsg::HintZoomDown, Glyph::Down);
    for (QToolButton *b : {SBZoomU, SBZoomD})
        b->resize(24, 22); // the two stand one above the other
    const auto wire = [this](QToolButton *b, ZoomStep zoom, ZoomStep scroll) {
        connect(b, &QToolButton::clicked, this, [this, zoom, scroll] { emit stepClicked(shiftHeld() ? scroll : zoom); });
    };
    wire(SBZoomL, ZoomStep::ZoomOutH, ZoomStep::ScrollLeft);
    wire(SBZoomR, ZoomStep::ZoomInH, ZoomStep::ScrollRight);
    wire(SBZoomU, ZoomStep::ZoomInV, ZoomStep::ScrollUp);
    wire(SBZoomD, ZoomStep::ZoomOutV, ZoomStep::ScrollDown);
}
