#include "orvaneomega.h"

#include "orvaneeu3model.h"
#include "orvaneinputdata.h"
#include "orvanespectroscopiccalculation.h"
#include "sphericalharmonic.h"

#include <algorithm>
#include <cmath>

namespace Eu3 = OrvaneEu3Model;

namespace {

// Index of the (t, p) pair among t = 1, 3, 5, 7 and p = 0..t.
constexpr int rankOrderOffset(int t)
{
    return ((t - 1) / 2) * ((t - 1) / 2 + 1);
}

bool isOxygenLike(const QString& label)
{
    return label == QLatin1String("O") || label == QLatin1String("F");
}

bool isNitrogenLike(const QString& label)
{
    return label == QLatin1String("N") || label == QLatin1String("Cl");
}

// The weights 1/(2t+1) and 2/(2t+1) of the orders 0 and +-p, by t: no
// division in the evaluation.
constexpr double orderWeight[8][2] = {{0.0, 0.0}, {1.0 / 3, 2.0 / 3}, {0.0, 0.0}, {1.0 / 7, 2.0 / 7}, {0.0, 0.0},
    {1.0 / 11, 2.0 / 11}, {0.0, 0.0}, {1.0 / 15, 2.0 / 15}};

} // namespace

OrvaneOmega::OrvaneOmega(QObject* parent, const int& inputType, const QString& fileName,
    const QString& forceConstantFile)
    : OrvaneAbstractObjCalculation(parent)
    , fileName(fileName)
    , forceConstantFile(forceConstantFile)
    , inputType(inputType)
{
    inputData = new OrvaneInputData(nullptr, fileName);
    bool read = true;
    if (inputType == 0)
        read = inputData->readMopacOutFile(true);
    else if (inputType == 1)
        read = inputData->readMopFile();
    if (!read) {
        lastError = inputData->getLastError();
        return;
    }
    finishConstruction();
}

OrvaneOmega::OrvaneOmega(QObject* parent, const QVector<Coord>& atoms,
    const QString& forceConstantFile)
    : OrvaneAbstractObjCalculation(parent)
    , forceConstantFile(forceConstantFile)
{
    inputData = new OrvaneInputData(nullptr, QString());
    inputData->coord = atoms;
    inputData->atomsNumber = atoms.size();
    finishConstruction();
}

OrvaneOmega::~OrvaneOmega()
{
    delete inputData;
}

bool OrvaneOmega::finishConstruction()
{
    if (!inputData->createSphericalCoordinate()) {
        lastError = inputData->getLastError();
        return false;
    }
    ro.fill(0.0);
    beta.fill(0.0);
    mopacCitation = inputData->getMopacCitation();
    if (!setInitialValues())
        return false;

    constructed = true;
    if (!forceConstantFile.isEmpty()) {
        // Nobody has told this object the coordination number yet: a run over
        // no donor would report Omega = 0 as a result. Take it from the
        // geometry, as the rates calculation does, with arrays of its own for
        // the charge factors and polarizabilities the force constants give.
        coordNumber = OrvaneSpectroscopicCalculation::coordinationNumber(*inputData);
        if (coordNumber == 0) {
            constructed = false;
            lastError = QStringLiteral("No atom coordinated to the Eu ion was found in the file: \n")
                + (fileName.isEmpty() ? forceConstantFile : fileName);
            return false;
        }
        chargeFactor = ownChargeFactor.data();
        alpha = ownAlpha.data();
    }
    if (!forceConstantFile.isEmpty() && !calcOmega()) {
        constructed = false;
        return false;
    }

    printingOptions = OmegaPrintingOptions {true, true, true, true, true, true, true, true, true,
        true, true, true, true, true, true, true, true, false};
    lastError.clear();
    requiredCitations.clear();
    return true;
}

