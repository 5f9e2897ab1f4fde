// TFormAdjust, the altitude correction dialog: the lowest sample to 0 m, the first sample to
// a typed take-off altitude, or a typed offset. Made once and reused, so that its choice and
// texts stay as the pilot left them. runAltitudeCorrection is the command behind the main
// window's menu item and the cursor tools' button.
#pragma once

#include "barograph/core/barographsession.h"

#include <QDialog>

class Prompter;
class QLineEdit;
class QMdiArea;
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

private:
    void followChoice();
};

/// The command: the dialog modally (`showDialog` runs it; it answers whether OK closed it),
/// then, after OK, the correction on the active window of the workspace when it is a
/// barograph window ("Graph..."), else the message that none is chosen.
void runAltitudeCorrection(TFormAdjust &form, QMdiArea &workspace, Prompter &prompter,
                           const std::function<bool(QDialog &)> &showDialog);
