// Automatic Phase (0 + 1): both real experiments against the spectrometer software's hand-phased
// 1r, a synthetic spectrum of known phase, a second application, and the refusals.
#include "processing/auto_phase.h"
#include "processing/auto_process.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "cli/steps.h"
#include "fixtures.h"
#include "io/load.h"
#include "processing/phase.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;

/// Pearson correlation of the real parts of two spectra of the same size.
double correlation(const Spectrum& a, const Spectrum& b) {
    const int points = a.nData / 2;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int k = 0; k < points; ++k) {
        const double x = a.specData[2 * k], y = b.specData[2 * k];
        sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
    }
    return (sxy - sx * sy / points) / std::sqrt((sxx - sx * sx / points) * (syy - sy * sy / points));
}

std::unique_ptr<Document> loaded(const std::string& path, const std::string& steps) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(io::loadFile(*doc, ui, testing::sourcePath(path), FileFormat::Bruker)) << path;
    std::string error;
    EXPECT_TRUE(steps.empty() || cli::runSteps(*doc, ui, steps, error)) << error;
    return doc;
}

TEST(AutomaticPhase, BothRealExperimentsMatchTheHandPhased1rUprightAndAgain) {
    struct Pair {
        const char *fid, *processed, *steps;
    };
    // The FIDs transformed with the whole group delay at the 1r's size (SI), LB as recorded; and
    // coffee once more with a window, which broadens its two solvent lines: they alone once
    // tilted the whole spectrum by 190 degrees of first order.
    for (const Pair& p :
         {Pair{"tests/data/aspirin-1h/fid-set", "tests/data/aspirin-1h/processed-set", "em=0.3,ft=32768"},
          Pair{"tests/data/coffee-1h-baseopt", "tests/data/coffee-1h-baseopt/pdata/1/1r", "ft=32768"},
          Pair{"tests/data/coffee-1h-baseopt", "tests/data/coffee-1h-baseopt/pdata/1/1r",
               "em=0.3,ft=32768"}}) {
        SCOPED_TRACE(p.fid);
        auto doc = loaded(p.fid, p.steps), theirs = loaded(p.processed, "");
        ASSERT_EQ(doc->spectrum.nData, theirs->spectrum.nData);
        const auto found = autoPhaseFull(doc->spectrum);
        ASSERT_TRUE(found);
        EXPECT_GE(correlation(doc->spectrum, theirs->spectrum), 0.999);
        EXPECT_EQ(std::pair(doc->spectrum.phase0, doc->spectrum.phase1),
                  std::pair(found->phase0, found->phase1));
        Spectrum copy = doc->spectrum;
        EXPECT_GT(findPeak(copy), 0.0) << "the tallest line upright";

        // Phase Correction continues from the angles: its OK with them re-creates the data (to
        // rounding: the rotation here advances the angle by a recurrence).
        const std::vector<double> phased = dataOf(*doc);
        applyPhase(doc->spectrum, {doc->spectrum.phase0, doc->spectrum.phase1});
        const std::vector<double> again = dataOf(*doc);
        ASSERT_EQ(again.size(), phased.size());
        double largest = 0.0, apart = 0.0;
        for (std::size_t i = 0; i < phased.size(); ++i)
            largest = std::max(largest, std::fabs(phased[i])),
            apart = std::max(apart, std::fabs(again[i] - phased[i]));
        EXPECT_LE(apart, 1e-12 * largest);
        const auto second = autoPhaseFull(doc->spectrum);
        ASSERT_TRUE(second);
        EXPECT_LT(std::fabs(second->phase0 - found->phase0) + std::fabs(second->phase1 - found->phase1), 0.5);
    }
}

