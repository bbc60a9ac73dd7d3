// The external calculation page without runs: construction in both modes,
// input files chosen and dropped, program paths, the model list, clearing,
// the molecule view and the keyboard shortcuts.

#include "externalpagetestsupport.h"

#include "glmolecule.h"
#include "orvanefrmmopackeywords.h"
#include "orvanefrmorcakeywords.h"
#include "orvanefrmsearching.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QScreen>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <functional>

using namespace externalpage;

namespace {

const QString mopacHint =
    QStringLiteral("Drag and drop a .mol2/.mop/.out file here OR click on button Open to open it");
const QString orcaHint =
    QStringLiteral("Drag and drop a .out/.orcinp file here OR click on button Open to open it");
const QString greyStyle = QStringLiteral("color: rgb(158, 158, 158);");

const QString waterMol2 = QStringLiteral(
    "@<TRIPOS>MOLECULE\nwater\n 3 2 1 0 0\nSMALL\nNO_CHARGES\n\n@<TRIPOS>ATOM\n"
    "      1 O1       0.0000    0.0000    0.0000 O.3       1 RES1    0.0000\n"
    "      2 H2       0.9600    0.0000    0.0000 H         1 RES1    0.0000\n"
    "      3 H3      -0.2400    0.9300    0.0000 H         1 RES1    0.0000\n"
    "@<TRIPOS>BOND\n     1     1     2    1\n     2     1     3    1\n"
    "@<TRIPOS>SUBSTRUCTURE\n     1 RES1        1 GROUP             0 ****  ****    0 ROOT\n");

} // namespace

TEST_F(PageFixture, BuildsEachModeWithItsTitleTabsPanelAndHint)
{
    const struct
    {
        int mode;
        QString title;
        QStringList tabs;
        QString hint;
        QString pathButton;
        bool findEnabled;
        const char* shownFrame;
        const char* hiddenFrame;
    } cases[] = {
        {0, QStringLiteral("Module 1: Geometry Optimization"),
         {QStringLiteral(".mol2 Input File"), QStringLiteral("MOPAC .out File")}, mopacHint,
         QStringLiteral("Open mopac"), false, "frameMopac", "frameOrca"},
        {1, QStringLiteral("Module 2: Excited States Calculation"),
         {QStringLiteral("MOPAC .out File"), QStringLiteral("ORCA .orcout File")}, orcaHint,
         QStringLiteral("Open orca"), true, "frameOrca", "frameMopac"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        createPage(c.mode);
        EXPECT_EQ(widget<QLabel>("lblTitle")->text(), c.title);
        auto* tabs = widget<QTabWidget>("tabWidgetViewFiles");
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), c.tabs[0]);
        EXPECT_EQ(tabs->tabText(1), c.tabs[1]);
        EXPECT_TRUE(tab(0)->isReadOnly());
        EXPECT_EQ(tab(1)->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_EQ(fileField()->text(), c.hint);
        EXPECT_EQ(fileField()->toolTip(), c.hint);
        EXPECT_EQ(fileField()->styleSheet(), greyStyle);
        EXPECT_EQ(widget<QLineEdit>("lineEditRunProgress")->text(),
                  QStringLiteral("The calculation is not running."));
        EXPECT_EQ(button("btnSetExternalProgramPath")->text(), c.pathButton);
        EXPECT_EQ(button("btnFind")->isEnabled(), c.findEnabled);
        EXPECT_FALSE(button("btnRunCalculation")->isEnabled());
        EXPECT_FALSE(button("btnStopCalculation")->isEnabled());
        EXPECT_FALSE(button("btnShowAbsorptionSpectrumModule")->isEnabled());
        EXPECT_TRUE(button("btnClearProject")->isEnabled());
        EXPECT_FALSE(widget(c.shownFrame)->isHidden());
        EXPECT_TRUE(widget(c.hiddenFrame)->isHidden());
        EXPECT_EQ(button("btnShowAbsorptionSpectrumModule")->isHidden(), c.mode == 0);
        EXPECT_EQ(widget("widgetViewMolecule")->isHidden(), c.mode == 1);

        auto* panels = widget<QStackedWidget>("stackedWidgetKeywords");
        ASSERT_EQ(panels->count(), 1);
        if (c.mode == 0)
            EXPECT_NE(qobject_cast<OrvaneFrmMopacKeywords*>(panels->widget(0)), nullptr);
        else
            EXPECT_NE(qobject_cast<OrvaneFrmOrcaKeywords*>(panels->widget(0)), nullptr);

        // The find bar searches the tab in front; hidden on the MOPAC page
        // until asked for.
        auto* findBar = page->findChild<OrvaneFrmSearching*>();
        ASSERT_NE(findBar, nullptr);
        EXPECT_EQ(findBar->isHidden(), c.mode == 0);
        EXPECT_EQ(findBar->plainTextEdit, tab(0));
        tabs->setCurrentIndex(1);
        EXPECT_EQ(findBar->plainTextEdit, tab(1));
    }

    // The main window connects the page by these texts.
    const QMetaObject* meta = &OrvaneFrmExternalCalculationModule::staticMetaObject;
    EXPECT_GE(meta->indexOfSignal(QMetaObject::normalizedSignature(
                  "showAbsorptionSpectrumCalculationModule(const int &, const QString &)")),
              0);
    EXPECT_GE(meta->indexOfSignal(
                  QMetaObject::normalizedSignature("showAbsorptionSpectrumCalculationModule(const int &)")),
              0);
}

