#include "orvanerateequations.h"

#include <cmath>
#include <vector>

namespace OrvaneRateEquations {

namespace {

// First state (by number) from which no chain of positive rates leads to state
// 0, or -1 when every state reaches it.
Eigen::Index stateThatNeverReturns(const Eigen::MatrixXd& rates)
{
    const Eigen::Index n = rates.rows();
    std::vector<char> returns(std::size_t(n), 0);
    returns[0] = 1;
    for (bool grew = true; grew;) {
        grew = false;
        for (Eigen::Index i = 1; i < n; ++i)
            for (Eigen::Index j = 0; j < n && !returns[std::size_t(i)]; ++j)
                if (j != i && returns[std::size_t(j)] && rates(i, j) > 0.0)
                    returns[std::size_t(i)] = grew = true;
    }
    for (Eigen::Index i = 1; i < n; ++i)
        if (!returns[std::size_t(i)])
            return i;
    return -1;
}

} // namespace

bool steadyStatePopulations(const Eigen::MatrixXd& rates, Eigen::VectorXd& populations, QString& reason)
{
    const Eigen::Index n = rates.rows();
    if (n == 0 || rates.cols() != n) {
        reason = QStringLiteral("The rate table must be square and not empty (%1 x %2 given).")
                     .arg(rates.rows())
                     .arg(rates.cols());
        return false;
    }
    for (Eigen::Index i = 0; i < n; ++i)
        for (Eigen::Index j = 0; j < n; ++j)
            if (i != j && !(std::isfinite(rates(i, j)) && rates(i, j) >= 0.0)) {
                reason = QStringLiteral("The rate of the transition %1 -> %2 is %3; rates must be finite and not "
                                        "negative.")
                             .arg(i)
                             .arg(j)
                             .arg(rates(i, j));
                return false;
            }
    const Eigen::Index lost = stateThatNeverReturns(rates);
    if (lost >= 0) {
        reason = QStringLiteral("The rate equations have no unique steady state: no chain of transitions leads "
                                "from state %1 back to the ground state.")
                     .arg(lost);
        return false;
    }

    // Eliminate states N-1 .. 1: the scheme censored to states 0..k-1 gains,
    // for every i -> k -> j, the rate w(i, k) times the share w(k, j) / s(k) of
    // the way out of k into the states kept. No subtraction occurs.
    Eigen::MatrixXd w = rates;
    w.diagonal().setZero();
    for (Eigen::Index k = n - 1; k > 0; --k) {
        const double out = w.row(k).head(k).sum(); // > 0: state k reaches the ground state
        for (Eigen::Index i = 0; i < k; ++i) {
            if (w(i, k) == 0.0)
                continue;
            const double share = w(i, k) / out;
            for (Eigen::Index j = 0; j < k; ++j)
                if (j != i)
                    w(i, j) += share * w(k, j);
        }
    }
    // Back again: the balance of state k in the scheme censored to 0..k.
    populations.resize(n);
    populations(0) = 1.0;
    for (Eigen::Index k = 1; k < n; ++k)
        populations(k) = populations.head(k).dot(w.col(k).head(k)) / w.row(k).head(k).sum();
    populations /= populations.sum();
    return true;
}

} // namespace OrvaneRateEquations
