// The climbs tool window.
#include "tclimbs.h"

#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/render/textmeasure.h"
#include "logbook/ui/japanesefont.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint32 kDaySeconds = 24 * 3600;

QString clock(double seconds)
{
    return QString::fromLatin1(numtext::clockText(qint32(std::lround(seconds))));
}

// The figures as `duvazi-tool baro climbs` prints them: metres whole, climb rates to a tenth.
QString figure(double value, int decimals)
{
    const QString text = QString::number(value, 'f', decimals);
    return text == QLatin1String("-0") || text == QLatin1String("-0.0") ? text.mid(1) : text;
}

// One bar per 0.5 m/s bin, its height the seconds flown at that rate; sink in grey, climb in
// the green of the variogram, a tick under every whole m/s.
class RateHistogram : public QWidget {
public:
    explicit RateHistogram(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Histogram"));
        setFixedHeight(110);
    }

    void setBins(std::vector<RateBin> bins)
    {
        m_bins = std::move(bins);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_bins.empty())
            return;
        p.setFont(japaneseUiFont(10));
        const int labelHeight = 14;
        const QRect area = rect().adjusted(4, 4, -4, -labelHeight - 2);
        double most = 0;
        for (const RateBin &b : m_bins)
            most = std::max(most, b.seconds);
        const int count = int(m_bins.size());
        const double width = double(area.width()) / count;
        for (int i = 0; i < count; ++i) {
            const RateBin &b = m_bins[size_t(i)];
            const int left = area.left() + int(std::lround(i * width));
            const int right = area.left() + int(std::lround((i + 1) * width)) - 1;
            const int height = most > 0 ? int(std::lround(b.seconds / most * area.height())) : 0;
            if (height > 0)
                p.fillRect(QRect(QPoint(left, area.bottom() - height + 1), QPoint(std::max(right, left), area.bottom())),
                           b.from >= 0 ? QColor(0, 128, 0) : QColor(128, 128, 128));
            // A label at each whole m/s, and at least at the ends of a narrow chart.
            const bool whole = std::fabs(b.from - std::round(b.from)) < 0.01f;
            if (whole && (width >= 6 || int(std::lround(b.from)) % 2 == 0)) {
                p.drawLine(left, area.bottom() + 1, left, area.bottom() + 3);
                // Centred under its tick, but held inside the chart: the first label of a
                // sink, "-1", would lose its sign past the left edge.
                const QString text = QString::number(int(std::lround(b.from)));
                const int w = widestAdvance(p.font(), {text});
                const int x = std::clamp(left - w / 2, 1, std::max(1, QWidget::width() - 1 - w));
                p.drawText(QRect(x, area.bottom() + 3, w, labelHeight), Qt::AlignHCenter | Qt::AlignTop, text);
            }
        }
    }

private:
    std::vector<RateBin> m_bins;
};

QLabel *label(QWidget *parent, const char *name, int pixelSize)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(japaneseUiFont(pixelSize));
    return l;
}

} // namespace

TClimbs::TClimbs(QWidget *parent) : ToolStrip(parent, QSize(352, 430), QColor(192, 224, 184))
{
    setObjectName(QStringLiteral("Climbs"));
    QFrame *strip = panel();
    auto *column = new QVBoxLayout(strip);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(4);

    LbTitle = label(strip, "LbTitle", 14);
    column->addWidget(LbTitle);

    TbClimbs = new QTableWidget(0, 5, strip);
    TbClimbs->setObjectName(QStringLiteral("TbClimbs"));
    TbClimbs->setFont(japaneseUiFont(12));
    TbClimbs->setHorizontalHeaderLabels({baromsg::ClimbStart.toString(), baromsg::ClimbDuration.toString(),
                                         baromsg::ClimbGain.toString(), baromsg::ClimbMean.toString(),
                                         baromsg::ClimbBest.toString()});
    TbClimbs->setToolTip(baromsg::HintClimbs.toString());
    TbClimbs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TbClimbs->setSelectionBehavior(QAbstractItemView::SelectRows);
    TbClimbs->setSelectionMode(QAbstractItemView::SingleSelection);
    TbClimbs->setFocusPolicy(Qt::NoFocus);
    TbClimbs->verticalHeader()->setDefaultSectionSize(18);
    TbClimbs->verticalHeader()->setMinimumWidth(22);
    TbClimbs->horizontalHeader()->setFont(japaneseUiFont(11));
    TbClimbs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Fixed widths that fit beside the row numbers and the scroll bar: a stretched last
    // column is laid out before the scroll bar appears and its figures end up beneath it.
    for (const auto &[section, width] : {std::pair{0, 60}, {1, 60}, {2, 46}, {3, 54}, {4, 58}})
        TbClimbs->setColumnWidth(section, width);
    column->addWidget(TbClimbs, 1);
    connect(TbClimbs, &QTableWidget::cellClicked, this, [this](int row, int) { emit climbChosen(row); });

    auto *figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(2);
    LbShare = label(strip, "LbShare", 12);
    LbTotal = label(strip, "LbTotal", 12);
    LbBest = label(strip, "LbBest", 12);
    LbSink = label(strip, "LbSink", 12);
    figures->addWidget(LbShare, 0, 0);
    figures->addWidget(LbTotal, 0, 1);
    figures->addWidget(LbBest, 1, 0);
    figures->addWidget(LbSink, 1, 1);
    column->addLayout(figures);

    QLabel *histogramTitle = label(strip, "LbHistogram", 11);
    histogramTitle->setText(baromsg::RateHistogram.toString());
    column->addWidget(histogramTitle);
    Histogram = new RateHistogram(strip);
    column->addWidget(Histogram);
}

void TClimbs::showAnalysis(const FlightAnalysis &analysis, qint32 clockStartSeconds)
{
    LbTitle->setText(baromsg::ClimbsTitle.toString().arg(analysis.climbs.size()));
    TbClimbs->clearContents();
    TbClimbs->setRowCount(int(analysis.climbs.size()));
    for (int row = 0; row < TbClimbs->rowCount(); ++row) {
        const Climb &c = analysis.climbs[size_t(row)];
        const double clockStart = std::fmod(clockStartSeconds + c.start, double(kDaySeconds));
        const QString texts[] = {clock(clockStart), clock(c.duration()), figure(c.gain, 0), figure(c.meanClimb, 1),
                                 figure(c.bestClimb30s, 1)};
        for (int col = 0; col < 5; ++col) {
            auto *item = new QTableWidgetItem(texts[col]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            TbClimbs->setItem(row, col, item);
        }
    }
    LbShare->setText(baromsg::ClimbingShare.toString().arg(figure(analysis.climbingShare * 100, 0)));
    LbTotal->setText(baromsg::TotalClimb.toString().arg(figure(analysis.totalClimb, 0)));
    LbBest->setText(baromsg::BestClimb30s.toString().arg(figure(analysis.bestClimb30s, 1)));
    LbSink->setText(baromsg::MaxSink30s.toString().arg(figure(analysis.maxSink30s, 1)));
    static_cast<RateHistogram *>(Histogram)->setBins(analysis.histogram);
}
