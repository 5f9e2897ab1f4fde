// Operations on the flights of a log book that need no window: sorting by date and time,
// the duplicate check, and where a row's barograph file lies. QtCore only.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

class LogBook;

/// The sort key of a flight in minutes: (Y x 448 + M x 32 + D) x 1440 + h x 60 + m, with the
/// numbers read from "YY/MM/DD" and "HH:MM:SS" and years below 70 counted from 2000.
/// Seconds do not count. A text with fewer than three numbers uses those it has; the
/// missing ones count as 0.
qint64 flightSortKey(QByteArrayView date, QByteArrayView time);

/// Sorts the flights (rows 1 and up) by flightSortKey, keeping flights with equal keys in
/// their order. Returns true when two flights have the same key (a duplicate to report).
bool sortFlightsByDate(LogBook &book);

/// True when two flights have byte-equal `date` and `time` texts.
bool hasDuplicateDateTime(const LogBook &book);

/// A row's barograph file is a plain file name. Returns `folder` + that name, or nothing when
/// the name is empty or could reach outside the folder (a separator, a drive, "." or "..").
std::optional<QString> barographFilePath(const QString &folder, QByteArrayView barographFile);

/// The folder where Delete looks for a row's barograph file: the folder of the saved log,
/// or the work folder while the log has never been saved.
QString barographFolderForDelete(const LogBook &book);
