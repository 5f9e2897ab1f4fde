// Reading a file that comes from outside the program (a log, a CSV, a barograph, a sites or
// settings file) whole into memory, bounded: the one way every reader takes in its file.
// QtCore only.
//
// Only a regular file is read. A named pipe, a device such as /dev/zero or a folder is
// refused at once, without blocking, and a file larger than its format can hold is refused
// before anything is read: a reader never grows until the program runs out of memory.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/// Why a file could not be read: the file and the system's reason.
struct ReadFailure {
    QString path;     ///< as given, in the system's notation
    int error = 0;    ///< the errno value (EFBIG: larger than `limit`; kNotRegularFile)
    qint64 limit = 0; ///< the largest size the reader takes, in bytes

    /// The reason in the program's own words, with the path: the second line of a message
    /// whose first line says which file could not be opened.
    QString reason() const;
};

/// Reads the whole regular file at `path` when it holds at most `maxBytes` bytes (a symbolic
/// link is followed); std::nullopt otherwise, with the reason in `why` when given.
std::optional<QByteArray> readInputFile(const QString &path, qint64 maxBytes, ReadFailure *why = nullptr);
