// The fit of Q, D and C: the mapping to per-atom g and alpha through the
// reactivity indices, the restriction D > r C and its one-way switch, the
// response with Omega6, the failure paths through the annealing driver, and
// a fit on a real MOPAC output ([Eu(H2O)8]3+ with ALLVEC) whose experimental
// Omega2 and Omega4 were generated from known Q, D, C.

#include "allocationcounter.h"
#include "fittesthelpers.h"
#include "orvanegsa.h"
#include "orvaneindicescalculation.h"
#include "orvaneinputdata.h"
#include "orvaneparametricqdc.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace FitTest;

namespace {

const QString complexH2O8 = mopacFixture("eu_h2o8_allvec.out");
constexpr int donors = 8;

// A point inside every bound of the fixture, whose superdelocalizabilities
// lie between -0.254 and -0.150: g about 0.8, alpha 0.45 to 2.3 (1e-24 cm^3).
constexpr double knownQ = 0.12, knownD = 18.0, knownC = 5.0;

class QdcTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        indices.reset(new OrvaneIndicesCalculation(nullptr, complexH2O8, donors));
        ASSERT_TRUE(indices->calculateIndices()) << indices->getLastError().toStdString();
    }

    OrvaneParametricQDC* newModel(const int& restrictionValue = 3)
    {
        auto* model = new OrvaneParametricQDC(nullptr, complexH2O8, 0);
        model->setSuperDeslocalizability(indices.get());
        model->setCoordNumber(donors);
        model->setRestrictionValue(restrictionValue);
        return model;
    }

    // g and alpha (cm^3) of Q, D, C computed here from the indices.
    void arraysOf(double q, double d, double c, std::array<double, 30>& g, std::array<double, 30>& alpha) const
    {
        g.fill(0.0);
        alpha.fill(0.0);
        for (int atom = 2; atom <= donors + 1; ++atom) {
            g[atom] = q * indices->getAtomicCharge(atom);
            alpha[atom] = (d * indices->getSuperDeslocalizability(atom) + c) * 1e-24;
        }
    }

    static bool evaluate(OrvaneParametricQDC& model, double q, double d, double c)
    {
        double x[3] = {q, d, c};
        double* pointer = x;
        return model.runParametrization(3, pointer);
    }

    WorkingFolder folder;
    std::unique_ptr<OrvaneIndicesCalculation> indices;
};

} // namespace

TEST_F(QdcTest, ChargeFactorsAndPolarizabilitiesFollowTheIndices)
{
    std::unique_ptr<OrvaneParametricQDC> model(newModel());
    ASSERT_TRUE(model->getLastError().isEmpty()) << model->getLastError().toStdString();
    ASSERT_TRUE(evaluate(*model, knownQ, knownD, knownC));
    std::array<double, 30> g {}, alpha {};
    arraysOf(knownQ, knownD, knownC, g, alpha);
    for (int atom = 2; atom <= donors + 1; ++atom) {
        EXPECT_DOUBLE_EQ(model->getChargeFactor(atom), g[atom]) << "atom " << atom;
        EXPECT_NEAR(model->getAlpha(atom), alpha[atom], 1e-12 * alpha[atom]) << "atom " << atom;
    }
}

TEST_F(QdcTest, ResponseAddsOmega6ToTheErrorsOfOmega2AndOmega4)
{
    std::unique_ptr<OrvaneParametricQDC> model(newModel());
    model->setOmegaExp(4.0e-20, 2.0e-20);
    ASSERT_TRUE(evaluate(*model, knownQ, knownD, knownC));
    std::array<double, 30> g {}, alpha {};
    arraysOf(knownQ, knownD, knownC, g, alpha);
    const OmegaValues omega = omegaOf(complexH2O8, 0, donors, g, alpha);
    ASSERT_GT(omega.omega6, 0.0);
    const double d2 = (4.0e-20 - omega.omega2) * 1e20;
    const double d4 = (2.0e-20 - omega.omega4) * 1e20;
    const double o6 = omega.omega6 * 1e20;
    const double expected = d2 * d2 + d4 * d4 + o6 * o6;
    EXPECT_NEAR(model->getResponseFunction(), expected, 1e-10 * expected);
    EXPECT_EQ(model->getParametersQDC().Q, knownQ);
}

