// Fits of OrvaneFrmSpectroscopicCalculation: starting a parametrization
// (conventional or QDC), following it, and reporting how it ended.

#include "orvanefrmspectroscopiccalculation.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "orvanedialogs.h"
#include "orvanefilenames.h"
#include "orvanefitendmessage.h"
#include "orvanefitrunner.h"
#include "orvanefrmomegaparametrization.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanegsa.h"
#include "orvaneindicescalculation.h"
#include "orvaneomega.h"
#include "orvaneparametric.h"
#include "orvaneparametricqdc.h"
#include "orvaneunsavednotice.h"
#include "orvanewaitcursor.h"
#include "requiredcitations.h"

#include <QApplication>
#include <QDoubleSpinBox>

#include <algorithm>
#include <cmath>

bool OrvaneFrmSpectroscopicCalculation::refuseFitWhileRunning()
{
    if (!fitRunner->isBusy())
        return false;
    OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                           tr("A parametrization is still running.\nPlease, wait for it to end or cancel it."));
    return true;
}

void OrvaneFrmSpectroscopicCalculation::releaseFitObjects()
{
    fitRunner->release();
    fitStartPoint.clear();
}

static bool omegaReferenceMissing(QWidget* parent, const double& omega2, const double& omega4)
{
    if (omega2 != 0.0 && omega4 != 0.0)
        return false;
    OrvaneDialogs::warning(parent, QObject::tr("ORVANE Warning"),
                           QObject::tr("The omega 2 or 4 cannot be equal to 0.\nPlease, provide non-zero value for "
                                       "intensity parameters that will be used as reference to calulate the "
                                       "theoretical one."));
    return true;
}

bool OrvaneFrmSpectroscopicCalculation::startParametrization()
{
    const Ui::OrvaneFrmOmegaParametrization& fit = frmOmegaParametrization->ui;
    if (omegaReferenceMissing(this, fit.sbxOmega2->value(), fit.sbxOmega4->value()) || refuseFitWhileRunning())
        return false;
    if (!frmOmegaParametrization->selectLigandAtoms->collectGroupsAndAtoms())
        return false;
    releaseFitObjects();
    omegaFile = OrvaneFileNames::withFinalSuffix(mopacFile, QStringLiteral("omega"));

    auto* problem = new OrvaneParametric(this, mopacFile, omegaInputType);
    fitRunner->keep(problem);
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    problem->setOmegaPrintingOptions(options);
    problem->setRefractiveIndex(ui->sbxRefractiveIndex->value());
    const QMap<int, QStringList> groups = frmOmegaParametrization->getGroupsAndAtoms();
    problem->setCoordNumber(fit.sbxCoordNumber->value());
    if (!problem->getLastError().isEmpty() || !problem->setGroupsAndAtoms(groups)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), problem->getLastError());
        return false;
    }
    problem->setFileNameOmg(omegaFile);
    problem->setOmegaExp(fit.sbxOmega2->value() * 1e-20, fit.sbxOmega4->value() * 1e-20);

    // Every charge factor 0.45, then every polarizability 4.5 (10^-24 cm^3).
    const int groupCount = groups.size();
    fitStartPoint.assign(std::size_t(2 * groupCount), 4.5);
    std::fill(fitStartPoint.begin(), fitStartPoint.begin() + groupCount, 0.45);

    // The engine heads the block itself, with the MOPAC citation.
    citations = requiredCitations(3, 2, mopacFile, 0, false, false, false);
    problem->setRequiredCitations(citations);

    double* start = fitStartPoint.data();
    OrvaneAbstractParametric* abstractProblem = problem;
    auto* gsa = new OrvaneGSA(this, 2 * groupCount, start, abstractProblem);
    fitRunner->keep(gsa);
    gsa->setNStopMax(fit.sbxPointsNumber->value());
    return runFit(gsa);
}

bool OrvaneFrmSpectroscopicCalculation::startParametrizationQDC()
{
    const Ui::OrvaneFrmOmegaParametrization& fit = frmOmegaParametrization->ui;
    if (omegaReferenceMissing(this, fit.sbxOmega2->value(), fit.sbxOmega4->value()) || refuseFitWhileRunning())
        return false;
    const int n = fit.sbxCoordNumber->value();
    const bool partition = ui->chbAradPartition->isChecked();
    const QStringList lines = ligandPartitionLines();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A failed check has restored the cursor itself.
    if (partition && !checkLigandPartition(lines, n))
        return false;
    QApplication::restoreOverrideCursor();
    releaseFitObjects();
    omegaFile = OrvaneFileNames::withFinalSuffix(mopacFile, QStringLiteral("omega"));

    auto* problem = new OrvaneParametricQDC(this, mopacFile, omegaInputType);
    fitRunner->keep(problem);
    OmegaPrintingOptions options;
    getOmegaPrintingOptions(options);
    problem->setOmegaPrintingOptions(options);
    problem->setRefractiveIndex(ui->sbxRefractiveIndex->value());
    problem->setCoordNumber(n);
    problem->setFileNameOmg(omegaFile);
    problem->setOmegaExp(fit.sbxOmega2->value() * 1e-20, fit.sbxOmega4->value() * 1e-20);

    auto indices = std::make_unique<OrvaneIndicesCalculation>(this, mopacFile, n);
    bool computed = false;
    {
        const OrvaneWaitCursor wait;
        computed = indices->calculateIndices();
    }
    if (!computed) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), indices->getLastError());
        return false;
    }

    double q = 0.0;
    double s = 0.0;
    for (int i = 2; i <= n + 1; ++i) {
        q += indices->getAtomicCharge(i);
        s += indices->getSuperDeslocalizability(i);
    }
    q /= n;
    s /= n;
    const double minimum = indices->getMinimumSuperDeslocalizability();
    const double r = 1.0 / std::fabs(minimum) - 0.1;
    const double startQ = 1.0 / q;
    const double startD = r / (r * s + 1.0);
    const double startC = startD / (r + 0.01);
    // The model's bounds come from a negative superdelocalizability; without
    // one, or with a mean charge of 0, there is no start point to anneal from.
    if (!(minimum < 0.0) || !std::isfinite(startQ) || !std::isfinite(startD) || !std::isfinite(startC)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"),
                                tr("The reactivity indices of the coordinating atoms give no finite start point "
                                   "for the QDC parametrization (no negative superdelocalizability, or a mean "
                                   "atomic charge of 0)."));
        return false;
    }
    fitStartPoint = {startQ, startD, startC};

    problem->setSuperDeslocalizability(indices.get());
    problem->setRestrictionValue(int(r));
    fitRunner->keep(indices.release());
    if (partition)
        problem->setLigandAtomsByLigandVector(lines);
    citations = requiredCitations(3, 2, mopacFile, 0, false, true, partition);
    problem->setRequiredCitations(citations);

    double* start = fitStartPoint.data();
    OrvaneAbstractParametric* abstractProblem = problem;
    auto* gsa = new OrvaneGSA(this, 3, start, abstractProblem);
    fitRunner->keep(gsa);
    if (!gsa->setGSAParameters(1.5969, 1.27207, 1.10912, 5.05671)) {
        OrvaneDialogs::critical(this, tr("ORVANE Error"), gsa->getLastError());
        return false;
    }
    gsa->setNStopMax(fit.sbxPointsNumber->value());
    return runFit(gsa);
}

