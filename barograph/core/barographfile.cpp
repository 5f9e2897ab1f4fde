// The barograph file.
#include "barographfile.h"

#include "logbook/core/text/numbertext.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

// Walks the lines of a file image: each ends at LF, a CR before the LF is dropped (text
// mode), and a last line without LF counts when it holds anything.
class LineReader {
public:
    explicit LineReader(QByteArrayView image) : m_rest(image) {}

    std::optional<QByteArrayView> next()
    {
        if (m_rest.isEmpty())
            return std::nullopt;
        const qsizetype end = m_rest.indexOf('\n');
        QByteArrayView line = end < 0 ? m_rest : m_rest.first(end);
        m_rest = end < 0 ? QByteArrayView() : m_rest.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }
    /// An upper bound of the lines still to come: each takes at least one byte.
    qsizetype maxLinesLeft() const { return m_rest.size(); }

private:
    QByteArrayView m_rest;
};

// A mark line: a real number rounded by adding 0.5 and truncating toward zero. std::nullopt
// when it does not name a sample.
std::optional<qint32> markIndex(QByteArrayView line, qint32 sampleCount)
{
    const std::optional<double> value = numtext::toReal(line);
    if (!value)
        return std::nullopt;
    const double index = std::trunc(*value + 0.5);
    if (!(index >= 0 && index < sampleCount))
        return std::nullopt;
    return qint32(index);
}

} // namespace

bool isUsableBarograph(const BarographFile &file)
{
    const qint64 samples = qint64(file.altitudes.size());
    if (samples < barofile::kMinSamples || file.interval < 1)
        return false;
    if ((samples - 1) * file.interval > barofile::kMaxFlightSeconds)
        return false;
    if (file.marks.size() > size_t(barofile::kMaxMarks))
        return false;
    for (size_t i = 0; i < file.marks.size(); ++i) {
        if (file.marks[i] < 0 || file.marks[i] >= samples || (i > 0 && file.marks[i] < file.marks[i - 1]))
            return false;
    }
    for (const float a : file.altitudes) {
        if (!(std::fabs(a) <= barofile::kMaxAbsAltitudeM)) // NaN fails too
            return false;
    }
    return true;
}

std::optional<BarographFile> parseBarographFile(QByteArrayView image)
{
    LineReader lines(image);
    qint32 header[3];
    for (qint32 &value : header) {
        const std::optional<QByteArrayView> line = lines.next();
        if (!line)
            return std::nullopt;
        value = numtext::toInt(*line);
    }
    const auto [sampleCount, interval, markCount] = header;
    // Refuse forged counts before allocating: every line takes at least one byte.
    if (sampleCount < barofile::kMinSamples || interval < 1 || markCount < 0
        || markCount > barofile::kMaxMarks
        || qint64(sampleCount) + markCount > lines.maxLinesLeft()
        || qint64(sampleCount - 1) * interval > barofile::kMaxFlightSeconds)
        return std::nullopt;

    BarographFile file;
    file.interval = interval;
    file.marks.reserve(size_t(markCount));
    for (qint32 m = 0; m < markCount; ++m) {
        const std::optional<QByteArrayView> line = lines.next();
        const std::optional<qint32> index = line ? markIndex(*line, sampleCount) : std::nullopt;
        if (!index)
            return std::nullopt;
        file.marks.push_back(*index);
    }
    file.altitudes.reserve(size_t(sampleCount));
    for (qint32 i = 0; i < sampleCount; ++i) {
        const std::optional<QByteArrayView> line = lines.next();
        const std::optional<double> altitude = line ? numtext::toReal(*line) : std::nullopt;
        if (!altitude)
            return std::nullopt;
        file.altitudes.push_back(float(*altitude));
    }
    if (!isUsableBarograph(file))
        return std::nullopt;
    return file;
}

std::optional<BarographFile> readBarographFile(const QString &path, ReadFailure *why)
{
    const std::optional<QByteArray> bytes = readInputFile(path, barofile::kMaxFileBytes, why);
    if (!bytes)
        return std::nullopt;
    return parseBarographFile(*bytes);
}

QByteArray buildBarographImage(const BarographFile &file)
{
    QByteArray image;
    image.reserve(qsizetype(16 + 4 * file.marks.size() + 10 * file.altitudes.size()));
    const auto line = [&image](const QByteArray &text) {
        image += ' ';
        image += text;
        image += "\r\n";
    };
    line(QByteArray::number(file.sampleCount()));
    line(QByteArray::number(file.interval));
    line(QByteArray::number(file.markCount()));
    for (const qint32 mark : file.marks)
        line(QByteArray::number(mark));
    for (const float altitude : file.altitudes)
        line(numtext::fixed(altitude, 1, 5));
    return image;
}

QByteArray barographFileName(QByteArrayView date, QByteArrayView time, int variant)
{
    const auto at = [](QByteArrayView text, qsizetype i) {
        const char c = i < text.size() ? text[i] : '0';
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return plain ? c : '0';
    };
    QByteArray name("V");
    for (const qsizetype i : {1, 3, 4, 6, 7})
        name += at(date, i);
    name += at(time, 0);
    name += at(time, 1);
    name += ".V";
    name += at(time, 3);
    name += at(time, 4);
    if (variant >= 1 && variant <= 26) {
        name[name.size() - 1] = char('A' + variant - 1);
    } else if (variant > 26 && variant <= kMaxNameVariant) {
        name[name.size() - 2] = char('A' + (variant - 27) / 26);
        name[name.size() - 1] = char('A' + (variant - 27) % 26);
    }
    return name;
}
