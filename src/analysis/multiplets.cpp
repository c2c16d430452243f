// The multiplet report: signal ranges found between baseline stretches from the noise level, the
// refined lines of each range, its pattern (the coupling tree's), its integral and proton count,
// the solvent and reference lines marked, and the line in journal style.
#include "analysis/multiplets.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "analysis/coupling_tree.h"
#include "base/format.h"

namespace pelvaron::analysis {

namespace {

// --- What decides a range. Couplings are in Hz, so the stretches are too.

/// A point stands clearly above the noise at this many noise deviations: a range holds one.
constexpr double kDetectSigmas = 8.0;
/// A line's region reaches down to this many deviations, or to kEdgeShare of its height when that
/// is more: the wings of a line far above the noise stay above it for hundreds of Hz, and a range
/// down to kEdgeShare holds all but a few percent of a line's area.
constexpr double kSpreadSigmas = 2.0;
constexpr double kEdgeShare = 0.005;
/// A line (a local maximum) is this high above the baseline...
constexpr double kLineSigmas = 6.0;
/// ... and dips on both sides by this many deviations, and by kLineDip of its height, before a
/// higher point: noise riding on a broad line makes no lines of its own, nor do the ripples a cut
/// FID leaves beside strong lines (they dip by under 5 %; a 1.1 Hz splitting at 300 MHz, by 13 %).
constexpr double kLineProminenceSigmas = 4.0;
constexpr double kLineDip = 0.08;
/// Nor is a maximum below kLineShare of the tallest point within kNeighbourHz a line: the carbon-13
/// satellites (0.55 %), ripples and small impurities beside a strong multiplet are not its lines,
/// while the outer lines of a septet (5 %) are.
constexpr double kLineShare = 0.04;
constexpr double kNeighbourHz = 36.0;
/// Lines closer than this are one multiplet: wider than nearly every proton coupling (trans-vinyl
/// and geminal J stay below it), so a first-order multiplet is never cut between its lines, while
/// multiplets 0.1 ppm apart at 300 MHz stay apart.
constexpr double kMinStretchHz = 18.0;
/// A range reaches this far beyond its lines' wings, so that its integral holds them and its
/// baseline ends lie on baseline.
constexpr double kMarginHz = 6.0;
/// The residual solvent line's shift moves with concentration, temperature and referencing by a
/// few hundredths of a ppm, its water line a little more; a wider window would swallow the
/// sample's own singlets (a methyl at 2.1 in acetone-d6, at 1.6 in CDCl3).
constexpr double kSolventTolerancePpm = 0.05;
/// The reference line (TMS) is 0 ppm once the spectrum is referenced.
constexpr double kReferenceTolerancePpm = 0.05;
/// The widest a solvent's residual line spreads: the four J(H,D) of a CHD2 quintet.
constexpr double kSolventSpanHz = 10.0;
/// Fewer points than this hold no noise level to speak of.
constexpr int kMinPoints = 64;

/// The points of the spectrum and their ppm and Hz: point k is specData[2k].
struct Axis {
    const double* x = nullptr;
    int points = 0;
    double n = 0.0, sw = 0.0, sf = 0.0, offsetHz = 0.0, offsetPpm = 0.0;

