// Where the main window stands: its frame (caption and borders included) put back where it
// was, on a screen, and the frame it last had while neither maximised nor minimised, which is
// what is saved. A position given to a window the window manager has not framed yet is taken
// by some managers as the client area's: the window then comes back lower or higher by its
// caption at each start. So the frame's corner is asked for as such, and checked once the
// window is framed.
#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

class QWidget;

class FramePlacement : public QObject {
    Q_OBJECT
public:
    explicit FramePlacement(QWidget &window);

    /// Puts the frame at `frame`, brought onto a screen; call it while the window is being
    /// shown, before the window manager frames it.
    void restore(const QRect &frame);
    /// The frame to save: the window's last while neither maximised nor minimised.
    QRect normalFrame() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void check();

    QWidget &m_window;
    QRect m_wanted; ///< where restore() put the frame, until the window manager has framed it
    QRect m_normal;
    QTimer m_checking;
    int m_checks = 0;
};
