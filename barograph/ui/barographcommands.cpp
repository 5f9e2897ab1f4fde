// The barograph's commands of the main window.
#include "barographcommands.h"

#include "barograph/ui/igcsettingsdialog.h"
#include "barograph/ui/tformadjust.h"
#include "barograph/ui/tgraph.h"
#include "logbook/ui/mainformlink.h"
#include "logbook/ui/questionparent.h"

#include <QMdiArea>

BarographCommands::BarographCommands(MainFormLink &link, std::function<IgcExportSettings()> igcSettings,
                                     std::function<void(const IgcExportSettings &)> storeIgcSettings)
    : m_link(link), m_igcSettings(std::move(igcSettings)), m_storeIgcSettings(std::move(storeIgcSettings)),
      m_printMode(new TCPrint(link.frameWindow())), m_formAdjust(new TFormAdjust(link.frameWindow()))
{
    showDialog = [](QDialog &dialog) { return execAboveOnTop(dialog) == QDialog::Accepted; };
    choosePrinter = systemPrintDialog;
}

BarographCommands::~BarographCommands() = default;

void BarographCommands::attachGraph(TGraph &graph)
{
    // The button of a tool window speaks for its own graph, whichever window is active.
    connect(&graph, &TGraph::heightAdjustRequested, this, [this, g = &graph] { correctGraph(g); });
    connect(&graph, &TGraph::printRequested, this, [this, g = &graph] {
        printGraph(*g, *m_printMode, m_link.prompter(), showDialog, choosePrinter);
    });
    connect(&graph, &TGraph::igcExportRequested, this, [this, g = &graph] {
        // The file says when its altitudes are not the instrument's own.
        exportGraphIgc(*g, m_link, m_igcSettings(), g->session().appliedCorrection());
    });
}

void BarographCommands::exportRowIgc(int row)
{
    ::exportRowIgc(row, m_link, m_igcSettings());
}

void BarographCommands::correctCurrentGraph()
{
    QMdiArea *area = m_link.workspaceArea();
    correctGraph(area ? qobject_cast<TGraph *>(area->currentSubWindow()) : nullptr);
}

void BarographCommands::correctGraph(TGraph *graph)
{
    runAltitudeCorrection(*m_formAdjust, graph, m_link.prompter(), showDialog);
}

void BarographCommands::choosePrintMode()
{
    showDialog(*m_printMode);
}

void BarographCommands::editIgcSettings()
{
    IgcExportSettings settings = m_igcSettings();
    IgcSettingsDialog dialog(settings.utcOffsetMinutes, settings.sitesFile, m_link.frameWindow());
    if (!showDialog(dialog))
        return;
    settings.utcOffsetMinutes = dialog.utcOffsetMinutes();
    settings.sitesFile = dialog.sitesFile();
    m_storeIgcSettings(settings);
}
