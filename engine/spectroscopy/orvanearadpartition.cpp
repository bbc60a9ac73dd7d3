#include "orvanearadpartition.h"

#include "orvaneeu3model.h"
#include "orvanefilenames.h"
#include "orvaneinputdata.h"
#include "orvanetextreader.h"
#include "sphericalharmonic.h"

#include <cmath>

namespace Eu3 = OrvaneEu3Model;

namespace {

MyComplex harmonicAt(const CoordSPH& position, int t, int p)
{
    MyComplex y = sphericalHarmonic(position, t, std::abs(p));
    if (p < 0) {
        const double sign = (std::abs(p) % 2 == 0) ? 1.0 : -1.0;
        y.re *= sign;
        y.im *= -sign;
    }
    return y;
}

} // namespace

OrvaneAradPartition::OrvaneAradPartition(QObject* parent, OrvaneInputData*& inputData,
    const int& coordNumber, const double& refractiveIndex)
    : OrvaneAbstractObjCalculation(parent)
    , deltaE(Eu3::deltaE)
    , refractiveIndex(refractiveIndex)
    , inputData(inputData)
{
    for (int k = 2; k <= 8; k += 2)
        radialIntegral[k] = Eu3::radialIntegral(k);
    for (int k = 2; k <= 6; k += 2) {
        shieldingFactor[k] = Eu3::shieldingFactor(k);
        racahTensor[k] = Eu3::racahTensor(k);
    }

    // The per-atom arrays stop at atom 29 and every donor must have a position:
    // an N that breaks either leaves the object without coordinating atoms.
    if (!inputData) {
        lastError = QStringLiteral("The partition of Arad has no molecule.");
        return;
    }
    const int donorsAvailable = inputData->coordSPH.size() - 1;
    if (coordNumber < 0 || coordNumber > Eu3::maxCoordNumber) {
        lastError = QStringLiteral("The coordination number %1 is outside the range 0 to %2.")
                        .arg(coordNumber)
                        .arg(Eu3::maxCoordNumber);
        return;
    }
    if (coordNumber > donorsAvailable) {
        lastError = QStringLiteral("The coordination number %1 needs atoms 2 to %2, but the geometry has only %3 atoms.")
                        .arg(coordNumber)
                        .arg(coordNumber + 1)
                        .arg(std::max(donorsAvailable + 1, 0));
        return;
    }
    for (int i = 2; i <= coordNumber + 1; ++i) {
        if (!(inputData->coordSPH.at(i - 1).r > 0.0)) {
            lastError = QStringLiteral("Atom %1 (%2) lies on the Eu ion, so it cannot be a coordinating atom.")
                            .arg(i)
                            .arg(inputData->getAtomLabel(i));
            return;
        }
    }
    this->coordNumber = coordNumber;

    double rMin = 100.0;
    for (int i = 2; i <= coordNumber + 1; ++i)
        rMin = std::min(rMin, inputData->coordSPH.at(i - 1).r);
    for (int i = 2; i <= coordNumber + 1; ++i) {
        ro[i] = 0.05 * std::pow(rMin / inputData->coordSPH.at(i - 1).r, 3.5);
        const QString label = inputData->getAtomLabel(i);
        if (label == QLatin1String("O") || label == QLatin1String("F"))
            beta[i] = 1.0 / (1.0 + ro[i]);
        else if (label == QLatin1String("N") || label == QLatin1String("Cl"))
            beta[i] = 1.0 / (1.0 - ro[i]);
    }
}

OrvaneAradPartition::~OrvaneAradPartition() = default;

void OrvaneAradPartition::setChargeFactorAndAlpha(double*& g, double*& alphaValues)
{
    chargeFactor = g;
    alpha = alphaValues;
}

