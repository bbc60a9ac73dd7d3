// The annealing driver against an independent port of its algorithm
// (gsa_reference.py, whose tables are in gsareferencedata.h), and its
// contract with the problem: evaluation counts, progress and error signals,
// stop requests and refused settings.

#include "gsareferencedata.h"
#include "orvanegsa.h"
#include "toyproblems.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

namespace {

struct Fit {
    std::unique_ptr<ToyProblem> problem;
    std::vector<double> start;
    double* x = nullptr;
    std::unique_ptr<OrvaneGSA> gsa;

    Fit(ToyProblem::Response response, std::vector<double> startPoint, bool record = true)
        : problem(new ToyProblem(std::move(response), record))
        , start(std::move(startPoint))
        , x(start.data())
    {
        OrvaneAbstractParametric* base = problem.get();
        gsa.reset(new OrvaneGSA(nullptr, int(start.size()), x, base));
    }
};

std::vector<int> signalValues(const QSignalSpy& spy)
{
    std::vector<int> values;
    for (const QList<QVariant>& arguments : spy)
        values.push_back(arguments.at(0).toInt());
    return values;
}

std::vector<int> progressOfAFullFit()
{
    std::vector<int> values {1};
    for (int k = 1; k <= 15; ++k)
        values.push_back(k);
    return values;
}

} // namespace

TEST(OrvaneGSARan3, DrawsMatchThePublishedGenerator)
{
    Fit fit(quadratic, {0.0, 0.0});
    struct Case {
        int seed;
        const double* expected;
        int skip;
        int count;
    };
    const Case cases[] = {
        {0, GsaReference::ran3Seed0, 0, 5},
        {-1, GsaReference::ran3SeedMinus1, 0, 5},
        {-14, GsaReference::ran3SeedMinus14, 0, 5},
        {0, GsaReference::ran3Seed0After100, 100, 3},
    };
    for (const Case& c : cases) {
        // A fresh driver each time: a seed of 0 initialises only a new generator.
        Fit fresh(quadratic, {0.0, 0.0});
        int seed = c.seed;
        for (int i = 0; i < c.skip; ++i)
            fresh.gsa->ran3(seed);
        for (int i = 0; i < c.count; ++i)
            EXPECT_DOUBLE_EQ(fresh.gsa->ran3(seed), c.expected[i]) << "seed " << c.seed << " draw " << i;
        EXPECT_EQ(seed, 1) << "initialising sets the seed to 1";
    }

    // A negative seed restarts the sequence of an initialised generator.
    int seed = 0;
    for (int i = 0; i < 7; ++i)
        fit.gsa->ran3(seed);
    seed = -1;
    EXPECT_DOUBLE_EQ(fit.gsa->ran3(seed), GsaReference::ran3SeedMinus1[0]);
    EXPECT_DOUBLE_EQ(fit.gsa->ran3(seed), GsaReference::ran3SeedMinus1[1]);
}

TEST(OrvaneGSASchedule, TemperatureAndAcceptanceAtGivenPoints)
{
    for (const auto& s : GsaReference::schedule)
        EXPECT_DOUBLE_EQ(OrvaneGSA::temperature(s.T0, s.qT, s.t), s.T) << "qT " << s.qT << " t " << s.t;
    for (const auto& a : GsaReference::acceptance)
        EXPECT_DOUBLE_EQ(OrvaneGSA::acceptanceProbability(a.qA, a.deltaE, a.T), a.P)
            << "qA " << a.qA << " dE " << a.deltaE << " T " << a.T;
}

