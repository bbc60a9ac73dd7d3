#include "orvanespectroscopiccalculation.h"

#include "orvaneeu3model.h"
#include "orvaneinputdata.h"
#include "orvaneioniontransfer.h"
#include "orvaneomega.h"
#include "orvanerateequations.h"
#include "orvanerl.h"
#include "orvanetransferconstants.h"

#include <algorithm>
#include <cmath>

namespace Eu3 = OrvaneEu3Model;

namespace {

using namespace OrvaneTransferConstants;

// Literal constants of the published method; results are compared with
// published numbers, so they stay exactly as they are printed there.
constexpr double threeH = 1.987820871e-26;                // erg s
constexpr double electronCharge = OrvaneEu3Model::elementaryCharge;
constexpr double electronChargeSquared = OrvaneEu3Model::elementaryChargeSquared;
constexpr double magneticDipoleStrength = 9.6e-42;
constexpr double magneticDipoleEnergy = 16921.0;          // cm-1
constexpr double lightSpeed = 2.99792458e10;               // cm/s
constexpr double inverseLightSpeed = 3.3358947250164996e-11;
constexpr double lawOneThird = 0.333333333333333;
constexpr double lawPrefactor = 5154.349;
constexpr double lawSlope = 0.0016612880289000001;
constexpr double lawOffset = 122.6328568073266;
constexpr double ln2OverPi = 0.22063560015263695;
constexpr double e2Times1e35 = 2.307077352370616e-54;     // e^2 x 1e-35
constexpr double fourPiOverHbar = 1.1916089066814218e28;
constexpr double eightPiOverThreeHbar = 7.944059377876147e27;
constexpr double hc = 1.9864456845196332e-16;              // erg cm
constexpr double minusKT = -4.1419464000000004e-14;        // erg, 300 K

// Fixed rates of the kinetic schemes, s-1.
constexpr double excitationRate = 1e4;
constexpr double singletDecay = 1e6;
constexpr double intersystemCrossing = 1e8;
constexpr double tripletDecay = 1e5;
constexpr double tripletDecayTwoTriplets = 1e6;
constexpr double tripletToTriplet = 1e8;
constexpr double levelCascade = 1e6;

// Acceptor levels of Eu(III) above 7F0: energy, mechanism, squared reduced
// matrix elements of U(lambda) from 7F0 (by lambda), J, exchange factor X.
struct Acceptor {
    double energy;
    bool multipolar;
    double u2[7];
    int J;
    double X;
};
constexpr Acceptor acceptors[5] = {
    {27586.0, true, {0, 0, 0, 0, 0.0011, 0, 0}, 4, 0.0},   // 5D4
    {26752.0, true, {0, 0, 0, 0, 0, 0, 0.0037}, 6, 0.0},   // 5G6
    {25325.0, true, {0, 0, 0, 0, 0, 0, 0.0153}, 6, 0.0},   // 5L6
    {19027.0, false, {0, 0, 0, 0, 0, 0, 0}, 1, 0.25},      // 5D1
    {17293.0, false, {0, 0, 0, 0, 0, 0, 0}, 0, 0.2},       // 5D0
};

const Acceptor& acceptorOf(int channel)
{
    return acceptors[channel == OrvaneSpectroscopicCalculation::upperTripletChannel ? 0 : channel % 10];
}

QString rate(double value)
{
    return QString::number(value, 'e', 2);
}

} // namespace

