// The weights file "pesos.txt" of the intensity-parameter fit, read from the
// current folder when the fit is built: whatever the file holds, each weight
// is a positive finite number (1 where the file gives none).

#include "fuzzinput.h"
#include "orvaneparametric.h"

#include <cmath>
#include <cstdlib>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("pesos.txt"));
    OrvaneFuzz::InFolder current;
    // No geometry: only the weights are read.
    const OrvaneParametric fit(nullptr, OrvaneFuzz::path(QStringLiteral("absent.out")), 0);
    for (double weight : {fit.getW2(), fit.getW4()})
        if (!(weight > 0.0) || !std::isfinite(weight))
            std::abort();
    return 0;
}
