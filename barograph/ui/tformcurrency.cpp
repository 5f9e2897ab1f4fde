// The currency window, its commands and the notice when a log opens.
#include "tformcurrency.h"

#include "barograph/core/messages.h"
#include "barograph/core/statisticsrefresh.h"
#include "barograph/render/currencyproof.h"
#include "barograph/ui/tablewidgets.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loglistwindow.h"
#include "logbook/ui/mainformlink.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString dateString(const std::optional<QDate> &day)
{
    return day ? QString::fromLatin1(numtext::dateText(*day)) : QString();
}

QPushButton *button(QStringView text, const char *name)
{
    auto *b = new QPushButton(text.toString());
    b->setObjectName(QLatin1String(name));
    return b;
}

// The report of `book`'s own rules on `on`, with the height differences `heights` has read.
CurrencyReport reportOf(const LogBook &book, QDate on, const StatisticsRefresh &heights)
{
    return currencyReport(book, book.companion.rules, on, [&heights](int row) { return heights.heightOf(row); });
}

// Whether `heights` has read every barograph of `book` as its rows now name them.
bool allRead(const LogBook &book, const StatisticsRefresh &heights)
{
    for (int row = 1; row < book.rowCount(); ++row) {
        if (heights.heightOf(row).state == RowHeight::State::Reading)
            return false;
    }
    return true;
}

} // namespace

TFormCurrency::TFormCurrency(MainFormLink &link, TLogG &list, QWidget *parent)
    : QMdiSubWindow(parent), m_link(link), m_list(list), m_heights(new StatisticsRefresh(link.logBook(), this)),
      m_on(QDate::currentDate()), m_refreshSoon(new QTimer(this))
{
    using namespace baromsg;
    setObjectName(QStringLiteral("FormCurrency"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(japaneseUiFont(12));
    setWindowTitle(CurrencyCaption.toString());

    auto *body = new QWidget(this);
    m_day = new QLineEdit(dateString(m_on));
    m_day->setObjectName(QStringLiteral("Day"));
    m_day->setPlaceholderText(QStringLiteral("YY/MM/DD"));
    m_day->setMaxLength(8);
    m_day->setMaximumWidth(90);
    m_soon = new QLabel;
    m_soon->setObjectName(QStringLiteral("Soon"));
    m_soon->setWordWrap(true);
    m_progress = newLookProgress();
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(CurrencyOn.toString()));
    top->addWidget(m_day);
    top->addWidget(m_soon, 1);
    top->addWidget(m_progress);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    m_tabs->addTab(rulesPage(), CurrencyRules.toString());
    m_tabs->addTab(gearPage(), CurrencyGear.toString());
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(m_tabs);
    setWidget(body);
    resize(760, 560);

    connect(m_day, &QLineEdit::editingFinished, this, [this] {
        if (!setDay(m_day->text()))
            m_link.prompter().inform(CurrencyBadDate);
    });
    // Rows named by index go stale when the log is sorted, edited or replaced: follow the list.
    m_refreshSoon->setSingleShot(true);
    m_refreshSoon->setInterval(0);
    connect(m_refreshSoon, &QTimer::timeout, this, &TFormCurrency::refresh);
    connect(m_heights, &StatisticsRefresh::progress, this, [this](int done, int total) { showLookProgress(m_progress, done, total); });
    connect(m_heights, &StatisticsRefresh::ready, this, &TFormCurrency::display);
    const QAbstractItemModel *model = m_list.model();
    connect(model, &QAbstractItemModel::modelReset, m_refreshSoon, qOverload<>(&QTimer::start));
    connect(model, &QAbstractItemModel::layoutChanged, m_refreshSoon, qOverload<>(&QTimer::start));
    connect(model, &QAbstractItemModel::rowsInserted, m_refreshSoon, qOverload<>(&QTimer::start));
    connect(model, &QAbstractItemModel::rowsRemoved, m_refreshSoon, qOverload<>(&QTimer::start));
    connect(model, &QAbstractItemModel::dataChanged, m_refreshSoon, qOverload<>(&QTimer::start));
}

QWidget *TFormCurrency::rulesPage()
{
    using namespace baromsg;
    m_rules = newTable({CurrencyName, CurrencyKind, CurrencyCount, CurrencyState, CurrencyLapses, CurrencySource});
    m_rules->setObjectName(QStringLiteral("Rules"));
    m_rows = newTable({CurrencyRow, msg::TitleDate, msg::TitleTime, msg::TitleArea, msg::TitleDuration, CurrencyDrop,
                       CurrencyOrigin});
    m_rows->setObjectName(QStringLiteral("RuleRows"));
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_notCounted = new QLabel;
    m_notCounted->setObjectName(QStringLiteral("NotCounted"));
    m_notCounted->setWordWrap(true);

    auto *presets = new QToolButton;
    presets->setObjectName(QStringLiteral("Presets"));
    presets->setText(CurrencyAddPreset.toString());
    presets->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(presets);
    const std::vector<CurrencyRule> all = currencyPresets();
    for (size_t i = 0; i < all.size(); ++i)
        menu->addAction(cp932::toUnicode(all[i].name), this, [this, i] { addPreset(int(i)); });
    presets->setMenu(menu);
    QPushButton *add = button(CurrencyAddRule, "AddRule");
    QPushButton *edit = button(CurrencyEditRule, "EditRule");
    QPushButton *remove = button(CurrencyRemove, "RemoveRule");
    QPushButton *proof = button(CurrencyProof, "Proof");
    connect(add, &QPushButton::clicked, this, &TFormCurrency::addRule);
    connect(edit, &QPushButton::clicked, this, [this] { editRule(chosenRule()); });
    connect(remove, &QPushButton::clicked, this, [this] { removeRule(chosenRule()); });
    connect(proof, &QPushButton::clicked, this, &TFormCurrency::askProof);
    connect(m_rules, &QTableWidget::cellClicked, this, [this](int r, int) { chooseRule(r); });
    connect(m_rules, &QTableWidget::cellDoubleClicked, this, [this](int r, int) { editRule(r); });
    connect(m_rows, &QTableWidget::cellClicked, this, [this](int r, int) {
        const int rule = chosenRule();
        if (rule >= 0 && r >= 0 && r < int(m_report.status[size_t(rule)].rows.size()))
            m_list.selectRowSet({m_report.status[size_t(rule)].rows[size_t(r)]});
    });

    auto *buttons = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{presets, add, edit, remove})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(proof);
    auto *lower = new QWidget;
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_rows);
    lowerLayout->addWidget(m_notCounted);
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(m_rules);
    split->addWidget(lower);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(split);
    return page;
}

