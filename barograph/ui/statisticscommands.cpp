// The statistics and log book printing commands.
#include "statisticscommands.h"

#include "barograph/core/messages.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logbookpages.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/render/logbookprint.h"
#include "logbook/ui/mainformlink.h"
#include "logbook/ui/questionparent.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>

#include <memory>

namespace {

bool isBound(const QString &text)
{
    return text.trimmed().isEmpty() || dateBound(text.trimmed().toLatin1()).has_value();
}

QStatusBar *statusBarOf(QWidget *window)
{
    auto *main = qobject_cast<QMainWindow *>(window);
    return main ? main->statusBar() : nullptr;
}

qint64 boundOf(const QString &text)
{
    return text.trimmed().isEmpty() ? 0 : dateBound(text.trimmed().toLatin1()).value_or(0);
}

} // namespace

std::optional<LogBookRange> logBookRangeDialog(QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LogBookRange"));
    dialog.setWindowTitle(baromsg::LogBookPrintCaption.toString());
    auto *from = new QLineEdit(&dialog);
    from->setObjectName(QStringLiteral("From"));
    auto *to = new QLineEdit(&dialog);
    to->setObjectName(QStringLiteral("To"));
    for (QLineEdit *e : {from, to}) {
        e->setPlaceholderText(QStringLiteral("YY/MM/DD"));
        e->setMaxLength(8);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto *form = new QFormLayout(&dialog);
    form->addRow(baromsg::LogBookFrom.toString(), from);
    form->addRow(baromsg::LogBookTo.toString(), to);
    form->addRow(new QLabel(baromsg::LogBookRangeHint.toString()));
    form->addRow(buttons);
    const auto check = [&] { buttons->button(QDialogButtonBox::Ok)->setEnabled(isBound(from->text()) && isBound(to->text())); };
    QObject::connect(from, &QLineEdit::textChanged, &dialog, check);
    QObject::connect(to, &QLineEdit::textChanged, &dialog, check);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    raiseAboveOnTop(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return LogBookRange{from->text().trimmed(), to->text().trimmed()};
}

StatisticsCommands::StatisticsCommands(MainFormLink &link, TLogG &list)
    : askRange([](QWidget *parent) { return logBookRangeDialog(questionParent(parent)); }),
      choosePrinter(systemPrintDialog), m_link(link), m_list(list),
      m_printing(link.prompter(), statusBarOf(link.frameWindow()))
{
}

void StatisticsCommands::showStatistics()
{
    if (!m_link.logBook().hasFlights())
        return;
    const bool added = !m_window;
    if (added) {
        m_window = new TFormStats(m_link, m_list);
        connect(m_window, &TFormStats::computingChanged, this, &StatisticsCommands::computingChanged);
        // Closing the window stops its look without a word; said once it is gone.
        connect(m_window, &QObject::destroyed, this, [this] { emit computingChanged(false); },
                Qt::QueuedConnection);
    }
    bringToFront(m_link, m_window, added);
    if (added)
        m_window->refreshOnceShown();
    else
        m_window->refresh();
}

void StatisticsCommands::printLogBook()
{
    const LogBook &book = m_link.logBook();
    if (!book.hasFlights())
        return;
    if (m_printing.isRunning()) {
        m_link.prompter().inform(baromsg::LogBookPrintBusy);
        return;
    }
    QWidget *parent = m_link.frameWindow();
    const std::optional<LogBookRange> range = askRange(parent);
    if (!range)
        return;
    const LogBookSelection selection = logBookSelection(book, boundOf(range->from), boundOf(range->to));

    QString title = !book.logName.isEmpty()           ? cp932::toUnicode(book.logName)
                    : !book.currentLogPath.isEmpty() ? QFileInfo(book.currentLogPath).completeBaseName()
                                                     : baromsg::LogBookTitle.toString();
    if (!range->from.isEmpty() || !range->to.isEmpty())
        title += QStringLiteral("　%1 ～ %2").arg(range->from, range->to);

    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setDocName(title);
    const PrintTarget target = choosePrinter(*printer, questionParent(parent));
    if (target == PrintTarget::Cancelled)
        return;
    // The copy is taken now: what the pilot does to the log while the pages are drawn is
    // not printed.
    PrintedLogBook printed = printedLogBook(book, logBookPages(book, selection), title, selection.rowsPerPage);
    if (target == PrintTarget::Printer) {
        m_printing.startOnPrinter(std::move(printed), std::move(printer));
        return;
    }
    QString path = printer->outputFormat() == QPrinter::PdfFormat ? printer->outputFileName() : QString();
    if (path.isEmpty()) {
        const QString preset = book.currentLogPath.isEmpty()
                                   ? book.workFolder + QStringLiteral("logbook.pdf")
                                   : QFileInfo(book.currentLogPath).path() + u'/' +
                                         QFileInfo(book.currentLogPath).completeBaseName() + QStringLiteral(".pdf");
        path = m_link.prompter().chooseSaveFile(baromsg::PdfFilter, preset);
    }
    if (path.isEmpty())
        return;
    m_printing.startPdf(std::move(printed), path);
}
