// The barograph window.
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

// The drawing surface: a lowered panel showing the window's picture, with the cursor laid
// over it by exclusive-or, so that moving the cursor never redraws the trace. Mouse
// positions go to the graph in picture coordinates.
class GraphSurface : public QFrame {
public:
    explicit GraphSurface(TGraph &graph) : m_graph(graph)
    {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setMouseTracking(true); // a shown cursor follows the mouse without a button held
        // The surface keeps its height; a window shorter than it scrolls.
        setMinimumSize(1, GraphLayout::kSurfaceHeight + 2 * frameWidth());
    }

    QPoint origin() const { return contentsRect().topLeft(); }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.setClipRect(contentsRect());
        // A maximised window is taller than the picture: paper, not the panel's grey, below it.
        p.fillRect(contentsRect(), Qt::white);
        p.translate(origin());
        p.drawImage(0, 0, m_graph.surfaceImage());
        if (m_graph.cursorOn())
            paintCursor(p, m_graph.cursorPlacement(), m_graph.graphLayout());
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        m_graph.graphMousePressed(event->position().toPoint() - origin(), event->button());
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_graph.graphMouseMoved(event->position().toPoint() - origin());
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        m_graph.graphMouseReleased(event->position().toPoint() - origin(), event->button());
    }

private:
    TGraph &m_graph;
};

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 797;
constexpr int kMaximiseBelowWidth = 560;
constexpr quint32 kClickMs = 200;

// Number for the next window's object name: every barograph window's name begins with
// "Graph".
int nextGraphNumber()
{
    static int count = 0;
    return ++count;
}

} // namespace

TGraph::TGraph(MainFormLink &link)
    : m_link(link), m_scroll(new QScrollArea), m_surface(new GraphSurface(*this)), m_resizeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("Graph%1").arg(nextGraphNumber()));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(baromsg::GraphCaption.toString());
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_surface);
    setWidget(m_scroll);
    tickCount = [] { return quint32(QDeadlineTimer::current().deadline()); };

    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(50);
    connect(m_resizeTimer, &QTimer::timeout, this, &TGraph::resizeTimerFired);
    // The window's own menu carries the export; the main window answers it.
    QAction *igc = systemMenu()->addAction(baromsg::IgcExport.toString());
    igc->setObjectName(QStringLiteral("IgcExport"));
    connect(igc, &QAction::triggered, this, &TGraph::igcExportRequested);
    QAction *revert = systemMenu()->addAction(baromsg::RevertItem.toString());
    revert->setObjectName(QStringLiteral("RevertToDownload"));
    connect(revert, &QAction::triggered, this, &TGraph::revertToDownload);

    if (QMdiArea *area = link.workspaceArea()) {
        area->addSubWindow(this);
        // A workspace lower than the window would hide the variogram below its edge: the
        // window takes the workspace's height and its surface scrolls.
        resize(kDefaultWidth, std::min(kDefaultHeight, std::max(area->viewport()->height(), 200)));
        if (area->viewport()->width() < kMaximiseBelowWidth)
            setWindowState(Qt::WindowMaximized);
    } else {
        resize(kDefaultWidth, kDefaultHeight);
    }
    m_frame = link.frameWindow();
    if (m_frame) {
        m_toolAnchor = toolAnchor();
        m_frame->installEventFilter(this);
    }
}

TGraph::~TGraph() = default;

QWidget *TGraph::surface() const
{
    return m_surface;
}

qint32 TGraph::surfaceWidth() const
{
    return std::max(m_surface->contentsRect().width(), 1);
}