    [[nodiscard]] double y(int k) const { return x[2 * static_cast<std::ptrdiff_t>(k)]; }
    [[nodiscard]] double hz(double k) const { return sw - 2.0 * k * sw / n + offsetHz; }
    [[nodiscard]] double ppm(double k) const { return (sw - 2.0 * k * sw / n) / sf + offsetPpm; }
    [[nodiscard]] double point(double ppmValue) const {
        return (sw - (ppmValue - offsetPpm) * sf) * n / (2.0 * sw);
    }
    [[nodiscard]] double hzPerPoint() const { return 2.0 * sw / n; }
};

struct Noise {
    double base = 0.0;   ///< the baseline level
    double sigma = 0.0;  ///< the noise's standard deviation
};

/// What every analysis of the spectrum shares: its axis, noise and the lines to mark.
struct Scene {
    Axis axis;
    Noise noise;
    std::vector<double> solvent;  ///< ppm of the solvent's lines
};

std::optional<MultipletProblem> axisOf(const Spectrum& s, Axis& a) {
    if (!s.ftInverse) return MultipletProblem::NotSpectrum;
    a.x = s.specData.data();
    a.points = s.count() / 2;
    a.n = s.nData;
    a.sw = s.acqPars.SW;
    a.sf = s.acqPars.SF;
    a.offsetHz = s.offsetHz;
    a.offsetPpm = s.offsetPpm;
    if (a.points < kMinPoints) return MultipletProblem::TooFewPoints;
    // Without a width and a frequency there is no ppm axis to report on.
    if (!(a.sw > 0.0) || !(a.sf > 0.0) || !std::isfinite(a.sw) || !std::isfinite(a.sf) ||
        !std::isfinite(a.offsetHz) || !std::isfinite(a.offsetPpm))
        return MultipletProblem::NotSpectrum;
    bool nonZero = false;
    for (int k = 0; k < a.points; ++k) {
        if (!std::isfinite(a.y(k))) return MultipletProblem::NotFinite;
        nonZero = nonZero || a.y(k) != 0.0;
    }
    if (!nonZero) return MultipletProblem::Empty;
    return std::nullopt;
}

double quantile(std::vector<double> v, double q) {
    const auto at = static_cast<std::ptrdiff_t>(q * static_cast<double>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + at, v.end());
    return v[static_cast<std::size_t>(at)];
}

/// The baseline level and noise from blocks of the spectrum: most blocks hold baseline only, so
/// the median block mean is the baseline and a low quantile of the block deviations the noise.
Noise noiseOf(const Axis& a) {
    const int block = std::clamp(a.points / 16, 8, 128);
    std::vector<double> means, deviations;
    for (int start = 0; start + block <= a.points; start += block) {
        double sum = 0.0, squares = 0.0;
        for (int k = start; k < start + block; ++k) sum += a.y(k);
        const double mean = sum / block;
        for (int k = start; k < start + block; ++k) squares += (a.y(k) - mean) * (a.y(k) - mean);
        means.push_back(mean);
        deviations.push_back(std::sqrt(squares / (block - 1)));
    }
    Noise noise{quantile(means, 0.5), quantile(deviations, 0.25)};
    // Data without noise (a simulation) still need a scale: a part in 10^5 of the tallest value.
    double tallest = 0.0;
    for (int k = 0; k < a.points; ++k) tallest = std::max(tallest, std::fabs(a.y(k) - noise.base));
    noise.sigma = std::max(noise.sigma, 1e-5 * tallest);
    return noise;
}

std::string lowerAlnum(std::string_view text) {
    std::string out;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct SolventEntry {
    std::string_view name;                   ///< as papers name it
    std::vector<std::string_view> recorded;  ///< spellings, lower case, letters and digits only
    std::vector<double> lines;               ///< the residual line, then its water line
};

const std::vector<SolventEntry>& solventTable() {
    static const std::vector<SolventEntry> table = {
        {"CDCl3", {"cdcl3", "chloroformd", "chloroform"}, {7.26, 1.56}},
        {"acetone-d6", {"acetone", "acetoned6", "acetoned", "cd3cocd3"}, {2.05, 2.84}},
        {"DMSO-d6", {"dmso", "dmsod6", "dmsod", "cd3socd3"}, {2.50, 3.33}},
        {"CD3OD", {"cd3od", "meod", "methanold4", "methanol", "cd3oh"}, {3.31, 4.87}},
        {"D2O", {"d2o", "h2od2o", "deuteriumoxide"}, {4.79}},
        {"C6D6", {"c6d6", "benzened6", "benzene"}, {7.16}},
    };
    return table;
}

const SolventEntry* findSolvent(std::string_view text) {
    const std::string key = lowerAlnum(text);
    for (const SolventEntry& e : solventTable()) {
        if (key == lowerAlnum(e.name)) return &e;
        for (std::string_view r : e.recorded)
            if (key == r) return &e;
    }
    return nullptr;
}

/// The solvent the report names: the person's, else the acquisition's.
std::string reportSolvent(const Spectrum& s, const MultipletState& state) {
    return solventName(state.solvent.empty() ? s.solvent : state.solvent);
}

Scene sceneOf(const Axis& axis, const std::string& solvent) {
    return {axis, noiseOf(axis), solventLines(solventName(solvent))};
}

/// Whether point k is a line: a local maximum high enough that dips far enough on both sides
/// before a higher point (or the data's end). The walks run over the whole spectrum, never
/// stopping at a range's end, so that a line is one wherever the range around it ends.
bool isLine(const Scene& sc, int k) {
    const Axis& a = sc.axis;
    if (k <= 0 || k >= a.points - 1) return false;
    const double top = a.y(k);
    if (!(top > a.y(k - 1) && top >= a.y(k + 1))) return false;
    const double height = top - sc.noise.base;
    if (height <= kLineSigmas * sc.noise.sigma) return false;
    const int reach = static_cast<int>(kNeighbourHz / a.hzPerPoint());
    for (int j = std::max(k - reach, 0); j <= std::min(k + reach, a.points - 1); ++j)
        if (kLineShare * (a.y(j) - sc.noise.base) > height) return false;
    const double dip = top - std::max(kLineProminenceSigmas * sc.noise.sigma, kLineDip * height);
    auto dipsBeforeHigher = [&](int step) {
        for (int j = k + step; j >= 0 && j < a.points; j += step) {
            if (a.y(j) <= dip) return true;
            if (a.y(j) > top) return false;
        }
        return true;
    };
    return dipsBeforeHigher(-1) && dipsBeforeHigher(+1);
}

/// The line at point k refined by the parabola through it and its neighbours, with its width at
/// half height (a side whose walk meets a neighbour before half height takes the other side's).
MultipletLine refineLine(const Scene& sc, int k) {
    const Axis& a = sc.axis;
    auto h = [&](int j) { return j >= 0 && j < a.points ? a.y(j) - sc.noise.base : 0.0; };
    const double left = h(k - 1), top = h(k), right = h(k + 1);
    const double curvature = left - 2.0 * top + right;
    const double p = curvature != 0.0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
    const double height = top - 0.25 * (left - right) * p;
    const double half = height / 2.0;
    auto halfWidth = [&](int step, bool& blocked) {
        int j = k;
        while (h(j) > half) {
            const int next = j + step;
            if (next < 0 || next >= a.points || h(next) > h(j)) {
                blocked = true;
                return std::fabs(j - (k + p));
            }
            j = next;
        }
        const double f = (h(j - step) - half) / (h(j - step) - h(j));
        return std::fabs((j - step) + step * f - (k + p));
    };
    bool blockedLeft = false, blockedRight = false;
    double wl = halfWidth(-1, blockedLeft), wr = halfWidth(+1, blockedRight);
    if (blockedLeft && !blockedRight) wl = wr;
    if (blockedRight && !blockedLeft) wr = wl;
    return {a.hz(k + p), height, (wl + wr) * a.hzPerPoint()};
}

/// A solvent or reference range is a narrow one at its shift: a singlet, or the quintet of a CHD2
/// group (J(H,D) about 2 Hz); a multiplet of the sample that happens to centre there is wider.
RangeKind kindOf(const Scene& sc, const MultipletRange& r) {
    double lowHz = std::numeric_limits<double>::infinity(), highHz = -lowHz;
    for (const MultipletLine& l : r.lines) lowHz = std::min(lowHz, l.hz), highHz = std::max(highHz, l.hz);
    if (r.lines.size() > 1 && highHz - lowHz > kSolventSpanHz) return RangeKind::Signal;
    if (std::fabs(r.deltaPpm) <= kReferenceTolerancePpm) return RangeKind::Reference;
    for (double line : sc.solvent)
        if (std::fabs(r.deltaPpm - line) <= kSolventTolerancePpm) return RangeKind::Solvent;
    return RangeKind::Signal;
}

/// The range of points first..last analysed: its lines, pattern, centre, integral and kind.
MultipletRange analysePoints(const Scene& sc, const Spectrum& s, int first, int last) {
    const Axis& a = sc.axis;
    MultipletRange r;
    r.fromPpm = a.ppm(first);
    r.toPpm = a.ppm(last);
    for (int k = last; k >= first; --k)  // by increasing Hz
        if (isLine(sc, k)) r.lines.push_back(refineLine(sc, k));
    r.pattern = fitCouplingTree(r.lines, {.resolutionHz = a.hzPerPoint()});
    r.deltaPpm = r.lines.empty() ? 0.5 * (r.fromPpm + r.toPpm) : r.pattern.centreHz / a.sf;
    if (r.lines.empty()) r.pattern.centreHz = r.deltaPpm * a.sf;
    // The program's integral: the real parts summed less the straight baseline between the ends.
    const IntegralSpan span = integralSpan(s, first, last);
    double sum = 0.0;
    for (int m = 0; span.first + 2 * m <= span.last; ++m)
        sum += s.specData[span.first + 2 * m] - span.baseline(m);
    r.integral = std::isfinite(sum) ? sum : 0.0;
    r.kind = kindOf(sc, r);
    return r;
}

/// The signal regions. The lines clearly above the noise are grouped: lines closer than
/// kMinStretchHz belong to one multiplet, and two groups part at the lowest point between them.
/// Each group's range reaches from its outer lines down to kEdgeShare of its tallest line (or to
/// the noise), then kMarginHz further, never past the parting points. From the lines alone, so the
/// same spectrum gives the same ranges.
std::vector<std::pair<int, int>> findRanges(const Scene& sc) {
    const Axis& a = sc.axis;
    const double base = sc.noise.base, sigma = sc.noise.sigma;
    std::vector<int> lines;
    for (int k = 1; k < a.points - 1; ++k)
        if (a.y(k) - base > kDetectSigmas * sigma && isLine(sc, k)) lines.push_back(k);
    std::vector<std::pair<std::size_t, std::size_t>> groups;  // first and last line of each
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && (lines[i] - lines[i - 1]) * a.hzPerPoint() < kMinStretchHz) {
            groups.back().second = i;
        } else {
            groups.emplace_back(i, i);
        }
    }
    // The parting point after group g: the lowest point between its last line and the next's first.
    std::vector<int> parting;
    for (std::size_t g = 0; g + 1 < groups.size(); ++g) {
        int low = lines[groups[g].second];
        for (int k = low; k <= lines[groups[g + 1].first]; ++k)
            if (a.y(k) < a.y(low)) low = k;
        parting.push_back(low);
    }
    const int margin = static_cast<int>(std::ceil(kMarginHz / a.hzPerPoint()));
    std::vector<std::pair<int, int>> ranges;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int lowest = g == 0 ? 0 : parting[g - 1] + 1;
        const int highest = g + 1 == groups.size() ? a.points - 1 : parting[g];
        double tallest = 0.0;
        for (std::size_t i = groups[g].first; i <= groups[g].second; ++i)
            tallest = std::max(tallest, a.y(lines[i]) - base);
        const double edge = std::max(kSpreadSigmas * sigma, kEdgeShare * tallest);
        int first = lines[groups[g].first], last = lines[groups[g].second];
        while (first > lowest && a.y(first - 1) - base > edge) --first;
        while (last < highest && a.y(last + 1) - base > edge) ++last;
        ranges.emplace_back(std::max(first - margin, lowest), std::min(last + margin, highest));
    }
    return ranges;
}

