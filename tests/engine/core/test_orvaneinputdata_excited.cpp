// Gaussian and ORCA excited-state readers on the hand-written outputs of
// tests/data/gaussian and tests/data/orca (see the README there).

#include "orvanefixtures.h"
#include "orvaneinputdata.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::variant;
using OrvaneFixtures::writeFile;

namespace {

const QString gaussianStatesError = QStringLiteral(
    "There has been an error during read of the excited states from the GAUSSIAN output file. \n");
const QString gaussianOrbitalsError = QStringLiteral(
    "ORVANE could not read the molecular orbitals from the GAUSSIAN output file: \n");

struct StateCase {
    double energy; // cm-1
    double strength;
    QVector<int> orbitals;
};

void expectStates(const QVector<ExcitateState>& states, const QVector<StateCase>& expected, const char* what)
{
    ASSERT_EQ(states.size(), expected.size()) << what;
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(states.at(i).energy, expected.at(i).energy, 1e-9) << what << " state " << i + 1;
        EXPECT_DOUBLE_EQ(states.at(i).oscillatorStrength, expected.at(i).strength) << what << " state " << i + 1;
        EXPECT_EQ(states.at(i).orbitals, expected.at(i).orbitals) << what << " state " << i + 1;
    }
}

QStringList labelsOf(const QVector<Coord>& atoms)
{
    QStringList labels;
    for (const Coord& atom : atoms)
        labels << atom.label;
    return labels;
}

} // namespace

// ---------------------------------------------------------------------------
// Gaussian
// ---------------------------------------------------------------------------

