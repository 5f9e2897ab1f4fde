// The log book on paper, drawn.
#include "logbookprint.h"

#include "logbook/core/flightrecord.h"
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/totals.h"
#include "logbook/render/textmeasure.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <array>

namespace {

/// Each column's share of the table's width, in the log list's order: a five-digit number
/// and a whole clock time must fit, or a long log's rows print as "19…" and "10:36:…".
constexpr std::array<double, kFieldCount> kColumnShare = {0.06, 0.085, 0.085, 0.16, 0.085, 0.085, 0.085, 0.245, 0.11};
constexpr std::array<Qt::Alignment, kFieldCount> kColumnAlign = {
    Qt::AlignRight, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignRight,
    Qt::AlignRight, Qt::AlignRight,   Qt::AlignLeft,    Qt::AlignLeft};

/// The face of the cells, a little over half a row high.
QFont cellFont(int rowHeight)
{
    return pageFont(rowHeight * 3 / 5);
}

QString totalFlightsText(int flights)
{
    return QStringLiteral("%1 件").arg(flights);
}

/// Columns whose text is words, not a figure: cut where it does not fit, and what gives
/// the figure columns their room.
constexpr bool isWordColumn(int column)
{
    return column == int(Field::Area) || column == int(Field::Comment);
}

/// Blank kept each side of a cell's text.
int cellPad(int rowHeight)
{
    return std::max(1, rowHeight / 6);
}

int rowHeightOf(QRect page, const PrintedLogBook &book)
{
    // Title line, the column titles, the rows, and three total rows, with a little air.
    return page.height() / (book.rowsPerPage + 6 + 1);
}

/// The left edges of the columns and the table's right edge. Each column gets its share of
/// the page; a figure column too narrow for the book's widest figure in `font` gets what it
/// needs, which the word columns give up in proportion to their shares.
std::array<int, kFieldCount + 1> columnEdges(QRect page, const PrintedLogBook &book, const QFont &font,
                                             const QPaintDevice *device)
{
    std::array<double, kFieldCount> width{};
    double wanted = 0;
    double wordShare = 0;
    for (int c = 0; c < kFieldCount; ++c) {
        width[size_t(c)] = page.width() * kColumnShare[size_t(c)];
        if (isWordColumn(c)) {
            wordShare += kColumnShare[size_t(c)];
            continue;
        }
        const double need = widestAdvance(font, book.widestFigures[size_t(c)], device) + 2 * cellPad(rowHeightOf(page, book));
        wanted += std::max(0.0, need - width[size_t(c)]);
        width[size_t(c)] = std::max(width[size_t(c)], need);
    }
    for (int c = 0; c < kFieldCount; ++c) {
        if (isWordColumn(c))
            width[size_t(c)] = std::max(0.0, width[size_t(c)] - wanted * kColumnShare[size_t(c)] / wordShare);
    }
    std::array<int, kFieldCount + 1> x{};
    double left = page.left();
    x[0] = page.left();
    for (int c = 0; c < kFieldCount; ++c) {
        left += width[size_t(c)];
        x[size_t(c) + 1] = int(left);
    }
    return x;
}

/// One line of a cell: line breaks of a comment become blanks, and what does not fit is
/// elided rather than drawn over the next column.
void drawCell(QPainter &p, const QRect &cell, const QString &text, Qt::Alignment align)
{
    if (text.isEmpty())
        return;
    const int pad = cellPad(cell.height());
    const QRect inner = cell.adjusted(pad, 0, -pad, 0);
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    p.drawText(inner, int(align | Qt::AlignVCenter), p.fontMetrics().elidedText(line, Qt::ElideRight, inner.width()));
}

} // namespace

QString pageTotalCaption(int which)
{
    static const char16_t *const captions[] = {u"このページ計", u"前ページまでの計", u"累計"};
    return QString::fromUtf16(captions[std::clamp(which, 0, 2)]);
}

PrintedLogBook printedLogBook(const LogBook &book, std::vector<LogBookPage> pages, const QString &title,
                              int rowsPerPage)
{
    PrintedLogBook printed;
    printed.title = title;
    printed.rowsPerPage = rowsPerPage;
    printed.flights.reserve(pages.size() * size_t(std::max(1, rowsPerPage)));
    for (LogBookPage &page : pages) {
        for (int &row : page.rows) {
            printed.flights.push_back(book.row(row));
            row = int(printed.flights.size()) - 1;
        }
    }
    printed.pages = std::move(pages);
    const FlightRecord titles = FlightRecord::titleRecord();
    for (int c = 0; c < kFieldCount; ++c) {
        if (isWordColumn(c))
            continue;
        printed.widestFigures[size_t(c)] = widestCandidates(qsizetype(printed.flights.size()), [&](qsizetype i) {
            return cp932::toUnicode(printed.flights[size_t(i)].fieldText(Field(c)));
        });
        printed.widestFigures[size_t(c)] << cp932::toUnicode(titles.fieldText(Field(c)));
    }
    // The totals under the table: the flights in the site's column, the time in the flying
    // time's; the last page's sums are the largest only while no carried total is negative.
    QStringList flightTotals, timeTotals;
    for (const LogBookPage &page : printed.pages) {
        for (const PageTotal &t : {page.page, page.before, page.cumulative}) {
            flightTotals << totalFlightsText(t.flights);
            timeTotals << QString::fromLatin1(numtext::clockText(t.seconds));
        }
    }
    printed.widestFigures[size_t(Field::Area)] =
        widestCandidates(flightTotals.size(), [&](qsizetype i) { return flightTotals[i]; });
    printed.widestFigures[size_t(Field::Duration)] +=
        widestCandidates(timeTotals.size(), [&](qsizetype i) { return timeTotals[i]; });
    return printed;
}

