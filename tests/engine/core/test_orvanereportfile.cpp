// Every file the engine writes goes through one writer: on a full disk it
// fails with the disk's reason and leaves the user's previous file as it was;
// it never blocks on a FIFO or replaces a folder; it writes in place when the
// user may write the file but not its folder; and files that belong together
// are written both or neither.

#include "orvanefilesconverter.h"
#include "orvanefixtures.h"
#include "orvanesmalldisk.h"
#include "orvanenormalizepoints.h"
#include "orvaneorganizemolecules.h"
#include "orvanereportfile.h"
#include "orvanerl.h"
#include "orvaneomegaexp.h"
#include "orvanesmalldisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::finishesWithin;
using OrvaneFixtures::writeFile;

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

// Runs `write` in a child that has dropped to the unprivileged user, as a
// user who may write a file but not its folder: root ignores the folder's
// permissions. `folder` must be closed to that user. The child's exit code,
// or -1 when it did not exit; 2 and 3 are the child's own set-up failures.
constexpr uid_t nobody = 65534;
constexpr int couldNotDrop = 2;
constexpr int folderStillWritable = 3;

int exitCodeAsNobody(const QString& folder, const std::function<int()>& write)
{
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(couldNotDrop);
        if (::access(folder.toLocal8Bit().constData(), W_OK) == 0)
            _exit(folderStillWritable);
        _exit(write());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
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
            EXPECT_FALSE(finishesWithin(20, [&] { return c.write({t.path}, reason); }));
            EXPECT_TRUE(reason.contains(QLatin1String(t.named))) << reason.toStdString();
        }
        EXPECT_TRUE(QFileInfo(t.path).exists());
        EXPECT_FALSE(QFileInfo(t.path).isFile());
    }

    // A FIFO as the source of a conversion: the failure is worded without
    // opening it a second time.
    OrvaneFilesConverter converter(nullptr, fifo);
    EXPECT_FALSE(finishesWithin(20, [&] { return converter.convertFromOutToInp(dir.filePath(QStringLiteral("a.inp"))); }));
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
    // create files beside it, so no atomic replace is possible.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shared = dir.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    const QString file = shared + QStringLiteral("/results.txt");
    writeFile(file, "an older result, longer than the new one\n");
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
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("results.txt")});
    chmod(shared.toLocal8Bit().constData(), 0755); // so that the temporary folder can be removed
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
