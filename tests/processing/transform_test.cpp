// The Fourier transform command: the data operations around the FFT, the group-delay proposal,
// the "Fast Fourier Transform" dialog (sizes, Cancel, OK) and Undo after it.
#include "processing/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "fixtures.h"
#include "processing/fft.h"
#include "processing/fourier_dialog.h"
#include "processing/phase.h"
#include "processing/phase_dialog.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;
using testing::documentWith;
using testing::head;
using Ints = std::vector<int>;

/// A decaying complex FID of `points` points at `hz` (SW 1000 Hz).
std::vector<double> decayingFid(int points, double hz) {
    std::vector<double> v(2 * points);
    for (int k = 0; k < points; ++k) {
        const double t = k / 1000.0;
        const auto z = 1000.0 * std::exp(-t / 0.05) * std::polar(1.0, 2.0 * std::numbers::pi * hz * t);
        v[2 * k] = z.real();
        v[2 * k + 1] = z.imag();
    }
    return v;
}

TEST(TransformSteps, FirstPointDriftAlternationConjugationAndRotation) {
    auto doc = documentWith({4, 8, 1, 2, 3, 5, 7, 9});
    firstPointCorrection(*doc);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{2, 4, 1, 2, 3, 5, 7, 9}));
    // Means 13/4 (real) and 20/4 (imaginary), each taken off its own parts.
    driftCorrection(*doc);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{-1.25, -1, -2.25, -3, -0.25, 0, 3.75, 4}));
    quadratureAlternation(*doc);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{1.25, 1, -2.25, -3, 0.25, -0, 3.75, 4}));
    conjugate(*doc);
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{1.25, -1, -2.25, 3, 0.25, 0, 3.75, -4}));

    // Rotation moves points left; below 0 nothing moves, beyond N/2 the count is N/2, a whole turn.
    const std::vector<double> points{0, 10, 1, 11, 2, 12, 3, 13, 4, 14},
        left2{2, 12, 3, 13, 4, 14, 0, 10, 1, 11};
    for (int count : {2, -3, 5, 1000}) {
        auto d = documentWith(points);
        rotateData(*d, count);
        EXPECT_EQ(dataOf(*d), count == 2 ? left2 : points) << count;
    }
}

TEST(TransformSteps, ConstantFidWithQuadratureGivesOneNegativeLineInTheMiddle) {
    const int points = 64;
    auto doc = documentWith(std::vector<double>(2 * points, 3.0));
    quadratureAlternation(*doc);
    complexFft(*doc, points, kForward);
    for (int i = 0; i < 2 * points; ++i)
        EXPECT_NEAR(doc->specData[i], i / 2 == points / 2 ? -3.0 * points : 0.0, 1e-9) << i;
}

TEST(GroupDelay, TableGrpdlyAndNoProposal) {
    EXPECT_EQ(groupDelayFromTable(24, 10), 61.0208);
    EXPECT_EQ(groupDelayFromTable(192, 12), 0.0);
    EXPECT_EQ(groupDelayFromTable(2048, 11), 72.0313);
    EXPECT_FALSE(groupDelayFromTable(5, 10));
    EXPECT_FALSE(groupDelayFromTable(32, 13));

    struct Case {
        int decim, dspfvs;
        double grpdly;
        int inverse, expectRotate, expectCount;
    };
    const Case cases[] = {
        {24, 10, 0.0, 0, 1, 61},   // the table, truncated
        {192, 12, 0.0, 0, 1, 0},   // the table's zero is a proposal of no rotation
        {8, 10, 0.0, 0, 1, 68},    // 68.5625
        {32, 10, 76.9, 0, 1, 76},  // GRPDLY wins over the table
        {1, 10, 67.98, 0, 1, 67},  // and counts whatever DECIM says
        {5, 10, 0.0, 0, 0, 9},     // a DECIM the table lacks: no proposal, the count stays
        {1, 10, 0.0, 0, 0, 9},     // no filter
        {24, 10, 0.0, 1, 0, 9},    // nothing is proposed for an inverse transform
    };
    for (const Case& c : cases) {
        auto doc = documentWith(std::vector<double>(256, 1.0));
        doc->acqPars.DECIM = c.decim;
        doc->acqPars.DSPFVS = c.dspfvs;
        doc->groupDelay = c.grpdly;
        doc->ftInverse = c.inverse;
        doc->transform.ftRotateCount = 9;
        doc->transform.ftRotate = 1;
        auto dialog = testing::opened<FourierDialog>(*doc);
        EXPECT_EQ(dialog.rotate, c.expectRotate) << c.decim << "/" << c.dspfvs << " grpdly " << c.grpdly;
        EXPECT_EQ(dialog.rotateCountText, std::to_string(c.expectCount)) << c.decim << "/" << c.dspfvs;
    }
}