bool OrvaneAradPartition::parseLigandLines(const QStringList& lines)
{
    QVector<Ligand> parsed;
    for (const QString& line : lines) {
        const QStringList pieces = OrvaneText::splitFields(line);
        if (pieces.isEmpty())
            break;
        Ligand ligand;
        ligand.name = pieces.first().simplified();
        for (int k = 1; k < pieces.size(); ++k) {
            const int atom = OrvaneText::toInteger(pieces.at(k));
            // The report indexes the atom-pair matrix by these numbers.
            if (!isDonor(atom)) {
                lastError = coordNumber > 0
                    ? QStringLiteral("The ligand line \"%1\" names atom \"%2\", which is not one of the "
                                     "coordinating atoms 2 to %3.")
                          .arg(line.simplified(), pieces.at(k))
                          .arg(coordNumber + 1)
                    : QStringLiteral("The ligand line \"%1\" names atom \"%2\", but there are no coordinating atoms.")
                          .arg(line.simplified(), pieces.at(k));
                return false;
            }
            ligand.atoms.append(atom);
        }
        parsed.append(ligand);
    }
    ligands += parsed;
    return true;
}

bool OrvaneAradPartition::setLigandsVector(const QStringList& lines)
{
    if (lines.isEmpty())
        return false;
    return parseLigandLines(lines);
}

bool OrvaneAradPartition::setLigandsVector(const QString& fileName)
{
    const QString path = OrvaneFileNames::withFinalSuffix(fileName, QStringLiteral("ligands"));
    OrvaneLineReader reader(path);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(QStringLiteral("The file ") + path + QStringLiteral("could not be opened."));
        return false;
    }
    // The list ends at a line without fields, that is of nothing but blanks
    // and tabs (no other byte decodes to a field separator); the kept lines
    // are split once, by the parser.
    auto hasField = [&reader]() {
        const char* bytes = reader.lineData();
        for (int i = 0; i < reader.lineSize(); ++i)
            if (bytes[i] != ' ' && bytes[i] != '\t')
                return true;
        return false;
    };
    QStringList lines;
    while (reader.nextLine() && hasField())
        lines.append(reader.lineText());
    return parseLigandLines(lines);
}

Eigen::MatrixXd OrvaneAradPartition::calculatePartition(const Eigen::MatrixXd& M)
{
    const Eigen::Index n = M.rows();
    Eigen::MatrixXd shares = Eigen::MatrixXd::Zero(1, n);
    if (M.cols() != n) {
        lastError = QStringLiteral("The atom-pair matrix is %1 x %2; it must be square.").arg(n).arg(M.cols());
        return shares;
    }
    if (n == 0)
        return shares;
    // M is symmetric: the self-adjoint solver gives orthonormal eigenvectors
    // even for repeated eigenvalues, which the shares rely on.
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(M);
    if (solver.info() != Eigen::Success) {
        lastError = QStringLiteral("The atom-pair matrix could not be diagonalised.");
        return shares;
    }
    const Eigen::VectorXd& values = solver.eigenvalues();
    const Eigen::MatrixXd& vectors = solver.eigenvectors();
    for (Eigen::Index k = 0; k < n; ++k) {
        const double c = vectors.col(k).sum();
        const double weight = values(k) * c * c;
        for (Eigen::Index a = 0; a < n; ++a)
            shares(0, a) += weight * vectors(a, k) * vectors(a, k);
    }
    return shares;
}

double OrvaneAradPartition::K(const int& lambda, const int& t, const int& i) const
{
    if (!chargeFactor || !alpha || !isDonor(i))
        return 0.0;
    const double r = inputData->coordSPH.at(i - 1).r * Eu3::angstromToCm;
    const double rPower = std::pow(r, t + 1);
    const double e2 = Eu3::elementaryCharge * Eu3::elementaryCharge;
    const double forcedDipole = tet(t, lambda) * (2.0 / deltaE) * radialIntegral[t + 1] * e2 * ro[i]
        * std::pow(2.0 * beta[i], t + 1) * chargeFactor[i] / rPower;
    double dynamicCoupling = 0.0;
    if (t == lambda + 1) {
        const int numerator = (lambda + 1) * (2 * lambda + 3);
        dynamicCoupling = std::sqrt(double(numerator) / double(2 * lambda + 1)) * radialIntegral[lambda]
            * (1.0 - shieldingFactor[lambda]) * racahTensor[lambda] * alpha[i] / rPower;
    }
    return std::sqrt(Eu3::fourPi / (2 * t + 1)) * (forcedDipole - dynamicCoupling);
}

