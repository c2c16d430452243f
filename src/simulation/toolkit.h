// The simulation's numerical toolkit: matrices and vectors with arbitrary index ranges, the
// two-array sort, the symmetric eigen-solver (Householder reduction and QL with implicit shifts)
// and exact integer combinatorics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace pelvaron::simulation {

/// The engine goes on past some failures (a subsystem that cannot be computed, an eigenvalue slow
/// to converge), so it hands back every message it gave, as a `Messages` list.
using pelvaron::Messages;

/// Decides whether an allocation of the engine may go ahead. Real failures arrive as
/// std::bad_alloc and are reported the same way; tests refuse chosen allocations to walk the
/// failure paths. `failureMessage` is the text that would be shown if it fails.
class AllocationGate {
public:
    virtual ~AllocationGate() = default;
    [[nodiscard]] virtual bool allow(std::string_view failureMessage) const = 0;
};

/// A matrix with index ranges [rl..rh] x [cl..ch]; rows are pointers into one contiguous block,
/// so row(i) is contiguous for fixed i.
template <typename T>
class RangeMatrix {
public:
    T& operator()(int i, int j) { return rows_[static_cast<std::size_t>(i - rl_)][j - cl_]; }
    T operator()(int i, int j) const { return rows_[static_cast<std::size_t>(i - rl_)][j - cl_]; }
    /// Pointer to element (i, colLow()).
    T* row(int i) { return rows_[static_cast<std::size_t>(i - rl_)]; }
    const T* row(int i) const { return rows_[static_cast<std::size_t>(i - rl_)]; }
    [[nodiscard]] int rowLow() const { return rl_; }
    [[nodiscard]] int rowHigh() const { return rh_; }
    [[nodiscard]] int colLow() const { return cl_; }
    [[nodiscard]] int colHigh() const { return ch_; }
    [[nodiscard]] bool empty() const { return block_.empty(); }
    void release() {
        block_ = {};
        rows_ = {};
        rl_ = cl_ = 0;
        rh_ = ch_ = -1;
    }

    /// Allocates zeroed storage without telling anybody (the old contents are gone either way):
    /// 0 on success, 1 when the row pointers (or an empty range) failed, 2 when the block did.
    /// `failureMessage1/2` are handed to the gate.
    [[nodiscard]] int allocate(int rl, int rh, int cl, int ch, const AllocationGate* gate,
                               std::string_view failureMessage1, std::string_view failureMessage2);

private:
    std::vector<T> block_;
    std::vector<T*> rows_;
    int rl_ = 0, rh_ = -1, cl_ = 0, ch_ = -1;
};

/// A vector with index range [l..h].
template <typename T>
class RangeVector {
public:
    T& operator[](int i) { return v_[static_cast<std::size_t>(i - l_)]; }
    T operator[](int i) const { return v_[static_cast<std::size_t>(i - l_)]; }
    /// Pointer to element low().
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    [[nodiscard]] int low() const { return l_; }
    [[nodiscard]] int high() const { return h_; }
    [[nodiscard]] int size() const { return h_ - l_ + 1; }
    [[nodiscard]] bool empty() const { return v_.empty(); }
    void release() {
        v_ = {};
        l_ = 0;
        h_ = -1;
    }
    /// As RangeMatrix::allocate.
    [[nodiscard]] bool allocate(int l, int h, const AllocationGate* gate, std::string_view failureMessage);

private:
    std::vector<T> v_;
    int l_ = 0, h_ = -1;
};

using Matrix = RangeMatrix<double>;
using IntMatrix = RangeMatrix<int>;
using Vector = RangeVector<double>;
using IntVector = RangeVector<int>;

// Allocation with the toolkit's own messages ("Allocation failure 1 in matrix" for the row
// pointers, "... 2 in matrix" for the block, "Allocation failure 1 in vector"; caption
// "error"). Storage is zeroed. An empty range (high < low) is a failure.
[[nodiscard]] bool matrix(Matrix& m, int rl, int rh, int cl, int ch, Messages& said,
                          const AllocationGate* gate = nullptr);
[[nodiscard]] bool intMatrix(IntMatrix& m, int rl, int rh, int cl, int ch, Messages& said,
                             const AllocationGate* gate = nullptr);
[[nodiscard]] bool vector(Vector& v, int l, int h, Messages& said, const AllocationGate* gate = nullptr);
[[nodiscard]] bool intVector(IntVector& v, int l, int h, Messages& said,
                             const AllocationGate* gate = nullptr);
inline void freeMatrix(Matrix& m) { m.release(); }
inline void freeIntMatrix(IntMatrix& m) { m.release(); }
inline void freeVector(Vector& v) { v.release(); }
inline void freeIntVector(IntVector& v) { v.release(); }

/// Notes a failure of the numerical routines: "Pelvaron run-time error..." with an empty
/// caption. The caller goes on.
void numericalError(Messages& said);

/// Sorts a[1..n] ascending and applies the same permutation to b[1..n] (quicksort, median of
/// three, straight insertion below 7 elements, explicit stack of 50 entries). Returns false,
/// after "NSTACK too small in sort 2", if the stack runs out (the arrays are then partly
/// sorted); with that stack it cannot for n below 2^25. Both vectors must cover 1..n.
bool sort2(int n, Vector& a, Vector& b, Messages& said);

/// sqrt(a^2 + b^2) without destructive overflow or underflow.
[[nodiscard]] double pythag(double a, double b);

/// Householder reduction of the real symmetric a[1..n][1..n] (lower triangle read) to
/// tridiagonal form: diagonal d[1..n], off-diagonal e[2..n] (e[1] = 0); a is replaced by the
/// orthogonal transformation Q, so that Q^T A Q is the tridiagonal matrix.
void tred2(Matrix& a, int n, Vector& d, Vector& e);

/// Eigenvalues (into d[1..n]) and eigenvectors of the symmetric tridiagonal matrix (d, e as
/// left by tred2) by the QL method with implicit shifts. z[1..n][1..n] must hold the
/// transformation from tred2 (or the identity); on return column j of z is the eigenvector of
/// eigenvalue d[j]. Eigenvalues come in no particular order. An eigenvalue that needs more
/// than 30 iterations gets numericalError and iteration continues, up to a hard stop.
void tqli(Vector& d, Vector& e, int n, Matrix& z, Messages& said);

/// As tqli, with z transposed: row j of zt is eigenvector j. The rotations then run along
/// contiguous rows, which is what makes the engine fast; the arithmetic is the same.
void tqliRows(Vector& d, Vector& e, int n, Matrix& zt, Messages& said);

/// Transposes the square range [lo..lo+n-1]^2 in place.
void transposeSquare(Matrix& m, int lo, int n);

/// n! for 0 <= n <= 20 (exact in 64 bits); 1 for n < 2; 0 beyond 20.
[[nodiscard]] std::int64_t factorial(int n);

/// n! / (k! (n-k)!) for 0 <= k <= n <= 20; 0 when k < 0 or k > n or n > 20.
[[nodiscard]] std::int64_t binomial(int n, int k);

}  // namespace pelvaron::simulation
