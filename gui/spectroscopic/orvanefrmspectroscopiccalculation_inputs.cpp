// Choosing, dropping and loading the input files of
// OrvaneFrmSpectroscopicCalculation and their side files, the coordination
// number, the ligand partition, and clearing the project.

#include "orvanefrmspectroscopiccalculation.h"
#include "orvanefrmspectroscopiccalculation_texts.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "glmolecule.h"
#include "orvanedialogs.h"
#include "orvaneeu3model.h"
#include "orvanefilenames.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvaneinputdata.h"
#include "orvaneomegaexpreportlines.h"
#include "orvanespectroscopiccalculation.h"
#include "orvanetextfileview.h"

#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <optional>

using OrvaneSpectroscopicCalculationTexts::defaultPartition;
using OrvaneSpectroscopicCalculationTexts::gaussianHint;
using OrvaneSpectroscopicCalculationTexts::mopacHint;
using OrvaneSpectroscopicCalculationTexts::orcaHint;

QString OrvaneFrmSpectroscopicCalculation::getOpenInputFileName(const QString& extension)
{
    if (!mopacFile.isEmpty()) {
        saveLastDirectory(QFileInfo(mopacFile).absolutePath());
        loadLastDirectory();
    }
    QString caption;
    if (extension == QLatin1String("mop"))
        caption = tr("Open MOPAC .mop File");
    else if (extension == QLatin1String("out"))
        caption = tr("Open MOPAC .out File");
    else if (extension == QLatin1String("orcout"))
        caption = tr("Open ORCA .orcout File");
    const QString filter =
        QStringLiteral("%1 (*.%2)").arg(QString(caption).remove(QStringLiteral("Open ")), extension);
    return OrvaneDialogs::openFileName(this, caption, lastDirectory, filter);
}

void OrvaneFrmSpectroscopicCalculation::rememberFolderOf(const QString& fileName)
{
    saveLastDirectory(QFileInfo(fileName).absolutePath());
    loadLastDirectory();
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseMopacOut_clicked()
{
    loadLastDirectory();
    const QString name = getOpenInputFileName(ui->rdbMopacOut->isChecked() ? QStringLiteral("out")
                                                                          : QStringLiteral("mop"));
    if (name.isEmpty())
        return;
    mopacFile = name;
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseMopacForceOut_clicked()
{
    const QString name = getOpenInputFileName(QStringLiteral("out"));
    if (name.isEmpty())
        return;
    forceFile = name;
    loadInputFile(2);
}

void OrvaneFrmSpectroscopicCalculation::on_btnChooseZindoOut_clicked()
{
    loadLastDirectory();
    const QString name = getOpenInputFileName(ui->rdbZindoOutput->isChecked() ? QStringLiteral("log")
                                                                             : QStringLiteral("orcout"));
    if (name.isEmpty())
        return;
    orcaFile = name;
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::showStoredFile(QLineEdit* edit, const QString& fileName)
{
    if (fileName.isEmpty()) {
        showDropHint(edit);
    } else {
        edit->setStyleSheet(QString());
        edit->setText(fileName);
    }
}

void OrvaneFrmSpectroscopicCalculation::on_edtMopacOut_textChanged(QString text)
{
    // Loading rewrites the field: keep the path.
    const QString fileName = text;
    if (fileName.isEmpty() || fileName.contains(mopacHint) || fileName == mopacFile)
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("out") && suffix != QLatin1String("mop")) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + suffix
                                   + tr(").\nPlease, try to open another file."));
        // The field shows what is loaded, not the refused path.
        showStoredFile(ui->edtMopacOut, mopacFile);
        return;
    }
    // Switching the input type forgets the loaded file and clears the project.
    (suffix == QLatin1String("out") ? ui->rdbMopacOut : ui->rdbMopFile)->setChecked(true);
    mopacFile = fileName;
    rememberFolderOf(mopacFile);
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::on_edtZindoOut_textChanged(QString text)
{
    const QString fileName = text;
    if (fileName.isEmpty() || fileName.contains(gaussianHint) || fileName.contains(orcaHint) || fileName == orcaFile)
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("zin") && suffix != QLatin1String("orcout") && suffix != QLatin1String("log")) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + suffix
                                   + tr(").\nPlease, try to open anothe file."));
        showStoredFile(ui->edtZindoOut, orcaFile);
        return;
    }
    orcaFile = fileName;
    (suffix == QLatin1String("orcout") ? ui->rdbOrcaOutput : ui->rdbZindoOutput)->setChecked(true);
    // A ZINDO output is read as such, not as a Gaussian one.
    if (suffix == QLatin1String("zin"))
        rlProgram = 0;
    rememberFolderOf(orcaFile);
    loadInputFile(0);
}

