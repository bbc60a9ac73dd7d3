#include "orvanereportfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

std::atomic<OrvaneReportFile::StepObserver> stepObserver{nullptr};
std::atomic<bool> roomReservation{true};

void reached(OrvaneReportFile::Step step, const QString& fileName)
{
    if (const OrvaneReportFile::StepObserver observer = stepObserver.load())
        observer(step, fileName);
}

QString failure(const QString& fileName, const QString& why)
{
    return QStringLiteral("The file %1 could not be written: %2").arg(fileName, why);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString readFailure(const QString& fileName, const QString& why)
{
    return QStringLiteral("The file %1 could not be read: %2").arg(fileName, why);
}

QString readFailure(const QFile& source)
{
    return readFailure(source.fileName(), source.errorString());
}

QByteArray native(const QString& fileName)
{
    return QFile::encodeName(fileName);
}

// The file a name stands for: a link is followed to the file it names, also
// when that file does not exist yet.
QString finalName(const QString& fileName)
{
    QFileInfo info(fileName);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? fileName : info.absoluteFilePath();
}

// The hidden name beside a file under which its new content is written.
QString partName(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".orvane-part");
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1)
        : fd(fd)
    {
    }
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd; }
    bool isOpen() const { return fd >= 0; }
    void reset(int other = -1)
    {
        if (fd >= 0)
            ::close(fd);
        fd = other;
    }
    // Closes and returns 0, or the error of the closing.
    int close()
    {
        const int result = fd >= 0 ? ::close(fd) : 0;
        fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd;
};

// 0 once every byte is written at `offset`, else the system's error.
int writeAt(int fd, const char* data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, static_cast<size_t>(size - done), static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += n;
    }
    return 0;
}

// The most a QByteArray holds (a little under 2 GiB); a larger file is
// never read into one.
constexpr qint64 largestInMemory = std::numeric_limits<int>::max() - 1024;

// 0 once the whole file is read into `bytes`, else the system's error.
int readAll(int fd, qint64 size, QByteArray& bytes)
{
    if (size > largestInMemory)
        return EFBIG;
    bytes.resize(static_cast<int>(size));
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, static_cast<size_t>(size - done), static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
}

// What one file of a write is to hold: bytes, or a copy of a source file.
struct Content {
    QByteArray bytes;
    QString source;
};

struct Entry {
    QString target;
    Content content;
};

// Whether `fileName` already holds `content` byte for byte.
bool holds(const QString& fileName, const Content& content)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    if (content.source.isEmpty())
        return file.size() == content.bytes.size() && file.readAll() == content.bytes;
    QFile source(content.source);
    if (!source.open(QIODevice::ReadOnly) || source.size() != file.size())
        return false;
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || file.read(block.size()) != block)
            return false;
    }
    return true;
}

// The system refuses to rename over a file of another user in a folder of
// mode 1777 (sticky) that belongs to a third; root may.
bool renameRefused(const QString& fileName, const struct stat& file)
{
    struct stat folder = {};
    const uid_t user = ::geteuid();
    return user != 0 && ::stat(native(QFileInfo(fileName).absolutePath()).constData(), &folder) == 0
        && (folder.st_mode & S_ISVTX) != 0 && file.st_uid != user && folder.st_uid != user;
}

// The new content of a file, written whole under its hidden name beside it,
// waiting to be renamed over it. The hidden file is removed unless renamed.
class StagedFile
{
public:
    explicit StagedFile(const QString& target)
        : target(target)
        , part(partName(target))
    {
    }
    ~StagedFile()
    {
        fd.reset();
        if (created)
            ::unlink(native(part).constData());
    }

