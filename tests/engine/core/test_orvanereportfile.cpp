// Every file the engine writes goes through one writer: on a full disk it
// fails with the disk's reason and leaves the user's previous file as it was;
// it never blocks on a FIFO or replaces a folder; it writes in place when the
// user may write the file but not its folder; and files that belong together
// are written both or neither.

#include "orvanefilesconverter.h"
#include "orvanefixtures.h"
#include "orvaneotherusers.h"
#include "orvanesmalldisk.h"
#include "orvanenormalizepoints.h"
#include "orvaneorganizemolecules.h"
#include "orvanereportfile.h"
#include "orvanerl.h"
#include "orvaneomegaexp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::resultWithin;
using OrvaneFixtures::writeFile;
using namespace OrvaneOtherUsers;

namespace {

const QString noSpace = QStringLiteral("No space left on device");

QString mopacOutput(const char* name)
{
    return dataPath(QStringLiteral("mopac/") + QLatin1String(name));
}

// One family of writers: the files it writes (first the one it is asked
// for) and the call, which returns its success and leaves the reason.
struct WriterCase {
    const char* name;
    QStringList targets;
    std::function<bool(const QStringList& targets, QString& reason)> write;
};

template <typename Object>
bool withReason(Object& object, bool ok, QString& reason)
{
    reason = object.getLastError();
    return ok;
}

QVector<WriterCase> writerCases()
{
    using Convert = std::function<bool(OrvaneFilesConverter&, const QString&)>;
    auto converter = [](const char* source, const Convert& convert) {
        return [source, convert](const QStringList& targets, QString& reason) {
            OrvaneFilesConverter c(nullptr, mopacOutput(source));
            return withReason(c, convert(c, targets.first()), reason);
        };
    };
    return {
        {"gjf", {"out.gjf"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToGjf(t); })},
        {"inp", {"out.inp"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToInp(t); })},
        {"orcinp", {"out.orcinp", "out.pointcharge"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) {
                 return c.convertFromOutToInpOrca(t, true, false, 0, 0, 10, QString());
             })},
        {"mop", {"out.mop"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToMop(t); })},
        {"sph", {"out.sph"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToSph(t); })},
        {"zmt", {"out.zmt"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToZmt(t); })},
        {"xyz", {"out.xyz"}, converter("eu_h2o8_allvec.out",
             [](OrvaneFilesConverter& c, const QString& t) { return c.convertFromOutToXYZ(t, true); })},
        {"mol2 to mop", {"mol2.mop"}, [](const QStringList& targets, QString& reason) {
             OrvaneOrganizeMolecules organizer(nullptr);
             const bool ok = organizer.readMOL2(dataPath(QStringLiteral("writers/eu_aqua3.mol2")))
                 && organizer.createOutpuFile(targets.first());
             return withReason(organizer, ok, reason);
         }},
        {"RL report", {"out.rl"}, [](const QStringList& targets, QString& reason) {
             OrvaneRL rl(nullptr, dataPath(QStringLiteral("zindo/eu_co.zin")));
             const bool ok = rl.calcRL(OrvaneRL::Zindo) && rl.createOutput(targets.first());
             return withReason(rl, ok, reason);
         }},
        {"spectrum points", {"out.txt"}, [](const QStringList& targets, QString& reason) {
             OrvaneNormalizePoints points(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")),
                                          OrvaneNormalizePoints::Gaussian);
             return withReason(points, points.createEspFile(targets.first()), reason);
         }},
        {"experimental intensities", {"out.orvaneexp"}, [](const QStringList& targets, QString& reason) {
             OrvaneOmegaExp exp(nullptr, 1.5);
             exp.setAreaOfTransition(0.0, 1.0, 5.0, 0.0, 2.0, 0.0);
             exp.setBarycenterOfEnergy(0.0, 16900.0, 16300.0, 0.0, 14400.0, 0.0);
             const bool ok = exp.calcOmegaExp();
             exp.createOutputFile(targets.first());
             return withReason(exp, ok && exp.getLastError().isEmpty(), reason);
         }},
    };
}

