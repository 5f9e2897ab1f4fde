// "baro stats", "baro render" and "baro export".
#include "output.h"
#include "verbs.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsave.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphplot.h"
#include "barograph/core/graphview.h"
#include "barograph/core/igcexport.h"
#include "barograph/core/sitesfile.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"
#include "barograph/render/graphpainter.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"

#include <QSaveFile>

#include <charconv>
#include <optional>

namespace {

// Reads a barograph the way the window does; a file it refuses is reported.
std::optional<BarographTrace> readTrace(const QString &path)
{
    std::optional<BarographFile> file = readBarographFile(path);
    if (!file) {
        report(baromsg::FileCannotOpen.toString() + QStringLiteral(" (") + path + u')');
        return std::nullopt;
    }
    return BarographTrace::fromFile(std::move(*file));
}

// The shortest text that reads back as the same 32-bit float: 1700.6, not 1700.5999755859375.
QByteArray floatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, result.ptr - buffer);
}

QByteArray marksText(const std::vector<qint32> &marks, const char *separator)
{
    QByteArrayList items;
    for (const qint32 m : marks)
        items << QByteArray::number(m);
    return items.join(separator);
}

} // namespace

int baroStats(const QStringList &args)
{
    const auto parsed = fileAndJsonFlag(args);
    if (!parsed)
        return 2;
    const auto &[path, json] = *parsed;
    const std::optional<BarographTrace> trace = readTrace(path);
    if (!trace)
        return 1;
    const FlightStats s = computeFlightStats(*trace);
    const GraphView view = GraphView::fullView(*trace, s);

    // In the order a reader wants them, which a JSON object of Qt's would sort away.
    const QList<std::pair<const char *, QByteArray>> fields = {
        {"sampleCount", QByteArray::number(trace->sampleCount())},
        {"interval", QByteArray::number(trace->interval)},
        {"markCount", QByteArray::number(trace->markCount())},
        {"marks", json ? '[' + marksText(trace->marks, ", ") + ']' : marksText(trace->marks, " ")},
        {"flightSeconds", QByteArray::number(s.flightSeconds)},
        {"peakAltitude", floatText(s.peakAltitude)},
        {"lowAltitude", floatText(s.lowAltitude)},
        {"altitudeRange", floatText(s.altitudeRange)},
        {"peakClimb", floatText(s.peakClimb)},
        {"maxGain", floatText(s.maxGain)},
        {"gainBottom", floatText(s.gainBottom)},
        {"gainBottomIndex", QByteArray::number(s.gainBottomIndex)},
        {"gainTop", floatText(s.gainTop)},
        {"gainTopIndex", QByteArray::number(s.gainTopIndex)},
        {"axisAltMin", QByteArray::number(view.axisAltMin)},
        {"axisAltMax", QByteArray::number(view.axisAltMax)},
        {"timeTick", QByteArray::number(view.timeTick)},
        {"altTick", QByteArray::number(view.altTick)},
    };
    QByteArray out;
    if (json) {
        QByteArrayList items;
        for (const auto &[key, value] : fields)
            items << "  \"" + QByteArray(key) + "\": " + value;
        out = "{\n" + items.join(",\n") + "\n}\n";
    } else {
        for (const auto &[key, value] : fields)
            out += QByteArray(key).leftJustified(17) + value + '\n';
    }
    writeOut(out);
    return 0;
}

