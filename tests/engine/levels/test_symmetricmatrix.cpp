#include "literaljacobi.h"
#include "symmetricmatrix.h"

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using Outcome = SymmetricMatrix::Outcome;

const double inverseRoot2 = 1.0 / std::sqrt(2.0);

SymmetricMatrix fromRows(const std::vector<std::vector<double>>& rows)
{
    SymmetricMatrix m(unsigned(rows.size()));
    for (unsigned i = 0; i < rows.size(); ++i)
        for (unsigned j = 0; j <= i; ++j)
            m[i][j] = rows[i][j];
    return m;
}

std::vector<double> diagonalOf(const std::vector<EigenPair>& pairs)
{
    std::vector<double> values;
    for (const EigenPair& pair : pairs)
        values.push_back(pair.eigenvalue);
    return values;
}

// Uniform entries in [-1, 1), or (levelLike) an f^N-like block: diagonal
// energies spread over 0..40000 cm^-1 with couplings of a few hundred.
SymmetricMatrix randomMatrix(unsigned n, std::mt19937_64& engine, bool levelLike)
{
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    SymmetricMatrix m(n);
    for (unsigned i = 0; i < n; ++i)
        for (unsigned j = 0; j <= i; ++j)
            m[i][j] = levelLike ? (i == j ? 20000.0 * (unit(engine) + 1.0) : 300.0 * unit(engine))
                                : unit(engine);
    return m;
}

// Small integers: many off-diagonal elements share the largest magnitude, so
// the tie order of the pivot search decides the path.
SymmetricMatrix tiedMatrix(unsigned n, std::mt19937_64& engine, int largest = 2)
{
    std::uniform_int_distribution<int> small(-largest, largest);
    SymmetricMatrix m(n);
    for (unsigned i = 0; i < n; ++i)
        for (unsigned j = 0; j <= i; ++j)
            m[i][j] = small(engine);
    return m;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSameBits(const std::vector<EigenPair>& fast, const std::vector<EigenPair>& literal)
{
    ASSERT_EQ(fast.size(), literal.size());
    for (std::size_t w = 0; w < fast.size(); ++w) {
        ASSERT_TRUE(sameBits(fast[w].eigenvalue, literal[w].eigenvalue))
            << "pair " << w << ": " << fast[w].eigenvalue << " vs " << literal[w].eigenvalue;
        ASSERT_EQ(fast[w].eigenvector.size(), literal[w].eigenvector.size());
        for (std::size_t r = 0; r < fast[w].eigenvector.size(); ++r)
            ASSERT_TRUE(sameBits(fast[w].eigenvector[r], literal[w].eigenvector[r]))
                << "pair " << w << " component " << r;
    }
}

} // namespace

TEST(SymmetricMatrix, PackedStorageSharesMirroredElements)
{
    SymmetricMatrix m(3);
    m[2][0] = 5.0;
    m[0][1] = -1.5;
    EXPECT_EQ(m.value(0, 2), 5.0);
    EXPECT_EQ(m.value(1, 0), -1.5);
    m[2][0] = 7.0;
    EXPECT_EQ(m.value(0, 2), 7.0);
    EXPECT_EQ(SymmetricMatrix::packedIndex(2, 0), 3u);
    EXPECT_EQ(SymmetricMatrix::packedIndex(0, 2), 3u);
    EXPECT_EQ(SymmetricMatrix::packedIndex(2, 2), 5u);
}

// [[1, 2], [2, 1]]: theta = 0 and t = 1 at the pivot (0, 1), by hand
// A'(0,0) = c^2 - 4cs + s^2 = -1, A'(1,1) = 3, v0 = (c, -s), v1 = (s, c).
TEST(SymmetricMatrix, TwoByTwoByHand)
{
    const SymmetricMatrix m = fromRows({{1.0}, {2.0, 1.0}});
    std::vector<EigenPair> pairs;
    ASSERT_EQ(m.diagonalize(1e-10, pairs), Outcome::Converged);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_NEAR(pairs[0].eigenvalue, -1.0, 1e-15);
    EXPECT_NEAR(pairs[1].eigenvalue, 3.0, 1e-15);
    EXPECT_NEAR(pairs[0].eigenvector[0], inverseRoot2, 1e-15);
    EXPECT_NEAR(pairs[0].eigenvector[1], -inverseRoot2, 1e-15);
    EXPECT_NEAR(pairs[1].eigenvector[0], inverseRoot2, 1e-15);
    EXPECT_NEAR(pairs[1].eigenvector[1], inverseRoot2, 1e-15);
}

