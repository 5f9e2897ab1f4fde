// What the window tests read off the real main window: the log rows selected in its list, and
// the text of a table cell (empty where the cell has none).
#pragma once

#include "app/ui/mainform.h"
#include "logbook/ui/loglistwindow.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <QTableWidget>

#include <algorithm>
#include <vector>

/// The selected rows of the log list, 1-based, ascending.
inline std::vector<int> selectedLogRows(const TMainForm &form)
{
    return form.logList()->selectedRows();
}

inline QString cell(QTableWidget *t, int row, int column)
{
    return t->item(row, column) ? t->item(row, column)->text() : QString();
}
