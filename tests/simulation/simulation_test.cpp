// The simulation: the spin engine against the AB closed form (alone and in uncoupled parts), the
// count, order and moments of its lines, the subsystem table, the whole recomputation, refusals and
// allocation failures; the simulated spectrum against the line-by-line sum; and the toolkit where
// the engine does not reach it (its storage, sort2, tred2, tqli and binomial are checked through
// the engine, their one caller).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "recording_ui.h"
#include "simulation/spin_engine.h"
#include "simulation/spin_system_file.h"
#include "simulation/synthesis.h"
#include "simulation/toolkit.h"

namespace pelvaron::simulation {
namespace {

using testing::messageTexts;
using Couplings = std::vector<std::vector<double>>;

struct Line {
    double freq;
    double intens;
};

/// Refuses the one allocation whose failure message is `message`.
class RefuseOne : public AllocationGate {
public:
    explicit RefuseOne(std::string message) : message_(std::move(message)) {}
    bool allow(std::string_view failureMessage) const override { return failureMessage != message_; }

private:
    std::string message_;
};

/// A symmetric n x n coupling matrix from (i, j, J) triples, nuclei counted from 0.
Couplings couplingMatrix(int n, const std::vector<std::tuple<int, int, double>>& pairs) {
    Couplings c(n, std::vector<double>(n, 0.0));
    for (const auto& [i, j, v] : pairs) c[i][j] = c[j][i] = v;
    return c;
}

void sortLines(std::vector<Line>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& x, const Line& y) { return x.freq < y.freq; });
}

/// The closed form of two nuclei at nu1 and nu2 coupled by j, sorted by frequency.
std::vector<Line> abLines(double nu1, double nu2, double j) {
    const double centre = (nu1 + nu2) / 2.0, d = std::hypot(nu1 - nu2, j);
    std::vector<Line> lines;
    for (double sd : {1.0, -1.0})
        for (double sj : {1.0, -1.0})  // outer lines (sj == sd) lose what the inner ones gain
            lines.push_back({centre + sj * j / 2 + sd * d / 2, (1 - sd * sj * j / d) / 2});
    sortLines(lines);
    return lines;
}

/// The synthesis line by line: for each line, k = 0 .. h-1 points to both sides of its centre
/// (centre once), kept inside 0 .. h-1.
std::vector<double> directSynthesis(const std::vector<double>& freq, const std::vector<double>& intens,
                                    double w, double threshold, int nPoints, double fromHz, double toHz,
                                    double offsetHz) {
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

std::vector<Line> engineLines(int n, const std::vector<double>& nu, const Couplings& j) {
    Messages said;
    SpinSubsystem system;
    Transitions tr;
    EXPECT_TRUE(makeSubsystem(n, nu, j, system, said) && computeTransitions(system, tr, said));
    std::vector<Line> lines;
    for (int t = 1; t <= tr.count(); ++t) lines.push_back({tr.freq[t], tr.intens[t]});
    return lines;
}

void expectSameLines(const std::vector<Line>& got, const std::vector<Line>& want, double freqTol,
                     double intensTol) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].freq, want[i].freq, freqTol) << "line " << i;
        EXPECT_NEAR(got[i].intens, want[i].intens, intensTol) << "line " << i;
    }
}

/// A simulation over 0 .. 1000 Hz, 4096 points, of these subsystems, computed as the dialogs would.
std::unique_ptr<Document> simulationDocument(std::vector<SpinSystemFile::Subsystem> systems, Messages& said) {
    auto doc = std::make_unique<Document>();
    EXPECT_TRUE(
        simulateSpinSystem(*doc, said, {.to = 1000.0, .points = 4096, .subsystems = std::move(systems)}));
    return doc;
}

