// The sites file.
#include "sitesfile.h"

#include "logbook/core/csv.h"
#include "logbook/core/text/cp932.h"

#include <QFile>
#include <QUtf8StringView>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

// Degrees of "DDMM.mmmH" / "DDDMM.mmmH": `degreeDigits` digits of degrees, then minutes
// below 60 with any decimals, then the hemisphere letter.
std::optional<double> parseAngle(QByteArrayView text, int degreeDigits, char positive, char negative)
{
    text = text.trimmed();
    if (text.size() < degreeDigits + 3)
        return std::nullopt;
    const char hemisphere = char(std::toupper(static_cast<unsigned char>(text.back())));
    if (hemisphere != positive && hemisphere != negative)
        return std::nullopt;
    const QByteArrayView number = text.first(text.size() - 1);
    for (qsizetype i = 0; i < number.size(); ++i) {
        const char c = number[i];
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(c == '.' && i > degreeDigits + 1 && !number.first(i).contains('.')))
            return std::nullopt;
    }
    const int degrees = number.first(degreeDigits).toInt();
    bool ok = false;
    const double minutes = number.sliced(degreeDigits).toDouble(&ok);
    if (!ok || minutes >= 60)
        return std::nullopt;
    const double value = degrees + minutes / 60;
    return hemisphere == positive ? value : -value;
}

// Metres of "627.0m", "2057ft", "627" or an empty cell (0).
std::optional<double> parseElevation(QByteArrayView text)
{
    text = text.trimmed();
    double factor = 1;
    if (text.endsWith("ft") || text.endsWith("FT")) {
        factor = 0.3048;
        text.chop(2);
    } else if (text.endsWith('m') || text.endsWith('M')) {
        text.chop(1);
    }
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = text.toByteArray().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 100000)
        return std::nullopt;
    return value * factor;
}

QByteArray asciiLower(QByteArrayView text)
{
    QByteArray out = text.toByteArray();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (cp932::isLeadByte(c)) {
            ++i; // a trail byte may look like a letter
            continue;
        }
        if (c >= 'A' && c <= 'Z')
            out[i] = char(c - 'A' + 'a');
    }
    return out;
}

} // namespace

SitesFileContents parseSitesFile(QByteArrayView bytes)
{
    bool utf8 = true;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    else
        utf8 = QUtf8StringView(bytes).isValidUtf8();
    const qsizetype tasks = bytes.indexOf("-----Related Tasks");
    if (tasks >= 0)
        bytes = bytes.first(tasks);

    SitesFileContents contents;
    const csv::Table table = csv::parse(bytes);
    for (const csv::Problem &p : table.problems)
        contents.badLines.push_back(p.line);
    for (const csv::Row &row : table.rows) {
        const QList<QByteArray> &cells = row.cells;
        if (row.line == 1 && !cells.isEmpty() && asciiLower(cells[0].trimmed()) == "name")
            continue;
        const std::optional<double> lat = cells.size() > 4 ? parseAngle(cells[3], 2, 'N', 'S') : std::nullopt;
        const std::optional<double> lon = cells.size() > 4 ? parseAngle(cells[4], 3, 'E', 'W') : std::nullopt;
        const std::optional<double> elevation = cells.size() > 5 ? parseElevation(cells[5]) : 0.0;
        if (!lat || !lon || !elevation || std::abs(*lat) > 90 || std::abs(*lon) > 180
            || (*lat == 0 && *lon == 0)) {
            contents.badLines.push_back(row.line);
            continue;
        }
        const auto text = [utf8](const QByteArray &cell) {
            const QByteArray t = cell.trimmed();
            return utf8 ? cp932::fromUnicode(QString::fromUtf8(t)) : t;
        };
        contents.sites.push_back({text(cells[0]), text(cells[1]), *lat, *lon, *elevation});
    }
    std::sort(contents.badLines.begin(), contents.badLines.end());
    return contents;
}

std::optional<SitesFileContents> readSitesFile(const QString &path, ReadFailure *why)
{
    const std::optional<QByteArray> bytes = readInputFile(path, kMaxSitesFileBytes, why);
    if (!bytes)
        return std::nullopt;
    return parseSitesFile(*bytes);
}

std::optional<FlyingSite> findSite(const std::vector<FlyingSite> &sites, QByteArrayView name)
{
    name = name.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    for (const FlyingSite &s : sites) {
        if (s.name == name || s.code == name)
            return s;
    }
    const QByteArray lower = asciiLower(name);
    for (const FlyingSite &s : sites) {
        if (asciiLower(s.name) == lower || asciiLower(s.code) == lower)
            return s;
    }
    return std::nullopt;
}
