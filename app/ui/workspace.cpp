// Painting the workspace background.
#include "workspace.h"

#include "app/core/tiling.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>

Workspace::Workspace(QWidget *parent) : QMdiArea(parent)
{
    setObjectName(QStringLiteral("ClientWindow"));
    // A window dragged partly out of the workspace can always be scrolled back to.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool Workspace::eventFilter(QObject *watched, QEvent *event)
{
    auto *window = qobject_cast<QMdiSubWindow *>(watched);
    if (window && event->type() == QEvent::Show && !window->property("placed").toBool()) {
        window->setProperty("placed", true);
        if (!window->isMaximized() && !window->isMinimized()) {
            QRect last;
            for (auto it = m_opened.rbegin(); it != m_opened.rend() && !last.isValid(); ++it)
                if (*it && (*it)->isVisible() && !(*it)->isMinimized() && !(*it)->isMaximized())
                    last = (*it)->geometry();
            window->setGeometry(placeNewWindow(window->size(), viewport()->size(), last));
        }
        std::erase_if(m_opened, [](const QPointer<QMdiSubWindow> &w) { return w.isNull(); });
        m_opened.emplace_back(window);
    }
    return QMdiArea::eventFilter(watched, event);
}

QList<QMdiSubWindow *> Workspace::arrangeableWindows() const
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    return windows;
}

void Workspace::cascadeWindows()
{
    // Restored first: the sizes to keep are the normal ones, and a maximised window would
    // otherwise leave the others the workspace's size less its own frame. An icon comes
    // back too: the stair is where the pilot looks for every window.
    for (QMdiSubWindow *w : subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && (w->isMaximized() || w->isMinimized()))
            w->showNormal();
    const QList<QMdiSubWindow *> windows = arrangeableWindows();
    std::vector<QSize> sizes;
    for (const QMdiSubWindow *w : windows)
        sizes.push_back(w->size());
    const std::vector<QRect> places = cascade(sizes, viewport()->size());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(places[size_t(i)]);
        windows[i]->raise();
    }
    if (!windows.isEmpty())
        setActiveSubWindow(windows.back());
}

void Workspace::setBackground(bool usePicture, bool stretch, QImage picture)
{
    m_usePicture = usePicture;
    m_stretch = stretch;
    m_picture = std::move(picture);
    viewport()->update();
}

QImage Workspace::renderBackground(QSize client, QSize outer, bool usePicture, bool stretch,
                                   const QImage &picture)
{
    // Without a usable picture the gradient is painted, whatever the settings say: tiling
    // an empty picture would never advance.
    if (!usePicture || picture.isNull() || picture.width() < 1 || picture.height() < 1) {
        QImage image(client.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::black);
        const int band = client.height() / 64;
        if (band > 0) {
            QPainter p(&image);
            for (int i = 0; i < 64; ++i)
                p.fillRect(0, i * band, client.width(), band, QColor(0, 0, 255 - 4 * i));
        }
        return image;
    }
    QImage image(outer.expandedTo(client).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    if (stretch) {
        p.drawImage(QRect(QPoint(0, 0), client), picture);
    } else {
        for (int y = 0; y < image.height(); y += picture.height()) {
            for (int x = 0; x < image.width(); x += picture.width())
                p.drawImage(x, y, picture);
        }
    }
    return image;
}

void Workspace::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    const QSize outer = window() ? window()->size() : viewport()->size();
    p.drawImage(0, 0, renderBackground(viewport()->size(), outer, m_usePicture, m_stretch, m_picture));
}

void Workspace::scrollContentsBy(int dx, int dy)
{
    QMdiArea::scrollContentsBy(dx, dy);
    viewport()->update(); // the background is repainted whole after every scroll
}
