// The import's preview dialog.
#include "tformimport.h"

#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

/// What the worker shares with the dialog: the files it found, those it read, and the stop.
struct TFormImport::Reading {
    std::atomic<int> total{0};
    std::atomic<int> done{0};
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<ImportItem> items; ///< under `lock`
};

namespace {

/// The progress is looked at this often: often enough to move smoothly, rarely enough to
/// cost the window nothing.
constexpr int kPollMs = 100;

/// The zones pilots fly in, minutes ahead of UTC: the whole hours from -12 to +14 and the
/// half and three-quarter hours some countries keep.
constexpr qint32 kZoneMinutes[] = {-720, -660, -600, -570, -540, -480, -420, -360, -300, -240, -210, -180, -120,
                                   -60,  0,    60,   120,  180,  210,  240,  270,  300,  330,  345,  360,  390,
                                   420,  480,  525,  540,  570,  600,  630,  660,  720,  765,  780,  840};

QString statusText(const ImportItem &item)
{
    switch (item.status) {
    case ImportItem::Status::New: return baromsg::ImportStatusNew.toString();
    case ImportItem::Status::Duplicate: return baromsg::ImportStatusDuplicate.toString();
    case ImportItem::Status::Error: break;
    }
    return baromsg::ImportStatusError.toString();
}

QTableWidgetItem *cell(const QString &text)
{
    auto *c = new QTableWidgetItem(text);
    c->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return c;
}

} // namespace

TFormImport::TFormImport(const LogBook &book, ImportSettings settings, QWidget *parent)
    : QDialog(parent), m_book(book), m_settings(std::move(settings)), m_poll(new QTimer(this))
{
    setObjectName(QStringLiteral("TFormImport"));
    setWindowTitle(baromsg::ImportCaption.toString());
    auto *layout = new QVBoxLayout(this);

    auto *sources = new QHBoxLayout;
    sources->addWidget(new QLabel(baromsg::ImportSources.toString(), this));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("ImportPath"));
    sources->addWidget(m_path, 1);
    auto *files = new QPushButton(baromsg::ImportChooseFiles.toString(), this);
    auto *folder = new QPushButton(baromsg::ImportChooseFolder.toString(), this);
    m_read = new QPushButton(baromsg::ImportRead.toString(), this);
    m_read->setObjectName(QStringLiteral("ImportRead"));
    for (QPushButton *b : {files, folder, m_read}) {
        b->setAutoDefault(false);
        sources->addWidget(b);
    }
    m_read->setDefault(true); // Enter in the path field reads what it names
    layout->addLayout(sources);

    auto *progress = new QHBoxLayout;
    m_zone = new QComboBox(this);
    m_zone->setObjectName(QStringLiteral("ImportZone"));
    fillZones();
    progress->addWidget(new QLabel(baromsg::ImportZone.toString(), this));
    progress->addWidget(m_zone);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ImportProgress"));
    m_progress->setTextVisible(true);
    m_cancel = new QPushButton(baromsg::ImportStop.toString(), this);
    m_cancel->setObjectName(QStringLiteral("ImportStop"));
    m_cancel->setEnabled(false);
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_cancel);
    layout->addLayout(progress);

    m_table = new QTableWidget(0, ColReason + 1, this);
    m_table->setObjectName(QStringLiteral("ImportTable"));
    m_table->setHorizontalHeaderLabels({baromsg::ImportColumnFile.toString(), baromsg::ImportColumnStatus.toString(),
                                        msg::TitleDate.toString(), msg::TitleTime.toString(),
                                        msg::TitleDuration.toString(), msg::TitleMaxAltitude.toString(),
                                        msg::TitleMaxClimb.toString(), msg::TitleArea.toString(),
                                        baromsg::ImportColumnChoice.toString(), baromsg::ImportColumnReason.toString()});
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    auto *bottom = new QHBoxLayout;
    auto *skipAll = new QPushButton(baromsg::ImportSkipAll.toString(), this);
    skipAll->setObjectName(QStringLiteral("ImportSkipAll"));
    auto *addAll = new QPushButton(baromsg::ImportAddAll.toString(), this);
    addAll->setObjectName(QStringLiteral("ImportAddAll"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("ImportSummary"));
    m_import = new QPushButton(baromsg::ImportApply.toString(), this);
    m_import->setObjectName(QStringLiteral("ImportApply"));
    m_import->setEnabled(false);
    auto *close = new QPushButton(baromsg::ImportClose.toString(), this);
    close->setObjectName(QStringLiteral("ImportClose"));
    for (QPushButton *b : {skipAll, addAll, m_import, close})
        b->setAutoDefault(false);
    bottom->addWidget(skipAll);
    bottom->addWidget(addAll);
    bottom->addWidget(m_summary, 1);
    bottom->addWidget(m_import);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(980, 420);

    connect(files, &QPushButton::clicked, this, [this] {
        const QStringList chosen = QFileDialog::getOpenFileNames(this, baromsg::ImportCaption.toString(),
                                                                 m_book.workFolder, baromsg::ImportFilter.toString());
        if (!chosen.isEmpty())
            readSources(chosen);
    });
    connect(folder, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, baromsg::ImportCaption.toString(), m_book.workFolder);
        if (!chosen.isEmpty())
            readSources({chosen});
    });
    const auto readTyped = [this] {
        if (!m_path->text().trimmed().isEmpty())
            readSources(m_path->text().trimmed().split(u';', Qt::SkipEmptyParts));
    };
    connect(m_read, &QPushButton::clicked, this, readTyped);
    connect(m_cancel, &QPushButton::clicked, this, &TFormImport::cancelReading);
    connect(skipAll, &QPushButton::clicked, this, [this] { setAllDuplicates(false); });
    connect(addAll, &QPushButton::clicked, this, [this] { setAllDuplicates(true); });
    connect(m_import, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_poll, &QTimer::timeout, this, &TFormImport::showProgress);
    connect(m_zone, &QComboBox::currentIndexChanged, this, &TFormImport::chooseZone);
}