QStringList inFolder(const QStringList& names, const std::function<QString(const QString&)>& path)
{
    QStringList result;
    for (const QString& name : names)
        result.append(path(name));
    return result;
}

} // namespace

TEST(ReportFile, EveryWriterSucceedsOnAnEmptyFolder)
{
    // The cases below rely on each writer writing when nothing stands in its way.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const WriterCase& c : writerCases()) {
        SCOPED_TRACE(c.name);
        const QStringList targets = inFolder(c.targets, [&](const QString& n) { return dir.filePath(n); });
        QString reason;
        EXPECT_TRUE(c.write(targets, reason)) << reason.toStdString();
        for (const QString& target : targets)
            EXPECT_GT(QFileInfo(target).size(), 0) << target.toStdString();
    }
}

TEST(ReportFile, FullDiskFailsWithItsReasonAndKeepsThePreviousFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SmallDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;

    const QVector<WriterCase> cases = writerCases();
    for (const WriterCase& c : cases)
        for (const QString& name : c.targets)
            writeFile(disk.path(name), "previous " + name.toUtf8() + "\n");
    ASSERT_TRUE(disk.fill());

    for (const WriterCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList targets = inFolder(c.targets, [&](const QString& n) { return disk.path(n); });
        QString reason;
        EXPECT_FALSE(c.write(targets, reason));
        EXPECT_TRUE(reason.contains(noSpace)) << reason.toStdString();
        EXPECT_TRUE(reason.contains(QFileInfo(targets.first()).fileName()) || c.targets.size() > 1)
            << reason.toStdString();
        for (int k = 0; k < targets.size(); ++k)
            EXPECT_EQ(contents(targets.at(k)), "previous " + c.targets.at(k).toUtf8() + "\n")
                << targets.at(k).toStdString();
    }
    // No temporary file of a failed write is left behind.
    QStringList left = QDir(disk.path(QString())).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    QStringList expected;
    for (const WriterCase& c : cases)
        expected += c.targets;
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
}

TEST(ReportFile, ThingsThatAreNotFilesAreRefusedByName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));

    const struct {
        QString path;
        const char* named;
    } targets[] = {{fifo, "is not a regular file"}, {folder, "is a folder"}};
    for (const auto& t : targets) {
        for (const WriterCase& c : writerCases()) {
            if (c.targets.size() > 1)
                continue; // the pair is checked below
            SCOPED_TRACE(std::string(c.name) + " to " + t.path.toStdString());
            QString reason;
            // Opening a FIFO for writing waits for a reader that never comes.
            EXPECT_FALSE(resultWithin(20, [&] { return c.write({t.path}, reason); }));
            EXPECT_TRUE(reason.contains(QLatin1String(t.named))) << reason.toStdString();
        }
        EXPECT_TRUE(QFileInfo(t.path).exists());
        EXPECT_FALSE(QFileInfo(t.path).isFile());
    }

    // A FIFO as the source of a conversion: the failure is worded without
    // opening it a second time.
    OrvaneFilesConverter converter(nullptr, fifo);
    EXPECT_FALSE(resultWithin(20, [&] { return converter.convertFromOutToInp(dir.filePath(QStringLiteral("a.inp"))); }));
    EXPECT_TRUE(converter.getLastError().contains(QLatin1String("is not a regular file")))
        << converter.getLastError().toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.inp"))));
}

