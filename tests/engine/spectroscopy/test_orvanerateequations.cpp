// The steady-state solve of a rate table, on schemes small enough to solve by
// hand and on tables it must refuse.

#include "orvanerateequations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using OrvaneRateEquations::steadyStatePopulations;

namespace {

// Every balance equation of states 1..N-1 (inflow minus outflow) relative to
// the size of its terms.
double worstBalance(const Eigen::MatrixXd& w, const Eigen::VectorXd& x)
{
    double worst = 0.0;
    for (Eigen::Index i = 1; i < w.rows(); ++i) {
        double in = 0.0, out = 0.0;
        for (Eigen::Index j = 0; j < w.rows(); ++j)
            if (j != i) {
                in += w(j, i) * x(j);
                out += w(i, j) * x(i);
            }
        if (in + out > 0.0)
            worst = std::max(worst, std::abs(in - out) / (in + out));
    }
    return worst;
}

} // namespace

// Ground G, excited X, emitter E: G -> X (a), X -> G (b), X -> E (c), E -> G (d).
// Balance of X: a N_G = (b + c) N_X; of E: c N_X = d N_E; with N_G + N_X + N_E = 1:
//   N_G = 1 / (1 + a/(b+c) + a c/((b+c) d)).
TEST(RateEquations, ThreeLevelSchemeSolvedByHand)
{
    struct Case {
        double a, b, c, d;
    };
    const Case cases[] = {
        {1e4, 1e6, 1e8, 1e3},   // fast feeding of a slow emitter: E holds most of it
        {1e4, 1e6, 0.0, 1e3},   // no transfer: the emitter stays empty
        {2.0, 3.0, 5.0, 7.0},
    };
    for (const Case& c : cases) {
        Eigen::MatrixXd w = Eigen::MatrixXd::Zero(3, 3);
        w(0, 1) = c.a;
        w(1, 0) = c.b;
        w(1, 2) = c.c;
        w(2, 0) = c.d;
        w(1, 1) = 123.0; // the diagonal is not read
        Eigen::VectorXd x;
        QString reason;
        ASSERT_TRUE(steadyStatePopulations(w, x, reason)) << reason.toStdString();
        const double g = 1.0 / (1.0 + c.a / (c.b + c.c) + c.a * c.c / ((c.b + c.c) * c.d));
        const double excited = g * c.a / (c.b + c.c);
        EXPECT_NEAR(x(0) / g, 1.0, 1e-12);
        EXPECT_NEAR(x(1) / excited, 1.0, 1e-12);
        EXPECT_NEAR(x(2), excited * c.c / c.d, 1e-12 * std::max(1.0, x(2)));
        EXPECT_NEAR(x.sum(), 1.0, 1e-14);
    }
}

// Rates over sixteen decades, as back-transfer into a level far above its donor
// gives them. A Householder QR of the normalised linear system returns here
// populations that add up to 0.99997.
TEST(RateEquations, WideRangeOfRatesKeepsEveryEquation)
{
    Eigen::MatrixXd w = Eigen::MatrixXd::Zero(5, 5);
    w(0, 1) = 1e4;
    w(1, 0) = 1e6;
    w(1, 2) = 1e8;
    w(2, 0) = 1e5;
    w(2, 3) = 3e14;
    w(3, 2) = 4e20;  // back-transfer of a level above its donor
    w(3, 4) = 1e6;
    w(4, 2) = 2e2;
    w(4, 0) = 1.2e3;
    Eigen::VectorXd x;
    QString reason;
    ASSERT_TRUE(steadyStatePopulations(w, x, reason)) << reason.toStdString();
    EXPECT_NEAR(x.sum(), 1.0, 1e-14);
    EXPECT_LT(worstBalance(w, x), 1e-9);
    EXPECT_GT(x.minCoeff(), 0.0);
}

TEST(RateEquations, RefusesTablesWithoutAUniqueSteadyState)
{
    struct Case {
        const char* name;
        Eigen::MatrixXd w;
    };
    Eigen::MatrixXd trap = Eigen::MatrixXd::Zero(3, 3);
    trap(0, 1) = 1e4;
    trap(1, 0) = 1e6; // state 2 is neither entered nor left
    Eigen::MatrixXd sink = Eigen::MatrixXd::Zero(3, 3);
    sink(0, 1) = 1e4;
    sink(1, 2) = 1e8; // everything ends in state 2, and the ground state empties
    Eigen::MatrixXd isolated = Eigen::MatrixXd::Zero(4, 4);
    isolated(0, 1) = 1.0;
    isolated(1, 0) = 1.0;
    isolated(2, 3) = 1.0; // a closed pair that the ground state never reaches
    isolated(3, 2) = 1.0;
    Eigen::MatrixXd negative = Eigen::MatrixXd::Zero(2, 2);
    negative(0, 1) = 1.0;
    negative(1, 0) = -1.0;
    Eigen::MatrixXd notFinite = Eigen::MatrixXd::Zero(2, 2);
    notFinite(0, 1) = std::numeric_limits<double>::quiet_NaN();
    notFinite(1, 0) = 1.0;
    const Case cases[] = {
        {"untouched state", trap},
        {"state never left", sink},
        {"closed pair", isolated},
        {"negative rate", negative},
        {"rate not a number", notFinite},
        {"not square", Eigen::MatrixXd::Ones(2, 3)},
        {"empty", Eigen::MatrixXd()},
    };
    for (const Case& c : cases) {
        Eigen::VectorXd x;
        QString reason;
        EXPECT_FALSE(steadyStatePopulations(c.w, x, reason)) << c.name << ": " << x.transpose();
        EXPECT_FALSE(reason.isEmpty()) << c.name;
    }
}
