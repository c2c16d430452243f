// The simulation's numerical toolkit: ranged storage, sort2, tred2/tqli, pythag, combinatorics.
#include "simulation/toolkit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

#include "simulation/vector_clones.h"

namespace pelvaron::simulation {

namespace {

bool gateAllows(const AllocationGate* gate, std::string_view message) {
    return gate == nullptr || gate->allow(message);
}

void reportAllocationFailure(Messages& said, std::string_view text) {
    said.push_back({std::string(text), "error", MessageIcon::Stop});
}

/// Dot product with four partial sums: independent chains keep the pipeline busy where a
/// single running sum would wait on every addition.
PELVARON_VECTOR_CLONES double dot(const double* __restrict x, const double* __restrict y, int n) {
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        s0 += x[k] * y[k];
        s1 += x[k + 1] * y[k + 1];
        s2 += x[k + 2] * y[k + 2];
        s3 += x[k + 3] * y[k + 3];
    }
    for (; k < n; ++k) s0 += x[k] * y[k];
    return (s0 + s1) + (s2 + s3);
}

/// y[0..n-1] += alpha * x[0..n-1].
PELVARON_VECTOR_CLONES void axpy(double alpha, const double* __restrict x, double* __restrict y, int n) {
    for (int k = 0; k < n; ++k) y[k] += alpha * x[k];
}

/// a[0..n-1] -= f * p[0..n-1] + g * u[0..n-1]: one row of the symmetric rank-2 update.
PELVARON_VECTOR_CLONES void rank2Row(double* __restrict a, double f, const double* __restrict p, double g,
                                     const double* __restrict u, int n) {
    for (int k = 0; k < n; ++k) a[k] -= f * p[k] + g * u[k];
}

/// The plane rotation of one QL step applied to two rows.
PELVARON_VECTOR_CLONES void rotateRows(double s, double c, double* __restrict zi, double* __restrict zi1,
                                       int n) {
    for (int k = 0; k < n; ++k) {
        const double f = zi1[k];
        zi1[k] = s * zi[k] + c * f;
        zi[k] = c * zi[k] - s * f;
    }
}

}  // namespace

template <typename T>
int RangeMatrix<T>::allocate(int rl, int rh, int cl, int ch, const AllocationGate* gate,
                             std::string_view failureMessage1, std::string_view failureMessage2) {
    release();
    if (rh < rl || ch < cl) return 1;
    const auto nRows = static_cast<std::size_t>(static_cast<std::int64_t>(rh) - rl + 1);
    const auto nCols = static_cast<std::size_t>(static_cast<std::int64_t>(ch) - cl + 1);
    if (!gateAllows(gate, failureMessage1)) return 1;
    try {
        rows_.resize(nRows);
    } catch (const std::bad_alloc&) {
        release();
        return 1;
    }
    if (!gateAllows(gate, failureMessage2) || nCols > std::numeric_limits<std::size_t>::max() / nRows) {
        release();
        return 2;
    }
    try {
        block_.assign(nRows * nCols, T{});
    } catch (const std::bad_alloc&) {
        release();
        return 2;
    }
    for (std::size_t r = 0; r < nRows; ++r) rows_[r] = block_.data() + r * nCols;
    rl_ = rl;
    rh_ = rh;
    cl_ = cl;
    ch_ = ch;
    return 0;
}

