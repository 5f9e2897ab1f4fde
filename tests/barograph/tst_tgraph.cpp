// The barograph window and its cursor tool on the offscreen platform, with a fake main
// window: loading and refusing files, the cursor by mouse, buttons and typed time, both cuts,
// the close query with its save steps, the resize redraw, the zoom tool and the mouse drags,
// the tools following their window and stacked with it, the altitude correction command
// (above the on-top dialogs) and printing, the climbs tool with its list, and the take-off,
// landing and mark buttons.
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

namespace {

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

} // namespace

class TestTGraph : public QObject {
    Q_OBJECT
private slots:
    void loadsAndOpensTheCursorTool();
    void unusableFileClosesTheWindow_data();
    void unusableFileClosesTheWindow();
    void clickRule_data();
    void clickRule();
    void cursorFollowsTheMouseAndIsOverlaid();
    void stepButtonsRepeat();
    void typedTime();
    void cursorOnButton();
    void cutRight();
    void cutLeft();
    void cutsWithNothingToRemoveAskNothing();
    void revertToTheDownloadIsOneStep();
    void closingUnchangedAsksNothing();
    void closeQuery_data();
    void closeQuery();
    void resizeRedrawsOnceAtTheNewWidth();
    void zoomWindowAndMouse();
    void toolsFollowTheirWindow();
    void toolsBelongToTheirWindow();
    void correctionFromAToolOpensAboveOnTopDialogs();
    void altitudeCorrectionCommand();
    void altitudeCorrectionReopensInTheFieldOfItsMode();
    void printing();
    void climbsToolShowsTheAnalysis();
    void takeoffLandingAndMark();
};

void TestTGraph::loadsAndOpensTheCursorTool()
{
    Scene scene;
    QPointer<TGraph> graph = scene.open();
    QVERIFY(graph->isLoaded());
    QCOMPARE(graph->windowTitle(), baromsg::GraphCaption.toString());
    QVERIFY(graph->objectName().startsWith(QLatin1String("Graph")));
    QCOMPARE(scene.link.events, QStringList{"graphLoaded"});
    QVERIFY(scene.record().graphOpen);
    QCOMPARE(graph->trace().sampleCount(), 1741);
    QCOMPARE(graph->takeoffSeconds(), 14 * 3600 + 35 * 60 + 20);
    QCOMPARE(graph->surfaceImage().height(), 766);
    QCOMPARE(graph->surfaceImage().width(), graph->surface()->contentsRect().width());
    QCOMPARE(graph->graphLayout().plotRight, graph->surfaceImage().width() - 40);
    QCOMPARE(graph->surfaceImage().pixel(10, 10), qRgb(255, 255, 255));

    TCursPos *tool = graph->cursorTool();
    QVERIFY(tool && tool->isVisible());
    QCOMPARE(tool->size(), QSize(482, 60));
    QCOMPARE(tool->EdTime->text(), QStringLiteral("00:00:00"));
    QCOMPARE(tool->EdHeight->text(), QStringLiteral("611.9"));
    QCOMPARE(tool->EdBario->text(), QString::fromLatin1(numtext::fixed(graph->trace().varios[0], 1, 1)));
    for (QWidget *w : std::initializer_list<QWidget *>{tool->SpeedButtonL, tool->SpeedButtonR, tool->EdTime,
                                                      tool->EdBario, tool->EdHeight, tool->SBLeftCut,
                                                      tool->SBRightCut, tool->SBMark})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget *w : std::initializer_list<QWidget *>{tool->SBHAdjust, tool->SBPrinter, tool->SBOnClose, tool->SBZoom})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(tool->SBRightCut->toolTip(), QStringLiteral("ｶｰｿﾙﾎﾟｲﾝﾄの右を削除"));
    QVERIFY(!graph->cursorOn());
    QCOMPARE(graph->cursorTime(), 0.0f);
    delete graph;
}

void TestTGraph::unusableFileClosesTheWindow_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << QByteArray("V7081114.V36") << sampleBytes("V7081114.V35");
    QTest::newRow("damaged") << QByteArray("V7081114.V35") << QByteArray(" 1\r\n 2\r\n 0\r\n 100.0\r\n");
    QTest::newRow("fewer samples than announced") << QByteArray("V7081114.V35") << sampleBytes("V7081114.V35").left(5000);
    QTest::newRow("a path in the name") << QByteArray("../V7081114.V35") << sampleBytes("V7081114.V35");
    QTest::newRow("no name") << QByteArray() << sampleBytes("V7081114.V35");
}

void TestTGraph::unusableFileClosesTheWindow()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, bytes);
    Scene scene(name, bytes);
    QPointer<TGraph> graph = scene.open();
    const QString looked = scene.work + cp932::toUnicode(scene.record().barographFile.toByteArray());
    QCOMPARE(scene.link.prompts.informed, QStringList{baromsg::FileCannotOpen.toString() + u'\n' + looked});
    QTRY_VERIFY(graph.isNull());
    QVERIFY(!scene.record().graphOpen);
    QVERIFY(!scene.link.events.contains("graphLoaded"));
    QVERIFY(scene.link.prompts.asked.empty());
    QCOMPARE(fileBytes(scene.work + "V7081114.V35"), bytes);
}

