// Runs of the external calculation page driven through its widgets: MOPAC for
// real, stand-ins for MOPAC where a behaviour must be forced, and the ORCA
// stand-in for the two-pass excited-state runs.

#include "externalpagetestsupport.h"

#include "glmolecule.h"
#include "orvanefrmmopackeywords.h"
#include "orvaneinputdata.h"
#include "orvaneoutputfollower.h"
#include "orvaneplatform.h"
#include "orvanesmalldisk.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace externalpage;

namespace {

const QString orcaStandIn = QStringLiteral(ORVANE_ORCA_STANDIN);
const QString successBox = QStringLiteral("finished sucessfully.");
const QString failureText = QStringLiteral(
    "did not successfully finish. There has been an error in the calculation. \n Please, check the "
    "output file of the external program to identify the possible errors.");
const QString mopacKind = QStringLiteral("Geometry optimization ");
const QString orcaKind = QStringLiteral("Excited states calculations ");

// [Eu(H2O)4]3+ as a MOPAC input; optimises in a fraction of a second.
QString eu4Mop(const QString& keywords)
{
    return keywords + QStringLiteral(
                          "\n\n\n"
                          "Eu      0.0000 1    0.0000 1    0.0000 1 \n"
                          "O       2.4000 1    0.0000 1    0.0000 1 \n"
                          "O      -2.4000 1    0.0000 1    0.0000 1 \n"
                          "O       0.0000 1    2.4000 1    0.0000 1 \n"
                          "O       0.0000 1   -2.4000 1    0.0000 1 \n"
                          "H       2.9800 1    0.7800 1    0.0000 1 \n"
                          "H       2.9800 1   -0.7800 1    0.0000 1 \n"
                          "H      -2.9800 1    0.7800 1    0.0000 1 \n"
                          "H      -2.9800 1   -0.7800 1    0.0000 1 \n"
                          "H       0.7800 1    2.9800 1    0.0000 1 \n"
                          "H      -0.7800 1    2.9800 1    0.0000 1 \n"
                          "H       0.7800 1   -2.9800 1    0.0000 1 \n"
                          "H      -0.7800 1   -2.9800 1    0.0000 1 \n0");
}

class RunFixture : public PageFixture
{
protected:
    void SetUp() override
    {
        mopac = QStandardPaths::findExecutable(QStringLiteral("mopac"));
    }

    void useProgram(int mode, const QString& path)
    {
        OrvaneSettings::setValue(mode == 0 ? QStringLiteral("mopacDirectory")
                                           : QStringLiteral("orcaDirectory"),
                                 path);
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const auto& request : dialogs.requests())
            texts << request.title + QStringLiteral(": ") + request.text;
        return texts;
    }

    int countStatus(const QString& part) const
    {
        return statusTexts().filter(part).size();
    }

    QString mopac;
};

#define REQUIRE_MOPAC()                                                                            \
    if (mopac.isEmpty())                                                                           \
    GTEST_SKIP() << "mopac is not installed"

} // namespace

TEST_F(RunFixture, MopacOptimisesADroppedMol2Drawing)
{
    REQUIRE_MOPAC();
    // A blank in the folder: the input reaches MOPAC as one argument.
    const QString folder = temp.filePath(QStringLiteral("eu complex"));
    const QString mol2 = folder + QStringLiteral("/complex.mol2");
    writeText(mol2, eu4Mol2());
    useProgram(0, mopac);
    createPage(0);
    drop(mol2);
    widget<QComboBox>("cbxSparkleMethod")->setCurrentText(QStringLiteral("Sparkle/AM1"));
    widget<QSpinBox>("spnCompCharge")->setValue(3);
    const QString keywordLine = page->findChild<OrvaneFrmMopacKeywords*>()->keywordLine();
    ASSERT_EQ(keywordLine,
              QStringLiteral("AM1 SPARKLE PRECISE GEO-OK XYZ T=10D ALLVEC BFGS GNORM=0.25 CHARGE=3\n"));

    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    // Running: only the stop button is usable.
    EXPECT_TRUE(button("btnStopCalculation")->isEnabled());
    for (const char* name : {"btnRunCalculation", "btnChooseFile", "btnClearProject", "btnSetExternalProgramPath"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_FALSE(fileField()->isEnabled());
    EXPECT_FALSE(page->findChild<OrvaneFrmMopacKeywords*>()->isEnabled());
    EXPECT_TRUE(readText(folder + QStringLiteral("/complex.mop")).startsWith(keywordLine));

    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("ORVANE Information: ") + mopacKind + successBox});
    EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Information);

    const QString output = folder + QStringLiteral("/complex.out");
    const QStringList expectedStatus = {
        QString(63, QLatin1Char('-')),
        QStringLiteral("-> (Orvane Geometry Optimization) Geometry optimization was successfully started. "),
        QStringLiteral("-> (Orvane External Calculation Module) Geometry Optimization was successfully finished."),
        // MOPAC 22 writes the .arc of the four side files, and only what
        // was deleted is said to be.
        QStringLiteral("-> (Orvane Geometry Optimization) File ") + folder
            + QStringLiteral("/complex.arc was deleted after the geometry optimization."),
    };
    EXPECT_EQ(statusTexts(), expectedStatus);
    // Every line with a time starts with Qt's text date.
    const QRegularExpression dated(QStringLiteral("^\\w{3} \\w{3} +\\d+ \\d\\d:\\d\\d:\\d\\d \\d{4} -> \\("));
    EXPECT_TRUE(dated.match(statusLines.value(1)).hasMatch()) << statusLines.value(1).toStdString();

    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/complex.arc")));
    EXPECT_EQ(tab(1)->toPlainText(), readText(output));
    EXPECT_TRUE(tab(1)->toPlainText().contains(QStringLiteral("== MOPAC DONE ==")));
    EXPECT_EQ(widget<QLineEdit>("lineEditRunProgress")->text(), QStringLiteral("The calculation is not running."));
    EXPECT_TRUE(button("btnRunCalculation")->isEnabled());
    EXPECT_FALSE(button("btnStopCalculation")->isEnabled());

    // The output reads back in the engine: the ion first, its four donors next.
    OrvaneInputData result(nullptr, output);
    ASSERT_TRUE(result.readMopacOutFile(false)) << result.getLastError().toStdString();
    EXPECT_EQ(result.getAtomsNumber(), 13);
    EXPECT_EQ(result.getAtomLabel(1), QStringLiteral("Eu"));
    for (int i = 2; i <= 5; ++i)
        EXPECT_EQ(result.getAtomLabel(i), QStringLiteral("O")) << i;
    EXPECT_DOUBLE_EQ(result.getChargeOnSystem(), 3.0);

    // The optimised structure can be shown now.
    widget<QRadioButton>("rdbVisualizeMopacOutput")->setChecked(true);
    EXPECT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(page->findChild<GLMolecule*>()->labelTexts().size(), 13);
}

