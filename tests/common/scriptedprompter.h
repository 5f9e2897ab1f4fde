// A Prompter for tests: answers questions and file dialogs from a script and records
// every message it was shown.
#pragma once

#include "logbook/core/prompter.h"

#include <QStringList>

#include <deque>
#include <functional>

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString text;
        QString caption;
        Buttons buttons;
        Icon icon;
    };

    std::deque<Answer> answers;     ///< next answers to questions (Cancel when empty)
    std::deque<QString> files;      ///< next file names chosen ("" = cancelled)
    std::deque<int> filterChoices;  ///< next choices among a save dialog's filters (the preselected one when empty)
    std::vector<Asked> asked;       ///< every question, in order
    QStringList informed;           ///< every plain message, in order
    QStringList dialogs;            ///< "open:<filter>" / "save:<preset>" / "save, old kept:<preset>" per file dialog
    /// Runs while a message is open, as a real box's event loop runs timers and events.
    std::function<void()> whileOpen;

    Answer ask(QStringView text, QStringView caption, Buttons buttons, Icon icon) override
    {
        asked.push_back({text.toString(), caption.toString(), buttons, icon});
        if (whileOpen)
            whileOpen();
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(QStringView text) override
    {
        informed << text.toString();
        if (whileOpen)
            whileOpen();
    }
    QString chooseOpenFile(QStringView filter, const QString &) override
    {
        dialogs << QStringLiteral("open:") + filter.toString();
        return nextFile();
    }
    QString chooseSaveFile(QStringView, const QString &preset) override
    {
        dialogs << QStringLiteral("save:") + preset;
        return nextFile();
    }
    QString chooseSaveFileAmong(const QStringList &filters, const QString &preset, int *chosen) override
    {
        dialogs << QStringLiteral("save as %1:").arg(filters.value(*chosen)) + preset;
        if (!filterChoices.empty()) {
            *chosen = filterChoices.front();
            filterChoices.pop_front();
        }
        return nextFile();
    }
    QString chooseSaveFileKeepingOld(QStringView, const QString &preset) override
    {
        dialogs << QStringLiteral("save, old kept:") + preset;
        return nextFile();
    }

private:
    QString nextFile()
    {
        if (files.empty())
            return {};
        const QString f = files.front();
        files.pop_front();
        return f;
    }
};
