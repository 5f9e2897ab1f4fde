// A MainFormLink for window tests without the main window: a log book, a scripted
// prompter, a workspace, and a record of what the windows asked of it.
#pragma once

#include "logbook/core/logbook.h"
#include "logbook/ui/mainformlink.h"
#include "tests/common/scriptedprompter.h"

#include <QMdiArea>
#include <QStringList>

class FakeMainFormLink : public MainFormLink {
public:
    LogBook book;
    ScriptedPrompter prompts;
    QMdiArea area;
    int row = -1;            ///< what currentRow() answers
    int gridRows = 2;
    QStringList events;      ///< "redrawGrid", "refreshRow 3", ... in order
    QList<int> openedGraphs; ///< rows passed to openGraphWindow()

    FakeMainFormLink() { area.resize(1000, 700); }

    LogBook &logBook() override { return book; }
    Prompter &prompter() override { return prompts; }
    QWidget *frameWindow() override { return &area; }
    QMdiArea *workspaceArea() override { return &area; }
    int currentRow() const override { return row; }
    void setGridRowCount(int rows) override { gridRows = rows; events << QStringLiteral("setGridRowCount %1").arg(rows); }
    void redrawGrid() override
    {
        book.renumber();
        events << QStringLiteral("redrawGrid");
    }
    void refreshRow(int r) override { events << QStringLiteral("refreshRow %1").arg(r); }
    void openGraphWindow(int r) override { openedGraphs << r; }
    void logChanged() override { events << QStringLiteral("logChanged"); }
};