// Zero diagonal, off-diagonal elements of magnitude 1 where `ties` says, and a
// tolerance that lets exactly one rotation happen (what it leaves behind is
// 1/sqrt(2) at most). With theta = 0 the rotation in the (p, q) plane puts
// -1 on A(p,p) and +1 on A(q,q), so the diagonal shows which pivot was taken.
TEST(SymmetricMatrix, PivotTieGoesToFirstInRowByRowScan)
{
    struct Case
    {
        const char* what;
        std::vector<std::vector<double>> rows;
        std::vector<double> diagonal;
    };
    const Case cases[] = {
        // (1,0) ties (2,0): the search starts at (p, q) = (0, 1).
        {"(1,0) against (2,0)", {{0}, {1, 0}, {1, 0, 0}}, {-1, 1, 0}},
        // (2,0) ties (2,1): (2,0) comes first in row 2, pivot (p, q) = (2, 0).
        {"(2,0) against (2,1)", {{0}, {0, 0}, {1, -1, 0}}, {1, 0, -1}},
        // (2,1) ties (3,2): row 2 comes first, pivot (2, 1).
        {"(2,1) against (3,2)", {{0}, {0, 0}, {0, 1, 0}, {0, 0, 1, 0}}, {0, 1, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SymmetricMatrix m = fromRows(c.rows);
        std::vector<EigenPair> pairs;
        ASSERT_EQ(m.diagonalize(0.75, pairs), Outcome::Converged);
        EXPECT_EQ(diagonalOf(pairs).size(), c.diagonal.size());
        for (std::size_t w = 0; w < c.diagonal.size(); ++w)
            EXPECT_NEAR(pairs[w].eigenvalue, c.diagonal[w], 1e-15) << "position " << w;
    }
}

TEST(SymmetricMatrix, EmptyOneByOneAndDiagonalNeedNoRotation)
{
    std::vector<EigenPair> pairs{EigenPair{}};
    EXPECT_EQ(SymmetricMatrix(0).diagonalize(1e-10, pairs), Outcome::Converged);
    EXPECT_TRUE(pairs.empty());

    const SymmetricMatrix one = fromRows({{-4.25}});
    ASSERT_EQ(one.diagonalize(1e-10, pairs), Outcome::Converged);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].eigenvalue, -4.25);
    EXPECT_EQ(pairs[0].eigenvector, std::vector<double>{1.0});

    // Off-diagonal elements below the tolerance (or exactly zero, whatever
    // the tolerance) are left alone: the diagonal in its own order, unsorted.
    const SymmetricMatrix diagonal = fromRows({{3.0}, {1e-12, -2.0}, {0.0, -5e-11, 7.0}});
    for (const double tolerance : {1e-10, 0.0}) {
        SCOPED_TRACE(tolerance);
        const SymmetricMatrix& m = tolerance == 0.0 ? fromRows({{3.0}, {0.0, -2.0}, {0.0, 0.0, 7.0}})
                                                    : diagonal;
        ASSERT_EQ(m.diagonalize(tolerance, pairs), Outcome::Converged);
        ASSERT_EQ(pairs.size(), 3u);
        EXPECT_EQ(diagonalOf(pairs), (std::vector<double>{3.0, -2.0, 7.0}));
        for (unsigned w = 0; w < 3; ++w)
            for (unsigned r = 0; r < 3; ++r)
                EXPECT_EQ(pairs[w].eigenvector[r], r == w ? 1.0 : 0.0);
    }
}

// Eigenvalues against Eigen's solver; each pair is an eigenpair of the input
// (residual), the vectors are orthonormal, and the input is left untouched so
// that a second call gives the same bits.
TEST(SymmetricMatrix, RandomMatricesAgreeWithEigen)
{
    std::mt19937_64 engine(20261210);
    for (const unsigned n : {2u, 3u, 5u, 8u, 14u, 19u, 24u, 37u, 46u, 50u}) {
        for (const bool levelLike : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "n = " << n << (levelLike ? " level-like" : " uniform"));
            const SymmetricMatrix m = randomMatrix(n, engine, levelLike);
            Eigen::MatrixXd dense(n, n);
            for (unsigned i = 0; i < n; ++i)
                for (unsigned j = 0; j < n; ++j)
                    dense(i, j) = m.value(i, j);
            const SymmetricMatrix before = m;

            std::vector<EigenPair> pairs;
            ASSERT_EQ(m.diagonalize(1e-10, pairs), Outcome::Converged);
            ASSERT_EQ(pairs.size(), n);

            const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(dense);
            std::vector<double> ours = diagonalOf(pairs);
            std::sort(ours.begin(), ours.end());
            const double scale = dense.cwiseAbs().maxCoeff();
            for (unsigned w = 0; w < n; ++w)
                EXPECT_NEAR(ours[w], solver.eigenvalues()(w),
                            1e-9 * std::max(std::fabs(solver.eigenvalues()(w)), 1e-3 * scale));

            Eigen::MatrixXd vectors(n, n);
            for (unsigned w = 0; w < n; ++w)
                for (unsigned r = 0; r < n; ++r)
                    vectors(r, w) = pairs[w].eigenvector[r];
            for (unsigned w = 0; w < n; ++w) {
                const Eigen::VectorXd residual = dense * vectors.col(w) - pairs[w].eigenvalue * vectors.col(w);
                EXPECT_LT(residual.norm(), 1e-9 * scale) << "pair " << w;
            }
            EXPECT_LT((vectors.transpose() * vectors - Eigen::MatrixXd::Identity(n, n)).cwiseAbs().maxCoeff(), 1e-12);

            for (unsigned i = 0; i < n; ++i)
                for (unsigned j = 0; j <= i; ++j)
                    ASSERT_TRUE(sameBits(m.value(i, j), before.value(i, j)));
            std::vector<EigenPair> again;
            ASSERT_EQ(m.diagonalize(1e-10, again), Outcome::Converged);
            for (unsigned w = 0; w < n; ++w) {
                ASSERT_TRUE(sameBits(again[w].eigenvalue, pairs[w].eigenvalue));
                ASSERT_EQ(std::memcmp(again[w].eigenvector.data(), pairs[w].eigenvector.data(), n * sizeof(double)), 0);
            }
        }
    }
}

