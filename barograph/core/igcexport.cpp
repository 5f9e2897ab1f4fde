// The IGC file of a barograph-only flight.
#include "igcexport.h"

#include "barograph/core/barographtrace.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

// Hepburn romaji of the katakana U+30A1..U+30F4, in code order; small kana are the vowels
// or y-sounds they stand for.
constexpr const char *kKatakana[] = {
    "a", "a", "i", "i", "u", "u", "e", "e", "o", "o",                               // ァ..オ
    "ka", "ga", "ki", "gi", "ku", "gu", "ke", "ge", "ko", "go",                     // カ..ゴ
    "sa", "za", "shi", "ji", "su", "zu", "se", "ze", "so", "zo",                   // サ..ゾ
    "ta", "da", "chi", "ji", "", "tsu", "zu", "te", "de", "to", "do",              // タ..ド (ッ handled)
    "na", "ni", "nu", "ne", "no",                                                  // ナ..ノ
    "ha", "ba", "pa", "hi", "bi", "pi", "fu", "bu", "pu", "he", "be", "pe", "ho", "bo", "po",
    "ma", "mi", "mu", "me", "mo",                                                  // マ..モ
    "ya", "ya", "yu", "yu", "yo", "yo",                                            // ャ..ヨ
    "ra", "ri", "ru", "re", "ro",                                                  // ラ..ロ
    "wa", "wa", "i", "e", "o", "n", "vu",                                          // ヮ..ヴ
};
static_assert(std::size(kKatakana) == 0x30F4 - 0x30A1 + 1);
constexpr char16_t kFirstKatakana = 0x30A1;
constexpr char16_t kSmallTsu = 0x30C3;

bool isSmallY(char16_t c)
{
    return c == 0x30E3 || c == 0x30E5 || c == 0x30E7;
}

QByteArray capitalisedWords(const QByteArray &text)
{
    QByteArray out = text.simplified();
    bool start = true;
    for (char &c : out) {
        if (start && c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        start = c == ' ';
    }
    return out;
}

// "DDMMmmm" + hemisphere of an angle, `degreeDigits` wide.
QByteArray angleText(double degrees, int degreeDigits, char positive, char negative)
{
    const qint64 thousandths = std::llround(std::abs(degrees) * 60000);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*lld%05lld%c", degreeDigits, thousandths / 60000, thousandths % 60000,
                  degrees < 0 ? negative : positive);
    return buffer;
}

QByteArray pressureAltitudeText(float altitudeM)
{
    const long metres = std::clamp(std::lround(double(altitudeM)), -9999L, 99999L);
    char buffer[24];
    if (metres < 0)
        std::snprintf(buffer, sizeof buffer, "-%04ld", -metres);
    else
        std::snprintf(buffer, sizeof buffer, "%05ld", metres);
    return buffer;
}

bool isUsablePosition(const FlyingSite &site)
{
    return std::isfinite(site.latitudeDeg) && std::isfinite(site.longitudeDeg) && std::abs(site.latitudeDeg) <= 90
           && std::abs(site.longitudeDeg) <= 180 && !(site.latitudeDeg == 0 && site.longitudeDeg == 0);
}

} // namespace

QByteArray romanisedName(QByteArrayView cp932Name)
{
    const QString text = cp932::toUnicode(cp932Name).normalized(QString::NormalizationForm_KC);
    QByteArray out;
    bool doubleNext = false; // after a small tsu
    char16_t previous = 0;
    for (const QChar qc : text) {
        char16_t c = qc.unicode();
        if (c >= 0x3041 && c <= 0x3094)
            c = char16_t(c + 0x60); // hiragana as katakana
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c == kSmallTsu) {
            doubleNext = true;
        } else if (c >= kFirstKatakana && c < kFirstKatakana + std::size(kKatakana)) {
            QByteArray syllable = kKatakana[c - kFirstKatakana];
            if (isSmallY(c) && out.endsWith('i') && previous >= kFirstKatakana) {
                out.chop(1); // キャ kya; シャ sha, チャ cha, ジャ ja drop the y as well
                if (out.endsWith("sh") || out.endsWith("ch") || out.endsWith('j'))
                    syllable.remove(0, 1);
            }
            if (doubleNext && !syllable.isEmpty() && !QByteArrayView("aiueon").contains(syllable[0]))
                out += syllable.startsWith("ch") ? 't' : syllable[0];
            doubleNext = false;
            out += syllable;
        } else if (c == 0x3000) {
            out += ' ';
        }
        // The long-vowel mark and everything else (kanji) is left out.
        previous = c;
    }
    out = capitalisedWords(out);
    return out.isEmpty() ? QByteArray("NKN") : out;
}

