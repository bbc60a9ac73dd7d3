#ifndef LITERALJACOBI_H
#define LITERALJACOBI_H

#include "symmetricmatrix.h"

#include <cmath>
#include <memory>
#include <vector>

// The Jacobi diagonaliser written step by step as first designed: the whole
// lower triangle scanned for every pivot, and every rotation building a dense
// intermediate G = R A, a new packed matrix A' = G R^T and a new V' = V R^T.
// SymmetricMatrix::diagonalize must give bitwise the same eigenpairs; the
// benchmark times the two side by side. The stop rules (non-finite values,
// nothing left off the diagonal, the rotation cap) are the same in both.
namespace LiteralJacobi {

inline SymmetricMatrix::Outcome diagonalize(const SymmetricMatrix& matrix, double tolerance,
                                            std::vector<EigenPair>& pairs)
{
    using Outcome = SymmetricMatrix::Outcome;
    pairs.clear();
    const unsigned n = matrix.getSize();
    for (unsigned i = 0; i < n; ++i)
        for (unsigned j = 0; j <= i; ++j)
            if (!std::isfinite(matrix.value(i, j)))
                return Outcome::NonFinite;
    if (n == 0)
        return Outcome::Converged;
    if (n == 1) {
        pairs.push_back(EigenPair{matrix.value(0, 0), {1.0}});
        return Outcome::Converged;
    }

    std::vector<double> V(std::size_t(n) * n, 0.0); // row-major
    for (unsigned i = 0; i < n; ++i)
        V[std::size_t(i) * n + i] = 1.0;
    std::unique_ptr<SymmetricMatrix> working;
    const SymmetricMatrix* A = &matrix;

    for (long rotations = 0;; ++rotations) {
        unsigned p = 0;
        unsigned q = 1;
        double largest = std::fabs(A->value(1, 0));
        for (unsigned j = 1; j < n; ++j)
            for (unsigned k = 0; k < j; ++k)
                if (std::fabs(A->value(j, k)) > largest) {
                    largest = std::fabs(A->value(j, k));
                    p = j;
                    q = k;
                }
        if (largest < std::fabs(tolerance) || largest == 0.0)
            break;
        if (!std::isfinite(A->value(p, q)) || !std::isfinite(A->value(p, p))
            || !std::isfinite(A->value(q, q)))
            return Outcome::NonFinite;
        if (rotations == SymmetricMatrix::maxRotations(n))
            return Outcome::RotationLimit;

        const double theta = (A->value(q, q) - A->value(p, p)) / (2.0 * A->value(p, q));
        double t = 1.0;
        if (theta != 0.0) {
            const double sgn = theta > 0.0 ? 1.0 : -1.0;
            t = 1.0 / (sgn * std::sqrt(theta * theta + 1.0) + theta);
        }
        const double c = 1.0 / std::sqrt(t * t + 1.0);
        const double s = t * c;

        std::vector<double> G(std::size_t(n) * n);
        for (unsigned i = 0; i < n; ++i)
            for (unsigned j = 0; j < n; ++j) {
                double g;
                if (i == p)
                    g = c * A->value(p, j) - s * A->value(q, j);
                else if (i == q)
                    g = c * A->value(q, j) + s * A->value(p, j);
                else
                    g = A->value(i, j);
                G[std::size_t(i) * n + j] = g;
            }
        auto next = std::make_unique<SymmetricMatrix>(n);
        for (unsigned j = 0; j < n; ++j)
            for (unsigned k = 0; k <= j; ++k) {
                const double gjp = G[std::size_t(j) * n + p];
                const double gjq = G[std::size_t(j) * n + q];
                if (k == p)
                    (*next)[j][k] = c * gjp - s * gjq;
                else if (k == q)
                    (*next)[j][k] = s * gjp + c * gjq;
                else
                    (*next)[j][k] = G[std::size_t(j) * n + k];
            }
        working = std::move(next);
        A = working.get();

        std::vector<double> Vnext(V);
        for (unsigned r = 0; r < n; ++r) {
            Vnext[std::size_t(r) * n + p] = c * V[std::size_t(r) * n + p] - s * V[std::size_t(r) * n + q];
            Vnext[std::size_t(r) * n + q] = c * V[std::size_t(r) * n + q] + s * V[std::size_t(r) * n + p];
        }
        V.swap(Vnext);
    }

    for (unsigned w = 0; w < n; ++w)
        if (!std::isfinite(A->value(w, w)))
            return Outcome::NonFinite;
    pairs.resize(n);
    for (unsigned w = 0; w < n; ++w) {
        pairs[w].eigenvalue = A->value(w, w);
        pairs[w].eigenvector.resize(n);
        for (unsigned r = 0; r < n; ++r)
            pairs[w].eigenvector[r] = V[std::size_t(r) * n + w];
    }
    return Outcome::Converged;
}

} // namespace LiteralJacobi

#endif
