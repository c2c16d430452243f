// Phase rotation, the "Phase Correction" dialog, Autophase and Invert's phase bookkeeping.
#include "processing/phase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "fixtures.h"
#include "processing/data_ops.h"
#include "processing/phase_dialog.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using testing::allFinite;
using testing::dataOf;
using testing::documentWith;
using testing::head;
using testing::RecordingUserInterface;
using Ints = std::vector<int>;

constexpr double kRad = 3.14159 / 180.0;

/// A small spectrum with distinct real and imaginary parts everywhere.
std::vector<double> spectrum(int points) {
    std::vector<double> v(2 * points);
    for (int k = 0; k < points; ++k) {
        v[2 * k] = std::sin(0.3 * k) * 50.0 + k;
        v[2 * k + 1] = std::cos(0.7 * k) * 40.0 - k;
    }
    return v;
}

TEST(PhaseRotation, NinetyDegreesTurnsRealIntoMinusImaginary) {
    const std::vector<double> in = spectrum(32);
    std::vector<double> x = in;
    phaseRotation(x.data(), 64, 90.0, 0.0, 0, false);
    // Point 0 first takes the imaginary part of point 1.
    EXPECT_NEAR(x[0], -in[3], 1e-4);
    for (int k = 1; k < 32; ++k) {
        EXPECT_NEAR(x[2 * k], -in[2 * k + 1], 1e-4 * 100) << k;
        EXPECT_EQ(x[2 * k + 1], in[2 * k + 1]) << k;  // imaginary parts untouched
    }
    // 3.14159, not pi: the cosine term is not exactly zero.
    EXPECT_EQ(x[10], std::cos(90.0 * kRad) * in[10] - std::sin(90.0 * kRad) * in[11]);

    std::vector<double> both = in;
    phaseRotation(both.data(), 64, 90.0, 0.0, 0, true);
    for (int k = 1; k < 32; ++k) EXPECT_NEAR(both[2 * k + 1], in[2 * k], 1e-4 * 100) << k;
}

TEST(PhaseRotation, FirstOrderTurnsAboutHalfAPointBeforeThePivot) {
    const int n = 64;
    const int pivot = 20;
    const std::vector<double> in = spectrum(n / 2);
    std::vector<double> x = in;
    phaseRotation(x.data(), n, 0.0, 30.0, pivot, true);
    for (int k : {1, 5, 10, 11, 31}) {
        const double theta = 30.0 * kRad * 4.0 * (2 * k + 1 - pivot) / n;
        EXPECT_DOUBLE_EQ(x[2 * k], std::cos(theta) * in[2 * k] - std::sin(theta) * in[2 * k + 1]) << k;
        EXPECT_DOUBLE_EQ(x[2 * k + 1], std::sin(theta) * in[2 * k] + std::cos(theta) * in[2 * k + 1]) << k;
    }
    // The pivot's own point turns by phi1*4/N, not by zero.
    const double theta = 30.0 * kRad * 4.0 / n;
    EXPECT_NE(x[pivot], in[pivot]);
    EXPECT_DOUBLE_EQ(x[pivot], std::cos(theta) * in[pivot] - std::sin(theta) * in[pivot + 1]);
}

class PhaseDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc = documentWith(spectrum(64));
        doc->peakIndex = 40;
        doc->phase0 = 12.345;
        doc->phase1 = -3.0;
        original = dataOf(*doc);
    }
    std::unique_ptr<Document> doc;
    std::vector<double> original;
    RecordingUserInterface ui;
};

TEST_F(PhaseDialogTest, OpeningShowsThePivotAndKeepsTheUnphasedCopy) {
    auto dialog = testing::opened<PhaseDialog>(*doc, ui);
    EXPECT_EQ((Ints{doc->transform.showPivot, dialog.order0Position(), dialog.order1Position(),
                    dialog.pivotPosition(), dialog.pivotMaximum()}),
              (Ints{1, 1234, -300, 40, 128}));
    EXPECT_EQ(dialog.order0Text(), "12.3");
    EXPECT_EQ(head(doc->phaseSource, 128), original);
    EXPECT_EQ(doc->phaseSourceValid, 0);
    EXPECT_EQ(head(doc->undoData, 128), original);
    EXPECT_GT(ui.repaints, 0);

    // A valid copy is reused, not replaced.
    auto other = documentWith(spectrum(64));
    other->phaseSourceValid = 1;
    other->phaseSource.fill(7.0);
    (void)testing::opened<PhaseDialog>(*other, ui);
    EXPECT_EQ(other->phaseSource[5], 7.0);
}

