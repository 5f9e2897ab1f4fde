// TFormCurrency, the window "ライセンス・カレンシー": the pilot's rules with their status on a
// day (the count, met or not, the day each lapses, those lapsing within 30 days apart), the
// flights that count for the rule chosen (a click selects them in the log list), its proof as
// PDF, and the gear list with when each item is due. Rules and gear are the log's own, kept in
// its companion: editing them modifies the log. The figures are the core's currencyReport,
// the same that duvazi-tool prints. Also the commands that open it and the notice when a log
// opens. A rule of height differences needs every barograph read: that is done off the
// window's thread (StatisticsRefresh), the figures shown as they stand meanwhile.
#pragma once

#include "barograph/core/currencyreport.h"
#include "barograph/ui/currencydialogs.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class MainFormLink;
class StatisticsRefresh;
class TLogG;
class QLabel;
class QProgressBar;
class QLineEdit;
class QTabWidget;
class QTableWidget;
class QTimer;

class TFormCurrency : public QMdiSubWindow {
    Q_OBJECT
public:
    TFormCurrency(MainFormLink &link, TLogG &list, QWidget *parent = nullptr);

    /// Computes the status of the log's rules and gear on the day in the date field, and shows
    /// it; with a rule of height differences, again once the barographs changed are read.
    void refresh();
    const CurrencyReport &report() const { return m_report; }
    /// Barographs are being read: the counts of height rules may still grow.
    bool isReading() const;
    /// Sets the day asked about ("YY/MM/DD") and refreshes; false when it is no day.
    bool setDay(const QString &text);

    /// Chooses rule `index`: its flights in the lower table, and selected in the log list.
    void chooseRule(int index);
    /// Adds preset `index` of currencyPresets() after the pilot edited it in the rule dialog.
    void addPreset(int index);
    void addRule();
    void editRule(int index);
    void removeRule(int index);
    /// Writes the proof of rule `index` as a PDF file at `path`; the problem when it cannot.
    std::optional<QString> writeProof(int index, const QString &path);

    void addGear();
    /// Item `index` is used from a day asked for, or was checked on one.
    void useGear(int index);
    void checkGear(int index);
    void removeGear(int index);

    // Dialogs, replaced by tests.
    std::function<std::optional<CurrencyRule>(QWidget *, const CurrencyRule &)> askRule = ruleDialog;
    std::function<std::optional<NewGear>(QWidget *, QDate)> askGear = gearDialog;
    std::function<std::optional<QDate>(QWidget *, const QString &, QDate)> askDate = dateDialog;

    QLineEdit *dayField() const { return m_day; }
    QLabel *soonLabel() const { return m_soon; }
    QTableWidget *ruleTable() const { return m_rules; }
    QTableWidget *rowTable() const { return m_rows; }
    QTableWidget *gearTable() const { return m_gear; }
    QTabWidget *tabs() const { return m_tabs; }

private:
    QWidget *rulesPage();
    QWidget *gearPage();
    int chosenRule() const;
    int chosenGear() const;
    /// Item `index` of the log's gear; null, the pilot told to choose one, when there is none.
    GearItem *gearAt(int index);
    /// After an edit of the log's rules or gear: a step of the log's history named `step`, the
    /// log modified, the figures following.
    void changed(QStringView step);
    void showRows();
    void askProof();
    void display();

    MainFormLink &m_link;
    TLogG &m_list;
    StatisticsRefresh *m_heights;
    CurrencyReport m_report;
    QDate m_on;
    QLineEdit *m_day;
    QLabel *m_soon;
    QProgressBar *m_progress;
    QLabel *m_notCounted;
    QTabWidget *m_tabs;
    QTableWidget *m_rules, *m_rows, *m_gear;
    QTimer *m_refreshSoon;
};

/// The currency window as the main window offers it: the one window, made when there is
/// none; and the notice, when a log opens, of the rules that lapse within 30 days.
class CurrencyCommands : public QObject {
    Q_OBJECT
public:
    CurrencyCommands(MainFormLink &link, TLogG &list);
    void showCurrency();
    TFormCurrency *window() const { return m_window; }
    /// Says which of the open log's rules lapse within 30 days of today (nothing when none);
    /// with a rule of height differences, once the barographs are read.
    void noticeLapsingRules();

private:
    void noticeWhenRead();

    MainFormLink &m_link;
    TLogG &m_list;
    QPointer<TFormCurrency> m_window;
    StatisticsRefresh *m_noticeHeights;
    bool m_noticePending = false;
};

/// The text of the notice for `report`; empty when no rule lapses within 30 days.
QString lapsingNotice(const CurrencyReport &report);