/// The points of a region given in ppm (either order), cut to the data; none when it holds fewer
/// than two points.
std::optional<std::pair<int, int>> pointsOf(const Axis& a, double ppmA, double ppmB) {
    if (!std::isfinite(ppmA) || !std::isfinite(ppmB)) return std::nullopt;
    const double pa = a.point(ppmA), pb = a.point(ppmB);
    const double lo = std::max(std::ceil(std::min(pa, pb)), 0.0);
    const double hi = std::min(std::floor(std::max(pa, pb)), a.points - 1.0);
    if (!(hi - lo >= 1.0)) return std::nullopt;
    return std::pair{static_cast<int>(lo), static_cast<int>(hi)};
}

void sortRanges(MultipletState& state) {
    std::stable_sort(state.ranges.begin(), state.ranges.end(),
                     [](const MultipletRange& l, const MultipletRange& r) { return l.fromPpm > r.fromPpm; });
}

bool validIndex(const MultipletState& state, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < state.ranges.size();
}

/// The scale (protons per integral unit) that puts the signal ranges nearest whole numbers: each
/// range in turn is taken as 1 ... 8 protons and the scale refined by least squares on the counts
/// it gives; the smallest total whose counts lie within kWholeRms of whole numbers wins, else the
/// closest. Ranges below kMinShare of the largest (satellites, traces) take no part.
double wholeNumberScale(const std::vector<double>& integrals) {
    constexpr double kMinShare = 0.03, kWholeRms = 0.15;
    double largest = 0.0;
    for (double v : integrals) largest = std::max(largest, v);
    std::vector<double> counted;
    for (double v : integrals)
        if (v >= kMinShare * largest && v > 0.0) counted.push_back(v);
    if (counted.empty()) return 0.0;
    double bestScale = 1.0 / *std::min_element(counted.begin(), counted.end());
    double bestRms = std::numeric_limits<double>::infinity(), bestTotal = 0.0;
    bool bestWhole = false;
    for (double ref : counted) {
        for (int k = 1; k <= 8; ++k) {
            double u = k / ref, rms = 0.0, total = 0.0;
            for (int pass = 0; pass < 2; ++pass) {
                double num = 0.0, den = 0.0;
                for (double v : counted) {
                    const double n = std::max(1.0, std::round(v * u));
                    num += n * v, den += v * v;
                }
                u = num / den;
            }
            for (double v : counted) {
                const double n = std::max(1.0, std::round(v * u));
                rms += (v * u - n) * (v * u - n), total += n;
            }
            rms = std::sqrt(rms / static_cast<double>(counted.size()));
            const bool whole = rms <= kWholeRms;
            const bool better =
                whole ? (!bestWhole || total < bestTotal || (total == bestTotal && rms < bestRms))
                      : (!bestWhole && rms < bestRms);
            if (better) bestScale = u, bestRms = rms, bestTotal = total, bestWhole = whole;
        }
    }
    return bestScale;
}

}  // namespace

