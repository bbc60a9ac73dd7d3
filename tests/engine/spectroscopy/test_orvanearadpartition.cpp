#include "omegareference.h"
#include "orvanearadpartition.h"
#include "orvaneinputdata.h"
#include "orvaneomega.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace OmegaReference;

namespace {

constexpr int lambdas[] = {2, 4, 6};
// A_lambda at n = 1.5 in s^-1 per cm^2 (omega_reference.py, item 2).
constexpr double radiativeConstant[7] = {0, 0, 3.0002908849e21, 0, 1.5178344777e21, 0, 8.277786234e19};

double relativeDifference(double a, double b)
{
    const double scale = std::max(std::abs(a), std::abs(b));
    return scale == 0.0 ? 0.0 : std::abs(a - b) / scale;
}

// The molecule with spherical coordinates, g and alpha, and a partition on it.
struct Partition {
    std::array<double, 32> g {};
    std::array<double, 32> alpha {};
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    std::unique_ptr<OrvaneInputData> data;
    OrvaneInputData* dataPointer = nullptr;
    std::unique_ptr<OrvaneAradPartition> partition;

    Partition(const Geometry& geometry, int coordNumber, double refractiveIndex = 1.5)
        : g(geometry.chargeFactors())
        , alpha(geometry.polarizabilities())
        , data(new OrvaneInputData(nullptr, QString()))
    {
        data->coord = geometry.atoms(trailingAtoms());
        data->atomsNumber = data->coord.size();
        data->createSphericalCoordinate();
        dataPointer = data.get();
        partition.reset(new OrvaneAradPartition(nullptr, dataPointer, coordNumber, refractiveIndex));
        partition->setChargeFactorAndAlpha(gPointer, alphaPointer);
    }

    explicit Partition(const Geometry& geometry)
        : Partition(geometry, geometry.donors.size())
    {
    }

    // The atom-pair matrix as the report builds it.
    Eigen::MatrixXd pairMatrix() const
    {
        const int n = partition->getCoordNumber();
        Eigen::MatrixXd m(n, n);
        for (int i = 2; i <= n + 1; ++i)
            for (int j = 2; j <= n + 1; ++j)
                m(i - 2, j - 2) = partition->aradByAtom(i, j);
        return m;
    }
};

Geometry oneOxygenOnZ()
{
    Geometry geometry;
    geometry.eu = atom("Eu", 0, 0, 0);
    geometry.donors = {Donor {QStringLiteral("O"), 0, 0, 2.4, 1.0, 2e-24}};
    return geometry;
}

} // namespace

TEST(OrvaneAradPartitionModel, RadiativeConstantsPerUnitOmega)
{
    // With one donor the single pair term is Omega_lambda itself, so the rate
    // over the independently computed pair term is A_lambda.
    const Geometry geometry = oneOxygenOnZ();
    // chi = n (n^2+2)^2 / 9 is 1 at n = 1 and 1.5 x 4.25^2 / 9 at n = 1.5.
    const double chiRatio = 1.5 * 4.25 * 4.25 / 9.0;
    for (double n : {1.5, 1.0}) {
        SCOPED_TRACE(testing::Message() << "n " << n);
        Partition p(geometry, 1, n);
        for (int lambda : lambdas) {
            const double expected = radiativeConstant[lambda] * (n == 1.0 ? 1.0 / chiRatio : 1.0);
            EXPECT_LE(relativeDifference(p.partition->aradLambdaByAtom(lambda, 2, 2) / geometry.pairTerm(lambda, 0, 0),
                          expected),
                1e-10)
                << "lambda " << lambda;
        }
    }
    // Omega_2 = 1e-20 cm^2 alone gives about 30 s^-1.
    EXPECT_NEAR(radiativeConstant[2] * 1e-20, 30.0, 0.01);
}

