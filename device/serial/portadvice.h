// What to tell the user when a serial port will not open, and the stable names of the ports
// the system lists. On Linux the usual causes are a user outside the device's group (often
// "dialout", or in it only since the last login), the port held by another program
// (ModemManager probes new modems; brltty takes some USB adapters for braille displays and
// the device vanishes), or the device missing. The decisions are pure functions of what was
// found on the machine, so they can be tested anywhere.
#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <vector>

/// What was found about a device and the machine when it would not open.
struct PortFacts {
    bool exists = false;          ///< the path names something
    bool accessible = false;      ///< this process may read and write it
    QString group;                ///< the device's group ("dialout"); empty if unknown
    bool listedInGroup = false;   ///< the user is a member of that group in the group file
    bool processInGroup = false;  ///< this process already has that group
    QStringList portPrograms;     ///< running programs that take serial ports: "ModemManager", "brltty"
};

/// Looks at the device and the running programs (Linux; elsewhere only whether it exists).
PortFacts inspectPort(const QString &device);

/// The advice for a port that would not open: one or two lines saying what to do.
/// `systemText` is the platform's own words, used when nothing better is known.
QString openAdvice(QSerialPort::SerialPortError error, const QString &device, const PortFacts &facts,
                   const QString &systemText);

/// openAdvice with the facts of this machine.
QString openFailureAdvice(QSerialPort::SerialPortError error, const QString &device, const QString &systemText);

/// A link in /dev/serial/by-id and the device it points to ("/dev/ttyUSB0").
struct StableName {
    QString link;
    QString target;
};

/// The links in /dev/serial/by-id on this machine (none elsewhere).
std::vector<StableName> stableSerialNames();
