// ZINDO readers on the hand-written outputs of tests/data/zindo (see the
// README there) and on small outputs written by the tests.

#include "orvanefixtures.h"
#include "orvaneinputdata.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using OrvaneFixtures::dataPath;
using OrvaneFixtures::writeFile;

namespace {

QVector<QVector<int>> orbitalsOf(const QVector<ExcitateState>& states)
{
    QVector<QVector<int>> lists;
    for (const ExcitateState& state : states)
        lists << state.orbitals;
    return lists;
}

QVector<double> energiesOf(const QVector<ExcitateState>& states)
{
    QVector<double> energies;
    for (const ExcitateState& state : states)
        energies << state.energy;
    return energies;
}

} // namespace

TEST(ZindoOutput, OrbitalsStatesAndAbsorption)
{
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("zindo/eu_co.zin")));
    ASSERT_TRUE(data.readOutputZindo()) << data.getLastError().toStdString();

    // Eight orbitals in blocks of three, three and a narrower two.
    ASSERT_EQ(data.molecularOrbitalVector.size(), 8);
    const MolecularOrbital first = data.getMolecularOrbitalVector(0);
    EXPECT_EQ(first.atoms, (QVector<int>{2, 2, 2, 2, 3, 3, 3, 3}));
    EXPECT_EQ(first.labels, (QStringList{"S", "X", "Y", "Z", "S", "X", "Y", "Z"}));
    EXPECT_EQ(first.coefficients, (QVector<double>{0.85, 0.0, 0.0, 0.2, 0.4, 0.0, 0.0, 0.3}));
    EXPECT_EQ(data.getMolecularOrbitalVector(5).coefficients,
              (QVector<double>{0.0, 0.6, 0.0, 0.0, 0.0, -0.8, 0.0, 0.0}));
    const MolecularOrbital last = data.getMolecularOrbitalVector(7);
    EXPECT_EQ(last.atoms, first.atoms);
    EXPECT_EQ(last.coefficients, (QVector<double>{0.6, 0.0, 0.0, 0.48, 0.0, 0.0, 0.0, -0.64}));

    // State 1 of both lists is the reference determinant at 0 cm-1.
    EXPECT_EQ(energiesOf(data.singletExcitateStateVector), (QVector<double>{0.0, 28000.0, 31000.5, 42000.0}));
    EXPECT_EQ(orbitalsOf(data.singletExcitateStateVector),
              (QVector<QVector<int>>{{0}, {6, 6}, {7, 7}, {8, 6}}));
    EXPECT_EQ(energiesOf(data.tripletExcitateStateVector), (QVector<double>{0.0, 19500.0, 23000.0}));
    EXPECT_EQ(orbitalsOf(data.tripletExcitateStateVector), (QVector<QVector<int>>{{0}, {6}, {7, 8}}));
    for (const ExcitateState& state : qAsConst(data.singletExcitateStateVector))
        EXPECT_EQ(state.oscillatorStrength, 0.0);

    // The absorption reader that ends the read: layout 1 with a D exponent and
    // an overflowed field; state 3 is the strongest below 40000 cm-1.
    EXPECT_EQ(data.energyVector, (QVector<double>{0.0, 28000.0, 31000.5, 42000.0}));
    EXPECT_EQ(data.oscForceVector, (QVector<double>{0.0, 0.01234, 0.45678, 0.0}));
    EXPECT_EQ(data.getSelExcitateState(), 3);
    EXPECT_EQ(data.getExcitedStateCount(), 4);
}