bool OrvaneOmega::setInitialValues()
{
    const QString first = inputData->getAtomLabel(1);
    if (first != QLatin1String("Eu")) {
        lastError = first + QStringLiteral(" atoms[0] isn't Eu");
        return false;
    }
    for (int k = 2; k <= 8; k += 2)
        radialIntegral[k] = Eu3::radialIntegral(k);
    for (int k = 2; k <= 6; k += 2) {
        shieldingFactor[k] = Eu3::shieldingFactor(k);
        racahTensor[k] = Eu3::racahTensor(k);
    }
    deltaE = Eu3::deltaE;

    // The factors in front of the donor sums of BEd and BDc, for the fast path.
    for (int l = 0; l < 3; ++l) {
        const int lambda = 2 * l + 2;
        edFactor[l].fill(0.0);
        for (int t = lambda - 1; t <= lambda + 1; t += 2)
            edFactor[l][t] = (2.0 / deltaE) * radialIntegral[t + 1] * tet(t, lambda);
        const int numerator = (lambda + 1) * (2 * lambda + 3);
        dcFactor[l] = -std::sqrt(double(numerator) / double(2 * lambda + 1)) * radialIntegral[lambda]
            * (1.0 - shieldingFactor[lambda]) * racahTensor[lambda];
    }
    cachedCoordNumber = -1;
    return true;
}

void OrvaneOmega::setChargeFactorAndAlpha(double*& g, double*& alphaValues)
{
    chargeFactor = g;
    alpha = alphaValues;
}

void OrvaneOmega::setParametersQDC(const double& q, const double& d, const double& c)
{
    Q = q;
    D = d;
    C = c;
    useQDC = true;
}

double OrvaneOmega::getOmega(const int& lambda) const
{
    return lambda >= 0 && lambda < 7 ? omega[lambda] : 0.0;
}

double OrvaneOmega::getOmegaED(const int& lambda) const
{
    return lambda >= 0 && lambda < 7 ? omegaED[lambda] : 0.0;
}

double OrvaneOmega::getOmegaDC(const int& lambda) const
{
    return lambda >= 0 && lambda < 7 ? omegaDC[lambda] : 0.0;
}

double OrvaneOmega::getChargeFactor(const int& i) const
{
    return chargeFactor && i >= 0 && i <= coordNumber + 1 ? chargeFactor[i] : 0.0;
}

double OrvaneOmega::getAlpha(const int& i) const
{
    return alpha && i >= 0 && i <= coordNumber + 1 ? alpha[i] : 0.0;
}

double OrvaneOmega::getRo(const int& i) const
{
    return i >= 0 && i < Eu3::atomArraySize ? ro[i] : 0.0;
}

double OrvaneOmega::getBeta(const int& i) const
{
    return i >= 0 && i < Eu3::atomArraySize ? beta[i] : 0.0;
}

void OrvaneOmega::clearResults()
{
    omega.fill(0.0);
    omegaED.fill(0.0);
    omegaDC.fill(0.0);
}

bool OrvaneOmega::checkInputs(ValuesBy values)
{
    if (!constructed) {
        const QString reason = lastError;
        lastError = QStringLiteral("The intensity parameters cannot be calculated: the geometry was not loaded.");
        if (!reason.isEmpty())
            lastError += QLatin1Char('\n') + reason;
        return false;
    }
    // The per-atom arrays stop at atom 29, and every donor must exist.
    const int donorsAvailable = inputData->coordSPH.size() - 1;
    if (coordNumber < 0 || coordNumber > Eu3::maxCoordNumber) {
        lastError = QStringLiteral("The coordination number %1 is outside the range 0 to %2.")
                        .arg(coordNumber)
                        .arg(Eu3::maxCoordNumber);
        return false;
    }
    if (coordNumber > donorsAvailable) {
        lastError = QStringLiteral("The coordination number %1 needs atoms 2 to %2, but the geometry has only %3 atoms.")
                        .arg(coordNumber)
                        .arg(coordNumber + 1)
                        .arg(donorsAvailable + 1);
        return false;
    }
    if (values == ValuesBy::Atom && coordNumber > 0 && (!chargeFactor || !alpha)) {
        lastError = QStringLiteral("The charge factors and polarizabilities of the coordinating atoms are not set.");
        return false;
    }
    for (int i = 2; i <= coordNumber + 1; ++i) {
        if (!(inputData->coordSPH.at(i - 1).r > 0.0)) {
            lastError = QStringLiteral("Atom %1 (%2) lies on the Eu ion, so it cannot be a coordinating atom.")
                            .arg(i)
                            .arg(inputData->getAtomLabel(i));
            return false;
        }
    }
    return true;
}

