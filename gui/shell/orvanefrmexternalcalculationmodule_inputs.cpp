// Choosing, dropping and loading the input file of
// OrvaneFrmExternalCalculationModule, the input kinds, the molecule view of
// the input, and clearing the project.

#include "orvanefrmexternalcalculationmodule.h"
#include "orvanefrmexternalcalculationmodule_texts.h"
#include "ui_orvanefrmexternalcalculationmodule.h"
#include "ui_orvanefrmmopackeywords.h"
#include "ui_orvanefrmorcakeywords.h"

#include "glmolecule.h"
#include "orvanedialogs.h"
#include "orvanefilenames.h"
#include "orvanefilesconverter.h"
#include "orvanefrmmopackeywords.h"
#include "orvanefrmorcakeywords.h"
#include "orvaneinputdata.h"
#include "orvanetextfileview.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCursor>

using OrvaneExternalCalculationTexts::mopacHint;
using OrvaneExternalCalculationTexts::notRunningText;
using OrvaneExternalCalculationTexts::orcaHint;

namespace {

const QString defaultMopacKeywords = QStringLiteral("PRECISE GEO-OK XYZ T=10D ALLVEC BFGS GNORM=0.25");

const QString inputKindChanged = QStringLiteral("the input kind changed");

} // namespace

void OrvaneFrmExternalCalculationModule::on_btnChooseFile_clicked()
{
    loadLastDirectory();
    QString caption;
    QString filter;
    if (isMopacPage()) {
        if (ui->rdbMOL2File->isChecked()) {
            caption = QStringLiteral("Choose .ml2 File");
            // Patterns apart by blanks: Qt's own dialog splits at blanks only.
            filter = QStringLiteral("ml2 Files (*.ml2 *.mol2)");
        } else if (ui->rdbMopFile->isChecked()) {
            caption = QStringLiteral("Choose Mopac .mop File");
            filter = QStringLiteral("MOPAC .mop File (*.mop)");
        } else {
            caption = QStringLiteral("Choose Mopac .out File");
            filter = QStringLiteral("MOPAC .out file (*.out)");
        }
    } else if (ui->rdbMopacOut2->isChecked()) {
        caption = QStringLiteral("Choose MOPAC .out File");
        filter = QStringLiteral("MOPAC .out file (*.out)");
    } else {
        caption = QStringLiteral("Choose ORCA Input File");
        filter = QStringLiteral("ORCA input file (*.orcinp)");
    }
    const QString fileName = OrvaneDialogs::openFileName(this, caption, lastDirectory, filter);
    if (fileName.isEmpty())
        return;
    clearProject(QStringLiteral("the new input file ") + fileName + QStringLiteral(" starts a new project"));
    inputFileName = fileName;
    saveLastDirectory(inputFolder());
    loadLastDirectory();
    acceptInputFile();
}

void OrvaneFrmExternalCalculationModule::on_edtFile_textChanged(const QString& text)
{
    // The text changes again while the project is cleared: keep a copy.
    const QString fileName = text;
    if (fileName.isEmpty() || fileName.contains(mopacHint) || fileName.contains(orcaHint)
        || fileName == inputFileName)
        return;

    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
    QRadioButton* kind = nullptr;
    if (isMopacPage()) {
        if (extension == QLatin1String("ml2") || extension == QLatin1String("mol2"))
            kind = ui->rdbMOL2File;
        else if (extension == QLatin1String("mop"))
            kind = ui->rdbMopFile;
        else if (extension == QLatin1String("out"))
            kind = ui->rdbMopacOut1;
    } else {
        if (extension == QLatin1String("out"))
            kind = ui->rdbMopacOut2;
        else if (extension == QLatin1String("orcinp"))
            kind = ui->rdbOrcaInput;
    }
    if (!kind) {
        clearProject(QStringLiteral("the dropped file ") + fileName + QStringLiteral(" was refused"));
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The desired file contains an unknown extension (")
                                    + extension + QLatin1Char(')'));
        return;
    }
    kind->setChecked(true);
    inputFileName = fileName;
    acceptInputFile();
}

void OrvaneFrmExternalCalculationModule::acceptInputFile()
{
    ui->edtFile->setStyleSheet(QString());
    ui->edtFile->setText(inputFileName);
    ui->gbxPreview->setEnabled(true);
    ui->btnRunCalculation->setEnabled(!ui->rdbMopacOut1->isChecked());
    // A new input has no run of its own yet.
    spectrumOutput.clear();
    ui->btnShowAbsorptionSpectrumModule->setEnabled(false);
    loadFileIntoTab(inputFileName, ui->rdbMopacOut1->isChecked() ? 1 : 0);
    ui->btnFind->setEnabled(true);
    if (isMopacPage())
        showMolecule();
    else
        frmOrcaKeywords->ui->editPointChargesFileName->setText(currentRun().cleanBaseName()
                                                               + QStringLiteral(".pointcharge"));
    ui->edtFile->setToolTip(ui->edtFile->text());
}

