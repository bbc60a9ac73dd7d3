// Ligand files of the chemical partition of the radiative rate, read for a
// fixed complex of eight oxygen donors, and the lookups the report makes.

#include "fuzzinput.h"
#include "orvanearadpartition.h"
#include "orvaneinputdata.h"

#include <cmath>

ORVANE_FUZZ_QUIET_QT

namespace {

constexpr int donors = 8;

OrvaneInputData* complex()
{
    static OrvaneInputData* molecule = [] {
        auto* m = new OrvaneInputData(nullptr, QString());
        m->coord.append(Coord{QStringLiteral("Eu"), 0.0, 0.0, 0.0});
        for (int i = 0; i < donors; ++i) {
            const double angle = 2.0 * M_PI * i / donors;
            m->coord.append(Coord{QStringLiteral("O"), 2.4 * std::cos(angle), 2.4 * std::sin(angle),
                (i % 2 ? 1.0 : -1.0)});
        }
        m->createSphericalCoordinate();
        return m;
    }();
    return molecule;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("complex.ligands"));
    OrvaneInputData* molecule = complex();
    double g[30], alpha[30];
    for (int i = 0; i < 30; ++i) {
        g[i] = 0.5;
        alpha[i] = 1.0e-24;
    }
    double* gp = g;
    double* ap = alpha;
    OrvaneAradPartition partition(nullptr, molecule, donors, 1.5);
    partition.setChargeFactorAndAlpha(gp, ap);
    if (!partition.setLigandsVector(OrvaneFuzz::path(QStringLiteral("complex.mop"))))
        return 0;
    const int ligands = partition.getLigandsNumber();
    for (int l = 0; l < ligands; ++l) {
        partition.getLigandsName(l);
        partition.getLigandAtoms(l);
    }
    for (int atom = 2; atom <= donors + 1; ++atom)
        partition.getLigand(atom);
    if (ligands > 0)
        partition.aradByLigand(0, ligands - 1);
    return 0;
}