void OrvaneOmega::prepareDonors()
{
    rMin = 10000.0;
    for (int i = 2; i <= coordNumber + 1; ++i) {
        const double r = inputData->coordSPH.at(i - 1).r;
        if (r < rMin)
            rMin = r;
    }
    // Entries past N+1 are cleared so that a smaller N leaves no stale donors.
    ro.fill(0.0);
    beta.fill(0.0);
    for (int i = 2; i <= coordNumber + 1; ++i) {
        ro[i] = 0.05 * std::pow(rMin / inputData->coordSPH.at(i - 1).r, 3.5);
        const QString label = inputData->getAtomLabel(i);
        if (isOxygenLike(label))
            beta[i] = 1.0 / (1.0 + ro[i]);
        else if (isNitrogenLike(label))
            beta[i] = 1.0 / (1.0 - ro[i]);
    }
}

void OrvaneOmega::buildGeometryCache()
{
    const int n = coordNumber;
    const std::size_t size = std::size_t(rankOrderCount) * std::size_t(n);
    donorTerms.reset(size);
    for (int d = 0; d < n; ++d) {
        const int i = d + 2;
        const CoordSPH position = inputData->getCoordSPH(i);
        const double r = position.r * Eu3::angstromToCm;
        for (int t = 1; t <= 7; t += 2) {
            const double radial = std::sqrt(Eu3::fourPi / (2 * t + 1)) / std::pow(r, t + 1);
            const double overlap = Eu3::elementaryChargeSquared * ro[i] * std::pow(2.0 * beta[i], t + 1);
            for (int p = 0; p <= t; ++p) {
                const MyComplex y = sphericalHarmonic(position, t, p);
                // Donor-major: one donor's 20 terms lie side by side.
                const std::size_t k = std::size_t(d) * rankOrderCount + std::size_t(rankOrderOffset(t) + p);
                // The conjugate of Y enters the sums.
                donorTerms.dcRe[k] = radial * y.re;
                donorTerms.dcIm[k] = -radial * y.im;
                donorTerms.edRe[k] = overlap * donorTerms.dcRe[k];
                donorTerms.edIm[k] = overlap * donorTerms.dcIm[k];
            }
        }
    }
    cachedCoordNumber = n;
}