TEST_F(RunFixture, AMopacRunRemovesOnlyTheSideFilesItWrote)
{
    REQUIRE_MOPAC();
    // Beside the drawing: a Gaussian output complex.log, the chemist's own
    // complex.temp, and the .arc of an earlier optimisation. MOPAC rewrites
    // the .arc, which goes; the others stay byte for byte. (A complex.end
    // would be MOPAC's own stop request, which MOPAC removes as it starts.)
    const QString folder = temp.filePath(QStringLiteral("gaussian"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QMap<QString, QByteArray> usersFiles = {
        {QStringLiteral("complex.log"), " Entering Gaussian System, Link 0=g16\n Normal termination of Gaussian 16\n"},
        {QStringLiteral("complex.temp"), "temperatures of the emission spectra\n"},
    };
    for (auto it = usersFiles.begin(); it != usersFiles.end(); ++it)
        OrvaneFixtures::writeFile(folder + QLatin1Char('/') + it.key(), it.value());
    OrvaneFixtures::writeFile(folder + QStringLiteral("/complex.arc"), "archive of an earlier optimisation\n");
    writeText(folder + QStringLiteral("/complex.mol2"), eu4Mol2());
    useProgram(0, mopac);
    createPage(0);
    drop(folder + QStringLiteral("/complex.mol2"));
    widget<QComboBox>("cbxSparkleMethod")->setCurrentText(QStringLiteral("Sparkle/AM1"));
    widget<QSpinBox>("spnCompCharge")->setValue(3);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    ASSERT_EQ(lastRequest()->text, mopacKind + successBox);

    for (auto it = usersFiles.begin(); it != usersFiles.end(); ++it)
        EXPECT_EQ(OrvaneFixtures::contents(folder + QLatin1Char('/') + it.key()), it.value()) << it.key().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/complex.arc")));
    EXPECT_EQ(statusTexts().filter(QStringLiteral("was deleted")),
              QStringList{QStringLiteral("-> (Orvane Geometry Optimization) File ") + folder
                          + QStringLiteral("/complex.arc was deleted after the geometry optimization.")});
}

TEST_F(RunFixture, RetypedKeywordsWithoutSparkleStillRunTheSparkleModel)
{
    REQUIRE_MOPAC();
    // [Eu(H2O)3]3+; without SPARKLE MOPAC has no PM6 parameters for Eu.
    const struct
    {
        const char* typed;
        const char* firstLine;
        bool announced;
    } cases[] = {
        {"1SCF", "PM6 SPARKLE 1SCF CHARGE=3", true},
        {"sparkle 1SCF", "PM6 sparkle 1SCF CHARGE=3", false},
    };
    useProgram(0, mopac);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString folder = temp.filePath(QString::fromLatin1(c.typed).replace(QLatin1Char(' '), QLatin1Char('_')));
        const QString mol2 = folder + QStringLiteral("/eu_aqua3.mol2");
        writeText(mol2, readText(OrvaneFixtures::dataPath(QStringLiteral("writers/eu_aqua3.mol2"))));
        createPage(0);
        drop(mol2);
        widget<QComboBox>("cbxSparkleMethod")->setCurrentText(QStringLiteral("Sparkle/PM6"));
        widget<QSpinBox>("spnCompCharge")->setValue(3);
        auto* keywords = widget<QLineEdit>("edtAdditionalKeywords");
        keywords->setText(QString::fromLatin1(c.typed));

        statusLines.clear();
        const int boxesBefore = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Ok);
        click("btnRunCalculation");
        ASSERT_TRUE(waitForIdle());
        EXPECT_EQ(readText(folder + QStringLiteral("/eu_aqua3.mop")).section(QLatin1Char('\n'), 0, 0),
                  QString::fromLatin1(c.firstLine));
        const QString output = readText(folder + QStringLiteral("/eu_aqua3.out"));
        EXPECT_TRUE(output.contains(QStringLiteral("FINAL HEAT OF FORMATION")));
        EXPECT_FALSE(output.contains(QStringLiteral("Data are not available")));
        EXPECT_EQ(boxTexts().mid(boxesBefore),
                  QStringList{QStringLiteral("ORVANE Information: ") + mopacKind + successBox});
        // The user's text and model stay as they were.
        EXPECT_EQ(keywords->text(), QString::fromLatin1(c.typed));
        EXPECT_EQ(widget<QComboBox>("cbxSparkleMethod")->currentText(), QStringLiteral("Sparkle/PM6"));

        const QStringList added = statusTexts().filter(QStringLiteral("SPARKLE was added"));
        if (c.announced)
            EXPECT_EQ(added, QStringList{QStringLiteral(
                                             "-> (Orvane Geometry Optimization) SPARKLE was added to the "
                                             "MOPAC keywords because the model Sparkle/PM6 is a Sparkle "
                                             "model:\n")
                                         + folder + QStringLiteral("/eu_aqua3.mop")});
        else
            EXPECT_TRUE(added.isEmpty());
    }
}

TEST_F(RunFixture, MopacRunsAreJudgedByTheMarkersOfTheirOutput)
{
    REQUIRE_MOPAC();
    const struct
    {
        const char* name;
        const char* folder;
        QString keywords;
        QString staleDat; // empty: none before the run
        bool succeeds;
    } cases[] = {
        {"a good input", "plain", QStringLiteral("AM1 SPARKLE CHARGE=3 GNORM=0.25"), QString(), true},
        // The .mop is the input named to MOPAC: an older name.dat neither
        // decides the run nor is replaced. A dot in a folder name does not
        // cut the path (MOPAC does so with a path without extension).
        {"a good input beside a stale .dat", "version1.2",
         QStringLiteral("AM1 SPARKLE CHARGE=3 GNORM=0.25"),
         eu4Mop(QStringLiteral("AM1 SPARKLE CHARGE=3 NOTAKEYWORD")), true},
        // An unknown keyword: MOPAC ends with DONE but without a final heat.
        {"a keyword MOPAC rejects", "rejected", QStringLiteral("AM1 SPARKLE CHARGE=3 NOTAKEYWORD"),
         QString(), false},
    };
    useProgram(0, mopac);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = temp.filePath(QString::fromLatin1(c.folder));
        const QString mop = folder + QStringLiteral("/complex.mop");
        const QString dat = folder + QStringLiteral("/complex.dat");
        writeText(mop, eu4Mop(c.keywords));
        if (!c.staleDat.isEmpty())
            writeText(dat, c.staleDat);
        createPage(0);
        drop(mop);
        const int asked = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Ok);
        click("btnRunCalculation");
        ASSERT_TRUE(waitForIdle());
        ASSERT_EQ(dialogs.requests().size(), asked + 1);
        const auto& box = dialogs.requests().last();
        EXPECT_EQ(box.title, QStringLiteral("ORVANE Information"));
        if (c.succeeds) {
            EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Information);
            EXPECT_EQ(box.text, mopacKind + successBox);
        } else {
            EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Critical);
            EXPECT_EQ(box.text, mopacKind + failureText);
            EXPECT_TRUE(readText(folder + QStringLiteral("/complex.out")).contains(QStringLiteral("== MOPAC DONE ==")));
        }
        EXPECT_EQ(readText(mop), eu4Mop(c.keywords)) << "the input is not changed";
        EXPECT_EQ(readText(dat), c.staleDat.isEmpty() ? eu4Mop(c.keywords) : c.staleDat);
    }
}

TEST_F(RunFixture, TheOutputTabFollowsTheGrowingOutput)
{
    // A MOPAC stand-in that writes part of its output, then waits for the
    // test before it finishes.
    const QString program = writeScript(temp.filePath(QStringLiteral("bin/mopac")),
                                        QStringLiteral("base=\"${1%.mop}\"\n"
                                                       "printf ' first part of the output\\n' > \"$base.out\"\n"
                                                       "while [ ! -e \"$base.go\" ]; do sleep 0.02; done\n"
                                                       "printf '  FINAL HEAT OF FORMATION = 1.0\\n == MOPAC DONE ==\\n' >> \"$base.out\""));
    const QString mop = temp.filePath(QStringLiteral("run/complex.mop"));
    writeText(mop, eu4Mop(QStringLiteral("AM1 SPARKLE CHARGE=3")));
    writeText(temp.filePath(QStringLiteral("run/complex.out")), QStringLiteral("output of an earlier run\n"));
    useProgram(0, program);
    createPage(0);
    drop(mop);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitUntil([&] { return tab(1)->toPlainText().contains(QStringLiteral("first part")); }));
    EXPECT_TRUE(button("btnStopCalculation")->isEnabled()) << "shown while the program still runs";
    EXPECT_FALSE(tab(1)->toPlainText().contains(QStringLiteral("earlier run")));
    EXPECT_EQ(widget<QTabWidget>("tabWidgetViewFiles")->currentIndex(), 1);
    EXPECT_EQ(widget<QLineEdit>("lineEditRunProgress")->text(),
              QStringLiteral("The calculation is running. Please, be patient!"));

    writeText(temp.filePath(QStringLiteral("run/complex.go")), QString());
    ASSERT_TRUE(waitForIdle());
    EXPECT_TRUE(tab(1)->toPlainText().contains(QStringLiteral("== MOPAC DONE ==")));
    EXPECT_EQ(dialogs.requests().last().text, mopacKind + successBox);
}

