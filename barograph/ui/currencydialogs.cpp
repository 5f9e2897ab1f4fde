// The small dialogs of the currency window.
#include "currencydialogs.h"

#include "barograph/core/currencyreport.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/ui/questionparent.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

QString dateString(QDate day)
{
    return day.isValid() ? QString::fromLatin1(numtext::dateText(day)) : QString();
}

QLineEdit *dateField(QDate day)
{
    auto *field = new QLineEdit(dateString(day));
    field->setPlaceholderText(QStringLiteral("YY/MM/DD"));
    field->setMaxLength(8);
    return field;
}

std::optional<QDate> dateIn(const QLineEdit *field)
{
    return numtext::readCalendarDate(field->text().trimmed().toLatin1());
}

// OK, Cancel, and OK only while `valid` says the fields make sense.
QDialogButtonBox *buttons(QDialog &dialog, QFormLayout *form, const std::function<bool()> &valid,
                          std::initializer_list<QLineEdit *> watched)
{
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(box);
    const auto check = [box, valid] { box->button(QDialogButtonBox::Ok)->setEnabled(valid()); };
    for (QLineEdit *e : watched)
        QObject::connect(e, &QLineEdit::textChanged, &dialog, check);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    check();
    return box;
}

} // namespace

std::optional<CurrencyRule> ruleDialog(QWidget *parent, const CurrencyRule &rule)
{
    using namespace baromsg;
    QDialog dialog(questionParent(parent));
    dialog.setObjectName(QStringLiteral("RuleDialog"));
    dialog.setWindowTitle(CurrencyRules.toString());
    auto *name = new QLineEdit(cp932::toUnicode(rule.name));
    name->setObjectName(QStringLiteral("Name"));
    auto *kind = new QComboBox;
    const RuleKind kinds[] = {RuleKind::Flights, RuleKind::Days, RuleKind::Hours, RuleKind::HeightFlights, RuleKind::Expiry};
    for (const QStringView text : {CurrencyKindFlights, CurrencyKindDays, CurrencyKindHours, CurrencyKindHeightShort,
                                   CurrencyKindExpiry})
        kind->addItem(text.toString());
    kind->setCurrentIndex(int(rule.kind));
    auto *min = new QDoubleSpinBox;
    min->setRange(0, 100000);
    min->setDecimals(1);
    min->setValue(rule.min);
    auto *within = new QSpinBox;
    within->setRange(0, 36500);
    within->setSpecialValueText(CurrencyAllTime.toString());
    within->setValue(rule.withinDays);
    auto *height = new QSpinBox;
    height->setRange(0, 10000);
    height->setSuffix(QStringLiteral(" m"));
    height->setValue(rule.minHeightM);
    QLineEdit *expires = dateField(rule.expires);
    auto *source = new QLineEdit(cp932::toUnicode(rule.source));
    auto *form = new QFormLayout(&dialog);
    form->addRow(CurrencyName.toString(), name);
    form->addRow(CurrencyKind.toString(), kind);
    form->addRow(CurrencyMin.toString(), min);
    form->addRow(CurrencyWindowDays.toString(), within);
    form->addRow(CurrencyDrop.toString(), height);
    form->addRow(CurrencyKindExpiry.toString(), expires);
    form->addRow(CurrencySource.toString(), source);
    buttons(dialog, form, [&] {
        return !name->text().trimmed().isEmpty() && (expires->text().trimmed().isEmpty() || dateIn(expires));
    }, {name, expires});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    CurrencyRule edited;
    edited.name = cp932::fromUnicode(name->text().trimmed());
    edited.kind = kinds[kind->currentIndex()];
    edited.min = edited.kind == RuleKind::Expiry ? 0 : min->value();
    edited.withinDays = edited.kind == RuleKind::Expiry ? 0 : within->value();
    edited.minHeightM = edited.kind == RuleKind::HeightFlights ? height->value() : 0;
    edited.expires = edited.kind == RuleKind::Expiry ? dateIn(expires).value_or(QDate()) : QDate();
    edited.source = cp932::fromUnicode(source->text().trimmed());
    return edited;
}

std::optional<NewGear> gearDialog(QWidget *parent, QDate firstUse)
{
    using namespace baromsg;
    QDialog dialog(questionParent(parent));
    dialog.setObjectName(QStringLiteral("GearDialog"));
    dialog.setWindowTitle(GearAdd.toString());
    auto *name = new QLineEdit;
    auto *kind = new QComboBox;
    for (const GearKind k : {GearKind::Glider, GearKind::Harness, GearKind::Reserve, GearKind::Instrument})
        kind->addItem(gearKindText(k));
    auto *months = new QSpinBox;
    months->setRange(0, 1200);
    auto *hours = new QDoubleSpinBox;
    hours->setRange(0, 100000);
    hours->setDecimals(1);
    auto *flights = new QSpinBox;
    flights->setRange(0, 1000000);
    QLineEdit *from = dateField(firstUse);
    auto *form = new QFormLayout(&dialog);
    form->addRow(CurrencyName.toString(), name);
    form->addRow(CurrencyKind.toString(), kind);
    form->addRow(GearByMonths.toString(), months);
    form->addRow(GearByHours.toString(), hours);
    form->addRow(GearByFlights.toString(), flights);
    form->addRow(GearFirstUse.toString(), from);
    buttons(dialog, form, [&] { return !name->text().trimmed().isEmpty() && dateIn(from); }, {name, from});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    NewGear g;
    g.item.name = cp932::fromUnicode(name->text().trimmed());
    g.item.kind = GearKind(kind->currentIndex());
    g.item.everyMonths = months->value();
    g.item.everyHours = hours->value();
    g.item.everyFlights = flights->value();
    g.firstUse = *dateIn(from);
    return g;
}

std::optional<QDate> dateDialog(QWidget *parent, const QString &caption, QDate proposed)
{
    QDialog dialog(questionParent(parent));
    dialog.setObjectName(QStringLiteral("DateDialog"));
    dialog.setWindowTitle(caption);
    QLineEdit *field = dateField(proposed);
    auto *form = new QFormLayout(&dialog);
    form->addRow(baromsg::GearDate.toString(), field);
    buttons(dialog, form, [field] { return dateIn(field).has_value(); }, {field});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dateIn(field);
}
