// A barograph window's small tool window.
#include "toolstrip.h"

#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

ToolStrip::ToolStrip(QWidget *owner, QSize size, const QColor &colour)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_panel(new QFrame(this))
{
    setFixedSize(size);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    shiftHeld = [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); };

    m_panel->setGeometry(QRect(QPoint(0, 0), size));
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel->setLineWidth(2);
    m_panel->setAutoFillBackground(true);
    QPalette fill = m_panel->palette();
    fill.setColor(QPalette::Window, colour);
    m_panel->setPalette(fill);
}

// No caption bar: a left-button press on the body moves the window.
void ToolStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void ToolStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void ToolStrip::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}
