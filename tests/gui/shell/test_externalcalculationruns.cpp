// Runs of the external calculation page driven through its widgets: MOPAC for
// real, stand-ins for MOPAC where a behaviour must be forced, and the ORCA
// stand-in for the two-pass excited-state runs.

#include "externalpagetestsupport.h"

#include "glmolecule.h"
#include "orvanefrmmopackeywords.h"
#include "orvaneinputdata.h"
#include "orvaneplatform.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>

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
        QStringLiteral("-> (Orvane Geometry Optimization) File ") + folder
            + QStringLiteral("/complex.log was deleted after the geometry optimization."),
        QStringLiteral("-> (Orvane Geometry Optimization) File ") + folder
            + QStringLiteral("/complex.end was deleted after the geometry optimization."),
        QStringLiteral("-> (Orvane Geometry Optimization) File ") + folder
            + QStringLiteral("/complex.temp was deleted after the geometry optimization."),
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
