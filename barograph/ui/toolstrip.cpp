// A barograph window's small tool window.
#include "toolstrip.h"

#include "barograph/core/toolplacement.h"

#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>

ToolStrip::ToolStrip(QWidget *parent, QSize size, const QColor &colour) : QWidget(parent), m_panel(new QFrame(this))
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

// The controls exist by the first showing (the tools build them in their constructors): a
// press on any of them, the panel that covers the whole tool included, is seen here.
void ToolStrip::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    for (QWidget *control : findChildren<QWidget *>())
        control->installEventFilter(this);
}

bool ToolStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        emit pressed();
    return QWidget::eventFilter(watched, event);
}

// No caption bar: a left-button press on the body moves the tool, inside its workspace.
void ToolStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragged = false;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void ToolStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QRect to(event->globalPosition().toPoint() - m_dragOffset, size());
    move(parentWidget() ? keptInside(to, parentWidget()->rect()) : to.topLeft());
    m_dragged = true;
}

void ToolStrip::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
    if (m_dragged)
        emit draggedByHand();
    m_dragged = false;
}
