// The Spectrum document: parameter block encoding, peak search, set-up, Undo, and the conversions
// through the time scale, the index range of the view and the cursor read-out.
#include "document/document.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

#include "base/byte_order.h"
#include "display/view_transform.h"
#include "document/units.h"
#include "recording_ui.h"

namespace pelvaron {
namespace {

/// A document as a reader leaves it, set up: TD doubles at SW 1000 Hz and SF 100 MHz, no earlier Undo.
std::unique_ptr<Document> setUp(int td, double offsetHz = 0.0, int aqMode = 0) {
    auto doc = std::make_unique<Document>();
    doc->spectrum.acqPars = {
        .aqMode = static_cast<std::int16_t>(aqMode), .SW = 1000.0, .SF = 100.0, .TD = td};
    doc->spectrum.acqPars.offsetHz = offsetHz;
    testing::RecordingUserInterface ui;
    setupDocument(*doc);
    return doc;
}

TEST(AcqParams, EncodesEveryFieldLittleEndianAtItsOffsetAndKeepsReservedBytes) {
    AcqParams p{
        .aqMode = 3, .complexData = 1, .SW = 6009.6, .SF = 400.13, .TD = -16384, .AQ = 1.363, .DECIM = 32};
    p.offsetHz = -1007.99;
    p.reserved24 = {1, 2, 3, 4, 5, 6, 7, 8};
    std::array<std::uint8_t, kAcqParamsSize> block{};
    encodeAcqParams(p, block.data());
    const std::uint8_t* b = block.data();
    using namespace bytes;
    EXPECT_EQ(std::tuple(loadLE16(b), loadLE16(b + 2), loadLEDouble(b + 8), loadLEDouble(b + 16),
                         loadLE32(b + 32), loadLEDouble(b + 40), loadLEDouble(b + 48), loadLE32(b + 64),
                         loadLE32(b + 68), b[24], b[31]),
              std::tuple(3, 1, 6009.6, 400.13, std::uint32_t(-16384), 1.363, -1007.99, 32u, 0u, 1, 8));
    EXPECT_EQ(decodeAcqParams(b), p);  // negative integers and reserved bytes survive
}

TEST(FindPeak, ReturnsTheSignedLargestRealPartAndTheLastOfEqualOnes) {
    // Imaginary parts are ignored; of all zeros the last point is the peak.
    for (const auto& [values, peak, index] : {std::tuple{std::vector<double>(8, 0.0), 0.0, 6},
                                              {{1, 99, -3, 0, 3, 0, -2, 0}, 3.0, 4},
                                              {{1, 99, -3, 0, 3, 0, -7.5, 0}, -7.5, 6}}) {
        auto doc = setUp(8);
        std::copy(values.begin(), values.end(), doc->spectrum.specData.begin());
        EXPECT_EQ((std::pair{findPeak(doc->spectrum), doc->spectrum.peakIndex}), (std::pair{peak, index}));
    }
}

TEST(SetupDocument, DerivesFlagsReferenceAndViewAndTakesTheUndoSnapshot) {
    testing::RecordingUserInterface ui;
    for (int mode : {0, 1, 2, 3}) EXPECT_EQ(setUp(8, 0.0, mode)->loadReal, 1 - mode % 2) << mode;
    auto doc = std::make_unique<Document>();
    doc->spectrum.acqPars = {.SW = 500.0, .SF = 100.0, .TD = 1000, .offsetHz = -100.25};  // AQ = 1 s
    doc->spectrum.specData[0] = 2.0;
    doc->spectrum.specData[2] = -5.0;
    doc->spectrum.xUnits = kPpm;
    doc->spectrum.phase0 = 45.0;
    doc->integrals.integralScale = 0.2;
    doc->baseline.baselinePointCount = 3;
    doc->multiplets.ranges.resize(2);  // the former data's report is not drawn over the new
    doc->multiplets.labelsShown = true;
    display::View view;  // the new data are shown whole
    const display::ViewFollower follower(*doc, view);
    setupDocument(*doc);
    EXPECT_EQ(std::tuple(doc->spectrum.nData, doc->spectrum.acqPars.AQ, view.viewRight, view.viewZoom,
                         doc->spectrum.xUnits, doc->spectrum.phase0, doc->integrals.integralScale,
                         doc->baseline.baselinePointCount, doc->multiplets.ranges.size(),
                         doc->multiplets.labelsShown),
              std::tuple(1000, 1.0, 1.0, 1.0, kSeconds, 0.0, 0.2, 0, std::size_t{0}, false));
    EXPECT_EQ(doc->spectrum.refIndex, 1000 - 200) << "TD + trunc(2 * offsetHz * AQ), truncated toward zero";
    EXPECT_DOUBLE_EQ(doc->spectrum.offsetPpm, -1.0025);
    EXPECT_EQ((std::tuple{doc->spectrum.ftReal, doc->undo.specData[2], doc->undo.peakValue, doc->fidCopy[0]}),
              (std::tuple{1, -5.0, -5.0, 2.0}));
}

TEST(Undo, RestoresThePresentCountTheFiveFlagsAndTheSizeOfASnapshotThatHasOne) {
    for (int undoNData : {0, 8}) {
        auto doc = setUp(8);
        for (int i = 0; i < 8; ++i) doc->spectrum.specData[i] = i + 1.0;
        doc->spectrum.peakValue = findPeak(doc->spectrum);
        takeUndoSnapshot(*doc);
        // A transform that doubled the size and changed the units and flags.
        doc->undo.ftReal = doc->undo.negateImag = 1;
        doc->undoNData = undoNData;
        doc->spectrum.nData = doc->spectrum.acqPars.TD = 16;
        std::fill_n(doc->spectrum.specData.begin(), 16, -1.0);
        doc->spectrum.xUnits = kPpm;
        doc->spectrum.ftInverse = 1;
        undoCommand(*doc);
        const int n = undoNData ? 8 : 16;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(doc->spectrum.specData[i], i < 8 ? i + 1.0 : doc->undo.specData[i]) << i;
        EXPECT_EQ(std::tuple(doc->spectrum.nData, doc->spectrum.acqPars.TD, doc->spectrum.xUnits,
                             doc->spectrum.ftReal, doc->spectrum.ftInverse, doc->spectrum.negateImag,
                             doc->spectrum.peakValue),
                  std::tuple(n, n, undoNData ? kSeconds : kPpm, 1, 0, 1, 7.0));
    }
}

TEST(Units, ConversionsRunHighToLowAndBackToTheSameTime) {
    auto doc = setUp(1024, -50.0);  // AQ 0.512 s
    for (const auto& [unit, atStart, atEnd] :
         {std::tuple{kSeconds, 0.0, 0.512}, {kPpm, 9.5, -0.5}, {kHz, 950.0, -50.0}, {kPoints, 0.0, 512.0}}) {
        EXPECT_EQ((std::pair{units::tToUnit(*doc, 0.0, unit), units::tToUnit(*doc, 0.512, unit)}),
                  (std::pair{atStart, atEnd}));
        EXPECT_NEAR(units::unitToT(*doc, units::tToUnit(*doc, 0.1, unit), unit), 0.1, 1e-12) << unit;
    }
    // 0 Hz lies at refIndex, which is truncated to a whole index.
    EXPECT_NEAR(units::tToIndex(*doc, units::unitToT(*doc, 0.0, kHz)), doc->spectrum.refIndex, 1.0);
}

TEST(Units, TheViewAndTheCursorReadoutAddressRealPartsWithinTheData) {
    auto doc = setUp(1024);
    display::View view;
    // The readout, over the full view, shows the unit value and the real part under the cursor.
    doc->spectrum.specData[512] = 1.25;
    doc->spectrum.specData[513] = 99.0;
    doc->spectrum.specData[0] = 3.0;
    doc->spectrum.specData[kCapacity - 2] = 4.0;
    const std::tuple<Units, int, int, const char*> cases[] = {
        {kHz, 1000, 0, "Hertz 1000.000     Int.=3.000"},
        // x = 1002 of 2000 is index 513.024 (an imaginary part): the real part of that point is read.
        {kSeconds, 2000, 1002, "Second 0.257     Int.=1.250"},
        // Positions outside the data read the nearest end of the buffer.
        {kPpm, 1000, -5000, "ppm 60.000     Int.=3.000"},
        {kPoints, 1000, 1 << 30, "Point 549755814     Int.=4.000"},
    };
    for (const auto& [unit, width, x, text] : cases) {
        doc->spectrum.xUnits = unit;
        view.clientWidth = width;
        EXPECT_EQ(display::readoutText(doc->spectrum, view, x), text);
    }
    // The index range of a narrower view.
    view.viewLeft = 3.0 * doc->spectrum.acqPars.AQ / doc->spectrum.nData;   // index 3
    view.viewRight = 9.5 * doc->spectrum.acqPars.AQ / doc->spectrum.nData;  // index 9.5
    const auto r = display::ViewTransform::mainView(doc->spectrum, view).indexRange();
    EXPECT_EQ((std::pair{r.i0, r.i1}), (std::pair{2, 8}));
    // Degenerate views are widened to a tenth of a millisecond.
    EXPECT_DOUBLE_EQ(display::computeViewZoom(2.0, 0.0, 2.0), 1.0);
    for (double right : {1.0, 0.5, 1.00005})
        EXPECT_DOUBLE_EQ(display::computeViewZoom(2.0, 1.0, right), 2.0 / 1e-4);
}

}  // namespace
}  // namespace pelvaron
