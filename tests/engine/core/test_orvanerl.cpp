// Ligand-state distances on the three-atom fixtures, checked against values
// worked out by hand from the fixtures' coordinates and coefficients.
//
// Distances from the ion (Angstrom), the same for the Gaussian, ORCA and the
// ORCA point-charge runs: O at (2.4, 0, 0) from the ion: 2.4; H at
// (2.88, +-0.84, 0): sqrt(8.2944 + 0.7056) = 3.0. ZINDO (Eu, O, C in a line):
// O 2.4, C 3.53.
//
// Per orbital, S = sum c^2 and W = sum c^2 d over its functions:
//   Gaussian 5 = ORCA 4: Eu 0.6, O 0.48, H -0.64  -> S = 1, W = 0.2304*2.4 + 0.4096*3 = 1.78176
//   Gaussian 6 = ORCA 5: Eu 0.8, O 0.6            -> S = 1, W = 0.36*2.4 = 0.864
//   Gaussian 7 = ORCA 6: O 0.8, H 0.6             -> S = 1, W = 0.64*2.4 + 0.36*3 = 2.616
//   Gaussian 8 = ORCA 7: Eu 0.6, H 0.8            -> S = 1, W = 0.64*3 = 1.92
//   ORCA CIS 4: O 0.6, H 0.48, H -0.64            -> S = 1, W = 0.864 + 0.64*3 = 2.784
//   ORCA CIS 5: O 0.8, H 0.6                      -> S = 1, W = 1.536 + 1.08 = 2.616
//   ZINDO 6: O 0.6, C -0.8                        -> S = 1, W = 0.864 + 0.64*3.53 = 3.1232
//   ZINDO 7: O 0.8, C -0.6                        -> S = 1, W = 1.536 + 0.36*3.53 = 2.8068
//   ZINDO 8: O 0.6, O 0.48, C -0.64               -> S = 1, W = 0.5904*2.4 + 0.4096*3.53 = 2.862848
// A state's RL is (sum of W) / (sum of S) over its list of reached orbitals,
// repeats counted: e.g. Gaussian singlet 2 reaches 5, 6, 5:
// (2*1.78176 + 0.864) / 3 = 1.47584.

#include "orvanefixtures.h"
#include "orvanerl.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;
using OrvaneFixtures::variant;
using OrvaneFixtures::writeFile;

namespace {

void expectVector(const QVector<double>& actual, const QVector<double>& expected, const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual.at(i), expected.at(i), 1e-12) << what << " entry " << i;
}

} // namespace