TEST(GaussianOutput, ReadsAtomsInterleavedStatesOrbitalsAndSelection)
{
    const QString file = dataPath(QStringLiteral("gaussian/eu_h2o_td.log"));
    OrvaneInputData data(nullptr, file);
    QSignalSpy spy(&data, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
    ASSERT_TRUE(data.readOutputGaussian()) << data.getLastError().toStdString();
    EXPECT_TRUE(data.getLastError().isEmpty());

    // The first orientation table (the input one) and the labels of the atomic numbers.
    ASSERT_EQ(data.getAtomsNumber(), 3);
    EXPECT_EQ(labelsOf(data.coord), (QStringList{"Eu", "O", "H"}));
    EXPECT_DOUBLE_EQ(data.getCoord(1).x, 0.5);
    EXPECT_DOUBLE_EQ(data.getCoord(1).y, -0.25);
    EXPECT_DOUBLE_EQ(data.getCoord(3).x, 3.38);
    EXPECT_DOUBLE_EQ(data.getCoord(3).y, 0.59);
    EXPECT_DOUBLE_EQ(data.getCoord(3).z, 1.0);

    // Singlets and triplets come interleaved by energy; 1e7 / nm gives cm-1.
    expectStates(data.singletExcitateStateVector,
                 {{1e7 / 400.0, 0.05, {5, 5}}, // the de-excitation "4 <- 5" keeps 5
                  {1e7 / 320.0, 0.21, {5, 6, 5}},
                  {1e7 / 240.0, 0.9, {7, 8}}},
                 "singlets");
    expectStates(data.tripletExcitateStateVector,
                 {{1e7 / 520.0, 0.0, {5, 6}}, {1e7 / 380.0, 0.0, {5, 7}}, {1e7 / 300.0, 0.0, {7}}}, "triplets");
    EXPECT_EQ(data.getExcitedStateCount(), 3);
    // The strongest singlet lies above 40000 cm-1; the strongest below it is state 2.
    EXPECT_EQ(data.getSelExcitateState(), 2);

    // Eight orbitals in a block of five and a narrower last block of three.
    ASSERT_EQ(data.molecularOrbitalVector.size(), 8);
    const MolecularOrbital first = data.getMolecularOrbitalVector(0);
    EXPECT_EQ(first.atoms, (QVector<int>{1, 1, 2, 2, 2, 2, 2, 3}));
    // "5D 0", printed with a blank inside, is joined.
    EXPECT_EQ(first.labels, (QStringList{"5S", "5D0", "1S", "2S", "2PX", "2PY", "2PZ", "1S"}));
    EXPECT_EQ(first.coefficients, (QVector<double>{0.0, 0.0, 0.99, 0.1, 0.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(data.getMolecularOrbitalVector(4).coefficients,
              (QVector<double>{0.0, 0.6, 0.0, 0.0, 0.48, 0.0, 0.0, -0.64}));
    const MolecularOrbital last = data.getMolecularOrbitalVector(7);
    EXPECT_EQ(last.atoms, first.atoms);
    EXPECT_EQ(last.labels, first.labels);
    EXPECT_EQ(last.coefficients, (QVector<double>{0.6, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.8}));

    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toString().endsWith(
        QStringLiteral(" -> (Read Input Data) All data were successfully loaded from the Gaussian output file. \n")
        + file));
}

TEST(GaussianOutput, SelectedStateRules)
{
    const QByteArray source = contents(dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    struct Case {
        const char* name;
        QList<QPair<QByteArray, QByteArray>> replacements;
        int selected;
    };
    const QList<Case> cases = {
        {"strongest below 40000 cm-1", {}, 2},
        // Every singlet at or above 40000 cm-1 (250 nm is exactly 40000): the
        // strongest of all, the first of equal strengths.
        {"all above the limit",
         {{"400.00 nm  f=0.0500", "250.00 nm  f=0.9000"}, {"320.00 nm  f=0.2100", "230.00 nm  f=0.2100"}},
         1},
        {"a weaker singlet below the limit wins",
         {{"400.00 nm  f=0.0500", "250.00 nm  f=0.9500"}, {"320.00 nm  f=0.2100", "251.00 nm  f=0.0100"}},
         2},
        {"no singlet at all", {{"Singlet-A'", "Triplet-A'"}}, 0},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        bool matched = false;
        const QString file = writeFile(dir.filePath(QStringLiteral("variant.log")),
                                       variant(source, c.replacements, &matched));
        ASSERT_TRUE(matched) << c.name;
        OrvaneInputData data(nullptr, file);
        ASSERT_TRUE(data.readOutputGaussian()) << c.name;
        EXPECT_EQ(data.getSelExcitateState(), c.selected) << c.name;
    }
}

// Transition lines as Gaussian prints them, each the only line of one state
// of a small output written here.
TEST(GaussianOutput, TransitionLineLayouts)
{
    struct Case {
        const char* line;
        QVector<int> orbitals;
    };
    const QList<Case> cases = {
        {"      45 -> 47         0.70152", {47}},
        {"      45 ->47          0.70152", {47}},  // arrow joined to the reached orbital
        {"      45 <- 47        -0.10234", {47}},  // de-excitation
        {"    1050 ->1052        0.69012", {1052}}, // four digits
        {"      99 <-100        -0.05123", {0}},   // joined "<-": not a number
        {"     45A -> 47A        0.50123", {0}},   // open-shell orbital names
        {" This state for optimization and/or second-order correction.", {}},
        {" Total Energy, E(TD-HF/TD-DFT) =  -1234.56789012", {}},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QByteArray text = QByteArray(" Standard orientation:\n"
                                           " Center     Atomic      Atomic             Coordinates (Angstroms)\n"
                                           " Number     Number       Type             X           Y           Z\n"
                                           " ---------------------------------------------------------------------\n"
                                           "      1         63           0        0.000000    0.000000    0.000000\n"
                                           " ---------------------------------------------------------------------\n"
                                           " Excitation energies and oscillator strengths:\n"
                                           " \n"
                                           " Excited State   1:      Singlet-A      3.0996 eV  400.00 nm  f=0.0500  "
                                           "<S**2>=0.000\n")
            + c.line
            + "\n"
              " \n"
              " SavETr:  write IOETrn=   770 NScale= 10 NData=  16 NLR=1 NState=    1 LETran=      19.\n"
              "     Molecular Orbital Coefficients:\n"
              "                           1\n"
              "                           O\n"
              "     Eigenvalues --    -0.50000\n"
              "   1 1   Eu 5S          1.00000\n"
              "     Density Matrix:\n";
        const QString file = writeFile(dir.filePath(QStringLiteral("lines.log")), text);
        OrvaneInputData data(nullptr, file);
        ASSERT_TRUE(data.readOutputGaussian()) << c.line << ": " << data.getLastError().toStdString();
        ASSERT_EQ(data.singletExcitateStateVector.size(), 1);
        EXPECT_EQ(data.singletExcitateStateVector.at(0).orbitals, c.orbitals) << c.line;
    }
}

// Coefficient rows: a first row of an atom, a continuation row, a label
// printed with a blank, and a row of a layout the grammar does not know,
// which still keeps the three lists of every orbital parallel.
TEST(GaussianOutput, CoefficientRowLayoutsKeepListsParallel)
{
    const QByteArray text = " Coordinates (Angstroms)\n"
                            " Number     Number       Type             X           Y           Z\n"
                            " ---------------------------------------------------------------------\n"
                            "      1         63           0        0.000000    0.000000    0.000000\n"
                            " ---------------------------------------------------------------------\n"
                            " Excitation energies and oscillator strengths:\n"
                            " \n"
                            " SavETr:  write IOETrn=   770\n"
                            "     Molecular Orbital Coefficients:\n"
                            "                           1         2\n"
                            "                           O         V\n"
                            "     Eigenvalues --    -0.50000   0.10000\n"
                            "   1 1   Eu 5S          0.10000   0.20000\n"
                            "   2        5D 0        0.30000   0.40000\n"
                            "   3        5D+1        0.50000   0.60000\n"
                            "   4 2   O  2S  extra   0.70000   0.80000\n"
                            "     Density Matrix:\n";
    QTemporaryDir dir;
    OrvaneInputData data(nullptr, writeFile(dir.filePath(QStringLiteral("rows.log")), text));
    ASSERT_TRUE(data.readOutputGaussian()) << data.getLastError().toStdString();
    ASSERT_EQ(data.molecularOrbitalVector.size(), 2);
    const MolecularOrbital second = data.getMolecularOrbitalVector(1);
    EXPECT_EQ(second.atoms, (QVector<int>{1, 1, 1, 1}));
    EXPECT_EQ(second.labels, (QStringList{"5S", "5D0", "5D+1", ""}));
    EXPECT_EQ(second.coefficients, (QVector<double>{0.2, 0.4, 0.6, 0.0}));
    EXPECT_EQ(data.getSelExcitateState(), 0); // no singlet
}

TEST(GaussianOutput, RunWithoutOrbitalPrintFailsButKeepsItsStates)
{
    const QString file = dataPath(QStringLiteral("gaussian/eu_complex_td_nopop.log"));
    OrvaneInputData data(nullptr, file);
    EXPECT_FALSE(data.readOutputGaussian());
    EXPECT_EQ(data.getLastError(), gaussianOrbitalsError + file);

    EXPECT_EQ(data.getAtomsNumber(), 8);
    EXPECT_EQ(data.getAtomLabel(8), QStringLiteral("Cl"));
    // Three-digit orbitals printed against the arrow, and a joined "<-".
    expectStates(data.singletExcitateStateVector,
                 {{40000.0, 0.41, {100, 101}},
                  {1e7 / 230.0, 0.15, {100, 0}},
                  {1e7 / 220.0, 0.62, {100, 102}},
                  {1e7 / 210.0, 0.62, {100}}},
                 "singlets");
    EXPECT_TRUE(data.tripletExcitateStateVector.isEmpty());
    EXPECT_EQ(data.getSelExcitateState(), 1); // the selection follows the orbitals, never reached

    // The absorption lines alone read fine.
    OrvaneInputData lines(nullptr, file);
    ASSERT_TRUE(lines.readAbsorptionDataGaussian());
    EXPECT_EQ(lines.energyVector, (QVector<double>{40000.0, 1e7 / 230.0, 1e7 / 220.0, 1e7 / 210.0}));
    EXPECT_EQ(lines.oscForceVector, (QVector<double>{0.41, 0.15, 0.62, 0.62}));
}

TEST(GaussianOutput, OpenShellLabelsAreNeitherSinglets)
{
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("gaussian/radical_utd.log")));
    ASSERT_TRUE(data.readOutputGaussian()) << data.getLastError().toStdString();
    // "2.316-A" names no singlet: every state goes to the other list, and the
    // orbital names "3A", "2B" are not numbers.
    EXPECT_TRUE(data.singletExcitateStateVector.isEmpty());
    expectStates(data.tripletExcitateStateVector,
                 {{1e7 / 500.0, 0.012, {0, 0}}, {1e7 / 350.0, 0.08, {0}}, {1e7 / 300.0, 0.001, {0, 0}}}, "states");
    EXPECT_EQ(data.getExcitedStateCount(), 0);
    EXPECT_EQ(data.getSelExcitateState(), 0);
    // A block of four alpha orbitals closes the section: the beta block is not read.
    EXPECT_EQ(data.molecularOrbitalVector.size(), 4);
    EXPECT_EQ(data.getAtomLabel(3), QStringLiteral("Eu"));

    OrvaneInputData lines(nullptr, dataPath(QStringLiteral("gaussian/radical_utd.log")));
    ASSERT_TRUE(lines.readAbsorptionDataGaussian());
    EXPECT_TRUE(lines.energyVector.isEmpty()); // only singlets are absorption lines
    EXPECT_EQ(lines.getExcitedStateCount(), 0);
}

TEST(GaussianAbsorption, SingletLinesOnlyAndOneSetWhenReadTwice)
{
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(data.readAbsorptionDataGaussian());
        EXPECT_EQ(data.energyVector, (QVector<double>{1e7 / 400.0, 1e7 / 320.0, 1e7 / 240.0}));
        EXPECT_EQ(data.oscForceVector, (QVector<double>{0.05, 0.21, 0.9}));
        EXPECT_EQ(data.getExcitedStateCount(), 3);
    }
}

TEST(GaussianAbsorption, WavelengthThatIsNoNumberGivesEnergyZero)
{
    // A wavelength field that overflowed reads as 0; its energy is 0, not infinite.
    bool matched = false;
    const QByteArray text = variant(contents(dataPath(QStringLiteral("gaussian/eu_h2o_td.log"))),
                                    {{"240.00 nm", "****** nm"}}, &matched);
    ASSERT_TRUE(matched);
    QTemporaryDir dir;
    const QString file = writeFile(dir.filePath(QStringLiteral("overflow.log")), text);
    OrvaneInputData lines(nullptr, file);
    ASSERT_TRUE(lines.readAbsorptionDataGaussian());
    EXPECT_EQ(lines.energyVector, (QVector<double>{1e7 / 400.0, 1e7 / 320.0, 0.0}));
    OrvaneInputData data(nullptr, file);
    ASSERT_TRUE(data.readOutputGaussian());
    EXPECT_EQ(data.getSingletEnergy(3), 0.0);
}

TEST(GaussianReaders, MissingFile)
{
    const QString file = QStringLiteral("/nonexistent/run.log");
    OrvaneInputData data(nullptr, file);
    data.setLastError(QStringLiteral("earlier"));
    EXPECT_FALSE(data.readOutputGaussian());
    EXPECT_EQ(data.getLastError(), file + QStringLiteral(" does not exist."));
    data.energyVector = {1.0};
    EXPECT_FALSE(data.readAbsorptionDataGaussian());
    EXPECT_EQ(data.getLastError(), file + QStringLiteral(" does not exist."));
    EXPECT_TRUE(data.energyVector.isEmpty());
}

// ---------------------------------------------------------------------------
// ORCA
// ---------------------------------------------------------------------------

TEST(OrcaOutput, RunKindsHeadingsAndSelection)
{
    struct Case {
        const char* file;
        bool tddft; // "TD-DFT/TDA" and RPA "TD-DFT" headings; not CIS
        int selected;
        int singlets;
        int triplets;
        int orbitals;
    };
    const Case cases[] = {
        {"orca/eu_h2o_tda.orcout", true, 2, 3, 3, 8},
        // Equal strengths of states 1 and 2: the first stays selected.
        {"orca/eu_complex_rpa.orcout", true, 1, 3, 1, 12},
        {"orca/h2o_cis_pc.orcout", false, 1, 2, 2, 6},
    };
    for (const Case& c : cases) {
        const QString file = dataPath(QString::fromLatin1(c.file));
        OrvaneInputData data(nullptr, file);
        QSignalSpy spy(&data, &OrvaneAbstractObjCalculation::newObjCalculationMessage);
        ASSERT_TRUE(data.readOutputOrca()) << c.file << ": " << data.getLastError().toStdString();
        EXPECT_EQ(data.getIsOrcaTDDFT(), c.tddft) << c.file;
        EXPECT_EQ(data.getSelExcitateState(), c.selected) << c.file;
        EXPECT_EQ(data.singletExcitateStateVector.size(), c.singlets) << c.file;
        EXPECT_EQ(data.getExcitedStateCount(), c.singlets) << c.file;
        EXPECT_EQ(data.tripletExcitateStateVector.size(), c.triplets) << c.file;
        EXPECT_EQ(data.molecularOrbitalVector.size(), c.orbitals) << c.file;
        EXPECT_TRUE(data.coord.isEmpty()) << c.file; // atoms come from their own reader
        ASSERT_EQ(spy.count(), 1);
        EXPECT_TRUE(spy.at(0).at(0).toString().endsWith(
            QStringLiteral(" -> (Read Input Data) All data were successfully loaded from the ORCA output file. \n")
            + file));
    }
}

TEST(OrcaOutput, StatesKeepTheReachedOrbitals)
{
    struct Case {
        const char* file;
        QVector<StateCase> singlets;
        QVector<StateCase> triplets;
    };
    // ORCA strengths are not on the state lines: the states carry 0.
    const Case cases[] = {
        {"orca/eu_h2o_tda.orcout",
         {{24999.7, 0, {4, 5}}, {31249.1, 0, {5, 4, 4}}, {41665.4, 0, {6, 7}}},
         {{19230.3, 0, {4}}, {26316.3, 0, {4, 6}}, {33333.6, 0, {7}}}},
        {"orca/eu_complex_rpa.orcout",
         {{27654.3, 0, {1052, 1053}}, {31996.8, 0, {1052, 1052}}, {40670.5, 0, {1054}}},
         {{22369.3, 0, {1052}}}},
        {"orca/h2o_cis_pc.orcout", {{35000.0, 0, {4}}, {52000.0, 0, {5, 4}}}, {{27000.5, 0, {4}}, {44000.0, 0, {5}}}},
    };
    for (const Case& c : cases) {
        OrvaneInputData data(nullptr, dataPath(QString::fromLatin1(c.file)));
        ASSERT_TRUE(data.readOutputOrca()) << c.file;
        expectStates(data.singletExcitateStateVector, c.singlets, c.file);
        expectStates(data.tripletExcitateStateVector, c.triplets, c.file);
    }
}

TEST(OrcaOutput, OrbitalBlocks)
{
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")));
    ASSERT_TRUE(data.readOutputOrca());
    ASSERT_EQ(data.molecularOrbitalVector.size(), 8); // six and a narrower last block of two
    const MolecularOrbital lumo = data.getMolecularOrbitalVector(4);
    // Atoms numbered from 0 as printed, joined to the symbol ("0Eu").
    EXPECT_EQ(lumo.atoms, (QVector<int>{0, 0, 1, 1, 1, 1, 1, 2}));
    EXPECT_EQ(lumo.labels, (QStringList{"5s", "5dz2", "1s", "2s", "1pz", "1px", "1py", "1s"}));
    EXPECT_EQ(lumo.coefficients, (QVector<double>{0.0, 0.6, 0.0, 0.0, 0.0, 0.48, 0.0, -0.64}));
    const MolecularOrbital last = data.getMolecularOrbitalVector(7);
    EXPECT_EQ(last.atoms, lumo.atoms);
    EXPECT_EQ(last.coefficients, (QVector<double>{0.6, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.8}));
}

TEST(OrcaOutput, OrbitalRowLayouts)
{
    struct Case {
        const char* row;
        int atom;
        const char* label;
        double first;
    };
    const Case cases[] = {
        {" 12Eu  1s         0.100000  0.200000  0.300000  0.400000  0.500000  0.600000", 12, "1s", 0.1},
        {"1050C   2pz      -0.100000  0.200000  0.300000  0.400000  0.500000  0.600000", 1050, "2pz", -0.1},
        // Label glued to the symbol: the text after the first capital.
        {"  7C1s            0.700000  0.200000  0.300000  0.400000  0.500000  0.600000", 7, "1s", 0.7},
        // A row of a layout the grammar does not know keeps the lists parallel.
        {"  3O   2s  odd   0.100000  0.200000  0.300000  0.400000  0.500000  0.600000", 3, "", 0.0},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QByteArray text = QByteArray("------------------\n"
                                           "MOLECULAR ORBITALS\n"
                                           "------------------\n"
                                           "                      0         1         2         3         4         5\n"
                                           "                  -1.00000  -0.90000  -0.80000  -0.70000  -0.60000  -0.50000\n"
                                           "                   2.00000   2.00000   2.00000   2.00000   2.00000   2.00000\n"
                                           "                  --------  --------  --------  --------  --------  --------\n")
            + c.row
            + "\n\n"
              "TD-DFT/TDA EXCITED STATES (SINGLETS)\n\n\n\n\n\n"
              "TD-DFT/TDA EXCITED STATES (TRIPLETS)\n\n\n\n\n\n"
              "ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE MOMENTS\n";
        OrvaneInputData data(nullptr, writeFile(dir.filePath(QStringLiteral("rows.orcout")), text));
        ASSERT_TRUE(data.readOutputOrca()) << c.row << ": " << data.getLastError().toStdString();
        ASSERT_EQ(data.molecularOrbitalVector.size(), 6) << c.row;
        for (int j = 0; j < 6; ++j) {
            const MolecularOrbital orbital = data.getMolecularOrbitalVector(j);
            EXPECT_EQ(orbital.atoms, (QVector<int>{c.atom})) << c.row;
            EXPECT_EQ(orbital.labels, (QStringList{QString::fromLatin1(c.label)})) << c.row;
            ASSERT_EQ(orbital.coefficients.size(), 1) << c.row;
        }
        EXPECT_DOUBLE_EQ(data.getMolecularOrbitalVector(0).coefficients.at(0), c.first) << c.row;
    }
}

TEST(OrcaOutput, SelectionFromTheAbsorptionLines)
{
    // Singlets of 24000 and 30000 cm-1 with strengths 0.01 and 0.02 select
    // state 2; a stronger line above 40000 cm-1 is passed over.
    const QByteArray text = "MOLECULAR ORBITALS\n"
                            "------------------\n"
                            "                      0\n"
                            "                  -1.00000\n"
                            "                   2.00000\n"
                            "                  --------\n"
                            "  0O   1s         1.000000\n"
                            "\n"
                            "TD-DFT/TDA EXCITED STATES (SINGLETS)\n"
                            "------------------------------------\n"
                            "\n"
                            "the weight of the individual excitations are printed if larger than 1.0e-02\n"
                            "\n"
                            "STATE  1:  E=   0.109352 au      2.976 eV    24000.0 cm**-1\n"
                            "     3a ->   4a  :     0.991234 (c= -0.99560735)\n"
                            "\n"
                            "STATE  2:  E=   0.136690 au      3.720 eV    30000.0 cm**-1\n"
                            "     3a ->   5a  :     0.991234 (c= -0.99560735)\n"
                            "\n"
                            "STATE  3:  E=   0.191366 au      5.207 eV    42000.0 cm**-1\n"
                            "     2a ->   5a  :     0.991234 (c= -0.99560735)\n"
                            "\n"
                            "\n"
                            "TD-DFT/TDA EXCITED STATES (TRIPLETS)\n"
                            "------------------------------------\n"
                            "\n"
                            "the weight of the individual excitations are printed if larger than 1.0e-02\n"
                            "\n"
                            "\n"
                            "         ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE MOMENTS\n"
                            "-----------------------------------------------------------------------------\n"
                            "State   Energy    Wavelength  fosc         T2        TX        TY        TZ\n"
                            "        (cm-1)      (nm)                 (au**2)    (au)      (au)      (au)\n"
                            "-----------------------------------------------------------------------------\n"
                            "   1   24000.0    416.7   0.010000000   0.05000   0.22000   0.00000   0.00000\n"
                            "   2   30000.0    333.3   0.020000000   0.08000   0.28000   0.00000   0.00000\n"
                            "   3   42000.0    238.1   0.500000000   1.40000   1.18000   0.00000   0.00000\n";
    QTemporaryDir dir;
    OrvaneInputData data(nullptr, writeFile(dir.filePath(QStringLiteral("sel.orcout")), text));
    ASSERT_TRUE(data.readOutputOrca()) << data.getLastError().toStdString();
    EXPECT_EQ(data.getSelExcitateState(), 2);
    EXPECT_TRUE(data.tripletExcitateStateVector.isEmpty());
}

TEST(OrcaAbsorption, ElectricDipoleTableAndOneSetWhenReadTwice)
{
    struct Case {
        const char* file;
        QVector<double> energies;
        QVector<double> strengths;
    };
    const Case cases[] = {
        {"orca/eu_h2o_tda.orcout", {24999.7, 31249.1, 41665.4}, {0.050123456, 0.210234567, 0.900345678}},
        {"orca/h2o_cis_pc.orcout", {35000.0, 52000.0}, {0.0201234, 0.3004567}},
    };
    for (const Case& c : cases) {
        OrvaneInputData data(nullptr, dataPath(QString::fromLatin1(c.file)));
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_TRUE(data.readAbsorptionDataOrca()) << c.file;
            EXPECT_EQ(data.energyVector, c.energies) << c.file;
            EXPECT_EQ(data.oscForceVector, c.strengths) << c.file;
            EXPECT_EQ(data.getExcitedStateCount(), c.energies.size()) << c.file;
        }
    }
}

