// Which device a port choice opens. QtCore only.
//
// "COM 1" to "COM 4" (setting "ComPort" 1 to 4) are the first four built-in serial ports:
// COM1..COM4 on Windows, /dev/ttyS0../dev/ttyS3 on Linux and other POSIX systems. A device
// chosen from the list of ports the system reports, or typed in, is kept as its name
// (setting "ComDevice") and wins over "ComPort". The simulated instrument has a name of its
// own that no device can have.
#pragma once

#include <QString>

/// The device name that stands for the simulated instrument.
inline const QString kSimulatorDevice = QStringLiteral("simulator");

/// The device of port number `port` ("COM N").
inline QString comDeviceName(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

/// The device a transfer opens: `comDevice` when one was chosen, else port `comPort`.
inline QString portDevice(int comPort, const QString &comDevice)
{
    return comDevice.isEmpty() ? comDeviceName(comPort) : comDevice;
}
