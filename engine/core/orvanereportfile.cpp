#include "orvanereportfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const QString& fileName, const QString& why)
{
    return QStringLiteral("The file %1 could not be written: %2").arg(fileName, why);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The device's reason, or a plain one where the device has none to give.
QString deviceReason(const QSaveFile& file)
{
    return file.error() == QFileDevice::NoError ? QStringLiteral("the data could not be written to the disk")
                                                : file.errorString();
}

// An existing regular file that this user may write (through a link, the
// file it names).
bool writableInPlace(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.isFile() && ::access(QFile::encodeName(info.canonicalFilePath()).constData(), W_OK) == 0;
}

// Rewrites an existing file in place. prepare() opens it without truncating
// and reserves the disk room of the whole new content, so that a full disk
// is found while the file is still untouched; commit() then writes.
class InPlaceFile
{
public:
    ~InPlaceFile()
    {
        if (fd >= 0)
            ::close(fd);
    }

    bool prepare(const QString& fileName, const qint64 size, QString& why)
    {
        fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat st = {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            why = systemReason(errno);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            why = QStringLiteral("it is not a regular file");
            return false;
        }
        const int error = reserve(static_cast<off_t>(st.st_size), static_cast<off_t>(size));
        if (error != 0) {
            why = systemReason(error);
            return false;
        }
        return true;
    }

    bool commit(const QByteArray& bytes, QString& why)
    {
        qint64 done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done),
                                       static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                why = systemReason(n < 0 ? errno : EIO);
                return false;
            }
            done += n;
        }
        if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0) {
            why = systemReason(errno);
            return false;
        }
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0) {
            why = systemReason(errno);
            return false;
        }
        return true;
    }

private:
    // 0 when the first `size` bytes of the file have their disk blocks, else
    // the system's error; the file's content and length are left as they were.
    int reserve(const off_t oldSize, const off_t size)
    {
        if (size == 0)
            return 0;
#ifdef __linux__
        // Blocks beyond the end are reserved without changing the length.
        if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0)
            return 0;
        if (errno != EOPNOTSUPP && errno != ENOSYS)
            return errno;
#endif
        // Elsewhere the reservation may lengthen the file with zeros: a
        // refusal cuts it back to its own length.
        const int error = ::posix_fallocate(fd, 0, size);
        if (error != 0 && size > oldSize && ::ftruncate(fd, oldSize) != 0)
            return errno;
        return error;
    }

    int fd = -1;
};

bool writeFiles(const QVector<QPair<QString, QByteArray>>& files, QString& reason)
{
    for (const auto& entry : files) {
        const QString why = OrvaneReportFile::notRegularReason(entry.first);
        if (!why.isEmpty()) {
            reason = failure(entry.first, why);
            return false;
        }
    }
    // Each file is either written to a temporary file beside it, to be
    // renamed over it, or prepared for rewriting in place.
    struct Pending {
        std::unique_ptr<QSaveFile> saved;
        std::unique_ptr<InPlaceFile> inPlace;
    };
    std::vector<Pending> pending(static_cast<size_t>(files.size()));
    for (size_t k = 0; k < pending.size(); ++k) {
        const QString& fileName = files.at(static_cast<int>(k)).first;
        const QByteArray& bytes = files.at(static_cast<int>(k)).second;
        Pending& p = pending[k];
        p.saved = std::make_unique<QSaveFile>(fileName);
        QSaveFile& file = *p.saved;
        if (!file.open(QIODevice::WriteOnly)) {
            // No temporary file can be made beside it (a shared folder the
            // user may not write): the file itself is rewritten in place.
            QString why = file.errorString();
            p.saved.reset();
            if (writableInPlace(fileName)) {
                p.inPlace = std::make_unique<InPlaceFile>();
                if (p.inPlace->prepare(fileName, bytes.size(), why))
                    continue;
            }
            reason = failure(fileName, why);
            return false; // the destructors drop every temporary file
        }
        // QSaveFile keeps small files in its buffer and its commit() reports
        // success even when that buffer never reaches the disk: flush first.
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            reason = failure(fileName, deviceReason(file));
            return false;
        }
    }
    for (size_t k = 0; k < pending.size(); ++k) {
        const QString& fileName = files.at(static_cast<int>(k)).first;
        Pending& p = pending[k];
        QString why;
        if (p.inPlace) {
            if (!p.inPlace->commit(files.at(static_cast<int>(k)).second, why)) {
                reason = failure(fileName, why);
                return false;
            }
        } else if (!p.saved->commit()) {
            reason = failure(fileName, deviceReason(*p.saved));
            return false;
        }
    }
    return true;
}

} // namespace

QString OrvaneReportFile::notRegularReason(const QString& fileName)
{
    const QFileInfo info(fileName);
    // A dangling link reads as missing, as it would on opening.
    if (!info.exists() || info.isFile())
        return QString();
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not a file.").arg(fileName);
    return QStringLiteral("%1 is not a regular file (a FIFO, socket or device).").arg(fileName);
}

bool OrvaneReportFile::write(const QString& fileName, const QString& text, QString& reason)
{
    return write(fileName, text.toUtf8(), reason);
}

bool OrvaneReportFile::write(const QString& fileName, const QByteArray& bytes, QString& reason)
{
    return writeFiles({qMakePair(fileName, bytes)}, reason);
}

bool OrvaneReportFile::writeAll(const QVector<QPair<QString, QString>>& files, QString& reason)
{
    QVector<QPair<QString, QByteArray>> encoded;
    encoded.reserve(files.size());
    for (const auto& entry : files)
        encoded.append(qMakePair(entry.first, entry.second.toUtf8()));
    return writeFiles(encoded, reason);
}