TEST(ZindoCoordinates, AtomTable)
{
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("zindo/eu_co.zin")));
    ASSERT_TRUE(data.readCoordFromZindoOutFile()) << data.getLastError().toStdString();
    ASSERT_EQ(data.getAtomsNumber(), 3);
    EXPECT_EQ(data.getAtomLabel(1), QStringLiteral("EU"));
    EXPECT_EQ(data.getAtomLabel(2), QStringLiteral("O"));
    EXPECT_EQ(data.getAtomLabel(3), QStringLiteral("C"));
    EXPECT_DOUBLE_EQ(data.getCoord(2).x, 2.4);
    EXPECT_DOUBLE_EQ(data.getCoord(3).x, 3.53);
    EXPECT_DOUBLE_EQ(data.getCoord(3).y, 0.0);

    // Short rows are skipped; a table that ends the file fails although it was read.
    QTemporaryDir dir;
    const QByteArray table = " ATOMIC COORDINATES\n\n  ATOM  ATNUM   CHARGE  NBASIS  FIRST   SYMBOL    X    Y    Z\n"
                             "    1      0    3.000      0       0     EU     0.0  0.0  0.0\n"
                             "  ..\n"
                             "    2      8    6.000      4       1     O      2.4  0.0  0.0\n";
    const QString closed = writeFile(dir.filePath(QStringLiteral("closed.zin")), table + "\n SCF\n");
    OrvaneInputData ok(nullptr, closed);
    ASSERT_TRUE(ok.readCoordFromZindoOutFile());
    EXPECT_EQ(ok.getAtomsNumber(), 2);

    const QString open = writeFile(dir.filePath(QStringLiteral("open.zin")), table + "\n");
    OrvaneInputData cut(nullptr, open);
    EXPECT_FALSE(cut.readCoordFromZindoOutFile());
    EXPECT_EQ(cut.getAtomsNumber(), 2);
    EXPECT_EQ(cut.getLastError(),
              QStringLiteral("There has been an error during read in cartesian coordinates from the desired Zindo "
                             "output file (.zin): \n")
                  + open);
}

TEST(ZindoAbsorption, LayoutsAndSelection)
{
    QTemporaryDir dir;
    const QByteArray dashes = " " + QByteArray(70, '-') + "\n";
    auto layout1 = [&](const QList<QPair<const char*, const char*>>& records) {
        QByteArray text = " TRANSITION MOMENTS\n" + dashes + " (    1)-->(    1)\n";
        int k = 1;
        for (const auto& r : records) {
            if (k > 1)
                text += " (    1)-->(    " + QByteArray::number(k) + ")\n";
            text += QByteArray("     E(SY,CM-1)=") + r.first + "\n     " + r.second + "\n";
            ++k;
        }
        return text + "\n                          CONFIGURATION INTERACTION\n     E(SY,CM-1)=   1000.0\n";
    };
    struct Case {
        const char* name;
        QByteArray text;
        QVector<double> energies;
        QVector<double> strengths;
        int selected;
    };
    const QList<Case> cases = {
        {"layout 1, Fortran exponents",
         layout1({{"       0.0", "OSC       =   0.00000"},
                  {"    9000.0", "OSC       =0.1234D-01"},
                  {"   12000.0", "OSC       =0.2500D+00"},
                  {"   15000.0", "OSC       =0.5000E-02"},
                  {"   18000.0", "OSC       =**********"}}),
         {0.0, 9000.0, 12000.0, 15000.0, 18000.0},
         {0.0, 0.01234, 0.25, 0.005, 0.0},
         3},
        {"layout 1, the same lines as layout 2 below",
         layout1({{"    9000.0", "OSC       =   0.10000"}, {"   12000.0", "OSC       =   0.30000"}}),
         {9000.0, 12000.0},
         {0.1, 0.3},
         2},
        // Nothing below 40000 cm-1: the initial 1 plus 1.
        {"layout 1, all above the limit",
         layout1({{"   45000.0", "OSC       =   0.10000"}, {"   50000.0", "OSC       =   0.30000"}}),
         {45000.0, 50000.0},
         {0.1, 0.3},
         2},
        {"layout 1, energy label of the other versions",
         QByteArray(dashes + " (    1)-->(    1)\n     ENGY(CM-1)=   9000.0\n     OSC       =   0.20000\n"),
         {9000.0},
         {0.2},
         1},
        {"layout 2",
         QByteArray(dashes + " " + QByteArray(45, '-') + "\n  STATE  LAMBDA  ENERGY  OSC\n"
                    "    2    1111.1 NM     9000.0 CM-1      0.100000\n"
                    "    3     833.3 NM    12000.0 CM-1      0.300000\n"),
         {9000.0, 12000.0},
         {0.1, 0.3},
         3},
        {"no known layout", QByteArray(dashes + " SPECTRUM NOT PRINTED\n     E(SY,CM-1)=   9000.0\n"), {}, {}, 2},
        // A strength without its energy line is never selected.
        {"layout 1, a strength without energy",
         QByteArray(dashes + " (    1)-->(    1)\n     E(SY,CM-1)=   9000.0\n     OSC       =   0.10000\n"
                    " (    1)-->(    2)\n     OSC       =   0.90000\n"),
         {9000.0},
         {0.1, 0.9},
         1},
    };
    for (const Case& c : cases) {
        OrvaneInputData data(nullptr, writeFile(dir.filePath(QStringLiteral("abs.zin")), c.text));
        ASSERT_TRUE(data.readAbsorptionDataZindo()) << c.name;
        EXPECT_EQ(data.energyVector, c.energies) << c.name;
        EXPECT_EQ(data.oscForceVector, c.strengths) << c.name;
        EXPECT_EQ(data.getSelExcitateState(), c.selected) << c.name;
        EXPECT_EQ(data.getExcitedStateCount(), c.energies.size()) << c.name;
    }
}

