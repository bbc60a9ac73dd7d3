// The names of one external run and the clean-up after it, without the page:
// derived names for every kind of input (dots in folders, blanks and commas,
// several dots), the markers that judge an output, and the result moves that
// replace an earlier set only as a whole.

#include "externalpagetestsupport.h"

#include "orvaneexternalrun.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using externalpage::readText;
using externalpage::writeText;
using Program = OrvaneExternalRun::Program;
using Source = OrvaneExternalRun::Source;

TEST(OrvaneExternalRun, NamesFollowFromTheInput)
{
    const struct
    {
        Program program;
        Source source;
        const char* input;
        const char* argument;
        const char* followed;
        const char* result;
    } cases[] = {
        {Program::Mopac, Source::Mol2Drawing, "/data/complex.mol2", "/data/complex.mop", "/data/complex.out", ""},
        // A dot in a folder is no suffix; only the final suffix is replaced.
        {Program::Mopac, Source::MopacInput, "/data/v1.2/complex", "/data/v1.2/complex.mop",
         "/data/v1.2/complex.out", ""},
        {Program::Mopac, Source::MopacInput, "/data/a.b.mop", "/data/a.b.mop", "/data/a.b.out", ""},
        // From a MOPAC output: the work input in T under the cleaned base name
        // (up to the first dot), results beside the input under that name.
        {Program::Orca, Source::MopacOutput, "/data/my complex,1.x.out", "/tmp/T/mycomplex1.orcinp",
         "/tmp/T/mycomplex1.orcout", "/data/mycomplex1.orcout"},
        // A chosen input runs under its own name and folder.
        {Program::Orca, Source::OrcaInput, "/data/a.b.orcinp", "/data/a.b.orcinp", "/data/a.b.orcout",
         "/data/a.b.orcout"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const OrvaneExternalRun run(c.program, c.source, QString::fromUtf8(c.input), QStringLiteral("/tmp/T"));
        EXPECT_EQ(run.programArgument(), QString::fromUtf8(c.argument));
        EXPECT_EQ(run.followedOutput(), QString::fromUtf8(c.followed));
        if (c.program == Program::Orca)
            EXPECT_EQ(run.orcaResultFile(), QString::fromUtf8(c.result));
        EXPECT_EQ(run.orcaWorkInput().isEmpty(), c.source != Source::MopacOutput);
    }
}

TEST(OrvaneExternalRun, AnOutputIsJudgedByTheMarkersOfItsProgram)
{
    QTemporaryDir folder;
    const struct
    {
        Program program;
        const char* text;
        bool successful;
    } cases[] = {
        {Program::Mopac, " FINAL HEAT OF FORMATION = -1.0\n == MOPAC DONE ==\n", true},
        // An unknown keyword ends with DONE but without a heat of formation.
        {Program::Mopac, " == MOPAC DONE ==\n", false},
        {Program::Mopac, " FINAL HEAT OF FORMATION = -1.0\n", false},
        {Program::Orca, "****ORCA TERMINATED NORMALLY****\n", true},
        {Program::Orca, "ORCA finished by error termination\n", false},
        {Program::Orca, " == MOPAC DONE ==\n", false},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QString output = folder.filePath(QStringLiteral("out%1").arg(++index));
        writeText(output, QString::fromUtf8(c.text));
        EXPECT_EQ(OrvaneExternalRun::isSuccessfulOutput(c.program, output), c.successful);
    }
    EXPECT_FALSE(OrvaneExternalRun::isSuccessfulOutput(Program::Orca, folder.filePath(QStringLiteral("missing"))));
}

// Outputs of gigabytes are scanned, not read whole; a marker that straddles
// two blocks of the scan still counts; a FIFO is not opened.
TEST(OrvaneExternalRun, LargeOutputsAreScannedAndFifosAreNotOpened)
{
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("large.out"));
    {
        QFile file(output);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.write(QByteArray(3 * 1048576 - 10, ' ')) > 0);
        // The block boundary at 3 MiB falls inside this marker.
        ASSERT_TRUE(file.write(" FINAL HEAT OF FORMATION = -1.0\n") > 0);
        ASSERT_TRUE(file.write(QByteArray(1048576, ' ')) > 0);
        ASSERT_TRUE(file.write(" == MOPAC DONE ==\n") > 0);
    }
    EXPECT_TRUE(OrvaneExternalRun::isSuccessfulOutput(Program::Mopac, output));
    EXPECT_FALSE(OrvaneExternalRun::isSuccessfulOutput(Program::Orca, output));

    const QString fifo = folder.filePath(QStringLiteral("pipe.orcout"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(OrvaneFixtures::resultWithin(20, [&] { return OrvaneExternalRun::isSuccessfulOutput(Program::Orca, fifo); }));
}

class ResultMoveFixture : public ::testing::Test
{
protected:
    QString work(const QString& name) const { return temp.filePath(QStringLiteral("T/") + name); }
    QString data(const QString& name) const { return temp.filePath(QStringLiteral("data/") + name); }
    OrvaneExternalRun run() const
    {
        return OrvaneExternalRun(Program::Orca, Source::MopacOutput, data(QStringLiteral("complex.out")),
                                 temp.filePath(QStringLiteral("T")));
    }
    void writeWorkResults()
    {
        for (const char* name : {"complex.orcinp", "complex.pointcharge", "complex.orcout", "complex.orcinp.gbw"})
            writeText(work(QString::fromLatin1(name)), QStringLiteral("new ") + QString::fromLatin1(name));
    }
    void writeEarlierResults()
    {
        for (const char* name : {"complex.orcinp", "complex.pointcharge", "complex.orcout", "complex.gbw"})
            writeText(data(QString::fromLatin1(name)), QStringLiteral("old"));
    }

    QTemporaryDir temp;
};

TEST_F(ResultMoveFixture, AWholeSetReplacesTheEarlierOne)
{
    writeText(data(QStringLiteral("complex.out")), QStringLiteral("MOPAC output"));
    writeEarlierResults();
    writeWorkResults();
    const OrvaneExternalRun::ResultMove moved = run().moveOrcaResults();
    EXPECT_TRUE(moved.succeeded()) << moved.reason.toStdString();
    EXPECT_EQ(moved.placed.size(), 4);
    EXPECT_EQ(readText(data(QStringLiteral("complex.orcout"))), QStringLiteral("new complex.orcout"));
    // The orbital file drops the input's suffix beside the input.
    EXPECT_EQ(readText(data(QStringLiteral("complex.gbw"))), QStringLiteral("new complex.orcinp.gbw"));
    EXPECT_TRUE(QDir(temp.filePath(QStringLiteral("T"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(QDir(data(QString())).entryList(QDir::Files | QDir::Hidden).size(), 5) << "nothing left beside them";
}

TEST_F(ResultMoveFixture, ASetThatCannotBePlacedStaysWholeInAFolderOfItsOwn)
{
    // One result missing: nothing moves beside the input, and the three that
    // exist go into a folder of their own in T, under the names they would
    // have beside the input. A second such run in the same second gets a
    // second folder: neither set overwrites the other.
    writeEarlierResults();
    const QDateTime sameSecond(QDate(2024, 6, 1), QTime(12, 0, 0));
    QStringList folders;
    for (const char* round : {"first", "second"}) {
        SCOPED_TRACE(round);
        writeWorkResults();
        writeText(work(QStringLiteral("complex.orcout")), QStringLiteral("new output of the ") + QString::fromLatin1(round));
        QFile::remove(work(QStringLiteral("complex.orcinp.gbw")));
        const OrvaneExternalRun::ResultMove moved = run().moveOrcaResults(sameSecond);
        EXPECT_TRUE(moved.reason.endsWith(QStringLiteral("complex.orcinp.gbw does not exist.")))
            << moved.reason.toStdString();
        EXPECT_TRUE(moved.placed.isEmpty());
        EXPECT_EQ(moved.kept.size(), 4);
        for (const char* name : {"complex.orcinp", "complex.pointcharge", "complex.orcout", "complex.gbw"})
            EXPECT_EQ(readText(data(QString::fromLatin1(name))), QStringLiteral("old")) << name;
        ASSERT_FALSE(moved.keptSetFolder.isEmpty());
        EXPECT_EQ(QFileInfo(moved.keptSetFolder).absolutePath(), temp.filePath(QStringLiteral("T")));
        EXPECT_EQ(moved.output, moved.keptSetFolder + QStringLiteral("/complex.orcout"));
        EXPECT_EQ(moved.leftInWork,
                  (QStringList{moved.output, moved.keptSetFolder + QStringLiteral("/complex.orcinp"),
                               moved.keptSetFolder + QStringLiteral("/complex.pointcharge")}));
        EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("complex.orcout"))));
        folders << moved.keptSetFolder;
    }
    EXPECT_EQ(QFileInfo(folders[0]).fileName(), QStringLiteral("complex-20240601-120000"));
    EXPECT_EQ(QFileInfo(folders[1]).fileName(), QStringLiteral("complex-20240601-120000-2"));
    EXPECT_EQ(readText(folders[0] + QStringLiteral("/complex.orcout")), QStringLiteral("new output of the first"));
    EXPECT_EQ(readText(folders[1] + QStringLiteral("/complex.orcout")), QStringLiteral("new output of the second"));
}

TEST_F(ResultMoveFixture, AChemistsFileWhoseDetailsChangeDuringTheRunStays)
{
    // Only a write makes a file the run's: CI vectors the chemist keeps
    // beside the input that get another permission, or a hard link from a
    // snapshot of the home folder, while ORCA runs are still the chemist's
    // own and stay.
    const QString chosen = data(QStringLiteral("eu.orcinp"));
    const QString backup = data(QStringLiteral("eu.orcinp.cis"));
    writeText(chosen, QStringLiteral("the input"));
    writeText(backup, QStringLiteral("the chemist's CI vectors"));
    const OrvaneExternalRun orca(Program::Orca, Source::OrcaInput, chosen);
    const OrvaneExternalRun::SideFiles atStart = orca.sideFiles();
    struct stat before = {};
    ASSERT_EQ(::stat(QFile::encodeName(backup).constData(), &before), 0);
    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("snapshot"))));
    ASSERT_EQ(::link(QFile::encodeName(backup).constData(),
                     QFile::encodeName(temp.filePath(QStringLiteral("snapshot/eu.orcinp.cis"))).constData()),
              0);
    // Until the change shows in the file's status time, however coarse its clock.
    struct stat after = before;
    for (int tries = 0; tries < 2000 && after.st_ctim.tv_sec == before.st_ctim.tv_sec
                        && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec;
         ++tries) {
        ASSERT_EQ(::chmod(QFile::encodeName(backup).constData(), tries % 2 == 0 ? 0640 : 0644), 0);
        ASSERT_EQ(::stat(QFile::encodeName(backup).constData(), &after), 0);
        if (after.st_ctim.tv_sec == before.st_ctim.tv_sec && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec)
            ::usleep(1000);
    }
    ASSERT_FALSE(after.st_ctim.tv_sec == before.st_ctim.tv_sec && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec);

    EXPECT_TRUE(orca.deleteSideFiles(atStart).isEmpty());
    EXPECT_EQ(readText(backup), QStringLiteral("the chemist's CI vectors"));
}

