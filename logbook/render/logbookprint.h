// The log book on paper, drawn: A4 landscape pages with the log list's columns, a fixed
// number of rows, and the three total rows under each page. The printer and the PDF file
// draw the same pages, from a copy of the log taken when the print starts, so that they can
// be drawn on a worker thread while the pilot goes on editing. QtGui only.
#pragma once

#include "logbook/core/flightrecord.h"
#include "logbook/core/logbookpages.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>

#include <functional>
#include <optional>

class LogBook;
class QFont;
class QPagedPaintDevice;
class QPainter;

/// The log book as it is printed, copied out of the log: nothing done to the log after the
/// copy changes a page. Make it and destroy it on the window's thread (its flights are
/// copies of rows, with their window pointers); any thread may draw it meanwhile.
struct PrintedLogBook {
    QString title;                  ///< heads every page (the log's name, the date range)
    int rowsPerPage = 20;
    std::vector<LogBookPage> pages; ///< here `rows` index `flights`, not the log
    std::vector<FlightRecord> flights;
    /// Per column, the texts of the whole book that can be its widest figure (flights and
    /// totals): the columns are sized for them, the same on every page, so that no figure
    /// of a long log prints as "49730:…" or "V1010304.…". Empty for the site and comment
    /// columns, whose text may be cut.
    std::array<QStringList, kFieldCount> widestFigures;
};

/// The copy of `pages` of `book` that a print draws.
PrintedLogBook printedLogBook(const LogBook &book, std::vector<LogBookPage> pages, const QString &title,
                              int rowsPerPage);

/// Draws page `index` within `page` (device pixels of the printable area).
void paintLogBookPage(QPainter &painter, QRect page, const PrintedLogBook &book, int index);

/// After each page drawn, with the count drawn so far; false stops the print there.
using PageDrawn = std::function<bool(int pagesDone)>;

/// Draws every page on `device`, a page each, through `painter` already begun on it. False
/// when `pageDrawn` stopped it.
bool paintLogBook(QPainter &painter, QPagedPaintDevice &device, const PrintedLogBook &book,
                  const PageDrawn &pageDrawn = {});

/// Every page as a PDF file's bytes (A4 landscape); std::nullopt when `pageDrawn` stopped it.
std::optional<QByteArray> logBookPdf(const PrintedLogBook &book, const PageDrawn &pageDrawn = {});

/// The font of printed pages: a Japanese sans serif of `pixelSize` device pixels.
QFont pageFont(int pixelSize);

/// "このページ計", "前ページまでの計", "累計".
QString pageTotalCaption(int which);
