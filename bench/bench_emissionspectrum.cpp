// Reading a measured emission spectrum of many points (a fine-step scan of a
// whole spectrum, as the emission page opens it): the file is split at its
// line ends and numbers once, with no regular expression and no text built
// for the numbers.

#include "orvaneemissionspectrumreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

namespace {

// `points` lines of wavelength and intensity, tab-separated, with a header.
QString spectrumFile(const QTemporaryDir& folder, int points)
{
    const QString path = folder.filePath(QStringLiteral("spectrum_%1.txt").arg(points));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray text = "Wavelength (nm)\tIntensity (a.u.)\n";
    text.reserve(points * 24);
    char line[64];
    for (int i = 0; i < points; ++i) {
        const double lambda = 570.0 + 150.0 * i / points;
        const double u = (lambda - 612.0) / 3.0;
        const int n = std::snprintf(line, sizeof line, "%.6f\t%.6e\n", lambda, 1000.0 * std::exp(-0.5 * u * u) + 1.0);
        text.append(line, n);
    }
    if (file.write(text) != text.size())
        return QString();
    return path;
}

void BM_ReadEmissionSpectrum(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = spectrumFile(folder, int(state.range(0)));
    OrvaneEmissionSpectrumReader reader;
    if (path.isEmpty() || !reader.readFile(path)) {
        state.SkipWithError("the spectrum could not be written or read");
        return;
    }
    for (auto _ : state) {
        reader.readFile(path);
        benchmark::DoNotOptimize(reader.getWavelengths().constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ReadEmissionSpectrum)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
