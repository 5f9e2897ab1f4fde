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
    : m_link(link), m_scroll(new QScrollArea), m_surface(new GraphSurface(*this)), m_resizeTimer(new QTimer(this)),
      m_placeLater(new QTimer(this))
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
    m_placeLater->setSingleShot(true);
    m_placeLater->setInterval(0);
    connect(m_placeLater, &QTimer::timeout, this, &TGraph::placeTools);
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
}

TGraph::~TGraph()
{
    for (ToolStrip *tool : tools())
        delete tool;
}

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
    if (m_shownOnce) {
        placeTools();
        return;
    }
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
    m_cursPos = new TCursPos(toolParent(), trace().altitudes.front(), trace().varios.front());
    adoptTool(m_cursPos);
    connectCursorTool();
    m_climbs = new TClimbs(toolParent());
    adoptTool(m_climbs);
    connect(m_climbs, &TClimbs::climbChosen, this, &TGraph::showClimb);
    showAnalysis();
    watchWorkspace();
    placeTools();
    restackTools();
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
    placeTools();
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
