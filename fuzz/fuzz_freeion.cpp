// Experimental free-ion levels (".exp") read and scored by the fit of F2, F4,
// F6 and zeta against the committed 4f3 tables, and the same bytes read as a
// free-ion parameter file (".param").

#include "fuzzinput.h"
#include "orvaneenergylevels.h"
#include "orvaneparametricenergylevels.h"

#include <QDir>
#include <QFile>

#include <array>
#include <memory>
#include <vector>

namespace {

// The committed tables, copied once into the fuzzer's folder.
void useCommittedTables()
{
    const QString folder = OrvaneFuzz::folder();
    QDir(folder).mkpath(QStringLiteral("EnergyLevels4f"));
    for (const char* name : {"f3.cfp", "f3.ele"})
        QFile::copy(QStringLiteral(ORVANE_FUZZ_LEVEL_TABLES "/") + QLatin1String(name),
            folder + QStringLiteral("/EnergyLevels4f/") + QLatin1String(name));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    OrvaneFuzz::quietQt();
    useCommittedTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const QString path = OrvaneFuzz::writeInput(bytes, QStringLiteral("levels.exp"));

    std::array<double, 4> parameters;
    OrvaneEnergyLevels::readParameterFile(path, parameters);

    QVector<EnergyLevelsExp> levels;
    QString title;
    if (!OrvaneParametricEnergyLevels::readEnergyLevelsExp(path, levels, title))
        return 0;
    std::unique_ptr<OrvaneParametricEnergyLevels> problem;
    {
        OrvaneFuzz::InFolder current;
        problem = std::make_unique<OrvaneParametricEnergyLevels>(nullptr, 3, path);
    }
    OrvaneParametricEnergyLevels& fit = *problem;
    fit.setEnergyLevelsExp(levels);
    // A point inside the bounds, then the values of the parameter file.
    for (const std::vector<double>& p : {std::vector<double> {330.0, 50.0, 5.0, 880.0},
             std::vector<double> {parameters[1], parameters[2], parameters[3], parameters[0]}}) {
        std::vector<double> x = p;
        double* pointer = x.data();
        fit.incrementPointsNumber();
        fit.runParametrization(4, pointer);
    }
    fit.endOfParametrization();
    fit.getMixedStateVector();
    return 0;
}
