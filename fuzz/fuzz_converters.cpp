// Every conversion of the Files Converter on one input: read as a MOPAC
// output, a MOPAC input, a MOL2 file and a Z-matrix file, and written as
// each generated input and coordinate file.

#include "fuzzinput.h"
#include "orvanefilesconverter.h"

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const QString output = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex.out"));
    {
        OrvaneFilesConverter converter(nullptr, output);
        converter.convertFromOutToGjf(OrvaneFuzz::path(QStringLiteral("complex.gjf")));
        converter.convertFromOutToInp(OrvaneFuzz::path(QStringLiteral("complex.inp")));
        converter.convertFromOutToMop(OrvaneFuzz::path(QStringLiteral("complex.mop")));
        converter.convertFromOutToSph(OrvaneFuzz::path(QStringLiteral("complex.sph")));
        converter.convertFromOutToZmt(OrvaneFuzz::path(QStringLiteral("complex.zmt")));
        converter.convertFromOutToXYZ(OrvaneFuzz::path(QStringLiteral("complex.xyz")), bytes.size() % 2 == 0);
        // The energy window reads ORCA's earlier output beside the input: the same bytes.
        OrvaneFuzz::writeInput(bytes, QStringLiteral("complex.orcout"));
        const int window = OrvaneFuzz::smallNumber(bytes, 4) - 1;
        converter.convertFromOutToInpOrca(OrvaneFuzz::path(QStringLiteral("complex.orcinp")), window % 2 == 0,
                                          window > 1, window, window, OrvaneFuzz::smallNumber(bytes, 20),
                                          QString());
    }
    {
        const QString input = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex_in.mop"));
        OrvaneFilesConverter converter(nullptr, input);
        converter.convertFromMopToXYZ(OrvaneFuzz::path(QStringLiteral("from_mop.xyz")), true);
    }
    {
        const QString mol2 = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex.mol2"));
        OrvaneFilesConverter converter(nullptr, mol2);
        converter.convertFromMOL2ToXYZ(OrvaneFuzz::path(QStringLiteral("from_mol2.xyz")));
    }
    {
        const QString zmt = OrvaneFuzz::writeInput(bytes, QStringLiteral("complex_in.zmt"));
        OrvaneFilesConverter converter(nullptr, zmt);
        converter.convertFromZmtToXYZ(OrvaneFuzz::path(QStringLiteral("from_zmt.xyz")));
    }
    return 0;
}
