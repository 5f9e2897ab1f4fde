// The shared grid look and byte-limited edits.
#include "loggrid.h"

#include "logbook/core/flightrecord.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/japanesefont.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

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
