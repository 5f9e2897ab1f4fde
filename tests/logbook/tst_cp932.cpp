// The cp932 codec against the whole code table, Windows' choices for duplicated characters,
// cutting without splitting characters, and decoding in chunks.
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/cp932edit.h"

#include <QTest>

#if __has_include(<iconv.h>) && defined(__GLIBC__)
#include <iconv.h>
#define HAVE_GLIBC_ICONV 1
#endif

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void knownCodesDecodeAsWindows_data();
    void knownCodesDecodeAsWindows();
    void duplicatedCharactersEncodeAsWindows_data();
    void duplicatedCharactersEncodeAsWindows();
    void wholeCodeTableMatchesIconv();
    void controlCodesAreNotSwapped();
    void invalidBytesBecomeReplacement();
    void unencodableBecomesQuestionMark();
    void truncationNeverSplitsACharacter_data();
    void truncationNeverSplitsACharacter();
    void truncationAgreesWithAForwardScan();
    void leadByteAtChunkEndWaitsForTrail();
    void editKeepsTheBytesOfUntouchedCharacters_data();
    void editKeepsTheBytesOfUntouchedCharacters();
};

void TestCp932::knownCodesDecodeAsWindows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("A~\\") << QStringLiteral("A~\\");
    QTest::newRow("half-width katakana") << QByteArray("\xCA\xDE\xDB\xB8\xDE\xD7\xCC")
                                         << QStringLiteral("ﾊﾞﾛｸﾞﾗﾌ");
    QTest::newRow("kanji") << QByteArray("\x93\xfa\x95\x74") << QStringLiteral("日付");
    QTest::newRow("so has a backslash trail") << QByteArray("\x83\x5C") << QStringLiteral("ソ");
    QTest::newRow("NEC circled one") << QByteArray("\x87\x40") << QStringLiteral("①");
    QTest::newRow("NEC approx equal") << QByteArray("\x87\x90") << QStringLiteral("≒");
    QTest::newRow("NEC because") << QByteArray("\x87\x9A") << QStringLiteral("∵");
    QTest::newRow("IBM extension kanji") << QByteArray("\xFA\x5C") << QStringLiteral("纊");
    QTest::newRow("NEC-selected IBM kanji") << QByteArray("\xED\x40") << QStringLiteral("纊");
    QTest::newRow("0x8160 is the fullwidth tilde") << QByteArray("\x81\x60") << QString(QChar(0xFF5E));
    QTest::newRow("user-defined area") << QByteArray("\xF0\x40") << QString(QChar(0xE000));
}

void TestCp932::knownCodesDecodeAsWindows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(cp932::toUnicode(bytes), text);
}

void TestCp932::duplicatedCharactersEncodeAsWindows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // Characters in both JIS X 0208 and the NEC row take the JIS code.
    QTest::newRow("approx equal") << QStringLiteral("≒") << QByteArray("\x81\xE0");
    QTest::newRow("because") << QStringLiteral("∵") << QByteArray("\x81\xE6");
    QTest::newRow("not sign") << QString(QChar(0xFFE2)) << QByteArray("\x81\xCA");
    // NEC row 13 before the IBM extension; IBM extension before the NEC-selected copy.
    QTest::newRow("roman numeral one") << QStringLiteral("Ⅰ") << QByteArray("\x87\x54");
    QTest::newRow("small roman one") << QStringLiteral("ⅰ") << QByteArray("\xFA\x40");
    QTest::newRow("IBM kanji") << QStringLiteral("纊") << QByteArray("\xFA\x5C");
    QTest::newRow("fullwidth tilde") << QString(QChar(0xFF5E)) << QByteArray("\x81\x60");
    QTest::newRow("wave dash best fit") << QString(QChar(0x301C)) << QByteArray("\x81\x60");
    QTest::newRow("yen best fit") << QString(QChar(0x00A5)) << QByteArray("\x5C");
    QTest::newRow("half-width katakana") << QStringLiteral("ｱｼｵ") << QByteArray("\xB1\xBC\xB5");
}

void TestCp932::duplicatedCharactersEncodeAsWindows()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp932::fromUnicode(text), bytes);
}

