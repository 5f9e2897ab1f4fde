// The statistics window.
#include "tformstats.h"

#include "barograph/core/messages.h"
#include "barograph/core/statisticsrefresh.h"
#include "barograph/ui/statschartview.h"
#include "barograph/ui/tablewidgets.h"
#include "logbook/core/logbook.h"
#include "logbook/core/statisticsedits.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/core/prompter.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loglistwindow.h"
#include "logbook/ui/mainformlink.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

QString timeText(qint64 seconds)
{
    return QString::fromLatin1(numtext::clockText(seconds));
}

QString metres(double m)
{
    return QString::number(m, 'f', 0) + QStringLiteral(" m");
}

QString climb(double mps)
{
    return QString::number(mps, 'f', 1) + QStringLiteral(" m/s");
}

} // namespace

TFormStats::TFormStats(MainFormLink &link, TLogG &list, QWidget *parent)
    : QMdiSubWindow(parent), m_link(link), m_list(list), m_refresh(new StatisticsRefresh(link.logBook(), this)),
      m_refreshSoon(new QTimer(this))
{
    setObjectName(QStringLiteral("FormStats"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(japaneseUiFont(12));
    setWindowTitle(baromsg::StatsCaption.toString());

    auto *body = new QWidget(this);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_progress = newLookProgress();
    m_carriedFlights = new QSpinBox;
    m_carriedFlights->setObjectName(QStringLiteral("CarriedFlights"));
    m_carriedFlights->setRange(0, kMaxCarriedFlights);
    m_carriedTime = new QLineEdit;
    m_carriedTime->setObjectName(QStringLiteral("CarriedTime"));
    m_carriedTime->setPlaceholderText(QStringLiteral("0:00:00"));
    m_carriedTime->setMaximumWidth(90);
    auto *setCarried = new QPushButton(baromsg::StatsCarriedSet.toString());
    setCarried->setObjectName(QStringLiteral("SetCarried"));
    auto *exclude = new QPushButton(baromsg::StatsExclude.toString());
    exclude->setObjectName(QStringLiteral("Exclude"));
    auto *edits = new QHBoxLayout;
    edits->addWidget(new QLabel(baromsg::StatsCarriedFlights.toString()));
    edits->addWidget(m_carriedFlights);
    edits->addWidget(new QLabel(baromsg::StatsCarriedTime.toString()));
    edits->addWidget(m_carriedTime);
    edits->addWidget(setCarried);
    edits->addStretch();
    edits->addWidget(exclude);

    using namespace baromsg;
    m_years = newTable({StatsYear, StatsFlights, StatsTime, StatsMean, StatsLongest, StatsHighest, StatsBestClimb,
                        StatsClimbed});
    m_years->setObjectName(QStringLiteral("Years"));
    m_months = newTable({StatsMonth, StatsFlights, StatsTime});
    m_months->setObjectName(QStringLiteral("Months"));
    m_sites = newTable({StatsSite, StatsFlights, StatsTime, StatsHighest, StatsFirst, StatsLast});
    m_sites->setObjectName(QStringLiteral("Sites"));
    m_records = newTable({StatsRecord, StatsValue, StatsDate, StatsSite});
    m_records->setObjectName(QStringLiteral("Records"));

    m_yearChart = new StatsChartView(StatsChartYears.toString());
    m_yearChart->setObjectName(QStringLiteral("YearChart"));
    m_monthChart = new StatsChartView(StatsChartMonths.toString());
    m_monthChart->setObjectName(QStringLiteral("MonthChart"));
    m_siteChart = new StatsChartView(StatsChartSites.toString());
    m_siteChart->setObjectName(QStringLiteral("SiteChart"));
    auto *charts = new QWidget;
    auto *chartLayout = new QVBoxLayout(charts);
    chartLayout->addWidget(m_yearChart);
    chartLayout->addWidget(m_monthChart);
    chartLayout->addWidget(m_siteChart);
    auto *chartScroll = new QScrollArea;
    chartScroll->setWidget(charts);
    chartScroll->setWidgetResizable(true);
    chartScroll->setFrameShape(QFrame::NoFrame);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    m_tabs->addTab(m_years, StatsYears.toString());
    m_tabs->addTab(m_months, StatsMonths.toString());
    m_tabs->addTab(m_sites, StatsSites.toString());
    m_tabs->addTab(m_records, StatsRecords.toString());
    m_tabs->addTab(chartScroll, StatsCharts.toString());

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(m_progress);
    layout->addLayout(top);
    layout->addLayout(edits);
    layout->addWidget(m_tabs);
    setWidget(body);
    resize(720, 540);

    const auto rowsOf = [](const std::vector<std::vector<int>> &rows, int i) {
        return i >= 0 && i < int(rows.size()) ? rows[size_t(i)] : std::vector<int>();
    };
    const auto onTable = [this, rowsOf](QTableWidget *table, const std::vector<std::vector<int>> &rows) {
        connect(table, &QTableWidget::cellClicked, this,
                [this, &rows, rowsOf](int r, int) { selectFlights(rowsOf(rows, r), false); });
        // A row reached with the keyboard selects its flights as a click does.
        connect(table, &QTableWidget::currentCellChanged, this, [this, &rows, rowsOf](int r, int, int previous, int) {
            if (r >= 0 && r != previous)
                selectFlights(rowsOf(rows, r), false);
        });
        connect(table, &QTableWidget::cellDoubleClicked, this,
                [this, &rows, rowsOf](int r, int) { selectFlights(rowsOf(rows, r), true); });
    };
    onTable(m_years, m_yearRows);
    onTable(m_months, m_monthRows);
    onTable(m_sites, m_siteRows);
    onTable(m_records, m_recordRows);
    connect(m_yearChart, &StatsChartView::barClicked, this, [this, rowsOf](int i) { selectFlights(rowsOf(m_yearRows, i), false); });
    connect(m_monthChart, &StatsChartView::barClicked, this, [this, rowsOf](int i) { selectFlights(rowsOf(m_monthRows, i), false); });
    connect(m_siteChart, &StatsChartView::barClicked, this, [this, rowsOf](int i) { selectFlights(rowsOf(m_siteRows, i), false); });
    connect(setCarried, &QPushButton::clicked, this, &TFormStats::setCarriedOver);
    connect(exclude, &QPushButton::clicked, this, &TFormStats::toggleExclusion);

    connect(m_refresh, &StatisticsRefresh::progress, this,
            [this](int done, int total) { showLookProgress(m_progress, done, total); });
    connect(m_refresh, &StatisticsRefresh::preview, this, &TFormStats::display);
    connect(m_refresh, &StatisticsRefresh::ready, this, &TFormStats::display);
    connect(m_refresh, &StatisticsRefresh::lookingChanged, this, &TFormStats::computingChanged);

    // Rows named by index go stale when the log is sorted, edited or replaced: follow the
    // list, once per burst of changes, looking only at the rows that changed.
    m_refreshSoon->setSingleShot(true);
    m_refreshSoon->setInterval(0);
    connect(m_refreshSoon, &QTimer::timeout, m_refresh, [this] { m_refresh->update(std::exchange(m_recheckSoon, false)); });
    const QAbstractItemModel *model = m_list.model();
    connect(model, &QAbstractItemModel::modelReset, this, &TFormStats::scheduleRefresh);
    connect(model, &QAbstractItemModel::layoutChanged, this, &TFormStats::scheduleRefresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, &TFormStats::scheduleRefresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TFormStats::scheduleRefresh);
    connect(model, &QAbstractItemModel::dataChanged, this, &TFormStats::scheduleRefresh);
}

void TFormStats::scheduleRefresh()
{
    m_refresh->logChanged();
    m_refreshSoon->start();
}

void TFormStats::refresh()
{
    m_refreshSoon->stop();
    m_refresh->update(true);
}

const LogStatistics &TFormStats::statistics() const
{
    return m_refresh->statistics();
}

bool TFormStats::isComputing() const
{
    // A refresh waiting for the next turn of the event loop is work not yet done too.
    return m_refresh->isLooking() || m_refreshSoon->isActive();
}

void TFormStats::refreshOnceShown()
{
    m_recheckSoon = true;
    m_refreshSoon->start();
}

void TFormStats::display()
{
    m_progress->setVisible(m_refresh->isLooking());
    const LogBook &book = m_link.logBook();
    const LogStatistics &stats = m_refresh->statistics();

    using namespace baromsg;
    QString summary = StatsSummary.toString().arg(stats.flights).arg(timeText(stats.seconds));
    if (stats.carriedFlights || stats.carriedSeconds)
        summary += StatsSummaryCarried.toString().arg(stats.carriedFlights).arg(timeText(stats.carriedSeconds));
    if (stats.excluded)
        summary += StatsSummaryExcluded.toString().arg(stats.excluded);
    m_summary->setText(summary);
    if (!m_carriedTime->hasFocus()) {
        m_carriedFlights->setValue(book.companion.carriedFlights);
        m_carriedTime->setText(book.companion.carriedSeconds ? timeText(book.companion.carriedSeconds) : QString());
    }

    std::vector<QStringList> rows;
    std::vector<StatsChartView::Bar> bars;
    m_yearRows.clear();
    for (const YearStatistics &y : stats.years) {
        rows.push_back({QString::number(y.year), QString::number(y.flights), timeText(y.seconds),
                        timeText(y.meanSeconds()), timeText(y.longestSeconds), metres(y.highest), climb(y.bestClimb),
                        y.withBarograph ? metres(y.totalClimbed) : QString()});
        bars.push_back({QString::number(y.year), y.seconds});
        m_yearRows.push_back(y.rows);
    }
    fill(m_years, rows);
    m_yearChart->setBars(std::move(bars));

    rows.clear();
    bars.clear();
    m_monthRows.clear();
    for (const MonthStatistics &m : stats.months) {
        rows.push_back({QStringLiteral("%1月").arg(m.month), QString::number(m.flights), timeText(m.seconds)});
        bars.push_back({QStringLiteral("%1月").arg(m.month), m.seconds});
        m_monthRows.push_back(m.rows);
    }
    fill(m_months, rows);
    m_monthChart->setBars(std::move(bars));

    rows.clear();
    bars.clear();
    m_siteRows.clear();
    for (const SiteStatistics &s : stats.sites) {
        const QString site = cp932::toUnicode(s.site);
        rows.push_back({site, QString::number(s.flights), timeText(s.seconds), metres(s.highest),
                        cp932::toUnicode(s.firstDate), cp932::toUnicode(s.lastDate)});
        if (bars.size() < 10)
            bars.push_back({site, s.seconds});
        m_siteRows.push_back(s.rows);
    }
    fill(m_sites, rows);
    m_siteChart->setBars(std::move(bars));

    rows.clear();
    m_recordRows.clear();
    const auto record = [&](QStringView name, const FlightRecordHolder &h, const QString &value) {
        if (h.row < 1 || h.row >= book.rowCount())
            return;
        const FlightRecord &flight = book.row(h.row);
        rows.push_back({name.toString(), value, cp932::toUnicode(flight.date.toByteArray()),
                        cp932::toUnicode(siteOf(flight.area.toByteArray()))});
        m_recordRows.push_back({h.row});
    };
    record(StatsRecordLongest, stats.longest, timeText(qint64(stats.longest.value)));
    record(StatsRecordHighest, stats.highest, metres(stats.highest.value));
    record(StatsRecordClimb, stats.bestClimb, climb(stats.bestClimb.value));
    record(StatsRecordGain, stats.biggestGain, metres(stats.biggestGain.value));
    fill(m_records, rows, {0, 3});
}

void TFormStats::selectFlights(const std::vector<int> &rows, bool showList)
{
    m_list.selectRowSet(rows);
    if (showList && !rows.empty()) {
        if (QMdiArea *area = m_link.workspaceArea())
            area->setActiveSubWindow(&m_list);
    }
}

void TFormStats::toggleExclusion()
{
    LogBook &book = m_link.logBook();
    std::vector<int> rows;
    for (const QModelIndex &i : m_list.grid()->selectionModel()->selectedRows()) {
        if (i.row() + 1 < book.rowCount())
            rows.push_back(i.row() + 1);
    }
    if (rows.empty()) {
        m_link.prompter().inform(baromsg::StatsNoSelection);
        return;
    }
    stepTaken(::toggleExclusion(book, rows));
}

void TFormStats::setCarriedOver()
{
    const std::optional<qint64> seconds = readCarriedTime(m_carriedTime->text());
    if (!seconds) {
        m_link.prompter().inform(baromsg::StatsBadTime);
        return;
    }
    if (stepTaken(::setCarriedOver(m_link.logBook(), m_carriedFlights->value(), *seconds)))
        m_carriedTime->clearFocus();
}

bool TFormStats::stepTaken(const QString &step)
{
    if (step.isEmpty())
        return false;
    LogBook &book = m_link.logBook();
    book.history.record(book, step);
    m_link.logChanged();
    m_refreshSoon->stop();
    m_refresh->update();
    return true;
}
