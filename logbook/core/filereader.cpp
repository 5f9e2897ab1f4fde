// Reading outside files whole, bounded.
#include "filereader.h"

#include "logbook/core/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::optional<QByteArray> refused(const QString &path, int error, qint64 maxBytes, ReadFailure *why)
{
    if (why)
        *why = ReadFailure{QDir::toNativeSeparators(path), error ? error : EIO, maxBytes};
    return std::nullopt;
}

} // namespace

QString ReadFailure::reason() const
{
    QString text = systemReason(error);
    if (error == EFBIG) {
        const qint64 mb = 1024 * 1024;
        text = QStringLiteral("ファイルが大きすぎます（%1まで読み込めます）。")
                   .arg(limit >= mb ? QStringLiteral("%1MB").arg((limit + mb - 1) / mb)
                                    : QStringLiteral("%1KB").arg((limit + 1023) / 1024));
    }
    return text + QStringLiteral("（") + path + QStringLiteral("）");
}

std::optional<QByteArray> readInputFile(const QString &path, qint64 maxBytes, ReadFailure *why)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists())
        return refused(path, ENOENT, maxBytes, why);
    if (info.isDir())
        return refused(path, EISDIR, maxBytes, why);
    if (!info.isFile())
        return refused(path, kNotRegularFile, maxBytes, why);
    if (info.size() > maxBytes)
        return refused(path, EFBIG, maxBytes, why);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(path, EACCES, maxBytes, why);
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return refused(path, EFBIG, maxBytes, why);
    return bytes;
#else
    // O_NONBLOCK: opening a named pipe must not wait for a writer. It changes nothing for
    // the regular file that is all this reads.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refused(path, errno, maxBytes, why);
    const auto fail = [&](int error) {
        ::close(fd);
        return refused(path, error, maxBytes, why);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errno);
    if (S_ISDIR(st.st_mode))
        return fail(EISDIR);
    if (!S_ISREG(st.st_mode))
        return fail(kNotRegularFile);
    if (st.st_size > maxBytes)
        return fail(EFBIG);
    // The file may grow while it is read: never more than the limit and one byte.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > maxBytes)
                return fail(EFBIG);
            bytes.resize(std::min<qsizetype>(have * 2 + 4096, qsizetype(maxBytes) + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, size_t(bytes.size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errno);
        if (n == 0)
            break;
        have += n;
    }
    ::close(fd);
    if (have > maxBytes)
        return refused(path, EFBIG, maxBytes, why);
    bytes.truncate(have);
    return bytes;
#endif
}