TEST(LigandStateDistances, HandComputedForEachProgram)
{
    struct Case {
        const char* file;
        int program;
        QVector<double> singlets;
        QVector<double> triplets;
        int selected;
        int statesNumber;
    };
    const Case cases[] = {
        // Singlets reach {5,5}, {5,6,5}, {7,8}; triplets {5,6}, {5,7}, {7}.
        {"gaussian/eu_h2o_td.log", OrvaneRL::Gaussian,
         {0, 1.78176, 1.47584, 2.268},
         {0, (1.78176 + 0.864) / 2, (1.78176 + 2.616) / 2, 2.616}, 2, 4},
        // Singlets {4,5}, {5,4,4}, {6,7}; triplets {4}, {4,6}, {7}; ORCA numbers atoms from 0.
        {"orca/eu_h2o_tda.orcout", OrvaneRL::Orca,
         {0, (1.78176 + 0.864) / 2, 1.47584, (2.616 + 1.92) / 2},
         {0, 1.78176, (1.78176 + 2.616) / 2, 1.92}, 2, 4},
        // The ion is the point charge of the companion file.
        {"orca/h2o_cis_pc.orcout", OrvaneRL::Orca, {0, 2.784, (2.616 + 2.784) / 2}, {0, 2.784, 2.616}, 1, 3},
        // State 1 of both lists is the reference (RL 0); singlets {6,6}, {7,7},
        // {8,6}; triplets {6}, {7,8}. More singlets than triplets.
        {"zindo/eu_co.zin", OrvaneRL::Zindo,
         {0, 0, 3.1232, 2.8068, (2.862848 + 3.1232) / 2},
         {0, 0, 3.1232, (2.8068 + 2.862848) / 2}, 3, 4},
        // Open shell: no singlet, and no orbital number that reads as one.
        // The states number counts the triplets.
        {"gaussian/radical_utd.log", OrvaneRL::Gaussian, {0}, {0, 0, 0, 0}, 0, 4},
    };
    for (const Case& c : cases) {
        OrvaneRL rl(nullptr, dataPath(QString::fromLatin1(c.file)));
        ASSERT_TRUE(rl.calcRL(c.program)) << c.file << ": " << rl.getLastError().toStdString();
        EXPECT_TRUE(rl.getLastError().isEmpty());
        expectVector(rl.singletRL, c.singlets, c.file);
        expectVector(rl.tripletRL, c.triplets, c.file);
        EXPECT_EQ(rl.getSelExcitateState(), c.selected) << c.file;
        EXPECT_EQ(rl.program, c.program);
        // The ion is left out by its place: ZINDO's first atom "EU" is no ligand.
        EXPECT_NEAR(rl.getMinDistanceLnLigand(), 2.4, 1e-12) << c.file;
        EXPECT_EQ(rl.getStatesNumber(), c.statesNumber) << c.file;
        EXPECT_EQ(rl.getSingletStatesNumber(), c.singlets.size()) << c.file;
        EXPECT_EQ(rl.getSingletRL(c.singlets.size()), 0.0); // beyond the vector
        EXPECT_NEAR(rl.getSingletRL(c.singlets.size() - 1), c.singlets.last(), 1e-12);
    }
}

