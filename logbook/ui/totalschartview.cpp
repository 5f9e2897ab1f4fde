// Painting the totals chart.
#include "totalschartview.h"

#include "logbook/core/totalschart.h"
#include "logbook/core/text/cp932.h"
#include "logbook/render/textmeasure.h"
#include "logbook/ui/japanesefont.h"

#include <QHelpEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>

#include <cmath>

TotalsChartView::TotalsChartView(QWidget *parent) : QWidget(parent)
{
    setFont(japaneseUiFont(11));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumHeight(90);
}

void TotalsChartView::setTotals(const FlightTotals *totals)
{
    m_totals = totals;
    fitMinimumWidth();
    update();
}

TotalsChart TotalsChartView::chart() const
{
    return layoutTotalsChart(*m_totals, size(), measuredIn(font()));
}

void TotalsChartView::fitMinimumWidth()
{
    // The hour scale's width follows the height (fewer lines on a low chart): the least
    // width is that of the chart at this height.
    setMinimumWidth(m_totals ? int(std::ceil(chart().minimumWidth)) : 0);
}

void TotalsChartView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_totals && event->size().height() != event->oldSize().height())
        fitMinimumWidth();
}

void TotalsChartView::paintEvent(QPaintEvent *)
{
    if (!m_totals)
        return;
    const TotalsChart chart = this->chart();
    QPainter p(this);
    const QColor grid(0xD8, 0xD8, 0xD8);
    const QColor text(0x30, 0x30, 0x30);
    const qreal line = chart.lineHeight;

    for (const TotalsChart::Tick &t : chart.ticks) {
        p.setPen(grid);
        p.drawLine(QPointF(chart.plot.left(), t.y), QPointF(chart.plot.right(), t.y));
        p.setPen(text);
        p.drawText(QRectF(0, t.y - line / 2, chart.plot.left() - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(t.label));
    }
    for (size_t i = 0; i < chart.years.size(); ++i) {
        const TotalsChart::Year &y = chart.years[i];
        p.setPen(QColor(0xB0, 0xB0, 0xB0));
        if (i > 0)
            p.drawLine(y.block.topLeft(), y.block.bottomLeft());
        p.setPen(text);
        const qreal under = chart.plot.bottom() + 2 + line;
        p.drawText(QRectF(y.block.left(), under, y.block.width(), line), Qt::AlignHCenter | Qt::AlignVCenter,
                   cp932::toUnicode(y.label));
        p.drawText(QRectF(y.block.left(), under + line, y.block.width(), line), Qt::AlignHCenter | Qt::AlignVCenter,
                   QString::fromLatin1(y.time));
    }
    const bool roomForMonths =
        !chart.bars.empty() && chart.bars.front().rect.width() / 0.7 >= widestAdvance(font(), {QStringLiteral("12")});
    for (const TotalsChart::Bar &b : chart.bars) {
        if (b.rect.height() > 0)
            p.fillRect(b.rect, QColor(0x20, 0x60, 0xC0));
        if (roomForMonths || b.month == 1 || b.month == 7) {
            p.setPen(text);
            const qreal slot = b.rect.width() / 0.7;
            p.drawText(QRectF(b.rect.center().x() - slot / 2, chart.plot.bottom() + 1, slot, line),
                       Qt::AlignHCenter | Qt::AlignTop, QString::number(b.month));
        }
    }
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawLine(chart.plot.bottomLeft(), chart.plot.bottomRight());
}

bool TotalsChartView::event(QEvent *e)
{
    // Hovering a month shows its flying time.
    if (e->type() == QEvent::ToolTip && m_totals) {
        const auto *help = static_cast<QHelpEvent *>(e);
        const TotalsChart chart = this->chart();
        for (const TotalsChart::Bar &b : chart.bars) {
            const qreal slot = b.rect.width() / 0.7;
            if (QRectF(b.rect.center().x() - slot / 2, chart.plot.top(), slot, chart.plot.height() + 14)
                    .contains(help->pos())) {
                QToolTip::showText(help->globalPos(), QStringLiteral("%1/%2  %3")
                                                          .arg(b.year).arg(b.month)
                                                          .arg(QString::fromLatin1(numtext::clockText(b.seconds))));
                return true;
            }
        }
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    return QWidget::event(e);
}
