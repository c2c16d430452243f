// The spin engine: closed forms, independent references, the full-matrix form, the stored
// lists, the subsystem table and the refusals and allocation failures.
#include "simulation/spin_engine.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(ui.messages.empty());
    std::vector<Line> lines;
    for (int t = 1; t <= tr.count(); ++t) lines.push_back({tr.freq[t], tr.intens[t]});
    return lines;
}

void expectSameSpectrum(const std::vector<Line>& got, const std::vector<Line>& want, double freqTol,
                        double intensTol) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].freq, want[i].freq, freqTol) << "line " << i;
        EXPECT_NEAR(got[i].intens, want[i].intens, intensTol) << "line " << i;
    }
}

/// Shifts and couplings above the diagonal drawn at random; `below` fills the rest.
std::pair<std::vector<double>, Couplings> randomSystem(int n, std::mt19937& rng,
                                                       std::uniform_real_distribution<double>& shift,
                                                       std::uniform_real_distribution<double>& coupling,
                                                       double below) {
    std::vector<double> nu(n);
    for (double& v : nu) v = shift(rng);
    Couplings j(n, std::vector<double>(n, below));
    for (int a = 0; a < n; ++a) {
        j[a][a] = 0.0;
        for (int b = a + 1; b < n; ++b) j[a][b] = coupling(rng);
    }
    return {nu, j};
}

TEST(SpinEngine, OneNucleusTwoUncoupledNucleiAndEqualShifts) {
    expectSameSpectrum(engineLines(1, {123.5}, couplingMatrix(1, {})), {{123.5, 1.0}}, 1e-12, 1e-14);
    expectSameSpectrum(engineLines(2, {100.0, 250.0}, couplingMatrix(2, {})),
                       {{100.0, 0.5}, {100.0, 0.5}, {250.0, 0.5}, {250.0, 0.5}}, 1e-10, 1e-12);
    // Equal shifts leave only the inner lines.
    expectSameSpectrum(engineLines(2, {200.0, 200.0}, couplingMatrix(2, {{0, 1, 8.0}})),
                       {{192.0, 0.0}, {200.0, 1.0}, {200.0, 1.0}, {208.0, 0.0}}, 1e-9, 1e-12);
}

TEST(SpinEngine, AbQuartetMatchesItsClosedForm) {
    struct Case {
        double nu1, nu2, j;
    };
    // Weak, strong and negative coupling, nu1 above nu2, and lines on both sides of 0 Hz.
    for (const Case c : {Case{100.0, 180.0, 7.0}, Case{100.0, 106.0, 12.0}, Case{300.0, 290.0, -7.5},
                         Case{-10.0, 4.0, 6.0}}) {
        const auto lines = engineLines(2, {c.nu1, c.nu2}, couplingMatrix(2, {{0, 1, c.j}}));
        const double centre = (c.nu1 + c.nu2) / 2.0;
        const double d = std::sqrt((c.nu1 - c.nu2) * (c.nu1 - c.nu2) + c.j * c.j);
        std::vector<Line> want;
        for (double sd : {1.0, -1.0})
            for (double sj : {1.0, -1.0})  // outer lines (sj == sd) lose what the inner ones gain
                want.push_back({centre + sj * c.j / 2 + sd * d / 2, (1 - sd * sj * c.j / d) / 2});
        testing::sortLines(want);
        expectSameSpectrum(lines, want, 1e-9, 1e-9);
    }
}

TEST(SpinEngine, LinesFarApartOrCloseTogetherComeOutInOrder) {
    // Beyond the range of float, and 1e-9 Hz apart: the order is exact either way.
    for (double base : {-3e39, 5e39, 1000.0}) {
        const auto lines = engineLines(
            3, {base + 2e-9 * std::fabs(base), base, base + 1e-9 * std::fabs(base)}, couplingMatrix(3, {}));
        ASSERT_EQ(lines.size(), 15u);
        for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_LE(lines[i - 1].freq, lines[i].freq) << base;
    }
}

TEST(SpinEngine, A2bAndAbxAgreeWithAnIndependentDiagonalisation) {
    struct Case {
        std::vector<double> nu;
        Couplings j;
    };
    const Case cases[] = {
        // A2B: two equivalent A nuclei, B close by.
        {{100.0, 100.0, 118.0}, couplingMatrix(3, {{0, 1, 6.0}, {0, 2, 9.0}, {1, 2, 9.0}})},
        // ABX: a strongly coupled AB part, X far away.
        {{210.0, 222.0, 900.0}, couplingMatrix(3, {{0, 1, 15.5}, {0, 2, 3.2}, {1, 2, 8.7}})},
    };
    for (const Case& c : cases) {
        const auto got = testing::mergeLines(engineLines(3, c.nu, c.j), 1e-6, 1e-13);
        const auto want = testing::mergeLines(testing::jacobiTransitions(3, c.nu, c.j), 1e-6, 1e-13);
        expectSameSpectrum(got, want, 1e-8, 1e-10);
    }
}

