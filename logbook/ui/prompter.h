// The real message boxes and file dialogs behind Prompter.
#pragma once

#include "logbook/core/prompter.h"

#include <QPointer>
#include <QWidget>

class QtPrompter : public Prompter {
public:
    /// `parent` is the window the boxes are centred on (may be null).
    explicit QtPrompter(QWidget *parent) : m_parent(parent) {}

    Answer ask(QStringView text, QStringView caption, Buttons buttons, Icon icon) override;
    void inform(QStringView text) override;
    QString chooseOpenFile(QStringView filter, const QString &folder) override;
    QString chooseSaveFile(QStringView filter, const QString &preset) override;
    QString chooseSaveFileAmong(const QStringList &filters, const QString &preset, int *chosen) override;
    QString chooseSaveFileKeepingOld(QStringView filter, const QString &preset) override;

private:
    QPointer<QWidget> m_parent;
};
