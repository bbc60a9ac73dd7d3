// The fit of one charge factor and one polarizability per group of donors:
// the group mapping and its validation, the bounds, the weights of
// "pesos.txt", the response, the failure paths through the annealing
// driver, and a fit on a real MOPAC output that recovers Omega_2 and
// Omega_4 generated from known g and alpha.

#include "allocationcounter.h"
#include "fittesthelpers.h"
#include "orvanefitbounds.h"
#include "orvanegsa.h"
#include "orvaneparametric.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace FitTest;

namespace {

// [Eu(H2O)5(NH3)3]3+, AM1 Sparkle: donors O O N N O O N O (atoms 2 to 9).
const QString complexO5N3 = omegaFixture("eu_o5n3.out");

QMap<int, QStringList> groupsOf(std::initializer_list<std::pair<int, QStringList>> entries)
{
    QMap<int, QStringList> groups;
    for (const auto& e : entries)
        groups.insert(e.first, e.second);
    return groups;
}

// O donors in group 0, N donors in group 1.
QMap<int, QStringList> oxygenAndNitrogenGroups()
{
    return groupsOf({{0, {"O 2", "O 3", "O 6", "O 7", "O 9"}}, {1, {"N 4", "N 5", "N 8"}}});
}

bool evaluate(OrvaneParametric& model, std::vector<double> x)
{
    double* pointer = x.data();
    return model.runParametrization(int(x.size()), pointer);
}

} // namespace

TEST(OrvaneParametricGroups, GroupsGiveEachDonorItsGAndAlpha)
{
    WorkingFolder folder;
    const QMap<int, QStringList> orders[] = {
        groupsOf({{0, {"O 2", "O 3"}}, {1, {"N 4"}}}),
        groupsOf({{0, {"O 3", " O   2 "}}, {1, {"N 4"}}}),
    };
    for (const QMap<int, QStringList>& groups : orders) {
        OrvaneParametric model(nullptr, complexO5N3, 0);
        ASSERT_TRUE(model.getLastError().isEmpty()) << model.getLastError().toStdString();
        ASSERT_TRUE(model.setGroupsAndAtoms(groups));
        model.setCoordNumber(3);
        ASSERT_TRUE(evaluate(model, {0.5, 1.0, 3.0, 2.0}));
        const double g[] = {0.5, 0.5, 1.0};
        const double alpha[] = {3e-24, 3e-24, 2e-24};
        for (int atom = 2; atom <= 4; ++atom) {
            EXPECT_EQ(model.getChargeFactor(atom), g[atom - 2]) << "atom " << atom;
            EXPECT_DOUBLE_EQ(model.getAlpha(atom), alpha[atom - 2]) << "atom " << atom;
        }
        EXPECT_EQ(model.getDonorLabel(0), QStringLiteral(" "));
        EXPECT_EQ(model.getDonorLabel(1), QStringLiteral("O"));
        EXPECT_EQ(model.getDonorLabel(2), QStringLiteral("O"));
        EXPECT_EQ(model.getDonorLabel(3), QStringLiteral("N"));
    }
}

TEST(OrvaneParametricGroups, ResponseIsTheWeightedSquaredErrorOfOmega2AndOmega4)
{
    WorkingFolder folder;
    OrvaneParametric model(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model.setGroupsAndAtoms(oxygenAndNitrogenGroups()));
    model.setCoordNumber(8);
    model.setOmegaExp(5.0e-20, 1.0e-20);

    std::array<double, 30> g {}, alpha {};
    for (int atom : {2, 3, 6, 7, 9})
        g[atom] = 0.7, alpha[atom] = 1.2e-24;
    for (int atom : {4, 5, 8})
        g[atom] = 1.1, alpha[atom] = 2.5e-24;
    const OmegaValues omega = omegaOf(complexO5N3, 0, 8, g, alpha);
    ASSERT_GT(omega.omega2, 0.0);

    ASSERT_TRUE(evaluate(model, {0.7, 1.1, 1.2, 2.5}));
    const double d2 = (5.0e-20 - omega.omega2) * 1e20;
    const double d4 = (1.0e-20 - omega.omega4) * 1e20;
    EXPECT_NEAR(model.getResponseFunction(), d2 * d2 + d4 * d4, 1e-12 * (d2 * d2 + d4 * d4));
    EXPECT_EQ(model.getBestResponse(), model.getResponseFunction());
    EXPECT_EQ(model.getBestG(4), 1.1);
    EXPECT_DOUBLE_EQ(model.getBestAlpha(9), 1.2e-24);
}

