// TFormStats, the statistics window: per year, per month of the year, per site, the
// records, and charts of the hours, for the open log; and what the log cannot hold (flights
// carried over from before it, flights left out of the statistics), edited here. A click on
// a table row or a bar selects those flights in the log list. Refreshed from the log when
// the command runs and whenever the list changes; the barographs are read on a worker
// (StatisticsRefresh), with the progress in the window, and closing the window stops it.
#pragma once

#include "logbook/core/statistics.h"

#include <QMdiSubWindow>

#include <vector>

class MainFormLink;
class StatisticsRefresh;
class StatsChartView;
class TLogG;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;

class TFormStats : public QMdiSubWindow {
    Q_OBJECT
public:
    TFormStats(MainFormLink &link, TLogG &list, QWidget *parent = nullptr);

    /// Brings the statistics up to the log as it is now, every barograph looked at again (a
    /// file changed behind the log's back), and shows them when the look ends.
    void refresh();
    /// The same, from the next turn of the event loop: a window just made is drawn first,
    /// and the first look at a large log does not hold its first paint.
    void refreshOnceShown();
    /// The statistics shown; those of the log as it is now unless isComputing().
    const LogStatistics &statistics() const;
    bool isComputing() const;

    /// Leaves the flights selected in the log list out of the statistics, or, when every one
    /// of them is left out already, counts them again. The log becomes modified.
    void toggleExclusion();
    /// Takes the carried-over fields into the log; says so when the time cannot be read.
    void setCarriedOver();

    QTabWidget *tabs() const { return m_tabs; }
    QTableWidget *yearTable() const { return m_years; }
    QTableWidget *monthTable() const { return m_months; }
    QTableWidget *siteTable() const { return m_sites; }
    QTableWidget *recordTable() const { return m_records; }
    StatsChartView *yearChart() const { return m_yearChart; }
    QLabel *summary() const { return m_summary; }
    QSpinBox *carriedFlightsField() const { return m_carriedFlights; }
    QLineEdit *carriedTimeField() const { return m_carriedTime; }

signals:
    /// The barographs started being read on the worker, or stopped.
    void computingChanged(bool computing);

private:
    void selectFlights(const std::vector<int> &rows, bool showList);
    /// After an edit of what the statistics count: records it as the history step `step`
    /// (empty: nothing changed, false) and shows the log changed.
    bool stepTaken(const QString &step);
    void scheduleRefresh();
    void display();

    MainFormLink &m_link;
    TLogG &m_list;
    StatisticsRefresh *m_refresh;
    // The log rows behind each table row and bar, in the same order.
    std::vector<std::vector<int>> m_yearRows, m_monthRows, m_siteRows, m_recordRows;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QSpinBox *m_carriedFlights;
    QLineEdit *m_carriedTime;
    QTabWidget *m_tabs;
    QTableWidget *m_years, *m_months, *m_sites, *m_records;
    StatsChartView *m_yearChart, *m_monthChart, *m_siteChart;
    QTimer *m_refreshSoon;
    bool m_recheckSoon = false; ///< the refresh waiting on m_refreshSoon looks at every file again
};