TEST(OrcaCoordinates, AngstromTable)
{
    struct Case {
        const char* file;
        QStringList labels;
        Coord last;
    };
    const Case cases[] = {
        {"orca/eu_h2o_tda.orcout", {"Eu", "O", "H"}, {QStringLiteral("H"), 2.88, 0.84, 0.0}},
        {"orca/h2o_cis_pc.orcout", {"O", "H", "H"}, {QStringLiteral("H"), 3.38, -1.09, 1.0}},
        {"orca/eu_complex_rpa.orcout", {"O", "EU", "O", "C", "C", "H"}, {QStringLiteral("H"), 4.201234, 0.812345, -0.312345}},
    };
    for (const Case& c : cases) {
        OrvaneInputData data(nullptr, dataPath(QString::fromLatin1(c.file)));
        ASSERT_TRUE(data.readCoordFromOrcaOutFile()) << c.file;
        EXPECT_EQ(labelsOf(data.coord), c.labels) << c.file;
        EXPECT_EQ(data.getAtomsNumber(), c.labels.size()) << c.file;
        const Coord last = data.getCoord(data.getAtomsNumber());
        EXPECT_DOUBLE_EQ(last.x, c.last.x) << c.file;
        EXPECT_DOUBLE_EQ(last.y, c.last.y) << c.file;
        EXPECT_DOUBLE_EQ(last.z, c.last.z) << c.file;
    }
}