TEST(OrvaneParametricGroups, MalformedGroupsAreRefusedWhenSet)
{
    struct Case {
        const char* what;
        QMap<int, QStringList> groups;
        const char* mentions;
    };
    const Case cases[] = {
        {"no group", {}, "No group"},
        {"keys from 1", groupsOf({{1, {"O 2"}}}), "numbered 0 to 0"},
        {"a gap", groupsOf({{0, {"O 2"}}, {2, {"O 3"}}}), "numbered 0 to 1"},
        {"no atom number", groupsOf({{0, {"O"}}}), "not an element label followed by an atom number"},
        {"a word for a number", groupsOf({{0, {"O two"}}}), "not an element label followed by an atom number"},
        {"the Eu ion", groupsOf({{0, {"Eu 1"}}}), "Atom 1 of group 0 cannot be a coordinating atom"},
        {"past the arrays", groupsOf({{0, {"O 30"}}}), "Atom 30 of group 0 cannot be a coordinating atom"},
        {"two groups", groupsOf({{0, {"O 2"}}, {1, {"O 3", "O 2"}}}), "Atom 2 stands in more than one group"},
    };
    WorkingFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrvaneParametric model(nullptr, complexO5N3, 0);
        EXPECT_FALSE(model.setGroupsAndAtoms(c.groups));
        EXPECT_TRUE(model.getLastError().contains(QLatin1String(c.mentions))) << model.getLastError().toStdString();
        model.setCoordNumber(1);
        EXPECT_FALSE(evaluate(model, {0.5, 2.0}));
        EXPECT_TRUE(model.getLastError().contains(QLatin1String(c.mentions)));
        EXPECT_EQ(model.getResponseFunction(), OrvaneParametric::penaltyResponse);
    }
}

TEST(OrvaneParametricGroups, GroupsNotMatchingTheDonorsFailTheEvaluation)
{
    struct Case {
        const char* what;
        QMap<int, QStringList> groups;
        int coordNumber;
        std::vector<double> x;
        const char* mentions;
    };
    const Case cases[] = {
        {"atom past N + 1", groupsOf({{0, {"O 2", "O 3", "N 5"}}}), 2, {0.5, 2.0},
            "Atom 5 of group 0 is not a coordinating atom"},
        {"donor in no group", groupsOf({{0, {"O 2", "O 3"}}}), 3, {0.5, 2.0}, "Coordinating atom 4 belongs to no group"},
        {"N of 0", groupsOf({{0, {"O 2"}}}), 0, {0.5, 2.0}, "between 1 and 28, not 0"},
        {"N of 29", groupsOf({{0, {"O 2"}}}), 29, {0.5, 2.0}, "between 1 and 28, not 29"},
        {"parameter count", groupsOf({{0, {"O 2"}}}), 1, {0.5, 2.0, 1.0}, "needs 2 parameters, not 3"},
    };
    WorkingFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrvaneParametric model(nullptr, complexO5N3, 0);
        ASSERT_TRUE(model.setGroupsAndAtoms(c.groups));
        model.coordNumber = c.coordNumber;
        EXPECT_FALSE(evaluate(model, c.x));
        EXPECT_TRUE(model.getLastError().contains(QLatin1String(c.mentions))) << model.getLastError().toStdString();
        EXPECT_EQ(model.getResponseFunction(), OrvaneParametric::penaltyResponse);
    }
}

