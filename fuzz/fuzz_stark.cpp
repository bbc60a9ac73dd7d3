// The inputs of the Stark charge-factor fit: a Cartesian MOPAC geometry, then
// (after lines "@@@@") the ".groups", ".limits", ".exp" and ".chargefactors"
// files, read by the static readers and evaluated at one charge factor per
// group for a coordination number that varies with the input.

#include "fuzzinput.h"
#include "orvaneparametricstarklevels.h"

#include <vector>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const QList<QByteArray> files = OrvaneFuzz::splitSections(bytes, 5);
    const QString geometry = OrvaneFuzz::writeInput(files.at(0), QStringLiteral("complex.mop"));
    const QString stem = OrvaneFuzz::path(QStringLiteral("complex"));
    OrvaneFuzz::writeInput(files.at(1), QStringLiteral("complex.groups"));
    OrvaneFuzz::writeInput(files.at(2), QStringLiteral("complex.limits"));
    OrvaneFuzz::writeInput(files.at(3), QStringLiteral("complex.exp"));
    OrvaneFuzz::writeInput(files.at(4), QStringLiteral("complex.chargefactors"));

    QVector<ParametersGroup> groups;
    QVector<GLimits> limits;
    QVector<TransitionValues> transitions;
    QVector<ChargeFactorsGroup> chargeFactors;
    OrvaneParametricStarkLevels::readParametersGroup(stem, groups);
    OrvaneParametricStarkLevels::readGLimitsFile(stem, limits);
    OrvaneParametricStarkLevels::readTransitionValues(stem, transitions);
    OrvaneParametricStarkLevels::readChargeFactorsFile(stem, chargeFactors);

    OrvaneParametricStarkLevels model(nullptr, geometry, OrvaneFuzz::smallNumber(bytes, 12));
    model.setParametersGroup(groups);
    model.setGLimits(limits);
    model.setTransitionValues(transitions);
    model.startOfParametrization();
    // One value per group, taken from the charge-factor file where it has one.
    std::vector<double> x(static_cast<std::size_t>(groups.size()) + 1, 0.5);
    for (int i = 0; i < chargeFactors.size() && i < groups.size(); ++i)
        x[static_cast<std::size_t>(i)] = chargeFactors.at(i).chargeFactor;
    double* pointer = x.data();
    model.incrementPointsNumber();
    model.runParametrization(groups.size(), pointer);
    model.endOfParametrization();
    return 0;
}