void TFormImport::fillZones()
{
    m_zone->addItem(baromsg::ImportZoneComputer.toString());
    std::vector<qint32> zones(std::begin(kZoneMinutes), std::end(kZoneMinutes));
    // An offset from the settings that no zone keeps today is offered all the same.
    const std::optional<qint32> chosen = m_settings.utcOffsetMinutes;
    if (chosen && std::find(zones.begin(), zones.end(), *chosen) == zones.end())
        zones.insert(std::upper_bound(zones.begin(), zones.end(), *chosen), *chosen);
    for (qint32 minutes : zones)
        m_zone->addItem(baromsg::ImportZoneUtc.toString().arg(utcOffsetText(minutes)), minutes);
    m_zone->setCurrentIndex(chosen ? m_zone->findData(*chosen) : 0);
}

void TFormImport::chooseZone()
{
    const QVariant minutes = m_zone->currentData();
    m_settings.utcOffsetMinutes = minutes.isValid() ? std::optional<qint32>(minutes.toInt()) : std::nullopt;
    emit zoneChosen(m_settings.utcOffsetMinutes);
    if (m_items.empty())
        return;
    changeImportZone(m_items, m_book, m_settings);
    fillTable();
}

TFormImport::~TFormImport()
{
    if (m_thread) {
        m_reading->stop = true;
        m_thread->wait();
    }
}

void TFormImport::readSources(const QStringList &paths)
{
    if (m_thread)
        return;
    m_path->setText(paths.join(u';'));
    m_items.clear();
    m_table->setRowCount(0);
    m_import->setEnabled(false);
    m_read->setEnabled(false);
    m_zone->setEnabled(false); // the worker reads in the zone it was given
    m_cancel->setEnabled(true);
    m_reading = std::make_shared<Reading>();
    // The worker sees only the file names and the settings, never the log book.
    m_thread = QThread::create([reading = m_reading, paths, settings = m_settings] {
        const QStringList sources = collectImportSources(paths);
        reading->total = int(sources.size());
        for (const QString &source : sources) {
            if (reading->stop)
                break;
            ImportItem item = readImportSource(source, settings);
            const std::lock_guard<std::mutex> hold(reading->lock);
            reading->items.push_back(std::move(item));
            ++reading->done;
        }
    });
    connect(m_thread, &QThread::finished, this, &TFormImport::onReadingFinished);
    m_poll->start(kPollMs);
    showProgress();
    m_thread->start();
}