// Points on and just past every bound. Polarizabilities in units of 1e-24 cm^3.
TEST(OrvaneFitBounds, PointsOnAndJustPastEachBound)
{
    struct Case {
        const char* label;
        double gLower, gUpper; // group fit
        double qdcUpper;       // QDC fit; its lower bound is always 0.01
    };
    const Case cases[] = {
        {"O", 0.01, 2.0, 2.0}, {"S", 0.01, 2.0, 2.0}, {"F", 0.001, 1.0, 1.0}, {"Cl", 0.001, 1.0, 1.0},
        {"Br", 0.001, 1.0, 3.0}, {"I", 0.001, 1.0, 3.0}, {"N", 0.01, 3.0, 3.0}, {"P", 0.01, 3.0, 3.0},
        // Elements without bounds of their own, as the first donor: the widest range.
        {"C", 0.001, 3.0, 3.0}, {"Se", 0.001, 3.0, 3.0},
    };
    const double past = 1e-9;
    const double alphaMid = 1.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const QString label = QLatin1String(c.label);
        const OrvaneFitBounds::Bounds group = OrvaneFitBounds::groupFit(label);
        const OrvaneFitBounds::Bounds qdc = OrvaneFitBounds::qdcFit(label);
        struct Point {
            const OrvaneFitBounds::Bounds& bounds;
            double g, alpha;
            bool inside;
        };
        const Point points[] = {
            {group, c.gLower, alphaMid, true}, {group, c.gLower - past, alphaMid, false},
            {group, c.gUpper, alphaMid, true}, {group, c.gUpper + past, alphaMid, false},
            {group, 1e-3 * 0.5, alphaMid, false},
            {group, 0.5, 0.005, true}, {group, 0.5, 0.005 - past, false},
            {group, 0.5, 6.5, true}, {group, 0.5, 6.5 + past, false},
            {qdc, 0.01, alphaMid, true}, {qdc, 0.01 - past, alphaMid, false},
            {qdc, c.qdcUpper, alphaMid, true}, {qdc, c.qdcUpper + past, alphaMid, false},
            {qdc, 0.5, 0.005, true}, {qdc, 0.5, 0.005 - past, false},
            {qdc, 0.5, 15.0, true}, {qdc, 0.5, 15.0 + past, false},
            {group, std::nan(""), alphaMid, false}, {qdc, 0.5, std::nan(""), false},
        };
        for (const Point& p : points)
            EXPECT_EQ(OrvaneFitBounds::within(p.bounds, p.g, p.alpha), p.inside)
                << (&p.bounds == &group ? "group" : "qdc") << " g " << p.g << " alpha " << p.alpha;
    }
    // After another donor they keep that donor's bounds.
    const OrvaneFitBounds::Bounds fluorine = OrvaneFitBounds::groupFit(QStringLiteral("F"));
    const OrvaneFitBounds::Bounds afterFluorine = OrvaneFitBounds::groupFit(QStringLiteral("C"), &fluorine);
    EXPECT_TRUE(OrvaneFitBounds::within(afterFluorine, 1.0, 1.0));
    EXPECT_FALSE(OrvaneFitBounds::within(afterFluorine, 1.0 + past, 1.0));
    const OrvaneFitBounds::Bounds oxygen = OrvaneFitBounds::qdcFit(QStringLiteral("O"));
    const OrvaneFitBounds::Bounds afterOxygen = OrvaneFitBounds::qdcFit(QStringLiteral("Br"), &oxygen);
    EXPECT_TRUE(OrvaneFitBounds::within(afterOxygen, 2.0, 15.0));
    EXPECT_FALSE(OrvaneFitBounds::within(afterOxygen, 2.0 + past, 1.0));

    // An F donor with g = 0.001 passes the group fit and fails QDC.
    EXPECT_TRUE(OrvaneFitBounds::within(OrvaneFitBounds::groupFit(QStringLiteral("F")), 0.001, 1.0));
    EXPECT_FALSE(OrvaneFitBounds::within(OrvaneFitBounds::qdcFit(QStringLiteral("F")), 0.001, 1.0));
}