int baroRender(const QStringList &args)
{
    QString path, outPath, logPath;
    bool mono = false;
    int width = 640;
    int row = -1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--mono")
            mono = true;
        else if (a == u"--out" && hasValue)
            outPath = args[++i];
        else if (a == u"--width" && hasValue)
            width = args[++i].toInt(&ok);
        else if (a == u"--log" && hasValue)
            logPath = args[++i];
        else if (a == u"--row" && hasValue)
            row = args[++i].toInt(&ok);
        else if (path.isEmpty() && !a.startsWith(u"--"))
            path = a;
        else
            return 2;
        if (!ok)
            return 2;
    }
    if (path.isEmpty() || outPath.isEmpty() || width < 1 || width > 10000 || logPath.isEmpty() != (row < 0))
        return 2;
    const std::optional<BarographTrace> trace = readTrace(path);
    if (!trace)
        return 1;

    // The text block shows the flight's row when a log is given, as the window does.
    HeaderFacts facts;
    facts.interval = trace->interval;
    if (!logPath.isEmpty()) {
        std::optional<LogFileContents> contents = readLogFile(logPath);
        if (!contents || !contents->isComplete() || row < 1 || row >= int(contents->records.size())) {
            report(QStringLiteral("no flight %1 in %2").arg(row).arg(logPath));
            return 1;
        }
        const FlightRecord &record = contents->records[size_t(row)];
        facts = HeaderFacts::of(row, readNameFile(namePathFor(logPath)).value_or(QByteArray()), record,
                                takeoffSecondsOf(record.time), trace->interval);
    }

    const QImage picture = renderGraphPicture(*trace, facts, width, mono ? PlotStyle::mono() : PlotStyle::colour());
    QSaveFile out(outPath);
    const QByteArray format = outPath.endsWith(u".bmp", Qt::CaseInsensitive) ? "BMP" : "PNG";
    if (!out.open(QIODevice::WriteOnly) || !picture.save(&out, format.constData()) || !out.commit()) {
        report(QStringLiteral("cannot write ") + outPath);
        return 1;
    }
    return 0;
}

int baroExport(const QStringList &args)
{
    QString path, outPath, logPath, sitesPath, siteName, pilot;
    int row = -1;
    qint32 offsetMinutes = 9 * 60;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--igc" && hasValue) {
            outPath = args[++i];
        } else if (a == u"--log" && hasValue) {
            logPath = args[++i];
        } else if (a == u"--row" && hasValue) {
            row = args[++i].toInt(&ok);
        } else if (a == u"--sites" && hasValue) {
            sitesPath = args[++i];
        } else if (a == u"--site" && hasValue) {
            siteName = args[++i];
        } else if (a == u"--pilot" && hasValue) {
            pilot = args[++i];
        } else if (a == u"--utc-offset" && hasValue) {
            const std::optional<qint32> offset = parseUtcOffset(args[++i]);
            ok = offset.has_value();
            offsetMinutes = offset.value_or(0);
        } else if (path.isEmpty() && !a.startsWith(u"--")) {
            path = a;
        } else {
            return 2;
        }
        if (!ok)
            return 2;
    }
    if (path.isEmpty() || outPath.isEmpty() || logPath.isEmpty() || row < 1)
        return 2;
    const std::optional<BarographTrace> trace = readTrace(path);
    if (!trace)
        return 1;
    const std::optional<LogFileContents> contents = readLogFile(logPath);
    if (!contents || !contents->isComplete() || row >= int(contents->records.size())) {
        report(QStringLiteral("no flight %1 in %2").arg(row).arg(logPath));
        return 1;
    }
    const FlightRecord &record = contents->records[size_t(row)];

    IgcFlight flight;
    flight.date = record.date.toByteArray();
    flight.time = record.time.toByteArray();
    flight.utcOffsetMinutes = offsetMinutes;
    flight.pilot = cp932::fromUnicode(pilot);
    const QByteArray wanted = siteName.isEmpty() ? record.area.toByteArray() : cp932::fromUnicode(siteName);
    if (!sitesPath.isEmpty()) {
        const std::optional<SitesFileContents> sites = readSitesFile(sitesPath);
        if (!sites) {
            report(baromsg::SitesFileCannotOpen.toString() + QStringLiteral(" (") + sitesPath + u')');
            return 1;
        }
        flight.site = findSite(sites->sites, wanted);
        if (!flight.site)
            report(baromsg::IgcSiteNotFound.toString().arg(cp932::toUnicode(wanted)));
    }
    const IgcFile igc = buildIgc(*trace, flight);
    switch (igc.problem) {
    case IgcFile::Problem::None: break;
    case IgcFile::Problem::NoSite: report(baromsg::IgcNoSite.toString() + QStringLiteral("（--sites, --site）")); return 1;
    case IgcFile::Problem::BadDate: report(baromsg::IgcBadDate); return 1;
    case IgcFile::Problem::BadTime: report(baromsg::IgcBadTime); return 1;
    case IgcFile::Problem::TooLong: report(baromsg::IgcTooLong); return 1;
    }
    if (const std::optional<WriteFailure> failure = writeFile(outPath, igc.bytes)) {
        report(baromsg::IgcCannotWrite.toString() + u'\n' + failure->reason());
        return 1;
    }
    return 0;
}