bool OrvaneFrmExternalCalculationModule::loadFileIntoTab(const QString& fileName, const int& index)
{
    if (fileName.isEmpty())
        return false;
    QPlainTextEdit* view = tabView(index);
    // The box names the file once: the cause is given without its name.
    QString reason;
    OrvaneTextFileView::ReadDetails details;
    if (!OrvaneTextFileView::show(view, fileName, reason, &details)) {
        OrvaneDialogs::warning(this, QStringLiteral("ORVANE Warning"),
                               QStringLiteral("ORVANE could not read the file %1:\n%2.").arg(fileName, details.cause));
        return false;
    }
    if (index == 1)
        view->moveCursor(QTextCursor::End);
    ui->tabWidgetViewFiles->setCurrentIndex(index);
    return true;
}

void OrvaneFrmExternalCalculationModule::on_rdbMOL2File_toggled(bool checked)
{
    clearProject(inputKindChanged);
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral(".mol2 Input File"));
    ui->rdbVisualizeMOL2File->setText(QStringLiteral("View Molecule from .mol2 File"));
    ui->rdbVisualizeMOL2File->setChecked(checked);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->stackedWidgetKeywords), static_cast<QWidget*>(ui->btnSetExternalProgramPath),
          static_cast<QWidget*>(ui->lineEditSetExternalProgramPath), static_cast<QWidget*>(ui->lineEditRunProgress),
          static_cast<QWidget*>(ui->lblRunProgress), static_cast<QWidget*>(ui->rdbVisualizeMOL2File),
          static_cast<QWidget*>(ui->rdbVisualizeMopacOutput)})
        widget->setEnabled(checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbMopFile_toggled(bool checked)
{
    clearProject(inputKindChanged);
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral("MOPAC .mop File"));
    ui->rdbVisualizeMOL2File->setText(QStringLiteral("View Molecule from .mop File"));
    ui->rdbVisualizeMOL2File->setChecked(checked);
    // The input carries its own keywords.
    ui->stackedWidgetKeywords->setEnabled(!checked);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->btnSetExternalProgramPath), static_cast<QWidget*>(ui->lineEditSetExternalProgramPath),
          static_cast<QWidget*>(ui->lineEditRunProgress), static_cast<QWidget*>(ui->lblRunProgress),
          static_cast<QWidget*>(ui->rdbVisualizeMOL2File), static_cast<QWidget*>(ui->rdbVisualizeMopacOutput)})
        widget->setEnabled(checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbMopacOut1_toggled(bool checked)
{
    clearProject(inputKindChanged);
    ui->rdbVisualizeMopacOutput->setChecked(checked);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->stackedWidgetKeywords), static_cast<QWidget*>(ui->btnSetExternalProgramPath),
          static_cast<QWidget*>(ui->lineEditSetExternalProgramPath), static_cast<QWidget*>(ui->lineEditRunProgress),
          static_cast<QWidget*>(ui->lblRunProgress), static_cast<QWidget*>(ui->rdbVisualizeMOL2File),
          static_cast<QWidget*>(ui->rdbVisualizeMopacOutput)})
        widget->setEnabled(!checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbMopacOut2_toggled(bool checked)
{
    clearProject();
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral("MOPAC Output File"));
    ui->stackedWidgetKeywords->setEnabled(checked);
}

void OrvaneFrmExternalCalculationModule::on_rdbOrcaInput_toggled(bool checked)
{
    clearProject();
    ui->tabWidgetViewFiles->setTabText(0, QStringLiteral("ORCA Input File"));
    ui->stackedWidgetKeywords->setEnabled(!checked);
}

void OrvaneFrmExternalCalculationModule::on_btnClearProject_clicked()
{
    const QMessageBox::StandardButton answer =
        OrvaneDialogs::question(this, QStringLiteral("ORVANE Question"),
                                QStringLiteral("Are you sure you want to clear the current project? "),
                                QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::No)
        clearProject();
}

