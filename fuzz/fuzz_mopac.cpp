// MOPAC outputs and inputs, force constants and Z-matrix files.

#include "fuzzinput.h"
#include "orvaneinputdata.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const QString file = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex.out"));

    for (const bool keepTv : {true, false}) {
        OrvaneInputData molecule(nullptr, file);
        if (molecule.readMopacOutFile(keepTv))
            molecule.createSphericalCoordinate();
    }
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readForceConstant(file, OrvaneFuzz::smallNumber(bytes, 30));
    }
    OrvaneInputData::checkTypeMopFile(file);
    {
        OrvaneInputData molecule(nullptr, file);
        if (molecule.readMopFile())
            molecule.createSphericalCoordinate();
    }
    {
        OrvaneInputData molecule(nullptr, file);
        molecule.readZmtFile();
    }
    return 0;
}
