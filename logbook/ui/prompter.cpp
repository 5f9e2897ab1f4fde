// Message boxes and file dialogs.
#include "prompter.h"

#include "logbook/ui/questionparent.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>

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

/// The extension a file type of a dialog names: "dvs" of "機器設定ファイル(*.dvs)"; empty for
/// a type of several extensions or none.
QString extensionOf(const QString &filter)
{
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([^*?;() ]+)\\)\\s*$"));
    return single.match(filter).captured(1);
}

/// Every save dialog of the program: over what asked, preset with `preset` (a file, or a
/// folder to start in), offering `filters` with `*chosen` preselected (set to the type the
/// file was saved as). A name typed without an extension gets the chosen type's, as a
/// pilot expects: saved without one, a file is missing from the open dialog of its type.
QString chooseSaveFileIn(QWidget *parent, const QStringList &filters, const QString &preset, int *chosen,
                         QFileDialog::Options options)
{
    QPointer<QFileDialog> dialog = new QFileDialog(parent);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOptions(options);
    const int first = chosen ? std::clamp(*chosen, 0, std::max(0, int(filters.size()) - 1)) : 0;
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        dialog->selectNameFilter(filters.at(first));
        dialog->setDefaultSuffix(extensionOf(filters.at(first)));
    }
    QFileDialog *d = dialog;
    QObject::connect(d, &QFileDialog::filterSelected, d, [d](const QString &filter) { d->setDefaultSuffix(extensionOf(filter)); });
    if (!preset.isEmpty()) {
        const QFileInfo info(preset);
        if (info.isDir()) {
            dialog->setDirectory(preset);
        } else {
            dialog->setDirectory(info.absolutePath());
            dialog->selectFile(info.fileName());
        }
    }
    raiseAboveOnTop(*dialog);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog) // the window it belonged to went, and took it along: Cancel
        return QString();
    const QStringList files = dialog->selectedFiles();
    const QString chosenFilter = dialog->selectedNameFilter();
    delete dialog;
    if (!accepted || files.isEmpty())
        return QString();
    if (chosen)
        *chosen = std::max(0, int(filters.indexOf(chosenFilter)));
    return files.constFirst();
}

QStringList filterList(QStringView filter)
{
    return filter.isEmpty() ? QStringList() : QStringList{filter.toString()};
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
    return chooseSaveFileIn(questionParent(m_parent), filterList(filter), preset, nullptr, {});
}

QString QtPrompter::chooseSaveFileAmong(const QStringList &filters, const QString &preset, int *chosen)
{
    return chooseSaveFileIn(questionParent(m_parent), filters, preset, chosen, {});
}

QString QtPrompter::chooseSaveFileKeepingOld(QStringView filter, const QString &preset)
{
    return chooseSaveFileIn(questionParent(m_parent), filterList(filter), preset, nullptr,
                            QFileDialog::DontConfirmOverwrite);
}
