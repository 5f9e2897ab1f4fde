// The questions and file choices that operations put to the user, as an interface: windows
// implement it with real message boxes and file dialogs, tests with scripted answers.
// No widgets here.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Question, Exclamation, Error };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    /// A message box with a caption, a fixed button set and an icon; returns the answer.
    virtual Answer ask(QStringView text, QStringView caption, Buttons buttons, Icon icon) = 0;
    /// A plain information message with an OK button.
    virtual void inform(QStringView text) = 0;
    /// The open dialog; an empty string when it is cancelled.
    /// `filter` is "Description(*.ext)", `folder` the folder it starts in.
    virtual QString chooseOpenFile(QStringView filter, const QString &folder) = 0;
    /// The save dialog, preset with `preset`; an empty string when it is cancelled.
    virtual QString chooseSaveFile(QStringView filter, const QString &preset) = 0;
    /// The save dialog where the file's type is itself a choice (a CSV's encoding): it offers
    /// `filters`, `*chosen` preselected, and sets `*chosen` to the one the file was saved as.
    virtual QString chooseSaveFileAmong(const QStringList &filters, const QString &preset, int *chosen) = 0;
    /// The save dialog for a file whose replaced version the save keeps in "bak" (the log,
    /// a barograph): it does not ask whether to replace an existing file, since nothing is
    /// lost. Otherwise as chooseSaveFile.
    virtual QString chooseSaveFileKeepingOld(QStringView filter, const QString &preset)
    {
        return chooseSaveFile(filter, preset);
    }
};
