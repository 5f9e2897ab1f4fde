// The barograph viewer: loading and recomputing long barographs, a full redraw at 1,000
// pixels of width, and one cursor move in the window (offscreen).
// Goals: a full redraw of 200,000 samples under 5 ms and under 3x that of 2,000 samples;
// a cursor move under 1 ms whatever the sample count; a zoom or scroll step and a rubber-
// zoom step on 200,000 samples, each with its full redraw, under 3 ms and within 1.5x of
// the whole-view redraw; one page printed to PDF under 200 ms; the flight analysis of
// 200,000 samples under 10 ms; the climbs shaded, a full redraw within 1.2x of one without.
#include "benchdata.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsave.h"
#include "barograph/core/barographsession.h"
#include "barograph/core/barographtrace.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphplot.h"
#include "barograph/core/graphview.h"
#include "barograph/render/graphpainter.h"
#include "barograph/ui/tgraph.h"
#include "tests/common/fakemainformlink.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

// A flight of thermals and glides at 1 s.
BarographFile flightOf(int samples)
{
    QRandomGenerator rng(42);
    BarographFile file;
    file.interval = 1;
    float altitude = 600;
    float climb = 0;
    for (int i = 0; i < samples; ++i) {
        const float target = (i / 300) % 3 == 0 ? 2.5f : -1.2f;
        climb += (target - climb) * 0.05f + float(rng.generateDouble() - 0.5);
        altitude = std::max(200.0f, altitude + climb);
        file.altitudes.push_back(altitude);
    }
    file.marks = {10, samples / 2};
    return file;
}

// The same flight with only every `every`-th sample kept.
BarographFile thinned(const BarographFile &file, int every)
{
    BarographFile thin;
    thin.interval = file.interval * every;
    for (size_t i = 0; i < file.altitudes.size(); i += size_t(every))
        thin.altitudes.push_back(file.altitudes[i]);
    return thin;
}

struct Redraw {
    BarographTrace trace;
    FlightStats stats;
    FlightAnalysis analysis;
    GraphView view;
    GraphLayout layout = GraphLayout::forWidth(1000);
    QImage image = newSurface(layout);
    PlotStyle style = PlotStyle::colour();

    explicit Redraw(BarographFile file, bool shaded = true) : trace(BarographTrace::fromFile(std::move(file)))
    {
        stats = computeFlightStats(trace);
        if (shaded)
            analysis = analyseFlight(trace);
        view = GraphView::fullView(trace, stats);
    }
    void draw()
    {
        QPainter p(&image);
        paintGraph(p, buildGraphPlot(trace, stats, view, layout, LabelFont(), analysis.climbs), style);
        paintHeader(p, buildGraphHeader(HeaderFacts(), stats, layout), style);
    }
};

double redrawMs(BarographFile file, bool shaded = true)
{
    Redraw r(std::move(file), shaded);
    return bench::medianMs(51, [&] { r.draw(); });
}

// Reading the file into a trace, then what recompute does: statistics, view, drawing.
double loadAndRecomputeMs(const QString &path)
{
    return bench::medianMs(11, [&] {
        BarographTrace trace = BarographTrace::fromFile(*readBarographFile(path));
        const FlightStats stats = computeFlightStats(trace);
        const FlightAnalysis analysis = analyseFlight(trace);
        const GraphView view = GraphView::fullView(trace, stats);
        const GraphLayout layout = GraphLayout::forWidth(1000);
        QImage image = newSurface(layout);
        QPainter p(&image);
        paintGraph(p, buildGraphPlot(trace, stats, view, layout, LabelFont(), analysis.climbs),
                   PlotStyle::colour());
        paintHeader(p, buildGraphHeader(HeaderFacts(), stats, layout), PlotStyle::colour());
    });
}

// One cursor move in a window 1,040 pixels wide, read-outs and repaint of the surface
// included.
double cursorMoveMs(const QString &work, const QByteArray &name)
{
    FakeMainFormLink link;
    link.area.resize(1200, 900);
    link.area.show();
    link.book.workFolder = work;
    FlightRecord &r = link.book.appendRow();
    r.time = "10:00:00";
    r.barographFile = name;
    link.row = 1;
    auto *graph = new TGraph(link);
    graph->resize(1040, 797);
    graph->show();
    graph->resizeTimerFired();
    graph->cursorShow(0);
    QApplication::processEvents();
    const float end = float(graph->stats().flightSeconds);
    int step = 0;
    const double ms = bench::medianMs(501, [&] {
        graph->cursorMove(end * float(step++ % 97) / 97.0f, true);
        graph->surface()->repaint(); // paint the pending cursor areas now
    });
    delete graph;
    return ms;
}

// A session's view step (a zoom button, a scroll, a rubber-zoom move) with the full redraw
// the window then does, on a surface 1,000 pixels wide.
struct SessionRedraw {
    BarographSession session;
    QImage image;
    PlotStyle style = PlotStyle::colour();

    explicit SessionRedraw(BarographFile file)
        : session(BarographTrace::fromFile(std::move(file)), 0, 1000), image(newSurface(session.layout()))
    {
    }
    void draw()
    {
        QPainter p(&image);
        paintGraph(p, plotOf(session, style), style);
    }
};