// The in-place rotation with row maxima against the literal rotation: the same
// pivots in the same order give the same bits in every eigenpair.
TEST(SymmetricMatrix, FastRotationMatchesLiteralBitForBit)
{
    std::mt19937_64 engine(4606);
    for (const unsigned n : {2u, 3u, 4u, 7u, 11u, 14u, 19u, 24u, 37u, 46u}) {
        for (int kind = 0; kind < 3; ++kind) {
            SCOPED_TRACE(::testing::Message() << "n = " << n << " kind " << kind);
            const SymmetricMatrix m = kind == 2 ? tiedMatrix(n, engine) : randomMatrix(n, engine, kind == 1);
            std::vector<EigenPair> fast;
            std::vector<EigenPair> literal;
            const Outcome fastOutcome = m.diagonalize(1e-10, fast);
            ASSERT_EQ(fastOutcome, LiteralJacobi::diagonalize(m, 1e-10, literal));
            ASSERT_EQ(fastOutcome, Outcome::Converged);
            expectSameBits(fast, literal);
        }
    }
    // The first rotation, (2,0) by 45 degrees, makes A(3,0) = c + c, exactly
    // the unchanged A(3,1) = 2c: row 3 must now offer column 0, met first.
    {
        const double c = 1.0 / std::sqrt(2.0);
        const SymmetricMatrix m = fromRows({{0}, {0, 0}, {2, 0, 0}, {1, 2 * c, 1, 0}});
        std::vector<EigenPair> fast;
        std::vector<EigenPair> literal;
        ASSERT_EQ(m.diagonalize(1e-10, fast), Outcome::Converged);
        ASSERT_EQ(LiteralJacobi::diagonalize(m, 1e-10, literal), Outcome::Converged);
        expectSameBits(fast, literal);
    }
    // Entries -1, 0 and 1: rotations by 45 degrees keep producing equal
    // magnitudes, also between elements the row maxima must order by column.
    for (int trial = 0; trial < 400; ++trial) {
        const unsigned n = 3 + trial % 6;
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ", n = " << n);
        const SymmetricMatrix m = tiedMatrix(n, engine, 1);
        std::vector<EigenPair> fast;
        std::vector<EigenPair> literal;
        const Outcome fastOutcome = m.diagonalize(1e-10, fast);
        ASSERT_EQ(fastOutcome, LiteralJacobi::diagonalize(m, 1e-10, literal));
        expectSameBits(fast, literal);
    }
}

// A matrix holding NaN or infinity, one that overflows while rotating, and one
// whose rotations stall (theta^2 overflows, so t = 0 and nothing moves) are
// reported instead of looping for ever or passing off non-numbers.
TEST(SymmetricMatrix, FailuresAreReported)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        const char* what;
        std::vector<std::vector<double>> rows;
        Outcome outcome;
    };
    const Case cases[] = {
        {"NaN off the diagonal", {{1.0}, {0.5, 2.0}, {nan, 0.25, 3.0}}, Outcome::NonFinite},
        {"NaN at (1,0)", {{1.0}, {nan, 2.0}}, Outcome::NonFinite},
        {"NaN on the diagonal", {{nan}, {0.5, 2.0}}, Outcome::NonFinite},
        {"infinity", {{1.0}, {-inf, 2.0}}, Outcome::NonFinite},
        {"overflow while rotating", {{1e308}, {1e308, 1e308}}, Outcome::NonFinite},
        {"stalled rotation", {{0.0}, {1e-5, 1e200}}, Outcome::RotationLimit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SymmetricMatrix m = fromRows(c.rows);
        std::vector<EigenPair> pairs{EigenPair{}};
        EXPECT_EQ(m.diagonalize(1e-10, pairs), c.outcome);
        EXPECT_TRUE(pairs.empty());
    }
}