std::string fixedText(double v, int digits) {
    std::string text = cformat("%.*f", std::clamp(digits, 0, 6), v);
    // A value that rounds to zero prints without a sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

namespace {

struct LineParts {
    std::string nucleus, frequency, solvent;
    std::vector<std::pair<std::string, std::string>> signals;  ///< delta text, "(dd, J = ..., 1H)" parts
};

/// The signals of the line: Signal ranges with at least one proton, high to low ppm. A range whose
/// count rounds to 0 (a satellite, a trace) stays in the list but not in the line.
std::vector<const MultipletRange*> lineRanges(const MultipletState& state) {
    std::vector<const MultipletRange*> out;
    for (const MultipletRange& r : state.ranges)
        if (r.kind == RangeKind::Signal && r.nH > 0) out.push_back(&r);
    std::stable_sort(out.begin(), out.end(), [](const MultipletRange* l, const MultipletRange* r) {
        return l->deltaPpm > r->deltaPpm;
    });
    return out;
}

}  // namespace

std::string deltaText(const MultipletRange& r, double sf, int digits) {
    if (r.pattern.firstOrder()) return fixedText(r.deltaPpm, digits);
    // A multiplet is quoted by the span of its lines, which does not move with the range's ends.
    double hi = r.fromPpm, lo = r.toPpm;
    if (!r.lines.empty() && sf > 0.0) {
        hi = -std::numeric_limits<double>::infinity(), lo = std::numeric_limits<double>::infinity();
        for (const MultipletLine& l : r.lines) hi = std::max(hi, l.hz / sf), lo = std::min(lo, l.hz / sf);
    }
    const std::string a = fixedText(std::max(hi, lo), digits), b = fixedText(std::min(hi, lo), digits);
    return a == b ? a : a + "\u2013" + b;
}

namespace {

std::string htmlEscaped(std::string_view text);

/// The "(dd, J = 7.9, 1.7 Hz, 1H)" of a range, as text or as rich text.
std::string signalText(const MultipletRange& r, int jDigits, bool html) {
    const std::string& m = r.pattern.multiplicity;
    const std::string j = html ? "<i>J</i>" : "J";
    std::string text = "(" + (m.empty() ? std::string("m") : html ? htmlEscaped(m) : m);
    std::vector<double> js = r.pattern.J;
    const bool withJ = !js.empty() && m != "s" && m != "br s" && m != "m" && !m.empty();
    if (withJ) {
        std::sort(js.begin(), js.end(), std::greater<>());
        text += ", " + j + " = ";
        for (std::size_t i = 0; i < js.size(); ++i) text += (i ? ", " : "") + fixedText(js[i], jDigits);
        text += " Hz";
    }
    return text + ", " + std::to_string(r.nH) + "H)";
}

std::string htmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

/// The nucleus the line names: the acquisition's, else 1H (a report of proton counts).
std::string nucleusOf(const Spectrum& s) { return s.nucleus.empty() ? std::string("1H") : s.nucleus; }

std::string composeLine(const Spectrum& s, const MultipletState& state, bool html) {
    const std::string nucleus = nucleusOf(s);
    const std::string solvent = reportSolvent(s, state);
    std::string line;
    if (html) {
        const std::size_t digits = nucleus.find_first_not_of("0123456789");
        line = digits > 0 && digits != std::string::npos
                   ? "<sup>" + nucleus.substr(0, digits) + "</sup>" + htmlEscaped(nucleus.substr(digits))
                   : htmlEscaped(nucleus);
    } else {
        line = nucleus;
    }
    line += " NMR (" + std::to_string(nominalFrequency(s.acqPars.SF)) + " MHz";
    if (!solvent.empty()) line += ", " + (html ? htmlEscaped(solvent) : solvent);
    line += ")";
    const std::vector<const MultipletRange*> signals = lineRanges(state);
    if (!signals.empty()) line += html ? " <i>\u03b4</i> " : " \u03b4 ";
    for (std::size_t i = 0; i < signals.size(); ++i) {
        const MultipletRange& r = *signals[i];
        line += (i ? ", " : "") + deltaText(r, s.acqPars.SF, state.format.deltaDigits) + " ";
        line += signalText(r, state.format.jDigits, html);
    }
    return line + ".";
}

}  // namespace

Message multipletMessage(MultipletProblem problem) {
    const char* text = "";
    switch (problem) {
        case MultipletProblem::NotSpectrum:
            text = "The data are not a spectrum: transform the FID before the multiplet report.";
            break;
        case MultipletProblem::TooFewPoints:
            text = "The spectrum has too few points to tell its signals from the noise.";
            break;
        case MultipletProblem::NotFinite: text = "The spectrum holds values that are not numbers."; break;
        case MultipletProblem::Empty: text = "The spectrum is empty: every value is 0."; break;
        case MultipletProblem::NoiseOnly:
            text = "No signal of the sample stands clearly above the noise of the spectrum.";
            break;
        case MultipletProblem::RegionOutside: text = "A region lies outside the spectrum."; break;
        case MultipletProblem::BadTotal: text = "The total of protons must be a number above 0."; break;
    }
    return {text, "Multiplet Report", MessageIcon::Exclamation};
}

Result<MultipletState, MultipletProblem> analyseMultiplets(const Spectrum& s,
                                                           const MultipletSettings& settings) {
    Axis axis;
    if (auto problem = axisOf(s, axis)) return Failure{*problem};
    if (!std::isfinite(settings.totalH) || settings.totalH < 0.0) return Failure{MultipletProblem::BadTotal};
    MultipletState state;
    state.totalH = settings.totalH;
    state.solvent = settings.solvent;
    state.format = settings.format;
    const Scene sc = sceneOf(axis, state.solvent.empty() ? s.solvent : state.solvent);

    std::vector<std::pair<int, int>> spans;
    if (settings.regions.empty()) {
        spans = findRanges(sc);
        if (spans.empty()) return Failure{MultipletProblem::NoiseOnly};
    } else {
        for (const PpmRegion& region : settings.regions) {
            const auto points = pointsOf(axis, region.from, region.to);
            if (!points) return Failure{MultipletProblem::RegionOutside};
            spans.push_back(*points);
        }
    }
    for (const auto& [first, last] : spans) {
        MultipletRange r = analysePoints(sc, s, first, last);
        // A found range without a line is a broad hump of the baseline, not a signal.
        if (settings.regions.empty() && r.lines.empty()) continue;
        state.ranges.push_back(std::move(r));
    }
    if (state.ranges.empty()) return Failure{MultipletProblem::NoiseOnly};
    sortRanges(state);
    countProtons(state);
    if (settings.regions.empty()) {
        // A found signal worth less than half a proton is a trace (an impurity, a satellite, a
        // sideband), not a signal of the compound: it is not listed. Regions given are kept.
        const auto trace = [](const MultipletRange& r) { return r.kind == RangeKind::Signal && r.nH == 0; };
        if (std::erase_if(state.ranges, trace) > 0) countProtons(state);
        // Solvent and reference lines alone make no report of the sample.
        if (std::none_of(state.ranges.begin(), state.ranges.end(),
                         [](const MultipletRange& r) { return r.kind == RangeKind::Signal; }))
            return Failure{MultipletProblem::NoiseOnly};
    }
    return state;
}

Result<MultipletRange, MultipletProblem> analyseRange(const Spectrum& s, double ppmA, double ppmB,
                                                      const MultipletState& state) {
    Axis axis;
    if (auto problem = axisOf(s, axis)) return Failure{*problem};
    const auto points = pointsOf(axis, ppmA, ppmB);
    if (!points) return Failure{MultipletProblem::RegionOutside};
    const Scene sc = sceneOf(axis, state.solvent.empty() ? s.solvent : state.solvent);
    return analysePoints(sc, s, points->first, points->second);
}

void countProtons(MultipletState& state) {
    double setCount = 0.0, setIntegral = 0.0, signalIntegral = 0.0;
    std::vector<double> integrals;
    for (const MultipletRange& r : state.ranges) {
        if (r.kind != RangeKind::Signal) continue;
        integrals.push_back(r.integral);
        signalIntegral += r.integral;
        if (r.countSet) setCount += r.nH, setIntegral += r.integral;
    }
    double scale = 0.0;
    if (setCount > 0.0 && setIntegral > 0.0) {
        scale = setCount / setIntegral;
    } else if (state.totalH > 0.0 && signalIntegral > 0.0) {
        scale = state.totalH / signalIntegral;
    } else {
        scale = wholeNumberScale(integrals);
    }
    for (MultipletRange& r : state.ranges) {
        // Every range shows its integral on the proton scale; only signals get a count.
        r.protons = std::isfinite(r.integral * scale) ? r.integral * scale : 0.0;
        if (r.kind != RangeKind::Signal) {
            r.nH = 0;
            r.countSet = false;
        } else if (!r.countSet) {
            r.nH = r.protons > 0.0 ? static_cast<int>(std::min(std::round(r.protons), 1e6)) : 0;
        }
    }
}

bool mergeRanges(const Spectrum& s, MultipletState& state, int first, int second) {
    if (!validIndex(state, first) || !validIndex(state, second) || first == second) return false;
    const MultipletRange& a = state.ranges[static_cast<std::size_t>(first)];
    const MultipletRange& b = state.ranges[static_cast<std::size_t>(second)];
    const double hi = std::max(a.fromPpm, b.fromPpm), lo = std::min(a.toPpm, b.toPpm);
    auto merged = analyseRange(s, hi, lo, state);
    if (!merged) return false;
    // The merged range takes the place of both and of whatever lay between them.
    std::erase_if(state.ranges, [&](const MultipletRange& r) { return r.toPpm >= lo && r.fromPpm <= hi; });
    state.ranges.push_back(std::move(*merged));
    sortRanges(state);
    countProtons(state);
    return true;
}

bool splitRange(const Spectrum& s, MultipletState& state, int range, double atPpm) {
    if (!validIndex(state, range)) return false;
    const MultipletRange old = state.ranges[static_cast<std::size_t>(range)];
    if (!(atPpm < old.fromPpm && atPpm > old.toPpm)) return false;
    auto upper = analyseRange(s, old.fromPpm, atPpm, state);
    auto lower = analyseRange(s, atPpm, old.toPpm, state);
    if (!upper || !lower) return false;
    state.ranges.erase(state.ranges.begin() + range);
    state.ranges.push_back(std::move(*upper));
    state.ranges.push_back(std::move(*lower));
    sortRanges(state);
    countProtons(state);
    return true;
}

bool addRange(const Spectrum& s, MultipletState& state, double ppmA, double ppmB) {
    auto added = analyseRange(s, ppmA, ppmB, state);
    if (!added) return false;
    // The new range replaces the ranges it overlaps.
    const double hi = added->fromPpm, lo = added->toPpm;
    std::erase_if(state.ranges, [&](const MultipletRange& r) { return r.toPpm <= hi && r.fromPpm >= lo; });
    state.ranges.push_back(std::move(*added));
    sortRanges(state);
    countProtons(state);
    return true;
}

bool deleteRange(MultipletState& state, int range) {
    if (!validIndex(state, range)) return false;
    state.ranges.erase(state.ranges.begin() + range);
    countProtons(state);
    return true;
}

bool setMultiplicity(const Spectrum& s, MultipletState& state, int range, const std::string& multiplicity,
                     std::vector<double> J) {
    if (!validIndex(state, range)) return false;
    MultipletRange& r = state.ranges[static_cast<std::size_t>(range)];
    if (multiplicity.empty()) {
        r.pattern =
            fitCouplingTree(r.lines, {.resolutionHz = s.nData > 0 ? 2.0 * s.acqPars.SW / s.nData : 0.0});
        if (r.lines.empty()) r.pattern.centreHz = r.deltaPpm * s.acqPars.SF;
        r.patternSet = false;
        return true;
    }
    for (char c : multiplicity)
        if (std::iscntrl(static_cast<unsigned char>(c))) return false;
    for (double j : J)
        if (!std::isfinite(j) || j <= 0.0) return false;
    std::sort(J.begin(), J.end(), std::greater<>());
    r.pattern.multiplicity = multiplicity;
    r.pattern.J = std::move(J);
    r.patternSet = true;
    return true;
}

bool setProtonCount(MultipletState& state, int range, int nH) {
    if (!validIndex(state, range) || nH < 0) return false;
    MultipletRange& r = state.ranges[static_cast<std::size_t>(range)];
    if (r.kind != RangeKind::Signal) return false;
    r.countSet = nH > 0;
    if (r.countSet) r.nH = nH;
    countProtons(state);
    return true;
}

std::string solventName(std::string_view recorded) {
    if (const SolventEntry* e = findSolvent(recorded)) return std::string(e->name);
    // An unknown name is reported as recorded, less the white space around it.
    const auto first = recorded.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return std::string(recorded.substr(first, recorded.find_last_not_of(" \t\r\n") - first + 1));
}

std::vector<double> solventLines(std::string_view name) {
    if (const SolventEntry* e = findSolvent(name)) return e->lines;
    return {};
}

int nominalFrequency(double sfMHz) {
    // Spectrometers are named by their proton frequency in whole MHz: 300.13, 499.87 -> 300, 500.
    if (!std::isfinite(sfMHz) || sfMHz <= 0.0 || sfMHz > 1e6) return 0;
    return static_cast<int>(std::lround(sfMHz));
}

std::string reportLine(const Spectrum& s, const MultipletState& state) {
    return composeLine(s, state, false);
}

std::string reportLineHtml(const Spectrum& s, const MultipletState& state) {
    return composeLine(s, state, true);
}

}  // namespace pelvaron::analysis
