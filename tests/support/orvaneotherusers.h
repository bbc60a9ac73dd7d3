#ifndef ORVANEOTHERUSERS_H
#define ORVANEOTHERUSERS_H

// Files shared between users, for the tests of the file writer: a child that
// drops to an unprivileged user, the owner, group and permissions of files,
// and a shared results folder on a small disk. Only root can set these up.

#include "orvanefixtures.h"
#include "orvanesmalldisk.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace OrvaneOtherUsers {

// Runs `write` in a child that has dropped to the unprivileged user, as a
// user who may write a file but not its folder: root ignores the folder's
// permissions. `folder` must be closed to that user. The child's exit code,
// or -1 when it did not exit; 2 and 3 are the child's own set-up failures.
constexpr uid_t nobody = 65534;
constexpr int couldNotDrop = 2;
constexpr int folderStillWritable = 3;

// A colleague's account and a group the unprivileged user shares with them.
constexpr uid_t colleague = 65533;
constexpr gid_t sharedGroup = 100;

// `folder` empty: the child may write where it likes. `groups`: the
// supplementary groups of the child.
inline int exitCodeAsNobody(const QString& folder, const std::function<int()>& write,
                     const std::vector<gid_t>& groups = {})
{
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (setgroups(groups.size(), groups.data()) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(couldNotDrop);
        if (!folder.isEmpty() && ::access(folder.toLocal8Bit().constData(), W_OK) == 0)
            _exit(folderStillWritable);
        _exit(write());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

struct Ownership {
    uid_t owner;
    gid_t group;
    mode_t mode;
};

inline Ownership ownershipOf(const QString& path)
{
    struct stat st = {};
    if (::stat(path.toLocal8Bit().constData(), &st) != 0)
        return {0, 0, 0};
    return {st.st_uid, st.st_gid, st.st_mode & 07777};
}

inline void expectOwnership(const QString& path, const Ownership& expected)
{
    const Ownership actual = ownershipOf(path);
    EXPECT_EQ(actual.owner, expected.owner) << path.toStdString();
    EXPECT_EQ(actual.group, expected.group) << path.toStdString();
    EXPECT_EQ(actual.mode, expected.mode) << path.toStdString();
}

inline bool setOwnership(const QString& path, const Ownership& wanted)
{
    const QByteArray name = path.toLocal8Bit();
    return ::chown(name.constData(), wanted.owner, wanted.group) == 0 && ::chmod(name.constData(), wanted.mode) == 0;
}

// Every file of a folder, hidden ones (a temporary file left behind) included.
inline QStringList everyFile(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// A shared results folder on `disk` holding `name` with the `earlier`
// content, which every user may write. `closed`: no other user may create
// files beside it (open it again with reopen() before the test ends). Empty
// when the folder cannot be made.
inline QString sharedResult(const QString& testFolder, const SmallDisk& disk, const QString& name,
                     const QByteArray& earlier, bool closed)
{
    const QString shared = disk.path(QStringLiteral("shared"));
    const QString file = shared + QLatin1Char('/') + name;
    if (chmod(testFolder.toLocal8Bit().constData(), 0755) != 0
        || chmod(disk.path(QString()).toLocal8Bit().constData(), 0755) != 0 || !QDir().mkpath(shared))
        return QString();
    OrvaneFixtures::writeFile(file, earlier);
    if (chmod(file.toLocal8Bit().constData(), 0666) != 0
        || (closed && chmod(shared.toLocal8Bit().constData(), 0555) != 0))
        return QString();
    return file;
}

// So that the temporary folder can be removed.
inline void reopen(const QString& file)
{
    chmod(QFileInfo(file).absolutePath().toLocal8Bit().constData(), 0755);
}


} // namespace OrvaneOtherUsers

#endif
