// Connecting the download procedures to the event loop.
#include "downloadwiring.h"

#include "device/core/commerror.h"
#include "device/core/downloader.h"
#include "device/core/seriallink.h"
#include "device/core/timerpacer.h"

#include <QTimer>

QMetaObject::Connection connectDownloader(Downloader &downloader, SerialLink &link, TimerPacer &pacer,
                                          QTimer &loadTimer, Prompter &prompter)
{
    link.onReceived = [&downloader, &prompter](int waiting) {
        runCommand(prompter, [&] { downloader.Comm1CommReceive(waiting); });
    };
    link.onSent = [&downloader] { downloader.Comm1CommSent(); };
    link.onFailed = [&downloader, &prompter](const ECommError &error) {
        downloader.linkFailed(error);
        reportCommError(prompter, error);
    };
    pacer.onWake = [&downloader, &prompter] { runCommand(prompter, [&] { downloader.tick(); }); };
    return QObject::connect(&loadTimer, &QTimer::timeout, &loadTimer,
                     [&downloader, &prompter] { runCommand(prompter, [&] { downloader.TimerLoadTimer(); }); });
}
