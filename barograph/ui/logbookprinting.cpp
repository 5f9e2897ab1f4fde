// The log book printed on a worker thread.
//
// Drawing a page takes a few milliseconds (every cell's text is measured to be elided), so
// a thousand pages took seconds on the window's thread. QPainter on a QPdfWriter or QPrinter
// may run on another thread as long as only that thread touches the device while it draws,
// and Qt 6 renders text on any thread; the worker therefore owns the copy of the log, the
// device and the painter until it ends, and the window's thread only reads the page count
// it publishes.
#include "logbookprinting.h"

#include "barograph/core/messages.h"
#include "barograph/ui/tcprint.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <optional>

namespace {

/// How often the count in the status bar follows the worker: often enough to look alive,
/// rarely enough to cost the window nothing.
constexpr int kProgressIntervalMs = 100;
/// How long the last word of a print stays in the status bar.
constexpr int kLastWordMs = 5000;

} // namespace

struct LogBookPrinting::Run {
    PrintedLogBook book;
    std::unique_ptr<QPrinter> printer; ///< null: a PDF file at pdfPath
    QString pdfPath;
    std::atomic<int> pagesDone{0};
    std::atomic<bool> cancelled{false};
    // Written by the worker, read on the window's thread once it has ended.
    bool printerStarted = true;
    bool whole = false;
    std::optional<WriteFailure> writeFailure;

    void work()
    {
        const PageDrawn drawn = [this](int done) {
            pagesDone.store(done, std::memory_order_relaxed);
            return !cancelled.load(std::memory_order_relaxed);
        };
        if (printer) {
            QPainter painter;
            if (!painter.begin(printer.get())) {
                printerStarted = false;
                return;
            }
            whole = paintLogBook(painter, *printer, book, drawn);
            if (!whole)
                printer->abort();
            painter.end();
            return;
        }
        const std::optional<QByteArray> bytes = logBookPdf(book, drawn);
        // A cancel after the last page still keeps the file from being written.
        if (!bytes || cancelled.load())
            return;
        whole = true;
        writeFailure = writeFile(pdfPath, *bytes);
    }
};

LogBookPrinting::LogBookPrinting(Prompter &prompter, QStatusBar *statusBar, QObject *parent)
    : QObject(parent), m_prompter(prompter), m_statusBar(statusBar), m_poll(new QTimer(this))
{
    m_poll->setInterval(kProgressIntervalMs);
    connect(m_poll, &QTimer::timeout, this, &LogBookPrinting::showProgress);
}

LogBookPrinting::~LogBookPrinting()
{
    if (!m_thread)
        return;
    m_run->cancelled.store(true);
    m_thread->wait();
    delete m_thread;
    delete m_progress;
}

void LogBookPrinting::startOnPrinter(PrintedLogBook book, std::unique_ptr<QPrinter> printer)
{
    auto run = std::make_unique<Run>();
    run->book = std::move(book);
    run->printer = std::move(printer);
    start(std::move(run));
}

void LogBookPrinting::startPdf(PrintedLogBook book, const QString &path)
{
    auto run = std::make_unique<Run>();
    run->book = std::move(book);
    run->pdfPath = path;
    start(std::move(run));
}

void LogBookPrinting::cancel()
{
    if (m_run)
        m_run->cancelled.store(true);
}

void LogBookPrinting::start(std::unique_ptr<Run> run)
{
    if (m_thread)
        return;
    m_run = std::move(run);
    if (m_statusBar) {
        m_progress = new QWidget(m_statusBar);
        m_progress->setObjectName(QStringLiteral("LogBookPrintProgress"));
        auto *layout = new QHBoxLayout(m_progress);
        layout->setContentsMargins(0, 0, 0, 0);
        m_progressText = new QLabel(m_progress);
        auto *cancelButton = new QPushButton(baromsg::LogBookPrintCancel.toString(), m_progress);
        cancelButton->setObjectName(QStringLiteral("LogBookPrintCancel"));
        connect(cancelButton, &QPushButton::clicked, this, &LogBookPrinting::cancel);
        layout->addWidget(m_progressText);
        layout->addWidget(cancelButton);
        m_statusBar->insertPermanentWidget(0, m_progress);
        showProgress();
    }
    Run *work = m_run.get();
    m_thread = QThread::create([work] { work->work(); });
    m_thread->setObjectName(QStringLiteral("LogBookPrint"));
    connect(m_thread, &QThread::finished, this, &LogBookPrinting::onThreadFinished);
    m_thread->start();
    m_poll->start();
    emit started();
}

void LogBookPrinting::showProgress()
{
    if (m_progressText && m_run) {
        m_progressText->setText(baromsg::LogBookPrinting.toString()
                                    .arg(m_run->pagesDone.load(std::memory_order_relaxed))
                                    .arg(m_run->book.pages.size()));
    }
}

void LogBookPrinting::onThreadFinished()
{
    m_poll->stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    delete m_progress;
    const std::unique_ptr<Run> run = std::move(m_run);
    Outcome outcome = Outcome::Done;
    if (!run->printerStarted) {
        outcome = Outcome::Failed;
        m_prompter.inform(cannotPrintMessage(*run->printer));
    } else if (run->writeFailure) {
        outcome = Outcome::Failed;
        m_prompter.inform(baromsg::PdfCannotWrite.toString() + u'\n' + run->writeFailure->reason());
    } else if (!run->whole) {
        outcome = Outcome::Cancelled;
    }
    if (m_statusBar && outcome != Outcome::Failed) {
        m_statusBar->showMessage(
            (outcome == Outcome::Done ? baromsg::LogBookPrinted : baromsg::LogBookPrintCancelled).toString(), kLastWordMs);
    }
    emit finished(outcome);
}
