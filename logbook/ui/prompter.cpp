// Message boxes and file dialogs.
#include "prompter.h"

#include "logbook/ui/questionparent.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

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

/// Shows `box` over what asked and waits for the answer. The box lives on the heap: the
/// dialog it belongs to may be destroyed while the box waits (its parent then takes the box
/// along), which counts as Cancel.
int execQuestion(QMessageBox *box)
{
    raiseAboveOnTop(*box);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    QPointer<QMessageBox> guard(box);
    const int answer = box->exec();
    if (!guard)
        return QMessageBox::Cancel;
    delete box;
    return answer;
}

} // namespace

Prompter::Answer QtPrompter::ask(QStringView text, QStringView caption, Buttons buttons, Icon icon)
{
    auto *box = new QMessageBox(toQt(icon), caption.toString(), text.toString(), toQt(buttons),
                                questionParent(m_parent));
    switch (execQuestion(box)) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void QtPrompter::inform(QStringView text)
{
    execQuestion(new QMessageBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text.toString(),
                                 QMessageBox::Ok, questionParent(m_parent)));
}

QString QtPrompter::chooseOpenFile(QStringView filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(questionParent(m_parent), QString(), folder, filter.toString());
}

QString QtPrompter::chooseSaveFile(QStringView filter, const QString &preset)
{
    return QFileDialog::getSaveFileName(questionParent(m_parent), QString(), preset, filter.toString());
}

QString QtPrompter::chooseSaveFileAmong(const QStringList &filters, const QString &preset, int *chosen)
{
    QString selected = filters.value(*chosen);
    const QString path = QFileDialog::getSaveFileName(questionParent(m_parent), QString(), preset,
                                                      filters.join(QStringLiteral(";;")), &selected);
    *chosen = qMax(0, int(filters.indexOf(selected)));
    return path;
}

QString QtPrompter::chooseSaveFileKeepingOld(QStringView filter, const QString &preset)
{
    return QFileDialog::getSaveFileName(questionParent(m_parent), QString(), preset, filter.toString(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