    // Makes the hidden file. False with the system's error when it cannot be
    // made there; `why` is set only for refusals that no other way of
    // writing can help.
    bool create(const struct stat* earlier, int& error, QString& why)
    {
        for (int attempt = 0; attempt < 3 && !fd.isOpen(); ++attempt) {
            fd.reset(::open(native(part).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666));
            if (!fd.isOpen()) {
                error = errno;
                return false;
            }
            struct stat opened = {};
            if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
                error = S_ISREG(opened.st_mode) || opened.st_mode == 0 ? errno : EEXIST;
                fd.reset();
                return false;
            }
            // One left by a killed writer is taken over; one being written
            // now belongs to another program.
            if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
                why = QStringLiteral("another program is writing it at this moment");
                fd.reset();
                return false;
            }
            // The other writer may have renamed it between the opening and
            // the lock: then it is that writer's file now.
            struct stat named = {};
            if (::lstat(native(part).constData(), &named) != 0 || named.st_dev != opened.st_dev
                || named.st_ino != opened.st_ino)
                fd.reset();
        }
        if (!fd.isOpen()) {
            why = QStringLiteral("another program is writing it at this moment");
            return false;
        }
        created = true;
        if (::ftruncate(fd.get(), 0) != 0) {
            error = errno;
            return false;
        }
        if (earlier) {
            // A user may give only a group of their own; the owner only root.
            if (::fchown(fd.get(), earlier->st_uid, earlier->st_gid) != 0)
                (void)!::fchown(fd.get(), static_cast<uid_t>(-1), earlier->st_gid);
            (void)!::fchmod(fd.get(), earlier->st_mode & 07777);
        }
        return true;
    }

    // Writes the content and flushes it to the disk; false with the reason.
    // The file stays open, and locked, until it is renamed.
    bool fill(const Content& content, QString& reason)
    {
        int error = 0;
        if (content.source.isEmpty()) {
            error = writeAt(fd.get(), content.bytes.constData(), content.bytes.size(), 0);
        } else {
            QFile source(content.source);
            if (!source.open(QIODevice::ReadOnly)) {
                reason = readFailure(source);
                return false;
            }
            qint64 offset = 0;
            while (error == 0 && !source.atEnd()) {
                const QByteArray block = source.read(1 << 20);
                if (block.isEmpty()) {
                    reason = readFailure(source);
                    return false;
                }
                error = writeAt(fd.get(), block.constData(), block.size(), offset);
                offset += block.size();
            }
        }
        // A full disk may show only when the data reaches it.
        if (error == 0 && ::fsync(fd.get()) != 0)
            error = errno;
        if (error != 0)
            reason = failure(target, systemReason(error));
        return error == 0;
    }

    bool commit(int& error)
    {
        if (::rename(native(part).constData(), native(target).constData()) != 0) {
            error = errno;
            return false;
        }
        created = false;
        fd.reset();
        return true;
    }

private:
    QString target;
    QString part;
    FileDescriptor fd;
    bool created = false;
};

