// Z-matrix placement and its inverse on rows taken straight from the bytes:
// any bond, angle and dihedral (not a number, infinite, huge) and any
// reference numbers, which a file reader would never let through unchecked.

#include "fuzzinput.h"
#include "orvanefilesconverter.h"

#include <fuzzer/FuzzedDataProvider.h>

ORVANE_FUZZ_QUIET_QT

namespace {

constexpr int maxRows = 64;

double anyDouble(FuzzedDataProvider& input)
{
    // Mostly chemistry-sized values, sometimes any bit pattern at all.
    if (input.ConsumeBool())
        return input.ConsumeFloatingPointInRange(-500.0, 500.0);
    return input.ConsumeFloatingPoint<double>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int rows = input.ConsumeIntegralInRange(0, maxRows);
    QVector<CoordZMT> zmatrix;
    for (int k = 0; k < rows && input.remaining_bytes() > 0; ++k) {
        CoordZMT row;
        row.label = input.ConsumeBool() ? QStringLiteral("O") : QStringLiteral("Eu");
        row.bond = anyDouble(input);
        row.angle = anyDouble(input);
        row.dihedral = anyDouble(input);
        row.na = input.ConsumeIntegralInRange(-2, maxRows + 2);
        row.nb = input.ConsumeIntegralInRange(-2, maxRows + 2);
        row.nc = input.ConsumeIntegralInRange(-2, maxRows + 2);
        zmatrix.append(row);
    }
    OrvaneFilesConverter converter(nullptr, QString());
    const QVector<Coord> atoms = converter.createXYZFromZMTCoord(zmatrix);
    converter.createZMTFromXYZCoord(atoms);

    // Cartesian atoms straight from the bytes, for the inverse alone.
    QVector<Coord> cartesian;
    while (cartesian.size() < maxRows && input.remaining_bytes() > 0) {
        Coord atom;
        atom.label = QStringLiteral("C");
        atom.x = anyDouble(input);
        atom.y = anyDouble(input);
        atom.z = anyDouble(input);
        cartesian.append(atom);
    }
    converter.createZMTFromXYZCoord(cartesian);
    return 0;
}
