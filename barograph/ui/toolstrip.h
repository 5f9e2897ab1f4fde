// A barograph window's small tool window: borderless, a child of the workspace its graph
// stands in (a tool of that window, not of the desktop: above its graph only, under every
// window raised after it and under every question), moved by a left-button press anywhere
// on its body since it has no caption bar. The cursor, zoom and climbs tools are ones.
#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>

class QColor;
class QFrame;

class ToolStrip : public QWidget {
    Q_OBJECT
public:
    /// A tool of `parent` (the workspace, which frees it unless its graph does first),
    /// `size` pixels, filled by a panel of `colour` with a raised bevel of width 2.
    ToolStrip(QWidget *parent, QSize size, const QColor &colour);

    /// Whether Shift is down; tests replace it.
    std::function<bool()> shiftHeld;

    /// Where the pilot put the tool, from its graph's corner; empty while it stands where
    /// its graph places it.
    std::optional<QPoint> putByHand;

signals:
    /// A mouse press anywhere on the tool, its buttons included: its graph comes forward.
    void pressed();
    /// The pilot dragged the tool somewhere else.
    void draggedByHand();

protected:
    QFrame *panel() const { return m_panel; }
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QFrame *m_panel;
    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_dragged = false;
};
