// Calculate on OrvaneFrmSpectroscopicCalculation: the intensity-parameter runs
// from typed parameters or force constants, and the energy-transfer and
// quantum-yield runs.

#include "orvanefrmspectroscopiccalculation.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "orvanedialogs.h"
#include "orvaneeu3model.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvaneindicescalculation.h"
#include "orvaneomega.h"
#include "orvanespectroscopiccalculation.h"
#include "orvanetextreader.h"
#include "orvaneunsavednotice.h"
#include "requiredcitations.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <vector>

void OrvaneFrmSpectroscopicCalculation::on_btnCalculate_clicked()
{
    citations = citationsHeader;
    enum class Run { None, Chosen };
    Run run = Run::None;
    bool done = false;
    auto start = [&](bool result) {
        run = Run::Chosen;
        done = result;
    };
    if (mode == 1) {
        start(calculateEnergyTransfer());
    } else if (mode == 2) {
        start(ui->sbxLifeTime->value() > 0.0 ? calculateQuantumYield() : calculateEnergyTransfer());
    } else if (mode == 0) {
        if (!ui->rdbConventionalMethod->isChecked()) {
            start(calculateOmegaWithForceConstants());
        } else if (ui->gbxParametrizationQDC->isChecked()) {
            if (ui->rdbParametrizationQDC->isChecked())
                start(startParametrizationQDC());
            else if (ui->rdbSetParametersQDC->isChecked())
                start(calculateOmegaWithParametersQDC());
        } else if (ui->gbxConventionalParametrization->isChecked()) {
            if (ui->rdbConventionalParametrization->isChecked())
                start(startParametrization());
            else if (ui->rdbGandAlpha->isChecked())
                start(calculateOmegaWithGandAlpha());
        }
    }
    if (run == Run::None || done)
        ui->btnSaveOutputFile->setEnabled(true);
    else
        // The report still shown is that of the inputs before this run:
        // saving it must not pass for saving the result of those on screen.
        unsavedReportNotice->markOfEarlierInputs();
}

bool OrvaneFrmSpectroscopicCalculation::refuseMissingReport(const QString& report, const QString& engineError)
{
    if (!report.isEmpty())
        return false;
    OrvaneDialogs::critical(this, tr("ORVANE Error"),
                            engineError.isEmpty() ? tr("The calculation gave no report.") : engineError);
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::calculateOmegaWithForceConstants()
{
    OrvaneOmega omega(nullptr, omegaInputType, ui->edtMopacOut->text(), ui->edtMopacForceOut->text());
    omega.setRefractiveIndex(ui->sbxRefractiveIndex->value());
    if (!omega.getLastError().isEmpty()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), omega.getLastError());
        return false;
    }
    return showAndSaveOmegaReport(
        omega, requiredCitations(3, 2, mopacFile, 0, false, false, false),
        tr("The theoretical calculation of the intensity parameters was successfully done."));
}

bool OrvaneFrmSpectroscopicCalculation::calculateOmegaWithGandAlpha()
{
    const QVector<double> g = frmSetGandAlpha->getChargeFactors();
    const QVector<double> a = frmSetGandAlpha->getPolarizabilities();
    const int n = frmSetGandAlpha->ui.sbxCoordNumber->value();
    // The table may have fewer columns than the coordination number (a
    // structure with fewer atoms): never read past it.
    if (g.size() < n || a.size() < n) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                tr("The table holds charge factors and polarizabilities for %1 atoms, "
                                   "but the coordination number is %2.")
                                    .arg(qMin(g.size(), a.size()))
                                    .arg(n));
        return false;
    }
    // Text that is no number would be read as 0 and move Omega unseen.
    const QString typedProblem = frmSetGandAlpha->typedValuesProblem();
    if (!typedProblem.isEmpty()) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), typedProblem);
        return false;
    }
    // Indexed by atom number; they outlive the engine object below.
    std::vector<double> charges(std::size_t(qMax(g.size() + 4, OrvaneEu3Model::atomArraySize)), 0.0);
    std::vector<double> alphas(charges.size(), 0.0);
    for (int i = 2; i <= n + 1; ++i) {
        charges[std::size_t(i)] = g.at(i - 2);
        alphas[std::size_t(i)] = a.at(i - 2) * 1e-24;
    }
    double* chargeData = charges.data();
    double* alphaData = alphas.data();

    OrvaneOmega omega(nullptr, omegaInputType, mopacFile, QString());
    omega.setRefractiveIndex(ui->sbxRefractiveIndex->value());
    omega.setChargeFactorAndAlpha(chargeData, alphaData);
    omega.setCoordNumber(n);
    return computeOmega(omega)
        && showAndSaveOmegaReport(omega, requiredCitations(3, 2, mopacFile, 0, false, false, false));
}

