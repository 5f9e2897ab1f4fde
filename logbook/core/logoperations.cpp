// Sorting, duplicates and barograph file locations.
#include "logoperations.h"

#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
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

bool isPlainBarographName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(QChar::ReplacementCharacter))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
}

std::optional<QString> barographPath(const QString &folder, QByteArrayView barographFile)
{
    // Decode first: a byte-wise look for '\\' would stop inside characters such as ソ.
    const QString name = cp932::toUnicode(barographFile);
    if (!isPlainBarographName(name))
        return std::nullopt;
    const QString dir = withTrailingSlash(folder);
    const QString exact = dir + name;
    if (QFileInfo::exists(exact))
        return exact;
    for (const QString &entry : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir + entry;
    }
    return exact;
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