// Every point handed to the problem, in order, equals the reference port:
// seeding per run, the visiting step, the acceptance draws and the copies.
TEST(OrvaneGSASequence, TrialPointsEqualTheIndependentPort)
{
    struct Case {
        const char* name;
        ToyProblem::Response response;
        std::vector<double> start;
        int nStopMax;
        bool qdcSettings;
        const double* points;
        std::size_t pointCount;
        int dimension;
        const double* end;
    };
    const Case cases[] = {
        {"quadratic, default settings", quadratic, {3.0, 2.0}, 4, false, &GsaReference::quadraticPoints[0][0],
            std::size(GsaReference::quadraticPoints), 2, GsaReference::quadraticEnd},
        {"bowl, QDC settings", bowl, {0.0, 0.0, 0.0}, 3, true, &GsaReference::bowlPoints[0][0],
            std::size(GsaReference::bowlPoints), 3, GsaReference::bowlEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fit fit(c.response, c.start);
        fit.gsa->setNStopMax(c.nStopMax);
        if (c.qdcSettings)
            ASSERT_TRUE(fit.gsa->setGSAParameters(1.5969, 1.27207, 1.10912, 5.05671));
        fit.gsa->initializeGSA();
        ASSERT_EQ(fit.problem->points.size(), c.pointCount);
        for (std::size_t k = 0; k < c.pointCount; ++k)
            for (int i = 0; i < c.dimension; ++i)
                EXPECT_DOUBLE_EQ(fit.problem->points[k][std::size_t(i)], c.points[k * std::size_t(c.dimension) + std::size_t(i)])
                    << "point " << k << " parameter " << i;
        for (int i = 0; i < c.dimension; ++i)
            EXPECT_DOUBLE_EQ(fit.start[std::size_t(i)], c.end[i]) << "the caller's vector holds the last accepted point";
        EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Finished);
    }
}

TEST(OrvaneGSASequence, ANewDriverRepeatsTheFit)
{
    Fit first(bowl, {0.5, 0.5, 0.5});
    Fit second(bowl, {0.5, 0.5, 0.5});
    first.gsa->setNStopMax(20);
    second.gsa->setNStopMax(20);
    first.gsa->initializeGSA();
    second.gsa->initializeGSA();
    EXPECT_EQ(first.problem->points, second.problem->points);
}

TEST(OrvaneGSASequence, ConvergesToTheMinimumOfAQuadratic)
{
    Fit fit(quadratic, {3.0, 2.0}, false);
    fit.gsa->setNStopMax(2000);
    fit.gsa->initializeGSA();
    ASSERT_EQ(fit.problem->best.size(), 2u);
    // The reference port finds (1.00006, -0.50010), response 2.5e-8.
    EXPECT_NEAR(fit.problem->best[0], 1.0, 1e-3);
    EXPECT_NEAR(fit.problem->best[1], -0.5, 1e-3);
    EXPECT_LT(fit.problem->getBestResponse(), 1e-6);
}

TEST(OrvaneGSASequence, ATrialOfEqualResponseIsAccepted)
{
    // Every trial ties with the current point: each one becomes the new
    // current point, so the caller's vector ends at the last trial.
    Fit fit([](const double*) { return 3.0; }, {0.0, 0.0});
    fit.gsa->setNStopMax(5);
    fit.gsa->initializeGSA();
    const std::vector<double>& last = fit.problem->points.back();
    EXPECT_EQ(fit.start, last);
    // And each run's first point is the previous run's last trial.
    for (std::size_t k = 5; k < fit.problem->points.size(); k += 5)
        EXPECT_EQ(fit.problem->points[k], fit.problem->points[k - 1]);
}

TEST(OrvaneGSARun, EvaluationsAndProgressSignals)
{
    struct Case {
        int nStopMax;
        int evaluations;
    };
    const Case cases[] = {{-3, 30}, {0, 30}, {1, 30}, {2, 30}, {3, 45}, {10, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStopMax);
        Fit fit(quadratic, {3.0, 2.0}, false);
        QSignalSpy progress(fit.gsa.get(), &OrvaneGSA::newOmegaCalculation);
        QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
        fit.gsa->NStopMax = c.nStopMax;
        fit.gsa->initializeGSA();
        EXPECT_EQ(fit.problem->evaluations, c.evaluations);
        EXPECT_EQ(fit.problem->getPointNumber(), c.evaluations) << "the driver counts every evaluation";
        EXPECT_EQ(signalValues(progress), progressOfAFullFit());
        EXPECT_EQ(errors.count(), 0);
        EXPECT_EQ(fit.problem->startCalls, 1);
        EXPECT_EQ(fit.problem->endCalls, 1);
    }
}

TEST(OrvaneGSARun, DefaultScheduleMakesFifteenTimesNStopMaxEvaluations)
{
    Fit fit(quadratic, {3.0, 2.0}, false);
    EXPECT_EQ(fit.gsa->NStopMax, 15000);
    fit.gsa->initializeGSA();
    EXPECT_EQ(fit.problem->evaluations, 15 * 15000);
}