namespace {

void paintPage(QPainter &p, QRect page, const PrintedLogBook &book, int index,
               const std::array<int, kFieldCount + 1> &x)
{
    const std::vector<LogBookPage> &pages = book.pages;
    const QString &title = book.title;
    const int rowsPerPage = book.rowsPerPage;
    const LogBookPage &sheet = pages.at(size_t(index));
    const int rowHeight = rowHeightOf(page, book);
    p.save();
    p.setPen(QPen(Qt::black, std::max(1, rowHeight / 30)));
    p.setFont(pageFont(rowHeight * 11 / 10));
    const QString heading = sheet.leftOut > 0 ? title + QStringLiteral("（統計から除外 %1件）").arg(sheet.leftOut) : title;
    drawCell(p, QRect(page.left(), page.top(), page.width(), rowHeight), heading, Qt::AlignLeft);
    drawCell(p, QRect(page.left(), page.top(), page.width(), rowHeight),
             QStringLiteral("%1 / %2").arg(index + 1).arg(pages.size()), Qt::AlignRight);

    int y = page.top() + rowHeight * 3 / 2;
    const int tableTop = y;
    p.setFont(cellFont(rowHeight));
    const auto rowLine = [&](const auto &cellText, bool bold) {
        QFont font = p.font();
        font.setBold(bold);
        p.setFont(font);
        for (int c = 0; c < kFieldCount; ++c)
            drawCell(p, QRect(x[size_t(c)], y, x[size_t(c) + 1] - x[size_t(c)], rowHeight), cellText(c),
                     bold ? Qt::AlignHCenter : kColumnAlign[size_t(c)]);
        y += rowHeight;
        p.drawLine(page.left(), y, x.back(), y);
    };
    const FlightRecord titles = FlightRecord::titleRecord();
    p.drawLine(page.left(), y, x.back(), y);
    rowLine([&](int c) { return c == 0 ? QStringLiteral("No.") : cp932::toUnicode(titles.fieldText(Field(c))); }, true);
    for (int r = 0; r < rowsPerPage; ++r) {
        if (r < int(sheet.rows.size())) {
            const FlightRecord &flight = book.flights.at(size_t(sheet.rows[size_t(r)]));
            rowLine([&](int c) { return cp932::toUnicode(flight.fieldText(Field(c))); }, false);
        } else {
            rowLine([](int) { return QString(); }, false);
        }
    }
    const int tableBottom = y;
    for (int x0 : x)
        p.drawLine(x0, tableTop, x0, tableBottom);

    // The totals under the table: the caption over the first three columns, the flights
    // under the site, the flying time under the flying time.
    const PageTotal totals[] = {sheet.page, sheet.before, sheet.cumulative};
    for (int t = 0; t < 3; ++t) {
        drawCell(p, QRect(x[0], y, x[3] - x[0], rowHeight), pageTotalCaption(t), Qt::AlignRight);
        drawCell(p, QRect(x[3], y, x[4] - x[3], rowHeight), totalFlightsText(totals[t].flights), Qt::AlignRight);
        drawCell(p, QRect(x[4], y, x[5] - x[4], rowHeight),
                 QString::fromLatin1(numtext::clockText(totals[t].seconds)),
                 Qt::AlignRight);
        y += rowHeight;
        p.drawLine(x[0], y, x[5], y);
    }
    for (int c : {0, 3, 4, 5})
        p.drawLine(x[size_t(c)], tableBottom, x[size_t(c)], y);
    p.restore();
}

std::array<int, kFieldCount + 1> columnEdgesOn(const QPainter &p, QRect page, const PrintedLogBook &book)
{
    return columnEdges(page, book, cellFont(rowHeightOf(page, book)), p.device());
}

} // namespace

void paintLogBookPage(QPainter &p, QRect page, const PrintedLogBook &book, int index)
{
    paintPage(p, page, book, index, columnEdgesOn(p, page, book));
}

bool paintLogBook(QPainter &painter, QPagedPaintDevice &device, const PrintedLogBook &book, const PageDrawn &pageDrawn)
{
    const QRect area(0, 0, device.width(), device.height());
    const std::array<int, kFieldCount + 1> columns = columnEdgesOn(painter, area, book); // the book's, every page
    for (int i = 0; i < int(book.pages.size()); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, area, book, i, columns);
        if (pageDrawn && !pageDrawn(i + 1))
            return false;
    }
    return true;
}

QFont pageFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Pゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

std::optional<QByteArray> logBookPdf(const PrintedLogBook &book, const PageDrawn &pageDrawn)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("DUVAZI"));
        pdf.setTitle(book.title);
        pdf.setResolution(300);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 10, 12, 10), QPageLayout::Millimeter));
        QPainter p(&pdf);
        if (!paintLogBook(p, pdf, book, pageDrawn))
            return std::nullopt;
    }
    return bytes;
}