void OrvaneFrmSpectroscopicCalculation::on_edtMopacForceOut_textChanged(QString text)
{
    const QString fileName = text;
    if (fileName.isEmpty() || fileName == forceFile)
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix != QLatin1String("out")) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + suffix
                                   + tr(").nPlease, try to open another file. "));
        return;
    }
    forceFile = fileName;
    loadInputFile(2);
}

void OrvaneFrmSpectroscopicCalculation::loadInputFile(const int& fileKind)
{
    molecule.lanthanideRequired = true;
    if (fileKind == 2) {
        ui->edtMopacForceOut->setText(forceFile);
        // Shown in the report tab until a run replaces it; the other modes
        // have no tab for it.
        if (mode == 0)
            loadFileInTab(forceFile, 1);
        ui->btnCalculate->setEnabled(true);
        return;
    }
    if (fileKind != 0)
        return;

    if (mode != 0) {
        // The report of the same name, when there is one, gives the typed
        // intensity parameters.
        const QString omegaReport = OrvaneFileNames::withFinalSuffix(orcaFile, QStringLiteral("omega"));
        if (QFileInfo(omegaReport).isFile())
            frmSetTheorecticalOmega->ui.lineEditOmgFile->setText(omegaReport);
        ui->edtZindoOut->setStyleSheet(QString());
        ui->edtZindoOut->setText(orcaFile);
        loadFileInTab(orcaFile, 0);
        for (QWidget* widget : {static_cast<QWidget*>(ui->btnChooseMopacForceOut),
                                static_cast<QWidget*>(ui->lblMopacForceOut), static_cast<QWidget*>(ui->edtMopacForceOut)})
            widget->setEnabled(true);
        ui->btnCalculate->setEnabled(!ui->edtMopacForceOut->text().isEmpty()
                                     || ui->rdbConventionalMethod->isChecked());
        readLifeTime();
        ui->btnFind->setEnabled(true);
        return;
    }

    const QString status = QStringLiteral("-> (Orvane Spectroscopic Calculation) ");
    emit newObjCalculationMessage(status + QStringLiteral("Project is being cleaned."));
    // Cleared as a project without a structure: the reset coordination
    // numbers must not read the new file before it is loaded.
    const QString chosen = mopacFile;
    mopacFile.clear();
    clearProject();
    mopacFile = chosen;
    emit newObjCalculationMessage(status + QStringLiteral("Project was cleaned."));
    readExperimentalOmegas();

    int structureType = Molecule::MopacOutputFile;
    if (ui->rdbMopacOut->isChecked()) {
        readExperimentalOmegaSideFile();
    } else {
        structureType = OrvaneInputData::checkTypeMopFile(mopacFile) ? int(Molecule::MopCartesianFile)
                                                                     : int(Molecule::ZMatrixFile);
    }
    if (!molecule.readMolecule(mopacFile, structureType)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), molecule.getLastError());
        return;
    }
    ui->edtMopacOut->setStyleSheet(QString());
    ui->edtMopacOut->setText(mopacFile);

    if (ui->rdbConventionalMethod->isChecked()) {
        ui->btnCalculate->setEnabled(true);
        // No more donors than the structure has, nor than the engine holds.
        frmOmegaParametrization->ui.sbxCoordNumber->setMaximum(
            qMax(1, qMin(int(molecule.atoms.size()) - 1, OrvaneEu3Model::maxCoordNumber)));
        frmOmegaParametrization->setLigandAtomList(getCoordinatedAtomLabels());
        frmSetGandAlpha->structureFileType = omegaInputType;
        frmSetGandAlpha->structureFile = mopacFile;
        frmSetGandAlpha->updateTable();
    }
    if (ui->rdbNewMethod->isChecked()) {
        ui->lblMopacForceOut->setEnabled(true);
        ui->btnChooseMopacForceOut->setEnabled(true);
        ui->edtMopacForceOut->setEnabled(true);
    }

    emit newObjCalculationMessage(status + QStringLiteral("The coordination number is being calculated."));
    if (!calculateCoordinationNumber(structureType))
        return;
    emit newObjCalculationMessage(status + QStringLiteral("The coordination number was calculated."));

    loadFileInTab(mopacFile, 0);
    ui->cbxShowMoleculeViewer->setChecked(true);
    emit newObjCalculationMessage(status + QStringLiteral("The structure was loaded successfully."));

    glMolecule->setStyle(GLMolecule::BallsAndSticks);
    glMolecule->showLabels = true;
    glMolecule->labelCount = frmOmegaParametrization->ui.sbxCoordNumber->value() + 1;
    emit newObjCalculationMessage(status + QStringLiteral("The molecule is being setted to GlMolecule."));
    glMolecule->setMolecule(&molecule);
    emit newObjCalculationMessage(status + QStringLiteral("The molecule was setted successfully to GlMolecule."));
    ui->btnFind->setEnabled(true);
}