TEST(OrvaneParametricGroups, PointsOutsideTheBoundsGetThePenalty)
{
    WorkingFolder folder;
    OrvaneParametric model(nullptr, complexO5N3, 0); // atoms 2 and 3 are O
    ASSERT_TRUE(model.setGroupsAndAtoms(groupsOf({{0, {"O 2", "O 3"}}})));
    model.setCoordNumber(2);
    model.setOmegaExp(1e-20, 1e-20);
    struct Case {
        double g, alpha;
        bool inside;
    };
    const Case cases[] = {
        {2.0, 1.0, true}, {2.0001, 1.0, false}, {0.01, 1.0, true}, {0.0099, 1.0, false},
        // Typed as 0.005 (1e-24 cm^3), the lower bound itself.
        {0.5, 0.005, true}, {0.5, 0.0049, false}, {0.5, 6.5, true}, {0.5, 6.5001, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "g " << c.g << " alpha " << c.alpha);
        EXPECT_TRUE(evaluate(model, {c.g, c.alpha})) << "points outside the bounds are no failure";
        if (c.inside)
            EXPECT_LT(model.getResponseFunction(), 1e10);
        else
            EXPECT_EQ(model.getResponseFunction(), OrvaneParametric::penaltyResponse);
    }
}

TEST(OrvaneParametricGroups, DonorOfAnotherElementTakesTheBoundsOfTheDonorBefore)
{
    // Eu with an O and a C donor, in both orders (MOPAC input, Cartesian).
    WorkingFolder folder;
    const QByteArray header = "AM1 SPARKLE CHARGE=3 1SCF\nEu with an O and a C donor\n\n"
                              "Eu     0.000000 1     0.000000 1     0.000000 1\n";
    const QByteArray first = "O      2.400000 1     0.000000 1     0.000000 1\n";
    const QByteArray second = "C      0.000000 1     0.300000 1     2.650000 1\n";
    folder.write(QStringLiteral("oc.mop"), header + first + second);
    folder.write(QStringLiteral("co.mop"), header + second + first);
    struct Case {
        const char* file;
        QMap<int, QStringList> groups;
        bool carbonMayHave2point5;
    };
    const Case cases[] = {
        {"oc.mop", groupsOf({{0, {"O 2"}}, {1, {"C 3"}}}), false}, // C after O: g at most 2
        {"co.mop", groupsOf({{0, {"O 3"}}, {1, {"C 2"}}}), true},  // C first: g up to 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        OrvaneParametric model(nullptr, folder.path(QLatin1String(c.file)), 1);
        ASSERT_TRUE(model.getLastError().isEmpty()) << model.getLastError().toStdString();
        ASSERT_TRUE(model.setGroupsAndAtoms(c.groups));
        model.setCoordNumber(2);
        ASSERT_TRUE(evaluate(model, {0.5, 2.5, 1.0, 1.0}));
        EXPECT_EQ(model.getResponseFunction() != OrvaneParametric::penaltyResponse, c.carbonMayHave2point5);
    }
}

