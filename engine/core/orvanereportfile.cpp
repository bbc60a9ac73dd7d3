#include "orvanereportfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

std::atomic<OrvaneReportFile::StepObserver> stepObserver{nullptr};
std::atomic<bool> roomReservation{true};
// The block in which content is copied from one file to another.
std::atomic<int> copyBlock{1 << 20};

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

QByteArray native(const QString& fileName)
{
    return QFile::encodeName(fileName);
}

// Why a name that exists is no regular file, said of `subject`; empty for a
// regular file or a missing name (a dangling link reads as missing, as it
// would on opening).
QString notRegular(const QString& fileName, const QString& subject)
{
    const QFileInfo info(fileName);
    if (!info.exists() || info.isFile())
        return QString();
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not a file.").arg(subject);
    return QStringLiteral("%1 is not a regular file (a FIFO, socket or device).").arg(subject);
}

// A folder every user may write, which keeps each user's files their own
// (mode 1777, /tmp or a shared results folder).
bool sharedSticky(const struct stat& folder)
{
    return (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
}

// The file a name stands for: every link on the way is followed, the last
// also when the file it names does not exist yet. In a shared sticky folder
// a link is followed only when it belongs to the writer or to the folder's
// owner, as the system's own rule for such folders has it (which the system
// may have switched off): another user's link there, to the file or to a
// folder on its way, may have been planted to make the writer replace a file
// of its own elsewhere. Empty, with `why`, when refused.
QString finalName(const QString& fileName, QString& why)
{
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    if (absolute.isEmpty())
        return absolute; // no name at all
    QStringList rest = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString done; // followed so far, free of links; empty for the root
    for (int links = 0; !rest.isEmpty();) {
        const QString part = rest.takeFirst();
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            done.truncate(std::max(0, done.lastIndexOf(QLatin1Char('/'))));
            continue;
        }
        const QString name = done + QLatin1Char('/') + part;
        const QByteArray nativeName = native(name);
        struct stat link = {};
        // Only a link needs room for its target.
        QByteArray target;
        ssize_t length = -1;
        if (links < 40 && ::lstat(nativeName.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            target.resize(PATH_MAX);
            length = ::readlink(nativeName.constData(), target.data(), static_cast<size_t>(target.size()));
        }
        if (length < 0) {
            done = name; // a loop or a missing name: opening it gives the system's reason
            continue;
        }
        struct stat holder = {};
        if (::stat(native(done.isEmpty() ? QStringLiteral("/") : done).constData(), &holder) == 0
            && sharedSticky(holder) && link.st_uid != ::geteuid() && link.st_uid != holder.st_uid) {
            why = rest.isEmpty()
                ? QStringLiteral("it is a link that another user made in a folder shared by every user (mode 1777), "
                                 "and such a link is not followed.")
                : QStringLiteral("its folder %1 is a link that another user made in a folder shared by every user "
                                 "(mode 1777), and such a link is not followed.")
                      .arg(name);
            return QString();
        }
        ++links;
        target.truncate(static_cast<int>(length));
        const QString to = QFile::decodeName(target);
        if (to.startsWith(QLatin1Char('/')))
            done.clear();
        rest = to.split(QLatin1Char('/'), Qt::SkipEmptyParts) + rest;
    }
    return done.isEmpty() ? QStringLiteral("/") : done;
}

// The hidden names beside a file under which its new content may be written:
// ".<name>.orvane-part", then ".<name>.orvane-part-1" and so on for when a
// name is taken by a file that is not the writer's own. A name too long to
// take the additions keeps its beginning and a digest of the whole name.
constexpr int partNameChoices = 8;

QString partName(const QString& fileName, int choice)
{
    const QFileInfo info(fileName);
    const QString suffix = QStringLiteral(".orvane-part") + (choice > 0 ? QStringLiteral("-%1").arg(choice) : QString());
    QString stem = info.fileName();
    if (native(QLatin1Char('.') + stem + suffix).size() > NAME_MAX) {
        const QString digest = QString::fromLatin1(
            QCryptographicHash::hash(native(stem), QCryptographicHash::Sha256).toHex().left(16));
        const int room = NAME_MAX - 2 - digest.size() - native(suffix).size();
        while (!stem.isEmpty() && (native(stem).size() > room || QChar(stem.back()).isHighSurrogate()))
            stem.chop(1);
        stem += QLatin1Char('.') + digest;
    }
    return info.absolutePath() + QStringLiteral("/.") + stem + suffix;
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

// 0 once `size` bytes of `from` stand at the same places in `to`, else the
// system's error, with `onRead` telling whether reading failed. The bytes go
// through one block of fixed size, however large the file. With `holesStay`
// the holes of a sparse `from` are skipped: `to` is new, or cut to nothing,
// so they read as zeros there too once its length is set.
int copyBytes(int from, int to, qint64 size, bool holesStay, bool& onRead)
{
    std::vector<char> block(static_cast<size_t>(std::max(1, copyBlock.load())));
    qint64 offset = 0;
    while (offset < size) {
        qint64 end = size;
        if (holesStay) {
            const off_t data = ::lseek(from, static_cast<off_t>(offset), SEEK_DATA);
            if (data < 0 && errno == ENXIO)
                break; // only a hole is left
            if (data >= 0) {
                offset = data;
                const off_t hole = ::lseek(from, data, SEEK_HOLE);
                if (hole > data)
                    end = std::min<qint64>(hole, size);
            }
        }
        while (offset < end) {
            const auto want = static_cast<size_t>(std::min<qint64>(end - offset, static_cast<qint64>(block.size())));
            const ssize_t n = ::pread(from, block.data(), want, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            onRead = n <= 0;
            if (n <= 0)
                return n < 0 ? errno : EIO; // it became shorter
            const int error = writeAt(to, block.data(), n, offset);
            if (error != 0)
                return error;
            offset += n;
        }
    }
    return 0;
}

// An unnamed file in the temporary folder, gone once closed; -1 where none
// can be made.
int anonymousFile()
{
    QByteArray folder = native(QDir::tempPath());
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    QByteArray pattern = folder + "/.orvane-XXXXXX";
    const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(pattern.constData());
    return named;
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

// A file's new content, ready to be written: its bytes, or its source file
// opened, to be copied block by block.
class OpenedContent
{
public:
    // False with the reason when the source cannot be read.
    bool open(const Content& content, QString& reason)
    {
        bytes = content.bytes;
        sourceName = content.source;
        length = bytes.size();
        if (sourceName.isEmpty())
            return true;
        source.reset(::open(native(sourceName).constData(), O_RDONLY | O_CLOEXEC));
        struct stat st = {};
        if (!source.isOpen() || ::fstat(source.get(), &st) != 0) {
            reason = readFailure(sourceName, systemReason(errno));
            return false;
        }
        length = st.st_size;
        return true;
    }

    qint64 size() const { return length; }

    // 0 once the content stands at the start of `fd`, else the system's
    // error; `readReason` is set when the source could not be read.
    int writeTo(int fd, bool holesStay, QString& readReason) const
    {
        if (sourceName.isEmpty())
            return writeAt(fd, bytes.constData(), bytes.size(), 0);
        bool onRead = false;
        const int error = copyBytes(source.get(), fd, length, holesStay, onRead);
        if (error != 0 && onRead)
            readReason = readFailure(sourceName, systemReason(error));
        return error;
    }

private:
    QByteArray bytes;
    QString sourceName;
    FileDescriptor source;
    qint64 length = 0;
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
        const QByteArray block = source.read(copyBlock.load());
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

// An extended attribute's value, or a list of their names, read by `get`,
// which answers as getxattr does (asked with no buffer, it gives the size).
// False with the system's error.
bool readAttribute(const std::function<ssize_t(char*, size_t)>& get, QByteArray& value, int& error)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0) {
            error = errno;
            return false;
        }
        value.resize(static_cast<int>(size));
        const ssize_t read = get(value.data(), static_cast<size_t>(value.size()));
        if (read >= 0) {
            value.truncate(static_cast<int>(read));
            return true;
        }
        if (errno != ERANGE) {
            error = errno;
            return false;
        }
    }
    error = ERANGE; // it keeps growing
    return false;
}

// The names of a list read by readAttribute; a file system that keeps no
// extended attributes has none.
bool attributeNames(const std::function<ssize_t(char*, size_t)>& list, QList<QByteArray>& names, int& error)
{
    QByteArray all;
    if (!readAttribute(list, all, error)) {
        names.clear();
        return error == ENOTSUP;
    }
    names = all.split('\0');
    names.removeAll(QByteArray());
    return true;
}

// Gives the new file `fd` the extended attributes of the earlier file: its
// access control list among them (with one, the group's permission bits are
// its mask, so a file without it would give the group the rights of the
// named users), and the users' own attributes. Those the new file was given
// that the earlier one has not (a folder's default list) are dropped. 0, or
// the error when one cannot be carried.
int carryAttributes(const QByteArray& earlier, int fd)
{
    QList<QByteArray> wanted;
    QList<QByteArray> present;
    int error = 0;
    if (!attributeNames([&](char* b, size_t n) { return ::listxattr(earlier.constData(), b, n); }, wanted, error)
        || !attributeNames([&](char* b, size_t n) { return ::flistxattr(fd, b, n); }, present, error))
        return error;
    for (const QByteArray& name : present) {
        if (!wanted.contains(name) && ::fremovexattr(fd, name.constData()) != 0 && errno != ENODATA)
            return errno;
    }
    for (const QByteArray& name : wanted) {
        // New content never inherits privileges: writing a file drops them too.
        if (name == "security.capability")
            continue;
        QByteArray value;
        QByteArray current;
        if (!readAttribute([&](char* b, size_t n) { return ::getxattr(earlier.constData(), name.constData(), b, n); },
                           value, error)) {
            if (error == ENODATA)
                continue; // removed meanwhile
            return error;
        }
        if (readAttribute([&](char* b, size_t n) { return ::fgetxattr(fd, name.constData(), b, n); }, current, error)
            && current == value)
            continue; // given already (a security label)
        if (::fsetxattr(fd, name.constData(), value.constData(), static_cast<size_t>(value.size()), 0) != 0)
            return errno;
    }
    return 0;
}

// Whether `name` still names the open file `fd`.
bool names(const QString& name, int fd)
{
    struct stat named = {};
    struct stat opened = {};
    return ::lstat(native(name).constData(), &named) == 0 && ::fstat(fd, &opened) == 0
        && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

const QString busyReason = QStringLiteral("another program is writing it at this moment");

// The new content of a file, written whole under a hidden name beside it,
// waiting to be renamed over it. The hidden file is removed unless renamed.
class StagedFile
{
public:
    explicit StagedFile(const QString& target)
        : target(target)
    {
    }
    ~StagedFile()
    {
        // Removed while still locked, so that it is surely this writer's.
        if (created)
            ::unlink(native(part).constData());
        fd.reset();
    }

    // Makes the hidden file, new and the writer's own, with the earlier
    // file's owner, group, permissions and extended attributes where the
    // system allows. False with the system's error when it cannot be made
    // there, or the earlier file's attributes cannot be carried; `why` is
    // set only for refusals that no other way of writing can help.
    bool create(const struct stat* earlier, int& error, QString& why)
    {
        for (int choice = 0; choice < partNameChoices; ++choice) {
            part = partName(target, choice);
            switch (claim(error)) {
            case Claim::Made:
                created = true;
                return !earlier || dress(*earlier, error);
            case Claim::Taken:
                continue;
            case Claim::Busy:
                why = busyReason;
                return false;
            case Claim::Failed:
                return false;
            }
        }
        error = EEXIST;
        return false;
    }

    // Writes the content and flushes it to the disk; false with the reason.
    // The file stays open, and locked, until it is renamed.
    bool fill(const Content& content, QString& reason)
    {
        OpenedContent opened;
        if (!opened.open(content, reason))
            return false;
        QString readReason;
        int error = opened.writeTo(fd.get(), true, readReason);
        // The length also covers a hole at the end of a sparse source.
        if (error == 0 && ::ftruncate(fd.get(), static_cast<off_t>(opened.size())) != 0)
            error = errno;
        // A full disk may show only when the data reaches it.
        if (error == 0 && ::fsync(fd.get()) != 0)
            error = errno;
        if (error != 0)
            reason = readReason.isEmpty() ? failure(target, systemReason(error)) : readReason;
        return error == 0;
    }

    // Renames the hidden file over the target; false with the reason, which
    // names the file as the caller gave it (`name`).
    bool commit(const QString& name, QString& reason)
    {
        if (::rename(native(part).constData(), native(target).constData()) != 0) {
            reason = failure(name, systemReason(errno));
            return false;
        }
        created = false;
        fd.reset();
        return true;
    }

private:
    enum class Claim {
        Made,  // new, open and locked
        Taken, // by something not the writer's own: another name is chosen
        Busy,  // by another writer of this file, writing now
        Failed // the system's error
    };

    // Makes `part` new and exclusively. A file of the writer's own there,
    // left by a killed writer, is removed first, which also keeps any other
    // link to it (a snapshot) out of this write. Another user's file, or
    // anything but a regular file, is left alone: it may have been planted
    // to catch the content or to have it written elsewhere.
    Claim claim(int& error)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            fd.reset(::open(native(part).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (fd.isOpen()) {
                // Locked while it is written. Another writer that found it
                // before the lock takes it for a leftover and removes it.
                if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
                    fd.reset();
                    return Claim::Busy;
                }
                if (names(part, fd.get()))
                    return Claim::Made;
                fd.reset();
                continue;
            }
            if (errno != EEXIST) {
                error = errno;
                return Claim::Failed;
            }
            struct stat found = {};
            if (::lstat(native(part).constData(), &found) != 0)
                continue; // gone meanwhile
            if (!S_ISREG(found.st_mode) || found.st_uid != ::geteuid())
                return Claim::Taken;
            FileDescriptor left(::open(native(part).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
            if (!left.isOpen())
                return Claim::Taken;
            if (::flock(left.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
                return Claim::Busy;
            if (names(part, left.get()))
                ::unlink(native(part).constData());
        }
        return Claim::Busy;
    }

    // Gives the new file the earlier file's owner, group, permissions and
    // extended attributes; false with the error when the attributes cannot
    // be carried.
    bool dress(const struct stat& earlier, int& error)
    {
        // A user may give only a group of their own; the owner only root.
        if (::fchown(fd.get(), earlier.st_uid, earlier.st_gid) != 0)
            (void)!::fchown(fd.get(), static_cast<uid_t>(-1), earlier.st_gid);
        error = carryAttributes(native(target), fd.get());
        // After the access list, whose mask the group's bits then set.
        (void)!::fchmod(fd.get(), earlier.st_mode & 07777);
        return error == 0;
    }

    QString target;
    QString part;
    FileDescriptor fd;
    bool created = false;
};

// Rewrites an existing file in place. prepare() keeps the earlier content
// aside, to put back, and reserves the disk room of the whole new content
// while the file is still untouched; commit() writes. Nothing is held in
// memory but the caller's bytes: a copy and the earlier content go through
// a block of fixed size.
class InPlaceFile
{
public:
    ~InPlaceFile()
    {
        // A write refused after room was reserved gives that room back.
        if (state == State::Reserved)
            (void)!::ftruncate(fd.get(), static_cast<off_t>(earlierSize));
    }

    // `name` as the caller gave it, `fileName` the file it stands for.
    bool prepare(const QString& name, const QString& fileName, const Content& content, QString& reason)
    {
        if (!opened.open(content, reason))
            return false;
        fd.reset(::open(native(fileName).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        // A file that may be written but not read: nothing to put back.
        const bool readable = fd.isOpen() || errno != EACCES;
        if (!readable)
            fd.reset(::open(native(fileName).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        struct stat st = {};
        if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0) {
            reason = failure(name, systemReason(errno));
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            reason = failure(name, QStringLiteral("it is not a regular file"));
            return false;
        }
        earlierSize = st.st_size;
        state = State::Reserved;
        const int error = reserve(opened.size());
        if (error != 0) {
            reason = failure(name, systemReason(error));
            return false;
        }
        // After the reservation: the copy may share the file's disk (a file
        // in the temporary folder itself) and must not take its room.
        canRestore = readable && keepEarlier();
        return true;
    }

    bool commit(const QString& name, QString& reason)
    {
        state = State::Written;
        QString readReason;
        int error = opened.writeTo(fd.get(), false, readReason);
        if (error == 0 && ::ftruncate(fd.get(), static_cast<off_t>(opened.size())) != 0)
            error = errno;
        if (error == 0 && ::fsync(fd.get()) != 0)
            error = errno;
        if (error != 0) {
            reason = readReason.isEmpty() ? failure(name, systemReason(error)) : readReason;
            if (!canRestore || !putBackEarlier())
                reason += QStringLiteral(" (the earlier content could not be put back: the file may be incomplete)");
            return false;
        }
        error = fd.close();
        if (error != 0)
            reason = failure(name, systemReason(error));
        return error == 0;
    }

private:
    // Copies the earlier content aside; false when it cannot be kept.
    bool keepEarlier()
    {
        earlier.reset(anonymousFile());
        bool onRead = false;
        if (earlier.isOpen() && copyBytes(fd.get(), earlier.get(), earlierSize, true, onRead) == 0)
            return true;
        earlier.reset(); // a part copied gives its room back
        return false;
    }

    // The earlier content, put back where it stood.
    bool putBackEarlier()
    {
        bool onRead = false;
        return ::ftruncate(fd.get(), 0) == 0 && ::ftruncate(fd.get(), static_cast<off_t>(earlierSize)) == 0
            && copyBytes(earlier.get(), fd.get(), earlierSize, true, onRead) == 0 && ::fsync(fd.get()) == 0;
    }

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

    enum class State { Open, Reserved, Written };

    OpenedContent opened;
    FileDescriptor fd;
    FileDescriptor earlier; // the earlier content, aside
    qint64 earlierSize = 0;
    bool canRestore = false;
    State state = State::Open;
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
    QString name;   // as the caller gave it
    QString target; // the file it stands for
    std::unique_ptr<StagedFile> staged;
    std::unique_ptr<InPlaceFile> inPlace;
};

// Writes or prepares the new content of one file, unless `skipUnchanged`
// and it holds that content already; false with the reason.
bool prepare(const Entry& entry, bool skipUnchanged, std::vector<Pending>& pending, QStringList* placed,
             QString& reason)
{
    QString refused;
    const QString target = finalName(entry.target, refused);
    if (target.isEmpty()) {
        reason = failure(entry.target, refused);
        return false;
    }
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
    p.target = target;
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
    // not write, a colleague's file in a shared folder), or given what the
    // earlier file carries: it is rewritten in place.
    p.inPlace = std::make_unique<InPlaceFile>();
    if (!p.inPlace->prepare(entry.target, target, entry.content, reason))
        return false;
    pending.push_back(std::move(p));
    reached(OrvaneReportFile::Step::Staged, entry.target);
    return true;
}

bool writeFiles(const QVector<Entry>& entries, QString& reason, QStringList* placed = nullptr)
{
    for (const Entry& entry : entries) {
        const QString why = notRegular(entry.target, QStringLiteral("it"));
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
            return false; // the destructors drop every hidden file and reserved room
    }
    QSet<QString> folders;
    for (Pending& p : pending) {
        if (p.inPlace ? !p.inPlace->commit(p.name, reason) : !p.staged->commit(p.name, reason))
            return false;
        folders.insert(QFileInfo(p.target).absolutePath());
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
    return notRegular(fileName, fileName);
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
        const QString why = notRegular(copy.first, QStringLiteral("it"));
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

void OrvaneReportFile::setCopyBlockForTesting(int bytes)
{
    copyBlock.store(bytes);
}
