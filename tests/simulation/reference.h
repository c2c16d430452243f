// Reference forms for the simulation tests: the direct full-matrix engine (one 2^n eigenproblem
// and the quadruple intensity sum), an independent Jacobi diagonalisation of the unsorted
// product basis, and the line-by-line synthesis.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "recording_ui.h"
#include "simulation/toolkit.h"

namespace pelvaron::testing {

struct Line {
    double freq;
    double intens;
};

using Couplings = std::vector<std::vector<double>>;

/// Refuses the one allocation whose failure message is `message`.
class RefuseOne : public simulation::AllocationGate {
public:
    explicit RefuseOne(std::string message) : message_(std::move(message)) {}
    bool allow(std::string_view failureMessage) const override { return failureMessage != message_; }

private:
    std::string message_;
};

/// A symmetric n x n coupling matrix from (i, j, J) triples, nuclei counted from 0.
inline Couplings couplingMatrix(int n, const std::vector<std::tuple<int, int, double>>& pairs) {
    Couplings c(n, std::vector<double>(n, 0.0));
    for (const auto& [i, j, v] : pairs) c[i][j] = c[j][i] = v;
    return c;
}

inline double sigma(int state, int i) { return ((state >> i) & 1) != 0 ? -1.0 : 1.0; }
inline int popcount(int s) { return std::popcount(static_cast<unsigned>(s)); }

/// <a|H|b> in the product basis (state numbers).
inline double hamiltonian(int n, const std::vector<double>& nu, const Couplings& j, int a, int b) {
    if (a == b) {
        double h = 0.0;
        for (int p = 0; p < n; ++p) {
            h += nu[p] * sigma(a, p) / 2.0;
            for (int q = p + 1; q < n; ++q) h += j[p][q] * sigma(a, p) * sigma(a, q) / 4.0;
        }
        return h;
    }
    const int diff = a ^ b;
    if (popcount(diff) != 2 || popcount(a) != popcount(b)) return 0.0;
    return j[std::countr_zero(static_cast<unsigned>(diff))]
            [31 - std::countl_zero(static_cast<unsigned>(diff))] /
           2.0;
}

inline void sortLines(std::vector<Line>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& x, const Line& y) { return x.freq < y.freq; });
}

/// The engine as first described: the basis sorted by Fz with sort2, the whole 2^n matrix
/// through tred2 and tqli, and for each neighbouring pair of blocks the quadruple sum over the
/// integer transition operator.
inline std::vector<Line> fullMatrixTransitions(int n, const std::vector<double>& nu, const Couplings& j) {
    RecordingUserInterface ui;
    const int dim = 1 << n;
    simulation::Vector fz, states, d, e;
    simulation::Matrix h;
    simulation::IntMatrix f;
    if (!simulation::vector(fz, 1, dim, ui) || !simulation::vector(states, 1, dim, ui) ||
        !simulation::vector(d, 1, dim, ui) || !simulation::vector(e, 1, dim, ui) ||
        !simulation::matrix(h, 1, dim, 1, dim, ui) || !simulation::intMatrix(f, 1, dim, 1, dim, ui))
        return {};
    for (int s = 0; s < dim; ++s) {
        fz[s + 1] = n - 2 * popcount(s);
        states[s + 1] = s;
    }
    (void)simulation::sort2(dim, fz, states, ui);
    auto st = [&](int idx) { return static_cast<int>(states[idx]); };
    for (int a = 1; a <= dim; ++a)
        for (int b = 1; b <= dim; ++b) {
            if (fz[a] == fz[b]) h(a, b) = hamiltonian(n, nu, j, st(a), st(b));
            if (fz[b] == fz[a] + 2 && popcount(st(a) ^ st(b)) == 1) f(a, b) = f(b, a) = 1;
        }
    simulation::tred2(h, dim, d, e);
    simulation::tqli(d, e, dim, h, ui);

    std::vector<int> start(n + 2, 1);
    for (int k = 0; k <= n; ++k) start[k + 1] = start[k] + static_cast<int>(simulation::binomial(n, k));
    std::vector<Line> lines;
    const double norm = std::pow(2.0, n - 1);
    for (int k = 1; k <= n; ++k) {
        const int l0 = start[k - 1], l1 = start[k], u0 = l1, u1 = start[k + 1];
        for (int i = l0; i < l1; ++i)
            for (int jj = u0; jj < u1; ++jj) {
                double amp = 0.0;
                for (int u = u0; u < u1; ++u)
                    for (int l = l0; l < l1; ++l) amp += f(u, l) * h(u, jj) * h(l, i);
                lines.push_back({d[jj] - d[i], amp * amp / norm});
            }
    }
    sortLines(lines);
    return lines;
}