TEST_F(RunFixture, AnOutputGrowingInManyStepsIsReadOnce)
{
    // A MOPAC stand-in that writes its output in many small steps, as MOPAC
    // does, each step waiting until the page has read the one before.
    const QString program = writeScript(
        temp.filePath(QStringLiteral("bin/mopac")),
        QStringLiteral("base=\"${1%.mop}\"\n"
                       "i=0\n"
                       "while [ $i -lt 25 ]; do\n"
                       "  printf ' CYCLE: %4d TIME:  0.010 GRAD.:  1.234 HEAT: -1234.567\\n' $i >> \"$base.out\"\n"
                       "  while [ ! -e \"$base.step$i\" ]; do sleep 0.01; done\n"
                       "  i=$((i+1))\n"
                       "done\n"
                       "printf '  FINAL HEAT OF FORMATION = 1.0\\n == MOPAC DONE ==\\n' >> \"$base.out\""));
    const QString mop = temp.filePath(QStringLiteral("run/complex.mop"));
    const QString output = temp.filePath(QStringLiteral("run/complex.out"));
    writeText(mop, eu4Mop(QStringLiteral("AM1 SPARKLE CHARGE=3")));
    useProgram(0, program);
    createPage(0);
    drop(mop);
    auto* follower = page->findChild<OrvaneOutputFollower*>();
    ASSERT_NE(follower, nullptr);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    for (int step = 0; step < 25; ++step) {
        const QString line = QStringLiteral(" CYCLE: %1 TIME").arg(step, 4);
        ASSERT_TRUE(waitUntil([&] { return tab(1)->toPlainText().contains(line); }, 20000)) << step;
        writeText(temp.filePath(QStringLiteral("run/complex.step%1").arg(step)), QString());
    }
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(tab(1)->toPlainText(), readText(output));
    EXPECT_EQ(follower->bytesRead(), QFileInfo(output).size())
        << "each byte of the output read once, not the whole output at each step";
}

TEST_F(RunFixture, AProgramThatRefusesOrCrashesEndsTheRunAsFailed)
{
    const struct
    {
        const char* name;
        QString script;
        QStringList boxes;
    } cases[] = {
        // MOPAC's licence refusal: the problem box, the child and what it
        // started are ended, then the run is judged once.
        {"refusal",
         QStringLiteral("echo $$ > \"${1%.mop}.pid\"\necho 'MOPAC Password invalid'\nsleep 60\n"),
         {QStringLiteral("ORVANE Error: MOPAC Password invalid\n "),
          QStringLiteral("ORVANE Information: ") + mopacKind + failureText}},
        {"crash",
         QStringLiteral("base=\"${1%.mop}\"\necho $$ > \"$base.pid\"\n"
                        "printf ' FINAL HEAT OF FORMATION\\n' > \"$base.out\"\nkill -SEGV $$\n"),
         {QStringLiteral("ORVANE Information: ") + mopacKind + failureText}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = temp.filePath(QString::fromLatin1(c.name));
        const QString program = writeScript(folder + QStringLiteral("/bin/mopac"), c.script);
        writeText(folder + QStringLiteral("/complex.mop"), eu4Mop(QStringLiteral("AM1 SPARKLE CHARGE=3")));
        useProgram(0, program);
        createPage(0);
        drop(folder + QStringLiteral("/complex.mop"));
        for (int i = 0; i < c.boxes.size(); ++i)
            dialogs.pressButton(QMessageBox::Ok);
        const int asked = dialogs.requests().size();
        click("btnRunCalculation");
        ASSERT_TRUE(waitForIdle());
        EXPECT_EQ(boxTexts().mid(asked), c.boxes);
        EXPECT_EQ(countStatus(QStringLiteral("Geometry Optimization was successfully finished.")), 1);

        const qint64 pid = readText(folder + QStringLiteral("/complex.pid")).trimmed().toLongLong();
        ASSERT_GT(pid, 0);
        EXPECT_TRUE(waitUntil([&] { return livingMembersOfGroup(pid).isEmpty(); }));
        statusLines.clear();
    }
}

namespace {

// Module 2 runs: ORCA is the stand-in program of the tests.
class OrcaRunFixture : public RunFixture
{
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        workFolder = OrvanePlatform::privateTempFolder();
        ASSERT_FALSE(workFolder.isEmpty());
        useProgram(1, orcaStandIn);
    }

    // A MOPAC output of [Eu(H2O)8]3+ under a name with a blank and a comma.
    QString placeMopacOutput()
    {
        const QString output = temp.filePath(QStringLiteral("data/my complex,1.out"));
        writeText(output, readText(mopacFixture("eu_h2o8_allvec.out")));
        return output;
    }

    void setPanel(int roots, bool window, int occupied = 20, int virtuals = 20)
    {
        widget<QSpinBox>("sbxNumberOfStates")->setValue(roots);
        widget<QGroupBox>("gbxExcitationWindows")->setChecked(window);
        widget<QSpinBox>("sbxEMin")->setValue(occupied);
        widget<QSpinBox>("sbxEMax")->setValue(virtuals);
    }

    // The absorption-spectrum signals, in the order emitted.
    QStringList absorptionSignals()
    {
        QStringList emitted;
        const auto withFile = QObject::connect(page.get(),
                         qOverload<const int&, const QString&>(
                             &OrvaneFrmExternalCalculationModule::showAbsorptionSpectrumCalculationModule),
                         [&](const int& index, const QString& file) {
                             emitted << QString::number(index) + QLatin1Char(' ') + file;
                         });
        const auto indexOnly = QObject::connect(page.get(),
                         qOverload<const int&>(
                             &OrvaneFrmExternalCalculationModule::showAbsorptionSpectrumCalculationModule),
                         [&](const int& index) { emitted << QString::number(index); });
        click("btnShowAbsorptionSpectrumModule");
        QObject::disconnect(withFile);
        QObject::disconnect(indexOnly);
        return emitted;
    }

    QStringList passLines() const
    {
        return statusTexts().filter(QStringLiteral("Will it run a new ORCA calculation"));
    }

    // The four results of a run from a MOPAC output, beside that output.
    QStringList resultTexts() const
    {
        QStringList texts;
        for (const char* extension : {".orcinp", ".pointcharge", ".orcout", ".gbw"})
            texts << readText(temp.filePath(QStringLiteral("data/mycomplex1") + QString::fromLatin1(extension)));
        return texts;
    }

    QString workFolder;
};

const QString firstPassLine = QStringLiteral(
    "-> (Orvane External Calculation Module) Will it run a new ORCA calculation ? NO  -  Did the "
    "calculation terminate ? NO");
const QString secondPassLine = QStringLiteral(
    "-> (Orvane External Calculation Module) Will it run a new ORCA calculation ? YES -  Did the "
    "calculation terminate ? NO");
const QString orcaStarted =
    QStringLiteral("-> (Orvane Excited States Calculations) Excited States Calculations was successfully started.");

// A water molecule beside the ion's point charge, as a chemist's own ORCA
// input; its charges are "charges.pointcharge" beside it.
QString chosenOrcaInput()
{
    return QStringLiteral("!RHF ZINDO/S TightSCF DIIS PrintBasis\n%cis\n\tnroots 3\n\tmaxdim 12\n"
                          "\tTriplets true\nend\n%output\n\tprint[p_mos] 1\nend\n"
                          "%pointcharges \"charges.pointcharge\"\n*xyz 0 1\n\n"
                          "O        2.0000    0.0000    0.0000\n"
                          "H        2.5000    0.7000    0.0000\n"
                          "H        2.5000   -0.7000    0.0000\n*");
}

// Every file of a folder with its bytes, hidden ones included.
QMap<QString, QByteArray> folderContents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, OrvaneFixtures::contents(folder + QLatin1Char('/') + name));
    return files;
}

} // namespace

