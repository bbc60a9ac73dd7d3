#include "orvanefitpoint.h"

#include "orvaneomega.h"

void OrvaneFitPoint::clear()
{
    chargeFactor.fill(0.0);
    alpha.fill(0.0);
    alphaUnits.fill(0.0);
    bounds.fill(OrvaneFitBounds::Bounds {});
}

bool OrvaneFitPoint::withinBounds(int coordNumber) const
{
    for (int atom = 2; atom <= coordNumber + 1; ++atom) {
        if (!OrvaneFitBounds::within(bounds[atom], chargeFactor[atom], alphaUnits[atom]))
            return false;
    }
    return true;
}

double OrvaneFitPoint::at(const AtomValues& values, int atom)
{
    return atom >= 0 && atom < OrvaneEu3Model::atomArraySize ? values[atom] : 0.0;
}

void OrvaneFitPoint::prepare(OrvaneOmega& omega, AtomValues& g, AtomValues& alphaValues, int coordNumber,
                             double refractiveIndex, const OmegaPrintingOptions& options)
{
    double* gPointer = g.data();
    double* alphaPointer = alphaValues.data();
    omega.setRefractiveIndex(refractiveIndex);
    omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
    omega.setCoordNumber(coordNumber);
    omega.setOmegaPrintingOptions(options);
}

bool OrvaneFitPoint::evaluate(OrvaneOmega& omega, AtomValues& g, AtomValues& alphaValues, int coordNumber,
                              double refractiveIndex, const OmegaPrintingOptions& options)
{
    prepare(omega, g, alphaValues, coordNumber, refractiveIndex, options);
    return omega.calcOmega();
}

bool OrvaneFitPoint::evaluate(OrvaneOmega& omega, int coordNumber, double refractiveIndex,
                              const OmegaPrintingOptions& options)
{
    return evaluate(omega, chargeFactor, alpha, coordNumber, refractiveIndex, options);
}

OrvaneFitSummary OrvaneFitPoint::intensitySummary(const double& omega2Exp, const double& omega4Exp,
                                                  const OrvaneOmega& omega)
{
    OrvaneFitSummary summary(QStringLiteral(" x 10^-20 cm^2"));
    summary.addTarget(QStringLiteral("Omega2"), omega2Exp * 1e20, omega.getOmega(2) * 1e20);
    summary.addTarget(QStringLiteral("Omega4"), omega4Exp * 1e20, omega.getOmega(4) * 1e20);
    return summary;
}

void OrvaneFitPoint::setReportSection(OrvaneOmega& omega, const OrvaneFitSummary& summary)
{
    omega.setFitSection(summary.reportSection(QStringLiteral("Fit to the experimental intensity parameters")));
}
