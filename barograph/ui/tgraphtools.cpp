// Where a barograph window's tool windows (cursor, zoom, climbs) stand, and how they follow
// the graph through moves, minimising, maximising and restoring: tools of a window in the
// workspace, stacked right above it, so that every window raised after it, and every
// question, stands above them.
#include "tgraph.h"

#include "barograph/core/toolplacement.h"
#include "barograph/ui/tclimbs.h"
#include "barograph/ui/tctrlzoom.h"
#include "barograph/ui/tcurspos.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>

#include <algorithm>

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

namespace {

QStyleOptionTitleBar captionOption(const QMdiSubWindow &window)
{
    QStyleOptionTitleBar option;
    option.initFrom(&window);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = window.windowFlags();
    option.titleBarState = int(window.windowState());
    const int height = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &window);
    option.rect = QRect(0, 0, window.width(), height);
    return option;
}

// The buttons at the right end of a window's caption, in its workspace's coordinates; none
// for a maximised window, whose buttons are the menu bar's.
QRect captionButtons(const QMdiSubWindow &window)
{
    if (window.isMaximized() || !window.isVisible())
        return {};
    const QStyleOptionTitleBar option = captionOption(window);
    QRect buttons;
    for (const QStyle::SubControl button :
         {QStyle::SC_TitleBarMinButton, QStyle::SC_TitleBarNormalButton, QStyle::SC_TitleBarMaxButton,
          QStyle::SC_TitleBarCloseButton, QStyle::SC_TitleBarContextHelpButton, QStyle::SC_TitleBarShadeButton,
          QStyle::SC_TitleBarUnshadeButton})
        buttons |= window.style()->subControlRect(QStyle::CC_TitleBar, &option, button, &window);
    return buttons.translated(window.pos());
}

} // namespace

QWidget *TGraph::toolParent()
{
    return mdiArea() ? mdiArea()->viewport() : static_cast<QWidget *>(this);
}

void TGraph::adoptTool(ToolStrip *tool)
{
    connect(tool, &ToolStrip::pressed, this, [this, tool] {
        QMdiArea *area = mdiArea();
        if (!area || area->activeSubWindow() == this)
            return;
        // The press has already given the keyboard to the control clicked (the time edit):
        // it keeps it once the window has come forward.
        QWidget *focus = QApplication::focusWidget();
        area->setActiveSubWindow(this);
        if (focus && tool->isAncestorOf(focus))
            focus->setFocus(Qt::MouseFocusReason);
    });
    connect(tool, &ToolStrip::draggedByHand, this, [this, tool] { tool->putByHand = tool->pos() - pos(); });
}

void TGraph::watchWorkspace()
{
    QMdiArea *area = mdiArea();
    if (!area)
        return;
    area->viewport()->installEventFilter(this);
    for (QMdiSubWindow *window : area->subWindowList()) {
        if (window != this)
            window->installEventFilter(this); // installed once however often this runs
    }
}

bool TGraph::anotherWindowMaximised() const
{
    if (QMdiArea *area = mdiArea()) {
        const QList<QMdiSubWindow *> windows = area->subWindowList();
        return std::any_of(windows.begin(), windows.end(),
                           [this](const QMdiSubWindow *w) { return w != this && w->isVisible() && w->isMaximized(); });
    }
    return false;
}

std::array<ToolStrip *, 3> TGraph::tools() const
{
    return {m_cursPos.data(), m_climbs.data(), m_ctrlZoom.data()};
}

void TGraph::showTools(bool shown)
{
    for (ToolStrip *tool : tools()) {
        if (tool)
            tool->setVisible(shown);
    }
}

void TGraph::placeTools()
{
    m_placeLater->stop();
    if (!isLoaded())
        return;
    const bool shown = isVisible() && !isMinimized() && !anotherWindowMaximised();
    showTools(shown);
    if (!shown)
        return;
    // A new size (an arrangement, maximised, restored, resized by the pilot) places every
    // tool afresh; a move takes along where the pilot put one.
    if (size() != m_placedFor) {
        for (ToolStrip *tool : tools()) {
            if (tool)
                tool->putByHand.reset();
        }
        m_placedFor = size();
    }
    const bool inWorkspace = toolParent() != this;
    ToolRoom room;
    room.area = toolParent()->rect();
    room.graph = inWorkspace ? geometry() : rect();
    room.captionHeight = isMaximized() ? 0 : captionOption(*this).rect.height();
    // A maximised window hides every other: only their buttons in sight are kept clear.
    if (QMdiArea *area = mdiArea(); area && !isMaximized()) {
        for (const QMdiSubWindow *window : area->subWindowList()) {
            if (const QRect buttons = captionButtons(*window); !buttons.isEmpty())
                room.captionButtons.push_back(buttons);
        }
    }
    const auto put = [&](ToolStrip *tool, QPoint placed) {
        tool->move(tool->putByHand ? keptInside(QRect(room.graph.topLeft() + *tool->putByHand, tool->size()), room.area)
                                   : placed);
        return tool->geometry();
    };
    const QRect cursor = m_cursPos ? put(m_cursPos, placeCursorTool(room, m_cursPos->size())) : QRect();
    const QRect climbs = m_climbs ? put(m_climbs, placeClimbsTool(room, m_climbs->size(), cursor)) : QRect();
    if (m_ctrlZoom)
        put(m_ctrlZoom, placeZoomTool(room, m_ctrlZoom->size(), cursor, climbs));
}

void TGraph::restackTools()
{
    QWidget *parent = toolParent();
    if (parent == this)
        return; // children of the window: above it already
    const std::array<ToolStrip *, 3> own = tools();
    const QObjectList &stack = parent->children(); // bottom first
    QWidget *above = nullptr;
    for (qsizetype i = stack.indexOf(this) + 1; i > 0 && i < stack.size() && !above; ++i) {
        auto *w = qobject_cast<QWidget *>(stack[i]);
        if (w && std::find(own.begin(), own.end(), w) == own.end())
            above = w;
    }
    for (ToolStrip *tool : own) {
        if (!tool)
            continue;
        if (above)
            tool->stackUnder(above);
        else
            tool->raise();
    }
}

void TGraph::moveEvent(QMoveEvent *event)
{
    QMdiSubWindow::moveEvent(event);
    placeTools();
}

void TGraph::hideEvent(QHideEvent *event)
{
    QMdiSubWindow::hideEvent(event);
    showTools(false);
}

// While the window is an icon its tools are out of sight.
void TGraph::changeEvent(QEvent *event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        placeTools();
}

// Raised (activated, cascaded) or lowered: the tools go with it.
bool TGraph::event(QEvent *event)
{
    const bool handled = QMdiSubWindow::event(event);
    if (event->type() == QEvent::ZOrderChange)
        restackTools();
    return handled;
}

// The workspace resized, another window moved, resized, shown, hidden, raised to maximised
// or made an icon, or a new window opened: the tools are placed again once the change has
// settled (an arrangement moves every window before any is placed).
bool TGraph::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == toolParent())
            QTimer::singleShot(0, this, &TGraph::watchWorkspace);
        break;
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        m_placeLater->start();
        break;
    default:
        break;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}