bool OrvaneOmega::calcChargeFactorAndAlpha(const double& minimumDistance)
{
    const int n = coordNumber;
    // The A and b of the distance law are known for O and N donors only.
    for (int i = 2; i <= n + 1; ++i) {
        const QString label = inputData->getAtomLabel(i);
        if (label != QLatin1String("O") && label != QLatin1String("N")) {
            lastError = QStringLiteral("Charge factors and polarizabilities from force constants are defined for "
                                       "O and N donors only; atom %1 is %2.")
                            .arg(i)
                            .arg(label);
            return false;
        }
    }

    // Read afresh each time so that entry i always belongs to atom i.
    inputData->forceConstant.clear();
    inputData->setLastError(QString());
    if (!inputData->readForceConstant(forceConstantFile, n)) {
        lastError = inputData->getLastError();
        return false;
    }
    if (inputData->forceConstant.size() < n + 2) {
        lastError = QStringLiteral("The force matrix of %1 holds fewer rows than the %2 atoms asked for.")
                        .arg(forceConstantFile)
                        .arg(n + 1);
        return false;
    }

    const double e2 = Eu3::elementaryCharge * Eu3::elementaryCharge;
    for (int i = 2; i <= n + 1; ++i) {
        const bool oxygen = inputData->getAtomLabel(i) == QLatin1String("O");
        const double a = oxygen ? 0.315593115 : 4.4056678455;
        const double b = oxygen ? 4.2925651759 : 1.7016449683;
        const double r = inputData->coordSPH.at(i - 1).r; // Angstrom in these formulas
        const double k = a * std::exp(b * minimumDistance / r);
        const double f = inputData->getForceConstant(i);
        if (f < 0.0) {
            lastError = QStringLiteral("The force constant between atom %1 and the Eu ion is negative (%2 "
                                       "millidynes/Angstrom); no charge factor follows from it.")
                            .arg(i)
                            .arg(f);
            return false;
        }
        chargeFactor[i] = r * std::sqrt(f * 4.2669775857 / (2.0 * k));
        alpha[i] = e2 * r * r * ro[i] * ro[i] * 0.0432505996 / (2.0 * k);
    }
    return true;
}

bool OrvaneOmega::calcOmega()
{
    if (!checkInputs()) {
        clearResults();
        return false;
    }
    if (cachedCoordNumber != coordNumber) {
        prepareDonors();
        buildGeometryCache();
    }
    if (!forceConstantFile.isEmpty() && !calcChargeFactorAndAlpha(rMin)) {
        clearResults();
        return false;
    }

    // Donor sums S(t, p) = sum_d g_d ed(t, p, d) and sum_d alpha_d dc(t, p, d):
    // the only part that depends on g and alpha. Four (t, p) pairs at a time,
    // so that their 16 sums stay in registers while the donors stream past
    // (16 independent chains of additions, no stores in the loop); each sum
    // still adds its donors in order, so the figures do not move.
    const int n = coordNumber;
    const double* g = n > 0 ? chargeFactor + 2 : nullptr;
    const double* a = n > 0 ? alpha + 2 : nullptr;
    // Every entry is written below: no fill on every evaluation.
    PairSums sumEdRe, sumEdIm, sumDcRe, sumDcIm;
    if (n == 0) {
        sumEdRe.fill(0.0), sumEdIm.fill(0.0), sumDcRe.fill(0.0), sumDcIm.fill(0.0);
    }
    // Named accumulators rather than small arrays: GCC at -O2 keeps arrays
    // in memory and stores them on every donor.
    constexpr int block = 4;
    static_assert(rankOrderCount % block == 0, "the (t, p) pairs split into whole blocks");
    for (int k0 = 0; n > 0 && k0 < rankOrderCount; k0 += block) {
        double e0 = 0.0, e1 = 0.0, e2 = 0.0, e3 = 0.0, f0 = 0.0, f1 = 0.0, f2 = 0.0, f3 = 0.0;
        double c0 = 0.0, c1 = 0.0, c2 = 0.0, c3 = 0.0, h0 = 0.0, h1 = 0.0, h2 = 0.0, h3 = 0.0;
        const double* er = donorTerms.edRe.data() + k0;
        const double* ei = donorTerms.edIm.data() + k0;
        const double* dr = donorTerms.dcRe.data() + k0;
        const double* di = donorTerms.dcIm.data() + k0;
        for (int d = 0; d < n; ++d) {
            const double gd = g[d];
            const double ad = a[d];
            e0 += gd * er[0];
            e1 += gd * er[1];
            e2 += gd * er[2];
            e3 += gd * er[3];
            f0 += gd * ei[0];
            f1 += gd * ei[1];
            f2 += gd * ei[2];
            f3 += gd * ei[3];
            c0 += ad * dr[0];
            c1 += ad * dr[1];
            c2 += ad * dr[2];
            c3 += ad * dr[3];
            h0 += ad * di[0];
            h1 += ad * di[1];
            h2 += ad * di[2];
            h3 += ad * di[3];
            er += rankOrderCount;
            ei += rankOrderCount;
            dr += rankOrderCount;
            di += rankOrderCount;
        }
        const std::size_t k = std::size_t(k0);
        sumEdRe[k] = e0, sumEdRe[k + 1] = e1, sumEdRe[k + 2] = e2, sumEdRe[k + 3] = e3;
        sumEdIm[k] = f0, sumEdIm[k + 1] = f1, sumEdIm[k + 2] = f2, sumEdIm[k + 3] = f3;
        sumDcRe[k] = c0, sumDcRe[k + 1] = c1, sumDcRe[k + 2] = c2, sumDcRe[k + 3] = c3;
        sumDcIm[k] = h0, sumDcIm[k + 1] = h1, sumDcIm[k + 2] = h2, sumDcIm[k + 3] = h3;
    }

    omegaFromSums<Parts::Kept>(sumEdRe, sumEdIm, sumDcRe, sumDcIm);
    return true;
}

