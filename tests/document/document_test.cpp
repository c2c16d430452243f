// The Spectrum document: parameter block encoding, peak search, set-up, Undo and capacity.
#include "document/document.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

#include "document/byte_order.h"
#include "recording_ui.h"

namespace pelvaron {
namespace {

std::unique_ptr<Document> loadedDocument(int td, double sw = 1000.0, double sf = 400.0) {
    auto doc = std::make_unique<Document>();
    doc->acqPars = {.SW = sw, .SF = sf, .TD = td};
    doc->fileTitle = "fid";
    return doc;
}

TEST(AcqParams, EncodesEveryFieldLittleEndianAtItsOffsetAndKeepsReservedBytes) {
    std::array<std::uint8_t, kAcqParamsSize> block{};
    for (int i = 0; i < kAcqParamsSize; ++i) block[i] = static_cast<std::uint8_t>(0xA0 + i);
    bytes::storeLE16(&block[0], 3);
    bytes::storeLE16(&block[2], 1);
    bytes::storeLEDouble(&block[8], 6009.6154);
    bytes::storeLEDouble(&block[16], 400.13);
    bytes::storeLE32(&block[32], -16384);  // negative integers survive
    bytes::storeLEDouble(&block[40], 1.363);
    bytes::storeLEDouble(&block[48], -1007.99);
    bytes::storeLE32(&block[64], 32);
    bytes::storeLE32(&block[68], 10);
    const AcqParams p = decodeAcqParams(block.data());
    EXPECT_EQ(std::tuple(p.aqMode, p.complexData, p.SW, p.SF, p.TD, p.AQ, p.offsetHz, p.DECIM, p.DSPFVS),
              std::tuple(3, 1, 6009.6154, 400.13, -16384, 1.363, -1007.99, 32, 10));
    std::array<std::uint8_t, kAcqParamsSize> again{};
    encodeAcqParams(p, again.data());
    EXPECT_EQ(again, block) << "a block read and written again must be identical byte for byte";
}

TEST(FindPeak, ReturnsTheSignedLargestRealPartAndTheLastOfEqualOnes) {
    auto doc = loadedDocument(8);
    doc->nData = 8;
    EXPECT_EQ((std::pair{findPeak(*doc), doc->peakIndex}), (std::pair{0.0, 6}));
    const double values[8] = {1.0, 99.0, -3.0, 0.0, 3.0, 0.0, -2.0, 0.0};  // imaginary parts ignored
    std::copy(values, values + 8, doc->specData.begin());
    EXPECT_EQ((std::pair{findPeak(*doc), doc->peakIndex}), (std::pair{3.0, 4}));
    doc->specData[6] = -7.5;
    EXPECT_EQ((std::pair{findPeak(*doc), doc->peakIndex}), (std::pair{-7.5, 6}));
}

TEST(SetupDocument, DerivesFlagsReferenceAndViewAndClearsTheOldDocument) {
    testing::RecordingUserInterface ui;
    for (int mode : {0, 1, 2, 3}) {
        auto doc = loadedDocument(2048);
        doc->acqPars.aqMode = static_cast<std::int16_t>(mode);
        setupDocument(*doc, ui);
        const int real = mode % 2 == 0;
        EXPECT_EQ((std::pair{doc->ftReal, doc->loadReal}), (std::pair{real, real})) << mode;
    }
    auto doc = loadedDocument(1000, 500.0, 100.0);  // AQ = 1 s
    doc->acqPars.offsetHz = -100.25;
    doc->specData[0] = 2.0;
    doc->specData[2] = -5.0;
    doc->xUnits = kPpm;
    doc->phase0 = 45.0;
    doc->comments.boxes.push_back({Rect{1, 2, 3, 4}, "x"});
    doc->integrals.integralScale = 0.2;
    setupDocument(*doc, ui);
    EXPECT_EQ(
        std::tuple(doc->nData, doc->acqPars.AQ, doc->viewRight, doc->viewZoom, doc->xUnits, doc->phase0),
        std::tuple(1000, 1.0, 1.0, 1.0, kSeconds, 0.0));
    EXPECT_EQ(doc->refIndex, 1000 - 200) << "TD + trunc(2 * offsetHz * AQ), truncated toward zero";
    EXPECT_DOUBLE_EQ(doc->offsetPpm, -1.0025);
    EXPECT_TRUE(doc->comments.boxes.empty());
    EXPECT_EQ(doc->integrals.integralScale, 0.2) << "the integral scale survives set-up";
    // The Undo snapshot and the FID copy hold the new data.
    EXPECT_EQ(doc->peakValue, -5.0);
    doc->specData[2] = 0.0;
    EXPECT_EQ((std::pair{restoreUndo(*doc), doc->specData[2]}), (std::pair{-5.0, -5.0}));
    EXPECT_EQ(doc->fidCopy[0], 2.0);
}

TEST(Undo, RestoresThePresentCountTheFiveFlagsAndTheSizeOfASnapshotThatHasOne) {
    testing::RecordingUserInterface ui;
    for (int undoNData : {0, 8}) {
        auto doc = loadedDocument(8);
        for (int i = 0; i < 8; ++i) doc->specData[i] = i + 1.0;
        setupDocument(*doc, ui);
        // A transform that doubled the size and changed the units and flags.
        doc->undoFtReal = doc->undoNegateImag = 1;
        doc->undoNData = undoNData;
        doc->nData = doc->acqPars.TD = 16;
        std::fill_n(doc->specData.begin(), 16, -1.0);
        doc->xUnits = kPpm;
        doc->ftInverse = 1;
        undoCommand(*doc);
        const int n = undoNData ? 8 : 16;
        for (int i = 0; i < n; ++i) EXPECT_EQ(doc->specData[i], i < 8 ? i + 1.0 : doc->undoData[i]) << i;
        EXPECT_EQ(std::tuple(doc->nData, doc->acqPars.TD, doc->xUnits, doc->ftReal, doc->ftInverse,
                             doc->negateImag),
                  std::tuple(n, n, undoNData ? kSeconds : kPpm, 1, 0, 1));
        EXPECT_EQ(doc->peakValue, 7.0);
    }
}

TEST(Document, CapacityHalfTurnsAndViewZoomKeepTheirLimits) {
    testing::RecordingUserInterface ui;
    Document doc;
    for (int n : {kCapacity, kCapacity + 2}) {
        doc.nData = doc.acqPars.TD = n;
        capToCapacity(doc, ui);
        EXPECT_EQ((std::pair{doc.nData, doc.acqPars.TD}), (std::pair{kCapacity, kCapacity}));
    }
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{kCapacityWarningText});
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    for (const auto& [before, after] : {std::pair{0.0, 180.0}, {180.0, 0.0}, {170.0, -10.0}}) {
        doc.phase0 = before;
        addHalfTurn(doc);
        EXPECT_EQ(doc.phase0, after) << before;
    }
    // Degenerate ranges are widened to a tenth of a millisecond.
    EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 0.0, 2.0), 1.0);
    for (double right : {1.0, 0.5}) EXPECT_DOUBLE_EQ(computeViewZoom(2.0, 1.0, right), 2.0 / 1e-4) << right;
    EXPECT_DOUBLE_EQ(computeViewZoom(1.0, 0.3, 0.30005), 1.0 / 1e-4);
}

}  // namespace
}  // namespace pelvaron