bool OrvaneFrmSpectroscopicCalculation::runFit(OrvaneGSA* gsa)
{
    // Asked last, once every check has passed: a fit the user lets start
    // replaces the report when it finishes, as a direct run does.
    if (!OrvaneUnsavedNotice::askReplace(this, omegaFile, replaceQuestion(omegaFile)))
        return false;
    // Either fit can fail in the engine: both say why.
    connect(gsa, &OrvaneGSA::errorOmegaCalculation, this, &OrvaneFrmSpectroscopicCalculation::errorOmegaCalculation);
    emit newObjCalculationMessage(QStringLiteral("-> Parametrization process started successfully."));
    return fitRunner->start(gsa, frmOmegaParametrization->ui.sbxPointsNumber->value() / 1000);
}

void OrvaneFrmSpectroscopicCalculation::errorOmegaCalculation(QString error)
{
    emit newObjCalculationMessage(QStringLiteral("-> ") + error);
    fitRunner->closeProgress();
    OrvaneDialogs::critical(this, tr("ORVANE Error"), error);
}

void OrvaneFrmSpectroscopicCalculation::threadAdjustOmegaTerminated()
{
    // The runner has closed the progress dialog.
    const OrvaneGSA::FitState state = fitRunner->endState();
    if (state == OrvaneGSA::FitState::Finished) {
        // How close the fit came is said wherever its end is.
        const OrvaneFitSummary summary = finishedFitSummary();
        emit newObjCalculationMessage(QStringLiteral("-> Parametrization process finished successfully."));
        if (!summary.isEmpty())
            emit newObjCalculationMessage(OrvaneFitEndMessage::statusLine(summary));
        loadFileInTab(omegaFile, 1);
        OrvaneFitEndMessage::showFinished(this, tr("The  parameterization of the intensity parameters has finished."),
                                          summary);
    } else if (state == OrvaneGSA::FitState::Stopped) {
        // Only a finished fit writes a report: the earlier one is still there.
        emit newObjCalculationMessage(QStringLiteral("-> Parametrization process was cancelled."));
        OrvaneDialogs::information(this, tr("ORVANE Information"),
                                   tr("The parameterization of the intensity parameters was cancelled; "
                                      "no new report was written."));
    } else if (!showUnwrittenFitReport()) {
        // The error slot has already said why.
        emit newObjCalculationMessage(QStringLiteral("-> Parametrization process failed; no new report was written."));
    }
}

OrvaneFitSummary OrvaneFrmSpectroscopicCalculation::finishedFitSummary() const
{
    const OrvaneAbstractParametric* problem = fitProblem();
    return problem ? problem->getFitSummary() : OrvaneFitSummary();
}

OrvaneAbstractParametric* OrvaneFrmSpectroscopicCalculation::fitProblem() const
{
    for (QObject* object : fitRunner->getFitObjects()) {
        if (auto* problem = qobject_cast<OrvaneAbstractParametric*>(object))
            return problem;
    }
    return nullptr;
}

bool OrvaneFrmSpectroscopicCalculation::showUnwrittenFitReport()
{
    const OrvaneAbstractParametric* problem = fitProblem();
    const QString report = problem ? problem->getUnwrittenReport() : QString();
    if (report.isEmpty())
        return false;
    // The error slot has shown the reason; the fitted values stay on screen.
    showInReportTab(report);
    markReportUnsaved(problem->getLastError());
    emit newObjCalculationMessage(QStringLiteral("-> Parametrization process finished, but its report could not be "
                                                 "written; it is shown in the output tab."));
    const OrvaneFitSummary summary = problem->getFitSummary();
    if (!summary.isEmpty())
        emit newObjCalculationMessage(OrvaneFitEndMessage::statusLine(summary));
    return true;
}

void OrvaneFrmSpectroscopicCalculation::cancelParametrization()
{
    fitRunner->cancel();
}

OrvaneFrmSpectroscopicCalculation::FitPhase OrvaneFrmSpectroscopicCalculation::getFitPhase() const
{
    return fitRunner && fitRunner->getPhase() != OrvaneFitRunner::Phase::Idle ? FitPhase::Running : FitPhase::Idle;
}
