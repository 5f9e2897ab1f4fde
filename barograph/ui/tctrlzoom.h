// TCtrlZoom, a barograph window's zoom tool: four buttons that zoom the view by halves and
// doubles, or with Shift scroll it by half a view. It tells its graph what was pressed.
#pragma once

#include "barograph/core/barographsession.h"
#include "barograph/ui/toolstrip.h"

class QToolButton;

class TCtrlZoom : public ToolStrip {
    Q_OBJECT
public:
    explicit TCtrlZoom(QWidget *parent);

    QToolButton *SBZoomL, *SBZoomR, *SBZoomU, *SBZoomD;

signals:
    /// A button was clicked: its zoom, or its scroll when Shift was down at the click.
    void stepClicked(ZoomStep step);
};