TEST(ZindoAbsorption, SecondLayoutFixtureAndOneSetWhenReadTwice)
{
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("zindo/ligand_layout2.zin")));
    ASSERT_TRUE(data.readAbsorptionDataZindo());
    EXPECT_EQ(data.energyVector, (QVector<double>{9000.0, 12000.0, 20500.0, 42000.0}));
    EXPECT_EQ(data.oscForceVector, (QVector<double>{0.1, 0.3, 0.25, 0.9}));
    EXPECT_EQ(data.getSelExcitateState(), 3);
    ASSERT_TRUE(data.readAbsorptionDataZindo());
    EXPECT_EQ(data.energyVector.size(), 4);
    EXPECT_EQ(data.getSelExcitateState(), 3); // a qualifying line resets the count before the offset

    // Without the molecular orbitals the full reader fails.
    OrvaneInputData full(nullptr, dataPath(QStringLiteral("zindo/ligand_layout2.zin")));
    EXPECT_FALSE(full.readOutputZindo());
    EXPECT_EQ(full.getLastError(), QStringLiteral("ORVANE could not read the molecular orbitals from the Zindo output "
                                                  "file: \n")
                                       + dataPath(QStringLiteral("zindo/ligand_layout2.zin")));
}

// CI-vector lines of a small output written here: the singlet list applies
// the reference test, the triplet list does not.
TEST(ZindoOutput, TransitionLines)
{
    struct Case {
        const char* line;
        QVector<int> singlet;
        QVector<int> triplet;
    };
    const Case cases[] = {
        {"     2   0.93541     5    47,   0.8750", {47}, {47}},
        {"     2   0.93541     5    47,   0.8750     3   0.31623     4     9,   0.1000", {47, 9}, {47, 9}},
        // Fifteen fields: three transitions, the later ones all from field 9.
        {"     2   0.9     5    47,   0.8     3   0.3     4     9,   0.1     4   0.1     4    12,   0.0",
         {47, 9, 9},
         {47, 9, 9}},
        {"     1   0.99950  REFERENCE-COMPONENT   3,   0.9990", {0}, {3}},
        {"     2   0.93541     5", {}, {}}, // fewer than five fields: no transition
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QByteArray text = QByteArray(" RHF/ROHF - MOs follow\n\n\n"
                                           "     MO    1  EIG(EV)   -1.00000  2.00\n"
                                           "     1    2  S      1.00000\n"
                                           "\n"
                                           "\n"
                                           " SINGLETS\n\n\n\n\n\n"
                                           "     1      25000.0\n"
                                           "\n\n\n"
                                           " STATE   1\n")
            + c.line
            + "\n\n TRANSITION MOMENTS\n"
              " TRIPLETS\n\n\n\n\n\n\n"
              "     1      19000.0\n"
              "\n\n"
              " STATE   1\n"
            + c.line
            + "\n\n ZIO file usage\n"
              " " + QByteArray(70, '-') + "\n\n";
        OrvaneInputData data(nullptr, writeFile(dir.filePath(QStringLiteral("ci.zin")), text));
        ASSERT_TRUE(data.readOutputZindo()) << c.line << ": " << data.getLastError().toStdString();
        ASSERT_EQ(data.singletExcitateStateVector.size(), 1) << c.line;
        ASSERT_EQ(data.tripletExcitateStateVector.size(), 1) << c.line;
        EXPECT_EQ(data.singletExcitateStateVector.at(0).orbitals, c.singlet) << c.line;
        EXPECT_EQ(data.tripletExcitateStateVector.at(0).orbitals, c.triplet) << c.line;
        EXPECT_EQ(data.singletExcitateStateVector.at(0).energy, 25000.0);
        EXPECT_EQ(data.tripletExcitateStateVector.at(0).energy, 19000.0);
        EXPECT_EQ(data.molecularOrbitalVector.size(), 1);
    }
}

