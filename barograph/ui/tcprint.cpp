// The print-mode dialog and the print command.
#include "tcprint.h"

#include "barograph/core/messages.h"
#include "barograph/ui/tgraph.h"
#include "barograph/ui/toolglyphs.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>

TCPrint::TCPrint(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowStaysOnTopHint),
      m_items(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("CPrint"));
    setWindowTitle(baromsg::PrintModeCaption.toString());
    setFixedSize(350, 176);
    RadioColor = new QGroupBox(baromsg::PrintGroup.toString(), this);
    RadioColor->setObjectName(QStringLiteral("RadioColor"));
    RadioColor->setGeometry(32, 32, 185, 73);
    const QStringView items[2] = {baromsg::PrintColour, baromsg::PrintMono};
    for (int i = 0; i < 2; ++i) {
        RadioColorItem[i] = new QRadioButton(items[i].toString(), RadioColor);
        RadioColorItem[i]->move(12, 20 + i * 24);
        RadioColorItem[i]->adjustSize();
        m_items->addButton(RadioColorItem[i], i);
    }
    RadioColorItem[0]->setChecked(true);
    CheckBColor = new QCheckBox(baromsg::PrintDontAsk.toString(), this);
    CheckBColor->setObjectName(QStringLiteral("CheckBColor"));
    CheckBColor->move(40, 128);
    CheckBColor->adjustSize();
    std::tie(BitBtn1, BitBtn2) = okCancelButtons(this, QPoint(248, 40), 80);
}

int TCPrint::itemIndex() const
{
    return m_items->checkedId();
}

void TCPrint::setItemIndex(int index)
{
    if (QAbstractButton *item = m_items->button(index))
        item->setChecked(true);
    else
        RadioColorItem[0]->setChecked(true); // a stored index of neither item prints in colour
}

PrintTarget systemPrintDialog(QPrinter &printer, QWidget *parent)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return PrintTarget::Pdf; // nothing to print on: the page can still be kept as a PDF
    QPrintDialog dialog(&printer, parent);
    bool pdf = false;
    // Where the dialog is Qt's own, "PDFに保存" stands beside its buttons; the native
    // dialogs offer their own PDF printers.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        QPushButton *save = buttons->addButton(baromsg::SavePdf.toString(), QDialogButtonBox::ActionRole);
        QObject::connect(save, &QPushButton::clicked, &dialog, [&dialog, &pdf] {
            pdf = true;
            dialog.reject();
        });
    }
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (pdf)
        return PrintTarget::Pdf;
    if (!accepted)
        return PrintTarget::Cancelled;
    // The dialog's own "print to file" goes through the program's writer too.
    return printer.outputFormat() == QPrinter::PdfFormat ? PrintTarget::Pdf : PrintTarget::Printer;
}

// A job that does not start names where it was to go: the file of the print system's own
// "print to file", else the printer; without either there is no printer at all.
QString cannotPrintMessage(const QPrinter &printer)
{
    const QString where = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()
        ? QDir::toNativeSeparators(printer.outputFileName())
        : printer.printerName();
    return where.isEmpty() ? baromsg::PrintNoPrinter.toString() : baromsg::PrintCannotStart.toString().arg(where);
}

void printGraph(TGraph &graph, TCPrint &mode, Prompter &prompter, const std::function<bool(QDialog &)> &showDialog,
                const PrinterChooser &choosePrinter)
{
    if (!graph.isLoaded())
        return;
    if (!mode.CheckBColor->isChecked())
        showDialog(mode); // Cancel does not cancel printing
    const bool mono = mode.itemIndex() == 1;
    QPrinter printer(QPrinter::HighResolution);
    switch (choosePrinter(printer, &graph)) {
    case PrintTarget::Cancelled:
        return;
    case PrintTarget::Printer:
        if (!graph.paintPage(printer, mono))
            prompter.inform(cannotPrintMessage(printer));
        return;
    case PrintTarget::Pdf:
        break;
    }
    QString path = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    if (path.isEmpty())
        path = prompter.chooseSaveFile(baromsg::PdfFilter, graph.path() + QStringLiteral(".pdf"));
    if (path.isEmpty())
        return;
    if (const std::optional<WriteFailure> failure = writeFile(path, graph.pdfPage(mono)))
        prompter.inform(baromsg::PdfCannotWrite.toString() + u'\n' + failure->reason());
}
