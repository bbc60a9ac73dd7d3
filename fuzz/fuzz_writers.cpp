// The report writers on what their readers let through: the RL report of an
// excited-state output, the spectrum points of its absorption lines with the
// window and band width from the input, the experimental intensity report
// of numbers from the input, and the intensity-parameter report of a MOPAC
// input's geometry.

#include "fuzzinput.h"
#include "orvanenormalizepoints.h"
#include "orvaneomega.h"
#include "orvaneomegaexp.h"
#include "orvanerl.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    // The numbers are taken from the end of the input, the file is the whole input.
    FuzzedDataProvider numbers(data, size);

    const QString names[] = {QStringLiteral("states.zin"), QStringLiteral("states.orcout"),
                             QStringLiteral("states.log")};
    for (int program = OrvaneRL::Zindo; program <= OrvaneRL::Gaussian; ++program) {
        const QString file = OrvaneFuzz::writeInput(bytes, names[program]);
        OrvaneRL rl(nullptr, file);
        if (rl.calcRL(program))
            rl.createOutput(OrvaneFuzz::path(QStringLiteral("states.rl")));
    }

    const int absorption[] = {OrvaneNormalizePoints::Gaussian, OrvaneNormalizePoints::Orca,
                              OrvaneNormalizePoints::Zindo};
    const QString absorptionNames[] = {names[2], names[1], names[0]};
    for (int k = 0; k < 3; ++k) {
        OrvaneNormalizePoints points(nullptr, OrvaneFuzz::path(absorptionNames[k]), absorption[k]);
        if (!points.getLastError().isEmpty())
            continue;
        // Set both ways: through the checked setter and as the forms do.
        const double width = numbers.ConsumeFloatingPoint<double>();
        const double first = numbers.ConsumeFloatingPointInRange(-100.0, 2000.0);
        const double last = numbers.ConsumeFloatingPoint<double>();
        points.setParametersNormalization(width, first, last);
        points.createEspFile(OrvaneFuzz::path(QStringLiteral("spectrum.txt")));
        points.bandWidth = width;
        points.initialWavelength = first;
        points.finalWavelength = last;
        points.createEspFile(OrvaneFuzz::path(QStringLiteral("spectrum.txt")));
    }

    {
        OrvaneOmegaExp exp(nullptr, numbers.ConsumeFloatingPointInRange(0.0, 5.0));
        std::array<double, 6> area {}, energy {};
        for (double& a : area)
            a = numbers.ConsumeFloatingPoint<double>();
        for (double& e : energy)
            e = numbers.ConsumeFloatingPoint<double>();
        exp.setAreaOfTransition(area[0], area[1], area[2], area[3], area[4], area[5]);
        exp.setBarycenterOfEnergy(energy[0], energy[1], energy[2], energy[3], energy[4], energy[5]);
        exp.setLifeTime(numbers.ConsumeFloatingPoint<double>());
        exp.calcOmegaExp();
        exp.createOutputFile(OrvaneFuzz::path(QStringLiteral("spectrum.orvaneexp")));
    }

    {
        const QString mop = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex.mop"));
        OrvaneOmega omega(nullptr, 1, mop, QString());
        if (omega.getLastError().isEmpty()) {
            std::array<double, 32> g {}, alpha {};
            for (size_t i = 2; i < g.size(); ++i) {
                g[i] = numbers.ConsumeFloatingPointInRange(0.0, 3.0);
                alpha[i] = numbers.ConsumeFloatingPointInRange(0.0, 15.0) * 1e-24;
            }
            double* gPointer = g.data();
            double* alphaPointer = alpha.data();
            omega.setCoordNumber(numbers.ConsumeIntegralInRange(-1, 30));
            omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
            omega.setLigandAtomsByLigandVector({QStringLiteral("first 2 3"), QStringLiteral("second 4")});
            if (omega.calcOmega())
                omega.createOutFile(OrvaneFuzz::path(QStringLiteral("complex.omega")));
        }
    }
    return 0;
}