TEST(ZindoOutput, StateBlocksBeyondTheEnergyListTakeZero)
{
    const QByteArray text = " RHF/ROHF - MOs follow\n\n\n\n"
                            " SINGLETS\n\n\n\n\n\n"
                            "     1      25000.0\n"
                            "\n\n\n"
                            " STATE   1\n     2   0.9     5    6,   0.8\n\n"
                            " STATE   2\n     2   0.9     5    7,   0.8\n\n"
                            "\n"
                            " TRIPLETS\n\n\n\n\n\n\n"
                            "\n\n"
                            " STATE   1\n     2   0.9     5    6,   0.8\n\n"
                            " ZIO file usage\n";
    QTemporaryDir dir;
    OrvaneInputData data(nullptr, writeFile(dir.filePath(QStringLiteral("short.zin")), text));
    // No orbital block at all; no absorption table: the reader still ends.
    EXPECT_FALSE(data.readOutputZindo());
    EXPECT_TRUE(data.getLastError().startsWith(QStringLiteral(
        "There has been an error during read of the absorption spectrum data from the ZINDO output file. \n")));
    EXPECT_EQ(energiesOf(data.singletExcitateStateVector), (QVector<double>{25000.0, 0.0}));
    EXPECT_EQ(energiesOf(data.tripletExcitateStateVector), (QVector<double>{0.0}));
    EXPECT_EQ(data.getExcitedStateCount(), 0); // the empty triplet energy list
    EXPECT_TRUE(data.molecularOrbitalVector.isEmpty());
}

TEST(ZindoReaders, MissingFile)
{
    const QString file = QStringLiteral("/nonexistent/run.zin");
    OrvaneInputData data(nullptr, file);
    data.setLastError(QStringLiteral("earlier;"));
    EXPECT_FALSE(data.readCoordFromZindoOutFile());
    EXPECT_EQ(data.getLastError(), QStringLiteral("earlier;") + file + QStringLiteral(" does not exist"));
    EXPECT_FALSE(data.readOutputZindo());
    EXPECT_EQ(data.getLastError(), file + QStringLiteral(" does not exist."));
    EXPECT_FALSE(data.readAbsorptionDataZindo());
    EXPECT_EQ(data.getLastError(), file + QStringLiteral(" does not exist. "));
}