void TestCp932::wholeCodeTableMatchesIconv()
{
#ifdef HAVE_GLIBC_ICONV
    iconv_t dec = iconv_open("UTF-16LE", "CP932");
    iconv_t enc = iconv_open("CP932", "UTF-16LE");
    if (dec == iconv_t(-1) || enc == iconv_t(-1))
        QSKIP("iconv has no CP932 converter here");
    const auto iconvDecode = [&](QByteArray in) -> std::optional<QString> {
        char16_t out[4] = {};
        char *ip = in.data();
        char *op = reinterpret_cast<char *>(out);
        size_t il = size_t(in.size()), ol = sizeof out;
        iconv(dec, nullptr, nullptr, nullptr, nullptr);
        if (iconv(dec, &ip, &il, &op, &ol) == size_t(-1) || il != 0)
            return std::nullopt;
        return QString::fromUtf16(out, qsizetype((sizeof out - ol) / 2));
    };
    int codes = 0;
    for (int lead = 0; lead < 0x100; ++lead) {
        const bool isLead = cp932::isLeadByte(uchar(lead));
        for (int trail = isLead ? 0x40 : -1; trail <= (isLead ? 0xFC : -1); ++trail) {
            QByteArray in(1, char(lead));
            if (trail >= 0)
                in += char(trail);
            const std::optional<QString> expected = iconvDecode(in);
            if (!expected)
                continue;
            ++codes;
            QCOMPARE(cp932::toUnicode(in), *expected);
        }
    }
    QCOMPARE(codes, 9795);
    QCOMPARE(cp932::codeCount(), 9795);
    // Every character of the Basic Multilingual Plane encodes as iconv encodes it.
    for (uint u = 1; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        char16_t in[1] = {char16_t(u)};
        char out[8] = {};
        char *ip = reinterpret_cast<char *>(in);
        char *op = out;
        size_t il = 2, ol = sizeof out;
        iconv(enc, nullptr, nullptr, nullptr, nullptr);
        const bool ok = iconv(enc, &ip, &il, &op, &ol) != size_t(-1) && il == 0;
        const QByteArray expected = ok ? QByteArray(out, qsizetype(sizeof out - ol)) : QByteArray("?");
        if (cp932::fromUnicode(QString(QChar(char16_t(u)))) != expected)
            QFAIL(qPrintable(QStringLiteral("U+%1 encodes differently").arg(u, 4, 16, QChar(u'0'))));
    }
    iconv_close(dec);
    iconv_close(enc);
#else
    QSKIP("no glibc iconv to compare with");
#endif
}

void TestCp932::controlCodesAreNotSwapped()
{
    // ICU's converter swaps these three; Windows and our table keep them.
    const QByteArray controls("\x1A\x1C\x7F");
    QCOMPARE(cp932::toUnicode(controls), QString::fromLatin1(controls));
    QCOMPARE(cp932::fromUnicode(QString::fromLatin1(controls)), controls);
}

void TestCp932::invalidBytesBecomeReplacement()
{
    QCOMPARE(cp932::toUnicode(QByteArray("\x80" "A")), QStringLiteral("\uFFFDA"));
    QCOMPARE(cp932::toUnicode(QByteArray("A\x82")), QStringLiteral("A\uFFFD"));
    // A lead byte with an impossible trail: the trail is read afresh.
    QCOMPARE(cp932::toUnicode(QByteArray("\x82" "\x20")), QStringLiteral("\uFFFD "));
}

void TestCp932::unencodableBecomesQuestionMark()
{
    QCOMPARE(cp932::fromUnicode(QStringLiteral("a😀b")), QByteArray("a??b"));
    QVERIFY(!cp932::canEncode(QStringLiteral("é")));
    QVERIFY(cp932::canEncode(QStringLiteral("足尾山ｱｼｵ")));
}

void TestCp932::truncationNeverSplitsACharacter_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("max");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray so3("\x83\x5C\x83\x5C\x83\x5C"); // ソソソ
    QTest::newRow("fits") << so3 << 6 << so3;
    QTest::newRow("cut between characters") << so3 << 4 << so3.left(4);
    QTest::newRow("cut would split") << so3 << 5 << so3.left(4);
    QTest::newRow("single-byte before") << QByteArray("a\x83\x5C") << 2 << QByteArray("a");
    QTest::newRow("dangling lead at end of data") << QByteArray("ab\x83") << 10 << QByteArray("ab");
    QTest::newRow("half-width katakana are single") << QByteArray("\xB1\xBC\xB5") << 2
                                                    << QByteArray("\xB1\xBC");
}

