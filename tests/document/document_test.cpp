// The Spectrum document: parameter block encoding, peak search, Undo, set-up and capacity.
#include "document/document.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

#include "document/byte_order.h"
#include "recording_ui.h"

namespace pelvaron {
namespace {

using testing::RecordingUserInterface;

std::unique_ptr<Document> loadedDocument(int td, double sw = 1000.0, double sf = 400.0) {
    auto doc = std::make_unique<Document>();
    doc->acqPars.TD = td;
    doc->acqPars.SW = sw;
    doc->acqPars.SF = sf;
    doc->fileTitle = "fid";
    return doc;
}

TEST(AcqParamsTest, EncodesEveryFieldLittleEndianAtItsOffsetAndKeepsReservedBytes) {
    std::array<std::uint8_t, kAcqParamsSize> original{};
    for (int i = 0; i < kAcqParamsSize; ++i) original[i] = static_cast<std::uint8_t>(0xA0 + i);
    bytes::storeLE16(&original[0], 3);
    bytes::storeLE16(&original[2], 1);
    bytes::storeLEDouble(&original[8], 6009.6154);
    bytes::storeLEDouble(&original[16], 400.13);
    bytes::storeLE32(&original[32], 16384);
    bytes::storeLEDouble(&original[40], 1.363);
    bytes::storeLEDouble(&original[48], -1007.99);
    bytes::storeLE32(&original[64], 32);
    bytes::storeLE32(&original[68], 10);

    const auto fields = [](const AcqParams& a) {
        return std::tuple(a.aqMode, a.complexData, a.SW, a.SF, a.TD, a.AQ, a.offsetHz, a.DECIM, a.DSPFVS);
    };
    const AcqParams p = decodeAcqParams(original.data());
    EXPECT_EQ(fields(p), fields(AcqParams{.aqMode = 3,
                                          .complexData = 1,
                                          .SW = 6009.6154,
                                          .SF = 400.13,
                                          .TD = 16384,
                                          .AQ = 1.363,
                                          .offsetHz = -1007.99,
                                          .DECIM = 32,
                                          .DSPFVS = 10}));
    std::array<std::uint8_t, kAcqParamsSize> again{};
    encodeAcqParams(p, again.data());
    EXPECT_EQ(again, original) << "a block read and written again must be identical byte for byte";

    const AcqParams negative{.aqMode = -2, .TD = -5, .DSPFVS = -1};  // negative integers survive
    encodeAcqParams(negative, again.data());
    EXPECT_EQ(decodeAcqParams(again.data()), negative);
}

TEST(FindPeakTest, ReturnsTheSignedLargestMagnitudeAndTheLastOfEqualOnes) {
    auto doc = loadedDocument(8);
    doc->nData = 8;
    EXPECT_DOUBLE_EQ(findPeak(*doc), 0.0);
    EXPECT_EQ(doc->peakIndex, 6) << "all zero: the last even index wins";
    const double values[8] = {1.0, 99.0, -3.0, 0.0, 3.0, 0.0, -2.0, 0.0};
    std::copy(values, values + 8, doc->specData.begin());
    EXPECT_DOUBLE_EQ(findPeak(*doc), 3.0);
    EXPECT_EQ(doc->peakIndex, 4) << "imaginary parts are ignored; the last of equal magnitudes wins";
    doc->specData[6] = -7.5;
    EXPECT_DOUBLE_EQ(findPeak(*doc), -7.5);
    EXPECT_EQ(doc->peakIndex, 6);
}

TEST(SetupDocumentTest, DerivesTransformFlagsReferenceAndViewFromTheParameters) {
    RecordingUserInterface ui;
    for (int mode : {0, 1, 2, 3}) {
        auto doc = loadedDocument(2048);
        doc->acqPars.aqMode = static_cast<std::int16_t>(mode);
        setupDocument(*doc, ui);
        EXPECT_EQ(doc->ftReal, (mode == 0 || mode == 2) ? 1 : 0) << "aqMode " << mode;
        EXPECT_EQ(doc->loadReal, doc->ftReal);
    }
    auto doc = loadedDocument(2048);
    doc->xUnits = kPpm;
    doc->phase0 = 45.0;
    doc->comments.boxes.push_back({Rect{1, 2, 3, 4}, "x"});
    doc->integrals.integralScale = 0.2;
    setupDocument(*doc, ui);
    EXPECT_EQ(doc->nData, 2048);
    EXPECT_DOUBLE_EQ(doc->acqPars.AQ, 1.024);
    EXPECT_EQ(doc->refIndex, 2048) << "offsetHz 0 puts 0 Hz at the end of the data";
    EXPECT_DOUBLE_EQ(doc->viewRight, 1.024);
    EXPECT_DOUBLE_EQ(doc->viewZoom, 1.0);
    EXPECT_EQ(doc->xUnits, kSeconds);
    EXPECT_EQ(doc->unitSeconds, 1);
    EXPECT_EQ(doc->phase0, 0.0);
    EXPECT_EQ(doc->noSaveQuery, 0);
    EXPECT_EQ(doc->haveDocument, 1);
    EXPECT_TRUE(doc->comments.boxes.empty());
    EXPECT_DOUBLE_EQ(doc->integrals.integralScale, 0.2) << "the integral scale survives set-up";
    ASSERT_FALSE(ui.titles.empty());
    EXPECT_EQ(ui.titles.back(), "Pelvaron 1.5.0 fid");
    EXPECT_EQ(ui.menuStates.back(), true);
    EXPECT_GE(ui.expansionDestroys, 1);

    doc = loadedDocument(1000, 500.0, 100.0);  // AQ = 1 s
    doc->acqPars.offsetHz = -100.25;
    setupDocument(*doc, ui);
    EXPECT_EQ(doc->refIndex, 1000 - 200) << "TD + trunc(2 * offsetHz * AQ), truncated toward zero";
    EXPECT_DOUBLE_EQ(doc->offsetPpm, -1.0025);
}

TEST(SetupDocumentTest, SnapshotAndFidCopyHoldTheNewData) {
    RecordingUserInterface ui;
    auto doc = loadedDocument(4);
    doc->specData[0] = 2.0;
    doc->specData[2] = -5.0;
    setupDocument(*doc, ui);
    EXPECT_DOUBLE_EQ(doc->peakValue, -5.0);
    doc->specData[2] = 0.0;
    EXPECT_DOUBLE_EQ(restoreUndo(*doc), -5.0);
    EXPECT_DOUBLE_EQ(doc->specData[2], -5.0);
    EXPECT_DOUBLE_EQ(doc->fidCopy[0], 2.0);
}

TEST(UndoTest, AfterASizeChangeRestoresOnlyThePresentCountAndTheFiveFlags) {
    RecordingUserInterface ui;
    auto doc = loadedDocument(8);
    for (int i = 0; i < 8; ++i) doc->specData[i] = i + 1.0;
    setupDocument(*doc, ui);
    // A transform that doubled the size and changed the units and flags.
    doc->undoFtReal = 1;
    doc->undoFtInverse = 0;
    doc->undoNegateImag = 1;
    doc->nData = doc->acqPars.TD = 16;
    std::fill_n(doc->specData.begin(), 16, -1.0);
    doc->xUnits = kPpm;
    doc->ftInverse = 1;
    doc->ftReal = 0;
    undoCommand(*doc);
    for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(doc->specData[i], i < 8 ? i + 1.0 : doc->undoData[i]) << i;
    EXPECT_EQ(doc->nData, 16) << "Undo does not restore the size";
    EXPECT_EQ(doc->xUnits, kPpm);
    EXPECT_EQ(doc->ftReal, 1);
    EXPECT_EQ(doc->ftInverse, 0);
    EXPECT_EQ(doc->negateImag, 1);
    EXPECT_DOUBLE_EQ(doc->peakValue, 7.0);
}

TEST(CapacityTest, CapsOnceWithTheTruncationWarning) {
    RecordingUserInterface ui;
    Document doc;
    doc.nData = doc.acqPars.TD = kCapacity;
    capToCapacity(doc, ui);
    EXPECT_TRUE(ui.messages.empty());
    doc.nData = doc.acqPars.TD = kCapacity + 2;
    capToCapacity(doc, ui);
    EXPECT_EQ(doc.nData, kCapacity);
    EXPECT_EQ(doc.acqPars.TD, kCapacity);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              kCapacityWarningText);
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(ui.messages[0].icon, platform::Icon::Exclamation);
}

TEST(PhaseTest, HalfTurnsStayInTheHalfOpenInterval) {
    const std::pair<double, double> cases[] = {{0.0, 180.0}, {180.0, 0.0}, {170.0, -10.0}};
    for (const auto& [before, after] : cases) {
        Document doc;
        doc.phase0 = before;
        addHalfTurn(doc);
        EXPECT_DOUBLE_EQ(doc.phase0, after) << before;
    }
}

TEST(ViewZoomTest, DegenerateRangesAreWidenedToATenthOfAMillisecond) {
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 0.0, 2.0), 1.0);
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 1.0, 1.0), 2.0 / 1e-4);
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 1.0, 0.5), 2.0 / 1e-4);
    EXPECT_DOUBLE_EQ(computeViewZoom(1.0, 0.3, 0.30005), 1.0 / 1e-4);
}

}  // namespace
}  // namespace pelvaron
