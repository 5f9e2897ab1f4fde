// Fuzzes the barograph file reader and everything the window computes from what it reads:
// statistics, view, the picture as values, the text block, the cursor and both cuts. Beyond
// not crashing, a file that is read must be one the viewer can use, and writing it out must
// read back to the same file.
#include "barograph/core/barographfile.h"
#include "barograph/core/barographtrace.h"
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

void drawEverything(const BarographTrace &trace, QByteArrayView comment)
{
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