TEST_F(ResultMoveFixture, OnlyTheKindsOfSideFileTheRunWroteGo)
{
    // Files beside the input before the run, then files the run (or the
    // chemist, during it) wrote or rewrote: only the program's kinds of side
    // file that were written go. The orbital file, the outputs and every
    // other name stay, also when written during the run.
    const struct
    {
        const char* name;
        Program program;
        Source source;
        const char* input;
        QStringList before;
        QStringList written;
        QStringList removed;
    } cases[] = {
        {"ORCA", Program::Orca, Source::OrcaInput, "a.b.orcinp",
         {"a.b.orcinp", "a.b.orcinp.bak", "A.B.ORCINP.TMP", "a.b.orcinp.densities", "a.b.orcinp.cis"},
         {"a.b.orcout", "a.b.orcinp.gbw", "a.b.orcinp.tmp", "a.b.orcinp.densities", "a.b.orcinp.scfp.tmp",
          "a.b.orcinp.bak", "a.b.orcinp.bak2", "a.b.orcinp.notes", "a.b.orcinp.2024-06.orcout", "a.b.orcinp.cis.old",
          "A.B.ORCINP.TMP"},
         {"a.b.orcinp.densities", "a.b.orcinp.scfp.tmp", "a.b.orcinp.tmp"}},
        {"MOPAC", Program::Mopac, Source::Mol2Drawing, "complex.mol2",
         {"complex.mol2", "complex.log", "complex.end", "complex.temp"},
         {"complex.mop", "complex.out", "complex.arc", "complex.temp", "complex.arc.bak"},
         {"complex.arc", "complex.temp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = temp.filePath(QString::fromLatin1(c.name));
        for (const QString& name : c.before)
            writeText(folder + QLatin1Char('/') + name, QStringLiteral("before the run"));
        const OrvaneExternalRun run(c.program, c.source, folder + QLatin1Char('/') + QString::fromLatin1(c.input));
        const OrvaneExternalRun::SideFiles atStart = run.sideFiles();
        for (const QString& name : c.written)
            writeText(folder + QLatin1Char('/') + name, QStringLiteral("written by the run"));

        QStringList removed;
        for (const QString& name : c.removed)
            removed << folder + QLatin1Char('/') + name;
        EXPECT_EQ(run.deleteSideFiles(atStart), removed);
        QStringList left = c.before + c.written;
        left.removeDuplicates();
        for (const QString& name : c.removed)
            left.removeAll(name);
        left.sort();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), left);
        for (const QString& name : c.before)
            if (!c.written.contains(name) && !c.removed.contains(name))
                EXPECT_EQ(readText(folder + QLatin1Char('/') + name), QStringLiteral("before the run")) << name.toStdString();
    }
}
