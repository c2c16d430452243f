// The Fourier transform: the complex FFT against the textbook loop, the real one against the
// complex one, the data operations around them, the group-delay proposal and correction, the "Fast
// Fourier Transform" dialog (sizes, Cancel, OK) and Undo after it. The S/N marks a transform leaves
// are read by the S/N lines of the real-data table.
#include "processing/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "fixtures.h"
#include "processing/fft.h"
#include "processing/fourier_dialog.h"
#include "processing/phase.h"
#include "recording_ui.h"
#include "textbook_fft.h"

namespace pelvaron::processing {
namespace {

std::vector<double> randomData(int count, int seed) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::normal_distribution<double> normal(0.0, 1000.0);
    std::vector<double> v(count);
    for (double& x : v) x = normal(rng);
    return v;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(Fft, TheComplexTransformIsBitIdenticalToTheTextbookLoopAtEverySize) {
    // Fast and portable.
    const auto check = [](const std::vector<double>& input, int direction) {
        const int points = static_cast<int>(input.size() / 2);
        std::vector<double> expected = input, fast = input, portable = input;
        testing::textbookComplexFft(expected.data(), points, direction);
        complexFft(fast.data(), points, direction);
        complexFftPortable(portable.data(), points, direction);
        EXPECT_TRUE(sameBits(fast, expected)) << points << " points, direction " << direction;
        EXPECT_TRUE(sameBits(portable, expected)) << points << " points, portable, direction " << direction;
    };
    for (int points = 1; points <= kCapacity / 2; points *= 2)
        for (int direction : {kForward, kInverse}) check(randomData(2 * points, points), direction);
    // Trivial twiddles (1, 0) still multiply: -0 + 0*x and inf*0 must come out the same way.
    std::vector<double> special(2 * 256, -0.0);
    special[10] = INFINITY;
    special[33] = -1.5;
    check(special, kForward);
    // Sizes that are no power of two are left alone.
    const std::vector<double> odd = randomData(2 * 100, 3);
    std::vector<double> x = odd;
    complexFft(x.data(), 100, kForward);
    EXPECT_EQ(x, odd);
}

TEST(Fft, TheRealTransformPacksTheComplexOneOfItsSamplesAndItsInverseReturnsThem) {
    // Frequencies 0 and n/2 first, then (real, imaginary) of 1 ... n/2-1; back as n/2 times the samples.
    for (int n = 4; n <= 65536; n *= 2) {
        const std::vector<double> samples = randomData(n, n);
        std::vector<double> packed = samples, complex(2 * n, 0.0);
        for (int j = 0; j < n; ++j) complex[2 * j] = samples[j];
        complexFft(complex.data(), n, kForward);
        realFft(packed.data(), n, kForward);
        complex[1] = complex[n];  // slot 1: frequency n/2 (frequency 0 has no imaginary part)
        // A billionth of the size of the values (1000 sqrt(n) forward, 1000 n/2 back).
        for (int i = 0; i < n; ++i) ASSERT_NEAR(packed[i], complex[i], 1e-6 * std::sqrt(n)) << n << ", " << i;
        realFft(packed.data(), n, kInverse);
        for (int j = 0; j < n; ++j) ASSERT_NEAR(packed[j], samples[j] * n / 2, 1e-6 * n) << n << ", " << j;
    }
}

TEST(TransformSteps, FirstPointDriftAlternationConjugationAndRotation) {
    auto doc = documentWith({4, 8, 1, 2, 3, 5, 7, 9});
    firstPointCorrection(doc->spectrum);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{2, 4, 1, 2, 3, 5, 7, 9}));
    // Means 13/4 (real) and 20/4 (imaginary), each taken off its own parts.
    driftCorrection(doc->spectrum);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{-1.25, -1, -2.25, -3, -0.25, 0, 3.75, 4}));
    quadratureAlternation(doc->spectrum);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{1.25, 1, -2.25, -3, 0.25, -0, 3.75, 4}));
    conjugate(doc->spectrum);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{1.25, -1, -2.25, 3, 0.25, 0, 3.75, -4}));
    // Rotation moves points left; below 0 nothing moves, beyond N/2 the count is N/2, a whole turn.
    const std::vector<double> points{0, 10, 1, 11, 2, 12, 3, 13, 4, 14},
        left2{2, 12, 3, 13, 4, 14, 0, 10, 1, 11};
    for (int count : {2, -3, 5, 1000}) {
        auto d = documentWith(points);
        rotateData(d->spectrum, count);
        EXPECT_EQ(dataOf(*d), count == 2 ? left2 : points) << count;
    }
}

