// What the statistics of a log need beyond its rows: the flights the pilot left out, the
// time carried over from before the log, and how much each flight with a barograph climbed.
// The statistics window and duvazi-tool build them the same way, here. QtCore only.
#pragma once

#include "logbook/core/companion.h"
#include "logbook/core/statistics.h"

#include <QString>

class LogBook;

/// The inputs of `book`'s statistics, its barographs read from `folder`. A barograph's
/// climbing comes from `cache` when the file's name, size and time match an entry, or when
/// its content does (a renamed file); only other files are analysed, and added to `cache`.
/// The returned inputs refer to `book` and to figures copied out of the cache.
StatisticsInputs statisticsInputs(const LogBook &book, const QString &folder,
                                  std::map<QByteArray, Companion::Analysis> &cache);
