// Gaussian TD-DFT outputs: states, orbitals, atoms and absorption lines.

#include "fuzzinput.h"
#include "orvaneinputdata.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("ligand.log"));
    {
        OrvaneInputData molecule(nullptr, file);
        if (molecule.readOutputGaussian())
            molecule.createSphericalCoordinate();
    }
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readAbsorptionDataGaussian();
    }
    return 0;
}
