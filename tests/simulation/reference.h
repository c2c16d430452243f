// Independent references for the simulation tests: the AB closed form and the synthesis line by
// line.
#pragma once

#include <algorithm>
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

/// The closed form of two nuclei at nu1 and nu2 coupled by j, sorted by frequency.
inline std::vector<Line> abLines(double nu1, double nu2, double j) {
    const double centre = (nu1 + nu2) / 2.0, d = std::hypot(nu1 - nu2, j);
    std::vector<Line> lines;
    for (double sd : {1.0, -1.0})
        for (double sj : {1.0, -1.0})  // outer lines (sj == sd) lose what the inner ones gain
            lines.push_back({centre + sj * j / 2 + sd * d / 2, (1 - sd * sj * j / d) / 2});
    sortLines(lines);
    return lines;
}

/// Lines closer than `tol` Hz merged into one (intensities added, frequency of the first), lines
/// of no intensity left out: spectra with degenerate levels become comparable.
inline std::vector<Line> mergeLines(std::vector<Line> lines, double tol) {
    sortLines(lines);
    std::vector<Line> out;
    for (const Line& l : lines) {
        if (l.intens < 1e-10) continue;
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