void TestTGraph::clickRule_data()
{
    QTest::addColumn<quint32>("heldMs");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("toggles");
    QTest::newRow("quick click on the altitude panel") << 0u << QPoint(300, 400) << true;
    QTest::newRow("199 ms") << 199u << QPoint(300, 400) << true;
    QTest::newRow("200 ms is a press, not a click") << 200u << QPoint(300, 400) << false;
    QTest::newRow("on the variogram") << 50u << QPoint(300, 600) << true;
    QTest::newRow("on the frame's corner") << 50u << QPoint(58, 270) << true;
    QTest::newRow("between the panels") << 50u << QPoint(300, 550) << false;
    QTest::newRow("in the text block") << 50u << QPoint(300, 100) << false;
    QTest::newRow("left of the panels") << 50u << QPoint(20, 400) << false;
}

void TestTGraph::clickRule()
{
    QFETCH(quint32, heldMs);
    QFETCH(QPoint, at);
    QFETCH(bool, toggles);
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    click(scene, graph.get(), at, heldMs);
    QCOMPARE(graph->cursorOn(), toggles);
    if (!toggles)
        return;
    QCOMPARE(graph->cursorTime(), graph->view().timeAtX(at.x(), graph->graphLayout()));
    QVERIFY(graph->cursorTool()->SBRightCut->isEnabled());
    click(scene, graph.get(), at, heldMs, Qt::RightButton);
    QVERIFY(!graph->cursorOn());
    QVERIFY(!graph->cursorTool()->SBRightCut->isEnabled());
}

void TestTGraph::cursorFollowsTheMouseAndIsOverlaid()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    const GraphLayout l = graph->graphLayout();
    moveMouse(graph.get(), QPoint(200, 400));
    QCOMPARE(graph->cursorTime(), 0.0f); // a hidden cursor stays where it was
    cursorAt(graph.get(), 0);
    moveMouse(graph.get(), QPoint(200, 400));
    const float t = graph->view().timeAtX(200, l);
    QCOMPARE(graph->cursorTime(), t);
    QCOMPARE(graph->cursorTool()->EdTime->text().toLatin1(), numtext::clockText(qint32(t + 0.0001f)));
    QCOMPARE(graph->cursorPlacement().x, 200);
    moveMouse(graph.get(), QPoint(l.plotRight + 30, 600));
    QCOMPARE(graph->cursorTime(), float(graph->stats().flightSeconds)); // held to the right edge
    moveMouse(graph.get(), QPoint(100, 200)); // above the panels
    QCOMPARE(graph->cursorTime(), float(graph->stats().flightSeconds));

    // The picture keeps no cursor; the surface shows it by exclusive-or.
    cursorAt(graph.get(), t);
    const QImage shown = graph->surface()->grab().toImage();
    const QPoint o = graph->surface()->contentsRect().topLeft();
    int greyed = 0;
    for (int y = l.plotTop + 1; y < l.plotBottom; ++y) {
        if (graph->surfaceImage().pixel(200, y) == qRgb(255, 255, 255) && y != graph->cursorPlacement().altitudeY) {
            QCOMPARE(shown.pixel(o.x() + 200, o.y() + y), qRgb(127, 127, 127));
            ++greyed;
        }
    }
    QVERIFY(greyed > 50);
}

void TestTGraph::stepButtonsRepeat()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    TCursPos *tool = graph->cursorTool();
    bool shift = false;
    tool->shiftHeld = [&shift] { return shift; };
    cursorAt(graph.get(), 10.0f);

    QTest::mousePress(tool->SpeedButtonR, Qt::RightButton); // any button
    QCOMPARE(graph->cursorTime(), 12.0f);
    QVERIFY(tool->Timer1->isActive());
    QCOMPARE(tool->Timer1->interval(), 1000);
    tool->Timer1Timer();
    QCOMPARE(graph->cursorTime(), 14.0f);
    QCOMPARE(tool->Timer1->interval(), 100);
    shift = true;
    tool->Timer1Timer();
    QCOMPARE(graph->cursorTime(), 15.0f);
    QCOMPARE(tool->EdTime->text(), QStringLiteral("00:00:15"));
    QTest::mouseRelease(tool->SpeedButtonR, Qt::RightButton);
    QVERIFY(!tool->Timer1->isActive());

    shift = false;
    QTest::mousePress(tool->SpeedButtonL, Qt::LeftButton);
    QCOMPARE(graph->cursorTime(), 14.0f);
    tool->Timer1Timer();
    QCOMPARE(graph->cursorTime(), 12.0f);
    QTest::mouseRelease(tool->SpeedButtonL, Qt::LeftButton);
    QVERIFY(!tool->Timer1->isActive());

    // Held at the ends of the view, the steps stop there.
    cursorAt(graph.get(), 1.0f);
    graph->stepLeft(false);
    QCOMPARE(graph->cursorTime(), 0.0f);
    graph->stepLeft(false);
    QCOMPARE(graph->cursorTime(), 0.0f);
    cursorAt(graph.get(), float(graph->stats().flightSeconds));
    graph->stepRight(false);
    QCOMPARE(graph->cursorTime(), float(graph->stats().flightSeconds));
}

void TestTGraph::typedTime()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    QLineEdit *edit = graph->cursorTool()->EdTime;
    cursorAt(graph.get(), 0);
    edit->setText(QStringLiteral("00:10:00"));
    QCOMPARE(graph->cursorTime(), 600.0f);
    QCOMPARE(edit->text(), QStringLiteral("00:10:00"));
    QCOMPARE(graph->cursorTool()->EdHeight->text().toLatin1(), numtext::fixed(graph->trace().altitudes[300], 1, 4));
    edit->setText(QStringLiteral("00:1")); // incomplete: ignored
    QCOMPARE(graph->cursorTime(), 600.0f);
    edit->setText(QStringLiteral("09:00:00")); // beyond the flight: the cursor's time comes back
    QCOMPARE(edit->text(), QStringLiteral("00:10:00"));
    QCOMPARE(graph->cursorTime(), 600.0f);
    edit->setText(QStringLiteral("00:58:00")); // the last second of the flight
    QCOMPARE(graph->cursorTime(), 3480.0f);
}