TEST_F(PageFixture, DroppedFilesSelectTheirKindOrAreRefused)
{
    writeText(temp.filePath(QStringLiteral("in/complex.mol2")), eu4Mol2());
    writeText(temp.filePath(QStringLiteral("in/complex.ml2")), eu4Mol2());
    writeText(temp.filePath(QStringLiteral("in/complex.MOL2")), eu4Mol2());
    QFile::copy(mopacFixture("eu_h2o4_force.mop"), temp.filePath(QStringLiteral("in/complex.mop")));
    QFile::copy(mopacFixture("eu_h2o8_allvec.out"), temp.filePath(QStringLiteral("in/complex.out")));
    writeText(temp.filePath(QStringLiteral("in/complex.orcinp")), QStringLiteral("!RHF ZINDO/S\n"));
    writeText(temp.filePath(QStringLiteral("in/complex.txt")), QStringLiteral("text\n"));

    const struct
    {
        int mode;
        const char* file;
        const char* radio;        // null: refused with this extension
        const char* extension;
        int tab;                  // viewer tab that shows the file
        bool runEnabled;
        bool keywordsEnabled;
    } cases[] = {
        {0, "complex.mol2", "rdbMOL2File", nullptr, 0, true, true},
        {0, "complex.ml2", "rdbMOL2File", nullptr, 0, true, true},
        {0, "complex.mop", "rdbMopFile", nullptr, 0, true, false},
        {0, "complex.out", "rdbMopacOut1", nullptr, 1, false, false},
        {0, "complex.MOL2", nullptr, "MOL2", 0, false, true},
        {0, "complex.orcinp", nullptr, "orcinp", 0, false, true},
        {1, "complex.out", "rdbMopacOut2", nullptr, 0, true, true},
        {1, "complex.orcinp", "rdbOrcaInput", nullptr, 0, true, false},
        {1, "complex.mol2", nullptr, "mol2", 0, false, true},
        {1, "complex.txt", nullptr, "txt", 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.file);
        createPage(c.mode);
        const QString path = temp.filePath(QStringLiteral("in/") + QString::fromLatin1(c.file));
        const int asked = dialogs.requests().size();
        if (!c.radio) {
            dialogs.pressButton(QMessageBox::Ok);
            drop(path);
            ASSERT_EQ(dialogs.requests().size(), asked + 1);
            EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
            EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
            EXPECT_EQ(lastRequest()->text,
                      QStringLiteral("The desired file contains an unknown extension (")
                          + QString::fromLatin1(c.extension) + QLatin1Char(')'));
            EXPECT_EQ(fileField()->text(), c.mode == 0 ? mopacHint : orcaHint);
            EXPECT_FALSE(button("btnRunCalculation")->isEnabled());
            continue;
        }
        drop(path);
        EXPECT_EQ(dialogs.requests().size(), asked) << "no box for an accepted file";
        EXPECT_TRUE(widget<QRadioButton>(c.radio)->isChecked());
        EXPECT_EQ(fileField()->text(), path);
        EXPECT_EQ(fileField()->toolTip(), path);
        EXPECT_TRUE(fileField()->styleSheet().isEmpty());
        EXPECT_EQ(tab(c.tab)->toPlainText(), readText(path));
        EXPECT_EQ(widget<QTabWidget>("tabWidgetViewFiles")->currentIndex(), c.tab);
        if (c.tab == 1)
            EXPECT_TRUE(tab(1)->textCursor().atEnd());
        EXPECT_EQ(button("btnRunCalculation")->isEnabled(), c.runEnabled);
        EXPECT_TRUE(button("btnFind")->isEnabled());
        EXPECT_EQ(widget("stackedWidgetKeywords")->isEnabled(), c.keywordsEnabled);
        if (c.mode == 0) {
            // The structure reaches the 3-D view: 13 atoms of the MOL2 and
            // MOP files, 25 of the [Eu(H2O)8]3+ output.
            const int atoms = QString::fromLatin1(c.file).endsWith(QLatin1String(".out")) ? 25 : 13;
            EXPECT_EQ(page->findChild<GLMolecule*>()->labelTexts().size(), atoms);
        } else {
            EXPECT_EQ(widget<QLineEdit>("editPointChargesFileName")->text(),
                      QStringLiteral("complex.pointcharge"));
        }

        // The same file dropped again changes nothing.
        tab(c.tab)->setPlainText(QStringLiteral("unchanged"));
        drop(path);
        EXPECT_EQ(tab(c.tab)->toPlainText(), QStringLiteral("unchanged"));
    }
}

