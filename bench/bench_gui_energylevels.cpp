// The free-ion energy-level form opening an experimental level file of many
// levels (table, diagram and text) and then closing: both should grow in
// proportion to the number of levels.

#include "orvanedialogs.h"
#include "orvanefrmenergylevels.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// `levels` Eu levels named from the 7F and 5D terms, energies rising.
QString levelFile(const QTemporaryDir& folder, int levels)
{
    QByteArray text = "Eu\n";
    for (int i = 0; i < levels; ++i)
        text += (i % 2 ? "5D" : "7F") + QByteArray::number(i % 7) + ' ' + QByteArray::number(10.0 * i) + '\n';
    const QString path = folder.filePath(QStringLiteral("levels.exp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return QString();
    return path;
}

// Every file dialog chooses `path`; message boxes are answered without a window.
void answerDialogsWith(const QString& path)
{
    OrvaneDialogs::setResponder([path](const OrvaneDialogs::Request&) {
        OrvaneDialogs::Reply reply;
        reply.fileNames << path;
        reply.button = QMessageBox::Ok;
        return reply;
    });
}

std::unique_ptr<OrvaneFrmEnergyLevels> fitForm()
{
    auto form = std::make_unique<OrvaneFrmEnergyLevels>();
    form->findChild<QRadioButton*>(QStringLiteral("rdbParametrizeFkAndZeta"))->click();
    return form;
}

void open(OrvaneFrmEnergyLevels& form)
{
    form.findChild<QPushButton*>(QStringLiteral("btnOpenEnergyLevelsFile"))->click();
}

enum class Timed { Opening, Closing };

// Per iteration a new form in the fit mode opens the file of state.range(0)
// levels and is closed; only the `timed` step counts.
void formWithLevels(benchmark::State& state, Timed timed)
{
    QTemporaryDir folder;
    const QString path = levelFile(folder, int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("the level file could not be written");
        return;
    }
    answerDialogsWith(path);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = fitForm();
        if (timed == Timed::Opening)
            state.ResumeTiming();
        open(*form);
        if (timed == Timed::Opening)
            state.PauseTiming();
        else
            state.ResumeTiming();
        form.reset();
        if (timed == Timed::Opening)
            state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_OpenLevelFile(benchmark::State& state)
{
    formWithLevels(state, Timed::Opening);
}

void BM_CloseAfterOpening(benchmark::State& state)
{
    formWithLevels(state, Timed::Closing);
}

} // namespace

BENCHMARK(BM_OpenLevelFile)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CloseAfterOpening)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);
