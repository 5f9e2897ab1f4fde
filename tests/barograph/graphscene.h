// The barograph window on the offscreen platform with a fake main window, as its tests
// share it: one flight whose barograph is the 58-minute sample, and the mouse on its surface.
#pragma once

#include "barograph/core/barographfile.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/messages.h"
#include "barograph/ui/barographcommands.h"
#include "barograph/ui/tclimbs.h"
#include "barograph/ui/tcprint.h"
#include "barograph/ui/tctrlzoom.h"
#include "barograph/ui/tcurspos.h"
#include "barograph/ui/tformadjust.h"
#include "barograph/ui/tgraph.h"
#include "logbook/core/text/cp932.h"
#include "tests/barograph/barographtestdata.h"
#include "logbook/core/text/numbertext.h"
#include "tests/common/fakemainformlink.h"
#include "tests/common/modalbox.h"

#include <QAction>
#include <QDir>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace graphscene {

// A log with one flight, row 1, whose barograph is the 58-minute sample flight (1741
// samples at 2 s, marks 30, 410 and 1200), in a work folder of its own.
struct Scene {
    QTemporaryDir dir;
    QString work = dir.path() + u'/';
    FakeMainFormLink link;
    quint32 now = 100000; ///< the fake tick count, ms

    explicit Scene(const QByteArray &name = "V7081114.V35", const QByteArray &bytes = sampleBytes("V7081114.V35"))
    {
        link.book.workFolder = work;
        FlightRecord &r = link.book.appendRow();
        r.date = "97/08/11";
        r.time = "14:35:20";
        r.area = cp932::fromUnicode(u"足尾山");
        r.duration = "00:58:00";
        r.maxAltitude = "1700 m";
        r.maxClimb = "3.0 m/s";
        r.barographFile = name;
        link.book.logName = "test";
        QFile f(work + "V7081114.V35");
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        link.row = 1;
        link.area.show();
    }

    TGraph *open()
    {
        auto *graph = new TGraph(link);
        graph->tickCount = [this] { return now; };
        // What the window announces, in order with what it asks of the link.
        QStringList &events = link.events;
        QObject::connect(graph, &TGraph::graphLoaded, [&events] { events << QStringLiteral("graphLoaded"); });
        QObject::connect(graph, &TGraph::graphClosed, [&events] { events << QStringLiteral("graphClosed"); });
        graph->show();
        return graph;
    }

    FlightRecord &record() { return link.book.row(1); }
};

QPoint inSurface(TGraph *graph, QPoint imagePos)
{
    return graph->surface()->contentsRect().topLeft() + imagePos;
}

void click(Scene &scene, TGraph *graph, QPoint imagePos, quint32 heldMs, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(graph->surface(), button, {}, inSurface(graph, imagePos));
    scene.now += heldMs;
    QTest::mouseRelease(graph->surface(), button, {}, inSurface(graph, imagePos));
}

// A mouse move without buttons, as the surface receives it with mouse tracking on.
void moveMouse(TGraph *graph, QPoint imagePos)
{
    const QPointF at = inSurface(graph, imagePos);
    QMouseEvent move(QEvent::MouseMove, at, graph->surface()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(graph->surface(), &move);
}

// Puts the cursor on at an elapsed time.
void cursorAt(TGraph *graph, float t)
{
    graph->cursorHide();
    graph->cursorShow(t);
}

} // namespace graphscene

using namespace graphscene;
