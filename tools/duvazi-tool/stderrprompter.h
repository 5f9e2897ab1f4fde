// The device verbs' messages: what the procedures would show in a box is printed on standard
// error, and every question is taken as OK.
#pragma once

#include "output.h"

#include "logbook/core/prompter.h"

class StderrPrompter : public Prompter {
public:
    Answer ask(QStringView text, QStringView, Buttons, Icon) override
    {
        report(text);
        return Answer::Ok;
    }
    void inform(QStringView text) override { report(text); }
    QString chooseOpenFile(QStringView, const QString &) override { return {}; }
    QString chooseSaveFile(QStringView, const QString &) override { return {}; }
    QString chooseSaveFileAmong(const QStringList &, const QString &, int *) override { return {}; }
};