TEST(FourierDialog, OpeningRoundsTheSizeUpAndCancelRestoresIt) {
    for (const auto& [n, rounded] :
         {std::pair{100, 128}, {128, 128}, {129, 256}, {32768, 32768}, {32769, 65536}, {131073, 262144},
          {kCapacity - 1, kCapacity}, {kCapacity, kCapacity}})
        EXPECT_EQ(roundUpTransformSize(n), rounded) << n;

    auto doc = documentWith(std::vector<double>(100, 2.0));
    auto dialog = testing::opened<FourierDialog>(*doc);
    EXPECT_EQ((Ints{doc->nData, doc->acqPars.TD, doc->transform.ftSavedNData}), (Ints{128, 128, 100}));
    EXPECT_EQ(dialog.pointsText(), "128");
    EXPECT_STREQ(FourierDialog::kSizeList.front(), "128");
    // The list runs up to the whole buffer, 524288 complex points.
    EXPECT_STREQ(FourierDialog::kSizeList.back(), "1048576");

    // Double-click: the size changes at once, TD stays; the largest widens the scroll range.
    dialog.chooseSize(3);
    EXPECT_EQ((Ints{doc->nData, doc->acqPars.TD}), (Ints{1024, 128}));
    dialog.chooseSize(13);
    EXPECT_EQ((Ints{doc->nData, doc->hScrollRange}), (Ints{kCapacity, kCapacity - 1}));
    dialog.chooseSize(14);  // beyond the list: ignored
    EXPECT_EQ(doc->nData, kCapacity);

    dialog.cancel();
    EXPECT_EQ((Ints{doc->nData, doc->acqPars.TD, doc->hScrollRange}), (Ints{100, 100, 100}));
    EXPECT_EQ(dataOf(*doc), std::vector<double>(100, 2.0));
}

TEST(FourierDialog, SizesTruncateAndZeroFillFromTheBuffer) {
    std::vector<double> fid = decayingFid(256, 100.0);
    auto doc = documentWith(fid);
    auto dialog = testing::opened<FourierDialog>(*doc);
    dialog.chooseSize(0);  // 128 doubles: truncated
    EXPECT_EQ(doc->nData, 128);
    dialog.chooseSize(3);  // 1024: the doubles beyond 128 come back, then the buffer's zeros
    fid.resize(1024, 0.0);
    EXPECT_EQ(dataOf(*doc), fid);
}

