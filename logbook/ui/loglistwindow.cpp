// The log list window.
#include "loglistwindow.h"

#include "logbook/core/flightrecord.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loggrid.h"

#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include <functional>


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

    auto *grid = new LogGridView(body);
    grid->onDoubleClick = [this] { emit editRequested(); };
    StringGrid1 = grid;
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    setUpLogGrid(StringGrid1);
    grid->freezeNumberColumn();
    keepNumberColumnsFitted(StringGrid1);
    // A wider window shows more of the comments, as the pilot widened it to see.
    grid->giveSpareWidthTo(int(Field::Comment));

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(StringGrid1);
    setWidget(body);
    resize(640, 350);

    connect(EdName, &QLineEdit::textEdited, this, &TLogG::onNameEdited);
    connect(StringGrid1->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this] { emit editRequested(); });
    StringGrid1->setCurrentIndex(m_model->index(0, 0));
}

std::vector<int> TLogG::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &i : StringGrid1->selectionModel()->selectedRows())
        rows.push_back(i.row() + 1);
    if (rows.empty()) {
        const QModelIndex current = StringGrid1->currentIndex();
        rows.push_back(current.isValid() ? current.row() + 1 : 1);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
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

void TLogG::selectRowSet(const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    std::vector<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    // One range per run of neighbouring rows: a year of a long log is a few ranges, not
    // thousands of single rows.
    QItemSelection selection;
    for (size_t i = 0; i < sorted.size();) {
        size_t end = i;
        while (end + 1 < sorted.size() && sorted[end + 1] <= sorted[end] + 1)
            ++end;
        selection.select(m_model->index(sorted[i] - 1, 0), m_model->index(sorted[end] - 1, kFieldCount - 1));
        i = end + 1;
    }
    const QModelIndex first = m_model->index(rows.front() - 1, 0);
    StringGrid1->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    StringGrid1->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    StringGrid1->scrollTo(first, QAbstractItemView::PositionAtTop);
}

void TLogG::clearSelection()
{
    StringGrid1->horizontalScrollBar()->setValue(0);
    StringGrid1->selectionModel()->clearSelection();
    StringGrid1->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
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

void TLogG::onNameEdited()
{
    // A name file keeps 31 bytes: cut what is typed there, so the field shows what is kept.
    if (keepCp932Bytes(EdName, LogBook::kLogNameMaxBytes))
        EdName->setModified(true);
    emit nameEdited();
}

void TLogG::closeEvent(QCloseEvent *event)
{
    // The list lives for the whole run: closing it only minimises it.
    event->ignore();
    showMinimized();
}