TEST_F(PageFixture, ChoosingAFileUsesTheDialogOfTheInputKind)
{
    writeText(temp.filePath(QStringLiteral("in/complex.mol2")), eu4Mol2());
    const struct
    {
        int mode;
        const char* radio;
        QString caption;
        QString filter;
    } cases[] = {
        {0, "rdbMOL2File", QStringLiteral("Choose .ml2 File"), QStringLiteral("ml2 Files (*.ml2 *.mol2)")},
        {0, "rdbMopFile", QStringLiteral("Choose Mopac .mop File"), QStringLiteral("MOPAC .mop File (*.mop)")},
        {0, "rdbMopacOut1", QStringLiteral("Choose Mopac .out File"), QStringLiteral("MOPAC .out file (*.out)")},
        {1, "rdbMopacOut2", QStringLiteral("Choose MOPAC .out File"), QStringLiteral("MOPAC .out file (*.out)")},
        {1, "rdbOrcaInput", QStringLiteral("Choose ORCA Input File"),
         QStringLiteral("ORCA input file (*.orcinp)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        createPage(c.mode);
        widget<QRadioButton>(c.radio)->setChecked(true);
        dialogs.cancel();
        click("btnChooseFile");
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::OpenFileName);
        EXPECT_EQ(lastRequest()->title, c.caption);
        EXPECT_EQ(lastRequest()->filter, c.filter);
        // A cancelled dialog changes nothing.
        EXPECT_EQ(fileField()->text(), c.mode == 0 ? mopacHint : orcaHint);
    }

    // A chosen file is accepted and its folder becomes the page's last folder.
    createPage(0);
    const QString path = temp.filePath(QStringLiteral("in/complex.mol2"));
    dialogs.chooseFile(path);
    click("btnChooseFile");
    EXPECT_EQ(fileField()->text(), path);
    EXPECT_EQ(tab(0)->toPlainText(), eu4Mol2());
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("lastDirectory")), temp.filePath(QStringLiteral("in")));
    EXPECT_EQ(page->lastDirectory, temp.filePath(QStringLiteral("in")));
    dialogs.cancel();
    click("btnChooseFile");
    EXPECT_EQ(lastRequest()->directory, temp.filePath(QStringLiteral("in")));
}

