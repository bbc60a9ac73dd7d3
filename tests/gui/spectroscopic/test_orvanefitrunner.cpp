// The fit runner on a toy problem: each way a fit ends is handed to the form
// once, with the dialog closed; a start is refused while a fit runs or
// without a driver; the objects of a fit go only after the worker, driver
// first, also when the runner is destroyed mid-fit; cancelling one fit stops
// no other, and so does the worker's killGSA.

#include "../support/guitestsupport.h"
#include "toyproblems.h"

#include "orvanefitrunner.h"
#include "threadadjustomega.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// A problem slow enough to be cancelled: many steps, no record of points.
constexpr int longRunSteps = 2000000;

class FitRunnerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        runner.reset();
        OrvaneGSA::isStopParametrization = false;
    }
    // A driver and its problem, kept by the runner.
    OrvaneGSA* makeFit(int steps, int failAt = -1, ToyProblem::Response response = quadratic)
    {
        auto* problem = new ToyProblem(std::move(response), false);
        problem->failAtEvaluation = failAt;
        runner->keep(problem);
        OrvaneAbstractParametric* abstractProblem = problem;
        double* x = start.data();
        auto* gsa = new OrvaneGSA(nullptr, 2, x, abstractProblem);
        gsa->setNStopMax(steps);
        runner->keep(gsa);
        return gsa;
    }
    bool waitForEnd() const
    {
        return waitUntil([this] { return runner->getPhase() == OrvaneFitRunner::Phase::Idle; }, 120000);
    }

    QWidget form;
    std::vector<double> start = {0.0, 0.0};
    std::unique_ptr<OrvaneFitRunner> runner = std::make_unique<OrvaneFitRunner>(&form, QStringLiteral("Fit ..."), 15);
};

} // namespace

TEST_F(FitRunnerTest, EachEndIsHandedOverOnceWithTheDialogClosed)
{
    const struct {
        const char* name;
        int steps;
        int failAt;
        bool cancel;
        OrvaneGSA::FitState state;
    } cases[] = {{"finished", 50, -1, false, OrvaneGSA::FitState::Finished},
                 {"failed", 50, 1, false, OrvaneGSA::FitState::Failed},
                 {"stopped", longRunSteps, -1, true, OrvaneGSA::FitState::Stopped}};
    EXPECT_EQ(runner->progressDialog()->parentWidget(), &form);
    EXPECT_TRUE(runner->progressDialog()->isHidden());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(runner->release());
        QSignalSpy ended(runner.get(), &OrvaneFitRunner::fitEnded);
        OrvaneGSA* gsa = makeFit(c.steps, c.failAt);
        ASSERT_TRUE(runner->start(gsa, 15));
        EXPECT_TRUE(runner->isBusy());
        EXPECT_EQ(runner->thread()->gsa, gsa);
        EXPECT_EQ(runner->progressDialog()->maximum(), 15);
        if (c.cancel) {
            runner->cancel();
            EXPECT_EQ(runner->getPhase(), OrvaneFitRunner::Phase::Stopping);
        }
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(ended.count(), 1);
        EXPECT_EQ(runner->endState(), c.state);
        EXPECT_FALSE(runner->isBusy());
        EXPECT_FALSE(runner->progressDialog()->isVisible());
        // The driver stays readable until the next fit releases it.
        EXPECT_EQ(runner->driver(), gsa);
        EXPECT_EQ(gsa->getFitState(), c.state);
    }
}

TEST_F(FitRunnerTest, AStartIsRefusedWithoutADriverOrWhileAFitRuns)
{
    QSignalSpy ended(runner.get(), &OrvaneFitRunner::fitEnded);
    EXPECT_FALSE(runner->start(nullptr, 15));
    EXPECT_EQ(runner->getPhase(), OrvaneFitRunner::Phase::Idle);
    EXPECT_FALSE(runner->thread()->isRunning());
    EXPECT_TRUE(runner->progressDialog()->isHidden());
    // Cancelling with nothing running asks nothing of the next fit.
    runner->cancel();
    EXPECT_EQ(runner->getPhase(), OrvaneFitRunner::Phase::Idle);

    OrvaneGSA* running = makeFit(longRunSteps);
    ASSERT_TRUE(runner->start(running, 15));
    EXPECT_FALSE(running->isStopRequested());
    double* none = nullptr;
    OrvaneAbstractParametric* noProblem = nullptr;
    OrvaneGSA second(nullptr, 0, none, noProblem);
    EXPECT_FALSE(runner->start(&second, 15));
    EXPECT_EQ(runner->thread()->gsa, running);
    EXPECT_FALSE(runner->getFitObjects().contains(&second));
    // The running fit's objects stay while its worker uses them.
    EXPECT_FALSE(runner->release());
    EXPECT_EQ(runner->driver(), running);
    runner->cancel();
    // The cancel went to the running fit's own driver.
    EXPECT_TRUE(running->isStopRequested());
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(runner->endState(), OrvaneGSA::FitState::Stopped);
}