void TestTGraph::cursorOnButton()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    cursorAt(graph.get(), 300.0f);
    graph->cursorTool()->SBCursOn->click();
    QVERIFY(!graph->cursorOn());
    graph->cursorTool()->SBCursOn->click();
    QVERIFY(graph->cursorOn());
    QCOMPARE(graph->cursorTime(), graph->view().timeAtX(graph->view().xAtTime(300.0f, graph->graphLayout()),
                                                        graph->graphLayout()));
}

void TestTGraph::cutRight()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    cursorAt(graph.get(), 100.0f);
    scene.link.prompts.answers = {Prompter::Answer::Cancel};
    graph->cutRight();
    QCOMPARE(graph->trace().sampleCount(), 1741);
    QVERIFY(!graph->baroModified());

    scene.link.prompts.answers = {Prompter::Answer::Ok};
    graph->cutRight();
    QCOMPARE(scene.link.prompts.asked.size(), size_t(2));
    const ScriptedPrompter::Asked &q = scene.link.prompts.asked.back();
    QCOMPARE(q.text, QStringLiteral("ｶｰｿﾙの右側を削除します。いいですか？"));
    QCOMPARE(q.caption, QStringLiteral("確認"));
    QCOMPARE(q.buttons, Prompter::Buttons::OkCancel);
    QCOMPARE(q.icon, Prompter::Icon::Exclamation);
    QCOMPARE(graph->trace().sampleCount(), 51);
    QCOMPARE(graph->trace().marks, (std::vector<qint32>{30}));
    QCOMPARE(graph->stats().flightSeconds, 100);
    QCOMPARE(graph->view().viewEnd, 100);
    QVERIFY(graph->cursorOn());
    QCOMPARE(graph->cursorTime(), 100.0f);
    QVERIFY(graph->baroModified());
    QCOMPARE(graph->takeoffSeconds(), 14 * 3600 + 35 * 60 + 20);
}

void TestTGraph::cutLeft()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    const float first = graph->trace().altitudes[49];
    cursorAt(graph.get(), 100.0f);
    scene.link.prompts.answers = {Prompter::Answer::Ok};
    graph->cutLeft();
    QCOMPARE(scene.link.prompts.asked.back().text, QStringLiteral("ｶｰｿﾙの左側を削除します。いいですか？"));
    QCOMPARE(graph->trace().sampleCount(), 1741 - 49);
    QCOMPARE(graph->trace().altitudes.front(), first);
    QCOMPARE(graph->trace().marks, (std::vector<qint32>{410 - 49, 1200 - 49}));
    QCOMPARE(graph->takeoffSeconds(), 14 * 3600 + 35 * 60 + 20 + 98);
    QVERIFY(graph->cursorOn());
    QCOMPARE(graph->cursorTime(), 0.0f);
    QVERIFY(graph->baroModified());
}

void TestTGraph::cutsWithNothingToRemoveAskNothing()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    cursorAt(graph.get(), float(graph->stats().flightSeconds));
    graph->cutRight();
    cursorAt(graph.get(), 2.0f); // the second sample
    graph->cutLeft();
    cursorAt(graph.get(), 1.0f); // a right cut here would keep a single sample
    graph->cutRight();
    QVERIFY(scene.link.prompts.asked.empty());
    QCOMPARE(graph->trace().sampleCount(), 1741);
    QVERIFY(!graph->baroModified());
}

// ダウンロード時に戻す after a cut: the raw copy's samples and the row's downloaded figures,
// one step of the window's history that undo takes back to the cut and redo repeats; a row
// not downloaded here says so and changes nothing.
void TestTGraph::revertToTheDownloadIsOneStep()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    auto *revert = graph->findChild<QAction *>(QStringLiteral("RevertToDownload"));
    QVERIFY(revert);
    revert->trigger();
    QCOMPARE(scene.link.prompts.informed, QStringList{baromsg::NotDownloadedHere.toString()});
    QVERIFY(!graph->canUndo());

    QDir(scene.work).mkdir(QStringLiteral("raw"));
    QVERIFY(QFile::copy(scene.work + "V7081114.V35", scene.work + "raw/V7081114.V35"));
    auto downloaded = std::make_shared<DownloadedFlight>();
    for (int f = 0; f < kFieldCount; ++f)
        downloaded->fields[size_t(f)] = scene.record().fieldText(Field(f)).toByteArray();
    downloaded->fields[size_t(Field::MaxClimb)] = "04.5 m/s";
    downloaded->raw = QStringLiteral("raw/V7081114.V35");
    scene.record().downloaded = downloaded;
    scene.record().maxClimb = "2.0 m/s";

    cursorAt(graph.get(), 100.0f);
    scene.link.prompts.answers = {Prompter::Answer::Ok};
    graph->cutRight();
    QCOMPARE(graph->trace().sampleCount(), 51);
    revert->trigger();
    QCOMPARE(graph->trace().sampleCount(), 1741);
    QCOMPARE(graph->undoName(), baromsg::StepRevert.toString());
    graph->undo();
    QCOMPARE(graph->trace().sampleCount(), 51);
    graph->redo();
    QCOMPARE(graph->trace().sampleCount(), 1741);
    QVERIFY(graph->baroModified());
    // The row follows with the save, as the instrument gave it, in the log's history.
    QCOMPARE(scene.record().maxClimb.toByteArray(), QByteArray("2.0 m/s"));
    scene.link.prompts.answers = {Prompter::Answer::Yes};
    scene.link.prompts.files = {scene.work + "V7081114.V35"};
    QVERIFY(graph->close());
    QCOMPARE(scene.record().maxClimb.toByteArray(), QByteArray("04.5 m/s"));
    QCOMPARE(scene.link.book.history.nextUndo()->name, baromsg::StepSaveRow.toString());
}

