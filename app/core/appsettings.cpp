// Reading, writing and interpreting AppSettings.
#include "appsettings.h"

#include "app/core/settingsstore.h"
#include "barograph/core/igcexport.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

template<typename T, typename Read>
void readInto(T &target, Read &&read)
{
    if (auto v = read())
        target = *v;
}

} // namespace

AppSettings readAppSettings(const SettingsStore &store, QSize screen)
{
    AppSettings s;
    const auto readInt = [&](const char *name, qint32 &target) {
        readInto(target, [&] { return store.readInt(QLatin1String(name)); });
    };
    const auto readBool = [&](const char *name, bool &target) {
        readInto(target, [&] { return store.readBool(QLatin1String(name)); });
    };
    const auto readDouble = [&](const char *name, double &target) {
        readInto(target, [&] { return store.readDouble(QLatin1String(name)); });
    };

    readInt("MonoPrint", s.monoPrint);
    readBool("AskPrint", s.askPrint);

    if (auto v = store.readInt(QStringLiteral("WindowState"))) {
        s.windowState = *v;
        s.windowStateStored = true;
    }
    s.formHeight = qMin(screen.height() * 7 / 10, 750);
    s.formWidth = qMin(screen.width() * 7 / 10, 1000);
    readInt("FormTop", s.formTop);
    readInt("FormLeft", s.formLeft);
    readInt("FormHeight", s.formHeight);
    readInt("FormWidth", s.formWidth);

    if (auto v = store.readString(QStringLiteral("FlyerName")))
        s.flyerName = cp932::fromUnicode(*v);
    readDouble("Rise", s.rise);
    readDouble("Sink", s.sink);
    readBool("AutoSet", s.autoSet);
    readBool("TakeOff", s.takeOff);
    readInt("Sound", s.sound);
    readInt("BarGraph", s.barGraph);
    readInt("Numeric", s.numeric);
    readInt("Sampling", s.sampling);
    readInt("Printer", s.printer);
    readInt("Option1", s.option1);
    readBool("Barometer", s.barometer);
    readBool("Thermo", s.thermo);
    readBool("MaxAlt", s.maxAlt);
    readBool("Alt2", s.alt2);
    readBool("Alt3", s.alt3);
    readBool("WindV", s.windV);
    readInt("IfDirSet", s.ifDirSet);
    readBool("DontAskdir", s.dontAskDir);
    if (s.ifDirSet == 1)
        s.startDir = store.readString(QStringLiteral("StartDir"));

    readBool("IfUseBmp", s.ifUseBmp);
    readBool("IfScaleBmp", s.ifScaleBmp);
    if (auto v = store.readString(QStringLiteral("BmpFileName")))
        s.bmpFileName = *v;
    readInt("ComPort", s.comPort);
    if (auto v = store.readString(QStringLiteral("ComDevice")))
        s.comDevice = *v;
    if (auto v = store.readString(QStringLiteral("ComTypedDevice")))
        s.comTypedDevice = *v;
    if (auto v = store.readString(QStringLiteral("TrafficTrace")))
        s.trafficTrace = *v;
    readInt("IgcUtcOffset", s.igcUtcOffsetMinutes);
    if (auto v = store.readString(QStringLiteral("SitesFile")))
        s.sitesFile = *v;
    if (auto v = store.readString(QStringLiteral("ImportUtcOffset")))
        s.importUtcOffsetMinutes = parseUtcOffset(*v);
    return s;
}

void writeAppSettings(SettingsStore &store, const AppSettings &s, const QString &startDir)
{
    store.writeInt(QStringLiteral("MonoPrint"), s.monoPrint);
    store.writeBool(QStringLiteral("AskPrint"), s.askPrint);
    store.writeInt(QStringLiteral("WindowState"), s.windowState);
    store.writeInt(QStringLiteral("FormTop"), s.formTop);
    store.writeInt(QStringLiteral("FormLeft"), s.formLeft);
    store.writeInt(QStringLiteral("FormHeight"), s.formHeight);
    store.writeInt(QStringLiteral("FormWidth"), s.formWidth);
    store.writeInt(QStringLiteral("ComPort"), s.comPort);
    store.writeString(QStringLiteral("FlyerName"), cp932::toUnicode(s.flyerName));
    store.writeDouble(QStringLiteral("Rise"), s.rise);
    store.writeDouble(QStringLiteral("Sink"), s.sink);
    store.writeBool(QStringLiteral("AutoSet"), s.autoSet);
    store.writeBool(QStringLiteral("TakeOff"), s.takeOff);
    store.writeInt(QStringLiteral("Sound"), s.sound);
    store.writeInt(QStringLiteral("BarGraph"), s.barGraph);
    store.writeInt(QStringLiteral("Numeric"), s.numeric);
    store.writeInt(QStringLiteral("Sampling"), s.sampling);
    store.writeInt(QStringLiteral("Printer"), s.printer);
    store.writeInt(QStringLiteral("Option1"), s.option1);
    store.writeBool(QStringLiteral("Barometer"), s.barometer);
    store.writeBool(QStringLiteral("Thermo"), s.thermo);
    store.writeBool(QStringLiteral("MaxAlt"), s.maxAlt);
    store.writeBool(QStringLiteral("Alt2"), s.alt2);
    store.writeBool(QStringLiteral("Alt3"), s.alt3);
    store.writeBool(QStringLiteral("WindV"), s.windV);
    store.writeInt(QStringLiteral("IfDirSet"), s.ifDirSet);
    store.writeBool(QStringLiteral("DontAskdir"), s.dontAskDir);
    store.writeString(QStringLiteral("StartDir"), QDir::toNativeSeparators(startDir));
    store.writeBool(QStringLiteral("IfUseBmp"), s.ifUseBmp);
    store.writeBool(QStringLiteral("IfScaleBmp"), s.ifScaleBmp);
    store.writeString(QStringLiteral("BmpFileName"), s.bmpFileName);
    store.writeString(QStringLiteral("ComDevice"), s.comDevice);
    store.writeString(QStringLiteral("ComTypedDevice"), s.comTypedDevice);
    store.writeString(QStringLiteral("TrafficTrace"), s.trafficTrace);
    store.writeInt(QStringLiteral("IgcUtcOffset"), s.igcUtcOffsetMinutes);
    store.writeString(QStringLiteral("SitesFile"), s.sitesFile);
    store.writeString(QStringLiteral("ImportUtcOffset"),
                      s.importUtcOffsetMinutes ? utcOffsetText(*s.importUtcOffsetMinutes) : QString());
}

Placement decidePlacement(const AppSettings &s)
{
    Placement p{s.formTop, s.formLeft, s.formHeight, s.formWidth, s.windowState};
    if (!s.windowStateStored && (p.height < 480 || p.width < 640)) {
        p.width = 640;
        p.height = 460;
        p.windowState = 2;
    }
    return p;
}

QString absoluteFolder(const QString &folder, const QString &base)
{
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(base)).absoluteFilePath(QDir::fromNativeSeparators(folder)));
}

QString decideWorkFolder(const AppSettings &s, const QString &currentFolder, QString *missing)
{
    const QString current = absoluteFolder(currentFolder, QDir::currentPath());
    if (s.ifDirSet == 1 && s.startDir && !s.startDir->isEmpty()) {
        const QString folder = absoluteFolder(*s.startDir, current);
        if (QFileInfo(folder).isDir())
            return withTrailingSlash(folder);
        if (missing)
            *missing = folder;
    }
    return withTrailingSlash(current);
}

bool fitsPathSetting(const QString &path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path)).size() <= kPathSettingMaxBytes;
}