TEST(SpinEngine, CountSumAndOrderForEveryNumberOfNuclei) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> shift(1000.0, 1150.0);
    std::uniform_real_distribution<double> coupling(0.5, 15.0);
    for (int n = 1; n <= kMaxNuclei; ++n) {
        const auto [nu, j] = randomSystem(n, rng, shift, coupling, 0.0);
        RecordingUserInterface ui;
        Transitions tr;
        ASSERT_TRUE(computeTransitions(n, nu, j, tr, ui));
        ASSERT_EQ(tr.count(), binomial(2 * n, n - 1)) << n;
        double sum = 0.0;
        for (int t = 1; t <= tr.count(); ++t) {
            sum += tr.intens[t];
            if (t > 1) {
                ASSERT_LE(tr.freq[t - 1], tr.freq[t]) << n;
            }
        }
        EXPECT_NEAR(sum, n, 1e-9 * n) << n;
    }
}

TEST(SpinEngine, BlockWiseEqualsTheFullMatrixForm) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> shift(0.0, 150.0);
    std::uniform_real_distribution<double> coupling(-15.0, 15.0);
    for (int n = 2; n <= 8; ++n) {
        for (int repeat = 0; repeat < 2; ++repeat) {
            // Entries below the diagonal are never read.
            const auto [nu, j] = randomSystem(n, rng, shift, coupling, 1e6);
            const auto got = testing::mergeLines(engineLines(n, nu, j), 1e-7, -1.0);
            const auto want = testing::mergeLines(testing::fullMatrixTransitions(n, nu, j), 1e-7, -1.0);
            SCOPED_TRACE("n = " + std::to_string(n));
            expectSameSpectrum(got, want, 1e-8, 1e-10);
        }
    }
}

TEST(SpinEngine, RefusesBadSystemsBeforeComputing) {
    RecordingUserInterface ui;
    Transitions tr;
    EXPECT_FALSE(computeTransitions(11, std::vector<double>(11, 1.0), couplingMatrix(11, {}), tr, ui));
    EXPECT_FALSE(computeTransitions(0, {}, {}, tr, ui));
    EXPECT_FALSE(computeTransitions(3, {1.0, 2.0}, couplingMatrix(3, {}), tr, ui));
    EXPECT_FALSE(computeTransitions(2, {1.0, NAN}, couplingMatrix(2, {}), tr, ui));
    EXPECT_FALSE(computeTransitions(2, {1.0, 2.0}, couplingMatrix(2, {{0, 1, INFINITY}}), tr, ui));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{kNucleiCountText, kNucleiCountText,
                                                           kIncompleteText, kNotFiniteText, kNotFiniteText}));
    EXPECT_EQ(tr.count(), 0);
}

/// A document with the working parameters of a new simulation and one subsystem per entry.
std::unique_ptr<Document> simulationDocument(
    const std::vector<std::pair<std::vector<double>, Couplings>>& systems, RecordingUserInterface& ui) {
    auto doc = std::make_unique<Document>();
    SimulationState& sim = doc->sim;
    sim.simFromHz = 0.0;
    sim.simToHz = 1000.0;
    sim.simPoints = 4096;
    doc->acqPars.offsetHz = sim.simFromHz;
    for (std::size_t s = 0; s < systems.size(); ++s) {
        sim.lastSubsystem = static_cast<int>(s);
        sim.nNucleiInput = static_cast<int>(systems[s].first.size());
        sim.editShifts = systems[s].first;
        sim.editCouplings = systems[s].second;
        EXPECT_TRUE(storeSubsystemParams(*doc, ui));
    }
    return doc;
}

