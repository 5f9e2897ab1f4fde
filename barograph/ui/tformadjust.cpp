// The altitude correction dialog and command.
#include "tformadjust.h"

#include "barograph/core/messages.h"
#include "barograph/ui/tgraph.h"
#include "barograph/ui/toolglyphs.h"
#include "logbook/core/prompter.h"
#include "logbook/ui/questionparent.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

TFormAdjust::TFormAdjust(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormAdjust"));
    setWindowTitle(baromsg::AdjustCaption.toString());
    setFixedSize(324, 199);
    const auto radio = [this](const char *name, QStringView text, int y) {
        auto *r = new QRadioButton(text.toString(), this);
        r->setObjectName(QLatin1String(name));
        r->move(32, y);
        r->adjustSize();
        connect(r, &QRadioButton::toggled, this, &TFormAdjust::followChoice);
        return r;
    };
    const auto edit = [this](const char *name, int y) {
        auto *e = new QLineEdit(QStringLiteral("+0.0"), this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(72, y, 89, 24);
        auto *unit = new QLabel(QStringLiteral("m"), this);
        unit->move(166, y + 4);
        return e;
    };
    RBZero = radio("RBZero", baromsg::AdjustZero, 32);
    RBTakeoff = radio("RBTakeoff", baromsg::AdjustTakeoff, 64);
    EdTakeoff = edit("EdTakeoff", 88);
    RBOffset = radio("RBOffset", baromsg::AdjustOffset, 120);
    EdOffset = edit("EdOffset", 144);
    std::tie(BitBtn1, BitBtn2) = okCancelButtons(this, QPoint(200, 32), 92);
    RBZero->setChecked(true);
    followChoice();
    // A mode clicked takes the keyboard to its field, as opening does (the arrow keys keep
    // walking the choices; Tab then reaches the field).
    for (auto [choice, field] : {std::pair{RBTakeoff, EdTakeoff}, std::pair{RBOffset, EdOffset}}) {
        connect(choice, &QRadioButton::clicked, field, [field] {
            field->setFocus(Qt::OtherFocusReason);
            field->selectAll();
        });
    }
}

void TFormAdjust::followChoice()
{
    EdTakeoff->setEnabled(RBTakeoff->isChecked());
    EdOffset->setEnabled(RBOffset->isChecked());
}

CorrectionMode TFormAdjust::mode() const
{
    if (RBZero->isChecked())
        return CorrectionMode::Zero;
    if (RBTakeoff->isChecked())
        return CorrectionMode::Takeoff;
    if (RBOffset->isChecked())
        return CorrectionMode::Offset;
    return CorrectionMode::None;
}

std::optional<double> TFormAdjust::typedMetres() const
{
    switch (mode()) {
    case CorrectionMode::Takeoff:
        return readTypedMetres(EdTakeoff->text());
    case CorrectionMode::Offset:
        return readTypedMetres(EdOffset->text());
    case CorrectionMode::Zero:
    case CorrectionMode::None:
        break;
    }
    return 0.0;
}

void TFormAdjust::accept()
{
    if (!typedMetres()) {
        QMessageBox::warning(questionParent(this), baromsg::ErrorCaption.toString(),
                             baromsg::CorrectionNotNumber.toString());
        QLineEdit *edit = modeField();
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}

QLineEdit *TFormAdjust::modeField() const
{
    switch (mode()) {
    case CorrectionMode::Takeoff:
        return EdTakeoff;
    case CorrectionMode::Offset:
        return EdOffset;
    case CorrectionMode::Zero:
    case CorrectionMode::None:
        break;
    }
    return nullptr;
}

void TFormAdjust::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The dialog is made once: without this the keyboard stays where it was when it closed
    // (on OK), and what the pilot types next goes nowhere while Enter repeats the last one.
    if (QLineEdit *edit = modeField()) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    } else if (RBZero->isChecked()) {
        RBZero->setFocus(Qt::OtherFocusReason);
    }
}

void runAltitudeCorrection(TFormAdjust &form, TGraph *graph, Prompter &prompter,
                           const std::function<bool(QDialog &)> &showDialog)
{
    const QPointer<TGraph> target = graph; // the pilot may close it while the dialog is up
    if (!showDialog(form))
        return;
    if (!target) {
        prompter.ask(baromsg::NoGraphSelected, baromsg::ErrorCaption, Prompter::Buttons::Ok,
                     Prompter::Icon::Exclamation);
        return;
    }
    // Only a dialog closed other than through its own OK can leave a text without a number.
    if (const std::optional<double> metres = form.typedMetres())
        target->applyAltitudeCorrection(form.mode(), *metres);
}