TEST(LigandStateDistances, EnergiesAreTheMoleculesStates)
{
    OrvaneRL rl(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    ASSERT_TRUE(rl.calcRL(OrvaneRL::Gaussian));
    EXPECT_DOUBLE_EQ(rl.getSingletEnergy(1), 25000.0);
    EXPECT_DOUBLE_EQ(rl.getTripletEnergy(3), 1e7 / 300.0);
    EXPECT_EQ(rl.getSingletEnergy(0), 0.0);
    EXPECT_EQ(rl.getTripletEnergy(9), 0.0);
    EXPECT_EQ(rl.inputData->getAtomsNumber(), 3);
}

TEST(LigandStateDistances, IonLabelsAndLists)
{
    const QByteArray tda = contents(dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")));
    const QByteArray cis = contents(dataPath(QStringLiteral("orca/h2o_cis_pc.orcout")));
    const QByteArray gaussian = contents(dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    struct Case {
        const char* name;
        QByteArray text;
        const char* fileName;
        int program;
        double minDistance;
        QVector<double> singlets;
        QVector<double> triplets;
        int statesNumber;
    };
    const QList<Case> cases = {
        // A TD-DFT ion found whatever the letter case of its label.
        {"ORCA label EU", variant(tda, {{"  Eu     0.000000", "  EU     0.000000"}}), "run.orcout", OrvaneRL::Orca,
         2.4, {0, (1.78176 + 0.864) / 2, 1.47584, (2.616 + 1.92) / 2}, {0, 1.78176, (1.78176 + 2.616) / 2, 1.92}, 4},
        {"ORCA label eu", variant(tda, {{"  Eu     0.000000", "  eu     0.000000"}}), "run.orcout", OrvaneRL::Orca,
         2.4, {0, (1.78176 + 0.864) / 2, 1.47584, (2.616 + 1.92) / 2}, {0, 1.78176, (1.78176 + 2.616) / 2, 1.92}, 4},
        // Fewer triplets than singlets: each list is walked to its own end.
        {"one triplet",
         variant(cis, {{"STATE  2:  E=   0.200481 au      5.455 eV    44000.0 cm**-1\n"
                        "     2a ->   5a  :     0.954321 (c=  0.97689354)\n\n",
                        ""}}),
         "run.orcout", OrvaneRL::Orca, 2.4, {0, 2.784, 2.7}, {0, 2.784}, 2},
        // Every atom an Eu: no ligand distance.
        {"only Eu atoms",
         variant(gaussian, {{"      2          8           0        2.900000", "      2         63           0        2.900000"},
                            {"      3          1           0        3.380000", "      3         63           0        3.380000"}}),
         "run.log", OrvaneRL::Gaussian, 1000.0, {0, 1.78176, 1.47584, 2.268},
         {0, (1.78176 + 0.864) / 2, (1.78176 + 2.616) / 2, 2.616}, 4},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString file = writeFile(dir.filePath(QString::fromLatin1(c.fileName)), c.text);
        if (c.program == OrvaneRL::Orca)
            writeFile(dir.filePath(QStringLiteral("run.pointcharge")),
                      contents(dataPath(QStringLiteral("orca/h2o_cis_pc.pointcharge"))));
        OrvaneRL rl(nullptr, file);
        ASSERT_TRUE(rl.calcRL(c.program)) << c.name << ": " << rl.getLastError().toStdString();
        EXPECT_NEAR(rl.getMinDistanceLnLigand(), c.minDistance, 1e-12) << c.name;
        expectVector(rl.singletRL, c.singlets, c.name);
        expectVector(rl.tripletRL, c.triplets, c.name);
        EXPECT_EQ(rl.getStatesNumber(), c.statesNumber) << c.name;
    }
}

TEST(LigandStateDistances, FailuresNameTheFile)
{
    const QByteArray gaussian = contents(dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    const QByteArray zindo = contents(dataPath(QStringLiteral("zindo/eu_co.zin")));
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QString file;
        int program;
        QString error; // before the file name
    };
    const QString rpa = dataPath(QStringLiteral("orca/eu_complex_rpa.orcout"));
    const QString missing = dir.filePath(QStringLiteral("missing.log"));
    const QString lonelyOrca = writeFile(dir.filePath(QStringLiteral("lonely.orcout")),
                                         contents(dataPath(QStringLiteral("orca/h2o_cis_pc.orcout"))));
    const QList<Case> cases = {
        {"unknown program", dataPath(QStringLiteral("gaussian/eu_h2o_td.log")), 7,
         QStringLiteral("Unknown excited-state program 7 (0 ZINDO, 1 ORCA, 2 Gaussian) for the file: \n")},
        {"reader failure", missing, OrvaneRL::Gaussian, QString()},
        {"no point-charge file", lonelyOrca, OrvaneRL::Orca, QString()},
        // An excerpt whose orbital section holds 12 of the orbitals its states reach.
        {"orbital beyond the section", rpa, OrvaneRL::Orca,
         QStringLiteral("The singlet state 1 reaches the molecular orbital 1052, but only 12 molecular orbitals were "
                        "read from the file: \n")},
        {"no Eu", writeFile(dir.filePath(QStringLiteral("gd.log")),
                            variant(gaussian, {{"      1         63           0        0.500000",
                                                "      1         64           0        0.500000"}})),
         OrvaneRL::Gaussian, QStringLiteral("ORVANE could not find the Eu ion among the atoms of the file: \n")},
        {"Gaussian orbital beyond", writeFile(dir.filePath(QStringLiteral("beyond.log")),
                                              variant(gaussian, {{"       4 ->  8         0.48123",
                                                                  "       4 ->  9         0.48123"}})),
         OrvaneRL::Gaussian,
         QStringLiteral("The singlet state 3 reaches the molecular orbital 9, but only 8 molecular orbitals were read "
                        "from the file: \n")},
        {"atom beyond", writeFile(dir.filePath(QStringLiteral("atom.zin")),
                                  variant(zindo, {{"     8    3  Z      0.00000     8    3  Z     -0.64000",
                                                   "     8    3  Z      0.00000     8    9  Z     -0.64000"}})),
         OrvaneRL::Zindo,
         QStringLiteral("The molecular orbital 8 names the atom 9, which the file does not hold: \n")},
    };
    for (const Case& c : cases) {
        OrvaneRL rl(nullptr, c.file);
        EXPECT_FALSE(rl.calcRL(c.program)) << c.name;
        if (c.error.isEmpty()) // a reader's own text, copied
            EXPECT_EQ(rl.getLastError(), rl.inputData->getLastError()) << c.name;
        else
            EXPECT_EQ(rl.getLastError(), c.error + c.file) << c.name;
        EXPECT_FALSE(rl.getLastError().isEmpty()) << c.name;
    }
    OrvaneRL rl(nullptr, missing);
    rl.calcRL(OrvaneRL::Gaussian);
    EXPECT_EQ(rl.getLastError(), missing + QStringLiteral(" does not exist."));
    OrvaneRL pc(nullptr, lonelyOrca);
    pc.calcRL(OrvaneRL::Orca);
    EXPECT_EQ(pc.getLastError(), dir.filePath(QStringLiteral("lonely.pointcharge")) + QStringLiteral(" does not exist."));
}

TEST(LigandStateDistances, ReportLines)
{
    struct Case {
        const char* file;
        int program;
        QString report;
    };
    const QString pad = QStringLiteral(" Angs          "); // " Angs" left-justified to 15
    const Case cases[] = {
        // ZINDO: the lowest triplet is state 2 (state 1 is the reference).
        {"zindo/eu_co.zin", OrvaneRL::Zindo,
         QStringLiteral("****************  Calculation of RL *************************\n"
                        "Excited State Chosen = 3\n"
                        "Singlet RL 2.8068") + pad + QStringLiteral("Singlet Energy: 31000.5000 cm^-1\n"
                        "Lowerst Energy:\n"
                        "Triplet RL 3.1232") + pad + QStringLiteral("Triplet Energy: 19500.0000 cm^-1\n"
                        "\n"
                        "Triplet Associated with Singlet\n"
                        "Triplet RL 2.8348") + pad + QStringLiteral("Triplet Energy: 23000.0000 cm^-1\n"
                        "\n\n")},
        // Gaussian: singlet 2 at 320 nm; triplet 1 at 520 nm, triplet 2 at 380 nm.
        {"gaussian/eu_h2o_td.log", OrvaneRL::Gaussian,
         QStringLiteral("****************  Calculation of RL *************************\n"
                        "Excited State Chosen = 2\n"
                        "Singlet RL 1.4758") + pad + QStringLiteral("Singlet Energy: 31250.0000 cm^-1\n"
                        "Lowerst Energy:\n"
                        "Triplet RL 1.3229") + pad + QStringLiteral("Triplet Energy: 19230.7692 cm^-1\n"
                        "\n"
                        "Triplet Associated with Singlet\n"
                        "Triplet RL 2.1989") + pad + QStringLiteral("Triplet Energy: 26315.7895 cm^-1\n"
                        "\n\n")},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        OrvaneRL rl(nullptr, dataPath(QString::fromLatin1(c.file)));
        ASSERT_TRUE(rl.calcRL(c.program)) << c.file;
        const QString out = dir.filePath(QStringLiteral("distances.txt"));
        writeFile(out, QByteArray("old text that must go, and longer than the report ") + QByteArray(2000, 'x'));
        rl.createOutput(out);
        EXPECT_EQ(QString::fromUtf8(contents(out)), c.report) << c.file;
    }

    OrvaneRL rl(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    ASSERT_TRUE(rl.calcRL(OrvaneRL::Gaussian));
    rl.createOutput(dir.filePath(QStringLiteral("no/such/folder/distances.txt")));
    EXPECT_FALSE(rl.getLastError().isEmpty()); // an unwritable report is told, not silent
}

TEST(LigandStateDistances, EachReportStartsWithoutTheLastError)
{
    QTemporaryDir dir;
    OrvaneRL rl(nullptr, dataPath(QStringLiteral("gaussian/eu_h2o_td.log")));
    ASSERT_TRUE(rl.calcRL(OrvaneRL::Gaussian));
    EXPECT_FALSE(rl.createOutput(dir.filePath(QStringLiteral("no/such/folder/distances.txt"))));
    EXPECT_FALSE(rl.getLastError().isEmpty());
    EXPECT_TRUE(rl.createOutput(dir.filePath(QStringLiteral("distances.txt"))));
    EXPECT_TRUE(rl.getLastError().isEmpty()) << rl.getLastError().toStdString();
}