TEST(FourierDialog, SizesRoundUpTruncateOrZeroFillAndCancelRestoresThem) {
    for (const auto& [n, rounded] : {std::pair{100, 128}, {128, 128}, {129, 256}, {kCapacity - 1, kCapacity}})
        EXPECT_EQ(roundUpTransformSize(n), rounded) << n;

    const std::vector<double> fid = fidOf(150, 1000.0, {100.0});  // 300 doubles
    auto doc = documentWith(fid);
    // A DECIM the group-delay table lacks gets no rotation proposed: the count stays.
    doc->spectrum.acqPars.DECIM = 5;
    doc->transform.ftRotateCount = 9;
    auto dialog = opened<FourierDialog>(*doc);
    EXPECT_EQ((Ints{doc->spectrum.nData, doc->spectrum.acqPars.TD, doc->transform.ftSavedNData}),
              (Ints{512, 512, 300}));
    EXPECT_EQ((std::tuple{dialog.pointsText(), dialog.rotate, dialog.rotateCountText}),
              (std::tuple{"512", 0, "9"}));
    // Double-click: the size changes at once, TD stays; truncated doubles come back from the
    // buffer; the largest size widens the scroll range; beyond the list is ignored.
    dialog.chooseSize(0);
    EXPECT_EQ((Ints{doc->spectrum.nData, doc->spectrum.acqPars.TD}), (Ints{128, 512}));
    dialog.chooseSize(3);
    std::vector<double> filled = fid;
    filled.resize(1024, 0.0);
    EXPECT_EQ(dataOf(*doc), filled);
    dialog.chooseSize(13);
    EXPECT_EQ((std::pair{doc->spectrum.nData, dialog.largestSizeChosen()}), (std::pair{kCapacity, true}));
    dialog.chooseSize(14);
    EXPECT_EQ(doc->spectrum.nData, kCapacity);
    dialog.cancel();
    EXPECT_EQ((Ints{doc->spectrum.nData, doc->spectrum.acqPars.TD}), (Ints{300, 300}));
    EXPECT_EQ(dataOf(*doc), fid);
}

