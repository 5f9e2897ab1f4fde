// "baro stats", "baro render", "baro view", "baro correct", "baro cut", "baro revert" and
// "baro export": the barograph window's operations on the same session and writer.
#include "output.h"
#include "verbs.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsession.h"
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
#include "logbook/core/fieldformats.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"

#include <QBuffer>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

namespace {

// A barograph file that could not be read: the reason when it could not be opened, else
// (the contents refused) its path.
void reportUnread(const QString &path, const ReadFailure &why)
{
    report(baromsg::FileCannotOpen.toString()
           + (why.error ? u'\n' + why.reason() : QStringLiteral(" (") + path + u')'));
}

// Reads a barograph the way the window does; a file it refuses is reported.
std::optional<BarographTrace> readTrace(const QString &path)
{
    ReadFailure why;
    std::optional<BarographFile> file = readBarographFile(path, &why);
    if (!file) {
        reportUnread(path, why);
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

// A session on a barograph file the way the window opens it; a file it refuses is reported.
std::optional<BarographSession> readSession(const QString &path, int width, QByteArrayView takeoffTime = "00:00:00")
{
    ReadFailure why;
    std::optional<BarographSession> session = BarographSession::loadFile(path, takeoffTime, width, &why);
    if (!session)
        reportUnread(path, why);
    return session;
}

// "X0,Y0:X1,Y1": a press and the point the mouse moves to, in pixels of the surface.
std::optional<std::pair<QPoint, QPoint>> dragOf(const QString &text)
{
    const QStringList ends = text.split(u':');
    if (ends.size() != 2)
        return std::nullopt;
    QPoint points[2];
    for (int i = 0; i < 2; ++i) {
        const QStringList xy = ends[i].split(u',');
        bool okX = false, okY = false;
        if (xy.size() != 2)
            return std::nullopt;
        points[i] = QPoint(xy[0].toInt(&okX), xy[1].toInt(&okY));
        if (!okX || !okY)
            return std::nullopt;
    }
    return std::pair{points[0], points[1]};
}

// The view operations, as the zoom window's buttons and the mouse on the altitude panel do
// them: "zoom-in-h", ..., "scroll-down", "pan X0,Y0:X1,Y1" (right button) and
// "rubber X0,Y0:X1,Y1" (left button). Takes them from args[i] on while they are operations;
// false on a malformed one.
bool takeViewOperations(const QStringList &args, qsizetype &i, BarographSession &session)
{
    static const QList<std::pair<QLatin1String, ZoomStep>> steps = {
        {QLatin1String("zoom-in-h"), ZoomStep::ZoomInH},       {QLatin1String("zoom-out-h"), ZoomStep::ZoomOutH},
        {QLatin1String("zoom-in-v"), ZoomStep::ZoomInV},       {QLatin1String("zoom-out-v"), ZoomStep::ZoomOutV},
        {QLatin1String("scroll-left"), ZoomStep::ScrollLeft},  {QLatin1String("scroll-right"), ZoomStep::ScrollRight},
        {QLatin1String("scroll-up"), ZoomStep::ScrollUp},      {QLatin1String("scroll-down"), ZoomStep::ScrollDown}};
    for (; i < args.size(); ++i) {
        const QString &op = args[i];
        const auto step = std::find_if(steps.begin(), steps.end(), [&op](const auto &s) { return op == s.first; });
        if (step != steps.end()) {
            session.zoom(step->second);
            continue;
        }
        if (op != u"pan" && op != u"rubber")
            return true; // not an operation: the caller's
        const std::optional<std::pair<QPoint, QPoint>> drag = i + 1 < args.size() ? dragOf(args[i + 1]) : std::nullopt;
        if (!drag)
            return false;
        ++i;
        const bool right = op == u"pan";
        // A press outside the altitude panel starts nothing, as in the window.
        if (session.beginDrag(drag->first, right)) {
            session.dragTo(drag->second);
            session.endDrag(right);
        }
    }
    return true;
}

// The flight's row of a log given with --log and --row.
struct RowOfLog {
    LogBook book;
    QByteArray name;
    int row = -1;
};

std::optional<RowOfLog> readRowOfLog(const QString &logPath, int row)
{
    std::optional<QByteArray> name;
    std::optional<LogBook> book = readLog(logPath, &name);
    if (!book)
        return std::nullopt;
    if (row < 1 || row >= book->rowCount()) {
        report(QStringLiteral("no flight %1 in %2").arg(row).arg(logPath));
        return std::nullopt;
    }
    return RowOfLog{std::move(*book), name.value_or(QByteArray()), row};
}

// The row of a log an edit of `file` rewrites: only one that names that very file.
std::optional<RowOfLog> readRowNaming(const QString &logPath, int row, const QString &file)
{
    std::optional<RowOfLog> log = readRowOfLog(logPath, row);
    if (!log)
        return std::nullopt;
    const std::optional<QString> named =
        barographPath(folderOf(QFileInfo(logPath).absoluteFilePath()), log->book.row(row).barographFile);
    if (!named || !isSameFile(*named, file)) {
        report(baromsg::RowNamesOtherBarograph.toString().arg(row).arg(file));
        return std::nullopt;
    }
    return log;
}

// Writes a picture (PNG, BMP, or PDF laid out as the print) all or nothing.
bool writePicture(const QString &outPath, const BarographSession &session, const HeaderFacts &facts, bool mono)
{
    const PlotStyle style = mono ? PlotStyle::mono() : PlotStyle::colour();
    QByteArray bytes;
    if (outPath.endsWith(u".pdf", Qt::CaseInsensitive)) {
        const SurfacePicture picture = pictureOf(session, facts, style);
        bytes = pdfOfPicture(session.layout(), picture.plot, picture.header, style);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const char *format = outPath.endsWith(u".bmp", Qt::CaseInsensitive) ? "BMP" : "PNG";
        renderGraphPicture(session, facts, style).save(&buffer, format);
    }
    if (const std::optional<WriteFailure> failure = writeFile(outPath, bytes)) {
        report(QStringLiteral("cannot write ") + outPath + u'\n' + failure->reason());
        return false;
    }
    return true;
}

QByteArray viewJson(const GraphView &v)
{
    const QList<std::pair<const char *, qint32>> fields = {
        {"firstSample", v.firstSample}, {"lastSample", v.lastSample},   {"viewSamples", v.viewSamples},
        {"viewStart", v.viewStart},     {"viewEnd", v.viewEnd},         {"viewSeconds", v.viewSeconds},
        {"viewAltMin", v.viewAltMin},   {"viewAltMax", v.viewAltMax},   {"timeTick", v.timeTick},
        {"altTick", v.altTick}};
    QByteArrayList items;
    for (const auto &[key, value] : fields)
        items << "  \"" + QByteArray(key) + "\": " + QByteArray::number(value);
    return "{\n" + items.join(",\n") + "\n}\n";
}

// What an edit writes: FILE (or --out) through the window's save, and with --log the row's
// take-off time, duration, maximum altitude and climb (and the file's name when --out names
// another), the log saved with its backups. Prints the four fields as the row holds them.
struct EditArgs {
    QString path, outPath, logPath;
    int row = -1;
};

int finishEdit(BarographSession &session, const EditArgs &a)
{
    std::optional<RowOfLog> log;
    if (!a.logPath.isEmpty()) {
        log = readRowNaming(a.logPath, a.row, a.path);
        if (!log)
            return 1;
    }
    // With a log, the barograph, the log and its name file go in as one write: a kill
    // never leaves the new barograph beside the old row.
    BarographSession::CompanionFiles logFiles;
    if (log) {
        logFiles = [&log, &a](const FlightRecord &saved) {
            LogBook book = log->book;
            book.row(log->row) = saved;
            const QString logPath = logPathFor(a.logPath);
            return logBookImages(book, logPath, log->name, backupFolder(folderOf(QFileInfo(logPath).absoluteFilePath())));
        };
    }
    FlightRecord scratch;
    FlightRecord &record = log ? log->book.row(log->row) : scratch;
    const QString out = a.outPath.isEmpty() ? a.path : a.outPath;
    const QString workFolder = folderOf(QFileInfo(out).absoluteFilePath());
    const BarographSession::SaveResult saved = session.save(out, workFolder, log ? &record : nullptr, logFiles);
    switch (saved.status) {
    case BarographSession::SaveStatus::NameRefused:
        report(baromsg::FileNameTooLong);
        return 1;
    case BarographSession::SaveStatus::WriteFailed:
        report(baromsg::FileCannotOpen.toString() + u'\n' + saved.failure->reason());
        return 1;
    case BarographSession::SaveStatus::Saved:
        break;
    }
    if (!log)
        setFiguresFromBarograph(record, buildBarographImage(session.trace().toFile()), session.takeoffSeconds(),
                                workFolder);
    QByteArray text;
    if (log)
        text += "barographFile    " + record.barographFile.toByteArray() + '\n';
    text += "time             " + record.time.toByteArray() + '\n';
    text += "duration         " + record.duration.toByteArray() + '\n';
    text += "maxAltitude      " + record.maxAltitude.toByteArray() + '\n';
    text += "maxClimb         " + record.maxClimb.toByteArray() + '\n';
    writeOut(text);
    return 0;
}

// FILE, --out, --log and --row of the edit verbs, and the verb's own options, which
// `option` takes (args[i] is the option; it moves i past its value and says whether it was
// one of its own and well formed). False on wrong usage.
bool parseEditArgs(const QStringList &args, EditArgs &e,
                   const std::function<bool(const QStringList &, qsizetype &)> &option)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--out" && hasValue)
            e.outPath = args[++i];
        else if (a == u"--log" && hasValue)
            e.logPath = args[++i];
        else if (a == u"--row" && hasValue)
            e.row = args[++i].toInt(&ok);
        else if (e.path.isEmpty() && !a.startsWith(u"--"))
            e.path = a;
        else
            ok = option(args, i);
        if (!ok)
            return false;
    }
    return !e.path.isEmpty() && e.logPath.isEmpty() == (e.row < 0);
}

// The session an edit works on: FILE, whose first sample lies at the row's take-off time
// when a log is given (a left cut moves it), else at 00:00:00.
std::optional<BarographSession> openForEdit(const EditArgs &e)
{
    QByteArray takeoff = "00:00:00";
    if (!e.logPath.isEmpty()) {
        const std::optional<RowOfLog> log = readRowNaming(e.logPath, e.row, e.path);
        if (!log)
            return std::nullopt;
        takeoff = log->book.row(e.row).time.toByteArray();
    }
    return readSession(e.path, 640, takeoff);
}

std::optional<double> strictNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
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
    QStringList viewOps;
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
        else if (a == u"--view")
            while (i + 1 < args.size() && !args[i + 1].startsWith(u"--"))
                viewOps << args[++i];
        else if (path.isEmpty() && !a.startsWith(u"--"))
            path = a;
        else
            return 2;
        if (!ok)
            return 2;
    }
    if (path.isEmpty() || outPath.isEmpty() || width < 1 || width > 10000 || logPath.isEmpty() != (row < 0))
        return 2;

    // The text block shows the flight's row when a log is given, as the window does.
    std::optional<RowOfLog> log;
    if (!logPath.isEmpty() && !(log = readRowOfLog(logPath, row)))
        return 1;
    const QByteArray takeoff = log ? log->book.row(row).time.toByteArray() : QByteArray("00:00:00");
    std::optional<BarographSession> session = readSession(path, width, takeoff);
    if (!session)
        return 1;
    qsizetype at = 0;
    if (!takeViewOperations(viewOps, at, *session) || at != viewOps.size())
        return 2;
    HeaderFacts facts;
    facts.interval = session->trace().interval;
    if (log)
        facts = HeaderFacts::of(row, log->name, log->book.row(row), session->takeoffSeconds(), facts.interval);
    return writePicture(outPath, *session, facts, mono) ? 0 : 1;
}