TEST(OrvaneParametricWeights, WeightFileOfTheWorkingFolder)
{
    struct Case {
        const char* what;
        const char* text; // nullptr: no file
        double w2, w4;
    };
    const Case cases[] = {
        {"no file", nullptr, 1.0, 1.0},
        {"both lines", "2\n0.5\n", 2.0, 0.5},
        {"CRLF and blanks", " 2.5 \r\n 4e-1\r\n", 2.5, 0.4},
        {"zero", "0\n3\n", 1.0, 3.0},
        {"unreadable", "two\n0.5\n", 1.0, 0.5},
        {"one line", "2\n", 2.0, 1.0},
        {"empty", "", 1.0, 1.0},
        {"negative", "-2\n-0.5\n", 1.0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WorkingFolder folder;
        if (c.text)
            folder.write(QStringLiteral("pesos.txt"), c.text);
        OrvaneParametric model(nullptr, complexO5N3, 0);
        EXPECT_EQ(model.getW2(), c.w2);
        EXPECT_EQ(model.getW4(), c.w4);
    }

    // Weights 2 and 0.5: an error of 1e-20 in Omega2 alone gives 2, in Omega4 alone 0.5.
    WorkingFolder folder;
    folder.write(QStringLiteral("pesos.txt"), "2\n0.5\n");
    std::array<double, 30> g {}, alpha {};
    g[2] = g[3] = 0.6;
    alpha[2] = alpha[3] = 1.5e-24;
    const OmegaValues omega = omegaOf(complexO5N3, 0, 2, g, alpha);
    OrvaneParametric model(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model.setGroupsAndAtoms(groupsOf({{0, {"O 2", "O 3"}}})));
    model.setCoordNumber(2);
    model.setOmegaExp(omega.omega2 + 1e-20, omega.omega4);
    ASSERT_TRUE(evaluate(model, {0.6, 1.5}));
    EXPECT_NEAR(model.getResponseFunction(), 2.0, 1e-9);
    model.setOmegaExp(omega.omega2, omega.omega4 - 1e-20);
    ASSERT_TRUE(evaluate(model, {0.6, 1.5}));
    EXPECT_NEAR(model.getResponseFunction(), 0.5, 1e-9);
}

namespace {

struct GroupFit {
    std::unique_ptr<OrvaneParametric> model;
    std::vector<double> start;
    double* x = nullptr;
    std::unique_ptr<OrvaneGSA> gsa;

    GroupFit(OrvaneParametric* m, std::vector<double> startPoint)
        : model(m)
        , start(std::move(startPoint))
        , x(start.data())
    {
        OrvaneAbstractParametric* problem = model.get();
        gsa.reset(new OrvaneGSA(nullptr, int(start.size()), x, problem));
    }
};

} // namespace

TEST(OrvaneParametricFailure, UnreadableGeometryTakesTheDriversErrorPath)
{
    WorkingFolder folder;
    folder.write(QStringLiteral("fit.omega"), "report of an earlier run\n");
    auto* model = new OrvaneParametric(nullptr, folder.path(QStringLiteral("missing.out")), 0);
    EXPECT_FALSE(model->getLastError().isEmpty()) << "the construction error is kept";
    ASSERT_TRUE(model->setGroupsAndAtoms(groupsOf({{0, {"O 2"}}})));
    model->setCoordNumber(1);
    model->setFileNameOmg(folder.path(QStringLiteral("fit.omega")));
    GroupFit fit(model, {0.45, 4.5});
    QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
    fit.gsa->initializeGSA();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_TRUE(errors.at(0).at(0).toString().contains(QLatin1String("missing.out")));
    EXPECT_EQ(model->getPointNumber(), 1);
    EXPECT_FALSE(model->hasBestPoint());
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Failed);
    // The last error says why there is no fit; the earlier report stays.
    const QString reason = model->getLastError();
    EXPECT_TRUE(reason.contains(QLatin1String("no intensity parameters were fitted"))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(QLatin1String("missing.out")));
    EXPECT_EQ(folder.read(QStringLiteral("fit.omega")), QStringLiteral("report of an earlier run\n"));
}

TEST(OrvaneParametricFailure, NoPointWithinTheBoundsIsAFailureThatKeepsTheEarlierReport)
{
    WorkingFolder folder;
    folder.write(QStringLiteral("fit.omega"), "report of an earlier run\n");
    auto* model = new OrvaneParametric(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model->setGroupsAndAtoms(groupsOf({{0, {"O 2", "O 3"}}})));
    model->setCoordNumber(2);
    model->setOmegaExp(1e-20, 1e-20);
    model->setFileNameOmg(folder.path(QStringLiteral("fit.omega")));
    // Steps are at most 1 long: 15 of them cannot bring g from 50 into [0.01, 2].
    GroupFit fit(model, {50.0, 4.5});
    fit.gsa->setNStopMax(2);
    QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
    fit.gsa->initializeGSA();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Failed);
    EXPECT_FALSE(model->hasBestPoint());
    EXPECT_EQ(model->getBestG(2), 50.0) << "the best point starts at the start vector";
    const QString reason = errors.at(0).at(0).toString();
    EXPECT_TRUE(reason.contains(QLatin1String("No point of the fit kept every charge factor"))) << reason.toStdString();
    EXPECT_EQ(fit.gsa->getLastError(), reason);
    EXPECT_EQ(folder.read(QStringLiteral("fit.omega")), QStringLiteral("report of an earlier run\n"));
}

