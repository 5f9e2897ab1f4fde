// The File menu's import of flights from other instruments' logs: opens the preview (one at a
// time, beside the main window, which stays usable), and when the pilot confirms applies it
// as one undo step, saves it in one write and reports what it did. The import is a state of
// the command table from the preview's opening to its end.
#pragma once

#include "barograph/ui/tformimport.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class LogBookCommands;
class MainFormLink;


class FlightImportCommand : public QObject {
    Q_OBJECT
public:
    /// `sitesFile` gives the sites file the IGC settings name (may be empty); `zone` is the
    /// zone the preview starts in (none: the computer's), set to each the pilot chooses in it.
    /// Both are the program's settings, which outlive this command.
    FlightImportCommand(MainFormLink &link, LogBookCommands &commands, std::function<QString()> sitesFile,
                        std::optional<qint32> &zone);

    /// Opens the preview, or brings it forward when it is open.
    void start();
    bool isImporting() const { return m_dialog != nullptr; }
    /// The open preview (tests and trials); null when none.
    TFormImport *dialog() const { return m_dialog; }

signals:
    void importStarted();
    void importEnded();

private:
    void finish(bool apply);

    MainFormLink &m_link;
    LogBookCommands &m_commands;
    std::function<QString()> m_sitesFile;
    std::optional<qint32> &m_zone;
    QPointer<TFormImport> m_dialog;
};