bool OrvaneFrmSpectroscopicCalculation::calculateOmegaWithParametersQDC()
{
    const Ui::OrvaneFrmSetParametersQDC& qdc = frmSetParametersQDC->ui;
    const double q = qdc.sbxParameterQ->value();
    const double d = qdc.sbxParameterD->value();
    const double c = qdc.sbxParameterC->value();
    if (q == 0.0 || d == 0.0 || c == 0.0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("Q, D, or C cannot be equal to 0.\nPlease, provide non-zero value."));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList lines = ligandPartitionLines();
    const bool partition = ui->chbAradPartition->isChecked();
    const int n = qdc.sbxCoordNumber->value();
    // A failed check has restored the cursor itself.
    if (partition && !checkLigandPartition(lines, n))
        return false;
    OrvaneIndicesCalculation indices(nullptr, mopacFile, frmOmegaParametrization->ui.sbxCoordNumber->value());
    const bool computed = indices.calculateIndices();
    QApplication::restoreOverrideCursor();
    if (!computed) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), indices.getLastError());
        return false;
    }

    std::vector<double> charges(std::size_t(qMax(n + 2, OrvaneEu3Model::atomArraySize)), 0.0);
    std::vector<double> alphas(charges.size(), 0.0);
    for (int i = 2; i <= n + 1; ++i) {
        charges[std::size_t(i)] = q * indices.getAtomicCharge(i);
        alphas[std::size_t(i)] = d * 1e-24 * indices.getSuperDeslocalizability(i) + c * 1e-24;
    }
    double* chargeData = charges.data();
    double* alphaData = alphas.data();

    OrvaneOmega omega(nullptr, omegaInputType, mopacFile, QString());
    omega.setParametersQDC(q, d, c);
    omega.setAtomicCharges(indices.getAtomicCharge());
    omega.setSuperDeslocalizability(indices.getSuperDeslocalizability());
    omega.setRefractiveIndex(ui->sbxRefractiveIndex->value());
    omega.setChargeFactorAndAlpha(chargeData, alphaData);
    omega.setCoordNumber(n);
    if (partition)
        omega.setLigandAtomsByLigandVector(lines);
    return computeOmega(omega)
        && showAndSaveOmegaReport(omega, requiredCitations(3, 2, mopacFile, 0, false, true, partition));
}

bool OrvaneFrmSpectroscopicCalculation::computeOmega(OrvaneOmega& omega)
{
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    omega.setOmegaPrintingOptions(options);
    if (omega.calcOmega())
        return true;
    OrvaneDialogs::critical(this, tr("ORVANE Error"), omega.getLastError());
    return false;
}

bool OrvaneFrmSpectroscopicCalculation::showAndSaveOmegaReport(OrvaneOmega& omega, const QString& methodCitations,
                                                               const QString& announcement)
{
    citations += omega.getMopacCitation() + QStringLiteral("\n\n") + methodCitations;
    const QString report = omega.createOutFile(QString());
    if (refuseMissingReport(report, omega.getLastError()))
        return false;
    showOutput(report);
    if (!announcement.isEmpty())
        OrvaneDialogs::information(this, tr("ORVANE Information"), announcement);
    saveOutputBesideInput();
    return true;
}