OrvaneSpectroscopicCalculation::OrvaneSpectroscopicCalculation(QObject* parent, const int& omegaInputType,
                                                               const int& rlProgram, const QString& omegaInputFile,
                                                               const QString& forceConstantFile,
                                                               const QString& rlInputFile, const int& tripletLevel,
                                                               const int& singletLevel)
    : OrvaneAbstractObjCalculation(parent)
    , omegaInputFile(omegaInputFile)
    , forceConstantFile(forceConstantFile)
    , rlInputFile(rlInputFile)
    , tripletLevel(tripletLevel)
    , singletLevel(singletLevel)
    , rlProgram(rlProgram)
    , omegaInputType(omegaInputType)
{
    energyTransferChannels.singlet5D4 = true;
    energyTransferChannels.triplet5D1 = true;
    energyTransferChannels.triplet5D0 = true;
    initializeParameters();

    if (!forceConstantFile.isEmpty()) {
        omegaCalc.reset(new OrvaneOmega(nullptr, omegaInputType, omegaInputFile, forceConstantFile));
        if (!omegaCalc->getLastError().isEmpty()) {
            lastError = setupError = omegaCalc->getLastError();
            return;
        }
        // The intensity object's own run covers no donor, since it is not told
        // the coordination number: take it from the geometry, as the
        // calculation form does, and compute again with the charge factors and
        // polarizabilities that the force constants give.
        const int donors = coordinationNumber(*omegaCalc->getInputData());
        if (donors == 0) {
            lastError = setupError = QStringLiteral("No atom coordinated to the Eu ion was found in the file: \n")
                + omegaInputFile;
            return;
        }
        double* g = chargeFactors.data();
        double* alpha = polarizabilities.data();
        omegaCalc->setCoordNumber(donors);
        omegaCalc->setChargeFactorAndAlpha(g, alpha);
        if (!omegaCalc->calcOmega()) {
            lastError = setupError = omegaCalc->getLastError();
            return;
        }
        for (int l = 2; l <= 6; l += 2) {
            omega[l] = omegaCalc->getOmega(l);
            omegaED[l] = omegaCalc->getOmegaED(l);
        }
    }
    if (!rlInputFile.isEmpty()) {
        rl.reset(new OrvaneRL(nullptr, rlInputFile));
        if (!rl->calcRL(rlProgram)) {
            lastError = setupError = rl->getLastError();
            return;
        }
        minDistanceLnLigand = rl->getMinDistanceLnLigand();
        setDefaultLevels();
    }
}

OrvaneSpectroscopicCalculation::OrvaneSpectroscopicCalculation(QObject* parent)
    : OrvaneAbstractObjCalculation(parent)
{
    energyTransferChannels.singlet5D4 = true;
    energyTransferChannels.triplet5D1 = true;
    energyTransferChannels.triplet5D0 = true;
    initializeParameters();
    for (int l = 2; l <= 6; l += 2)
        omegaED[l] = 1e-20;
}

OrvaneSpectroscopicCalculation::~OrvaneSpectroscopicCalculation() = default;

void OrvaneSpectroscopicCalculation::initializeParameters()
{
    lifeTime = 0.0;
    lifeTimeFromLaw = false;
    arad = 0.0;
    anrad = 0.0;
    considerTwoTriplets = false;
    for (int k = 2; k <= 6; k += 2) {
        racahTensor[k] = Eu3::racahTensor(k);
        radialIntegral[k] = Eu3::radialIntegral(k);
        shieldingFactor[k] = Eu3::shieldingFactor(k);
    }
    shieldingFactor[0] = 0.981;
    shieldingFactor[1] = 0.8;
}

// Level 0, or one not below the number of states of its own list, asks for
// the automatic choice: the lowest triplet (ZINDO lists its reference
// determinant first, so state 2 there) and the selected singlet of the file.
// A level asked for and replaced is noted, so that a run says what it used.
void OrvaneSpectroscopicCalculation::setDefaultLevels()
{
    const int selected = rl->getSelExcitateState();
    const bool zindo = rlProgram == OrvaneRL::Zindo;
    levelNotes.clear();
    auto choose = [&](int asked, int automatic, int states, const QString& kind) {
        const bool exists = asked > 0 && asked < states;
        const int chosen = !exists ? automatic : (zindo && asked < 2 ? 2 : asked);
        if (asked != 0 && chosen != asked) {
            const QString name = kind.at(0).toUpper() + kind.mid(1);
            const int count = states - 1;
            levelNotes << (exists ? QStringLiteral("%1 %2 of a ZINDO output is its reference determinant; %3 %4 "
                                                   "was used")
                                        .arg(name)
                                        .arg(asked)
                                        .arg(kind)
                                        .arg(chosen)
                                  : QStringLiteral("%1 %2 does not exist (%3 %4%5); %4 %6 was used")
                                        .arg(name)
                                        .arg(asked)
                                        .arg(count)
                                        .arg(kind, count == 1 ? QString() : QStringLiteral("s"))
                                        .arg(chosen));
        }
        return chosen;
    };
    tripletLevel = choose(tripletLevel, zindo ? 2 : 1, rl->getStatesNumber(), QStringLiteral("triplet"));
    singletLevel =
        choose(singletLevel, zindo ? selected + 1 : selected, rl->getSingletStatesNumber(), QStringLiteral("singlet"));
}

