// Reactivity indices from the real ALLVEC output of [Eu(H2O)8]3+
// (tests/data/mopac/eu_h2o8_allvec.out). The reference values are printed by
// tests/data/mopac/indices_reference.py, which evaluates the formulas in double
// precision from the printed eigenvectors. As a check of that script, its
// charge indices agree with MOPAC's own "No. of ELECS." column of the same
// output (O 2: 6.65507 against 6.6549) within the rounding of the coefficients.

#include "orvaneindicescalculation.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/") + name;
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString writeLines(const QTemporaryDir& dir, const QString& name, const QStringList& lines)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return path;
}

int lineOf(const QStringList& lines, const QString& text, int occurrence = 1)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).contains(text) && --occurrence == 0)
            return i;
    return -1;
}

struct Reference {
    int atom;
    double charge;
    double superdelocalizability;
};

// Output of indices_reference.py.
const Reference references[] = {{2, 6.655067000, -0.151130716}, {3, 6.655050820, -0.150914319},
    {4, 6.654397320, -0.245811821}, {5, 6.654859900, -0.245808671}, {6, 6.654801940, -0.253160118},
    {7, 6.654748200, -0.215315935}, {8, 6.654399960, -0.233352721}, {9, 6.654492980, -0.214057110},
    {10, 0.672696720, -0.020831123}, {11, 0.672413020, -0.020821351}, {12, 0.672206300, -0.020816028},
    {13, 0.672473060, -0.020824394}, {14, 0.672586260, -0.020826909}, {15, 0.672832520, -0.020834102},
    {16, 0.672690840, -0.020833276}, {17, 0.672555880, -0.020830139}, {18, 0.672708940, -0.020827667},
    {19, 0.672313720, -0.020817497}, {20, 0.672332700, -0.020821621}, {21, 0.673068600, -0.020840894},
    {22, 0.673146200, -0.020845087}, {23, 0.672527940, -0.020832128}, {24, 0.672387460, -0.020826687},
    {25, 0.672956020, -0.020840087}};

const QString noEigenvectors = QStringLiteral(
    "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nProbably, you have forgetten to add the "
    "ALLVEC keyword in the MOPAC input file.");
const QString unreadable = QStringLiteral("ORVANE could not read Mopac Output File - Indices Calculation");

} // namespace

TEST(IndicesCalculation, DonorAtomsMatchTheIndependentEvaluation)
{
    // N = 8: the eight water oxygens around the ion.
    OrvaneIndicesCalculation indices(nullptr, fixture(QStringLiteral("eu_h2o8_allvec.out")), 8);
    EXPECT_EQ(indices.getMinimumSuperDeslocalizability(), 1.0);
    ASSERT_TRUE(indices.calculateIndices()) << indices.getLastError().toStdString();
    const QVector<double> charges = indices.getAtomicCharge();
    const QVector<double> supers = indices.getSuperDeslocalizability();
    ASSERT_EQ(charges.size(), 10);
    ASSERT_EQ(supers.size(), 10);
    EXPECT_EQ(charges.at(0), 0.0);
    EXPECT_EQ(charges.at(1), 0.0);
    EXPECT_EQ(supers.at(0), 0.0);
    EXPECT_EQ(supers.at(1), 0.0);
    // Sums of single-precision terms: agreement to a few parts in 10^7.
    for (const Reference& r : references) {
        if (r.atom > 9)
            break;
        SCOPED_TRACE(r.atom);
        EXPECT_NEAR(indices.getAtomicCharge(r.atom), r.charge, 2e-6);
        EXPECT_NEAR(indices.getSuperDeslocalizability(r.atom), r.superdelocalizability, 2e-7);
    }
    EXPECT_NEAR(indices.getMinimumSuperDeslocalizability(), -0.253160118, 2e-7);
}

TEST(IndicesCalculation, HydrogensUseTheirSOrbitalOnly)
{
    // N = 24 reaches every atom, the sixteen hydrogens included.
    OrvaneIndicesCalculation indices(nullptr, fixture(QStringLiteral("eu_h2o8_allvec.out")), 24);
    ASSERT_TRUE(indices.calculateIndices()) << indices.getLastError().toStdString();
    ASSERT_EQ(indices.getAtomicCharge().size(), 26);
    for (const Reference& r : references) {
        SCOPED_TRACE(r.atom);
        EXPECT_NEAR(indices.getAtomicCharge(r.atom), r.charge, 2e-6);
        EXPECT_NEAR(indices.getSuperDeslocalizability(r.atom), r.superdelocalizability, 2e-7);
    }
    EXPECT_EQ(indices.getAtomicCharge(26), 0.0);
}

TEST(IndicesCalculation, OutputWithoutEigenvectorsAsksForAllvec)
{
    for (const char* file : {"eu_acetate3_h2o2.out", "water.out"}) {
        OrvaneIndicesCalculation indices(nullptr, fixture(QString::fromLatin1(file)), 2);
        indices.setLastError(QStringLiteral("earlier"));
        EXPECT_FALSE(indices.calculateIndices());
        EXPECT_EQ(indices.getLastError(), noEigenvectors);
        EXPECT_TRUE(indices.getAtomicCharge().isEmpty());
        EXPECT_EQ(indices.getMinimumSuperDeslocalizability(), 1.0);
    }
}

