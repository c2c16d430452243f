// Byte Swap: integer byte order reversal of the data, and what the command refreshes.
#include "io/byte_swap.h"

#include <gtest/gtest.h>

#include <climits>

#include "io_fixture.h"

namespace pelvaron::io {
namespace {

TEST(ByteSwap, SwapsIntegerValuesAndTwiceRestoresThem) {
    auto doc = std::make_unique<Document>();
    const double values[] = {1.0, -1.0, 2.0, 123456.0, -987654.0, 0.0, INT_MAX, INT_MIN, 2.7, -3.9};
    doc->nData = 10;
    doc->acqPars.TD = 10;
    for (int i = 0; i < 10; ++i) doc->specData[i] = values[i];
    doc->specData[10] = 1.0;  // beyond nData: untouched

    byteSwapData(*doc);
    EXPECT_EQ(doc->specData[0], 16777216.0);
    EXPECT_EQ(doc->specData[1], -1.0);
    EXPECT_EQ(doc->specData[2], 33554432.0);
    EXPECT_EQ(doc->specData[8], 33554432.0);  // 2.7 is taken as 2
    EXPECT_EQ(doc->specData[10], 1.0);

    byteSwapData(*doc);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(doc->specData[i], values[i]) << i;
    EXPECT_EQ(doc->specData[8], 2.0);  // fractions are lost
    EXPECT_EQ(doc->specData[9], -3.0);

    // Values beyond the integer range are held at its ends first.
    doc->specData[0] = 1e12;
    byteSwapData(*doc);
    EXPECT_EQ(doc->specData[0], -129.0);  // 0x7FFFFFFF reversed is 0xFFFFFF7F
}

TEST(ByteSwap, CommandRefreshesPeakAndFidCopyOverAllElementsInUse) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    doc->nData = 8;
    doc->acqPars.TD = 4;  // a size that disagrees with nData: every element in use is swapped
    for (int i = 0; i < 8; ++i) doc->specData[i] = 1.0;
    doc->specData[6] = 2.0;
    byteSwapCommand(*doc, ui);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(doc->specData[i], i == 6 ? 33554432.0 : 16777216.0) << i;
        EXPECT_EQ(doc->fidCopy[i], doc->specData[i]) << i;
    }
    EXPECT_EQ(doc->peakValue, 33554432.0);
    EXPECT_EQ(doc->peakIndex, 6);
    EXPECT_EQ(ui.repaints, 1);
}

}  // namespace
}  // namespace pelvaron::io
