// Where a barograph window's tool windows (cursor, zoom, climbs) stand, and how they follow
// the graph through moves, minimising, maximising and restoring.
#include "tgraph.h"

#include "barograph/core/barographsave.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"
#include "barograph/render/graphpainter.h"
#include "barograph/ui/tclimbs.h"
#include "barograph/ui/tctrlzoom.h"
#include "barograph/ui/tcurspos.h"
#include "logbook/core/logbook.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/mainformlink.h"
#include <QDeadlineTimer>
#include <QDir>
#include <QFrame>
#include <QLayout>
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cmath>
#include <vector>
void TGraph::connectCursorTool()
{
    TCursPos *tool = m_cursPos;
    connect(tool, &TCursPos::stepClicked, this, [this](bool right, bool shift) {
        if (right)
            stepRight(shift);
        else
            stepLeft(shift);
    });
    connect(tool, &TCursPos::timeTyped, this, &TGraph::timeTyped);
    connect(tool, &TCursPos::zoomClicked, this, &TGraph::toggleZoomWindow);
    connect(tool, &TCursPos::igcClicked, this, &TGraph::igcExportRequested);
    connect(tool, &TCursPos::cursorOnOffClicked, this, [this] {
        // A click at the cursor's column on the altitude panel's top edge: it hides a shown
        // cursor, and shows a hidden one as long as its time lies in the view.
        clickAt(QPoint(view().xAtTime(cursorTime(), graphLayout()), graphLayout().plotTop));
    });
    connect(tool, &TCursPos::heightAdjustClicked, this, &TGraph::heightAdjustRequested);
    connect(tool, &TCursPos::leftCutClicked, this, &TGraph::cutLeft);
    connect(tool, &TCursPos::rightCutClicked, this, &TGraph::cutRight);
    connect(tool, &TCursPos::printClicked, this, &TGraph::printRequested);
    connect(tool, &TCursPos::closeClicked, this, &QWidget::close);
    connect(tool, &TCursPos::takeoffClicked, this, &TGraph::cursorToTakeoff);
    connect(tool, &TCursPos::landingClicked, this, &TGraph::cursorToLanding);
    connect(tool, &TCursPos::markClicked, this, &TGraph::setMark);
    // The read-outs show the trace at the cursor's time even while it is hidden, so they
    // follow every change of the trace, and so does the analysis.
    connect(this, &TGraph::traceChanged, tool, [this] {
        if (!m_session || !m_cursPos)
            return;
        m_cursPos->showReadouts(placeCursor(cursorTime(), trace(), view(), graphLayout()), true);
        showMarkFigures();
        showAnalysis();
    });
}

// Main window's top-left + the window's own position in the workspace + (60, 80): over the
// window's caption, clear of the text block.
QPoint TGraph::toolPosition() const
{
    return (m_frame ? m_frame->frameGeometry().topLeft() : QPoint()) + pos() + QPoint(60, 80);
}

// Beside the window's right edge, level with its caption; where the screen ends first, beside
// its left edge, so that the list never covers the graph unless the screen has no room.
QPoint TGraph::climbsToolPosition() const
{
    const QPoint corner = (m_frame ? m_frame->frameGeometry().topLeft() : QPoint()) + pos() + QPoint(0, 30);
    QPoint at = corner + QPoint(width() + 8, 0);
    if (const QScreen *screen = this->screen(); screen && m_climbs) {
        const QRect room = screen->availableGeometry();
        if (at.x() + m_climbs->width() > room.right() + 1 && corner.x() - 8 - m_climbs->width() >= room.left())
            at.setX(corner.x() - 8 - m_climbs->width());
        at.setX(std::max(std::min(at.x(), room.right() + 1 - m_climbs->width()), room.left()));
        at.setY(std::max(std::min(at.y(), room.bottom() + 1 - m_climbs->height()), room.top()));
    }
    return at;
}

// The zoom tool outside the window where the screen has room: beside its right edge, level
// with the cursor tool, or below the climbs list, so that it covers neither the window's
// caption buttons nor its text block. Else beside the cursor tool, level with it, or below
// it, never over the cursor tool's buttons or the climbs list.
QPoint TGraph::zoomToolPosition() const
{
    if (!m_cursPos || !m_ctrlZoom)
        return toolPosition();
    const QRect cursor = m_cursPos->frameGeometry();
    const QSize size = m_ctrlZoom->frameGeometry().size();
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    const QRect window(parentWidget() ? parentWidget()->mapToGlobal(pos()) : pos(), this->size());
    const QRect climbs = m_climbs && m_climbs->isVisible() ? m_climbs->frameGeometry() : QRect();
    const auto fits = [&](QPoint at, bool outside) {
        const QRect place(at, size);
        return !climbs.intersects(place) && (room.isEmpty() || room.contains(place))
               && !(outside && place.intersects(window));
    };
    std::vector<QPoint> outside = {QPoint(window.right() + 9, cursor.top())};
    if (!climbs.isNull())
        outside.push_back(climbs.bottomLeft() + QPoint(0, 9));
    for (const QPoint at : outside) {
        if (fits(at, true))
            return at;
    }
    for (const QPoint at : {cursor.topRight() + QPoint(9, 0), cursor.bottomLeft() + QPoint(0, 9)}) {
        if (fits(at, false))
            return at;
    }
    return cursor.bottomLeft() + QPoint(0, 9);
}

QPoint TGraph::toolAnchor() const
{
    // The picture's corner on the screen: a maximised window hides its caption and frame,
    // so its own corner would move the tools off the picture.
    return surface()->mapToGlobal(QPoint(0, 0));
}

// The tools keep their place beside the window: each move of the window or of the main
// window moves them by as much. An icon's place is not the window's, so while it is one
// the anchor waits, and the restored window brings its tools back to where they were.
void TGraph::followWithTools()
{
    if (isMinimized())
        return;
    const QPoint now = toolAnchor();
    moveTools(now - m_toolAnchor);
    m_toolAnchor = now;
}

void TGraph::moveTools(QPoint by)
{
    if (by.isNull())
        return;
    for (QWidget *tool : {static_cast<QWidget *>(m_cursPos), static_cast<QWidget *>(m_ctrlZoom.data()),
                          static_cast<QWidget *>(m_climbs)}) {
        if (tool)
            tool->move(tool->pos() + by);
    }
}

void TGraph::showTools(bool shown)
{
    if (m_cursPos)
        m_cursPos->setVisible(shown);
    if (m_ctrlZoom)
        m_ctrlZoom->setVisible(shown);
    if (m_climbs)
        m_climbs->setVisible(shown);
}

// The tool windows go where their graph goes: moved or tiled in the workspace, or with the
// main window.
void TGraph::moveEvent(QMoveEvent *event)
{
    QMdiSubWindow::moveEvent(event);
    followWithTools();
}

bool TGraph::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move && m_frame && watched == m_frame)
        followWithTools();
    return QMdiSubWindow::eventFilter(watched, event);
}

// While the window is an icon its tools are out of sight.
void TGraph::changeEvent(QEvent *event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isLoaded()) {
        showTools(!isMinimized());
        followWithTools();
    }
}