void TestTGraph::closingUnchangedAsksNothing()
{
    Scene scene;
    QPointer<TGraph> graph = scene.open();
    QVERIFY(graph->close());
    QTRY_VERIFY(graph.isNull());
    QVERIFY(scene.link.prompts.asked.empty());
    QVERIFY(scene.link.prompts.dialogs.isEmpty());
    QCOMPARE(scene.link.events, (QStringList{"graphLoaded", "graphClosed"}));
    QVERIFY(!scene.record().graphOpen);
    QVERIFY(!scene.link.book.logModified);
    QCOMPARE(fileBytes(scene.work + "V7081114.V35"), sampleBytes("V7081114.V35"));
    QVERIFY(!QDir(scene.work + "bak").exists());
}

void TestTGraph::closeQuery_data()
{
    QTest::addColumn<Prompter::Answer>("answer");
    QTest::addColumn<QString>("chosen"); // relative to the work folder; "" cancels the dialog
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("message");
    QTest::newRow("Cancel") << Prompter::Answer::Cancel << QString() << false << QString();
    QTest::newRow("No") << Prompter::Answer::No << QString() << true << QString();
    QTest::newRow("Yes, dialog cancelled") << Prompter::Answer::Yes << QString() << false << QString();
    QTest::newRow("Yes, same name") << Prompter::Answer::Yes << "V7081114.V35" << true << QString();
    // Where letter case matters this is a file of its own, which the record then names.
    QTest::newRow("Yes, same name in lower case") << Prompter::Answer::Yes << "v7081114.v35" << true << QString();
    QTest::newRow("Yes, elsewhere") << Prompter::Answer::Yes << "other/abc.v12" << true << QString();
    QTest::newRow("Yes, cannot be written") << Prompter::Answer::Yes << "missing/abc.v12" << false
                                            << baromsg::FileCannotOpen.toString();
    QTest::newRow("Yes, a name the record cannot hold") << Prompter::Answer::Yes << "a-very-long-name.v12" << false
                                                        << baromsg::FileNameTooLong.toString();
}

void TestTGraph::closeQuery()
{
    QFETCH(Prompter::Answer, answer);
    QFETCH(QString, chosen);
    QFETCH(bool, closes);
    QFETCH(QString, message);
    Scene scene;
    QVERIFY(QDir(scene.work).mkdir("other"));
    QPointer<TGraph> graph = scene.open();
    cursorAt(graph, 100.0f);
    scene.link.prompts.answers = {Prompter::Answer::Ok, answer};
    graph->cutLeft();
    scene.link.events.clear();
    if (answer == Prompter::Answer::Yes)
        scene.link.prompts.files = {chosen.isEmpty() ? QString() : scene.work + chosen};

    QCOMPARE(graph->close(), closes);
    const ScriptedPrompter::Asked &q = scene.link.prompts.asked.back();
    QCOMPARE(q.text, QStringLiteral("ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが変更されました。\nﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀとﾛｸﾞﾃﾞｰﾀをセーブしますか？"));
    QCOMPARE(q.caption, QStringLiteral("確認"));
    QCOMPARE(q.buttons, Prompter::Buttons::YesNoCancel);
    QCOMPARE(q.icon, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Yes)
        QCOMPARE(scene.link.prompts.dialogs, QStringList{"save, old kept:" + scene.work + "V7081114.V35"});
    QCOMPARE(scene.link.prompts.informed.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY(scene.link.prompts.informed[0].startsWith(message));

    const bool saved = closes && answer == Prompter::Answer::Yes;
    const QString written = scene.work + chosen;
    if (!closes) {
        QVERIFY(graph && graph->isVisible());
        QVERIFY(graph->baroModified());
        QVERIFY(scene.record().graphOpen);
        QCOMPARE(scene.link.events, QStringList());
    } else {
        QTRY_VERIFY(graph.isNull());
        QVERIFY(!scene.record().graphOpen);
        QVERIFY(scene.link.events.endsWith("graphClosed"));
    }
    if (!saved) {
        QCOMPARE(fileBytes(scene.work + "V7081114.V35"), sampleBytes("V7081114.V35"));
        QCOMPARE(scene.record().time, "14:35:20");
        QVERIFY(!scene.link.book.logModified);
        return;
    }
    // The file carries the reduced header and the marks renumbered.
    const std::optional<BarographFile> file = parseBarographFile(fileBytes(written));
    QVERIFY(file);
    QCOMPARE(file->sampleCount(), 1741 - 49);
    QCOMPARE(file->marks, (std::vector<qint32>{361, 1151}));
    QVERIFY(fileBytes(written).startsWith(" 1692\r\n 2\r\n 2\r\n 361\r\n 1151\r\n"));
    // The record shows the new take-off, duration, maximum altitude and climb.
    QCOMPARE(scene.record().time, "14:36:58");
    QCOMPARE(scene.record().duration, numtext::clockText(1691 * 2));
    QCOMPARE(scene.record().maxAltitude, numtext::decimal(qint64(std::trunc(double(1713.1f) + 0.5)), 4, true) + " m");
    QCOMPARE(scene.record().maxClimb.toByteArray().endsWith(" m/s"), true);
    QVERIFY(scene.link.book.logModified);
    QVERIFY(scene.link.events.contains("refreshRow 1"));
    if (chosen != u"V7081114.V35") {
        QCOMPARE(scene.record().barographFile, chosen.startsWith(u"other") ? "ABC.V12" : "v7081114.v35");
        QCOMPARE(fileBytes(scene.work + "V7081114.V35"), sampleBytes("V7081114.V35"));
        QVERIFY(!QDir(scene.work + "bak").exists());
    } else {
        QCOMPARE(scene.record().barographFile, "V7081114.V35");
        QCOMPARE(fileBytes(scene.work + "bak/V7081114.V35"), sampleBytes("V7081114.V35"));
    }
}

void TestTGraph::resizeRedrawsOnceAtTheNewWidth()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    cursorAt(graph.get(), 50.0f);
    graph->resize(900, 797);
    QVERIFY(!graph->cursorOn());
    QVERIFY(graph->resizeTimer()->isActive());
    QCOMPARE(graph->resizeTimer()->interval(), 50);
    graph->resizeTimerFired();
    QVERIFY(!graph->resizeTimer()->isActive());
    const int width = graph->surface()->contentsRect().width();
    QVERIFY(width > 800);
    QCOMPARE(graph->surfaceImage().width(), width);
    QCOMPARE(graph->graphLayout().plotRight, width - 40);
    QVERIFY(!graph->cursorOn());
    // Far too narrow for a plot: still drawn, nothing divided by zero.
    graph->resize(60, 300);
    graph->resizeTimerFired();
    QCOMPARE(graph->graphLayout().plotWidth(), 1);
    graph->clickAt(QPoint(58, 300));
    QVERIFY(graph->cursorOn());
}