TEST(FourierDialog, ForwardOkRunsTheWholeSequence) {
    auto doc = documentWith(decayingFid(512, 150.0));
    doc->offsetHz = -120.0;
    doc->negateImag = 1;
    doc->acqPars.DECIM = 24;  // proposes 61 points of rotation
    const std::vector<double> before = dataOf(*doc);
    const double peakBefore = doc->peakValue;

    auto dialog = testing::opened<FourierDialog>(*doc);
    ASSERT_TRUE(dialog.ok());

    // Undo copies of the options as read from the controls: real, drift, quadrature, inverse, negate.
    EXPECT_EQ((Ints{doc->undoFtReal, doc->undoFtDriftCorr, doc->undoFtQuadrature, doc->undoFtInverse,
                    doc->undoNegateImag}),
              (Ints{0, 1, 1, 0, 1}));
    EXPECT_EQ(doc->undoPeakValue, peakBefore);
    EXPECT_EQ(head(doc->undoData, 1024), before);
    EXPECT_EQ((Ints{doc->transform.ftRotate, doc->transform.ftRotateCount}), (Ints{1, 61}));
    // The way back is proposed next; units are ppm.
    EXPECT_EQ((Ints{doc->ftInverse, doc->ftQuadrature, doc->ftReal, doc->negateImag, doc->ftDriftCorr}),
              (Ints{1, 0, 0, 0, 1}));
    EXPECT_EQ(doc->transform.ftDirection, kForward);
    EXPECT_EQ((Ints{doc->xUnits, doc->unitPpm, doc->unitSeconds + doc->unitHz + doc->unitPoints}),
              (Ints{kPpm, 1, 0}));
    EXPECT_EQ(doc->acqPars.DECIM, 24);

    // The same arithmetic by hand.
    auto expected = documentWith(before);
    firstPointCorrection(*expected);
    rotateData(*expected, 61);
    driftCorrection(*expected);
    quadratureAlternation(*expected);
    conjugate(*expected);
    complexFft(*expected, 512, kForward);
    // The 0.0208 point of delay the rotation leaves, as a first-order ramp.
    groupDelayRamp(expected->specData.data(), 1024, 61.0208 - 61, true);
    for (int i = 0; i < 1024; ++i) expected->specData[i] /= 1024.0;
    const double peak = findPeak(*expected);
    // peakValue describes the normalised data the window draws: the largest line, +-100.
    EXPECT_EQ(doc->peakIndex, expected->peakIndex);
    EXPECT_EQ(doc->peakValue, doc->specData[doc->peakIndex]);
    EXPECT_DOUBLE_EQ(doc->peakValue, std::copysign(100.0, peak));
    for (int i = 0; i < 1024; ++i)
        EXPECT_DOUBLE_EQ(doc->specData[i], expected->specData[i] / std::fabs(peak) * 100.0) << i;
    // +150 Hz would lie left of the centre (frequencies fall to the right); the conjugation
    // asked for by negateImag mirrors it to the right, at point 256 + 76.8.
    EXPECT_NEAR(doc->peakIndex / 2, 256 + 150.0 * 512 / 1000.0, 2.0);
    // refIndex = N + trunc(2 * offsetHz * N / (2 SW)) = 1024 + trunc(-122.88).
    EXPECT_EQ(doc->refIndex, 1024 - 122);
    EXPECT_EQ(doc->transform.snPeakIndex, doc->peakIndex);
}

