#include "orvaneomegaexp.h"

#include "orvaneeu3model.h"
#include "orvanefixedcolumns.h"
#include "orvaneinputdata.h"
#include "orvaneomegaexpreportlines.h"
#include "orvanereportfile.h"

#include <cmath>

namespace Col = OrvaneColumns;

namespace {

// Literal constants of the published method; results are compared with
// published numbers, so they stay exactly as they are.
constexpr double magneticDipoleFactor = 0.31 * 1e-11;
constexpr double speedOfLight = 2.99792458e10;  // cm/s
constexpr double twoPi = 2.0 * OrvaneEu3Model::pi;
constexpr double threeHbar = 3.163715178e-27;    // erg s
constexpr double electronCharge = OrvaneEu3Model::elementaryCharge;
constexpr double reducedElementU2 = 0.0032;
constexpr double reducedElementU4 = 0.0023;

} // namespace

OrvaneOmegaExp::OrvaneOmegaExp(QObject* parent, const double& refractiveIndex)
    : OrvaneAbstractObjCalculation(parent)
    , refractiveIndex(refractiveIndex)
{
}

void OrvaneOmegaExp::setAreaOfTransition(const double& a0, const double& a1, const double& a2,
                                         const double& a3, const double& a4, const double& a5)
{
    const double values[6] = {a0, a1, a2, a3, a4, a5};
    std::copy(values, values + 6, area);
}

void OrvaneOmegaExp::setBarycenterOfEnergy(const double& e0, const double& e1, const double& e2,
                                           const double& e3, const double& e4, const double& e5)
{
    const double values[6] = {e0, e1, e2, e3, e4, e5};
    std::copy(values, values + 6, barycenter);
}

bool OrvaneOmegaExp::calcOmegaExp()
{
    refused = true;
    lastError.clear();
    // The formulas divide by the 7F1 area and by the barycentre of every band
    // that has an area (7F2 and 7F4 always): refuse instead of printing inf.
    if (area[1] == 0.0) {
        lastError = QStringLiteral("The area of the 5D0 -> 7F1 transition is zero: it is the reference "
                                   "of every other transition and must be given.");
        return false;
    }
    for (int j = 0; j < 6; ++j) {
        // A band measured upside down or with no intensity gives a negative
        // area or a barycentre that is no wavenumber: refuse, not a wrong Omega.
        if (!std::isfinite(area[j]) || area[j] < 0.0) {
            lastError = QStringLiteral("The area of the 5D0 -> 7F%1 transition is not a positive number (%2).")
                            .arg(j)
                            .arg(area[j]);
            return false;
        }
        const bool divides = j == 1 || j == 2 || j == 4 || area[j] != 0.0;
        if (divides && barycenter[j] == 0.0) {
            lastError = QStringLiteral("The barycenter of the 5D0 -> 7F%1 transition is zero.").arg(j);
            return false;
        }
        if (divides && !(std::isfinite(barycenter[j]) && barycenter[j] > 0.0)) {
            lastError = QStringLiteral("The barycenter of the 5D0 -> 7F%1 transition is not a positive "
                                       "wavenumber (%2 cm^-1).")
                            .arg(j)
                            .arg(barycenter[j]);
            return false;
        }
    }

    const double n = refractiveIndex;
    double rate[6] = {0, 0, 0, 0, 0, 0};
    rate[1] = magneticDipoleFactor * n * n * n * barycenter[1] * barycenter[1] * barycenter[1];
    for (int j : {0, 3, 5})
        rate[j] = area[j] == 0.0 ? 0.0 : (area[j] / area[1]) * rate[1] * (barycenter[1] / barycenter[j]);
    for (int j : {2, 4})
        rate[j] = (area[j] / area[1]) * rate[1] * (barycenter[1] / barycenter[j]);

    const double chi = n * (n * n + 2) * (n * n + 2) / 9.0;
    const double c3 = speedOfLight * speedOfLight * speedOfLight;
    const double e2 = electronCharge * electronCharge;
    auto omega = [&](int j, double reducedElement) {
        const double angular = twoPi * speedOfLight * barycenter[j];
        return threeHbar * c3 * rate[j] / (4.0 * e2 * angular * angular * angular * chi * reducedElement);
    };
    omega2Exp = omega(2, reducedElementU2);
    omega4Exp = omega(4, reducedElementU4);
    aradExp = rate[1] + rate[0] + rate[2] + rate[3] + rate[4] + rate[5];
    r02 = area[2] != 0.0 ? 178305.0 / area[2] : 0.0;
    if (!std::isfinite(omega2Exp) || !std::isfinite(omega4Exp) || !std::isfinite(aradExp)) {
        lastError = QStringLiteral("The areas, barycentres and refractive index (%1) give intensity parameters or "
                                   "a radiative rate that are not finite numbers.")
                        .arg(refractiveIndex);
        return false;
    }
    refused = false;
    return true;
}

