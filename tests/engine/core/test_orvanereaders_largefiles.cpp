// Every reader on a file of about 50 MB made of plausible lines repeated (a
// fixture with one of its table rows repeated, or a table written row by row):
// reading must take time linear in the size and memory in proportion to what
// the reader keeps. A reader that does quadratic work per row, or allocates
// per line what it never keeps, fails here.
//
// Time is compared, never asserted: the same reader reads a file a tenth of
// the size, and the large file may take at most three times ten times as
// long (a quadratic reader takes a hundred times). Both are processor time of
// the reading thread, so a loaded machine slows both alike. The speed itself
// is measured by bench/bench_readers.cpp.
//
// Under the sanitizers the files are 5 MB (the instrumented build is many
// times slower) and the memory is not measured (the sanitizer's allocator
// keeps freed blocks in quarantine).

#include "orvanearadpartition.h"
#include "orvanefixtures.h"
#include "orvaneindicescalculation.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"
#include "orvanerl.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <string>
#include <time.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

constexpr qint64 megabyte = 1024 * 1024;
constexpr qint64 largeBytes = (sanitized ? 5 : 50) * megabyte;
// The small file of the comparison, and how much longer the large one may take.
constexpr qint64 sizeRatio = 10;
constexpr double linearSlack = 3.0;
// The size of the file being planned; set before each plan is made.
qint64 targetBytes = largeBytes;
// Memory beyond what is kept: the line buffer, one line's fields, the
// program's own small allocations.
constexpr qint64 memorySlack = 48 * megabyte;

// A file as pieces, each written `count` times; `text(i)` may number its copies.
struct Piece {
    std::function<QByteArray(qint64)> text;
    qint64 count = 1;
};

struct Plan {
    QVector<Piece> pieces;
    qint64 units = 0; // copies of the repeated lines
};

Piece fixed(const QByteArray& text, qint64 count = 1)
{
    return Piece{[text](qint64) { return text; }, count};
}

// The fixture with the first line containing `marker` after the first line
// containing `anchor` repeated until the file reaches the target size.
Plan grownFixture(const char* fixture, const char* anchor, const char* marker)
{
    const QByteArray text = contents(dataPath(QString::fromLatin1(fixture)));
    const int anchorAt = text.indexOf(anchor);
    const int markerAt = anchorAt < 0 ? -1 : text.indexOf(marker, anchorAt);
    if (markerAt < 0)
        return Plan();
    const int start = text.lastIndexOf('\n', markerAt) + 1;
    const int end = text.indexOf('\n', markerAt) + 1;
    const QByteArray line = text.mid(start, end - start);
    const qint64 copies = (targetBytes - text.size()) / line.size();
    return Plan{{fixed(text.left(start)), fixed(line, copies), fixed(text.mid(end))}, copies};
}

// Numbered rows written between a header and a footer.
Plan rows(const QByteArray& head, const std::function<QByteArray(qint64)>& row, const QByteArray& tail)
{
    const qint64 copies = (targetBytes - head.size() - tail.size()) / row(1000).size();
    return Plan{{fixed(head), Piece{row, copies}, fixed(tail)}, copies};
}

qint64 writePlan(const QString& path, const Plan& plan)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;
    QByteArray chunk;
    for (const Piece& piece : plan.pieces) {
        for (qint64 i = 1; i <= piece.count; ++i) {
            chunk += piece.text(i);
            if (chunk.size() >= (1 << 20)) {
                file.write(chunk);
                chunk.clear();
            }
        }
    }
    file.write(chunk);
    return file.size();
}

qint64 statusBytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix(key);
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stoll(line.substr(prefix.size())) * 1024;
    return -1;
}

// Sets the peak resident size back to the current one.
bool resetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear);
}

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

struct Outcome {
    bool ok = false;
    qint64 kept = 0; // records the reader kept
};

struct LargeCase {
    const char* name;
    std::function<Plan(const QString& folder)> plan; // may write side files into the folder
    const char* fileName;
    // Reads the file holding `units` copies of the repeated lines.
    std::function<Outcome(const QString& file, qint64 units)> read;
    bool succeeds;
    bool keepsEveryUnit; // the records kept include one per repeated unit
    qint64 bytesPerKept; // memory allowed per record kept
};

