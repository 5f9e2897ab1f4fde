// "baro climbs": the flight analysis of a barograph, as the barograph window shows it.
#include "output.h"
#include "verbs.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"

#include <cmath>

namespace {

/// The number to `decimals` places, without trailing zeros (a tenth of a metre or of a
/// second, a hundredth of a metre per second: what the figure means).
QByteArray number(double value, int decimals)
{
    QByteArray text = QByteArray::number(value, 'f', decimals);
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    return text == "-0" ? QByteArray("0") : text;
}

QByteArray seconds(const std::optional<double> &value)
{
    return value ? number(*value, 1) : QByteArray("null");
}

/// A time from the first sample to the nearest second, as the window's climb list writes it.
QByteArray clock(double seconds)
{
    return numtext::clockText(qint32(std::lround(seconds)));
}

QByteArray json(const FlightAnalysis &a)
{
    QByteArrayList climbs;
    for (const Climb &c : a.climbs) {
        climbs << "    {\"start\": " + number(c.start, 1) + ", \"end\": " + number(c.end, 1) +
                      ", \"baseAltitude\": " + number(c.baseAltitude, 1) + ", \"topAltitude\": " +
                      number(c.topAltitude, 1) + ", \"gain\": " + number(c.gain, 1) + ", \"meanClimb\": " +
                      number(c.meanClimb, 2) + ", \"bestClimb30s\": " + number(c.bestClimb30s, 2) +
                      ", \"heightLost\": " + number(c.heightLost, 1) + '}';
    }
    QByteArrayList bins;
    for (const RateBin &b : a.histogram)
        bins << "    {\"from\": " + number(b.from, 2) + ", \"to\": " + number(b.to, 2) +
                    ", \"seconds\": " + number(b.seconds, 1) + '}';
    const auto list = [](const QByteArrayList &items) {
        return items.isEmpty() ? QByteArray("[]") : "[\n" + items.join(",\n") + "\n  ]";
    };
    return "{\n  \"takeoff\": " + seconds(a.takeoff) + ",\n  \"landing\": " + seconds(a.landing) +
           ",\n  \"climbs\": " + list(climbs) + ",\n  \"climbingShare\": " + number(a.climbingShare, 3) +
           ",\n  \"totalClimb\": " + number(a.totalClimb, 1) + ",\n  \"bestClimb30s\": " +
           number(a.bestClimb30s, 2) + ",\n  \"maxSink30s\": " + number(a.maxSink30s, 2) +
           ",\n  \"histogram\": " + list(bins) + "\n}\n";
}

QByteArray text(const FlightAnalysis &a)
{
    const auto moment = [](const std::optional<double> &t) { return t ? clock(*t) : QByteArray("-"); };
    QByteArray out = "takeoff " + moment(a.takeoff) + "\nlanding " + moment(a.landing) + '\n';
    out += "climbs " + QByteArray::number(qsizetype(a.climbs.size())) + '\n';
    for (const Climb &c : a.climbs) {
        out += "  " + clock(c.start) + "  " + clock(c.duration()) + "  +" + number(c.gain, 0) + " m  mean " +
               number(c.meanClimb, 1) + " m/s  best 30 s " + number(c.bestClimb30s, 1) + " m/s\n";
    }
    out += "climbingShare " + number(a.climbingShare * 100, 0) + " %\ntotalClimb " + number(a.totalClimb, 0) +
           " m\nbestClimb30s " + number(a.bestClimb30s, 1) + " m/s\nmaxSink30s " + number(a.maxSink30s, 1) +
           " m/s\nhistogram\n";
    for (const RateBin &b : a.histogram)
        out += "  " + number(b.from, 1) + " .. " + number(b.to, 1) + " m/s  " + clock(b.seconds) + '\n';
    return out;
}

} // namespace

int baroClimbs(const QStringList &args)
{
    const auto parsed = fileAndJsonFlag(args);
    if (!parsed)
        return 2;
    const auto &[path, asJson] = *parsed;
    std::optional<BarographFile> file = readBarographFile(path);
    if (!file) {
        report(baromsg::FileCannotOpen.toString() + QStringLiteral(" (") + path + u')');
        return 1;
    }
    const FlightAnalysis analysis = analyseFlight(BarographTrace::fromFile(std::move(*file)));
    writeOut(asJson ? json(analysis) : text(analysis));
    return finishOut() ? 0 : 1;
}
