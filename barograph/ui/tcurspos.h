// TCursPos, the barograph window's cursor tool: a small borderless yellow strip with the
// step buttons, the cursor's elapsed time (editable), altitude and climb rate, and the
// buttons for zoom, cursor on/off, altitude correction, both cuts, print and close; below
// them the buttons that take the cursor to the detected take-off and landing (so that the
// ground can be cut away), the mark, and the figures from the mark to the cursor.
// Made by its TGraph in the graph's workspace; it tells the graph what was pressed through
// its signals.
#pragma once

#include "barograph/core/graphcursor.h"
#include "barograph/ui/toolstrip.h"

#include <optional>

class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

class TCursPos : public ToolStrip {
    Q_OBJECT
public:
    /// A tool in `parent` (the graph's workspace). `altitude0` and `vario0` are the first
    /// sample's values, shown until the cursor is first drawn.
    TCursPos(QWidget *parent, float altitude0, float vario0);

    QToolButton *SpeedButtonL, *SpeedButtonR, *SBZoom, *SBCursOn, *SBHAdjust, *SBLeftCut, *SBRightCut,
        *SBPrinter, *SBOnClose, *SBTakeoff, *SBLanding, *SBMark, *SBIgc;
    QLineEdit *EdTime, *EdHeight, *EdBario;
    QLabel *LbMark;
    /// Repeats a held step button: first after 1000 ms, then every 100 ms.
    QTimer *Timer1;

    /// The graph is writing the time edit: its change is not the pilot's.
    bool updatingEdit = false;
    bool stepRightHeld = false;
    bool stepLeftHeld = false;

    /// Enables or disables the eight controls that need a shown cursor.
    void setCursorControlsEnabled(bool enabled);
    /// The take-off and landing buttons work only where the analysis found them.
    void setMomentsFound(bool takeoff, bool landing);
    /// The figures from the mark to the cursor; "no mark" without one.
    void showMark(const std::optional<MarkSpan> &span);
    /// Shows the cursor's read-outs; the time only when `withTime`.
    void showReadouts(const CursorPlacement &cursor, bool withTime);
    /// Sets the time edit's text as the graph (inside updatingEdit).
    void setTimeText(const QByteArray &text);

    /// A step button was pressed (any mouse button) or released.
    void stepPressed(bool right);
    void stepReleased();
    /// The repetition timer's tick.
    void Timer1Timer();
    /// The time edit changed.
    void EdTimeChange();

signals:
    /// A step button: at its press, and at each repetition while it is held.
    void stepClicked(bool right, bool shift);
    /// The pilot typed a complete time (seconds), not yet checked against the flight.
    void timeTyped(qint32 seconds);
    void zoomClicked();
    void cursorOnOffClicked();
    void heightAdjustClicked();
    void leftCutClicked();
    void rightCutClicked();
    void printClicked();
    void closeClicked();
    void takeoffClicked();
    void landingClicked();
    void markClicked();
    void igcClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
