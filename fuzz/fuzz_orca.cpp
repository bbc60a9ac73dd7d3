// ORCA outputs with their point-charge companion (the part after a line
// "@@@@", or the same input).

#include "fuzzinput.h"
#include "orvaneinputdata.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto parts = OrvaneFuzz::splitInput(OrvaneFuzz::bytesOf(data, size));
    const QString file = OrvaneFuzz::writeInput(parts.first, QStringLiteral("ligand.orcout"));
    OrvaneFuzz::writeInput(parts.second, QStringLiteral("ligand.pointcharge"));
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readOutputOrca();
        molecule.readCoordFromOrcaOutFile();
        double x = 0.0, y = 0.0, z = 0.0;
        molecule.readChargePointFileOrca(x, y, z);
    }
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readAbsorptionDataOrca();
        molecule.readAbsorptionDataOrca();
    }
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readMolecularOrbitalOccupancy();
    }
    return 0;
}