TEST(OrvaneGSAStop, StopRequestedBeforeTheStartEndsAfterTheFirstStep)
{
    Fit fit(quadratic, {3.0, 2.0});
    OrvaneGSA::isStopParametrization = true;
    QSignalSpy progress(fit.gsa.get(), &OrvaneGSA::newOmegaCalculation);
    fit.gsa->initializeGSA();
    EXPECT_EQ(fit.problem->evaluations, 2) << "the first evaluation of run 0 and one step";
    EXPECT_EQ(signalValues(progress), std::vector<int> {1});
    EXPECT_EQ(fit.problem->endCalls, 0) << "no report after a stop";
    EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Stopped);

    // The next driver starts with the flag cleared.
    Fit next(quadratic, {3.0, 2.0}, false);
    EXPECT_FALSE(OrvaneGSA::isStopParametrization.load());
}

TEST(OrvaneGSAStop, StopDuringARunEndsAfterTheCurrentStep)
{
    // NStopMax 10: run 2 (the third) covers evaluations 21 to 30.
    Fit fit(quadratic, {3.0, 2.0}, false);
    fit.gsa->setNStopMax(10);
    fit.problem->stopAtEvaluation = 25;
    QSignalSpy progress(fit.gsa.get(), &OrvaneGSA::newOmegaCalculation);
    fit.gsa->initializeGSA();
    EXPECT_EQ(fit.problem->evaluations, 25);
    EXPECT_EQ(signalValues(progress), (std::vector<int> {1, 1, 2}));
    EXPECT_EQ(fit.problem->endCalls, 0);
    OrvaneGSA::isStopParametrization = false;
}

TEST(OrvaneGSAStop, StopFromAnotherThread)
{
    // The fit runs on a worker; evaluation 100 waits until this thread has
    // asked it to stop, so the fit must end right after that step. The
    // program asks through the driver's own requestStop, which leaves every
    // other driver alone; the static flag asks every driver.
    const struct {
        const char* name;
        bool ownRequest;
    } ways[] = {{"the driver's requestStop", true}, {"the static flag", false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        Fit other(quadratic, {3.0, 2.0}, false);
        std::atomic<bool> reached {false};
        std::atomic<OrvaneGSA*> self {nullptr};
        Fit fit([&reached, &self, count = 0](const double* x) mutable {
            if (++count == 100) {
                reached = true;
                while (!self.load()->isStopRequested())
                    std::this_thread::yield();
            }
            return quadratic(x);
        },
            {3.0, 2.0}, false);
        self = fit.gsa.get();
        std::thread worker([&fit] { fit.gsa->initializeGSA(); });
        while (!reached.load())
            std::this_thread::yield();
        if (way.ownRequest)
            fit.gsa->requestStop();
        else
            OrvaneGSA::isStopParametrization = true;
        worker.join();
        EXPECT_EQ(other.gsa->isStopRequested(), !way.ownRequest);
        OrvaneGSA::isStopParametrization = false;
        EXPECT_EQ(fit.problem->evaluations, 100);
        EXPECT_EQ(fit.problem->endCalls, 0);
        EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Stopped);
    }
}

TEST(OrvaneGSAFailure, FailingFirstEvaluationOfARunEndsTheFit)
{
    struct Case {
        int failAt;
        std::vector<int> progress;
    };
    // NStopMax 4: run k starts at evaluation 4k + 1.
    const Case cases[] = {{1, {1}}, {13, {1, 1, 2, 3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAt);
        Fit fit(quadratic, {3.0, 2.0}, false);
        fit.gsa->setNStopMax(4);
        fit.problem->failAtEvaluation = c.failAt;
        QSignalSpy progress(fit.gsa.get(), &OrvaneGSA::newOmegaCalculation);
        QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
        fit.gsa->initializeGSA();
        EXPECT_EQ(fit.problem->evaluations, c.failAt);
        ASSERT_EQ(errors.count(), 1);
        EXPECT_EQ(errors.at(0).at(0).toString(), QStringLiteral("evaluation %1 failed").arg(c.failAt));
        EXPECT_EQ(fit.gsa->getLastError(), errors.at(0).at(0).toString());
        EXPECT_EQ(fit.problem->endCalls, 1);
        EXPECT_EQ(signalValues(progress), c.progress);
        EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Failed);
    }
}