int OrvaneSpectroscopicCalculation::coordinationNumber(const OrvaneInputData& molecule)
{
    // Distances from the ion (atom 1) of every other atom but hydrogen; the
    // coordination shell ends at the first gap wider than 0.35 Angstrom.
    QVector<double> distances;
    const int atoms = std::min(molecule.getAtomsNumber(), int(molecule.coordSPH.size()));
    for (int i = 2; i <= atoms; ++i)
        if (molecule.getAtomLabel(i) != QLatin1String("H"))
            distances.append(molecule.getCoordSPH(i).r);
    return coordinationNumber(distances);
}

int OrvaneSpectroscopicCalculation::coordinationNumber(QVector<double> distances)
{
    std::sort(distances.begin(), distances.end());
    int count = 0;
    for (int k = 0; k < distances.size(); ++k) {
        ++count;
        if (k + 1 < distances.size() && distances.at(k + 1) - distances.at(k) > 0.35)
            break;
    }
    return count;
}

void OrvaneSpectroscopicCalculation::setOmegaValues(const double& omega2, const double& omega4, const double& omega6)
{
    omega[2] = omega2 * 1e-20;
    omega[4] = omega4 * 1e-20;
    omega[6] = omega6 * 1e-20;
}

void OrvaneSpectroscopicCalculation::setOmegaEdValues(const double& omegaEd2, const double& omegaEd4,
                                                      const double& omegaEd6)
{
    omegaED[2] = omegaEd2 * 1e-20;
    omegaED[4] = omegaEd4 * 1e-20;
    omegaED[6] = omegaEd6 * 1e-20;
}

void OrvaneSpectroscopicCalculation::setLifeTime(const double& seconds)
{
    lifeTime = seconds;
    lifeTimeFromLaw = false;
}

bool OrvaneSpectroscopicCalculation::refuseIfNotSetUp()
{
    if (setupError.isEmpty())
        return false;
    lastError = setupError;
    return true;
}

bool OrvaneSpectroscopicCalculation::calcArad()
{
    if (refuseIfNotSetUp())
        return false;
    const double n = refractiveIndex;
    if (!(n > 0.0)) {
        lastError = QStringLiteral("The refractive index must be positive (%1 given).").arg(n);
        return false;
    }
    if (lifeTime < 0.0) {
        lastError = QStringLiteral("The 5D0 lifetime must not be negative (%1 s given).").arg(lifeTime);
        return false;
    }
    branchingRatio.fill(0.0);
    const double chi = n * (n * n + 2.0) * (n * n + 2.0) / 9.0;
    const double pi4 = pi * pi * pi * pi;
    auto prefactor = [&](double sigma) { return 64.0 * pi4 * sigma * sigma * sigma / threeH; };
    const double e2 = electronCharge * electronCharge;

    aradMD = prefactor(magneticDipoleEnergy) * n * n * n * magneticDipoleStrength;
    arad02 = prefactor(16267.0) * chi * e2 * omega[2] * 0.0032;
    arad04 = prefactor(14470.0) * chi * e2 * omega[4] * 0.0023;
    arad06 = prefactor(12386.0) * chi * e2 * omega[6] * 0.0002;
    arad = arad02 + aradMD + arad04 + arad06;
    branchingRatio[1] = aradMD * 100.0 / arad;
    branchingRatio[2] = arad02 * 100.0 / arad;
    branchingRatio[4] = arad04 * 100.0 / arad;
    branchingRatio[6] = arad06 * 100.0 / arad;

    // A lifetime that the law derived earlier is no measurement: derive it again
    // from the new Arad instead of keeping a stale value.
    if (lifeTime == 0.0 || lifeTimeFromLaw)
        return calcAnrad(0.0);
    // A lifetime longer than 1/Arad gives a negative Anrad and an efficiency
    // above 100 %; they stay as computed (see getAnradWarning).
    anrad = 1.0 / lifeTime - arad;
    quantumEfficiency = arad / (anrad + arad) * 100.0;
    return true;
}