TEST(OrvaneAradPartitionModel, PairTermsFollowTheAdditionTheorem)
{
    const Geometry geometry = asymmetricComplex();
    Partition p(geometry);
    ASSERT_TRUE(p.partition->getLastError().isEmpty()) << qPrintable(p.partition->getLastError());
    for (int lambda : lambdas) {
        double scale = 0.0;
        for (int d = 0; d < geometry.donors.size(); ++d)
            scale = std::max(scale, std::abs(radiativeConstant[lambda] * geometry.pairTerm(lambda, d, d)));
        for (int i = 2; i <= 10; ++i) {
            for (int j = 2; j <= 10; ++j) {
                const double expected = radiativeConstant[lambda] * geometry.pairTerm(lambda, i - 2, j - 2);
                EXPECT_NEAR(p.partition->aradLambdaByAtom(lambda, i, j), expected, 1e-10 * scale)
                    << "lambda " << lambda << " atoms " << i << ", " << j;
                EXPECT_EQ(p.partition->aradLambdaByAtom(lambda, i, j), p.partition->aradLambdaByAtom(lambda, j, i));
            }
        }
    }
}

TEST(OrvaneAradPartitionModel, AtomSharesAddUpToTheRateOfTheIntensityParameters)
{
    const Geometry geometry = asymmetricComplex();
    Partition p(geometry);
    const Eigen::MatrixXd m = p.pairMatrix();
    const Eigen::MatrixXd shares = p.partition->calculatePartition(m);
    ASSERT_EQ(shares.rows(), 1);
    ASSERT_EQ(shares.cols(), 9);

    OrvaneOmega omega(nullptr, geometry.atoms(trailingAtoms()));
    omega.setCoordNumber(9);
    omega.setChargeFactorAndAlpha(p.gPointer, p.alphaPointer);
    ASSERT_TRUE(omega.calcOmega());
    double rate = 0.0;
    for (int lambda : lambdas)
        rate += radiativeConstant[lambda] * omega.getOmega(lambda);

    EXPECT_LE(relativeDifference(m.sum(), rate), 1e-10);
    EXPECT_LE(relativeDifference(shares.sum(), m.sum()), 1e-12);
    for (int i = 2; i <= 10; ++i)
        EXPECT_LE(relativeDifference(p.partition->getSumByAtom(i), m.row(i - 2).sum()), 1e-12) << "atom " << i;
}