TEST_F(QdcTest, RestrictionAndSignsOfDAndC)
{
    struct Case {
        double q, d, c;
        int restrictionValue;
        bool inside;
    };
    const Case cases[] = {
        {knownQ, 18.0, 5.0, 3, true},
        {knownQ, 15.0, 5.0, 3, false},    // D = r C is not above it
        {knownQ, 15.0001, 5.0, 3, true},
        {knownQ, 18.0, 5.0, 4, false},
        // r C = 0: any positive D satisfies the restriction, D = 0 does not.
        {knownQ, 0.5, 5.0, 0, true},
        {knownQ, 0.0, 5.0, 0, false},
        {knownQ, -0.5, 5.0, -1, false},   // D below 0, though D > r C
        // The atom bounds: g = 0.12 x 6.655 = 0.80 at most 2 for O; alpha at least 0.005.
        {0.3, 18.0, 5.0, 3, true},
        {0.31, 18.0, 5.0, 3, false},
        // alpha = 18 s + C with s = -0.25316 at the lowest: 0.003 and 0.008.
        {knownQ, 18.0, 4.56, 0, false},
        {knownQ, 18.0, 4.565, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.q << " " << c.d << " " << c.c << " r " << c.restrictionValue);
        std::unique_ptr<OrvaneParametricQDC> model(newModel(c.restrictionValue));
        EXPECT_TRUE(evaluate(*model, c.q, c.d, c.c)) << "points outside the bounds are no failure";
        if (c.inside)
            EXPECT_LT(model->getResponseFunction(), 1e10);
        else
            EXPECT_EQ(model->getResponseFunction(), OrvaneParametricQDC::penaltyResponse);
        EXPECT_EQ(model->isRestrictionActive(), true) << "the first valid point is a large improvement";
    }
}

// The fit bounds its points as the molecule record's parameter test does.
TEST_F(QdcTest, BoundsAgreeWithTheParameterTestOfTheMoleculeRecord)
{
    QVector<float> charges, supers;
    for (double v : indices->getAtomicCharge())
        charges.append(float(v));
    for (double v : indices->getSuperDeslocalizability())
        supers.append(float(v));
    struct Case {
        double q, d, c;
        bool inside;
    };
    const Case cases[] = {
        {knownQ, knownD, knownC, true}, {0.31, knownD, knownC, false}, {0.0014, knownD, knownC, false},
        {knownQ, knownD, 4.56, false}, {knownQ, knownD, 16.0, true}, {knownQ, knownD, 20.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.q << " " << c.d << " " << c.c);
        std::unique_ptr<OrvaneParametricQDC> model(newModel(0));
        ASSERT_TRUE(evaluate(*model, c.q, c.d, c.c));
        const double qdc[3] = {c.q, c.d, c.c};
        EXPECT_EQ(OrvaneInputData::checkParametersQDC(complexH2O8, charges, supers, donors, qdc), c.inside);
        EXPECT_EQ(model->getResponseFunction() != OrvaneParametricQDC::penaltyResponse, c.inside);
    }
}

TEST_F(QdcTest, RestrictionSwitchesOffAfterEvaluation100000)
{
    // (15, 5) breaks the restriction for r = 3 and nothing else.
    for (const int evaluations : {100000, 100001}) {
        SCOPED_TRACE(evaluations);
        std::unique_ptr<OrvaneParametricQDC> model(newModel());
        for (int i = 0; i < evaluations; ++i)
            model->incrementPointsNumber();
        ASSERT_TRUE(evaluate(*model, knownQ, knownD, knownC));
        const bool switchedOff = evaluations > 100000;
        EXPECT_EQ(model->isRestrictionActive(), !switchedOff);
        ASSERT_TRUE(evaluate(*model, knownQ, 15.0, 5.0));
        EXPECT_EQ(model->getResponseFunction() == OrvaneParametricQDC::penaltyResponse, !switchedOff);
    }
}