bool OrvaneSpectroscopicCalculation::calcAnrad(const double& radiative)
{
    if (refuseIfNotSetUp())
        return false;
    if (radiative < 0.0 || !std::isfinite(radiative)) {
        lastError = QStringLiteral("Arad must be a positive number (%1 s^-1 given).").arg(radiative);
        return false;
    }
    if (radiative != 0.0)
        arad = radiative;
    const double x = lightSpeed * lightSpeed * lightSpeed
        * (inverseLightSpeed * inverseLightSpeed * inverseLightSpeed * inverseLightSpeed) / (1e-9 * 1e-9)
        * (3.0 * 0.25 * arad);
    const double y = std::pow(x, lawOneThird);
    anrad = lawPrefactor * std::exp(-lawSlope * (y + lawOffset));
    quantumEfficiency = arad / (anrad + arad) * 100.0;
    lifeTime = 1.0 / (anrad + arad);
    lifeTimeFromLaw = true;
    return true;
}

QString OrvaneSpectroscopicCalculation::getAnradWarning() const
{
    if (!isLifeTimeMeasured() || anrad >= 0.0)
        return QString();
    return QStringLiteral("    Warning: the experimental lifetime (%1 ms) is longer than 1/Arad (%2 ms), so Anrad "
                          "is negative and the quantum efficiency exceeds 100 %.\n\n")
        .arg(QString::number(lifeTime * 1000.0, 'f', 4), QString::number(1000.0 / arad, 'f', 4));
}

double OrvaneSpectroscopicCalculation::F(const double& delta, const double& halfWidth)
{
    const double ratio = delta / halfWidth;
    return std::exp(-ln2 * ratio * ratio) * std::sqrt(ln2OverPi) / halfWidth * cmToInverseErg;
}

double OrvaneSpectroscopicCalculation::gama(const int& l, const double& R) const
{
    const double r = getRadialIntegral(l);
    const double c = getRacahTensor(l);
    const double screen = 1.0 - getShieldingFactor(l);
    const double power = std::pow(R, l + 2);
    return (l + 1) * r * r * c * c * screen * screen / (power * power);
}

double OrvaneSpectroscopicCalculation::WetDD(const double& delta, const int& J, const double& R, const double* U2,
                                             const int& G) const
{
    double sum = 0.0;
    for (int l = 2; l <= 6; l += 2)
        sum += U2[l] * omegaED[l];
    const double R6 = R * R * R * R * R * R;
    const double rate = F(delta, bandHalfWidth) * e2Times1e35 / ((2 * J + 1) * G * R6) * fourPiOverHbar;
    if (etModel == 0 || etModel == 1) {
        const double screen = 1.0 - shieldingFactor[1];
        return rate * screen * screen * sum;
    }
    return rate * sum;
}

double OrvaneSpectroscopicCalculation::WetDM(const double& delta, const int& J, const double& R, const double* U2,
                                             const int& G) const
{
    double sum = 0.0;
    for (int l = 2; l <= 6; l += 2)
        sum += U2[l] * gama(l, R);
    const double e2 = electronCharge * electronCharge;
    return F(delta, bandHalfWidth) * (e2 * 1e-35) / ((2 * J + 1) * G) * twoPiOverHbar * sum;
}

double OrvaneSpectroscopicCalculation::calcWetEX(const double& delta, const int& J, const double& X, const double& R,
                                                 const int& G) const
{
    const double R4 = R * R * R * R;
    if (etModel == 0 || etModel == 1) {
        const double rho = 0.05 * std::pow(minDistanceLnLigand * Eu3::angstromToCm / R, nOverlapIntegral);
        const double rhoK = etModel == 0 ? rho * rho : rho * rho * rho * rho;
        return F(delta, bandHalfWidth) * rhoK * electronChargeSquared / ((2 * J + 1) * R4) * eightPiOverThreeHbar
            * X * X * 1e-35;
    }
    if (etModel == 2) {
        const double screen = 1.0 - shieldingFactor[0];
        return F(delta, bandHalfWidth) * screen * screen * electronChargeSquared / ((2 * J + 1) * R4 * G)
            * eightPiOverThreeHbar * X * X * 1e-35;
    }
    return 0.0;
}

