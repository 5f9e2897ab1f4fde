// Where a barograph window's tools stand in the workspace: beside the graph where there is
// room, inside the workspace always, never over a caption button of any window.
#include "barograph/core/toolplacement.h"

#include <QList>
#include <QtTest/QTest>

namespace {

const QSize kCursor(482, 60), kClimbs(352, 430), kZoom(88, 60);

} // namespace

class TestToolPlacement : public QObject {
    Q_OBJECT
private slots:
    void placesTheThreeTools_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("graph");
        QTest::addColumn<int>("caption");
        QTest::addColumn<QList<QRect>>("buttons");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("climbs");
        QTest::addColumn<QPoint>("zoom");
        const QRect wide(0, 0, 1270, 760);
        QTest::newRow("room on the right") << wide << QRect(0, 0, 640, 700) << 22 << QList<QRect>{{570, 2, 66, 18}}
                                           << QPoint(60, 0) << QPoint(648, 0) << QPoint(648, 438);
        QTest::newRow("at the right edge: beside the left")
            << wide << QRect(600, 0, 640, 700) << 22 << QList<QRect>{{1170, 2, 66, 18}} << QPoint(660, 0)
            << QPoint(240, 0) << QPoint(240, 438);
        // The middle of three windows tiled full width: no side has room, and the climbs tool
        // reaching down over the next window's caption stays left of its buttons.
        QTest::newRow("tiled full width")
            << wide << QRect(0, 253, 1270, 253) << 22
            << QList<QRect>{{1200, 2, 66, 18}, {1200, 255, 66, 18}, {1200, 508, 66, 18}} << QPoint(60, 253)
            << QPoint(841, 275) << QPoint(550, 253);
        QTest::newRow("a caption narrower than the cursor tool")
            << QRect(0, 0, 1000, 700) << QRect(0, 0, 400, 300) << 22 << QList<QRect>{{330, 2, 66, 18}}
            << QPoint(0, 22) << QPoint(490, 0) << QPoint(490, 438);
        QTest::newRow("maximised: no caption, no side")
            << QRect(0, 0, 1000, 700) << QRect(0, 0, 1000, 700) << 0 << QList<QRect>{} << QPoint(60, 0)
            << QPoint(648, 0) << QPoint(550, 0);
        QTest::newRow("a workspace lower than the climbs tool")
            << QRect(0, 0, 600, 400) << QRect(0, 0, 600, 400) << 22 << QList<QRect>{{530, 2, 66, 18}}
            << QPoint(41, 0) << QPoint(171, 0) << QPoint(41, 68);
    }
    void placesTheThreeTools()
    {
        QFETCH(QRect, area);
        QFETCH(QRect, graph);
        QFETCH(int, caption);
        QFETCH(QList<QRect>, buttons);
        const ToolRoom room{area, graph, caption, std::vector<QRect>(buttons.begin(), buttons.end())};
        const QRect cursor(placeCursorTool(room, kCursor), kCursor);
        const QRect climbs(placeClimbsTool(room, kClimbs, cursor), kClimbs);
        QTEST(cursor.topLeft(), "cursor");
        QTEST(climbs.topLeft(), "climbs");
        QTEST(placeZoomTool(room, kZoom, cursor, climbs), "zoom");
    }
};

QTEST_APPLESS_MAIN(TestToolPlacement)
#include "tst_toolplacement.moc"