qint64 coefficientsOf(const QVector<MolecularOrbital>& orbitals)
{
    qint64 n = 0;
    for (const MolecularOrbital& orbital : orbitals)
        n += orbital.coefficients.size();
    return n;
}

template <typename Read>
std::function<Outcome(const QString&, qint64)> onRecord(Read read)
{
    return [read](const QString& file, qint64) {
        OrvaneInputData molecule(nullptr, file);
        return read(molecule);
    };
}

QByteArray mol2Header(qint64 atoms)
{
    return "@<TRIPOS>MOLECULE\nbig complex\n" + QByteArray::number(atoms) + " " + QByteArray::number(atoms - 1)
        + " 1 0 0\nSMALL\nNO_CHARGES\n\n\n@<TRIPOS>ATOM\n";
}

// Eu bonded to every other atom of one residue: the ordering of the donors
// after the ion must not compare every atom with every bond.
Plan mol2ManyDonors(const QString&)
{
    const QString atomRow = QStringLiteral("%1 O%2          2.4000    1.0000   -0.5000 O.3       1 EUW1        0.0000\n");
    const qint64 donors = targetBytes / (atomRow.size() + 40);
    auto atom = [atomRow](qint64 i) { return atomRow.arg(i + 1, 7).arg(i + 1).toLatin1(); };
    auto bond = [](qint64 i) { return QStringLiteral("%1%2%3    1\n").arg(i, 6).arg(1, 6).arg(i + 1, 6).toLatin1(); };
    return Plan{{fixed(mol2Header(donors + 1)),
                    fixed("      1 Eu1         0.0000    0.0000    0.0000 Eu        1 EUW1        3.0000\n"),
                    Piece{atom, donors}, fixed("@<TRIPOS>BOND\n"), Piece{bond, donors},
                    fixed("@<TRIPOS>SUBSTRUCTURE\n     1 EUW1        1 GROUP             0 ****  ****    0\n")},
        donors};
}

// A ZINDO output whose orbitals 4-6 carry many basis functions and whose
// second singlet reaches orbital 6 many times: the distances must not be
// summed anew over every function for every transition.
Plan zindoManyTransitions(const QString&)
{
    const QByteArray text = contents(dataPath(QStringLiteral("zindo/eu_co.zin")));
    const QByteArray functionRow = "     5    3  S      0.00000     5    3  S      0.60000     5    3  S      0.00000\n";
    const QByteArray transitionRow = "     2   0.93541     5     6,   0.8750     3   0.31623     4     6,   0.1000\n";
    const int functionAt = text.indexOf(functionRow);
    const int transitionAt = text.indexOf(transitionRow);
    if (functionAt < 0 || transitionAt < functionAt)
        return Plan();
    const qint64 copies = (targetBytes - text.size()) / (functionRow.size() + transitionRow.size());
    return Plan{{fixed(text.left(functionAt)), fixed(functionRow, copies),
                    fixed(text.mid(functionAt + functionRow.size(), transitionAt - functionAt - functionRow.size())),
                    fixed(transitionRow, copies), fixed(text.mid(transitionAt + transitionRow.size()))},
        copies};
}

// Eight oxygen donors about the ion, for the ligand-file reader.
OrvaneInputData* octaaqua()
{
    auto* molecule = new OrvaneInputData(nullptr, QString());
    molecule->coord.append(Coord{QStringLiteral("Eu"), 0.0, 0.0, 0.0});
    for (int i = 0; i < 8; ++i)
        molecule->coord.append(Coord{QStringLiteral("O"), 2.4 * std::cos(i * 0.785398), 2.4 * std::sin(i * 0.785398),
            i % 2 ? 1.0 : -1.0});
    molecule->createSphericalCoordinate();
    return molecule;
}

