// The barograph window's tools on the offscreen platform, with a fake main window: the zoom
// tool and the mouse drags, the tools following their window and stacked with it, the
// altitude correction command (above the on-top dialogs) and printing, the climbs tool with
// its list, and the take-off, landing and mark buttons.
#include "tests/barograph/graphscene.h"

class TestGraphTools : public QObject {
    Q_OBJECT
private slots:
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
void TestGraphTools::zoomWindowAndMouse()
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

void TestGraphTools::toolsFollowTheirWindow()
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
void TestGraphTools::toolsBelongToTheirWindow()
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
void TestGraphTools::correctionFromAToolOpensAboveOnTopDialogs()
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
void TestGraphTools::altitudeCorrectionReopensInTheFieldOfItsMode()
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

void TestGraphTools::altitudeCorrectionCommand()
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

void TestGraphTools::printing()
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

void TestGraphTools::climbsToolShowsTheAnalysis()
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

void TestGraphTools::takeoffLandingAndMark()
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

QTEST_MAIN(TestGraphTools)
#include "tst_graphtools.moc"