double OrvaneSpectroscopicCalculation::boltzmannFactor(const double& delta) const
{
    return std::exp(delta * hc / minusKT);
}

double OrvaneSpectroscopicCalculation::overlap4f4f(const double& R) const
{
    return OrvaneIonIonTransfer::overlap4f4f(R / Eu3::angstromToCm);
}

double OrvaneSpectroscopicCalculation::overlap4fLigand(const double& R0, const double& R) const
{
    return 0.05 * std::pow(R0 / R, nOverlapIntegral);
}

bool OrvaneSpectroscopicCalculation::isChannelEnabled(const int& i) const
{
    const EnergyTransferChannels& c = energyTransferChannels;
    switch (i) {
    case 0: return c.singlet5D4;
    case 1: return c.singlet5G6;
    case 2: return c.singlet5L6;
    case 3: return c.singlet5D1;
    case 4: return c.singlet5D0;
    case upperTripletChannel: return considerTwoTriplets;
    case 10: return c.triplet5D4;
    case 11: return c.triplet5G6;
    case 12: return c.triplet5L6;
    case 13: return c.triplet5D1;
    case 14: return c.triplet5D0;
    default: return false;
    }
}

double OrvaneSpectroscopicCalculation::getSingletRL() const
{
    return rl ? rl->getSingletRL(singletLevel) : 0.0;
}

double OrvaneSpectroscopicCalculation::getSingletEnergy() const
{
    return rl ? rl->getSingletEnergy(singletLevel) : 0.0;
}

double OrvaneSpectroscopicCalculation::getTripletRL() const
{
    return rl ? rl->getTripletRL(tripletLevel) : 0.0;
}

double OrvaneSpectroscopicCalculation::getTripletEnergy() const
{
    return rl ? rl->getTripletEnergy(tripletLevel) : 0.0;
}

double OrvaneSpectroscopicCalculation::getLowerTripletRL() const
{
    return rl ? rl->getTripletRL(2) : 0.0;
}

double OrvaneSpectroscopicCalculation::getLowerTripletEnergy() const
{
    return rl ? rl->getTripletEnergy(2) : 0.0;
}

bool OrvaneSpectroscopicCalculation::checkDonor(const QString& kind, const int& level, const int& statesRead,
                                                const double& rlValue)
{
    if (level < 1 || level > statesRead) {
        lastError = QStringLiteral("The chosen %1 state %2 is not among the %3 %1 states read from the file: \n")
                        .arg(kind)
                        .arg(level)
                        .arg(statesRead)
            + rlInputFile;
        return false;
    }
    if (!(rlValue > 0.0)) {
        lastError = QStringLiteral("The %1 state %2 reaches no orbital on the ligands (RL = 0), so no transfer rate "
                                   "can be computed from it; file: \n")
                        .arg(kind)
                        .arg(level)
            + rlInputFile;
        return false;
    }
    return true;
}

void OrvaneSpectroscopicCalculation::computeChannel(const int& index, const double& R, const int& G)
{
    const Acceptor& level = acceptorOf(index);
    const double delta = energyMismatch[index];
    const std::size_t i = std::size_t(index);
    if (level.multipolar) {
        wetMM[i] = WetDD(delta, level.J, R, level.u2, G) + WetDM(delta, level.J, R, level.u2, G);
        wbtMM[i] = wetMM[i] * boltzmannFactor(delta);
    } else {
        wetEX[i] = calcWetEX(delta, level.J, level.X, R, G);
        wbtEX[i] = wetEX[i] * boltzmannFactor(delta);
    }
}

