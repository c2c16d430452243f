// Automatic Phase (0 + 1).
//
// Method: entropy minimisation of the derivative of the real part with a penalty on negative
// values, on the points of the lines only. The lines are the points whose magnitude stands above
// the noise (and 1/1000 of the tallest line), with a point either side; the threshold rises until
// at most kMaxSubset points remain, so the cost does not grow with the size of the spectrum.
// A coarse start comes from the largest coherent sum of those points over a grid of first-order
// slopes (the total absorption of upright lines is largest at the right phase), then a pattern
// search and a few parabolic steps refine both orders on the entropy criterion. A first order
// costs as much as a zero-order error of kSlopeShare times it: when the lines crowd into a narrow
// part of the spectrum (a solvent and its water, say) their small differences of shape would
// otherwise tilt the whole spectrum by hundreds of degrees; lines spread across it outweigh that
// cost easily. Last, the zero order is settled on the whole spectrum, whose baseline still holds
// the dispersive tails of the large lines that the subset cuts off. The search always runs on the
// unphased copy, so a second application finds the same angles.
#include "processing/auto_phase.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "base/legacy_constants.h"
#include "processing/phase.h"

namespace pelvaron::processing {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kPhasePi = legacy::kShortPi;  // the phase rotation's degrees-to-radians
constexpr int kMaxSubset = 4096;
constexpr int kNoiseSamples = 8192;
/// Most points the zero order is finally settled on; larger spectra are binned down to this.
constexpr int kWholePoints = 32768;
/// Weight of the negative part (its share of the squared real values) beside the entropy.
constexpr double kNegativeWeight = 20.0;
/// The pattern search hands over to parabolic steps at this zero-order step, radians.
constexpr double kParabolaStep = 0.0125;
/// A first order b (radians across the spectrum) costs as much as a zero-order error of this
/// share of b.
constexpr double kSlopeShare = 0.05;

struct Segment {
    int first, last;  // complex points [first, last)
};

/// The searched phase: theta(k) = a + b*(k - m/2)/m radians at complex point k of m.
struct Trial {
    double a = 0.0, b = 0.0;
};

class Criterion {
public:
    Criterion(const double* z, int m, std::vector<Segment> segments)
        : z_(z), m_(m), segments_(std::move(segments)) {}

    /// From now on a first order b adds kSlopeShare^2 b^2 times the criterion's curvature along
    /// the zero order at `at`.
    void priceSlope(const Trial& at) {
        constexpr double h = 0.05;
        const double curvature =
            ((*this)({at.a + h, at.b}) + (*this)({at.a - h, at.b}) - 2.0 * (*this)(at)) / (h * h);
        slopeCost_ = std::max(0.0, curvature) * kSlopeShare * kSlopeShare;
    }

    double angleAt(const Trial& t, double k) const { return t.a + t.b * (k - 0.5 * m_) / m_; }

    /// Entropy of the normalised |derivative| of the real parts plus the weighted negative share.
    double operator()(const Trial& t, double negativeWeight = kNegativeWeight) const {
        const double stepCos = std::cos(t.b / m_), stepSin = std::sin(t.b / m_);
        double sum = 0.0, sumLog = 0.0, negative = 0.0, total = 0.0;
        for (const Segment& seg : segments_) {
            double c = std::cos(angleAt(t, seg.first)), s = std::sin(angleAt(t, seg.first));
            double previous = 0.0;
            for (int k = seg.first; k < seg.last; ++k) {
                const double r = c * z_[2 * k] - s * z_[2 * k + 1];
                if (k > seg.first) {
                    const double d = std::fabs(r - previous);
                    sum += d;
                    if (d > 0.0) sumLog += d * std::log(d);
                }
                previous = r;
                total += r * r;
                if (r < 0.0) negative += r * r;
                const double nextC = c * stepCos - s * stepSin;
                s = s * stepCos + c * stepSin;
                c = nextC;
            }
        }
        if (sum <= 0.0 || total <= 0.0) return 0.0;
        return std::log(sum) - sumLog / sum + negativeWeight * negative / total + slopeCost_ * t.b * t.b;
    }

