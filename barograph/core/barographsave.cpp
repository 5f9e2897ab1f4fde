// Saving a changed barograph.
#include "barographsave.h"

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightstats.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/core/fieldformats.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

std::optional<FileImage> barographImage(const QString &path, const BarographFile &file, const QString &workFolder)
{
    QByteArray image = buildBarographImage(file);
    const std::optional<QByteArray> old = readInputFile(path, image.size());
    if (old && *old == image)
        return std::nullopt; // already there: nothing to replace, nothing to back up
    return FileImage{path, std::move(image), true, backupFolder(workFolder)};
}

std::optional<WriteFailure> saveBarographFile(const QString &path, const BarographFile &file,
                                              const QString &workFolder, const WriteOptions &options)
{
    std::optional<FileImage> image = barographImage(path, file, workFolder);
    if (!image)
        return std::nullopt;
    WriteOptions write = options;
    if (write.backup)
        image->backupFolder.clear(); // the caller's rule decides
    else
        write.backup = BackupRule{backupFolder(workFolder), 10, {}};
    return writeFiles({std::move(*image)}, write);
}

std::optional<QByteArray> recordFileName(const QString &chosenPath)
{
    const QString name = QFileInfo(QDir::fromNativeSeparators(chosenPath)).fileName();
    if (!cp932::canEncode(name))
        return std::nullopt;
    QByteArray bytes = cp932::fromUnicode(name);
    if (barographNameFault(bytes) != BarographNameFault::None || bytes.size() > fieldWidth(Field::BarographFile) - 1)
        return std::nullopt;
    QByteArray upper = bytes;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(upper[i]);
        if (cp932::isLeadByte(c))
            ++i; // its trail byte may look like a lower-case letter
        else if (c >= 'a' && c <= 'z')
            upper[i] = char(c - 'a' + 'A');
    }
    // Where letter case matters, the upper-case name may be another file already: the
    // record would then name that one instead of the file saved.
    const QString upperPath = folderOf(QDir::fromNativeSeparators(chosenPath)) + cp932::toUnicode(upper);
    if (upper != bytes && QFileInfo::exists(upperPath) && !isSameFile(upperPath, chosenPath))
        return bytes;
    return upper;
}

void writeFlightBack(FlightRecord &record, qint32 takeoffSeconds, const FlightStats &stats)
{
    record.time = numtext::clockText(takeoffSeconds);
    record.duration = numtext::clockText(stats.flightSeconds);
    // Half a metre away from zero, on either side of it: adding 0.5 and cutting toward zero
    // would write -10.4 m as -009 m.
    record.maxAltitude = fieldformat::altitudeText(qint64(std::round(double(stats.peakAltitude))));
    record.maxClimb = fieldformat::climbText(stats.peakClimb);
}

QString downloadedCopyPath(const QString &workFolder, const FlightRecord &row)
{
    if (!row.downloaded || row.downloaded->raw.isEmpty() || QDir::isAbsolutePath(row.downloaded->raw))
        return QString();
    const QString folder = QDir::cleanPath(workFolder);
    const QString path = QDir::cleanPath(folder + u'/' + row.downloaded->raw);
    return path.startsWith(folder + u'/') ? path : QString();
}

bool setFiguresFromBarograph(FlightRecord &row, QByteArrayView image, qint32 takeoffSeconds,
                             const QString &workFolder)
{
    if (const QString raw = downloadedCopyPath(workFolder, row); !raw.isEmpty()) {
        const std::optional<QByteArray> downloaded = readInputFile(raw, image.size());
        if (downloaded && QByteArrayView(*downloaded) == image) {
            for (Field f : {Field::Time, Field::Duration, Field::MaxAltitude, Field::MaxClimb})
                row.setField(f, row.downloaded->fields[size_t(f)]);
            return true;
        }
    }
    std::optional<BarographFile> file = parseBarographFile(image);
    if (!file)
        return false;
    writeFlightBack(row, takeoffSeconds, computeFlightStats(BarographTrace::fromFile(std::move(*file))));
    return true;
}