TEST(SpinEngine, StoreSubsystemParamsFillsTheRecordBeingEdited) {
    RecordingUserInterface ui;
    auto doc = simulationDocument({{{100.0, 200.0}, couplingMatrix(2, {{0, 1, 7.0}})},
                                   {{300.0, 310.0, 500.0}, couplingMatrix(3, {{1, 2, 4.0}})}},
                                  ui);
    SimulationState& sim = doc->sim;
    EXPECT_EQ(sim.subsystemsAllocated, 1);
    ASSERT_EQ(sim.spinSubsystems.size(), 5u);
    const SpinSubsystem& second = sim.spinSubsystems[1];
    EXPECT_EQ(second.nNuclei, 3);
    EXPECT_EQ(second.nCouplings, 3);
    EXPECT_EQ(second.shifts, (std::vector<double>{300.0, 310.0, 500.0}));
    EXPECT_EQ(second.couplings[1][2], 4.0);

    // Editing subsystem 1 (0-based 0) writes there, not to lastSubsystem.
    sim.simNewSubsystem = 0;
    sim.currentSubsystem = 0;
    sim.editShifts = {110.0, 190.0};
    sim.editCouplings = couplingMatrix(2, {{0, 1, 9.0}});
    ASSERT_TRUE(storeSubsystemParams(*doc, ui));
    EXPECT_EQ(sim.spinSubsystems[0].shifts, (std::vector<double>{110.0, 190.0}));
    EXPECT_EQ(sim.spinSubsystems[0].couplings[0][1], 9.0);
    EXPECT_EQ(sim.spinSubsystems[1].shifts[0], 300.0);

    // A sixth subsystem and editing copies shorter than the count are refused, nothing written.
    sim.simNewSubsystem = 1;
    sim.lastSubsystem = 5;
    EXPECT_FALSE(storeSubsystemParams(*doc, ui));
    sim.lastSubsystem = 1;
    sim.editShifts = {1.0};
    EXPECT_FALSE(storeSubsystemParams(*doc, ui));
    EXPECT_EQ(sim.spinSubsystems[1].shifts[0], 300.0);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{kTooManySubsystemsText, kIncompleteText}));

    freeSpinSubsystems(*doc);
    EXPECT_EQ(sim.subsystemsAllocated, 0);
    EXPECT_TRUE(sim.spinSubsystems.empty());
}

TEST(SpinEngine, RecomputeStoresListsAndAddsEverySubsystem) {
    RecordingUserInterface ui;
    auto doc = simulationDocument({{{100.0, 200.0}, couplingMatrix(2, {{0, 1, 7.0}})},
                                   {{600.0, 610.0, 700.0}, couplingMatrix(3, {{0, 1, 4.0}, {1, 2, 2.0}})}},
                                  ui);
    // A longer earlier data set left values beyond the present nData.
    doc->nData = 1024;
    std::fill(doc->specData.begin(), doc->specData.end(), 5.0);
    std::fill(doc->workCurve.begin(), doc->workCurve.end(), 5.0);
    // ... and came from a spectrometer, with its recorded processing.
    doc->referenceSource = ReferenceSource::Procs;
    doc->recorded.present = true;
    ASSERT_TRUE(recomputeSimulation(*doc, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc->referenceSource, ReferenceSource::Simulation);
    EXPECT_FALSE(doc->recorded.present);
    EXPECT_EQ(ui.waitCursorOn, 1);
    EXPECT_EQ(ui.repaints, 1);
    const SimulationState& sim = doc->sim;
    EXPECT_EQ(sim.spinSubsystems[0].transFreq.size(), 4u);
    EXPECT_EQ(sim.spinSubsystems[1].transFreq.size(), 15u);
    EXPECT_EQ(doc->nData, 4096);

    // The sum of the two subsystems' lines, each synthesised alone.
    std::vector<double> freq, intens;
    for (int s = 0; s < 2; ++s) {
        const auto& rec = sim.spinSubsystems[s];
        freq.insert(freq.end(), rec.transFreq.begin(), rec.transFreq.end());
        intens.insert(intens.end(), rec.transIntens.begin(), rec.transIntens.end());
    }
    const auto want = testing::directSynthesis(freq, intens, sim.simLineWidth, sim.simThreshold,
                                               sim.simPoints, sim.simFromHz, sim.simToHz, sim.simFromHz);
    for (int jp = 0; jp < 2048; ++jp) {
        ASSERT_NEAR(doc->specData[2 * jp], want[jp], 1e-9) << jp;
        ASSERT_EQ(doc->specData[2 * jp + 1], 0.0);
    }

    // A change of width alone, from the stored lists, equals a full recompute with that width.
    doc->sim.simLineWidth = 1.5;
    ASSERT_TRUE(resynthesizeSimulation(*doc, ui));
    std::vector<double> fromLists(doc->specData.begin(), doc->specData.begin() + 4096);
    ASSERT_TRUE(recomputeSimulation(*doc, ui));
    for (int i = 0; i < 4096; ++i) ASSERT_DOUBLE_EQ(fromLists[i], doc->specData[i]);
}

TEST(SpinEngine, RecomputeWithAnOddPointCountLeavesTheLastValueZero) {
    RecordingUserInterface ui;
    auto doc = simulationDocument({{{100.0}, couplingMatrix(1, {})}}, ui);
    doc->sim.simPoints = 1001;
    doc->nData = 10;
    doc->specData[1000] = 9.0;  // stale, beyond the old nData
    ASSERT_TRUE(recomputeSimulation(*doc, ui));
    EXPECT_EQ(doc->nData, 1001);
    EXPECT_EQ(doc->specData[1000], 0.0);
    EXPECT_GT(doc->specData[2 * (500 - 50)], 0.0);  // the line at 100 Hz of 0..1000
}

TEST(SpinEngine, RecomputeRefusesBadWorkingParametersAndLeavesTheDocument) {
    RecordingUserInterface ui;
    auto doc = simulationDocument({{{100.0, 200.0}, couplingMatrix(2, {{0, 1, 7.0}})}}, ui);
    doc->specData[0] = 42.0;
    SimulationState& sim = doc->sim;
    sim.simLineWidth = 0.0;
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    sim.simLineWidth = 0.3;
    sim.simToHz = sim.simFromHz;
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    sim.simToHz = 1000.0;
    sim.simPoints = kCapacity + 2;
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    sim.simPoints = 4096;
    sim.lastSubsystem = 5;
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    sim.lastSubsystem = 1;  // a record that was never filled
    EXPECT_FALSE(recomputeSimulation(*doc, ui));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{kLineWidthText, kWindowText, kPointsText,
                                                           kTooManySubsystemsText, kNucleiCountText}));
    EXPECT_EQ(doc->specData[0], 42.0);
    EXPECT_EQ(ui.waitCursorOn, 0);
    EXPECT_TRUE(sim.spinSubsystems[0].transFreq.empty());

    // Before any subsystem was entered there is no table to compute from.
    auto empty = std::make_unique<Document>();
    RecordingUserInterface ui2;
    EXPECT_FALSE(recomputeSimulation(*empty, ui2));
    EXPECT_EQ(ui2.messageTexts(), std::vector<std::string>{kNoSubsystemText});
}

