// Sorting, duplicates and barograph file locations.
#include "logoperations.h"

#include "logbook/core/companion.h"
#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <utility>

qint64 flightSortKey(QByteArrayView date, QByteArrayView time)
{
    // A row without a readable date sorts first, as year 0 of the key.
    const numtext::DateNumbers d = numtext::readDate(date).value_or(numtext::DateNumbers{1900, 0, 0});
    const qint64 minutes = fieldformat::secondsOf(time) / 60;
    return ((d.year - 1900) * qint64(448) + d.month * 32 + d.day) * 1440 + minutes;
}

bool sortFlightsByDate(LogBook &book)
{
    const int flights = book.rowCount() - 1;
    if (flights < 2)
        return false;
    // Sort (key, row) pairs, then move each record once into its place.
    std::vector<std::pair<qint64, int>> order;
    order.reserve(size_t(flights));
    for (int r = 1; r <= flights; ++r)
        order.emplace_back(flightSortKey(book.row(r).date, book.row(r).time), r);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });

    bool duplicate = false;
    for (size_t i = 1; i < order.size() && !duplicate; ++i)
        duplicate = order[i].first == order[i - 1].first;

    std::vector<FlightRecord> rows;
    rows.reserve(size_t(book.rowCount()));
    rows.push_back(std::move(book.row(0)));
    for (const auto &[key, row] : order)
        rows.push_back(std::move(book.row(row)));
    book.replaceRows(std::move(rows));
    return duplicate;
}

bool hasDuplicateDateTime(const LogBook &book)
{
    QSet<QByteArray> seen;
    seen.reserve(book.rowCount());
    for (int r = 1; r < book.rowCount(); ++r) {
        const FlightRecord &f = book.row(r);
        QByteArray key = f.date.toByteArray();
        key += '\0';
        key += f.time.view();
        if (seen.contains(key))
            return true;
        seen.insert(std::move(key));
    }
    return false;
}

namespace {

// The rule on the decoded name (the separators are characters: a byte-wise look for '\\'
// would stop inside characters such as ソ).
BarographNameFault nameFault(QStringView name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return BarographNameFault::Path;
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(u':'))
        return BarographNameFault::Path;
    if (std::any_of(name.begin(), name.end(), [](QChar c) {
            return c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::ReplacementCharacter;
        }))
        return BarographNameFault::Character;
    // Windows drops a trailing dot or blank ("F.log." opens F.log) and gives the device
    // names to devices whatever follows the first dot ("NUL.V00" is the null device).
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return BarographNameFault::SystemName;
    const qsizetype dot = name.indexOf(u'.');
    QStringView base = dot < 0 ? name : name.first(dot);
    while (base.endsWith(u' '))
        base.chop(1);
    const auto is = [base](QStringView device) { return base.compare(device, Qt::CaseInsensitive) == 0; };
    const bool numbered = base.size() == 4 && base[3] >= u'1' && base[3] <= u'9'
        && (base.first(3).compare(u"COM", Qt::CaseInsensitive) == 0 || base.first(3).compare(u"LPT", Qt::CaseInsensitive) == 0);
    if (numbered || is(u"CON") || is(u"PRN") || is(u"AUX") || is(u"NUL") || is(u"CONIN$") || is(u"CONOUT$"))
        return BarographNameFault::SystemName;
    // Any log's files, not only this log's: a barograph is never one of them, and a row
    // naming one would have Delete take it away (letter case counts for nothing on the
    // file systems the logs come from).
    for (QStringView ending : {kLogExtension, kNameFileExtension, kCompanionEnding}) {
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return BarographNameFault::LogFile;
    }
    return BarographNameFault::None;
}

// True when the file at `path` (a link) leads to a barograph in `folder` itself.
bool leadsIntoFolder(const QString &path, const QString &folder)
{
    const QFileInfo target(QFileInfo(path).canonicalFilePath());
    return !target.filePath().isEmpty() && target.absolutePath() == QDir(folder).canonicalPath()
        && nameFault(target.fileName()) == BarographNameFault::None;
}

} // namespace

BarographNameFault barographNameFault(QByteArrayView barographFile)
{
    return nameFault(cp932::toUnicode(barographFile));
}

QString barographNameRefusal(QByteArrayView barographFile, BarographNameFault fault)
{
    QStringView why;
    switch (fault) {
    case BarographNameFault::None: return QString();
    case BarographNameFault::Path: why = msg::BarographNameIsPath; break;
    case BarographNameFault::Character: why = msg::BarographNameBadCharacter; break;
    case BarographNameFault::LogFile: why = msg::BarographNameIsLogFile; break;
    case BarographNameFault::SystemName: why = msg::BarographNameIsSystemName; break;
    case BarographNameFault::OutsideFolder: why = msg::BarographNameLeadsOutside; break;
    }
    return msg::BarographNameRefused.toString().arg(cp932::toUnicode(barographFile), why.toString());
}

std::optional<QString> barographPath(const QString &folder, QByteArrayView barographFile, BarographNameFault *fault)
{
    const QString name = cp932::toUnicode(barographFile);
    BarographNameFault found = nameFault(name);
    std::optional<QString> path;
    if (found == BarographNameFault::None) {
        const QString dir = withTrailingSlash(folder);
        path = dir + name;
        if (!QFileInfo::exists(*path)) {
            for (const QString &entry : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
                if (entry.compare(name, Qt::CaseInsensitive) == 0) {
                    path = dir + entry;
                    break;
                }
            }
        }
        // The writer writes through a link: a download would replace the file it leads to.
        if (QFileInfo(*path).isSymLink() && !leadsIntoFolder(*path, dir)) {
            found = BarographNameFault::OutsideFolder;
            path.reset();
        }
    }
    if (fault)
        *fault = found;
    return path;
}

QString barographFolder(const LogBook &book)
{
    return book.workFolder;
}

QList<int> rowsSharingBarograph(const LogBook &book, int row)
{
    QList<int> rows;
    const QString folder = barographFolder(book);
    const std::optional<QString> path = barographPath(folder, book.row(row).barographFile);
    if (!path)
        return rows;
    for (int r = 1; r < book.rowCount(); ++r) {
        if (r != row && book.row(r).hasBarograph() && barographPath(folder, book.row(r).barographFile) == path)
            rows << r;
    }
    return rows;
}