QWidget *TFormCurrency::gearPage()
{
    using namespace baromsg;
    m_gear = newTable({CurrencyName, CurrencyKind, GearLimits, GearFlights, GearHours, GearLastCheck, GearDue, GearDueBy});
    m_gear->setObjectName(QStringLiteral("Gear"));
    QPushButton *add = button(GearAdd, "AddGear");
    QPushButton *use = button(GearFirstUse, "UseGear");
    QPushButton *check = button(GearCheck, "CheckGear");
    QPushButton *remove = button(CurrencyRemove, "RemoveGear");
    connect(add, &QPushButton::clicked, this, &TFormCurrency::addGear);
    connect(use, &QPushButton::clicked, this, [this] { useGear(chosenGear()); });
    connect(check, &QPushButton::clicked, this, [this] { checkGear(chosenGear()); });
    connect(remove, &QPushButton::clicked, this, [this] { removeGear(chosenGear()); });
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : {add, use, check, remove})
        buttons->addWidget(w);
    buttons->addStretch();
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(m_gear);
    return page;
}

bool TFormCurrency::setDay(const QString &text)
{
    const std::optional<QDate> day = numtext::readCalendarDate(text.trimmed().toLatin1());
    if (!day)
        return false;
    m_on = *day;
    m_day->setText(dateString(m_on));
    refresh();
    return true;
}

void TFormCurrency::refresh()
{
    // Only a rule of height differences reads barographs. The figures show at once, the
    // heights not yet read named so (display), and again when they are read (ready()), or
    // now when there was nothing to read.
    if (needsHeights(m_link.logBook().companion.rules))
        m_heights->update();
    if (!needsHeights(m_link.logBook().companion.rules) || m_heights->isLooking())
        display();
}

bool TFormCurrency::isReading() const
{
    return m_heights->isLooking();
}

