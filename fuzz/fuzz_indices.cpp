// Reactivity indices from the eigenvector listing of a MOPAC output.

#include "fuzzinput.h"
#include "orvaneindicescalculation.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const QString file = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex.out"));
    OrvaneIndicesCalculation indices(nullptr, file, OrvaneFuzz::smallNumber(bytes, 12));
    if (indices.calculateIndices())
        indices.getMinimumSuperDeslocalizability();
    return 0;
}
