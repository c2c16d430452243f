// The automatic baseline: noise from second differences, signal-free points found by iteration, a
// penalised cubic spline through them.
#include "processing/auto_baseline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace pelvaron::processing {

namespace {

constexpr const char* kCaption = "Automatic Baseline";
constexpr int kMaxPieces = 4096;
/// Points on each side whose second differences a point's signal test sums.
constexpr int kHalfWindow = 3;
/// Weight of the spline's third-difference penalty against one piece's share of the points: light,
/// so that it only bridges pieces without baseline points and never pulls the curve off them.
constexpr double kPenalty = 1e-2;
/// Noise never taken below this fraction of the largest magnitude (noise-free data would make
/// every point signal).
constexpr double kNoiseFloor = 1e-5;
/// At least this fraction of the points stays baseline: a set smaller than that is not taken.
constexpr int kMinBaselineShare = 20;
/// The passes end when no more than this share of the points changes sides.
constexpr int kSettledShare = 1000;

/// Median of |v| (v is reordered).
double medianMagnitude(std::vector<double>& v) {
    for (double& x : v) x = std::fabs(x);
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

/// The uniform cubic B-spline: the piece of point k and its four basis values there.
struct SplineAt {
    int piece;
    std::array<double, 4> b;
};

class Spline {
public:
    Spline(int points, int pieces)
        : pieces_(pieces), scale_(points > 1 ? double(pieces) / (points - 1) : 0.0) {}

    [[nodiscard]] int coefficients() const { return pieces_ + 3; }

    [[nodiscard]] SplineAt at(int k) const {
        const double u = k * scale_;
        const int j = std::min(static_cast<int>(u), pieces_ - 1);
        const double t = u - j, s = 1.0 - t, t2 = t * t, t3 = t2 * t;
        return {j,
                {s * s * s / 6.0, (3.0 * t3 - 6.0 * t2 + 4.0) / 6.0,
                 (-3.0 * t3 + 3.0 * t2 + 3.0 * t + 1.0) / 6.0, t3 / 6.0}};
    }

    /// Least squares through the points where `baseline` is set, with the third-difference penalty.
    /// Coefficients in `c`; false when the system cannot be solved.
    bool fit(const std::vector<double>& y, const std::vector<char>& baseline, int count,
             std::vector<double>& c) const {
        const int m = coefficients();
        // The symmetric band: a[i][d] is row i, column i+d (d = 0 ... 3).
        std::vector<std::array<double, 4>> a(static_cast<std::size_t>(m), {0.0, 0.0, 0.0, 0.0});
        c.assign(static_cast<std::size_t>(m), 0.0);
        const int n = static_cast<int>(y.size());
        for (int k = 0; k < n; ++k) {
            if (!baseline[static_cast<std::size_t>(k)]) continue;
            const SplineAt p = at(k);
            for (int i = 0; i < 4; ++i) {
                auto& row = a[static_cast<std::size_t>(p.piece + i)];
                c[static_cast<std::size_t>(p.piece + i)] += p.b[i] * y[static_cast<std::size_t>(k)];
                for (int d = 0; i + d < 4; ++d) row[static_cast<std::size_t>(d)] += p.b[i] * p.b[i + d];
            }
        }
        const double lambda = kPenalty * std::max(1.0, double(count) / pieces_);
        constexpr std::array<double, 4> kD3{-1.0, 3.0, -3.0, 1.0};
        for (int r = 0; r + 3 < m; ++r) {
            for (int i = 0; i < 4; ++i)
                for (int d = 0; i + d < 4; ++d)
                    a[static_cast<std::size_t>(r + i)][static_cast<std::size_t>(d)] +=
                        lambda * kD3[i] * kD3[i + d];
        }
        // Banded Cholesky, A = L L^T, L stored transposed in place of the upper band.
        for (int i = 0; i < m; ++i) {
            auto& row = a[static_cast<std::size_t>(i)];
            for (int j = std::max(0, i - 3); j < i; ++j) {
                const double l = a[static_cast<std::size_t>(j)][static_cast<std::size_t>(i - j)];
                for (int d = 0; j + (i - j) + d <= std::min(m - 1, j + 3); ++d)
                    row[static_cast<std::size_t>(d)] -=
                        l * a[static_cast<std::size_t>(j)][static_cast<std::size_t>(i - j + d)];
            }
            if (!(row[0] > 0.0)) return false;
            const double root = std::sqrt(row[0]);
            for (double& v : row) v /= root;
        }
        for (int i = 0; i < m; ++i) {
            for (int j = std::max(0, i - 3); j < i; ++j)
                c[static_cast<std::size_t>(i)] -=
                    a[static_cast<std::size_t>(j)][static_cast<std::size_t>(i - j)] *
                    c[static_cast<std::size_t>(j)];
            c[static_cast<std::size_t>(i)] /= a[static_cast<std::size_t>(i)][0];
        }
        for (int i = m - 1; i >= 0; --i) {
            for (int d = 1; d < 4 && i + d < m; ++d)
                c[static_cast<std::size_t>(i)] -=
                    a[static_cast<std::size_t>(i)][static_cast<std::size_t>(d)] *
                    c[static_cast<std::size_t>(i + d)];
            c[static_cast<std::size_t>(i)] /= a[static_cast<std::size_t>(i)][0];
        }
        return true;
    }

    void evaluate(const std::vector<double>& c, std::vector<double>& z) const {
        for (int k = 0; k < static_cast<int>(z.size()); ++k) {
            const SplineAt p = at(k);
            const double* q = c.data() + p.piece;
            z[static_cast<std::size_t>(k)] = p.b[0] * q[0] + p.b[1] * q[1] + p.b[2] * q[2] + p.b[3] * q[3];
        }
    }

private:
    int pieces_;
    double scale_;
};

/// Marks as signal every point within `margin` of a point already marked.
void widen(std::vector<char>& signal, int margin) {
    const int n = static_cast<int>(signal.size());
    std::vector<char> out(signal.size(), 0);
    int last = -1 - margin;  // the last signal point seen, from the left
    for (int k = 0; k < n; ++k) {
        if (signal[static_cast<std::size_t>(k)]) last = k;
        if (k - last <= margin) out[static_cast<std::size_t>(k)] = 1;
    }
    last = n + margin;
    for (int k = n - 1; k >= 0; --k) {
        if (signal[static_cast<std::size_t>(k)]) last = k;
        if (last - k <= margin) out[static_cast<std::size_t>(k)] = 1;
    }
    signal.swap(out);
}

/// Widens every run of signal points (0 in `baseline`) by its own length on each side, by at most
/// `most`: a line stands above the threshold over a width that grows with its height, and its
/// tails beyond that width still lie above the noise.
void widenRuns(std::vector<char>& baseline, int most) {
    const int n = static_cast<int>(baseline.size());
    std::vector<char> out = baseline;
    for (int k = 0; k < n;) {
        if (baseline[static_cast<std::size_t>(k)]) {
            ++k;
            continue;
        }
        int end = k;
        while (end < n && !baseline[static_cast<std::size_t>(end)]) ++end;
        const int margin = std::min(end - k, most);
        std::fill(out.begin() + std::max(0, k - margin), out.begin() + std::min(n, end + margin), 0);
        k = end;
    }
    baseline.swap(out);
}

}  // namespace

Message autoBaselineMessage(AutoBaselineProblem problem) {
    switch (problem) {
        case AutoBaselineProblem::NotASpectrum:
            return {"Automatic Baseline works on a spectrum; transform the FID first.", kCaption,
                    MessageIcon::Information};
        case AutoBaselineProblem::TooFewPoints:
            return {"The spectrum has too few points for an automatic baseline.", kCaption,
                    MessageIcon::Information};
        case AutoBaselineProblem::AllZero:
            return {"The spectrum is empty (all its values are 0): there is no baseline to find.", kCaption,
                    MessageIcon::Information};
        case AutoBaselineProblem::NotFinite:
            return {"The spectrum holds values that are not numbers: no baseline can be found.", kCaption,
                    MessageIcon::Exclamation};
        case AutoBaselineProblem::BadSettings:
            return {"The baseline settings are out of range.", kCaption, MessageIcon::Exclamation};
        case AutoBaselineProblem::NoiseOnly:
            return {
                "Nothing stands clearly above the noise: the spectrum is noise alone, with no "
                "baseline to find.",
                kCaption, MessageIcon::Information};
    }
    return {};
}

Result<AutoBaselineReport, AutoBaselineProblem> autoBaseline(Spectrum& s,
                                                             const AutoBaselineSettings& settings) {
    // A forward transform leaves ftInverse set, as does opening a processed spectrum.
    if (!s.ftInverse) return Failure{AutoBaselineProblem::NotASpectrum};
    if (!(settings.pieces >= 1 && settings.pieces <= kMaxPieces && settings.threshold > 0.0 &&
          std::isfinite(settings.threshold)))
        return Failure{AutoBaselineProblem::BadSettings};
    const int n = s.count() / 2;
    if (n < kMinAutoBaselinePoints) return Failure{AutoBaselineProblem::TooFewPoints};
    const double* x = s.specData.data();
    double largest = 0.0;
    for (int i = 0; i < 2 * n; ++i) {
        if (!std::isfinite(x[i])) return Failure{AutoBaselineProblem::NotFinite};
        largest = std::max(largest, std::fabs(x[i]));
    }
    if (largest == 0.0) return Failure{AutoBaselineProblem::AllZero};

    std::vector<double> y(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) y[static_cast<std::size_t>(k)] = x[2 * k];
    const auto at = [](auto& v, int k) -> auto& { return v[static_cast<std::size_t>(k)]; };

    // Noise: white noise of level sigma gives second differences of level sigma*sqrt(6); the
    // median magnitude of a normal variable is 0.6745 of its level.
    std::vector<double> d2(static_cast<std::size_t>(n), 0.0);
    for (int k = 1; k + 1 < n; ++k) at(d2, k) = at(y, k - 1) - 2.0 * at(y, k) + at(y, k + 1);
    std::vector<double> scratch(d2.begin() + 1, d2.end() - 1);
    const double noise = std::max(medianMagnitude(scratch) / 0.6745 / std::sqrt(6.0), kNoiseFloor * largest);
    const double d2Level = noise * std::sqrt(6.0);
    {
        scratch.assign(y.begin(), y.end());
        const auto mid = scratch.begin() + static_cast<std::ptrdiff_t>(n / 2);
        std::nth_element(scratch.begin(), mid, scratch.end());
        const auto [low, high] = std::minmax_element(y.begin(), y.end());
        if (std::max(*high - *mid, *mid - *low) <= kMinAutoBaselineFeature * noise)
            return Failure{AutoBaselineProblem::NoiseOnly};
    }

    // First guess: signal where the second differences around a point are well above the noise's.
    std::vector<char> signal(static_cast<std::size_t>(n), 0);
    {
        const double limit = (2 * kHalfWindow + 1) * 4.0 * d2Level * d2Level;
        double sum = 0.0;
        for (int k = 0; k < std::min(n, kHalfWindow); ++k) sum += at(d2, k) * at(d2, k);
        for (int k = 0; k < n; ++k) {
            if (k + kHalfWindow < n) sum += at(d2, k + kHalfWindow) * at(d2, k + kHalfWindow);
            if (k - kHalfWindow - 1 >= 0) sum -= at(d2, k - kHalfWindow - 1) * at(d2, k - kHalfWindow - 1);
            at(signal, k) = sum > limit;
        }
        widen(signal, 2 * kHalfWindow);
    }
    const int minCount = std::max(3, n / kMinBaselineShare);
    std::vector<char> baseline(static_cast<std::size_t>(n));
    int count = 0;
    for (int k = 0; k < n; ++k) count += at(baseline, k) = !at(signal, k);
    // Data without noise, or all signal: start from every point and let the passes sort them out.
    if (count < minCount) {
        std::fill(baseline.begin(), baseline.end(), 1);
        std::fill(signal.begin(), signal.end(), 0);
        count = n;
    }
    const std::vector<char> lines = signal;

    const Spline spline(n, settings.pieces);
    std::vector<double> c, z(static_cast<std::size_t>(n));
    const double limit = settings.threshold * noise;
    AutoBaselineReport report;
    report.noise = noise;
    std::vector<char> next(static_cast<std::size_t>(n));
    int lastChanged = n + 1;
    for (report.passes = 1;; ++report.passes) {
        // Three baseline points and the penalty always make a solvable system; values too large to
        // square are what could still break it.
        if (!spline.fit(y, baseline, count, c)) return Failure{AutoBaselineProblem::NotFinite};
        spline.evaluate(c, z);
        if (report.passes == kMaxAutoBaselinePasses) break;
        for (int k = 0; k < n; ++k) at(next, k) = !at(lines, k) && std::fabs(at(y, k) - at(z, k)) <= limit;
        widenRuns(next, std::max(1, n / (4 * settings.pieces)));
        int nextCount = 0, changed = 0;
        for (int k = 0; k < n; ++k) {
            nextCount += at(next, k);
            changed += at(next, k) != at(baseline, k);
        }
        // Too few points left off the lines: the present set stands. Once no more than one point in
        // a thousand changes sides, the curve no longer moves by anything that shows.
        // Passes that change as many points as the one before only swap points to and fro.
        if (nextCount < minCount || changed <= n / kSettledShare || changed >= lastChanged) break;
        lastChanged = changed;
        baseline.swap(next);
        count = nextCount;
    }
    report.baselinePoints = count;

    double* out = s.specData.data();
    for (int k = 0; k < n; ++k) {
        out[2 * k] -= at(z, k);
        out[2 * k + 1] -= at(z, k);
    }
    return report;
}

}  // namespace pelvaron::processing