void TestTGraph::zoomWindowAndMouse()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    TCursPos *tool = graph->cursorTool();
    // Tools of the workspace, the cursor tool over the window's caption.
    QCOMPARE(tool->parentWidget(), scene.link.area.viewport());
    QCOMPARE(tool->pos(), graph->pos() + QPoint(60, 0));
    graph->climbsTool()->hide(); // the pilot closed it: room beside the window
    tool->SBZoom->click();
    QVERIFY(graph->zoomWindowOpen());
    TCtrlZoom *zoom = graph->zoomTool();
    QCOMPARE(zoom->size(), QSize(88, 60));
    // Outside the window where the screen has room (its caption buttons and text block stay
    // in reach), never over the cursor tool's buttons.
    QVERIFY(!zoom->geometry().intersects(tool->geometry()));
    QVERIFY(!zoom->geometry().intersects(graph->geometry()));
    bool shift = false;
    zoom->shiftHeld = [&shift] { return shift; };
    cursorAt(graph.get(), 3000.0f);
    zoom->SBZoomR->click();
    QCOMPARE(graph->view().viewSamples, 870);
    QVERIFY(graph->cursorOn());
    QCOMPARE(graph->cursorTime(), float(graph->view().viewEnd)); // kept in view
    QCOMPARE(tool->EdTime->text().toLatin1(), numtext::clockText(graph->view().viewEnd));
    shift = true;
    zoom->SBZoomR->click();
    QCOMPARE(graph->view().firstSample, 435);
    zoom->SBZoomU->click();
    QCOMPARE(graph->view().viewAltMax, graph->view().axisAltMax);

    // A left drag of 35 pixels on the altitude panel zooms in around the press; held
    // longer than a click, it leaves the cursor alone.
    cursorAt(graph.get(), 1000.0f);
    graph->cursorHide();
    const QPoint press(300, 400);
    QTest::mousePress(graph->surface(), Qt::LeftButton, {}, inSurface(graph.get(), press));
    moveMouse(graph.get(), press + QPoint(35, 0));
    scene.now += 500;
    QTest::mouseRelease(graph->surface(), Qt::LeftButton, {}, inSurface(graph.get(), press + QPoint(35, 0)));
    QCOMPARE(graph->view().viewSamples, 870 * 4 / 5 * 4 / 5 * 4 / 5);
    QVERIFY(!graph->cursorOn());
    // The right button pans; the picture follows.
    const QImage before = graph->surfaceImage();
    QTest::mousePress(graph->surface(), Qt::RightButton, {}, inSurface(graph.get(), press));
    moveMouse(graph.get(), press + QPoint(-100, 0));
    QVERIFY(graph->surfaceImage() != before);

    tool->SBZoom->click(); // closed: the whole trace again
    QVERIFY(!graph->zoomWindowOpen());
    QCOMPARE(graph->view().viewSamples, 1741);
    QCOMPARE(graph->view().viewAltSpan, graph->view().axisAltSpan);
}

