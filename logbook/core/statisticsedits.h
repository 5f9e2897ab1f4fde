// What the pilot sets for the statistics beyond the rows' own fields: flights left out of
// them (test flights, ground handling) and the flights and time carried over from before
// this log. The statistics window and the tool both take these rules from here; each
// change is one step of the log's history, named by what these return. QtCore only.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

class LogBook;

/// Leaves the flights in `rows` out of the statistics (`excluded`) or counts them again.
/// Returns the name of the history step ("統計から除外 2件"): empty when no row changed (then
/// the log is left as it was); otherwise the log is modified.
QString setExclusion(LogBook &book, const std::vector<int> &rows, bool excluded);
/// The statistics window's one button: when every flight in `rows` is left out already, they
/// count again; otherwise they are all left out. As setExclusion.
QString toggleExclusion(LogBook &book, const std::vector<int> &rows);

/// The most flights that can be carried over: more than any pilot's paper log book holds,
/// and within what the companion file's reader takes back.
inline constexpr int kMaxCarriedFlights = 999999;

/// Sets the flights (0 to kMaxCarriedFlights) and the flying time carried over. As setExclusion: the step's name,
/// empty when both were so already.
QString setCarriedOver(LogBook &book, int flights, qint64 seconds);

/// Reads a carried-over time as the one clock reader does, seconds optional ("H:MM" or
/// "H:MM:SS", up to five digits of hours, blanks around it); nothing at all is no time. std::nullopt when it is not such a time.
std::optional<qint64> readCarriedTime(QStringView text);
