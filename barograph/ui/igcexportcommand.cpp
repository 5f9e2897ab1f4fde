// The IGC export command of a barograph window and of the main window's File menu.
#include "igcexportcommand.h"
#include "logbook/ui/questionparent.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"
#include "barograph/core/sitesfile.h"
#include "barograph/ui/tgraph.h"
#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/mainformlink.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>

namespace {

std::vector<FlyingSite> sitesOf(const QString &path, Prompter &prompter)
{
    if (path.isEmpty())
        return {};
    const std::optional<SitesFileContents> contents = readSitesFile(path);
    if (!contents) {
        prompter.inform(baromsg::SitesFileCannotOpen.toString() + u'\n' + path);
        return {};
    }
    return contents->sites;
}

// The pilot picks a site from the file's list; std::nullopt when cancelled.
std::optional<FlyingSite> chooseSite(const std::vector<FlyingSite> &sites, QWidget *parent)
{
    QStringList names;
    for (const FlyingSite &s : sites)
        names << cp932::toUnicode(s.name) + QStringLiteral(" (") + cp932::toUnicode(s.code) + u')';
    bool ok = false;
    const QString chosen = QInputDialog::getItem(questionParent(parent), baromsg::IgcExport.toString(),
                                                 baromsg::IgcChooseSite.toString(), names, 0, false, &ok);
    const qsizetype index = names.indexOf(chosen);
    if (!ok || index < 0)
        return std::nullopt;
    return sites[size_t(index)];
}

// Writes the IGC file of row `row`'s flight from `trace` (read from `barographPath`).
bool exportIgc(const BarographTrace &trace, int row, const QString &barographPath, MainFormLink &link,
               const IgcExportSettings &settings, std::optional<float> correctionM)
{
    const LogBook &book = link.logBook();
    Prompter &prompter = link.prompter();
    const FlightRecord &record = book.row(row);

    IgcFlight flight;
    flight.date = record.date.toByteArray();
    flight.time = record.time.toByteArray();
    flight.utcOffsetMinutes = settings.utcOffsetMinutes;
    flight.pilot = settings.flyerName;
    flight.correctionM = correctionM;
    std::vector<FlyingSite> sites = sitesOf(settings.sitesFile, prompter);
    flight.site = findSite(sites, record.area);
    if (!flight.site) {
        // Viewers refuse a file without a position: say so and ask for a site.
        prompter.inform(baromsg::IgcNoSite);
        if (sites.empty()) {
            sites = sitesOf(prompter.chooseOpenFile(baromsg::SitesFileFilter, QFileInfo(settings.sitesFile).path()),
                            prompter);
        }
        if (sites.empty())
            return false;
        // A sites file chosen now may know the flight's area; only else is the pilot asked.
        flight.site = findSite(sites, record.area);
        if (!flight.site)
            flight.site = chooseSite(sites, link.frameWindow());
        if (!flight.site)
            return false;
    }

    const IgcFile igc = buildIgc(trace, flight);
    switch (igc.problem) {
    case IgcFile::Problem::None: break;
    case IgcFile::Problem::NoSite: prompter.inform(baromsg::IgcNoSite); return false;
    case IgcFile::Problem::BadDate: prompter.inform(baromsg::IgcBadDate); return false;
    case IgcFile::Problem::BadTime: prompter.inform(baromsg::IgcBadTime); return false;
    case IgcFile::Problem::TooLong: prompter.inform(baromsg::IgcTooLong); return false;
    }
    const QString preset = book.workFolder + QFileInfo(barographPath).completeBaseName() + QStringLiteral(".igc");
    const QString path = prompter.chooseSaveFile(baromsg::IgcFilter, preset);
    if (path.isEmpty())
        return false;
    if (const std::optional<WriteFailure> failure = writeFile(path, igc.bytes)) {
        prompter.inform(baromsg::IgcCannotWrite.toString() + u'\n' + failure->reason());
        return false;
    }
    return true;
}

} // namespace

bool exportGraphIgc(const TGraph &graph, MainFormLink &link, const IgcExportSettings &settings,
                    std::optional<float> correctionM)
{
    if (!graph.isLoaded() || graph.row() < 1 || graph.row() >= link.logBook().rowCount())
        return false;
    return exportIgc(graph.trace(), graph.row(), graph.path(), link, settings, correctionM);
}

bool exportRowIgc(int row, MainFormLink &link, const IgcExportSettings &settings)
{
    const LogBook &book = link.logBook();
    if (row < 1 || row >= book.rowCount())
        return false;
    const FlightRecord &record = book.row(row);
    // What the pilot sees is what goes out: an open window's cuts and correction included.
    if (const auto *graph = record.graphOpen ? qobject_cast<const TGraph *>(record.graphWindow.data()) : nullptr)
        return exportGraphIgc(*graph, link, settings, graph->session().appliedCorrection());
    if (!record.hasBarograph()) {
        link.prompter().inform(baromsg::IgcNoBarograph);
        return false;
    }
    const std::optional<QString> path = barographPath(barographFolder(book), record.barographFile);
    ReadFailure why{cp932::toUnicode(record.barographFile.toByteArray()), EINVAL};
    std::optional<BarographFile> file = path ? readBarographFile(*path, &why) : std::nullopt;
    if (!file) {
        link.prompter().inform(baromsg::FileCannotOpen.toString() + u'\n'
                               + (why.error ? why.reason() : QDir::toNativeSeparators(path.value_or(QString()))));
        return false;
    }
    return exportIgc(BarographTrace::fromFile(std::move(*file)), row, *path, link, settings, std::nullopt);
}