template <OrvaneOmega::Parts parts>
void OrvaneOmega::omegaFromSums(const PairSums& sumEdRe, const PairSums& sumEdIm, const PairSums& sumDcRe,
    const PairSums& sumDcIm)
{
    constexpr bool withParts = parts == Parts::Kept;
    for (int l = 0; l < 3; ++l) {
        const int lambda = 2 * l + 2;
        double ed = 0.0, dc = 0.0, total = 0.0;
        // t = lambda - 1: the dynamic coupling has no such term, so B is the
        // forced-dipole part alone and adds the same amount to both sums.
        {
            const int t = lambda - 1;
            const double fe = edFactor[l][t];
            for (int p = 0; p <= t; ++p) {
                const int k = rankOrderOffset(t) + p;
                const double edRePart = fe * sumEdRe[k];
                const double edImPart = fe * sumEdIm[k];
                // Orders -p and p have equal moduli.
                const double w = p == 0 ? orderWeight[t][0] : orderWeight[t][1];
                const double term = w * (edRePart * edRePart + edImPart * edImPart);
                if constexpr (withParts)
                    ed += term;
                total += term;
            }
        }
        {
            const int t = lambda + 1;
            const double fe = edFactor[l][t];
            const double fd = dcFactor[l];
            for (int p = 0; p <= t; ++p) {
                const int k = rankOrderOffset(t) + p;
                const double edRePart = fe * sumEdRe[k];
                const double edImPart = fe * sumEdIm[k];
                const double dcRePart = fd * sumDcRe[k];
                const double dcImPart = fd * sumDcIm[k];
                const double bRe = edRePart + dcRePart;
                const double bIm = edImPart + dcImPart;
                const double w = p == 0 ? orderWeight[t][0] : orderWeight[t][1];
                if constexpr (withParts) {
                    ed += w * (edRePart * edRePart + edImPart * edImPart);
                    dc += w * (dcRePart * dcRePart + dcImPart * dcImPart);
                }
                total += w * (bRe * bRe + bIm * bIm);
            }
        }
        omegaED[lambda] = (2 * lambda + 1) * ed;
        omegaDC[lambda] = (2 * lambda + 1) * dc;
        omega[lambda] = (2 * lambda + 1) * total;
    }
}

bool OrvaneOmega::setDonorGroups(const std::vector<int>& groupOfDonor)
{
    donorGroup.clear();
    groupCount = 0;
    groupTermsCoordNumber = -1;
    int count = 0;
    for (std::size_t d = 0; d < groupOfDonor.size(); ++d) {
        const int group = groupOfDonor[d];
        if (group < 0 || group >= int(groupOfDonor.size())) {
            lastError = QStringLiteral("Coordinating atom %1 is given group %2; the groups of %3 donors are "
                                       "numbered 0 to %4.")
                            .arg(d + 2)
                            .arg(group)
                            .arg(groupOfDonor.size())
                            .arg(groupOfDonor.size() - 1);
            return false;
        }
        count = std::max(count, group + 1);
    }
    donorGroup = groupOfDonor;
    groupCount = count;
    return true;
}

