// ORVANE's side of scripts/bench/compare_peers.sh: reading a MOPAC output and
// writing its Z-matrix, on the file named by ORVANE_PEER_MOPAC_OUTPUT (the
// benchmarks skip without it). The script times the other programs on the
// same file and prints the ratios.

#include "orvanefilesconverter.h"
#include "orvaneinputdata.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QString peerFile()
{
    const char* path = std::getenv("ORVANE_PEER_MOPAC_OUTPUT");
    return path ? QString::fromLocal8Bit(path) : QString();
}

void BM_PeerReadMopacOutput(benchmark::State& state)
{
    const QString file = peerFile();
    if (file.isEmpty()) {
        state.SkipWithError("ORVANE_PEER_MOPAC_OUTPUT is not set");
        return;
    }
    for (auto _ : state) {
        OrvaneInputData molecule(nullptr, file);
        if (!molecule.readMopacOutFile(true)) {
            state.SkipWithError(qPrintable(molecule.getLastError()));
            return;
        }
        benchmark::DoNotOptimize(molecule.coord.size());
    }
}

void BM_PeerMopacOutputToZMatrix(benchmark::State& state)
{
    const QString file = peerFile();
    QTemporaryDir folder;
    if (file.isEmpty()) {
        state.SkipWithError("ORVANE_PEER_MOPAC_OUTPUT is not set");
        return;
    }
    for (auto _ : state) {
        OrvaneFilesConverter converter(nullptr, file);
        if (!converter.convertFromOutToZmt(folder.filePath(QStringLiteral("peer.zmt")))) {
            state.SkipWithError(qPrintable(converter.getLastError()));
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_PeerReadMopacOutput)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PeerMopacOutputToZMatrix)->Unit(benchmark::kMillisecond)->Iterations(3);
