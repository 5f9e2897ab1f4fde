// The barograph file: reading files written elsewhere, refusing what the viewer cannot
// use, the exact bytes written, all-or-nothing saving, the download's file name rule and the
// lookup in the work folder.
#include "barograph/core/barographfile.h"
#include "logbook/core/text/cp932.h"
#include "tests/barograph/barographtestdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Altitudes = std::vector<float>;
using Marks = std::vector<qint32>;

} // namespace

Q_DECLARE_METATYPE(Altitudes)
Q_DECLARE_METATYPE(Marks)

class TestBarographFile : public QObject {
    Q_OBJECT
private slots:
    void readsWhatOthersWrote_data();
    void readsWhatOthersWrote();
    void refusesWhatTheViewerCannotUse_data();
    void refusesWhatTheViewerCannotUse();
    void forgedCountAllocatesNothing();
    void writesExactBytesWithCrLf();
    void writeReadRoundTripKeepsEveryValue();
    void downloadFileName_data();
    void downloadFileName();
};

void TestBarographFile::readsWhatOthersWrote_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<qint32>("interval");
    QTest::addColumn<Marks>("marks");
    QTest::addColumn<Altitudes>("altitudes");

    QTest::newRow("two samples") << sampleBytes("two-samples.V00") << 1 << Marks{} << Altitudes{100.0f, 100.5f};
    QTest::newRow("bare LF") << sampleBytes("lf-only.V01") << 4 << Marks{1, 3}
                             << Altitudes{512.3f, 987.6f, 700.0f, 99.5f};
    QTest::newRow("blanks or none read the same")
        << QByteArray("2\r\n   1\r\n0\r\n612.4\r\n      612.4\r\n") << 1 << Marks{} << Altitudes{612.4f, 612.4f};
    QTest::newRow("mark 17.6 is sample 18")
        << QByteArray(" 20\r\n 1\r\n 1\r\n 17.6\r\n") + QByteArray(" 1.0\r\n").repeated(20) << 1 << Marks{18}
        << Altitudes(20, 1.0f);
    QTest::newRow("mark -1 rounds to sample 0, as (int)(-0.5) does")
        << QByteArray(" 2\r\n 1\r\n 1\r\n -1\r\n 5\r\n 6\r\n") << 1 << Marks{0} << Altitudes{5.0f, 6.0f};
    QTest::newRow("header read as atoi: 2.9 is 2, +4 is 4")
        << QByteArray("2.9\n+4\n0 marks\n1\n2\n") << 4 << Marks{} << Altitudes{1.0f, 2.0f};
    QTest::newRow("last line without line end")
        << QByteArray(" 2\r\n 2\r\n 0\r\n 10.0\r\n 11.5") << 2 << Marks{} << Altitudes{10.0f, 11.5f};
    QTest::newRow("lines after the last sample are ignored")
        << QByteArray(" 2\r\n 2\r\n 0\r\n 10.0\r\n 11.5\r\n\r\n\x1a") << 2 << Marks{} << Altitudes{10.0f, 11.5f};
    QTest::newRow("atof forms: exponent, sign, no digits")
        << QByteArray(" 4\n 1\n 0\n 1.25e2\n -3.5m\n x\n .5\n") << 1 << Marks{}
        << Altitudes{125.0f, -3.5f, 0.0f, 0.5f};
    QTest::newRow("equal marks") << QByteArray(" 3\n 1\n 2\n 1\n 1\n 0\n 0\n 0\n") << 1 << Marks{1, 1}
                                 << Altitudes{0, 0, 0};
}

void TestBarographFile::readsWhatOthersWrote()
{
    QFETCH(QByteArray, image);
    QFETCH(qint32, interval);
    QFETCH(Marks, marks);
    QFETCH(Altitudes, altitudes);
    const std::optional<BarographFile> file = parseBarographFile(image);
    QVERIFY(file);
    QCOMPARE(file->interval, interval);
    QCOMPARE(file->marks, marks);
    QCOMPARE(file->altitudes, altitudes);
}

