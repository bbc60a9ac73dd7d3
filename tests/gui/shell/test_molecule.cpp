// The molecule model: element lookup from labels, the covalent-radius bond
// search, centring, and reading the structure files through the engine's
// readers (real MOPAC 22 fixtures in tests/data/mopac).

#include "../support/guitestsupport.h"
#include "../support/viewerinput.h"

#include "elementinfo.h"
#include "molecule.h"
#include "orvaneelementtables.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/") + name;
}

const QString prefix = QStringLiteral("-> (Orvane Spectroscopic Calculation - Molecule) ");
const QStringList successLines = {
    prefix + QStringLiteral("Reading input file (Cartesian coordinates)."),
    prefix + QStringLiteral("Cartesian coordinates read successfully."),
    prefix + QStringLiteral(" Link to the molecule is being added."),
    prefix + QStringLiteral("Link was added successfully to the molecule."),
};
const QString lanthanideMissing = QStringLiteral("The lanthanide atom is not present in the current structure.");

QStringList lines(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& arguments : spy)
        result << arguments.at(0).toString();
    return result;
}

using ViewerInput::atomAt;

using BondList = QVector<QPair<int, int>>;

// Centre of mass of the model with the engine's masses; zero after a read.
void expectCentred(const Molecule& molecule)
{
    double sum[3] = {0.0, 0.0, 0.0};
    double total = 0.0;
    for (const MoleculeAtom& atom : molecule.atoms) {
        double mass = 0.0;
        ASSERT_TRUE(OrvaneElements::massOfSymbol(
            QString::fromLatin1(elementInfo(atom.atomicNumber).symbol).trimmed(), mass));
        sum[0] += mass * atom.x;
        sum[1] += mass * atom.y;
        sum[2] += mass * atom.z;
        total += mass;
    }
    for (double s : sum)
        EXPECT_NEAR(s / total, 0.0, 1e-6);
}

} // namespace

