#include "../support/guitestsupport.h"
#include "../../support/orvaneprocessgroups.h"

#include "mythread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

const QString notRunning = QStringLiteral("The calculation is not running.");
const QString running = QStringLiteral("The calculation is running. Please, be patient!");
const QString failedToStart = QStringLiteral(
    "The calculation is not running. The process failed to start. Either the invoked \nprogram is "
    "missing, or you may have insufficient permissions to invoke the program.");
const QString orcaStandIn = QStringLiteral(ORVANE_ORCA_STANDIN);

// What a runner reported, in the order the GUI thread received it.
class RunLog : public QObject
{
public:
    explicit RunLog(MyThread& thread)
    {
        connect(&thread, &MyThread::calculationIsProcessingSignal, this,
                [this](const QString& text) { statuses << text; });
        connect(&thread, &MyThread::problemDuringCalculation, this,
                [this](const QString& text) { problems << text; });
        connect(&thread, &QThread::finished, this, [this] {
            finished = true;
            statusesBeforeFinished = statuses.size();
        });
    }
    bool waitForFinished(int timeoutMs = 20000)
    {
        return waitUntil([this] { return finished; }, timeoutMs);
    }

    QStringList statuses;
    QStringList problems;
    bool finished = false;
    int statusesBeforeFinished = -1;
};

using OrvaneFixtures::readText;

