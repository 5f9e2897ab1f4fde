// The main window as the command tests drive it: a real TMainForm over a scripted prompter,
// its editors and barograph windows stood in for by windows that keep the row flags and
// report to the command table as the real ones do.
#pragma once

#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "app/ui/workspace.h"
#include "barograph/core/messages.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logcsv.h"
#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/totals.h"
#include "logbook/ui/closequery.h"
#include "logbook/ui/logbookmodel.h"
#include "logbook/ui/loglistwindow.h"
#include "logbook/ui/tdataedit.h"
#include "logbook/ui/tformtotal.h"
#include "logbook/ui/totalsmodel.h"
#include "tests/common/scriptedprompter.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace maincommands {

using Answer = Prompter::Answer;

// Stands in for an editor or a barograph window: takes its row from the hand-over when
// shown, keeps the row's flag, reports being shown and closed to the main window's enabling
// table as the real windows' signals do, and can refuse to close.
class StubRowWindow : public QMdiSubWindow, public CloseQuery {
public:
    StubRowWindow(TMainForm &form, bool graph) : m_link(form), m_form(form), m_graph(graph)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        form.workspaceArea()->addSubWindow(this);
    }
    bool refuseClose = false; ///< its own question is answered Cancel
    int questions = 0;

    bool queryClose() override
    {
        ++questions;
        return !refuseClose;
    }
    bool closeWithoutQuery() override
    {
        m_asked = true;
        return close();
    }

protected:
    void showEvent(QShowEvent *e) override
    {
        QMdiSubWindow::showEvent(e);
        if (m_row != -2)
            return;
        m_row = m_link.currentRow();
        if (m_row >= 1)
            flag() = true;
        if (m_graph)
            m_form.applyCommandEvent(CommandEvent::GraphLoaded);
        else
            m_form.applyCommandEvent(m_row < 0 ? CommandEvent::NewEditorShown : CommandEvent::EditorShown);
    }
    void closeEvent(QCloseEvent *e) override
    {
        if (!m_asked && !queryClose()) {
            e->ignore();
            return;
        }
        if (m_row >= 1)
            flag() = false;
        if (m_graph)
            m_form.applyCommandEvent(CommandEvent::GraphClosed);
        else
            m_form.applyCommandEvent(m_row < 0 ? CommandEvent::NewEditorClosed : CommandEvent::EditorClosed);
        QMdiSubWindow::closeEvent(e);
    }

private:
    bool &flag() { return m_graph ? m_link.logBook().row(m_row).graphOpen : m_link.logBook().row(m_row).editorOpen; }
    MainFormLink &m_link;
    TMainForm &m_form;
    bool m_graph;
    int m_row = -2;
    bool m_asked = false;
};

struct Fixture {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;

    Fixture()
    {
        for (const char *name : {"three-flights.log", "three-flights.lif", "damaged-inside-record.log", "empty.log"})
            QFile::copy(QStringLiteral(TEST_DATA_DIR "/logbook/") + QLatin1String(name), dir.filePath(name));
        form = std::make_unique<TMainForm>(std::make_unique<FileSettingsStore>(dir.filePath("cfg.conf")), &prompter);
        TMainForm &main = *form;
        form->setGraphWindowFactory([&main](MainFormLink &) { return new StubRowWindow(main, true); });
        form->setEditorWindowFactory([&main](MainFormLink &) { return new StubRowWindow(main, false); });
        form->show();
    }
    ~Fixture()
    {
        prompter.answers = {Answer::No, Answer::No, Answer::No};
        form->close();
    }

    void trigger(const char *name) { qobject_cast<QAction *>(form->command(QLatin1String(name)))->trigger(); }
    void click(const char *name) { qobject_cast<QToolButton *>(form->command(QLatin1String(name)))->click(); }
    bool enabled(const char *name) const { return form->isCommandEnabled(QLatin1String(name)); }
    LogBook &book() { return form->logBook(); }
    QString cell(int row, int column) { return form->logList()->model()->index(row - 1, column).data().toString(); }
    int gridRows() { return form->logList()->model()->gridRowCount(); }

    void openSample(const char *name = "three-flights.log")
    {
        prompter.files.push_back(dir.filePath(QLatin1String(name)));
        trigger("FileOpenItem");
    }
    bool recordCommands(bool state) const
    {
        for (const char *n : {"SBGraph", "SBEdit", "DeleteItem", "CutBtn", "MenuTotal", "SortByDate"}) {
            if (enabled(n) != state)
                return false;
        }
        return true;
    }
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace maincommands
