// Automatic Baseline: a known smooth baseline added to real spectra comes off again with the lines
// kept, a spectrum without one stays as it is, and every refusal leaves the data alone.
#include "processing/auto_baseline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>

#include "fixtures.h"
#include "io/load.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;

std::unique_ptr<Document> processed(const std::string& path) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(io::loadFile(*doc, ui, testing::sourcePath(path), FileFormat::Bruker));
    return doc;
}

/// Index (complex point) of the real part of largest magnitude.
int tallest(const std::vector<double>& d) {
    int best = 0;
    for (int k = 0; 2 * k < static_cast<int>(d.size()); ++k)
        if (std::fabs(d[2 * k]) > std::fabs(d[2 * best])) best = k;
    return best;
}

TEST(AutoBaseline, TakesAKnownBaselineOffRealSpectraAndKeepsTheLines) {
    for (const char* path :
         {"tests/data/aspirin-1h/processed-set", "tests/data/coffee-1h-baseopt/pdata/1/1r"}) {
        SCOPED_TRACE(path);
        auto plain = processed(path);
        const int n = plain->spectrum.nData / 2;
        ASSERT_GE(n, 16384);
        const std::vector<double> original = dataOf(*plain);
        const int top = tallest(original);
        const double height = original[2 * top];

        // A quadratic plus a slow sine, about 4 % of the tallest line.
        std::vector<double> known(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            const double u = static_cast<double>(k) / (n - 1);
            known[k] = 0.04 * std::fabs(height) *
                       (0.5 * (2 * u - 1) * (2 * u - 1) - 0.2 +
                        0.5 * std::sin(2 * std::numbers::pi * 1.3 * u + 0.7));
        }
        auto tilted = std::make_unique<Spectrum>(plain->spectrum);
        for (int k = 0; k < n; ++k) {
            tilted->specData[2 * k] += known[k];
            tilted->specData[2 * k + 1] += known[k];
        }
        const auto a = autoBaseline(plain->spectrum);
        const auto b = autoBaseline(*tilted);
        ASSERT_TRUE(a.ok() && b.ok());
        double err = 0, ref = 0;
        for (int k = 0; k < n; ++k) {
            // What the correction took off the tilted spectrum beyond what it took off the plain one.
            const double removed = plain->spectrum.specData[2 * k] - tilted->specData[2 * k] + known[k];
            err += (removed - known[k]) * (removed - known[k]);
            ref += known[k] * known[k];
            ASSERT_NEAR(plain->spectrum.specData[2 * k] - original[2 * k],
                        plain->spectrum.specData[2 * k + 1] - original[2 * k + 1], 1e-9 * std::fabs(height))
                << "both parts lose the same baseline";
        }
        const double rms = std::sqrt(err / ref);
        EXPECT_LE(rms, 0.01);
        EXPECT_NEAR(tilted->specData[2 * top], height, 0.005 * std::fabs(height));
        EXPECT_NEAR(plain->spectrum.specData[2 * top], height, 0.005 * std::fabs(height));
    }
}

/// 4096 points of a transformed spectrum: three lines on a flat zero over noise of level 0.02.
std::unique_ptr<Document> flatSpectrum() {
    std::vector<double> v(8192);
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 0.02);
    for (int k = 0; k < 4096; ++k) {
        for (const auto [centre, height, width] :
             {std::array{900.0, 100.0, 2.0}, {2300.0, -40.0, 3.0}, {2330.0, 25.0, 4.0}})
            v[2 * k] += height / (1 + (k - centre) * (k - centre) / (width * width));
        v[2 * k] += noise(random);
        v[2 * k + 1] = noise(random);
    }
    auto doc = testing::documentWith(v);
    doc->spectrum.ftInverse = 1;
    return doc;
}

TEST(AutoBaseline, LeavesAFlatBaselineAsItIsAndRefusesWithoutTouchingTheData) {
    auto flat = flatSpectrum();
    const std::vector<double> before = dataOf(*flat);
    ASSERT_TRUE(autoBaseline(flat->spectrum).ok());
    // Nothing moves by more than a few noise levels (0.02): the far tails of the lines, below three
    // noise levels, are baseline to it. The lines keep their heights.
    for (int i = 0; i < flat->spectrum.nData; ++i)
        ASSERT_NEAR(flat->spectrum.specData[i], before[i], 0.05) << i;
    for (const int k : {900, 2300, 2330})
        EXPECT_NEAR(flat->spectrum.specData[2 * k], before[2 * k], 0.05) << k;

    const auto refused = [](std::unique_ptr<Document> doc, AutoBaselineProblem problem,
                            const AutoBaselineSettings& settings = {}) {
        doc = testing::withSentinelBeyond(std::move(doc));
        const std::vector<double> data = dataOf(*doc);
        const auto r = autoBaseline(doc->spectrum, settings);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.error(), problem);
        EXPECT_EQ(autoBaselineMessage(problem).caption, "Automatic Baseline");
        EXPECT_FALSE(autoBaselineMessage(problem).text.empty());
        // Bit for bit: a NaN compares unequal to itself.
        EXPECT_EQ(std::memcmp(doc->spectrum.specData.data(), data.data(), data.size() * sizeof(double)), 0);
        testing::expectUntouchedBeyond(*doc);
    };
    auto fid = flatSpectrum();
    fid->spectrum.ftInverse = 0;
    refused(std::move(fid), AutoBaselineProblem::NotASpectrum);
    auto small = testing::documentWith(std::vector<double>(2 * (kMinAutoBaselinePoints - 1), 1.0));
    small->spectrum.ftInverse = 1;
    refused(std::move(small), AutoBaselineProblem::TooFewPoints);
    auto zero = testing::documentWith(std::vector<double>(8192, 0.0));
    zero->spectrum.ftInverse = 1;
    refused(std::move(zero), AutoBaselineProblem::AllZero);
    {
        std::vector<double> v(1 << 17);
        std::mt19937 random(9);
        std::normal_distribution<double> level(0.0, 1.0);
        for (double& x : v) x = level(random);
        auto noise = testing::documentWith(v);
        noise->spectrum.ftInverse = 1;
        refused(std::move(noise), AutoBaselineProblem::NoiseOnly);
    }
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        auto broken = flatSpectrum();
        broken->spectrum.specData[3001] = bad;
        refused(std::move(broken), AutoBaselineProblem::NotFinite);
    }
    refused(flatSpectrum(), AutoBaselineProblem::BadSettings, {.pieces = 0});
    refused(flatSpectrum(), AutoBaselineProblem::BadSettings, {.threshold = std::nan("")});
}

}  // namespace
}  // namespace pelvaron::processing
