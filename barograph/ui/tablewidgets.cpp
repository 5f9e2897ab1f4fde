// The read-only tables of the figure windows.
#include "tablewidgets.h"

#include "barograph/core/messages.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

QTableWidget *newTable(std::initializer_list<QStringView> titles)
{
    auto *t = new QTableWidget(0, int(titles.size()));
    QStringList labels;
    for (QStringView title : titles)
        labels << title.toString();
    t->setHorizontalHeaderLabels(labels);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(18);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

// Numbers right-aligned, the columns of names (`textColumns`) left, as the log list shows them.
void fill(QTableWidget *table, const std::vector<QStringList> &rows, std::initializer_list<int> textColumns)
{
    // Refilled as the log changes: the current cell moving then is not the pilot's choice.
    const QSignalBlocker quiet(table);
    table->clearContents();
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(rows[size_t(r)].size()); ++c) {
            auto *item = new QTableWidgetItem(rows[size_t(r)][c]);
            const bool text = std::find(textColumns.begin(), textColumns.end(), c) != textColumns.end();
            item->setTextAlignment((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
}

QProgressBar *newLookProgress()
{
    auto *bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("Progress"));
    bar->setFormat(baromsg::StatsLooking.toString());
    bar->hide();
    return bar;
}

void showLookProgress(QProgressBar *bar, int done, int total)
{
    if (total != bar->maximum()) {
        // The count is drawn inside the bar: the bar is as wide as its widest count, or the
        // summary beside it squeezes the text to a few cut characters.
        const QString widest = bar->format()
                                   .replace(QStringLiteral("%v"), QString::number(total))
                                   .replace(QStringLiteral("%m"), QString::number(total));
        bar->setMinimumWidth(bar->fontMetrics().horizontalAdvance(widest) + 4 * bar->fontMetrics().averageCharWidth());
    }
    bar->setRange(0, total);
    bar->setValue(done);
    bar->show();
}
