// Stark sublevels of 7F0..7F6. The low-symmetry reference comes from
// ligandfield_reference.py, which builds B(k,q) and the crystal-field
// matrices itself (sympy's 3j and 6j symbols) and diagonalises them with
// numpy; the axial sublevels are worked by hand.

#include "orvaneenergylevels.h"
#include "orvanestarklevels.h"
#include "orvaneunitarymatrixelement.h"

#include "levelstablesfolder.h"
#include "ligandfieldfixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

using LigandField::Atom;

namespace {

struct UnitTensorRow {
    int k, J;
    double value;
};
const UnitTensorRow referenceUnitTensor[] = {ORVANE_LF_UNIT_TENSOR};

QVector<double> sorted(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

class ReferenceStark : public ::testing::Test
{
protected:
    ReferenceStark()
        : stark(LigandField::writeReferenceMop(dir), LigandField::referenceCoordNumber)
    {
        double* gp = g.data();
        stark.setChargeFactors(gp);
        stark.calculateStarkLevels();
    }

    QTemporaryDir dir;
    std::vector<double> g = LigandField::referenceChargeFactors();
    OrvaneStarkLevels stark;
};

} // namespace

TEST_F(ReferenceStark, SublevelsEqualTheIndependentDiagonalisation)
{
    for (const auto& row : LigandField::referenceStark) {
        const QVector<double> levels = sorted(stark.getStarkLevels(row.J));
        ASSERT_EQ(levels.size(), 2 * row.J + 1) << "J = " << row.J;
        for (int i = 0; i < levels.size(); ++i)
            EXPECT_NEAR(levels.at(i), row.levels[i], 1e-7 * std::max(1.0, std::abs(row.levels[i])))
                << "J = " << row.J << " sublevel " << i;
    }
}

TEST_F(ReferenceStark, EveryMatrixIsHermitianWithZeroTrace)
{
    for (int J = 0; J <= 6; ++J) {
        const Eigen::MatrixXcd m = stark.getEnergeticMatrix(J);
        ASSERT_EQ(m.rows(), 2 * J + 1);
        const double scale = std::max(1.0, m.cwiseAbs().maxCoeff());
        EXPECT_LT((m - m.adjoint()).cwiseAbs().maxCoeff(), 1e-10 * scale) << "J = " << J;
        EXPECT_LT(std::abs(m.trace()), 1e-10 * scale) << "J = " << J;
        const QVector<double> levels = stark.getStarkLevels(J);
        EXPECT_NEAR(std::accumulate(levels.begin(), levels.end(), 0.0), 0.0, 1e-9 * scale) << "J = " << J;
    }
    // 7F0 is a single zero.
    EXPECT_EQ(stark.getEnergeticMatrix(0)(0, 0), std::complex<double>(0.0, 0.0));
    EXPECT_EQ(stark.getStarkLevels(0), QVector<double> {0.0});
}

TEST_F(ReferenceStark, LowSymmetryLiftsEveryDegeneracyOf7F1And7F2)
{
    for (int J = 1; J <= 2; ++J) {
        const QVector<double> levels = sorted(stark.getStarkLevels(J));
        ASSERT_EQ(levels.size(), 2 * J + 1);
        for (int i = 1; i < levels.size(); ++i)
            EXPECT_GT(levels.at(i) - levels.at(i - 1), 1.0) << "J = " << J;
    }
}

TEST_F(ReferenceStark, OutOfRangeLevelsAreEmptyAndCopiesAreIndependent)
{
    EXPECT_TRUE(stark.getStarkLevels(7).isEmpty());
    EXPECT_TRUE(stark.getStarkLevels(-1).isEmpty());
    EXPECT_EQ(stark.getEnergeticMatrix(9).size(), 0);

    OrvaneStarkLevels copy(stark);
    copy.setRO0(0.05);
    copy.calculateStarkLevels();
    OrvaneStarkLevels assigned(QString(), 0);
    assigned = stark;
    stark.calculateStarkLevels();
    // ro scales every B(k,q) of one ligand alike, so only the copy changes.
    EXPECT_NE(sorted(copy.getStarkLevels(1)), sorted(stark.getStarkLevels(1)));
    EXPECT_EQ(sorted(assigned.getStarkLevels(1)), sorted(stark.getStarkLevels(1)));
    EXPECT_EQ(stark.getBkq().getRO0(), 0.0801);
    EXPECT_EQ(copy.getAtomLabel(4), QStringLiteral("Cl"));
}

TEST(OrvaneStarkLevels, AnAxialFieldGivesTheAnalyticSublevels)
{
    QTemporaryDir dir;
    const QString mop = LigandField::writeMop(dir, QStringLiteral("axial.mop"),
        {Atom {"Eu", 0.0, 0.0, 0.0}, Atom {"O", 0.0, 0.0, 2.35}, Atom {"O", 0.0, 0.0, -2.5}});
    std::vector<double> g {0.0, 0.8, 0.5};
    double* gp = g.data();
    OrvaneStarkLevels stark(mop, 2);
    stark.setChargeFactors(gp);
    stark.calculateStarkLevels();
    const double B20 = stark.getBkq().getBkq(2, 0).re;
    ASSERT_GT(std::abs(B20), 10.0);
    // 7F1: (3 2 3; 0 0 0) = 2/sqrt(105), (1 2 1; 0 0 0) = sqrt(30)/15,
    // (1 2 1; -+1 0 +-1) = sqrt(30)/30, U(2,1) = +sqrt(0.1541):
    // E(0) = 14 sqrt(30)/(15 sqrt(105)) U B20, E(+-1) = -E(0)/2.
    const double e0 = 14.0 * std::sqrt(30.0) / (15.0 * std::sqrt(105.0)) * std::sqrt(0.1541) * B20;
    const QVector<double> expected = sorted({e0, -e0 / 2, -e0 / 2});
    const QVector<double> levels = sorted(stark.getStarkLevels(1));
    ASSERT_EQ(levels.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(levels.at(i), expected.at(i), 1e-9 * std::abs(e0));
    // Every J: the matrix is diagonal and +M, -M are degenerate.
    for (int J = 1; J <= 6; ++J) {
        const Eigen::MatrixXcd m = stark.getEnergeticMatrix(J);
        const Eigen::MatrixXcd offDiagonal = m - Eigen::MatrixXcd(m.diagonal().asDiagonal());
        EXPECT_LT(offDiagonal.cwiseAbs().maxCoeff(), 1e-12 * std::abs(B20)) << "J = " << J;
        for (int M = 1; M <= J; ++M)
            EXPECT_NEAR(m(J + M, J + M).real(), m(J - M, J - M).real(), 1e-10 * std::abs(B20)) << J << " " << M;
    }
}

TEST(OrvaneStarkLevels, NoFieldGivesZeroLevels)
{
    struct Case {
        const char* name;
        const char* label;
        double g;
        bool setFactors;
    };
    const Case cases[] = {
        {"all charge factors 0", "O", 0.0, true},
        {"ligands without overlap", "S", 0.9, true},
        {"charge factors never set", "O", 0.9, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString mop = LigandField::writeMop(dir, QStringLiteral("none.mop"),
            {Atom {"Eu", 0.0, 0.0, 0.0}, Atom {c.label, 2.4, 0.3, 0.1}, Atom {c.label, -0.5, 2.2, 1.0},
                Atom {c.label, 0.2, -1.1, -2.3}});
        std::vector<double> g(4, c.g);
        double* gp = g.data();
        OrvaneStarkLevels stark(mop, 3);
        if (c.setFactors)
            stark.setChargeFactors(gp);
        stark.calculateStarkLevels();
        for (int J = 0; J <= 6; ++J) {
            const QVector<double> levels = stark.getStarkLevels(J);
            ASSERT_EQ(levels.size(), 2 * J + 1) << c.name;
            for (double level : levels)
                EXPECT_EQ(level, 0.0) << c.name << ", J = " << J;
        }
    }
}

TEST(OrvaneStarkLevels, ReducedElementsCarryTheirSigns)
{
    for (const auto& row : referenceUnitTensor)
        EXPECT_NEAR(OrvaneStarkLevels::U(row.k, row.J), row.value, 1e-15) << "k = " << row.k << ", J = " << row.J;
    EXPECT_EQ(OrvaneStarkLevels::U(2, 7), 0.0);
    EXPECT_EQ(OrvaneStarkLevels::U(3, 3), 0.0);
    EXPECT_EQ(OrvaneStarkLevels::U(2, -1), 0.0);
}

// The tabulated elements are those of the intermediate-coupling 7F_J levels
// of Eu(III): the unit-tensor elements of the free-ion levels computed from
// the term tables must agree in sign and, within 1 %, in magnitude.
TEST(OrvaneStarkLevels, ReducedElementsAgreeWithTheFreeIonLevels)
{
    LevelsTablesFolder tables;
    OrvaneEnergyLevels eu(nullptr, 6);
    ASSERT_TRUE(eu.getLastError().isEmpty()) << eu.getLastError().toStdString();
    eu.setSlaterIntegral(0.0, 371.0, 54.8, 5.75);
    eu.setZetaParameters(1334.0);
    eu.calcEnergyLevels(-1);
    for (int J = 1; J <= 6; ++J) {
        const OrvaneSpectroscopicTermUtil::SpectroscopicTerm level {3.0, 3, 0, double(J)};
        for (int k = 2; k <= std::min(6, 2 * J); k += 2) {
            const double computed = OrvaneUnitaryMatrixElement::mixedUnitaryMatrixElementCouppling(6, k, level, level, &eu);
            const double table = OrvaneStarkLevels::U(k, J);
            EXPECT_NEAR(computed, table, 0.01 * std::abs(table)) << "k = " << k << ", J = " << J;
        }
    }
}