TEST_F(PhaseDialogTest, OrderScrollBarsClampAndRephaseTheRealPartsFromTheCopy) {
    PhaseDialog dialog(*doc, ui);
    doc->phase0 = 180.0;
    dialog.open();
    dialog.scrollOrder0(ScrollAction::LineRight);
    EXPECT_EQ(dialog.order0Position(), 18000);
    EXPECT_EQ(dialog.order0Text(), "180.0");

    dialog.scrollOrder0(ScrollAction::Thumb, 17950);
    EXPECT_EQ(doc->phase0, 179.5);
    dialog.scrollOrder0(ScrollAction::LineRight);
    EXPECT_EQ(dialog.order0Position(), 18000);
    EXPECT_EQ(doc->phase0, 180.0);

    dialog.scrollOrder0(ScrollAction::Thumb, -30000);
    EXPECT_EQ(dialog.order0Position(), -18000);
    dialog.scrollOrder0(ScrollAction::PageRight);
    EXPECT_EQ(dialog.order0Position(), -17000);
    dialog.scrollOrder0(ScrollAction::LineLeft);
    EXPECT_EQ(dialog.order0Position(), -17100);
    dialog.scrollOrder1(ScrollAction::PageLeft);
    EXPECT_EQ(dialog.order1Position(), -1300);
    EXPECT_EQ(doc->phase1, -13.0);
    EXPECT_EQ(dialog.order1Text(), "-13.0");

    // Every change restores the copy and rotates the real parts by both present orders.
    std::vector<double> expected = original;
    phaseRotation(expected.data(), 128, -171.0, -13.0, 40, false);
    EXPECT_EQ(dataOf(*doc), expected);
}

TEST_F(PhaseDialogTest, MovingThePivotAloneLeavesTheData) {
    auto dialog = testing::opened<PhaseDialog>(*doc, ui);
    dialog.scrollOrder0(ScrollAction::LineRight);
    const std::vector<double> phased = dataOf(*doc);

    dialog.scrollPivot(ScrollAction::LineRight);
    EXPECT_EQ(dialog.pivotPosition(), 42);
    dialog.scrollPivot(ScrollAction::PageLeft);
    EXPECT_EQ(dialog.pivotPosition(), 32);
    dialog.scrollPivot(ScrollAction::Thumb, 77);
    EXPECT_EQ(dialog.pivotPosition(), 76);
    dialog.scrollPivot(ScrollAction::Thumb, 500);
    EXPECT_EQ(dialog.pivotPosition(), 128);
    dialog.scrollPivot(ScrollAction::PageLeft);
    dialog.scrollPivot(ScrollAction::Thumb, -5);
    EXPECT_EQ(dialog.pivotPosition(), 0);
    EXPECT_EQ(dataOf(*doc), phased);

    // The next order change uses the new pivot.
    dialog.scrollPivot(ScrollAction::Thumb, 100);
    dialog.scrollOrder1(ScrollAction::LineRight);
    std::vector<double> expected = original;
    phaseRotation(expected.data(), 128, 13.34, -2.0, 100, false);
    EXPECT_EQ(dataOf(*doc), expected);
}

TEST_F(PhaseDialogTest, ApplyTakesTheTypedFractionAndShowsWholeDegrees) {
    auto dialog = testing::opened<PhaseDialog>(*doc, ui);
    dialog.scrollOrder0(ScrollAction::PageRight);
    dialog.apply("12.7", "-250.5 deg");
    EXPECT_EQ((std::pair{doc->phase0, doc->phase1}), (std::pair{12.7, -250.5}));
    EXPECT_EQ((Ints{dialog.order0Position(), dialog.order1Position()}), (Ints{1200, -25000}));
    std::vector<double> expected = original;
    phaseRotation(expected.data(), 128, 12.7, -250.5, 40, false);
    EXPECT_EQ(dataOf(*doc), expected);
    EXPECT_EQ(doc->transform.showPivot, 1);  // still open

    // A huge number holds the position at the end of the int range instead of overflowing.
    dialog.apply("1e300", "x");
    EXPECT_EQ(dialog.order0Position(), std::numeric_limits<int>::max());
    EXPECT_EQ(doc->phase1, 0.0);
    EXPECT_TRUE(allFinite(*doc));
}

TEST_F(PhaseDialogTest, OkRotatesBothPartsAndValidatesTheCopy) {
    auto dialog = testing::opened<PhaseDialog>(*doc, ui);
    dialog.scrollOrder0(ScrollAction::Thumb, 4500);
    dialog.ok();
    EXPECT_EQ((Ints{doc->transform.showPivot, doc->phaseSourceValid}), (Ints{0, 1}));
    std::vector<double> expected = original;
    phaseRotation(expected.data(), 128, 45.0, -3.0, 40, true);
    EXPECT_EQ(dataOf(*doc), expected);
    EXPECT_EQ(head(doc->phaseSource, 128), original);
}

