// The calculation form's road from an input file to a saved report: loading
// MOPAC structures and excited-state outputs with their side files, the
// coordination number and coordinated atoms, the intensity-parameter runs and
// the energy-transfer and quantum-yield runs, each report compared with the
// engine called directly on the same inputs or with the golden reports.

#include "../support/guitestsupport.h"
#include "orvanesmalldisk.h"

#include "glmolecule.h"
#include "omegaprintingoptions.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmplotemissionspectrum.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmspectroscopiccalculation.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvaneomega.h"
#include "orvanespectroscopiccalculation.h"
#include "requiredcitations.h"

#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;

const QString mopacHint = QStringLiteral("Drag and drop a .out/.mop file here OR click on button Open to open it");
// Read at run time: the form's constant is another file's static object.
QString header()
{
    return OrvaneFrmSpectroscopicCalculation::citationsHeader;
}

QString readText(const QString& path)
{
    return QString::fromUtf8(contents(path));
}

// Eu with three waters' oxygens at 2.40, 2.45 and 2.50 Angstrom and one
// hydrogen, written as a MOPAC Z-matrix.
const QByteArray zMatrixInput = "AM1 SPARKLE CHARGE=3 1SCF\n"
                                "Eu with three oxygens, Z-matrix\n"
                                "\n"
                                "Eu   0.000000 0   0.000000 0    0.000000 0  0 0 0\n"
                                "O    2.400000 1   0.000000 0    0.000000 0  1 0 0\n"
                                "O    2.450000 1  90.000000 1    0.000000 0  1 2 0\n"
                                "O    2.500000 1  90.000000 1   90.000000 1  1 2 3\n"
                                "H    0.960000 1 104.500000 1  180.000000 1  2 1 3\n";

class RunFixture : public ::testing::Test
{
protected:
    void SetUp() override { QDir(temp.path()).mkpath(QStringLiteral("calc")); }

    void create(int mode) { form = std::make_unique<OrvaneFrmSpectroscopicCalculation>(nullptr, mode); }

    template <typename T = QWidget>
    T* widget(const char* name) const
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPlainTextEdit* tab(int index) const
    {
        return qobject_cast<QPlainTextEdit*>(widget<QTabWidget>("tabWidgetViewFiles")->widget(index));
    }
    const OrvaneDialogs::Request* lastRequest() const
    {
        return dialogs.requests().isEmpty() ? nullptr : &dialogs.requests().last();
    }
    QString copyFixture(const QString& fixture, const QString& name) const
    {
        const QString path = temp.filePath(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(dataPath(fixture), path)) << fixture.toStdString();
        return path;
    }
    // Takes the file as a drop on the line edit does.
    void dropOn(const char* edit, const QString& path) { widget<QLineEdit>(edit)->setText(path); }
    // Answers the next box with `button`, noting whether the wait cursor was
    // still set while it showed.
    void answer(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        dialogs.answerWith([this, button](const OrvaneDialogs::Request&) {
            if (QApplication::overrideCursor())
                cursorOverBox = true;
            OrvaneDialogs::Reply reply;
            reply.button = button;
            return reply;
        });
    }
    QStringList groupingAtoms() const
    {
        QStringList atoms;
        QListWidget* list = form->frmOmegaParametrization->selectLigandAtoms->ui.listWidgetLigandAtomList;
        for (int row = 0; row < list->count(); ++row)
            atoms << list->item(row)->text();
        return atoms;
    }
    void clickCalculate() { widget<QPushButton>("btnCalculate")->click(); }
    // A mode-0 form on the eight-water output copied to `name`, set to run
    // on the typed table; the table, with one column per water oxygen.
    QStandardItemModel* typedTableFor(const QString& name)
    {
        create(0);
        dropOn("edtMopacOut", copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), name));
        widget<QGroupBox>("gbxConventionalParametrization")->setChecked(true);
        widget<QRadioButton>("rdbGandAlpha")->setChecked(true);
        form->frmSetGandAlpha->ui.sbxCoordNumber->setValue(8);
        auto* table = qobject_cast<QStandardItemModel*>(form->frmSetGandAlpha->ui.tableView->model());
        EXPECT_EQ(table->columnCount(), 8);
        return table;
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmSpectroscopicCalculation> form;
    bool cursorOverBox = false;
};

QStringList oxygens(int first, int last)
{
    QStringList labels;
    for (int k = first; k <= last; ++k)
        labels << QStringLiteral("O %1").arg(k);
    return labels;
}

} // namespace

// ---------------------------------------------------------------------------
// Loading in mode 0

TEST_F(RunFixture, AMopacOutputIsLoadedWithItsShellOfOxygens)
{
    create(0);
    const QString output = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/complex.out"));
    QSignalSpy status(form.get(), &OrvaneFrmSpectroscopicCalculation::newObjCalculationMessage);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(output)});
    dragAndDrop(widget<QLineEdit>("edtMopacOut"), mime);

    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_EQ(form->mopacFile, output);
    EXPECT_EQ(widget<QLineEdit>("edtMopacOut")->text(), output);
    EXPECT_TRUE(widget<QLineEdit>("edtMopacOut")->styleSheet().isEmpty());
    // Eight oxygens at 2.433 Angstrom, the hydrogens left out.
    EXPECT_EQ(form->coordNumber, 8);
    EXPECT_EQ(form->frmOmegaParametrization->ui.sbxCoordNumber->value(), 8);
    EXPECT_EQ(form->frmSetParametersQDC->ui.sbxCoordNumber->value(), 8);
    EXPECT_EQ(form->frmOmegaParametrization->ui.sbxCoordNumber->maximum(), 24);
    EXPECT_EQ(groupingAtoms(), oxygens(2, 9));
    EXPECT_EQ(form->molecule.atoms.size(), 25);
    EXPECT_TRUE(form->glMolecule->showLabels);
    EXPECT_EQ(form->glMolecule->labelCount, 9);
    EXPECT_EQ(form->frmSetGandAlpha->structureFile, output);
    EXPECT_EQ(tab(0)->toPlainText(), readText(output));
    EXPECT_TRUE(widget("btnCalculate")->isEnabled());
    EXPECT_TRUE(widget("btnFind")->isEnabled());
    QStringList lines;
    for (const QList<QVariant>& line : status)
        lines << line.at(0).toString();
    EXPECT_TRUE(lines.contains(QStringLiteral("-> (Orvane Spectroscopic Calculation) The structure was loaded successfully.")));
    EXPECT_EQ(lines.last(),
              QStringLiteral("-> (Orvane Spectroscopic Calculation) The molecule was setted successfully to GlMolecule."));

    // A smaller shell in either panel reaches both and the viewer.
    form->frmSetParametersQDC->ui.sbxCoordNumber->setValue(5);
    EXPECT_EQ(form->frmOmegaParametrization->ui.sbxCoordNumber->value(), 5);
    EXPECT_EQ(form->glMolecule->labelCount, 6);
    EXPECT_EQ(groupingAtoms(), oxygens(2, 6));
}

TEST_F(RunFixture, AZMatrixInputHasItsShellCounted)
{
    create(0);
    const QString input = OrvaneFixtures::writeFile(temp.filePath(QStringLiteral("calc/eu_o3.mop")), zMatrixInput);
    dropOn("edtMopacOut", input);
    EXPECT_TRUE(dialogs.requests().isEmpty()) << lastRequest()->text.toStdString();
    EXPECT_TRUE(widget<QRadioButton>("rdbMopFile")->isChecked());
    EXPECT_TRUE(widget<QGroupBox>("gbxConventionalParametrization")->isChecked());
    EXPECT_EQ(form->omegaInputType, 1);
    EXPECT_EQ(form->coordNumber, 3);
    EXPECT_EQ(groupingAtoms(), oxygens(2, 4));
}

