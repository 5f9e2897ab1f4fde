// A print of the log book while the window goes on: the pages drawn on a worker thread from
// a copy of the log, their count and a cancel button in the main window's status bar, and
// the end told to the pilot. One print at a time. A PDF goes to its file through the
// program's one writer only when every page is drawn, so a cancelled print leaves no file.
#pragma once

#include "logbook/render/logbookprint.h"

#include <QObject>
#include <QPointer>

#include <memory>

class Prompter;
class QLabel;
class QPrinter;
class QStatusBar;
class QThread;
class QTimer;
class QWidget;

class LogBookPrinting : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Done, Cancelled, Failed };

    /// `statusBar` shows the progress (nothing is shown without one); `prompter` says why a
    /// print failed.
    LogBookPrinting(Prompter &prompter, QStatusBar *statusBar, QObject *parent = nullptr);
    /// Stops a print still running (its PDF is not written) and waits for its thread.
    ~LogBookPrinting() override;

    bool isRunning() const { return m_thread != nullptr; }
    /// Starts drawing `book` on `printer`, kept until the print ends. Ignored while a print
    /// runs.
    void startOnPrinter(PrintedLogBook book, std::unique_ptr<QPrinter> printer);
    /// Starts drawing `book` as the PDF file `path`. Ignored while a print runs.
    void startPdf(PrintedLogBook book, const QString &path);
    /// Stops the print after the page being drawn. A PDF is not written; a printer's job is
    /// aborted where the print system allows it (CUPS through Qt does not: the pages drawn
    /// so far are still sent).
    void cancel();

signals:
    /// The pages started being drawn.
    void started();
    /// On the window's thread, after the thread has ended and the pilot has been told.
    void finished(LogBookPrinting::Outcome outcome);

private:
    struct Run;
    void start(std::unique_ptr<Run> run);
    void showProgress();
    void onThreadFinished();

    Prompter &m_prompter;
    QPointer<QStatusBar> m_statusBar;
    QPointer<QWidget> m_progress; ///< the count and the cancel button, while a print runs
    QLabel *m_progressText = nullptr;
    QTimer *m_poll;
    QThread *m_thread = nullptr;
    std::unique_ptr<Run> m_run;
};
