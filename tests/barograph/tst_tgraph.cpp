// The barograph window and its cursor tool on the offscreen platform, with a fake main
// window: loading and refusing files, the cursor by mouse, buttons and typed time, both cuts,
// the close query with its save steps and the resize redraw.
#include "tests/barograph/graphscene.h"

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

QTEST_MAIN(TestTGraph)
#include "tst_tgraph.moc"
