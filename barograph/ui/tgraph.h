// TGraph, the barograph window: an MDI child that shows one flight's barograph session
// (barograph/core/barographsession.h) on its drawing surface, the text block, the altitude
// trace and the variogram, and turns clicks, drags and its tool windows' signals into the
// session's operations. On closing it offers to save a changed trace back to the file and
// the flight's record. It owns its cursor tool (TCursPos), its climbs tool (TClimbs) and,
// while open, its zoom tool (TCtrlZoom): tools in its workspace, stacked right above it.
#pragma once

#include "barograph/core/barographsession.h"
#include "barograph/core/graphcursor.h"
#include "barograph/core/graphplot.h"

#include "barograph/ui/tclimbs.h"
#include "barograph/ui/tctrlzoom.h"
#include "barograph/ui/tcurspos.h"
#include "logbook/ui/closequery.h"

#include <QImage>
#include <QMdiSubWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>

class GraphSurface;
class MainFormLink;
class ToolStrip;
class QPaintDevice;
class QScrollArea;
class QTimer;

class TGraph : public QMdiSubWindow, public CloseQuery {
    Q_OBJECT
public:
    /// Adds itself to the link's workspace, no taller than it. Reads link.currentRow() once,
    /// when first shown, and loads that row's barograph; a file that cannot be used is
    /// reported and the window closes again.
    explicit TGraph(MainFormLink &link);
    ~TGraph() override;

    // What the window shows.
    bool isLoaded() const { return m_session.has_value(); }
    /// The flight's row, followed by its rowId once loaded wherever undo or redo moves it;
    /// -1 once the row is gone.
    int row() const;
    QString path() const { return m_session ? m_session->path() : QString(); }
    /// The session; only while isLoaded().
    const BarographSession &session() const { return *m_session; }
    const BarographTrace &trace() const { return m_session->trace(); }
    const FlightStats &stats() const { return m_session->stats(); }
    const GraphLayout &graphLayout() const { return m_session->layout(); }
    const GraphView &view() const { return m_session->view(); }
    qint32 takeoffSeconds() const { return m_session->takeoffSeconds(); }
    bool baroModified() const { return m_session && m_session->baroModified(); }
    /// The drawing surface: text block and graph, without the cursor.
    const QImage &surfaceImage() const { return m_image; }
    QWidget *surface() const;
    TCursPos *cursorTool() const { return m_cursPos; }
    TCtrlZoom *zoomTool() const { return m_ctrlZoom; }
    TClimbs *climbsTool() const { return m_climbs; }
    bool zoomWindowOpen() const { return m_ctrlZoom != nullptr; }

    /// Statistics and the whole view, then drawGraph in colour and drawHeader.
    void recompute();
    /// Draws everything below the text block; `mono` draws without colour.
    void drawGraph(bool mono);
    void drawHeader();

    // The cursor.
    bool cursorOn() const { return m_session && m_session->cursorOn; }
    float cursorTime() const { return m_session ? m_session->cursorTime : 0.0f; }
    const CursorPlacement &cursorPlacement() const { return m_cursor; }
    /// Shows the cursor at t (seconds) unless it is already on, and enables the tool
    /// window's cursor controls.
    void cursorShow(float t);
    /// Hides a shown cursor and disables the cursor controls.
    void cursorHide();
    /// Moves the cursor's time to t, redrawing a shown cursor; `updateEdit` rewrites the
    /// time edit too.
    void cursorMove(float t, bool updateEdit);
    /// A click on the surface at an image position: inside either panel it toggles the
    /// cursor (shown at the clicked time).
    void clickAt(QPoint pos);
    /// The step buttons: to the next or previous sample, by one second with Shift.
    void stepRight(bool shift);
    void stepLeft(bool shift);
    /// A complete time typed in the tool window: the cursor goes there, or the edit shows
    /// the cursor's time again when it lies beyond the flight.
    void timeTyped(qint32 seconds);
    /// Shows the cursor at t (seconds), bringing the whole trace into view when t lies
    /// outside the view.
    void moveCursorTo(float t);
    /// The cursor tool's buttons: the cursor to the detected take-off or landing (nothing
    /// when none was found); the mark at the cursor's time.
    void cursorToTakeoff();
    void cursorToLanding();
    void setMark();
    /// A climb of the list: the view zoomed to it (the zoom tool opened, whose closing shows
    /// the whole trace again) and the cursor at its start.
    void showClimb(int index);
    /// The cuts at the cursor, each after asking; a cut with nothing to remove does nothing.
    void cutRight();
    void cutLeft();