TEST_F(PageFixture, ADrawingWithoutAtomsIsRefusedWhenItIsLoaded)
{
    const struct
    {
        const char* name;
        QString text;
    } cases[] = {
        {"empty.mol2", QString()},
        {"header.mol2", QStringLiteral("@<TRIPOS>MOLECULE\nnothing\n 0 0 0 0 0\nSMALL\nNO_CHARGES\n\n"
                                       "@<TRIPOS>ATOM\n@<TRIPOS>BOND\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = temp.filePath(QStringLiteral("in/") + QString::fromLatin1(c.name));
        writeText(path, c.text);
        createPage(0);
        dialogs.pressButton(QMessageBox::Ok);
        drop(path);
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
        EXPECT_TRUE(lastRequest()->text.contains(path)) << lastRequest()->text.toStdString();
        // Nothing to run: the page is as if no file had come.
        EXPECT_FALSE(button("btnRunCalculation")->isEnabled());
        EXPECT_EQ(fileField()->text(), mopacHint);
        EXPECT_TRUE(tab(0)->toPlainText().isEmpty());
    }
}

TEST_F(PageFixture, SwitchingTheInputKindClearsTheProject)
{
    writeText(temp.filePath(QStringLiteral("in/complex.mol2")), eu4Mol2());
    createPage(0);
    auto* keywords = widget<QLineEdit>("edtAdditionalKeywords");
    auto* model = widget<QComboBox>("cbxSparkleMethod");
    model->setCurrentText(QStringLiteral("Sparkle/PM7"));
    drop(temp.filePath(QStringLiteral("in/complex.mol2")));
    keywords->setText(QStringLiteral("PM7 XYZ"));
    ASSERT_EQ(page->findChild<GLMolecule*>()->labelTexts().size(), 13);

    widget<QRadioButton>("rdbMopFile")->setChecked(true);
    EXPECT_EQ(fileField()->text(), mopacHint);
    EXPECT_EQ(fileField()->styleSheet(), greyStyle);
    EXPECT_TRUE(tab(0)->toPlainText().isEmpty());
    EXPECT_EQ(widget<QTabWidget>("tabWidgetViewFiles")->tabText(0), QStringLiteral("MOPAC .mop File"));
    EXPECT_EQ(widget<QRadioButton>("rdbVisualizeMOL2File")->text(),
              QStringLiteral("View Molecule from .mop File"));
    EXPECT_TRUE(page->findChild<GLMolecule*>()->labelTexts().isEmpty());
    EXPECT_EQ(model->currentText(), QStringLiteral("RM1"));
    EXPECT_EQ(keywords->text(), QStringLiteral("PRECISE GEO-OK XYZ T=10D ALLVEC BFGS GNORM=0.25"));
    EXPECT_FALSE(button("btnRunCalculation")->isEnabled());
    EXPECT_FALSE(button("btnFind")->isEnabled());

    // The clear button asks first; No keeps the project.
    widget<QRadioButton>("rdbMOL2File")->setChecked(true);
    drop(temp.filePath(QStringLiteral("in/complex.mol2")));
    dialogs.pressButton(QMessageBox::No);
    click("btnClearProject");
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Question);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Question"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("Are you sure you want to clear the current project? "));
    EXPECT_EQ(fileField()->text(), temp.filePath(QStringLiteral("in/complex.mol2")));
    dialogs.pressButton(QMessageBox::Yes);
    click("btnClearProject");
    EXPECT_EQ(fileField()->text(), mopacHint);

    // The ORCA page resets its panel.
    createPage(1);
    writeText(temp.filePath(QStringLiteral("in/complex.out")), readText(mopacFixture("eu_h2o8_allvec.out")));
    drop(temp.filePath(QStringLiteral("in/complex.out")));
    widget<QSpinBox>("sbxNumberOfStates")->setValue(5);
    widget<QSpinBox>("sbxEMin")->setValue(3);
    widget<QGroupBox>("gbxExcitationWindows")->setChecked(true);
    widget<QRadioButton>("rdbOrcaInput")->setChecked(true);
    EXPECT_EQ(widget<QSpinBox>("sbxNumberOfStates")->value(), 25);
    EXPECT_EQ(widget<QSpinBox>("sbxEMin")->value(), 20);
    EXPECT_FALSE(widget<QGroupBox>("gbxExcitationWindows")->isChecked());
    EXPECT_TRUE(widget<QLineEdit>("editPointChargesFileName")->text().isEmpty());
    EXPECT_EQ(widget<QTabWidget>("tabWidgetViewFiles")->tabText(0), QStringLiteral("ORCA Input File"));
    EXPECT_FALSE(widget("stackedWidgetKeywords")->isEnabled());
}

TEST_F(PageFixture, AModelResetByThePageIsAnnounced)
{
    const QString first = temp.filePath(QStringLiteral("in/first.mol2"));
    const QString second = temp.filePath(QStringLiteral("in/second.mol2"));
    writeText(first, eu4Mol2());
    writeText(second, eu4Mol2());
    createPage(0);
    auto* model = widget<QComboBox>("cbxSparkleMethod");
    auto resets = [&] { return statusTexts().filter(QStringLiteral("semiempirical model")); };
    auto line = [](const QString& from, const QString& to, const QString& because) {
        return QStringLiteral("-> (Orvane Geometry Optimization) The semiempirical model was reset from ")
               + from + QStringLiteral(" to ") + to + QStringLiteral(" because ") + because
               + QStringLiteral("; choose the model again before running if needed.");
    };

    // An opened file starts a new project, whose model is the first of the list.
    model->setCurrentText(QStringLiteral("Sparkle/PM6"));
    dialogs.chooseFile(first);
    click("btnChooseFile");
    EXPECT_EQ(fileField()->text(), first);
    EXPECT_EQ(model->currentText(), QStringLiteral("RM1"));
    EXPECT_EQ(resets(), QStringList{line(QStringLiteral("Sparkle/PM6"), QStringLiteral("RM1"),
                                         QStringLiteral("the new input file ") + first
                                             + QStringLiteral(" starts a new project"))});
    // Every such line is a dated status line.
    EXPECT_TRUE(statusLines.last().contains(QStringLiteral(" -> (Orvane Geometry Optimization) ")));
    EXPECT_FALSE(statusLines.last().startsWith(QStringLiteral("->")));

    // A drawing dropped over a drawing keeps the project and its model.
    model->setCurrentText(QStringLiteral("Sparkle/PM7"));
    drop(second);
    EXPECT_EQ(fileField()->text(), second);
    EXPECT_EQ(model->currentText(), QStringLiteral("Sparkle/PM7"));
    EXPECT_EQ(resets().size(), 1);

    // Nothing to say when the model does not change.
    model->setCurrentText(QStringLiteral("RM1"));
    dialogs.chooseFile(first);
    click("btnChooseFile");
    EXPECT_EQ(fileField()->text(), first);
    EXPECT_EQ(resets().size(), 1);

    const struct
    {
        const char* model;
        std::function<void()> action;
        QString because;
    } cases[] = {
        {"Sparkle/AM1", [&] { widget<QRadioButton>("rdbMopFile")->setChecked(true); },
         QStringLiteral("the input kind changed")},
        {"Sparkle/RM1",
         [&] {
             dialogs.pressButton(QMessageBox::Yes);
             click("btnClearProject");
         },
         QStringLiteral("the project was cleared")},
        {"Sparkle/PM3",
         [&] {
             writeText(temp.filePath(QStringLiteral("in/complex.txt")), QStringLiteral("text\n"));
             dialogs.pressButton(QMessageBox::Ok);
             drop(temp.filePath(QStringLiteral("in/complex.txt")));
         },
         QStringLiteral("the dropped file ") + temp.filePath(QStringLiteral("in/complex.txt"))
             + QStringLiteral(" was refused")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.because.toStdString());
        const int before = resets().size();
        model->setCurrentText(QString::fromLatin1(c.model));
        c.action();
        EXPECT_EQ(model->currentText(), QStringLiteral("RM1"));
        ASSERT_EQ(resets().size(), before + 1);
        EXPECT_EQ(resets().last(), line(QString::fromLatin1(c.model), QStringLiteral("RM1"), c.because));
    }

    // A program whose models start elsewhere moves the model too.
    const QString mopac2012 =
        writeScript(temp.filePath(QStringLiteral("programs/MOPAC2012.exe")), QStringLiteral("exit 0"));
    dialogs.chooseFile(mopac2012);
    click("btnSetExternalProgramPath");
    EXPECT_EQ(model->currentText(), QStringLiteral("Sparkle/RM1"));
    EXPECT_EQ(resets().last(), line(QStringLiteral("RM1"), QStringLiteral("Sparkle/RM1"),
                                    QStringLiteral("the models that MOPAC2012.exe offers start with it")));
}

TEST_F(PageFixture, ProgramPathsAreCheckedKeptAndSetTheModelList)
{
    const QString folder = temp.filePath(QStringLiteral("programs"));
    auto executable = [&](const QString& name) {
        return writeScript(folder + QLatin1Char('/') + name, QStringLiteral("exit 0"));
    };
    const QString notExecutable = folder + QStringLiteral("/MOPAC2012.txt");
    writeText(notExecutable, QStringLiteral("data"));

    createPage(0);
    auto* model = widget<QComboBox>("cbxSparkleMethod");
    auto* keywords = widget<QLineEdit>("edtAdditionalKeywords");
    auto items = [&] {
        QStringList list;
        for (int i = 0; i < model->count(); ++i)
            list << model->itemText(i);
        return list;
    };
    const QStringList allModels = {QStringLiteral("RM1"),         QStringLiteral("Sparkle/RM1"),
                                   QStringLiteral("Sparkle/AM1"), QStringLiteral("Sparkle/PM3"),
                                   QStringLiteral("Sparkle/PM6"), QStringLiteral("Sparkle/PM7")};

    dialogs.chooseFile(executable(QStringLiteral("MOPAC2012.exe")));
    click("btnSetExternalProgramPath");
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Open The MOPAC Executable"));
    EXPECT_EQ(lastRequest()->directory, QDir::homePath());
    EXPECT_TRUE(lastRequest()->filter.contains(QStringLiteral("*.exe")));
    EXPECT_TRUE(lastRequest()->filter.contains(QStringLiteral("mopac")));
    EXPECT_EQ(items(), allModels.mid(1));
    EXPECT_EQ(model->currentText(), QStringLiteral("Sparkle/RM1"));
    EXPECT_EQ(keywords->text(), QStringLiteral("SPARKLE PRECISE GEO-OK XYZ T=10D ALLVEC  GNORM=0.25"));
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("mopacDirectory")), folder + QStringLiteral("/MOPAC2012.exe"));

    dialogs.chooseFile(executable(QStringLiteral("MOPAC2016.exe")));
    click("btnSetExternalProgramPath");
    EXPECT_EQ(items(), allModels);
    EXPECT_EQ(model->currentText(), QStringLiteral("RM1"));
    EXPECT_FALSE(keywords->text().contains(QStringLiteral("SPARKLE")));

    model->setCurrentText(QStringLiteral("Sparkle/PM6"));
    dialogs.chooseFile(executable(QStringLiteral("mopac")));
    click("btnSetExternalProgramPath");
    EXPECT_EQ(model->currentText(), QStringLiteral("Sparkle/PM6")) << "an unknown version keeps the list";
    EXPECT_EQ(widget<QLineEdit>("lineEditSetExternalProgramPath")->text(), folder + QStringLiteral("/mopac"));

    // Not an executable: refused, the path stays.
    dialogs.chooseFile(notExecutable);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnSetExternalProgramPath");
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(widget<QLineEdit>("lineEditSetExternalProgramPath")->text(), folder + QStringLiteral("/mopac"));
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("mopacDirectory")), folder + QStringLiteral("/mopac"));

    // A new page finds the kept path.
    createPage(0);
    EXPECT_EQ(widget<QLineEdit>("lineEditSetExternalProgramPath")->text(), folder + QStringLiteral("/mopac"));

    // ORCA: the proposed file and filter name the Linux program too; a path
    // with a blank or a comma is refused and the kept setting stays.
    createPage(1);
    dialogs.chooseFile(executable(QStringLiteral("orca")));
    click("btnSetExternalProgramPath");
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Open The ORCA Executable"));
    EXPECT_TRUE(lastRequest()->filter.contains(QStringLiteral("orca.exe")));
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("orcaDirectory")), folder + QStringLiteral("/orca"));
    for (const char* bad : {"ORCA 5/orca", "ORCA,5/orca"}) {
        SCOPED_TRACE(bad);
        dialogs.chooseFile(executable(QString::fromLatin1(bad)));
        dialogs.pressButton(QMessageBox::Ok);
        click("btnSetExternalProgramPath");
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE error"));
        EXPECT_EQ(lastRequest()->text,
                  QStringLiteral("The directory name of the ORCA program contains blank space or comma,\n"
                                 "which can compromise the running of ORCA.\nPlease, remove any blank space "
                                 "or comma of directory name of the ORCA program.\nFor instance, place all "
                                 "ORCA executable in a directory like /opt/orca. \n"));
        EXPECT_TRUE(widget<QLineEdit>("lineEditSetExternalProgramPath")->text().isEmpty());
        EXPECT_EQ(OrvaneSettings::value(QStringLiteral("orcaDirectory")), folder + QStringLiteral("/orca"));
    }
}

