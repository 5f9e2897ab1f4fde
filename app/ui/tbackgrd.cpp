// The background dialog.
#include "tbackgrd.h"

#include "app/core/appsettings.h"
#include "app/core/messages.h"
#include "app/ui/folderbrowser.h"
#include "logbook/core/prompter.h"
#include "logbook/ui/japanesefont.h"

#include <QCheckBox>
#include <QPushButton>

TBackGrd::TBackGrd(const BackgroundChoice &current, const QString &workFolder, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_prompter(prompter)
{
    setObjectName(QStringLiteral("BackGrd"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(msg::BackGrdCaption.toString());
    setFont(japaneseUiFont(12));
    setFixedSize(427, 273);

    CBUse = new QCheckBox(msg::BackGrdUse.toString(), this);
    CBUse->setObjectName(QStringLiteral("CBUse"));
    CBUse->setGeometry(32, 32, 217, 20);
    CBSize = new QCheckBox(msg::BackGrdStretch.toString(), this);
    CBSize->setObjectName(QStringLiteral("CBSize"));
    CBSize->setGeometry(32, 56, 209, 20);

    m_browser = new FolderBrowser(this, pictureFilters());
    m_browser->place(QRect(32, 96, 177, 0), QRect(32, 128, 177, 121), QRect(232, 128, 169, 121));

    BBOK = new QPushButton(QStringLiteral("OK"), this);
    BBOK->setObjectName(QStringLiteral("BBOK"));
    BBOK->setGeometry(320, 32, 75, 25);
    BBOK->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BBCancel->setObjectName(QStringLiteral("BBCancel"));
    BBCancel->setGeometry(320, 72, 75, 25);
    move(206, 257);

    m_browser->showFolder(workFolder);
    // A picture that is no longer there leaves the lists on the work folder.
    if (!current.pictureFile.isEmpty())
        m_browser->selectFile(current.pictureFile);
    CBUse->setChecked(current.usePicture);
    CBSize->setChecked(current.stretch);
    CBUseClick();

    connect(CBUse, &QCheckBox::toggled, this, &TBackGrd::CBUseClick);
    connect(BBOK, &QPushButton::clicked, this, &TBackGrd::BBOKClick);
    connect(BBCancel, &QPushButton::clicked, this, &TBackGrd::BBCancelClick);
    connect(m_browser, &FolderBrowser::fileActivated, this, &TBackGrd::BBOKClick);
}

QStringList TBackGrd::pictureFilters()
{
    return {QStringLiteral("*.bmp"), QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")};
}

void TBackGrd::CBUseClick()
{
    m_browser->setEnabled(CBUse->isChecked());
    CBSize->setEnabled(CBUse->isChecked());
}

void TBackGrd::BBOKClick()
{
    const QString file = m_browser->selectedFile();
    if (CBUse->isChecked() && file.isEmpty()) {
        m_prompter.inform(msg::PictureNotChosen);
        return;
    }
    if (!fitsPathSetting(file)) {
        m_prompter.inform(msg::PicturePathTooLong.toString().arg(kPathSettingMaxBytes));
        return;
    }
    // Closed first: a message about the picture must not stand behind this dialog.
    const BackgroundChoice choice{CBUse->isChecked(), CBSize->isChecked(), file};
    accept();
    emit chosen(choice);
}

void TBackGrd::BBCancelClick()
{
    reject();
}
