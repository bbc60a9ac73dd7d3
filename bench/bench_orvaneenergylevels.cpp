#include "orvaneenergylevels.h"

#include <QDir>

#include <Eigen/Eigenvalues>

#include <benchmark/benchmark.h>

#include <vector>

// Builds the same J blocks as calcEnergyLevels, for the comparison with Eigen.
struct OrvaneEnergyLevelsProbe
{
    static std::vector<Eigen::MatrixXd> blocks(const OrvaneEnergyLevels& levels, const double* p)
    {
        const double F2 = p[0], F4 = p[1], F6 = p[2], zeta = p[3];
        const double E[4] = {-10.0 * F2 - 33.0 * F4 - 286.0 * F6, (70.0 * F2 + 231.0 * F4 + 2002.0 * F6) / 9.0,
                             (F2 - 3.0 * F4 + 7.0 * F6) / 9.0, (5.0 * F2 + 6.0 * F4 - 91.0 * F6) / 3.0};
        std::vector<Eigen::MatrixXd> out;
        for (const auto& block : levels.blocks) {
            const int n = block.basis.size();
            Eigen::MatrixXd H(n, n);
            for (int j = 0; j < n; ++j) {
                for (int k = 0; k <= j; ++k) {
                    const std::size_t at = std::size_t(j) * (j + 1) / 2 + k;
                    const auto& e = block.electrostatic[at];
                    H(j, k) = H(k, j) = e[0] * E[0] + e[1] * E[1] + e[2] * E[2] + e[3] * E[3]
                                        + zeta * block.spinOrbit[at];
                }
            }
            out.push_back(H);
        }
        return out;
    }
};

namespace {

const double eu[4] = {371.0, 54.8, 5.75, 1334.0};

// The tables are read from the current folder: the committed copy.
struct TablesFolder
{
    TablesFolder() : previous(QDir::currentPath()) { QDir::setCurrent(QStringLiteral(ORVANE_DATA_DIR)); }
    ~TablesFolder() { QDir::setCurrent(previous); }
    QString previous;
};

} // namespace

// Every level of Eu(III): build and diagonalise (Jacobi) every J block.
static void BM_EuropiumAllLevelsJacobi(benchmark::State& state)
{
    TablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    levels.setSlaterIntegral(0.0, eu[0], eu[1], eu[2]);
    levels.setZetaParameters(eu[3]);
    for (auto _ : state) {
        levels.calcEnergyLevels(-1);
        benchmark::DoNotOptimize(levels.getMixedStatesVector().size());
    }
}
BENCHMARK(BM_EuropiumAllLevelsJacobi)->Unit(benchmark::kMillisecond);

// The same blocks with Eigen's self-adjoint solver, for comparison.
static void BM_EuropiumAllLevelsEigen(benchmark::State& state)
{
    TablesFolder folder;
    OrvaneEnergyLevels levels(nullptr, 6);
    for (auto _ : state) {
        double sum = 0.0;
        for (const Eigen::MatrixXd& H : OrvaneEnergyLevelsProbe::blocks(levels, eu)) {
            Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(H);
            sum += solver.eigenvalues().sum() + solver.eigenvectors()(0, 0);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EuropiumAllLevelsEigen)->Unit(benchmark::kMillisecond);

// Construction: reading the f^6 tables and preparing the J blocks.
static void BM_EuropiumConstruction(benchmark::State& state)
{
    TablesFolder folder;
    for (auto _ : state) {
        OrvaneEnergyLevels levels(nullptr, 6);
        benchmark::DoNotOptimize(levels.getJValues().size());
    }
}
BENCHMARK(BM_EuropiumConstruction)->Unit(benchmark::kMillisecond);