TEST_F(RunFixture, ExperimentalOmegasComeFromTheSideFiles)
{
    const QByteArray output = contents(dataPath(QStringLiteral("mopac/eu_h2o8_allvec.out")));
    auto report = [](double omega2, double omega4) {
        return QStringLiteral("    omega(2) =%1e-20 cm^2 \n    omega(4) =%2e-20 cm^2 \n\n\n")
            .arg(QString::number(omega2, 'f', 2).rightJustified(7), QString::number(omega4, 'f', 2).rightJustified(7))
            .toUtf8();
    };
    const struct
    {
        const char* name;
        QList<QPair<QString, QByteArray>> sideFiles;
        double omega2;
        double omega4;
    } cases[] = {
        {"a.out", {{"a.orvaneexp", report(12.25, 5.5)}}, 12.25, 5.5},
        {"a.out", {{"a.expdata", "Eu 10.5 4.2\n"}}, 10.5, 4.2},
        // Both present: the .expdata values win.
        {"a.out", {{"a.orvaneexp", report(12.25, 5.5)}, {"a.expdata", "Eu 10.5 4.2\n"}}, 10.5, 4.2},
        // Report by base name up to the first dot, side file by replaced extension.
        {"a.b.out",
         {{"a.orvaneexp", report(7.0, 3.0)}, {"a.b.orvaneexp", report(1.0, 1.0)},
          {"a.expdata", "Eu 1 1\n"}, {"a.b.expdata", "Eu 9.0 2.5\n"}},
         9.0, 2.5},
        {"a.b.out", {{"a.orvaneexp", report(7.0, 3.0)}}, 7.0, 3.0},
        // A first line too short to hold both values is skipped.
        {"a.out", {{"a.orvaneexp", report(12.25, 5.5)}, {"a.expdata", "Eu 10.5\n"}}, 12.25, 5.5},
        {"a.out", {}, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + QStringLiteral(" with %1 side files").arg(c.sideFiles.size()).toStdString());
        const QString folder = temp.filePath(QStringLiteral("side%1").arg(&c - cases));
        QDir().mkpath(folder);
        for (const auto& side : c.sideFiles)
            OrvaneFixtures::writeFile(folder + QLatin1Char('/') + side.first, side.second);
        const QString input = OrvaneFixtures::writeFile(folder + QLatin1Char('/') + QString::fromLatin1(c.name), output);
        create(0);
        dropOn("edtMopacOut", input);
        EXPECT_DOUBLE_EQ(form->frmOmegaParametrization->ui.sbxOmega2->value(), c.omega2);
        EXPECT_DOUBLE_EQ(form->frmOmegaParametrization->ui.sbxOmega4->value(), c.omega4);
    }
}

TEST_F(RunFixture, RefusedAndUnreadableStructuresLoadNothing)
{
    create(0);
    dialogs.pressButton(QMessageBox::Ok);
    dropOn("edtMopacOut", temp.filePath(QStringLiteral("calc/complex.mol2")));
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Warning"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("The desired file contains an unknown extension (mol2).\n"
                                                  "Please, try to open another file."));
    EXPECT_TRUE(form->mopacFile.isEmpty());
    EXPECT_EQ(widget<QLineEdit>("edtMopacOut")->text(), mopacHint);

    // No lanthanide: the structure model's reason.
    const QString water = copyFixture(QStringLiteral("mopac/water.out"), QStringLiteral("calc/water.out"));
    dialogs.pressButton(QMessageBox::Ok);
    dropOn("edtMopacOut", water);
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("The lanthanide atom is not present in the current structure."));
    EXPECT_FALSE(widget("btnCalculate")->isEnabled());
    EXPECT_TRUE(tab(0)->toPlainText().isEmpty());

    // After a loaded structure, an unreadable one is refused once, and its
    // atoms reach no panel.
    dropOn("edtMopacOut", copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/good.out")));
    ASSERT_EQ(dialogs.requests().size(), 2);
    const QString broken = OrvaneFixtures::writeFile(temp.filePath(QStringLiteral("calc/broken.out")), "no geometry\n");
    dialogs.pressButton(QMessageBox::Ok);
    dropOn("edtMopacOut", broken);
    EXPECT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(form->atomLabels.isEmpty());
    EXPECT_TRUE(groupingAtoms().isEmpty());
    EXPECT_EQ(form->frmOmegaParametrization->ui.sbxCoordNumber->value(), 1);
}

