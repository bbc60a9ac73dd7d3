// The group fit's evaluation sums each group's geometry terms once and then
// works on the groups: its Omega must equal the per-donor evaluation at the
// same charge factors and polarizabilities, whatever the grouping.

#include "omegagoldencases.h"
#include "orvaneomega.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace OmegaGoldenCases;

namespace {

struct Grouping {
    const char* name;
    std::function<int(int)> groupOf; // of donor d = 0..n-1
};

double relativeDifference(double a, double b)
{
    const double scale = std::max(std::abs(a), std::abs(b));
    return scale > 0.0 ? std::abs(a - b) / scale : 0.0;
}

} // namespace

TEST(OrvaneOmegaGroups, EqualThePerDonorEvaluationForEveryGrouping)
{
    const Grouping groupings[] = {
        {"one group", [](int) { return 0; }},
        {"alternating pair", [](int d) { return d % 2; }},
        {"three groups, the last donors apart", [](int d) { return d < 4 ? d % 3 : 2 - d % 3; }},
        {"each donor its own group", [](int d) { return d; }},
    };
    Lcg random(8128);
    for (int n : donorCounts) {
        const QVector<Coord> atoms = geometry(n, random);
        for (const Grouping& grouping : groupings) {
            SCOPED_TRACE(testing::Message() << n << " donors, " << grouping.name);
            std::vector<int> groupOfDonor;
            int groups = 0;
            for (int d = 0; d < n; ++d) {
                groupOfDonor.push_back(grouping.groupOf(d));
                groups = std::max(groups, groupOfDonor.back() + 1);
            }
            OrvaneOmega byGroup(nullptr, atoms);
            byGroup.setCoordNumber(n);
            ASSERT_TRUE(byGroup.setDonorGroups(groupOfDonor)) << qPrintable(byGroup.getLastError());

            OrvaneOmega byAtom(nullptr, atoms);
            std::array<double, 32> g {}, alpha {};
            double* gPointer = g.data();
            double* alphaPointer = alpha.data();
            byAtom.setCoordNumber(n);
            byAtom.setChargeFactorAndAlpha(gPointer, alphaPointer);

            for (int trial = 0; trial < trialsPerCase; ++trial) {
                std::vector<double> groupG(std::size_t(groups), 0.0), groupAlpha(std::size_t(groups), 0.0);
                for (int k = 0; k < groups; ++k) {
                    groupG[std::size_t(k)] = 0.05 + 1.5 * random.next();
                    groupAlpha[std::size_t(k)] = (0.5 + 4.0 * random.next()) * 1e-24;
                }
                for (int d = 0; d < n; ++d) {
                    g[std::size_t(d + 2)] = groupG[std::size_t(groupOfDonor[std::size_t(d)])];
                    alpha[std::size_t(d + 2)] = groupAlpha[std::size_t(groupOfDonor[std::size_t(d)])];
                }
                ASSERT_TRUE(byAtom.calcOmega()) << qPrintable(byAtom.getLastError());
                ASSERT_TRUE(byGroup.calcOmegaOfGroups(groupG.data(), groupAlpha.data()))
                    << qPrintable(byGroup.getLastError());
                for (int lambda : {2, 4, 6}) {
                    ASSERT_GT(byAtom.getOmega(lambda), 0.0);
                    EXPECT_LT(relativeDifference(byGroup.getOmega(lambda), byAtom.getOmega(lambda)), 1e-12)
                        << "Omega" << lambda << ": " << byGroup.getOmega(lambda) << " by group, "
                        << byAtom.getOmega(lambda) << " by atom";
                    EXPECT_EQ(byGroup.getOmegaED(lambda), 0.0) << "a fit asks for the totals only";
                    EXPECT_EQ(byGroup.getOmegaDC(lambda), 0.0);
                }
            }
        }
    }
}

TEST(OrvaneOmegaGroups, ChangingTheGroupingOrNRebuildsTheGroupSums)
{
    Lcg random(496);
    const QVector<Coord> atoms = geometry(8, random);
    OrvaneOmega byGroup(nullptr, atoms);
    OrvaneOmega byAtom(nullptr, atoms);
    std::array<double, 32> g {}, alpha {};
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    byAtom.setChargeFactorAndAlpha(gPointer, alphaPointer);
    const double groupG[] = {0.4, 1.1};
    const double groupAlpha[] = {1.0e-24, 3.5e-24};

    struct Step {
        int n;
        std::vector<int> groups;
    };
    const Step steps[] = {
        {8, {0, 0, 0, 0, 1, 1, 1, 1}},
        {8, {1, 0, 1, 0, 1, 0, 1, 0}},
        {5, {0, 1, 0, 1, 1}},
        {8, {0, 0, 0, 0, 1, 1, 1, 1}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "N " << step.n << ", first group " << step.groups.front());
        byGroup.setCoordNumber(step.n);
        ASSERT_TRUE(byGroup.setDonorGroups(step.groups));
        g.fill(0.0), alpha.fill(0.0);
        for (int d = 0; d < step.n; ++d) {
            g[std::size_t(d + 2)] = groupG[step.groups[std::size_t(d)]];
            alpha[std::size_t(d + 2)] = groupAlpha[step.groups[std::size_t(d)]];
        }
        byAtom.setCoordNumber(step.n);
        ASSERT_TRUE(byAtom.calcOmega());
        ASSERT_TRUE(byGroup.calcOmegaOfGroups(groupG, groupAlpha));
        for (int lambda : {2, 4, 6})
            EXPECT_LT(relativeDifference(byGroup.getOmega(lambda), byAtom.getOmega(lambda)), 1e-12)
                << "Omega" << lambda;
    }
}

