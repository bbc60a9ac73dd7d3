#ifndef TOYPROBLEMS_H
#define TOYPROBLEMS_H

// Small fit problems for the annealing-driver tests: a response known in
// closed form, a record of every point the driver hands over, and switches
// that make an evaluation fail or request a stop.

#include "orvaneabstractparametric.h"
#include "orvanegsa.h"

#include <functional>
#include <vector>

class ToyProblem : public OrvaneAbstractParametric
{
public:
    using Response = std::function<double(const double*)>;

    explicit ToyProblem(Response response, bool record = true)
        : response(std::move(response))
        , record(record)
    {
    }

    bool runParametrization(const int& n, double*& x) override
    {
        OrvaneAbstractParametric::runParametrization(n, x);
        ++evaluations;
        if (record)
            points.emplace_back(x, x + n);
        if (evaluations == stopAtEvaluation)
            OrvaneGSA::isStopParametrization.store(true);
        responseFunction = response(x);
        if (evaluations == failAtEvaluation || (failEveryStep && !firstOfRun())) {
            lastError = QStringLiteral("evaluation %1 failed").arg(evaluations);
            responseFunction = 1e20;
            return false;
        }
        if (responseFunction < bestResponse) {
            bestResponse = responseFunction;
            best.assign(x, x + n);
        }
        return true;
    }
    void endOfParametrization() override { ++endCalls; }
    void forgetEarlierFit() override { ++startCalls; }

    // Whether the evaluation just made was the first of a run (given NStopMax).
    bool firstOfRun() const { return stepsPerRun > 0 && (evaluations - 1) % stepsPerRun == 0; }

    Response response;
    bool record = true;
    std::vector<std::vector<double>> points;
    std::vector<double> best;
    int evaluations = 0;
    int failAtEvaluation = -1;
    bool failEveryStep = false;
    int stepsPerRun = 0;
    int stopAtEvaluation = -1;
    int endCalls = 0;
    int startCalls = 0;
};

inline double quadratic(const double* x)
{
    // Grouped as the reference script computes it, so that ties break alike.
    return (x[0] - 1.0) * (x[0] - 1.0) + 2.0 * ((x[1] + 0.5) * (x[1] + 0.5));
}

inline double bowl(const double* x)
{
    return (x[0] - 0.3) * (x[0] - 0.3) + (x[1] - 2.0) * (x[1] - 2.0) + 0.5 * ((x[2] + 1.0) * (x[2] + 1.0));
}

#endif