    /// |sum of z(k) e^{i theta(k)}| over the lines and the a that makes that sum real and positive.
    std::pair<double, double> coherentSum(double b) const {
        std::complex<double> total;
        const std::complex<double> step = std::polar(1.0, b / m_);
        for (const Segment& seg : segments_) {
            std::complex<double> turn = std::polar(1.0, angleAt({0.0, b}, seg.first));
            std::complex<double> part;
            for (int k = seg.first; k < seg.last; ++k) {
                part += std::complex<double>(z_[2 * k], z_[2 * k + 1]) * turn;
                turn *= step;
            }
            total += part;
        }
        return {std::abs(total), -std::arg(total)};
    }

private:
    const double* z_;
    int m_;
    std::vector<Segment> segments_;
    double slopeCost_ = 0.0;
};

/// The criterion over the whole spectrum as a function of the zero order alone, the first order
/// held. The rotated real and imaginary parts are kept, summed over bins of adjacent points when
/// the spectrum has more than kWholePoints (a rotation by the zero order commutes with the sum),
/// so that each evaluation is one pass of products and logarithms over at most kWholePoints.
class ZeroOrderCriterion {
public:
    ZeroOrderCriterion(const double* z, int m, double b) {
        const int bin = (m + kWholePoints - 1) / kWholePoints;
        re_.assign(static_cast<std::size_t>((m + bin - 1) / bin), 0.0);
        im_.assign(re_.size(), 0.0);
        const double stepCos = std::cos(b / m), stepSin = std::sin(b / m);
        double c = std::cos(0.5 * b), s = -std::sin(0.5 * b);
        for (int k = 0; k < m; ++k) {
            re_[static_cast<std::size_t>(k / bin)] += c * z[2 * k] - s * z[2 * k + 1];
            im_[static_cast<std::size_t>(k / bin)] += s * z[2 * k] + c * z[2 * k + 1];
            const double nextC = c * stepCos - s * stepSin;
            s = s * stepCos + c * stepSin;
            c = nextC;
        }
    }

    /// As Criterion at (a, b), without the price of the first order.
    double operator()(double a) const {
        const double c = std::cos(a), s = std::sin(a);
        double sum = 0.0, sumLog = 0.0, negative = 0.0, total = 0.0, previous = 0.0;
        for (std::size_t k = 0; k < re_.size(); ++k) {
            const double r = c * re_[k] - s * im_[k];
            if (k > 0) {
                const double d = std::fabs(r - previous);
                sum += d;
                if (d > 0.0) sumLog += d * std::log(d);
            }
            previous = r;
            total += r * r;
            const double below = std::min(r, 0.0);
            negative += below * below;
        }
        if (sum <= 0.0 || total <= 0.0) return 0.0;
        return std::log(sum) - sumLog / sum + kNegativeWeight * negative / total;
    }

private:
    std::vector<double> re_, im_;
};

/// Runs of points with |z|^2 above `level`, widened by one point either side and merged.
std::vector<Segment> linesAbove(const double* z, int m, double level, int& count) {
    std::vector<Segment> segments;
    count = 0;
    const auto power = [z](int k) { return z[2 * k] * z[2 * k] + z[2 * k + 1] * z[2 * k + 1]; };
    for (int k = 0; k < m;) {
        if (power(k) <= level) {
            ++k;
            continue;
        }
        int end = k;
        while (end < m && power(end) > level) ++end;
        const int first = std::max(0, k - 1), last = std::min(m, end + 1);
        if (!segments.empty() && segments.back().last >= first) {
            count += last - segments.back().last;
            segments.back().last = last;
        } else {
            segments.push_back({first, last});
            count += last - first;
        }
        k = end;
    }
    return segments;
}

/// The vertex of the parabola through (-h, below), (0, centre), (h, above), as a multiple of h
/// within [-1, 1]; 0 when the three do not curve upwards.
double parabolaVertex(double below, double centre, double above) {
    const double curvature = below - 2.0 * centre + above;
    if (!(curvature > 0.0)) return 0.0;
    return std::clamp(0.5 * (below - above) / curvature, -1.0, 1.0);
}

/// Local pattern search from `start` down to steps of kParabolaStep, then two parabolic steps
/// along each order; b stays within +-bMax.
Trial refine(const Criterion& f, Trial start, double bMax) {
    Trial best = start;
    double value = f(best);
    double stepA = 0.2, stepB = 0.4;
    while (stepA > kParabolaStep) {
        bool moved = false;
        const Trial tries[] = {{best.a + stepA, best.b},
                               {best.a - stepA, best.b},
                               {best.a, std::clamp(best.b + stepB, -bMax, bMax)},
                               {best.a, std::clamp(best.b - stepB, -bMax, bMax)}};
        for (const Trial& t : tries) {
            const double v = f(t);
            if (v < value) {
                value = v;
                best = t;
                moved = true;
            }
        }
        if (!moved) stepA *= 0.5, stepB *= 0.5;
    }
    for (int round = 0; round < 2; ++round, stepA *= 0.25, stepB *= 0.25) {
        const Trial alongA[] = {{best.a - stepA, best.b}, {best.a + stepA, best.b}};
        Trial t{best.a + stepA * parabolaVertex(f(alongA[0]), value, f(alongA[1])), best.b};
        if (const double v = f(t); v < value) value = v, best = t;
        if (std::fabs(best.b) + stepB > bMax) continue;
        const Trial alongB[] = {{best.a, best.b - stepB}, {best.a, best.b + stepB}};
        t = {best.a, best.b + stepB * parabolaVertex(f(alongB[0]), value, f(alongB[1]))};
        if (const double v = f(t); v < value) value = v, best = t;
    }
    return best;
}

}  // namespace

