// Runs the download procedures from an event loop: the link's events, the pacer's wake-ups
// and the load timer's ticks each run as a command, so an exception is reported once and
// never crosses the event loop. Used by the windows and by the command-line tool.
// QtCore only.
#pragma once

#include <QMetaObject>

#include <chrono>

class Downloader;
class Prompter;
class QTimer;
class SerialLink;
class TimerPacer;

/// The load timer's interval whenever it is armed.
inline constexpr std::chrono::milliseconds kLoadTimerInterval{300};

/// Connects `link`, `pacer` and `loadTimer` to `downloader`; failures are reported through
/// `prompter`. The link's and pacer's callbacks are replaced. Returns the timer's
/// connection, which the caller ends (QObject::disconnect) before the downloader goes.
QMetaObject::Connection connectDownloader(Downloader &downloader, SerialLink &link, TimerPacer &pacer, QTimer &loadTimer,
                       Prompter &prompter);