TEST(MoleculeAtom, AtomicNumberFromTheLabelsLeadingSymbol)
{
    struct Case {
        QString label;
        int atomicNumber;
    };
    const Case cases[] = {
        {QStringLiteral("C1"), 6},
        {QStringLiteral("Cl1"), 17},
        {QStringLiteral("Cl12"), 17},
        {QStringLiteral("C"), 6},
        {QStringLiteral("C "), 6}, // how the reader hands a one-letter label over
        {QStringLiteral("C12"), 6},
        {QStringLiteral("Cu12"), 29},
        {QStringLiteral("Hg"), 80},
        {QStringLiteral("H1"), 1},
        {QStringLiteral("Eu1"), 63},
        {QStringLiteral("Eu "), 63},
        {QStringLiteral("N1"), 7},
        {QStringLiteral("Lr"), 103},
        {QString::fromUtf8("C\u0663"), 6}, // any decimal digit, not only ASCII
        {QStringLiteral("CA"), 0},
        {QStringLiteral("ca"), 0},
        {QStringLiteral("EU "), 0},
        {QStringLiteral("1C"), 0},
        {QStringLiteral("X"), 0},
        {QStringLiteral("Tv "), 0},
        {QStringLiteral(" "), 0},
        {QString(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        MoleculeAtom atom;
        atom.atomicNumber = 42;
        atom.setAtomicNumber(c.label);
        EXPECT_EQ(atom.atomicNumber, c.atomicNumber);
    }
}

// Cut-offs by hand from the covalent radii: C 0.72, H 0.32, O and N 0.68,
// Eu 1.992, Cl 1.0, Cu 1.52, no element 0.1; plus 0.3 Angstrom.
TEST(MoleculeBonds, PairsWithinTheSumOfCovalentRadiiPlusATolerance)
{
    struct Pair {
        const char* name;
        int first;
        int second;
        double cutoff;
    };
    const Pair pairs[] = {
        {"C-C", 6, 6, 1.74},
        {"C-H", 6, 1, 1.34},
        {"Eu-O", 63, 8, 2.972},
        {"Eu-N", 63, 7, 2.972},
        {"Cl-Cu", 17, 29, 2.82},
        {"unknown-C", 0, 6, 1.12},
    };
    // Each direction exercises another stage of the axis-by-axis comparison.
    const double root2 = std::sqrt(0.5), root3 = std::sqrt(1.0 / 3.0);
    const double directions[][3] = {{1, 0, 0}, {0, -root2, root2}, {root3, root3, -root3}};
    const double start[3] = {0.25, -0.5, 1.0};
    for (const Pair& pair : pairs) {
        for (const auto& d : directions) {
            for (const double offset : {-1e-4, 1e-4}) {
                SCOPED_TRACE(std::string(pair.name) + " offset " + std::to_string(offset) + " direction "
                    + std::to_string(d[0]) + "," + std::to_string(d[1]) + "," + std::to_string(d[2]));
                const double r = pair.cutoff + offset;
                Molecule molecule;
                molecule.atoms = {atomAt(pair.first, start[0], start[1], start[2]),
                    atomAt(pair.second, start[0] + r * d[0], start[1] + r * d[1], start[2] + r * d[2])};
                molecule.findBonds();
                EXPECT_EQ(molecule.bonds, (offset < 0 ? BondList{{1, 0}} : BondList{}));
            }
        }
    }
}

TEST(MoleculeBonds, EdgeCases)
{
    struct Case {
        const char* name;
        QVector<MoleculeAtom> atoms;
        BondList bonds;
    };
    const Case cases[] = {
        // 0.1 + 0.1 + 0.3 = 0.5 and 0.5 are exact in float and double.
        {"exactly at the cut-off", {atomAt(0, 0, 0, 0), atomAt(0, 0.5, 0, 0)}, {{1, 0}}},
        {"just past the cut-off", {atomAt(0, 0, 0, 0), atomAt(0, 0.5001, 0, 0)}, {}},
        {"two hydrogens 0.5 apart", {atomAt(1, 0, 0, 0), atomAt(1, 0, 0.5, 0)}, {}},
        {"two hydrogens on one spot", {atomAt(1, 1, 1, 1), atomAt(1, 1, 1, 1)}, {}},
        {"hydrogen 1.0 from carbon", {atomAt(6, 0, 0, 0), atomAt(1, 0, 0, 1.0)}, {{1, 0}}},
        {"two carbons on one spot", {atomAt(6, 2, 2, 2), atomAt(6, 2, 2, 2)}, {{1, 0}}},
        {"one atom", {atomAt(63, 0, 0, 0)}, {}},
        {"no atoms", {}, {}},
        // Loop order: first index descending, then second index descending.
        {"triangle", {atomAt(6, 0, 0, 0), atomAt(6, 1.5, 0, 0), atomAt(6, 0.75, 1.299, 0)},
            {{2, 1}, {2, 0}, {1, 0}}},
        {"chain", {atomAt(6, 0, 0, 0), atomAt(6, 1.5, 0, 0), atomAt(6, 3.0, 0, 0)}, {{2, 1}, {1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Molecule molecule;
        molecule.atoms = c.atoms;
        molecule.bonds = {{7, 3}}; // stale bonds are replaced
        molecule.findBonds();
        EXPECT_EQ(molecule.bonds, c.bonds);
    }
}

TEST(MoleculeRead, StartsEmptyAndAcceptsStructuresWithoutLanthanide)
{
    Molecule molecule;
    EXPECT_TRUE(molecule.atoms.isEmpty());
    EXPECT_TRUE(molecule.bonds.isEmpty());
    EXPECT_TRUE(molecule.containsLanthanide);
    EXPECT_FALSE(molecule.lanthanideRequired);
    EXPECT_EQ(molecule.lanthanideSymbols,
        QString::fromLatin1("La Ce Pr Nd Pm Sm Eu Gd Tb Dy Ho Er Tm Yb Lu").split(QLatin1Char(' ')));
}

TEST(MoleculeRead, EmptyFileNameEmptiesTheModelQuietly)
{
    Molecule molecule;
    molecule.atoms = {atomAt(6, 0, 0, 0)};
    molecule.bonds = {{1, 0}};
    molecule.containsLanthanide = false;
    molecule.lastError = QStringLiteral("old");
    QSignalSpy spy(&molecule, &Molecule::newObjCalculationMessage);
    EXPECT_TRUE(molecule.readMolecule(QString(), Molecule::MopacOutputFile));
    EXPECT_TRUE(molecule.atoms.isEmpty());
    EXPECT_TRUE(molecule.bonds.isEmpty());
    EXPECT_TRUE(molecule.getLastError().isEmpty());
    EXPECT_FALSE(molecule.containsLanthanide);
    EXPECT_EQ(spy.count(), 0);
}

TEST(MoleculeRead, MissingFileGivesTheReadersMessageAndAnEmptyModel)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.file"));
    for (int type = Molecule::Mol2File; type <= Molecule::ZMatrixFile; ++type) {
        SCOPED_TRACE(type);
        Molecule molecule;
        ASSERT_TRUE(molecule.readMolecule(fixture(QStringLiteral("water.mop")), Molecule::MopCartesianFile));
        QSignalSpy spy(&molecule, &Molecule::newObjCalculationMessage);
        EXPECT_FALSE(molecule.readMolecule(missing, type));
        EXPECT_EQ(molecule.getLastError(), missing + QStringLiteral(" does not exist."));
        EXPECT_TRUE(molecule.atoms.isEmpty());
        EXPECT_TRUE(molecule.bonds.isEmpty());
        EXPECT_EQ(lines(spy), successLines.mid(0, 1));
    }
}

TEST(MoleculeRead, UnknownFileTypeFailsInsteadOfReadingNothing)
{
    Molecule molecule;
    QSignalSpy spy(&molecule, &Molecule::newObjCalculationMessage);
    EXPECT_FALSE(molecule.readMolecule(fixture(QStringLiteral("water.mop")), 7));
    EXPECT_FALSE(molecule.getLastError().isEmpty());
    EXPECT_TRUE(molecule.atoms.isEmpty());
    EXPECT_EQ(spy.count(), 0);
}

TEST(MoleculeRead, EuropiumComplexFromMopacOutput)
{
    Molecule molecule;
    molecule.containsLanthanide = false;
    QSignalSpy spy(&molecule, &Molecule::newObjCalculationMessage);
    ASSERT_TRUE(molecule.readMolecule(fixture(QStringLiteral("eu_h2o8_allvec.out")), Molecule::MopacOutputFile))
        << molecule.getLastError().toStdString();
    EXPECT_EQ(lines(spy), successLines);
    EXPECT_TRUE(molecule.getLastError().isEmpty());
    EXPECT_TRUE(molecule.containsLanthanide);

    // [Eu(H2O)8]3+: Eu, eight O, sixteen H in file order.
    ASSERT_EQ(molecule.atoms.size(), 25);
    EXPECT_EQ(molecule.atoms.at(0).atomicNumber, 63);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(molecule.atoms.at(i).atomicNumber, 8) << i;
    for (int i = 9; i < 25; ++i)
        EXPECT_EQ(molecule.atoms.at(i).atomicNumber, 1) << i;
    expectCentred(molecule);

    // Chemistry, not the code: every water bonds its O to Eu and to its own
    // two H; nothing else lies within reach.
    QVector<QVector<int>> partners(25);
    for (const auto& bond : molecule.bonds) {
        ASSERT_GT(bond.first, bond.second);
        ASSERT_LT(bond.first, 25);
        partners[bond.first] << bond.second;
        partners[bond.second] << bond.first;
    }
    EXPECT_EQ(molecule.bonds.size(), 24);
    EXPECT_EQ(partners.at(0).size(), 8);
    for (int o = 1; o <= 8; ++o) {
        ASSERT_EQ(partners.at(o).size(), 3) << o;
        EXPECT_TRUE(partners.at(o).contains(0)) << o;
    }
    for (int h = 9; h < 25; ++h) {
        ASSERT_EQ(partners.at(h).size(), 1) << h;
        EXPECT_GE(partners.at(h).first(), 1);
        EXPECT_LE(partners.at(h).first(), 8);
    }
}

TEST(MoleculeRead, CartesianMopacInputIsCentredOnItsCentreOfMass)
{
    Molecule molecule;
    ASSERT_TRUE(molecule.readMolecule(fixture(QStringLiteral("water.mop")), Molecule::MopCartesianFile))
        << molecule.getLastError().toStdString();
    ASSERT_EQ(molecule.atoms.size(), 3);
    EXPECT_EQ(molecule.atoms.at(0).atomicNumber, 8);
    EXPECT_EQ(molecule.atoms.at(1).atomicNumber, 1);
    EXPECT_EQ(molecule.atoms.at(2).atomicNumber, 1);
    EXPECT_FALSE(molecule.containsLanthanide);
    expectCentred(molecule);
    // The shape is kept: positions relative to O as in the file.
    const double file[3][3] = {{0.0, 0.0, 0.0}, {0.96, 0.0, 0.0}, {-0.24, 0.93, 0.0}};
    for (int i = 1; i < 3; ++i) {
        EXPECT_NEAR(molecule.atoms.at(i).x - molecule.atoms.at(0).x, file[i][0], 1e-5);
        EXPECT_NEAR(molecule.atoms.at(i).y - molecule.atoms.at(0).y, file[i][1], 1e-5);
        EXPECT_NEAR(molecule.atoms.at(i).z - molecule.atoms.at(0).z, file[i][2], 1e-5);
    }
    EXPECT_EQ(molecule.bonds, (BondList{{2, 0}, {1, 0}}));
}

TEST(MoleculeRead, TranslationVectorRowsBecomeAtomsOfNoElement)
{
    Molecule molecule;
    ASSERT_TRUE(molecule.readMolecule(fixture(QStringLiteral("polyethylene_tv.out")), Molecule::MopacOutputFile))
        << molecule.getLastError().toStdString();
    ASSERT_EQ(molecule.atoms.size(), 13);
    EXPECT_EQ(molecule.atoms.at(0).atomicNumber, 6);
    EXPECT_EQ(molecule.atoms.at(12).atomicNumber, 0);
    EXPECT_FALSE(molecule.containsLanthanide);
    // The Tv row lies 1.34 Angstrom from the nearest C, past its 1.12 reach.
    for (const auto& bond : molecule.bonds)
        EXPECT_NE(bond.first, 12);
    // Each CH2 bonds its two H and the neighbouring C atoms along the chain.
    EXPECT_EQ(molecule.bonds.size(), 8 + 3);
}

TEST(MoleculeRead, ZMatrixIsPlacedInSpace)
{
    // H-O-O-H: O-O 1.45, O-H 0.97, O-O-H 100 degrees, so each H lies
    // sqrt(1.45^2 + 0.97^2 - 2 1.45 0.97 cos 100) = 1.88 from the far O.
    Molecule molecule;
    ASSERT_TRUE(molecule.readMolecule(fixture(QStringLiteral("h2o2_zmatrix.mop")), Molecule::ZMatrixFile))
        << molecule.getLastError().toStdString();
    ASSERT_EQ(molecule.atoms.size(), 4);
    const auto length = [&](int a, int b) {
        const MoleculeAtom& p = molecule.atoms.at(a);
        const MoleculeAtom& q = molecule.atoms.at(b);
        return std::sqrt(double(p.x - q.x) * (p.x - q.x) + double(p.y - q.y) * (p.y - q.y)
            + double(p.z - q.z) * (p.z - q.z));
    };
    EXPECT_NEAR(length(0, 1), 1.45, 1e-4);
    EXPECT_NEAR(length(1, 2), 0.97, 1e-4);
    EXPECT_NEAR(length(0, 3), 0.97, 1e-4);
    EXPECT_NEAR(length(0, 2), 1.8794, 1e-3);
    EXPECT_EQ(molecule.bonds, (BondList{{3, 0}, {2, 1}, {1, 0}}));
    expectCentred(molecule);
}

TEST(MoleculeRead, Mol2AtomNamesGiveTheElements)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("aqua.mol2"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("@<TRIPOS>MOLECULE\n"
               "aqua europium\n"
               " 4 2 1 0 0\n"
               "SMALL\n"
               "NO_CHARGES\n"
               "\n"
               "@<TRIPOS>ATOM\n"
               "      1 Eu1         0.0000    0.0000    0.0000 Eu        1  RES1   0.0000\n"
               "      2 O2          2.4000    0.0000    0.0000 O.3       1  RES1   0.0000\n"
               "      3 H3          2.9867    0.7570    0.0000 H         1  RES1   0.0000\n"
               "      4 H4          2.9867   -0.7570    0.0000 H         1  RES1   0.0000\n"
               "@<TRIPOS>BOND\n"
               "     1     2     3    1\n"
               "     2     2     4    1\n");
    file.close();

    Molecule molecule;
    molecule.lanthanideRequired = true;
    ASSERT_TRUE(molecule.readMolecule(path, Molecule::Mol2File)) << molecule.getLastError().toStdString();
    ASSERT_EQ(molecule.atoms.size(), 4);
    EXPECT_EQ(molecule.atoms.at(0).atomicNumber, 63);
    EXPECT_EQ(molecule.atoms.at(1).atomicNumber, 8);
    EXPECT_EQ(molecule.atoms.at(3).atomicNumber, 1);
    // Eu-O 2.4 (reach 2.972), O-H 0.958 (1.30), Eu-H 3.08 (2.612): the file's
    // own bond records are not used.
    EXPECT_EQ(molecule.bonds, (BondList{{3, 1}, {2, 1}, {1, 0}}));
    expectCentred(molecule);
}

TEST(MoleculeRead, RequiredLanthanide)
{
    struct Case {
        const char* file;
        int type;
        bool required;
        bool succeeds;
        bool containsLanthanide;
    };
    const Case cases[] = {
        {"water.mop", Molecule::MopCartesianFile, false, true, false},
        {"water.mop", Molecule::MopCartesianFile, true, false, false},
        {"eu_h2o8_allvec.mop", Molecule::MopCartesianFile, true, true, true},
        {"eu_acetate3_h2o2.out", Molecule::MopacOutputFile, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.required ? " required" : " optional"));
        Molecule molecule;
        molecule.lanthanideRequired = c.required;
        QSignalSpy spy(&molecule, &Molecule::newObjCalculationMessage);
        EXPECT_EQ(molecule.readMolecule(fixture(QString::fromLatin1(c.file)), c.type), c.succeeds);
        EXPECT_EQ(molecule.containsLanthanide, c.containsLanthanide);
        if (c.succeeds) {
            EXPECT_TRUE(molecule.getLastError().isEmpty());
            EXPECT_FALSE(molecule.atoms.isEmpty());
            EXPECT_EQ(lines(spy), successLines);
        } else {
            EXPECT_EQ(molecule.getLastError(), lanthanideMissing);
            EXPECT_TRUE(molecule.atoms.isEmpty());
            EXPECT_TRUE(molecule.bonds.isEmpty());
            EXPECT_EQ(lines(spy), successLines.mid(0, 2));
        }
        // Kept for the next read.
        EXPECT_EQ(molecule.lanthanideRequired, c.required);
    }
}
