#include "orvaneparametricqdc.h"

#include "orvaneeu3model.h"
#include "orvaneindicescalculation.h"
#include "orvaneinputdata.h"
#include "orvaneomega.h"

#include <QFile>
#include <QTextStream>

#include <limits>

namespace {

QString noFitNoteText()
{
    return QStringLiteral("No point of the fit kept Q, D, C and every charge factor and polarizability "
                          "within their bounds, so no QDC parameters were fitted.");
}

} // namespace

OrvaneParametricQDC::OrvaneParametricQDC(QObject* parent, const QString& fileName, const int& inputType)
    : OrvaneAbstractParametric(parent)
    , fileNameMopacOutputFile(fileName)
    , inputType(inputType)
{
    OrvaneInputData structure(nullptr, fileName);
    if (!structure.readMopacOutFile(true)) {
        omegaError = structure.getLastError();
        if (omegaError.isEmpty())
            omegaError = QStringLiteral("The MOPAC output %1 could not be read.").arg(fileName);
        lastError = omegaError;
        return;
    }
    atomLabels.append(QString());
    for (int i = 1; i <= structure.getAtomsNumber(); ++i)
        atomLabels.append(structure.getAtomLabel(i));

    omegaCalc = new OrvaneOmega(nullptr, inputType, fileName, QString());
    omegaError = omegaCalc->getLastError();
    lastError = omegaError;
}

OrvaneParametricQDC::~OrvaneParametricQDC()
{
    delete omegaCalc;
}

void OrvaneParametricQDC::setSuperDeslocalizability(OrvaneIndicesCalculation* indicesObject)
{
    indices = indicesObject;
    preparedCoordNumber = -1;
}

void OrvaneParametricQDC::setOmegaExp(const double& omega2, const double& omega4)
{
    omega2Exp = omega2;
    omega4Exp = omega4;
}

bool OrvaneParametricQDC::prepare()
{
    if (preparedCoordNumber == coordNumber && preparedIndices == indices)
        return true;
    if (!indices) {
        lastError = QStringLiteral("The QDC fit has no atomic charges and superdelocalizabilities: the "
                                   "reactivity indices were not given.");
        return false;
    }
    if (coordNumber < 1 || coordNumber > OrvaneEu3Model::maxCoordNumber) {
        lastError = QStringLiteral("The number of coordinating atoms must lie between 1 and %1, not %2.")
                        .arg(OrvaneEu3Model::maxCoordNumber)
                        .arg(coordNumber);
        return false;
    }
    if (coordNumber + 1 >= atomLabels.size()) {
        lastError = QStringLiteral("The structure has %1 atoms, too few for %2 coordinating atoms.")
                        .arg(atomLabels.size() - 1)
                        .arg(coordNumber);
        return false;
    }
    const int available = std::min(indices->getAtomicCharge().size(), indices->getSuperDeslocalizability().size());
    if (available < coordNumber + 2) {
        lastError = QStringLiteral("The reactivity indices cover atoms up to %1, but the fit needs atoms 2 to %2.")
                        .arg(available - 1)
                        .arg(coordNumber + 1);
        return false;
    }
    point.clear();
    for (int atom = 2; atom <= coordNumber + 1; ++atom)
        point.bounds[atom] = OrvaneFitBounds::qdcFit(atomLabels.at(atom), atom > 2 ? &point.bounds[atom - 1] : nullptr);
    preparedCoordNumber = coordNumber;
    preparedIndices = indices;
    return true;
}

void OrvaneParametricQDC::fillArrays(const ParametersQDC& p, OrvaneFitPoint::AtomValues& g,
    OrvaneFitPoint::AtomValues& a, OrvaneFitPoint::AtomValues& aUnits) const
{
    for (int atom = 2; atom <= coordNumber + 1; ++atom) {
        const double charge = indices->getAtomicCharge(atom);
        const double s = indices->getSuperDeslocalizability(atom);
        g[atom] = charge * p.Q;
        a[atom] = s * p.D * 1e-24 + p.C * 1e-24;
        aUnits[atom] = s * p.D + p.C;
    }
}

bool OrvaneParametricQDC::checkParameters(const ParametersQDC& p) const
{
    // Written so that a NaN parameter fails too.
    if (!(p.C >= 0.0) || !(p.D >= 0.0))
        return false;
    if (restrictionActive && !(p.D > restrictionValue * p.C))
        return false;
    return point.withinBounds(coordNumber);
}

