// A rule's proof on paper: the rule, its status on a day, and every flight that counts with
// the height difference its barograph measured and whether the figures came from the
// instrument (downloaded here, its raw copy kept) or were typed. The rows are those of the
// currency report, so the paper lists what the window and duvazi-tool list. QtGui only.
#pragma once

#include "barograph/core/currencyreport.h"

#include <QByteArray>
#include <QString>

class LogBook;

/// The proof of rule `rule` of `report` over `book`, as a PDF file's bytes (A4, as many
/// pages as its flights need). `title` heads every page (the log's name).
QByteArray currencyProofPdf(const LogBook &book, const CurrencyReport &report, size_t rule, const QString &title);