TEST(SpinEngine, TwoSpinsAndUncoupledPairsMatchTheAbClosedForm) {
    // Uncoupled, equal shifts (only the inner lines), negative coupling with nu1 above nu2, lines
    // on both sides of 0 Hz.
    const double cases[][3] = {
        {100.0, 250.0, 0.0}, {200.0, 200.0, 8.0}, {300.0, 290.0, -7.5}, {-10.0, 4.0, 6.0}};
    for (const auto& [nu1, nu2, j] : cases)
        expectSameLines(engineLines(2, {nu1, nu2}, couplingMatrix(2, {{0, 1, j}})), abLines(nu1, nu2, j),
                        1e-9, 1e-9);
    // Two strongly coupled pairs and a lone nucleus, not coupled to each other: the spectrum of
    // the three simulated apart.
    auto j = couplingMatrix(5, {{0, 1, 12.0}, {2, 3, -7.5}});
    j[1][0] = j[4][2] = 1e6;  // below the diagonal: never read
    Messages said;
    const auto whole = simulationDocument({{{100.0, 106.0, 300.0, 290.0, 700.0}, j}}, said);
    const auto apart = simulationDocument({{{100.0, 106.0}, couplingMatrix(2, {{0, 1, 12.0}})},
                                           {{300.0, 290.0}, couplingMatrix(2, {{0, 1, -7.5}})},
                                           {{700.0}, couplingMatrix(1, {})}},
                                          said);
    for (int i = 0; i < 4096; ++i)
        ASSERT_NEAR(whole->spectrum.specData[i], apart->spectrum.specData[i], 1e-9) << i;
}

TEST(SpinEngine, AllLinesInOrderWithTheMomentsOfTheShifts) {
    // Beyond the range of float, and 1e-9 Hz apart: the order is exact either way.
    std::vector<std::pair<std::vector<double>, Couplings>> systems;
    for (double base : {-3e39, 5e39, 1000.0})
        systems.push_back(
            {{base + 2e-9 * std::fabs(base), base, base + 1e-9 * std::fabs(base)}, couplingMatrix(3, {})});
    // Random shifts and couplings.
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> shift(-20.0, 150.0), coupling(-15.0, 15.0);
    for (int n = 1; n <= kMaxNuclei; ++n) {
        auto& [nu, j] = systems.emplace_back(std::vector<double>(n), Couplings(n, std::vector<double>(n)));
        for (int a = 0; a < n; ++a) {
            nu[a] = shift(rng);
            for (int b = a; b < n; ++b) j[a][b] = a == b ? 0.0 : coupling(rng);
        }
    }
    for (const auto& [nu, j] : systems) {
        const int n = static_cast<int>(nu.size());
        SCOPED_TRACE(::testing::Message() << "n = " << n << ", first shift " << nu[0]);
        const auto lines = engineLines(n, nu, j);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(binomial(2 * n, n - 1)));
        EXPECT_TRUE(
            std::is_sorted(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.freq < b.freq; }));
        // Couplings commute with F+: the first three moments are those of the shifts alone.
        double moment[3] = {}, want[3] = {};
        for (int k = 0; k < 3; ++k) {
            for (const Line& l : lines) moment[k] += l.intens * std::pow(l.freq, k);
            for (double v : nu) want[k] += std::pow(v, k);
            EXPECT_NEAR(moment[k], want[k], 1e-9 * std::pow(std::fabs(nu[0]) + 150.0, k) * n) << k;
        }
    }
}

const SpinSystemFile::Subsystem kAb{{100.0, 200.0}, couplingMatrix(2, {{0, 1, 7.0}})};