TEST_F(QdcTest, RestrictionSwitchesOffWhenTheImprovementFallsBelow1e5)
{
    // Two neighbouring points: whichever is worse goes first, so that the
    // second improves the best response by less than 1e-5.
    std::unique_ptr<OrvaneParametricQDC> probe(newModel());
    probe->setOmegaExp(4e-20, 2e-20);
    ASSERT_TRUE(evaluate(*probe, knownQ + 1e-9, knownD, knownC));
    const double up = probe->getResponseFunction();
    ASSERT_TRUE(evaluate(*probe, knownQ - 1e-9, knownD, knownC));
    const double down = probe->getResponseFunction();
    ASSERT_NE(up, down);
    ASSERT_LT(std::abs(up - down), 1e-5);

    std::unique_ptr<OrvaneParametricQDC> model(newModel());
    model->setOmegaExp(4e-20, 2e-20);
    ASSERT_TRUE(evaluate(*model, up > down ? knownQ + 1e-9 : knownQ - 1e-9, knownD, knownC));
    EXPECT_TRUE(model->isRestrictionActive());
    ASSERT_TRUE(evaluate(*model, up > down ? knownQ - 1e-9 : knownQ + 1e-9, knownD, knownC));
    EXPECT_FALSE(model->isRestrictionActive());
    // Once off, it stays off.
    ASSERT_TRUE(evaluate(*model, knownQ, 15.0, 5.0));
    EXPECT_LT(model->getResponseFunction(), 1e10);
    EXPECT_FALSE(model->isRestrictionActive());
}

TEST_F(QdcTest, MissingInputsFailTheEvaluation)
{
    struct Case {
        const char* what;
        QString file;
        bool withIndices;
        int indicesDonors;
        int coordNumber;
        const char* mentions;
    };
    const Case cases[] = {
        {"unreadable output", folder.path(QStringLiteral("missing.out")), true, donors, donors, "missing.out"},
        {"no indices", complexH2O8, false, donors, donors, "reactivity indices were not given"},
        {"too few indices", complexH2O8, true, 3, donors, "cover atoms up to 4, but the fit needs atoms 2 to 9"},
        {"N of 0", complexH2O8, true, donors, 0, "between 1 and 28, not 0"},
        {"N past the atoms", complexH2O8, true, donors, 28, "too few for 28 coordinating atoms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrvaneIndicesCalculation shortIndices(nullptr, complexH2O8, c.indicesDonors);
        ASSERT_TRUE(shortIndices.calculateIndices());
        OrvaneParametricQDC model(nullptr, c.file, 0);
        if (c.withIndices)
            model.setSuperDeslocalizability(c.indicesDonors == donors ? indices.get() : &shortIndices);
        model.setCoordNumber(c.coordNumber);
        EXPECT_FALSE(evaluate(model, knownQ, knownD, knownC));
        EXPECT_TRUE(model.getLastError().contains(QLatin1String(c.mentions))) << model.getLastError().toStdString();
        EXPECT_EQ(model.getResponseFunction(), OrvaneParametricQDC::penaltyResponse);
    }
}

namespace {

struct QdcFit {
    std::unique_ptr<OrvaneParametricQDC> model;
    double start[3];
    double* x = start;
    std::unique_ptr<OrvaneGSA> gsa;

    QdcFit(OrvaneParametricQDC* m, double q, double d, double c)
        : model(m)
        , start {q, d, c}
    {
        OrvaneAbstractParametric* problem = model.get();
        gsa.reset(new OrvaneGSA(nullptr, 3, x, problem));
        gsa->setGSAParameters(1.5969, 1.27207, 1.10912, 5.05671);
    }
};

} // namespace

TEST_F(QdcTest, WithoutIndicesTheDriverReportsOneErrorAndKeepsTheEarlierReport)
{
    folder.write(QStringLiteral("fit.omega"), "report of an earlier run\n");
    auto* model = new OrvaneParametricQDC(nullptr, complexH2O8, 0);
    model->setCoordNumber(donors);
    model->setFileNameOmg(folder.path(QStringLiteral("fit.omega")));
    QdcFit fit(model, knownQ, knownD, knownC);
    QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
    fit.gsa->initializeGSA();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_TRUE(errors.at(0).at(0).toString().contains(QLatin1String("reactivity indices")));
    EXPECT_FALSE(model->hasBestPoint());
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Failed);
    EXPECT_TRUE(model->getLastError().contains(QLatin1String("no QDC parameters were fitted")))
        << model->getLastError().toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("fit.omega")), QStringLiteral("report of an earlier run\n"));
}

TEST_F(QdcTest, AStoppedFitLeavesTheEarlierReportUnchanged)
{
    folder.write(QStringLiteral("fit.omega"), "report of an earlier fit\n");
    OrvaneParametricQDC* model = newModel();
    model->setFileNameOmg(folder.path(QStringLiteral("fit.omega")));
    QdcFit fit(model, knownQ, knownD, knownC);
    OrvaneGSA::isStopParametrization = true;
    fit.gsa->initializeGSA();
    OrvaneGSA::isStopParametrization = false;
    EXPECT_EQ(model->getPointNumber(), 2);
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Stopped);
    EXPECT_EQ(folder.read(QStringLiteral("fit.omega")), QStringLiteral("report of an earlier fit\n"));
}

