// Tripos MOL2 files: the molecule reader and the MOPAC input made from them.

#include "fuzzinput.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("complex.mol2"));
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readMol2File();
    }
    OrvaneOrganizeMolecules organizer(nullptr);
    if (organizer.readMOL2(file))
        organizer.createOutpuFile(OrvaneFuzz::path(QStringLiteral("complex.mop")));
    return 0;
}