bool OrvaneSpectroscopicCalculation::calcEnergyTransferRate()
{
    if (refuseIfNotSetUp())
        return false;
    if (!rl) {
        lastError = QStringLiteral("The energy transfer rates need the excited states of the ligands, but no "
                                   "ZINDO, ORCA or Gaussian output was given.");
        return false;
    }
    const int singlets = rl->singletRL.size() - 1;
    const int triplets = rl->tripletRL.size() - 1;
    bool singletUsed = false;
    bool tripletUsed = considerTwoTriplets;
    bool exchangeUsed = false;
    for (int i = 0; i < channelCount; ++i) {
        if (!isChannelEnabled(i))
            continue;
        singletUsed = singletUsed || i < 5;
        tripletUsed = tripletUsed || i >= tripletChannels;
        exchangeUsed = exchangeUsed || !acceptorOf(i).multipolar;
    }
    if (considerTwoTriplets && triplets < 2) {
        lastError = QStringLiteral("The two-triplet mode needs a second triplet state, but %1 triplet state(s) were "
                                   "read from the file: \n")
                        .arg(triplets)
            + rlInputFile;
        return false;
    }
    if (singletUsed && !checkDonor(QStringLiteral("singlet"), singletLevel, singlets, getSingletRL()))
        return false;
    if (tripletUsed && !checkDonor(QStringLiteral("triplet"), tripletLevel, triplets, getTripletRL()))
        return false;
    if (considerTwoTriplets && !checkDonor(QStringLiteral("triplet"), 2, triplets, getLowerTripletRL()))
        return false;
    if (exchangeUsed && (etModel == 0 || etModel == 1) && !(minDistanceLnLigand > 0.0)) {
        lastError = QStringLiteral("The exchange transfer of this model needs the shortest Eu-ligand distance, "
                                   "which the file does not give: \n")
            + rlInputFile;
        return false;
    }

    const double rS = getSingletRL() * Eu3::angstromToCm;
    const double eS = getSingletEnergy();
    // In two-triplet mode the chosen triplet is the upper one (channel 5 only)
    // and triplet state 2 the lower one, the donor of channels 10 to 14.
    const double rT = (considerTwoTriplets ? getLowerTripletRL() : getTripletRL()) * Eu3::angstromToCm;
    const double eT = considerTwoTriplets ? getLowerTripletEnergy() : getTripletEnergy();
    for (int k = 0; k < 5; ++k) {
        energyMismatch[std::size_t(k)] = eS - acceptors[k].energy;
        energyMismatch[std::size_t(tripletChannels + k)] = eT - acceptors[k].energy;
    }
    if (considerTwoTriplets)
        energyMismatch[upperTripletChannel] = getTripletEnergy() - acceptors[0].energy;

    for (int i = 0; i < channelCount; ++i) {
        if (!isChannelEnabled(i))
            continue; // a switched-off channel keeps what it held
        if (i < 5)
            computeChannel(i, rS, 1);
        else if (i == upperTripletChannel)
            computeChannel(i, getTripletRL() * Eu3::angstromToCm, 3);
        else
            computeChannel(i, rT, 3);
    }
    return true;
}

bool OrvaneSpectroscopicCalculation::calcEnergyTransferRate(const double& singletRL, const double& tripletRL,
                                                            const double& singletEnergy,
                                                            const double& tripletEnergy)
{
    if (refuseIfNotSetUp())
        return false;
    if (!(singletRL > 0.0) || !(tripletRL > 0.0)) {
        lastError = QStringLiteral("The RL values of the singlet and the triplet must be positive (%1 and %2 "
                                   "Angstrom given).")
                        .arg(singletRL)
                        .arg(tripletRL);
        return false;
    }
    if ((etModel == 0 || etModel == 1) && !(minDistanceLnLigand > 0.0)) {
        lastError = QStringLiteral("The exchange transfer of this model needs the shortest Eu-ligand distance: "
                                   "give it with setMinDistanceLnLigand or read an excited-state file.");
        return false;
    }
    for (int k : {0, 3, 4}) {
        energyMismatch[std::size_t(k)] = singletEnergy - acceptors[k].energy;
        energyMismatch[std::size_t(tripletChannels + k)] = tripletEnergy - acceptors[k].energy;
    }
    computeChannel(0, singletRL * Eu3::angstromToCm, 1);
    computeChannel(13, tripletRL * Eu3::angstromToCm, 3);
    computeChannel(14, tripletRL * Eu3::angstromToCm, 3);
    return true;
}

