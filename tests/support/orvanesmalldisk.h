#ifndef ORVANESMALLDISK_H
#define ORVANESMALLDISK_H

#include <QDir>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// A small tmpfs mounted inside the test's own folder, for as long as the
// object lives: a disk that can be filled, or made read-only, even for root.
// Only root may mount; elsewhere (or in a container that forbids it)
// `skipReason` says why and the tests using it skip.
//
// With Type::Ramfs it is a ramfs instead: a file system without any size
// limit that cannot reserve room for a file (fallocate is not supported),
// as many network shares cannot.
class SmallDisk
{
public:
    enum class Type { Tmpfs, Ramfs };

    explicit SmallDisk(const QString& parent, Type type = Type::Tmpfs)
        : mountPoint(parent + QStringLiteral("/disk"))
    {
        if (geteuid() != 0) {
            skipReason = "a tmpfs can only be mounted by root";
            return;
        }
        QDir().mkpath(mountPoint);
        const char* kind = type == Type::Tmpfs ? "tmpfs" : "ramfs";
        if (mount(kind, mountPoint.toLocal8Bit().constData(), kind, MS_NOSUID | MS_NODEV,
                  type == Type::Tmpfs ? "size=256k,mode=0700" : "mode=0700")
            != 0) {
            skipReason = std::string(kind) + " could not be mounted: " + std::strerror(errno);
            return;
        }
        mounted = true;
    }
    ~SmallDisk()
    {
        if (mounted)
            umount2(mountPoint.toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    QString path(const QString& name) const { return mountPoint + QLatin1Char('/') + name; }

    // Writes a filler until the disk refuses another byte.
    bool fill() const
    {
        const int fd = ::open(path(QStringLiteral("filler")).toLocal8Bit().constData(), O_WRONLY | O_CREAT, 0600);
        if (fd < 0)
            return false;
        const std::vector<char> block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }

    // Fills the disk, then gives back `room` bytes (whole pages): a disk with
    // some room, but not much.
    bool fillLeaving(const qint64 room) const
    {
        if (!fill())
            return false;
        const QByteArray filler = path(QStringLiteral("filler")).toLocal8Bit();
        struct stat st = {};
        return ::stat(filler.constData(), &st) == 0 && st.st_size >= room
            && ::truncate(filler.constData(), st.st_size - room) == 0;
    }

    // From now on nothing on the disk can be written or removed, by root neither.
    bool makeReadOnly() const
    {
        return mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs",
                     MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr)
            == 0;
    }

    bool mounted = false;
    std::string skipReason;

private:
    QString mountPoint;
};

#endif
