#include "levelstablesfolder.h"
#include "orvaneenergylevels.h"
#include "orvaneunitarymatrixelement.h"

#include <gtest/gtest.h>

#include <cmath>

using OrvaneSpectroscopicTermUtil::SpectroscopicTerm;
using U = OrvaneUnitaryMatrixElement;

namespace {

SpectroscopicTerm level(const char* term, double J)
{
    SpectroscopicTerm t = termOf(QString::fromLatin1(term));
    t.J = J;
    return t;
}

} // namespace

// <7F||U(k)||7F> by hand (tests/engine/levels/unit_reference.py): -(-1)^k in
// f^6, +1 in f^8, which the f^6 tables give through the hole factor -(-1)^k.
TEST(OrvaneUnitaryMatrixElement, TermElementsOfTheSevenFTerm)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels eu(nullptr, 6);
    OrvaneEnergyLevels tb(nullptr, 8);
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(U::unitaryMatrixElement(6, k, termOf("7F"), termOf("7F"), &eu), k % 2 ? 1.0 : -1.0, 1e-12);
        EXPECT_NEAR(U::unitaryMatrixElement(8, k, termOf("7F"), termOf("7F"), &tb), 1.0, 1e-12);
    }
    // U(k) leaves the spin alone.
    EXPECT_EQ(U::unitaryMatrixElement(6, 2, termOf("7F"), termOf("5D1"), &eu), 0.0);
    EXPECT_EQ(U::unitaryMatrixElementCouppling(6, 2, level("7F", 0), level("5D1", 2), &eu), 0.0);
    EXPECT_EQ(U::unitaryMatrixElement(6, 2, termOf("7F"), termOf("7F"), nullptr), 0.0);
}

// |<7F J||U(k)||7F J'>|^2 in pure LS coupling, from sympy's 6j symbols
// (tests/engine/levels/unit_reference.py).
TEST(OrvaneUnitaryMatrixElement, SevenFLevelsMatchThePureCouplingFormula)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels eu(nullptr, 6);
    const struct { int k, J, Jp; double squared; } cases[] = {
        {2, 0, 2, 0.14285714285714285}, {4, 0, 4, 0.14285714285714285}, {6, 0, 6, 0.14285714285714285},
        {2, 1, 3, 0.21428571428571427}, {2, 6, 6, 1.231060606060606},   {4, 2, 6, 0.046897546897546896},
        {4, 4, 4, 0.289973013998988},   {6, 3, 5, 0.3888888888888889},  {6, 6, 6, 0.031778827233372685},
        {2, 0, 1, 0.0},                 {6, 0, 5, 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.k) + " " + std::to_string(c.J) + " " + std::to_string(c.Jp));
        const double u = U::unitaryMatrixElementCouppling(6, c.k, level("7F", c.J), level("7F", c.Jp), &eu);
        EXPECT_NEAR(u * u, c.squared, 1e-12);
        const double back = U::unitaryMatrixElementCouppling(6, c.k, level("7F", c.Jp), level("7F", c.J), &eu);
        EXPECT_NEAR(back * back, c.squared, 1e-12);
    }
}

TEST(OrvaneUnitaryMatrixElement, MixedLevelsWeightTheirComponents)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels eu(nullptr, 6);
    MixedState a;
    a.label = QStringLiteral("7F0");
    a.components = {{QStringLiteral("7F0"), 1.0, 0}};
    MixedState b;
    b.label = QStringLiteral("7F2");
    b.components = {{QStringLiteral("7F2"), -1.0, 0}};
    MixedState c;
    c.label = QStringLiteral("5D(1)2");
    c.components = {{QStringLiteral("7F2"), 0.6, 0}, {QStringLiteral("5D(1)2"), 0.8, 0}};
    OrvaneEnergyLevelsProbe::setMixedStates(eu, {a, b, c});

    const double pure = U::unitaryMatrixElementCouppling(6, 2, level("7F", 0), level("7F", 2), &eu);
    EXPECT_NEAR(U::mixedUnitaryMatrixElementCouppling(6, 2, level("7F", 0), level("7F", 2), &eu), -pure, 1e-15);
    // The quintet component does not couple to 7F0.
    EXPECT_NEAR(U::mixedUnitaryMatrixElementCouppling(6, 2, level("7F", 0), level("5D1", 2), &eu), 0.6 * pure,
                1e-15);
    EXPECT_EQ(U::mixedUnitaryMatrixElementCouppling(6, 2, level("7F", 0), level("7F", 4), &eu), 0.0);
    EXPECT_EQ(U::mixedUnitaryMatrixElementCouppling(6, 2, level("7F", 0), level("7F", 2), nullptr), 0.0);
}

// <SLJ||S||SLJ> = sqrt(J(J+1)(2J+1)) (J(J+1) + S(S+1) - L(L+1)) / (2J(J+1)).
TEST(OrvaneUnitaryMatrixElement, SpinOperator)
{
    const struct { const char* term; double J, expected; } cases[] = {
        {"7F", 1, std::sqrt(6.0) / 2}, {"7F", 6, std::sqrt(546.0) * 42 / 84}, {"5D", 4, std::sqrt(180.0) * 20 / 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.term);
        EXPECT_NEAR(std::abs(U::matrixElementSpinOperator(level(c.term, c.J), level(c.term, c.J))), c.expected, 1e-12);
    }
    EXPECT_EQ(U::matrixElementSpinOperator(level("7F", 1), level("5D", 1)), 0.0);
    EXPECT_EQ(U::matrixElementSpinOperator(level("5D1", 1), level("5D2", 1)), 0.0);
    EXPECT_EQ(U::matrixElementSpinOperator(level("1I", 6), level("1I", 6)), 0.0);
}

// f^2 3H lies at F0 - 25 F2 - 51 F4 - 13 F6 in Condon-Shortley's F_k: f_k is
// the coefficient of F^k = D_k F_k, so it equals -25/225, -51/1089 and
// -13 * 25/184041 (it multiplies F^k, not F_k).
TEST(OrvaneUnitaryMatrixElement, AngularCoefficientMultipliesFk)
{
    LevelsTablesFolder folder;
    OrvaneEnergyLevels pr(nullptr, 2);
    EXPECT_NEAR(U::calc_fk(2, 2, termOf("3H"), &pr), -25.0 / 225, 1e-14);
    EXPECT_NEAR(U::calc_fk(2, 4, termOf("3H"), &pr), -51.0 / 1089, 1e-14);
    EXPECT_NEAR(U::calc_fk(2, 6, termOf("3H"), &pr), -13.0 * 25 / 184041, 1e-14);
    // 1S: E0 + 9 E1 = F0 + 60 F2 + 198 F4 + 1716 F6.
    EXPECT_NEAR(U::calc_fk(2, 2, termOf("1S"), &pr), 60.0 / 225, 1e-14);
    EXPECT_NEAR(U::calc_fk(2, 6, termOf("1S"), &pr), 1716.0 * 25 / 184041, 1e-14);
}