void OrvaneFrmSpectroscopicCalculation::readExperimentalOmegas()
{
    OrvaneOmegaExpReport::Omegas omegas;
    if (!OrvaneOmegaExpReport::readOmegas(OrvaneFileNames::withBaseName(mopacFile, QStringLiteral("orvaneexp")),
                                          omegas))
        return;
    if (omegas.omega2)
        frmOmegaParametrization->ui.sbxOmega2->setValue(*omegas.omega2);
    if (omegas.omega4)
        frmOmegaParametrization->ui.sbxOmega4->setValue(*omegas.omega4);
}

void OrvaneFrmSpectroscopicCalculation::readExperimentalOmegaSideFile()
{
    double omega2 = 0.0;
    double omega4 = 0.0;
    if (!OrvaneExpDataFile::read(OrvaneFileNames::withFinalSuffix(mopacFile, QStringLiteral("expdata")), omega2,
                                 omega4))
        return;
    frmOmegaParametrization->ui.sbxOmega2->setValue(omega2);
    frmOmegaParametrization->ui.sbxOmega4->setValue(omega4);
}

void OrvaneFrmSpectroscopicCalculation::readLifeTime()
{
    if (const std::optional<double> lifeTime
        = OrvaneOmegaExpReport::readLifeTime(OrvaneFileNames::withFinalSuffix(orcaFile, QStringLiteral("orvaneexp"))))
        ui->sbxLifeTime->setValue(*lifeTime);
}

bool OrvaneFrmSpectroscopicCalculation::calculateCoordinationNumber(const int& structureType)
{
    OrvaneInputData reader(nullptr, mopacFile);
    // A Z-matrix input is converted to Cartesian atoms by the .mop reader:
    // without them there are no distances to count.
    const bool read = structureType == Molecule::MopacOutputFile ? reader.readMopacOutFile(true) : reader.readMopFile();
    if (!read) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), reader.getLastError());
        return false;
    }
    reader.createSphericalCoordinate();
    coordNumber = OrvaneSpectroscopicCalculation::coordinationNumber(reader);
    frmOmegaParametrization->ui.sbxCoordNumber->setValue(coordNumber);
    // The typed charge factors start with one column per detected donor.
    frmSetGandAlpha->ui.sbxCoordNumber->setValue(coordNumber);
    return true;
}

QStringList OrvaneFrmSpectroscopicCalculation::getCoordinatedAtomLabels()
{
    if (atomLabels.isEmpty()) {
        OrvaneInputData reader(nullptr, mopacFile);
        const bool read = ui->rdbMopacOut->isChecked() ? reader.readMopacOutFile(true) : reader.readMopFile();
        if (!read) {
            OrvaneDialogs::critical(this, tr("ORVANE Error"), reader.getLastError());
            return QStringList();
        }
        atomLabels << QStringLiteral(" ");
        for (int i = 1; i <= reader.getAtomsNumber(); ++i)
            atomLabels << reader.getAtomLabel(i) + QLatin1Char(' ') + QString::number(i);
    }
    const int n = frmOmegaParametrization->ui.sbxCoordNumber->value();
    if (n == 0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"), tr("The coordination Number cannot be equal to 0."));
        return QStringList();
    }
    return atomLabels.mid(2, n);
}

void OrvaneFrmSpectroscopicCalculation::on_rdbMopacOut_toggled(bool checked)
{
    if (mode != 0)
        return;
    mopacFile.clear();
    omegaInputType = checked ? 0 : 1;
    ui->tabWidgetViewFiles->setTabText(0, checked ? tr("MOPAC output file (.out)") : tr("MOPAC input file (.mop)"));
    clearProject();
    if (ui->rdbMopFile->isChecked())
        ui->gbxConventionalParametrization->setChecked(true);
}

void OrvaneFrmSpectroscopicCalculation::on_btnClearProject_clicked()
{
    const QMessageBox::StandardButton answer =
        OrvaneDialogs::question(this, tr("ORVANE Question"), tr("Are you sure you want to clear the current project?"),
                                QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::No)
        return;
    mopacFile.clear();
    orcaFile.clear();
    clearProject();
}

