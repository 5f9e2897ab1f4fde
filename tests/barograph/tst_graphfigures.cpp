// The row and its barograph tell one story: random sequences of cuts, corrections, undo,
// redo and "back to the download" in the barograph window, then Save. Afterwards the row
// holds exactly what the figure rule gives for the file on disk, a window opened on that
// file sees the samples the edited one shows, and the row's download record (what the
// companion file keeps) is untouched.
#include "barograph/core/barographsave.h"
#include "barograph/core/barographsession.h"
#include "barograph/ui/tgraph.h"
#include "logbook/core/companion.h"
#include "tests/barograph/barographtestdata.h"
#include "tests/common/fakemainformlink.h"

#include <QAction>
#include <QDir>
#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TestGraphFigures : public QObject {
    Q_OBJECT
private slots:
    void rowFollowsTheSavedFile();
};

void TestGraphFigures::rowFollowsTheSavedFile()
{
    // The downloaded row holds the instrument's figures, which the samples do not give back
    // exactly (its maximum climb is not the steepest step of the trace): only the rule's
    // "as downloaded" branch can produce them.
    const QByteArray original = sampleBytes("V7081114.V35");
    const std::array<QByteArray, kFieldCount> asDownloaded = {"1", "97/08/11", "14:35:20", "", "00:58:00",
                                                              "1701 m", "04.5 m/s", "", "V7081114.V35"};
    const int sequences = 1000;
    int reverted = 0, edited = 0;
    for (int n = 0; n < sequences; ++n) {
        QRandomGenerator random(quint32(n + 1));
        QTemporaryDir dir;
        const QString work = dir.path() + u'/';
        QDir(work).mkdir(QStringLiteral("raw"));
        for (const QString &path : {work + "V7081114.V35", work + "raw/V7081114.V35"}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(original) == original.size());
        }
        FakeMainFormLink link;
        link.book.workFolder = work;
        FlightRecord &r = link.book.appendRow();
        for (int f = 0; f < kFieldCount; ++f)
            r.setField(Field(f), asDownloaded[size_t(f)]);
        auto downloaded = std::make_shared<const DownloadedFlight>(DownloadedFlight{asDownloaded, "raw/V7081114.V35"});
        r.downloaded = downloaded;
        link.row = 1;
        link.area.show();

        QPointer<TGraph> graph = new TGraph(link);
        graph->show();
        QVERIFY2(graph->isLoaded(), qPrintable(link.prompts.informed.join(u'|')));
        QAction *revert = graph->findChild<QAction *>(QStringLiteral("RevertToDownload"));
        QString steps;
        for (int s = 1 + int(random.bounded(12)); s > 0; --s) {
            const float end = float((graph->trace().sampleCount() - 1) * graph->trace().interval);
            switch (random.bounded(6)) {
            case 0:
            case 1: {
                const bool right = random.bounded(2) == 0;
                graph->cursorHide();
                graph->cursorShow(float(random.bounded(double(end))));
                link.prompts.answers = {Prompter::Answer::Ok};
                right ? graph->cutRight() : graph->cutLeft();
                steps += right ? u'R' : u'L';
                break;
            }
            case 2:
                // Offsets a pilot types, with hundredths the file cannot keep.
                graph->applyAltitudeCorrection(CorrectionMode::Offset, random.bounded(-5000, 5000) / 100.0);
                steps += u'C';
                break;
            case 3:
                graph->undo();
                steps += u'U';
                break;
            case 4:
                graph->redo();
                steps += u'D';
                break;
            case 5:
                revert->trigger();
                steps += u'V';
                break;
            }
        }
        // Nothing reaches the row before the save.
        QCOMPARE(link.book.row(1).maxClimb.toByteArray(), asDownloaded[size_t(Field::MaxClimb)]);
        // Closed as the pilot closes it: asked, Yes, the same file (a window back at the
        // file as read asks nothing and writes nothing).
        const BarographTrace shown = graph->trace();
        const qint32 takeoff = graph->takeoffSeconds();
        link.prompts.answers = {Prompter::Answer::Yes};
        link.prompts.files = {work + "V7081114.V35"};
        QVERIFY2(graph->close(), qPrintable(steps));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(graph.isNull());

        const QByteArray saved = fileBytes(work + "V7081114.V35");
        FlightRecord expected = link.book.row(1);
        QVERIFY(setFiguresFromBarograph(expected, saved, takeoff, work));
        const FlightRecord &row = link.book.row(1);
        for (Field f : {Field::Time, Field::Duration, Field::MaxAltitude, Field::MaxClimb})
            QVERIFY2(row.fieldText(f) == expected.fieldText(f), qPrintable(steps + u' ' + fieldName(f)));
        (saved == original ? reverted : edited) += 1;

        // A window opened on the saved file sees what the edited one showed, to the tenth
        // of a metre the file keeps, from the same clock time.
        const std::optional<BarographSession> reopened = BarographSession::load(work, row, 640);
        QVERIFY(reopened);
        QCOMPARE(reopened->trace().sampleCount(), shown.sampleCount());
        for (qint32 i = 0; i < shown.sampleCount(); ++i)
            QVERIFY2(std::abs(reopened->trace().altitudes[size_t(i)] - shown.altitudes[size_t(i)]) < 0.051f, qPrintable(steps));
        QCOMPARE(reopened->takeoffSeconds(), takeoff);

        // The download record survives the save and a round trip through the companion.
        QVERIFY(row.downloaded == downloaded);
        LogBook reread;
        reread.appendRow(row);
        reread.row(1).downloaded.reset();
        const auto companion = parseCompanion(serializeCompanion(companionOf(link.book)));
        QVERIFY(std::holds_alternative<Companion>(companion));
        attachCompanion(reread, std::get<Companion>(companion));
        QVERIFY(reread.row(1).downloaded && reread.row(1).downloaded->fields == asDownloaded);
        QCOMPARE(reread.row(1).downloaded->raw, downloaded->raw);
    }
    // Both branches of the rule were taken often.
    QVERIFY2(reverted > 50 && edited > 500, qPrintable(QStringLiteral("%1 reverted, %2 edited").arg(reverted).arg(edited)));
}

QTEST_MAIN(TestGraphFigures)
#include "tst_graphfigures.moc"