void OrvaneOmega::buildGroupTerms()
{
    const std::size_t size = std::size_t(rankOrderCount) * std::size_t(groupCount);
    groupTerms.reset(size);
    for (int d = 0; d < coordNumber; ++d) {
        const std::size_t from = std::size_t(d) * rankOrderCount;
        const std::size_t to = std::size_t(donorGroup[std::size_t(d)]) * rankOrderCount;
        for (std::size_t k = 0; k < std::size_t(rankOrderCount); ++k) {
            groupTerms.edRe[to + k] += donorTerms.edRe[from + k];
            groupTerms.edIm[to + k] += donorTerms.edIm[from + k];
            groupTerms.dcRe[to + k] += donorTerms.dcRe[from + k];
            groupTerms.dcIm[to + k] += donorTerms.dcIm[from + k];
        }
    }
    groupTermsCoordNumber = coordNumber;
}

bool OrvaneOmega::calcOmegaOfGroups(const double* groupChargeFactor, const double* groupAlpha)
{
    if (!checkInputs(ValuesBy::Group)) {
        clearResults();
        return false;
    }
    if (!forceConstantFile.isEmpty()) {
        lastError = QStringLiteral("Intensity parameters by group are not defined on the force-constant route, "
                                   "whose charge factors differ from donor to donor.");
        clearResults();
        return false;
    }
    if (int(donorGroup.size()) != coordNumber || (coordNumber > 0 && (!groupChargeFactor || !groupAlpha))) {
        lastError = QStringLiteral("The groups of the %1 coordinating atoms are not set.").arg(coordNumber);
        clearResults();
        return false;
    }
    if (cachedCoordNumber != coordNumber) {
        prepareDonors();
        buildGeometryCache();
    }
    if (groupTermsCoordNumber != coordNumber)
        buildGroupTerms();

    // The first group's products start the sums, so that nothing is filled
    // with zeros on every evaluation.
    PairSums sumEdRe, sumEdIm, sumDcRe, sumDcIm;
    if (groupCount == 0) {
        sumEdRe.fill(0.0), sumEdIm.fill(0.0), sumDcRe.fill(0.0), sumDcIm.fill(0.0);
    }
    for (std::size_t k = 0; groupCount > 0 && k < std::size_t(rankOrderCount); ++k) {
        sumEdRe[k] = groupChargeFactor[0] * groupTerms.edRe[k];
        sumEdIm[k] = groupChargeFactor[0] * groupTerms.edIm[k];
        sumDcRe[k] = groupAlpha[0] * groupTerms.dcRe[k];
        sumDcIm[k] = groupAlpha[0] * groupTerms.dcIm[k];
    }
    for (int group = 1; group < groupCount; ++group) {
        const double g = groupChargeFactor[group];
        const double a = groupAlpha[group];
        const std::size_t from = std::size_t(group) * rankOrderCount;
        for (std::size_t k = 0; k < std::size_t(rankOrderCount); ++k) {
            sumEdRe[k] += g * groupTerms.edRe[from + k];
            sumEdIm[k] += g * groupTerms.edIm[from + k];
            sumDcRe[k] += a * groupTerms.dcRe[from + k];
            sumDcIm[k] += a * groupTerms.dcIm[from + k];
        }
    }
    omegaFromSums<Parts::Dropped>(sumEdRe, sumEdIm, sumDcRe, sumDcIm);
    return true;
}

