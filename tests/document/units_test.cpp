// Conversions through the time scale, the index range of the view and the cursor read-out.
#include "document/units.h"

#include <gtest/gtest.h>

#include <memory>

#include "recording_ui.h"

namespace pelvaron {
namespace {

/// 1024 doubles, SW 1000 Hz, SF 100 MHz, AQ 0.512 s, 1000 pixels wide.
std::unique_ptr<Document> spectrumDocument(double offsetHz) {
    auto doc = std::make_unique<Document>();
    doc->acqPars = {.SW = 1000.0, .SF = 100.0, .TD = 1024, .offsetHz = offsetHz};
    testing::RecordingUserInterface ui;
    setupDocument(*doc, ui);
    doc->clientWidth = 1000;
    return doc;
}

TEST(Units, ConversionsRunHighToLowAndBackToTheSameTime) {
    auto doc = spectrumDocument(-50.0);
    const struct {
        int unit;
        double atStart, atEnd;
    } cases[] = {{kSeconds, 0.0, 0.512}, {kPpm, 9.5, -0.5}, {kHz, 950.0, -50.0}, {kPoints, 0.0, 512.0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(units::tToUnit(*doc, 0.0, c.unit), c.atStart) << c.unit;
        EXPECT_DOUBLE_EQ(units::tToUnit(*doc, 0.512, c.unit), c.atEnd) << c.unit;
        for (double t : {0.0, 0.1, 0.256, 0.512})
            EXPECT_NEAR(units::unitToT(*doc, units::tToUnit(*doc, t, c.unit), c.unit), t, 1e-12)
                << c.unit << " " << t;
    }
    // 0 Hz lies at refIndex, which is truncated to a whole index.
    EXPECT_NEAR(units::tToIndex(*doc, units::unitToT(*doc, 0.0, kHz)), doc->refIndex, 1.0);
}

TEST(Units, PixelsMapThroughTheViewAndTheIndexRangeAddressesRealParts) {
    auto doc = spectrumDocument(-50.0);
    EXPECT_DOUBLE_EQ(units::pixelToT(*doc, 500, 1000), 0.256);
    doc->viewLeft = 0.128;
    doc->viewRight = 0.256;
    doc->viewZoom = computeViewZoom(doc->acqPars.AQ, doc->viewLeft, doc->viewRight);
    EXPECT_EQ((std::pair{units::pixelToT(*doc, 0, 1000), units::pixelToT(*doc, 1000, 1000)}),
              (std::pair{0.128, 0.256}));
    EXPECT_DOUBLE_EQ(units::tToPixel(*doc, 0.192, 1000), 500.0);
    doc->viewLeft = 3.0 * doc->acqPars.AQ / doc->nData;   // index 3
    doc->viewRight = 9.5 * doc->acqPars.AQ / doc->nData;  // index 9.5
    const auto r = units::viewIndexRange(*doc);
    EXPECT_EQ((std::pair{r.i0, r.i1}), (std::pair{2, 8}));
}

TEST(Units, ReadoutShowsTheUnitValueAndTheRealPartUnderTheCursor) {
    auto doc = spectrumDocument(0.0);
    doc->specData[512] = 1.25;
    doc->specData[513] = 99.0;
    doc->specData[0] = 3.0;
    doc->specData[kCapacity - 2] = 4.0;
    const struct {
        int unit, width, x;
        const char* text;
    } cases[] = {
        {kHz, 1000, 1000, "Hertz 0.000     Int.=0.000"},
        {kHz, 1000, 0, "Hertz 1000.000     Int.=3.000"},
        {kPoints, 1000, 1000, "Point 512     Int.=0.000"},
        // x = 500.5 would be index 513 (an imaginary part): the real part of that point is read.
        {kSeconds, 2000, 1001, "Second 0.256     Int.=1.250"},
        {kPpm, 2000, 1000, "ppm 5.000     Int.=1.250"},
        // Positions outside the data read the nearest end of the buffer.
        {kPpm, 1000, -5000, "ppm 60.000     Int.=3.000"},
        {kPoints, 1000, 1 << 30, "Point 549755814     Int.=4.000"},
    };
    for (const auto& c : cases) {
        doc->xUnits = c.unit;
        doc->clientWidth = c.width;
        EXPECT_EQ(units::readoutText(*doc, c.x), c.text);
    }
}

}  // namespace
}  // namespace pelvaron