TEST(FourierDialog, InverseOkResetsPhaseAndFilterAndKeepsTheScale) {
    auto doc = documentWith(decayingFid(256, 80.0));
    doc->acqPars.DECIM = 32;
    doc->groupDelay = 70.5;
    doc->ftInverse = 1;
    doc->ftReal = 1;
    doc->phase0 = 33.0;
    doc->phase1 = -4.0;
    doc->phaseSourceValid = 1;
    doc->xUnits = kPpm;
    auto dialog = testing::opened<FourierDialog>(*doc);
    EXPECT_EQ(dialog.rotate, 0);
    dialog.real = 0;
    ASSERT_TRUE(dialog.ok());

    EXPECT_EQ(doc->transform.ftDirection, kInverse);
    EXPECT_EQ((Ints{doc->ftInverse, doc->ftQuadrature, doc->acqPars.DECIM, doc->phaseSourceValid, doc->xUnits,
                    doc->unitSeconds, doc->fidCopyFromInverse}),
              (Ints{0, 0, 1, 0, kSeconds, 1, 1}));
    EXPECT_EQ((std::vector<double>{doc->groupDelay, doc->phase0, doc->phase1}),
              (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(head(doc->fidCopy, 512), dataOf(*doc));
    // No alternation and no normalisation on the way back.
    auto expected = documentWith(decayingFid(256, 80.0));
    firstPointCorrection(*expected);
    driftCorrection(*expected);
    complexFft(*expected, 256, kInverse);
    for (int i = 0; i < 512; ++i) expected->specData[i] /= 512.0;
    EXPECT_EQ(dataOf(*doc), dataOf(*expected));
    EXPECT_EQ(doc->peakValue, findPeak(*expected));

    // Data that were rotated once are not offered a rotation again.
    auto again = testing::opened<FourierDialog>(*doc);
    EXPECT_EQ(again.rotate, 0);
}

TEST(FourierDialog, ForwardThenInverseReturnsTheFidUpToScale) {
    const std::vector<double> fid = decayingFid(1024, 200.0);
    auto doc = documentWith(fid);
    auto forward = testing::opened<FourierDialog>(*doc);
    forward.quadrature = 0;
    forward.driftCorr = 0;
    ASSERT_TRUE(forward.ok());
    auto inverse = testing::opened<FourierDialog>(*doc);
    inverse.driftCorr = 0;
    EXPECT_EQ(inverse.inverse, 1);
    ASSERT_TRUE(inverse.ok());

    // The first point was halved on the way in; the rest matches after one common scale.
    const double scale = doc->specData[10] / fid[10];
    EXPECT_NE(scale, 1.0);
    EXPECT_NEAR(doc->specData[0] / scale, fid[0] / 2.0, 1e-3 * std::fabs(fid[0]));
    for (int i = 2; i < 2048; ++i) EXPECT_NEAR(doc->specData[i] / scale, fid[i], 1e-3 * 1000.0) << i;
}

TEST(FourierDialog, RealTransformOfSequentialSamples) {
    // 256 real samples of a cosine at 100 Hz: the real FFT packs 128 frequencies.
    std::vector<double> samples(256);
    for (int m = 0; m < 256; ++m) samples[m] = std::cos(2.0 * std::numbers::pi * 32.0 * m / 256.0);
    auto doc = documentWith(samples);
    doc->ftReal = 1;
    auto dialog = testing::opened<FourierDialog>(*doc);
    dialog.quadrature = 0;
    dialog.driftCorr = 0;
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(doc->peakIndex, 64);
    EXPECT_DOUBLE_EQ(doc->specData[64], 100.0);
}

TEST(FourierDialog, AllZeroDataStayZero) {
    for (int inverse : {0, 1}) {
        auto doc = documentWith(std::vector<double>(512, 0.0));
        doc->ftInverse = inverse;
        auto dialog = testing::opened<FourierDialog>(*doc);
        ASSERT_TRUE(dialog.ok());
        EXPECT_TRUE(testing::allFinite(*doc)) << inverse;
        EXPECT_EQ(dataOf(*doc), std::vector<double>(512, 0.0)) << inverse;
        EXPECT_EQ(doc->peakValue, 0.0) << inverse;
    }
}

TEST(FourierDialog, RotateCountsOutsideTheDataAreClamped) {
    for (const auto& [text, clamped] : {std::pair{"99999999999", 128}, {"-12abc", 0}}) {
        auto doc = documentWith(decayingFid(128, 50.0));
        auto dialog = testing::opened<FourierDialog>(*doc);
        dialog.rotate = 1;
        dialog.rotateCountText = text;
        ASSERT_TRUE(dialog.ok());
        EXPECT_EQ(doc->transform.ftRotateCount, clamped) << text;
    }
}

TEST(FourierDialog, UndoAfterATransformThatChangedTheSize) {
    const std::vector<double> fid = decayingFid(50, 100.0);
    auto doc = documentWith(fid);  // 100 doubles, rounded to 128 on opening
    auto dialog = testing::opened<FourierDialog>(*doc);
    const double peakBefore = doc->peakValue;
    ASSERT_TRUE(dialog.ok());
    ASSERT_EQ(doc->nData, 128);

    undoCommand(*doc);
    EXPECT_EQ((Ints{doc->nData, doc->xUnits, doc->ftInverse, doc->ftQuadrature, doc->ftDriftCorr}),
              (Ints{128, kPpm, 0, 1, 1}));
    EXPECT_EQ(doc->peakValue, peakBefore);
    std::vector<double> expected = fid;
    expected.resize(128, 0.0);
    EXPECT_EQ(dataOf(*doc), expected);
}

TEST(FourierDialog, RefusesDataThatAreNotATransformSize) {
    auto doc = documentWith(std::vector<double>(100, 1.0));
    FtOptions options;
    EXPECT_FALSE(fourierTransform(*doc, options));
    EXPECT_EQ(dataOf(*doc), std::vector<double>(100, 1.0));
    EXPECT_EQ(doc->xUnits, kSeconds);
}

TEST(FourierDialog, ANewSpectrumIsPhasedFromItselfNotFromAnEarlierOne) {
    // Transform, Autophase, Undo, a different apodization, transform again: Phase Correction
    // must start from the new spectrum, not from the unphased copy of the first one.
    auto doc = documentWith(decayingFid(512, 150.0));
    testing::RecordingUserInterface ui;
    ASSERT_TRUE(testing::opened<FourierDialog>(*doc).ok());
    autophase(*doc);
    ASSERT_EQ(doc->phaseSourceValid, 1);
    undoCommand(*doc);
    for (int i = 0; i < doc->nData; ++i) doc->specData[i] *= std::exp(-0.002 * i);
    ASSERT_TRUE(testing::opened<FourierDialog>(*doc).ok());
    EXPECT_EQ(doc->phaseSourceValid, 0);
    EXPECT_EQ(doc->phase0, 0.0);
    const std::vector<double> fresh = dataOf(*doc);
    auto phase = testing::opened<PhaseDialog>(*doc, ui);
    phase.scrollOrder0(ScrollAction::Thumb, 0);
    for (int i = 0; i < doc->nData; i += 2) ASSERT_NEAR(doc->specData[i], fresh[i], 1e-9) << i;
}

}  // namespace
}  // namespace pelvaron::processing

