// The one way a figure is measured before it is drawn: in the font it is drawn in, on the
// device it is drawn on. The log list sizes its number columns with it, the printed log
// book its columns, the charts their margins and labels, and the barograph's label layout
// takes its TextMeasure; so no figure is placed by a guessed width and cut to "1004:5…".
// QtGui only.
#pragma once

#include "logbook/core/text/textmeasure.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPaintDevice;

/// How `font` draws on `device` (null: the screen), for the core layouts. Measured in
/// floating point and rounded up, a pixel to spare, so that a page drawn at a printer's
/// resolution, whose advances are not whole pixels, still stays in its box.
TextMeasure measuredIn(const QFont &font, const QPaintDevice *device = nullptr);

/// The widest advance of `texts` in `font` on `device` (null: the screen), rounded up.
int widestAdvance(const QFont &font, const QStringList &texts, const QPaintDevice *device = nullptr);

/// Of `count` texts (`textAt(i)`, i from 0), those that can be the widest: measuring every
/// cell of 20,000 rows would stall a window, and since a figure's characters differ little
/// in width only the texts at most one character shorter than the longest can be (at most
/// 64 of them are kept).
QStringList widestCandidates(qsizetype count, const std::function<QString(qsizetype)> &textAt);