TEST_F(PageFixture, AProgramOnThePathIsProposedUntilOneIsChosen)
{
    const QString bin = temp.filePath(QStringLiteral("bin"));
    const QString mopac = writeScript(bin + QStringLiteral("/mopac"), QStringLiteral("exit 0"));
    const QString orca = writeScript(bin + QStringLiteral("/orca"), QStringLiteral("exit 0"));
    const QString chosen = writeScript(temp.filePath(QStringLiteral("chosen/MOPAC2016.exe")), QStringLiteral("exit 0"));
    ScopedEnvironment path("PATH", bin.toLocal8Bit());
    auto shownPath = [&] { return widget<QLineEdit>("lineEditSetExternalProgramPath")->text(); };

    createPage(0);
    EXPECT_EQ(shownPath(), mopac);
    EXPECT_TRUE(OrvaneSettings::value(QStringLiteral("mopacDirectory")).isEmpty()) << "a proposal is not stored";

    // An "orca" without ORCA's modules beside it is some other program.
    createPage(1);
    EXPECT_TRUE(shownPath().isEmpty());
    writeScript(bin + QStringLiteral("/orca_scf"), QStringLiteral("exit 0"));
    createPage(1);
    EXPECT_EQ(shownPath(), orca);

    // The setting wins.
    OrvaneSettings::setValue(QStringLiteral("mopacDirectory"), chosen);
    createPage(0);
    EXPECT_EQ(shownPath(), chosen);
    EXPECT_EQ(widget<QComboBox>("cbxSparkleMethod")->currentText(), QStringLiteral("RM1"));
}

