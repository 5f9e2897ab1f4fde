// The read-only tables of the figure windows (statistics, currency): a row selected whole,
// filled from text rows, numbers right-aligned; and the bar that counts the barographs they
// are reading.
#pragma once

#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <vector>

class QProgressBar;
class QTableWidget;

/// A table with these column titles: not editable, a row selected whole, one at a time.
QTableWidget *newTable(std::initializer_list<QStringView> titles);
/// Fills `table` with `rows`; the columns in `textColumns` left-aligned, the others right.
void fill(QTableWidget *table, const std::vector<QStringList> &rows, std::initializer_list<int> textColumns = {0});

/// A hidden bar "バログラフを読んでいます done / total".
QProgressBar *newLookProgress();
/// Shows `done` of `total` barographs read.
void showLookProgress(QProgressBar *bar, int done, int total);