const LargeCase largeCases[] = {
    // MOPAC, Z-matrix and MOL2.
    {"MopacOutputFinalGeometry", [](const QString&) {
         return grownFixture("mopac/water.out", "CARTESIAN COORDINATES", "0.95707082  *");
     }, "big.out", onRecord([](OrvaneInputData& m) { return Outcome{m.readMopacOutFile(true), m.coord.size()}; }),
        true, true, 256},
    {"MopacOutputWithoutGeometry", [](const QString&) {
         return rows(" MOPAC run\n", [](qint64 i) {
             return QStringLiteral(" ITERATION %1 ENERGY = -28.123456 HARTREE\n").arg(i, 8).toLatin1();
         }, "");
     }, "big.out", onRecord([](OrvaneInputData& m) { return Outcome{m.readMopacOutFile(true), m.coord.size()}; }),
        false, false, 0},
    {"ForceConstants", [](const QString&) {
         return rows("           FORCE MATRIX IN MILLIDYNES/ANGSTROM\n\n\n    Eu  1       O  2\n ------\n",
             [](qint64 i) { return QStringLiteral("     O %1   3.739356  11.540705\n").arg(i, 8).toLatin1(); },
             " end\n");
     }, "big.out", [](const QString& file, qint64 units) {
         OrvaneInputData molecule(nullptr, file); // rows of atoms 1..units
         return Outcome{molecule.readForceConstant(file, int(units) - 1), molecule.forceConstant.size()};
     }, true, true, 64},
    {"MopCartesian", [](const QString&) {
         return grownFixture("mopac/water.mop", "comment", "H   0.960000");
     }, "big.mop", onRecord([](OrvaneInputData& m) { return Outcome{m.readMopFile(), m.coord.size()}; }),
        true, true, 256},
    {"MopZMatrix", [](const QString&) {
         return grownFixture("mopac/h2o2_zmatrix.mop", "internal", "H    0.97 1  100.0 1  115.0");
     }, "big.mop", onRecord([](OrvaneInputData& m) { return Outcome{m.readMopFile(), m.coord.size()}; }),
        true, true, 512},
    {"ZMatrixFile", [](const QString&) {
         return grownFixture("writers/eu_acetate3_h2o2.zmt", "Eu", "O    2.44269 1      90.57989");
     }, "big.zmt", onRecord([](OrvaneInputData& m) { return Outcome{m.readZmtFile(), m.coordZMT.size()}; }),
        true, true, 256},
    {"Mol2Atoms", [](const QString&) {
         return grownFixture("writers/eu_aqua3.mol2", "@<TRIPOS>ATOM", " 10 H10 ");
     }, "big.mol2", onRecord([](OrvaneInputData& m) { return Outcome{m.readMol2File(), m.coord.size()}; }),
        true, true, 256},
    {"Mol2ToMopacInput", mol2ManyDonors, "big.mol2", [](const QString& file, qint64) {
         OrvaneOrganizeMolecules organizer(nullptr);
         return Outcome{organizer.readMOL2(file), organizer.getAtomsNumber()};
     }, true, true, 1024},
    // Excited-state outputs.
    {"GaussianOrbitalRows", [](const QString&) {
         return grownFixture("gaussian/eu_h2o_td.log", "Molecular Orbital Coefficients", "        2S   ");
     }, "big.log", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readOutputGaussian(), coefficientsOf(m.molecularOrbitalVector) / 5};
     }), true, true, 1024},
    {"GaussianAbsorptionLines", [](const QString&) {
         return grownFixture("gaussian/eu_h2o_td.log", "Excitation energies", "Excited State   2:");
     }, "big.log", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readAbsorptionDataGaussian(), m.oscForceVector.size()};
     }), true, true, 64},
    {"GaussianWithoutLineEnds", [](const QString&) {
         return Plan{{fixed(QByteArray(1 << 20, 'x'), (targetBytes + (1 << 20) - 1) / (1 << 20))}, 0};
     }, "big.log", onRecord([](OrvaneInputData& m) { return Outcome{m.readOutputGaussian(), m.coord.size()}; }),
        false, false, 0},
    {"OrcaOrbitalRows", [](const QString&) {
         return grownFixture("orca/eu_h2o_tda.orcout", "MOLECULAR ORBITALS", "  1O   2s ");
     }, "big.orcout", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readOutputOrca(), coefficientsOf(m.molecularOrbitalVector) / 6};
     }), true, true, 1024},
    {"OrcaAbsorptionLines", [](const QString&) {
         return grownFixture("orca/eu_h2o_tda.orcout", "VIA TRANSITION ELECTRIC", "   2   31249.1");
     }, "big.orcout", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readAbsorptionDataOrca(), m.energyVector.size()};
     }), true, true, 64},
    {"OrcaAtoms", [](const QString&) {
         return grownFixture("orca/eu_h2o_tda.orcout", "CARTESIAN COORDINATES (ANGSTROEM)", "  O      2.400000");
     }, "big.orcout", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readCoordFromOrcaOutFile(), m.coord.size()};
     }), true, true, 256},
    {"OrcaOrbitalEnergies", [](const QString&) {
         return grownFixture("orca/eu_h2o_tda.orcout", "ORBITAL ENERGIES", "   2   2.0000");
     }, "big.orcout", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readMolecularOrbitalOccupancy(), m.molecularOrbital.size()};
     }), true, true, 128},
    {"ZindoOrbitalRows", [](const QString&) {
         return grownFixture("zindo/eu_co.zin", "RHF/ROHF", "     5    3  S      0.40000");
     }, "big.zin", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readOutputZindo(), coefficientsOf(m.molecularOrbitalVector) / 3};
     }), true, true, 1024},
    {"ZindoAbsorptionLines", [](const QString&) {
         return grownFixture("zindo/eu_co.zin", "(    1)-->(    3)", "     OSC       =   0.45678");
     }, "big.zin", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readAbsorptionDataZindo(), m.oscForceVector.size()};
     }), true, true, 64},
    {"ZindoAtoms", [](const QString&) {
         return grownFixture("zindo/eu_co.zin", "ATOMIC COORDINATES", "     C         3.530000");
     }, "big.zin", onRecord([](OrvaneInputData& m) {
         return Outcome{m.readCoordFromZindoOutFile(), m.coord.size()};
     }), true, true, 256},
    // Kept per unit: a basis function of three orbitals and two transitions.
    {"RlZindoManyTransitions", zindoManyTransitions, "big.zin", [](const QString& file, qint64 units) {
         OrvaneRL rl(nullptr, file);
         return Outcome{rl.calcRL(OrvaneRL::Zindo), units};
     }, true, false, 1024},
    // Reactivity indices, side files and ligands.
    {"IndicesEigenvectorRows", [](const QString&) {
         return grownFixture("mopac/eu_h2o8_allvec.out", "Root No.       1 ", "  S   O    5    0.3174");
     }, "big.out", [](const QString& file, qint64 units) { // kept per unit: a row of eight orbitals
         OrvaneIndicesCalculation indices(nullptr, file, 8);
         return Outcome{indices.calculateIndices(), units};
     }, true, false, 2048},
    // A donor count far beyond what the ion holds is refused before any
    // label list is built or any row read.
    {"IndicesFile", [](const QString& folder) {
         QFile::copy(dataPath(QStringLiteral("mopac/water.mop")), folder + QStringLiteral("/big.mop"));
         return rows("atom charge s superdelocalizability\n",
             [](qint64 i) { return QStringLiteral("%1 1.5000 0.0000 1.0000\n").arg(i, 8).toLatin1(); }, "");
     }, "big.indeces", [](const QString& file, qint64 units) {
         const double qdc[3] = {1.0, 1.0, 0.0};
         return Outcome{OrvaneInputData::readFileIndeces(file, int(units), qdc, 0), 0};
     }, false, false, 64},
    {"StructureList", [](const QString&) {
         return rows("Estruturas geradas\n\xc1tomo: Eu 1\nN\xfamero de estruturas: 99999999\nnome, primeiro, segundo\n",
             [](qint64 i) { return QStringLiteral("complexo_%1, 4, 7\n").arg(i, 8).toLatin1(); }, "");
     }, "mol_name.txt", [](const QString& file, qint64) {
         QString folder = QFileInfo(file).path();
         QString name;
         QStringList labels;
         QVector<int> first, second;
         const QString message = OrvaneInputData::readMolNameFile(folder, name, labels, first, second);
         return Outcome{message.isEmpty(), labels.size()};
     }, true, true, 256},
    {"LigandFile", [](const QString&) {
         return rows("", [](qint64 i) { return QStringLiteral("Ligand%1 2 3 4 5 6\n").arg(i).toLatin1(); }, "");
     }, "big.ligands", [](const QString& file, qint64) {
         OrvaneInputData* molecule = octaaqua();
         OrvaneAradPartition partition(nullptr, molecule, 8, 1.5);
         const bool ok = partition.setLigandsVector(file);
         const qint64 kept = partition.getLigandsNumber();
         if (!ok)
             ADD_FAILURE() << partition.getLastError().toStdString();
         delete molecule;
         return Outcome{ok, kept};
     }, true, true, 512},
};