bool OrvaneParametricQDC::runParametrization(const int& n, double*& x)
{
    OrvaneAbstractParametric::runParametrization(n, x);
    responseFunction = penaltyResponse;
    if (!omegaError.isEmpty()) {
        lastError = omegaError;
        return false;
    }
    if (!prepare())
        return false;
    if (n != 3 || !x) {
        lastError = QStringLiteral("The QDC fit needs the 3 parameters Q, D and C, not %1.").arg(n);
        return false;
    }

    const ParametersQDC p {x[0], x[1], x[2]};
    fillArrays(p, point.chargeFactor, point.alpha, point.alphaUnits);
    if (!bestStarted) {
        // The best point starts at the first point evaluated, the start vector.
        bestParameters = p;
        bestStarted = true;
    }
    if (!checkParameters(p))
        return true;

    if (!point.evaluate(*omegaCalc, coordNumber, refractiveIndex, omegaPrintingOptions)) {
        lastError = omegaCalc->getLastError();
        return false;
    }
    const double d2 = (omega2Exp - omegaCalc->getOmega(2)) * 1e20;
    const double d4 = (omega4Exp - omegaCalc->getOmega(4)) * 1e20;
    const double o6 = omegaCalc->getOmega(6) * 1e20;
    responseFunction = d2 * d2 + d4 * d4 + o6 * o6;

    if (pointNumber > 100000 && restrictionActive)
        restrictionActive = false;
    const double previousBest = bestResponse;
    if (keepIfBest(responseFunction)) {
        if (previousBest - responseFunction < 1e-5 && restrictionActive)
            restrictionActive = false;
        bestParameters = p;
    }
    return true;
}

void OrvaneParametricQDC::forgetEarlierFit()
{
    bestParameters = ParametersQDC {};
    bestStarted = false;
}

void OrvaneParametricQDC::endOfParametrization()
{
    fitSummary.clear();
    if (!hasBestPoint()) {
        endWithoutReport(noFitNoteText(), true);
        return;
    }

    OrvaneFitPoint::AtomValues g {};
    OrvaneFitPoint::AtomValues a {};
    OrvaneFitPoint::AtomValues aUnits {};
    fillArrays(bestParameters, g, a, aUnits);

    OrvaneOmega report(nullptr, inputType, fileNameMopacOutputFile, QString());
    if (!report.getLastError().isEmpty()) {
        endWithoutReport(report.getLastError());
        return;
    }
    OrvaneFitPoint::prepare(report, g, a, coordNumber, refractiveIndex, omegaPrintingOptions);
    report.setParametersQDC(bestParameters.Q, bestParameters.D, bestParameters.C);
    report.setAtomicCharges(indices->getAtomicCharge());
    report.setSuperDeslocalizability(indices->getSuperDeslocalizability());
    report.setLigandAtomsByLigandVector(ligandAtoms);
    // The form's text stays as given: a second end must not head it twice.
    const QString citations = citationsWithMopac(report.getMopacCitation());
    if (!report.calcOmega()) {
        endWithoutReport(report.getLastError());
        return;
    }
    fitSummary = OrvaneFitPoint::intensitySummary(omega2Exp, omega4Exp, report);
    // Q, D and C are bounded through the charge factors and polarizabilities
    // they give each donor, and D and C from below by 0.
    const double inf = std::numeric_limits<double>::infinity();
    fitSummary.addParameter(QStringLiteral("D"), bestParameters.D, 0.0, inf);
    fitSummary.addParameter(QStringLiteral("C"), bestParameters.C, 0.0, inf);
    for (int atom = 2; atom <= coordNumber + 1; ++atom) {
        const OrvaneFitBounds::Bounds& b = point.bounds[atom];
        const QString donor = QStringLiteral("atom %1 (%2)").arg(atom).arg(atomLabels.value(atom));
        fitSummary.addParameter(QStringLiteral("g of ") + donor, g[atom], b.gLower, b.gUpper);
        fitSummary.addParameter(QStringLiteral("alpha of ") + donor, aUnits[atom], b.alphaLower, b.alphaUpper);
    }
    OrvaneFitPoint::setReportSection(report, fitSummary);
    report.setRequiredCitations(citations);
    const QString text = report.createOutFile(QString());
    if (text.isEmpty()) {
        // Inputs the report cannot print.
        endWithoutReport(report.getLastError());
        return;
    }
    writeReport(fileNameOmg, text);
}

double OrvaneParametricQDC::getChargeFactor(const int& atom) const
{
    return OrvaneFitPoint::at(point.chargeFactor, atom);
}

double OrvaneParametricQDC::getAlpha(const int& atom) const
{
    return OrvaneFitPoint::at(point.alpha, atom);
}