TEST_F(RunFixture, OpenDialogsNameTheKindOfFile)
{
    const struct
    {
        int mode;
        const char* radio;
        const char* button;
        QString caption;
        QString filter;
    } cases[] = {
        {0, "rdbMopacOut", "btnChooseMopacOut", QStringLiteral("Open MOPAC .out File"),
         QStringLiteral("MOPAC .out File (*.out)")},
        {0, "rdbMopFile", "btnChooseMopacOut", QStringLiteral("Open MOPAC .mop File"),
         QStringLiteral("MOPAC .mop File (*.mop)")},
        {2, "rdbOrcaOutput", "btnChooseZindoOut", QStringLiteral("Open ORCA .orcout File"),
         QStringLiteral("ORCA .orcout File (*.orcout)")},
        {2, "rdbZindoOutput", "btnChooseZindoOut", QString(), QStringLiteral(" (*.log)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        create(c.mode);
        widget<QRadioButton>(c.radio)->setChecked(true);
        dialogs.cancel();
        widget<QPushButton>(c.button)->click();
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::OpenFileName);
        EXPECT_EQ(lastRequest()->title, c.caption);
        EXPECT_EQ(lastRequest()->filter, c.filter);
    }

    // A chosen structure is loaded.
    create(0);
    const QString output = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/chosen.out"));
    dialogs.chooseFile(output);
    widget<QPushButton>("btnChooseMopacOut")->click();
    EXPECT_EQ(form->mopacFile, output);
    EXPECT_EQ(form->coordNumber, 8);
}

TEST_F(RunFixture, ClearProjectAsksThenResetsEverything)
{
    create(0);
    dropOn("edtMopacOut", copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/c.out")));
    widget<QPlainTextEdit>("plainTextEditAradPartition")->setPlainText(QStringLiteral("A 2 3 4 5\nB 6 7 8 9"));
    form->frmOmegaParametrization->ui.sbxPointsNumber->setValue(500);

    dialogs.pressButton(QMessageBox::No);
    widget<QPushButton>("btnClearProject")->click();
    EXPECT_FALSE(form->mopacFile.isEmpty());
    EXPECT_EQ(form->coordNumber, 8);

    dialogs.pressButton(QMessageBox::Yes);
    widget<QPushButton>("btnClearProject")->click();
    EXPECT_EQ(lastRequest()->text, QStringLiteral("Are you sure you want to clear the current project?"));
    EXPECT_TRUE(form->mopacFile.isEmpty());
    EXPECT_TRUE(form->atomLabels.isEmpty());
    EXPECT_EQ(form->frmOmegaParametrization->ui.sbxCoordNumber->value(), 1);
    EXPECT_EQ(form->frmSetParametersQDC->ui.sbxCoordNumber->value(), 1);
    EXPECT_EQ(form->frmOmegaParametrization->ui.sbxPointsNumber->value(), 15000);
    EXPECT_EQ(widget<QPlainTextEdit>("plainTextEditAradPartition")->toPlainText(),
              QStringLiteral("LIG1 2 3\nLIG2 4 5\nLIG3 6 7"));
    EXPECT_TRUE(form->molecule.atoms.isEmpty());
    EXPECT_TRUE(tab(0)->toPlainText().isEmpty());
    EXPECT_EQ(widget<QLineEdit>("edtMopacOut")->text(), mopacHint);
    EXPECT_FALSE(widget("btnCalculate")->isEnabled());
    EXPECT_EQ(form->citations, header());
}

TEST_F(RunFixture, ThePartitionTextIsSavedAndReadBackOrTheFailureSaid)
{
    create(0);
    widget<QCheckBox>("chbAradPartition")->setChecked(true);
    EXPECT_TRUE(widget("btnPartitionOpen")->isEnabled());
    auto* text = widget<QPlainTextEdit>("plainTextEditAradPartition");
    text->setPlainText(QStringLiteral("W1 2 3\nW2 4,5"));
    const QString file = temp.filePath(QStringLiteral("calc/complex.ligands"));
    dialogs.chooseFile(file);
    dialogs.pressButton(QMessageBox::Ok);
    widget<QPushButton>("btnPartitionSave")->click();
    const auto& save = dialogs.requests().at(dialogs.requests().size() - 2);
    EXPECT_EQ(save.title, QStringLiteral("Save Ligand Atoms by Ligands in a File"));
    EXPECT_EQ(save.filter, QStringLiteral("ORVANE File for Arad Partition (*.ligands)"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("The file was successfully created at: ") + file);
    EXPECT_EQ(readText(file), QStringLiteral("W1 2 3\nW2 4,5"));

    text->clear();
    dialogs.chooseFile(file);
    widget<QPushButton>("btnPartitionOpen")->click();
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Open File Ligand Atoms by Ligands"));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("W1 2 3\nW2 4,5"));

    // A file that cannot be read or written: the reason, the text kept.
    for (const char* button : {"btnPartitionOpen", "btnPartitionSave"}) {
        SCOPED_TRACE(button);
        const int asked = dialogs.requests().size();
        dialogs.chooseFile(temp.filePath(QStringLiteral("missing/complex.ligands")));
        dialogs.pressButton(QMessageBox::Ok);
        widget<QPushButton>(button)->click();
        ASSERT_EQ(dialogs.requests().size(), asked + 2);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_TRUE(lastRequest()->text.contains(temp.filePath(QStringLiteral("missing/complex.ligands"))));
        EXPECT_EQ(text->toPlainText(), QStringLiteral("W1 2 3\nW2 4,5"));
    }
}

// Ligand names typed on a Windows machine are Latin-1: the file opened is
// saved in its own encoding, with line feeds; a text the form starts with,
// or gets back from Clear Project, is saved as UTF-8.
TEST_F(RunFixture, ThePartitionFileIsSavedInTheEncodingItWasOpenedIn)
{
    create(0);
    widget<QCheckBox>("chbAradPartition")->setChecked(true);
    auto* text = widget<QPlainTextEdit>("plainTextEditAradPartition");
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString shown;
        QByteArray saved;
    } cases[] = {
        {"latin1.ligands", "Acetilacetonato\xe9 2 3\r\nPiridina\xed 4,5\r\n",
         QString::fromLatin1("Acetilacetonato\xe9 2 3\nPiridina\xed 4,5\n"),
         "Acetilacetonato\xe9 2 3\nPiridina\xed 4,5\n"},
        {"utf8.ligands", "\xef\xbb\xbf\xce\xb2-dicetonato 2 3\n", QString::fromUtf8("\xce\xb2-dicetonato 2 3\n"),
         "\xef\xbb\xbf\xce\xb2-dicetonato 2 3\n"},
        {"utf16le.ligands", QByteArray("\xff\xfe" "L\0\xe9\0 \0" "2\0\r\0\n\0", 14), QString::fromLatin1("L\xe9 2\n"),
         QByteArray("\xff\xfe" "L\0\xe9\0 \0" "2\0\n\0", 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.chooseFile(OrvaneFixtures::writeFile(temp.filePath(QStringLiteral("calc/") + QLatin1String(c.name)),
                                                     c.bytes));
        widget<QPushButton>("btnPartitionOpen")->click();
        EXPECT_EQ(text->toPlainText(), c.shown);
        const QString copy = temp.filePath(QStringLiteral("calc/copy of ") + QLatin1String(c.name));
        dialogs.chooseFile(copy);
        dialogs.pressButton(QMessageBox::Ok);
        widget<QPushButton>("btnPartitionSave")->click();
        EXPECT_EQ(lastRequest()->text, QStringLiteral("The file was successfully created at: ") + copy);
        EXPECT_EQ(OrvaneFixtures::contents(copy).toHex(' ').toStdString(), c.saved.toHex(' ').toStdString());
    }

    dialogs.pressButton(QMessageBox::Yes);
    widget<QPushButton>("btnClearProject")->click();
    widget<QCheckBox>("chbAradPartition")->setChecked(true);
    text->setPlainText(QString::fromLatin1("Acetilacetonato\xe9 2 3"));
    const QString typed = temp.filePath(QStringLiteral("calc/typed.ligands"));
    dialogs.chooseFile(typed);
    dialogs.pressButton(QMessageBox::Ok);
    widget<QPushButton>("btnPartitionSave")->click();
    EXPECT_EQ(OrvaneFixtures::contents(typed), QByteArray("Acetilacetonato\xc3\xa9 2 3"));
}

// ---------------------------------------------------------------------------
// Loading in mode 2

TEST_F(RunFixture, AnExcitedStateOutputBringsItsOmegaReportAndLifetime)
{
    create(2);
    const QString output = copyFixture(QStringLiteral("orca/eu_h2o_tda.orcout"), QStringLiteral("calc/run.orcout"));
    OrvaneFixtures::writeFile(temp.filePath(QStringLiteral("calc/run.omega")),
                              "    omega(2) = 12.50e-20 cm^2\n    omega(4) = 6.25e-20 cm^2\n");
    OrvaneFixtures::writeFile(temp.filePath(QStringLiteral("calc/run.orvaneexp")),
                              "    Arad = 100.00 s^-1\n    Experimental Lifetime Used = 1.25 ms\n"
                              "    Experimental Lifetime Used = 9.00 ms\n");
    dropOn("edtZindoOut", output);
    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_EQ(form->orcaFile, output);
    EXPECT_EQ(form->rlProgram, 1);
    EXPECT_EQ(form->frmSetTheorecticalOmega->ui.lineEditOmgFile->text(), temp.filePath(QStringLiteral("calc/run.omega")));
    EXPECT_DOUBLE_EQ(form->frmSetTheorecticalOmega->ui.sbxOmega2->value(), 12.5);
    EXPECT_DOUBLE_EQ(widget<QDoubleSpinBox>("sbxLifeTime")->value(), 1.25);
    EXPECT_EQ(tab(0)->toPlainText(), readText(output));
    EXPECT_TRUE(widget("btnCalculate")->isEnabled());

    // Without a report of the same name the panel is not pointed at one; a
    // ZINDO output is read as ZINDO.
    const QString zindo = copyFixture(QStringLiteral("zindo/eu_co.zin"), QStringLiteral("calc/other.zin"));
    dropOn("edtZindoOut", zindo);
    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_EQ(form->rlProgram, 0);
    EXPECT_TRUE(widget<QRadioButton>("rdbZindoOutput")->isChecked());
    EXPECT_EQ(form->frmSetTheorecticalOmega->ui.lineEditOmgFile->text(), temp.filePath(QStringLiteral("calc/run.omega")));
    EXPECT_DOUBLE_EQ(widget<QDoubleSpinBox>("sbxLifeTime")->value(), 1.25);
    widget<QRadioButton>("rdbOrcaOutput")->setChecked(true);
    widget<QRadioButton>("rdbZindoOutput")->setChecked(true);
    EXPECT_EQ(form->rlProgram, 0);

    dialogs.pressButton(QMessageBox::Ok);
    dropOn("edtZindoOut", temp.filePath(QStringLiteral("calc/other.txt")));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("The desired file contains an unknown extension (txt).\n"
                                                  "Please, try to open anothe file."));
    EXPECT_EQ(form->orcaFile, zindo);
}

// ---------------------------------------------------------------------------
// Intensity-parameter runs

TEST(LigandPartition, EveryCoordinatingAtomOnceAndNothingElse)
{
    IsolatedTempFolder temp;
    OrvaneFrmSpectroscopicCalculation form(nullptr, 0);
    const struct
    {
        QStringList lines;
        const char* fault; // null: accepted
    } cases[] = {
        {{"L1 2 3", "L2, 4,5"}, nullptr},
        {{"L1 2 3", "L2 4"}, "The defined coordination number is different"},
        // The ion is no ligand atom: the report's parser refuses it.
        {{"L1 1 2", "L2 3 4"}, "An invalid assignment"},
        {{"L1 2 2", "L2 3 4"}, "The same ligand atom cannot be assigned"},
        {{"L1 2 3", "L2 4 x"}, "An invalid assignment"},
        {{"L1 2 3", "L2 4 6"}, "An invalid assignment"},
        {{"L1\t5 3", "L2 4 2"}, nullptr},
        {{}, "The defined coordination number is different"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(QStringLiteral(" | ")).toStdString());
        DialogScript dialogs;
        if (c.fault)
            dialogs.pressButton(QMessageBox::Ok);
        EXPECT_EQ(form.checkLigandPartition(c.lines, 4), c.fault == nullptr);
        ASSERT_EQ(dialogs.requests().size(), c.fault ? 1 : 0);
        if (c.fault) {
            EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Error"));
            EXPECT_TRUE(dialogs.requests().at(0).text.startsWith(QString::fromLatin1(c.fault)));
        }
    }
}

TEST_F(RunFixture, TypedChargeFactorsGiveTheEnginesReportBesideTheInput)
{
    create(0);
    const QString output = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/Eu.h2o8.out"));
    dropOn("edtMopacOut", output);
    widget<QGroupBox>("gbxConventionalParametrization")->setChecked(true);
    widget<QRadioButton>("rdbGandAlpha")->setChecked(true);
    widget<QDoubleSpinBox>("sbxRefractiveIndex")->setValue(1.6);
    form->frmSetGandAlpha->ui.sbxCoordNumber->setValue(8);
    auto* table = qobject_cast<QStandardItemModel*>(form->frmSetGandAlpha->ui.tableView->model());
    ASSERT_EQ(table->columnCount(), 8);
    std::vector<double> g(30, 0.0), alpha(30, 0.0);
    for (int column = 0; column < 8; ++column) {
        const double charge = 0.2 + 0.05 * column;
        table->setData(table->index(0, column), QString::number(charge));
        table->setData(table->index(1, column), QStringLiteral("1.5"));
        g[std::size_t(column + 2)] = charge;
        alpha[std::size_t(column + 2)] = 1.5e-24;
    }
    dialogs.pressButton(QMessageBox::Ok);
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 1) << lastRequest()->text.toStdString();
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Information"));

    // The engine on the same inputs, the polarizabilities in cm^3.
    OrvaneOmega direct(nullptr, 0, output, QString());
    double* gData = g.data();
    double* alphaData = alpha.data();
    direct.setRefractiveIndex(1.6);
    direct.setChargeFactorAndAlpha(gData, alphaData);
    direct.setCoordNumber(8);
    direct.setOmegaPrintingOptions(form->frmOmegaPrinting->getOmegaPrintingOptions());
    ASSERT_TRUE(direct.calcOmega()) << direct.getLastError().toStdString();
    const QString expectedCitations = header() + direct.getMopacCitation() + QStringLiteral("\n\n")
        + requiredCitations(3, 2, output, 0, false, false, false);
    EXPECT_EQ(form->citations, expectedCitations);
    const QString expected = direct.createOutFile(QString()) + QLatin1Char('\n') + expectedCitations;
    EXPECT_EQ(tab(1)->toPlainText(), expected);
    EXPECT_EQ(readText(temp.filePath(QStringLiteral("calc/Eu.omega"))), expected + QStringLiteral("\n\n\n"));
    EXPECT_TRUE(widget("btnSaveOutputFile")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A typed cell is refused, naming its atom and its row, rather than read as
// 0 or used as typed: text that is no number (the decimal comma among them),
// a value that is not finite, a negative polarizability, a charge factor
// outside the fit's range. An empty cell is 0, as the table always read it.
TEST_F(RunFixture, TypedChargeFactorsThatAreNoNumbersAreRefusedNamingTheAtomAndTheRow)
{
    QStandardItemModel* table = typedTableFor(QStringLiteral("calc/Eu.out"));
    ASSERT_EQ(table->columnCount(), 8);
    const QString saved = temp.filePath(QStringLiteral("calc/Eu.omega"));
    const QString gRow = QStringLiteral("row \"Charge Factors\"");
    const QString alphaRow = QStringLiteral("row \"") + table->headerData(1, Qt::Vertical).toString()
        + QLatin1Char('"');
    const struct
    {
        const char* name;
        int row, column;
        QString typed;
        QString fault; // empty: the run goes through
    } cases[] = {
        {"decimal comma", 0, 2, QStringLiteral("0,25"),
         QStringLiteral("The charge factor of %1 (%2) reads \"0,25\", which is not a number. Please type the "
                        "decimal point: 0.25.")},
        {"letters", 1, 0, QStringLiteral("abc"),
         QStringLiteral("The polarizability of %1 (%2) reads \"abc\", which is not a number.")},
        {"nan", 0, 7, QStringLiteral("nan"),
         QStringLiteral("The charge factor of %1 (%2) reads \"nan\", which is not a finite number.")},
        {"infinity", 1, 3, QStringLiteral(" inf "),
         QStringLiteral("The polarizability of %1 (%2) reads \"inf\", which is not a finite number.")},
        // Numbers a double cannot hold are no typing slip: they are said to be out of range.
        {"overflowing polarizability", 1, 2, QStringLiteral("1e400"),
         QStringLiteral("The polarizability of %1 (%2) reads \"1e400\", a number out of range.")},
        {"overflowing negative charge factor", 0, 3, QStringLiteral("-1E+400"),
         QStringLiteral("The charge factor of %1 (%2) reads \"-1E+400\", a number out of range.")},
        {"underflowing charge factor", 0, 5, QStringLiteral("1e-400"),
         QStringLiteral("The charge factor of %1 (%2) reads \"1e-400\", a number out of range.")},
        {"negative polarizability", 1, 5, QStringLiteral("-1.5"),
         QStringLiteral("The polarizability of %1 (%2) is -1.5: a polarizability cannot be negative.")},
        {"negative charge factor", 0, 1, QStringLiteral("-1"),
         QStringLiteral("The charge factor of %1 (%2) is -1: a charge factor must lie between 0 and 3, the widest "
                        "range of the charge-factor fit.")},
        {"huge charge factor", 0, 6, QStringLiteral("1e9"),
         QStringLiteral("The charge factor of %1 (%2) is 1e9: a charge factor must lie between 0 and 3, the widest "
                        "range of the charge-factor fit.")},
        {"empty polarizability", 1, 4, QString(), QString()},
        {"empty charge factor", 0, 4, QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int column = 0; column < 8; ++column) {
            table->setData(table->index(0, column), QStringLiteral("0.3"));
            table->setData(table->index(1, column), QStringLiteral("1.5"));
        }
        table->setData(table->index(c.row, c.column), c.typed);
        QFile::remove(saved);
        const int before = dialogs.requests().size();
        answer();
        clickCalculate();
        ASSERT_EQ(dialogs.requests().size(), before + 1);
        if (c.fault.isEmpty()) {
            EXPECT_EQ(lastRequest()->title, QStringLiteral("Information")) << lastRequest()->text.toStdString();
            EXPECT_TRUE(QFileInfo::exists(saved));
            continue;
        }
        const QString atom = table->headerData(c.column, Qt::Horizontal).toString();
        ASSERT_TRUE(atom.startsWith(QStringLiteral("O "))) << atom.toStdString();
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
        EXPECT_EQ(lastRequest()->text, c.fault.arg(atom, c.row == 0 ? gRow : alphaRow));
        EXPECT_FALSE(QFileInfo::exists(saved));
        EXPECT_TRUE(tab(1)->toPlainText().isEmpty());
    }
    EXPECT_FALSE(cursorOverBox);
}

// A run refused for a typed value leaves the last report on screen. When
// that report is unsaved (its earlier file kept), its notice now says the
// report is of the earlier inputs, and Save writes that report; a report in
// its file gets no notice.
TEST_F(RunFixture, ARefusedRunSaysTheUnsavedReportShownIsOfTheEarlierInputs)
{
    QStandardItemModel* table = typedTableFor(QStringLiteral("calc/Eu.out"));
    ASSERT_EQ(table->columnCount(), 8);
    const QString beside = temp.filePath(QStringLiteral("calc/Eu.omega"));
    auto typeAll = [table](const QString& g) {
        for (int column = 0; column < 8; ++column) {
            table->setData(table->index(0, column), g);
            table->setData(table->index(1, column), QStringLiteral("1.5"));
        }
    };
    auto* notice = widget<QLabel>("lblUnsavedReport");
    auto* save = widget<QPushButton>("btnSaveOutputFile");
    const QString kept = QStringLiteral("the earlier file ") + beside + QStringLiteral(" was kept.\n");

    const struct
    {
        const char* name;
        bool earlierFileKept; // the first run's report left unsaved
    } cases[] = {{"unsaved report", true}, {"saved report", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(beside);
        if (c.earlierFileKept)
            ASSERT_TRUE(QFile(beside).open(QIODevice::WriteOnly));
        typeAll(QStringLiteral("0.3"));
        answer(c.earlierFileKept ? QMessageBox::No : QMessageBox::Ok);
        clickCalculate();
        const QString report = tab(1)->toPlainText();
        ASSERT_FALSE(report.isEmpty());
        ASSERT_EQ(notice->isVisibleTo(form.get()), c.earlierFileKept);
        EXPECT_TRUE(notice->text().startsWith(c.earlierFileKept ? QStringLiteral("This report is not saved: ") + kept
                                                                : QString()))
            << notice->text().toStdString();

        // The table now reads 0.5 for every atom, but one cell is refused.
        typeAll(QStringLiteral("0.5"));
        table->setData(table->index(1, 4), QStringLiteral("abc"));
        answer();
        clickCalculate();
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(tab(1)->toPlainText(), report);
        EXPECT_EQ(notice->isVisibleTo(form.get()), c.earlierFileKept);
        if (!c.earlierFileKept) {
            EXPECT_TRUE(notice->text().isEmpty()) << notice->text().toStdString();
            continue;
        }
        EXPECT_TRUE(notice->text().startsWith(
            QStringLiteral("This report, of the earlier inputs (the last run gave no result), is not saved: ") + kept))
            << notice->text().toStdString();
        ASSERT_TRUE(save->isVisibleTo(form.get()) && save->isEnabled());

        // A Save that fails leaves the same report unsaved: the notice still
        // says whose it is.
        const QString blocked = temp.filePath(QStringLiteral("calc/blocked.orvane"));
        ASSERT_TRUE(QDir().mkpath(blocked));
        dialogs.chooseFile(blocked);
        answer();
        save->click();
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_TRUE(notice->text().startsWith(
            QStringLiteral("This report, of the earlier inputs (the last run gave no result), is not saved: ")))
            << notice->text().toStdString();

        // Save writes the report shown, which the notice names for what it is.
        const QString elsewhere = temp.filePath(QStringLiteral("calc/elsewhere.orvane"));
        dialogs.chooseFile(elsewhere);
        answer();
        save->click();
        EXPECT_EQ(readText(elsewhere), report + QStringLiteral("\n\n\n"));
        EXPECT_FALSE(notice->isVisibleTo(form.get()));
    }
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST_F(RunFixture, TypedChargeFactorRunsThatCannotWorkSayWhyAndSaveNothing)
{
    create(0);
    // Ten atoms: the table can hold at most nine columns.
    const QString output = copyFixture(QStringLiteral("mopac/eu_h2o3_sparkle_pm3.out"), QStringLiteral("calc/small.out"));
    dropOn("edtMopacOut", output);
    widget<QGroupBox>("gbxConventionalParametrization")->setChecked(true);
    widget<QRadioButton>("rdbGandAlpha")->setChecked(true);
    form->frmSetGandAlpha->ui.sbxCoordNumber->setValue(20);
    const int columns = form->frmSetGandAlpha->getChargeFactors().size();
    ASSERT_LT(columns, 20);
    answer();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_TRUE(lastRequest()->text.contains(QStringLiteral("coordination number is 20")));

    // A refractive index of 0, which the box allows: the engine's reason.
    form->frmSetGandAlpha->ui.sbxCoordNumber->setValue(3);
    auto* table = qobject_cast<QStandardItemModel*>(form->frmSetGandAlpha->ui.tableView->model());
    for (int column = 0; column < 3; ++column) {
        table->setData(table->index(0, column), QStringLiteral("0.3"));
        table->setData(table->index(1, column), QStringLiteral("1.5"));
    }
    widget<QDoubleSpinBox>("sbxRefractiveIndex")->setValue(0.0);
    answer();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_FALSE(lastRequest()->text.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("calc/small.omega"))));
    EXPECT_TRUE(tab(1)->toPlainText().isEmpty());
    EXPECT_FALSE(widget("btnSaveOutputFile")->isEnabled());
    EXPECT_FALSE(cursorOverBox);
}

TEST_F(RunFixture, TheQdcRunCitesItsMethodsInOrder)
{
    create(0);
    const QString output = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/qdc.out"));
    dropOn("edtMopacOut", output);
    widget<QRadioButton>("rdbSetParametersQDC")->setChecked(true);
    form->frmSetParametersQDC->ui.sbxParameterQ->setValue(1.2);
    form->frmSetParametersQDC->ui.sbxParameterD->setValue(2.5);
    form->frmSetParametersQDC->ui.sbxParameterC->setValue(0.8);

    // Q = 0 stops before anything is read: a missing output is not noticed.
    form->frmSetParametersQDC->ui.sbxParameterQ->setValue(0.0);
    form->mopacFile = temp.filePath(QStringLiteral("calc/missing.out"));
    answer();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Warning"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("Q, D, or C cannot be equal to 0.\nPlease, provide non-zero value."));
    form->mopacFile = output;
    form->frmSetParametersQDC->ui.sbxParameterQ->setValue(1.2);

    // A partition that names the ion is refused before the report.
    widget<QCheckBox>("chbAradPartition")->setChecked(true);
    widget<QPlainTextEdit>("plainTextEditAradPartition")->setPlainText(QStringLiteral("W1 1 2 3 4\nW2 5 6 7 8"));
    answer();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_TRUE(lastRequest()->text.startsWith(QStringLiteral("An invalid assignment")));

    widget<QPlainTextEdit>("plainTextEditAradPartition")->setPlainText(QStringLiteral("W1 2 3 4 5\n\nW2 6,7,8,9\n"));
    answer();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 3) << lastRequest()->text.toStdString();
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Information"));
    const QString partition = requiredCitations(3, 2, output, 0, false, true, true);
    const QString blocks = form->citations.mid(form->citations.indexOf(partition));
    ASSERT_TRUE(form->citations.endsWith(partition));
    const QStringList order = {QStringLiteral("Sparkle model"), QStringLiteral("Intensity parameters calculated"),
                               QStringLiteral("QDC model"), QStringLiteral("Chemical Partition of Arad(ED)")};
    int at = -1;
    for (const QString& heading : order) {
        const int next = blocks.indexOf(heading);
        EXPECT_GT(next, at) << heading.toStdString();
        at = next;
    }
    EXPECT_NE(requiredCitations(3, 2, output, 0, false, true, false), partition);
    const QString saved = readText(temp.filePath(QStringLiteral("calc/qdc.omega")));
    EXPECT_TRUE(saved.endsWith(partition + QStringLiteral("\n\n\n")));
    // The per-ligand section is in the report: both ligands were taken.
    EXPECT_TRUE(saved.contains(QStringLiteral("W2")));
    EXPECT_FALSE(cursorOverBox);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---------------------------------------------------------------------------
// Energy-transfer and quantum-yield runs

namespace {

// The transfer inputs of the golden reports in tests/data/reports.
void typeTransferInputs(OrvaneFrmSpectroscopicCalculation* form)
{
    Ui::OrvaneFrmSetTheorecticalOmega& omega = form->frmSetTheorecticalOmega->ui;
    omega.sbxOmega2->setValue(12.5);
    omega.sbxOmega4->setValue(6.25);
    omega.sbxOmega6->setValue(0.48);
    omega.sbxOmegaED2->setValue(0.8125);
    omega.sbxOmegaED4->setValue(0.4375);
    omega.sbxOmegaED6->setValue(0.0625);
    form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxRefractiveIndex"))->setValue(1.55);
    form->findChild<QSpinBox*>(QStringLiteral("sbxSingletLevel"))->setValue(2);
    form->findChild<QSpinBox*>(QStringLiteral("sbxTripletLevel"))->setValue(3);
    Ui::OrvaneFrmTransferMechanisms& channels = form->frmTransferMechanisms->ui;
    for (QCheckBox* box : form->frmTransferMechanisms->findChildren<QCheckBox*>())
        box->setChecked(false);
    channels.cbxSinglet5D4->setChecked(true);
    channels.cbxTriplet5D1->setChecked(true);
    channels.cbxTriplet5D0->setChecked(true);
    channels.rdbFirstModel->setChecked(true);
    channels.sbxNOverlapIntegral->setValue(3.5);
    for (QCheckBox* box : form->frmSpecPrinting->findChildren<QCheckBox*>())
        box->setChecked(true);
}

} // namespace

TEST_F(RunFixture, TheTransferRunGivesTheGoldenReportBesideTheOutput)
{
    // The report prints the output's name as given: a relative one, from the
    // test's folder, as in the golden file.
    ScopedCurrentDirectory here(temp.path());
    QDir(temp.path()).mkpath(QStringLiteral("gaussian"));
    copyFixture(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("gaussian/eu_h2o_td.log"));
    create(2);
    dropOn("edtZindoOut", QStringLiteral("gaussian/eu_h2o_td.log"));
    ASSERT_TRUE(dialogs.requests().isEmpty()) << lastRequest()->text.toStdString();
    EXPECT_EQ(form->rlProgram, 2);
    typeTransferInputs(form.get());

    dialogs.pressButton(QMessageBox::Ok);
    dialogs.pressButton(QMessageBox::Ok);
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 2) << lastRequest()->text.toStdString();
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(dialogs.requests().at(0).text,
              QStringLiteral("The calculation of the energy tranfer rates was successfully done."));
    const QString report = temp.filePath(QStringLiteral("gaussian/eu_h2o_td.orvane"));
    EXPECT_EQ(dialogs.requests().at(1).text, QStringLiteral("The file was successfully created at ") + report);
    const QString expectedCitations =
        header() + requiredCitations(3, 3, QStringLiteral("gaussian/eu_h2o_td.log"), 2, false, false, false);
    EXPECT_EQ(form->citations, expectedCitations);
    const QString expected =
        readText(dataPath(QStringLiteral("reports/eu_h2o_et_default.orvane"))) + QLatin1Char('\n') + expectedCitations;
    EXPECT_EQ(tab(1)->toPlainText(), expected);
    EXPECT_EQ(readText(report), expected + QStringLiteral("\n\n\n"));
    EXPECT_TRUE(widget("btnSaveOutputFile")->isEnabled());
}

// A singlet or triplet that the output does not have is replaced by the
// automatic choice, and the run says so in a warning and on the status line
// before it reports success.
TEST_F(RunFixture, ALevelTheOutputLacksIsReplacedAndSaid)
{
    create(2);
    const QString output = copyFixture(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("calc/eu.td.log"));
    dropOn("edtZindoOut", output);
    typeTransferInputs(form.get());
    QSignalSpy status(form.get(), &OrvaneFrmSpectroscopicCalculation::newObjCalculationMessage);
    const struct
    {
        int triplet, singlet;
        QStringList notes;
    } cases[] = {
        // The output holds three singlets and three triplets.
        {3, 99, {QStringLiteral("Singlet 99 does not exist (3 singlets); singlet 2 was used")}},
        {7, 2, {QStringLiteral("Triplet 7 does not exist (3 triplets); triplet 1 was used")}},
        {7, 4,
         {QStringLiteral("Triplet 7 does not exist (3 triplets); triplet 1 was used"),
          QStringLiteral("Singlet 4 does not exist (3 singlets); singlet 2 was used")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notes.join(QStringLiteral(" | ")).toStdString());
        widget<QSpinBox>("sbxTripletLevel")->setValue(c.triplet);
        widget<QSpinBox>("sbxSingletLevel")->setValue(c.singlet);
        QFile::remove(temp.filePath(QStringLiteral("calc/eu.orvane")));
        status.clear();
        const int before = dialogs.requests().size();
        for (int box = 0; box < 3; ++box)
            answer();
        clickCalculate();
        ASSERT_EQ(dialogs.requests().size(), before + 3) << lastRequest()->text.toStdString();
        const OrvaneDialogs::Request& warning = dialogs.requests().at(before);
        EXPECT_EQ(warning.kind, OrvaneDialogs::Kind::Warning);
        EXPECT_EQ(warning.title, QStringLiteral("ORVANE Warning"));
        EXPECT_EQ(warning.text, c.notes.join(QLatin1Char('\n')));
        EXPECT_EQ(dialogs.requests().at(before + 1).text,
                  QStringLiteral("The calculation of the energy tranfer rates was successfully done."));
        QStringList lines;
        for (const QList<QVariant>& line : qAsConst(status))
            lines << line.at(0).toString();
        for (const QString& note : c.notes)
            EXPECT_TRUE(lines.contains(QStringLiteral("-> ") + note)) << lines.join(QLatin1Char('\n')).toStdString();
        // The report is of the states used.
        const QString report = tab(1)->toPlainText();
        EXPECT_TRUE(report.contains(QRegularExpression(QStringLiteral("Chosen Singlet Excited State = *%1\\b")
                                                            .arg(c.singlet > 3 ? 2 : c.singlet))))
            << report.left(3000).toStdString();
        EXPECT_TRUE(QFileInfo::exists(temp.filePath(QStringLiteral("calc/eu.orvane"))));
    }
    EXPECT_FALSE(cursorOverBox);
}

TEST_F(RunFixture, AMeasuredLifetimeGivesTheQuantumYieldReport)
{
    create(2);
    const QString output = copyFixture(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("calc/eu.td.log"));
    dropOn("edtZindoOut", output);
    typeTransferInputs(form.get());
    widget<QDoubleSpinBox>("sbxLifeTime")->setValue(1.0);
    dialogs.pressButton(QMessageBox::Ok);
    dialogs.pressButton(QMessageBox::Ok);
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 2) << lastRequest()->text.toStdString();
    EXPECT_EQ(dialogs.requests().at(0).text,
              QStringLiteral("The energy transfer rates and quantum yield calculations were successfully done."));

    // The engine given the lifetime in seconds.
    OrvaneSpectroscopicCalculation direct(nullptr, 0, 2, QString(), QString(), output, 3, 2);
    direct.setRefractiveIndex(1.55);
    direct.setNOverlapIntegral(3.5);
    direct.setETModel(2);
    direct.setEnergyTransferChannels(form->frmTransferMechanisms->getEnergyTransferChannels());
    direct.setSpecPrintingOptions(form->frmSpecPrinting->getSpecPrintingOptions());
    direct.setOmegaValues(12.5, 6.25, 0.48);
    direct.setOmegaEdValues(0.8125, 0.4375, 0.0625);
    direct.setLifeTime(0.001);
    const QString engineReport = direct.createOutFile(QString());
    ASSERT_FALSE(engineReport.isEmpty()) << direct.getLastError().toStdString();
    EXPECT_TRUE(engineReport.contains(QStringLiteral("Chosen Experimental Lifetime = 1.0000")));
    const QString expected = engineReport + QLatin1Char('\n') + header()
        + requiredCitations(3, 3, output, 2, true, false, false);
    EXPECT_EQ(readText(temp.filePath(QStringLiteral("calc/eu.orvane"))), expected + QStringLiteral("\n\n\n"));
}

TEST_F(RunFixture, TransferRunsThatCannotWorkSayWhyAndSaveNothing)
{
    create(2);
    const QString output = copyFixture(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("calc/t.log"));
    dropOn("edtZindoOut", output);
    typeTransferInputs(form.get());
    const QString report = temp.filePath(QStringLiteral("calc/t.orvane"));

    // A zero intensity parameter.
    form->frmSetTheorecticalOmega->ui.sbxOmegaED4->setValue(0.0);
    answer();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Error"));
    EXPECT_EQ(lastRequest()->text, QStringLiteral("The intensity parameters cannot be equal to 0. \n"
                                                  "Please, provide non-zero values for intensity parameters."));
    form->frmSetTheorecticalOmega->ui.sbxOmegaED4->setValue(0.4375);

    // A refractive index of 0, in both runs: the engine's reason.
    widget<QDoubleSpinBox>("sbxRefractiveIndex")->setValue(0.0);
    for (double lifetime : {0.0, 1.0}) {
        SCOPED_TRACE(lifetime);
        widget<QDoubleSpinBox>("sbxLifeTime")->setValue(lifetime);
        const int asked = dialogs.requests().size();
        answer();
        clickCalculate();
        ASSERT_EQ(dialogs.requests().size(), asked + 1);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        EXPECT_FALSE(lastRequest()->text.isEmpty());
        EXPECT_EQ(form->citations, header());
    }
    widget<QDoubleSpinBox>("sbxRefractiveIndex")->setValue(1.55);

    // An output the engine cannot read.
    OrvaneFixtures::writeFile(output, "not a Gaussian output\n");
    answer();
    clickCalculate();
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_FALSE(QFileInfo::exists(report));
    EXPECT_TRUE(tab(1)->toPlainText().isEmpty());
    EXPECT_FALSE(widget("btnSaveOutputFile")->isEnabled());
    EXPECT_FALSE(cursorOverBox);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---------------------------------------------------------------------------
// Reports that cannot be written beside their input

namespace {

// One run of each report kind, set up on a form of its mode with its input
// at `input`.
struct UnwritableCase
{
    const char* name;
    int mode;
    const char* fixture;
    const char* report; // its name beside the input
    int boxes;          // message boxes of the run: a success box, then the failed write's
    std::function<void(OrvaneFrmSpectroscopicCalculation*)> choose;
};

std::vector<UnwritableCase> unwritableCases()
{
    const auto typedChargeFactors = [](OrvaneFrmSpectroscopicCalculation* form) {
        form->findChild<QGroupBox*>(QStringLiteral("gbxConventionalParametrization"))->setChecked(true);
        form->findChild<QRadioButton*>(QStringLiteral("rdbGandAlpha"))->setChecked(true);
        form->frmSetGandAlpha->ui.sbxCoordNumber->setValue(8);
        auto* table = qobject_cast<QStandardItemModel*>(form->frmSetGandAlpha->ui.tableView->model());
        for (int column = 0; column < table->columnCount(); ++column) {
            table->setData(table->index(0, column), QStringLiteral("0.3"));
            table->setData(table->index(1, column), QStringLiteral("1.5"));
        }
    };
    const auto typedQdc = [](OrvaneFrmSpectroscopicCalculation* form) {
        form->findChild<QRadioButton*>(QStringLiteral("rdbSetParametersQDC"))->setChecked(true);
        form->frmSetParametersQDC->ui.sbxParameterQ->setValue(1.2);
        form->frmSetParametersQDC->ui.sbxParameterD->setValue(2.5);
        form->frmSetParametersQDC->ui.sbxParameterC->setValue(0.8);
    };
    const auto quantumYield = [](OrvaneFrmSpectroscopicCalculation* form) {
        typeTransferInputs(form);
        form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxLifeTime"))->setValue(1.0);
    };
    const auto forceConstants = [](OrvaneFrmSpectroscopicCalculation* form) {
        // The structure and the force constants come from one output.
        form->findChild<QRadioButton*>(QStringLiteral("rdbNewMethod"))->setChecked(true);
        form->findChild<QLineEdit*>(QStringLiteral("edtMopacForceOut"))->setText(form->mopacFile);
    };
    return {
        {"ForceConstants", 0, "mopac/eu_h2o4_force.out", "eu.omega", 2, forceConstants},
        {"TypedChargeFactors", 0, "mopac/eu_h2o8_allvec.out", "eu.omega", 1, typedChargeFactors},
        {"TypedQdc", 0, "mopac/eu_h2o8_allvec.out", "eu.omega", 1, typedQdc},
        {"TransferRates", 2, "gaussian/eu_h2o_td.log", "eu.orvane", 2, typeTransferInputs},
        {"QuantumYield", 2, "gaussian/eu_h2o_td.log", "eu.orvane", 2, quantumYield},
    };
}

} // namespace

// On a full disk the report cannot be written beside its input: it stays in
// its tab with the system's reason above it, once headed by its citation
// block, and the Save button (shown in mode 0 too) writes it elsewhere.
TEST_F(RunFixture, AReportThatCannotBeWrittenStaysOnScreenAndIsSavedElsewhere)
{
    SmallDisk disk(temp.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    for (const UnwritableCase& c : unwritableCases()) {
        SCOPED_TRACE(c.name);
        create(c.mode);
        const QString extension = QFileInfo(QLatin1String(c.fixture)).suffix();
        const QString input = disk.path(QStringLiteral("eu.") + extension);
        for (const QString& name : QDir(disk.path(QString())).entryList(QDir::Files))
            QFile::remove(disk.path(name));
        ASSERT_TRUE(QFile::copy(dataPath(QLatin1String(c.fixture)), input));
        ASSERT_TRUE(disk.fill());
        const int loaded = dialogs.requests().size();
        dropOn(c.mode == 0 ? "edtMopacOut" : "edtZindoOut", input);
        ASSERT_EQ(dialogs.requests().size(), loaded) << lastRequest()->text.toStdString();
        c.choose(form.get());
        auto* notice = widget<QLabel>("lblUnsavedReport");
        auto* save = widget<QPushButton>("btnSaveOutputFile");
        EXPECT_FALSE(notice->isVisibleTo(form.get()));

        const int before = dialogs.requests().size();
        for (int box = 0; box < c.boxes; ++box)
            answer();
        clickCalculate();
        ASSERT_EQ(dialogs.requests().size(), before + c.boxes) << lastRequest()->text.toStdString();
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
        const QString reason = lastRequest()->text;
        EXPECT_TRUE(reason.contains(QStringLiteral("No space left on device"))) << reason.toStdString();
        EXPECT_TRUE(reason.contains(disk.path(QLatin1String(c.report)))) << reason.toStdString();
        EXPECT_FALSE(QFileInfo::exists(disk.path(QLatin1String(c.report))));

        const QString shown = tab(1)->toPlainText();
        EXPECT_TRUE(shown.endsWith(form->citations)) << shown.right(500).toStdString();
        EXPECT_EQ(shown.count(QStringLiteral("Required Citations for this Calculation")), 1);
        EXPECT_GT(shown.size(), form->citations.size() + 100);
        EXPECT_TRUE(notice->isVisibleTo(form.get()));
        EXPECT_TRUE(notice->text().contains(reason)) << notice->text().toStdString();
        EXPECT_TRUE(save->isVisibleTo(form.get()));
        EXPECT_TRUE(save->isEnabled());

        // Saved under another name: the report as shown, and the notice goes.
        const QString elsewhere = temp.filePath(QStringLiteral("calc/%1.orvane").arg(QLatin1String(c.name)));
        const int asked = dialogs.requests().size();
        dialogs.chooseFile(elsewhere);
        dialogs.pressButton(QMessageBox::Ok);
        save->click();
        ASSERT_EQ(dialogs.requests().size(), asked + 2);
        EXPECT_EQ(dialogs.requests().at(asked).kind, OrvaneDialogs::Kind::SaveFileName);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Information"));
        EXPECT_EQ(readText(elsewhere), shown + QStringLiteral("\n\n\n"));
        EXPECT_FALSE(notice->isVisibleTo(form.get()));
    }
}

// An intensity-parameter report rescued from a full disk can be kept as
// .omega, the notice says so, and the energy-transfer page then reads its
// intensity parameters (as .orvane it refuses the file's extension).
TEST_F(RunFixture, ARescuedIntensityReportSavedAsOmegaIsReadByTheTransferPage)
{
    SmallDisk disk(temp.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    const UnwritableCase typed = unwritableCases().at(1);
    ASSERT_EQ(QLatin1String(typed.name), QLatin1String("TypedChargeFactors"));
    create(0);
    const QString input = disk.path(QStringLiteral("eu.out"));
    ASSERT_TRUE(QFile::copy(dataPath(QLatin1String(typed.fixture)), input));
    ASSERT_TRUE(disk.fill());
    dropOn("edtMopacOut", input);
    typed.choose(form.get());
    answer();
    clickCalculate();
    ASSERT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    auto* notice = widget<QLabel>("lblUnsavedReport");
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral(
        "Save it under another name with the Save button; choose \"ORVANE .omega File (*.omega)\" to read it on the "
        "energy-transfer page.")))
        << notice->text().toStdString();

    const QString elsewhere = temp.filePath(QStringLiteral("calc/rescued"));
    dialogs.chooseFile(elsewhere, QStringLiteral("ORVANE .omega File (*.omega)"));
    dialogs.pressButton(QMessageBox::Ok);
    widget<QPushButton>("btnSaveOutputFile")->click();
    ASSERT_TRUE(QFileInfo::exists(elsewhere + QStringLiteral(".omega")));
    EXPECT_FALSE(notice->isVisibleTo(form.get()));

    OrvaneFrmSpectroscopicCalculation transfer(nullptr, 2);
    const int asked = dialogs.requests().size();
    transfer.frmSetTheorecticalOmega->ui.lineEditOmgFile->setText(elsewhere + QStringLiteral(".omega"));
    EXPECT_EQ(dialogs.requests().size(), asked) << lastRequest()->text.toStdString();
    // The report's omega(4) line, "1.01e-20 cm^2" (omega(2) is 0 for eight
    // equal waters).
    EXPECT_DOUBLE_EQ(transfer.frmSetTheorecticalOmega->ui.sbxOmega4->value(), 1.01);
    EXPECT_GT(transfer.frmSetTheorecticalOmega->ui.sbxOmega6->value(), 0.0);
}

// What the emission page saves beside a spectrum is what the intensity page
// reads as the experimental Omega of a structure of the same base name.
TEST_F(RunFixture, TheEmissionPageReportReadsBackIntoTheIntensityPage)
{
    // Six Gaussian bands 5D0 -> 7F0..7F5 on a 0.25 nm grid from 570 nm.
    const double centres[6] = {579.0, 592.0, 614.0, 652.0, 695.0, 714.0};
    const double heights[6] = {0.05, 0.30, 1.00, 0.04, 0.20, 0.02};
    QByteArray spectrum;
    for (int i = 0; i < 601; ++i) {
        const double lambda = 570.0 + 0.25 * i;
        double y = 0.0;
        for (int j = 0; j < 6; ++j)
            y += heights[j] * std::exp(-0.5 * std::pow((lambda - centres[j]) / 1.5, 2));
        spectrum += QByteArray::number(lambda, 'f', 2) + '\t' + QByteArray::number(y, 'g', 12) + '\n';
    }
    const QString spectrumFile = OrvaneFixtures::writeFile(temp.filePath(QStringLiteral("calc/Eu.run1.txt")), spectrum);

    OrvaneFrmPlotEmissionSpectrum emission;
    emission.findChild<QLineEdit*>(QStringLiteral("editEmissionSpectrumDirectory"))->setText(spectrumFile);
    for (int j : {1, 2, 4}) {
        const auto sample = [](double lambda) { return qRound((lambda - 570.0) / 0.25); };
        const QString suffix = QStringLiteral("%1").arg(j, 2, 10, QLatin1Char('0'));
        emission.findChild<QSlider*>(QStringLiteral("sldTransitionMin") + suffix)->setValue(sample(centres[j] - 9.0));
        emission.findChild<QSlider*>(QStringLiteral("sldTransitionMax") + suffix)->setValue(sample(centres[j] + 9.0));
    }
    dialogs.pressButton(QMessageBox::Ok);
    emission.findChild<QPushButton*>(QStringLiteral("btnCalculate"))->click();
    const QString saved = temp.filePath(QStringLiteral("calc/Eu.orvaneexp"));
    ASSERT_TRUE(QFile::exists(saved)) << (lastRequest() ? lastRequest()->text.toStdString() : std::string());

    // The report's own Omega lines, read here.
    double omega[2] = {-1.0, -1.0};
    QFile report(saved);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly | QIODevice::Text));
    for (const QByteArray& line : report.readAll().split('\n')) {
        for (int k = 0; k < 2; ++k) {
            const QByteArray key = k == 0 ? "omega(2) =" : "omega(4) =";
            const int at = line.indexOf(key);
            if (at >= 0 && omega[k] < 0)
                omega[k] = line.mid(at + key.size()).split('e').first().trimmed().toDouble();
        }
    }
    ASSERT_GT(omega[0], 0.0);
    ASSERT_GT(omega[1], 0.0);

    const QString structure = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("calc/Eu.complex.out"));
    create(0);
    dropOn("edtMopacOut", structure);
    EXPECT_DOUBLE_EQ(form->frmOmegaParametrization->ui.sbxOmega2->value(), omega[0]);
    EXPECT_DOUBLE_EQ(form->frmOmegaParametrization->ui.sbxOmega4->value(), omega[1]);
}