TEST_F(FitRunnerTest, TheFitObjectsGoAfterTheWorkerDriverFirst)
{
    for (bool midRun : {false, true}) {
        SCOPED_TRACE(midRun ? "destroyed mid-run" : "released after the end");
        runner = std::make_unique<OrvaneFitRunner>(&form, QStringLiteral("Fit ..."), 15);
        QSignalSpy ended(runner.get(), &OrvaneFitRunner::fitEnded);
        // Counted outside the problem, which goes with the runner.
        const auto evaluated = std::make_shared<std::atomic<long>>(0);
        OrvaneGSA* gsa = makeFit(midRun ? longRunSteps : 20, -1, [evaluated](const double* x) {
            ++*evaluated;
            return quadratic(x);
        });
        // A driver that no runner runs, to see that no other fit is asked to stop.
        double* none = nullptr;
        OrvaneAbstractParametric* noProblem = nullptr;
        const OrvaneGSA bystander(nullptr, 0, none, noProblem);
        QPointer<QObject> problem = runner->getFitObjects().first();
        QPointer<QObject> driver = gsa;
        QStringList gone;
        QObject::connect(gsa, &QObject::destroyed, [&gone] { gone << QStringLiteral("driver"); });
        QObject::connect(problem.data(), &QObject::destroyed, [&gone] { gone << QStringLiteral("problem"); });
        ASSERT_TRUE(runner->start(gsa, 15));
        if (midRun) {
            // Its own fit is stopped long before its end, no other.
            runner.reset();
            EXPECT_LT(evaluated->load(), 15L * longRunSteps);
            EXPECT_FALSE(bystander.isStopRequested());
        } else {
            ASSERT_TRUE(waitForEnd());
            ASSERT_TRUE(runner->release());
            EXPECT_EQ(runner->thread()->gsa, nullptr);
            EXPECT_TRUE(runner->getFitObjects().isEmpty());
        }
        QCoreApplication::processEvents();
        EXPECT_TRUE(driver.isNull());
        EXPECT_TRUE(problem.isNull());
        EXPECT_EQ(gone, (QStringList{QStringLiteral("driver"), QStringLiteral("problem")}));
        EXPECT_EQ(ended.count(), midRun ? 0 : 1);
    }
}

namespace {

// A toy problem whose first evaluation waits until the test opens its gate,
// so that its fit is sure to be running while another is cancelled.
class GatedProblem : public ToyProblem
{
public:
    GatedProblem()
        : ToyProblem(quadratic, false)
    {
    }
    bool runParametrization(const int& n, double*& x) override
    {
        entered = true;
        while (!open.load())
            QThread::msleep(1);
        return ToyProblem::runParametrization(n, x);
    }
    std::atomic<bool> entered {false};
    std::atomic<bool> open {false};
};

} // namespace

// Two pages fit at once; cancelling one fit leaves the other to finish.
TEST_F(FitRunnerTest, CancellingOneFitLetsAnotherRunningFitFinish)
{
    QWidget otherForm;
    std::vector<double> otherStart = {0.0, 0.0};
    OrvaneFitRunner other(&otherForm, QStringLiteral("Other fit ..."), 15);
    auto* gated = new GatedProblem;
    other.keep(gated);
    // Whatever happens below, the gate opens before the runner waits for its worker.
    const std::unique_ptr<GatedProblem, void (*)(GatedProblem*)> openAtEnd(gated,
                                                                          [](GatedProblem* p) { p->open = true; });
    double* otherX = otherStart.data();
    OrvaneAbstractParametric* gatedProblem = gated;
    auto* otherGsa = new OrvaneGSA(nullptr, 2, otherX, gatedProblem);
    otherGsa->setNStopMax(20);
    ASSERT_TRUE(other.start(otherGsa, 15));
    ASSERT_TRUE(waitUntil([gated] { return gated->entered.load(); }, 120000));

    OrvaneGSA* cancelled = makeFit(longRunSteps);
    ASSERT_TRUE(runner->start(cancelled, 15));
    runner->cancel();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(runner->endState(), OrvaneGSA::FitState::Stopped);

    gated->open = true;
    ASSERT_TRUE(waitUntil([&other] { return other.getPhase() == OrvaneFitRunner::Phase::Idle; }, 120000));
    EXPECT_EQ(other.endState(), OrvaneGSA::FitState::Finished) << otherGsa->getLastError().toStdString();
    EXPECT_EQ(gated->evaluations, 15 * 20);
    EXPECT_EQ(gated->endCalls, 1);
}

// The worker's slot killGSA stops the fit running on that thread and no
// other; with no fit running it does nothing. It never deletes the driver,
// which the runner owns and which stays readable after the end.
TEST_F(FitRunnerTest, KillGSAStopsOnlyTheFitRunningOnItsThread)
{
    ThreadAdjustOmega* worker = runner->thread();
    ASSERT_GE(worker->metaObject()->indexOfSlot("killGSA()"), 0);
    // Neither a driver nor a fit yet.
    ASSERT_TRUE(QMetaObject::invokeMethod(worker, "killGSA", Qt::DirectConnection));

    const struct {
        const char* name;
        bool whileRunning;
        int steps;
        OrvaneGSA::FitState state;
    } cases[] = {{"while the fit runs", true, longRunSteps, OrvaneGSA::FitState::Stopped},
                 {"after the fit ended", false, 20, OrvaneGSA::FitState::Finished}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(runner->release());
        OrvaneGSA* gsa = makeFit(c.steps);
        const QPointer<OrvaneGSA> driver = gsa;
        double* none = nullptr;
        OrvaneAbstractParametric* noProblem = nullptr;
        const OrvaneGSA bystander(nullptr, 0, none, noProblem);
        ASSERT_TRUE(runner->start(gsa, 15));
        if (!c.whileRunning)
            ASSERT_TRUE(waitForEnd());
        ASSERT_TRUE(QMetaObject::invokeMethod(worker, "killGSA", Qt::DirectConnection));
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(runner->endState(), c.state);
        EXPECT_EQ(gsa->isStopRequested(), c.whileRunning);
        EXPECT_FALSE(bystander.isStopRequested());
        QCoreApplication::processEvents();
        EXPECT_FALSE(driver.isNull());
        EXPECT_EQ(worker->gsa, gsa);
        EXPECT_EQ(runner->driver(), gsa);
    }
}
