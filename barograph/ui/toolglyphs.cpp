// The pictures of the barograph tool windows' buttons.
#include "toolglyphs.h"

#include <QDialog>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>

QIcon glyphIcon(Glyph glyph)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    const auto triangle = [&p](QPointF a, QPointF b, QPointF c, const QColor &fill) {
        QPainterPath path;
        path.moveTo(a);
        path.lineTo(b);
        path.lineTo(c);
        path.closeSubpath();
        p.fillPath(path, fill);
        p.drawPath(path);
    };
    switch (glyph) {
    case Glyph::Previous:
    case Glyph::Left:
        triangle({11, 3}, {4, 8}, {11, 13}, glyph == Glyph::Left ? QColor(Qt::white) : QColor(Qt::darkBlue));
        break;
    case Glyph::Next:
    case Glyph::Right:
        triangle({5, 3}, {12, 8}, {5, 13}, glyph == Glyph::Right ? QColor(Qt::white) : QColor(Qt::darkBlue));
        break;
    case Glyph::Zoom:
        p.drawEllipse(QRectF(2, 2, 8, 8));
        p.setPen(QPen(Qt::black, 2.2));
        p.drawLine(QPointF(9, 9), QPointF(14, 14));
        break;
    case Glyph::Cursor:
        p.setPen(QPen(Qt::darkGray, 1.5));
        p.drawLine(QPointF(8, 1), QPointF(8, 15));
        p.drawLine(QPointF(1, 8), QPointF(15, 8));
        break;
    case Glyph::HeightAdjust:
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        triangle({5, 5}, {8, 1.5}, {11, 5}, Qt::black);
        triangle({5, 11}, {8, 14.5}, {11, 11}, Qt::black);
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        break;
    case Glyph::CutLeft:
        p.fillRect(QRectF(1, 4, 7, 8), QColor(200, 0, 0));
        p.drawLine(QPointF(8.5, 1), QPointF(8.5, 15));
        p.drawLine(QPointF(9, 8), QPointF(15, 8));
        break;
    case Glyph::CutRight:
        p.fillRect(QRectF(8, 4, 7, 8), QColor(200, 0, 0));
        p.drawLine(QPointF(7.5, 1), QPointF(7.5, 15));
        p.drawLine(QPointF(1, 8), QPointF(7, 8));
        break;
    case Glyph::Print:
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.fillRect(QRectF(1.5, 6.5, 13, 6), Qt::lightGray);
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.fillRect(QRectF(4, 10, 8, 5), Qt::white);
        p.drawRect(QRectF(4, 10, 8, 5));
        break;
    case Glyph::Up:
        triangle({3, 11}, {8, 4}, {13, 11}, Qt::white);
        break;
    case Glyph::Down:
        triangle({3, 5}, {8, 12}, {13, 5}, Qt::white);
        break;
    case Glyph::Close:
        p.setPen(QPen(Qt::darkRed, 2));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    }
    return QIcon(pixmap);
}


QToolButton *glyphButton(QWidget *parent, const char *name, QPoint at, QStringView hint, Glyph glyph)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(QRect(at, QSize(24, 24)));
    b->setToolTip(hint.toString());
    b->setIcon(glyphIcon(glyph));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

std::pair<QPushButton *, QPushButton *> okCancelButtons(QDialog *dialog, QPoint ok, int width)
{
    auto *yes = new QPushButton(QStringLiteral("OK"), dialog);
    yes->setObjectName(QStringLiteral("BitBtn1"));
    yes->setGeometry(QRect(ok, QSize(width, 30)));
    yes->setDefault(true);
    auto *no = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog);
    no->setObjectName(QStringLiteral("BitBtn2"));
    no->setGeometry(QRect(ok + QPoint(0, 40), QSize(width, 30)));
    QObject::connect(yes, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(no, &QPushButton::clicked, dialog, &QDialog::reject);
    return {yes, no};
}