TEST(OrvaneAradPartitionShares, KnownMatrices)
{
    // A symmetric matrix with a repeated eigenvalue and no zero entries,
    // V diag(2, 2, 5, -1, 0.5) V^T with V orthonormal.
    Eigen::MatrixXd seed(5, 5);
    seed << 1, 2, 0, 1, 3, 0, 1, 4, 2, 1, 2, 0, 1, 3, 1, 1, 1, 2, 0, 4, 3, 2, 1, 1, 0;
    const Eigen::MatrixXd v = Eigen::HouseholderQR<Eigen::MatrixXd>(seed).householderQ();
    Eigen::VectorXd values(5);
    values << 2, 2, 5, -1, 0.5;
    const Eigen::MatrixXd degenerate = v * values.asDiagonal() * v.transpose();

    Eigen::MatrixXd one(1, 1);
    one << 7.25;
    Eigen::MatrixXd diagonal = Eigen::MatrixXd::Zero(4, 4);
    diagonal.diagonal() << 2, 5, 2, 2;
    Eigen::MatrixXd coupled(3, 3);
    coupled << 2, 1, 1, 1, 2, 1, 1, 1, 2;
    Eigen::RowVectorXd oneShare(1), diagonalShares(4), coupledShares(3);
    oneShare << 7.25;
    diagonalShares << 2, 5, 2, 2;
    // Only the eigenvector (1,1,1)/sqrt(3), eigenvalue 4, has a non-zero sum.
    coupledShares << 4, 4, 4;

    const struct {
        const char* name;
        Eigen::MatrixXd m;
        Eigen::RowVectorXd shares; // empty: only the total is known
    } cases[] = {
        {"one atom", one, oneShare},
        {"diagonal with a repeated value", diagonal, diagonalShares},
        {"equal couplings", coupled, coupledShares},
        {"repeated eigenvalue", degenerate, Eigen::RowVectorXd()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Partition p(asymmetricComplex());
        const Eigen::MatrixXd shares = p.partition->calculatePartition(c.m);
        ASSERT_EQ(shares.rows(), 1);
        ASSERT_EQ(shares.cols(), c.m.rows());
        EXPECT_NEAR(shares.sum(), c.m.sum(), 1e-12 * c.m.cwiseAbs().sum());
        for (Eigen::Index a = 0; a < c.shares.size(); ++a)
            EXPECT_NEAR(shares(0, a), c.shares(a), 1e-12) << "atom row " << a;
        EXPECT_TRUE(p.partition->getLastError().isEmpty());
    }
}

TEST(OrvaneAradPartitionShares, UnusableMatrices)
{
    Partition p(asymmetricComplex());
    const Eigen::MatrixXd empty = p.partition->calculatePartition(Eigen::MatrixXd(0, 0));
    EXPECT_EQ(empty.rows(), 1);
    EXPECT_EQ(empty.cols(), 0);
    EXPECT_TRUE(p.partition->getLastError().isEmpty());

    const Eigen::MatrixXd shares = p.partition->calculatePartition(Eigen::MatrixXd::Ones(3, 2));
    EXPECT_EQ(shares.cols(), 3);
    EXPECT_EQ(shares.sum(), 0.0);
    EXPECT_EQ(p.partition->getLastError(), QStringLiteral("The atom-pair matrix is 3 x 2; it must be square."));
}

TEST(OrvaneAradPartitionLigands, LinesAreReadUntilAnEmptyLine)
{
    const struct {
        const char* name;
        QStringList lines;
        bool accepted;
        QStringList names;
        QVector<QVector<int>> atoms;
        const char* error;
    } cases[] = {
        {"empty line ends the list", {"L1 2 3", "", "L2 4"}, true, {"L1"}, {{2, 3}}, ""},
        {"blanks and tabs", {"  Water\t5  6 ", "acac 2 3 4", "N3 7 8 9 10"}, true, {"Water", "acac", "N3"},
            {{5, 6}, {2, 3, 4}, {7, 8, 9, 10}}, ""},
        {"first line empty", {"", "L1 2"}, true, {}, {}, ""},
        {"no lines", {}, false, {}, {}, ""},
        {"text in place of an atom", {"L1 2", "Water 5 x 6"}, false, {}, {},
            "The ligand line \"Water 5 x 6\" names atom \"x\", which is not one of the coordinating atoms 2 to 10."},
        {"the Eu ion", {"L1 1 2"}, false, {}, {}, "names atom \"1\""},
        {"past the donors", {"L1 2 11"}, false, {}, {}, "names atom \"11\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Partition p(asymmetricComplex());
        EXPECT_EQ(p.partition->setLigandsVector(c.lines), c.accepted);
        EXPECT_TRUE(p.partition->getLastError().contains(QString::fromLatin1(c.error)))
            << qPrintable(p.partition->getLastError());
        ASSERT_EQ(p.partition->getLigandsNumber(), c.names.size());
        for (int l = 0; l < c.names.size(); ++l) {
            EXPECT_EQ(p.partition->getLigandsName(l), c.names.at(l));
            EXPECT_EQ(p.partition->getLigandAtoms(l), c.atoms.at(l));
        }
    }
}

TEST(OrvaneAradPartitionLigands, LookupsAndSecondCalls)
{
    Partition p(asymmetricComplex());
    ASSERT_TRUE(p.partition->setLigandsVector(QStringList {"A 2 3", "B 3 4"}));
    ASSERT_TRUE(p.partition->setLigandsVector(QStringList {"C 5"}));
    EXPECT_EQ(p.partition->getLigandsNumber(), 3); // a second call adds
    EXPECT_EQ(p.partition->getLigand(3).name, QStringLiteral("A")); // the first that lists it
    EXPECT_EQ(p.partition->getLigand(5).name, QStringLiteral("C"));
    EXPECT_TRUE(p.partition->getLigand(9).name.isEmpty());
    EXPECT_TRUE(p.partition->getLigand(9).atoms.isEmpty());
    // A rejected call keeps what was there.
    EXPECT_FALSE(p.partition->setLigandsVector(QStringList {"D 6", "E 40"}));
    EXPECT_EQ(p.partition->getLigandsNumber(), 3);
    // Indices outside the list.
    EXPECT_TRUE(p.partition->getLigandsName(3).isEmpty());
    EXPECT_TRUE(p.partition->getLigandAtoms(-1).isEmpty());
    EXPECT_EQ(p.partition->aradByLigand(0, 3), 0.0);
    EXPECT_EQ(p.partition->getSumByLigand(7), 0.0);
}

TEST(OrvaneAradPartitionLigands, LigandSumsAreSumsOverTheirAtoms)
{
    Partition p(asymmetricComplex());
    ASSERT_TRUE(p.partition->setLigandsVector(QStringList {"L1 2 3 4", "L2 5 6", "L3 7 8 9 10"}));
    const QVector<QVector<int>> groups = {{2, 3, 4}, {5, 6}, {7, 8, 9, 10}};
    const Eigen::MatrixXd m = p.pairMatrix();
    double total = 0.0;
    for (int l1 = 0; l1 < 3; ++l1) {
        for (int l2 = 0; l2 < 3; ++l2) {
            double expected = 0.0;
            for (int a : groups.at(l1))
                for (int b : groups.at(l2))
                    expected += m(a - 2, b - 2);
            EXPECT_LE(relativeDifference(p.partition->aradByLigand(l1, l2), expected), 1e-12)
                << "ligands " << l1 << ", " << l2;
        }
        total += p.partition->getSumByLigand(l1);
    }
    EXPECT_LE(relativeDifference(total, m.sum()), 1e-12);
}

TEST(OrvaneAradPartitionLigands, LigandFileBesideTheInput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        QFile file(dir.filePath(QStringLiteral("complex.ligands")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("bipy 2 3\r\nWater 4\r\n\r\nignored 5\r\n");
    }
    {
        QFile file(dir.filePath(QStringLiteral("bad.ligands")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Water 5 x 6\n");
    }
    {
        Partition p(asymmetricComplex());
        EXPECT_TRUE(p.partition->setLigandsVector(dir.filePath(QStringLiteral("complex.omega"))));
        ASSERT_EQ(p.partition->getLigandsNumber(), 2);
        EXPECT_EQ(p.partition->getLigandsName(0), QStringLiteral("bipy"));
        EXPECT_EQ(p.partition->getLigandAtoms(1), QVector<int>({4}));
    }
    {
        Partition p(asymmetricComplex());
        EXPECT_FALSE(p.partition->setLigandsVector(dir.filePath(QStringLiteral("bad.out"))));
        EXPECT_EQ(p.partition->getLigandsNumber(), 0);
        EXPECT_TRUE(p.partition->getLastError().contains(QStringLiteral("names atom \"x\"")));
    }
    {
        Partition p(asymmetricComplex());
        const QString missing = dir.filePath(QStringLiteral("none.ligands"));
        EXPECT_FALSE(p.partition->setLigandsVector(dir.filePath(QStringLiteral("none.omega"))));
        EXPECT_EQ(p.partition->getLastError(), QStringLiteral("The file ") + missing + QStringLiteral("could not be opened."));
    }
}

TEST(OrvaneAradPartitionInputs, UnusableCoordinationNumbersLeaveNoAtoms)
{
    const struct {
        const char* name;
        int coordNumber;
        const char* error;
    } cases[] = {
        {"above 28", 29, "The coordination number 29 is outside the range 0 to 28."},
        {"negative", -2, "The coordination number -2 is outside the range 0 to 28."},
        {"past the atoms", 12, "The coordination number 12 needs atoms 2 to 13, but the geometry has only 12 atoms."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Partition p(asymmetricComplex(), c.coordNumber);
        EXPECT_EQ(p.partition->getLastError(), QString::fromLatin1(c.error));
        EXPECT_EQ(p.partition->getCoordNumber(), 0);
        EXPECT_EQ(p.partition->aradByAtom(2, 2), 0.0);
        EXPECT_EQ(p.partition->getSumByAtom(2), 0.0);
        EXPECT_FALSE(p.partition->setLigandsVector(QStringList {"L1 2"}));
    }
}

TEST(OrvaneAradPartitionInputs, AtomsOutsideTheDonorsAndMissingArraysGiveZero)
{
    Partition p(asymmetricComplex());
    EXPECT_EQ(p.partition->aradByAtom(1, 2), 0.0);
    EXPECT_EQ(p.partition->aradByAtom(2, 11), 0.0);
    EXPECT_EQ(p.partition->aradLambdaByAtom(3, 2, 2), 0.0);
    EXPECT_NE(p.partition->aradByAtom(2, 3), 0.0);

    double* none = nullptr;
    p.partition->setChargeFactorAndAlpha(none, none);
    EXPECT_EQ(p.partition->aradByAtom(2, 3), 0.0);
}
