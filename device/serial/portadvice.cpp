// Open failures explained, and stable port names.
#include "portadvice.h"

#include "device/core/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_LINUX
/// The programs among `wanted` that are running, by their process names.
QStringList runningPrograms(const QStringList &wanted)
{
    QStringList found;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        if (!pid.front().isDigit())
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromLocal8Bit(comm.readAll()).trimmed();
        if (wanted.contains(name) && !found.contains(name))
            found << name;
    }
    return found;
}
#endif

} // namespace

PortFacts inspectPort(const QString &device)
{
    PortFacts facts;
    facts.exists = QFileInfo::exists(device);
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    facts.accessible = facts.exists && ::access(path.constData(), R_OK | W_OK) == 0;
    struct stat st {};
    if (facts.exists && ::stat(path.constData(), &st) == 0) {
        if (const group *g = ::getgrgid(st.st_gid)) {
            facts.group = QString::fromLocal8Bit(g->gr_name);
            const passwd *me = ::getpwuid(::getuid());
            for (char **member = g->gr_mem; me && member && *member; ++member)
                facts.listedInGroup = facts.listedInGroup || qstrcmp(*member, me->pw_name) == 0;
            facts.listedInGroup = facts.listedInGroup || (me && me->pw_gid == st.st_gid);
        }
        gid_t groups[256];
        const int n = ::getgroups(256, groups);
        for (int i = 0; i < n; ++i)
            facts.processInGroup = facts.processInGroup || groups[i] == st.st_gid;
        facts.processInGroup = facts.processInGroup || ::getegid() == st.st_gid;
    }
#endif
#ifdef Q_OS_LINUX
    facts.portPrograms = runningPrograms({QStringLiteral("ModemManager"), QStringLiteral("brltty")});
#endif
    return facts;
}

QString openAdvice(QSerialPort::SerialPortError error, const QString &device, const PortFacts &facts,
                   const QString &systemText)
{
    const bool brltty = facts.portPrograms.contains(QStringLiteral("brltty"));
    const bool modemManager = facts.portPrograms.contains(QStringLiteral("ModemManager"));
    if (error == QSerialPort::DeviceNotFoundError || !facts.exists) {
        QString text = msg::PortNotFound.toString().arg(device);
        if (brltty)
            text += u'\n' + msg::PortTakenByBrltty.toString();
        return text;
    }
    if (error == QSerialPort::PermissionError) {
        // The same error stands for a device this user may not open and for one another
        // program holds (its lock file, or exclusive use); only the first is cured by a group.
        if (!facts.accessible) {
            if (facts.listedInGroup && !facts.processInGroup && !facts.group.isEmpty())
                return msg::PortNeedsNewLogin.toString().arg(device, facts.group);
            return msg::PortPermissionDenied.toString().arg(device);
        }
        QString text = msg::PortInUse.toString().arg(device);
        if (modemManager)
            text += u'\n' + msg::PortHeldByModemManager.toString();
        return text;
    }
    return msg::PortOpenFailed.toString().arg(device, systemText);
}

QString openFailureAdvice(QSerialPort::SerialPortError error, const QString &device, const QString &systemText)
{
    return openAdvice(error, device, inspectPort(device), systemText);
}

std::vector<StableName> stableSerialNames()
{
    std::vector<StableName> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty())
            names.push_back({link.absoluteFilePath(), target});
    }
    return names;
}
