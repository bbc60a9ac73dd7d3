// Side files: QDC parameters against a MOPAC output and against an indices
// file (with its MOPAC input: the part after a line "@@@@", or the same
// input), XYZ atom counts and structure lists.

#include "fuzzinput.h"
#include "orvaneinputdata.h"

#include <QStringList>
#include <QVector>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const auto parts = OrvaneFuzz::splitInput(bytes);
    const int n = OrvaneFuzz::smallNumber(bytes, 12);
    const double qdc[3] = {0.5, 1.0, 2.0};

    const QString output = OrvaneFuzz::writeInput(parts.first, QStringLiteral("complex.out"));
    const QVector<float> charges(n + 2, 1.0f);
    OrvaneInputData::checkParametersQDC(output, charges, charges, n, qdc);
    OrvaneInputData::numberOfAtomsFromXYZFile(output);

    const QString indices = OrvaneFuzz::writeInput(parts.first, QStringLiteral("complex.indeces"));
    OrvaneFuzz::writeInput(parts.second, QStringLiteral("complex.mop"));
    OrvaneInputData::readFileIndeces(indices, n, qdc, static_cast<int>(size % 2));

    OrvaneFuzz::writeInput(parts.first, QStringLiteral("mol_name.txt"));
    QString folder = OrvaneFuzz::folder();
    QString name;
    QStringList labels;
    QVector<int> first, second;
    OrvaneInputData::readMolNameFile(folder, name, labels, first, second);
    return 0;
}