/// Cyclic Jacobi on the full Hamiltonian in the unsorted product basis; each eigenvector's Fz
/// is that of its largest component.
inline std::vector<Line> jacobiTransitions(int n, const std::vector<double>& nu, const Couplings& j) {
    const int dim = 1 << n;
    std::vector<double> a(dim * dim), v(dim * dim, 0.0);
    auto A = [&](int r, int c) -> double& { return a[r * dim + c]; };
    auto V = [&](int r, int c) -> double& { return v[r * dim + c]; };
    for (int r = 0; r < dim; ++r) {
        V(r, r) = 1.0;
        for (int c = 0; c < dim; ++c) A(r, c) = hamiltonian(n, nu, j, r, c);
    }
    // x' = c x - s y, y' = s x + c y on a pair of entries.
    auto turn = [](double& x, double& y, double c, double s) {
        const double x0 = x, y0 = y;
        x = c * x0 - s * y0;
        y = s * x0 + c * y0;
    };
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0.0;
        for (int p = 0; p < dim; ++p)
            for (int q = p + 1; q < dim; ++q) off += A(p, q) * A(p, q);
        if (off < 1e-26) break;
        for (int p = 0; p < dim; ++p)
            for (int q = p + 1; q < dim; ++q) {
                if (A(p, q) == 0.0) continue;
                const double theta = (A(q, q) - A(p, p)) / (2.0 * A(p, q));
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < dim; ++k) turn(A(k, p), A(k, q), c, s);
                for (int k = 0; k < dim; ++k) turn(A(p, k), A(q, k), c, s);
                for (int k = 0; k < dim; ++k) turn(V(k, p), V(k, q), c, s);
            }
    }
    std::vector<int> fz(dim);
    for (int c = 0; c < dim; ++c) {
        int best = 0;
        for (int r = 0; r < dim; ++r)
            if (std::fabs(V(r, c)) > std::fabs(V(best, c))) best = r;
        fz[c] = n - 2 * popcount(best);
    }
    std::vector<Line> lines;
    const double norm = std::pow(2.0, n - 1);
    for (int lo = 0; lo < dim; ++lo)
        for (int up = 0; up < dim; ++up) {
            if (fz[up] != fz[lo] + 2) continue;
            double amp = 0.0;
            // The raising operator takes state l with nucleus p at -1/2 to l with p at +1/2.
            for (int l = 0; l < dim; ++l)
                for (int p = 0; p < n; ++p)
                    if (((l >> p) & 1) != 0) amp += V(l & ~(1 << p), up) * V(l, lo);
            lines.push_back({A(up, up) - A(lo, lo), amp * amp / norm});
        }
    sortLines(lines);
    return lines;
}

/// Lines closer than `tol` Hz merged into one (intensities added, frequency of the first);
/// merged lines weaker than `weakest` dropped. Makes spectra with degenerate levels comparable.
inline std::vector<Line> mergeLines(std::vector<Line> lines, double tol, double weakest) {
    sortLines(lines);
    std::vector<Line> out;
    for (const Line& l : lines) {
        if (!out.empty() && l.freq - out.back().freq < tol)
            out.back().intens += l.intens;
        else
            out.push_back(l);
    }
    std::erase_if(out, [weakest](const Line& l) { return l.intens < weakest; });
    return out;
}

/// The synthesis line by line: for each line, k = 0 .. h-1 points to both sides of its centre
/// (centre once), kept inside 0 .. h-1.
inline std::vector<double> directSynthesis(const std::vector<double>& freq, const std::vector<double>& intens,
                                           double w, double threshold, int nPoints, double fromHz,
                                           double toHz, double offsetHz) {
    const long h = nPoints / 2;
    const double range = std::fabs(toHz - fromHz);
    std::vector<double> curve(h, 0.0);
    for (std::size_t i = 0; i < freq.size(); ++i) {
        if (!(intens[i] > threshold + 1e-6) || !(fromHz < freq[i] && freq[i] < toHz)) continue;
        const long m = h - static_cast<long>(std::trunc((freq[i] - offsetHz) * h / range));
        for (long k = 0; k < h; ++k) {
            const double delta = k * range / h;
            const double value = intens[i] * w / (w * w / 4.0 + delta * delta) / 6.28318;
            if (m + k < h && m + k >= 0) curve[m + k] += value;
            if (k >= 1 && m - k >= 0 && m - k < h) curve[m - k] += value;
        }
    }
    return curve;
}

}  // namespace pelvaron::testing