void TestCp932::truncationNeverSplitsACharacter()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, max);
    QFETCH(QByteArray, expected);
    QCOMPARE(cp932::truncated(bytes, max), expected);
}

void TestCp932::truncationAgreesWithAForwardScan()
{
    // The cut looks backwards from its end only; compare it with reading the text from
    // the start, character by character, over every text of up to 6 bytes drawn from bytes
    // that play different parts (single, lead, trail-only, lead-and-trail, katakana).
    const unsigned char alphabet[] = {0x20, 0x40, 0x5C, 0x81, 0x9F, 0xA1, 0xE0, 0xFC, 0xFD};
    const auto forward = [](const QByteArray &b, qsizetype max) {
        qsizetype i = 0;
        while (i < b.size()) {
            const qsizetype w = cp932::isLeadByte(uchar(b[i])) ? 2 : 1;
            if (i + w > max || i + w > b.size())
                break;
            i += w;
        }
        return i;
    };
    const int n = int(sizeof alphabet);
    for (int length = 0; length <= 6; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i)
            combinations *= n;
        for (int c = 0; c < combinations; ++c) {
            QByteArray text;
            for (int i = 0, v = c; i < length; ++i, v /= n)
                text += char(alphabet[v % n]);
            for (qsizetype max = 0; max <= length + 1; ++max) {
                if (cp932::fitLength(text, max) != forward(text, max))
                    QFAIL(qPrintable(QStringLiteral("%1 cut at %2").arg(QString::fromLatin1(text.toHex())).arg(max)));
            }
        }
    }
}

void TestCp932::leadByteAtChunkEndWaitsForTrail()
{
    const QByteArray text = cp932::fromUnicode(QStringLiteral("ソ表a①"));
    for (int split = 0; split <= text.size(); ++split) {
        cp932::StreamDecoder decoder;
        QString out = decoder.decode(text.left(split));
        out += decoder.decode(text.mid(split));
        QVERIFY(!decoder.hasPending());
        QCOMPARE(out, QStringLiteral("ソ表a①"));
    }
    cp932::StreamDecoder decoder;
    QCOMPARE(decoder.decode(QByteArray("\x83")), QString());
    QVERIFY(decoder.hasPending());
    QCOMPARE(decoder.flush(), QStringLiteral("\uFFFD"));
}

void TestCp932::editKeepsTheBytesOfUntouchedCharacters_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QByteArray>("bytes");
    // "纊ab Ⅰｱ" in the codes encoding never writes: 纊 as NEC-selected 0xED40 (encodes as
    // 0xFA5C), Ⅰ as IBM 0xFA4A (encodes as 0x8754); ｱ half-width.
    const QByteArray text("\xED\x40" "ab \xFA\x4A\xB1");
    QTest::newRow("at the start") << text << QStringLiteral("X纊ab Ⅰｱ") << "X" + text;
    QTest::newRow("in the middle") << text << QStringLiteral("纊aB Ⅰｱ") << QByteArray("\xED\x40" "aB \xFA\x4A\xB1");
    QTest::newRow("at the end") << text << QStringLiteral("纊ab Ⅰｱｲ") << text + "\xB2";
    QTest::newRow("a deletion") << text << QStringLiteral("纊a Ⅰｱ") << QByteArray("\xED\x40" "a \xFA\x4A\xB1");
    QTest::newRow("a whole replacement") << text << QStringLiteral("Ⅰ纊") << QByteArray("\x87\x54\xFA\x5C");
    // A lead byte without its trail would pair with the first new byte (0x81 'A' is "、").
    QTest::newRow("a lone lead byte before the change") << QByteArray("a\x81") << QStringLiteral("a\uFFFDA")
                                                        << QByteArray("a?A");
}

void TestCp932::editKeepsTheBytesOfUntouchedCharacters()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, edited);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp932::encodeEdited(original, edited), bytes);
    QCOMPARE(cp932::toUnicode(bytes), QString(edited).replace(QChar(0xFFFD), u'?'));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
