// Message boxes and file dialogs.
#include "prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::None: return QMessageBox::NoIcon;
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Question: return QMessageBox::Question;
    case Prompter::Icon::Exclamation: return QMessageBox::Warning;
    case Prompter::Icon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok: return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

Prompter::Answer QtPrompter::ask(QStringView text, QStringView caption, Buttons buttons, Icon icon)
{
    QMessageBox box(toQt(icon), caption.toString(), text.toString(), toQt(buttons), m_parent);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void QtPrompter::inform(QStringView text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text.toString(),
                    QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtPrompter::chooseOpenFile(QStringView filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), folder, filter.toString());
}

QString QtPrompter::chooseSaveFile(QStringView filter, const QString &preset)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), preset, filter.toString());
}

QString QtPrompter::chooseSaveFileKeepingOld(QStringView filter, const QString &preset)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), preset, filter.toString(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
