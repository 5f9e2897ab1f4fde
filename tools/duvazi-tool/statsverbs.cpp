// "log stats" and "log print": the statistics of a log, as the statistics window shows them,
// and the log book on paper, as its print command draws it.
#include "output.h"
#include "verbs.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/logstatistics.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logbookpages.h"
#include "logbook/core/statistics.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/render/logbookprint.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue holder(const FlightRecordHolder &record)
{
    if (record.row == 0)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("row"), record.row}, {QStringLiteral("value"), record.value}};
}

QJsonObject json(const LogStatistics &s)
{
    QJsonArray years, months, sites;
    for (const YearStatistics &y : s.years) {
        QJsonObject year{{QStringLiteral("year"), y.year},
                         {QStringLiteral("flights"), y.flights},
                         {QStringLiteral("seconds"), double(y.seconds)},
                         {QStringLiteral("meanSeconds"), double(y.meanSeconds())},
                         {QStringLiteral("longestSeconds"), double(y.longestSeconds)},
                         {QStringLiteral("highest"), y.highest},
                         {QStringLiteral("bestClimb"), y.bestClimb}};
        if (y.withBarograph > 0) {
            year.insert(QStringLiteral("withBarograph"), y.withBarograph);
            year.insert(QStringLiteral("totalClimbed"), y.totalClimbed);
        }
        years.append(year);
    }
    for (const MonthStatistics &m : s.months)
        months.append(QJsonObject{{QStringLiteral("month"), m.month},
                                  {QStringLiteral("flights"), m.flights},
                                  {QStringLiteral("seconds"), double(m.seconds)}});
    for (const SiteStatistics &site : s.sites)
        sites.append(QJsonObject{{QStringLiteral("site"), cp932::toUnicode(site.site)},
                                 {QStringLiteral("flights"), site.flights},
                                 {QStringLiteral("seconds"), double(site.seconds)},
                                 {QStringLiteral("highest"), site.highest},
                                 {QStringLiteral("firstDate"), cp932::toUnicode(site.firstDate)},
                                 {QStringLiteral("lastDate"), cp932::toUnicode(site.lastDate)}});
    return {{QStringLiteral("total"),
             QJsonObject{{QStringLiteral("flights"), s.flights}, {QStringLiteral("seconds"), double(s.seconds)}}},
            {QStringLiteral("excluded"), s.excluded},
            {QStringLiteral("carriedOver"), QJsonObject{{QStringLiteral("flights"), s.carriedFlights},
                                                        {QStringLiteral("seconds"), double(s.carriedSeconds)}}},
            {QStringLiteral("years"), years},
            {QStringLiteral("months"), months},
            {QStringLiteral("sites"), sites},
            {QStringLiteral("records"), QJsonObject{{QStringLiteral("longest"), holder(s.longest)},
                                                    {QStringLiteral("highest"), holder(s.highest)},
                                                    {QStringLiteral("bestClimb"), holder(s.bestClimb)},
                                                    {QStringLiteral("biggestGain"), holder(s.biggestGain)}}}};
}

QString text(const LogStatistics &s)
{
    const auto time = [](qint64 seconds) { return QString::fromLatin1(numtext::clockText(seconds)); };
    QString out = QStringLiteral("total\t%1 flights\t%2\n").arg(s.flights).arg(time(s.seconds));
    if (s.excluded)
        out += QStringLiteral("excluded\t%1 flights\n").arg(s.excluded);
    for (const YearStatistics &y : s.years)
        out += QStringLiteral("%1\t%2 flights\t%3\tmean %4\tlongest %5\thighest %6 m\tbest climb %7 m/s\n")
                   .arg(y.year).arg(y.flights).arg(time(y.seconds), time(y.meanSeconds()), time(y.longestSeconds))
                   .arg(y.highest).arg(y.bestClimb);
    for (const MonthStatistics &m : s.months)
        out += QStringLiteral("month %1\t%2 flights\t%3\n").arg(m.month).arg(m.flights).arg(time(m.seconds));
    for (const SiteStatistics &site : s.sites)
        out += QStringLiteral("%1\t%2 flights\t%3\t%4 .. %5\n")
                   .arg(cp932::toUnicode(site.site)).arg(site.flights).arg(time(site.seconds))
                   .arg(cp932::toUnicode(site.firstDate), cp932::toUnicode(site.lastDate));
    return out;
}

} // namespace

int logStats(const QStringList &args)
{
    const auto parsed = fileAndJsonFlag(args);
    if (!parsed)
        return 2;
    const auto &[path, asJson] = *parsed;
    std::optional<LogBook> book = readLog(path);
    if (!book)
        return 1;
    // Barographs lie beside the log, as in the work folder the program reads them from. The
    // cache is the log's own; this verb only reads, so what it analyses anew is not kept.
    std::map<QByteArray, Companion::Analysis> cache = book->companion.analysis;
    const StatisticsInputs inputs = statisticsInputs(*book, QFileInfo(path).absolutePath(), cache);
    const LogStatistics statistics = computeStatistics(*book, inputs);
    writeOut(asJson ? QJsonDocument(json(statistics)).toJson(QJsonDocument::Indented) : text(statistics).toUtf8());
    return finishOut() ? 0 : 1;
}

int logPrint(const QStringList &args)
{
    QString path, out;
    std::optional<qint64> from, to;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == u"--out" || a == u"--from" || a == u"--to") && !hasValue)
            return 2;
        if (a == u"--out") {
            out = args[++i];
        } else if (a == u"--from" || a == u"--to") {
            const QString date = args[++i];
            const std::optional<qint64> bound = dateBound(date.toLatin1());
            if (!bound) {
                report(QStringLiteral("not a date YY/MM/DD: ") + date);
                return 2;
            }
            (a == u"--from" ? from : to) = bound;
        } else if (path.isEmpty() && !a.startsWith(u"--")) {
            path = a;
        } else {
            return 2;
        }
    }
    if (path.isEmpty() || out.isEmpty())
        return 2;
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLog(path, &name);
    if (!book)
        return 1;
    // Left out and carried over as the program's print command takes them.
    const LogBookSelection selection = logBookSelection(*book, from.value_or(0), to.value_or(0));
    QString title = name && !name->isEmpty() ? cp932::toUnicode(*name) : QFileInfo(path).completeBaseName();
    const QByteArray bytes =
        *logBookPdf(printedLogBook(*book, logBookPages(*book, selection), title, selection.rowsPerPage));
    if (const std::optional<WriteFailure> failure = writeFile(out, bytes)) {
        report(QStringLiteral("cannot write ") + out + u'\n' + failure->reason());
        return 1;
    }
    return 0;
}