namespace pelvaron::processing {
namespace {

/// Lines at `hz` (SW 8192 Hz, 1 Hz a point) of a FID whose first `delay` points are the digital
/// filter's: the signal starts `delay` points late, as a modern spectrometer records it.
std::vector<double> delayedFid(int points, double delay, const std::vector<double>& hz) {
    std::vector<double> v(2 * points);
    for (int j = 0; j < points; ++j) {
        const double t = (j - delay) / 8192.0;
        std::complex<double> z;
        // The filter's onset is smooth: a causal start would ring across the spectrum.
        const double onset = t < 0 ? std::exp(t * 8192.0 * 2.0) : 1.0;
        for (double f : hz) z += onset * std::exp(-std::fabs(t) / 0.2) * std::polar(1000.0, 2.0 * std::numbers::pi * f * t);
        v[2 * j] = z.real();
        v[2 * j + 1] = z.imag();
    }
    return v;
}

/// Phase (degrees) of the complex point nearest `hz` after a centred transform of M points.
double phaseAt(const Document& doc, double hz) {
    const int m = doc.nData / 2;
    const int k = m / 2 - static_cast<int>(std::lround(hz));  // point 0 is the highest frequency
    return std::atan2(doc.specData[2 * k + 1], doc.specData[2 * k]) * 180.0 / std::numbers::pi;
}

TEST(GroupDelayCorrection, TheWholeDelayLeavesLinesThatNeedZeroOrderOnly) {
    const std::vector<double> lines{-3000.0, -700.0, 150.0, 2500.0};
    for (double delay : {67.98, 68.5625, 61.0208}) {
        auto doc = documentWith(delayedFid(8192, delay, lines), 8192.0);
        doc->groupDelay = delay;
        auto dialog = testing::opened<FourierDialog>(*doc);
        ASSERT_EQ(dialog.rotate, 1);
        ASSERT_TRUE(dialog.ok());
        EXPECT_NEAR(doc->transform.delayFraction, delay - std::trunc(delay), 1e-12);
        testing::RecordingUserInterface ui;
        autophaseCommand(*doc, ui);
        // Every line, far from the pivot or near it, is upright absorption.
        for (double hz : lines) EXPECT_NEAR(phaseAt(*doc, hz), 0.0, 1.0) << delay << " " << hz;
    }
}

TEST(GroupDelayCorrection, InverseAndUndoTakeTheRampOffAgain) {
    const std::vector<double> fid = delayedFid(1024, 46.311, {-2000.0, 900.0});
    // Forward and back with the ramp gives the rotated FID a transform without it gives.
    std::vector<double> back[2];
    for (int withRamp : {0, 1}) {
        auto doc = documentWith(fid, 8192.0);
        doc->acqPars.DECIM = 2;
        doc->acqPars.DSPFVS = 12;
        auto forward = testing::opened<FourierDialog>(*doc);
        forward.quadrature = 0;
        ASSERT_TRUE(withRamp ? forward.ok() : fourierTransform(*doc, FtOptions{0, 1, 0, 0, 1, 46, 0.0}));
        EXPECT_EQ(doc->transform.delayFraction != 0.0, withRamp == 1);
        auto inverse = testing::opened<FourierDialog>(*doc);
        ASSERT_TRUE(inverse.ok());
        EXPECT_EQ(doc->transform.delayFraction, 0.0);
        const double scale = doc->specData[200];
        for (int i = 0; i < doc->nData; ++i) back[withRamp].push_back(doc->specData[i] / scale);
    }
    for (std::size_t i = 0; i < back[0].size(); ++i) EXPECT_NEAR(back[1][i], back[0][i], 1e-9) << i;

    auto doc = documentWith(fid, 8192.0);
    doc->groupDelay = 46.311;
    ASSERT_TRUE(testing::opened<FourierDialog>(*doc).ok());
    undoCommand(*doc);
    EXPECT_EQ(doc->transform.delayFraction, 0.0);
    EXPECT_EQ(dataOf(*doc), fid);
}

}  // namespace
}  // namespace pelvaron::processing
