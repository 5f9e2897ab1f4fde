// The shared grid look and byte-limited edits.
#include "loggrid.h"

#include "logbook/core/flightrecord.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/render/textmeasure.h"
#include "logbook/ui/japanesefont.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace {
constexpr int kColumnWidths[kFieldCount] = {28, 60, 58, 58, 58, 69, 68, 166, 84};
constexpr int kRowHeight = 18;
} // namespace

QString logColumnTitle(int column)
{
    static const QStringView titles[kFieldCount] = {
        u"",
        msg::TitleDate,
        msg::TitleTime,
        msg::TitleArea,
        msg::TitleDuration,
        msg::TitleMaxAltitude,
        msg::TitleMaxClimb,
        msg::TitleComment,
        msg::TitleBarographFile,
    };
    return column >= 0 && column < kFieldCount ? titles[column].toString() : QString();
}

void setUpLogGrid(QTableView *grid)
{
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setShowGrid(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    // The title row is fixed: a click on it selects nothing (a whole column would be every
    // flight for Edit and Delete).
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    // The widths were chosen for "ＭＳ Ｐゴシック"; where another face is wider, a column
    // still shows its usual contents whole (a date, a clock time, a file name).
    static const char *const kWidestContents[kFieldCount] = {
        "8888", "88/88/88", "88:88:88", nullptr, "88:88:88", "8888.8 m", "88.8 m/s", nullptr, "V0000000.V00",
    };
    const QFontMetrics metrics(japaneseUiFont(12));
    for (int c = 0; c < kFieldCount; ++c) {
        const int needed = kWidestContents[c] ? metrics.horizontalAdvance(QLatin1String(kWidestContents[c])) + 10 : 0;
        grid->setColumnWidth(c, qMax(kColumnWidths[c], needed));
    }
}

void LogGridView::freezeNumberColumn()
{
    auto *frozen = new LogGridView(this);
    m_frozen = frozen;
    setHorizontalScrollMode(ScrollPerPixel);
    frozen->setObjectName(QStringLiteral("NumberColumn"));
    frozen->onDoubleClick = [this] {
        if (onDoubleClick)
            onDoubleClick();
    };
    frozen->setModel(model());
    frozen->setSelectionModel(selectionModel());
    frozen->setSelectionBehavior(selectionBehavior());
    frozen->setSelectionMode(selectionMode());
    setUpLogGrid(frozen);
    frozen->setFocusPolicy(Qt::NoFocus);
    frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen->setFrameShape(QFrame::NoFrame);
    for (int c = 1; c < model()->columnCount(); ++c)
        frozen->setColumnHidden(c, true);
    viewport()->stackUnder(frozen);
    connect(frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column == 0) {
            m_frozen->setColumnWidth(0, width);
            placeFrozen();
        }
    });
    frozen->setColumnWidth(0, columnWidth(0));
    placeFrozen();
    frozen->show();
}

void LogGridView::giveSpareWidthTo(int column)
{
    m_spareColumn = column;
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int resized) {
        if (m_fittingSpare)
            return;
        if (resized == m_spareColumn)
            m_spareGiven = 0; // the user's width, kept until the grid is resized
        else
            fitSpareWidth(); // a number column that widened takes from the spare first
    });
    fitSpareWidth();
}

void LogGridView::fitSpareWidth()
{
    if (m_spareColumn < 0)
        return;
    const int spare = viewport()->width() - horizontalHeader()->length();
    const int change = spare > 0 ? spare : -qMin(m_spareGiven, -spare);
    if (change == 0)
        return;
    m_fittingSpare = true;
    setColumnWidth(m_spareColumn, columnWidth(m_spareColumn) + change);
    m_fittingSpare = false;
    m_spareGiven += change;
}

void LogGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (onDoubleClick)
        onDoubleClick();
}

void LogGridView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placeFrozen();
    fitSpareWidth();
}

void LogGridView::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozen();
}

// A cell scrolled into view must not end up under the number column; a number cell only
// needs its row in view.
void LogGridView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!m_frozen || !index.isValid()) {
        QTableView::scrollTo(index, hint);
        return;
    }
    if (index.column() == 0) {
        const int left = qMax(1, columnAt(m_frozen->width()));
        QTableView::scrollTo(model()->index(index.row(), left), hint);
        return;
    }
    QTableView::scrollTo(index, hint);
    const int hidden = m_frozen->width() - visualRect(index).left();
    if (hidden > 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
}

void LogGridView::placeFrozen()
{
    if (!m_frozen)
        return;
    m_frozen->setGeometry(frameWidth(), frameWidth(), columnWidth(0) + 1,
                          viewport()->height() + horizontalHeader()->height());
}

bool isNumberColumn(int column)
{
    const auto f = Field(column);
    return f == Field::Number || f == Field::Duration || f == Field::MaxAltitude || f == Field::MaxClimb;
}

int neededColumnWidth(const QTableView *grid, int column, int firstRow, int lastRow)
{
    const QAbstractItemModel *model = grid->model();
    if (lastRow < 0)
        lastRow = model->rowCount() - 1;
    const int widest = widestAdvance(grid->font(), widestCandidates(lastRow - firstRow + 1, [&](qsizetype i) {
                                         return model->data(model->index(firstRow + int(i), column)).toString();
                                     }));
    // The cell's own margins and grid line, as the view draws them.
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 2;
    const int title = widestAdvance(grid->horizontalHeader()->font(), {model->headerData(column, Qt::Horizontal).toString()}) + 2 * margin;
    return qMax(widest + margin, title);
}

void keepNumberColumnsFitted(QTableView *grid)
{
    const auto fit = [grid](int first, int last) {
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            if (isNumberColumn(c))
                grid->setColumnWidth(c, qMax(grid->columnWidth(c), neededColumnWidth(grid, c, first, last)));
        }
    };
    QAbstractItemModel *model = grid->model();
    QObject::connect(model, &QAbstractItemModel::modelReset, grid, [=] { fit(0, -1); });
    QObject::connect(model, &QAbstractItemModel::rowsInserted, grid,
                     [=](const QModelIndex &, int first, int last) { fit(first, last); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, grid,
                     [=](const QModelIndex &from, const QModelIndex &to) { fit(from.row(), to.row()); });
    fit(0, -1);
}

bool keepCp932Bytes(QLineEdit *edit, int maxBytes)
{
    const QByteArray bytes = cp932::fromUnicode(edit->text());
    if (bytes.size() <= maxBytes)
        return false;
    const int cursor = edit->cursorPosition();
    const bool modified = edit->isModified();
    const QString kept = cp932::toUnicode(cp932::truncated(bytes, maxBytes));
    edit->setText(kept);
    edit->setCursorPosition(qMin(cursor, int(kept.size())));
    edit->setModified(modified);
    return true;
}