void PrintTo(const LargeCase& c, std::ostream* os)
{
    *os << c.name;
}

class LargeFile : public ::testing::TestWithParam<LargeCase>
{
};

// Writes the case's file at `bytes` into its own folder and reads it: the
// reading thread's processor time (the tests run in parallel, and waiting for
// a processor is no work of the reader's), and the peak memory growth.
struct Reading {
    qint64 bytes = 0;
    qint64 units = 0;
    Outcome outcome;
    double seconds = 0.0;
    qint64 peakGrowth = -1;
};

Reading readCase(const LargeCase& c, qint64 bytes, bool measureMemory)
{
    Reading r;
    QTemporaryDir dir;
    if (!dir.isValid())
        return r;
    targetBytes = bytes;
    const QString file = dir.filePath(QString::fromLatin1(c.fileName));
    const Plan plan = c.plan(dir.path());
    targetBytes = largeBytes;
    if (plan.pieces.isEmpty())
        return r;
    r.bytes = writePlan(file, plan);
    r.units = plan.units;

    malloc_trim(0);
    const bool memory = measureMemory && resetPeakMemory();
    const qint64 before = statusBytes("VmRSS:");
    const double start = threadSeconds();
    r.outcome = c.read(file, plan.units);
    r.seconds = threadSeconds() - start;
    if (memory)
        r.peakGrowth = statusBytes("VmHWM:") - before;
    return r;
}