template <typename T>
bool RangeVector<T>::allocate(int l, int h, const AllocationGate* gate, std::string_view failureMessage) {
    release();
    if (h < l || !gateAllows(gate, failureMessage)) return false;
    try {
        v_.assign(static_cast<std::size_t>(static_cast<std::int64_t>(h) - l + 1), T{});
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
    l_ = l;
    h_ = h;
    return true;
}

template class RangeMatrix<double>;
template class RangeMatrix<int>;
template class RangeVector<double>;
template class RangeVector<int>;

namespace {

template <typename T>
bool allocateMatrix(RangeMatrix<T>& m, int rl, int rh, int cl, int ch, Messages& said,
                    const AllocationGate* gate) {
    constexpr std::string_view kFailure1 = "Allocation failure 1 in matrix";
    constexpr std::string_view kFailure2 = "Allocation failure 2 in matrix";
    const int failed = m.allocate(rl, rh, cl, ch, gate, kFailure1, kFailure2);
    if (failed == 0) return true;
    reportAllocationFailure(said, failed == 1 ? kFailure1 : kFailure2);
    return false;
}

template <typename T>
bool allocateVector(RangeVector<T>& v, int l, int h, Messages& said, const AllocationGate* gate) {
    constexpr std::string_view kFailure = "Allocation failure 1 in vector";
    if (v.allocate(l, h, gate, kFailure)) return true;
    reportAllocationFailure(said, kFailure);
    return false;
}

}  // namespace

bool matrix(Matrix& m, int rl, int rh, int cl, int ch, Messages& said, const AllocationGate* gate) {
    return allocateMatrix(m, rl, rh, cl, ch, said, gate);
}

bool intMatrix(IntMatrix& m, int rl, int rh, int cl, int ch, Messages& said, const AllocationGate* gate) {
    return allocateMatrix(m, rl, rh, cl, ch, said, gate);
}

bool vector(Vector& v, int l, int h, Messages& said, const AllocationGate* gate) {
    return allocateVector(v, l, h, said, gate);
}

bool intVector(IntVector& v, int l, int h, Messages& said, const AllocationGate* gate) {
    return allocateVector(v, l, h, said, gate);
}

void numericalError(Messages& said) { said.push_back({"Pelvaron run-time error...", "", MessageIcon::Stop}); }

bool sort2(int n, Vector& a, Vector& b, Messages& said) {
    constexpr int kInsertionBelow = 7;
    constexpr int kStackSize = 50;
    if (n < 2) return true;
    if (a.low() > 1 || a.high() < n || b.low() > 1 || b.high() < n) return false;
    // 1-based views of the two arrays.
    double* const pa = &a[1];
    double* const pb = &b[1];
    auto arr = [pa](int i) -> double& { return pa[i - 1]; };
    auto brr = [pb](int i) -> double& { return pb[i - 1]; };
    auto swapBoth = [&](int i, int j) {
        std::swap(arr(i), arr(j));
        std::swap(brr(i), brr(j));
    };

    int stack[kStackSize + 1];
    int jstack = 0;
    int l = 1;
    int ir = n;
    for (;;) {
        if (ir - l < kInsertionBelow) {
            for (int j = l + 1; j <= ir; ++j) {
                const double av = arr(j);
                const double bv = brr(j);
                int i = j - 1;
                for (; i >= l; --i) {
                    if (arr(i) <= av) break;
                    arr(i + 1) = arr(i);
                    brr(i + 1) = brr(i);
                }
                arr(i + 1) = av;
                brr(i + 1) = bv;
            }
            if (jstack == 0) return true;
            ir = stack[jstack];
            l = stack[jstack - 1];
            jstack -= 2;
        } else {
            // Median of three as partitioning element; it also puts sentinels at both ends.
            const int k = (l + ir) >> 1;
            swapBoth(k, l + 1);
            if (arr(l) > arr(ir)) swapBoth(l, ir);
            if (arr(l + 1) > arr(ir)) swapBoth(l + 1, ir);
            if (arr(l) > arr(l + 1)) swapBoth(l, l + 1);
            int i = l + 1;
            int j = ir;
            const double av = arr(l + 1);
            const double bv = brr(l + 1);
            for (;;) {
                do ++i;
                while (arr(i) < av);
                do --j;
                while (arr(j) > av);
                if (j < i) break;
                swapBoth(i, j);
            }
            arr(l + 1) = arr(j);
            arr(j) = av;
            brr(l + 1) = brr(j);
            brr(j) = bv;
            jstack += 2;
            if (jstack > kStackSize) {
                said.push_back({"NSTACK too small in sort 2", "error", MessageIcon::Stop});
                return false;
            }
            // Push the larger part, go on with the smaller one.
            if (ir - i + 1 >= j - l) {
                stack[jstack] = ir;
                stack[jstack - 1] = i;
                ir = j - 1;
            } else {
                stack[jstack] = j - 1;
                stack[jstack - 1] = l;
                l = i;
            }
        }
    }
}

double pythag(double a, double b) {
    const double absa = std::fabs(a);
    const double absb = std::fabs(b);
    // Where the squares can neither overflow nor both underflow, the plain form is exact enough
    // and spares a division in the eigen-solver's innermost scalar path.
    const double larger = std::max(absa, absb);
    if (larger > 1e-150 && larger < 1e150) return std::sqrt(a * a + b * b);
    if (absa > absb) {
        const double r = absb / absa;
        return absa * std::sqrt(1.0 + r * r);
    }
    if (absb == 0.0) return 0.0;
    const double r = absa / absb;
    return absb * std::sqrt(1.0 + r * r);
}

void tred2(Matrix& a, int n, Vector& d, Vector& e) {
    if (n < 1) return;
    // row(i) points at a(i, 1): r[i][k - 1] is a(i, k).
    auto r = [&a](int i) { return a.row(i); };

    for (int i = n; i >= 2; --i) {
        const int l = i - 1;
        double h = 0.0;
        double* ai = r(i);
        if (l > 1) {
            double scale = 0.0;
            for (int k = 0; k < l; ++k) scale += std::fabs(ai[k]);
            if (scale == 0.0) {
                e[i] = ai[l - 1];
            } else {
                for (int k = 0; k < l; ++k) {
                    ai[k] /= scale;
                    h += ai[k] * ai[k];
                }
                double f = ai[l - 1];
                double g = f >= 0.0 ? -std::sqrt(h) : std::sqrt(h);
                e[i] = scale * g;
                h -= f * g;
                ai[l - 1] = f - g;
                // p = A u / h over the lower triangle, one pass along each row: the row's dot
                // product gives p[j] from a(j, 1..j), the same row adds a(j, k) u[j] to p[k], k < j.
                double* p = &e[1];
                for (int j = 0; j < l; ++j) p[j] = 0.0;
                for (int j = 1; j <= l; ++j) {
                    double* aj = r(j);
                    aj[i - 1] = ai[j - 1] / h;  // u / H kept in column i for the accumulation
                    p[j - 1] += dot(aj, ai, j);
                    axpy(ai[j - 1], aj, p, j - 1);
                }
                f = 0.0;
                for (int j = 0; j < l; ++j) {
                    p[j] /= h;
                    f += p[j] * ai[j];
                }
                const double hh = f / (h + h);
                for (int j = 0; j < l; ++j) p[j] -= hh * ai[j];
                for (int j = 1; j <= l; ++j) {
                    double* aj = r(j);
                    const double fj = ai[j - 1];
                    const double gj = p[j - 1];
                    rank2Row(aj, fj, p, gj, ai, j);
                }
            }
        } else {
            e[i] = ai[l - 1];
        }
        d[i] = h;
    }
    d[1] = 0.0;
    e[1] = 0.0;

    // Accumulate the transformation. g = u^T Q over the leading l x l part, then
    // Q -= (u / H) g, both along rows.
    std::vector<double> g(static_cast<std::size_t>(n), 0.0);
    for (int i = 1; i <= n; ++i) {
        const int l = i - 1;
        double* ai = r(i);
        if (d[i] != 0.0) {
            std::fill(g.begin(), g.begin() + l, 0.0);
            for (int k = 1; k <= l; ++k) axpy(ai[k - 1], r(k), g.data(), l);
            for (int k = 1; k <= l; ++k) {
                double* ak = r(k);
                axpy(-ak[i - 1], g.data(), ak, l);
            }
        }
        d[i] = ai[i - 1];
        ai[i - 1] = 1.0;
        for (int j = 1; j <= l; ++j) {
            r(j)[i - 1] = 0.0;
            ai[j - 1] = 0.0;
        }
    }
}

namespace {

/// The QL iteration shared by tqli and tqliRows; `rotate(i, s, c)` applies one plane rotation
/// to the eigenvector pair i, i+1.
template <typename Rotate>
void qlImplicit(Vector& d, Vector& e, int n, Messages& said, Rotate rotate) {
    // Reported once at 30 iterations as before; the hard stop only ends what non-finite
    // numbers would otherwise keep going for ever.
    constexpr int kReportAt = 30;
    constexpr int kHardStop = 300;
    if (n < 1) return;
    for (int i = 2; i <= n; ++i) e[i - 1] = e[i];
    e[n] = 0.0;
    for (int l = 1; l <= n; ++l) {
        int iter = 0;
        int m = l;
        do {
            for (m = l; m <= n - 1; ++m) {
                const double dd = std::fabs(d[m]) + std::fabs(d[m + 1]);
                if (e[m] == 0.0 || std::fabs(e[m]) + dd == dd) break;
            }
            if (m != l) {
                if (iter == kReportAt) numericalError(said);
                if (iter >= kHardStop) {
                    e[l] = 0.0;
                    continue;
                }
                ++iter;
                double g = (d[l + 1] - d[l]) / (2.0 * e[l]);
                double r = pythag(g, 1.0);
                g = d[m] - d[l] + e[l] / (g + (g >= 0.0 ? std::fabs(r) : -std::fabs(r)));
                double s = 1.0;
                double c = 1.0;
                double p = 0.0;
                int i = m - 1;
                for (; i >= l; --i) {
                    double f = s * e[i];
                    const double b = c * e[i];
                    e[i + 1] = (r = pythag(f, g));
                    if (r == 0.0) {
                        // Underflow: deflate and start again.
                        d[i + 1] -= p;
                        e[m] = 0.0;
                        break;
                    }
                    s = f / r;
                    c = g / r;
                    g = d[i + 1] - p;
                    r = (d[i] - g) * s + 2.0 * c * b;
                    d[i + 1] = g + (p = s * r);
                    g = c * r - b;
                    rotate(i, s, c);
                }
                if (r == 0.0 && i >= l) continue;
                d[l] -= p;
                e[l] = g;
                e[m] = 0.0;
            }
        } while (m != l);
    }
}

}  // namespace

void tqliRows(Vector& d, Vector& e, int n, Matrix& zt, Messages& said) {
    qlImplicit(d, e, n, said,
               [&zt, n](int i, double s, double c) { rotateRows(s, c, zt.row(i), zt.row(i + 1), n); });
}

void tqli(Vector& d, Vector& e, int n, Matrix& z, Messages& said) {
    transposeSquare(z, 1, n);
    tqliRows(d, e, n, z, said);
    transposeSquare(z, 1, n);
}

void transposeSquare(Matrix& m, int lo, int n) {
    for (int i = lo; i < lo + n; ++i) {
        for (int j = i + 1; j < lo + n; ++j) std::swap(m(i, j), m(j, i));
    }
}

std::int64_t factorial(int n) {
    if (n > 20) return 0;
    std::int64_t f = 1;
    for (int k = 2; k <= n; ++k) f *= k;
    return f;
}

std::int64_t binomial(int n, int k) {
    if (k < 0 || k > n || n > 20) return 0;
    return factorial(n) / (factorial(k) * factorial(n - k));
}

}  // namespace pelvaron::simulation