void TestTGraph::toolsFollowTheirWindow()
{
    Scene scene;
    scene.link.area.resize(1000, 500);
    std::unique_ptr<TGraph> graph(scene.open());
    // Lower than the window's picture: the window fits the workspace and its surface scrolls.
    QVERIFY(graph->height() <= 500);
    auto *scroll = graph->findChild<QScrollArea *>();
    QVERIFY(scroll && scroll->verticalScrollBar()->maximum() > 0);
    TCursPos *cursor = graph->cursorTool();
    const QPoint cursorAt0 = cursor->pos();
    graph->move(graph->pos() + QPoint(30, 20));
    QCOMPARE(cursor->pos(), cursorAt0 + QPoint(30, 20));
    // Where the pilot put a tool goes with the window too, inside the workspace.
    TClimbs *climbs = graph->climbsTool();
    climbs->move(700, 40);
    emit climbs->draggedByHand();
    graph->move(graph->pos() + QPoint(100, 0));
    QCOMPARE(climbs->pos(), QPoint(1000 - climbs->width(), 40));
    graph->showMinimized();
    QVERIFY(!cursor->isVisible() && !climbs->isVisible());
    graph->showNormal();
    QVERIFY(cursor->isVisible() && climbs->isVisible());
    QCOMPARE(cursor->pos(), cursorAt0 + QPoint(130, 20));
    // Maximised, the tools stay in the workspace, and the cursor tool over the picture.
    graph->showMaximized();
    const QRect room = scene.link.area.viewport()->rect();
    QVERIFY(room.contains(cursor->geometry()) && room.contains(climbs->geometry()));
    QCOMPARE(cursor->pos(), QPoint(60, 0));
    graph->showNormal();
    QCOMPARE(cursor->pos(), cursorAt0 + QPoint(130, 20));
}

// The tools stand right above their window and under every window raised after it; another
// window maximised hides them, a press on a tool brings its window forward.
void TestTGraph::toolsBelongToTheirWindow()
{
    Scene scene;
    std::unique_ptr<TGraph> first(scene.open());
    std::unique_ptr<TGraph> second(scene.open());
    QVERIFY(!first->cursorTool()->isWindow());
    const auto stack = [&scene](QWidget *w) { return scene.link.area.viewport()->children().indexOf(w); };
    const auto rightAbove = [&stack](TGraph *graph, TGraph *other) {
        for (QWidget *tool : {static_cast<QWidget *>(graph->cursorTool()), static_cast<QWidget *>(graph->climbsTool())}) {
            if (!(stack(graph) < stack(tool) && (stack(tool) < stack(other) || stack(other) < stack(graph))))
                return false;
        }
        return true;
    };
    scene.link.area.setActiveSubWindow(second.get());
    QVERIFY(stack(first->cursorTool()) < stack(second.get()));
    QVERIFY(rightAbove(second.get(), first.get()));
    QTest::mouseClick(first->cursorTool()->SBTakeoff, Qt::LeftButton); // a press anywhere on a tool
    QCOMPARE(scene.link.area.activeSubWindow(), first.get());
    QVERIFY(stack(second->climbsTool()) < stack(first.get()));
    QVERIFY(rightAbove(first.get(), second.get()));

    second->showMaximized();
    QTRY_VERIFY(!first->cursorTool()->isVisible());
    QVERIFY(!first->climbsTool()->isVisible() && second->cursorTool()->isVisible());
    second->showNormal();
    QTRY_VERIFY(first->cursorTool()->isVisible());
}

// 高度補正 is made once: each showing from a tool stands above the program's on-top dialogs
// that are up then, and is an ordinary window again once none is.
void TestTGraph::correctionFromAToolOpensAboveOnTopDialogs()
{
    Scene scene;
    BarographCommands commands(scene.link, [] { return IgcExportSettings(); }, [](const IgcExportSettings &) {});
    std::unique_ptr<TGraph> graph(scene.open());
    commands.attachGraph(*graph);
    auto *settings = new QDialog(&scene.link.area, Qt::Dialog | Qt::WindowStaysOnTopHint); // as ﾊﾟﾗﾒｰﾀ設定
    settings->show();
    const auto cancel = [](QWidget *box) { static_cast<QDialog *>(box)->reject(); };
    auto seen = whenBoxOpens(cancel);
    graph->cursorTool()->SBHAdjust->click();
    QCOMPARE(seen->text, QStringLiteral("高度補正"));
    QVERIFY(seen->onTop);
    delete settings;
    seen = whenBoxOpens(cancel);
    graph->cursorTool()->SBHAdjust->click();
    QCOMPARE(seen->text, QStringLiteral("高度補正"));
    QVERIFY(!seen->onTop);
}