void TFormCurrency::display()
{
    using namespace baromsg;
    const int chosen = chosenRule();
    LogBook &book = m_link.logBook();
    m_report = reportOf(book, m_on, *m_heights);
    m_progress->setVisible(m_heights->isLooking());

    std::vector<QStringList> rules;
    for (size_t i = 0; i < m_report.rules.size(); ++i) {
        const CurrencyRule &r = m_report.rules[i];
        const RuleStatus &s = m_report.status[i];
        const QString count = r.kind == RuleKind::Expiry ? QString() : ruleCountText(r, s) + QStringLiteral(" / %1").arg(r.min);
        rules.push_back({cp932::toUnicode(r.name), ruleConditionText(r), count,
                         (s.met ? CurrencyMet : CurrencyNotMet).toString(), dateString(s.lapses), cp932::toUnicode(r.source)});
    }
    fill(m_rules, rules, {0, 1, 5});
    QStringList soon;
    for (const size_t i : m_report.lapsingSoon())
        soon.append(QStringLiteral("%1 (%2)").arg(cp932::toUnicode(m_report.rules[i].name), dateString(m_report.status[i].lapses)));
    m_soon->setText(soon.isEmpty() ? CurrencyNoneSoon.toString() : CurrencySoon.toString().arg(soon.join(QStringLiteral("、"))));
    if (chosen >= 0 && chosen < m_rules->rowCount())
        m_rules->selectRow(chosen);
    showRows();

    std::vector<QStringList> gear;
    const std::vector<GearItem> &items = book.companion.gear;
    for (size_t i = 0; i < items.size(); ++i) {
        const GearStatus s = gearStatus(book, items, i, m_on);
        gear.push_back({cp932::toUnicode(items[i].name), gearKindText(items[i].kind), gearLimitsText(items[i]),
                        QString::number(s.rows.size()), QString::fromLatin1(numtext::clockText(s.seconds)),
                        s.lastCheck ? dateString(s.lastCheck) : QString(), dateString(s.due), dueByText(s)});
    }
    fill(m_gear, gear, {0, 1, 2, 7});
}