TEST(ReportFile, OrcaInputAndPointChargesAreWrittenBothOrNeither)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The input cannot be written (a folder has its name): its point charges
    // must not appear beside it either, nor replace an earlier file.
    const QString input = dir.filePath(QStringLiteral("complex.orcinp"));
    ASSERT_TRUE(QDir().mkpath(input));
    const QString charges = dir.filePath(QStringLiteral("complex.pointcharge"));
    const QString elsewhere = dir.filePath(QStringLiteral("chosen.pointcharge"));
    writeFile(elsewhere, "1\n3.0 1 2 3\n");

    OrvaneFilesConverter converter(nullptr, mopacOutput("eu_h2o8_allvec.out"));
    EXPECT_FALSE(converter.convertFromOutToInpOrca(input, true, false, 0, 0, 10, QString()));
    EXPECT_FALSE(QFile::exists(charges));
    EXPECT_FALSE(converter.convertFromOutToInpOrca(input, true, false, 0, 0, 10, elsewhere));
    EXPECT_EQ(contents(elsewhere), QByteArray("1\n3.0 1 2 3\n"));
}

TEST(ReportFile, WritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    // A shared results folder: the user may rewrite the file but may not
    // create files beside it, so no atomic replace is possible. An earlier
    // output of more than 4 GiB (sparse here) cannot be kept in memory to be
    // put back, which must neither stop the in-place write nor corrupt it.
    const struct {
        const char* name;
        QByteArray earlier;
        off_t earlierSize; // 0: the size of `earlier`
    } cases[] = {
        {"results.txt", "an older result, longer than the new one\n", 0},
        {"results.orcout", QByteArray(), (off_t(1) << 32) + 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString shared = dir.filePath(QStringLiteral("shared"));
        ASSERT_TRUE(QDir().mkpath(shared));
        const QString file = shared + QLatin1Char('/') + QLatin1String(c.name);
        writeFile(file, c.earlier);
        if (c.earlierSize != 0)
            ASSERT_EQ(truncate(file.toLocal8Bit().constData(), c.earlierSize), 0);
        ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
        ASSERT_EQ(chmod(file.toLocal8Bit().constData(), 0666), 0);
        ASSERT_EQ(chmod(shared.toLocal8Bit().constData(), 0555), 0);

        const QString text = QStringLiteral("the new result\n");
        if (geteuid() != 0) {
            QString reason;
            EXPECT_TRUE(OrvaneReportFile::write(file, text, reason)) << reason.toStdString();
        } else {
            const int code = exitCodeAsNobody(shared, [&] {
                QString reason;
                return OrvaneReportFile::write(file, text, reason) ? 0 : 1;
            });
            ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
            ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
            EXPECT_EQ(code, 0) << "the file was not written in place";
        }
        EXPECT_EQ(contents(file), text.toUtf8());
        EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{QLatin1String(c.name)});
        chmod(shared.toLocal8Bit().constData(), 0755); // so that the temporary folder can be removed
    }
}

TEST(ReportFile, InPlaceWriteOnAFullDiskRefusesAndKeepsTheEarlierFileWhole)
{
    // The shared results folder of the case above, on a disk that is full:
    // the new content is longer than the earlier file and finds no room.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can mount the small disk and drop to another user";
    SmallDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(chmod(disk.path(QString()).toLocal8Bit().constData(), 0755), 0);
    const QString shared = disk.path(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    const QString file = shared + QStringLiteral("/results.txt");
    const QByteArray earlier = "the earlier result\n";
    writeFile(file, earlier);
    ASSERT_EQ(chmod(file.toLocal8Bit().constData(), 0666), 0);
    ASSERT_EQ(chmod(shared.toLocal8Bit().constData(), 0555), 0);
    ASSERT_TRUE(disk.fill());

    const QString longer = QString(64 * 1024, QLatin1Char('x'));
    const int code = exitCodeAsNobody(shared, [&] {
        QString reason;
        if (OrvaneReportFile::write(file, longer, reason))
            return 1;
        return reason.contains(noSpace) && reason.contains(file) ? 0 : 4;
    });
    ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
    ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
    EXPECT_NE(code, 1) << "a write reported success on a full disk";
    EXPECT_NE(code, 4) << "the refusal does not give the disk's reason and the file";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(contents(file), earlier);
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("results.txt")});
    chmod(shared.toLocal8Bit().constData(), 0755);
}