// The dialog is made once: reopened after OK, what the pilot types must reach the field of
// the chosen mode, and Enter apply it.
void TestTGraph::altitudeCorrectionReopensInTheFieldOfItsMode()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    const float first = graph->trace().altitudes[0];
    TFormAdjust form;
    form.RBOffset->setChecked(true);
    form.EdOffset->setText(QStringLiteral("+10"));
    const auto run = [&](const std::function<void()> &inDialog) {
        runAltitudeCorrection(form, graph.get(), scene.link.prompts, [&](QDialog &d) {
            QTimer::singleShot(0, &d, inDialog);
            return d.exec() == QDialog::Accepted;
        });
    };
    run([&] {
        form.BitBtn1->setFocus();
        form.BitBtn1->click();
    });
    QCOMPARE(graph->trace().altitudes[0], first + 10.0f);
    run([&] {
        QCOMPARE(form.focusWidget(), form.EdOffset);
        QTest::keyClicks(form.focusWidget(), QStringLiteral("-30"));
        QTest::keyClick(form.focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(form.EdOffset->text(), QStringLiteral("-30"));
    QCOMPARE(graph->trace().altitudes[0], first + 10.0f - 30.0f);
}

void TestTGraph::altitudeCorrectionCommand()
{
    Scene scene;
    TFormAdjust form;
    QVERIFY(form.RBZero->isChecked() && !form.EdTakeoff->isEnabled() && !form.EdOffset->isEnabled());
    form.RBTakeoff->setChecked(true);
    QVERIFY(form.EdTakeoff->isEnabled() && !form.EdOffset->isEnabled());
    bool ok = true;
    const auto dialog = [&ok](QDialog &) { return ok; };

    // No barograph window: the error, nothing else.
    runAltitudeCorrection(form, nullptr, scene.link.prompts, dialog);
    QCOMPARE(scene.link.prompts.asked.size(), size_t(1));
    QCOMPARE(scene.link.prompts.asked[0].text, QStringLiteral("ﾊﾞﾛｸﾞﾗﾌｳｨﾝﾄﾞｳが選択されていません。"));
    QCOMPARE(scene.link.prompts.asked[0].caption, QStringLiteral("エラー"));
    QCOMPARE(scene.link.prompts.asked[0].icon, Prompter::Icon::Exclamation);

    std::unique_ptr<TGraph> graph(scene.open());
    cursorAt(graph.get(), 600.0f);
    const float first = graph->trace().altitudes[0];
    form.EdTakeoff->setText(QStringLiteral("３５０ｍ")); // as an input method types it: 350
    ok = false; // Cancel changes nothing
    runAltitudeCorrection(form, graph.get(), scene.link.prompts, dialog);
    QVERIFY(!graph->baroModified());
    ok = true;
    runAltitudeCorrection(form, graph.get(), scene.link.prompts, dialog);
    QCOMPARE(graph->trace().altitudes[0], first + (350.0f - first));
    QVERIFY(graph->baroModified());
    QVERIFY(graph->cursorOn());
    QCOMPARE(graph->cursorTime(), 600.0f);
    QCOMPARE(graph->cursorTool()->EdHeight->text().toLatin1(), numtext::fixed(graph->trace().altitudes[300], 1, 4));
    form.RBOffset->setChecked(true);
    form.EdOffset->setText(QStringLiteral("1e9")); // beyond what a file holds: refused
    runAltitudeCorrection(form, graph.get(), scene.link.prompts, dialog);
    QCOMPARE(scene.link.prompts.informed.size(), 1);
    QCOMPARE(graph->trace().altitudes[0], 350.0f);

    // The read-outs of a hidden cursor follow the corrected trace too.
    graph->cursorHide();
    form.EdOffset->setText(QStringLiteral("-30"));
    runAltitudeCorrection(form, graph.get(), scene.link.prompts, dialog);
    QCOMPARE(graph->cursorTool()->EdHeight->text().toLatin1(), numtext::fixed(graph->trace().altitudes[300], 1, 4));

    // A text without a number stays in the dialog with the message; Cancel then changes nothing.
    form.EdOffset->setText(QStringLiteral("abc"));
    std::shared_ptr<SeenBox> message;
    bool stayed = false;
    whenBoxOpens([&](QWidget *) {
        message = answerNextBox(QMessageBox::Ok);
        form.BitBtn1->click();
        stayed = form.isVisible();
        form.BitBtn2->click();
    });
    runAltitudeCorrection(form, graph.get(), scene.link.prompts,
                          [](QDialog &d) { return d.exec() == QDialog::Accepted; });
    QVERIFY(message && stayed);
    QCOMPARE(message->text, baromsg::CorrectionNotNumber.toString());
    QCOMPARE(form.EdOffset->text(), QStringLiteral("abc"));
    QCOMPARE(graph->trace().altitudes[0], 320.0f);
    // The tool window's button asks the main window, which owns the dialog.
    int asked = 0;
    connect(graph.get(), &TGraph::heightAdjustRequested, [&asked] { ++asked; });
    graph->cursorTool()->SBHAdjust->click();
    QCOMPARE(asked, 1);
}

void TestTGraph::printing()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    TCPrint mode;
    cursorAt(graph.get(), 600.0f);
    const QImage shown = graph->surfaceImage();
    int dialogs = 0;
    const auto cancelMode = [&dialogs, &mode](QDialog &) {
        ++dialogs;
        mode.setItemIndex(1); // the pilot picks black and white, then cancels
        return false;
    };
    PrintTarget target = PrintTarget::Cancelled;
    QString printTo; // the print system's own "print to file" (PDF)
    const auto chooser = [&target, &printTo](QPrinter &printer, QWidget *) {
        printer.setOutputFileName(printTo);
        return target;
    };

    printGraph(*graph, mode, scene.link.prompts, cancelMode, chooser); // print dialog cancelled
    QCOMPARE(dialogs, 1);
    QVERIFY(scene.link.prompts.dialogs.isEmpty());

    target = PrintTarget::Pdf;
    const QString pdf = scene.work + "page.pdf";
    scene.link.prompts.files = {pdf};
    printGraph(*graph, mode, scene.link.prompts, cancelMode, chooser);
    QCOMPARE(scene.link.prompts.dialogs, QStringList{"save:" + scene.work + "V7081114.V35.pdf"});
    QVERIFY(fileBytes(pdf).startsWith("%PDF"));
    // The window still shows its colour picture and its cursor.
    QCOMPARE(graph->surfaceImage(), shown);
    QVERIFY(graph->cursorOn());
    QCOMPARE(graph->cursorTime(), 600.0f);

    // Told not to ask, the mode dialog is skipped; a file that cannot be written says why.
    mode.CheckBColor->setChecked(true);
    scene.link.prompts.files = {scene.work + "missing/page.pdf"};
    printGraph(*graph, mode, scene.link.prompts, cancelMode, chooser);
    QCOMPARE(dialogs, 2);
    QCOMPARE(scene.link.prompts.informed.size(), 1);
    QVERIFY(scene.link.prompts.informed[0].startsWith(QStringLiteral("PDFファイルが書けません。\n")));
    // A job that does not start says where it was to go.
    target = PrintTarget::Printer;
    printTo = scene.work + "missing/job.pdf";
    printGraph(*graph, mode, scene.link.prompts, cancelMode, chooser);
    QCOMPARE(scene.link.prompts.informed.size(), 2);
    QCOMPARE(scene.link.prompts.informed[1], QStringLiteral("「%1」に印刷できません。").arg(QDir::toNativeSeparators(printTo)));

    int asked = 0;
    connect(graph.get(), &TGraph::printRequested, [&asked] { ++asked; });
    graph->cursorTool()->SBPrinter->click();
    QCOMPARE(asked, 1);
    // The export sits beside the print in the window's tools.
    int exports = 0;
    connect(graph.get(), &TGraph::igcExportRequested, [&exports] { ++exports; });
    graph->cursorTool()->SBIgc->click();
    QCOMPARE(exports, 1);
    graph->cursorTool()->SBOnClose->click();
    QVERIFY(!graph->isVisible());
    graph.release(); // deleted on close
}

void TestTGraph::climbsToolShowsTheAnalysis()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    TClimbs *tool = graph->climbsTool();
    QVERIFY(tool && tool->isVisible());
    const FlightAnalysis analysis = analyseFlight(graph->trace());
    QTableWidget *list = tool->TbClimbs;
    QCOMPARE(list->rowCount(), 7);
    const auto cell = [list](int row, int column) { return list->item(row, column)->text(); };
    // As `duvazi-tool baro climbs` prints the first climb, its start on the flight's clock.
    QCOMPARE((QStringList{cell(0, 0), cell(0, 1), cell(0, 2), cell(0, 3), cell(0, 4)}),
             (QStringList{"14:40:20", "00:03:26", "665", "3.2", "4.2"}));
    for (int row = 0; row < 7; ++row) {
        const Climb &c = analysis.climbs[size_t(row)];
        QCOMPARE(cell(row, 2).toDouble(), std::round(double(c.gain)));
        QVERIFY(std::abs(cell(row, 3).toDouble() - c.meanClimb) <= 0.05f);
        QVERIFY(std::abs(cell(row, 4).toDouble() - c.bestClimb30s) <= 0.05f);
    }
    QCOMPARE((QStringList{tool->LbShare->text(), tool->LbTotal->text(), tool->LbBest->text(), tool->LbSink->text()}),
             (QStringList{"上昇時間： 26 %", "総上昇高度： 2460 m", "最大上昇(30秒)： 4.3 m/s", "最大沈下(30秒)： -2.1 m/s"}));

    // A click on the third climb: the view shows it with some margin, the cursor at its start.
    const Climb &third = analysis.climbs[2];
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2, 1)).center());
    QVERIFY(graph->zoomWindowOpen() && graph->cursorOn());
    QCOMPARE(graph->cursorTime(), float(third.start));
    QVERIFY(graph->view().viewStart < third.start && graph->view().viewEnd > third.end);

    // The list follows the trace: a left cut there leaves the later climbs.
    scene.link.prompts.answers = {Prompter::Answer::Ok};
    graph->cutLeft();
    QCOMPARE(size_t(list->rowCount()), graph->session().analysis().climbs.size());
    QVERIFY(list->rowCount() < 7);
}

