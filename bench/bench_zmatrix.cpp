#include "orvanefilesconverter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

// The Z-matrix of a large structure (a periodic cluster or a protein-sized
// MOPAC run): reference atoms through the grid against the scan over every
// earlier atom. Atoms at the density of organic matter (one per 10 cubic
// Angstrom), at least 1 Angstrom apart, in the order a chain would list them.

namespace {

QVector<Coord> structureOf(int n)
{
    std::mt19937_64 random(42);
    std::normal_distribution<double> step(0.0, 1.0);
    const double box = std::cbrt(10.0 * n);
    QVector<Coord> atoms;
    atoms.reserve(n);
    double x = box / 2, y = box / 2, z = box / 2;
    for (int i = 0; i < n; ++i) {
        // A random walk of 1.5 Angstrom steps folded into the box.
        double dx = step(random), dy = step(random), dz = step(random);
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz) + 1e-12;
        x = std::fmod(x + 1.5 * dx / length + box, box);
        y = std::fmod(y + 1.5 * dy / length + box, box);
        z = std::fmod(z + 1.5 * dz / length + box, box);
        Coord c;
        c.label = QStringLiteral("C");
        c.x = x;
        c.y = y;
        c.z = z;
        atoms.append(c);
    }
    return atoms;
}

void BM_ZMatrixGrid(benchmark::State& state)
{
    const QVector<Coord> atoms = structureOf(int(state.range(0)));
    OrvaneFilesConverter converter;
    for (auto _ : state)
        benchmark::DoNotOptimize(converter.createZMTFromXYZCoord(atoms));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ZMatrixFullScan(benchmark::State& state)
{
    const QVector<Coord> atoms = structureOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(OrvaneFilesConverter::zMatrixByFullScan(atoms));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ZMatrixGrid)->Arg(4500)->Arg(36000)->Arg(130000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZMatrixFullScan)->Arg(4500)->Arg(36000)->Unit(benchmark::kMillisecond)->Iterations(1);
