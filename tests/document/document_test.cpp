// The Spectrum document: parameter block encoding, peak search, Undo, set-up and capacity.
#include "document/document.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

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

    const AcqParams p = decodeAcqParams(original.data());
    EXPECT_EQ(p.aqMode, 3);
    EXPECT_EQ(p.complexData, 1);
    EXPECT_DOUBLE_EQ(p.SW, 6009.6154);
    EXPECT_DOUBLE_EQ(p.SF, 400.13);
    EXPECT_EQ(p.TD, 16384);
    EXPECT_DOUBLE_EQ(p.AQ, 1.363);
    EXPECT_DOUBLE_EQ(p.offsetHz, -1007.99);
    EXPECT_EQ(p.DECIM, 32);
    EXPECT_EQ(p.DSPFVS, 10);

    std::array<std::uint8_t, kAcqParamsSize> again{};
    encodeAcqParams(p, again.data());
    EXPECT_EQ(again, original) << "a block read and written again must be identical byte for byte";
}

TEST(AcqParamsTest, NegativeIntegersSurviveTheRoundTrip) {
    AcqParams p;
    p.aqMode = -2;
    p.TD = -5;
    p.DSPFVS = -1;
    std::array<std::uint8_t, kAcqParamsSize> raw{};
    encodeAcqParams(p, raw.data());
    EXPECT_EQ(decodeAcqParams(raw.data()), p);
}

TEST(FindPeakTest, ReturnsSignedValueOfLargestMagnitudeAndTheLastOfEqualOnes) {
    auto doc = loadedDocument(8);
    doc->nData = 8;
    const double values[8] = {1.0, 99.0, -3.0, 0.0, 3.0, 0.0, -2.0, 0.0};
    std::copy(values, values + 8, doc->specData.begin());
    EXPECT_DOUBLE_EQ(findPeak(*doc), 3.0);
    EXPECT_EQ(doc->peakIndex, 4) << "imaginary parts are ignored; the last of equal magnitudes wins";

    doc->specData[6] = -7.5;
    EXPECT_DOUBLE_EQ(findPeak(*doc), -7.5);
    EXPECT_EQ(doc->peakIndex, 6);
}

TEST(FindPeakTest, AllZeroDataGiveTheLastRealIndex) {
    auto doc = loadedDocument(8);
    doc->nData = 8;
    EXPECT_DOUBLE_EQ(findPeak(*doc), 0.0);
    EXPECT_EQ(doc->peakIndex, 6) << "equal magnitudes: the last even index wins";
}

TEST(SetupDocumentTest, DerivesTransformFlagsReferenceAndViewFromTheParameters) {
    RecordingUserInterface ui;
    for (int mode : {0, 1, 2, 3}) {
        auto doc = loadedDocument(2048, 1000.0);
        doc->acqPars.aqMode = static_cast<std::int16_t>(mode);
        doc->fileTitle = "fid";
        setupDocument(*doc, ui);
        EXPECT_EQ(doc->ftReal, (mode == 0 || mode == 2) ? 1 : 0) << "aqMode " << mode;
        EXPECT_EQ(doc->loadReal, doc->ftReal);
    }
    auto doc = loadedDocument(2048, 1000.0, 400.0);
    doc->fileTitle = "fid";
    doc->acqPars.offsetHz = 0.0;
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
}

TEST(SetupDocumentTest, ReferenceIndexFollowsTheOffset) {
    RecordingUserInterface ui;
    auto doc = loadedDocument(1000, 500.0, 100.0);  // AQ = 1 s
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
    doc->nData = 16;
    doc->acqPars.TD = 16;
    for (int i = 0; i < 16; ++i) doc->specData[i] = -1.0;
    doc->xUnits = kPpm;
    doc->ftInverse = 1;
    doc->ftReal = 0;
    undoCommand(*doc);
    for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(doc->specData[i], i + 1.0);
    for (int i = 8; i < 16; ++i) EXPECT_DOUBLE_EQ(doc->specData[i], doc->undoData[i]);
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
    doc.nData = doc.acqPars.TD = 131072;
    capToCapacity(doc, ui);
    EXPECT_TRUE(ui.messages.empty());
    doc.nData = doc.acqPars.TD = 262144;
    capToCapacity(doc, ui);
    EXPECT_EQ(doc.nData, kCapacity);
    EXPECT_EQ(doc.acqPars.TD, kCapacity);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Time domain exceeds Pelvaron capabilities \n It will be trucated to 64K data points");
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(ui.messages[0].icon, platform::Icon::Exclamation);
}

TEST(PhaseTest, HalfTurnsStayInTheHalfOpenInterval) {
    Document doc;
    doc.phase0 = 0.0;
    addHalfTurn(doc);
    EXPECT_DOUBLE_EQ(doc.phase0, 180.0);
    addHalfTurn(doc);
    EXPECT_DOUBLE_EQ(doc.phase0, 0.0);
    doc.phase0 = 170.0;
    addHalfTurn(doc);
    EXPECT_DOUBLE_EQ(doc.phase0, -10.0);
}

TEST(ViewZoomTest, DegenerateRangesAreWidenedToATenthOfAMillisecond) {
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 0.0, 2.0), 1.0);
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 1.0, 1.0), 2.0 / 1e-4);
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 1.0, 0.5), 2.0 / 1e-4);
}

}  // namespace
}  // namespace pelvaron
