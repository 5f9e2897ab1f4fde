// The barograph window.
#include "tgraph.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsave.h"
#include "barograph/core/graphplot.h"
#include "barograph/core/messages.h"
#include "barograph/render/graphpainter.h"
#include "barograph/ui/tcurspos.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/mainformlink.h"

#include <QDeadlineTimer>
#include <QFrame>
#include <QLayout>
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

// The drawing surface: a lowered panel showing the window's picture, with the cursor laid
// over it by exclusive-or, so that moving the cursor never redraws the trace. Mouse
// positions go to the graph in picture coordinates.
class GraphSurface : public QFrame {
public:
    explicit GraphSurface(TGraph &graph) : m_graph(graph)
    {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setMouseTracking(true); // a shown cursor follows the mouse without a button held
        setMinimumSize(1, 1);
    }

    QPoint origin() const { return contentsRect().topLeft(); }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.setClipRect(contentsRect());
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
// "Graph", which is how the altitude correction recognises one.
int nextGraphNumber()
{
    static int count = 0;
    return ++count;
}

} // namespace

TGraph::TGraph(MainFormLink &link)
    : m_link(link), m_surface(new GraphSurface(*this)), m_resizeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("Graph%1").arg(nextGraphNumber()));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(baromsg::GraphCaption.toString());
    setWidget(m_surface);
    tickCount = [] { return quint32(QDeadlineTimer::current().deadline()); };

    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(50);
    connect(m_resizeTimer, &QTimer::timeout, this, &TGraph::resizeTimerFired);
    // The window's own menu carries the export; the main window answers it.
    QAction *igc = systemMenu()->addAction(baromsg::IgcExport.toString());
    igc->setObjectName(QStringLiteral("IgcExport"));
    connect(igc, &QAction::triggered, this, &TGraph::igcExportRequested);

    if (QMdiArea *area = link.workspaceArea()) {
        area->addSubWindow(this);
        resize(kDefaultWidth, kDefaultHeight);
        if (area->viewport()->width() < kMaximiseBelowWidth)
            setWindowState(Qt::WindowMaximized);
    } else {
        resize(kDefaultWidth, kDefaultHeight);
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
        m_link.prompter().inform(baromsg::FileCannotOpen);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

bool TGraph::load()
{
    m_baroModified = false;
    LogBook &book = m_link.logBook();
    if (m_row < 1 || m_row >= book.rowCount())
        return false;
    const FlightRecord &record = book.row(m_row);
    const std::optional<QString> path = barographPath(book.workFolder, record.barographFile);
    std::optional<BarographFile> file = path ? readBarographFile(*path) : std::nullopt;
    if (!file)
        return false;
    m_path = *path;
    m_trace = BarographTrace::fromFile(std::move(*file));
    m_takeoffSeconds = takeoffSecondsOf(record.time);
    m_loaded = true;
    if (layout())
        layout()->activate(); // the surface gets its width before the first drawing
    recompute();

    m_dragMode = 0;
    m_cursorOn = false;
    book.row(m_row).graphOpen = true;
    emit graphLoaded();
    m_cursPos = new TCursPos(*this, m_trace.altitudes.front(), m_trace.varios.front());
    m_cursPos->move(mapToGlobal(QPoint(60, 80)));
    m_cursPos->show();
    m_cursorTime = 0;
    return true;
}

void TGraph::recompute()
{
    if (!m_loaded)
        return;
    m_stats = computeFlightStats(m_trace);
    m_layout = GraphLayout::forWidth(m_image.isNull() ? surfaceWidth() : m_image.width());
    if (m_image.width() != m_layout.imageWidth)
        m_image = newSurface(m_layout);
    m_view = GraphView::fullView(m_trace, m_stats);
    drawGraph(false);
    drawHeader();
}

void TGraph::drawGraph(bool mono)
{
    if (!m_loaded)
        return;
    QPainter p(&m_image);
    paintGraph(p, buildGraphPlot(m_trace, m_stats, m_view, m_layout), mono ? PlotStyle::mono() : PlotStyle::colour());
    m_surface->update();
}

void TGraph::drawHeader()
{
    if (!m_loaded)
        return;
    const LogBook &book = m_link.logBook();
    if (m_row >= book.rowCount())
        return;
    const HeaderFacts facts = HeaderFacts::of(m_row, book.logName, book.row(m_row), m_takeoffSeconds, m_trace.interval);
    QPainter p(&m_image);
    paintHeader(p, buildGraphHeader(facts, m_stats, m_layout), PlotStyle::colour());
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
    if (!m_loaded)
        return;
    m_layout = GraphLayout::forWidth(surfaceWidth());
    m_image = newSurface(m_layout);
    m_view.updateTicks();
    drawGraph(false);
    drawHeader();
}

// The cursor ----------------------------------------------------------------------------

void TGraph::updateCursorArea()
{
    const QPoint o = m_surface->origin();
    const GraphLayout &l = m_layout;
    m_surface->update(QRect(m_cursor.x, l.plotTop, 1, l.varioBottom - l.plotTop + 1).translated(o));
    for (const qint32 y : {m_cursor.altitudeY, m_cursor.varioY})
        m_surface->update(QRect(l.plotLeft, y, l.plotWidth() + 1, 1).translated(o));
}

void TGraph::drawCursor(bool updateEdit)
{
    m_cursor = placeCursor(m_cursorTime, m_trace, m_view, m_layout);
    updateCursorArea();
    if (m_cursPos)
        m_cursPos->showReadouts(m_cursor, updateEdit);
}

void TGraph::cursorShow(float t)
{
    if (m_cursorOn || !m_loaded)
        return;
    m_cursorOn = true;
    m_cursorTime = t;
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
    if (!m_cursorOn)
        return;
    m_cursorOn = false;
    updateCursorArea();
    if (m_cursPos)
        m_cursPos->setCursorControlsEnabled(false);
}

void TGraph::cursorMove(float t, bool updateEdit)
{
    const bool updating = m_cursPos && m_cursPos->updatingEdit;
    if (m_cursPos)
        m_cursPos->updatingEdit = true;
    m_cursorTime = t;
    if (m_cursorOn) {
        updateCursorArea(); // where it was
        drawCursor(updateEdit);
    }
    if (m_cursPos)
        m_cursPos->updatingEdit = updating;
}

void TGraph::clickAt(QPoint pos)
{
    if (!m_loaded || !(m_layout.inAltitudePanel(pos.x(), pos.y()) || m_layout.inVarioPanel(pos.x(), pos.y())))
        return;
    if (m_cursorOn)
        cursorHide();
    else
        cursorShow(m_view.timeAtX(pos.x(), m_layout));
}

void TGraph::stepRight(bool shift)
{
    cursorMove(float(stepRightTime(m_cursorTime, m_trace.interval, m_view.viewEnd, shift)), true);
}

void TGraph::stepLeft(bool shift)
{
    if (const std::optional<qint32> t = stepLeftTime(m_cursorTime, m_trace.interval, m_view.viewStart, shift))
        cursorMove(float(*t), true);
}

bool TGraph::confirmCut(QStringView question)
{
    return m_link.prompter().ask(question, baromsg::Confirm, Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation)
        == Prompter::Answer::Ok;
}

void TGraph::cutRight()
{
    const std::optional<qint32> keep = m_loaded ? rightCutKeep(m_trace, m_cursorTime) : std::nullopt;
    if (!keep || !confirmCut(baromsg::CutRightQuestion))
        return;
    cursorHide();
    m_trace.cutAfter(*keep);
    recompute();
    cursorShow(float(m_stats.flightSeconds));
    m_baroModified = true;
}

void TGraph::cutLeft()
{
    const std::optional<qint32> removed = m_loaded ? leftCutRemove(m_trace, m_cursorTime) : std::nullopt;
    if (!removed || !confirmCut(baromsg::CutLeftQuestion))
        return;
    cursorHide();
    m_takeoffSeconds += *removed * m_trace.interval;
    m_trace.cutBefore(*removed);
    recompute();
    cursorShow(0);
    m_baroModified = true;
}

// The mouse -------------------------------------------------------------------------------

void TGraph::graphMousePressed(QPoint pos, Qt::MouseButton button)
{
    if (!m_loaded)
        return;
    // Panning (right button) and rubber zoom (left button) start in the altitude panel;
    // they move the view once zooming exists.
    if (m_dragMode == 0 && m_layout.inAltitudePanel(pos.x(), pos.y())) {
        if (button == Qt::RightButton)
            m_dragMode = 1;
        else if (button == Qt::LeftButton)
            m_dragMode = 2;
    }
    if (m_layout.inGraphBand(pos.x(), pos.y()))
        m_pressTick = tickCount();
}

void TGraph::graphMouseMoved(QPoint pos)
{
    if (!m_loaded || pos.y() < m_layout.plotTop || pos.y() > m_layout.varioBottom)
        return;
    const qint32 x = std::clamp(pos.x(), m_layout.plotLeft, m_layout.plotRight);
    if (m_cursorOn)
        cursorMove(m_view.timeAtX(x, m_layout), true);
}

void TGraph::graphMouseReleased(QPoint pos, Qt::MouseButton button)
{
    if (!m_loaded)
        return;
    if (tickCount() - m_pressTick < kClickMs)
        clickAt(pos);
    if (button == Qt::RightButton && m_dragMode == 1)
        m_dragMode = 0;
    else if (button == Qt::LeftButton && m_dragMode == 2)
        m_dragMode = 0;
}

// Closing ---------------------------------------------------------------------------------

bool TGraph::queryClose()
{
    return !m_loaded || closeQuery();
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
    if (m_loaded && !m_skipQuery && !closeQuery()) {
        event->ignore();
        return;
    }
    cursorHide();
    LogBook &book = m_link.logBook();
    if (m_loaded && m_row >= 1 && m_row < book.rowCount())
        book.row(m_row).graphOpen = false;
    m_loaded = false; // a second close finds nothing left to ask
    if (m_cursPos)
        m_cursPos->hide();
    emit graphClosed();
    QMdiSubWindow::closeEvent(event);
}

bool TGraph::closeQuery()
{
    if (!m_baroModified)
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
    if (m_row < 1 || m_row >= book.rowCount())
        return false;
    FlightRecord &record = book.row(m_row);
    // The dialog opens in the work folder with the file's own name.
    const QString chosen =
        m_link.prompter().chooseSaveFileKeepingOld(QStringView(), book.workFolder + cp932::toUnicode(record.barographFile));
    if (chosen.isEmpty())
        return false;
    const bool sameFile = isSameFile(chosen, m_path);
    const std::optional<QByteArray> newName = sameFile ? std::nullopt : recordFileName(chosen);
    if (!sameFile && !newName) {
        m_link.prompter().inform(baromsg::FileNameTooLong);
        return false;
    }
    if (const std::optional<WriteFailure> failure = saveBarographFile(chosen, m_trace.toFile(), book.workFolder)) {
        m_link.prompter().inform(baromsg::FileCannotOpen.toString() + u'\n' + failure->reason());
        return false;
    }
    if (newName) {
        record.barographFile = *newName;
        m_link.refreshRow(m_row);
        book.logModified = true;
    }
    writeFlightBack(record, m_takeoffSeconds, m_stats);
    m_link.refreshRow(m_row);
    book.logModified = true;
    m_link.logChanged();
    return true;
}