TEST_F(OrcaRunFixture, AMopacOutputRunsTwoPassesAndItsResultsLandBesideIt)
{
    const QString mopacOutput = placeMopacOutput();
    createPage(1);
    drop(mopacOutput);
    EXPECT_EQ(widget<QLineEdit>("editPointChargesFileName")->text(), QStringLiteral("mycomplex1.pointcharge"));
    setPanel(4, true, 3, 2);

    // What the first pass used and wrote, seen when the second is announced.
    QString firstInput;
    QString firstOutput;
    QObject::connect(page.get(), &AbstractObjCalculationWidget::newObjCalculationMessage,
                     [&](const QString& line) {
                         if (line.contains(QStringLiteral("calculation ? YES"))) {
                             firstInput = readText(workFolder + QStringLiteral("/mycomplex1.orcinp"));
                             firstOutput = readText(workFolder + QStringLiteral("/mycomplex1.orcout"));
                         }
                     });
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("ORVANE Information: ") + orcaKind + successBox});

    // Pass 1: one root, no triplets, no window; the ion is a point charge.
    EXPECT_TRUE(firstInput.contains(QStringLiteral("\tnroots 1\n")));
    EXPECT_TRUE(firstInput.contains(QStringLiteral("\tTriplets false\n")));
    EXPECT_FALSE(firstInput.contains(QStringLiteral("ewin")));
    EXPECT_TRUE(firstInput.contains(QStringLiteral("%pointcharges \"mycomplex1.pointcharge\"\n")));
    EXPECT_FALSE(firstInput.contains(QStringLiteral("Eu ")));
    EXPECT_TRUE(firstOutput.contains(QStringLiteral("ORBITAL ENERGIES")));
    EXPECT_TRUE(firstOutput.contains(QStringLiteral("****ORCA TERMINATED NORMALLY****")));

    // Pass 2: the panel's roots and triplets, and the window of the first pass.
    const QStringList results = resultTexts();
    const QString secondInput = results[0];
    EXPECT_TRUE(secondInput.contains(QStringLiteral("\tnroots 4\n")));
    EXPECT_TRUE(secondInput.contains(QStringLiteral("\tTriplets true\n")));
    EXPECT_TRUE(secondInput.contains(QStringLiteral("frozencore fc_ewin")));
    const QRegularExpression window(QStringLiteral("\tewin (-?\\d+\\.\\d{6}),(-?\\d+\\.\\d{6})\n"));
    const QRegularExpressionMatch bounds = window.match(secondInput);
    ASSERT_TRUE(bounds.hasMatch()) << secondInput.toStdString();
    // With 3 occupied and 2 virtual orbitals the window runs from orbital
    // HOMO-2 to LUMO+1 of the first pass's table (numbered from 0, the
    // occupation 2 up to the HOMO).
    QVector<double> energies;
    int homo = -1;
    {
        const int table = firstOutput.indexOf(QStringLiteral("  NO   OCC          E(Eh)"));
        ASSERT_GE(table, 0);
        const QStringList rows = firstOutput.mid(table).split(QLatin1Char('\n')).mid(1);
        for (const QString& row : rows) {
            const QStringList fields = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (fields.size() < 4)
                break;
            if (fields[1].toDouble() > 1.0)
                homo = energies.size();
            energies << fields[2].toDouble();
        }
    }
    ASSERT_GE(homo, 2);
    ASSERT_LT(homo + 2, energies.size());
    EXPECT_EQ(bounds.captured(1), QString::number(energies[homo - 2], 'f', 6));
    EXPECT_EQ(bounds.captured(2), QString::number(energies[homo + 2], 'f', 6));

    // The four results beside the MOPAC output, none left in the work folder.
    EXPECT_TRUE(results[1].startsWith(QStringLiteral("1\n3.0 ")));
    EXPECT_TRUE(results[2].contains(QStringLiteral("CIS-EXCITED STATES (TRIPLETS)")));
    EXPECT_TRUE(results[2].contains(QStringLiteral("STATE  4:")));
    EXPECT_EQ(results[3], QStringLiteral("stand-in orbital file\n"));
    for (const char* name : {"mycomplex1.orcinp", "mycomplex1.pointcharge", "mycomplex1.orcout", "mycomplex1.orcinp.gbw"})
        EXPECT_FALSE(QFileInfo::exists(workFolder + QLatin1Char('/') + QString::fromLatin1(name))) << name;
    EXPECT_EQ(tab(1)->toPlainText(), results[2]);

    EXPECT_EQ(passLines(), (QStringList{firstPassLine, secondPassLine}));
    EXPECT_EQ(countStatus(orcaStarted), 2);
    EXPECT_EQ(countStatus(QStringLiteral(
                  "-> (Orvane External Calculation Module) Excited States Calculation was successfully finished.")),
              1);

    // The ORCA output reads in the engine and goes to the absorption spectrum.
    OrvaneInputData orcaResult(nullptr, temp.filePath(QStringLiteral("data/mycomplex1.orcout")));
    EXPECT_TRUE(orcaResult.readOutputOrca()) << orcaResult.getLastError().toStdString();
    ASSERT_TRUE(button("btnShowAbsorptionSpectrumModule")->isEnabled());
    EXPECT_EQ(absorptionSignals(),
              (QStringList{QStringLiteral("3 ") + temp.filePath(QStringLiteral("data/mycomplex1.orcout")),
                           QStringLiteral("2")}));
}

TEST_F(OrcaRunFixture, ARerunReplacesTheEarlierResultsOnlyAsAWholeAfterSuccess)
{
    const QString mopacOutput = placeMopacOutput();
    createPage(1);
    drop(mopacOutput);
    setPanel(4, false);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    const QStringList firstResults = resultTexts();
    ASSERT_TRUE(firstResults[2].contains(QStringLiteral("STATE  4:")));

    // A failing run: judged once, no second pass, the earlier set untouched.
    {
        ScopedEnvironment failing("ORVANE_ORCA_STANDIN_MODE", "fail");
        statusLines.clear();
        const int asked = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Ok);
        click("btnRunCalculation");
        ASSERT_TRUE(waitForIdle());
        // The box names this run's output, which stays in the work folder.
        EXPECT_EQ(boxTexts().mid(asked),
                  QStringList{QStringLiteral("ORVANE Information: ") + orcaKind + failureText
                              + QStringLiteral("\n\nThe output of this run is ") + workFolder
                              + QStringLiteral("/mycomplex1.orcout\n(") + temp.filePath(QStringLiteral("data/mycomplex1.orcout"))
                              + QStringLiteral(" is from an earlier run.)")});
        EXPECT_EQ(passLines(), QStringList{firstPassLine});
        EXPECT_EQ(countStatus(orcaStarted), 1);
        EXPECT_EQ(resultTexts(), firstResults);
        EXPECT_TRUE(tab(1)->toPlainText().contains(QStringLiteral("SCF NOT CONVERGED")));
    }

    // A good run replaces all four.
    widget<QSpinBox>("sbxNumberOfStates")->setValue(6);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    const QStringList secondResults = resultTexts();
    EXPECT_TRUE(secondResults[0].contains(QStringLiteral("\tnroots 6\n")));
    EXPECT_TRUE(secondResults[2].contains(QStringLiteral("STATE  6:")));
    EXPECT_EQ(secondResults[1], firstResults[1]);

    // A result that cannot take its place is reported, not called a success.
    const QString gbw = temp.filePath(QStringLiteral("data/mycomplex1.gbw"));
    ASSERT_TRUE(QFile::remove(gbw));
    writeText(gbw + QStringLiteral("/occupied"), QStringLiteral("a folder in the way\n"));
    const int asked = dialogs.requests().size();
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    ASSERT_EQ(dialogs.requests().size(), asked + 1);
    EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().last().text.contains(gbw)) << dialogs.requests().last().text.toStdString();
    EXPECT_FALSE(dialogs.requests().last().text.contains(successBox));
    // The new output stays apart in the work folder; the absorption spectrum
    // opens it there, not the earlier one beside the input.
    const QStringList sets = QDir(workFolder).entryList({QStringLiteral("mycomplex1-*")}, QDir::Dirs);
    ASSERT_EQ(sets.size(), 1);
    const QString keptOutput = workFolder + QLatin1Char('/') + sets[0] + QStringLiteral("/mycomplex1.orcout");
    EXPECT_TRUE(readText(keptOutput).contains(QStringLiteral("STATE  6:")));
    EXPECT_EQ(resultTexts()[2], secondResults[2]);
    EXPECT_EQ(absorptionSignals(), (QStringList{QStringLiteral("3 ") + keptOutput, QStringLiteral("2")}));
}