void TFormImport::cancelReading()
{
    if (m_reading)
        m_reading->stop = true;
}

void TFormImport::showProgress()
{
    const int total = m_reading->total;
    const int done = m_reading->done;
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(done);
    m_progress->setFormat(baromsg::ImportReading.toString().arg(done).arg(total));
}

void TFormImport::onReadingFinished()
{
    m_poll->stop();
    m_thread->deleteLater();
    m_thread = nullptr;
    showProgress();
    {
        const std::lock_guard<std::mutex> hold(m_reading->lock);
        m_items = std::move(m_reading->items);
    }
    // Said as done, not as still reading: the pilot waits for the count to finish otherwise.
    m_progress->setFormat(m_reading->stop ? baromsg::ImportStopped.toString().arg(m_reading->done.load()).arg(m_reading->total.load())
                                          : baromsg::ImportAllRead.toString().arg(m_reading->total.load()));
    // The log is compared on the window's thread, where it lives; a few thousand rows a file.
    markDuplicates(m_items, m_book);
    m_read->setEnabled(true);
    m_zone->setEnabled(true);
    m_cancel->setEnabled(false);
    fillTable();
    m_import->setEnabled(!m_items.empty());
    m_import->setDefault(!m_items.empty());
    emit previewReady();
}

void TFormImport::fillTable()
{
    m_table->setRowCount(0);
    const auto addRow = [this](const QString &file, const QString &status, const FlightRecord *row, const QString &reason) {
        const int r = m_table->rowCount();
        m_table->insertRow(r);
        m_table->setItem(r, ColFile, cell(file));
        m_table->setItem(r, ColStatus, cell(status));
        if (row) {
            const std::pair<Column, Field> fields[] = {{ColDate, Field::Date}, {ColTime, Field::Time},
                                                       {ColDuration, Field::Duration}, {ColAltitude, Field::MaxAltitude},
                                                       {ColClimb, Field::MaxClimb}, {ColArea, Field::Area}};
            for (const auto &[column, field] : fields)
                m_table->setItem(r, column, cell(cp932::toUnicode(row->fieldText(field))));
        }
        m_table->setItem(r, ColReason, cell(QString(reason).replace(u'\n', u' ')));
        return r;
    };
    for (size_t i = 0; i < m_items.size(); ++i) {
        ImportItem &item = m_items[i];
        const int r = addRow(QFileInfo(item.path).fileName(), statusText(item), item.flight ? &item.flight->row : nullptr,
                             item.reason);
        m_table->item(r, ColFile)->setToolTip(item.path);
        if (item.status != ImportItem::Status::Duplicate)
            continue;
        auto *choice = new QComboBox(m_table);
        choice->setObjectName(QStringLiteral("ImportChoice%1").arg(i));
        choice->addItems({baromsg::ImportChoiceSkip.toString(), baromsg::ImportChoiceAdd.toString()});
        choice->setCurrentIndex(item.addAnyway ? 1 : 0);
        connect(choice, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            m_items[i].addAnyway = index == 1;
            updateSummary();
        });
        m_table->setCellWidget(r, ColChoice, choice);
        // The flight already in the log, beside the one that repeats it.
        if (item.existingRow > 0 && item.existingRow < m_book.rowCount()) {
            const int e = addRow(baromsg::ImportExistingRow.toString().arg(item.existingRow), QString(),
                                 &m_book.row(item.existingRow), cp932::toUnicode(m_book.row(item.existingRow).barographFile));
            for (int c = 0; c < m_table->columnCount(); ++c) {
                if (QTableWidgetItem *it = m_table->item(e, c))
                    it->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            }
        }
    }
    m_table->resizeColumnsToContents();
    updateSummary();
}

void TFormImport::setAllDuplicates(bool add)
{
    for (QComboBox *choice : m_table->findChildren<QComboBox *>())
        choice->setCurrentIndex(add ? 1 : 0);
}

void TFormImport::updateSummary()
{
    m_summary->setText(m_items.empty() ? QString()
                                       : baromsg::ImportWouldDo.toString().arg(importReport(countImport(m_items))));
}
