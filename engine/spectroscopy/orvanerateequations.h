#ifndef ORVANERATEEQUATIONS_H
#define ORVANERATEEQUATIONS_H

#include "orvaneengine_export.h"

#include <Eigen/Dense>
#include <QString>

namespace OrvaneRateEquations {

// Steady-state populations of a kinetic scheme whose state 0 is the ground
// state: the solution of the balance equations of states 1..N-1 with zero time
// derivative, normalised to sum(N) = 1. rates(i, j) is the rate (s-1) of the
// transition i -> j for i != j; the diagonal is ignored.
//
// Solved by state reduction (Grassmann-Taksar-Heyman), which works with sums
// and products of rates only: transfer and back-transfer rates span twenty
// decades and more, where a factorisation of the linear system loses the small
// populations and even the normalisation to cancellation.
//
// False, with the reason, for a table that is not square or is empty, holds a
// negative or non-finite rate, or has a state from which the ground state
// cannot be reached (the steady state is then not unique, or leaves the ground
// state empty).
ORVANEENGINE_EXPORT bool steadyStatePopulations(const Eigen::MatrixXd& rates, Eigen::VectorXd& populations,
                                                QString& reason);

} // namespace OrvaneRateEquations

#endif
