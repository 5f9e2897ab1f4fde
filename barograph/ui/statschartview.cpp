// Painting the statistics charts.
#include "statschartview.h"

#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/ui/japanesefont.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr qreal kLeft = 48;   // room for the hour labels
constexpr qreal kTop = 22;    // the title
constexpr qreal kBottom = 30; // the bar labels
constexpr qreal kRight = 8;

QString hoursText(qint64 seconds)
{
    return QString::fromLatin1(numtext::clockText(seconds));
}

/// A round step of hours giving about four grid lines up to `maxHours`.
qint64 hourStep(double maxHours)
{
    for (qint64 step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000})
        if (maxHours / double(step) <= 5)
            return step;
    return 10000;
}

} // namespace

StatsChartView::StatsChartView(const QString &title, QWidget *parent) : QWidget(parent), m_title(title)
{
    setFont(japaneseUiFont(11));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumHeight(150);
}

void StatsChartView::setBars(std::vector<Bar> bars)
{
    m_bars = std::move(bars);
    setMinimumWidth(int(kLeft + kRight) + int(m_bars.size()) * 14);
    update();
}

QRectF StatsChartView::plotArea() const
{
    return QRectF(kLeft, kTop, std::max<qreal>(1, width() - kLeft - kRight), std::max<qreal>(1, height() - kTop - kBottom));
}

QRectF StatsChartView::barColumn(int index) const
{
    const QRectF plot = plotArea();
    const qreal slot = plot.width() / std::max<qreal>(1, qreal(m_bars.size()));
    return QRectF(plot.left() + slot * index + slot * 0.15, plot.top(), slot * 0.7, plot.height());
}

int StatsChartView::barAt(QPointF pos) const
{
    const QRectF plot = plotArea();
    if (m_bars.empty() || pos.x() < plot.left() || pos.x() >= plot.right() || pos.y() < plot.top() ||
        pos.y() > plot.bottom() + kBottom)
        return -1;
    const int i = int((pos.x() - plot.left()) / (plot.width() / qreal(m_bars.size())));
    return std::clamp(i, 0, int(m_bars.size()) - 1);
}

void StatsChartView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor grid(0xD8, 0xD8, 0xD8);
    const QColor text(0x30, 0x30, 0x30);
    p.setPen(text);
    p.drawText(QRectF(kLeft, 2, width() - kLeft, kTop - 4), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    const QRectF plot = plotArea();
    qint64 most = 0;
    for (const Bar &b : m_bars)
        most = std::max(most, b.seconds);
    const qint64 step = hourStep(double(most) / 3600);
    const double topHours = double(std::max<qint64>(step, (most / 3600 / step + 1) * step));
    const auto yOf = [&](double hours) { return plot.bottom() - plot.height() * hours / topHours; };
    for (qint64 h = 0; double(h) <= topHours; h += step) {
        p.setPen(grid);
        p.drawLine(QPointF(plot.left(), yOf(double(h))), QPointF(plot.right(), yOf(double(h))));
        p.setPen(text);
        p.drawText(QRectF(0, yOf(double(h)) - 8, kLeft - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1h").arg(h));
    }
    const QFontMetrics metrics(font());
    // Labels every n-th bar when they do not all fit.
    const qreal slot = plot.width() / std::max<qreal>(1, qreal(m_bars.size()));
    int widest = 1;
    for (const Bar &b : m_bars)
        widest = std::max(widest, metrics.horizontalAdvance(b.label));
    const int every = std::max(1, int((widest + 4) / std::max<qreal>(1, slot)) + 1);
    for (int i = 0; i < int(m_bars.size()); ++i) {
        const QRectF column = barColumn(i);
        const double hours = double(m_bars[size_t(i)].seconds) / 3600;
        const QRectF bar(column.left(), yOf(hours), column.width(), plot.bottom() - yOf(hours));
        if (bar.height() > 0)
            p.fillRect(bar, QColor(0x20, 0x60, 0xC0));
        if (i % every == 0) {
            p.setPen(text);
            const qreal w = slot * every;
            p.drawText(QRectF(column.center().x() - w / 2, plot.bottom() + 2, w, kBottom - 4),
                       Qt::AlignHCenter | Qt::AlignTop,
                       metrics.elidedText(m_bars[size_t(i)].label, Qt::ElideRight, int(w)));
        }
    }
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
}

void StatsChartView::mousePressEvent(QMouseEvent *event)
{
    const int i = barAt(event->position());
    if (event->button() == Qt::LeftButton && i >= 0)
        emit barClicked(i);
    QWidget::mousePressEvent(event);
}

bool StatsChartView::event(QEvent *e)
{
    // Hovering a bar shows its label and flying time.
    if (e->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(e);
        const int i = barAt(help->pos());
        if (i >= 0)
            QToolTip::showText(help->globalPos(), m_bars[size_t(i)].label + QStringLiteral("  ") +
                                                      hoursText(m_bars[size_t(i)].seconds));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}