// Experimental Omega2 and Omega4 generated from known Q, D, C; the fit starts
// where the calculation form starts it, with the form's annealing settings.
TEST_F(QdcTest, FitRecoversOmegaGeneratedFromKnownParameters)
{
    std::array<double, 30> g {}, alpha {};
    arraysOf(knownQ, knownD, knownC, g, alpha);
    const OmegaValues target = omegaOf(complexH2O8, 0, donors, g, alpha);
    ASSERT_GT(target.omega2, 1e-21);
    const double o6 = target.omega6 * 1e20;
    const double responseAtTheKnownPoint = o6 * o6;

    double chargeSum = 0.0, superSum = 0.0;
    for (int atom = 2; atom <= donors + 1; ++atom) {
        chargeSum += indices->getAtomicCharge(atom);
        superSum += indices->getSuperDeslocalizability(atom);
    }
    const double q = chargeSum / donors, s = superSum / donors;
    const double r = 1.0 / std::abs(indices->getMinimumSuperDeslocalizability()) - 0.1;
    const double d = r / (r * s + 1.0);

    OrvaneParametricQDC* model = newModel(int(r));
    model->setOmegaExp(target.omega2, target.omega4);
    model->setFileNameOmg(folder.path(QStringLiteral("eu_h2o8.omega")));
    OmegaPrintingOptions options;
    options.omega = true;
    model->setOmegaPrintingOptions(options);
    QdcFit fit(model, 1.0 / q, d, d / (r + 0.01));
    fit.gsa->setNStopMax(1000);
    QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
    fit.gsa->initializeGSA();
    EXPECT_EQ(errors.count(), 0);
    ASSERT_TRUE(model->hasBestPoint());
    // At least as good as the point the targets came from, whose response is its Omega6 alone.
    EXPECT_LE(model->getBestResponse(), responseAtTheKnownPoint * (1.0 + 1e-9));

    const ParametersQDC best = model->getParametersQDC();
    arraysOf(best.Q, best.D, best.C, g, alpha);
    const OmegaValues fitted = omegaOf(complexH2O8, 0, donors, g, alpha);
    EXPECT_NEAR(fitted.omega2 * 1e20, target.omega2 * 1e20, 0.05);
    EXPECT_NEAR(fitted.omega4 * 1e20, target.omega4 * 1e20, 0.05);
    const QString report = folder.read(QStringLiteral("eu_h2o8.omega"));
    EXPECT_NEAR(reportedOmega(report, 2), fitted.omega2 * 1e20, 0.006) << report.toStdString();
    EXPECT_NEAR(reportedOmega(report, 4), fitted.omega4 * 1e20, 0.006);
    EXPECT_TRUE(report.contains(QStringLiteral(" Q =%1").arg(best.Q, 7, 'f', 4)));
    EXPECT_TRUE(model->getLastError().isEmpty()) << model->getLastError().toStdString();
}

namespace {

class QdcModelWithoutReport : public OrvaneParametricQDC
{
public:
    using OrvaneParametricQDC::OrvaneParametricQDC;
    void endOfParametrization() override { }
};

} // namespace

TEST_F(QdcTest, NoAllocationDuringTheAnnealing)
{
    if (!AllocationCounter::available())
        GTEST_SKIP() << "the sanitizers replace the heap functions";
    auto* model = new QdcModelWithoutReport(nullptr, complexH2O8, 0);
    model->setSuperDeslocalizability(indices.get());
    model->setCoordNumber(donors);
    model->setRestrictionValue(3);
    model->setOmegaExp(4e-20, 2e-20);
    ASSERT_TRUE(evaluate(*model, knownQ, knownD, knownC)); // checks the inputs, builds the geometry terms
    QdcFit fit(model, knownQ, knownD, knownC);
    fit.gsa->setNStopMax(200);
    AllocationCounter::start();
    fit.gsa->initializeGSA();
    const long allocations = AllocationCounter::stop();
    EXPECT_EQ(model->getPointNumber(), 15 * 200);
    EXPECT_EQ(allocations, 0);
}
