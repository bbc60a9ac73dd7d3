// Ligand-state distances: an excited-state output read by the readers of each
// program and the distances computed from what they read.

#include "fuzzinput.h"
#include "orvanerl.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto parts = OrvaneFuzz::splitInput(OrvaneFuzz::bytesOf(data, size));
    OrvaneFuzz::writeInput(parts.second, QStringLiteral("ligand.pointcharge"));
    const QString names[] = {QStringLiteral("ligand.zin"), QStringLiteral("ligand.orcout"),
        QStringLiteral("ligand.log")};
    for (int program = OrvaneRL::Zindo; program <= OrvaneRL::Gaussian; ++program) {
        const QString file = OrvaneFuzz::writeInput(parts.first, names[program]);
        OrvaneRL rl(nullptr, file);
        if (rl.calcRL(program))
            rl.createOutput(OrvaneFuzz::path(QStringLiteral("ligand.rl")));
    }
    return 0;
}
