// The main window's controls: the speed buttons and the menus with their items, named as
// the enabling table names them. What each does is connected in mainform.cpp.
#include "mainform.h"

#include "app/core/messages.h"
#include "app/ui/speedicons.h"
#include "barograph/core/messages.h"
#include "logbook/core/messages.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// A hint's text before "|" is the tooltip, the text after it (or the whole hint when there
// is no "|") the status-bar text.
void applyHint(QWidget *w, const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    w->setToolTip(bar < 0 ? hint : hint.left(bar));
    w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

void TMainForm::createButtons()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("SpeedBar"));
    panel->setFixedHeight(30);
    const auto button = [&](const char *name, int x, const QString &hint, const QIcon &icon) {
        auto *b = new QToolButton(panel);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, 2, 25, 25);
        b->setAutoRaise(true);
        b->setIcon(icon);
        b->setIconSize(QSize(20, 20));
        applyHint(b, hint);
        return b;
    };
    QStyle *s = style();
    OpenBtn = button("OpenBtn", 7, QStringLiteral("開く|"), s->standardIcon(QStyle::SP_DialogOpenButton));
    SaveBtn = button("SaveBtn", 31, QStringLiteral("保存|"), s->standardIcon(QStyle::SP_DialogSaveButton));
    CutBtn = button("CutBtn", 64, QStringLiteral("ログデータ削除|"), s->standardIcon(QStyle::SP_TrashIcon));
    SBEdit = button("SBEdit", 104, QStringLiteral("ログデータ編集"), speedicon::edit());
    SBGraph = button("SBGraph", 128, QStringLiteral("バログラフ表示"), speedicon::graph());
    ExitBtn = button("ExitBtn", 168, QStringLiteral("終了|"), s->standardIcon(QStyle::SP_DialogCloseButton));
    CopyBtn = button("CopyBtn", 200, QStringLiteral("ｺﾋﾟｰ|"), QIcon());
    PasteBtn = button("PasteBtn", 224, QStringLiteral("貼り付け|"), QIcon());
    CopyBtn->setVisible(false);
    PasteBtn->setVisible(false);
    CopyBtn->setEnabled(false);
    PasteBtn->setEnabled(false);
    // The panel sits under the menu bar, above the workspace.
    auto *holder = addToolBar(QStringLiteral("SpeedBar"));
    holder->setMovable(false);
    holder->setFloatable(false);
    holder->toggleViewAction()->setEnabled(false);
    holder->setContextMenuPolicy(Qt::PreventContextMenu);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    panel->setMinimumWidth(200);
    holder->addWidget(panel);

}