TEST(ReportFile, BytesAreWrittenAsGiven)
{
    // Images and other binary content: no text encoding, NUL bytes kept.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = writeFile(dir.filePath(QStringLiteral("image.png")), "an earlier, longer image file");
    const QByteArray bytes("\x89PNG\r\n\x1a\n\x00\xff\xfe", 11);
    QString reason;
    ASSERT_TRUE(OrvaneReportFile::write(file, bytes, reason)) << reason.toStdString();
    EXPECT_EQ(contents(file), bytes);
}

TEST(ReportFile, InPlaceWriteWorksWhereTheDiskCannotReserveRoom)
{
    // A share without space reservation (a ramfs here; NFS v3 is the common
    // case): the shared results folder of the cases above, with an earlier
    // report of several pages replaced by a shorter and by a longer one.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can mount the share and drop to another user";
    SmallDisk share(dir.path(), SmallDisk::Type::Ramfs);
    if (!share.mounted)
        GTEST_SKIP() << share.skipReason;
    const QString shorter = sharedResult(dir.path(), share, QStringLiteral("results3000.txt"), QByteArray(20000, 'e'), false);
    const QString longer = sharedResult(dir.path(), share, QStringLiteral("results40000.txt"), QByteArray(20000, 'e'), true);
    ASSERT_FALSE(shorter.isEmpty() || longer.isEmpty());
    const QString shared = QFileInfo(longer).absolutePath();

    for (const int newSize : {3000, 40000}) {
        SCOPED_TRACE(newSize);
        const QString file = shared + QStringLiteral("/results%1.txt").arg(newSize);
        const QString text(newSize, QLatin1Char('n'));
        const int code = exitCodeAsNobody(shared, [&] {
            QString reason;
            if (OrvaneReportFile::write(file, text, reason))
                return 0;
            std::fprintf(stderr, "%s\n", qPrintable(reason));
            return 1;
        });
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
        EXPECT_EQ(code, 0) << "the file was not written in place";
        EXPECT_EQ(contents(file), text.toUtf8());
    }
    EXPECT_EQ(everyFile(shared), (QStringList{QStringLiteral("results3000.txt"), QStringLiteral("results40000.txt")}));
    reopen(longer);
}

TEST(ReportFile, AColleaguesFileInASharedStickyFolderIsRewrittenInPlace)
{
    // A folder every user may write (mode 1777), holding a colleague's files
    // that their group may write: the user may not rename over them, so the
    // new content goes into them in place. The files stay the colleague's.
    // The pair case: the user's own ORCA input beside the colleague's point
    // charges must never become a new input with the earlier charges.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give files to other users and drop to one";
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    const QString shared = dir.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(chmod(shared.toLocal8Bit().constData(), 01777), 0);
    const Ownership colleagues = {colleague, sharedGroup, 0664};
    const Ownership own = {nobody, nobody, 0644};

    const QString report = shared + QStringLiteral("/results.txt");
    writeFile(report, "the colleague's earlier result, longer than the new one\n");
    ASSERT_TRUE(setOwnership(report, colleagues));
    const QString input = shared + QStringLiteral("/complex.orcinp");
    const QString charges = shared + QStringLiteral("/complex.pointcharge");
    writeFile(input, "earlier input\n");
    writeFile(charges, "1\n3.0 0 0 0\n");
    ASSERT_TRUE(setOwnership(input, own));
    ASSERT_TRUE(setOwnership(charges, colleagues));

    const int code = exitCodeAsNobody(
        QString(),
        [&] {
            QString reason;
            if (!OrvaneReportFile::write(report, QStringLiteral("the new result\n"), reason)) {
                std::fprintf(stderr, "%s\n", qPrintable(reason));
                return 1;
            }
            if (!OrvaneReportFile::writeAll({qMakePair(input, QStringLiteral("new input\n")),
                                             qMakePair(charges, QStringLiteral("1\n3.0 1 1 1\n"))},
                                            reason)) {
                std::fprintf(stderr, "%s\n", qPrintable(reason));
                return 4;
            }
            return 0;
        },
        {sharedGroup});
    ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(contents(report), QByteArray("the new result\n"));
    expectOwnership(report, colleagues);
    EXPECT_EQ(contents(input), QByteArray("new input\n"));
    EXPECT_EQ(contents(charges), QByteArray("1\n3.0 1 1 1\n"));
    expectOwnership(charges, colleagues);
    EXPECT_EQ(everyFile(shared), (QStringList{QStringLiteral("complex.orcinp"), QStringLiteral("complex.pointcharge"),
                                              QStringLiteral("results.txt")}));
}

