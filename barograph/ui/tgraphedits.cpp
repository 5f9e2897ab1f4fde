// The edits of a barograph window: cuts, altitude correction, undo and redo, and going back
// to the barograph as it was downloaded.
#include "tgraph.h"

#include "barograph/core/barographsave.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"
#include "barograph/render/graphpainter.h"
#include "barograph/ui/tclimbs.h"
#include "barograph/ui/tctrlzoom.h"
#include "barograph/ui/tcurspos.h"
#include "logbook/core/fieldformats.h"
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
    m_ctrlZoom = new TCtrlZoom(toolParent());
    adoptTool(m_ctrlZoom);
    connect(m_ctrlZoom, &TCtrlZoom::stepClicked, this, &TGraph::zoomStep);
    placeTools();
    restackTools();
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
    // A step of the trace like a cut: the row follows when the trace is saved (it then
    // takes the figures the instrument gave), so undo, redo and closing without saving
    // never leave the row and the file telling two stories.
    const bool replaced = m_session->replaceTrace(BarographTrace::fromFile(std::move(*file)),
                                                  fieldformat::secondsOf(row.downloaded->fields[size_t(Field::Time)]),
                                                  baromsg::StepRevert.toString());
    if (replaced)
        traceReplaced(shown);
    else if (shown)
        cursorShow(m_session->cursorTime);
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
