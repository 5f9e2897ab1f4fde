// The drawn speed-button pictures.
#include "speedicons.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon drawnIcon(void (*draw)(QPainter &))
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}

void drawEditIcon(QPainter &p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(3, 2, 12, 16);
    for (int y = 6; y <= 14; y += 3)
        p.drawLine(5, y, 13, y);
    p.setPen(QPen(QColor(0xC0, 0x40, 0x00), 2));
    p.drawLine(10, 17, 18, 6);
}

void drawGraphIcon(QPainter &p)
{
    p.fillRect(1, 2, 18, 16, Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(1, 2, 18, 16);
    p.setPen(QPen(QColor(0xFF, 0x00, 0x00), 1.5));
    const QPointF trace[] = {{2, 16}, {5, 12}, {8, 13}, {11, 6}, {14, 8}, {18, 15}};
    p.drawPolyline(trace, 6);
}

} // namespace

namespace speedicon {

QIcon edit()
{
    return drawnIcon(drawEditIcon);
}

QIcon graph()
{
    return drawnIcon(drawGraphIcon);
}

} // namespace speedicon
