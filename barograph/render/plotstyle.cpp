// Colours, pens and fonts of the barograph picture.
#include "plotstyle.h"

PlotStyle PlotStyle::colour()
{
    PlotStyle s;
    s.timeGrid = QColor(128, 128, 128);
    s.altitudeTrace = QColor(0, 0, 255);
    s.varioClimb = QColor(0, 128, 0);
    s.varioSink = Qt::black;
    s.gain = QColor(255, 0, 0);
    s.marks = QColor(255, 0, 0);
    s.altitudeTitle = QColor(0, 0, 255);
    s.varioTitle = QColor(0, 128, 0);
    // Pale enough that the grey grid's dots and every trace stay as clear as on white.
    s.climbBand = QColor(218, 242, 210);
    s.textFont = graphTextFont(12);
    s.titleFont = graphTitleFont(16);
    return s;
}

PlotStyle PlotStyle::mono()
{
    PlotStyle s = colour();
    s.timeGrid = s.altitudeTrace = s.varioClimb = s.varioSink = s.gain = s.marks = s.altitudeTitle =
        s.varioTitle = Qt::black;
    s.climbBand = QColor(228, 228, 228);
    return s;
}

PlotStyle PlotStyle::forPage() const
{
    PlotStyle s = *this;
    s.scaledPens = true;
    return s;
}

QPen PlotStyle::pen(const QColor &colour) const
{
    QPen p = solidPen(colour);
    p.setCosmetic(!scaledPens);
    return p;
}

QPen PlotStyle::solidPen(const QColor &colour)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

QFont graphTextFont(int pixelSize)
{
    QFont font;
    // The face the picture was designed with first, then the same face under its other
    // names, then the free Japanese gothics of Linux desktops.
    font.setFamilies({QStringLiteral("MS Pゴシック"), QStringLiteral("ＭＳ Ｐゴシック"),
                      QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPixelSize(pixelSize);
    return font;
}

QFont graphTitleFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setWeight(QFont::Normal);
    font.setPixelSize(pixelSize);
    return font;
}
