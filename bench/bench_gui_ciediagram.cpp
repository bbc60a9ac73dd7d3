// Opening and closing the chromaticity window on points files of growing
// size: building the diagram and taking it down again must grow with the
// points, not with their square.

#include "orvanefrmciediagram.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// `rows` coloured points on a grid over the diagram, after the three header
// lines.
bool writePointsFile(const QString& path, int rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "header\nheader\nx y z r g b R G B\n";
    for (int i = 0; i < rows; ++i) {
        const double x = 0.8 * (i % 317) / 317.0;
        const double y = 0.85 * (i / 317 % 331) / 331.0;
        text += QByteArray::number(x, 'f', 4) + ' ' + QByteArray::number(y, 'f', 4) + " 0 0 0 0 "
                + QByteArray::number(i % 256) + ' ' + QByteArray::number(i / 256 % 256) + " 128\n";
    }
    return file.write(text) == text.size();
}

void BM_OpenAndCloseCieWindow(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    if (!writePointsFile(folder.filePath(QStringLiteral("CIEpoints.txt")), int(state.range(0)))
        || !QDir::setCurrent(folder.path())) {
        state.SkipWithError("the points file could not be written");
        return;
    }
    for (auto _ : state) {
        auto window = std::make_unique<OrvaneFrmCIEDiagram>();
        window->setSpectrum({600.0, 612.0, 620.0}, {0.1, 1.0, 0.2});
        window->plotChromaticity();
        window->show();
        QApplication::processEvents();
        window.reset();
    }
    QDir::setCurrent(previous);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_OpenAndCloseCieWindow)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