TEST(OrvaneParametricFailure, AStoppedFitLeavesTheEarlierReportUnchanged)
{
    WorkingFolder folder;
    folder.write(QStringLiteral("fit.omega"), "report of an earlier fit\n");
    auto* model = new OrvaneParametric(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model->setGroupsAndAtoms(groupsOf({{0, {"O 2", "O 3"}}})));
    model->setCoordNumber(2);
    model->setFileNameOmg(folder.path(QStringLiteral("fit.omega")));
    GroupFit fit(model, {0.45, 4.5});
    OrvaneGSA::isStopParametrization = true;
    fit.gsa->initializeGSA();
    OrvaneGSA::isStopParametrization = false;
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Stopped);
    EXPECT_EQ(folder.read(QStringLiteral("fit.omega")), QStringLiteral("report of an earlier fit\n"));
}

TEST(OrvaneParametricFailure, UnwritableReportLeavesTheReason)
{
    WorkingFolder folder;
    auto* model = new OrvaneParametric(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model->setGroupsAndAtoms(groupsOf({{0, {"O 2", "O 3"}}})));
    model->setCoordNumber(2);
    model->setOmegaExp(1e-20, 1e-20);
    model->setFileNameOmg(folder.path(QStringLiteral("no such folder/fit.omega")));
    GroupFit fit(model, {0.45, 4.5});
    fit.gsa->setNStopMax(2);
    fit.gsa->initializeGSA();
    ASSERT_TRUE(model->hasBestPoint());
    EXPECT_TRUE(model->getLastError().contains(QLatin1String("no such folder"))) << model->getLastError().toStdString();
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Failed) << "a report that was not written is no result";
    // The fitted report is kept for the caller to show and save elsewhere,
    // the same text a writable place would have received.
    const QString kept = model->getUnwrittenReport();
    EXPECT_EQ(kept.count(QLatin1String("Required Citations for this Calculation")), 1) << kept.toStdString();
    model->setFileNameOmg(folder.path(QStringLiteral("fit.omega")));
    model->clearEndFailure();
    model->endOfParametrization();
    EXPECT_FALSE(model->hasEndFailed()) << model->getLastError().toStdString();
    EXPECT_TRUE(model->getUnwrittenReport().isEmpty());
    EXPECT_EQ(folder.read(QStringLiteral("fit.omega")), kept);
}