// Solves the scheme, stores its populations at their places and the yield
// from the radiative rate and the emitting state (the last one).
bool OrvaneSpectroscopicCalculation::solveAndStore(const Eigen::MatrixXd& rates, const int* placeOf,
                                                   const int& emitting, const double& radiative)
{
    Eigen::VectorXd x;
    QString reason;
    if (!OrvaneRateEquations::steadyStatePopulations(rates, x, reason)) {
        lastError = reason;
        return false;
    }
    for (Eigen::Index k = 0; k < x.size(); ++k)
        populations[std::size_t(placeOf[k])] = x(k);
    quantumYield = radiative * x(emitting) / (excitationRate * x(0)) * 100.0;
    return true;
}

bool OrvaneSpectroscopicCalculation::calcQuantumYieldNEW()
{
    if (refuseIfNotSetUp())
        return false;
    if (wetMM[0] == 0.0 && wetEX[13] == 0.0 && wetEX[14] == 0.0 && !calcEnergyTransferRate())
        return false;
    if (!calcArad())
        return false;

    enum { s0, s1, t, d4, g6, l6, d1, d0, count };
    Eigen::MatrixXd w = Eigen::MatrixXd::Zero(count, count);
    w(s0, s1) = excitationRate;
    w(s1, s0) = singletDecay;
    w(s1, t) = intersystemCrossing;
    w(t, s0) = tripletDecay;
    const int levels[5] = {d4, g6, l6, d1, d0};
    for (int k = 0; k < 5; ++k) {
        const std::size_t singletChannel = std::size_t(k);
        const std::size_t tripletChannel = std::size_t(tripletChannels + k);
        const bool multipolar = acceptors[k].multipolar;
        w(s1, levels[k]) = multipolar ? wetMM[singletChannel] : wetEX[singletChannel];
        w(t, levels[k]) = multipolar ? wetMM[tripletChannel] : wetEX[tripletChannel];
        w(levels[k], s1) = multipolar ? wbtMM[singletChannel] : wbtEX[singletChannel];
        w(levels[k], t) = multipolar ? wbtMM[tripletChannel] : wbtEX[tripletChannel];
    }
    w(d4, g6) = w(g6, l6) = w(l6, d1) = w(d1, d0) = levelCascade;
    w(d0, s0) = arad + anrad; // emission and non-radiative decay to the ground state

    const int placeOf[count] = {S0, S1, Triplet, Level5D4, Level5G6, Level5L6, Level5D1, Level5D0};
    return solveAndStore(w, placeOf, d0, arad);
}

bool OrvaneSpectroscopicCalculation::calcQuantumYieldTwoTriplets()
{
    if (refuseIfNotSetUp())
        return false;
    if (!considerTwoTriplets) {
        lastError = QStringLiteral("The seven-state model works in the two-triplet mode only.");
        return false;
    }
    if (!rl) {
        lastError = QStringLiteral("The two-triplet mode needs the excited states of the ligands, but no ZINDO, "
                                   "ORCA or Gaussian output was given.");
        return false;
    }
    if (rl->tripletRL.size() - 1 < 2) {
        lastError = QStringLiteral("The two-triplet mode needs a second triplet state, but %1 triplet state(s) were "
                                   "read from the file: \n")
                        .arg(rl->tripletRL.size() - 1)
            + rlInputFile;
        return false;
    }
    if (wetMM[0] == 0.0 && wetEX[13] == 0.0 && wetEX[14] == 0.0 && !calcEnergyTransferRate())
        return false;
    if (!calcArad())
        return false;

    enum { s0, s1, upper, lower, d4, d1, d0, count };
    Eigen::MatrixXd w = Eigen::MatrixXd::Zero(count, count);
    w(s0, s1) = excitationRate;
    w(s1, s0) = singletDecay;
    w(s1, upper) = intersystemCrossing;
    w(s1, lower) = intersystemCrossing;
    w(s1, d4) = wetMM[0];
    w(upper, s0) = tripletDecayTwoTriplets;
    w(upper, lower) = tripletToTriplet;
    w(upper, d4) = wetMM[upperTripletChannel];
    w(lower, s0) = tripletDecayTwoTriplets;
    w(lower, d1) = wetEX[13];
    w(lower, d0) = wetEX[14];
    w(d4, s1) = wbtMM[0];
    w(d4, upper) = wbtMM[upperTripletChannel];
    w(d4, d1) = levelCascade;
    w(d1, lower) = wbtEX[13];
    w(d1, d0) = levelCascade;
    w(d0, lower) = wbtEX[14];
    w(d0, s0) = arad + anrad;

    const int placeOf[count] = {S0, S1, UpperTriplet, Triplet, Level5D4, Level5D1, Level5D0};
    return solveAndStore(w, placeOf, d0, arad);
}