TEST(SpinSubsystem, IsAWholeSpinSystemOrRefusedWithWhatIsWrong) {
    // The count, the shapes, then the values, each refusal in its words; nothing is made.
    Messages said;
    SpinSubsystem made;
    auto j = couplingMatrix(3, {{0, 1, 7.0}});
    EXPECT_FALSE(makeSubsystem(11, std::vector<double>(11), couplingMatrix(11, {}), made, said));
    EXPECT_FALSE(makeSubsystem(0, {}, {}, made, said));
    EXPECT_FALSE(makeSubsystem(3, {1.0, 2.0}, j, made, said));
    EXPECT_FALSE(makeSubsystem(3, {1.0, 2.0, 3.0}, {j[0], j[1], {0.0}}, made, said));
    EXPECT_FALSE(makeSubsystem(2, {1.0, NAN}, j, made, said));
    EXPECT_FALSE(makeSubsystem(2, {1.0, 2.0}, couplingMatrix(2, {{0, 1, INFINITY}}), made, said));
    EXPECT_EQ(messageTexts(said),
              (std::vector<std::string>{kNucleiCountText, kNucleiCountText, kIncompleteText, kIncompleteText,
                                        kNotFiniteText, kNotFiniteText}));
    Transitions tr;
    EXPECT_TRUE(made.empty() && !computeTransitions(made, tr, said));  // a record never entered

    // The first n of longer copies, the table symmetric from its entries above the diagonal; the
    // setters keep it a spin system.
    j[1][0] = NAN;
    ASSERT_TRUE(makeSubsystem(2, {100.0, 200.0, 300.0}, j, made, said));
    EXPECT_EQ(made.couplings(), couplingMatrix(2, {{0, 1, 7.0}}));
    EXPECT_FALSE(made.setShift(2, 1.0) || made.setShift(0, INFINITY) || made.setCoupling(1, 1, 1.0) ||
                 made.setCoupling(0, 1, NAN));
    EXPECT_TRUE(made.setCoupling(1, 0, -3.0) && made.setShift(1, 250.0));
    EXPECT_EQ(std::pair(made.shifts(), made.couplings()),
              std::pair(std::vector<double>{100.0, 250.0}, couplingMatrix(2, {{0, 1, -3.0}})));
}

TEST(SpinEngine, NothingIsStoredOrComputedPastTheTableOrFromARecordNeverEntered) {
    // (That a page stores its subsystem where it belongs is the Simulation menu's test.)
    Messages said;
    auto doc = simulationDocument({kAb, {{300.0, 310.0, 500.0}, couplingMatrix(3, {{1, 2, 4.0}})}}, said);
    SimulationState& sim = doc->sim;
    // A sixth subsystem and editing copies shorter than the count are refused, nothing written.
    sim.simNewSubsystem = 1;
    sim.lastSubsystem = 5;
    EXPECT_FALSE(storeSubsystemParams(*doc, said));
    sim.lastSubsystem = 1;
    sim.editShifts = {1.0};
    EXPECT_FALSE(storeSubsystemParams(*doc, said));
    EXPECT_EQ(sim.spinSubsystems[1].shifts()[0], 300.0);
    // Nor is anything computed past the table or from a record never entered.
    doc->spectrum.specData[0] = 42.0;
    sim.lastSubsystem = 5;
    EXPECT_FALSE(recomputeSimulation(*doc, said));
    sim.lastSubsystem = 2;
    EXPECT_FALSE(recomputeSimulation(*doc, said));
    EXPECT_EQ(doc->spectrum.specData[0], 42.0);
    EXPECT_FALSE(recomputeSimulation(*std::make_unique<Document>(), said));  // no table yet
    EXPECT_EQ(messageTexts(said),
              (std::vector<std::string>{kTooManySubsystemsText, kIncompleteText, kTooManySubsystemsText,
                                        kNucleiCountText, kNoSubsystemText}));
}

TEST(SpinEngine, RecomputeAddsEverySubsystemAndKeepsTheListsForAResynthesis) {
    Messages said;
    auto doc = simulationDocument(
        {kAb, {{600.0, 610.0, 700.0}, couplingMatrix(3, {{0, 1, 4.0}, {1, 2, 2.0}})}}, said);
    SimulationState& sim = doc->sim;
    sim.simPoints = 4095;  // odd: the last value, index 4094, is reached by no line
    // A shorter earlier data set from a spectrometer left values beyond its nData, and its
    // recorded processing. (That the subsystems add up is the uncoupled parts' test; each line's
    // shape, the synthesis test's.)
    doc->spectrum.nData = 1024;
    std::fill(doc->spectrum.specData.begin(), doc->spectrum.specData.end(), 5.0);
    doc->spectrum.referenceSource = ReferenceSource::Procs;
    doc->spectrum.recorded.present = true;
    ASSERT_TRUE(recomputeSimulation(*doc, said));
    EXPECT_EQ(doc->spectrum.referenceSource, ReferenceSource::Simulation);
    EXPECT_FALSE(doc->spectrum.recorded.present);
    EXPECT_EQ(doc->spectrum.nData, 4095);
    EXPECT_EQ(doc->spectrum.specData[4094], 0.0);

    // A change of width alone, from the stored lists, equals a full recompute with that width.
    sim.simLineWidth = 1.5;
    ASSERT_TRUE(resynthesizeSimulation(*doc, said));
    const std::vector<double> fromLists(doc->spectrum.specData.begin(),
                                        doc->spectrum.specData.begin() + 4095);
    ASSERT_TRUE(recomputeSimulation(*doc, said));
    for (int i = 0; i < 4095; ++i) ASSERT_DOUBLE_EQ(fromLists[i], doc->spectrum.specData[i]) << i;
}