void writeText(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString writeScript(const QString& path, const QString& body)
{
    writeText(path, QStringLiteral("#!/bin/sh\n") + body + QLatin1Char('\n'));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

using OrvaneProcessGroups::livingMembersOfGroup;

// A small closed-shell ligand for the stand-in: water, with one point charge
// standing for the ion.
void writeOrcaInput(const QString& folder, const QString& name, const QString& extraLine = QString())
{
    writeText(folder + QStringLiteral("/complex.pointcharge"),
              QStringLiteral("1\n3.0     0.0000    0.0000    0.0000\n"));
    writeText(folder + QLatin1Char('/') + name,
              QStringLiteral("!RHF ZINDO/S TightSCF DIIS PrintBasis\n") + extraLine
                  + QStringLiteral("%cis\n\tnroots 3\n\tmaxdim 12\n\tTriplets true\nend\n"
                                   "%output\n\tprint[p_mos] 1\nend\n"
                                   "%pointcharges \"complex.pointcharge\"\n*xyz 0 1\n\n"
                                   "O        2.0000    0.0000    0.0000\n"
                                   "H        2.5000    0.7000    0.0000\n"
                                   "H        2.5000   -0.7000    0.0000\n*"));
}

// The stand-in in hang mode prints its own id and its child's, then waits.
bool waitForHangingStandIn(const QString& outputFile, qint64& standIn, qint64& child)
{
    static const QRegularExpression line(QStringLiteral("Stand-in process (\\d+) waits for child (\\d+)"));
    QRegularExpressionMatch match;
    if (!waitUntil([&] { return (match = line.match(readText(outputFile))).hasMatch(); }, 10000))
        return false;
    standIn = match.captured(1).toLongLong();
    child = match.captured(2).toLongLong();
    return true;
}

} // namespace

TEST(Runner, MopacRunWritesTheOutputAndReportsEveryState)
{
    const QString mopac = QStandardPaths::findExecutable(QStringLiteral("mopac"));
    if (mopac.isEmpty())
        GTEST_SKIP() << "mopac is not installed";
    IsolatedTempFolder temp;
    // A blank in the folder name: the input reaches MOPAC as one argument.
    const QString folder = temp.filePath(QStringLiteral("my run"));
    ASSERT_TRUE(QDir().mkpath(folder));
    writeText(folder + QStringLiteral("/water.mop"),
              QStringLiteral("PM7 XYZ\nwater\n\n"
                             "O   0.000 1  0.000 1  0.000 1\n"
                             "H   0.960 1  0.000 1  0.000 1\n"
                             "H  -0.240 1  0.930 1  0.000 1\n"));

    MyThread thread(nullptr, folder + QStringLiteral("/water"));
    thread.mode = 0;
    thread.programPath = mopac;
    RunLog log(thread);
    thread.start();
    ASSERT_TRUE(log.waitForFinished());

    EXPECT_EQ(log.statuses, (QStringList{QString(), running, notRunning}));
    EXPECT_EQ(log.statusesBeforeFinished, 3);
    EXPECT_TRUE(log.problems.isEmpty());
    const QString output = readText(folder + QStringLiteral("/water.out"));
    EXPECT_TRUE(output.contains(QStringLiteral("FINAL HEAT OF FORMATION")));
    EXPECT_TRUE(output.contains(QStringLiteral("== MOPAC DONE ==")));
}

TEST(Runner, AProgramThatCannotStartIsAProblemAndTheRunFinishes)
{
    IsolatedTempFolder temp;
    const QString notExecutable = temp.filePath(QStringLiteral("mopac.exe"));
    writeText(notExecutable, QStringLiteral("not a program"));
    const struct
    {
        const char* name;
        int mode;
        QString program;
    } cases[] = {
        {"no program chosen", 0, QString()},
        {"a deleted program", 0, temp.filePath(QStringLiteral("gone/MOPAC2016.exe"))},
        {"a file without execute permission", 0, notExecutable},
        {"ORCA missing", 1, temp.filePath(QStringLiteral("orca"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MyThread thread(nullptr, temp.filePath(QStringLiteral("complex.orcinp")));
        thread.mode = c.mode;
        thread.programPath = c.program;
        RunLog log(thread);
        thread.start();
        ASSERT_TRUE(log.waitForFinished());
        EXPECT_EQ(log.problems, QStringList{failedToStart});
        ASSERT_FALSE(log.statuses.isEmpty());
        EXPECT_EQ(log.statuses.last(), failedToStart);
    }
}

TEST(Runner, MopacRefusalsAreReportedWithTheWholeChunk)
{
    IsolatedTempFolder temp;
    const QString input = temp.filePath(QStringLiteral("complex"));
    const struct
    {
        const char* name;
        const char* script;
        const char* problem; // nullptr: none expected
    } cases[] = {
        {"invalid password", "printf 'MOPAC: Password invalid\\n'; exec sleep 30",
         "MOPAC: Password invalid\n "},
        {"expired licence", "printf 'This licence has expired\\n'; exec sleep 30",
         "This licence has expired\n "},
        // Standard error joins the chunk after a blank.
        {"fault on standard error", "printf 'Correct this fault before running\\n' >&2; exec sleep 30",
         " Correct this fault before running\n"},
        {"inaccessible", "printf 'The licence is currently inaccessible' ; exec sleep 30",
         "The licence is currently inaccessible "},
        {"small letters", "printf 'password invalid\\n'", nullptr},
        {"no leading blank", "printf 'licence:has expired\\n'", nullptr},
        {"split over two chunks", "printf 'Password inv'; sleep 0.5; printf 'alid\\n'", nullptr},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString program = writeScript(
            temp.filePath(QStringLiteral("mopac%1").arg(++number)), QString::fromUtf8(c.script));
        MyThread thread(nullptr, input);
        thread.mode = 0;
        thread.programPath = program;
        RunLog log(thread);
        thread.start();
        if (!c.problem) {
            ASSERT_TRUE(log.waitForFinished());
            EXPECT_TRUE(log.problems.isEmpty()) << log.problems.join(QLatin1Char('|')).toStdString();
            continue;
        }
        ASSERT_TRUE(waitUntil([&] { return !log.problems.isEmpty(); }));
        EXPECT_EQ(log.problems, QStringList{QString::fromUtf8(c.problem)});
        // The runner keeps waiting; the page ends the child after its box.
        QTest::qWait(100);
        EXPECT_TRUE(thread.isRunning());
        thread.killProcess();
        ASSERT_TRUE(log.waitForFinished());
        EXPECT_EQ(log.statuses.last(), notRunning);
    }
}

TEST(Runner, OrcaRunsInTheInputFolderAndAppendsItsOutput)
{
    IsolatedTempFolder temp;
    const QString folder = temp.filePath(QStringLiteral("work"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // ORCA's output is never scanned: a refusal text in it is no problem.
    writeOrcaInput(folder, QStringLiteral("complex.orcinp"), QStringLiteral("# Password invalid\n"));
    const QString outputFile = folder + QStringLiteral("/complex.orcout");
    writeText(outputFile, QStringLiteral("output of an earlier pass\n"));

    MyThread thread(nullptr, folder + QStringLiteral("/complex.orcinp"));
    thread.mode = 1;
    thread.programPath = orcaStandIn;
    RunLog log(thread);
    thread.start();
    ASSERT_TRUE(log.waitForFinished());

    EXPECT_EQ(log.statuses, (QStringList{QString(), running, notRunning}));
    EXPECT_TRUE(log.problems.isEmpty());
    const QString output = readText(outputFile);
    EXPECT_TRUE(output.startsWith(QStringLiteral("output of an earlier pass\n")));
    // The stand-in accepts only the arguments [name.orcinp, ">"] and reads
    // the input by that bare name, so it ran in the input's folder.
    EXPECT_TRUE(output.contains(QStringLiteral("NAME = complex.orcinp\n")));
    EXPECT_TRUE(output.contains(QStringLiteral("ORBITAL ENERGIES")));
    EXPECT_TRUE(output.contains(QStringLiteral("CIS-EXCITED STATES (TRIPLETS)")));
    EXPECT_TRUE(output.contains(QStringLiteral("****ORCA TERMINATED NORMALLY****")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/complex.orcinp.gbw")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/complex.orcinp.cis")));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("complex.orcinp.gbw"))));
}

TEST(Runner, OrcaGetsTheInputsWholeFileName)
{
    IsolatedTempFolder temp;
    writeOrcaInput(temp.path(), QStringLiteral("a.b.orcinp"));
    // A shorter name that cutting at the first dot would pick instead.
    writeText(temp.filePath(QStringLiteral("a.orcinp")), QStringLiteral("not this input\n"));
    MyThread thread(nullptr, temp.filePath(QStringLiteral("a.b.orcinp")));
    thread.mode = 1;
    thread.programPath = orcaStandIn;
    RunLog log(thread);
    thread.start();
    ASSERT_TRUE(log.waitForFinished());
    // The output takes the input's name with its last suffix replaced.
    const QString output = readText(temp.filePath(QStringLiteral("a.b.orcout")));
    EXPECT_TRUE(output.contains(QStringLiteral("NAME = a.b.orcinp\n"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("****ORCA TERMINATED NORMALLY****")));
}

TEST(Runner, AFailedOrCrashedProgramEndsTheRunWithoutAProblem)
{
    for (const char* mode : {"fail", "crash"}) {
        SCOPED_TRACE(mode);
        IsolatedTempFolder temp;
        ScopedEnvironment standInMode("ORVANE_ORCA_STANDIN_MODE", mode);
        writeOrcaInput(temp.path(), QStringLiteral("complex.orcinp"));
        MyThread thread(nullptr, temp.filePath(QStringLiteral("complex.orcinp")));
        thread.mode = 1;
        thread.programPath = orcaStandIn;
        RunLog log(thread);
        thread.start();
        ASSERT_TRUE(log.waitForFinished());
        EXPECT_TRUE(log.problems.isEmpty());
        EXPECT_EQ(log.statuses.last(), notRunning);
        const QString output = readText(temp.filePath(QStringLiteral("complex.orcout")));
        EXPECT_TRUE(output.contains(QStringLiteral("CARTESIAN COORDINATES")));
        EXPECT_FALSE(output.contains(QStringLiteral("TERMINATED NORMALLY")));
    }
}

TEST(Runner, KillProcessEndsTheWholeProcessGroup)
{
    IsolatedTempFolder temp;
    ScopedEnvironment standInMode("ORVANE_ORCA_STANDIN_MODE", "hang");
    writeOrcaInput(temp.path(), QStringLiteral("complex.orcinp"));
    MyThread thread(nullptr, temp.filePath(QStringLiteral("complex.orcinp")));
    thread.mode = 1;
    thread.programPath = orcaStandIn;
    RunLog log(thread);
    thread.start();

    qint64 standIn = 0;
    qint64 child = 0;
    ASSERT_TRUE(waitForHangingStandIn(temp.filePath(QStringLiteral("complex.orcout")), standIn, child));
    // The child ignores SIGTERM, so only the forced end reaches it.
    EXPECT_EQ(::getpgid(static_cast<pid_t>(child)), static_cast<pid_t>(standIn));
    EXPECT_EQ(livingMembersOfGroup(standIn).size(), 2);

    thread.killProcess();
    ASSERT_TRUE(log.waitForFinished());
    EXPECT_TRUE(waitUntil([&] { return livingMembersOfGroup(standIn).isEmpty(); }));
    EXPECT_TRUE(log.problems.isEmpty());
    EXPECT_EQ(log.statuses.last(), notRunning);
}

TEST(Runner, AStopRightAfterTheStartIsNotLost)
{
    // Whether the stop comes before or after the child exists, the run ends.
    IsolatedTempFolder temp;
    ScopedEnvironment standInMode("ORVANE_ORCA_STANDIN_MODE", "hang");
    writeOrcaInput(temp.path(), QStringLiteral("complex.orcinp"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        SCOPED_TRACE(attempt);
        MyThread thread(nullptr, temp.filePath(QStringLiteral("complex.orcinp")));
        thread.mode = 1;
        thread.programPath = orcaStandIn;
        RunLog log(thread);
        thread.start();
        QThread::usleep(attempt * 200);
        thread.killProcess();
        EXPECT_TRUE(log.waitForFinished(5000));
    }
}

TEST(Runner, DestroyingTheRunnerDuringARunEndsTheChildAndWaits)
{
    IsolatedTempFolder temp;
    ScopedEnvironment standInMode("ORVANE_ORCA_STANDIN_MODE", "hang");
    writeOrcaInput(temp.path(), QStringLiteral("complex.orcinp"));
    QObject page;
    auto* thread = new MyThread(&page, temp.filePath(QStringLiteral("complex.orcinp")));
    thread->mode = 1;
    thread->programPath = orcaStandIn;
    thread->start();

    qint64 standIn = 0;
    qint64 child = 0;
    ASSERT_TRUE(waitForHangingStandIn(temp.filePath(QStringLiteral("complex.orcout")), standIn, child));
    delete thread; // returns only once the runner's thread has ended
    EXPECT_TRUE(waitUntil([&] { return livingMembersOfGroup(standIn).isEmpty(); }));
    EXPECT_TRUE(page.children().isEmpty());
}

TEST(Runner, KillWithoutAChildAndUnknownModesDoNothing)
{
    IsolatedTempFolder temp;
    // The page connects by these texts.
    const QMetaObject* meta = &MyThread::staticMetaObject;
    EXPECT_GE(meta->indexOfSignal(QMetaObject::normalizedSignature(
                  "calculationIsProcessingSignal(const QString &)")),
              0);
    EXPECT_GE(meta->indexOfSignal(
                  QMetaObject::normalizedSignature("problemDuringCalculation(const QString &)")),
              0);

    MyThread thread(nullptr, temp.filePath(QStringLiteral("complex.orcinp")));
    thread.programPath = orcaStandIn;
    thread.killProcess(); // not started: nothing happens
    thread.mode = 7;
    RunLog log(thread);
    thread.start();
    ASSERT_TRUE(log.waitForFinished());
    EXPECT_TRUE(log.statuses.isEmpty());
    EXPECT_TRUE(log.problems.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("complex.orcout"))));
    thread.killProcess(); // finished: nothing happens
}

TEST(OrcaStandIn, PrintsFourDigitOrbitalNumbersInOrcaColumns)
{
    IsolatedTempFolder temp;
    // A chain of 350 carbons with 702 hydrogens: 2102 valence electrons, so
    // the HOMO is orbital 1050 and the LUMO 1051 (numbered from 0).
    QString atoms;
    QTextStream stream(&atoms);
    for (int i = 0; i < 350; ++i) {
        stream << "C " << 1.5 * i << " 0.0 0.0\n";
        stream << "H " << 1.5 * i << " 1.0 0.0\n";
        stream << "H " << 1.5 * i << " -1.0 0.0\n";
    }
    stream << "H -1.0 0.0 0.0\nH " << 1.5 * 350 << " 0.0 0.0\n";
    writeText(temp.filePath(QStringLiteral("chain.orcinp")),
              QStringLiteral("! B3LYP def2-SVP\n%cis\n\tnroots 2\n\tTriplets false\nend\n*xyz 0 1\n")
                  + atoms + QStringLiteral("*"));
    MyThread thread(nullptr, temp.filePath(QStringLiteral("chain.orcinp")));
    thread.mode = 1;
    thread.programPath = orcaStandIn;
    RunLog log(thread);
    thread.start();
    ASSERT_TRUE(log.waitForFinished());

    const QString output = readText(temp.filePath(QStringLiteral("chain.orcout")));
    EXPECT_TRUE(output.contains(QStringLiteral("\n1050   2.0000 ")));
    EXPECT_TRUE(output.contains(QStringLiteral("\n1051   0.0000 ")));
    EXPECT_TRUE(output.contains(QStringLiteral("\n  1050a -> 1051a  :     0.930000 (c=")));
    EXPECT_TRUE(output.contains(QStringLiteral("\n  1050a -> 1052a  :     0.050000 (c=")));
    // A DFT reference gets ORCA's TD-DFT/TDA heading.
    EXPECT_TRUE(output.contains(QStringLiteral("\nTD-DFT/TDA EXCITED STATES (SINGLETS)\n")));
    EXPECT_FALSE(output.contains(QStringLiteral("(TRIPLETS)")));
    EXPECT_FALSE(output.contains(QStringLiteral("MOLECULAR ORBITALS")));
    EXPECT_TRUE(output.contains(QStringLiteral("****ORCA TERMINATED NORMALLY****")));
}