bool OrvaneOmega::calcOmegaDirect()
{
    if (!checkInputs()) {
        clearResults();
        return false;
    }
    prepareDonors();
    // rho and beta now belong to this N; the next cached call rebuilds its terms.
    cachedCoordNumber = -1;
    if (!forceConstantFile.isEmpty() && !calcChargeFactorAndAlpha(rMin)) {
        clearResults();
        return false;
    }
    for (int lambda = 2; lambda <= 6; lambda += 2) {
        double ed = 0.0, dc = 0.0, total = 0.0;
        for (int t = lambda - 1; t <= lambda + 1; t += 2) {
            for (int p = 0; p <= t; ++p) {
                const double w = (p == 0 ? 1.0 : 2.0) / (2 * t + 1);
                const MyComplex bed = BEd(lambda, t, p);
                const MyComplex bdc = BDc(lambda, t, p);
                const MyComplex b = B(lambda, t, p);
                const double modEd = std::sqrt(bed.re * bed.re + bed.im * bed.im);
                const double modDc = std::sqrt(bdc.re * bdc.re + bdc.im * bdc.im);
                const double modB = std::sqrt(b.re * b.re + b.im * b.im);
                ed += w * modEd * modEd;
                dc += w * modDc * modDc;
                total += w * modB * modB;
            }
        }
        omegaED[lambda] = (2 * lambda + 1) * ed;
        omegaDC[lambda] = (2 * lambda + 1) * dc;
        omega[lambda] = (2 * lambda + 1) * total;
    }
    return true;
}

MyComplex OrvaneOmega::harmonic(const int& t, const int& p, const int& i) const
{
    return signedOrderHarmonic(inputData->getCoordSPH(i), t, p);
}

MyComplex OrvaneOmega::gamma(const int& t, const int& p, const int& i) const
{
    const double r = inputData->getCoordSPH(i).r * Eu3::angstromToCm;
    const double factor = std::sqrt(Eu3::fourPi / (2 * t + 1)) * Eu3::elementaryChargeSquared * ro[i]
        * std::pow(2.0 * beta[i], t + 1) * chargeFactor[i] / std::pow(r, t + 1);
    const MyComplex y = harmonic(t, p, i);
    return MyComplex {factor * y.re, -factor * y.im};
}

MyComplex OrvaneOmega::GAMMA(const int& t, const int& p, const int& i) const
{
    const double r = inputData->getCoordSPH(i).r * Eu3::angstromToCm;
    const double factor = std::sqrt(Eu3::fourPi / (2 * t + 1)) * alpha[i] / std::pow(r, t + 1);
    const MyComplex y = harmonic(t, p, i);
    return MyComplex {factor * y.re, -factor * y.im};
}

MyComplex OrvaneOmega::BEd(const int& lambda, const int& t, const int& p) const
{
    MyComplex sum;
    for (int i = 2; i <= coordNumber + 1; ++i) {
        const MyComplex term = gamma(t, p, i);
        sum.re += term.re;
        sum.im += term.im;
    }
    const double factor = (2.0 / deltaE) * radialIntegral[t + 1] * tet(t, lambda);
    return MyComplex {factor * sum.re, factor * sum.im};
}

MyComplex OrvaneOmega::BDc(const int& lambda, const int& t, const int& p) const
{
    if (t != lambda + 1)
        return MyComplex {};
    MyComplex sum;
    for (int i = 2; i <= coordNumber + 1; ++i) {
        const MyComplex term = GAMMA(t, p, i);
        sum.re += term.re;
        sum.im += term.im;
    }
    const int numerator = (lambda + 1) * (2 * lambda + 3);
    const double factor = -std::sqrt(double(numerator) / double(2 * lambda + 1)) * radialIntegral[lambda]
        * (1.0 - shieldingFactor[lambda]) * racahTensor[lambda];
    return MyComplex {factor * sum.re, factor * sum.im};
}

MyComplex OrvaneOmega::B(const int& lambda, const int& t, const int& p) const
{
    const MyComplex ed = BEd(lambda, t, p);
    const MyComplex dc = BDc(lambda, t, p);
    return MyComplex {ed.re + dc.re, ed.im + dc.im};
}

double OrvaneOmega::tet(const int& t, const int& lambda)
{
    return Eu3::theta(t, lambda);
}
