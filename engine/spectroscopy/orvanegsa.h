#ifndef ORVANEGSA_H
#define ORVANEGSA_H

#include "orvaneabstractobjcalculation.h"

#include <QString>

#include <atomic>
#include <vector>

class OrvaneAbstractParametric;

// Generalized simulated annealing: minimises the response of a problem
// (OrvaneAbstractParametric) over its parameter vector in 15 runs of NStopMax
// steps each, every run restarting the temperature at T0 from the current
// point. The random numbers come from the subtractive generator ran3, seeded
// per run, so that a fit on a new driver is reproducible.
//
// Built on the GUI thread, run on a worker thread (initializeGSA), stopped
// through its own requestStop (one fit) or the static flag
// isStopParametrization (every fit). The caller's vector ends holding the
// last accepted point; the problem keeps its own best point.
class ORVANEENGINE_EXPORT OrvaneGSA : public OrvaneAbstractObjCalculation
{
    Q_OBJECT
public:
    // How the last initializeGSA ended, so that a caller can tell a finished
    // fit (report written) from a stopped or failed one.
    enum class FitState { NotStarted, Running, Finished, Stopped, Failed };

    // Request to stop every fit at once, for a caller that runs fits itself:
    // read by every worker after every annealing step, cleared by every new
    // driver. The graphical program never writes it: it stops each fit
    // through that fit's own driver (requestStop), so that cancelling one
    // page's fit leaves another page's running. A request only, so relaxed
    // order is enough.
    static std::atomic<bool> isStopParametrization;

    OrvaneGSA(QObject* parent, const int& nParameters, double*& parameters,
        OrvaneAbstractParametric*& problem);
    ~OrvaneGSA() override;

    // Runs the whole fit on the calling thread; returns when done, stopped or failed.
    void initializeGSA();
    // Asks this driver's fit, and no other, to stop after its current
    // annealing step; from any thread. A request made before the fit starts
    // stops it after its first step.
    void requestStop() { stopRequested.store(true, std::memory_order_relaxed); }
    bool isStopRequested() const;
    // Note the order: qT before qV. Values that make the formulas undefined
    // (qA, qT or qV of 1, qV of 3, a visiting amplitude that is not finite,
    // T0 not above 0, anything not finite) are refused: false, the previous
    // values kept and the reason in the last error.
    bool setGSAParameters(const double& qA, const double& qT, const double& qV, const double& T0);
    void setNStopMax(const int& n);
    FitState getFitState() const { return fitState; }

    // The same test as setGSAParameters, for values written directly.
    static bool checkGSAParameters(const double& qA, const double& qT, const double& qV,
        const double& T0, QString& reason);
    // T at step t of a run: T0 (2^(qT-1) - 1) / ((t+1)^(qT-1) - 1).
    static double temperature(const double& T0, const double& qT, const int& t);
    // Probability of accepting a rise deltaE of the response at temperature T:
    // 1 / (1 + (qA-1) deltaE / T)^(1/(qA-1)).
    static double acceptanceProbability(const double& qA, const double& deltaE, const double& T);

    // The subtractive generator of Knuth as published in Numerical Recipes
    // (ran3): a uniform number in [0, 1). A negative seed, or a generator not
    // yet initialised, re-initialises it from 161803398 - |seed| and sets the
    // seed to 1. Public so that its sequence can be checked.
    double ran3(int& seed);

    // Written directly by the forms.
    int NStopMax = 15000;
    double qA = 2.5;
    double qV = 2.5;
    double qT = 2.5;
    double T0 = 10.0;

signals:
    void newOmegaCalculation(int i);
    void errorOmegaCalculation(QString error);

private:
    void GSAini(const int& run);
    void Gfunction(const double& temperaturePower, const double& amplitudeScale);
    void buildSchedule(int steps);
    void reserveSchedule();
    static double dGamma(const double& x);
    void fail(const QString& reason);

    OrvaneAbstractParametric* problem = nullptr;

    // State of ran3: the working values, the initialised flag, the two table
    // indices and the table (entries 1 to 55 used).
    int mj = 0;
    int mk = 0;
    int iff = 0;
    int inext = 0;
    int inextp = 0;
    int ma[56] = {};
    int seed = 0;

    int nParameters = 0;

    // Derived at the start of every run.
    double qA1 = 0.0;
    double qV1 = 0.0;
    double qT1 = 0.0;
    double temperatureNumerator = 0.0;
    double visitingExponent = 0.0;
    double temperatureExponent = 0.0;
    double visitingAmplitude = 0.0;

    double* x = nullptr;       // the caller's vector, not owned
    std::vector<double> trial; // trial point
    std::vector<double> best;  // lowest accepted point (bookkeeping only)
    // The temperature of each step and its power 2/(3 - qV): the same in every
    // run, so computed once per fit instead of once per step of every run.
    std::vector<double> stepTemperature;
    std::vector<double> stepTemperaturePower;
    FitState fitState = FitState::NotStarted;
    std::atomic<bool> stopRequested {false};
};

#endif
