// The start-folder dialog.
#include "tformdir.h"

#include "app/core/appsettings.h"
#include "app/core/messages.h"
#include "app/ui/folderbrowser.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/prompter.h"
#include "logbook/ui/japanesefont.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

TFormDir::TFormDir(const StartFolderChoice &current, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_prompter(prompter)
{
    setObjectName(QStringLiteral("FormDir"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(msg::FormDirCaption.toString());
    setFont(japaneseUiFont(12));
    setFixedSize(427, 273);

    m_browser = new FolderBrowser(this, {QStringLiteral("*.log")});
    m_browser->place(QRect(32, 16, 177, 0), QRect(32, 48, 177, 97), QRect(232, 48, 161, 97));

    // Typing beats clicking through a crowded tree: a path goes there on Return, other text
    // narrows the log files listed as it is typed.
    EdPath = new QLineEdit(this);
    EdPath->setObjectName(QStringLiteral("EdPath"));
    EdPath->setGeometry(232, 16, 161, 24);
    EdPath->setPlaceholderText(msg::FormDirPathHint.toString());
    EdPath->setToolTip(msg::FormDirPathHint.toString());
    EdPath->installEventFilter(this);
    connect(EdPath, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!text.contains(u'/') && !text.contains(u'\\') && !text.startsWith(u'~'))
            m_browser->setNamePart(text.trimmed());
    });

    RGFolder = new QGroupBox(msg::FormDirDefaultFolder.toString(), this);
    RGFolder->setObjectName(QStringLiteral("RGFolder"));
    RGFolder->setGeometry(32, 160, 177, 65);
    RBFolder[0] = new QRadioButton(msg::FormDirUseCurrent.toString(), RGFolder);
    RBFolder[1] = new QRadioButton(msg::FormDirUseStored.toString(), RGFolder);
    RBFolder[0]->setGeometry(8, 18, 165, 20);
    RBFolder[1]->setGeometry(8, 40, 165, 20);
    RBFolder[current.ifDirSet == 1 ? 1 : 0]->setChecked(true);

    CheckBox = new QCheckBox(msg::FormDirDontAsk.toString(), this);
    CheckBox->setObjectName(QStringLiteral("CheckBox"));
    CheckBox->setGeometry(40, 240, 225, 20);
    CheckBox->setChecked(current.dontAskDir);

    BBOK = new QPushButton(QStringLiteral("OK"), this);
    BBOK->setObjectName(QStringLiteral("BBOK"));
    BBOK->setGeometry(312, 176, 75, 25);
    BBOK->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BBCancel->setObjectName(QStringLiteral("BBCancel"));
    BBCancel->setGeometry(312, 216, 75, 25);

    connect(BBOK, &QPushButton::clicked, this, &TFormDir::BBOKClick);
    connect(BBCancel, &QPushButton::clicked, this, &TFormDir::BBCancelClick);
    connect(m_browser, &FolderBrowser::fileActivated, this, [this](const QString &path) {
        if (takeChoice()) {
            accept();
            emit logFileChosen(path);
        }
    });

    m_browser->showFolder(current.workFolder);
    if (const QScreen *s = screen())
        move(s->geometry().center() - rect().center());
}

// Return in the path field goes to the folder typed instead of closing the dialog; a path
// that names no folder stays in the field with a beep.
bool TFormDir::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdPath && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !EdPath->text().trimmed().isEmpty()) {
            if (m_browser->goTo(EdPath->text()))
                EdPath->clear();
            else
                QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormDir::takeChoice()
{
    const QString folder = withTrailingSlash(m_browser->folder());
    if (!fitsPathSetting(folder)) {
        m_prompter.inform(msg::FolderPathTooLong.toString().arg(kPathSettingMaxBytes));
        return false;
    }
    emit chosen({folder, RBFolder[1]->isChecked() ? 1 : 0, CheckBox->isChecked()});
    return true;
}

void TFormDir::BBOKClick()
{
    if (takeChoice())
        accept();
}

void TFormDir::BBCancelClick()
{
    reject();
}