void TGraph::showEvent(QShowEvent *event)
{
    QMdiSubWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    m_row = m_link.currentRow();
    if (!load()) {
        // The file is named: the pilot must see where it was looked for.
        const LogBook &book = m_link.logBook();
        const bool hasRow = m_row >= 1 && m_row < book.rowCount();
        const QByteArray name = hasRow ? book.row(m_row).barographFile.toByteArray() : QByteArray();
        m_link.prompter().inform(baromsg::FileCannotOpen.toString() + u'\n'
                                 + QDir::toNativeSeparators(book.workFolder + cp932::toUnicode(name)));
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

int TGraph::row() const
{
    return m_rowId ? m_link.logBook().rowOfId(m_rowId) : m_row;
}

bool TGraph::load()
{
    LogBook &book = m_link.logBook();
    if (m_row < 1 || m_row >= book.rowCount())
        return false;
    if (layout())
        layout()->activate(); // the surface gets its width before the first drawing
    m_session = BarographSession::load(book.workFolder, book.row(m_row), surfaceWidth());
    if (!m_session)
        return false;
    m_image = newSurface(m_session->layout());
    recompute();

    m_rowId = book.row(m_row).rowId;
    book.row(m_row).graphOpen = true;
    emit graphLoaded();
    m_cursPos = new TCursPos(this, trace().altitudes.front(), trace().varios.front());
    connectCursorTool();
    m_toolAnchor = toolAnchor();
    m_cursPos->move(toolPosition());
    m_cursPos->show();
    m_climbs = new TClimbs(this);
    connect(m_climbs, &TClimbs::climbChosen, this, &TGraph::showClimb);
    showAnalysis();
    m_climbs->move(climbsToolPosition());
    m_climbs->show();
    return true;
}

// What the analysis of the trace as it stands shows: the climbs tool's list and figures, and
// which of the take-off and landing buttons can work.
void TGraph::showAnalysis()
{
    const FlightAnalysis &analysis = m_session->analysis();
    if (m_climbs)
        m_climbs->showAnalysis(analysis, takeoffSeconds());
    if (m_cursPos)
        m_cursPos->setMomentsFound(analysis.takeoff.has_value(), analysis.landing.has_value());
}

void TGraph::showMarkFigures()
{
    if (!m_cursPos || !m_session)
        return;
    if (m_session->markTime)
        m_cursPos->showMark(markSpan(*m_session->markTime, cursorTime(), trace()));
    else
        m_cursPos->showMark(std::nullopt);
}

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

// The zoom tool beside the cursor tool, level with it, so that neither covers the other's
// buttons; below it where the climbs list or the screen's edge stands there.
QPoint TGraph::zoomToolPosition() const
{
    if (!m_cursPos || !m_ctrlZoom)
        return toolPosition();
    const QRect cursor = m_cursPos->frameGeometry();
    const QSize size = m_ctrlZoom->frameGeometry().size();
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    for (const QPoint at : {cursor.topRight() + QPoint(9, 0), cursor.bottomLeft() + QPoint(0, 9)}) {
        const QRect place(at, size);
        if ((!m_climbs || !m_climbs->frameGeometry().intersects(place)) && (room.isEmpty() || room.contains(place)))
            return at;
    }
    return cursor.bottomLeft() + QPoint(0, 9);
}

QPoint TGraph::toolAnchor() const
{
    // The picture's corner on the screen: a maximised window hides its caption and frame,
    // so its own corner would move the tools off the picture.
    return m_surface->mapToGlobal(QPoint(0, 0));
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

void TGraph::recompute()
{
    if (!m_session)
        return;
    m_session->recompute();
    drawGraph(false);
    drawHeader();
}

void TGraph::drawGraph(bool mono)
{
    if (!m_session)
        return;
    const PlotStyle style = mono ? PlotStyle::mono() : PlotStyle::colour();
    QPainter p(&m_image);
    paintGraph(p, plotOf(*m_session, style), style);
    m_surface->update();
}

HeaderFacts TGraph::headerFacts() const
{
    const LogBook &book = m_link.logBook();
    const int r = row();
    if (!m_session || r < 1)
        return HeaderFacts();
    return HeaderFacts::of(r, book.logName, book.row(r), takeoffSeconds(), trace().interval);
}

void TGraph::drawHeader()
{
    if (!m_session)
        return;
    QPainter p(&m_image);
    const PlotStyle style = PlotStyle::colour();
    paintHeader(p, buildGraphHeader(headerFacts(), stats(), graphLayout(), labelFontOf(style)), style);
    m_surface->update();
}

void TGraph::resizeEvent(QResizeEvent *event)
{
    QMdiSubWindow::resizeEvent(event);
    cursorHide();
    m_resizeTimer->start();
}

void TGraph::resizeTimerFired()
{
    m_resizeTimer->stop();
    if (!m_session)
        return;
    m_session->setSurfaceWidth(surfaceWidth());
    m_image = newSurface(graphLayout());
    drawGraph(false);
    drawHeader();
}

// The cursor ----------------------------------------------------------------------------

void TGraph::updateCursorArea()
{
    const QPoint o = m_surface->origin();
    const GraphLayout &l = graphLayout();
    m_surface->update(QRect(m_cursor.x, l.plotTop, 1, l.varioBottom - l.plotTop + 1).translated(o));
    for (const qint32 y : {m_cursor.altitudeY, m_cursor.varioY})
        m_surface->update(QRect(l.plotLeft, y, l.plotWidth() + 1, 1).translated(o));
}

void TGraph::drawCursor(bool updateEdit)
{
    m_cursor = placeCursor(cursorTime(), trace(), view(), graphLayout());
    updateCursorArea();
    if (m_cursPos)
        m_cursPos->showReadouts(m_cursor, updateEdit);
    showMarkFigures();
}

void TGraph::cursorShow(float t)
{
    if (!m_session || m_session->cursorOn)
        return;
    m_session->cursorOn = true;
    m_session->cursorTime = t;
    const bool updating = m_cursPos && m_cursPos->updatingEdit;
    if (m_cursPos)
        m_cursPos->updatingEdit = true;
    drawCursor(true);
    if (m_cursPos) {
        m_cursPos->updatingEdit = updating;
        m_cursPos->setCursorControlsEnabled(true);
    }
}

void TGraph::cursorHide()
{
    if (!cursorOn())
        return;
    m_session->cursorOn = false;
    updateCursorArea();
    if (m_cursPos)
        m_cursPos->setCursorControlsEnabled(false);
}

void TGraph::cursorMove(float t, bool updateEdit)
{
    if (!m_session)
        return;
    const bool updating = m_cursPos && m_cursPos->updatingEdit;
    if (m_cursPos)
        m_cursPos->updatingEdit = true;
    m_session->cursorTime = t;
    if (m_session->cursorOn) {
        updateCursorArea(); // where it was
        drawCursor(updateEdit);
    }
    if (m_cursPos)
        m_cursPos->updatingEdit = updating;
}

void TGraph::clickAt(QPoint pos)
{
    if (!m_session || !(graphLayout().inAltitudePanel(pos.x(), pos.y()) || graphLayout().inVarioPanel(pos.x(), pos.y())))
        return;
    if (cursorOn())
        cursorHide();
    else
        cursorShow(view().timeAtX(pos.x(), graphLayout()));
}

void TGraph::stepRight(bool shift)
{
    if (m_session)
        cursorMove(float(stepRightTime(cursorTime(), trace().interval, view().viewEnd, shift)), true);
}

void TGraph::stepLeft(bool shift)
{
    if (!m_session)
        return;
    if (const std::optional<qint32> t = stepLeftTime(cursorTime(), trace().interval, view().viewStart, shift))
        cursorMove(float(*t), true);
}

void TGraph::timeTyped(qint32 seconds)
{
    if (!m_session)
        return;
    if (seconds > stats().flightSeconds) {
        if (m_cursPos)
            m_cursPos->setTimeText(numtext::clockText(truncClamped(std::trunc(cursorTime()))));
    } else {
        cursorMove(float(seconds), false);
    }
}

void TGraph::moveCursorTo(float t)
{
    if (!m_session)
        return;
    if (t < float(view().viewStart) || t > float(view().viewEnd)) {
        m_session->showWholeTrace();
        viewChanged();
    }
    if (cursorOn())
        cursorMove(t, true);
    else
        cursorShow(t);
}

void TGraph::cursorToTakeoff()
{
    if (m_session && m_session->analysis().takeoff)
        moveCursorTo(float(*m_session->analysis().takeoff));
}

void TGraph::cursorToLanding()
{
    if (m_session && m_session->analysis().landing)
        moveCursorTo(float(*m_session->analysis().landing));
}

void TGraph::setMark()
{
    if (!cursorOn())
        return;
    m_session->markTime = cursorTime();
    showMarkFigures();
}

void TGraph::showClimb(int index)
{
    if (!m_session || index < 0 || size_t(index) >= m_session->analysis().climbs.size())
        return;
    const Climb climb = m_session->analysis().climbs[size_t(index)];
    if (!m_ctrlZoom)
        toggleZoomWindow();
    m_session->showStretch(climb.start, climb.end);
    viewChanged();
    moveCursorTo(float(climb.start));
}

bool TGraph::confirmCut(QStringView question)
{
    return m_link.prompter().ask(question, baromsg::Confirm, Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation)
        == Prompter::Answer::Ok;
}

void TGraph::cutRight()
{
    cut(true);
}

void TGraph::cutLeft()
{
    cut(false);
}

void TGraph::cut(bool right)
{
    if (!m_session || !(right ? m_session->canCutRight() : m_session->canCutLeft())
        || !confirmCut(right ? baromsg::CutRightQuestion : baromsg::CutLeftQuestion))
        return;
    cursorHide();
    if (right)
        m_session->cutRight();
    else
        m_session->cutLeft();
    drawGraph(false);
    drawHeader();
    // The cut leaves the cursor at the new end, or at the new start.
    m_session->cursorOn = false;
    cursorShow(m_session->cursorTime);
    emit traceChanged();
}

// Zoom, scroll and correction ----------------------------------------------------------------

// The view changed: the graph is drawn again (not the text block) and a shown cursor stands
// at its (perhaps clamped) time in the new view.
void TGraph::viewChanged()
{
    drawGraph(false);
    if (cursorOn()) {
        updateCursorArea();
        const bool updating = m_cursPos && m_cursPos->updatingEdit;
        if (m_cursPos)
            m_cursPos->updatingEdit = true;
        drawCursor(true);
        if (m_cursPos)
            m_cursPos->updatingEdit = updating;
    }
}

void TGraph::zoomStep(ZoomStep step)
{
    if (m_session && m_session->zoom(step))
        viewChanged();
}

void TGraph::toggleZoomWindow()
{
    if (!m_session)
        return;
    if (m_ctrlZoom) {
        m_ctrlZoom->close();
        delete m_ctrlZoom;
        recompute(); // the whole trace again
        if (cursorOn())
            viewChanged();
        return;
    }
    m_ctrlZoom = new TCtrlZoom(this);
    connect(m_ctrlZoom, &TCtrlZoom::stepClicked, this, &TGraph::zoomStep);
    m_ctrlZoom->move(zoomToolPosition());
    m_ctrlZoom->setVisible(!isMinimized());
}

void TGraph::undo()
{
    const bool shown = cursorOn();
    cursorHide();
    if (m_session && m_session->undo())
        traceReplaced(shown);
    else if (shown)
        cursorShow(cursorTime());
}

void TGraph::redo()
{
    const bool shown = cursorOn();
    cursorHide();
    if (m_session && m_session->redo())
        traceReplaced(shown);
    else if (shown)
        cursorShow(cursorTime());
}

void TGraph::traceReplaced(bool cursorWasShown)
{
    drawGraph(false);
    drawHeader();
    if (cursorWasShown)
        cursorShow(m_session->cursorTime);
    emit traceChanged();
}

void TGraph::revertToDownload()
{
    LogBook &book = m_link.logBook();
    const int r = this->row();
    if (!m_session || r < 1)
        return;
    FlightRecord &row = book.row(r);
    const QString raw = downloadedCopyPath(book.workFolder, row);
    if (raw.isEmpty()) {
        m_link.prompter().inform(baromsg::NotDownloadedHere);
        return;
    }
    ReadFailure why;
    std::optional<BarographFile> file = readBarographFile(raw, &why);
    if (!file) {
        m_link.prompter().inform(baromsg::FileCannotOpen.toString() + (why.error ? u'\n' + why.reason() : QString()));
        return;
    }
    const bool shown = cursorOn();
    cursorHide();
    m_session->replaceTrace(BarographTrace::fromFile(std::move(*file)),
                            takeoffSecondsOf(row.downloaded->fields[size_t(Field::Time)]),
                            baromsg::StepRevert.toString());
    restoreDownloadedFigures(row);
    book.logModified = true;
    book.history.record(book, baromsg::StepRevert.toString());
    m_link.refreshRow(r);
    m_link.logChanged();
    traceReplaced(shown);
}

void TGraph::applyAltitudeCorrection(CorrectionMode mode, double metres)
{
    if (!m_session)
        return;
    if (!m_session->correctAltitudes(m_session->correctionOffset(mode, metres, metres))) {
        m_link.prompter().inform(baromsg::CorrectionOutOfRange);
        return;
    }
    drawHeader();
    viewChanged();
    emit traceChanged();
}

// Printing ------------------------------------------------------------------------------------

bool TGraph::paintPage(QPaintDevice &device, bool mono)
{
    if (!m_session)
        return false;
    const PlotStyle style = mono ? PlotStyle::mono() : PlotStyle::colour();
    const SurfacePicture picture = pictureOf(*m_session, headerFacts(), style);
    QPainter p;
    if (!p.begin(&device))
        return false;
    ::paintPage(p, QSize(device.width(), device.height()), graphLayout(), picture.plot, picture.header, style);
    return p.end();
}

QByteArray TGraph::pdfPage(bool mono)
{
    if (!m_session)
        return {};
    const PlotStyle style = mono ? PlotStyle::mono() : PlotStyle::colour();
    const SurfacePicture picture = pictureOf(*m_session, headerFacts(), style);
    return pdfOfPicture(graphLayout(), picture.plot, picture.header, style);
}

// The mouse -------------------------------------------------------------------------------

void TGraph::graphMousePressed(QPoint pos, Qt::MouseButton button)
{
    if (!m_session)
        return;
    // Panning (right button) and rubber zoom (left button) start in the altitude panel.
    if (button == Qt::RightButton || button == Qt::LeftButton)
        m_session->beginDrag(pos, button == Qt::RightButton);
    if (graphLayout().inGraphBand(pos.x(), pos.y()))
        m_pressTick = tickCount();
}

void TGraph::graphMouseMoved(QPoint pos)
{
    if (!m_session)
        return;
    const GraphLayout &l = graphLayout();
    if (pos.y() >= l.plotTop && pos.y() <= l.varioBottom && cursorOn())
        cursorMove(view().timeAtX(std::clamp(pos.x(), l.plotLeft, l.plotRight), l), true);
    if (m_session->dragTo(pos))
        viewChanged();
}

void TGraph::graphMouseReleased(QPoint pos, Qt::MouseButton button)
{
    if (!m_session)
        return;
    if (tickCount() - m_pressTick < kClickMs)
        clickAt(pos);
    if (button == Qt::RightButton || button == Qt::LeftButton)
        m_session->endDrag(button == Qt::RightButton);
}

// Closing ---------------------------------------------------------------------------------

bool TGraph::queryClose()
{
    return !m_session || closeQuery();
}

bool TGraph::closeWithoutQuery()
{
    m_skipQuery = true;
    const bool closed = close();
    m_skipQuery = closed;
    return closed;
}

void TGraph::closeEvent(QCloseEvent *event)
{
    if (m_session && !m_skipQuery && !closeQuery()) {
        event->ignore();
        return;
    }
    cursorHide();
    LogBook &book = m_link.logBook();
    if (const int r = row(); m_session && r >= 1)
        book.row(r).graphOpen = false;
    m_session.reset(); // a second close finds nothing left to ask
    if (m_cursPos)
        m_cursPos->hide();
    if (m_climbs)
        m_climbs->hide();
    if (m_ctrlZoom)
        m_ctrlZoom->close();
    emit graphClosed();
    QMdiSubWindow::closeEvent(event);
}

bool TGraph::closeQuery()
{
    if (!baroModified())
        return true;
    switch (m_link.prompter().ask(baromsg::SaveQuestion, baromsg::Confirm, Prompter::Buttons::YesNoCancel,
                                  Prompter::Icon::Question)) {
    case Prompter::Answer::No:
        return true;
    case Prompter::Answer::Yes:
        return save();
    default:
        return false;
    }
}

bool TGraph::save()
{
    LogBook &book = m_link.logBook();
    const int r = row();
    if (r < 1)
        return false;
    FlightRecord &record = book.row(r);
    // The dialog opens in the work folder with the file's own name.
    const QString chosen =
        m_link.prompter().chooseSaveFileKeepingOld(QStringView(), book.workFolder + cp932::toUnicode(record.barographFile));
    if (chosen.isEmpty())
        return false;
    const BarographSession::SaveResult result = m_session->save(chosen, book.workFolder, &record);
    switch (result.status) {
    case BarographSession::SaveStatus::NameRefused:
        m_link.prompter().inform(baromsg::FileNameTooLong);
        return false;
    case BarographSession::SaveStatus::WriteFailed:
        m_link.prompter().inform(baromsg::FileCannotOpen.toString() + u'\n' + result.failure->reason());
        return false;
    case BarographSession::SaveStatus::Saved:
        break;
    }
    m_link.refreshRow(r);
    book.logModified = true;
    book.history.record(book, baromsg::StepSaveRow.toString());
    m_link.logChanged();
    return true;
}