QString OrvaneSpectroscopicCalculation::calcQuantumYield(const double& singletRL, const double& tripletRL,
                                                         const double& singletEnergy, const double& tripletEnergy,
                                                         const double& radiative, const double& nonRadiative)
{
    if (refuseIfNotSetUp())
        return QString();
    if (!(radiative + nonRadiative > 0.0)) {
        lastError = QStringLiteral("The 5D0 level must decay: Arad + Anrad is %1 s^-1.")
                        .arg(radiative + nonRadiative);
        return QString();
    }
    wetMM.fill(0.0);
    wbtMM.fill(0.0);
    wetEX.fill(0.0);
    wbtEX.fill(0.0);
    energyMismatch.fill(0.0);
    if (!calcEnergyTransferRate(singletRL, tripletRL, singletEnergy, tripletEnergy))
        return QString();

    enum { s0, s1, t, d4, d1, d0, count };
    Eigen::MatrixXd w = Eigen::MatrixXd::Zero(count, count);
    w(s0, s1) = excitationRate;
    w(s1, s0) = singletDecay;
    w(s1, t) = intersystemCrossing;
    w(s1, d4) = wetMM[0];
    w(s1, d1) = wetEX[3];
    w(s1, d0) = wetEX[4];
    w(t, s0) = tripletDecay;
    w(t, d4) = wetMM[10];
    w(t, d1) = wetEX[13];
    w(t, d0) = wetEX[14];
    w(d4, s1) = wbtMM[0];
    w(d4, t) = wbtMM[10];
    w(d4, d1) = levelCascade;
    w(d1, s1) = wbtEX[3];
    w(d1, t) = wbtEX[13];
    w(d1, d0) = levelCascade;
    w(d0, s1) = wbtEX[4];
    w(d0, t) = wbtEX[14];
    w(d0, s0) = radiative + nonRadiative;

    const int placeOf[count] = {S0, S1, Triplet, Level5D4, Level5D1, Level5D0};
    if (!solveAndStore(w, placeOf, d0, radiative))
        return QString();

    return QStringLiteral("    Energy Transfer Rates\n")
        + QStringLiteral("      WetMM (Singlet -> 5D4) = ") + rate(wetMM[0]) + QStringLiteral(" s^-1 \n")
        + QStringLiteral("      WetEX (Triplet -> 5D1) = ") + rate(wetEX[13]) + QStringLiteral(" s^-1 \n")
        + QStringLiteral("      WetEX (Triplet -> 5D0) = ") + rate(wetEX[14]) + QStringLiteral(" s^-1  \n\n")
        + QStringLiteral("    Energy Back-Transfer Rates\n")
        + QStringLiteral("      WbtMM (Singlet -> 5D4) = ") + rate(wbtMM[0]) + QStringLiteral(" s^-1 \n")
        + QStringLiteral("      WbtEX (Triplet -> 5D1) = ") + rate(wbtEX[13]) + QStringLiteral(" s^-1 \n")
        + QStringLiteral("      WbtEX (Triplet -> 5D0) = ") + rate(wbtEX[14]) + QStringLiteral(" s^-1 \n\n")
        + quantumYieldBox(quantumYield);
}

QString OrvaneSpectroscopicCalculation::quantumYieldBox(const double& yield)
{
    const QString dashes = QString(29, QLatin1Char('-')).rightJustified(52, QLatin1Char(' '));
    return dashes + QLatin1Char('\n') + QStringLiteral("Quantum Yield: ").rightJustified(43, QLatin1Char(' '))
        + QString::number(yield, 'f', 2) + QStringLiteral(" %\n") + dashes + QLatin1Char('\n');
}
