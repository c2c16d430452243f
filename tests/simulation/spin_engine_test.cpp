// The spin engine: the AB closed form, alone and in uncoupled parts, the count, order and moments
// of the lines, the subsystem table, the whole simulation, its refusals and allocation failures
// (these reach the toolkit's storage and eigen-solver, which have no other caller).
#include "simulation/spin_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "recording_ui.h"
#include "reference.h"
#include "simulation/synthesis.h"

namespace pelvaron::simulation {
namespace {

using testing::couplingMatrix;
using testing::Couplings;
using testing::Line;
using testing::RecordingUserInterface;

std::vector<Line> engineLines(int n, const std::vector<double>& nu, const Couplings& j) {
    RecordingUserInterface ui;
    Transitions tr;
    EXPECT_TRUE(computeTransitions(n, nu, j, tr, ui));
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

TEST(SpinEngine, TwoSpinsAndUncoupledPairsMatchTheAbClosedForm) {
    // Uncoupled, equal shifts (only the inner lines), negative coupling with nu1 above nu2, lines
    // on both sides of 0 Hz.
    const double cases[][3] = {
        {100.0, 250.0, 0.0}, {200.0, 200.0, 8.0}, {300.0, 290.0, -7.5}, {-10.0, 4.0, 6.0}};
    for (const auto& [nu1, nu2, j] : cases)
        expectSameLines(engineLines(2, {nu1, nu2}, couplingMatrix(2, {{0, 1, j}})),
                        testing::abLines(nu1, nu2, j), 1e-9, 1e-9);
    // Two strongly coupled pairs and a lone nucleus, not coupled to each other: the union.
    auto want = testing::abLines(100.0, 106.0, 12.0);
    for (const Line& l : testing::abLines(300.0, 290.0, -7.5)) want.push_back(l);
    want.push_back({700.0, 1.0});
    auto j = couplingMatrix(5, {{0, 1, 12.0}, {2, 3, -7.5}});
    j[1][0] = j[4][2] = 1e6;  // below the diagonal: never read
    expectSameLines(testing::mergeLines(engineLines(5, {100.0, 106.0, 300.0, 290.0, 700.0}, j), 1e-7),
                    testing::mergeLines(want, 1e-7), 1e-8, 1e-10);
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

/// A document with the working parameters of a new simulation over 0 .. 1000 Hz, 4096 points,
/// and one subsystem per entry.
std::unique_ptr<Document> simulationDocument(
    const std::vector<std::pair<std::vector<double>, Couplings>>& systems, RecordingUserInterface& ui) {
    auto doc = std::make_unique<Document>();
    doc->nData = 0;
    SimulationState& sim = doc->sim;
    sim.simFromHz = doc->acqPars.offsetHz = 0.0;
    sim.simToHz = 1000.0;
    sim.simPoints = 4096;
    for (std::size_t s = 0; s < systems.size(); ++s) {
        sim.lastSubsystem = static_cast<int>(s);
        sim.nNucleiInput = static_cast<int>(systems[s].first.size());
        sim.editShifts = systems[s].first;
        sim.editCouplings = systems[s].second;
        EXPECT_TRUE(storeSubsystemParams(*doc, ui));
    }
    return doc;
}

const std::pair<std::vector<double>, Couplings> kAb{{100.0, 200.0}, couplingMatrix(2, {{0, 1, 7.0}})};

TEST(SpinEngine, StoreSubsystemParamsWritesTheRecordBeingEdited) {
    RecordingUserInterface ui;
    auto doc = simulationDocument({kAb, {{300.0, 310.0, 500.0}, couplingMatrix(3, {{1, 2, 4.0}})}}, ui);
    SimulationState& sim = doc->sim;
    // Editing subsystem 1 (0-based 0) writes there, not to lastSubsystem.
    sim.simNewSubsystem = 0;
    sim.currentSubsystem = 0;
    sim.editShifts = {110.0, 190.0};
    ASSERT_TRUE(storeSubsystemParams(*doc, ui));
    EXPECT_EQ(sim.spinSubsystems[0].shifts, (std::vector<double>{110.0, 190.0}));

    // A sixth subsystem and editing copies shorter than the count are refused, nothing written;
    // subsystem 2 was never written at all.
    sim.simNewSubsystem = 1;
    sim.lastSubsystem = 5;
    EXPECT_FALSE(storeSubsystemParams(*doc, ui));
    sim.lastSubsystem = 1;
    sim.editShifts = {1.0};
    EXPECT_FALSE(storeSubsystemParams(*doc, ui));
    EXPECT_EQ(sim.spinSubsystems[1].shifts[0], 300.0);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{kTooManySubsystemsText, kIncompleteText}));
}

TEST(SpinEngine, RecomputeAddsEverySubsystemAndKeepsTheListsForAResynthesis) {
    RecordingUserInterface ui;
    auto doc =
        simulationDocument({kAb, {{600.0, 610.0, 700.0}, couplingMatrix(3, {{0, 1, 4.0}, {1, 2, 2.0}})}}, ui);
    SimulationState& sim = doc->sim;
    sim.simPoints = 4095;  // odd: the last value, index 4094, is reached by no line
    // A shorter earlier data set from a spectrometer left values beyond its nData, and its
    // recorded processing.
    doc->nData = 1024;
    std::fill(doc->specData.begin(), doc->specData.end(), 5.0);
    doc->referenceSource = ReferenceSource::Procs;
    doc->recorded.present = true;
    ASSERT_TRUE(recomputeSimulation(*doc, ui));
    EXPECT_EQ(doc->referenceSource, ReferenceSource::Simulation);
    EXPECT_FALSE(doc->recorded.present);
    EXPECT_EQ(doc->nData, 4095);
    EXPECT_EQ(doc->specData[4094], 0.0);

    // The sum of the two subsystems' stored lines, each synthesised alone.
    auto freq = sim.spinSubsystems[0].transFreq, intens = sim.spinSubsystems[0].transIntens;
    freq.insert(freq.end(), sim.spinSubsystems[1].transFreq.begin(), sim.spinSubsystems[1].transFreq.end());
    intens.insert(intens.end(), sim.spinSubsystems[1].transIntens.begin(),
                  sim.spinSubsystems[1].transIntens.end());
    const auto want = testing::directSynthesis(freq, intens, sim.simLineWidth, sim.simThreshold,
                                               sim.simPoints, sim.simFromHz, sim.simToHz, sim.simFromHz);
    for (int jp = 0; jp < 2047; ++jp) {
        ASSERT_NEAR(doc->specData[2 * jp], want[jp], 1e-9) << jp;
        ASSERT_EQ(doc->specData[2 * jp + 1], 0.0);
    }

    // A change of width alone, from the stored lists, equals a full recompute with that width.
    sim.simLineWidth = 1.5;
    ASSERT_TRUE(resynthesizeSimulation(*doc, ui));
    const std::vector<double> fromLists(doc->specData.begin(), doc->specData.begin() + 4095);
    ASSERT_TRUE(recomputeSimulation(*doc, ui));
    for (int i = 0; i < 4095; ++i) ASSERT_DOUBLE_EQ(fromLists[i], doc->specData[i]) << i;
}

TEST(SpinEngine, RefusesBadSystemsAndParametersBeforeComputingOrChangingTheDocument) {
    RecordingUserInterface ui;
    Transitions tr;
    EXPECT_FALSE(computeTransitions(11, std::vector<double>(11, 1.0), couplingMatrix(11, {}), tr, ui));
    EXPECT_FALSE(computeTransitions(0, {}, {}, tr, ui));
    EXPECT_FALSE(computeTransitions(3, {1.0, 2.0}, couplingMatrix(3, {}), tr, ui));
    EXPECT_FALSE(computeTransitions(2, {1.0, NAN}, couplingMatrix(2, {}), tr, ui));
    EXPECT_FALSE(computeTransitions(2, {1.0, 2.0}, couplingMatrix(2, {{0, 1, INFINITY}}), tr, ui));
    EXPECT_EQ(tr.count(), 0);
    auto doc = simulationDocument({kAb}, ui);
    doc->specData[0] = 42.0;
    SimulationState& sim = doc->sim;
    sim.lastSubsystem = 5;
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    sim.lastSubsystem = 1;  // a record that was never filled
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{kNucleiCountText, kNucleiCountText, kIncompleteText, kNotFiniteText,
                                        kNotFiniteText, kTooManySubsystemsText, kNucleiCountText}));
    EXPECT_EQ(doc->specData[0], 42.0);
    // Before any subsystem was entered there is no table to compute from.
    auto empty = std::make_unique<Document>();
    EXPECT_FALSE(recomputeSimulation(*empty, ui));
    EXPECT_EQ(ui.messageTexts().back(), kNoSubsystemText);
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
        RecordingUserInterface ui;
        auto doc = simulationDocument({kAb}, ui);
        ASSERT_TRUE(recomputeSimulation(*doc, ui));  // lists of an earlier computation
        const testing::RefuseOne gate(c.failing);
        ASSERT_TRUE(recomputeSimulation(*doc, ui, &gate));
        ASSERT_EQ(ui.messageTexts(), std::vector<std::string>{c.failing});
        EXPECT_EQ(ui.messages[0].caption, c.caption);
        double area = 0.0;
        for (int i = 0; i < 4096; i += 2) area += doc->specData[i];
        EXPECT_TRUE(c.synthesised ? area > 1.0 : area == 0.0) << area;
        const SpinSubsystem& rec = doc->sim.spinSubsystems[0];
        EXPECT_TRUE(rec.transFreq.empty() && rec.transIntens.empty());
    }
}

}  // namespace
}  // namespace pelvaron::simulation
