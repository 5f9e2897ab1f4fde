// Where a download's barographs go: the name each gets (a free one when another flight's
// file holds it), the raw copy kept as it came, the write; and which downloaded flights the
// log holds already.
#include "downloader.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsave.h"
#include "device/core/messages.h"
#include "logbook/core/filereader.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/text/cp932.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <unordered_map>

std::vector<bool> flightsAlreadyInLog(const LogBook &book, const std::vector<FlightRecord> &flights)
{
    // The few downloaded flights are hashed, and the log's rows looked up among them: one
    // pass over the log, nothing allocated per row. A row downloaded here is known by what
    // the instrument sent, so a flight cut or corrected since is still found.
    std::unordered_map<FlightKey, std::vector<size_t>, FlightKey::Hash> wanted;
    for (size_t i = 0; i < flights.size(); ++i)
        wanted[FlightKey::ofPresent(flights[i])].push_back(i);
    std::vector<bool> found(flights.size(), false);
    for (int r = 1; r < book.rowCount() && !wanted.empty(); ++r) {
        const auto it = wanted.find(FlightKey::identityOf(book.row(r)));
        if (it == wanted.end())
            continue;
        for (const size_t i : it->second)
            found[i] = true;
        wanted.erase(it);
    }
    return found;
}

std::optional<WriteFailure> makeRawFolder(const QString &workFolder)
{
    // Inside the work folder only: a work folder that is gone is a failure to write, not a
    // folder to make.
    const QDir work(workFolder);
    if (work.exists(QStringLiteral("raw")) || (work.exists() && work.mkdir(QStringLiteral("raw"))))
        return std::nullopt;
    return WriteFailure{withTrailingSlash(workFolder) + QStringLiteral("raw"), work.exists() ? EACCES : ENOENT};
}

// The flight's fields as the instrument gave them.
std::optional<QByteArray> Downloader::contentAt(const QString &path, qint64 limit, bool *exists) const
{
    if (staged) {
        for (auto it = staged->rbegin(); it != staged->rend(); ++it) {
            if (it->path == path) {
                *exists = true;
                return it->bytes.size() <= limit ? std::optional<QByteArray>(it->bytes) : std::nullopt;
            }
        }
    }
    *exists = QFileInfo::exists(path);
    return *exists ? readInputFile(path, limit) : std::nullopt;
}

std::optional<WriteFailure> Downloader::keepBarograph(int row, QString *moved)
{
    FlightRecord &record = m_book.row(row);
    const QString folder = withTrailingSlash(m_book.workFolder);
    const QByteArray image = buildBarographImage(barographFromReply(m_baroReply));
    const auto holds = [&](const QString &path) {
        bool exists = false;
        const std::optional<QByteArray> bytes = contentAt(path, image.size(), &exists);
        return bytes && *bytes == image;
    };

    // The first name of the rule that no other row's file with other content holds: a
    // file no row names is replaced (its old version kept in "bak"), and the same flight
    // downloaded again finds its own file.
    std::optional<QString> path;
    QByteArray name;
    int holder = -1;
    for (int variant = 0; variant <= kMaxNameVariant; ++variant) {
        name = barographFileName(record.date, record.time, variant);
        path = barographPath(folder, name);
        if (!path)
            return WriteFailure{folder + QString::fromLatin1(name), EINVAL};
        // The rule's names are ASCII: a byte-wise comparison without case finds every row
        // that may name the same file, and the path says whether it does.
        int owner = -1;
        for (int r = 1; r < m_book.rowCount() && owner < 0; ++r) {
            const FlightRecord &other = m_book.row(r);
            const QByteArrayView otherName = other.barographFile;
            if (r != row && qstrnicmp(otherName.data(), otherName.size(), name.constData(), name.size()) == 0
                && barographPath(folder, other.barographFile) == path)
                owner = r;
        }
        if (owner < 0 || holds(*path))
            break;
        if (holder < 0)
            holder = owner;
        if (variant == kMaxNameVariant)
            return WriteFailure{*path, EEXIST};
    }

    // The raw copy: "raw/NAME", or "NAME-2", "NAME-3"... beside another download's copy.
    // Never written over: a name that holds other bytes is passed by.
    QString raw;
    bool rawExists = false;
    for (int n = 1;; ++n) {
        raw = QStringLiteral("raw/") + QString::fromLatin1(name) + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
        bool exists = false;
        const std::optional<QByteArray> bytes = contentAt(folder + raw, image.size(), &exists);
        if (!exists || (bytes && *bytes == image)) {
            rawExists = exists;
            break;
        }
    }

    std::vector<FileImage> files;
    if (!holds(*path))
        files.push_back({*path, image, true, backupFolder(folder)});
    if (!rawExists)
        files.push_back({folder + raw, image, false, {}});
    if (!files.empty()) {
        if (std::optional<WriteFailure> failure = commitBarograph(std::move(files)))
            return failure;
    }

    // The row names the file only once it exists (or is staged to be written with the log).
    record.barographFile = name;
    DownloadedFlight downloaded = record.downloaded ? *record.downloaded : DownloadedFlight{downloadedFields(record), {}};
    downloaded.fields[size_t(Field::BarographFile)] = name;
    downloaded.raw = raw;
    record.downloaded = std::make_shared<const DownloadedFlight>(std::move(downloaded));
    if (holder >= 0) {
        const FlightRecord &other = m_book.row(holder);
        *moved = msg::BaroNameMoved.toString()
                     .arg(baroFlightText(), QString::fromLatin1(name),
                          cp932::toUnicode(other.date.toByteArray() + ' ' + other.time.toByteArray()),
                          cp932::toUnicode(other.barographFile));
    }
    return std::nullopt;
}

std::optional<WriteFailure> Downloader::commitBarograph(std::vector<FileImage> files)
{
    if (staged) {
        for (FileImage &file : files) {
            std::erase_if(*staged, [&](const FileImage &s) { return s.path == file.path; });
            staged->push_back(std::move(file));
        }
        return std::nullopt;
    }
    if (!writeBarograph)
        return WriteFailure{m_book.workFolder, EINVAL};
    if (std::optional<WriteFailure> failure = makeRawFolder(m_book.workFolder))
        return failure;
    return writeBarograph(files);
}