TEST(OrvaneGSAFailure, FailedStepEvaluationsOnlyCountAsTheirResponse)
{
    Fit fit(quadratic, {3.0, 2.0}, false);
    fit.gsa->setNStopMax(6);
    fit.problem->stepsPerRun = 6;
    fit.problem->failEveryStep = true;
    QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
    fit.gsa->initializeGSA();
    EXPECT_EQ(fit.problem->evaluations, 90);
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(fit.problem->endCalls, 1);
    // Every step answered 1e20 and was turned down: the start point stays.
    EXPECT_EQ(fit.start, (std::vector<double> {3.0, 2.0}));
}

TEST(OrvaneGSASettings, UndefinedSettingsAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double qA, qT, qV, T0;
        const char* mentions;
    };
    const Case cases[] = {
        {1.0, 2.5, 2.5, 10.0, "qA"},
        {2.5, 1.0, 2.5, 10.0, "qT"},
        {2.5, 2.5, 1.0, 10.0, "qV"},
        {2.5, 2.5, 3.0, 10.0, "qV"},
        {2.5, 2.5, -1.0, 10.0, "qV"},      // Gamma(-1): a pole, no visiting amplitude
        {2.5, 2.5, 1.001, 10.0, "qV"},     // Gamma(999.5) overflows
        {2.5, 2.5, 2.5, 0.0, "T0"},
        {2.5, 2.5, 2.5, -1.0, "T0"},
        {nan, 2.5, 2.5, 10.0, "finite"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.qA << " " << c.qT << " " << c.qV << " " << c.T0);
        Fit fit(quadratic, {3.0, 2.0}, false);
        EXPECT_FALSE(fit.gsa->setGSAParameters(c.qA, c.qT, c.qV, c.T0));
        EXPECT_TRUE(fit.gsa->getLastError().contains(QLatin1String(c.mentions))) << fit.gsa->getLastError().toStdString();
        EXPECT_EQ(fit.gsa->qA, 2.5);
        EXPECT_EQ(fit.gsa->qT, 2.5);
        EXPECT_EQ(fit.gsa->qV, 2.5);
        EXPECT_EQ(fit.gsa->T0, 10.0);

        // Written directly, they stop the fit before any evaluation.
        fit.gsa->qA = c.qA;
        fit.gsa->qT = c.qT;
        fit.gsa->qV = c.qV;
        fit.gsa->T0 = c.T0;
        QSignalSpy errors(fit.gsa.get(), &OrvaneGSA::errorOmegaCalculation);
        QSignalSpy progress(fit.gsa.get(), &OrvaneGSA::newOmegaCalculation);
        fit.gsa->initializeGSA();
        EXPECT_EQ(errors.count(), 1);
        EXPECT_EQ(progress.count(), 0);
        EXPECT_EQ(fit.problem->evaluations, 0);
        EXPECT_EQ(fit.problem->endCalls, 0);
        EXPECT_EQ(fit.gsa->getFitState(), OrvaneGSA::FitState::Failed);
    }

    Fit fit(quadratic, {3.0, 2.0}, false);
    EXPECT_TRUE(fit.gsa->setGSAParameters(1.5969, 1.27207, 1.10912, 5.05671));
    EXPECT_EQ(fit.gsa->qA, 1.5969);
    EXPECT_EQ(fit.gsa->qT, 1.27207);
    EXPECT_EQ(fit.gsa->qV, 1.10912);
    EXPECT_EQ(fit.gsa->T0, 5.05671);
}

TEST(OrvaneGSAFailure, MissingProblemOrVectorIsReported)
{
    double value = 1.0;
    double* x = &value;
    double* none = nullptr;
    OrvaneAbstractParametric* noProblem = nullptr;
    ToyProblem problem(quadratic);
    OrvaneAbstractParametric* base = &problem;
    OrvaneGSA withoutProblem(nullptr, 1, x, noProblem);
    OrvaneGSA withoutVector(nullptr, 1, none, base);
    for (OrvaneGSA* gsa : {&withoutProblem, &withoutVector}) {
        QSignalSpy errors(gsa, &OrvaneGSA::errorOmegaCalculation);
        gsa->initializeGSA();
        EXPECT_EQ(errors.count(), 1);
        EXPECT_EQ(gsa->getFitState(), OrvaneGSA::FitState::Failed);
    }
    EXPECT_EQ(problem.evaluations, 0);
}
