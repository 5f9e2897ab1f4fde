// The import command.
#include "flightimportcommand.h"

#include "barograph/core/flightimport.h"
#include "barograph/core/messages.h"
#include "barograph/ui/tformimport.h"
#include "logbook/core/logbook.h"
#include "logbook/core/prompter.h"
#include "logbook/ui/logbookcommands.h"
#include "logbook/ui/mainformlink.h"

#include <QWidget>

FlightImportCommand::FlightImportCommand(MainFormLink &link, LogBookCommands &commands,
                                         std::function<QString()> sitesFile, std::optional<qint32> &zone)
    : m_link(link), m_commands(commands), m_sitesFile(std::move(sitesFile)), m_zone(zone)
{
}

void FlightImportCommand::start()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    ImportSettings settings;
    settings.utcOffsetMinutes = m_zone;
    if (const QString sites = m_sitesFile(); !sites.isEmpty()) {
        ReadFailure why;
        if (const std::optional<SitesFileContents> contents = readSitesFile(sites, &why))
            settings.sites = contents->sites;
        else
            m_link.prompter().inform(baromsg::SitesFileCannotOpen.toString() + u'\n' + why.reason());
    }
    m_dialog = new TFormImport(m_link.logBook(), std::move(settings), m_link.frameWindow());
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_dialog, &QDialog::finished, this, [this](int result) { finish(result == QDialog::Accepted); });
    connect(m_dialog, &TFormImport::zoneChosen, this, [this](std::optional<qint32> zone) { m_zone = zone; });
    emit importStarted();
    m_dialog->show();
}

void FlightImportCommand::finish(bool apply)
{
    TFormImport *dialog = m_dialog;
    m_dialog = nullptr;
    emit importEnded(); // the rows may move again: the import's own step comes next
    if (!apply || !dialog)
        return;
    LogBook &book = m_link.logBook();
    std::vector<ImportItem> &items = dialog->items();
    std::vector<FileImage> barographs = applyImport(book, items);
    const ImportCounts counts = countImport(items);
    if (counts.added > 0 && !m_commands.flightsImported(std::move(barographs)))
        return; // said, and the rows taken back
    m_link.prompter().inform(importReport(counts));
}