TEST_F(OrcaRunFixture, StopDuringTheFirstPassEndsEverythingAndRunsNoSecondPass)
{
    ScopedEnvironment hanging("ORVANE_ORCA_STANDIN_MODE", "hang");
    const QString mopacOutput = placeMopacOutput();
    createPage(1);
    drop(mopacOutput);
    click("btnRunCalculation");

    // The hanging stand-in names itself and its child in the followed output.
    static const QRegularExpression hangLine(QStringLiteral("Stand-in process (\\d+) waits for child (\\d+)"));
    QRegularExpressionMatch match;
    ASSERT_TRUE(waitUntil([&] { return (match = hangLine.match(tab(1)->toPlainText())).hasMatch(); }, 10000));
    const qint64 standIn = match.captured(1).toLongLong();
    const qint64 child = match.captured(2).toLongLong();

    // No keeps the run going.
    dialogs.pressButton(QMessageBox::No);
    click("btnStopCalculation");
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral(
                              "ORVANE Question: Are you sure you want to cancel the current calculation?")});
    EXPECT_TRUE(button("btnStopCalculation")->isEnabled());
    EXPECT_TRUE(processAlive(standIn));

    dialogs.pressButton(QMessageBox::Yes);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnStopCalculation");
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(boxTexts().mid(1),
              (QStringList{QStringLiteral("ORVANE Question: Are you sure you want to cancel the current calculation?"),
                           QStringLiteral("ORVANE Information: ") + orcaKind
                               + QStringLiteral("was terminated successfully.")}));
    EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Information);
    EXPECT_TRUE(waitUntil([&] { return livingMembersOfGroup(standIn).isEmpty(); }));
    EXPECT_FALSE(processAlive(child));

    EXPECT_EQ(passLines(), QStringList{firstPassLine});
    EXPECT_EQ(countStatus(orcaStarted), 1);
    EXPECT_EQ(countStatus(QStringLiteral("-> (Orvane External Calculation Module) Excited States Calculation "
                                         "was successfully  terminated.")),
              1);
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("data/mycomplex1.orcout"))));
    EXPECT_TRUE(button("btnRunCalculation")->isEnabled());
}

TEST_F(OrcaRunFixture, AChosenOrcaInputRunsUnderItsOwnNameAndKeepsItsFolder)
{
    const struct
    {
        const char* name;
        const char* standInMode;
        bool succeeds;
        int passes;
    } cases[] = {
        {"complex.orcinp", "", true, 2},
        {"a.b.orcinp", "", true, 2},
        {"my complex,1.orcinp", "", true, 2},
        {"complex.orcinp", "fail", false, 1},
        {"complex.orcinp", "crash", false, 1},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.standInMode);
        ScopedEnvironment standInMode("ORVANE_ORCA_STANDIN_MODE", c.standInMode);
        const QString folder = temp.filePath(QStringLiteral("chosen%1").arg(++run));
        const QString name = QString::fromLatin1(c.name);
        const QString input = folder + QLatin1Char('/') + name;
        const QString output = input.chopped(QStringLiteral("orcinp").size()) + QStringLiteral("orcout");
        writeText(folder + QStringLiteral("/charges.pointcharge"), QStringLiteral("1\n3.0     0.0000    0.0000    0.0000\n"));
        writeText(input, chosenOrcaInput());
        // Work files of some earlier run from a MOPAC output: neither moved nor judged.
        const QString base = QFileInfo(input).baseName().remove(QRegularExpression(QStringLiteral("(\\s|,)")));
        writeText(workFolder + QLatin1Char('/') + base + QStringLiteral(".orcout"), QStringLiteral("stale work output\n"));
        writeText(workFolder + QLatin1Char('/') + base + QStringLiteral(".orcinp"), QStringLiteral("stale work input\n"));

        createPage(1);
        statusLines.clear();
        drop(input);
        EXPECT_TRUE(widget<QRadioButton>("rdbOrcaInput")->isChecked());
        const int asked = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Ok);
        click("btnRunCalculation");
        ASSERT_TRUE(waitForIdle());
        EXPECT_EQ(boxTexts().mid(asked),
                  QStringList{QStringLiteral("ORVANE Information: ") + orcaKind
                              + (c.succeeds ? successBox : failureText)});
        EXPECT_EQ(countStatus(orcaStarted), c.passes);
        EXPECT_TRUE(passLines().isEmpty());

        // The folder keeps the input, its charges, the output and the orbital
        // file; the other side files are gone and nothing was moved in.
        QStringList expected = {QStringLiteral("charges.pointcharge"), name, QFileInfo(output).fileName()};
        if (c.succeeds)
            expected << name + QStringLiteral(".gbw");
        expected.sort();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
        EXPECT_EQ(readText(workFolder + QLatin1Char('/') + base + QStringLiteral(".orcout")),
                  QStringLiteral("stale work output\n"));
        if (c.succeeds) {
            EXPECT_TRUE(readText(output).contains(QStringLiteral("NAME = ") + name + QLatin1Char('\n')));
            EXPECT_EQ(absorptionSignals(), (QStringList{QStringLiteral("3 ") + output, QStringLiteral("2")}));
        }
    }
}

namespace {

// How a run ends: normally, by an error of the program, by its crash, or by
// the user.
enum class Ending { Finished, Failed, Crashed, Stopped };

const char* endingName(Ending ending)
{
    switch (ending) {
    case Ending::Finished:
        return "finished";
    case Ending::Failed:
        return "failed";
    case Ending::Crashed:
        return "crashed";
    case Ending::Stopped:
        break;
    }
    return "stopped";
}

class OrcaCleanUpFixture : public OrcaRunFixture
{
protected:
    // Starts the run of the page's input and waits until it is judged.
    void runUntilJudged(Ending ending)
    {
        const char* const modes[] = {"", "fail", "crash", "hang"};
        ScopedEnvironment standInMode("ORVANE_ORCA_STANDIN_MODE", modes[static_cast<int>(ending)]);
        if (ending != Ending::Stopped) {
            dialogs.pressButton(QMessageBox::Ok);
            click("btnRunCalculation");
            ASSERT_TRUE(waitForIdle());
            return;
        }
        click("btnRunCalculation");
        ASSERT_TRUE(waitUntil([&] { return tab(1)->toPlainText().contains(QStringLiteral("waits for child")); }, 10000));
        dialogs.pressButton(QMessageBox::Yes);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnStopCalculation");
        ASSERT_TRUE(waitForIdle());
        EXPECT_EQ(dialogs.requests().last().text, orcaKind + QStringLiteral("was terminated successfully."));
    }
};

} // namespace

