#ifndef ORVANESMALLDISK_H
#define ORVANESMALLDISK_H

// A disk that fills up: the tests of every writer use it to check that a
// full disk fails with its reason and keeps the user's earlier files whole.

#include <QDir>
#include <QString>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

// A small tmpfs mounted inside the test's own folder, for as long as the
// object lives. Only root may mount; elsewhere (or in a container that
// forbids it) `skipReason` says why and the tests using it skip.
class SmallDisk
{
public:
    explicit SmallDisk(const QString& parent)
        : mountPoint(parent + QStringLiteral("/disk"))
    {
        if (geteuid() != 0) {
            skipReason = "a tmpfs can only be mounted by root";
            return;
        }
        QDir().mkpath(mountPoint);
        if (mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                  "size=256k,mode=0700")
            != 0) {
            skipReason = std::string("tmpfs could not be mounted: ") + std::strerror(errno);
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

    bool mounted = false;
    std::string skipReason;

private:
    QString mountPoint;
};

#endif