TEST_F(PageFixture, RunsWithoutAUsableProgramStopAtTheFirstBox)
{
    // No program on the PATH to propose.
    QTemporaryDir emptyBin;
    ScopedEnvironment path("PATH", emptyBin.path().toLocal8Bit());
    writeText(temp.filePath(QStringLiteral("in/complex.mop")), readText(mopacFixture("eu_h2o4_force.mop")));
    writeText(temp.filePath(QStringLiteral("in/complex.orcinp")), QStringLiteral("!RHF ZINDO/S\n"));
    writeText(temp.filePath(QStringLiteral("programs/mopac.txt")), QStringLiteral("data"));
    const struct
    {
        int mode;
        const char* file;
        QString program;
        OrvaneDialogs::Kind kind;
        QString title;
        QString text;
    } cases[] = {
        {0, "complex.mop", QString(), OrvaneDialogs::Kind::Warning, QStringLiteral("ORVANE Warning"),
         QStringLiteral("Please, choose a valid path for the MOPAC program.")},
        {1, "complex.orcinp", QString(), OrvaneDialogs::Kind::Warning, QStringLiteral("ORVANE Warning"),
         QStringLiteral("Please, choose a valid path for the ORCA program.")},
        {0, "complex.mop", temp.filePath(QStringLiteral("programs/gone/MOPAC2016.exe")),
         OrvaneDialogs::Kind::Critical, QStringLiteral("ORVANE Message"),
         QStringLiteral("An executable file of the desired external program does not exist in the "
                        "following directory: \n")
             + temp.filePath(QStringLiteral("programs/gone/MOPAC2016.exe"))},
        {0, "complex.mop", temp.filePath(QStringLiteral("programs/mopac.txt")),
         OrvaneDialogs::Kind::Critical, QStringLiteral("ORVANE Message"),
         QStringLiteral("An executable file of the desired external program does not exist in the "
                        "following directory: \n")
             + temp.filePath(QStringLiteral("programs/mopac.txt"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        OrvaneSettings::setValue(c.mode == 0 ? QStringLiteral("mopacDirectory") : QStringLiteral("orcaDirectory"),
                                 c.program);
        createPage(c.mode);
        drop(temp.filePath(QStringLiteral("in/") + QString::fromLatin1(c.file)));
        const QString inputText = tab(0)->toPlainText();
        dialogs.pressButton(QMessageBox::Ok);
        click("btnRunCalculation");
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, c.kind);
        EXPECT_EQ(lastRequest()->title, c.title);
        EXPECT_EQ(lastRequest()->text, c.text);
        // Every widget as it was.
        EXPECT_TRUE(button("btnRunCalculation")->isEnabled());
        EXPECT_FALSE(button("btnStopCalculation")->isEnabled());
        EXPECT_FALSE(button("btnShowAbsorptionSpectrumModule")->isEnabled());
        EXPECT_TRUE(button("btnChooseFile")->isEnabled());
        EXPECT_EQ(tab(0)->toPlainText(), inputText);
        EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("in/complex.dat"))));
        ASSERT_FALSE(statusLines.isEmpty());
        EXPECT_TRUE(statusLines.last().endsWith(QStringLiteral(" -> (Orvane External Calculation Module) The "
                                                               "calculation could not be started: ")
                                                + c.text))
            << statusLines.last().toStdString();
    }
}