QStringList OrvaneFrmSpectroscopicCalculation::ligandPartitionLines() const
{
    QStringList lines;
    const QStringList typed = ui->plainTextEditAradPartition->toPlainText().split(QLatin1Char('\n'));
    for (QString line : typed) {
        line.replace(QLatin1Char(','), QLatin1Char(' '));
        // The engine's list ends at a blank line: none is handed over.
        if (!OrvaneText::isBlank(line))
            lines << line;
    }
    return lines;
}

bool OrvaneFrmSpectroscopicCalculation::checkLigandPartition(const QStringList& lines, const int& coordinationNumber)
{
    auto refuse = [this](const QString& text) {
        // The caller may have set the wait cursor: never show a box under it.
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        OrvaneDialogs::critical(this, tr("ORVANE Error"), text);
        return false;
    };
    // Read as the engine reads the lines: blank-separated fields, commas
    // counted as blanks, a field that is no whole number counted as 0.
    QVector<int> atoms;
    for (const QString& line : lines) {
        const QStringList fields = OrvaneText::splitFields(QString(line).replace(QLatin1Char(','), QLatin1Char(' ')));
        for (int k = 1; k < fields.size(); ++k)
            atoms << OrvaneText::toInteger(fields.at(k));
    }
    std::sort(atoms.begin(), atoms.end());
    if (atoms.size() != coordinationNumber)
        return refuse(tr("The defined coordination number is different from the number of ligand atoms at the chemical "
                         "partition box. \nPlease, check if the assignment of the ligand atoms to the corresponding "
                         "ligand is correct."));
    for (int k = 0; k < atoms.size(); ++k) {
        // Only the coordinating atoms 2 .. N+1 belong to ligands; the ion is atom 1.
        if (atoms.at(k) < 2 || atoms.at(k) > coordinationNumber + 1)
            return refuse(tr("An invalid assignment for chemical partition of Arad was defined. \nPlease, check if "
                             "the assignment of the ligand atoms to the corresponding ligand is correct."));
        if (k + 1 < atoms.size() && atoms.at(k) == atoms.at(k + 1))
            return refuse(tr("The same ligand atom cannot be assigned to different ligands neither \nbe assigned "
                             "more than once to the same ligand."));
    }
    return true;
}

void OrvaneFrmSpectroscopicCalculation::getOmegaPrintingOptions(OmegaPrintingOptions& options) const
{
    options = frmOmegaPrinting->getOmegaPrintingOptions();
}

bool OrvaneFrmSpectroscopicCalculation::checkAndSetOmegaValues(OrvaneSpectroscopicCalculation*& calculation)
{
    const Ui::OrvaneFrmSetTheorecticalOmega& typed = frmSetTheorecticalOmega->ui;
    for (const QDoubleSpinBox* box : {typed.sbxOmega2, typed.sbxOmega4, typed.sbxOmega6, typed.sbxOmegaED2,
                                      typed.sbxOmegaED4, typed.sbxOmegaED6}) {
        if (box->value() == 0.0) {
            if (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
            OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                    tr("The intensity parameters cannot be equal to 0. \nPlease, provide non-zero "
                                       "values for intensity parameters."));
            return false;
        }
    }
    calculation->setOmegaValues(typed.sbxOmega2->value(), typed.sbxOmega4->value(), typed.sbxOmega6->value());
    calculation->setOmegaEdValues(typed.sbxOmegaED2->value(), typed.sbxOmegaED4->value(), typed.sbxOmegaED6->value());
    return true;
}

// ---------------------------------------------------------------------------
// Energy-transfer runs

void OrvaneFrmSpectroscopicCalculation::applySpecPrintingOptions(OrvaneSpectroscopicCalculation*& calculation)
{
    calculation->setSpecPrintingOptions(frmSpecPrinting->getSpecPrintingOptions());
}

