// A barograph window's small tool window: borderless, always on top, moved by a left-button
// press anywhere on its body since it has no caption bar. The cursor and zoom tools are
// ones.
#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>

class QColor;
class QFrame;

class ToolStrip : public QWidget {
    Q_OBJECT
public:
    /// A tool window of `owner` (which frees it), `size` pixels, filled by a panel of
    /// `colour` with a raised bevel of width 2.
    ToolStrip(QWidget *owner, QSize size, const QColor &colour);

    /// Whether Shift is down; tests replace it.
    std::function<bool()> shiftHeld;

protected:
    QFrame *panel() const { return m_panel; }
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QFrame *m_panel;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
