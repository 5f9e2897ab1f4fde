// A bar chart of flying hours for the statistics window: one bar per year, per month of the
// year or per site, its label under it, and a click on a bar chosen by its index. Painted as
// the totals chart is; the bars' places come from one function, so a click hits what is drawn.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class StatsChartView : public QWidget {
    Q_OBJECT
public:
    struct Bar {
        QString label;
        qint64 seconds = 0;
    };

    explicit StatsChartView(const QString &title, QWidget *parent = nullptr);

    void setBars(std::vector<Bar> bars);
    int barCount() const { return int(m_bars.size()); }
    /// Where bar `index` is drawn, widget pixels; its full column, so that a short bar can
    /// be clicked as well as a tall one.
    QRectF barColumn(int index) const;
    /// Where bar `index`'s label is drawn; empty when it has none (only every n-th bar is
    /// labelled where the labels do not all fit).
    QRectF labelArea(int index) const;
    /// The bars' area; left of it stands the hour scale, as wide as its widest label.
    QRectF plotArea() const;

signals:
    void barClicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Scale {
        qint64 step = 1;     ///< hours between two lines
        qint64 topHours = 1; ///< the top line
    };
    /// The hour lines for the bars at this height.
    Scale scale() const;
    /// Room left of the axis for the hour labels.
    qreal leftMargin() const;
    int barAt(QPointF pos) const;

    QString m_title;
    std::vector<Bar> m_bars;
};