TEST(AutomaticProcessing, EachRealFidWithItsOwnWindowBecomesTheSpectrometersSpectrumAndUndoReturnsIt) {
    // The window each experiment recorded (aspirin LB 0.3, coffee none), then one step. Coffee's
    // FID of 32768 points is zero filled to twice that, its 1r has 32768: every second point.
    const struct {
        const char *fid, *processed, *window;
        int stride;
    } pairs[] = {{"tests/data/aspirin-1h/fid-set", "tests/data/aspirin-1h/processed-set", "em=0.3", 1},
                 {"tests/data/coffee-1h-baseopt", "tests/data/coffee-1h-baseopt/pdata/1/1r", "", 2}};
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.fid);
        auto doc = loaded(p.fid, p.window), theirs = loaded(p.processed, "");
        const std::vector<double> fid = dataOf(*doc);
        ASSERT_TRUE(autoProcess(*doc));
        ASSERT_EQ(doc->spectrum.nData, p.stride * theirs->spectrum.nData);
        Spectrum ours = theirs->spectrum;
        for (int k = 0; k < ours.nData / 2; ++k)
            ours.specData[2 * k] = doc->spectrum.specData[2 * p.stride * k];
        EXPECT_GE(correlation(ours, theirs->spectrum), 0.999);
        EXPECT_EQ(doc->spectrum.xUnits, kPpm);
        // Automatic Phase after the whole chain (its baseline included) finds the same orders.
        Spectrum again = doc->spectrum;
        const auto rephased = autoPhaseFull(again);
        ASSERT_TRUE(rephased);
        EXPECT_LT(std::fabs(rephased->phase0 - doc->spectrum.phase0) +
                      std::fabs(rephased->phase1 - doc->spectrum.phase1),
                  0.5);
        // A spectrum is refused as it stands; one Undo returns the FID at its own size.
        const std::vector<double> spectrum = dataOf(*doc);
        const auto refused = autoProcess(*doc);
        ASSERT_FALSE(refused);
        EXPECT_EQ(autoProcessMessage(refused.error()).text, kAutoProcessSpectrumText);
        EXPECT_EQ(dataOf(*doc), spectrum);
        undoCommand(*doc);
        EXPECT_EQ(dataOf(*doc), fid);
        EXPECT_EQ(doc->spectrum.ftInverse, 0);
    }
}

TEST(AutomaticPhase, RecoversAKnownPhaseOfZeroAndFirstOrder) {
    // Five lines across the spectrum, absorptive as transformed; then turned by known orders.
    auto doc = testing::documentWith(testing::fidOf(2048, 1000.0, {-380.0, -150.0, 20.0, 230.0, 410.0}));
    testing::RecordingUserInterface ui;
    std::string error;
    ASSERT_TRUE(cli::runSteps(*doc, ui, "ft=8192", error)) << error;
    // The transform leaves these lines negative: the reference is the upright spectrum.
    for (int i = 0; i < doc->spectrum.nData; ++i) doc->spectrum.specData[i] *= -1.0;
    for (const auto& [order0, order1] : {std::pair(70.0, 35.0), std::pair(-150.0, -60.0)}) {
        auto turned = std::make_unique<Document>();
        turned->spectrum = doc->spectrum;
        phaseRotation(turned->spectrum, order0, order1, true);
        const auto found = autoPhaseFull(turned->spectrum);
        ASSERT_TRUE(found);
        EXPECT_NEAR(std::remainder(found->phase0 + order0, 360.0), 0.0, 1.5) << order0;
        EXPECT_NEAR(found->phase1, -order1, 0.5) << order1;
        EXPECT_GT(correlation(turned->spectrum, doc->spectrum), 0.999);
    }
}

TEST(AutomaticPhase, RefusesWithTheDataUntouched) {
    std::mt19937 rng(7);
    std::normal_distribution<double> normal(0.0, 50.0);
    std::vector<double> noise(4096);
    for (double& x : noise) x = normal(rng);
    std::vector<double> withNan = testing::fidOf(256, 1000.0, {100.0});
    withNan[300] = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::vector<double> values;
        bool spectrum;
        AutoPhaseProblem problem;
    };
    const Case cases[] = {
        {testing::fidOf(256, 1000.0, {100.0}), false, AutoPhaseProblem::NotSpectrum},
        {std::vector<double>(30, 1.0), true, AutoPhaseProblem::TooFewPoints},
        {withNan, true, AutoPhaseProblem::NotFinite},
        {std::vector<double>(512, 0.0), true, AutoPhaseProblem::Empty},
        {noise, true, AutoPhaseProblem::NoLine},
    };
    for (const Case& c : cases) {
        auto doc = testing::documentWith(c.values);
        doc->spectrum.ftInverse = c.spectrum ? 1 : 0;
        doc->spectrum.phase0 = 12.0;
        const std::vector<double> before = dataOf(*doc);
        const auto refused = autoPhaseFull(doc->spectrum);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error(), c.problem);
        EXPECT_FALSE(autoPhaseMessage(c.problem).text.empty());
        const std::vector<double> after = dataOf(*doc);
        EXPECT_EQ(0, std::memcmp(before.data(), after.data(), before.size() * sizeof(double)));
        EXPECT_EQ(std::pair(doc->spectrum.phase0, doc->spectrum.phaseSourceValid), std::pair(12.0, 0));
    }
}

}  // namespace
}  // namespace pelvaron::processing