TEST(OrcaPointCharge, FirstChargeOfTheCompanionFile)
{
    double x = 0, y = 0, z = 0;
    OrvaneInputData data(nullptr, dataPath(QStringLiteral("orca/h2o_cis_pc.orcout")));
    ASSERT_TRUE(data.readChargePointFileOrca(x, y, z)) << data.getLastError().toStdString();
    EXPECT_DOUBLE_EQ(x, 0.5);
    EXPECT_DOUBLE_EQ(y, -0.25);
    EXPECT_DOUBLE_EQ(z, 1.0);

    QTemporaryDir dir;
    struct Case {
        const char* name;
        const char* text; // nullptr: no companion file
        bool ok;
    };
    const Case cases[] = {
        {"two charges", "2\n 3.000 1.0 2.0 3.0\n 3.000 4.0 5.0 6.0\n", true},
        {"no companion", nullptr, false},
        {"empty", "", false},
        {"count only", "1\n", false},
        {"three fields", "1\n 1.0 2.0 3.0\n", false},
        {"five fields", "1\n 3.0 1.0 2.0 3.0 9.9\n", false},
    };
    for (const Case& c : cases) {
        // Every ".orcout" of the name is replaced, the folder's too.
        const QString folder = dir.filePath(QStringLiteral("a.orcout.d"));
        QDir().mkpath(folder);
        const QString output = folder + QStringLiteral("/run.orcout");
        const QString companion = dir.filePath(QStringLiteral("a.pointcharge.d/run.pointcharge"));
        QDir().mkpath(dir.filePath(QStringLiteral("a.pointcharge.d")));
        QFile::remove(companion);
        if (c.text)
            writeFile(companion, QByteArray(c.text));
        OrvaneInputData record(nullptr, output);
        x = y = z = -7.0;
        EXPECT_EQ(record.readChargePointFileOrca(x, y, z), c.ok) << c.name;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(x, 1.0);
            EXPECT_DOUBLE_EQ(z, 3.0);
        } else {
            EXPECT_EQ(x, -7.0) << c.name;
            EXPECT_EQ(record.getLastError(),
                      c.text ? QStringLiteral("ORVANE could not read the ORCA point charge file.")
                             : companion + QStringLiteral(" does not exist."))
                << c.name;
        }
    }
}

