// The log list window.
#include "loglistwindow.h"

#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/logbookmodel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kColumnWidths[kFieldCount] = {28, 60, 58, 58, 58, 69, 68, 166, 84};
constexpr int kRowHeight = 18;
} // namespace

TLogG::TLogG(const LogBook &book, QWidget *parent)
    : QMdiSubWindow(parent), m_book(book), m_model(new LogBookModel(book, this))
{
    setObjectName(QStringLiteral("LogG"));
    setFont(japaneseUiFont(12));
    setWindowTitle(msg::LogListCaption.toString());

    auto *body = new QWidget(this);
    auto *Panel1 = new QWidget(body);
    Panel1->setFixedHeight(33);
    LbName = new QLabel(msg::NameLabel.toString(), Panel1);
    LbName->setFont(japaneseUiFont(15));
    LbName->move(24, 9);
    EdName = new QLineEdit(Panel1);
    EdName->setObjectName(QStringLiteral("EdName"));
    EdName->setGeometry(64, 7, 169, 21);

    StringGrid1 = new QTableView(body);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    StringGrid1->setShowGrid(true);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    // The widths were chosen for "ＭＳ Ｐゴシック"; where another face is wider, a column
    // still shows its usual contents whole (a date, a clock time, a file name).
    static const char *const kWidestContents[kFieldCount] = {
        "8888", "88/88/88", "88:88:88", nullptr, "88:88:88", "8888.8 m", "88.8 m/s", nullptr, "V0000000.V00",
    };
    const QFontMetrics metrics(japaneseUiFont(12));
    for (int c = 0; c < kFieldCount; ++c) {
        const int needed = kWidestContents[c] ? metrics.horizontalAdvance(QLatin1String(kWidestContents[c])) + 10 : 0;
        StringGrid1->setColumnWidth(c, qMax(kColumnWidths[c], needed));
    }

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(StringGrid1);
    setWidget(body);
    resize(640, 350);

    connect(EdName, &QLineEdit::textEdited, this, &TLogG::onNameEdited);
    connect(StringGrid1, &QTableView::doubleClicked, this, [this] { emit editRequested(); });
    StringGrid1->setCurrentIndex(m_model->index(0, 0));
}

std::pair<int, int> TLogG::selectedRange() const
{
    const QModelIndexList rows = StringGrid1->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        const QModelIndex current = StringGrid1->currentIndex();
        const int row = current.isValid() ? current.row() + 1 : 1;
        return {row, row};
    }
    int top = rows.first().row();
    int bottom = top;
    for (const QModelIndex &i : rows) {
        top = qMin(top, i.row());
        bottom = qMax(bottom, i.row());
    }
    return {top + 1, bottom + 1};
}

void TLogG::selectRows(int top, int bottom)
{
    const QItemSelection selection(m_model->index(top - 1, 0),
                                   m_model->index(bottom - 1, kFieldCount - 1));
    StringGrid1->selectionModel()->setCurrentIndex(m_model->index(top - 1, 0),
                                                   QItemSelectionModel::NoUpdate);
    StringGrid1->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect
                                                         | QItemSelectionModel::Rows);
}

QByteArray TLogG::nameText() const
{
    return cp932::fromUnicode(EdName->text());
}

void TLogG::setNameText(const QByteArray &name)
{
    EdName->setText(cp932::toUnicode(name));
    EdName->setModified(false);
}

void TLogG::setLogPath(const QString &path)
{
    if (path.isEmpty())
        setWindowTitle(msg::LogListCaption.toString());
    else
        setWindowTitle(msg::LogListCaptionWithPath.toString().arg(QDir::toNativeSeparators(path)));
}

void TLogG::onNameEdited(const QString &text)
{
    // A name file keeps 31 bytes: cut what is typed there, so the field shows what is kept.
    const QByteArray bytes = cp932::fromUnicode(text);
    if (bytes.size() > LogBook::kLogNameMaxBytes) {
        const int cursor = EdName->cursorPosition();
        const QString kept = cp932::toUnicode(cp932::truncated(bytes, LogBook::kLogNameMaxBytes));
        EdName->setText(kept);
        EdName->setCursorPosition(qMin(cursor, int(kept.size())));
        EdName->setModified(true);
    }
    emit nameEdited();
}

void TLogG::closeEvent(QCloseEvent *event)
{
    // The list lives for the whole run: closing it only minimises it.
    event->ignore();
    showMinimized();
}