TEST(IndicesCalculation, MissingFile)
{
    OrvaneIndicesCalculation indices(nullptr, QStringLiteral("/nonexistent/eu.out"), 8);
    EXPECT_FALSE(indices.calculateIndices());
    EXPECT_EQ(indices.getLastError(), QStringLiteral("Cannot find the file /nonexistent/eu.out"));
}

TEST(IndicesCalculation, MissingCoefficientRowFailsNamingAtomAndOrbital)
{
    // Drop the Px row of atom 3 in the second block (orbitals 9 to 16).
    QStringList lines = fileLines(fixture(QStringLiteral("eu_h2o8_allvec.out")));
    int row = lineOf(lines, QStringLiteral("Root No."), 2);
    while (!lines.at(row).startsWith(QLatin1String("  Px  O    3 ")))
        ++row;
    lines.removeAt(row);
    QTemporaryDir dir;
    const QString path = writeLines(dir, QStringLiteral("missing.out"), lines);

    OrvaneIndicesCalculation indices(nullptr, path, 8);
    EXPECT_FALSE(indices.calculateIndices());
    EXPECT_TRUE(indices.getLastError().contains(
        QStringLiteral("no Px coefficient of atom 3 (O) in molecular orbital 9")))
        << indices.getLastError().toStdString();
    EXPECT_TRUE(indices.getSuperDeslocalizability().isEmpty());

    // Atom 2 alone is complete: the same file serves N = 1.
    OrvaneIndicesCalculation first(nullptr, path, 1);
    ASSERT_TRUE(first.calculateIndices()) << first.getLastError().toStdString();
    EXPECT_NEAR(first.getAtomicCharge(2), references[0].charge, 2e-6);
}

TEST(IndicesCalculation, MoreCoordinatingAtomsThanTheMoleculeHasFails)
{
    OrvaneIndicesCalculation indices(nullptr, fixture(QStringLiteral("eu_h2o8_allvec.out")), 25);
    EXPECT_FALSE(indices.calculateIndices());
    EXPECT_TRUE(indices.getLastError().contains(QStringLiteral("lists 25 atoms"))) << indices.getLastError().toStdString();
}

TEST(IndicesCalculation, FailedRecalculationLeavesTheVectors)
{
    const QStringList lines = fileLines(fixture(QStringLiteral("eu_h2o8_allvec.out")));
    QTemporaryDir dir;
    const QString path = writeLines(dir, QStringLiteral("eu.out"), lines);
    OrvaneIndicesCalculation indices(nullptr, path, 8);
    ASSERT_TRUE(indices.calculateIndices());
    const QVector<double> charges = indices.getAtomicCharge();
    const QVector<double> supers = indices.getSuperDeslocalizability();
    ASSERT_TRUE(indices.calculateIndices());
    EXPECT_EQ(indices.getSuperDeslocalizability(), supers);

    // The file is cut inside its eigenvectors between the two calls.
    writeLines(dir, QStringLiteral("eu.out"), lines.mid(0, lineOf(lines, QStringLiteral("Root No."), 4)));
    EXPECT_FALSE(indices.calculateIndices());
    EXPECT_EQ(indices.getAtomicCharge(), charges);
    EXPECT_EQ(indices.getSuperDeslocalizability(), supers);
}

// ---------------------------------------------------------------------------
// Truncated copies of the ALLVEC output, cut at each section.

namespace {

struct CutCase {
    const char* marker;
    int occurrence; // the keyword echo at the top names EIGENVECTORS and SUPERDELOCALIZABILITIES too
    int keptAfter;  // -1 cuts before the marker line
    const char* expectedStart;
};

class TruncatedAllvecOutput : public testing::TestWithParam<CutCase> {};

std::string cutName(const testing::TestParamInfo<CutCase>& info)
{
    return "Cut" + std::to_string(info.index);
}

} // namespace

TEST_P(TruncatedAllvecOutput, FailsWithTheSectionMessage)
{
    const CutCase& c = GetParam();
    const QStringList lines = fileLines(fixture(QStringLiteral("eu_h2o8_allvec.out")));
    const int at = lineOf(lines, QString::fromLatin1(c.marker), c.occurrence);
    ASSERT_GE(at, 0);
    QTemporaryDir dir;
    const QString path = writeLines(dir, QStringLiteral("cut.out"), lines.mid(0, at + 1 + c.keptAfter));
    OrvaneIndicesCalculation indices(nullptr, path, 8);
    EXPECT_FALSE(indices.calculateIndices());
    EXPECT_TRUE(indices.getLastError().startsWith(QString::fromLatin1(c.expectedStart)))
        << indices.getLastError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sections, TruncatedAllvecOutput,
    testing::Values(CutCase{"CARTESIAN COORDINATES ", 1, -1, "ORVANE could not read Mopac Output File"},
        CutCase{"CARTESIAN COORDINATES ", 1, 0, "ORVANE could not read Mopac Output File"},
        CutCase{"CARTESIAN COORDINATES ", 1, 10, "ORVANE could not read Mopac Output File"},
        CutCase{"RHF CALCULATION", 1, -1, "ORVANE could not read Mopac Output File"},
        CutCase{"EIGENVECTORS", 2, -1, "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nProbably"},
        CutCase{"EIGENVECTORS", 2, 2, "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nThe eigenvector"},
        CutCase{"Root No.", 1, 4, "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nThe eigenvector"},
        CutCase{"Root No.", 3, 20, "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nThe eigenvector"},
        CutCase{"SUPERDELOCALIZABILITIES", 2, -1,
            "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nThe eigenvector"}),
    cutName);
