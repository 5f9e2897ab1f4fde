// What the log list and the totals window share: the grid's look (nine columns with their
// widths and titles, 18-pixel rows, columns the user can widen), and line edits that keep
// to a field's width in cp932 bytes.
#pragma once

#include <QString>

class QLineEdit;
class QTableView;

/// The title of a column of the log list ("" for column 0).
QString logColumnTitle(int column);

/// Gives a grid the log list's columns and rows. Its model must have the nine columns.
void setUpLogGrid(QTableView *grid);

/// Cuts an edit's text to `maxBytes` cp932 bytes, on a character boundary, keeping the caret
/// where it was. Returns true when it cut. Connect to textEdited: typing and pasting alike.
bool keepCp932Bytes(QLineEdit *edit, int maxBytes);
