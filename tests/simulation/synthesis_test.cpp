// The simulated spectrum: equality with the line-by-line sum (line shape, window and threshold
// included), the axis rewrite and the refusals.
#include "simulation/synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "recording_ui.h"
#include "reference.h"

namespace pelvaron::simulation {
namespace {

struct Synth {
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    explicit Synth(double offsetHz) { doc->acqPars.offsetHz = offsetHz, doc->nData = 0; }
    bool run(const std::vector<double>& f, const std::vector<double>& in, double w, int points,
             double fromHz = 0.0, double toHz = 3000.0) {
        return synthesizeSpectrum(*doc, ui, f, in, w, 0.001, points, fromHz, toHz);
    }
    double at(int j) const { return doc->specData[2 * j]; }
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
        const auto want = testing::directSynthesis(freq, intens, c.w, 0.001, c.points, 0.0, 3000.0, c.offset);
        for (int j = 0; j < c.points / 2; ++j)
            ASSERT_NEAR(s.at(j), want[j], 1e-9 * std::fabs(want[j]) + 1e-300) << j;
    }
}

TEST(Synthesis, AddsToTheDataAndRewritesTheAxisUnlessInteractiveWithoutUpdate) {
    Synth s(500.0);
    s.doc->specData[4094] = 7.0;  // beyond 2h for an odd P = 4095: never touched
    ASSERT_TRUE(s.run({1000.0}, {1.0}, 0.3, 4095, 500.0, 2500.0));
    const double once = s.at(1536);
    ASSERT_GT(once, 0.0);
    ASSERT_TRUE(s.run({1000.0}, {1.0}, 0.3, 4095, 500.0, 2500.0));
    EXPECT_DOUBLE_EQ(s.at(1536), 2.0 * once);
    EXPECT_EQ(s.doc->specData[4094], 7.0);
    const AcqParams& p = s.doc->acqPars;
    EXPECT_EQ(p.TD, 4095);
    EXPECT_DOUBLE_EQ(p.AQ, 4095 / 2000.0);
    EXPECT_EQ(s.doc->refIndex, 4095 + static_cast<int>(2.0 * 500.0 * p.AQ));

    Synth interactive(500.0);
    interactive.doc->sim.simInteractive = 1;
    interactive.doc->nData = 2048;
    ASSERT_TRUE(interactive.run({1000.0}, {1.0}, 0.3, 4096, 500.0, 2500.0));
    EXPECT_EQ(interactive.doc->nData, 2048);
    EXPECT_EQ(interactive.doc->acqPars.TD, 0);
    interactive.doc->sim.simUpdateDocument = 1;
    ASSERT_TRUE(interactive.run({1000.0}, {1.0}, 0.3, 4096, 500.0, 2500.0));
    EXPECT_EQ(interactive.doc->nData, 4096);
}

TEST(Synthesis, RefusesBadParametersAndChangesNothing) {
    Synth s(0.0);
    s.doc->specData[0] = 3.0;
    s.doc->nData = 100;
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.0, 8192));
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.3, 8192, 3000.0, 3000.0));
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.3, 1));
    EXPECT_FALSE(s.run({10.0}, {1.0}, 0.3, kCapacity + 1));
    EXPECT_FALSE(s.run({10.0}, {1.0}, NAN, 8192));
    EXPECT_EQ(s.ui.messageTexts(), (std::vector<std::string>{kLineWidthText, kWindowText, kPointsText,
                                                             kPointsText, kNotFiniteText}));
    EXPECT_EQ(s.doc->specData[0], 3.0);
    EXPECT_EQ(s.doc->nData, 100);
    // The largest size fills the whole buffer and no more.
    EXPECT_TRUE(s.run({1500.0}, {1.0}, 0.3, kCapacity));
    EXPECT_GT(s.at(kCapacity / 4), 0.0);
}

}  // namespace
}  // namespace pelvaron::simulation