// Experimental Omega2 and Omega4 generated from known g and alpha of the O
// and N groups of a real MOPAC output; a short fit must reproduce them.
TEST(OrvaneParametricFit, RecoversOmegaGeneratedFromKnownParameters)
{
    WorkingFolder folder;
    std::array<double, 30> g {}, alpha {};
    for (int atom : {2, 3, 6, 7, 9})
        g[atom] = 0.8, alpha[atom] = 1.5e-24;
    for (int atom : {4, 5, 8})
        g[atom] = 1.2, alpha[atom] = 3.0e-24;
    const OmegaValues target = omegaOf(complexO5N3, 0, 8, g, alpha);
    ASSERT_GT(target.omega2, 1e-20);

    auto* model = new OrvaneParametric(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model->setGroupsAndAtoms(oxygenAndNitrogenGroups()));
    model->setCoordNumber(8);
    model->setOmegaExp(target.omega2, target.omega4);
    model->setFileNameOmg(folder.path(QStringLiteral("eu_o5n3.omega")));
    model->setRequiredCitations(QStringLiteral("the citations of the form\n"));
    OmegaPrintingOptions options;
    options.omega = true;
    options.gAndAlpha = true;
    model->setOmegaPrintingOptions(options);
    GroupFit fit(model, {0.45, 0.45, 4.5, 4.5});
    fit.gsa->setNStopMax(1000);
    QSignalSpy progress(fit.gsa.get(), &OrvaneGSA::newOmegaCalculation);
    fit.gsa->initializeGSA();
    EXPECT_EQ(progress.count(), 16);
    EXPECT_EQ(model->getPointNumber(), 15000);
    ASSERT_TRUE(model->hasBestPoint());
    EXPECT_LT(model->getBestResponse(), 1e-4);

    // The best point, evaluated afresh, gives the experimental values.
    std::array<double, 30> bestG {}, bestAlpha {};
    for (int atom = 2; atom <= 9; ++atom) {
        bestG[atom] = model->getBestG(atom);
        bestAlpha[atom] = model->getBestAlpha(atom);
        EXPECT_TRUE(OrvaneFitBounds::within(OrvaneFitBounds::groupFit(atom == 4 || atom == 5 || atom == 8
                                                                          ? QStringLiteral("N")
                                                                          : QStringLiteral("O")),
            bestG[atom], bestAlpha[atom] * 1e24));
    }
    EXPECT_EQ(bestG[2], bestG[9]) << "one value per group";
    EXPECT_EQ(bestAlpha[4], bestAlpha[8]);
    const OmegaValues fitted = omegaOf(complexO5N3, 0, 8, bestG, bestAlpha);
    EXPECT_NEAR(fitted.omega2 / target.omega2, 1.0, 2e-3);
    EXPECT_NEAR(fitted.omega4 / target.omega4, 1.0, 2e-2);

    // The report at the best point: Omega as the targets, to its 2 decimals.
    const QString report = folder.read(QStringLiteral("eu_o5n3.omega"));
    EXPECT_NEAR(reportedOmega(report, 2), target.omega2 * 1e20, 0.006) << report.toStdString();
    EXPECT_NEAR(reportedOmega(report, 4), target.omega4 * 1e20, 0.006);
    EXPECT_NEAR(reportedOmega(report, 6), fitted.omega6 * 1e20, 0.00006);
    EXPECT_TRUE(report.contains(QLatin1String("Required Citations for this Calculation")));
    EXPECT_TRUE(report.endsWith(QLatin1String("the citations of the form\n")));
    EXPECT_TRUE(model->getLastError().isEmpty()) << model->getLastError().toStdString();
}

namespace {

// The model without its final report, so that a whole fit can be counted.
class ModelWithoutReport : public OrvaneParametric
{
public:
    using OrvaneParametric::OrvaneParametric;
    void endOfParametrization() override { }
};

} // namespace

TEST(OrvaneParametricFit, NoAllocationDuringTheAnnealing)
{
    if (!AllocationCounter::available())
        GTEST_SKIP() << "the sanitizers replace the heap functions";
    WorkingFolder folder;
    auto* model = new ModelWithoutReport(nullptr, complexO5N3, 0);
    ASSERT_TRUE(model->setGroupsAndAtoms(oxygenAndNitrogenGroups()));
    model->setCoordNumber(8);
    model->setOmegaExp(6e-20, 0.3e-20);
    GroupFit fit(model, {0.45, 0.45, 4.5, 4.5});
    fit.gsa->setNStopMax(200);
    // The first evaluation checks the groups against N and builds the geometry terms.
    std::vector<double> warmUp {0.45, 0.45, 4.5, 4.5};
    ASSERT_TRUE(evaluate(*model, warmUp));

    AllocationCounter::start();
    fit.gsa->initializeGSA();
    const long allocations = AllocationCounter::stop();
    EXPECT_EQ(model->getPointNumber(), 15 * 200);
    EXPECT_EQ(allocations, 0);
}