TEST(SpinEngine, FailedAllocationsAreReportedAndNoListIsLeftBehind) {
    // A failed working list or solver storage stops that subsystem (nothing synthesised); a failed
    // stored copy still synthesises. Either way the old lists no longer describe the subsystem.
    const struct {
        const char *failing, *caption;
        bool synthesised;
    } cases[] = {{"Error allocating memory for frequencies vector", "Error", false},
                 {"Allocation failure 1 in matrix", "error", false},
                 {"Allocation failure 1 in vector", "error", false},
                 {"Error allocating memory (frequencies)", "error", true}};

    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        Messages said;
        auto doc = simulationDocument({kAb}, said);
        ASSERT_TRUE(recomputeSimulation(*doc, said));  // lists of an earlier computation
        const RefuseOne gate(c.failing);
        ASSERT_TRUE(recomputeSimulation(*doc, said, &gate));
        ASSERT_EQ(messageTexts(said), std::vector<std::string>{c.failing});
        EXPECT_EQ(std::string(said[0].caption), c.caption);
        double area = 0.0;
        for (int i = 0; i < 4096; i += 2) area += doc->spectrum.specData[i];
        EXPECT_TRUE(c.synthesised ? area > 1.0 : area == 0.0) << area;
        const SpinSubsystem& rec = doc->sim.spinSubsystems[0];
        EXPECT_TRUE(rec.transFreq().empty() && rec.transIntens().empty());
    }
}

struct Synth {
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    Messages said;
    explicit Synth(double offsetHz) { doc->spectrum.acqPars.offsetHz = offsetHz, doc->spectrum.nData = 0; }
    bool run(const std::vector<double>& f, const std::vector<double>& in, double w, int points,
             double fromHz = 0.0, double toHz = 3000.0) {
        return synthesizeSpectrum(*doc, said, f, in, w, 0.001, points, fromHz, toHz);
    }
    double at(int j) const { return doc->spectrum.specData[2 * j]; }
};

TEST(Synthesis, EqualsTheSumOfLinesLineByLine) {
    // Several lines on one point, lines one step apart, lines outside and on the window's edges,
    // lines about the threshold: at or below 0.001 + 1e-6 they are dropped.
    const std::vector<double> freq = {1500.0, 1500.0001, 1500.2, 12.0,   -50.0, 0.0,
                                      3000.0, 3050.0,    1000.0, 2000.0, 2500.0};
    const std::vector<double> intens = {0.5, 0.25, 0.125,        2.0,          1.0,         1.0,
                                        1.0, 1.0,  0.001 + 1e-6, 0.001 + 5e-7, 0.001 + 2e-6};
    // offsetHz is normally fromHz; when it is not, centres fall outside 0..h-1.
    const struct {
        int points;
        double w, offset;
    } cases[] = {{8192, 0.3, 0.0},     {2000, 4.0, 0.0},   {1001, 0.3, 0.0},
                 {2048, 5.0, -2000.0}, {2048, 5.0, 250.0}, {2048, 5.0, 1e12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.points << " points, w " << c.w << ", offset " << c.offset);
        Synth s(c.offset);
        ASSERT_TRUE(s.run(freq, intens, c.w, c.points));
        const auto want = directSynthesis(freq, intens, c.w, 0.001, c.points, 0.0, 3000.0, c.offset);
        for (int j = 0; j < c.points / 2; ++j)
            ASSERT_NEAR(s.at(j), want[j], 1e-9 * std::fabs(want[j]) + 1e-300) << j;
    }
}

