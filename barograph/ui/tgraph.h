// TGraph, the barograph window: an MDI child that loads one flight's barograph file, shows
// the text block, the altitude trace and the variogram on its drawing surface, carries the
// cursor and the cuts, and on closing offers to save a changed trace back to the file and
// the flight's record. It owns its cursor tool window (TCursPos).
#pragma once

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphcursor.h"
#include "barograph/core/graphlayout.h"
#include "barograph/core/graphview.h"

#include "logbook/ui/closequery.h"

#include <QImage>
#include <QMdiSubWindow>

#include <functional>

class GraphSurface;
class MainFormLink;
class TCursPos;
class QTimer;

class TGraph : public QMdiSubWindow, public CloseQuery {
    Q_OBJECT
public:
    /// Adds itself to the link's workspace. Reads link.currentRow() once, when first shown,
    /// and loads that row's barograph; a file that cannot be used is reported and the window
    /// closes again.
    explicit TGraph(MainFormLink &link);
    ~TGraph() override;

    // What the window shows.
    bool isLoaded() const { return m_loaded; }
    int row() const { return m_row; }
    QString path() const { return m_path; }
    const BarographTrace &trace() const { return m_trace; }
    const FlightStats &stats() const { return m_stats; }
    const GraphLayout &graphLayout() const { return m_layout; }
    const GraphView &view() const { return m_view; }
    qint32 takeoffSeconds() const { return m_takeoffSeconds; }
    bool baroModified() const { return m_baroModified; }
    /// The drawing surface: text block and graph, without the cursor.
    const QImage &surfaceImage() const { return m_image; }
    QWidget *surface() const;
    TCursPos *cursorTool() const { return m_cursPos; }

    /// Statistics, layout and the whole view, then drawGraph in colour and drawHeader.
    void recompute();
    /// Draws everything below the text block; `mono` draws without colour (printing).
    void drawGraph(bool mono);
    void drawHeader();

    // The cursor.
    bool cursorOn() const { return m_cursorOn; }
    float cursorTime() const { return m_cursorTime; }
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
    /// The cuts at the cursor, each after asking; a cut with nothing to remove does nothing.
    void cutRight();
    void cutLeft();

    // Mouse on the surface, in image positions.
    void graphMousePressed(QPoint pos, Qt::MouseButton button);
    void graphMouseMoved(QPoint pos);
    void graphMouseReleased(QPoint pos, Qt::MouseButton button);

    /// The 50 ms after the last resize are over: redraw at the new width.
    void resizeTimerFired();
    QTimer *resizeTimer() const { return m_resizeTimer; }

    bool queryClose() override;
    bool closeWithoutQuery() override;

    /// The system tick count in milliseconds, for the 200 ms click rule; tests replace it.
    std::function<quint32()> tickCount;

signals:
    /// The tool window's zoom, altitude correction and print buttons. Nothing answers
    /// them yet; the main window connects them when those commands exist.
    void zoomRequested();
    void heightAdjustRequested();
    void printRequested();
    /// "IGCに書き出す" in the window's menu: the main window writes the trace as it stands.
    void igcExportRequested();
    /// The file is loaded and the row marked as shown.
    void graphLoaded();
    /// The window closed; its row is no longer marked as shown.
    void graphClosed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool load();
    bool closeQuery();
    bool save();
    bool confirmCut(QStringView question);
    qint32 surfaceWidth() const;
    void drawCursor(bool updateEdit);
    void updateCursorArea();

    MainFormLink &m_link;
    int m_row = -1;
    QString m_path; ///< the file the trace was read from
    bool m_shownOnce = false;
    bool m_loaded = false;
    bool m_baroModified = false;
    bool m_skipQuery = false; ///< the close question was answered before the close
    qint32 m_takeoffSeconds = 0;
    BarographTrace m_trace;
    FlightStats m_stats;
    GraphLayout m_layout;
    GraphView m_view;
    QImage m_image;
    GraphSurface *m_surface;
    TCursPos *m_cursPos = nullptr;
    QTimer *m_resizeTimer;

    bool m_cursorOn = false;
    float m_cursorTime = 0;
    CursorPlacement m_cursor; ///< where the shown cursor is drawn
    quint32 m_pressTick = 0;
    int m_dragMode = 0; ///< 0 none, 1 panning, 2 rubber zoom
};