TEST(ReportFile, AReplacedFileKeepsItsOwnerGroupAndPermissions)
{
    // Replacing a file makes a new one: it takes the earlier file's owner,
    // group and permissions where the system allows, so that a group folder
    // keeps its access. Root may give any; a user may give a group of theirs.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give files to other users and groups";
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    const struct {
        const char* name;
        bool asNobody;
        Ownership folder;
        Ownership file;
    } cases[] = {
        {"root saves a colleague's report", false, {0, 0, 0755}, {colleague, sharedGroup, 0640}},
        {"a user saves a report of their group", true, {nobody, nobody, 0755}, {nobody, sharedGroup, 0660}},
        {"a private report stays private", true, {nobody, nobody, 0755}, {nobody, sharedGroup, 0600}},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = dir.filePath(QStringLiteral("folder%1").arg(++index));
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(setOwnership(folder, c.folder));
        const QString file = folder + QStringLiteral("/report.omega");
        writeFile(file, "earlier report\n");
        ASSERT_TRUE(setOwnership(file, c.file));
        const auto write = [&] {
            QString reason;
            return OrvaneReportFile::write(file, QStringLiteral("new report\n"), reason) ? 0 : 1;
        };
        const int code = c.asNobody ? exitCodeAsNobody(QString(), write, {sharedGroup}) : write();
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        EXPECT_EQ(code, 0);
        EXPECT_EQ(contents(file), QByteArray("new report\n"));
        expectOwnership(file, c.file);
        EXPECT_EQ(everyFile(folder), QStringList{QStringLiteral("report.omega")});
    }
}

namespace {

// The writer's step at which the child below ends itself, counted from 1.
int killAtStep = 0;
int stepsSeen = 0;

void killAtChosenStep(OrvaneReportFile::Step, const QString&)
{
    if (++stepsSeen == killAtStep)
        ::raise(SIGKILL);
}

} // namespace