MyComplex OrvaneAradPartition::Q(const int& lambda, const int& t, const int& p, const int& i, const int& j) const
{
    if (!isDonor(i) || !isDonor(j))
        return MyComplex {};
    const MyComplex yi = harmonicAt(inputData->coordSPH.at(i - 1), t, p);
    const MyComplex yj = harmonicAt(inputData->coordSPH.at(j - 1), t, p);
    const double kk = K(lambda, t, i) * K(lambda, t, j);
    // conj(Y_i) Y_j
    return MyComplex {kk * (yi.re * yj.re + yi.im * yj.im), kk * (yi.re * yj.im - yi.im * yj.re)};
}

double OrvaneAradPartition::E(const int& lambda, const int& i, const int& j) const
{
    if (!isDonor(i) || !isDonor(j))
        return 0.0;
    double sum = 0.0;
    for (int t = lambda - 1; t <= lambda + 1; t += 2) {
        double s = 0.0;
        for (int p = 0; p <= t; ++p)
            s += (p == 0 ? 1.0 : 2.0) * Q(lambda, t, p, i, j).re;
        sum += s / (2 * t + 1);
    }
    return (2 * lambda + 1) * sum;
}

double OrvaneAradPartition::EL(const int& lambda, const int& l1, const int& l2) const
{
    if (!isLigand(l1) || !isLigand(l2))
        return 0.0;
    double sum = 0.0;
    for (int a : ligands.at(l1).atoms)
        for (int b : ligands.at(l2).atoms)
            sum += E(lambda, a, b);
    return sum;
}

double OrvaneAradPartition::EL(const int& lambda, const int& l) const
{
    return EL(lambda, l, l);
}

double OrvaneAradPartition::AL(const int& lambda, const int& l1, const int& l2) const
{
    return calcConstArad(lambda) * EL(lambda, l1, l2);
}

double OrvaneAradPartition::calcConstArad(const int& lambda) const
{
    double u = 0.0, energy = 0.0;
    switch (lambda) {
    case 2: u = 0.0032; energy = 16267.0; break;
    case 4: u = 0.0023; energy = 14470.0; break;
    case 6: u = 0.0002; energy = 12386.0; break;
    default: return 0.0;
    }
    const double n = refractiveIndex;
    const double chi = n * (n * n + 2.0) * (n * n + 2.0) / 9.0;
    const double e2 = Eu3::elementaryCharge * Eu3::elementaryCharge;
    return chi * u * e2 * 64.0 * Eu3::pi * Eu3::pi * Eu3::pi * Eu3::pi * energy * energy * energy / 1.987820871e-26;
}

double OrvaneAradPartition::tet(const int& t, const int& lambda)
{
    return Eu3::theta(t, lambda);
}

double OrvaneAradPartition::aradByAtom(const int& i, const int& j) const
{
    double sum = 0.0;
    for (int lambda = 2; lambda <= 6; lambda += 2)
        sum += calcConstArad(lambda) * E(lambda, i, j);
    return sum;
}

double OrvaneAradPartition::aradLambdaByAtom(const int& lambda, const int& i, const int& j) const
{
    return calcConstArad(lambda) * E(lambda, i, j);
}

double OrvaneAradPartition::aradByLigand(const int& l1, const int& l2) const
{
    double sum = 0.0;
    for (int lambda = 2; lambda <= 6; lambda += 2)
        sum += AL(lambda, l1, l2);
    return sum;
}

double OrvaneAradPartition::getSumByAtom(const int& i) const
{
    double sum = 0.0;
    for (int j = 2; j <= coordNumber + 1; ++j)
        sum += aradByAtom(i, j);
    return sum;
}

double OrvaneAradPartition::getSumByLigand(const int& l) const
{
    double sum = 0.0;
    for (int m = 0; m < ligands.size(); ++m)
        sum += aradByLigand(l, m);
    return sum;
}

Ligand OrvaneAradPartition::getLigand(const int& atom) const
{
    for (const Ligand& ligand : ligands)
        if (ligand.atoms.contains(atom))
            return ligand;
    return Ligand {};
}

QVector<int> OrvaneAradPartition::getLigandAtoms(const int& l) const
{
    return isLigand(l) ? ligands.at(l).atoms : QVector<int>();
}

QString OrvaneAradPartition::getLigandsName(const int& l) const
{
    return isLigand(l) ? ligands.at(l).name : QString();
}
