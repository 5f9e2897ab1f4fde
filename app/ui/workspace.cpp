// Painting the workspace background.
#include "workspace.h"

#include <QPaintEvent>
#include <QPainter>

Workspace::Workspace(QWidget *parent) : QMdiArea(parent)
{
    setObjectName(QStringLiteral("ClientWindow"));
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