void TestBarographFile::refusesWhatTheViewerCannotUse_data()
{
    QTest::addColumn<QByteArray>("image");
    const QByteArray twoSamples(" 10.0\r\n 11.0\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << QByteArray(" 2\r\n 1\r\n 0\r\n");
    QTest::newRow("one sample") << QByteArray(" 1\r\n 1\r\n 0\r\n 10.0\r\n");
    QTest::newRow("no sample count") << QByteArray("abc\r\n 1\r\n 0\r\n") + twoSamples;
    QTest::newRow("negative count") << QByteArray(" -2\r\n 1\r\n 0\r\n") + twoSamples;
    QTest::newRow("interval 0") << QByteArray(" 2\r\n 0\r\n 0\r\n") + twoSamples;
    QTest::newRow("negative interval") << QByteArray(" 2\r\n -2\r\n 0\r\n") + twoSamples;
    QTest::newRow("257 marks") << QByteArray(" 2\r\n 1\r\n 257\r\n") + QByteArray(" 0\r\n").repeated(257) + twoSamples;
    QTest::newRow("negative mark count") << QByteArray(" 2\r\n 1\r\n -1\r\n") + twoSamples;
    QTest::newRow("mark beyond the trace") << QByteArray(" 2\r\n 1\r\n 1\r\n 2\r\n") + twoSamples;
    QTest::newRow("mark 1.6 of 2 samples rounds to 2") << QByteArray(" 2\r\n 1\r\n 1\r\n 1.6\r\n") + twoSamples;
    QTest::newRow("mark before the trace") << QByteArray(" 2\r\n 1\r\n 1\r\n -1.6\r\n") + twoSamples;
    QTest::newRow("marks descending") << QByteArray(" 3\r\n 1\r\n 2\r\n 2\r\n 1\r\n 1\r\n") + twoSamples;
    QTest::newRow("fewer samples than announced") << QByteArray(" 3\r\n 1\r\n 0\r\n") + twoSamples;
    QTest::newRow("fewer marks than announced") << QByteArray(" 2\r\n 1\r\n 3\r\n 0\r\n") ;
    QTest::newRow("flight longer than 2^24 s") << QByteArray(" 2\r\n 16777217\r\n 0\r\n") + twoSamples;
    QTest::newRow("altitude beyond 100 km") << QByteArray(" 2\r\n 1\r\n 0\r\n 100000.1\r\n 1\r\n");
    QTest::newRow("altitude beyond a double") << QByteArray(" 2\r\n 1\r\n 0\r\n 1e999\r\n 1\r\n");
}

void TestBarographFile::refusesWhatTheViewerCannotUse()
{
    QFETCH(QByteArray, image);
    QVERIFY(!parseBarographFile(image));
}

void TestBarographFile::forgedCountAllocatesNothing()
{
    // Two billion samples announced by a 30-byte file: refused before any allocation (an
    // attempt would abort the test under the sanitizers' allocation limit).
    QVERIFY(!parseBarographFile(" 2000000000\r\n 1\r\n 0\r\n 1.0\r\n 2.0\r\n"));
    // As many lines as bytes is the most a file can hold; one sample more is refused.
    const QByteArray dense = " 5\n1\n0\n" + QByteArray("1\n").repeated(5);
    QVERIFY(parseBarographFile(dense));
    QVERIFY(!parseBarographFile(QByteArray(dense).replace(" 5\n", " 6\n")));
}

void TestBarographFile::writesExactBytesWithCrLf()
{
    BarographFile file;
    file.interval = 2;
    file.marks = {0, 2};
    file.altitudes = {512.3f, 99.5f, -12.0f, 1244.45f, 0.25f, 10000.0f};
    // " %5.1f": 1244.45f is 1244.449951... and rounds down; 0.25 is an exact tie, rounded to
    // even as the C library does.
    QCOMPARE(buildBarographImage(file), QByteArray(" 6\r\n 2\r\n 2\r\n 0\r\n 2\r\n"
                                                   " 512.3\r\n  99.5\r\n -12.0\r\n 1244.4\r\n"
                                                   "   0.2\r\n 10000.0\r\n"));
}

void TestBarographFile::writeReadRoundTripKeepsEveryValue()
{
    const std::optional<BarographFile> flight = parseBarographFile(sampleBytes("V7081114.V35"));
    QVERIFY(flight);
    QCOMPARE(flight->sampleCount(), 1741);
    QCOMPARE(flight->marks, (Marks{30, 410, 1200}));
    // Written by Python's "%5.1f" with CR LF, rewritten by ours: the same bytes.
    QCOMPARE(buildBarographImage(*flight), sampleBytes("V7081114.V35"));
}

void TestBarographFile::downloadFileName_data()
{
    QTest::addColumn<QByteArray>("date");
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<int>("variant");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("97/08/11 14:35:20") << QByteArray("97/08/11") << QByteArray("14:35:20") << 0 << QByteArray("V7081114.V35");
    QTest::newRow("2000s") << QByteArray("03/12/31") << QByteArray("09:05:59") << 0 << QByteArray("V3123109.V05");
    QTest::newRow("short date never yields a separator")
        << QByteArray("7/8/11") << QByteArray("9:5") << 0 << QByteArray("V0010090.V00");
    QTest::newRow("empty") << QByteArray() << QByteArray() << 0 << QByteArray("V00000000.V00").remove(1, 1);
    // The free names of flights that share a minute: a letter where the minutes were.
    const QByteArray d("97/08/11"), t("14:35:20");
    QTest::newRow("26th free name") << d << t << 26 << QByteArray("V7081114.V3Z");
    QTest::newRow("then two letters") << d << t << 27 << QByteArray("V7081114.VAA");
    QTest::newRow("beyond the last") << d << t << kMaxNameVariant + 1 << QByteArray("V7081114.V35");
}

void TestBarographFile::downloadFileName()
{
    QFETCH(QByteArray, date);
    QFETCH(QByteArray, time);
    QFETCH(int, variant);
    QFETCH(QByteArray, name);
    QCOMPARE(barographFileName(date, time, variant), name);
}

QTEST_GUILESS_MAIN(TestBarographFile)
#include "tst_barographfile.moc"
