#include "symmetricmatrix.h"

#include <algorithm>
#include <cmath>

namespace {

// One Jacobi rotation of pairs of elements: x on the p side, y on the q side,
// x' = c x - s y and y' = s x + c y. The same expressions serve rows of A and
// of V (V'(r,q) = c V(r,q) + s V(r,p) is the same sum in the other order).
void rotatePairs(double* __restrict x, double* __restrict y, unsigned count, double c, double s)
{
    for (unsigned i = 0; i < count; ++i) {
        const double xi = x[i];
        const double yi = y[i];
        x[i] = c * xi - s * yi;
        y[i] = s * xi + c * yi;
    }
}

} // namespace

SymmetricMatrix::SymmetricMatrix(unsigned n) : size(n), data(std::size_t(n) * (n + 1) / 2, 0.0)
{
}

SymmetricMatrix::~SymmetricMatrix() = default;

// The rotations work in place on one packed copy, and each row keeps its
// largest off-diagonal magnitude (and the first column holding it), so a
// pivot search costs n comparisons instead of a scan of the whole triangle.
// Every element is formed by the same floating-point operations, in the same
// order, as the textbook step A' = R A R^T through a dense intermediate, so
// the pivots, the tie order and the eigenpairs are bitwise those of that step.
SymmetricMatrix::Outcome SymmetricMatrix::diagonalize(double tolerance,
                                                      std::vector<EigenPair>& pairs) const
{
    pairs.clear();
    for (const double x : data)
        if (!std::isfinite(x))
            return Outcome::NonFinite;
    const unsigned n = size;
    if (n == 0)
        return Outcome::Converged;
    if (n == 1) {
        pairs.push_back(EigenPair{data[0], {1.0}});
        return Outcome::Converged;
    }

    std::vector<double> a(data);
    // Eigenvector w is row w of `v` (column w of the textbook V), so that a
    // rotation updates two contiguous rows.
    std::vector<double> v(std::size_t(n) * n, 0.0);
    for (unsigned w = 0; w < n; ++w)
        v[std::size_t(w) * n + w] = 1.0;
    std::vector<std::size_t> rowStart(n);
    for (unsigned i = 0; i < n; ++i)
        rowStart[i] = std::size_t(i) * (i + 1) / 2;

    // Largest |A(j,k)|, k < j, and its first column; -1 when none is a number.
    std::vector<double> rowMax(n, -1.0);
    std::vector<unsigned> rowArg(n, 0);
    auto scanRow = [&](unsigned j) {
        const double* row = a.data() + rowStart[j];
        double best = -1.0;
        for (unsigned k = 0; k < j; ++k)
            best = std::max(best, std::fabs(row[k])); // a NaN is passed over
        unsigned arg = 0;
        for (unsigned k = 0; k < j; ++k)
            if (std::fabs(row[k]) == best) {
                arg = k;
                break;
            }
        rowMax[j] = best;
        rowArg[j] = arg;
    };
    // The magnitude of a changed element of a row whose maximum lies elsewhere.
    // Written without branches: which way it goes is hard to predict.
    auto offerToRow = [&](unsigned j, unsigned column, double m) {
        const double current = rowMax[j];
        const unsigned arg = rowArg[j];
        const bool take = (m > current) | ((m == current) & (column < arg));
        rowMax[j] = take ? m : current;
        rowArg[j] = take ? column : arg;
    };
    for (unsigned j = 1; j < n; ++j)
        scanRow(j);

    const double limit = std::fabs(tolerance);
    const long cap = maxRotations(n);
    for (long rotations = 0;; ++rotations) {
        // The search starts from (p, q) = (0, 1) with |A(1,0)|; a later element
        // wins only when strictly larger.
        unsigned p = 0;
        unsigned q = 1;
        double best = std::fabs(a[1]);
        unsigned bestRow = 0;
        for (unsigned j = 1; j < n; ++j) {
            const bool larger = rowMax[j] > best;
            best = larger ? rowMax[j] : best;
            bestRow = larger ? j : bestRow;
        }
        if (bestRow != 0) {
            p = bestRow;
            q = rowArg[bestRow];
        }
        // With nothing left off the diagonal there is no rotation to make,
        // whatever the tolerance (a zero pivot would give 0/0).
        if (best < limit || best == 0.0)
            break;

        double& pivot = a[packedIndex(p, q)];
        double& diagonalP = a[rowStart[p] + p];
        double& diagonalQ = a[rowStart[q] + q];
        const double apq = pivot;
        const double app = diagonalP;
        const double aqq = diagonalQ;
        if (!std::isfinite(apq) || !std::isfinite(app) || !std::isfinite(aqq))
            return Outcome::NonFinite;
        if (rotations == cap)
            return Outcome::RotationLimit;

        const double theta = (aqq - app) / (2.0 * apq);
        double t = 1.0;
        if (theta != 0.0) {
            const double sign = theta > 0.0 ? 1.0 : -1.0;
            t = 1.0 / (sign * std::sqrt(theta * theta + 1.0) + theta);
        }
        const double c = 1.0 / std::sqrt(t * t + 1.0);
        const double s = t * c;

        // Rows p and q of R A.
        const double gpp = c * app - s * apq;
        const double gpq = c * apq - s * aqq;
        const double gqp = c * apq + s * app;
        const double gqq = c * aqq + s * apq;
        diagonalP = c * gpp - s * gpq;
        diagonalQ = s * gqp + c * gqq;
        pivot = p > q ? s * gpp + c * gpq : c * gqp - s * gqq;

        // Columns p and q of every other row; (j,p) and (j,q) sit in row j
        // beyond the smaller of p and q, in the rows p and q before it.
        const unsigned lo = p < q ? p : q;
        const unsigned hi = p < q ? q : p;
        double* rowLo = a.data() + rowStart[lo];
        double* rowHi = a.data() + rowStart[hi];
        if (p == lo)
            rotatePairs(rowLo, rowHi, lo, c, s);
        else
            rotatePairs(rowHi, rowLo, lo, c, s);
        for (unsigned j = lo + 1; j < hi; ++j) {
            double* row = a.data() + rowStart[j];
            if (p == lo)
                rotatePairs(row + lo, rowHi + j, 1, c, s);
            else
                rotatePairs(rowHi + j, row + lo, 1, c, s);
            const double m = std::fabs(row[lo]);
            if (rowArg[j] != lo)
                offerToRow(j, lo, m);
            else if (m >= rowMax[j])
                rowMax[j] = m;
            else
                scanRow(j);
        }
        for (unsigned j = hi + 1; j < n; ++j) {
            double* row = a.data() + rowStart[j];
            if (p == lo)
                rotatePairs(row + lo, row + hi, 1, c, s);
            else
                rotatePairs(row + hi, row + lo, 1, c, s);
            const unsigned arg = rowArg[j];
            if (arg != lo && arg != hi) {
                offerToRow(j, lo, std::fabs(row[lo]));
                offerToRow(j, hi, std::fabs(row[hi]));
                continue;
            }
            // The row's maximum moved: it stays where it was unless it shrank.
            const double m = std::fabs(row[arg]);
            if (m >= rowMax[j]) {
                rowMax[j] = m;
                const unsigned other = arg == lo ? hi : lo;
                offerToRow(j, other, std::fabs(row[other]));
            } else {
                scanRow(j);
            }
        }
        scanRow(lo);
        scanRow(hi);

        // V' = V R^T on columns p and q, which are rows p and q here.
        rotatePairs(v.data() + std::size_t(p) * n, v.data() + std::size_t(q) * n, n, c, s);
    }

    // An overflow on the diagonal leaves the off-diagonal part at rest.
    for (unsigned w = 0; w < n; ++w)
        if (!std::isfinite(a[rowStart[w] + w]))
            return Outcome::NonFinite;
    pairs.resize(n);
    for (unsigned w = 0; w < n; ++w) {
        pairs[w].eigenvalue = a[rowStart[w] + w];
        pairs[w].eigenvector.assign(v.begin() + std::ptrdiff_t(w) * n,
                                    v.begin() + std::ptrdiff_t(w + 1) * n);
    }
    return Outcome::Converged;
}
