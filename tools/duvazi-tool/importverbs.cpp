// log import-flights: flights from other instruments' IGC and GPX logs into a log book, with
// the same preview, duplicate rule and one write as the window's import.
#include "output.h"
#include "verbs.h"

#include "barograph/core/flightimport.h"
#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString statusName(ImportItem::Status status)
{
    switch (status) {
    case ImportItem::Status::New: return QStringLiteral("new");
    case ImportItem::Status::Duplicate: return QStringLiteral("duplicate");
    case ImportItem::Status::Error: break;
    }
    return QStringLiteral("error");
}

QString statusText(ImportItem::Status status)
{
    switch (status) {
    case ImportItem::Status::New: return baromsg::ImportStatusNew.toString();
    case ImportItem::Status::Duplicate: return baromsg::ImportStatusDuplicate.toString();
    case ImportItem::Status::Error: break;
    }
    return baromsg::ImportStatusError.toString();
}

void printItems(const std::vector<ImportItem> &items, const LogBook &book, const ImportCounts &counts, bool json)
{
    const auto barographOf = [&](const ImportItem &item) {
        return item.row > 0 ? cp932::toUnicode(book.row(item.row).barographFile) : QString();
    };
    if (json) {
        QJsonArray files;
        for (const ImportItem &item : items) {
            QJsonObject file{{QStringLiteral("source"), item.path},
                             {QStringLiteral("status"), statusName(item.status)},
                             {QStringLiteral("reason"), item.reason}};
            if (item.row > 0) {
                file.insert(QStringLiteral("row"), item.row);
                file.insert(QStringLiteral("barograph"), barographOf(item));
            }
            files.append(file);
        }
        writeOut(QJsonDocument(QJsonObject{{QStringLiteral("files"), files}, {QStringLiteral("added"), counts.added}})
                     .toJson(QJsonDocument::Indented));
        return;
    }
    QString out;
    for (const ImportItem &item : items) {
        out += statusText(item.status) + u'\t' + item.path;
        if (item.row > 0)
            out += QStringLiteral("\t%1\t%2").arg(item.row).arg(barographOf(item));
        if (!item.reason.isEmpty())
            out += u'\t' + QString(item.reason).replace(u'\n', u' ');
        out += u'\n';
    }
    writeOut((out + importReport(counts) + u'\n').toUtf8());
}

} // namespace

int logImportFlights(const QStringList &args)
{
    QString logPath, sitesPath;
    QStringList sources;
    bool dryRun = false, json = false, keep = false;
    ImportSettings settings;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == u"--dry-run") {
            dryRun = true;
        } else if (a == u"--json") {
            json = true;
        } else if (a == u"--duplicates" && hasValue && (args[i + 1] == u"skip" || args[i + 1] == u"keep")) {
            keep = args[++i] == u"keep";
        } else if (a == u"--utc-offset" && hasValue) {
            settings.utcOffsetMinutes = parseUtcOffset(args[++i]);
            if (!settings.utcOffsetMinutes) {
                report(baromsg::IgcSettingsBadOffset);
                return 2;
            }
        } else if (a == u"--sites" && hasValue) {
            sitesPath = args[++i];
        } else if (a.startsWith(u"--")) {
            return 2;
        } else if (logPath.isEmpty()) {
            logPath = a;
        } else {
            sources << a;
        }
    }
    if (logPath.isEmpty() || sources.isEmpty())
        return 2;
    if (!sitesPath.isEmpty()) {
        ReadFailure why;
        const std::optional<SitesFileContents> sites = readSitesFile(sitesPath, &why);
        if (!sites) {
            report(baromsg::SitesFileCannotOpen.toString() + u'\n' + why.reason());
            return 1;
        }
        settings.sites = sites->sites;
    }

    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLogOrNew(logPath, &name, dryRun ? LogRead::ToLook : LogRead::ToWrite);
    if (!book)
        return 1;
    book->workFolder = folderOf(QFileInfo(logPath).absoluteFilePath());

    std::vector<ImportItem> items;
    for (const QString &source : collectImportSources(sources))
        items.push_back(readImportSource(source, settings));
    markDuplicates(items, *book);
    for (ImportItem &item : items)
        item.addAnyway = keep;
    std::vector<FileImage> barographs = applyImport(*book, items);
    const ImportCounts counts = countImport(items);

    if (!dryRun && counts.added > 0) {
        const LogSaveResult saved = saveLogBook(*book, logPath, name.value_or(QByteArray()), {}, std::move(barographs));
        if (saved.outcome == LogSaveResult::Outcome::TooManyRows) {
            report(msg::LogTooManyRows);
            return 1;
        }
        if (saved.outcome == LogSaveResult::Outcome::Failed) {
            report(msg::LogFileCannotOpen.toString() + u'\n' + saved.failure->reason());
            return 1;
        }
    }
    printItems(items, *book, counts, json);
    return counts.errors > 0 ? 1 : 0;
}
