// The cursor tool window.
#include "tcurspos.h"

#include "barograph/core/messages.h"
#include "barograph/ui/toolglyphs.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/render/textmeasure.h"
#include "logbook/ui/japanesefont.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

namespace {

QToolButton *button(QWidget *parent, const char *name, int x, QStringView hint, Glyph glyph)
{
    return glyphButton(parent, name, QPoint(x, 5), hint, glyph);
}

// The strip was laid out for a narrow face: where the installed one is wider, a text keeps
// to its place by shrinking (down to `least` pixels) until it fits `room`.
QFont fitting(int pixelSize, const QString &text, int room, int least)
{
    QFont font = japaneseUiFont(pixelSize);
    while (font.pixelSize() > least && widestAdvance(font, {text}) > room)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

// `widest` is the longest text the edit shows.
QLineEdit *edit(QWidget *parent, const char *name, QRect geometry, QStringView hint, const QString &widest)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(geometry);
    e->setToolTip(hint.toString());
    e->setTextMargins(0, 0, 0, 0);
    e->setFont(fitting(16, widest, geometry.width() - 8, 10)); // less the frame and the edit's own margins
    QPalette palette = e->palette();
    palette.setColor(QPalette::Text, Qt::black);
    e->setPalette(palette);
    return e;
}

// A caption button of the second row.
QToolButton *textButton(QWidget *parent, const char *name, QRect geometry, QStringView text, QStringView hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setText(text.toString());
    b->setToolTip(hint.toString());
    b->setFont(japaneseUiFont(12));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel *unitLabel(QWidget *parent, const QString &text, int x, int pixelSize)
{
    auto *l = new QLabel(text, parent);
    l->setFont(japaneseUiFont(pixelSize));
    l->move(x, 17 - l->sizeHint().height() / 2);
    return l;
}

} // namespace

TCursPos::TCursPos(QWidget *parent, float altitude0, float vario0)
    : ToolStrip(parent, QSize(482, 60), QColor(255, 255, 0))
{
    setObjectName(QStringLiteral("CursPos"));
    QFrame *strip = panel();

    SpeedButtonL = button(strip, "SpeedButtonL", 23, baromsg::HintPrevious, Glyph::Previous);
    EdTime = edit(strip, "EdTime", QRect(48, 5, 62, 24), baromsg::HintTime, QStringLiteral("00:00:00"));
    EdTime->setInputMask(QStringLiteral("00:00:00;_"));
    SpeedButtonR = button(strip, "SpeedButtonR", 112, baromsg::HintNext, Glyph::Next);
    EdHeight = edit(strip, "EdHeight", QRect(136, 5, 56, 24), baromsg::HintHeight, QStringLiteral("8888.8"));
    EdHeight->setReadOnly(true);
    unitLabel(strip, QStringLiteral("m"), 195, 16);
    EdBario = edit(strip, "EdBario", QRect(216, 5, 46, 24), baromsg::HintVario, QStringLiteral("-88.8"));
    unitLabel(strip, QStringLiteral("m/s"), 265, 13);
    SBZoom = button(strip, "SBZoom", 293, baromsg::HintZoom, Glyph::Zoom);
    SBCursOn = button(strip, "SBCursOn", 318, baromsg::HintCursorOnOff, Glyph::Cursor);
    SBHAdjust = button(strip, "SBHAdjust", 344, baromsg::HintHeightAdjust, Glyph::HeightAdjust);
    SBLeftCut = button(strip, "SBLeftCut", 370, baromsg::HintCutLeft, Glyph::CutLeft);
    SBRightCut = button(strip, "SBRightCut", 396, baromsg::HintCutRight, Glyph::CutRight);
    SBPrinter = button(strip, "SBPrinter", 422, baromsg::HintPrint, Glyph::Print);
    SBOnClose = button(strip, "SBOnClose", 450, baromsg::HintClose, Glyph::Close);
    SBTakeoff = textButton(strip, "SBTakeoff", QRect(23, 32, 50, 22), baromsg::TakeoffButton, baromsg::HintTakeoff);
    SBLanding = textButton(strip, "SBLanding", QRect(75, 32, 62, 22), baromsg::LandingButton, baromsg::HintLanding);
    SBMark = textButton(strip, "SBMark", QRect(148, 32, 40, 22), baromsg::MarkButton, baromsg::HintMark);
    LbMark = new QLabel(strip);
    LbMark->setObjectName(QStringLiteral("LbMark"));
    LbMark->setFont(japaneseUiFont(12));
    LbMark->setGeometry(194, 32, 232, 22);
    // The export beside the print: reached from the window's own tools, not only its system menu.
    SBIgc = textButton(strip, "SBIgc", QRect(430, 32, 44, 22), u"IGC", baromsg::IgcExport);

    Timer1 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, &TCursPos::Timer1Timer);
    for (QToolButton *step : {SpeedButtonL, SpeedButtonR})
        step->installEventFilter(this);
    connect(EdTime, &QLineEdit::textChanged, this, &TCursPos::EdTimeChange);
    connect(SBZoom, &QToolButton::clicked, this, &TCursPos::zoomClicked);
    connect(SBCursOn, &QToolButton::clicked, this, &TCursPos::cursorOnOffClicked);
    connect(SBHAdjust, &QToolButton::clicked, this, &TCursPos::heightAdjustClicked);
    connect(SBLeftCut, &QToolButton::clicked, this, &TCursPos::leftCutClicked);
    connect(SBRightCut, &QToolButton::clicked, this, &TCursPos::rightCutClicked);
    connect(SBPrinter, &QToolButton::clicked, this, &TCursPos::printClicked);
    connect(SBOnClose, &QToolButton::clicked, this, &TCursPos::closeClicked);
    connect(SBTakeoff, &QToolButton::clicked, this, &TCursPos::takeoffClicked);
    connect(SBLanding, &QToolButton::clicked, this, &TCursPos::landingClicked);
    connect(SBMark, &QToolButton::clicked, this, &TCursPos::markClicked);
    connect(SBIgc, &QToolButton::clicked, this, &TCursPos::igcClicked);

