#include "orvanestarklevels.h"

#include "orvanewignersymbols.h"

#include <cmath>

namespace {

// Squares of the reduced elements <7F_J||U(k)||7F_J> in intermediate
// coupling, rows J = 0..6, columns k = 2, 4, 6.
constexpr double unitTensorSquares[7][3] = {
    {0.0, 0.0, 0.0},
    {0.1541, 0.0, 0.0},
    {0.1, 0.1219, 0.0},
    {0.0275, 0.026, 0.0281},
    {0.0117, 0.2841, 0.3528},
    {0.2762, 0.2063, 0.3225},
    {1.2029, 0.394, 0.0294},
};

// Their signs: a table of squares alone loses them, and with every element
// positive the 7F2, 7F4 and 7F5 patterns come out wrong and 7F6 mirrored.
constexpr int unitTensorSigns[7][3] = {
    {1, 1, 1},
    {1, 1, 1},
    {1, -1, 1},
    {1, 1, 1},
    {-1, 1, -1},
    {-1, 1, 1},
    {-1, -1, -1},
};

} // namespace

OrvaneStarkLevels::OrvaneStarkLevels(const QString& fileName, const int& coordNumber)
    : bkq(fileName, coordNumber)
    , fileName(fileName)
    , coordNumber(coordNumber)
{
}

void OrvaneStarkLevels::setChargeFactors(double*& g)
{
    chargeFactors = g;
}

double OrvaneStarkLevels::U(const int& k, const int& J)
{
    if (J < 0 || J > maxJ || (k != 2 && k != 4 && k != 6))
        return 0.0;
    const int column = k / 2 - 1;
    return unitTensorSigns[J][column] * std::sqrt(unitTensorSquares[J][column]);
}

std::complex<double> OrvaneStarkLevels::H(const int& J, const int& M, const int& Mp) const
{
    std::complex<double> value;
    if (!chargeFactors)
        return value;
    const int q = M - Mp;
    for (int k = 2; k <= 6 && k <= 2 * J; k += 2) {
        if (std::abs(q) > k)
            continue;
        const MyComplex b = bkq.getBkq(k, q);
        const double sign = ((J + q - M) % 2 == 0) ? 1.0 : -1.0;
        const double factor = 7.0 * sign * OrvaneWignerSymbols::calcThreeJSymbol(3, k, 3, 0, 0, 0)
            * OrvaneWignerSymbols::calcThreeJSymbol(J, k, J, -M, q, Mp) * U(k, J);
        value -= factor * std::complex<double>(b.re, b.im);
    }
    return value;
}

void OrvaneStarkLevels::calculateStarkLevels()
{
    bkq.setChargeFactor(chargeFactors);
    bkq.calculateRO(RO0);
    energeticMatrices.clear();
    starkLevels.clear();
    for (int J = 0; J <= maxJ; ++J) {
        const int size = 2 * J + 1;
        Eigen::MatrixXcd matrix(size, size);
        for (int M = -J; M <= J; ++M)
            for (int Mp = -J; Mp <= J; ++Mp)
                matrix(M + J, Mp + J) = H(J, M, Mp);
        const Eigen::ComplexEigenSolver<Eigen::MatrixXcd> solver(matrix, true);
        QVector<double> levels(size, 0.0);
        if (solver.info() == Eigen::Success) {
            for (int i = 0; i < size; ++i)
                levels[i] = solver.eigenvalues()(i).real();
        }
        starkLevels.append(levels);
        energeticMatrices.append(matrix);
    }
}

QVector<double> OrvaneStarkLevels::getStarkLevels(const int& J) const
{
    return J >= 0 && J < starkLevels.size() ? starkLevels.at(J) : QVector<double>();
}

Eigen::MatrixXcd OrvaneStarkLevels::getEnergeticMatrix(const int& J) const
{
    return J >= 0 && J < energeticMatrices.size() ? energeticMatrices.at(J) : Eigen::MatrixXcd();
}
