#ifndef SYMMETRICMATRIX_H
#define SYMMETRICMATRIX_H

#include <cstddef>
#include <vector>

// One eigenvalue with its eigenvector; component i is the coefficient of basis vector i.
struct EigenPair
{
    double eigenvalue = 0.0;
    std::vector<double> eigenvector;
};

// A real symmetric matrix in packed lower-triangular storage, diagonalised by
// the classical Jacobi method (always rotating away the off-diagonal element
// of largest magnitude). The free-ion levels name each eigenvalue by its place
// on the diagonal after the rotations, so the pivot rule, its tie order and
// the unsorted diagonal order of the result are part of the contract.
// Internal to the engine.
class SymmetricMatrix
{
public:
    // How diagonalize ended.
    enum class Outcome {
        Converged,        // every off-diagonal magnitude below the tolerance
        NonFinite,        // an element is NaN or infinite (given so, or overflowed)
        RotationLimit     // maxRotations(n) rotations did not get there
    };

    // Proxy for one row: row[column] is a writable reference to (row, column),
    // the same storage as (column, row). Indexes are not checked.
    class Row
    {
    public:
        Row(SymmetricMatrix* matrix, unsigned row) : matrix(matrix), row(row) {}
        double& operator[](unsigned column) const { return matrix->data[packedIndex(row, column)]; }

    private:
        SymmetricMatrix* matrix;
        unsigned row;
    };

    // An n x n matrix of zeros.
    explicit SymmetricMatrix(unsigned n);
    virtual ~SymmetricMatrix();
    SymmetricMatrix(const SymmetricMatrix&) = default;
    SymmetricMatrix& operator=(const SymmetricMatrix&) = default;

    unsigned getSize() const { return size; }
    Row operator[](unsigned row) { return Row(this, row); }
    double value(unsigned i, unsigned j) const { return data[packedIndex(i, j)]; }

    // Element (i, j) lives at max(i,j)(max(i,j)+1)/2 + min(i,j).
    static std::size_t packedIndex(unsigned i, unsigned j)
    {
        return i >= j ? std::size_t(i) * (i + 1) / 2 + j : std::size_t(j) * (j + 1) / 2 + i;
    }
    // Cap on the rotations of an n x n matrix: 50 n^2, far beyond what a
    // well-scaled matrix needs.
    static long maxRotations(unsigned n) { return 50L * long(n) * long(n); }

    // Rotates until every off-diagonal magnitude is below |tolerance| (or is
    // exactly zero) and leaves in `pairs` the n eigenpairs in the order of the
    // final diagonal (none for n = 0). The matrix itself is not changed.
    // Anything but Converged leaves `pairs` empty.
    Outcome diagonalize(double tolerance, std::vector<EigenPair>& pairs) const;

private:
    unsigned size;
    std::vector<double> data;
};

#endif
