#include "literaljacobi.h"
#include "symmetricmatrix.h"

#include <Eigen/Dense>
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

// The free-ion fit diagonalises every J block of f^6 at each of its 15000
// annealing steps. Here the blocks have the f^6 sizes (J = 0..12: 14, 19, 37,
// 37, 46, 37, 38, 24, 20, 11, 8, 2, 2 states) with random level-like contents:
// diagonal energies over 0..40000 cm^-1, couplings of a few hundred. The
// literal rotation (a new matrix per rotation, full pivot scan), the in-place
// one, and Eigen's solver run on the same blocks; the counters give the
// rotations per set of blocks.

namespace {

const unsigned f6BlockSizes[] = {14, 19, 37, 37, 46, 37, 38, 24, 20, 11, 8, 2, 2};

SymmetricMatrix levelLikeBlock(unsigned n, std::mt19937_64& engine)
{
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    SymmetricMatrix m(n);
    for (unsigned i = 0; i < n; ++i)
        for (unsigned j = 0; j <= i; ++j)
            m[i][j] = i == j ? 20000.0 * (unit(engine) + 1.0) : 300.0 * unit(engine);
    return m;
}

// Every f^6 block, or (size > 0) one block of that size.
std::vector<SymmetricMatrix> blocks(int size)
{
    std::mt19937_64 engine(6);
    std::vector<SymmetricMatrix> result;
    if (size > 0)
        result.push_back(levelLikeBlock(unsigned(size), engine));
    else
        for (const unsigned n : f6BlockSizes)
            result.push_back(levelLikeBlock(n, engine));
    return result;
}

std::vector<Eigen::MatrixXd> denseBlocks(const std::vector<SymmetricMatrix>& packed)
{
    std::vector<Eigen::MatrixXd> result;
    for (const SymmetricMatrix& m : packed) {
        const unsigned n = m.getSize();
        Eigen::MatrixXd dense(n, n);
        for (unsigned i = 0; i < n; ++i)
            for (unsigned j = 0; j < n; ++j)
                dense(i, j) = m.value(i, j);
        result.push_back(dense);
    }
    return result;
}

void BM_JacobiLiteral(benchmark::State& state)
{
    const std::vector<SymmetricMatrix> matrices = blocks(int(state.range(0)));
    std::vector<EigenPair> pairs;
    for (auto _ : state)
        for (const SymmetricMatrix& m : matrices) {
            LiteralJacobi::diagonalize(m, 1e-10, pairs);
            benchmark::DoNotOptimize(pairs.data());
        }
}

void BM_JacobiInPlace(benchmark::State& state)
{
    const std::vector<SymmetricMatrix> matrices = blocks(int(state.range(0)));
    std::vector<EigenPair> pairs;
    for (auto _ : state)
        for (const SymmetricMatrix& m : matrices) {
            m.diagonalize(1e-10, pairs);
            benchmark::DoNotOptimize(pairs.data());
        }
}

void BM_EigenSelfAdjoint(benchmark::State& state)
{
    const std::vector<Eigen::MatrixXd> matrices = denseBlocks(blocks(int(state.range(0))));
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver;
    for (auto _ : state)
        for (const Eigen::MatrixXd& m : matrices) {
            solver.compute(m);
            benchmark::DoNotOptimize(solver.eigenvectors().data());
        }
}

} // namespace

// Argument 0: all thirteen f^6 blocks; 46: the largest block alone.
BENCHMARK(BM_JacobiLiteral)->Arg(0)->Arg(46)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JacobiInPlace)->Arg(0)->Arg(46)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EigenSelfAdjoint)->Arg(0)->Arg(46)->Unit(benchmark::kMicrosecond);
