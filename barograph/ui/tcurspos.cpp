// The cursor tool window.
#include "tcurspos.h"

#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"
#include "barograph/ui/tgraph.h"
#include "logbook/ui/japanesefont.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <cmath>

namespace {

enum class Glyph { Previous, Next, Zoom, Cursor, HeightAdjust, CutLeft, CutRight, Print, Close };

// The buttons' pictures, drawn rather than shipped as files.
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
        triangle({11, 3}, {4, 8}, {11, 13}, Qt::darkBlue);
        break;
    case Glyph::Next:
        triangle({5, 3}, {12, 8}, {5, 13}, Qt::darkBlue);
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
    case Glyph::Close:
        p.setPen(QPen(Qt::darkRed, 2));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    }
    return QIcon(pixmap);
}

QToolButton *button(QWidget *parent, const char *name, int x, QStringView hint, Glyph glyph)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 5, 24, 24);
    b->setToolTip(hint.toString());
    b->setIcon(glyphIcon(glyph));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// `widest` is the longest text the edit shows: where the installed face is wider than the
// one the strip was laid out for, the font shrinks until that text fits.
QLineEdit *edit(QWidget *parent, const char *name, QRect geometry, QStringView hint, const QString &widest)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(geometry);
    e->setToolTip(hint.toString());
    e->setTextMargins(0, 0, 0, 0);
    QFont font = japaneseUiFont(16);
    const int room = geometry.width() - 8; // frame and the edit's own margins
    while (font.pixelSize() > 10 && QFontMetrics(font).horizontalAdvance(widest) > room)
        font.setPixelSize(font.pixelSize() - 1);
    e->setFont(font);
    QPalette palette = e->palette();
    palette.setColor(QPalette::Text, Qt::black);
    e->setPalette(palette);
    return e;
}

QLabel *unitLabel(QWidget *parent, const QString &text, int x, int pixelSize)
{
    auto *l = new QLabel(text, parent);
    l->setFont(japaneseUiFont(pixelSize));
    l->move(x, 17 - l->sizeHint().height() / 2);
    return l;
}

} // namespace

TCursPos::TCursPos(TGraph &graph, float altitude0, float vario0)
    : QWidget(&graph, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_graph(graph)
{
    setObjectName(QStringLiteral("CursPos"));
    setFixedSize(482, 34);
    shiftHeld = [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); };

    auto *panel = new QFrame(this);
    panel->setGeometry(0, 0, 482, 34);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette yellow = panel->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 0));
    panel->setPalette(yellow);

    SpeedButtonL = button(panel, "SpeedButtonL", 23, baromsg::HintPrevious, Glyph::Previous);
    EdTime = edit(panel, "EdTime", QRect(48, 5, 62, 24), baromsg::HintTime, QStringLiteral("00:00:00"));
    EdTime->setInputMask(QStringLiteral("00:00:00;_"));
    SpeedButtonR = button(panel, "SpeedButtonR", 112, baromsg::HintNext, Glyph::Next);
    EdHeight = edit(panel, "EdHeight", QRect(136, 5, 56, 24), baromsg::HintHeight, QStringLiteral("8888.8"));
    EdHeight->setReadOnly(true);
    unitLabel(panel, QStringLiteral("m"), 195, 16);
    EdBario = edit(panel, "EdBario", QRect(216, 5, 46, 24), baromsg::HintVario, QStringLiteral("-88.8"));
    unitLabel(panel, QStringLiteral("m/s"), 265, 13);
    SBZoom = button(panel, "SBZoom", 293, baromsg::HintZoom, Glyph::Zoom);
    SBCursOn = button(panel, "SBCursOn", 318, baromsg::HintCursorOnOff, Glyph::Cursor);
    SBHAdjust = button(panel, "SBHAdjust", 344, baromsg::HintHeightAdjust, Glyph::HeightAdjust);
    SBLeftCut = button(panel, "SBLeftCut", 370, baromsg::HintCutLeft, Glyph::CutLeft);
    SBRightCut = button(panel, "SBRightCut", 396, baromsg::HintCutRight, Glyph::CutRight);
    SBPrinter = button(panel, "SBPrinter", 422, baromsg::HintPrint, Glyph::Print);
    SBOnClose = button(panel, "SBOnClose", 450, baromsg::HintClose, Glyph::Close);

    Timer1 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, &TCursPos::Timer1Timer);
    for (QToolButton *step : {SpeedButtonL, SpeedButtonR})
        step->installEventFilter(this);
    connect(EdTime, &QLineEdit::textChanged, this, &TCursPos::EdTimeChange);
    connect(SBZoom, &QToolButton::clicked, &graph, &TGraph::zoomRequested);
    connect(SBHAdjust, &QToolButton::clicked, &graph, &TGraph::heightAdjustRequested);
    connect(SBPrinter, &QToolButton::clicked, &graph, &TGraph::printRequested);
    connect(SBCursOn, &QToolButton::clicked, this, [this] {
        // A click at the cursor's column on the altitude panel's top edge: it hides a shown
        // cursor, and shows a hidden one as long as its time lies in the view.
        const GraphLayout &l = m_graph.graphLayout();
        m_graph.clickAt(QPoint(m_graph.view().xAtTime(m_graph.cursorTime(), l), l.plotTop));
    });
    connect(SBLeftCut, &QToolButton::clicked, &graph, &TGraph::cutLeft);
    connect(SBRightCut, &QToolButton::clicked, &graph, &TGraph::cutRight);
    connect(SBOnClose, &QToolButton::clicked, &graph, &QWidget::close);

    setTimeText("00:00:00");
    EdHeight->setText(QString::fromLatin1(numtext::fixed(altitude0, 1, 1)));
    EdBario->setText(QString::fromLatin1(numtext::fixed(vario0, 1, 1)));
    setCursorControlsEnabled(false);
}