Message autoPhaseMessage(AutoPhaseProblem problem) {
    const char* text = kAutoPhaseNoLineText;
    switch (problem) {
        case AutoPhaseProblem::NotSpectrum: text = kAutoPhaseNotSpectrumText; break;
        case AutoPhaseProblem::TooFewPoints: text = kAutoPhaseTooFewPointsText; break;
        case AutoPhaseProblem::NotFinite: text = kAutoPhaseNotFiniteText; break;
        case AutoPhaseProblem::Empty: text = kAutoPhaseEmptyText; break;
        case AutoPhaseProblem::NoLine: text = kAutoPhaseNoLineText; break;
    }
    return {text, kAutoPhaseCaption, MessageIcon::Exclamation};
}

Result<AutoPhaseAngles, AutoPhaseProblem> autoPhaseFull(Spectrum& s, const AutoPhaseSettings& settings) {
    // A forward transform leaves ftInverse set (so does opening a processed spectrum).
    if (!s.ftInverse) return Failure{AutoPhaseProblem::NotSpectrum};
    const int m = s.count() / 2;
    if (m < kAutoPhaseMinPoints) return Failure{AutoPhaseProblem::TooFewPoints};
    const double* z = s.phaseSourceValid ? s.phaseSource.data() : s.specData.data();

    // One pass for the tallest line and the values' finiteness; the noise level is the median
    // power of an even sample (most points of a spectrum are baseline).
    const int stride = std::max(1, m / kNoiseSamples);
    std::vector<double> sample;
    sample.reserve(static_cast<std::size_t>(m / stride + 1));
    double tallest = 0.0;
    int tallestAt = 0;
    for (int k = 0; k < m; ++k) {
        const double power = z[2 * k] * z[2 * k] + z[2 * k + 1] * z[2 * k + 1];
        if (!std::isfinite(power)) return Failure{AutoPhaseProblem::NotFinite};
        if (power > tallest) tallest = power, tallestAt = k;
        if (k % stride == 0) sample.push_back(power);
    }
    if (tallest == 0.0) return Failure{AutoPhaseProblem::Empty};
    const std::size_t half = sample.size() / 2;
    std::nth_element(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(half), sample.end());
    const double noise = sample[half];
    const double lineToNoise = settings.minLineToNoise * settings.minLineToNoise;
    if (!(tallest > lineToNoise * noise)) return Failure{AutoPhaseProblem::NoLine};

    // The level doubles until the lines hold at most kMaxSubset points; the doublings after which
    // the sample still puts twice that many points above the level are skipped without a scan.
    double level = std::max(64.0 * noise, 1e-6 * tallest);
    std::sort(sample.begin() + static_cast<std::ptrdiff_t>(half), sample.end());
    const auto pointsAbove = [&](double l) {
        const auto from =
            std::upper_bound(sample.begin() + static_cast<std::ptrdiff_t>(half), sample.end(), l);
        return static_cast<double>(sample.end() - from) * m / static_cast<double>(sample.size());
    };
    while (pointsAbove(2.0 * level) > 2.0 * kMaxSubset) level *= 2.0;
    int count = 0;
    std::vector<Segment> segments = linesAbove(z, m, level, count);
    while (count > kMaxSubset) {
        level *= 2.0;
        segments = linesAbove(z, m, level, count);
    }
    Criterion f(z, m, std::move(segments));

    // Coarse: the slope whose coherent sum is largest, on a grid of a quarter radian.
    const double maxPhase1 = std::clamp(std::fabs(settings.maxPhase1), 0.0, 180.0);
    const double bMax = 4.0 * maxPhase1 * kPhasePi / 180.0;
    Trial coarse;
    double largest = -1.0;
    const int steps = static_cast<int>(std::ceil(bMax / 0.25));
    for (int i = -steps; i <= steps; ++i) {
        const double b = steps == 0 ? 0.0 : bMax * i / steps;
        const auto [sum, a] = f.coherentSum(b);
        if (sum > largest) largest = sum, coarse = {a, b};
    }
    f.priceSlope(coarse);
    Trial best = refine(f, coarse, bMax);
    const Trial flat = refine(f, {f.coherentSum(0.0).second, 0.0}, bMax);
    if (f(flat) < f(best)) best = flat;

    // The zero order on the whole spectrum: steps of 1 degree while one side is lower, then a
    // parabolic step; again at a quarter of a degree.
    const ZeroOrderCriterion whole(z, m, best.b);
    double value = whole(best.a);
    for (double h = kPi / 180.0; h > kPi / 1440.0; h *= 0.25) {
        double below = whole(best.a - h), above = whole(best.a + h);
        for (int walk = 0; walk < 16 && std::min(below, above) < value; ++walk) {
            const double direction = below < above ? -1.0 : 1.0;
            (direction < 0 ? above : below) = value;
            value = std::min(below, above);
            best.a += direction * h;
            (direction < 0 ? below : above) = whole(best.a + direction * h);
        }
        const double a = best.a + h * parabolaVertex(below, value, above);
        if (const double v = whole(a); v < value) value = v, best.a = a;
    }

    // The tallest line upright.
    const double at = f.angleAt(best, tallestAt);
    if (std::cos(at) * z[2 * tallestAt] - std::sin(at) * z[2 * tallestAt + 1] < 0.0) best.a += kPi;

    // Into Phase Correction's terms: theta(k) = phase0 + phase1*(4k + 2 - 2P)/m, P the pivot.
    const double pivot = s.peakIndex;
    const double order1 = best.b / 4.0;
    const double order0 = best.a - best.b / 2.0 - order1 * (2.0 - 2.0 * pivot) / m;
    AutoPhaseAngles angles;
    angles.phase1 = order1 * 180.0 / kPhasePi;
    angles.phase0 = std::remainder(order0 * 180.0 / kPhasePi, 360.0);
    if (angles.phase0 <= -180.0) angles.phase0 += 360.0;
    // As applyPhase turns the unphased copy, by the rotation recurrence.
    if (!s.phaseSourceValid) saveUnphased(s);
    s.phaseSourceValid = 1;
    restoreUnphased(s);
    s.phase0 = angles.phase0;
    s.phase1 = angles.phase1;
    phaseRotationByRecurrence(s, s.phase0, s.phase1);
    return angles;
}

}  // namespace pelvaron::processing
