#include "orvaneomega.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

// The fits evaluate the intensity parameters once per annealing step with new
// charge factors and polarizabilities on a fixed geometry: the kept geometry
// terms (calcOmega) against the term-by-term evaluation (calcOmegaDirect),
// and the group fit's evaluation (calcOmegaOfGroups) with the donors in two
// groups.

namespace {

// 28 donors of mixed elements on a spiral around the ion, at 2.3-2.8 Angstrom.
QVector<Coord> complexOf28Donors()
{
    const char* labels[] = {"O", "N", "O", "Cl", "O", "N", "S", "F"};
    QVector<Coord> atoms;
    Coord eu;
    eu.label = QStringLiteral("Eu");
    atoms.append(eu);
    for (int i = 0; i < 28; ++i) {
        const double z = 1.0 - (2.0 * i + 1.0) / 28.0;
        const double phi = 2.399963229728653 * i;
        const double r = 2.3 + 0.5 * std::fmod(0.618033988749895 * i, 1.0);
        const double s = std::sqrt(1.0 - z * z);
        Coord c;
        c.label = QString::fromLatin1(labels[i % 8]);
        c.x = r * s * std::cos(phi);
        c.y = r * s * std::sin(phi);
        c.z = r * z;
        atoms.append(c);
    }
    return atoms;
}

void run(benchmark::State& state, bool (OrvaneOmega::*evaluate)())
{
    std::array<double, 32> g {};
    std::array<double, 32> alpha {};
    for (int i = 2; i < 30; ++i) {
        g[i] = 0.2 + 0.05 * i;
        alpha[i] = (0.5 + 0.1 * i) * 1e-24;
    }
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    OrvaneOmega omega(nullptr, complexOf28Donors());
    omega.setCoordNumber(int(state.range(0)));
    omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
    if (!(omega.*evaluate)()) {
        state.SkipWithError(qPrintable(omega.getLastError()));
        return;
    }
    int step = 0;
    for (auto _ : state) {
        // A new trial point, as an annealing step makes it.
        g[2 + step % state.range(0)] *= 1.0000001;
        alpha[2 + (step + 1) % state.range(0)] *= 0.9999999;
        ++step;
        benchmark::DoNotOptimize((omega.*evaluate)());
        benchmark::DoNotOptimize(omega.getOmega(2));
    }
}

void BM_CalcOmega(benchmark::State& state)
{
    run(state, &OrvaneOmega::calcOmega);
}

void BM_CalcOmegaDirect(benchmark::State& state)
{
    run(state, &OrvaneOmega::calcOmegaDirect);
}

void BM_CalcOmegaOfGroups(benchmark::State& state)
{
    const int n = int(state.range(0));
    OrvaneOmega omega(nullptr, complexOf28Donors());
    omega.setCoordNumber(n);
    std::vector<int> groups;
    for (int d = 0; d < n; ++d)
        groups.push_back(d % 2);
    std::array<double, 2> g {0.8, 1.2};
    std::array<double, 2> alpha {1.5e-24, 3.0e-24};
    if (!omega.setDonorGroups(groups) || !omega.calcOmegaOfGroups(g.data(), alpha.data())) {
        state.SkipWithError(qPrintable(omega.getLastError()));
        return;
    }
    int step = 0;
    for (auto _ : state) {
        g[std::size_t(step % 2)] *= 1.0000001;
        alpha[std::size_t((step + 1) % 2)] *= 0.9999999;
        ++step;
        benchmark::DoNotOptimize(omega.calcOmegaOfGroups(g.data(), alpha.data()));
        benchmark::DoNotOptimize(omega.getOmega(2));
    }
}

} // namespace

BENCHMARK(BM_CalcOmega)->Arg(4)->Arg(9)->Arg(28);
BENCHMARK(BM_CalcOmegaOfGroups)->Arg(4)->Arg(9)->Arg(28);
BENCHMARK(BM_CalcOmegaDirect)->Arg(4)->Arg(9)->Arg(28);