void TestTGraph::takeoffLandingAndMark()
{
    Scene scene;
    std::unique_ptr<TGraph> graph(scene.open());
    TCursPos *tool = graph->cursorTool();
    QCOMPARE(tool->LbMark->text(), QStringLiteral("ﾏｰｸなし"));
    tool->SBTakeoff->click(); // shows the cursor
    QCOMPARE(tool->EdTime->text(), QStringLiteral("00:01:06"));
    tool->SBMark->click();
    graph->zoomStep(ZoomStep::ZoomInH); // the landing lies beyond this view: the whole trace again
    tool->SBLanding->click();
    QCOMPARE(tool->EdTime->text(), QStringLiteral("00:56:42"));
    QCOMPARE(graph->view().viewEnd, graph->stats().flightSeconds);
    const MarkSpan span = markSpan(66.0f, 3402.0f, graph->trace());
    QCOMPARE(tool->LbMark->text(), QStringLiteral("ﾏｰｸから 00:55:36   %1 m   %2 m/s")
                                       .arg(QString::fromLatin1(span.heightText), QString::fromLatin1(span.climbText)));
    // The widest figures a span can have stay whole and clear of the IGC button.
    tool->showMark(MarkSpan{"99:59:59", "-1234.5", "-12.34"});
    QVERIFY(QFontMetricsF(tool->LbMark->font()).horizontalAdvance(tool->LbMark->text()) <= tool->LbMark->width());
    QVERIFY(tool->LbMark->geometry().right() < tool->SBIgc->geometry().left());

    // The ground before the take-off cut away: the trace starts in the air, the mark is gone.
    tool->SBTakeoff->click();
    scene.link.prompts.answers = {Prompter::Answer::Ok};
    graph->cutLeft();
    QVERIFY(!tool->SBTakeoff->isEnabled() && tool->SBLanding->isEnabled());
    QCOMPARE(tool->LbMark->text(), QStringLiteral("ﾏｰｸなし"));
}

QTEST_MAIN(TestTGraph)
#include "tst_tgraph.moc"