void OrvaneFrmSpectroscopicCalculation::clearProject()
{
    atomLabels.clear();
    ui->edtMopacOut->clear();
    ui->edtMopacForceOut->clear();
    ui->edtZindoOut->clear();
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->edtMopacForceOut), static_cast<QWidget*>(ui->lblMopacForceOut),
          static_cast<QWidget*>(ui->btnChooseMopacForceOut), static_cast<QWidget*>(ui->btnFind),
          static_cast<QWidget*>(ui->btnCalculate), static_cast<QWidget*>(ui->btnSaveOutputFile)})
        widget->setEnabled(false);
    ui->sbxLifeTime->setValue(0.0);
    for (int index = 0; index < ui->tabWidgetViewFiles->count(); ++index)
        tabView(index)->clear();
    markReportSaved();
    if (mode == 0)
        ui->btnSaveOutputFile->hide();

    if (mode == 0) {
        Ui::OrvaneFrmOmegaParametrization& fit = frmOmegaParametrization->ui;
        fit.sbxCoordNumber->setValue(1);
        frmOmegaParametrization->selectLigandAtoms->clearGroups();
        fit.sbxOmega2->setValue(0.0);
        fit.sbxOmega4->setValue(0.0);
        fit.sbxPointsNumber->setValue(15000);
        fit.sbxCoordNumber->setMaximum(20);
        Ui::OrvaneFrmSetParametersQDC& qdc = frmSetParametersQDC->ui;
        qdc.sbxCoordNumber->setValue(1);
        qdc.sbxParameterQ->setValue(0.0);
        qdc.sbxParameterD->setValue(0.0);
        qdc.sbxParameterC->setValue(0.0);
        frmSetGandAlpha->clearTable();
        molecule.atoms.clear();
        molecule.bonds.clear();
        glMolecule->setMolecule(&molecule);
        showDropHint(ui->edtMopacOut);
        ui->plainTextEditAradPartition->setPlainText(defaultPartition);
        partitionEncoding = OrvaneTextBytes::Encoding();
    } else {
        frmSetTheorecticalOmega->clearValues();
        showDropHint(ui->edtZindoOut);
    }
    citations = citationsHeader;
}

void OrvaneFrmSpectroscopicCalculation::coordNumberValueChanged(int i)
{
    if (mopacFile.isEmpty())
        return;
    frmOmegaParametrization->ui.sbxCoordNumber->setValue(i);
    frmSetParametersQDC->ui.sbxCoordNumber->setValue(i);
    glMolecule->labelCount = frmOmegaParametrization->ui.sbxCoordNumber->value() + 1;
    glMolecule->setMolecule(&molecule);
    frmOmegaParametrization->setLigandAtomList(getCoordinatedAtomLabels());
}

void OrvaneFrmSpectroscopicCalculation::on_btnPartitionOpen_clicked()
{
    const QString name = OrvaneDialogs::openFileName(this, tr("Open File Ligand Atoms by Ligands"), lastDirectory,
                                                     tr("ORVANE File for Arad Partition (*.ligands)"));
    if (name.isEmpty())
        return;
    // A file that cannot be read leaves the partition as it was typed.
    QString text;
    QString reason;
    OrvaneTextFileView::ReadDetails details;
    if (!OrvaneTextFileView::read(name, text, reason, &details)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
        return;
    }
    ui->plainTextEditAradPartition->setPlainText(text);
    partitionEncoding = details.encoding;
}

void OrvaneFrmSpectroscopicCalculation::on_btnPartitionSave_clicked()
{
    const QString name = OrvaneDialogs::saveFileName(this, tr("Save Ligand Atoms by Ligands in a File"), lastDirectory,
                                                     tr("ORVANE File for Arad Partition (*.ligands)"));
    if (name.isEmpty())
        return;
    // In the encoding it was opened in: ligand names typed on a Windows
    // machine stay Latin-1.
    QString reason;
    if (!OrvaneTextFileView::save(ui->plainTextEditAradPartition, name, partitionEncoding, reason)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
        return;
    }
    OrvaneDialogs::information(this, tr("ORVANE Information"), tr("The file was successfully created at: ") + name);
}

void OrvaneFrmSpectroscopicCalculation::on_chbAradPartition_toggled(bool state)
{
    ui->btnPartitionOpen->setEnabled(state);
    ui->btnPartitionSave->setEnabled(state);
    ui->plainTextEditAradPartition->setEnabled(state);
}