// Rewrites an existing file in place. prepare() reserves the disk room of
// the whole new content while the file is still untouched, and keeps the
// earlier content to put back; commit() writes.
class InPlaceFile
{
public:
    bool prepare(const QString& fileName, const qint64 size, QString& why)
    {
        fd.reset(::open(native(fileName).constData(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
        // A file that may be written but not read: nothing to put back.
        if (!fd.isOpen() && errno == EACCES)
            fd.reset(::open(native(fileName).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        else
            canRestore = true;
        struct stat st = {};
        if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0) {
            why = systemReason(errno);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            why = QStringLiteral("it is not a regular file");
            return false;
        }
        earlierSize = st.st_size;
        canRestore = canRestore && readAll(fd.get(), earlierSize, earlier) == 0;
        const int error = reserve(size);
        if (error != 0) {
            why = systemReason(error);
            return false;
        }
        return true;
    }

    bool commit(const QByteArray& bytes, QString& why)
    {
        int error = writeAt(fd.get(), bytes.constData(), bytes.size(), 0);
        if (error == 0 && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0)
            error = errno;
        if (error == 0 && ::fsync(fd.get()) != 0)
            error = errno;
        if (error != 0) {
            why = systemReason(error);
            // The earlier content fits where it stood.
            const bool restored = canRestore && writeAt(fd.get(), earlier.constData(), earlier.size(), 0) == 0
                && ::ftruncate(fd.get(), static_cast<off_t>(earlierSize)) == 0 && ::fsync(fd.get()) == 0;
            if (!restored)
                why += QStringLiteral(" (the earlier content could not be put back: the file may be incomplete)");
            return false;
        }
        error = fd.close();
        if (error != 0)
            why = systemReason(error);
        return error == 0;
    }

private:
    // 0 when the disk holds room for `size` bytes of the file, else the
    // system's error; the file's content and length are left as they were.
    int reserve(const qint64 size)
    {
        if (size == 0)
            return 0;
#ifdef __linux__
        // Blocks beyond the end are reserved without changing the length.
        if (roomReservation.load()) {
            if (::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0)
                return 0;
            if (errno != EOPNOTSUPP && errno != ENOSYS)
                return errno;
        }
#endif
        // Nothing can be reserved: the free room must hold what the file
        // grows by. A file system that tells no sizes (ramfs) has no limit
        // to check; a failure while writing still puts the earlier content
        // back.
        struct statvfs disk = {};
        if (size <= earlierSize || ::fstatvfs(fd.get(), &disk) != 0 || disk.f_blocks == 0)
            return 0;
        const qint64 block = static_cast<qint64>(disk.f_frsize != 0 ? disk.f_frsize : disk.f_bsize);
        const qint64 grows = (size + block - 1) / block - (earlierSize + block - 1) / block;
        return static_cast<qint64>(disk.f_bavail) < grows ? ENOSPC : 0;
    }

    FileDescriptor fd;
    QByteArray earlier;
    qint64 earlierSize = 0;
    bool canRestore = false;
};

// Flushes the renames in a folder to the disk, where the system allows.
void syncFolder(const QString& folder)
{
    FileDescriptor fd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isOpen())
        (void)!::fsync(fd.get());
}

// One file of a write, ready to be put in place.
struct Pending {
    QString name; // as the caller gave it
    std::unique_ptr<StagedFile> staged;
    std::unique_ptr<InPlaceFile> inPlace;
    QByteArray inPlaceBytes;
};

// Writes or prepares the new content of one file, unless `skipUnchanged`
// and it holds that content already; false with the reason.
bool prepare(const Entry& entry, bool skipUnchanged, std::vector<Pending>& pending, QStringList* placed,
             QString& reason)
{
    const QString target = finalName(entry.target);
    if (skipUnchanged && holds(target, entry.content)) {
        if (placed)
            placed->append(entry.target);
        return true;
    }
    struct stat earlier = {};
    const bool exists = ::stat(native(target).constData(), &earlier) == 0;
    if (exists && ::access(native(target).constData(), W_OK) != 0) {
        reason = failure(entry.target, systemReason(errno));
        return false;
    }

    Pending p;
    p.name = entry.target;
    if (!exists || !renameRefused(target, earlier)) {
        p.staged = std::make_unique<StagedFile>(target);
        int error = 0;
        QString why;
        if (p.staged->create(exists ? &earlier : nullptr, error, why)) {
            if (!p.staged->fill(entry.content, reason))
                return false;
            pending.push_back(std::move(p));
            reached(OrvaneReportFile::Step::Staged, entry.target);
            return true;
        }
        if (!why.isEmpty() || !exists) {
            reason = failure(entry.target, why.isEmpty() ? systemReason(error) : why);
            return false;
        }
        p.staged.reset();
    }
    // No new file can be made, or renamed, beside it (a folder the user may
    // not write, a colleague's file in a shared folder): it is rewritten in place.
    p.inPlaceBytes = entry.content.bytes;
    if (!entry.content.source.isEmpty()) {
        QFile source(entry.content.source);
        if (!source.open(QIODevice::ReadOnly)) {
            reason = readFailure(source);
            return false;
        }
        p.inPlaceBytes = source.size() > largestInMemory ? QByteArray() : source.readAll();
        if (p.inPlaceBytes.size() != source.size()) {
            reason = readFailure(source.fileName(), source.error() != QFileDevice::NoError ? source.errorString()
                                                                                        : systemReason(EFBIG));
            return false;
        }
    }
    p.inPlace = std::make_unique<InPlaceFile>();
    QString why;
    if (!p.inPlace->prepare(target, p.inPlaceBytes.size(), why)) {
        reason = failure(entry.target, why);
        return false;
    }
    pending.push_back(std::move(p));
    reached(OrvaneReportFile::Step::Staged, entry.target);
    return true;
}

bool writeFiles(const QVector<Entry>& entries, QString& reason, QStringList* placed = nullptr)
{
    for (const Entry& entry : entries) {
        const QString why = OrvaneReportFile::notRegularReason(entry.target);
        if (!why.isEmpty()) {
            reason = failure(entry.target, why);
            return false;
        }
    }
    // From the last to the first: the first names the others.
    const bool several = entries.size() > 1;
    std::vector<Pending> pending;
    for (int k = entries.size() - 1; k >= 0; --k) {
        if (!prepare(entries.at(k), several, pending, placed, reason))
            return false; // the destructors drop every hidden file
    }
    QSet<QString> folders;
    for (Pending& p : pending) {
        QString why;
        int error = 0;
        if (p.inPlace ? !p.inPlace->commit(p.inPlaceBytes, why) : !p.staged->commit(error)) {
            reason = failure(p.name, p.inPlace ? why : systemReason(error));
            return false;
        }
        folders.insert(QFileInfo(finalName(p.name)).absolutePath());
        if (placed)
            placed->append(p.name);
        reached(OrvaneReportFile::Step::Replaced, p.name);
    }
    for (const QString& folder : folders)
        syncFolder(folder);
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
    return writeFiles({Entry{fileName, Content{bytes, QString()}}}, reason);
}

bool OrvaneReportFile::writeAll(const QVector<QPair<QString, QString>>& files, QString& reason)
{
    QVector<Entry> entries;
    entries.reserve(files.size());
    for (const auto& file : files)
        entries.append(Entry{file.first, Content{file.second.toUtf8(), QString()}});
    return writeFiles(entries, reason);
}

bool OrvaneReportFile::copyAll(const QVector<QPair<QString, QString>>& sourcesAndTargets, QString& reason,
                               QStringList* placed)
{
    QVector<Entry> entries;
    entries.reserve(sourcesAndTargets.size());
    for (const auto& copy : sourcesAndTargets) {
        const QString why = notRegularReason(copy.first);
        if (!why.isEmpty() || !QFileInfo(copy.first).isFile()) {
            reason = readFailure(copy.first, why.isEmpty() ? systemReason(ENOENT) : why);
            return false;
        }
        entries.append(Entry{copy.second, Content{QByteArray(), copy.first}});
    }
    return writeFiles(entries, reason, placed);
}

void OrvaneReportFile::setStepObserverForTesting(StepObserver observer)
{
    stepObserver.store(observer);
}

void OrvaneReportFile::setRoomReservationForTesting(bool available)
{
    roomReservation.store(available);
}
