// Field access, field widths and the title record.
#include "flightrecord.h"

#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"

#include <QHashFunctions>

const char *fieldName(Field field)
{
    static const char *const names[kFieldCount] = {
        "number",   "date",        "time",     "area",         "duration",
        "maxAltitude", "maxClimb", "comment", "barographFile",
    };
    return names[static_cast<int>(field)];
}

QByteArray fitField(Field field, QByteArrayView text)
{
    const int width = fieldWidth(field);
    text = beforeNul(text);
    if (width == 0)
        return text.toByteArray();
    return cp932::truncated(text, width - 1);
}

QByteArrayView FlightRecord::fieldText(Field f) const
{
    switch (f) {
    case Field::Number: return number;
    case Field::Date: return date;
    case Field::Time: return time;
    case Field::Area: return area;
    case Field::Duration: return duration;
    case Field::MaxAltitude: return maxAltitude;
    case Field::MaxClimb: return maxClimb;
    case Field::Comment: return comment.bytes();
    case Field::BarographFile: return barographFile;
    }
    Q_UNREACHABLE();
}

void FlightRecord::setField(Field f, QByteArrayView text)
{
    switch (f) {
    case Field::Number: number = text; break;
    case Field::Date: date = text; break;
    case Field::Time: time = text; break;
    case Field::Area: area = text; break;
    case Field::Duration: duration = text; break;
    case Field::MaxAltitude: maxAltitude = text; break;
    case Field::MaxClimb: maxClimb = text; break;
    case Field::Comment: comment = text; break;
    case Field::BarographFile: barographFile = text; break;
    }
}

FlightRecord FlightRecord::titleRecord()
{
    FlightRecord r;
    r.number.clear();
    r.date = cp932::fromUnicode(msg::TitleDate);
    r.time = cp932::fromUnicode(msg::TitleTime);
    r.area = cp932::fromUnicode(msg::TitleArea);
    r.duration = cp932::fromUnicode(msg::TitleDuration);
    r.maxAltitude = cp932::fromUnicode(msg::TitleMaxAltitude);
    r.maxClimb = cp932::fromUnicode(msg::TitleMaxClimb);
    r.comment = cp932::fromUnicode(msg::TitleComment);
    r.barographFile = cp932::fromUnicode(msg::TitleBarographFile);
    return r;
}

FlightKey FlightKey::ofPresent(const FlightRecord &flight)
{
    FlightKey key;
    for (size_t i = 0; i < kFields.size(); ++i)
        key.m_fields[i] = flight.fieldText(kFields[i]);
    return key;
}

FlightKey FlightKey::ofDownloaded(const DownloadedFlight &flight)
{
    FlightKey key;
    for (size_t i = 0; i < kFields.size(); ++i)
        key.m_fields[i] = flight.fields[size_t(kFields[i])];
    return key;
}

FlightKey FlightKey::identityOf(const FlightRecord &flight)
{
    return flight.downloaded ? ofDownloaded(*flight.downloaded) : ofPresent(flight);
}

size_t FlightKey::Hash::operator()(const FlightKey &k) const
{
    static_assert(kFields.size() == 5, "every field of the key is hashed");
    return qHashMulti(0, k.m_fields[0], k.m_fields[1], k.m_fields[2], k.m_fields[3], k.m_fields[4]);
}

std::array<QByteArray, kFieldCount> downloadedFields(const FlightRecord &record)
{
    std::array<QByteArray, kFieldCount> fields;
    for (int f = 0; f < kFieldCount; ++f)
        fields[size_t(f)] = record.fieldText(Field(f)).toByteArray();
    return fields;
}