int TFormCurrency::chosenRule() const
{
    const QList<QTableWidgetSelectionRange> ranges = m_rules->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

int TFormCurrency::chosenGear() const
{
    const QList<QTableWidgetSelectionRange> ranges = m_gear->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void TFormCurrency::showRows()
{
    const int rule = chosenRule();
    std::vector<QStringList> rows;
    QStringList notes;
    if (rule >= 0 && size_t(rule) < m_report.status.size()) {
        const LogBook &book = m_link.logBook();
        for (const ProofRow &p : proofRows(book, m_report, size_t(rule))) {
            const FlightRecord &f = book.row(p.row);
            rows.push_back({QString::number(p.row), cp932::toUnicode(f.date), cp932::toUnicode(f.time),
                            cp932::toUnicode(f.area), cp932::toUnicode(f.duration),
                            p.height.state == RowHeight::State::Measured
                                ? QString::fromLatin1(numtext::fixed(p.height.dropM, 1)) + QStringLiteral(" m")
                                : QString(),
                            (p.fromInstrument ? baromsg::CurrencyFromInstrument : baromsg::CurrencyTyped).toString()});
        }
        for (const auto &[row, state] : m_report.status[size_t(rule)].notMeasured)
            notes.append(baromsg::CurrencyNotCounted.toString().arg(row).arg(heightStateText(state)));
    }
    fill(m_rows, rows, {3, 6});
    m_notCounted->setText(notes.join(u'\n'));
    m_notCounted->setVisible(!notes.isEmpty());
}

void TFormCurrency::chooseRule(int index)
{
    if (index < 0 || size_t(index) >= m_report.status.size())
        return;
    m_rules->selectRow(index);
    showRows();
    m_list.selectRowSet(m_report.status[size_t(index)].rows);
}

void TFormCurrency::changed(QStringView step)
{
    LogBook &book = m_link.logBook();
    book.logModified = true;
    book.history.record(book, step.toString());
    m_link.logChanged();
    refresh();
}

void TFormCurrency::addPreset(int index)
{
    const std::vector<CurrencyRule> all = currencyPresets();
    if (index < 0 || size_t(index) >= all.size())
        return;
    if (const std::optional<CurrencyRule> rule = askRule(this, all[size_t(index)])) {
        m_link.logBook().companion.rules.push_back(*rule);
        changed(msg::StepRules);
    }
}

void TFormCurrency::addRule()
{
    if (const std::optional<CurrencyRule> rule = askRule(this, CurrencyRule{})) {
        m_link.logBook().companion.rules.push_back(*rule);
        changed(msg::StepRules);
    }
}

void TFormCurrency::editRule(int index)
{
    std::vector<CurrencyRule> &rules = m_link.logBook().companion.rules;
    if (index < 0 || size_t(index) >= rules.size()) {
        m_link.prompter().inform(baromsg::CurrencyChooseRule);
        return;
    }
    const std::optional<CurrencyRule> rule = askRule(this, rules[size_t(index)]);
    if (rule && *rule != rules[size_t(index)]) {
        rules[size_t(index)] = *rule;
        changed(msg::StepRules);
    }
}

void TFormCurrency::removeRule(int index)
{
    std::vector<CurrencyRule> &rules = m_link.logBook().companion.rules;
    if (index < 0 || size_t(index) >= rules.size()) {
        m_link.prompter().inform(baromsg::CurrencyChooseRule);
        return;
    }
    rules.erase(rules.begin() + index);
    changed(msg::StepRules);
}

std::optional<QString> TFormCurrency::writeProof(int index, const QString &path)
{
    if (index < 0 || size_t(index) >= m_report.rules.size())
        return baromsg::CurrencyChooseRule.toString();
    const LogBook &book = m_link.logBook();
    const QString title = !book.logName.isEmpty() ? cp932::toUnicode(book.logName) : QFileInfo(book.currentLogPath).completeBaseName();
    if (const std::optional<WriteFailure> failure = writeFile(path, currencyProofPdf(book, m_report, size_t(index), title)))
        return baromsg::CurrencyProofCannotWrite.toString() + u'\n' + failure->reason();
    return std::nullopt;
}

void TFormCurrency::askProof()
{
    const int rule = chosenRule();
    if (rule < 0) {
        m_link.prompter().inform(baromsg::CurrencyChooseRule);
        return;
    }
    const LogBook &book = m_link.logBook();
    const QString preset = book.workFolder + cp932::toUnicode(m_report.rules[size_t(rule)].name) + QStringLiteral(".pdf");
    const QString path = m_link.prompter().chooseSaveFile(baromsg::PdfFilter, preset);
    if (path.isEmpty())
        return;
    const std::optional<QString> problem = writeProof(rule, path);
    m_link.prompter().inform(problem ? *problem : baromsg::CurrencyProofWritten.toString());
}

void TFormCurrency::addGear()
{
    const std::optional<NewGear> added = askGear(this, m_on);
    if (!added)
        return;
    std::vector<GearItem> &gear = m_link.logBook().companion.gear;
    if (gearNamed(gear, added->item.name)) {
        m_link.prompter().inform(baromsg::CurrencyNameTaken);
        return;
    }
    gear.push_back(added->item);
    insertDate(gear.back().usedFrom, added->firstUse);
    changed(msg::StepGear);
}

GearItem *TFormCurrency::gearAt(int index)
{
    std::vector<GearItem> &gear = m_link.logBook().companion.gear;
    if (index >= 0 && size_t(index) < gear.size())
        return &gear[size_t(index)];
    m_link.prompter().inform(baromsg::CurrencyChooseGear);
    return nullptr;
}

void TFormCurrency::useGear(int index)
{
    GearItem *item = gearAt(index);
    if (!item)
        return;
    const std::optional<QDate> day = askDate(this, baromsg::GearFirstUse.toString(), m_on);
    if (day && insertDate(item->usedFrom, *day))
        changed(msg::StepGear);
}

void TFormCurrency::checkGear(int index)
{
    GearItem *item = gearAt(index);
    if (!item)
        return;
    const std::optional<QDate> day = askDate(this, baromsg::GearCheck.toString(), m_on);
    if (day && insertDate(item->checks, *day))
        changed(msg::StepGear);
}

void TFormCurrency::removeGear(int index)
{
    if (!gearAt(index))
        return;
    std::vector<GearItem> &gear = m_link.logBook().companion.gear;
    gear.erase(gear.begin() + index);
    changed(msg::StepGear);
}

QString lapsingNotice(const CurrencyReport &report)
{
    QStringList soon;
    for (const size_t i : report.lapsingSoon())
        soon.append(QStringLiteral("%1　%2 %3").arg(cp932::toUnicode(report.rules[i].name), baromsg::CurrencyLapses.toString(),
                                                    dateString(report.status[i].lapses)));
    return soon.isEmpty() ? QString() : baromsg::CurrencyNotice.toString().arg(soon.join(u'\n'));
}

CurrencyCommands::CurrencyCommands(MainFormLink &link, TLogG &list)
    : m_link(link), m_list(list), m_noticeHeights(new StatisticsRefresh(link.logBook(), this))
{
    connect(m_noticeHeights, &StatisticsRefresh::ready, this, &CurrencyCommands::noticeWhenRead);
}

void CurrencyCommands::showCurrency()
{
    const bool added = !m_window;
    if (added)
        m_window = new TFormCurrency(m_link, m_list);
    bringToFront(m_link, m_window, added);
    m_window->refresh();
}

void CurrencyCommands::noticeLapsingRules()
{
    const LogBook &book = m_link.logBook();
    m_noticePending = !book.companion.rules.empty();
    if (!m_noticePending)
        return;
    if (needsHeights(book.companion.rules))
        m_noticeHeights->update(); // ready() says it when read
    else
        noticeWhenRead();
}

// A row edited while the barographs were read is read again before the notice counts it:
// a rule is never said to lapse for want of a height not yet read.
void CurrencyCommands::noticeWhenRead()
{
    const LogBook &book = m_link.logBook();
    if (!m_noticePending)
        return;
    if (needsHeights(book.companion.rules) && !allRead(book, *m_noticeHeights)) {
        m_noticeHeights->update();
        return;
    }
    m_noticePending = false;
    const QString notice = lapsingNotice(reportOf(book, QDate::currentDate(), *m_noticeHeights));
    if (!notice.isEmpty())
        m_link.prompter().inform(notice);
}
