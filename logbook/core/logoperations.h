// Operations on the flights of a log book that need no window: sorting by date and time,
// the duplicate check, and where a row's barograph file lies. QtCore only.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

class LogBook;

/// The sort key of a flight in minutes: (Y x 448 + M x 32 + D) x 1440 + h x 60 + m, with Y
/// the full year less 1900 and the numbers read by numtext::readDate (a date with fewer than
/// three numbers uses those it has, the missing ones 0; one without a year is year 0) and
/// fieldformat::secondsOf (a time it cannot read is 00:00). Seconds do not count.
qint64 flightSortKey(QByteArrayView date, QByteArrayView time);

/// Sorts the flights (rows 1 and up) by flightSortKey, keeping flights with equal keys in
/// their order. Returns true when two flights have the same key (a duplicate to report).
bool sortFlightsByDate(LogBook &book);

/// True when two flights have byte-equal `date` and `time` texts.
bool hasDuplicateDateTime(const LogBook &book);

/// The one rule for the barograph file name a row keeps: a plain file name (no separator,
/// drive, "." or "..", no control character) whose bytes are cp932. Everything that reads,
/// writes or deletes a row's barograph goes through barographPath.
bool isPlainBarographName(const QString &name);

/// The path of a row's barograph file in `folder`: the folder followed by the plain name.
/// When no file of exactly that name exists but one differing only in letter case does (a
/// log carried over from a case-blind file system), that one is taken. std::nullopt when
/// the name breaks isPlainBarographName.
std::optional<QString> barographPath(const QString &folder, QByteArrayView barographFile);

/// The folder where a row's barograph file lives: the work folder, where the viewer reads
/// it, the downloads write it and Delete removes it.
QString barographFolder(const LogBook &book);

/// The rows other than `row` whose barograph is the same file as `row`'s.
QList<int> rowsSharingBarograph(const LogBook &book, int row);