TEST_F(PageFixture, TheMoleculeViewFollowsThePreviewChoice)
{
    writeText(temp.filePath(QStringLiteral("in/water.mol2")), waterMol2);
    writeText(temp.filePath(QStringLiteral("in/complex.mol2")), eu4Mol2());
    createPage(0);
    auto* keywords = widget<QLineEdit>("edtAdditionalKeywords");
    auto* viewer = page->findChild<GLMolecule*>();
    widget<QComboBox>("cbxSparkleMethod")->setCurrentText(QStringLiteral("Sparkle/AM1"));
    ASSERT_TRUE(keywords->text().startsWith(QStringLiteral("SPARKLE ")));

    // A structure without a lanthanide drops SPARKLE from the keywords.
    drop(temp.filePath(QStringLiteral("in/water.mol2")));
    EXPECT_EQ(viewer->labelTexts(), (QStringList{QStringLiteral("O1"), QStringLiteral("H2"), QStringLiteral("H3")}));
    EXPECT_FALSE(keywords->text().contains(QStringLiteral("SPARKLE")));
    EXPECT_EQ(viewer->getStyle(), GLMolecule::BallsAndSticks);

    // Labels follow the check box under the view.
    QCheckBox* labels = nullptr;
    for (QCheckBox* box : page->findChildren<QCheckBox*>()) {
        if (box->text() == QStringLiteral("Show Atom Labels"))
            labels = box;
    }
    ASSERT_NE(labels, nullptr);
    EXPECT_FALSE(labels->isChecked());
    labels->click();
    EXPECT_TRUE(viewer->showLabels);

    // The MOPAC output to view must exist; the view returns to the input.
    drop(temp.filePath(QStringLiteral("in/complex.mol2")));
    dialogs.pressButton(QMessageBox::Ok);
    widget<QRadioButton>("rdbVisualizeMopacOutput")->setChecked(true);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("The file ") + temp.filePath(QStringLiteral("in/complex.out"))
                                       + QStringLiteral(" does not exist."));
    EXPECT_TRUE(widget<QRadioButton>("rdbVisualizeMOL2File")->isChecked());
    EXPECT_EQ(viewer->labelTexts().size(), 13);

    // With the output present its structure is shown and the output loaded.
    QFile::copy(mopacFixture("eu_h2o8_allvec.out"), temp.filePath(QStringLiteral("in/complex.out")));
    widget<QRadioButton>("rdbVisualizeMopacOutput")->setChecked(true);
    EXPECT_EQ(viewer->labelTexts().size(), 25);
    EXPECT_EQ(tab(1)->toPlainText(), readText(temp.filePath(QStringLiteral("in/complex.out"))));

    // The viewer can be hidden.
    widget<QCheckBox>("cbxShowMoleculeViewer")->setChecked(false);
    EXPECT_TRUE(widget("widgetViewMolecule")->isHidden());
}

