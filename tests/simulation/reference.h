// Independent references for the simulation tests: a Jacobi diagonalisation of the whole
// Hamiltonian in the unsorted product basis, and the synthesis line by line.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

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

inline void sortLines(std::vector<Line>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& x, const Line& y) { return x.freq < y.freq; });
}

/// Every transition of the system, sorted by frequency: cyclic Jacobi on the 2^n Hamiltonian
/// (bit p of a state set means nucleus p at -1/2; only couplings above the diagonal are read),
/// intensities |<upper|F+|lower>|^2 / 2^(n-1) between states whose Fz differs by one.
inline std::vector<Line> jacobiTransitions(int n, const std::vector<double>& nu, const Couplings& j) {
    const int dim = 1 << n;
    std::vector<double> a(dim * dim, 0.0), v(dim * dim, 0.0);
    auto A = [&](int r, int c) -> double& { return a[r * dim + c]; };
    auto V = [&](int r, int c) -> double& { return v[r * dim + c]; };
    auto sigma = [](int s, int p) { return ((s >> p) & 1) != 0 ? -1.0 : 1.0; };
    for (int s = 0; s < dim; ++s) {
        V(s, s) = 1.0;
        for (int p = 0; p < n; ++p) {
            A(s, s) += nu[p] * sigma(s, p) / 2.0;
            for (int q = p + 1; q < n; ++q) {
                A(s, s) += j[p][q] * sigma(s, p) * sigma(s, q) / 4.0;
                if (sigma(s, p) != sigma(s, q)) A(s, s ^ (1 << p) ^ (1 << q)) = j[p][q] / 2.0;
            }
        }
    }
    auto turn = [](double& x, double& y, double c, double s) {
        const double x0 = x;
        x = c * x0 - s * y;
        y = s * x0 + c * y;
    };
    bool rotated = true;
    for (int sweep = 0; rotated && sweep < 60; ++sweep) {
        rotated = false;
        for (int p = 0; p < dim; ++p)
            for (int q = p + 1; q < dim; ++q) {
                if (std::fabs(A(p, q)) <= 1e-15 * (std::fabs(A(p, p)) + std::fabs(A(q, q)) + 1.0)) continue;
                rotated = true;
                const double theta = (A(q, q) - A(p, p)) / (2.0 * A(p, q));
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < dim; ++k) turn(A(k, p), A(k, q), c, s);
                for (int k = 0; k < dim; ++k) turn(A(p, k), A(q, k), c, s);
                for (int k = 0; k < dim; ++k) turn(V(k, p), V(k, q), c, s);
                A(p, q) = A(q, p) = 0.0;
            }
    }
    // Rotations never mix states of different Fz: any component tells an eigenvector's Fz.
    std::vector<int> fz(dim);
    for (int c = 0; c < dim; ++c) {
        int r = 0;
        while (V(r, c) == 0.0) ++r;
        fz[c] = n - 2 * std::popcount(static_cast<unsigned>(r));
    }
    std::vector<Line> lines;
    for (int lo = 0; lo < dim; ++lo)
        for (int up = 0; up < dim; ++up) {
            if (fz[up] != fz[lo] + 2) continue;
            double amp = 0.0;  // F+ takes state l with nucleus p at -1/2 to l with p at +1/2
            for (int l = 0; l < dim; ++l)
                for (int p = 0; p < n; ++p)
                    if (((l >> p) & 1) != 0) amp += V(l & ~(1 << p), up) * V(l, lo);
            lines.push_back({A(up, up) - A(lo, lo), amp * amp / std::pow(2.0, n - 1)});
        }
    sortLines(lines);
    return lines;
}

/// Lines closer than `tol` Hz merged into one (intensities added, frequency of the first):
/// spectra with degenerate levels become comparable.
inline std::vector<Line> mergeLines(std::vector<Line> lines, double tol) {
    sortLines(lines);
    std::vector<Line> out;
    for (const Line& l : lines) {
        if (!out.empty() && l.freq - out.back().freq < tol)
            out.back().intens += l.intens;
        else
            out.push_back(l);
    }
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
            const double value = intens[i] * w / (w * w / 4.0 + std::pow(k * range / h, 2)) / 6.28318;
            if (m + k < h && m + k >= 0) curve[m + k] += value;
            if (k >= 1 && m - k >= 0 && m - k < h) curve[m - k] += value;
        }
    }
    return curve;
}

}  // namespace pelvaron::testing