void OrvaneFrmSpectroscopicCalculation::applyEnergyTransferChannels(OrvaneSpectroscopicCalculation*& calculation)
{
    calculation->setEnergyTransferChannels(frmTransferMechanisms->getEnergyTransferChannels());
}

std::unique_ptr<OrvaneSpectroscopicCalculation> OrvaneFrmSpectroscopicCalculation::createTransferCalculation()
{
    const QString forceConstants =
        ui->rdbConventionalMethod->isChecked() ? QString() : ui->edtMopacForceOut->text();
    // In these modes no structure is named: the engine takes the intensity
    // parameters handed to it. A level of 0 leaves the choice to the engine.
    auto calculation = std::make_unique<OrvaneSpectroscopicCalculation>(
        nullptr, omegaInputType, rlProgram, ui->edtMopacOut->text(), forceConstants, orcaFile,
        ui->sbxTripletLevel->value(), ui->sbxSingletLevel->value());
    OrvaneSpectroscopicCalculation* raw = calculation.get();
    raw->setRefractiveIndex(ui->sbxRefractiveIndex->value());
    raw->setNOverlapIntegral(frmTransferMechanisms->ui.sbxNOverlapIntegral->value());
    raw->setETModel(frmTransferMechanisms->getETModel());
    applyEnergyTransferChannels(raw);
    applySpecPrintingOptions(raw);
    return calculation;
}

bool OrvaneFrmSpectroscopicCalculation::calculateEnergyTransfer()
{
    return runTransfer(false);
}

bool OrvaneFrmSpectroscopicCalculation::calculateQuantumYield()
{
    if (ui->sbxLifeTime->value() == 0.0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"), tr("Please, provide non-zero values for the experimental."));
        return false;
    }
    return runTransfer(true);
}

bool OrvaneFrmSpectroscopicCalculation::runTransfer(const bool& quantumYield)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::unique_ptr<OrvaneSpectroscopicCalculation> calculation = createTransferCalculation();
    OrvaneSpectroscopicCalculation* raw = calculation.get();
    auto engineRefused = [&] {
        if (raw->getLastError().isEmpty())
            return false;
        QApplication::restoreOverrideCursor();
        OrvaneDialogs::critical(this, tr("ORVANE Error"), raw->getLastError());
        return true;
    };
    // A refusal of the typed values restores the cursor itself.
    auto valuesRefused = [&] { return ui->rdbConventionalMethod->isChecked() && !checkAndSetOmegaValues(raw); };
    // The quantum-yield run looks at the typed values first.
    if (quantumYield ? (valuesRefused() || engineRefused()) : (engineRefused() || valuesRefused()))
        return false;
    // Typed in ms, read by the engine in s.
    if (quantumYield)
        raw->setLifeTime(ui->sbxLifeTime->value() * 0.001);
    const QString block =
        requiredCitations(3, 3, orcaFile, frmTransferMechanisms->getETModel(), quantumYield, false, false);
    const QString report = quantumYield ? raw->createOutFile(QString()) : raw->createOutFileET(QString());
    QApplication::restoreOverrideCursor();
    if (refuseMissingReport(report, raw->getLastError()))
        return false;
    citations += block;
    showOutput(report);
    // A level the file does not have was replaced by the automatic choice:
    // the report is of other states than those typed.
    const QStringList levelNotes = raw->getLevelNotes();
    for (const QString& note : levelNotes)
        emit newObjCalculationMessage(QStringLiteral("-> ") + note);
    if (!levelNotes.isEmpty())
        OrvaneDialogs::warning(this, tr("ORVANE Warning"), levelNotes.join(QLatin1Char('\n')));
    OrvaneDialogs::information(
        this, tr("ORVANE Information"),
        quantumYield ? tr("The energy transfer rates and quantum yield calculations were successfully done.")
                     : tr("The calculation of the energy tranfer rates was successfully done."));
    saveOutputBesideInput();
    return true;
}
