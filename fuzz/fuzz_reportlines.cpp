// The report lines the calculation forms read back: the .omega value lines,
// the .orvaneexp Omega and lifetime lines and the .expdata side file. A
// regular file is always read, and a value read is a number.

#include "fuzzinput.h"
#include "orvaneomegaexpreportlines.h"
#include "orvaneomegareportlines.h"

#include <cmath>
#include <cstdlib>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("report.omega"));
    OrvaneOmegaReport::Values values;
    QString reason;
    if (!OrvaneOmegaReport::read(file, values, reason))
        std::abort();
    for (const auto& value : values)
        if (value && !std::isfinite(*value))
            std::abort();
    OrvaneOmegaExpReport::Omegas omegas;
    if (!OrvaneOmegaExpReport::readOmegas(file, omegas))
        std::abort();
    const std::optional<double> lifeTime = OrvaneOmegaExpReport::readLifeTime(file);
    if (lifeTime && !std::isfinite(*lifeTime))
        std::abort();
    double omega2 = 0.0;
    double omega4 = 0.0;
    OrvaneExpDataFile::read(file, omega2, omega4);
    if (!std::isfinite(omega2) || !std::isfinite(omega4))
        std::abort();
    return 0;
}
