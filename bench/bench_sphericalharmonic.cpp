#include "sphericalharmonic.h"

#include <benchmark/benchmark.h>

// The innermost call of the intensity model: every ligand atom, odd rank and order.
static void BM_OddRanksForOneAtom(benchmark::State& state)
{
    CoordSPH position;
    position.theta = 63.0;
    position.phi = 141.0;
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 1; k <= 7; k += 2)
            for (int q = 0; q <= k; ++q)
                sum += sphericalHarmonic(position, k, q).re;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_OddRanksForOneAtom);
