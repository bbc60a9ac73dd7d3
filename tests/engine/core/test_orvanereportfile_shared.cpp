// The file writer where other users can reach: a folder every user may write
// (mode 1777), where another user may have put a file or a link in the
// writer's way; files that carry an access control list and extended
// attributes; names close to the longest the system allows; and in-place
// rewrites of large files and on disks with little room.

#include "orvanefixtures.h"
#include "orvaneotherusers.h"
#include "orvanereportfile.h"
#include "orvanesmalldisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::writeFile;
using namespace OrvaneOtherUsers;

namespace {

const QByteArray planted = "planted by another user\n";
const QByteArray kept = "a file of the writer's own, elsewhere\n";

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

ino_t inodeOf(const QString& path)
{
    struct stat st = {};
    return ::lstat(native(path).constData(), &st) == 0 ? st.st_ino : 0;
}

bool setLinkOwner(const QString& link, uid_t owner)
{
    return ::lchown(native(link).constData(), owner, static_cast<gid_t>(-1)) == 0;
}

// Runs `write` as the unprivileged user and prints its reason on a failure.
int writeAsNobody(const QString& file, const QByteArray& text)
{
    return exitCodeAsNobody(QString(), [&] {
        QString reason;
        if (OrvaneReportFile::write(file, text, reason))
            return 0;
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return 1;
    });
}

// A test folder that every user may enter, holding "shared" (mode 1777,
// root's, as /tmp is) and "mine" (the unprivileged user's own folder). Only
// root can set this up.
class SharedFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "only root can give files to other users and drop to one";
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(chmod(native(dir.path()).constData(), 0755), 0);
        ASSERT_TRUE(QDir().mkpath(shared) && QDir().mkpath(mine));
        ASSERT_EQ(chmod(native(shared).constData(), 01777), 0);
        ASSERT_TRUE(setOwnership(mine, {nobody, nobody, 0755}));
    }

    QString own(const QString& path, const QByteArray& text) const
    {
        writeFile(path, text);
        return setOwnership(path, {nobody, nobody, 0644}) ? path : QString();
    }

    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("shared"));
    const QString mine = dir.filePath(QStringLiteral("mine"));
};

} // namespace

TEST_F(SharedFolder, AHiddenNameTakenBeforehandCatchesNothing)
{
    // Another user, or a leftover with a second link, holds the hidden name
    // the writer writes under. The report is written all the same, and what
    // holds that name, or what it leads to, keeps its content.
    enum class Taken { OthersFile, OthersLink, LinkedLeftover };
    const struct {
        const char* name;
        Taken taken;
        bool earlierReport;
    } cases[] = {
        {"another user's file every user may write, new report", Taken::OthersFile, false},
        {"another user's file every user may write, earlier report", Taken::OthersFile, true},
        {"another user's link to a file of the writer", Taken::OthersLink, true},
        {"the writer's own leftover, also linked from a snapshot", Taken::LinkedLeftover, true},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString report = shared + QStringLiteral("/report%1.omega").arg(++index);
        const QString hidden = shared + QStringLiteral("/.report%1.omega.orvane-part").arg(index);
        if (c.earlierReport)
            ASSERT_FALSE(own(report, "earlier report\n").isEmpty());
        QString watched = hidden; // what must keep the planted content
        switch (c.taken) {
        case Taken::OthersFile:
            writeFile(hidden, planted);
            ASSERT_TRUE(setOwnership(hidden, {colleague, colleague, 0666}));
            break;
        case Taken::OthersLink:
            watched = own(mine + QStringLiteral("/kept%1.omega").arg(index), planted);
            ASSERT_TRUE(QFile::link(watched, hidden));
            ASSERT_TRUE(setLinkOwner(hidden, colleague));
            break;
        case Taken::LinkedLeftover:
            watched = own(mine + QStringLiteral("/snapshot%1").arg(index), planted);
            ASSERT_EQ(::link(native(watched).constData(), native(hidden).constData()), 0);
            break;
        }

        const int code = writeAsNobody(report, "new report\n");
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        EXPECT_EQ(code, 0);
        EXPECT_EQ(contents(report), QByteArray("new report\n"));
        EXPECT_EQ(ownershipOf(report).owner, nobody);
        EXPECT_EQ(contents(watched), planted);
        if (c.taken == Taken::LinkedLeftover)
            EXPECT_FALSE(QFileInfo::exists(hidden)) << "the leftover is taken away";
        else
            EXPECT_TRUE(QFileInfo(hidden).exists() || QFileInfo(hidden).isSymLink());
    }
    // Nothing of the writer's is left beside the reports.
    for (const QString& name : everyFile(shared)) {
        struct stat st = {};
        if (!name.startsWith(QLatin1String("report")) && ::lstat(native(shared + QLatin1Char('/') + name).constData(), &st) == 0)
            EXPECT_NE(st.st_uid, nobody) << name.toStdString();
    }
}

