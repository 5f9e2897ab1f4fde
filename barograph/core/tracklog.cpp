// Reading other instruments' flight logs.
#include "tracklog.h"

#include <limits>

#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"
#include "logbook/core/text/numbertext.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <cmath>

namespace {

constexpr qint64 kDay = 24 * 3600;
/// A time of day more than this far before the previous fix's is the next day (a flight
/// across midnight UTC); a smaller step back is a logger's hiccup, and that fix is dropped.
constexpr qint64 kMidnightJump = 12 * 3600;
/// Headers are short; a longer recorder text is cut.
constexpr qsizetype kMaxRecorderBytes = 64;

QString refusal(QStringView message)
{
    return message.toString();
}

bool isDigits(QByteArrayView text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.isEmpty();
}

int digitsValue(QByteArrayView text)
{
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// An altitude field "PPPPP" or "-dddd"; std::nullopt when it is neither.
std::optional<float> altitudeField(QByteArrayView text)
{
    if (text.startsWith('-') && isDigits(text.sliced(1)))
        return -float(digitsValue(text.sliced(1)));
    if (isDigits(text))
        return float(digitsValue(text));
    return std::nullopt;
}

// "DDMMmmm" + hemisphere (`degreeDigits` wide) in degrees; std::nullopt when unreadable.
std::optional<double> angleField(QByteArrayView text, int degreeDigits, char positive, char negative)
{
    const QByteArrayView digits = text.first(text.size() - 1);
    const char hemisphere = text.back();
    if (!isDigits(digits) || (hemisphere != positive && hemisphere != negative))
        return std::nullopt;
    const int minutesThousandths = digitsValue(digits.sliced(degreeDigits));
    if (minutesThousandths >= 60000)
        return std::nullopt;
    const double degrees = digitsValue(digits.first(degreeDigits)) + minutesThousandths / 60000.0;
    return hemisphere == negative ? -degrees : degrees;
}

QByteArray printable(QByteArrayView text)
{
    QByteArray out;
    for (const char c : text) {
        if (c >= 0x20 && c < 0x7f)
            out += c;
    }
    return out.simplified().left(kMaxRecorderBytes);
}

// The value of an "HFxxx[name]:value" header; the text after the three-letter code when it
// has no colon.
QByteArrayView headerValue(QByteArrayView line)
{
    const qsizetype colon = line.indexOf(':');
    return colon >= 0 ? line.sliced(colon + 1) : line.sliced(qMin<qsizetype>(5, line.size()));
}

// DDMMYY of an HFDTE header; the one year pivot of the log's dates reads the year.
std::optional<QDate> headerDate(QByteArrayView line)
{
    QByteArrayView value = line.sliced(5); // after "HFDTE"
    if (value.startsWith("DATE"))
        value = value.sliced(4);
    value = value.trimmed();
    if (value.startsWith(':'))
        value = value.sliced(1).trimmed();
    if (value.size() < 6 || !isDigits(value.first(6)))
        return std::nullopt;
    const QByteArray yymmdd = value.sliced(4, 2).toByteArray() + '/' + value.sliced(2, 2).toByteArray() + '/'
        + value.first(2).toByteArray();
    const std::optional<numtext::DateNumbers> ymd = numtext::readDate(yymmdd);
    const QDate date = ymd ? QDate(ymd->year, ymd->month, ymd->day) : QDate();
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// The date a long IGC file name starts with: "YYYY-MM-DD-...".
std::optional<QDate> fileNameDate(QStringView fileName)
{
    const QDate date = QDate::fromString(fileName.left(10).toString(), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

struct IgcFixRecord {
    qint64 timeOfDay = 0;
    std::optional<double> latitude, longitude;
    bool gnssValid = false;
    float pressure = 0;
    float gnss = 0;
};

std::optional<IgcFixRecord> bRecord(QByteArrayView line)
{
    if (line.size() < 35 || !isDigits(line.sliced(1, 6)))
        return std::nullopt;
    const int hh = digitsValue(line.sliced(1, 2));
    const int mm = digitsValue(line.sliced(3, 2));
    const int ss = digitsValue(line.sliced(5, 2));
    const std::optional<float> pressure = altitudeField(line.sliced(25, 5));
    const std::optional<float> gnss = altitudeField(line.sliced(30, 5));
    const char validity = line[24];
    if (hh > 23 || mm > 59 || ss > 59 || !pressure || !gnss || (validity != 'A' && validity != 'V'))
        return std::nullopt;
    IgcFixRecord fix;
    fix.timeOfDay = hh * 3600 + mm * 60 + ss;
    fix.latitude = angleField(line.sliced(7, 8), 2, 'N', 'S');
    fix.longitude = angleField(line.sliced(15, 9), 3, 'E', 'W');
    fix.gnssValid = validity == 'A';
    fix.pressure = *pressure;
    fix.gnss = *gnss;
    return fix;
}

// Pressure altitudes when any fix has one (a logger without a sensor writes 00000 in every
// fix); else the GNSS altitudes of the fixes with a 3-D fix.
TrackRead igcTrack(std::vector<IgcFixRecord> &records, const std::vector<qint64> &times, TrackLog log)
{
    bool pressure = false;
    for (const IgcFixRecord &r : records)
        pressure = pressure || r.pressure != 0;
    log.gnssAltitude = !pressure;
    for (size_t i = 0; i < records.size(); ++i) {
        const IgcFixRecord &r = records[i];
        if (!pressure && !r.gnssValid)
            continue;
        TrackFix fix;
        fix.utc = times[i];
        fix.altitudeM = pressure ? r.pressure : r.gnss;
        fix.gnssAltitudeM = r.gnssValid ? float(r.gnss) : std::numeric_limits<float>::quiet_NaN();
        fix.hasPosition = r.latitude && r.longitude && !(*r.latitude == 0 && *r.longitude == 0);
        fix.latitudeDeg = r.latitude.value_or(0);
        fix.longitudeDeg = r.longitude.value_or(0);
        log.fixes.push_back(fix);
    }
    if (log.fixes.size() < 2)
        return refusal(baromsg::ImportNoFix);
    return log;
}

} // namespace

TrackRead parseIgcLog(QByteArrayView bytes, QStringView fileName)
{
    TrackLog log;
    std::optional<QDate> date;
    QByteArray recorderType, aRecord;
    std::vector<IgcFixRecord> records;
    std::vector<qint64> times; // seconds of each record from the first fix's midnight UTC
    qint64 dayStart = 0;
    bool sawIgcRecord = false;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(at, end - at);
        at = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith('B')) {
            std::optional<IgcFixRecord> fix = bRecord(line);
            if (!fix) {
                ++log.brokenRecords;
                continue;
            }
            qint64 t = dayStart + fix->timeOfDay;
            if (!times.empty() && t < times.back() - kMidnightJump) {
                dayStart += kDay;
                t += kDay;
            }
            if (!times.empty() && t <= times.back())
                continue; // a repeated or stepped-back time: the fix before stands
            times.push_back(t);
            records.push_back(*fix);
            sawIgcRecord = true;
        } else if (line.startsWith('A')) {
            aRecord = printable(line.sliced(1));
            sawIgcRecord = true;
        } else if (line.startsWith("HFDTE") || line.startsWith("HPDTE")) {
            date = headerDate(line);
            sawIgcRecord = true;
        } else if (line.startsWith("HFFTY")) {
            recorderType = printable(headerValue(line));
        }
    }
    if (!sawIgcRecord)
        return refusal(baromsg::ImportNotTrackLog);
    if (!date)
        date = fileNameDate(fileName);
    if (!date)
        return refusal(baromsg::ImportNoDate);
    log.recorder = recorderType.isEmpty() ? aRecord : recorderType;
    log.ownBarograph = recorderType == kIgcRecorderType;
    const qint64 midnight = QDateTime(*date, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    for (qint64 &t : times)
        t += midnight;
    return igcTrack(records, times, std::move(log));
}

TrackRead parseGpxLog(QByteArrayView bytes)
{
    TrackLog log;
    log.gnssAltitude = true;
    QXmlStreamReader xml(bytes.toByteArray());
    bool sawGpx = false;
    std::optional<TrackFix> point;
    bool hasTime = false, hasElevation = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (name == u"gpx") {
                sawGpx = true;
                log.recorder = printable(xml.attributes().value(QLatin1StringView("creator")).toLatin1());
            } else if (name == u"trkpt") {
                bool okLat = false, okLon = false;
                point = TrackFix{};
                point->latitudeDeg = xml.attributes().value(QLatin1StringView("lat")).toDouble(&okLat);
                point->longitudeDeg = xml.attributes().value(QLatin1StringView("lon")).toDouble(&okLon);
                point->hasPosition = okLat && okLon && std::abs(point->latitudeDeg) <= 90
                    && std::abs(point->longitudeDeg) <= 180;
                hasTime = hasElevation = false;
            } else if (point && name == u"ele") {
                bool ok = false;
                const double ele = xml.readElementText().trimmed().toDouble(&ok);
                hasElevation = ok && std::isfinite(ele) && std::abs(ele) < 100000;
                point->altitudeM = point->gnssAltitudeM = float(ele);
            } else if (point && name == u"time") {
                const QDateTime time = QDateTime::fromString(xml.readElementText().trimmed(), Qt::ISODateWithMs);
                hasTime = time.isValid();
                point->utc = hasTime ? time.toSecsSinceEpoch() : 0;
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"trkpt" && point) {
            if (!hasTime || !hasElevation)
                ++log.brokenRecords;
            else if (log.fixes.empty() || point->utc > log.fixes.back().utc)
                log.fixes.push_back(*point);
            point.reset();
        }
    }
    // A file cut short keeps the points before the cut, as an IGC file does.
    if (!sawGpx)
        return refusal(baromsg::ImportNotTrackLog);
    if (log.fixes.size() < 2)
        return refusal(baromsg::ImportNoFix);
    return log;
}

TrackRead parseTrackLog(QByteArrayView bytes, QStringView fileName)
{
    QByteArrayView start = bytes.first(qMin<qsizetype>(bytes.size(), 512));
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3);
    return start.trimmed().startsWith('<') ? parseGpxLog(bytes) : parseIgcLog(bytes, fileName);
}

bool isTrackFileName(QStringView fileName)
{
    return fileName.endsWith(u".igc", Qt::CaseInsensitive) || fileName.endsWith(u".gpx", Qt::CaseInsensitive);
}
