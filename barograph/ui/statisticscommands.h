// The statistics window and the log book on paper as the main window offers them: the one
// statistics window, made when there is none, and the print command (the date range, the
// print dialog, then the printer or a PDF file written through the program's one writer,
// drawn on a worker thread).
#pragma once

#include "barograph/ui/logbookprinting.h"
#include "barograph/ui/tcprint.h"
#include "barograph/ui/tformstats.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class MainFormLink;
class TLogG;

/// The dates a printed log book covers, as typed ("YY/MM/DD"; empty: no bound).
struct LogBookRange {
    QString from;
    QString to;
};

class StatisticsCommands : public QObject {
    Q_OBJECT
public:
    StatisticsCommands(MainFormLink &link, TLogG &list);

    /// Shows the statistics of the open log in the one statistics window. Does nothing
    /// without flights.
    void showStatistics();
    TFormStats *window() const { return m_window; }

    /// Prints the log book, or saves it as PDF, after asking for its dates: the pages are
    /// drawn on a worker thread while the window goes on. Does nothing without flights; a
    /// second print while one runs is refused with a message.
    void printLogBook();
    LogBookPrinting &printing() { return m_printing; }
    bool isComputing() const { return m_window && m_window->isComputing(); }

    /// The range dialog; std::nullopt when cancelled. Tests replace it.
    std::function<std::optional<LogBookRange>(QWidget *parent)> askRange;
    /// The system print dialog; tests replace it.
    PrinterChooser choosePrinter;

signals:
    /// The statistics window started reading barographs, or stopped (also when it closed).
    void computingChanged(bool computing);

private:
    MainFormLink &m_link;
    TLogG &m_list;
    QPointer<TFormStats> m_window;
    LogBookPrinting m_printing;
};

/// The range dialog: two dates, OK only while each is empty or a date "YY/MM/DD".
std::optional<LogBookRange> logBookRangeDialog(QWidget *parent);
