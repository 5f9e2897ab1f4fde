// Where the main window stands.
#include "frameplacement.h"

#include "app/core/tiling.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Checked every 100 ms for a second and a half: a window manager frames a new window well
// within that, and a pilot does not move it before.
constexpr int kCheckMs = 100;
constexpr int kChecks = 15;

std::vector<QRect> availableScreens()
{
    std::vector<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    return screens;
}

} // namespace

FramePlacement::FramePlacement(QWidget &window) : QObject(&window), m_window(window)
{
    m_window.installEventFilter(this);
    m_checking.setInterval(kCheckMs);
    connect(&m_checking, &QTimer::timeout, this, &FramePlacement::check);
}

void FramePlacement::restore(const QRect &frame)
{
    m_wanted = keptOnScreen(frame, availableScreens());
    // The borders are unknown until the window is framed: the client takes the frame's size
    // for now, and check() takes them off.
    m_window.move(m_wanted.topLeft());
    m_window.resize(m_wanted.size());
    if (QWindow *handle = m_window.windowHandle())
        handle->setFramePosition(m_wanted.topLeft()); // the frame's corner, not the client's
    m_checks = 0;
    m_checking.start();
    m_normal = m_wanted;
}

QRect FramePlacement::normalFrame() const
{
    return m_normal.isValid() ? m_normal : m_window.frameGeometry();
}

// Once framed, a frame that is not where it was asked for (or of another size) is put right
// by the borders now known.
void FramePlacement::check()
{
    if (++m_checks >= kChecks || !m_window.isVisible())
        m_checking.stop();
    if (m_window.windowState() != Qt::WindowNoState || !m_window.isVisible())
        return;
    const QRect frame = m_window.frameGeometry();
    const QSize borders = frame.size() - m_window.size();
    if (frame.size() != m_wanted.size())
        m_window.resize(m_wanted.size() - borders);
    if (frame.topLeft() != m_wanted.topLeft())
        m_window.move(m_wanted.topLeft());
}

bool FramePlacement::eventFilter(QObject *watched, QEvent *event)
{
    const bool changed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (changed && watched == &m_window && m_window.windowState() == Qt::WindowNoState && m_window.isVisible()
        && !m_checking.isActive())
        m_normal = m_window.frameGeometry();
    return QObject::eventFilter(watched, event);
}
