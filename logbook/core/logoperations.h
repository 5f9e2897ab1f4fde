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

/// What keeps a text from being a row's barograph name (None: nothing).
enum class BarographNameFault {
    None,
    Path,          ///< empty, ".", "..", or a separator or drive in it: a path, not a name
    Character,     ///< a control character, or bytes that are not cp932
    LogFile,       ///< ends as a log, its name file or its companion does
    SystemName,    ///< a device's name (NUL, COM1...) or a trailing "." or blank, which
                   ///< Windows drops, so that it names another file
    OutsideFolder, ///< a link in the folder to a file elsewhere, or to the log's own files
};

/// The one rule for the barograph name a row keeps (its stored cp932 bytes): a plain file
/// name in the work folder that can only ever be a barograph. Import, the editor and the
/// downloads refuse what breaks it; everything that reads, writes or deletes a row's
/// barograph goes through barographPath, which applies it. A row naming its log would
/// otherwise have Delete take the log away with the flight.
BarographNameFault barographNameFault(QByteArrayView barographFile);

/// Why a row cannot keep `barographFile`, in the pilot's words (names the file).
QString barographNameRefusal(QByteArrayView barographFile, BarographNameFault fault);

/// The path of a row's barograph file in `folder`: the folder followed by the plain name.
/// When no file of exactly that name exists but one differing only in letter case does (a
/// log carried over from a case-blind file system), that one is taken. std::nullopt when
/// the name breaks barographNameFault, or when what stands there is a link leading out of
/// the folder (the writer writes through links); the fault then goes to `fault`.
std::optional<QString> barographPath(const QString &folder, QByteArrayView barographFile,
                                     BarographNameFault *fault = nullptr);

/// The folder where a row's barograph file lives: the work folder, where the viewer reads
/// it, the downloads write it and Delete removes it.
QString barographFolder(const LogBook &book);

/// The rows other than `row` whose barograph is the same file as `row`'s.
QList<int> rowsSharingBarograph(const LogBook &book, int row);