void OrvaneFrmExternalCalculationModule::clearProject(const QString& reason)
{
    const QString previousModel = currentModel();
    inputFileName.clear();
    ui->edtFile->clear();
    ui->lineEditRunProgress->setText(notRunningText);
    ui->btnFind->setEnabled(false);
    spectrumOutput.clear();
    ui->btnShowAbsorptionSpectrumModule->setEnabled(false);
    ui->btnRunCalculation->setEnabled(false);
    ui->btnStopCalculation->setEnabled(false);
    for (int index = 0; index < ui->tabWidgetViewFiles->count(); ++index)
        tabView(index)->clear();

    if (isMopacPage()) {
        molecule.atoms.clear();
        molecule.bonds.clear();
        glMolecule->setMolecule(&molecule);
        frmMopacKeywords->ui->cbxSparkleMethod->setCurrentIndex(0);
        frmMopacKeywords->ui->edtAdditionalKeywords->setText(defaultMopacKeywords);
        fillModelList(true);
        announceModelReset(previousModel, reason.isEmpty() ? QStringLiteral("the project was cleared") : reason);
    } else {
        Ui::OrvaneFrmOrcaKeywords* panel = frmOrcaKeywords->ui.get();
        panel->chbIsTripletLevel->setChecked(true);
        panel->sbxNumberOfStates->setValue(25);
        panel->editPointChargesFileName->clear();
        panel->sbxEMin->setValue(20);
        panel->sbxEMax->setValue(20);
        panel->gbxExcitationWindows->setChecked(false);
    }
    showInputFileHint();
}

void OrvaneFrmExternalCalculationModule::showMolecule()
{
    if (!isMopacPage() || inputFileName.isEmpty())
        return;
    if (ui->rdbVisualizeMOL2File->isChecked()) {
        int type = -1;
        if (ui->rdbMOL2File->isChecked())
            type = Molecule::Mol2File;
        else if (ui->rdbMopFile->isChecked())
            type = OrvaneInputData::checkTypeMopFile(inputFileName) ? Molecule::MopCartesianFile
                                                                    : Molecule::ZMatrixFile;
        const bool read = type >= 0 && molecule.readMolecule(inputFileName, type);
        if (type == Molecule::Mol2File && (!read || molecule.atoms.isEmpty())) {
            // No MOPAC input can be made of it: refused now rather than at Run.
            const QString fileName = inputFileName;
            const QString reason = molecule.getLastError();
            clearProject(QStringLiteral("the file ") + fileName
                         + QStringLiteral(" holds no atoms that ORVANE can read"));
            OrvaneDialogs::critical(
                this, QStringLiteral("ORVANE Error"),
                QStringLiteral("The file holds no atoms that ORVANE can read: ") + fileName
                    + (reason.isEmpty() || reason == QLatin1String("error") ? QString()
                                                                           : QLatin1Char('\n') + reason));
            return;
        }
        if (type >= 0 && !read) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), molecule.getLastError());
            return;
        }
    } else if (ui->rdbVisualizeMopacOutput->isChecked()) {
        if (!molecule.readMolecule(OrvaneFileNames::withFinalSuffix(inputFileName, QStringLiteral("out")),
                                   Molecule::MopacOutputFile)) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"), molecule.getLastError());
            if (!ui->rdbMopacOut1->isChecked())
                ui->rdbVisualizeMOL2File->setChecked(true);
            return;
        }
    }
    if (!molecule.containsLanthanide) {
        QString keywords = frmMopacKeywords->ui->edtAdditionalKeywords->text();
        keywords.remove(QStringLiteral("SPARKLE"));
        frmMopacKeywords->ui->edtAdditionalKeywords->setText(keywords);
    }
    glMolecule->showLabels = cbxShowAtomLabels->isChecked();
    glMolecule->setStyle(GLMolecule::BallsAndSticks);
    glMolecule->setMolecule(&molecule);
}

void OrvaneFrmExternalCalculationModule::on_rdbVisualizeMopacOutput_toggled(bool checked)
{
    if (inputFileName.isEmpty()) {
        if (!ui->rdbMopacOut1->isChecked())
            ui->rdbVisualizeMOL2File->setChecked(true);
        return;
    }
    if (checked) {
        const QString output = OrvaneFileNames::withFinalSuffix(inputFileName, QStringLiteral("out"));
        if (!QFileInfo::exists(output)) {
            OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                    QStringLiteral("The file ") + output
                                        + QStringLiteral(" does not exist."));
            if (!ui->rdbMopacOut1->isChecked()) {
                ui->rdbVisualizeMOL2File->setChecked(true);
                return;
            }
        } else {
            loadFileIntoTab(output, 1);
        }
    }
    showMolecule();
}