TEST(OrcaOrbitalOccupancy, HomoLumoAndCount)
{
    struct Case {
        const char* file;
        int homo, lumo, count;
        double lastEnergy;
    };
    const Case cases[] = {
        {"orca/eu_h2o_tda.orcout", 3, 4, 8, 0.345678},
        {"orca/h2o_cis_pc.orcout", 3, 4, 6, 0.134567},
    };
    for (const Case& c : cases) {
        OrvaneInputData data(nullptr, dataPath(QString::fromLatin1(c.file)));
        ASSERT_TRUE(data.readMolecularOrbitalOccupancy()) << c.file;
        EXPECT_EQ(data.getHomoMO(), c.homo) << c.file;
        EXPECT_EQ(data.getLumoMO(), c.lumo) << c.file;
        EXPECT_EQ(data.getMolecularOrbitalNumber(), c.count) << c.file;
        EXPECT_EQ(data.getMolecularOrbital(0).number, 0);
        EXPECT_DOUBLE_EQ(data.getMolecularOrbital(0).occupancy, 2.0);
        EXPECT_DOUBLE_EQ(data.getMolecularOrbital(c.count - 1).energy, c.lastEnergy) << c.file;
    }

    // Occupations 2, 2, 0, 0 numbered 0 to 3; and a table with no empty orbital.
    const QByteArray head = "----------------\nORBITAL ENERGIES\n----------------\n\n  NO   OCC          E(Eh)            E(eV)\n";
    QTemporaryDir dir;
    OrvaneInputData four(nullptr, writeFile(dir.filePath(QStringLiteral("four.orcout")),
                                            head + "   0   2.0000      -1.000000       -27.2114\n"
                                                   "   1   2.0000      -0.500000       -13.6057\n"
                                                   "   2   0.0000       0.100000         2.7211\n"
                                                   "   3   0.0000       0.200000         5.4423\n"
                                                   "\n"));
    ASSERT_TRUE(four.readMolecularOrbitalOccupancy());
    EXPECT_EQ(four.getHomoMO(), 1);
    EXPECT_EQ(four.getLumoMO(), 2);
    EXPECT_EQ(four.getMolecularOrbitalNumber(), 4);

    OrvaneInputData full(nullptr, writeFile(dir.filePath(QStringLiteral("full.orcout")),
                                            head + "   0   2.0000      -1.000000       -27.2114\n"
                                                   "   1   2.0000      -0.500000       -13.6057\n"
                                                   "------------------\n"));
    ASSERT_TRUE(full.readMolecularOrbitalOccupancy());
    EXPECT_EQ(full.getHomoMO(), 0); // no LUMO: a defined 0 for both
    EXPECT_EQ(full.getLumoMO(), 0);
    EXPECT_EQ(full.getMolecularOrbitalNumber(), 2);
}

TEST(OrcaReaders, MissingFileReplacesOrAppendsAsEachReaderDoes)
{
    const QString file = QStringLiteral("/nonexistent/run.orcout");
    const QString missing = file + QStringLiteral(" does not exist.");
    OrvaneInputData data(nullptr, file);
    data.setLastError(QStringLiteral("earlier;"));
    EXPECT_FALSE(data.readOutputOrca());
    EXPECT_EQ(data.getLastError(), missing);
    EXPECT_FALSE(data.readAbsorptionDataOrca());
    EXPECT_EQ(data.getLastError(), missing);
    EXPECT_FALSE(data.readCoordFromOrcaOutFile());
    EXPECT_EQ(data.getLastError(), missing + missing);
    EXPECT_FALSE(data.readMolecularOrbitalOccupancy());
    EXPECT_EQ(data.getLastError(), missing + missing + missing);
}