TEST(FourierDialog, ForwardThenInverseOkRunTheirWholeSequences) {
    auto doc = documentWith(fidOf(512, 1000.0, {150.0}));
    doc->spectrum.offsetHz = -120.0;
    doc->spectrum.negateImag = 1;
    doc->spectrum.acqPars.DECIM = 24;  // proposes 61 points of rotation
    // The phase and unphased copy of an earlier spectrum (kept valid across an Undo) must not be
    // applied to the new one at the next re-phasing.
    doc->spectrum.phaseSourceValid = 1;
    doc->spectrum.phase0 = 33.0;
    const std::vector<double> before = dataOf(*doc);
    const double peakBefore = doc->spectrum.peakValue;
    ASSERT_TRUE(opened<FourierDialog>(*doc).ok());

    // Undo holds the FID as it was.
    EXPECT_EQ((std::pair{doc->undo.peakValue, doc->spectrum.phase0}), (std::pair{peakBefore, 0.0}));
    EXPECT_EQ(testing::head(doc->undo.specData, 1024), before);
    // The way back is proposed next; units are ppm.
    EXPECT_EQ((Ints{doc->spectrum.ftInverse, doc->spectrum.ftQuadrature, doc->spectrum.ftReal,
                    doc->spectrum.negateImag, doc->spectrum.ftDriftCorr, doc->transform.ftRotateCount,
                    doc->transform.ftDirection, doc->spectrum.xUnits, doc->spectrum.phaseSourceValid}),
              (Ints{1, 0, 0, 0, 1, 61, kForward, kPpm, 0}));

    // peakValue describes the normalised data the window draws: the largest line, +-100.
    double largest = 0.0;
    for (int i = 0; i < 1024; ++i) largest = std::max(largest, std::fabs(doc->spectrum.specData[i]));
    EXPECT_EQ(std::pair(largest, std::fabs(doc->spectrum.peakValue)), std::pair(100.0, 100.0));
    // refIndex = N + trunc(2 * offsetHz * N / (2 SW)) = 1024 + trunc(-122.88).
    EXPECT_EQ(doc->spectrum.refIndex, 1024 - 122);
    EXPECT_EQ(doc->spectrum.snPeakIndex, doc->spectrum.peakIndex);

    // The way back, of filtered and phased data, is offered real and taken complex; phase and filter
    // are reset. (What the whole forward sequence makes of a real FID is checked against the
    // spectrometer's own spectrum in the recorded-processing test.)
    doc->spectrum.acqPars.DECIM = 32;
    doc->spectrum.groupDelay = 70.5;
    doc->spectrum.phase0 = 33.0;
    doc->spectrum.phase1 = -4.0;
    doc->spectrum.ftReal = doc->spectrum.phaseSourceValid = 1;
    auto inverse = opened<FourierDialog>(*doc);
    EXPECT_EQ((Ints{inverse.inverse, inverse.rotate, inverse.real}), (Ints{1, 0, 1}));
    inverse.real = 0;
    ASSERT_TRUE(inverse.ok());
    EXPECT_EQ((Ints{doc->transform.ftDirection, doc->spectrum.ftInverse, doc->spectrum.ftQuadrature,
                    doc->spectrum.acqPars.DECIM, doc->spectrum.phaseSourceValid, doc->spectrum.xUnits,
                    doc->fidCopyFromInverse}),
              (Ints{kInverse, 0, 0, 1, 0, kSeconds, 1}));
    EXPECT_EQ((std::vector<double>{doc->spectrum.groupDelay, doc->spectrum.phase0, doc->spectrum.phase1,
                                   doc->spectrum.delayFraction}),
              (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(testing::head(doc->fidCopy, 1024), dataOf(*doc));
    // Rotated data are not offered a rotation again.
    EXPECT_EQ(opened<FourierDialog>(*doc).rotate, 0);
}

TEST(FourierDialog, ZerosStayZeroRotateCountsAreClampedAndOtherSizesRefused) {
    // The normalisation of a spectrum without signal divides by nothing.
    auto zeros = documentWith(std::vector<double>(512, 0.0));
    ASSERT_TRUE(opened<FourierDialog>(*zeros).ok());
    EXPECT_EQ((std::pair{dataOf(*zeros), zeros->spectrum.peakValue}),
              (std::pair{std::vector<double>(512, 0.0), 0.0}));
    for (const auto& [text, clamped] : {std::pair{"99999999999", 128}, {"-12abc", 0}}) {
        auto doc = documentWith(fidOf(128, 1000.0, {50.0}));
        auto dialog = opened<FourierDialog>(*doc);
        dialog.rotate = 1;
        dialog.rotateCountText = text;
        ASSERT_TRUE(dialog.ok());
        EXPECT_EQ(doc->transform.ftRotateCount, clamped) << text;
    }
    auto doc = documentWith(std::vector<double>(100, 1.0));
    EXPECT_FALSE(fourierTransform(*doc, TransformSettings{}));
    EXPECT_EQ(dataOf(*doc), std::vector<double>(100, 1.0));
    EXPECT_EQ(doc->spectrum.xUnits, kSeconds);
}

TEST(GroupDelayCorrection, TheWholeDelayLeavesLinesThatNeedZeroOrderOnlyAndUndoTakesItOff) {
    // Lines of a FID at SW 8192 Hz whose first points are the digital filter's, as a modern
    // spectrometer records it.
    const std::vector<double> lines{-3000.0, -700.0, 150.0, 2500.0};
    for (double delay : {67.98, 68.5625, 61.0208}) {
        const std::vector<double> fid = fidOf(8192, 8192.0, lines, delay);
        auto doc = documentWith(fid, 8192.0);
        doc->spectrum.groupDelay = delay;
        doc->spectrum.acqPars.DECIM = 32;  // the recorded delay wins over the table's 70.0156
        auto dialog = opened<FourierDialog>(*doc);
        ASSERT_EQ(dialog.rotate, 1);
        ASSERT_TRUE(dialog.ok());
        EXPECT_NEAR(doc->spectrum.delayFraction, delay - std::trunc(delay), 1e-12);
        autophaseCommand(*doc);
        // Every line, far from the pivot or near it, is upright absorption.
        for (double hz : lines) EXPECT_NEAR(phaseAt(*doc, hz), 0.0, 1.0) << delay << " " << hz;
        undoCommand(*doc);
        EXPECT_EQ((std::pair{doc->spectrum.delayFraction, dataOf(*doc)}), (std::pair{0.0, fid}));
    }
}

}  // namespace
}  // namespace pelvaron::processing
