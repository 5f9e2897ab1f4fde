// The barograph reply decoder and the file made from a reply.
#include "barograph/core/barographfile.h"
#include "device/core/barographreply.h"
#include "device/core/downloader.h"

#include <QTest>

namespace {

// A reply written from its table: 3 bytes, interval code, samples, mark, offset, 1 byte, sign.
QByteArray reply(char code, const QList<QByteArray> &samples, const QByteArray &offset = "00100", char sign = '0')
{
    QByteArray r = "DVB";
    r += code;
    for (const QByteArray &s : samples)
        r += s;
    return r + "99999" + offset + '0' + sign;
}

BarographReplyDecoder decode(const QByteArray &bytes)
{
    BarographReplyDecoder d;
    d.feed(bytes);
    return d;
}

} // namespace

class TestBarographReply : public QObject {
    Q_OBJECT
private slots:
    void workedAltitudes_data();
    void workedAltitudes();
    void intervalCodes_data();
    void intervalCodes();
    void hundredSamplesMakeTheirFile();
    void endsExactlyWithTheLastByteInAnyPieces_data();
    void endsExactlyWithTheLastByteInAnyPieces();
    void markLookalikeShortOfTheEndDoesNotEndTheReply();
    void refusedReplies_data();
    void refusedReplies();
    void babbleIsRefusedAtTheLimit();
    void shortRepliesStillDecode();
};

void TestBarographReply::workedAltitudes_data()
{
    QTest::addColumn<QByteArray>("offset");
    QTest::addColumn<char>("sign");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("offset added") << QByteArray("00100") << '0' << QByteArray(" 1244.5\r\n");
    QTest::newRow("any other sign subtracts") << QByteArray("00100") << '1' << QByteArray(" 1224.5\r\n");
    QTest::newRow("blank sign subtracts") << QByteArray("00100") << ' ' << QByteArray(" 1224.5\r\n");
    QTest::newRow("below zero") << QByteArray("13000") << '1' << QByteArray(" -65.5\r\n");
    QTest::newRow("no offset") << QByteArray("00000") << '0' << QByteArray(" 1234.5\r\n");
}

void TestBarographReply::workedAltitudes()
{
    QFETCH(QByteArray, offset);
    QFETCH(char, sign);
    QFETCH(QByteArray, line);
    const BarographReplyDecoder d = decode(reply('8', {"12345", "12345", "00000", "00010"}, offset, sign));
    QCOMPARE(d.status(), DecodeStatus::Complete);
    const QByteArray image = buildBarographImage(barographFromReply(d));
    QVERIFY2(image.startsWith(" 4\r\n 2\r\n 0\r\n" + line), image.constData());
}

void TestBarographReply::intervalCodes_data()
{
    QTest::addColumn<char>("code");
    QTest::addColumn<int>("intervalSec");
    QTest::newRow("'2' is 1 s") << '2' << 1;
    QTest::newRow("'8' is 2 s") << '8' << 2;
    QTest::newRow("'0' is 4 s") << '0' << 4;
    QTest::newRow("'1' is refused") << '1' << 0;
    QTest::newRow("'4' is refused") << '4' << 0;
    QTest::newRow("a letter is refused") << 'x' << 0;
}

void TestBarographReply::intervalCodes()
{
    QFETCH(char, code);
    QFETCH(int, intervalSec);
    BarographReplyDecoder d;
    QCOMPARE(d.feed("DVB"), DecodeStatus::NeedMore);
    QCOMPARE(d.intervalSec(), 0);
    const DecodeStatus status = d.feed(QByteArray(1, code));
    QCOMPARE(d.intervalSec(), intervalSec);
    QCOMPARE(status, intervalSec ? DecodeStatus::NeedMore : DecodeStatus::Malformed);
    if (!intervalSec)
        QCOMPARE(d.problem(), BarographReplyDecoder::Problem::UnknownInterval);
}

void TestBarographReply::hundredSamplesMakeTheirFile()
{
    QList<QByteArray> samples;
    for (int i = 0; i < 100; ++i)
        samples << QByteArray::number(10000 + i * 7).rightJustified(5, '0');
    const QByteArray bytes = reply('8', samples);
    QCOMPARE(bytes.size(), 516);
    const BarographReplyDecoder d = decode(bytes);
    QCOMPARE(d.status(), DecodeStatus::Complete);
    QCOMPARE(d.sampleCount(), 100);
    QCOMPARE(d.offsetTenths(), 100);

    const QList<QByteArray> lines = buildBarographImage(barographFromReply(d)).split('\n');
    QCOMPARE(lines.size(), 3 + 100 + 1);
    QCOMPARE(lines[0], QByteArray(" 100\r"));
    QCOMPARE(lines[1], QByteArray(" 2\r"));
    QCOMPARE(lines[2], QByteArray(" 0\r"));
    QCOMPARE(lines[3], QByteArray(" 1010.0\r"));  // (10000 + 100) x 0.1
    QCOMPARE(lines[102], QByteArray(" 1079.3\r")); // (10693 + 100) x 0.1
}

