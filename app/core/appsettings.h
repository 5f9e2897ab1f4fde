// AppSettings: every persisted setting with its type and default, read once at start-up and
// written once at exit, plus the rules that turn them into the window's placement and the
// start folder. QtCore only.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

class SettingsStore;

struct AppSettings {
    // Printing
    qint32 monoPrint = 0;  ///< "MonoPrint": 0 colour print, 1 black-and-white print
    bool askPrint = false; ///< "AskPrint": true = do not ask for the print mode when printing

    // Main window placement
    qint32 windowState = 0;          ///< "WindowState": 0 normal, 1 minimized, 2 maximized
    bool windowStateStored = false;  ///< "WindowState" existed when read
    qint32 formTop = 0;              ///< "FormTop", pixels
    qint32 formLeft = 0;             ///< "FormLeft", pixels
    qint32 formHeight = 0;           ///< "FormHeight": default 7/10 of the screen, at most 750
    qint32 formWidth = 0;            ///< "FormWidth": default 7/10 of the screen, at most 1000

    // Instrument settings sent by the settings dialogs
    QByteArray flyerName;   ///< "FlyerName", cp932
    double rise = 0.1;      ///< "Rise", climb tone, m/s (0.1 to 4.0)
    double sink = 0.1;      ///< "Sink", sink tone, m/s (0.1 to 4.0)
    bool autoSet = false;   ///< "AutoSet"
    bool takeOff = false;   ///< "TakeOff", auto take-off
    qint32 sound = 0;       ///< "Sound", voice response choice (40, 50, 60, 70, 100)
    qint32 barGraph = 0;    ///< "BarGraph", bar-graph response choice
    qint32 numeric = 0;     ///< "Numeric", numeric display response choice
    qint32 sampling = 2;    ///< "Sampling": 0 = 1 s, 1 = 2 s, 2 = 4 s
    qint32 printer = 0;     ///< "Printer": 0 DPU-201, 1 DPU-411
    qint32 option1 = 0;     ///< "Option1": max altitude, wind speed, ALT2, ALT3
    bool barometer = false; ///< "Barometer"
    bool thermo = false;    ///< "Thermo"
    bool maxAlt = false;    ///< "MaxAlt"
    bool alt2 = false;      ///< "Alt2"
    bool alt3 = false;      ///< "Alt3"
    bool windV = false;     ///< "WindV"

    // Start folder
    qint32 ifDirSet = 0;            ///< "IfDirSet": 0 folder current at start, 1 "StartDir"
    bool dontAskDir = false;        ///< "DontAskdir": do not show the start-folder dialog
    std::optional<QString> startDir; ///< "StartDir", read only when "IfDirSet" is 1

    // Workspace background
    bool ifUseBmp = false;   ///< "IfUseBmp"
    bool ifScaleBmp = false; ///< "IfScaleBmp": stretch instead of tiling
    QString bmpFileName;     ///< "BmpFileName"

    // Serial port
    qint32 comPort = 1; ///< "ComPort": 1 to 4 for COM1 to COM4; other values tick nothing
    /// "ComDevice": the device chosen outside COM 1 to 4 (a USB adapter, a typed path, the
    /// simulator); empty when one of COM 1 to 4 is chosen.
    QString comDevice;
    /// "ComTypedDevice": the device path last typed in, offered again in the port menu
    /// whichever port is chosen.
    QString comTypedDevice;
    /// "TrafficTrace": a file that every byte to and from the instrument is appended to,
    /// with its time, for diagnosing a troublesome cable; empty (the default) records nothing.
    QString trafficTrace;

    // IGC export of barograph-only flights
    qint32 igcUtcOffsetMinutes = 9 * 60; ///< "IgcUtcOffset": the instrument's clock ahead of UTC, minutes
    QString sitesFile;                   ///< "SitesFile": the flying sites (SeeYou CUP) file
    /// "ImportUtcOffset": the zone the import gives flights' dates and times in, minutes ahead
    /// of UTC, stored as the tool's --utc-offset takes it ("+9"); none (stored empty, or text
    /// that is no offset): the computer's time zone.
    std::optional<qint32> importUtcOffsetMinutes;

    // Not persisted: the two send delays of the settings upload, for this run only.
    int sendDelayMs = 120;
    int sendDelayCharMs = 10;
};

/// Reads every value; a missing value, or one of another type, takes its default.
/// `screen` is the primary screen's size in pixels (for the default window size).
AppSettings readAppSettings(const SettingsStore &store, QSize screen);

/// Writes every value unconditionally, in the order the program has always written them.
/// `startDir` is the current work folder.
void writeAppSettings(SettingsStore &store, const AppSettings &settings, const QString &startDir);

struct Placement {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    int windowState = 0; ///< 0 normal, 1 minimized, 2 maximized
};

/// The main window's placement: the stored bounds, except on a first run (no "WindowState")
/// with a window below 640 x 480, which opens maximized with a restored size of 640 x 460.
Placement decidePlacement(const AppSettings &settings);

/// The start folder, absolute and clean, with a trailing '/': "StartDir" when "IfDirSet" is 1
/// and that folder exists (a relative one taken from `currentFolder`), otherwise
/// `currentFolder`. `missing`, when given, receives the stored folder that was wanted but does
/// not exist (empty when none was).
QString decideWorkFolder(const AppSettings &settings, const QString &currentFolder, QString *missing = nullptr);

/// `folder` as an absolute, clean path without a trailing separator (the root keeps its
/// own); a relative folder is taken from `base`. Folder lists and the start-up compare
/// folders by their text, so every folder they are given passes through here first.
QString absoluteFolder(const QString &folder, const QString &base);

/// "StartDir" and "BmpFileName" hold at most this many bytes (a folder with its final
/// separator, a picture's full path).
inline constexpr int kPathSettingMaxBytes = 127;

/// True when `path` fits "StartDir" or "BmpFileName", counted in the bytes the file system
/// names it with.
bool fitsPathSetting(const QString &path);
