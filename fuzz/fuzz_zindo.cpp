// ZINDO (INDO/S) outputs: orbitals, singlets, triplets, absorption lines, atoms.

#include "fuzzinput.h"
#include "orvaneinputdata.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("ligand.zin"));
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readCoordFromZindoOutFile();
        molecule.readOutputZindo();
    }
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readAbsorptionDataZindo();
    }
    return 0;
}
