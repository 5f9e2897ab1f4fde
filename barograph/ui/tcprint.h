// TCPrint, the print-mode dialog (colour or black and white, and whether to ask before
// printing), made once and reused; and printGraph, the barograph window's print command:
// the mode, the system print dialog with "PDFに保存", the page drawn at the printer's
// resolution, or a PDF file written through the program's one writer.
#pragma once

#include <QDialog>

#include <functional>

class Prompter;
class TGraph;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPrinter;
class QPushButton;
class QRadioButton;

class TCPrint : public QDialog {
    Q_OBJECT
public:
    explicit TCPrint(QWidget *parent = nullptr);

    QGroupBox *RadioColor; ///< items "カラープリント" (0) and "白黒プリント" (1)
    QRadioButton *RadioColorItem[2];
    QCheckBox *CheckBColor; ///< checked: do not show this dialog before printing
    QPushButton *BitBtn1, *BitBtn2; ///< OK, Cancel

    /// The selected item of RadioColor: 1 prints black and white, anything else in colour.
    int itemIndex() const;
    void setItemIndex(int index);

private:
    QButtonGroup *m_items;
};

/// Where the system print dialog sent the print.
enum class PrintTarget { Cancelled, Printer, Pdf };
/// The system print dialog on `printer`; tests replace it.
using PrinterChooser = std::function<PrintTarget(QPrinter &printer, QWidget *parent)>;
/// The system's print dialog with a "PDFに保存" button beside its own; straight to the PDF
/// when no printer is installed.
PrintTarget systemPrintDialog(QPrinter &printer, QWidget *parent);
/// What to tell the pilot when a print job on `printer` does not start.
QString cannotPrintMessage(const QPrinter &printer);

/// The print command of a barograph window. The mode dialog first (`showDialog` runs it)
/// unless its check box says not to ask; whichever button closes it, the mode then
/// selected holds. Then the print dialog: cancelled, nothing happens; a printer gets the
/// page, or a message naming it when the job does not start; a PDF goes to the file chosen
/// in its save dialog, written all or nothing.
void printGraph(TGraph &graph, TCPrint &mode, Prompter &prompter, const std::function<bool(QDialog &)> &showDialog,
                const PrinterChooser &choosePrinter);
