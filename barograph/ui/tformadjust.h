// TFormAdjust, the altitude correction dialog: the lowest sample to 0 m, the first sample to
// a typed take-off altitude, or a typed offset. Made once and reused, so that its choice and
// texts stay as the pilot left them. runAltitudeCorrection is the command behind the main
// window's menu item and the cursor tools' button.
#pragma once

#include "barograph/core/barographsession.h"

#include <QDialog>

#include <functional>
#include <optional>

class Prompter;
class TGraph;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFormAdjust : public QDialog {
    Q_OBJECT
public:
    explicit TFormAdjust(QWidget *parent = nullptr);

    QRadioButton *RBZero, *RBTakeoff, *RBOffset;
    QLineEdit *EdTakeoff, *EdOffset;
    QPushButton *BitBtn1, *BitBtn2; ///< OK, Cancel

    /// The chosen mode (None when no button is chosen).
    CorrectionMode mode() const;
    /// The metres the mode uses, read from its edit (readTypedMetres); 0 for a mode that
    /// uses neither. std::nullopt when that text holds no number.
    std::optional<double> typedMetres() const;

    /// OK: a text without a number stays in the dialog with a message, to be mended.
    void accept() override;

protected:
    /// Opens with the keyboard in the field of the chosen mode, its text selected, so that
    /// what is typed replaces it and Enter applies it.
    void showEvent(QShowEvent *event) override;

private:
    /// The edit the chosen mode reads (null for a mode that reads none).
    QLineEdit *modeField() const;
    void followChoice();
};

/// The command: the dialog modally (`showDialog` runs it; it answers whether OK closed it),
/// then, after OK, the correction on `graph`, the window the command was given for (null,
/// or a window closed meanwhile: the message that none is chosen).
void runAltitudeCorrection(TFormAdjust &form, TGraph *graph, Prompter &prompter,
                           const std::function<bool(QDialog &)> &showDialog);