double wholeViewMs(BarographFile file)
{
    SessionRedraw r(std::move(file));
    return bench::medianMs(51, [&] { r.draw(); });
}

// Zoom in, scroll right twice, zoom out: every step a button press and a redraw.
double zoomStepMs(BarographFile file)
{
    SessionRedraw r(std::move(file));
    const ZoomStep cycle[] = {ZoomStep::ZoomInH, ZoomStep::ScrollRight, ZoomStep::ScrollLeft, ZoomStep::ZoomOutH,
                              ZoomStep::ZoomInV, ZoomStep::ScrollUp, ZoomStep::ZoomOutV};
    int step = 0;
    return bench::medianMs(71, [&] {
        r.session.zoom(cycle[step++ % 7]);
        r.draw();
    });
}

// A left drag on the altitude panel, one mouse move (and redraw) at a time, back and forth.
double rubberStepMs(BarographFile file)
{
    SessionRedraw r(std::move(file));
    const QPoint press(500, 400);
    r.session.beginDrag(press, false);
    int step = 0;
    return bench::medianMs(71, [&] {
        r.session.dragTo(press + QPoint((step++ % 40 - 20) * 7, 0));
        r.draw();
    });
}

double pdfPageMs(BarographFile file)
{
    SessionRedraw r(std::move(file));
    return bench::medianMs(11, [&] {
        const SurfacePicture picture = pictureOf(r.session, HeaderFacts(), r.style);
        pdfOfPicture(r.session.layout(), picture.plot, picture.header, r.style);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString work = dir.path() + u'/';
    for (const int samples : {2000, 36000, 200000})
        saveBarographFile(work + QStringLiteral("F%1.V00").arg(samples), flightOf(samples), work);
    const double mb36 = double(QFileInfo(work + "F36000.V00").size()) / 1e6;
    const double mb200 = double(QFileInfo(work + "F200000.V00").size()) / 1e6;

    std::printf("barograph load and recompute (read, statistics, analysis, view, draw at 1000 px):\n");
    std::printf("   36000 samples (10 h at 1 s, %.2f MB)  %7.2f ms\n", mb36, loadAndRecomputeMs(work + "F36000.V00"));
    std::printf("  200000 samples (%.2f MB)              %7.2f ms\n", mb200, loadAndRecomputeMs(work + "F200000.V00"));

    const double r2k = redrawMs(flightOf(2000));
    const double r36k = redrawMs(flightOf(36000));
    const double r200k = redrawMs(flightOf(200000));
    const double r2kLong = redrawMs(thinned(flightOf(200000), 100));
    std::printf("full redraw at 1000 px (graph and text block), samples at 1 s:\n");
    std::printf("    2000 samples (33 min)  %7.3f ms\n", r2k);
    std::printf("   36000 samples (10 h)    %7.3f ms\n", r36k);
    std::printf("  200000 samples (55 h)    %7.3f ms  (goal < 5 ms)  ratio to 2000: %.2f (goal < 3)\n", r200k,
                r200k / r2k);
    const double r200kPlain = redrawMs(flightOf(200000), false);
    std::printf("  200000 samples without the climbs shaded  %7.3f ms  shaded / plain: %.2f (goal < 1.2)\n",
                r200kPlain, r200k / r200kPlain);
    std::printf("the same 55 h flight (same grid and labels) at 100 s, 2000 samples: %7.3f ms  ratio: %.2f\n",
                r2kLong, r200k / r2kLong);

    const double whole = wholeViewMs(flightOf(200000));
    const double zoom = zoomStepMs(flightOf(200000));
    const double rubber = rubberStepMs(flightOf(200000));
    std::printf("view steps on 200000 samples at 1000 px, each with its full redraw (whole view %7.3f ms):\n", whole);
    std::printf("  zoom or scroll step  %7.3f ms  (goal < 3 ms)  ratio to the whole view: %.2f (goal < 1.5)\n", zoom,
                zoom / whole);
    std::printf("  rubber-zoom step     %7.3f ms  (goal < 3 ms)  ratio to the whole view: %.2f (goal < 1.5)\n",
                rubber, rubber / whole);
    std::printf("one page to PDF (200000 samples, A4 at 600 dpi)  %7.2f ms  (goal < 200 ms)\n",
                pdfPageMs(flightOf(200000)));

    const BarographTrace longFlight = BarographTrace::fromFile(flightOf(200000));
    size_t climbs = 0;
    const double analysis = bench::medianMs(11, [&] { climbs = analyseFlight(longFlight).climbs.size(); });
    std::printf("flight analysis of 200000 samples (%zu climbs)  %7.3f ms  (goal < 10 ms)\n", climbs, analysis);

    const double c2k = cursorMoveMs(work, "F2000.V00");
    const double c200k = cursorMoveMs(work, "F200000.V00");
    std::printf("cursor move (read-outs and repaint, offscreen):\n");
    std::printf("    2000 samples  %7.3f ms\n", c2k);
    std::printf("  200000 samples  %7.3f ms  (goal < 1 ms, independent of the sample count)\n", c200k);
    return 0;
}
