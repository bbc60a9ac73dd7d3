// Reading speed of the chemistry-file readers on files of about 20 MB made of
// one plausible line repeated (the shape of the linear-time tests in
// tests/engine/core/test_orvanereaders_largefiles.cpp, which compare sizes
// instead of timing). Reported as bytes per second.

#include "orvanearadpartition.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <functional>

namespace {

constexpr qint64 fileBytes = 20 * 1024 * 1024;

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(ORVANE_TEST_DATA_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The fixture with the line holding `marker` (after `anchor`) repeated until
// the file reaches fileBytes; the file's path, empty when the line is missing.
QString grown(const char* fixtureName, const char* anchor, const char* marker, const char* target)
{
    const QByteArray text = fixture(fixtureName);
    const int anchorAt = text.indexOf(anchor);
    const int markerAt = anchorAt < 0 ? -1 : text.indexOf(marker, anchorAt);
    if (markerAt < 0)
        return QString();
    const int start = text.lastIndexOf('\n', markerAt) + 1;
    const int end = text.indexOf('\n', markerAt) + 1;
    const QByteArray line = text.mid(start, end - start);
    const QString path = folder().filePath(QLatin1String(target));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(text.left(start));
    QByteArray block;
    while (block.size() < (1 << 20))
        block += line;
    for (qint64 written = 0; written < fileBytes; written += block.size())
        file.write(block);
    file.write(text.mid(end));
    return path;
}

QString rows(const std::function<QByteArray(int)>& row, const char* target)
{
    const QString path = folder().filePath(QLatin1String(target));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    for (int i = 1; file.size() < fileBytes; ++i)
        file.write(row(i));
    return path;
}

void readRepeatedly(benchmark::State& state, const QString& path, const std::function<bool(const QString&)>& read)
{
    if (path.isEmpty()) {
        state.SkipWithError("the fixture lacks the line to repeat");
        return;
    }
    const qint64 bytes = QFile(path).size();
    for (auto _ : state)
        benchmark::DoNotOptimize(read(path));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

void BM_MopacOutputFinalGeometry(benchmark::State& state)
{
    static const QString path = grown("mopac/water.out", "CARTESIAN COORDINATES", "0.95707082  *", "big.out");
    readRepeatedly(state, path, [](const QString& file) {
        OrvaneInputData molecule(nullptr, file);
        return molecule.readMopacOutFile(true);
    });
}
BENCHMARK(BM_MopacOutputFinalGeometry)->Unit(benchmark::kMillisecond);

void BM_Mol2Atoms(benchmark::State& state)
{
    static const QString path = grown("writers/eu_aqua3.mol2", "@<TRIPOS>ATOM", "O6 ", "big.mol2");
    readRepeatedly(state, path, [](const QString& file) {
        OrvaneOrganizeMolecules organizer(nullptr);
        return organizer.readMOL2(file);
    });
}
BENCHMARK(BM_Mol2Atoms)->Unit(benchmark::kMillisecond);

void readInputData(benchmark::State& state, const QString& path, bool (OrvaneInputData::*read)())
{
    readRepeatedly(state, path, [read](const QString& file) {
        OrvaneInputData molecule(nullptr, file);
        return (molecule.*read)();
    });
}

// The lines of triplet states, which the absorption reader passes over.
void BM_GaussianAbsorption(benchmark::State& state)
{
    static const QString path = grown("gaussian/eu_h2o_td.log", "Excited State   3:", "3 ->  5", "big.log");
    readInputData(state, path, &OrvaneInputData::readAbsorptionDataGaussian);
}
BENCHMARK(BM_GaussianAbsorption)->Unit(benchmark::kMillisecond);

// The transition headers between the energy and strength lines.
void BM_ZindoAbsorption(benchmark::State& state)
{
    static const QString path = grown("zindo/eu_co.zin", "(    1)-->(    2)", "(    1)-->(    3)", "big.zin");
    readInputData(state, path, &OrvaneInputData::readAbsorptionDataZindo);
}
BENCHMARK(BM_ZindoAbsorption)->Unit(benchmark::kMillisecond);

void BM_LigandFile(benchmark::State& state)
{
    static const QString path
        = rows([](int i) { return QStringLiteral("Ligand%1 2 3 4 5 6\n").arg(i).toLatin1(); }, "big.ligands");
    // Eight oxygen donors about the ion.
    OrvaneInputData molecule(nullptr, QString());
    molecule.coord.append(Coord{QStringLiteral("Eu"), 0.0, 0.0, 0.0});
    for (int i = 0; i < 8; ++i)
        molecule.coord.append(Coord{QStringLiteral("O"), 2.4 * std::cos(i * 0.785398), 2.4 * std::sin(i * 0.785398),
                                    i % 2 ? 1.0 : -1.0});
    molecule.createSphericalCoordinate();
    OrvaneInputData* donors = &molecule;
    readRepeatedly(state, path, [&](const QString& file) {
        OrvaneAradPartition partition(nullptr, donors, 8, 1.5);
        return partition.setLigandsVector(file);
    });
}
BENCHMARK(BM_LigandFile)->Unit(benchmark::kMillisecond);

} // namespace
