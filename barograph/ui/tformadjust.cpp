// The altitude correction dialog and command.
#include "tformadjust.h"

#include "barograph/core/messages.h"
#include "barograph/ui/tgraph.h"
#include "barograph/ui/toolglyphs.h"
#include "logbook/core/prompter.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>

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

void runAltitudeCorrection(TFormAdjust &form, QMdiArea &workspace, Prompter &prompter,
                           const std::function<bool(QDialog &)> &showDialog)
{
    if (!showDialog(form))
        return;
    // Every barograph window's name begins with "Graph".
    QMdiSubWindow *active = workspace.activeSubWindow();
    auto *graph = active && active->objectName().startsWith(QLatin1String("Graph")) ? qobject_cast<TGraph *>(active)
                                                                                      : nullptr;
    if (!graph) {
        prompter.ask(baromsg::NoGraphSelected, baromsg::ErrorCaption, Prompter::Buttons::Ok,
                     Prompter::Icon::Exclamation);
        return;
    }
    graph->applyAltitudeCorrection(form.mode(), form.EdTakeoff->text(), form.EdOffset->text());
}
