// Fuzzes the barograph file reader and everything the window computes from what it reads:
// statistics, the flight analysis, view, the picture as values, the text block, the cursor
// and both cuts. Beyond
// not crashing, a file that is read must be one the viewer can use, and writing it out must
// read back to the same file.
#include "barograph/core/barographfile.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphcursor.h"
#include "barograph/core/graphplot.h"
#include "barograph/core/graphview.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

/// The analysis the window runs on every file: its moments inside the trace and in order,
/// its histogram bounded whatever the altitudes, yet holding all the flying time.
void analyse(const BarographTrace &trace)
{
    const FlightAnalysis a = analyseFlight(trace);
    const double span = double(trace.flightSeconds());
    check(!a.takeoff || (*a.takeoff >= 0 && *a.takeoff <= span));
    check(!a.landing || (*a.landing <= span && (!a.takeoff || *a.landing > *a.takeoff)));
    double previousEnd = 0;
    for (const Climb &c : a.climbs) {
        check(c.start >= previousEnd && c.end > c.start && c.end <= span);
        previousEnd = c.end;
    }
    check(a.histogram.size() <= 80); // 0.5 m/s bins from -20 to +20 m/s
    double binned = 0;
    for (const RateBin &b : a.histogram)
        binned += b.seconds;
    check(binned == a.flyingSeconds || a.histogram.empty()); // the wildest rates in the end bins
}

void drawEverything(const BarographTrace &trace, QByteArrayView comment)
{
    analyse(trace);
    const FlightStats stats = computeFlightStats(trace);
    const GraphView view = GraphView::fullView(trace, stats);
    check(view.axisAltSpan > 0 && view.viewSeconds == stats.flightSeconds);
    for (const qint32 width : {640, 1}) {
        const GraphLayout layout = GraphLayout::forWidth(width);
        const GraphPlot plot = buildGraphPlot(trace, stats, view, layout);
        for (const QPoint &p : plot.altitudeTrace)
            check(p.y() >= layout.plotTop && p.y() <= layout.plotBottom);
        HeaderFacts facts;
        facts.comment = comment.toByteArray();
        facts.interval = trace.interval;
        buildGraphHeader(facts, stats, layout);
        for (const float t : {0.0f, float(stats.flightSeconds) / 3, float(stats.flightSeconds)})
            placeCursor(t, trace, view, layout);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<BarographFile> file = parseBarographFile(bytes);
    if (!file)
        return 0;
    check(isUsableBarograph(*file));

    const QByteArray image = buildBarographImage(*file);
    const std::optional<BarographFile> again = parseBarographFile(image);
    check(again && again->marks == file->marks && again->sampleCount() == file->sampleCount()
          && again->interval == file->interval);
    check(buildBarographImage(*again) == image);

    BarographTrace trace = BarographTrace::fromFile(*file);
    drawEverything(trace, bytes);

    const float middle = float(trace.flightSeconds()) / 2;
    if (const std::optional<qint32> removed = leftCutRemove(trace, middle)) {
        trace.cutBefore(*removed);
        check(trace.sampleCount() >= 2 && isUsableBarograph(trace.toFile()));
    }
    if (const std::optional<qint32> keep = rightCutKeep(trace, float(trace.flightSeconds()) / 2)) {
        trace.cutAfter(*keep);
        check(trace.sampleCount() >= 2 && isUsableBarograph(trace.toFile()));
    }
    drawEverything(trace, {});
    return 0;
}
