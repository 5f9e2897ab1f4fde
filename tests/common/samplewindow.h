// The real main window on a copy of the three-flight sample log in a folder of its own, with
// scripted answers; closed without saving at the end.
#pragma once

#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "tests/common/scriptedprompter.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

struct SampleWindow {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;

    SampleWindow()
    {
        for (const char *name : {"three-flights.log", "three-flights.lif"})
            QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/") + QLatin1String(name), dir.filePath(name));
        form = std::make_unique<TMainForm>(std::make_unique<FileSettingsStore>(dir.filePath("cfg.conf")), &prompter);
        form->show();
    }
    ~SampleWindow()
    {
        prompter.answers = {Prompter::Answer::No, Prompter::Answer::No};
        form->close();
    }
    QString logPath() const { return dir.filePath(QStringLiteral("three-flights.log")); }
    void trigger(const char *name) { qobject_cast<QAction *>(form->command(QLatin1String(name)))->trigger(); }
    bool enabled(const char *name) const { return form->isCommandEnabled(QLatin1String(name)); }
};