void TMainForm::createMenus()
{
    const auto item = [&](QMenu *menu, const char *name, const QString &caption,
                          const QString &hint = QString()) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (!hint.isEmpty())
            a->setStatusTip(hint);
        return a;
    };
    const auto menu = [&](const char *name, const QString &caption, const QString &hint = QString()) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        if (!hint.isEmpty())
            m->menuAction()->setStatusTip(hint);
        return m;
    };

    File1 = menu("File1", QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("ﾌｧｲﾙ操作に関するｺﾏﾝﾄﾞ"));
    FileNewItem = item(File1, "FileNewItem", QStringLiteral("新規作成(&N)"), QStringLiteral("新規ﾌｧｲﾙの作成"));
    FileOpenItem = item(File1, "FileOpenItem", QStringLiteral("ﾛｸﾞﾌｧｲﾙを開く(&O)"), QStringLiteral("既存のﾌｧｲﾙを開く"));
    Reload = item(File1, "Reload", QStringLiteral("ﾛｸﾞﾌｧｲﾙ追加読込(&M)"));
    FileCloseItem = item(File1, "FileCloseItem", QStringLiteral("閉じる(&C)"), QStringLiteral("ﾌｧｲﾙを閉じる"));
    FileSaveItem = item(File1, "FileSaveItem", QStringLiteral("上書き保存(&S)"), QStringLiteral("ﾌｧｲﾙを保存する"));
    FileSaveAsItem = item(File1, "FileSaveAsItem", QStringLiteral("名前を付けて保存(&A)..."),
                          QStringLiteral("ﾌｧｲﾙに別の名前を付けて保存"));
    FileCsvExport = item(File1, "FileCsvExport", QStringLiteral("CSVに書き出す"));
    FileCsvImport = item(File1, "FileCsvImport", QStringLiteral("CSVから追加"));
    FileImportFlights = item(File1, "FileImportFlights", baromsg::ImportCommand.toString(),
                             baromsg::ImportCommandHint.toString());
    FileIgcExport = item(File1, "FileIgcExport", baromsg::IgcExport.toString(),
                         QStringLiteral("選択したﾌﾗｲﾄのﾊﾞﾛｸﾞﾗﾌをIGCﾌｧｲﾙに書き出す"));
    LogBookPrint = item(File1, "LogBookPrint", QStringLiteral("ログブック印刷(&P)"), QStringLiteral("ログブックを印刷またはPDFに保存"));
    File1->addSeparator();
    MenuLogLoad = item(File1, "MenuLogLoad", QStringLiteral("ﾛｸﾞﾃﾞｰﾀのﾛｰﾄﾞ(&L)"));
    MenuBaroLoad = item(File1, "MenuBaroLoad", QStringLiteral("ﾊﾞﾛｸﾞﾗﾌの表示(&B)"));
    MenuAllLoad = item(File1, "MenuAllLoad", QStringLiteral("全てのﾃﾞｰﾀのﾛｰﾄﾞ(&D)"));
    File1->addSeparator();
    FileExitItem = item(File1, "FileExitItem", QStringLiteral("終了(&X)"), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"));

    Edit1 = menu("Edit1", QStringLiteral("編集(&E)"));
    UndoItem = item(Edit1, "UndoItem", msg::UndoItem.toString());
    RedoItem = item(Edit1, "RedoItem", msg::RedoItem.toString());
    UndoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    Edit1->addSeparator();
    DeleteItem = item(Edit1, "DeleteItem", QStringLiteral("ログ削除(&D)"), QStringLiteral("ログデータ削除"));
    CutItem = item(Edit1, "CutItem", QStringLiteral("切り取り(&T)"), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ切り取り"));
    CopyItem = item(Edit1, "CopyItem", QStringLiteral("ｺﾋﾟｰ(&C)"), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ"));
    PasteItem = item(Edit1, "PasteItem", QStringLiteral("貼り付け(&P)"), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから貼り付け"));
    Edit1->addSeparator();
    SortByDate = item(Edit1, "SortByDate", QStringLiteral("日時順ソート(&S)"));
    MenuTotal = item(Edit1, "MenuTotal", QStringLiteral("集計(&F)"));
    MenuStatistics = item(Edit1, "MenuStatistics", QStringLiteral("統計(&I)"));
    MenuCurrency = item(Edit1, "MenuCurrency", baromsg::CurrencyCaption.toString() + QStringLiteral("(&L)"));
    Edit1->addSeparator();
    MenuNewLog = item(Edit1, "MenuNewLog", QStringLiteral("新規ログの追加(&N)"));
    // Clipboard commands have never done anything.
    CutItem->setEnabled(false);
    CopyItem->setEnabled(false);
    PasteItem->setEnabled(false);
    FileNewItem->setEnabled(false);
    FileCloseItem->setEnabled(false);

    Window1 = menu("Window1", QStringLiteral("ｳｨﾝﾄﾞｳ(&W)"), QStringLiteral("ｳｨﾝﾄﾞｳ操作に関するｺﾏﾝﾄﾞ"));
    WindowCascadeItem = item(Window1, "WindowCascadeItem", QStringLiteral("重ねて表示(&C)"),
                             QStringLiteral("ｳｨﾝﾄﾞｳを重なりあうように並べ直す"));
    WindowTileItem = item(Window1, "WindowTileItem", QStringLiteral("並べて表示(&T)"),
                          QStringLiteral("ｳｨﾝﾄﾞｳを重ならないように並べ直す"));
    WindowArrangeItem = item(Window1, "WindowArrangeItem", QStringLiteral("ｱｲｺﾝの整列(&A)"),
                             QStringLiteral("ｱｲｺﾝをｳｨﾝﾄﾞｳの下に並べ直す"));
    WindowMinimizeItem = item(Window1, "WindowMinimizeItem", QStringLiteral("すべてをｱｲｺﾝ化(&M)"),
                              QStringLiteral("すべてのｳｨﾝﾄﾞｳをｱｲｺﾝ状態にする"));
    Window1->addSeparator();
    DataEditClose = item(Window1, "DataEditClose", QStringLiteral("すべてのﾃﾞｰﾀｴﾃﾞｨｯﾄを閉じる(&E)"));
    GraphClose = item(Window1, "GraphClose", QStringLiteral("すべてのｸﾞﾗﾌ表示を閉じる(&G)"));

    Option = menu("Option", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    HeightAdjust = item(Option, "HeightAdjust", QStringLiteral("高度補正(&H)"));
    MMBackground = item(Option, "MMBackground", QStringLiteral("背景設定(&B)"));
    PrintColorSet = item(Option, "PrintColorSet", QStringLiteral("ﾌﾟﾘﾝﾄｶﾗｰ設定(&P)"));
    MenuStartDir = item(Option, "MenuStartDir", QStringLiteral("起動ﾌｫﾙﾀﾞｰ設定(&D)"));
    MenuPortSet = Option->addMenu(QStringLiteral("ｼﾘｱﾙﾎﾟｰﾄの設定(&S)"));
    MenuPortSet->setObjectName(QStringLiteral("MenuPortSet"));
    MenuPortSet->menuAction()->setObjectName(QStringLiteral("MenuPortSet"));
    m_comGroup = new QActionGroup(this);
    m_comGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < 4; ++i) {
        SMCOM[i] = item(MenuPortSet, QStringLiteral("SMCOM%1").arg(i + 1).toLatin1().constData(),
                        QStringLiteral("COM %1").arg(i + 1));
        SMCOM[i]->setCheckable(true);
        m_comGroup->addAction(SMCOM[i]);
    }
    Option->addSeparator();
    MenuFlyer = item(Option, "MenuFlyer", QStringLiteral("ﾌﾗｲﾔｰ名設定(&N)"));
    MenuParam = item(Option, "MenuParam", QStringLiteral("ﾊﾟﾗﾒｰﾀ設定(&Q)"));
    MenuOption = item(Option, "MenuOption", QStringLiteral("ｵﾌﾟｼｮﾝ表示設定(&O)"));
    Option->addSeparator();
    MenuIgc = item(Option, "MenuIgc", QStringLiteral("IGC設定(&I)"));

    Help1 = menu("Help1", QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("ﾄﾋﾟｯｸの検索"));
    HelpAboutItem = item(Help1, "HelpAboutItem", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));

}
