// Interactive apodization: the ends of the bars, Cancel after many movements, the real aspirin FID
// transformed as the transform does it (filter delay included), the way back from an inverse
// transform, Undo after OK and the movements that are refused.
#include "processing/interactive_apodization.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fixtures.h"
#include "processing/data_ops.h"
#include "processing/fourier_dialog.h"
#include "processing/transform.h"

namespace pelvaron::processing {
namespace {

using Dialog = InteractiveApodizationDialog;
using enum ScrollAction;

/// A document whose FID was stored as the set-up stores it, transformed with quadrature
/// alternation and the complex FFT.
std::unique_ptr<Document> withStoredFid(const std::vector<double>& fid, double sw) {
    auto doc = documentWith(fid, sw);
    doc->fidCopy.copyFrom(doc->spectrum.specData, doc->spectrum.nData);
    doc->fidCopyCount = doc->spectrum.nData;
    doc->loadQuadrature = 1;
    doc->loadReal = 0;
    doc->spectrum.fileNegateImag = 0;
    return doc;
}

// What the bars show and the S/N box are followed through the window in the GUI test; here their
// ends and the values they refuse.
TEST(InteractiveApodization, BarsAreHeldToTheirEndsAndTheLorentzGaussTakesMinusLbAndRefusesGbZero) {
    auto doc = withStoredFid(fidOf(1024, 2000.0, {300.0}), 2000.0);
    const std::vector<double> before = dataOf(*doc);
    doc->window.apoFunction = kApoGaussian;
    Dialog d(*doc);
    d.open();
    EXPECT_EQ(dataOf(*doc), before);  // opening computes nothing
    for (int i = 0; i < 13; ++i) ASSERT_TRUE(d.scrollLb(PageRight));
    EXPECT_EQ((std::pair{d.lbPosition(), d.lbText()}), (std::pair{250, std::string("5.00")}));
    ASSERT_TRUE(d.scrollLb(Thumb, -900));
    EXPECT_EQ(d.lbPosition(), -250);

    d.chooseFunction(kApoLorentzGauss);
    EXPECT_EQ(d.lbLabel(), "LB");
    ASSERT_TRUE(d.scrollLb(Thumb, -50));
    const std::vector<double> minusOne = dataOf(*doc);
    ASSERT_TRUE(d.scrollLb(Thumb, 50));
    EXPECT_EQ(std::pair(d.lbText(), dataOf(*doc)), std::pair(std::string("-1.00"), minusOne));
    ASSERT_TRUE(d.scrollGb(Thumb, 1));
    const std::vector<double> kept = dataOf(*doc);
    const auto refused = d.scrollGb(LineLeft);  // GB 0 divides by zero: refused, the spectrum kept
    const auto held = d.scrollGb(LineLeft);     // held at 0: said once
    EXPECT_EQ(std::pair(d.gbText(), dataOf(*doc)), std::pair(std::string("0.00"), kept));
    ASSERT_TRUE(!refused && !held);
    EXPECT_EQ(
        std::pair(apodizationMessage(refused.error())->text, apodizationMessage(held.error()).has_value()),
        std::pair(std::string(kApoBadWindowText), false));
}

TEST(InteractiveApodization, CancelAfterTwentyMovementsPutsEverythingBackBitForBit) {
    // 3000 points: the movements zero fill them to 4096, and TD, refIndex and the pivot follow.
    auto doc = withStoredFid(fidOf(1500, 2000.0, {-400.0, 250.0}, 3.4), 2000.0);
    doc->spectrum.groupDelay = 3.4;
    doc->spectrum.fileNegateImag = doc->spectrum.negateImag = 1;
    doc->spectrum.phase0 = 30.0;
    doc->spectrum.phase1 = -12.0;
    doc->spectrum.peakIndex = 1234;
    doc->spectrum.refIndex = 3100;
    doc->spectrum.phaseSourceValid = 1;
    for (int i = 0; i < 3000; ++i) doc->spectrum.phaseSource[i] = i;
    const std::vector<double> data = dataOf(*doc), source = testing::head(doc->spectrum.phaseSource, 3000);
    const double peak = doc->spectrum.peakValue;

    Dialog d(*doc);
    d.open();
    const SpectrumDescription ts = doc->spectrum;  // with the S/N marks the opening found
    const std::vector<ScrollAction> moves{LineRight, PageRight, LineLeft, PageLeft, PageRight};
    for (int i = 0; i < 20; ++i) {
        if (i == 7) d.chooseFunction(kApoTraficante);
        if (i == 12) d.chooseFunction(kApoLorentzGauss);
        ASSERT_TRUE(i % 4 == 3 ? d.scrollGb(moves[i % 5]) : d.scrollLb(moves[i % 5]));
    }
    ASSERT_EQ(doc->spectrum.nData, 4096);
    EXPECT_EQ((std::pair{doc->spectrum.acqPars.TD, doc->spectrum.xUnits}), (std::pair{4096, kPpm}));
    EXPECT_NE(doc->spectrum.refIndex, 3100);
    d.cancel();

    EXPECT_EQ(dataOf(*doc), data);
    EXPECT_EQ(
        (std::vector<double>(doc->spectrum.specData.begin() + 3000, doc->spectrum.specData.begin() + 4096)),
        std::vector<double>(1096, 0.0));  // a larger size taken later finds zeros again
    EXPECT_EQ(testing::head(doc->spectrum.phaseSource, 3000), source);
    EXPECT_EQ((std::vector<int>{doc->spectrum.nData, doc->spectrum.acqPars.TD, doc->spectrum.xUnits,
                                doc->spectrum.refIndex, doc->spectrum.peakIndex, doc->spectrum.negateImag,
                                doc->spectrum.phaseSourceValid, doc->spectrum.snMarksValid,
                                doc->spectrum.noiseBlock}),
              (std::vector<int>{3000, 3000, kSeconds, 3100, 1234, 1, 1, ts.snMarksValid, ts.noiseBlock}));
    EXPECT_EQ((std::vector<double>{doc->spectrum.peakValue, doc->spectrum.phase0, doc->spectrum.phase1,
                                   doc->spectrum.delayFraction}),
              (std::vector<double>{peak, 30.0, -12.0, ts.delayFraction}));
}

TEST(InteractiveApodization, OnTheAspirinFidTheSpectrumIsTheTransformsOwn) {
    // The real FID (DECIM 24, DSPFVS 10, conjugated on reading): at LB 0 the dialog's spectrum has
    // the Fourier transform's shape (which adds only a first-point and a drift correction and a
    // scale) and the same tallest line. Without the ramp of the 0.0208 point the rotation leaves
    // of the filter's delay, the agreement drops to 0.9991.
    auto ft = testing::aspirin("fid-set"), doc = testing::aspirin("fid-set");
    ASSERT_TRUE(testing::opened<FourierDialog>(*ft).ok());
    ASSERT_EQ(doc->fidCopyCount, doc->spectrum.nData);
    Dialog d(*doc);
    d.open();
    ASSERT_TRUE(d.scrollLb(Thumb, 0));
    ASSERT_EQ(doc->spectrum.nData, ft->spectrum.nData);
    EXPECT_EQ(doc->spectrum.peakIndex, ft->spectrum.peakIndex);
    EXPECT_EQ(doc->spectrum.delayFraction, ft->spectrum.delayFraction);
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int i = 0; i < doc->spectrum.nData; ++i) {
        ab += doc->spectrum.specData[i] * ft->spectrum.specData[i];
        aa += doc->spectrum.specData[i] * doc->spectrum.specData[i];
        bb += ft->spectrum.specData[i] * ft->spectrum.specData[i];
    }
    EXPECT_GT(ab / std::sqrt(aa * bb), 0.9999);
}

TEST(InteractiveApodization, UndoAfterOkReturnsTheFidAtItsLengthAndASpectrumIsRefused) {
    auto doc = withStoredFid(fidOf(1500, 2000.0, {100.0}), 2000.0);
    const std::vector<double> fid = dataOf(*doc);
    testing::opened<Dialog>(*doc).ok();  // without a movement a FID stays a FID
    EXPECT_EQ(doc->spectrum.xUnits, kSeconds);
    Dialog d(*doc);
    d.open();
    ASSERT_TRUE(d.scrollLb(PageRight));
    d.ok();
    EXPECT_EQ((std::vector<int>{doc->spectrum.ftReal, doc->spectrum.ftQuadrature, doc->spectrum.ftInverse,
                                doc->spectrum.negateImag, doc->spectrum.nData}),
              (std::vector<int>{0, 0, 1, 0, 4096}));
    undoCommand(*doc);
    EXPECT_EQ((std::tuple{doc->spectrum.nData, dataOf(*doc), doc->spectrum.xUnits}),
              (std::tuple{3000, fid, int{kSeconds}}));

    // Without a stored FID (a spectrum read from a file) a movement is refused, said once, and
    // nothing changes.
    markAsSpectrum(*doc);
    const std::vector<double> before = dataOf(*doc);
    Dialog spectrum(*doc);
    spectrum.open();
    const auto refused = spectrum.scrollLb(LineRight), held = spectrum.scrollLb(PageRight);
    ASSERT_TRUE(!refused && !held && !apodizationMessage(held.error()));
    const Message said = *apodizationMessage(refused.error());
    EXPECT_EQ(std::pair(said.text + " / " + said.caption, said.icon),
              std::pair(std::string(kApoNoFidText) + " / Interactive Apodization", MessageIcon::Exclamation));
    spectrum.ok();
    EXPECT_EQ(dataOf(*doc), before);
}

TEST(InteractiveApodization, AnInverseTransformsFidGoesForwardByTheComplexFft) {
    // Whatever the load chose (a real transform here), a FID that came back from a complex
    // spectrum returns to it: at LB 0 the dialog gives the spectrum again, scaled by the points.
    auto doc = withStoredFid(fidOf(2048, 2000.0, {-500.0, 300.0}), 2000.0);
    TransformSettings forward;
    forward.driftCorr = 0;
    ASSERT_TRUE(fourierTransform(*doc, forward));
    const std::vector<double> spectrum = dataOf(*doc);
    TransformSettings inverse;
    inverse.inverse = 1;
    inverse.driftCorr = 0;
    inverse.quadrature = 0;
    ASSERT_TRUE(fourierTransform(*doc, inverse));
    ASSERT_EQ(doc->fidCopyFromInverse, 1);
    doc->loadReal = 1;
    Dialog d(*doc);
    d.open();
    ASSERT_TRUE(d.scrollLb(Thumb, 0));
    // The inverse halved the first point on its way: all but that point come back.
    const double scale = doc->spectrum.specData[doc->spectrum.peakIndex] / spectrum[doc->spectrum.peakIndex];
    for (int i = 2; i < doc->spectrum.nData; i += 97)
        EXPECT_NEAR(doc->spectrum.specData[i], scale * spectrum[i], 1e-6 * 100.0 * std::fabs(scale)) << i;
}

}  // namespace
}  // namespace pelvaron::processing