TEST(OrvaneOmegaGroups, RefusalsLeaveZerosAndAReason)
{
    Lcg random(33550336);
    const QVector<Coord> atoms = geometry(3, random);
    const double groupG[] = {0.5, 0.9};
    const double groupAlpha[] = {1e-24, 2e-24};
    const char* notSet = "The groups of the 3 coordinating atoms are not set.";

    struct Case {
        const char* name;
        std::function<void(OrvaneOmega&)> change;
        bool withValues;
        const char* reason;
    };
    const Case cases[] = {
        {"a negative group is refused and leaves no grouping",
            [](OrvaneOmega& omega) {
                EXPECT_FALSE(omega.setDonorGroups({0, -1, 1}));
                EXPECT_EQ(omega.getLastError().toStdString(),
                    "Coordinating atom 3 is given group -1; the groups of 3 donors are numbered 0 to 2.");
            },
            true, notSet},
        {"a group past the donors is refused and leaves no grouping",
            [](OrvaneOmega& omega) {
                EXPECT_FALSE(omega.setDonorGroups({0, 1, 3}));
                EXPECT_EQ(omega.getLastError().toStdString(),
                    "Coordinating atom 4 is given group 3; the groups of 3 donors are numbered 0 to 2.");
            },
            true, notSet},
        {"a grouping of another N", [](OrvaneOmega& omega) { omega.setDonorGroups({0, 1}); }, true, notSet},
        {"no group values", [](OrvaneOmega&) {}, false, notSet},
        {"N past the atoms",
            [](OrvaneOmega& omega) {
                omega.setCoordNumber(4);
                omega.setDonorGroups({0, 0, 0, 0});
            },
            true, "The coordination number 4 needs atoms 2 to 5, but the geometry has only 4 atoms."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneOmega omega(nullptr, atoms);
        omega.setCoordNumber(3);
        ASSERT_TRUE(omega.setDonorGroups({0, 1, 1}));
        ASSERT_TRUE(omega.calcOmegaOfGroups(groupG, groupAlpha));
        ASSERT_GT(omega.getOmega(2), 0.0);
        c.change(omega);
        EXPECT_FALSE(c.withValues ? omega.calcOmegaOfGroups(groupG, groupAlpha)
                                  : omega.calcOmegaOfGroups(nullptr, nullptr));
        EXPECT_EQ(omega.getLastError().toStdString(), c.reason);
        for (int lambda : {2, 4, 6})
            EXPECT_EQ(omega.getOmega(lambda), 0.0) << "no stale figures after a refusal";
    }
}

TEST(OrvaneOmegaGroups, TheForceConstantRouteIsNotOfferedByGroup)
{
    const QString output = QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/eu_h2o4_force.out");
    OrvaneOmega omega(nullptr, 0, output, output);
    ASSERT_TRUE(omega.getLastError().isEmpty()) << qPrintable(omega.getLastError());
    omega.setCoordNumber(4);
    ASSERT_TRUE(omega.setDonorGroups({0, 0, 0, 0}));
    const double groupG[] = {0.5};
    const double groupAlpha[] = {1e-24};
    EXPECT_FALSE(omega.calcOmegaOfGroups(groupG, groupAlpha));
    EXPECT_TRUE(omega.getLastError().contains(QLatin1String("force-constant route")))
        << qPrintable(omega.getLastError());
}

TEST(OrvaneOmegaGroups, NoDonorGivesZeros)
{
    Lcg random(6);
    OrvaneOmega omega(nullptr, geometry(1, random));
    omega.setCoordNumber(0);
    ASSERT_TRUE(omega.setDonorGroups({}));
    EXPECT_TRUE(omega.calcOmegaOfGroups(nullptr, nullptr)) << qPrintable(omega.getLastError());
    for (int lambda : {2, 4, 6})
        EXPECT_EQ(omega.getOmega(lambda), 0.0);
}