void TCursPos::setCursorControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{SpeedButtonL, SpeedButtonR, EdTime, EdBario, EdHeight,
                                                      SBLeftCut, SBRightCut})
        w->setEnabled(enabled);
}

void TCursPos::showReadouts(const CursorPlacement &cursor, bool withTime)
{
    if (withTime)
        setTimeText(cursor.timeText);
    EdHeight->setText(QString::fromLatin1(cursor.altitudeText));
    EdBario->setText(QString::fromLatin1(cursor.varioText));
}

void TCursPos::setTimeText(const QByteArray &text)
{
    const bool updating = updatingEdit;
    updatingEdit = true;
    EdTime->setText(QString::fromLatin1(text));
    updatingEdit = updating;
}

void TCursPos::stepPressed(bool right)
{
    if (right)
        m_graph.stepRight(shiftHeld());
    else
        m_graph.stepLeft(shiftHeld());
    (right ? stepRightHeld : stepLeftHeld) = true;
    Timer1->setInterval(1000);
    Timer1->start();
}

void TCursPos::stepReleased()
{
    stepRightHeld = stepLeftHeld = false;
    Timer1->stop();
}

void TCursPos::Timer1Timer()
{
    if (stepRightHeld)
        m_graph.stepRight(shiftHeld());
    else if (stepLeftHeld)
        m_graph.stepLeft(shiftHeld());
    else
        Timer1->stop();
    Timer1->setInterval(100);
}

void TCursPos::EdTimeChange()
{
    if (updatingEdit)
        return;
    const std::optional<qint32> seconds = typedSeconds(EdTime->text().toLatin1());
    if (!seconds)
        return; // still being typed
    if (*seconds > m_graph.stats().flightSeconds)
        setTimeText(numtext::clockText(truncClamped(std::trunc(m_graph.cursorTime()))));
    else
        m_graph.cursorMove(float(*seconds), false);
}

bool TCursPos::eventFilter(QObject *watched, QEvent *event)
{
    auto *step = qobject_cast<QToolButton *>(watched);
    if (step && step->isEnabled()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            stepPressed(step == SpeedButtonR);
        else if (event->type() == QEvent::MouseButtonRelease)
            stepReleased();
    }
    return QWidget::eventFilter(watched, event);
}

// No caption bar: a left-button press on the body moves the window.
void TCursPos::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void TCursPos::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void TCursPos::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}