TEST_F(PhaseDialogTest, CancelReturnsToTheOpeningNotToTheCopy) {
    // An earlier correction left phased data beside a valid unphased copy.
    doc->phaseSourceValid = 1;
    doc->phaseSource.copyFrom(doc->specData, 128);
    phaseRotation(*doc, 12.34, -3.0, true);
    const std::vector<double> atOpening = dataOf(*doc);

    auto dialog = testing::opened<PhaseDialog>(*doc, ui);
    dialog.scrollOrder0(ScrollAction::PageRight);
    dialog.scrollOrder1(ScrollAction::PageLeft);
    dialog.scrollPivot(ScrollAction::PageRight);
    dialog.apply("77", "8");
    dialog.cancel();
    EXPECT_EQ(dataOf(*doc), atOpening);
    EXPECT_EQ((std::pair{doc->phase0, doc->phase1}), (std::pair{12.34, -3.0}));
    EXPECT_EQ((Ints{dialog.order0Position(), doc->transform.showPivot, doc->phaseSourceValid}),
              (Ints{1234, 0, 1}));
}

/// A spectrum of 128 points, zero except for chosen ones, with the pivot at point 20.
std::unique_ptr<Document> sparseSpectrum(std::vector<std::pair<int, std::pair<double, double>>> points,
                                         double peakValue) {
    std::vector<double> v(256, 0.0);
    for (const auto& [k, z] : points) {
        v[2 * k] = z.first;
        v[2 * k + 1] = z.second;
    }
    auto doc = documentWith(v);
    doc->peakIndex = 40;
    doc->peakValue = peakValue;
    return doc;
}

TEST(Autophase, ChoosesTheAngleWhoseRealPartsSumLargerAndTurnsANegativeMaximumUp) {
    struct Case {
        std::vector<std::pair<int, std::pair<double, double>>> points;
        double peakValue, phase0, angle;
    };
    const Case cases[] = {
        // Pivot alone: atan(-im/re) = 45 degrees beats atan(-10 im/re) = 84.3 degrees; the data
        // turn by the exact angle, not the truncated one.
        {{{20, {1.0, -1.0}}}, 1.0, 45.0, std::atan(1.0) * 180.0 / 3.14159},
        // A second line turned by +90 degrees makes the ten-fold ratio's 45 degrees win over 5.7.
        {{{20, {1.0, -0.1}}, {60, {0.0, -10.0}}}, 1.0, 45.0, -1.0},
        // A negative largest line ends half a turn away: 45 + 180 = 225, beyond 180.
        {{{20, {-1.0, 1.0}}}, -1.0, -135.0, -135.0},
    };
    for (const Case& c : cases) {
        auto doc = sparseSpectrum(c.points, c.peakValue);
        RecordingUserInterface ui;
        // It starts from the valid copy each time: running it again gives the same result.
        for (int run = 0; run < 2; ++run) {
            autophaseCommand(*doc, ui);
            EXPECT_EQ(doc->phase0, c.phase0) << c.angle;
            EXPECT_EQ(doc->phase1, 0.0);
            EXPECT_EQ(doc->phaseSourceValid, 1);
            EXPECT_GT(ui.repaints, 0);
            if (c.angle == -1.0) continue;
            std::vector<double> expected = dataOf(*sparseSpectrum(c.points, c.peakValue));
            phaseRotation(expected.data(), 256, c.angle, 0.0, 40, true);
            EXPECT_EQ(dataOf(*doc), expected) << c.angle;
            EXPECT_GT(doc->specData[40], 1.4) << c.angle;
        }
    }
}

TEST(Autophase, DataWithoutSignalAndAPivotPastTheEndStayFinite) {
    auto zero = documentWith(std::vector<double>(256, 0.0));
    zero->peakIndex = 0;
    RecordingUserInterface ui;
    autophaseCommand(*zero, ui);
    EXPECT_TRUE(allFinite(*zero));
    EXPECT_EQ(zero->phase0, 0.0);

    // The pivot scroll bar reaches nData; with a full buffer that is past its end.
    auto full = documentWith(std::vector<double>(kCapacity, 1.0));
    full->peakIndex = kCapacity;
    autophaseCommand(*full, ui);
    EXPECT_TRUE(allFinite(*full));
    EXPECT_EQ(full->phase0, -45.0);  // read at the last point (1, 1)
}

TEST(Invert, TurnsPhaseZeroByHalfATurnEachTime) {
    auto doc = documentWith({1, -2, 3, -4});
    doc->phase0 = 0.0;
    invertData(*doc);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{-1, 2, -3, 4}));
    EXPECT_EQ(doc->phase0, 180.0);
    invertData(*doc);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{1, -2, 3, -4}));
    EXPECT_EQ(doc->phase0, 0.0);

    // A phase correction from the copy afterwards reproduces the inversion.
    auto phased = documentWith(spectrum(16));
    phased->phaseSource.copyFrom(phased->specData, 32);
    phased->phaseSourceValid = 1;
    invertData(*phased);
    const std::vector<double> inverted = dataOf(*phased);
    phased->specData.copyFrom(phased->phaseSource, 32);
    phaseRotation(*phased, phased->phase0, 0.0, true);
    for (int i = 2; i < 32; ++i) EXPECT_NEAR(phased->specData[i], inverted[i], 1e-3) << i;
}

}  // namespace
}  // namespace pelvaron::processing