TEST_F(OrcaCleanUpFixture, TheCleanUpRemovesOnlyWhatTheRunWrote)
{
    // The chemist's own files beside the input share its name: a backup of
    // an input, an older output and a dated one. A chosen input runs beside
    // them: each run's end removes the side files the program wrote
    // (name.orcinp.cis of the stand-in, also when an earlier run had left
    // one) and keeps the orbital file. A run from a MOPAC output works in
    // the private work folder and cleans up there; beside the MOPAC output
    // only its four results are placed, over the chemist's own CI vectors
    // of the same name neither. Every other file is as it was, byte for byte.
    const QMap<QString, QByteArray> usersFiles = {
        {QStringLiteral("eu.orcinp.bak"), "the chemist's backup of an input\n"},
        {QStringLiteral("eu.old.orcout"), "an output kept from an older run\n"},
        {QStringLiteral("eu.orcinp.2024-05.out"), "an output of May 2024\n"},
    };
    const QByteArray earlierSideFile = "CI vectors of an earlier run\n";
    for (const bool chosen : {true, false}) {
        for (const Ending ending : {Ending::Finished, Ending::Failed, Ending::Stopped}) {
            SCOPED_TRACE(std::string(chosen ? "chosen input, " : "MOPAC output, ") + endingName(ending));
            const QString folder = temp.filePath(QStringLiteral("%1-%2").arg(chosen ? "chosen" : "mopac", endingName(ending)));
            QMap<QString, QByteArray> before = usersFiles;
            before.insert(QStringLiteral("eu.orcinp.cis"), earlierSideFile);
            if (chosen) {
                before.insert(QStringLiteral("eu.orcinp"), chosenOrcaInput().toUtf8());
                before.insert(QStringLiteral("charges.pointcharge"), "1\n3.0     0.0000    0.0000    0.0000\n");
            } else {
                before.insert(QStringLiteral("eu.out"), readText(mopacFixture("eu_h2o8_allvec.out")).toUtf8());
            }
            ASSERT_TRUE(QDir().mkpath(folder));
            for (auto it = before.begin(); it != before.end(); ++it)
                OrvaneFixtures::writeFile(folder + QLatin1Char('/') + it.key(), it.value());

            createPage(1);
            drop(folder + (chosen ? QStringLiteral("/eu.orcinp") : QStringLiteral("/eu.out")));
            ASSERT_TRUE(widget<QRadioButton>(chosen ? "rdbOrcaInput" : "rdbMopacOut2")->isChecked());
            runUntilJudged(ending);

            QMap<QString, QByteArray> expected = before;
            const bool finished = ending == Ending::Finished;
            // The stand-in writes its side files only when it finishes.
            if (chosen && finished)
                expected.remove(QStringLiteral("eu.orcinp.cis"));
            const QMap<QString, QByteArray> after = folderContents(folder);
            for (auto it = expected.begin(); it != expected.end(); ++it)
                EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
            QStringList names = expected.keys();
            if (chosen)
                names << QStringLiteral("eu.orcout");
            if (chosen && finished)
                names << QStringLiteral("eu.orcinp.gbw");
            if (!chosen && finished)
                names << QStringLiteral("eu.gbw") << QStringLiteral("eu.orcinp") << QStringLiteral("eu.orcout")
                      << QStringLiteral("eu.pointcharge");
            names.sort();
            EXPECT_EQ(after.keys(), names);
            EXPECT_FALSE(QFileInfo::exists(workFolder + QStringLiteral("/eu.orcinp.cis")));
        }
    }
}

TEST_F(OrcaCleanUpFixture, FilesTheChemistChangesBesideTheInputDuringARunAreKept)
{
    // While a chosen input runs, the chemist copies a backup, appends to
    // notes and touches a dated output, all named after the input. They are
    // the chemist's whatever the run's end: only the program's own kind of
    // side file (the stand-in's CI vectors) goes.
    const QDateTime touched(QDate(2024, 6, 30), QTime(9, 15, 0));
    for (const Ending ending : {Ending::Finished, Ending::Failed, Ending::Stopped}) {
        SCOPED_TRACE(endingName(ending));
        const QString folder = temp.filePath(QStringLiteral("changed-") + QString::fromLatin1(endingName(ending)));
        const auto path = [&folder](const char* name) { return folder + QLatin1Char('/') + QString::fromLatin1(name); };
        ASSERT_TRUE(QDir().mkpath(folder));
        OrvaneFixtures::writeFile(path("eu.orcinp"), chosenOrcaInput().toUtf8());
        OrvaneFixtures::writeFile(path("charges.pointcharge"), "1\n3.0     0.0000    0.0000    0.0000\n");
        OrvaneFixtures::writeFile(path("eu.orcinp.bak"), "the chemist's backup of an input\n");
        OrvaneFixtures::writeFile(path("eu.orcinp.notes"), "June: 12 roots\n");
        OrvaneFixtures::writeFile(path("eu.orcinp.2024-06.orcout"), "an output of June 2024\n");

        createPage(1);
        drop(path("eu.orcinp"));
        ASSERT_TRUE(widget<QRadioButton>("rdbOrcaInput")->isChecked());
        bool changed = false;
        const auto duringTheRun = QObject::connect(
            page.get(), &AbstractObjCalculationWidget::newObjCalculationMessage, [&](const QString& line) {
                if (changed || !line.endsWith(orcaStarted))
                    return;
                changed = true;
                ASSERT_TRUE(QFile::copy(path("eu.orcinp.bak"), path("eu.orcinp.bak2")));
                QFile notes(path("eu.orcinp.notes"));
                ASSERT_TRUE(notes.open(QIODevice::Append));
                notes.write("July: 25 roots, triplets\n");
                notes.close();
                QFile dated(path("eu.orcinp.2024-06.orcout"));
                ASSERT_TRUE(dated.open(QIODevice::ReadWrite));
                ASSERT_TRUE(dated.setFileTime(touched, QFileDevice::FileModificationTime));
            });
        runUntilJudged(ending);
        QObject::disconnect(duringTheRun);
        ASSERT_TRUE(changed);

        const QMap<QString, QByteArray> after = folderContents(folder);
        EXPECT_EQ(after.value(QStringLiteral("eu.orcinp.bak")), QByteArray("the chemist's backup of an input\n"));
        EXPECT_EQ(after.value(QStringLiteral("eu.orcinp.bak2")), QByteArray("the chemist's backup of an input\n"));
        EXPECT_EQ(after.value(QStringLiteral("eu.orcinp.notes")), QByteArray("June: 12 roots\nJuly: 25 roots, triplets\n"));
        EXPECT_EQ(after.value(QStringLiteral("eu.orcinp.2024-06.orcout")), QByteArray("an output of June 2024\n"));
        EXPECT_EQ(QFileInfo(path("eu.orcinp.2024-06.orcout")).lastModified(), touched);
        EXPECT_EQ(after.value(QStringLiteral("eu.orcinp")), chosenOrcaInput().toUtf8());

        QStringList names = {QStringLiteral("charges.pointcharge"), QStringLiteral("eu.orcinp"),
                             QStringLiteral("eu.orcinp.2024-06.orcout"), QStringLiteral("eu.orcinp.bak"),
                             QStringLiteral("eu.orcinp.bak2"), QStringLiteral("eu.orcinp.notes"), QStringLiteral("eu.orcout")};
        // The orbital file stays; the CI vectors the run wrote are gone.
        if (ending == Ending::Finished)
            names << QStringLiteral("eu.orcinp.gbw");
        names.sort();
        EXPECT_EQ(after.keys(), names);
    }
}