QString OrvaneOmegaExp::createOutputFile(const QString& name)
{
    // A report of zeros would read as a measurement: after a refused
    // calculation nothing is written, and the refusal keeps its reason.
    if (refused)
        return QString();
    lastError.clear();
    const QChar nl = QLatin1Char('\n');
    QString text = OrvaneInputData::ORVANETitle + QStringLiteral("\n\n\n");
    text += QStringLiteral(" The data shown below were calculated from the file: \n    ") + fileName
        + QStringLiteral("\n\n\n");
    text += QStringLiteral(" Refractive Index of the Medium Used: ") + Col::fixed(3, refractiveIndex)
        + QStringLiteral("\n\n");

    const QString dashes79(79, QLatin1Char('-'));
    text += dashes79 + QStringLiteral("\nBarycenter of Energy of the 5D0 -> 7F1, 5D0 -> 7F2, and 5D0 -> 7F4 "
                                      "Transitions \n")
        + dashes79 + QStringLiteral("\n\n");
    for (int j = 0; j < 6; ++j)
        text += QStringLiteral("    Sigma(5D0 -> 7F%1) = ").arg(j) + Col::fixed(2, barycenter[j])
            + QStringLiteral(" cm^-1\n");
    text += nl;

    const QString dashes72(72, QLatin1Char('-'));
    text += dashes72 + QStringLiteral("\nAreas Related to the 5D0 -> 7F1, 5D0 -> 7F2, and 5D0 -> 7F4 "
                                      "Transitions \n")
        + dashes72 + QStringLiteral("\n\n");
    for (int j = 0; j < 6; ++j)
        text += QStringLiteral("    5D0 -> 7F%1 = ").arg(j) + Col::fixed(4, area[j]) + nl;
    text += nl;
    text += QStringLiteral("    Intensity Ratio I(5D0 -> 7F2) / I(5D0 -> 7F1) = ")
        + Col::fixed(2, area[1] != 0.0 ? area[2] / area[1] : 0.0) + QStringLiteral("\n\n");

    const QString dashes61(61, QLatin1Char('-'));
    text += dashes61 + QStringLiteral("\n Experimental Judd-Ofelt Intensity Parameters [omega(l)] and \n"
                                      " Radiative Emission Rates (Arad)                             \n")
        + dashes61 + QStringLiteral("\n\n");
    // The calculation form reads these lines and the lifetime line back
    // (OrvaneOmegaExpReport::readOmegas, readLifeTime).
    text += OrvaneOmegaExpReport::omegaLine(2, omega2Exp * 1e20);
    text += OrvaneOmegaExpReport::omegaLine(4, omega4Exp * 1e20) + QStringLiteral("\n\n");
    text += QStringLiteral("    Arad = ") + Col::fixed(2, aradExp) + QStringLiteral(" s^-1\n\n");

    if (lifeTime > 0.0) {
        const QString dashes51(51, QLatin1Char('-'));
        text += dashes51 + QStringLiteral("\nExperimental Nonradiative Decay Rates (Anrad) and  \n"
                                          "Quantum Efficiency                                 \n")
            + dashes51 + QStringLiteral("\n\n");
        text += OrvaneOmegaExpReport::lifeTimeLine(lifeTime) + QLatin1Char('\n');
        const double anrad = 1.0 / (lifeTime * 0.001) - aradExp;
        if (!std::isfinite(anrad) || !std::isfinite(aradExp / (anrad + aradExp))) {
            lastError = QStringLiteral("The lifetime %1 ms gives a nonradiative rate or an efficiency that is not a "
                                       "finite number: no report was written.")
                            .arg(lifeTime);
            return QString();
        }
        text += QStringLiteral("    Anrad = ") + Col::fixed(2, anrad) + QStringLiteral(" s^-1\n\n");
        if (anrad < 0.0)
            text += QStringLiteral("    Warning: the lifetime is longer than 1/Arad, so Anrad is negative "
                                   "and the efficiency exceeds 100 %.\n\n");
        text += QStringLiteral("    Quantum Efficiency = ") + Col::fixed(2, 100.0 * aradExp / (anrad + aradExp))
            + QStringLiteral(" %\n");
    }

    if (name.isEmpty())
        return text;
    QString reason;
    if (!OrvaneReportFile::write(name, text, reason))
        lastError = reason;
    return QString();
}