int baroView(const QStringList &args)
{
    QString path;
    int width = 640;
    bool json = false;
    QStringList ops;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        bool ok = true;
        if (a == u"--json")
            json = true;
        else if (a == u"--width" && i + 1 < args.size())
            width = args[++i].toInt(&ok);
        else if (!a.startsWith(u"--"))
            (path.isEmpty() ? path : ops.emplace_back()) = a;
        else
            return 2;
        if (!ok)
            return 2;
    }
    if (path.isEmpty() || !json || width < 1 || width > 10000)
        return 2;
    std::optional<BarographSession> session = readSession(path, width);
    if (!session)
        return 1;
    qsizetype at = 0;
    if (!takeViewOperations(ops, at, *session) || at != ops.size())
        return 2;
    writeOut(viewJson(session->view()));
    return 0;
}

int baroCorrect(const QStringList &args)
{
    EditArgs e;
    CorrectionMode mode = CorrectionMode::None;
    double value = 0;
    int modes = 0;
    const bool usage = parseEditArgs(args, e, [&](const QStringList &a, qsizetype &i) {
        ++modes;
        if (a[i] == u"--zero") {
            mode = CorrectionMode::Zero;
            return true;
        }
        if ((a[i] != u"--takeoff" && a[i] != u"--offset") || i + 1 >= a.size())
            return false;
        mode = a[i] == u"--takeoff" ? CorrectionMode::Takeoff : CorrectionMode::Offset;
        const std::optional<double> number = strictNumber(a[++i]);
        value = number.value_or(0);
        return number.has_value();
    });
    if (!usage || modes != 1)
        return 2;
    std::optional<BarographSession> session = openForEdit(e);
    if (!session)
        return 1;
    if (!session->correctAltitudes(session->correctionOffset(mode, value, value))) {
        report(baromsg::CorrectionOutOfRange);
        return 1;
    }
    return finishEdit(*session, e);
}