TEST(SpinEngine, FailedAllocationsAreReportedAndNoListIsLeftBehind) {
    // A failed working list stops that subsystem (nothing synthesised); a failed stored copy
    // still synthesises. Either way the old lists no longer describe the subsystem.
    struct Case {
        const char* failing;
        const char* caption;
        bool synthesised;
    };
    for (const Case& c : {Case{"Error allocating memory for frequencies vector", "Error", false},
                          Case{"Error allocating memory for intensities vector", "Error", false},
                          Case{"Error allocating memory for d vector", "Error", false},
                          Case{"Error allocating memory for F matrix", "Error", false},
                          Case{"Error allocating memory (frequencies)", "error", true},
                          Case{"Error allocating memory (intensities)", "error", true}}) {
        RecordingUserInterface ui;
        auto doc = simulationDocument({{{100.0, 200.0}, couplingMatrix(2, {{0, 1, 7.0}})}}, ui);
        ASSERT_TRUE(recomputeSimulation(*doc, ui));  // lists of an earlier computation
        const testing::RefuseOne gate(c.failing);
        ASSERT_TRUE(recomputeSimulation(*doc, ui, &gate));
        ASSERT_EQ(ui.messages.size(), 1u) << c.failing;
        EXPECT_EQ(ui.messages[0].text, c.failing);
        EXPECT_EQ(ui.messages[0].caption, c.caption) << c.failing;
        double area = 0.0, largest = 0.0;
        for (int i = 0; i < 4096; ++i) {
            area += i % 2 == 0 ? doc->specData[i] : 0.0;
            largest = std::max(largest, std::fabs(doc->specData[i]));
        }
        if (c.synthesised) {
            EXPECT_GT(area, 1.0) << c.failing;
        } else {
            EXPECT_EQ(largest, 0.0) << c.failing;
        }
        EXPECT_TRUE(doc->sim.spinSubsystems[0].transFreq.empty()) << c.failing;
        EXPECT_TRUE(doc->sim.spinSubsystems[0].transIntens.empty()) << c.failing;
    }
}

}  // namespace
}  // namespace pelvaron::simulation
