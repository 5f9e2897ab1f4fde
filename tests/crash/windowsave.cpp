// The main window's Save, for the crash test: opens LOG as the pilot would, changes it
// (the last flight deleted, the name field typed into), says "saving" on standard output and
// presses the Save button. The crash test kills it at a random moment after that line.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "logbook/core/logbook.h"
#include "logbook/ui/loglistwindow.h"
#include "tests/common/scriptedprompter.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: crash_window_save LOG NEW-NAME\n", stderr);
        return 2;
    }
    QTemporaryDir config;
    ScriptedPrompter prompter;
    prompter.files = {QString::fromLocal8Bit(argv[1])};
    TMainForm form(std::make_unique<FileSettingsStore>(config.filePath("cfg.conf")), &prompter);
    form.show();
    qobject_cast<QAction *>(form.command(QStringLiteral("FileOpenItem")))->trigger();
    LogBook &book = form.logBook();
    if (!book.hasFlights())
        return 1;
    // Delete the last flight (its barograph file stays) and type the new name.
    form.logList()->selectRows(book.rowCount() - 1, book.rowCount() - 1);
    prompter.answers = {Prompter::Answer::Ok, Prompter::Answer::No};
    qobject_cast<QAction *>(form.command(QStringLiteral("DeleteItem")))->trigger();
    QLineEdit *name = form.logList()->nameField();
    name->selectAll();
    name->insert(QString::fromLocal8Bit(argv[2])); // as typed: the log becomes modified

    std::puts("saving");
    std::fflush(stdout);
    qobject_cast<QToolButton *>(form.command(QStringLiteral("SaveBtn")))->click();
    const bool saved = !book.logModified && prompter.informed.isEmpty();
    std::puts(saved ? "saved" : "failed");
    std::fflush(stdout);
    std::_Exit(saved ? 0 : 1); // nothing else of the program's ending is under test
}
