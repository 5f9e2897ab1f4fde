// The log book on paper, drawn: A4 landscape pages with the log list's columns, a fixed
// number of rows, and the three total rows under each page. The printer and the PDF file
// draw the same pages. QtGui only.
#pragma once

#include "logbook/core/logbookpages.h"

#include <QByteArray>
#include <QRect>
#include <QString>

class LogBook;
class QPainter;

/// Draws page `index` of `pages` within `page` (device pixels of the printable area).
/// `title` heads every page (the log's name, the date range).
void paintLogBookPage(QPainter &painter, QRect page, const LogBook &book, const std::vector<LogBookPage> &pages,
                      int index, const QString &title, int rowsPerPage);

/// Every page as a PDF file's bytes (A4 landscape).
QByteArray logBookPdf(const LogBook &book, const std::vector<LogBookPage> &pages, const QString &title,
                      int rowsPerPage);

/// "このページ計", "前ページまでの計", "累計".
QString pageTotalCaption(int which);