    setTimeText("00:00:00");
    EdHeight->setText(QString::fromLatin1(numtext::fixed(altitude0, 1, 1)));
    EdBario->setText(QString::fromLatin1(numtext::fixed(vario0, 1, 1)));
    showMark(std::nullopt);
    setCursorControlsEnabled(false);
}

void TCursPos::setCursorControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{SpeedButtonL, SpeedButtonR, EdTime, EdBario, EdHeight,
                                                      SBLeftCut, SBRightCut, SBMark})
        w->setEnabled(enabled);
}

void TCursPos::setMomentsFound(bool takeoff, bool landing)
{
    SBTakeoff->setEnabled(takeoff);
    SBLanding->setEnabled(landing);
}

void TCursPos::showMark(const std::optional<MarkSpan> &span)
{
    const QString text = span ? baromsg::MarkFigures.toString().arg(QString::fromLatin1(span->timeText),
                                                                    QString::fromLatin1(span->heightText),
                                                                    QString::fromLatin1(span->climbText))
                              : baromsg::MarkNone.toString();
    // Whole, and clear of the IGC button beside it: a long span's figures take a smaller face.
    LbMark->setFont(fitting(12, text, LbMark->width(), 8));
    LbMark->setText(text);
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
    emit stepClicked(right, shiftHeld());
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
        emit stepClicked(true, shiftHeld());
    else if (stepLeftHeld)
        emit stepClicked(false, shiftHeld());
    else
        Timer1->stop();
    Timer1->setInterval(100);
}

void TCursPos::EdTimeChange()
{
    if (updatingEdit)
        return;
    if (const std::optional<qint32> seconds = typedSeconds(EdTime->text().toLatin1()))
        emit timeTyped(*seconds); // else still being typed
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
    return ToolStrip::eventFilter(watched, event);
}
