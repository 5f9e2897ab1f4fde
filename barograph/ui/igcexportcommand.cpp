// The IGC export command of a barograph window.
#include "igcexportcommand.h"
#include "logbook/ui/questionparent.h"

#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"
#include "barograph/core/sitesfile.h"
#include "barograph/ui/tgraph.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/mainformlink.h"

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

} // namespace

bool exportGraphIgc(const TGraph &graph, MainFormLink &link, const IgcExportSettings &settings,
                    std::optional<float> correctionM)
{
    const LogBook &book = link.logBook();
    Prompter &prompter = link.prompter();
    if (!graph.isLoaded() || graph.row() < 1 || graph.row() >= book.rowCount())
        return false;
    const FlightRecord &record = book.row(graph.row());

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
        flight.site = chooseSite(sites, link.frameWindow());
        if (!flight.site)
            return false;
    }

    const IgcFile igc = buildIgc(graph.trace(), flight);
    switch (igc.problem) {
    case IgcFile::Problem::None: break;
    case IgcFile::Problem::NoSite: prompter.inform(baromsg::IgcNoSite); return false;
    case IgcFile::Problem::BadDate: prompter.inform(baromsg::IgcBadDate); return false;
    case IgcFile::Problem::BadTime: prompter.inform(baromsg::IgcBadTime); return false;
    case IgcFile::Problem::TooLong: prompter.inform(baromsg::IgcTooLong); return false;
    }
    const QString preset = book.workFolder + QFileInfo(graph.path()).completeBaseName() + QStringLiteral(".igc");
    const QString path = prompter.chooseSaveFile(baromsg::IgcFilter, preset);
    if (path.isEmpty())
        return false;
    if (const std::optional<WriteFailure> failure = writeFile(path, igc.bytes)) {
        prompter.inform(baromsg::IgcCannotWrite.toString() + u'\n' + failure->reason());
        return false;
    }
    return true;
}
