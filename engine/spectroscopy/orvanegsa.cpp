#include "orvanegsa.h"

#include "orvaneabstractparametric.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int runCount = 15;
constexpr int maxTabulatedSteps = 1 << 20;

// Constants of ran3.
constexpr int MBIG = 1000000000;
constexpr int MSEED = 161803398;
constexpr int MZ = 0;
constexpr double FAC = 1.0e-9;

} // namespace

std::atomic<bool> OrvaneGSA::isStopParametrization {false};

OrvaneGSA::OrvaneGSA(QObject* parent, const int& nParameters, double*& parameters,
    OrvaneAbstractParametric*& problem)
    : OrvaneAbstractObjCalculation(parent)
    , problem(problem)
    , nParameters(nParameters)
    , x(parameters)
    , trial(std::size_t(std::max(nParameters, 0)), 0.0)
    , best(std::size_t(std::max(nParameters, 0)), 0.0)
{
    isStopParametrization.store(false, std::memory_order_relaxed);
    reserveSchedule();
}

void OrvaneGSA::setNStopMax(const int& n)
{
    NStopMax = n;
    reserveSchedule();
}

// The fit itself allocates nothing: the schedule's room is taken whenever the
// number of steps is set.
void OrvaneGSA::reserveSchedule()
{
    // A schedule longer than any fit runs is computed step by step instead.
    if (NStopMax > maxTabulatedSteps)
        return;
    const std::size_t size = std::size_t(std::max(NStopMax - 1, 1)) + 1;
    stepTemperature.reserve(size);
    stepTemperaturePower.reserve(size);
}

OrvaneGSA::~OrvaneGSA() = default;

bool OrvaneGSA::checkGSAParameters(const double& qA, const double& qT, const double& qV,
    const double& T0, QString& reason)
{
    if (!std::isfinite(qA) || !std::isfinite(qT) || !std::isfinite(qV) || !std::isfinite(T0)) {
        reason = QStringLiteral("The annealing parameters must be finite numbers.");
        return false;
    }
    if (qA == 1.0) {
        reason = QStringLiteral("The acceptance index qA cannot be 1 (the acceptance probability divides by qA - 1).");
        return false;
    }
    if (qT == 1.0) {
        reason = QStringLiteral("The temperature index qT cannot be 1 (the temperature divides by 2^(qT - 1) - 1).");
        return false;
    }
    if (qV == 1.0 || qV == 3.0) {
        reason = QStringLiteral("The visiting index qV cannot be 1 or 3 (the visiting step divides by qV - 1 "
                                "and by 3 - qV).");
        return false;
    }
    const double e = 1.0 / (qV - 1.0) - 0.5;
    const double gammaValue = dGamma(e);
    if (!std::isfinite(gammaValue) || gammaValue == 0.0) {
        reason = QStringLiteral("The visiting index qV = %1 gives no finite visiting amplitude (Gamma of %2).")
                     .arg(qV)
                     .arg(e);
        return false;
    }
    if (!(T0 > 0.0)) {
        reason = QStringLiteral("The initial temperature T0 must be above 0.");
        return false;
    }
    return true;
}

bool OrvaneGSA::setGSAParameters(const double& newQA, const double& newQT, const double& newQV,
    const double& newT0)
{
    QString reason;
    if (!checkGSAParameters(newQA, newQT, newQV, newT0, reason)) {
        lastError = reason;
        return false;
    }
    qA = newQA;
    qT = newQT;
    qV = newQV;
    T0 = newT0;
    return true;
}

double OrvaneGSA::temperature(const double& T0, const double& qT, const int& t)
{
    const double q = qT - 1.0;
    return T0 * (std::pow(2.0, q) - 1.0) / (std::pow(t + 1.0, q) - 1.0);
}

double OrvaneGSA::acceptanceProbability(const double& qA, const double& deltaE, const double& T)
{
    const double q = qA - 1.0;
    return 1.0 / std::pow(1.0 + q * deltaE / T, 1.0 / q);
}

double OrvaneGSA::dGamma(const double& value)
{
    // Only the ratio Gamma(e) / Gamma(e) is taken: any accurate Gamma serves.
    return std::tgamma(value);
}

double OrvaneGSA::ran3(int& idum)
{
    if (idum < 0 || iff == 0) {
        iff = 1;
        mj = std::abs(MSEED - std::abs(idum));
        mj %= MBIG;
        ma[55] = mj;
        mk = 1;
        for (int i = 1; i <= 54; ++i) {
            const int ii = (21 * i) % 55;
            ma[ii] = mk;
            mk = mj - mk;
            if (mk < MZ)
                mk += MBIG;
            mj = ma[ii];
        }
        for (int k = 1; k <= 4; ++k) {
            for (int i = 1; i <= 55; ++i) {
                ma[i] -= ma[1 + (i + 30) % 55];
                if (ma[i] < MZ)
                    ma[i] += MBIG;
            }
        }
        inext = 0;
        inextp = 31;
        idum = 1;
    }
    if (++inext == 56)
        inext = 1;
    if (++inextp == 56)
        inextp = 1;
    mj = ma[inext] - ma[inextp];
    if (mj < MZ)
        mj += MBIG;
    ma[inext] = mj;
    return mj * FAC;
}