TEST_F(PageFixture, ShortcutsReachTheVisiblePageWhenBothShareAWindow)
{
    writeText(temp.filePath(QStringLiteral("in/complex.out")), readText(mopacFixture("eu_h2o8_allvec.out")));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* pages = new QStackedWidget(&window);
    layout->addWidget(pages);
    auto* mopacPage = new OrvaneFrmExternalCalculationModule(pages, 0);
    auto* orcaPage = new OrvaneFrmExternalCalculationModule(pages, 1);
    pages->addWidget(mopacPage);
    pages->addWidget(orcaPage);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    auto pressOn = [&](QWidget* target, Qt::Key key) {
        QTest::keyClick(target, key, Qt::ControlModifier);
    };

    pages->setCurrentWidget(mopacPage);
    dialogs.cancel();
    pressOn(mopacPage, Qt::Key_O);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Choose .ml2 File"));

    pages->setCurrentWidget(orcaPage);
    dialogs.chooseFile(temp.filePath(QStringLiteral("in/complex.out")));
    pressOn(orcaPage, Qt::Key_O);
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Choose MOPAC .out File"));

    // Ctrl+R on the ORCA page without a program: the page's own warning.
    dialogs.pressButton(QMessageBox::Ok);
    pressOn(orcaPage, Qt::Key_R);
    ASSERT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(lastRequest()->text, QStringLiteral("Please, choose a valid path for the ORCA program."));

    // Ctrl+F puts the focus in the visible page's find bar; Ctrl+S on a
    // disabled stop button does nothing.
    pressOn(orcaPage, Qt::Key_F);
    auto* findField = orcaPage->findChild<OrvaneFrmSearching*>()->findChild<QLineEdit*>(QStringLiteral("edtFind"));
    EXPECT_TRUE(findField->hasFocus());
    pressOn(orcaPage, Qt::Key_S);
    EXPECT_EQ(dialogs.requests().size(), 3);
}

TEST_F(PageFixture, FloatingTheMoleculeDockCentresItOnItsScreen)
{
    createPage(0);
    page->show();
    auto* dock = widget<QDockWidget>("dockWidget");
    dock->setFloating(true);
    const QRect area = dock->screen()->availableGeometry();
    // Placed once it has become a window of its own.
    EXPECT_TRUE(waitUntil([&] { return (dock->frameGeometry().center() - area.center()).manhattanLength() <= 2; }))
        << dock->frameGeometry().center().x() << "," << dock->frameGeometry().center().y();
}

TEST_F(PageFixture, AFileThatCannotBeShownIsNamedOnceWithTheCause)
{
    const QString folder = temp.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(folder));
    createPage(1);
    widget<QRadioButton>("rdbOrcaInput")->setChecked(true);
    for (const UnshowableFile& c : makeUnshowableFiles(folder, QStringLiteral("orcinp"))) {
        SCOPED_TRACE(c.file.toStdString());
        dialogs.chooseFile(c.file);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnChooseFile");
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Warning);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Warning"));
        EXPECT_EQ(lastRequest()->text, QStringLiteral("ORVANE could not read the file %1:\n%2.").arg(c.file, c.cause));
        EXPECT_TRUE(tab(0)->toPlainText().isEmpty());
    }
}