int baroCut(const QStringList &args)
{
    EditArgs e;
    std::optional<double> at;
    bool left = false;
    int cuts = 0;
    const bool usage = parseEditArgs(args, e, [&](const QStringList &a, qsizetype &i) {
        ++cuts;
        if ((a[i] != u"--left" && a[i] != u"--right") || i + 1 >= a.size())
            return false;
        left = a[i] == u"--left";
        at = strictNumber(a[++i]);
        return at.has_value();
    });
    if (!usage || cuts != 1)
        return 2;
    std::optional<BarographSession> session = openForEdit(e);
    if (!session)
        return 1;
    // The cursor stands at the time given, as the pilot puts it before pressing a cut.
    session->cursorOn = true;
    session->cursorTime = float(*at);
    if (!(left ? session->cutLeft() : session->cutRight())) {
        report(QStringLiteral("nothing to cut %1 of %2 s").arg(left ? "left" : "right").arg(*at));
        return 1;
    }
    return finishEdit(*session, e);
}

// FILE back as downloaded: the bytes of the raw copy the download kept (the row's, with a
// log; raw/FILE in FILE's folder without one), the edited version kept in bak, and with a
// log the row's take-off time, duration, maximum altitude and climb as downloaded, in the
// same write.
int baroRevert(const QStringList &args)
{
    EditArgs e;
    if (!parseEditArgs(args, e, [](const QStringList &, qsizetype &) { return false; }) || !e.outPath.isEmpty())
        return 2;
    const QString path = QFileInfo(e.path).absoluteFilePath();
    std::optional<RowOfLog> log;
    QString raw;
    if (!e.logPath.isEmpty()) {
        log = readRowNaming(e.logPath, e.row, path);
        if (!log)
            return 1;
        raw = downloadedCopyPath(folderOf(QFileInfo(e.logPath).absoluteFilePath()), log->book.row(log->row));
    } else {
        raw = folderOf(path) + QStringLiteral("raw/") + QFileInfo(path).fileName();
    }
    if (raw.isEmpty() || !QFileInfo::exists(raw)) {
        report(baromsg::NotDownloadedHere);
        return 1;
    }
    ReadFailure why;
    const std::optional<QByteArray> bytes = readInputFile(raw, barofile::kMaxFileBytes, &why);
    if (!bytes || !parseBarographFile(*bytes)) {
        reportUnread(raw, why);
        return 1;
    }
    std::vector<FileImage> files{FileImage{path, *bytes}};
    if (log) {
        FlightRecord &row = log->book.row(log->row);
        setFiguresFromBarograph(row, *bytes, fieldformat::secondsOf(row.downloaded->fields[size_t(Field::Time)]),
                                folderOf(QFileInfo(e.logPath).absoluteFilePath()));
        const QString logPath = logPathFor(e.logPath);
        for (FileImage &f : logBookImages(log->book, logPath, log->name,
                                          backupFolder(folderOf(QFileInfo(logPath).absoluteFilePath()))))
            files.push_back(std::move(f));
    }
    WriteOptions options;
    options.backup = BackupRule{backupFolder(folderOf(path)), 10, {}};
    if (const std::optional<WriteFailure> failure = writeFiles(files, options)) {
        report(baromsg::FileCannotOpen.toString() + u'\n' + failure->reason());
        return 1;
    }
    if (log) {
        const FlightRecord &row = log->book.row(log->row);
        writeOut("time             " + row.time.toByteArray() + '\n' + "duration         " + row.duration.toByteArray()
                 + '\n' + "maxAltitude      " + row.maxAltitude.toByteArray() + '\n' + "maxClimb         "
                 + row.maxClimb.toByteArray() + '\n');
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
    ReadFailure why;
    const std::optional<LogFileContents> contents = readLogFile(logPath, &why);
    if (!contents) {
        report(msg::LogFileCannotOpen.toString() + u'\n' + why.reason());
        return 1;
    }
    if (!contents->isComplete() || row >= int(contents->records.size())) {
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
        const std::optional<SitesFileContents> sites = readSitesFile(sitesPath, &why);
        if (!sites) {
            report(baromsg::SitesFileCannotOpen.toString() + u'\n' + why.reason());
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
