// A small text file of the instrument's parameters and option displays, so that a pilot with
// two instruments, or a club setting up many, can keep a set and load it back. Loading only
// fills the dialogs; nothing is ever sent by it. QtCore only.
//
//   # DUVAZI instrument settings
//   Rise=1.5
//   Sink=0.3
//   AutoSet=0          (0 or 1; likewise TakeOff and the six option items)
//   Sound=4            (the dialogs' choice indexes)
//   ...
// ASCII only, one "Name=value" a line; a file holds the parameters, the options or both.
#pragma once

#include "device/core/instrumentsettings.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

struct InstrumentSettingsFile {
    std::optional<ParameterSettings> parameters;
    std::optional<OptionSettings> options;
};

/// The file image of the settings given.
QByteArray buildInstrumentSettingsFile(const InstrumentSettingsFile &settings);

/// Why a file was refused: the line (1-based) and what is wrong with it.
struct SettingsFileError {
    int line = 0;
    QString reason;
};

/// The largest settings file read: a few hundred bytes are written.
inline constexpr qint64 kMaxSettingsFileBytes = 64 * 1024;

/// Parses a file image. Every line must be a comment, blank, or a known name with a value
/// the instrument takes (a threshold in 0.1 steps, as the dialog sends it); a group
/// (parameters, options) is taken only when all its names are given. What is taken writes
/// back (buildInstrumentSettingsFile) to a file that reads as the same values.
std::variant<InstrumentSettingsFile, SettingsFileError> parseInstrumentSettingsFile(QByteArrayView image);

/// Reads and parses a settings file from disk: a file that cannot be read (not a regular
/// file, larger than kMaxSettingsFileBytes) gives line 0 and the reason with the path.
std::variant<InstrumentSettingsFile, SettingsFileError> readInstrumentSettingsFile(const QString &path);