void OrvaneGSA::GSAini(const int& run)
{
    seed = -run;
    qA1 = qA - 1.0;
    qT1 = qT - 1.0;
    qV1 = qV - 1.0;
    temperatureNumerator = T0 * (std::pow(2.0, qT1) - 1.0);
    visitingExponent = 1.0 / qV1 - 0.5;
    temperatureExponent = 2.0 / (3.0 - qV);
    visitingAmplitude = dGamma(visitingExponent) / dGamma(visitingExponent);
}

// The visiting step of this driver, kept as it has always been so that fits
// stay reproducible. It is not the textbook Tsallis-Stariolo draw from the
// visiting distribution g_qV: the step length is
//   a s / (1 + (qV-1) r^2 / T^(2/(3-qV)))^(1/(qV-1) - 1/2)
// with r uniform in [0, 1), and a second uniform number picks its sign.
void OrvaneGSA::Gfunction(const double& temperaturePower, const double& amplitudeScale)
{
    for (int i = 0; i < nParameters; ++i) {
        const double r = ran3(seed);
        const double u = ran3(seed);
        const double step = visitingAmplitude * amplitudeScale
            / std::pow(1.0 + qV1 * r * r / temperaturePower, visitingExponent);
        trial[std::size_t(i)] = u <= 0.5 ? x[i] - step : x[i] + step;
    }
}

void OrvaneGSA::buildSchedule(int steps)
{
    stepTemperature.assign(std::size_t(steps) + 1, 0.0);
    stepTemperaturePower.assign(std::size_t(steps) + 1, 0.0);
    for (int t = 1; t <= steps; ++t) {
        const double T = temperatureNumerator / (std::pow(t + 1.0, qT1) - 1.0);
        stepTemperature[std::size_t(t)] = T;
        stepTemperaturePower[std::size_t(t)] = std::pow(T, temperatureExponent);
    }
}

bool OrvaneGSA::isStopRequested() const
{
    return stopRequested.load(std::memory_order_relaxed) || isStopParametrization.load(std::memory_order_relaxed);
}

void OrvaneGSA::fail(const QString& reason)
{
    lastError = reason;
    fitState = FitState::Failed;
    emit errorOmegaCalculation(lastError);
}

void OrvaneGSA::initializeGSA()
{
    fitState = FitState::Running;
    if (!problem || !x || nParameters < 1) {
        fail(QStringLiteral("The fit has no problem or no parameter vector to work on."));
        return;
    }
    QString reason;
    if (!checkGSAParameters(qA, qT, qV, T0, reason)) {
        problem->startOfParametrization();
        fail(reason);
        return;
    }
    problem->startOfParametrization();

    const std::size_t n = std::size_t(nParameters);
    double* trialPointer = trial.data();
    const int steps = std::max(NStopMax - 1, 1);
    double energyCurrent = 0.0;
    double energyBest = 0.0;

    emit newOmegaCalculation(1);
    int progress = 1;
    for (int run = 0; run < runCount; ++run) {
        GSAini(run);
        const bool tabulated = steps <= maxTabulatedSteps;
        if (run == 0 && tabulated)
            buildSchedule(steps);
        const double acceptanceExponent = 1.0 / qA1;
        std::copy(x, x + n, best.begin());
        std::copy(x, x + n, trial.begin());

        problem->incrementPointsNumber();
        if (!problem->runParametrization(nParameters, x)) {
            fail(problem->getLastError());
            problem->endOfParametrization();
            return;
        }
        if (run == 0) {
            energyCurrent = problem->getResponseFunction();
            energyBest = energyCurrent;
        }

        // One annealing step: no allocation, no I/O.
        for (int t = 1; t <= steps; ++t) {
            const double T = tabulated ? stepTemperature[std::size_t(t)]
                                       : temperatureNumerator / (std::pow(t + 1.0, qT1) - 1.0);
            Gfunction(tabulated ? stepTemperaturePower[std::size_t(t)] : std::pow(T, temperatureExponent), 1.0);

            problem->incrementPointsNumber();
            problem->runParametrization(nParameters, trialPointer); // a failure only means a penalty response
            const double energyNew = problem->getResponseFunction();

            if (energyNew <= energyCurrent) {
                std::copy(trial.begin(), trial.end(), x);
                energyCurrent = energyNew;
                if (energyNew <= energyBest) {
                    energyBest = energyNew;
                    std::copy(trial.begin(), trial.end(), best.begin());
                }
            } else {
                const double p = 1.0 / std::pow(1.0 + qA1 * (energyNew - energyCurrent) / T, acceptanceExponent);
                const double r = ran3(seed);
                if (p > r) {
                    std::copy(trial.begin(), trial.end(), x);
                    energyCurrent = energyNew;
                }
            }

            if (isStopRequested()) {
                // No report: the problem keeps an earlier one and says why.
                problem->stopOfParametrization();
                lastError = problem->getLastError();
                fitState = FitState::Stopped;
                return;
            }
        }

        emit newOmegaCalculation(progress);
        ++progress;
    }
    // Finished only with a result: an end that kept no point or wrote no
    // report is a failure the caller must hear of.
    problem->clearEndFailure();
    problem->endOfParametrization();
    if (problem->hasEndFailed())
        fail(problem->getLastError());
    else
        fitState = FitState::Finished;
}