TEST_P(LargeFile, ReadsInLinearTimeAndProportionalMemory)
{
    const LargeCase& c = GetParam();
    const Reading large = readCase(c, largeBytes, !sanitized);
    ASSERT_GT(large.bytes, largeBytes * 9 / 10) << "the fixture lacks the line to repeat";
    // The small file twice: the faster reading is the reader's own time.
    const Reading small = readCase(c, largeBytes / sizeRatio, false);
    const Reading smallAgain = readCase(c, largeBytes / sizeRatio, false);
    ASSERT_GT(small.bytes, 0);
    const double smallSeconds = std::min(small.seconds, smallAgain.seconds);

    EXPECT_EQ(large.outcome.ok, c.succeeds);
    EXPECT_EQ(small.outcome.ok, c.succeeds);
    if (c.keepsEveryUnit)
        EXPECT_GE(large.outcome.kept, large.units) << "the reader stopped before the end of the repeated rows";
    const double sizes = double(large.bytes) / double(small.bytes);
    // A time too short to measure on the small file says nothing: the large
    // file is then bounded by the same comparison with that resolution.
    const double resolution = 1e-3;
    EXPECT_LT(large.seconds, linearSlack * sizes * std::max(smallSeconds, resolution))
        << large.bytes / megabyte << " MB read in " << large.seconds << " s, " << small.bytes / megabyte
        << " MB in " << smallSeconds << " s";
    if (large.peakGrowth >= 0) {
        const qint64 allowed = c.bytesPerKept * large.outcome.kept + memorySlack;
        EXPECT_LE(large.peakGrowth, allowed) << "peak growth " << large.peakGrowth / megabyte << " MB for "
                                             << large.outcome.kept << " records kept";
    }
    RecordProperty("peakGrowthMB", std::to_string(large.peakGrowth / megabyte));
}

std::string caseName(const ::testing::TestParamInfo<LargeCase>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Readers, LargeFile, ::testing::ValuesIn(largeCases), caseName);

} // namespace