    /// The window's own history: its cuts, corrections and reverts. The Edit menu's undo
    /// and redo (Ctrl+Z, Ctrl+Y) act on it while this window is the active one.
    bool canUndo() const { return m_session && m_session->canUndo(); }
    bool canRedo() const { return m_session && m_session->canRedo(); }
    QString undoName() const { return m_session ? m_session->undoName() : QString(); }
    QString redoName() const { return m_session ? m_session->redoName() : QString(); }
    void undo();
    void redo();
    /// ダウンロード時に戻す: the barograph as downloaded (its raw copy), one step of the
    /// window's history like a cut; the row takes the figures as downloaded when the trace
    /// is saved. A barograph that did not come from a download here is said so, and
    /// nothing changes.
    void revertToDownload();

    /// The zoom tool's buttons: the view changes and is drawn again, a shown cursor kept.
    void zoomStep(ZoomStep step);
    /// Opens the zoom tool window, or closes it and shows the whole trace again.
    void toggleZoomWindow();

    /// Shifts every altitude as the correction dialog says (`metres`: the take-off altitude
    /// or the offset its mode uses), recomputes and marks the trace modified. A correction
    /// beyond what a barograph file can hold is refused with a message.
    void applyAltitudeCorrection(CorrectionMode mode, double metres);

    /// The window's picture as the print has it, on a page device (a printer, a PDF
    /// writer): drawn at the device's resolution, centred on 90 % of its printable area.
    /// The window itself and its cursor are left as they are. False when the device
    /// would not start (or finish) the page.
    bool paintPage(QPaintDevice &device, bool mono);
    /// The same page as a PDF file's bytes.
    QByteArray pdfPage(bool mono);
    /// The facts of the text block: the flight's row, the log's name.
    HeaderFacts headerFacts() const;

    // Mouse on the surface, in image positions.
    void graphMousePressed(QPoint pos, Qt::MouseButton button);
    void graphMouseMoved(QPoint pos);
    void graphMouseReleased(QPoint pos, Qt::MouseButton button);

    /// Puts the tools where they belong beside the window as it stands (or where the pilot
    /// put them, as far as the workspace allows), shown while the window is: not while it is
    /// an icon or another window of the workspace is maximised.
    void placeTools();

    /// The 50 ms after the last resize are over: redraw at the new width.
    void resizeTimerFired();
    QTimer *resizeTimer() const { return m_resizeTimer; }

    bool queryClose() override;
    bool closeWithoutQuery() override;

    /// The system tick count in milliseconds, for the 200 ms click rule; tests replace it.
    std::function<quint32()> tickCount;

signals:
    /// The tool window's altitude correction and print buttons: commands of the main window,
    /// which owns their dialogs.
    void heightAdjustRequested();
    void printRequested();
    /// "IGCに書き出す" in the window's menu: the main window writes the trace as it stands.
    void igcExportRequested();
    /// The file is loaded and the row marked as shown.
    void graphLoaded();
    /// The window closed; its row is no longer marked as shown.
    void graphClosed();
    /// The trace itself changed (a cut, an altitude correction): what shows its values follows.
    void traceChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool load();
    bool closeQuery();
    bool save();
    bool confirmCut(QStringView question);
    void cut(bool right);
    /// The trace was replaced (undo, redo, revert): drawn again, the cursor shown again
    /// when it was.
    void traceReplaced(bool cursorWasShown);
    qint32 surfaceWidth() const;
    void drawCursor(bool updateEdit);
    void updateCursorArea();
    void viewChanged();
    void connectCursorTool();
    void showAnalysis();
    void showMarkFigures();
    /// Wires what every tool does to the window: a press brings the window forward, a drag
    /// keeps the tool where the pilot put it.
    void adoptTool(ToolStrip *tool);
    QWidget *toolParent();
    /// The tools right above the window, under whatever stands above it.
    void restackTools();
    /// Watches the workspace's other windows: their moves, sizes and states re-place the tools.
    void watchWorkspace();
    bool anotherWindowMaximised() const;
    /// The cursor, climbs and zoom tools; null where there is none.
    std::array<ToolStrip *, 3> tools() const;
    void showTools(bool shown);

    MainFormLink &m_link;
    int m_row = -1;        ///< the row handed over, until the file is loaded
    quint64 m_rowId = 0;   ///< the row's id once loaded
    bool m_shownOnce = false;
    bool m_skipQuery = false; ///< the close question was answered before the close
    std::optional<BarographSession> m_session;
    QImage m_image;
    QScrollArea *m_scroll;
    GraphSurface *m_surface;
    // The tools live in the workspace, which may free them first when the program ends.
    QPointer<TCursPos> m_cursPos;
    QPointer<TClimbs> m_climbs;
    QPointer<TCtrlZoom> m_ctrlZoom;
    QTimer *m_resizeTimer;
    QTimer *m_placeLater; ///< another window changed: the tools are placed once it has settled
    QSize m_placedFor;    ///< the window's size when the tools were last placed

    CursorPlacement m_cursor; ///< where the shown cursor is drawn
    quint32 m_pressTick = 0;
};
