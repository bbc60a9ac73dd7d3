// The broadened absorption spectrum (1001 points) of a TD output with many
// singlet states: the sum over lines at every point is the whole cost.

#include "orvanenormalizepoints.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The Gaussian fixture with `states` singlet states spread over 150-450 nm
// put in before its end-of-states line.
QString manyStates(const QTemporaryDir& folder, int states)
{
    QFile source(QStringLiteral(ORVANE_TEST_DATA_DIR "/gaussian/eu_h2o_td.log"));
    if (!source.open(QIODevice::ReadOnly))
        return QString();
    QByteArray text = source.readAll();
    const int end = text.indexOf(" SavETr:");
    if (end < 0)
        return QString();
    QByteArray block;
    for (int k = 0; k < states; ++k) {
        const double nm = 150.0 + 300.0 * (k + 0.5) / states;
        block += QStringLiteral(" Excited State %1:      Singlet-A'     %2 eV  %3 nm  f=%4  <S**2>=0.000\n"
                                "       4 ->  5         0.70000\n \n")
                     .arg(k + 7)
                     .arg(1239.84198 / nm, 0, 'f', 4)
                     .arg(nm, 0, 'f', 2)
                     .arg(0.001 + 0.5 * ((k * 37) % 101) / 101.0, 0, 'f', 4)
                     .toLatin1();
    }
    text.insert(end, block);
    const QString path = folder.filePath(QStringLiteral("many_states.log"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return QString();
    return path;
}

void BM_Spectrum(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = manyStates(folder, int(state.range(0)));
    OrvaneNormalizePoints points(nullptr, path, 0);
    if (path.isEmpty() || !points.getLastError().isEmpty()) {
        state.SkipWithError("the file of states could not be made or read");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(points.spectrum());
    state.SetItemsProcessed(state.iterations() * 1001 * state.range(0));
}

} // namespace

BENCHMARK(BM_Spectrum)->Arg(50)->Arg(2000)->Unit(benchmark::kMicrosecond);