TEST(ReportFile, AnOrcaInputAndItsChargesSurviveAKillAtEveryStep)
{
    // A child writes a new input and its point charges over an earlier pair
    // and is killed at each step of the write in turn. The new input never
    // stands beside the earlier charges; the earlier input may stand beside
    // new charges only between the two renames (never when the charges are
    // unchanged); and the next write leaves no temporary file behind.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = dir.filePath(QStringLiteral("complex.orcinp"));
    const QString charges = dir.filePath(QStringLiteral("complex.pointcharge"));
    const QByteArray earlierInput = "! ZINDO/S\n%pointcharges \"complex.pointcharge\"\n* earlier structure\n";
    const QByteArray earlierCharges = "1\n3.0 0.0 0.0 0.0\n";
    const QByteArray newInput = "! ZINDO/S\n%pointcharges \"complex.pointcharge\"\n* new structure\n";

    enum class Pair { Earlier, New, EarlierInputNewCharges };
    const struct {
        const char* name;
        QByteArray newCharges;
        QVector<Pair> afterKillAtStep; // the pair left by a kill at step 1, 2, ...
    } cases[] = {
        // Staged charges, staged input, charges renamed, input renamed.
        {"new charges", "1\n3.0 0.5 0.0 0.0\n", {Pair::Earlier, Pair::Earlier, Pair::EarlierInputNewCharges, Pair::New}},
        // Staged input, input renamed: the charges are left as they are.
        {"unchanged charges", earlierCharges, {Pair::Earlier, Pair::New}},
    };
    for (const auto& c : cases) {
        for (int step = 1; step <= c.afterKillAtStep.size() + 1; ++step) {
            SCOPED_TRACE(std::string(c.name) + ", killed at step " + std::to_string(step));
            writeFile(input, earlierInput);
            writeFile(charges, earlierCharges);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                killAtStep = step;
                OrvaneReportFile::setStepObserverForTesting(killAtChosenStep);
                QString reason;
                const bool written = OrvaneReportFile::writeAll(
                    {qMakePair(input, QString::fromUtf8(newInput)), qMakePair(charges, QString::fromUtf8(c.newCharges))},
                    reason);
                _exit(written ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            const bool killed = step <= c.afterKillAtStep.size();
            if (killed) {
                ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the write has fewer steps";
            } else {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write has more steps";
            }
            const Pair expected = killed ? c.afterKillAtStep.at(step - 1) : Pair::New;
            EXPECT_EQ(contents(input), expected == Pair::New ? newInput : earlierInput);
            EXPECT_EQ(contents(charges), expected == Pair::Earlier ? earlierCharges : c.newCharges);

            // The next write takes over what the killed one left.
            QString reason;
            ASSERT_TRUE(OrvaneReportFile::writeAll({qMakePair(input, QStringLiteral("next input\n")),
                                                    qMakePair(charges, QStringLiteral("1\n3.0 1.0 0.0 0.0\n"))},
                                                   reason))
                << reason.toStdString();
            EXPECT_EQ(everyFile(dir.path()),
                      (QStringList{QStringLiteral("complex.orcinp"), QStringLiteral("complex.pointcharge")}));
            EXPECT_EQ(contents(input), QByteArray("next input\n"));
        }
    }
}

TEST(ReportFile, ADiskWithLittleRoomRefusesWithItsReasonAndKeepsTheEarlierFile)
{
    // Room for the first pages of the new content, not for all of it, with
    // each way of writing: replacing the file, rewriting it in place in the
    // shared results folder, and the same on a disk that cannot reserve
    // room (switched off in the child). The reason is the disk's, the
    // earlier file stays whole and nothing is left beside it. With room the
    // last way writes: the check of the free room refuses only for want of it.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can mount the small disk and drop to another user";
    const struct {
        const char* name;
        bool inPlace;
        bool reservation;
        bool room;
    } cases[] = {
        {"replaced", false, true, false},
        {"in place", true, true, false},
        {"in place, no reservation", true, false, false},
        {"in place, no reservation, room", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDisk disk(dir.path());
        if (!disk.mounted)
            GTEST_SKIP() << disk.skipReason;
        const QByteArray earlier(10000, 'e');
        const QString file = sharedResult(dir.path(), disk, QStringLiteral("results.txt"), earlier, c.inPlace);
        ASSERT_FALSE(file.isEmpty());
        if (!c.room)
            ASSERT_TRUE(disk.fillLeaving(16 * 1024));

        const QByteArray longer(96 * 1024, 'n');
        const auto write = [&] {
            OrvaneReportFile::setRoomReservationForTesting(c.reservation);
            QString reason;
            const bool written = OrvaneReportFile::write(file, longer, reason);
            OrvaneReportFile::setRoomReservationForTesting(true);
            if (written == c.room && (c.room || (reason.contains(noSpace) && reason.contains(file))))
                return 0;
            std::fprintf(stderr, "%s\n", written ? "written" : qPrintable(reason));
            return 1;
        };
        const int code = c.inPlace ? exitCodeAsNobody(QFileInfo(file).absolutePath(), write) : write();
        ASSERT_NE(code, couldNotDrop) << "could not drop to an unprivileged user";
        ASSERT_NE(code, folderStillWritable) << "the unprivileged child may write the folder";
        EXPECT_EQ(code, 0) << "see the line above";
        EXPECT_EQ(contents(file), c.room ? longer : earlier);
        EXPECT_EQ(everyFile(QFileInfo(file).absolutePath()), QStringList{QStringLiteral("results.txt")});
        reopen(file);
    }
}