TEST_F(OrcaCleanUpFixture, ARunWithoutResultsNeverHandsOverTheEarlierOutputAsItsOwn)
{
    // A run from a MOPAC output beside the output of an earlier run that
    // fails, crashes or is stopped places nothing: its own output stays in
    // the work folder. The box and the status panel name that file, and the
    // absorption spectrum opens it, never the earlier one beside the input.
    const QByteArray earlierText = "the output of an earlier run\n";
    for (const Ending ending : {Ending::Failed, Ending::Crashed, Ending::Stopped}) {
        SCOPED_TRACE(endingName(ending));
        const QString folder = temp.filePath(QStringLiteral("earlier-") + QString::fromLatin1(endingName(ending)));
        const QString earlier = folder + QStringLiteral("/eu.orcout");
        writeText(folder + QStringLiteral("/eu.out"), readText(mopacFixture("eu_h2o8_allvec.out")));
        OrvaneFixtures::writeFile(earlier, earlierText);
        createPage(1);
        drop(folder + QStringLiteral("/eu.out"));
        statusLines.clear();
        const int asked = dialogs.requests().size();
        runUntilJudged(ending);

        const QString own = workFolder + QStringLiteral("/eu.orcout");
        ASSERT_TRUE(QFileInfo(own).isFile());
        EXPECT_NE(OrvaneFixtures::contents(own), earlierText);
        EXPECT_EQ(OrvaneFixtures::contents(earlier), earlierText);
        if (ending != Ending::Stopped)
            EXPECT_EQ(boxTexts().mid(asked),
                      QStringList{QStringLiteral("ORVANE Information: ") + orcaKind + failureText
                                  + QStringLiteral("\n\nThe output of this run is ") + own + QStringLiteral("\n(")
                                  + earlier + QStringLiteral(" is from an earlier run.)")});
        EXPECT_EQ(countStatus(QStringLiteral("-> (Orvane Excited States Calculations) The output of this run stays in ")
                              + own + QStringLiteral("; the absorption spectrum shows that file.")),
                  1);
        ASSERT_TRUE(button("btnShowAbsorptionSpectrumModule")->isEnabled());
        EXPECT_EQ(absorptionSignals(), (QStringList{QStringLiteral("3 ") + own, QStringLiteral("2")}));
    }
}

TEST_F(OrcaCleanUpFixture, AStoppedRunEndingAfterTheProjectChangedOffersNoSpectrum)
{
    // A stopped run may end only after the chemist cleared the project or
    // chose another input: its output is not that of the page's input, and
    // the absorption spectrum must not open it as such.
    const struct
    {
        const char* name;
        bool anotherInput;
    } cases[] = {{"cleared", false}, {"another input", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnvironment hanging("ORVANE_ORCA_STANDIN_MODE", "hang");
        const QString folder = temp.filePath(QStringLiteral("changed-") + QString::fromLatin1(c.anotherInput ? "input" : "clear"));
        writeText(folder + QStringLiteral("/eu.out"), readText(mopacFixture("eu_h2o8_allvec.out")));
        writeText(folder + QStringLiteral("/other.out"), readText(mopacFixture("eu_h2o8_allvec.out")));
        createPage(1);
        drop(folder + QStringLiteral("/eu.out"));
        click("btnRunCalculation");
        ASSERT_TRUE(waitUntil([&] { return tab(1)->toPlainText().contains(QStringLiteral("waits for child")); }, 10000));
        dialogs.pressButton(QMessageBox::Yes);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnStopCalculation");
        // Before the runner's end is seen.
        if (c.anotherInput) {
            drop(folder + QStringLiteral("/other.out"));
        } else {
            dialogs.pressButton(QMessageBox::Yes);
            click("btnClearProject");
        }
        ASSERT_TRUE(waitForIdle());
        EXPECT_EQ(dialogs.requests().last().text, orcaKind + QStringLiteral("was terminated successfully."));
        EXPECT_FALSE(button("btnShowAbsorptionSpectrumModule")->isEnabled());
        EXPECT_TRUE(absorptionSignals().isEmpty());
    }
}

TEST_F(OrcaRunFixture, ResultsThatDoNotFitStayApartAndWholeUntilRemoved)
{
    // The MOPAC output on a small disk, the work folder on another file
    // system: each result is copied across. With the disk filled part way
    // the new set does not fit: the earlier set stays whole, the new one
    // stays in a folder of its own in the work folder, and the box names
    // both; the absorption spectrum opens the new output there. A later
    // failed run of the same name leaves that set whole. With room again a
    // rerun replaces the set beside the input, each result keeping the group
    // and permissions of the one it replaces, and the set left apart still
    // stays.
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can mount the small disk";
    SmallDisk disk(temp.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    const QString folder = disk.path(QStringLiteral("data"));
    const QString mopacOutput = folder + QStringLiteral("/eu.out");
    writeText(mopacOutput, readText(mopacFixture("eu_h2o8_allvec.out")));
    const QStringList results = {QStringLiteral("eu.orcinp"), QStringLiteral("eu.pointcharge"),
                                 QStringLiteral("eu.orcout"), QStringLiteral("eu.gbw")};
    for (const QString& name : results)
        OrvaneFixtures::writeFile(folder + QLatin1Char('/') + name, "earlier " + name.toUtf8() + "\n");
    const QString earlierOutput = folder + QStringLiteral("/eu.orcout");
    ASSERT_EQ(::chown(earlierOutput.toLocal8Bit().constData(), 0, 100), 0);
    ASSERT_EQ(::chmod(earlierOutput.toLocal8Bit().constData(), 0640), 0);
    const QMap<QString, QByteArray> earlier = folderContents(folder);

    createPage(1);
    drop(mopacOutput);
    setPanel(12, false);
    ASSERT_TRUE(disk.fillLeaving(3 * 4096));
    const int asked = dialogs.requests().size();
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());

    // The set left apart: one folder named by the base name and the time.
    const QStringList sets = QDir(workFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(sets.size(), 1) << sets.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^eu-\\d{8}-\\d{6}(-\\d+)?$")).match(sets[0]).hasMatch())
        << sets[0].toStdString();
    const QString keptSet = workFolder + QLatin1Char('/') + sets[0];
    const QMap<QString, QByteArray> left = folderContents(keptSet);
    EXPECT_EQ(left.keys(), (QStringList{QStringLiteral("eu.gbw"), QStringLiteral("eu.orcinp"), QStringLiteral("eu.orcout"),
                                        QStringLiteral("eu.pointcharge")}));
    ASSERT_GT(left.value(QStringLiteral("eu.orcout")).size(), 3 * 4096) << "the new output must not fit in the room left";
    EXPECT_TRUE(left.value(QStringLiteral("eu.orcout")).contains("****ORCA TERMINATED NORMALLY****"));
    EXPECT_TRUE(left.value(QStringLiteral("eu.orcinp")).contains("\tnroots 12\n"));
    EXPECT_EQ(left.value(QStringLiteral("eu.gbw")), QByteArray("stand-in orbital file\n"));
    EXPECT_EQ(folderContents(folder), earlier);

    ASSERT_EQ(dialogs.requests().size(), asked + 1);
    const auto& box = dialogs.requests().last();
    EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(box.title, QStringLiteral("ORVANE Error"));
    EXPECT_FALSE(box.text.contains(successBox));
    EXPECT_TRUE(box.text.contains(QStringLiteral("No space left on device"))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QStringLiteral("in their own folder ") + keptSet)) << box.text.toStdString();
    for (auto it = left.begin(); it != left.end(); ++it)
        EXPECT_TRUE(box.text.contains(keptSet + QLatin1Char('/') + it.key())) << it.key().toStdString() << "\n"
                                                                              << box.text.toStdString();
    for (const QString& name : results)
        EXPECT_TRUE(box.text.contains(folder + QLatin1Char('/') + name)) << name.toStdString() << "\n"
                                                                          << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QStringLiteral("earlier results"))) << box.text.toStdString();
    ASSERT_TRUE(button("btnShowAbsorptionSpectrumModule")->isEnabled());
    EXPECT_EQ(absorptionSignals(), (QStringList{QStringLiteral("3 ") + keptSet + QStringLiteral("/eu.orcout"),
                                                QStringLiteral("2")}));

    // A failed run of the same MOPAC output works in the same work folder.
    {
        ScopedEnvironment failing("ORVANE_ORCA_STANDIN_MODE", "fail");
        dialogs.pressButton(QMessageBox::Ok);
        click("btnRunCalculation");
        ASSERT_TRUE(waitForIdle());
        EXPECT_TRUE(dialogs.requests().last().text.startsWith(orcaKind + failureText));
    }
    EXPECT_EQ(folderContents(keptSet), left);
    EXPECT_EQ(folderContents(folder), earlier);

    // Room again: the rerun's set replaces the earlier one.
    ASSERT_TRUE(QFile::remove(disk.path(QStringLiteral("filler"))));
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(dialogs.requests().last().text, orcaKind + successBox);
    const QMap<QString, QByteArray> replaced = folderContents(folder);
    EXPECT_EQ(replaced.keys(), earlier.keys());
    EXPECT_TRUE(replaced.value(QStringLiteral("eu.orcout")).contains("****ORCA TERMINATED NORMALLY****"));
    EXPECT_EQ(replaced.value(QStringLiteral("eu.gbw")), QByteArray("stand-in orbital file\n"));
    struct stat st = {};
    ASSERT_EQ(::stat(earlierOutput.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_gid, 100u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    for (const QString& name : {QStringLiteral("eu.orcinp"), QStringLiteral("eu.pointcharge"),
                                QStringLiteral("eu.orcout"), QStringLiteral("eu.orcinp.gbw")})
        EXPECT_FALSE(QFileInfo::exists(workFolder + QLatin1Char('/') + name)) << name.toStdString();
    EXPECT_EQ(folderContents(keptSet), left);
}

TEST_F(OrcaRunFixture, ARunWaitsWhileAnotherWindowRunsAMopacOutputOfTheSameBaseName)
{
    // Another ORVANE window runs ORCA on "mycomplex1.out" of another folder:
    // its work files have the names this run's would have.
    const QString mopacOutput = placeMopacOutput();
    writeText(workFolder + QStringLiteral("/mycomplex1.orcinp"), QStringLiteral("the other window's input\n"));
    writeText(workFolder + QStringLiteral("/mycomplex1.orcout"), QStringLiteral("the other window's output, growing\n"));
    QLockFile otherWindow(workFolder + QStringLiteral("/mycomplex1.lock"));
    ASSERT_TRUE(otherWindow.tryLock(0));
    const QMap<QString, QByteArray> theirs = folderContents(workFolder);
    createPage(1);
    drop(mopacOutput);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    const QString refusal = QStringLiteral("Another ORVANE window is running ORCA on a MOPAC output of the base "
                                           "name mycomplex1, whose work files in ")
                            + workFolder
                            + QStringLiteral(" this run would overwrite. Start this run when that one has ended.");
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("ORVANE Error: ") + refusal});
    EXPECT_EQ(countStatus(orcaStarted), 0);
    EXPECT_EQ(countStatus(QStringLiteral("-> (Orvane External Calculation Module) The calculation could not be "
                                         "started: ")
                          + refusal),
              1);
    EXPECT_EQ(folderContents(workFolder), theirs);
    EXPECT_TRUE(button("btnRunCalculation")->isEnabled());

    // That window has ended: the run goes, and lets the work files go at its end.
    otherWindow.unlock();
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(boxTexts().last(), QStringLiteral("ORVANE Information: ") + orcaKind + successBox);
    EXPECT_TRUE(resultTexts()[2].contains(QStringLiteral("****ORCA TERMINATED NORMALLY****")));
    EXPECT_FALSE(QFileInfo::exists(workFolder + QStringLiteral("/mycomplex1.lock")));
}

