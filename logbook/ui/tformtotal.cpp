// The totals window.
#include "tformtotal.h"

#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/loggrid.h"
#include "logbook/ui/totalschartview.h"
#include "logbook/ui/totalsmodel.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QLineEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

TFormTotal::TFormTotal(QWidget *parent) : QMdiSubWindow(parent), m_model(new TotalsModel(this))
{
    setObjectName(QStringLiteral("FormTotal"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(japaneseUiFont(12));
    setWindowTitle(msg::TotalsCaption.toString());

    auto *body = new QWidget(this);
    auto *Panel1 = new QWidget(body);
    Panel1->setFixedHeight(33);
    Panel1->setAutoFillBackground(true);
    QPalette grey = Panel1->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    Panel1->setPalette(grey);
    auto *LbName = new QLabel(msg::NameLabel.toString(), Panel1);
    LbName->setFont(japaneseUiFont(15));
    QPalette white = LbName->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    LbName->setPalette(white);
    LbName->move(24, 9);
    EdName = new QLineEdit(Panel1);
    EdName->setObjectName(QStringLiteral("EdName"));
    EdName->setGeometry(64, 7, 169, 21);
    EdName->setReadOnly(true);

    auto *grid = new LogGridView(body);
    StringGrid1 = grid;
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    setUpLogGrid(StringGrid1);
    grid->freezeNumberColumn();
    keepNumberColumnsFitted(StringGrid1);

    m_chart = new TotalsChartView;
    m_chart->setObjectName(QStringLiteral("Chart"));
    auto *chartScroll = new QScrollArea;
    chartScroll->setWidget(m_chart);
    chartScroll->setWidgetResizable(true);
    chartScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chartScroll->setFrameShape(QFrame::NoFrame);

    m_splitter = new QSplitter(Qt::Vertical, body);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->addWidget(StringGrid1);
    m_splitter->addWidget(chartScroll);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 2);
    m_splitter->setChildrenCollapsible(true);

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(m_splitter);
    setWidget(body);
    resize(639, 350);
    // Until the pilot moves the splitter, the table gets the room its rows need and the
    // chart what is left; once moved, the splitter stays where it was put.
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] { m_splitterPlaced = true; });
}

void TFormTotal::resizeEvent(QResizeEvent *event)
{
    QMdiSubWindow::resizeEvent(event);
    if (!m_splitterPlaced)
        giveTheTableItsRoom();
}

void TFormTotal::giveTheTableItsRoom()
{
    const int available = m_splitter->height() - m_splitter->handleWidth();
    if (available <= 0)
        return;
    const int rows = m_model->rowCount();
    const int tableNeeds = StringGrid1->horizontalHeader()->height() + rows * StringGrid1->verticalHeader()->defaultSectionSize() +
                           StringGrid1->horizontalScrollBar()->sizeHint().height() + 2 * StringGrid1->frameWidth();
    const int table = qMin(tableNeeds, qMax(available - kChartLeast, available / 2));
    m_splitter->setSizes({table, available - table});
}

void TFormTotal::showTotals(FlightTotals totals, const QByteArray &logName)
{
    m_chart->setTotals(nullptr);
    m_model->setTotals(std::move(totals));
    m_chart->setTotals(&m_model->totals());
    EdName->setText(cp932::toUnicode(logName));
    if (isMinimized() || isMaximized())
        showNormal();
    if (!m_splitterPlaced)
        giveTheTableItsRoom();
}
