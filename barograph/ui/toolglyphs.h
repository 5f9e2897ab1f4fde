// The pictures of the barograph tool windows' buttons, drawn rather than shipped as files.
#pragma once

#include <QIcon>
#include <QPoint>
#include <QStringView>

#include <utility>

class QDialog;
class QPushButton;
class QToolButton;
class QWidget;

enum class Glyph { Previous, Next, Zoom, Cursor, HeightAdjust, CutLeft, CutRight, Print, Close, Left, Right, Up, Down };

QIcon glyphIcon(Glyph glyph);
/// A flat 24 x 24 button at `at` with a glyph and a hint, never taking the focus.
QToolButton *glyphButton(QWidget *parent, const char *name, QPoint at, QStringView hint, Glyph glyph);

/// A dialog's OK ("BitBtn1", the default) and Cancel ("BitBtn2") buttons, `width` wide, the
/// second 40 pixels below the first, wired to accept and reject.
std::pair<QPushButton *, QPushButton *> okCancelButtons(QDialog *dialog, QPoint ok, int width);