TEST_F(OrcaRunFixture, AClaimLeftByAWindowThatCrashedDoesNotBlockTheRun)
{
    // The lock of a window that crashed: its process is gone.
    QProcess ended;
    ended.start(QStringLiteral("true"), QStringList());
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 gonePid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    writeText(workFolder + QStringLiteral("/mycomplex1.lock"),
              QString::number(gonePid) + QLatin1Char('\n') + QCoreApplication::applicationName() + QLatin1Char('\n')
                  + QSysInfo::machineHostName() + QLatin1Char('\n'));
    const QString mopacOutput = placeMopacOutput();
    createPage(1);
    drop(mopacOutput);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("ORVANE Information: ") + orcaKind + successBox});
    EXPECT_FALSE(QFileInfo::exists(workFolder + QStringLiteral("/mycomplex1.lock")));
}

TEST_F(OrcaRunFixture, AProgramThatCannotStartIsReportedOnceAndRunsNoSecondPass)
{
    // An executable whose interpreter is missing: the start itself fails.
    const QString program = temp.filePath(QStringLiteral("bin/orca"));
    writeText(program, QStringLiteral("#!/nonexistent/interpreter\n"));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    useProgram(1, program);
    const QString mopacOutput = placeMopacOutput();
    createPage(1);
    drop(mopacOutput);
    dialogs.pressButton(QMessageBox::Ok);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(boxTexts(),
              (QStringList{QStringLiteral("ORVANE Error: The calculation is not running. The process failed to "
                                          "start. Either the invoked \nprogram is missing, or you may have "
                                          "insufficient permissions to invoke the program."),
                           QStringLiteral("ORVANE Information: ") + orcaKind + failureText}));
    EXPECT_EQ(passLines(), QStringList{firstPassLine});
    EXPECT_EQ(countStatus(orcaStarted), 1);
}

TEST_F(RunFixture, AnUnreadableMol2DrawingStartsNoRun)
{
    REQUIRE_MOPAC();
    const QString mol2 = temp.filePath(QStringLiteral("run/complex.mol2"));
    writeText(mol2, eu4Mol2());
    useProgram(0, mopac);
    createPage(0);
    drop(mol2);
    // The drawing is gone after it was shown.
    ASSERT_TRUE(QFile::remove(mol2));
    dialogs.pressButton(QMessageBox::Ok);
    click("btnRunCalculation");
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(lastRequest()->text.contains(mol2)) << lastRequest()->text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("run/complex.mop"))));
    EXPECT_FALSE(button("btnStopCalculation")->isEnabled());
    EXPECT_TRUE(button("btnRunCalculation")->isEnabled());
    EXPECT_EQ(countStatus(QStringLiteral("successfully started")), 0);
    // The status panel says why under the run's line of dashes.
    EXPECT_EQ(statusTexts(), (QStringList{QString(63, QLatin1Char('-')),
                                          QStringLiteral("-> (Orvane External Calculation Module) The "
                                                         "calculation could not be started: ")
                                              + lastRequest()->text}));
}

TEST_F(RunFixture, AStoppedRunCleansUpAfterItsOwnInputWhenTheProjectChangesBeforeItEnds)
{
    // The clean-up at the end of a run takes its names from the run, not from
    // the page: a project cleared while the stopped program is still ending
    // must not turn them into names in the current folder.
    // The stand-in writes two side files, then waits to be stopped.
    const QString program = writeScript(temp.filePath(QStringLiteral("bin/mopac")),
                                        QStringLiteral("base=\"${1%.mop}\"\n"
                                                       "echo side file > \"$base.arc\"\n"
                                                       "echo side file > \"$base.log\"\n"
                                                       "sleep 60"));
    useProgram(0, program);
    const QString input = temp.filePath(QStringLiteral("data/complex.mop"));
    writeText(input, eu4Mop(QStringLiteral("AM1 SPARKLE CHARGE=3")));
    const QString current = temp.filePath(QStringLiteral("current"));
    for (const char* bystander : {".arc", ".log", ".end", ".temp"})
        writeText(current + QLatin1Char('/') + QString::fromLatin1(bystander), QStringLiteral("not the run's"));
    OrvaneFixtures::ScopedCurrentDirectory inCurrent(current);
    ASSERT_TRUE(inCurrent.isChanged());

    createPage(0);
    drop(input);
    ASSERT_TRUE(widget<QRadioButton>("rdbMopFile")->isChecked());
    click("btnRunCalculation");
    ASSERT_TRUE(button("btnStopCalculation")->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(temp.filePath(QStringLiteral("data/complex.log"))); }));
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnStopCalculation");
    // Before the runner's end is seen: another kind of input clears the project.
    widget<QRadioButton>("rdbMOL2File")->setChecked(true);
    ASSERT_TRUE(waitForIdle());

    EXPECT_EQ(lastRequest()->text, mopacKind + QStringLiteral("was terminated successfully."));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("data/complex.arc"))));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("data/complex.log"))));
    EXPECT_TRUE(QFileInfo::exists(input));
    EXPECT_EQ(QDir(current).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral(".arc"), QStringLiteral(".end"), QStringLiteral(".log"),
                           QStringLiteral(".temp")}));
}
