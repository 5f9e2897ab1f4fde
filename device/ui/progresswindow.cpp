// The progress window.
#include "progresswindow.h"

#include "logbook/ui/questionparent.h"

#include "device/core/messages.h"
#include "logbook/ui/japanesefont.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

TProgress::TProgress(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Progress"));
    setWindowTitle(msg::ProgressCaption.toString());
    // A dialog border without title-bar buttons, above the program's other windows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    markClosesByItself(*this); // it goes when its flight's barograph ends
    setFont(japaneseUiFont(12));
    setModal(false);

    auto *label = new QLabel(msg::ProgressLabel.toString(), this);
    ProgFile = new QLabel(this);
    ProgFile->setObjectName(QStringLiteral("ProgFile"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    BBCancel = new QPushButton(msg::CancelButton.toString(), this);
    BBCancel->setObjectName(QStringLiteral("BBCancel"));
    BBCancel->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(ProgFile, 0, 1);
    grid->addWidget(ProgressBar, 1, 0, 1, 2);
    grid->addWidget(BBCancel, 2, 1, Qt::AlignRight);
    setMinimumWidth(360);

    connect(BBCancel, &QPushButton::clicked, this, &TProgress::cancelled);
}

void TProgress::setFlightText(const QString &text)
{
    ProgFile->setText(text);
}

void TProgress::setProgress(int percent)
{
    ProgressBar->setValue(qBound(0, percent, 100));
}

void TProgress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not on the main window.
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TProgress::reject()
{
    emit cancelled();
}