TEST_F(SharedFolder, ALinkIsFollowedOnlyWhenItsOwnerIsTrusted)
{
    // A report name that is a link to a file of the writer's own elsewhere,
    // or a name under a link to the writer's own folder. In a folder every user may write, another user's link
    // may have been planted to have that file replaced: it is refused, as
    // the system's own rule for such folders would (switched off here or
    // not). The writer's own links, the folder owner's, and links in
    // folders that not every user may write are followed.
    const QString othersFolder = dir.filePath(QStringLiteral("colleague"));
    ASSERT_TRUE(QDir().mkpath(othersFolder));
    ASSERT_TRUE(setOwnership(othersFolder, {colleague, colleague, 0755}));
    // `toFolder`: the link names the writer's folder, and the report is
    // written under it.
    const struct {
        const char* name;
        QString folder;
        uid_t linkOwner;
        bool toFolder;
        bool followed;
    } cases[] = {
        {"another user's link in a shared folder", shared, colleague, false, false},
        {"the writer's own link in a shared folder", shared, nobody, false, true},
        {"the shared folder owner's link", shared, 0, false, true},
        {"another user's link in their own folder", othersFolder, colleague, false, true},
        {"another user's link to a folder, in a shared folder", shared, colleague, true, false},
        {"the writer's own link to a folder, in a shared folder", shared, nobody, true, true},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString reportName = QStringLiteral("/report%1.omega").arg(++index);
        const QString target = own(mine + reportName, kept);
        const QString link = c.folder + (c.toFolder ? QStringLiteral("/results%1").arg(index) : reportName);
        ASSERT_TRUE(QFile::link(c.toFolder ? mine : target, link));
        ASSERT_TRUE(setLinkOwner(link, c.linkOwner));
        const QString name = c.toFolder ? link + reportName : link;

        const int code = exitCodeAsNobody(QString(), [&] {
            QString reason;
            const bool written = OrvaneReportFile::write(name, QByteArray("new report\n"), reason);
            if (written == c.followed
                && (written || reason.contains(QLatin1String("a link that another user made")) && reason.contains(link)))
                return 0;
            std::fprintf(stderr, "%s\n", written ? "written" : qPrintable(reason));
            return 1;
        });
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        EXPECT_EQ(code, 0) << "see the line above";
        EXPECT_EQ(contents(target), c.followed ? QByteArray("new report\n") : kept);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
}

namespace {

// An access control list as the system stores it in the extended attribute
// "system.posix_acl_access": version 2, then (tag, permissions, id) entries
// in the order of their tags.
struct AclEntry {
    quint16 tag;
    quint16 permissions;
    quint32 id;
};

QByteArray acl(std::initializer_list<AclEntry> entries)
{
    QByteArray bytes;
    const auto put = [&bytes](quint32 value, int size) {
        for (int k = 0; k < size; ++k)
            bytes.append(static_cast<char>((value >> (8 * k)) & 0xff));
    };
    put(2, 4);
    for (const AclEntry& e : entries) {
        put(e.tag, 2);
        put(e.permissions, 2);
        put(e.id, 4);
    }
    return bytes;
}

constexpr quint16 userObj = 0x01, namedUser = 0x02, groupObj = 0x04, mask = 0x10, other = 0x20;
constexpr quint32 noId = 0xffffffff;
const char* const accessList = "system.posix_acl_access";
const char* const defaultList = "system.posix_acl_default";
const char* const origin = "user.orvane.origin";

// 0640 with read and write for the user 4242: the group's bits show the
// mask, rw.
const QByteArray namedUserMayWrite = acl({{userObj, 6, noId}, {namedUser, 6, 4242}, {groupObj, 4, noId},
                                          {mask, 6, noId}, {other, 0, noId}});

// The value of an extended attribute, or "(none)".
QByteArray attribute(const QString& path, const char* name)
{
    QByteArray value(4096, '\0');
    const ssize_t n = ::getxattr(native(path).constData(), name, value.data(), static_cast<size_t>(value.size()));
    return n < 0 ? QByteArray("(none)") : value.left(static_cast<int>(n));
}

bool setAttribute(const QString& path, const char* name, const QByteArray& value)
{
    return ::setxattr(native(path).constData(), name, value.constData(), static_cast<size_t>(value.size()), 0) == 0;
}

} // namespace

TEST_F(SharedFolder, AReplacedFileKeepsItsAccessListAndAttributes)
{
    // A report that a colleague may write through the access control list,
    // not through its group, and that carries an attribute of the user's.
    // The new file carries the same, so the group gains no right: the
    // group's permission bits of a file with a list are the list's mask. A
    // file without a list does not gain the folder's default list either.
    {
        const QString probe = writeFile(dir.filePath(QStringLiteral("probe")), "probe\n");
        if (!setAttribute(probe, accessList, namedUserMayWrite) || !setAttribute(probe, origin, "probe"))
            GTEST_SKIP() << "the test folder keeps no access lists or user attributes: " << std::strerror(errno);
    }
    const struct {
        const char* name;
        bool asNobody;
        Ownership file;
        bool withList;
        bool folderDefault;
    } cases[] = {
        {"root saves a colleague's report", false, {colleague, sharedGroup, 0640}, true, false},
        {"a user saves their own report", true, {nobody, sharedGroup, 0640}, true, false},
        {"a report without a list in a folder with a default list", true, {nobody, sharedGroup, 0640}, false, true},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = mine + QStringLiteral("/folder%1").arg(++index);
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(setOwnership(folder, {nobody, nobody, 0755}));
        const QString file = writeFile(folder + QStringLiteral("/report.omega"), "earlier report\n");
        ASSERT_TRUE(setOwnership(file, c.file));
        if (c.withList)
            ASSERT_TRUE(setAttribute(file, accessList, namedUserMayWrite)) << std::strerror(errno);
        if (c.folderDefault)
            ASSERT_TRUE(setAttribute(folder, defaultList, namedUserMayWrite)) << std::strerror(errno);
        ASSERT_TRUE(setAttribute(file, origin, "instrument 7"));
        const Ownership before = ownershipOf(file);
        const QByteArray listBefore = attribute(file, accessList);
        const ino_t earlier = inodeOf(file);

        const auto write = [&] {
            QString reason;
            return OrvaneReportFile::write(file, QByteArray("new report\n"), reason) ? 0 : 1;
        };
        const int code = c.asNobody ? exitCodeAsNobody(QString(), write, {sharedGroup}) : write();
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        EXPECT_EQ(code, 0);
        EXPECT_EQ(contents(file), QByteArray("new report\n"));
        EXPECT_NE(inodeOf(file), earlier) << "not replaced but rewritten in place";
        expectOwnership(file, before);
        EXPECT_EQ(attribute(file, accessList), listBefore);
        EXPECT_EQ(attribute(file, origin), QByteArray("instrument 7"));
        EXPECT_EQ(everyFile(folder), QStringList{QStringLiteral("report.omega")});
    }
}

TEST(ReportFile, NamesUpToTheLongestAllowedAreReplacedAtomically)
{
    // The hidden name beside a long name would pass the system's limit of
    // 255 bytes. A new file is written all the same, and an earlier one is
    // replaced, not rewritten in place: a second link to it keeps the
    // earlier content.
    const QString accented = QString(127, QChar(0x00e9)) + QLatin1Char('x'); // 255 bytes in UTF-8
    const struct {
        const char* name;
        QString fileName;
        int bytes;
        bool earlier;
    } cases[] = {
        {"245 bytes, new", QString(241, QLatin1Char('r')) + QStringLiteral(".txt"), 245, false},
        {"245 bytes, earlier", QString(241, QLatin1Char('r')) + QStringLiteral(".txt"), 245, true},
        {"255 bytes, earlier", QString(251, QLatin1Char('s')) + QStringLiteral(".txt"), 255, true},
        {"255 bytes of two-byte characters, new", accented, 255, false},
        {"255 bytes of two-byte characters, earlier", accented, 255, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(native(c.fileName).size(), c.bytes);
        const QString file = dir.filePath(c.fileName);
        const QString snapshot = dir.filePath(QStringLiteral("snapshot"));
        QStringList expected{c.fileName};
        if (c.earlier) {
            writeFile(file, "earlier\n");
            ASSERT_EQ(::link(native(file).constData(), native(snapshot).constData()), 0);
            expected.append(QStringLiteral("snapshot"));
        }
        QString reason;
        EXPECT_TRUE(OrvaneReportFile::write(file, QByteArray("new\n"), reason)) << reason.toStdString();
        EXPECT_EQ(contents(file), QByteArray("new\n"));
        if (c.earlier)
            EXPECT_EQ(contents(snapshot), QByteArray("earlier\n"));
        expected.sort();
        EXPECT_EQ(everyFile(dir.path()), expected);
    }
}

TEST_F(SharedFolder, ARefusedInPlaceWriteGivesItsReservedRoomBack)
{
    // Two files of the shared results folder, written together in place on
    // a disk with little room: the room for the second is reserved, the
    // first finds none. The write is refused and the disk has the room it
    // had before.
    SmallDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    const QByteArray earlier(4096, 'e');
    const QString second = sharedResult(dir.path(), disk, QStringLiteral("complex.pointcharge"), earlier, false);
    const QString first = sharedResult(dir.path(), disk, QStringLiteral("complex.orcinp"), earlier, true);
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    ASSERT_TRUE(disk.fillLeaving(64 * 1024));
    const auto freeBlocks = [&] {
        struct statvfs st = {};
        return ::statvfs(native(first).constData(), &st) == 0 ? static_cast<qint64>(st.f_bfree) : qint64(-1);
    };
    const qint64 before = freeBlocks();

    const int code = exitCodeAsNobody(QFileInfo(first).absolutePath(), [&] {
        QString reason;
        if (OrvaneReportFile::writeAll({qMakePair(first, QString(96 * 1024, QLatin1Char('i'))),
                                        qMakePair(second, QString(32 * 1024, QLatin1Char('c')))},
                                       reason))
            return 1;
        return reason.contains(QLatin1String("No space left on device")) ? 0 : 4;
    });
    ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
    ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(freeBlocks(), before);
    EXPECT_EQ(contents(first), earlier);
    EXPECT_EQ(contents(second), earlier);
    reopen(first);
}

TEST_F(SharedFolder, KeepingTheEarlierContentAsideNeverTakesTheRoomOfTheNewContent)
{
    // The temporary folder is the shared folder itself (mode 1777, as /tmp
    // is), on a disk with little room, and holds a colleague's report that
    // the user's group may write: it is rewritten in place. The disk has
    // room for what the report grows by, not also for a copy of the earlier
    // report: the write succeeds, the new content whole, nothing left over.
    SmallDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    ASSERT_EQ(chmod(native(disk.path(QString())).constData(), 0755), 0);
    const QString temp = disk.path(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temp));
    ASSERT_EQ(chmod(native(temp).constData(), 01777), 0);
    const QString report = writeFile(temp + QStringLiteral("/results.txt"), QByteArray(64 * 1024, 'e'));
    ASSERT_TRUE(setOwnership(report, {colleague, sharedGroup, 0664}));
    ASSERT_TRUE(disk.fillLeaving(80 * 1024));
    const QByteArray longer(96 * 1024, 'n');

    const int code = exitCodeAsNobody(
        QString(),
        [&] {
            ::setenv("TMPDIR", native(temp).constData(), 1);
            QString reason;
            if (OrvaneReportFile::write(report, longer, reason))
                return 0;
            std::fprintf(stderr, "%s\n", qPrintable(reason));
            return 1;
        },
        {sharedGroup});
    ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
    EXPECT_EQ(code, 0) << "the copy of the earlier content took the room of the new";
    EXPECT_TRUE(contents(report) == longer);
    EXPECT_EQ(everyFile(temp), QStringList{QStringLiteral("results.txt")});
    expectOwnership(report, {colleague, sharedGroup, 0664});
}

TEST_F(SharedFolder, AnInPlaceRewriteOfALargeFileHoldsLittleInMemory)
{
    // The shared results folder that the user may not write: a short report
    // over an earlier output of 1.9 GB (sparse here, so that it costs no
    // disk), and a copy of a 64 MiB file over a short one. Neither file is
    // held in memory whole: the writing child grows by far less than either.
    const QString source = writeFile(dir.filePath(QStringLiteral("large.orcout")), QByteArray(64 << 20, 'o'));
    const qint64 largeEarlier = qint64(1900) << 20;
    const qint64 allowedGrowthKiB = 24 << 10;
    const struct {
        const char* name;
        qint64 earlierSize;
        bool copy;
    } cases[] = {
        {"a short report over a 1.9 GB file", largeEarlier, false},
        {"a copy of 64 MiB over a short file", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString results = dir.filePath(QStringLiteral("results"));
        ASSERT_TRUE(QDir().mkpath(results));
        ASSERT_EQ(chmod(native(results).constData(), 0755), 0);
        const QString file = writeFile(results + QStringLiteral("/results.orcout"), "the head of an earlier output\n");
        if (c.earlierSize != 0)
            ASSERT_EQ(truncate(native(file).constData(), c.earlierSize), 0);
        ASSERT_EQ(chmod(native(file).constData(), 0666), 0);
        ASSERT_EQ(chmod(native(results).constData(), 0555), 0);

        const int code = exitCodeAsNobody(results, [&] {
            struct rusage start = {};
            getrusage(RUSAGE_SELF, &start);
            QString reason;
            const bool written = c.copy ? OrvaneReportFile::copyAll({qMakePair(source, file)}, reason)
                                        : OrvaneReportFile::write(file, QByteArray("a short report\n"), reason);
            if (!written) {
                std::fprintf(stderr, "%s\n", qPrintable(reason));
                return 1;
            }
            struct rusage end = {};
            getrusage(RUSAGE_SELF, &end);
            std::fprintf(stderr, "grew by %ld KiB\n", end.ru_maxrss - start.ru_maxrss);
            return end.ru_maxrss - start.ru_maxrss < allowedGrowthKiB ? 0 : 5;
        });
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
        EXPECT_NE(code, 5) << "the file was held in memory";
        EXPECT_EQ(code, 0);
        if (c.copy)
            EXPECT_TRUE(contents(file) == contents(source)) << "the copy differs";
        else
            EXPECT_EQ(contents(file), QByteArray("a short report\n"));
        EXPECT_EQ(everyFile(results), QStringList{QStringLiteral("results.orcout")});
        ASSERT_EQ(chmod(native(results).constData(), 0755), 0);
        QFile::remove(file);
    }
}

TEST_F(SharedFolder, CopiesThroughASmallBlockKeepEveryByte)
{
    // Copies go through a block of fixed size: with a block of 7 bytes, a
    // source of many blocks, and one with a hole in the middle, arrive
    // whole, both beside the target and in place.
    QByteArray dense;
    for (int k = 0; k < 1000; ++k)
        dense.append(static_cast<char>('a' + k % 23));
    const QString denseSource = writeFile(dir.filePath(QStringLiteral("dense")), dense);
    const QString sparseSource = writeFile(dir.filePath(QStringLiteral("sparse")), dense);
    {
        QFile sparse(sparseSource);
        ASSERT_TRUE(sparse.open(QIODevice::ReadWrite) && sparse.seek(64 << 10) && sparse.write(dense) == dense.size());
    }
    const struct {
        const char* name;
        QString source;
        bool inPlace;
    } cases[] = {
        {"dense, replaced", denseSource, false},
        {"dense, in place", denseSource, true},
        {"with a hole, replaced", sparseSource, false},
        {"with a hole, in place", sparseSource, true},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = dir.filePath(QStringLiteral("folder%1").arg(++index));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString target = writeFile(folder + QStringLiteral("/copy"), QByteArray(5000, 'e'));
        ASSERT_EQ(chmod(native(target).constData(), 0666), 0);
        ASSERT_EQ(chmod(native(folder).constData(), c.inPlace ? 0555 : 0777), 0);
        const int code = exitCodeAsNobody(c.inPlace ? folder : QString(), [&] {
            OrvaneReportFile::setCopyBlockForTesting(7);
            QString reason;
            if (OrvaneReportFile::copyAll({qMakePair(c.source, target)}, reason))
                return 0;
            std::fprintf(stderr, "%s\n", qPrintable(reason));
            return 1;
        });
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
        EXPECT_EQ(code, 0);
        EXPECT_TRUE(contents(target) == contents(c.source)) << "the copy differs";
        ASSERT_EQ(chmod(native(folder).constData(), 0755), 0);
    }
}

TEST(ReportFile, AFolderInTheWayIsNamedOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("report.omega"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QString reason;
    EXPECT_FALSE(OrvaneReportFile::write(folder, QByteArray("report\n"), reason));
    EXPECT_EQ(reason, QStringLiteral("The file %1 could not be written: it is a folder, not a file.").arg(folder));
}
