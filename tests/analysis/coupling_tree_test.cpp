// The coupling tree fit on multiplets whose constants we chose, drawn as Lorentzian lines and picked
// the way the program picks (local maxima, parabola, half-height walk), and on aspirin's aromatic
// protons as the program's own peak picking finds them.
#include "analysis/coupling_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "analysis/peaks.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::analysis {
namespace {

struct Stick {
    double hz, weight;
};

/// The lines of first-order groups {n, J} around 0 Hz.
std::vector<Stick> tree(const std::vector<std::pair<int, double>>& groups) {
    std::vector<Stick> sticks{{0.0, 1.0}};
    for (auto [n, j] : groups) {
        std::vector<Stick> next;
        double binomial = 1.0;
        for (int m = 0; m <= n; ++m, binomial = binomial * (n - m + 1) / m)
            for (Stick s : sticks) next.push_back({s.hz + (m - n / 2.0) * j, s.weight * binomial});
        sticks = next;
    }
    return sticks;
}

/// What peak picking finds on the sum of Lorentzian lines of `width` sampled every `res` Hz: heights
/// tilted by `roof` from centre to end (a first-order roof) and scattered by `noise`, positions
/// jittered by a tenth of the resolution.
std::vector<MultipletLine> picked(const std::vector<Stick>& sticks, double width, double res,
                                  double roof = 0.0, double noise = 0.0, unsigned seed = 1) {
    std::mt19937 random(seed);
    auto uniform = [&] { return 2.0 * random() / std::mt19937::max() - 1.0; };
    double span = 0.0;
    for (const Stick& s : sticks) span = std::max(span, std::fabs(s.hz));
    auto y = [&](double x) {
        double sum = 0.0;
        for (const Stick& s : sticks) {
            const double u = 2.0 * (x - s.hz) / width;
            sum += s.weight * (1.0 + roof * s.hz / std::max(span, 1e-9)) / (1.0 + u * u);
        }
        return sum;
    };
    const double phase = 0.37 * res;  // samples do not fall on the lines
    const int half = static_cast<int>((span + 6.0 * width) / res);
    std::vector<double> v;
    for (int k = -half; k <= half; ++k) v.push_back(y(k * res + phase));
    std::vector<MultipletLine> lines;
    for (std::size_t k = 1; k + 1 < v.size(); ++k) {
        if (!(v[k] > v[k - 1] && v[k] >= v[k + 1])) continue;
        const double p = (v[k - 1] - v[k + 1]) / (2.0 * (v[k - 1] - 2.0 * v[k] + v[k + 1]));
        const double top = v[k] - (v[k - 1] - v[k + 1]) * p / 4.0;
        double edges = 0.0;
        for (int dir : {-1, 1}) {
            std::size_t j = k;
            while (j > 0 && j + 1 < v.size() && v[j] > top / 2.0 && v[j + dir] < v[j]) j += dir;
            const double past = v[j] > top / 2.0 ? 0.0 : (top / 2.0 - v[j]) / (v[j - dir] - v[j]);
            edges += std::fabs(static_cast<double>(j) - static_cast<double>(k)) - past;
        }
        const double hz = (static_cast<double>(k) - half + p) * res + phase + 0.1 * res * uniform();
        lines.push_back({hz, top * (1.0 + noise * uniform()), edges * res});
    }
    return lines;
}

using Groups = std::vector<std::pair<int, double>>;

TEST(CouplingTree, FirstOrderMultipletsGiveTheirNamesAndConstantsAtAnyField) {
    struct Case {
        const char* name;
        Groups groups;
    };
    // clang-format off
    const Case cases[] = {
        {"d", {{1, 7.0}}}, {"t", {{2, 7.2}}}, {"q", {{3, 7.1}}}, {"dd", {{1, 8.0}, {1, 2.0}}},
        {"dt", {{1, 10.2}, {2, 3.1}}}, {"td", {{2, 7.8}, {1, 1.7}}}, {"ddd", {{1, 10.0}, {1, 6.0}, {1, 2.5}}},
        {"qd", {{3, 7.0}, {1, 2.5}}}, {"tt", {{2, 7.5}, {2, 2.2}}}, {"sept", {{6, 6.8}}},
        {"dd", {{1, 8.0}, {1, 4.0}}},  // J1 = 2 J2: four evenly spaced lines
    };
    // clang-format on
    // 300 MHz-like lines (1 Hz wide, 4 points each) and sharper ones on a finer grid.
    for (auto [width, res] : {std::pair{1.0, 0.25}, {0.5, 0.1}})
        for (const Case& c : cases)
            for (double roof : {0.0, 0.12, -0.12}) {
                SCOPED_TRACE(::testing::Message() << c.name << " width " << width << " roof " << roof);
                std::vector<MultipletLine> lines = picked(tree(c.groups), width, res, roof, 0.04);
                for (MultipletLine& l : lines) l.hz += 1234.5;
                const CouplingPattern p = fitCouplingTree(lines);
                EXPECT_EQ(p.multiplicity, c.name);
                ASSERT_EQ(p.J.size(), c.groups.size());
                for (std::size_t k = 0; k < p.J.size(); ++k) EXPECT_NEAR(p.J[k], c.groups[k].second, 0.1);
                EXPECT_NEAR(p.centreHz, 1234.5, 0.1);
                // The lines alone decide: their order does not matter.
                std::reverse(lines.begin(), lines.end());
                EXPECT_EQ(fitCouplingTree(lines).J, p.J);
            }
}

TEST(CouplingTree, PatternsThatNoFirstOrderTreeExplainsAreM) {
    // An AB with Δν = 2 J has a dd's positions; its inner lines stand 2.6 times the outer ones.
    const double j = 8.0, d = std::hypot(16.0, j), s = j / d;
    const std::vector<Stick> ab{
        {-(d + j) / 2, 1 - s}, {-(d - j) / 2, 1 + s}, {(d - j) / 2, 1 + s}, {(d + j) / 2, 1 - s}};
    std::vector<Stick> sameLinesFlat = ab;
    for (Stick& st : sameLinesFlat) st.weight = 1.0;
    std::vector<Stick> twoDoublets{{-3.5, 1}, {3.5, 1}, {2.0 - 2.5, 1}, {2.0 + 2.5, 1}};
    std::vector<Stick> tripletAndNeighbour = tree({{2, 7.0}});
    tripletAndNeighbour.push_back({40.0, 0.8});
    for (auto [width, res] : {std::pair{1.0, 0.25}, {0.5, 0.1}}) {
        EXPECT_EQ(fitCouplingTree(picked(ab, width, res)).multiplicity, "m");
        const CouplingPattern flat = fitCouplingTree(picked(sameLinesFlat, width, res));
        EXPECT_EQ(flat.multiplicity, "dd");
        EXPECT_NEAR(flat.J.at(0), d, 0.1);
        EXPECT_EQ(fitCouplingTree(picked(twoDoublets, width, res)).multiplicity, "m");
        // A line of another signal in the same range is not forced into the tree.
        EXPECT_EQ(fitCouplingTree(picked(tripletAndNeighbour, width, res)).multiplicity, "m");
    }
}

TEST(CouplingTree, ShowsWhatTheLinesResolve) {
    const double width = 1.0, res = 0.25;
    // Two constants 0.6 Hz apart on 1 Hz lines: three lines, the middle one wider. Reported as the
    // triplet the lines show, at the mean constant.
    CouplingPattern p = fitCouplingTree(picked(tree({{1, 8.0}, {1, 7.4}}), width, res, 0.05, 0.03));
    EXPECT_EQ(p.multiplicity, "t");
    EXPECT_NEAR(p.J.at(0), 7.7, 0.1);
    // A coupling of 0.4 of the width only broadens each line: not reported.
    p = fitCouplingTree(picked(tree({{2, 7.0}, {1, 0.4}}), width, res));
    EXPECT_EQ(p.multiplicity, "t");
    EXPECT_NEAR(p.J.at(0), 7.0, 0.1);
    // One line: narrow "s", broad "br s"; tiny stray lines (noise, satellites) beside a pattern are
    // ignored.
    EXPECT_EQ(fitCouplingTree(picked({{0.0, 1.0}}, width, res)).multiplicity, "s");
    EXPECT_EQ(fitCouplingTree(picked({{0.0, 1.0}}, 12.0, res)).multiplicity, "br s");
    std::vector<Stick> satellites = tree({{3, 7.1}});
    satellites.push_back({-64.0, 0.03});
    satellites.push_back({64.0, 0.03});
    p = fitCouplingTree(picked(satellites, width, res));
    EXPECT_EQ(p.multiplicity, "q");
    EXPECT_NEAR(p.J.at(0), 7.1, 0.1);
    EXPECT_EQ(fitCouplingTree(std::vector<MultipletLine>{}).multiplicity, "m");
}

/// The lines pickPeaks and refinePeak find between two ppm values, above `fraction` of the tallest.
std::vector<MultipletLine> pickedLines(Document& doc, double fromPpm, double toPpm, double fraction) {
    testing::RecordingUserInterface ui;
    const int a = ppmToIndex(doc, fromPpm), b = ppmToIndex(doc, toPpm);
    double top = 0.0;
    for (int i = std::min(a, b); i <= std::max(a, b); i += 2) top = std::max(top, doc.spectrum.specData[i]);
    doc.peaks = PeakState{};
    EXPECT_TRUE(pickPeaksBetween(doc, ui, fromPpm, toPpm, fraction * top));
    const double hzPerPoint = doc.spectrum.acqPars.SW / (doc.spectrum.nData / 2);
    std::vector<MultipletLine> lines;
    for (int e = 0; e < doc.peaks.peakCount; ++e) {
        const PeakEntry& entry = doc.peaks.peakList[static_cast<std::size_t>(e)];
        const PeakFit fit = refinePeak(doc, entry.index / 2);
        lines.push_back({peakValues(doc, entry).hz, fit.height, fit.width * hzPerPoint});
    }
    return lines;
}

TEST(CouplingTree, AspirinAromaticProtonsAndMethyl) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    ASSERT_TRUE(
        io::loadFile(*doc, ui, testing::sourcePath("tests/data/aspirin-1h/processed-set"), std::nullopt));
    struct Range {
        double from, to;
        const char* name;
        std::vector<double> J;
    };
    // This processing puts the protons 0.06 ppm below their usual shifts.
    const Range ranges[] = {{8.10, 8.00, "dd", {7.9, 1.7}},
                            {7.58, 7.47, "td", {7.8, 1.7}},
                            {7.32, 7.24, "td", {7.7, 1.1}},
                            {7.10, 7.03, "dd", {8.1, 1.1}},
                            {2.35, 2.24, "s", {}}};
    CouplingSettings settings;
    settings.resolutionHz = doc->spectrum.acqPars.SW / (doc->spectrum.nData / 2);
    for (const Range& r : ranges) {
        SCOPED_TRACE(r.name);
        const CouplingPattern p = fitCouplingTree(pickedLines(*doc, r.from, r.to, 0.05), settings);
        EXPECT_EQ(p.multiplicity, r.name);
        ASSERT_EQ(p.J.size(), r.J.size());
        for (std::size_t k = 0; k < p.J.size(); ++k) EXPECT_NEAR(p.J[k], r.J[k], 0.15);
    }
}

}  // namespace
}  // namespace pelvaron::analysis