namespace {

// The model with every response replaced by the one of the per-donor
// evaluation (calcOmega over the donors' own g and alpha), as the fit was
// evaluated before it summed the donors by group: the annealing then follows
// that evaluation, and the largest relative gap between the two responses
// is kept.
class PerDonorModel : public ModelWithoutReport
{
public:
    PerDonorModel(const QString& file, double omega2, double omega4)
        : ModelWithoutReport(nullptr, file, 0)
        , omega(nullptr, 0, file, QString())
        , omega2Exp(omega2)
        , omega4Exp(omega4)
    {
        double* gPointer = g.data();
        double* alphaPointer = alpha.data();
        omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
        setOmegaExp(omega2, omega4);
    }

    bool runParametrization(const int& n, double*& x) override
    {
        const bool evaluated = OrvaneParametric::runParametrization(n, x);
        if (!evaluated || responseFunction == penaltyResponse)
            return evaluated;
        for (int atom = 2; atom <= coordNumber + 1; ++atom) {
            g[std::size_t(atom)] = getChargeFactor(atom);
            alpha[std::size_t(atom)] = getAlpha(atom);
        }
        omega.setCoordNumber(coordNumber);
        if (!omega.calcOmega())
            return false;
        const double d4 = (omega4Exp - omega.getOmega(4)) * 1e20;
        const double d2 = (omega2Exp - omega.getOmega(2)) * 1e20;
        const double perDonor = d4 * d4 + d2 * d2;
        const double scale = std::max(std::abs(perDonor), 1e-300);
        largestGap = std::max(largestGap, std::abs(perDonor - responseFunction) / scale);
        responseFunction = perDonor;
        ++compared;
        return true;
    }

    double largestGap = 0.0;
    int compared = 0;

private:
    OrvaneOmega omega;
    std::array<double, 30> g {}, alpha {};
    double omega2Exp, omega4Exp;
};

} // namespace

// Summing the donors by group reorders additions only: every response of a
// fit equals the per-donor one to rounding, and a fit that follows either
// ends at the same point.
TEST(OrvaneParametricFit, GroupSumsFollowThePerDonorEvaluation)
{
    WorkingFolder folder;
    const double omega2 = 9.0e-20, omega4 = 4.0e-20;
    auto fitFrom = [&](OrvaneParametric* model) {
        EXPECT_TRUE(model->setGroupsAndAtoms(oxygenAndNitrogenGroups()));
        model->setCoordNumber(8);
        model->setOmegaExp(omega2, omega4);
        GroupFit fit(model, {0.45, 0.45, 4.5, 4.5});
        fit.gsa->setNStopMax(1000);
        fit.gsa->initializeGSA();
        EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Finished);
        return std::make_pair(std::move(fit.model), fit.start);
    };
    auto byGroup = fitFrom(new ModelWithoutReport(nullptr, complexO5N3, 0));
    auto* perDonorModel = new PerDonorModel(complexO5N3, omega2, omega4);
    auto byDonor = fitFrom(perDonorModel);

    EXPECT_GT(perDonorModel->compared, 1000) << "many points lie within the bounds";
    EXPECT_LT(perDonorModel->largestGap, 1e-12);
    ASSERT_TRUE(byGroup.first->hasBestPoint());
    ASSERT_TRUE(byDonor.first->hasBestPoint());
    EXPECT_NEAR(byGroup.first->getBestResponse(), byDonor.first->getBestResponse(),
        1e-12 * byDonor.first->getBestResponse() + 1e-24);
    for (int atom = 2; atom <= 9; ++atom) {
        EXPECT_NEAR(byGroup.first->getBestG(atom), byDonor.first->getBestG(atom),
            1e-12 * byDonor.first->getBestG(atom)) << "atom " << atom;
        EXPECT_NEAR(byGroup.first->getBestAlpha(atom), byDonor.first->getBestAlpha(atom),
            1e-12 * byDonor.first->getBestAlpha(atom)) << "atom " << atom;
    }
    for (std::size_t i = 0; i < byGroup.second.size(); ++i)
        EXPECT_NEAR(byGroup.second[i], byDonor.second[i], 1e-12 * std::abs(byDonor.second[i]))
            << "last accepted point, parameter " << i;
}
