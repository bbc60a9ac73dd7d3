#include "orvaneioniontransfer.h"

#include "orvaneeu3model.h"
#include "orvanetransferconstants.h"

#include <cmath>

namespace OrvaneIonIonTransfer {

namespace {

using namespace OrvaneTransferConstants;

// Literal constants of the published method, kept as printed there.
constexpr double fourPiOverThreeHbar = 3.9720296889380734e27;
// 2 pi / hbar x 14 / 5, the angular factor of the quadrupole-quadrupole term.
constexpr double quadrupoleQuadrupolePrefactor = 1.6682524693539906e28;
// Dipole strength of the 4f-4f transitions, cm^2 (Omega of 1e-20 cm^2).
constexpr double dipoleStrength = 1e-20;
// 4f-4f overlap of two ions: amplitude and decay length (Angstrom).
constexpr double overlapAmplitude = 311.3216;
constexpr double overlapDecay = 0.26226;

double degeneracy(const int& donorJ, const int& acceptorJ)
{
    return double(2 * donorJ + 1) * double(2 * acceptorJ + 1);
}

// <f||C(2)||f>, the same for every 4f ion.
const double racahC2 = OrvaneEu3Model::racahTensor(2);

double fourthPowerOfCharge()
{
    return OrvaneEu3Model::elementaryChargeSquared * OrvaneEu3Model::elementaryChargeSquared;
}

} // namespace

IonConstants ionConstants(const QString& symbol, const int& J, const double& halfWidthEu, const double& halfWidthTb)
{
    const double a2 = OrvaneEu3Model::bohrRadius * OrvaneEu3Model::bohrRadius;
    IonConstants ion;
    if (symbol == QLatin1String("Eu")) {
        ion.halfWidth = halfWidthEu;
        ion.shieldingDipole = 0.8;
        ion.shieldingQuadrupole = 0.502;
        ion.radialIntegral2 = 0.9175 * a2;
        ion.u2 = J == 0 ? 0.0032 : J == 1 ? 0.0038 : 0.0;
    } else if (symbol == QLatin1String("Tb")) {
        ion.halfWidth = halfWidthTb;
        ion.shieldingDipole = 0.8;
        ion.shieldingQuadrupole = 0.486;
        ion.radialIntegral2 = 0.822 * a2;
        ion.u2 = J == 4 ? 0.0009 : 0.0;
    }
    return ion;
}

double energyMismatch(const QString& donor, const QString& acceptor, const int& donorJ, const int& acceptorJ)
{
    const bool tbEu = (donor == QLatin1String("Tb") && acceptor == QLatin1String("Eu"))
        || (donor == QLatin1String("Eu") && acceptor == QLatin1String("Tb"));
    if (!tbEu || donorJ != 4)
        return 0.0;
    if (acceptorJ == 0)
        return 3275.0;
    if (acceptorJ == 1)
        return 1541.0;
    return 0.0;
}

double overlapFactor(const double& delta, const double& gammaD, const double& gammaA)
{
    const double width = 1.0 / (gammaD * gammaD) + 1.0 / (gammaA * gammaA);
    const double linear = 2.0 * ln2 * delta / (gammaD * gammaD);
    const double ratio = delta / gammaD;
    const double exponent = linear * linear / (4.0 * ln2 * width) - ln2 * ratio * ratio;
    return cmToInverseErg * (ln2 / std::sqrt(pi)) / (gammaD * gammaA) / std::sqrt(ln2 * width) * std::exp(exponent);
}

double rateDipoleDipole(const double& F, const double& sigmaD, const double& sigmaA, const int& donorJ,
                        const int& acceptorJ, const double& Rc)
{
    const double screenD = 1.0 - sigmaD;
    const double screenA = 1.0 - sigmaA;
    return F * screenD * screenD * screenA * screenA / degeneracy(donorJ, acceptorJ) * fourPiOverThreeHbar
        * fourthPowerOfCharge() / std::pow(Rc, 6) * dipoleStrength * dipoleStrength;
}

double rateQuadrupoleQuadrupole(const double& F, const double& sigmaQD, const double& sigmaQA, const int& donorJ,
                                const int& acceptorJ, const double& Rc, const double& r2D, const double& r2A,
                                const double& u2D, const double& u2A)
{
    const double screenD = 1.0 - sigmaQD;
    const double screenA = 1.0 - sigmaQA;
    const double c2 = racahC2 * racahC2;
    return F * screenD * screenD * screenA * screenA / degeneracy(donorJ, acceptorJ) * quadrupoleQuadrupolePrefactor
        * fourthPowerOfCharge() / std::pow(Rc, 10) * r2D * r2D * r2A * r2A * c2 * c2 * u2D * u2A;
}

double rateDipoleQuadrupole(const double& F, const double& sigmaD, const double& sigmaQA, const int& donorJ,
                            const int& acceptorJ, const double& Rc, const double& r2A, const double& u2A)
{
    const double screenD = 1.0 - sigmaD;
    const double screenA = 1.0 - sigmaQA;
    return F * screenD * screenD * screenA * screenA / degeneracy(donorJ, acceptorJ) * twoPiOverHbar
        * fourthPowerOfCharge() / std::pow(Rc, 8) * dipoleStrength * r2A * r2A * racahC2 * racahC2 * u2A;
}

double overlap4f4f(const double& angstrom)
{
    return overlapAmplitude * std::exp(-angstrom / overlapDecay);
}

double rateExchange(const double& F, const double& angstrom)
{
    const double Rc = angstrom * OrvaneEu3Model::angstromToCm;
    const double overlap = overlap4f4f(angstrom);
    const double X = OrvaneEu3Model::elementaryChargeSquared / Rc * overlap * overlap;
    return twoPiOverHbar * X * X * F;
}

Rates transferRates(const IonConstants& donor, const int& donorJ, const IonConstants& acceptor, const int& acceptorJ,
                    const double& delta, const double& angstrom)
{
    const double F = overlapFactor(delta, donor.halfWidth, acceptor.halfWidth);
    const double Rc = angstrom * OrvaneEu3Model::angstromToCm;
    Rates rates;
    rates.dd = rateDipoleDipole(F, donor.shieldingDipole, acceptor.shieldingDipole, donorJ, acceptorJ, Rc);
    rates.qq = rateQuadrupoleQuadrupole(F, donor.shieldingQuadrupole, acceptor.shieldingQuadrupole, donorJ,
                                        acceptorJ, Rc, donor.radialIntegral2, acceptor.radialIntegral2, donor.u2,
                                        acceptor.u2);
    rates.dq = rateDipoleQuadrupole(F, donor.shieldingDipole, acceptor.shieldingQuadrupole, donorJ, acceptorJ, Rc,
                                    acceptor.radialIntegral2, acceptor.u2);
    rates.ex = rateExchange(F, angstrom);
    return rates;
}

} // namespace OrvaneIonIonTransfer
