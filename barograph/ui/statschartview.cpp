// Painting the statistics charts.
#include "statschartview.h"

#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/render/textmeasure.h"
#include "logbook/ui/japanesefont.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr qreal kTop = 22;    // the title
constexpr qreal kBottom = 30; // the bar labels
constexpr qreal kRight = 8;

QString hoursText(qint64 seconds)
{
    return QString::fromLatin1(numtext::clockText(seconds));
}

/// A round step of hours giving at most `maxSteps` grid lines up to `maxHours`.
qint64 hourStep(double maxHours, int maxSteps)
{
    for (qint64 step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000})
        if (maxHours / double(step) <= maxSteps)
            return step;
    return 100000;
}

QString hourLabel(qint64 hours)
{
    return QStringLiteral("%1h").arg(hours);
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
    setMinimumWidth(int(leftMargin() + kRight) + int(m_bars.size()) * 14);
    update();
}

StatsChartView::Scale StatsChartView::scale() const
{
    qint64 most = 0;
    for (const Bar &b : m_bars)
        most = std::max(most, b.seconds);
    // As many lines as keep their labels a line apart, five at most.
    const qreal plotHeight = std::max<qreal>(1, height() - kTop - kBottom);
    const int maxSteps = std::clamp(int(plotHeight / (fontMetrics().height() + 2)), 1, 5);
    const qint64 step = hourStep(double(most) / 3600, maxSteps);
    return {step, std::max<qint64>(step, (most / 3600 / step + 1) * step)};
}

qreal StatsChartView::leftMargin() const
{
    // As wide as the widest hour label, in the face it is drawn in.
    const Scale s = scale();
    QStringList labels;
    for (qint64 h = 0; h <= s.topHours; h += s.step)
        labels << hourLabel(h);
    return widestAdvance(font(), labels) + 8;
}

QRectF StatsChartView::plotArea() const
{
    const qreal left = leftMargin();
    return QRectF(left, kTop, std::max<qreal>(1, width() - left - kRight), std::max<qreal>(1, height() - kTop - kBottom));
}

QRectF StatsChartView::barColumn(int index) const
{
    const QRectF plot = plotArea();
    const qreal slot = plot.width() / std::max<qreal>(1, qreal(m_bars.size()));
    return QRectF(plot.left() + slot * index + slot * 0.15, plot.top(), slot * 0.7, plot.height());
}

QRectF StatsChartView::labelArea(int index) const
{
    // Labels every n-th bar when they do not all fit.
    const QRectF plot = plotArea();
    const qreal slot = plot.width() / std::max<qreal>(1, qreal(m_bars.size()));
    QStringList labels;
    for (const Bar &b : m_bars)
        labels << b.label;
    const int widest = std::max(1, widestAdvance(font(), labels));
    const int every = std::max(1, int((widest + 4) / std::max<qreal>(1, slot)) + 1);
    // A label stands centred under its bar, never left of the axis, where the hour scale's
    // "0h" stands, nor past the right edge: the labelled bars start at the first whose
    // label has room, and one without room at the end goes.
    const auto room = [&](int i) {
        const qreal centre = barColumn(i).center().x();
        return centre - widest / 2.0 >= plot.left() && centre + widest / 2.0 <= width();
    };
    int first = 0;
    while (first < int(m_bars.size()) && !room(first))
        ++first;
    if (index < first || (index - first) % every != 0 || !room(index))
        return QRectF();
    return QRectF(barColumn(index).center().x() - widest / 2.0, plot.bottom() + 2, widest, kBottom - 4);
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
    const QRectF plot = plotArea();
    p.drawText(QRectF(plot.left(), 2, width() - plot.left(), kTop - 4), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    const Scale s = scale();
    const double topHours = double(s.topHours);
    const qreal line = fontMetrics().height();
    const auto yOf = [&](double hours) { return plot.bottom() - plot.height() * hours / topHours; };
    for (qint64 h = 0; double(h) <= topHours; h += s.step) {
        p.setPen(grid);
        p.drawLine(QPointF(plot.left(), yOf(double(h))), QPointF(plot.right(), yOf(double(h))));
        p.setPen(text);
        p.drawText(QRectF(0, yOf(double(h)) - line / 2, plot.left() - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                   hourLabel(h));
    }
    const QFontMetrics metrics(font());
    for (int i = 0; i < int(m_bars.size()); ++i) {
        const QRectF column = barColumn(i);
        const double hours = double(m_bars[size_t(i)].seconds) / 3600;
        const QRectF bar(column.left(), yOf(hours), column.width(), plot.bottom() - yOf(hours));
        if (bar.height() > 0)
            p.fillRect(bar, QColor(0x20, 0x60, 0xC0));
        const QRectF label = labelArea(i);
        if (!label.isEmpty()) {
            p.setPen(text);
            p.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                       metrics.elidedText(m_bars[size_t(i)].label, Qt::ElideRight, int(label.width())));
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