std::optional<qint32> parseUtcOffset(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    int sign = 1;
    if (text.front() == u'+' || text.front() == u'-') {
        sign = text.front() == u'-' ? -1 : 1;
        text = text.sliced(1);
    }
    double hours = 0;
    bool ok = false;
    if (const qsizetype colon = text.indexOf(u':'); colon >= 0) {
        bool okMinutes = false;
        const int h = text.first(colon).toInt(&ok);
        const int m = text.sliced(colon + 1).toInt(&okMinutes);
        ok = ok && okMinutes && h >= 0 && m >= 0 && m < 60 && colon > 0 && text.size() - colon == 3;
        hours = h + m / 60.0;
    } else {
        hours = text.toDouble(&ok);
        ok = ok && std::isfinite(hours) && hours >= 0;
    }
    const double minutes = sign * hours * 60;
    if (!ok || minutes < -12 * 60 || minutes > 14 * 60 || std::abs(minutes - std::round(minutes)) > 1e-6)
        return std::nullopt;
    return qint32(std::lround(minutes));
}

QString utcOffsetText(qint32 minutes)
{
    const QChar sign = minutes < 0 ? u'-' : u'+';
    const qint32 m = std::abs(minutes);
    if (m % 60 == 0)
        return sign + QString::number(m / 60);
    if (m % 30 == 0)
        return sign + QString::number(m / 60) + QStringLiteral(".5");
    return sign + QStringLiteral("%1:%2").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0'));
}

IgcFile buildIgc(const BarographTrace &trace, const IgcFlight &flight)
{
    IgcFile igc;
    const std::optional<numtext::DateNumbers> ymd = numtext::readDate(flight.date);
    const std::optional<qint32> takeoff = numtext::clockSeconds(flight.time);
    // Only what a two-digit year can say: a longer year is a damaged field, not the future.
    const bool twoDigitYear = ymd && ymd->year >= 1970 && ymd->year < 2070;
    const QDate localDate = twoDigitYear ? QDate(ymd->year, ymd->month, ymd->day) : QDate();
    if (!localDate.isValid()) {
        igc.problem = IgcFile::Problem::BadDate;
        return igc;
    }
    if (!takeoff || *takeoff >= 24 * 3600) {
        igc.problem = IgcFile::Problem::BadTime;
        return igc;
    }
    if (!flight.site || !isUsablePosition(*flight.site)) {
        igc.problem = IgcFile::Problem::NoSite;
        return igc;
    }
    if (qint64(trace.flightSeconds()) >= 24 * 3600) {
        igc.problem = IgcFile::Problem::TooLong;
        return igc;
    }

    // The first fix in UTC seconds from the local midnight of its date; the date moves with it.
    qint64 firstUtc = qint64(*takeoff) - qint64(flight.utcOffsetMinutes) * 60;
    QDate utcDate = localDate;
    while (firstUtc < 0) {
        firstUtc += 86400;
        utcDate = utcDate.addDays(-1);
    }
    while (firstUtc >= 86400) {
        firstUtc -= 86400;
        utcDate = utcDate.addDays(1);
    }

    QByteArray &out = igc.bytes;
    const auto line = [&out](const QByteArray &text) { out += text + "\r\n"; };
    line("AXDUBAR");
    line("HFDTEDATE:" + utcDate.toString(QStringLiteral("ddMMyy")).toLatin1() + ",01");
    line("HFPLTPILOTINCHARGE:" + romanisedName(flight.pilot));
    line("HFGTYGLIDERTYPE:NKN");
    line("HFGIDGLIDERID:NKN");
    line("HFDTMGPSDATUM:WGS84");
    line("HFRFWFIRMWAREVERSION:NIL");
    line("HFRHWHARDWAREVERSION:NIL");
    line("HFFTYFRTYPE:" + QByteArray(kIgcRecorderType));
    line("HFGPSRECEIVER:NIL");
    line("HFALGALTGPS:NIL");
    line("HFALPALTPRESSURE:ISA");
    // Readers take the zone as signed decimal hours.
    line("HFTZNTIMEZONE:" + QByteArray(flight.utcOffsetMinutes < 0 ? "-" : "+")
         + QByteArray::number(std::abs(flight.utcOffsetMinutes) / 60.0, 'g', 6));
    const FlyingSite &site = *flight.site;
    const QByteArray siteName = romanisedName(site.name);
    line("HFSITSITE:" + (siteName == "NKN" && !site.code.isEmpty() ? romanisedName(site.code) : siteName));
    line("HOCOMCOMMENT:BAROGRAPH ONLY, EVERY FIX AT THE SITE POSITION");
    if (flight.correctionM) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "HOCOMCOMMENT:PRESSURE ALTITUDES CORRECTED BY %+.1f M",
                      double(*flight.correctionM));
        line(buffer);
    }

    const QByteArray position = angleText(site.latitudeDeg, 2, 'N', 'S') + angleText(site.longitudeDeg, 3, 'E', 'W');
    for (qint32 i = 0; i < trace.sampleCount(); ++i) {
        const qint64 t = (firstUtc + qint64(i) * trace.interval) % 86400; // readers carry the day over
        char time[24];
        std::snprintf(time, sizeof time, "%02lld%02lld%02lld", t / 3600, t / 60 % 60, t % 60);
        line('B' + QByteArray(time) + position + 'V' + pressureAltitudeText(trace.altitudes[size_t(i)]) + "00000");
    }
    return igc;
}