void TestBarographReply::endsExactlyWithTheLastByteInAnyPieces_data()
{
    QTest::addColumn<int>("piece");
    for (const int n : {1, 2, 3, 4, 5, 7, 11, 12, 13, 500})
        QTest::addRow("%d-byte pieces", n) << n;
}

void TestBarographReply::endsExactlyWithTheLastByteInAnyPieces()
{
    QFETCH(int, piece);
    const QByteArray bytes = reply('2', {"12345", "09999", "99990", "00009", "19999"});
    BarographReplyDecoder d;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        const QByteArrayView part = QByteArrayView(bytes).sliced(at, qMin<qsizetype>(piece, bytes.size() - at));
        const DecodeStatus status = d.feed(part);
        QCOMPARE(status, at + part.size() == bytes.size() ? DecodeStatus::Complete : DecodeStatus::NeedMore);
    }
    QCOMPARE(d.samples(), (std::vector<int>{12345, 9999, 99990, 9, 19999}));
    QCOMPARE(d.offsetTenths(), 100);
    QCOMPARE(d.received(), int(bytes.size()));
}

// The last sample ends in 9 and the mark's first four 9s follow: a piece that stops one to
// four bytes short of the end shows "99999" 12 to 8 bytes before its end.
void TestBarographReply::markLookalikeShortOfTheEndDoesNotEndTheReply()
{
    const QByteArray bytes = reply('8', {"10000", "10200", "10349"}, "00100", '0');
    for (int shortBy = 1; shortBy <= 4; ++shortBy) {
        BarographReplyDecoder d;
        QCOMPARE(d.feed(bytes.chopped(shortBy)), DecodeStatus::NeedMore);
        QCOMPARE(d.feed(bytes.right(shortBy)), DecodeStatus::Complete);
        QCOMPARE(d.sampleCount(), 3);
        QCOMPARE(d.samples().back(), 10349);
        QCOMPARE(d.offsetTenths(), 100);
    }
}

void TestBarographReply::refusedReplies_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<BarographReplyDecoder::Problem>("problem");
    using P = BarographReplyDecoder::Problem;
    QTest::newRow("letter in a sample") << reply('8', {"12345", "12x45"}) << P::NotDigits;
    QTest::newRow("blank-padded sample") << reply('8', {" 1234"}) << P::NotDigits;
    QTest::newRow("letter in the offset") << reply('8', {"12345"}, "0010x") << P::NotDigits;
    QTest::newRow("garbage") << QByteArray("#?ERR line noise\r\n") << P::UnknownInterval;
    QTest::newRow("unknown interval") << reply('5', {"12345"}) << P::UnknownInterval;
}

void TestBarographReply::refusedReplies()
{
    QFETCH(QByteArray, bytes);
    QFETCH(BarographReplyDecoder::Problem, problem);
    const BarographReplyDecoder d = decode(bytes);
    QCOMPARE(d.status(), DecodeStatus::Malformed);
    QCOMPARE(d.problem(), problem);
}

void TestBarographReply::babbleIsRefusedAtTheLimit()
{
    BarographReplyDecoder d;
    d.feed("DVB8");
    const QByteArray chunk = QByteArray("12345").repeated(1000);
    DecodeStatus status = DecodeStatus::NeedMore;
    qint64 fed = 4;
    while (status == DecodeStatus::NeedMore && fed < 10 * BarographReplyDecoder::kMaxReplyBytes) {
        status = d.feed(chunk);
        fed += chunk.size();
    }
    QCOMPARE(status, DecodeStatus::Malformed);
    QCOMPARE(d.problem(), BarographReplyDecoder::Problem::TooLong);
    QCOMPARE(d.sampleCount(), BarographReplyDecoder::kMaxSamples);
    QVERIFY(d.received() <= BarographReplyDecoder::kMaxReplyBytes);
}

// Too short is the download's judgement (fewer than 4 samples); the decoder reads both.
void TestBarographReply::shortRepliesStillDecode()
{
    const QByteArray three = reply('2', {"10000", "10001", "10002"});
    const QByteArray four = reply('2', {"10000", "10001", "10002", "10003"});
    QCOMPARE(three.size(), 31);
    QCOMPARE(four.size(), 36);
    QCOMPARE(decode(three).sampleCount(), 3);
    QCOMPARE(decode(four).sampleCount(), 4);
    QCOMPARE(decode(reply('2', {})).status(), DecodeStatus::Complete);
}

QTEST_GUILESS_MAIN(TestBarographReply)
#include "tst_barographreply.moc"