TEST(Synthesis, AddsToTheDataRewritesTheAxisUnlessInteractiveWithoutUpdateAndRefusesBadParameters) {
    Synth s(500.0);
    s.doc->spectrum.specData[4094] = 7.0;  // beyond 2h for an odd P = 4095: never touched
    ASSERT_TRUE(s.run({1000.0}, {1.0}, 0.3, 4095, 500.0, 2500.0));
    const double once = s.at(1536);
    ASSERT_GT(once, 0.0);
    ASSERT_TRUE(s.run({1000.0}, {1.0}, 0.3, 4095, 500.0, 2500.0));
    EXPECT_DOUBLE_EQ(s.at(1536), 2.0 * once);
    EXPECT_EQ(s.doc->spectrum.specData[4094], 7.0);
    // refIndex = TD + trunc(2 offsetHz AQ) = 4095 + trunc(2047.5).
    EXPECT_EQ(std::tuple(s.doc->spectrum.acqPars.TD, s.doc->spectrum.acqPars.AQ, s.doc->spectrum.refIndex),
              std::tuple(4095, 2.0475, 6142));

    Synth interactive(500.0);
    interactive.doc->sim.simInteractive = 1;
    interactive.doc->spectrum.nData = 2048;
    ASSERT_TRUE(interactive.run({1000.0}, {1.0}, 0.3, 4096, 500.0, 2500.0));
    EXPECT_EQ(std::pair(interactive.doc->spectrum.nData, interactive.doc->spectrum.acqPars.TD),
              std::pair(2048, 0));
    interactive.doc->sim.simUpdateDocument = 1;
    ASSERT_TRUE(interactive.run({1000.0}, {1.0}, 0.3, 4096, 500.0, 2500.0));
    EXPECT_EQ(interactive.doc->spectrum.nData, 4096);

    // Bad parameters are refused and change nothing.
    s = Synth(0.0);
    s.doc->spectrum.specData[0] = 3.0;
    s.doc->spectrum.nData = 100;
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.0, 8192));
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.3, 8192, 3000.0, 3000.0));
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.3, 1));
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.3, kCapacity + 1));
    EXPECT_FALSE(s.run({10.0}, {1.0}, NAN, 8192));
    EXPECT_EQ(messageTexts(s.said), (std::vector<std::string>{kLineWidthText, kWindowText, kPointsText,
                                                              kPointsText, kNotFiniteText}));
    EXPECT_EQ(s.doc->spectrum.specData[0], 3.0);
    EXPECT_EQ(s.doc->spectrum.nData, 100);
    // The largest size fills the whole buffer and no more.
    EXPECT_TRUE(s.run({1500.0}, {1.0}, 0.3, kCapacity));
    EXPECT_GT(s.at(kCapacity / 4), 0.0);
}

TEST(Toolkit, TqliReportsANonConvergingEigenvalueAndStopsAndPythagNeitherOverflowsNorUnderflows) {
    Messages said;
    Vector d, e;
    Matrix z;
    ASSERT_TRUE(vector(d, 1, 3, said) && vector(e, 1, 3, said) && matrix(z, 1, 3, 1, 3, said));
    for (int i = 1; i <= 3; ++i) e[i] = z(i, i) = 1.0;
    d[2] = std::numeric_limits<double>::quiet_NaN();
    tqli(d, e, 3, z, said);  // must come back
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said[0].text, "Pelvaron run-time error...");
    EXPECT_DOUBLE_EQ(pythag(1e300, 1e300), std::sqrt(2.0) * 1e300);
    EXPECT_DOUBLE_EQ(pythag(1e-300, 1e-300), std::sqrt(2.0) * 1e-300);
}

}  // namespace
}  // namespace pelvaron::simulation
