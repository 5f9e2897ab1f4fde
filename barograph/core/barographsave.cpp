// Saving a changed barograph.
#include "barographsave.h"

#include "barograph/core/flightstats.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/fieldformats.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

bool isSameBarographPath(const QString &a, const QString &b)
{
    return QDir::fromNativeSeparators(a).compare(QDir::fromNativeSeparators(b), Qt::CaseInsensitive) == 0;
}

bool saveBarographFile(const QString &chosenPath, const BarographFile &file, const QString &readPath,
                       const QString &workFolder)
{
    QDir().mkpath(backupFolder(workFolder));
    const QString backup = backupFolder(workFolder) + u'/' + QFileInfo(readPath).fileName();
    bool backedUp = false;
    return writeBarographFile(
        chosenPath, file,
        [&] {
            // Only now, with the new file complete beside it, does the old one go into "bak".
            backedUp = isSameBarographPath(chosenPath, readPath) && QFileInfo::exists(readPath)
                && moveToBackup(readPath, workFolder);
        },
        [&] {
            if (backedUp)
                QFile::rename(backup, readPath); // put the old file back where it was
        });
}

std::optional<QByteArray> recordFileName(const QString &chosenPath)
{
    const QString name = QFileInfo(QDir::fromNativeSeparators(chosenPath)).fileName();
    // The same plain names the lookup in the work folder takes.
    if (name.isEmpty() || name.contains(u'\\') || name.contains(u':') || !cp932::canEncode(name))
        return std::nullopt;
    QByteArray bytes = cp932::fromUnicode(name);
    if (bytes.size() > fieldWidth(Field::BarographFile) - 1)
        return std::nullopt;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (cp932::isLeadByte(c))
            ++i; // its trail byte may look like a lower-case letter
        else if (c >= 'a' && c <= 'z')
            bytes[i] = char(c - 'a' + 'A');
    }
    return bytes;
}

qint32 takeoffSecondsOf(QByteArrayView time)
{
    const auto from = [time](qsizetype i) { return i < time.size() ? qint64(numtext::toInt(time.sliced(i))) : 0; };
    // A damaged time cannot overflow; real ones are far inside.
    return qint32(std::clamp(from(0) * 3600 + from(3) * 60 + from(6), -(qint64(1) << 30), qint64(1) << 30));
}

void writeFlightBack(FlightRecord &record, qint32 takeoffSeconds, const FlightStats &stats)
{
    record.time = numtext::clockText(takeoffSeconds);
    record.duration = numtext::clockText(stats.flightSeconds);
    record.maxAltitude = fieldformat::altitudeText(qint64(std::trunc(double(stats.peakAltitude) + 0.5)));
    record.maxClimb = fieldformat::climbText(stats.peakClimb);
}
