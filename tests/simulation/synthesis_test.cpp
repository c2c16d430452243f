// The simulated spectrum: equality with the line-by-line sum, the line shape, the window, the
// threshold, the axis rewrite and the refusals.
#include "simulation/synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "recording_ui.h"
#include "reference.h"

namespace pelvaron::simulation {
namespace {

using testing::RecordingUserInterface;

struct Fixture {
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    RecordingUserInterface ui;
    Fixture(double fromHz) {
        doc->acqPars.offsetHz = fromHz;
        doc->nData = 0;
    }
    bool run(const std::vector<double>& f, const std::vector<double>& in, double w, double threshold,
             int points, double fromHz, double toHz) {
        return synthesizeSpectrum(*doc, ui, f, in, w, threshold, points, fromHz, toHz);
    }
};

TEST(Synthesis, EqualsTheSumOfLinesLineByLine) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> where(-100.0, 3100.0);  // some outside the window
    std::uniform_real_distribution<double> strength(0.0, 1.0);
    std::vector<double> freq, intens;
    for (int i = 0; i < 3000; ++i) {
        freq.push_back(where(rng));
        intens.push_back(strength(rng));
    }
    // Several lines on one point and lines one step apart.
    freq.insert(freq.end(), {1500.0, 1500.0001, 1500.2, 12.0});
    intens.insert(intens.end(), {0.5, 0.25, 0.125, 2.0});
    // offsetHz is normally fromHz; when it is not, centres fall outside 0..h-1.
    struct Case {
        int points;
        double w, offset;
    };
    const Case cases[] = {{8192, 0.3, 0.0},   {8192, 4.0, 0.0},    {2000, 0.3, 0.0},     {2000, 4.0, 0.0},
                          {1001, 0.3, 0.0},   {1001, 4.0, 0.0},    {2048, 5.0, -2000.0}, {2048, 5.0, -100.0},
                          {2048, 5.0, 250.0}, {2048, 5.0, 2900.0}, {2048, 5.0, 1e12}};
    for (const Case& c : cases) {
        Fixture fx(c.offset);
        ASSERT_TRUE(fx.run(freq, intens, c.w, 0.001, c.points, 0.0, 3000.0));
        const auto want = testing::directSynthesis(freq, intens, c.w, 0.001, c.points, 0.0, 3000.0, c.offset);
        for (int j = 0; j < c.points / 2; ++j)
            ASSERT_NEAR(fx.doc->specData[2 * j], want[j], 1e-9 * std::fabs(want[j]) + 1e-300)
                << c.points << " " << c.w << " " << c.offset << " " << j;
    }
}

TEST(Synthesis, ALineAtTheCentreHasItsAreaAndWidth) {
    Fixture fx(1000.0);
    const int points = 32768, h = points / 2;
    const double range = 2000.0, w = 2.0;
    ASSERT_TRUE(fx.run({2000.0}, {1.0}, w, 0.001, points, 1000.0, 3000.0));
    double sum = 0.0, peak = 0.0;
    int peakAt = 0;
    for (int j = 0; j < h; ++j) {
        const double v = fx.doc->specData[2 * j];
        sum += v;
        if (v > peak) {
            peak = v;
            peakAt = j;
        }
    }
    EXPECT_EQ(peakAt, h / 2);
    // Most of the area: the tails beyond the window are cut off.
    EXPECT_NEAR(sum, h / range, 0.01 * h / range);
    // Half height between the two points where the curve crosses it, interpolated.
    auto crossing = [&](int dir) {
        int j = peakAt;
        while (fx.doc->specData[2 * (j + dir)] > peak / 2) j += dir;
        const double a = fx.doc->specData[2 * j], b = fx.doc->specData[2 * (j + dir)];
        return j + dir * (a - peak / 2) / (a - b);
    };
    const double widthHz = (crossing(1) - crossing(-1)) * range / h;
    EXPECT_NEAR(widthHz, w, 0.01 * w);
}

TEST(Synthesis, WindowEdgesAndTheThresholdDropLines) {
    Fixture fx(0.0);
    ASSERT_TRUE(fx.run({0.0, 3000.0, 1000.0, 2000.0}, {1.0, 1.0, 0.001 + 1e-6, 0.001 + 5e-7}, 0.3, 0.001,
                       8192, 0.0, 3000.0));
    for (int i = 0; i < 8192; ++i) ASSERT_EQ(fx.doc->specData[i], 0.0) << i;
    // Just above the threshold is kept.
    ASSERT_TRUE(fx.run({1000.0}, {0.001 + 2e-6}, 0.3, 0.001, 8192, 0.0, 3000.0));
    EXPECT_GT(fx.doc->specData[2 * 2731], 0.0);
}

TEST(Synthesis, CallsAddAndOddPointCountsFillHalfTheFloor) {
    Fixture fx(0.0);
    fx.doc->specData[8191] = 7.0;  // beyond 2h for P = 8191: never touched
    ASSERT_TRUE(fx.run({1000.0}, {1.0}, 0.3, 0.001, 8191, 0.0, 3000.0));
    const double once = fx.doc->specData[2 * 2730];
    ASSERT_GT(once, 0.0);
    ASSERT_TRUE(fx.run({1000.0}, {1.0}, 0.3, 0.001, 8191, 0.0, 3000.0));
    EXPECT_DOUBLE_EQ(fx.doc->specData[2 * 2730], 2.0 * once);
    EXPECT_EQ(fx.doc->nData, 8191);
    EXPECT_EQ(fx.doc->acqPars.TD, 8191);
    EXPECT_EQ(fx.doc->specData[8191], 7.0);
    EXPECT_EQ(fx.doc->sim.simRange, 3000.0);
}

TEST(Synthesis, RewritesTheAxisUnlessInteractiveWithoutUpdate) {
    Fixture fx(500.0);
    ASSERT_TRUE(fx.run({1000.0}, {1.0}, 0.3, 0.001, 4096, 500.0, 2500.0));
    const AcqParams& p = fx.doc->acqPars;
    EXPECT_EQ(p.TD, 4096);
    EXPECT_EQ(fx.doc->nData, 4096);
    EXPECT_DOUBLE_EQ(p.SW, 2000.0);
    EXPECT_DOUBLE_EQ(p.AQ, 4096 / 2000.0);
    EXPECT_EQ(fx.doc->viewLeft, 0.0);
    EXPECT_DOUBLE_EQ(fx.doc->viewRight, p.AQ);
    EXPECT_EQ(fx.doc->refIndex, 4096 + static_cast<int>(2.0 * 500.0 * p.AQ));

    Fixture interactive(500.0);
    interactive.doc->sim.simInteractive = 1;
    interactive.doc->nData = 2048;
    ASSERT_TRUE(interactive.run({1000.0}, {1.0}, 0.3, 0.001, 4096, 500.0, 2500.0));
    EXPECT_EQ(interactive.doc->nData, 2048);
    EXPECT_EQ(interactive.doc->acqPars.TD, 0);
    interactive.doc->sim.simUpdateDocument = 1;
    ASSERT_TRUE(interactive.run({1000.0}, {1.0}, 0.3, 0.001, 4096, 500.0, 2500.0));
    EXPECT_EQ(interactive.doc->nData, 4096);
}

TEST(Synthesis, RefusesBadParametersAndChangesNothing) {
    Fixture fx(0.0);
    fx.doc->specData[0] = 3.0;
    fx.doc->nData = 100;
    EXPECT_FALSE(fx.run({10.0}, {1.0}, 0.0, 0.001, 8192, 0.0, 3000.0));
    EXPECT_FALSE(fx.run({10.0}, {1.0}, -1.0, 0.001, 8192, 0.0, 3000.0));
    EXPECT_FALSE(fx.run({10.0}, {1.0}, 0.3, 0.001, 8192, 3000.0, 3000.0));
    EXPECT_FALSE(fx.run({10.0}, {1.0}, 0.3, 0.001, 8192, 3000.0, 0.0));
    EXPECT_FALSE(fx.run({10.0}, {1.0}, 0.3, 0.001, 1, 0.0, 3000.0));
    EXPECT_FALSE(fx.run({10.0}, {1.0}, 0.3, 0.001, kCapacity + 1, 0.0, 3000.0));
    EXPECT_FALSE(fx.run({10.0}, {1.0}, NAN, 0.001, 8192, 0.0, 3000.0));
    EXPECT_EQ(fx.ui.messageTexts(),
              (std::vector<std::string>{kLineWidthText, kLineWidthText, kWindowText, kWindowText, kPointsText,
                                        kPointsText, kNotFiniteText}));
    EXPECT_EQ(fx.doc->specData[0], 3.0);
    EXPECT_EQ(fx.doc->nData, 100);
    // The largest size fills the whole buffer and no more.
    EXPECT_TRUE(fx.run({1500.0}, {1.0}, 0.3, 0.001, kCapacity, 0.0, 3000.0));
    EXPECT_GT(fx.doc->specData[kCapacity / 2], 0.0);
}

}  // namespace
}  // namespace pelvaron::simulation
