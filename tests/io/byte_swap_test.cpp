// Byte Swap: integer byte order reversal of the data, and what the command refreshes.
#include "io/byte_swap.h"

#include <gtest/gtest.h>

#include <climits>

#include "io_fixture.h"

namespace pelvaron::io {
namespace {

TEST(ByteSwap, ReversesTheFourBytesOfEveryValueInUseAndTwiceRestoresTheIntegers) {
    Scratch s;
    Document* doc = s.doc.get();
    const std::vector<double> values = {1.0, -1.0, 123456.0, INT_MIN, 2.7, -3.9, 1e12, 5.0};
    std::copy(values.begin(), values.end(), doc->spectrum.specData.begin());
    doc->spectrum.nData = 7;       // the last value lies beyond the data: untouched
    doc->spectrum.acqPars.TD = 4;  // a size that disagrees with nData: every element in use is swapped
    testing::RecordingObserver seen(*doc);
    byteSwapCommand(*doc);
    // Fractions are truncated and values beyond the integer range held at its ends: 0x7FFFFFFF reversed
    // is 0xFFFFFF7F.
    const std::vector<double> swapped = {16777216.0, -1.0,        1088553216.0, 128.0,
                                         33554432.0, -33554433.0, -129.0,       5.0};
    EXPECT_EQ(std::vector(doc->spectrum.specData.begin(), doc->spectrum.specData.begin() + 8), swapped);
    EXPECT_EQ(std::vector(doc->fidCopy.begin(), doc->fidCopy.begin() + 7),
              std::vector(swapped.begin(), swapped.end() - 1));
    EXPECT_EQ(std::tuple(doc->spectrum.peakValue, doc->spectrum.peakIndex, seen.notices),
              std::tuple(1088553216.0, 2, std::vector<ChangeSet>{kDataChanged}));
    byteSwapData(*doc);
    EXPECT_EQ(std::vector(doc->spectrum.specData.begin(), doc->spectrum.specData.begin() + 8),
              (std::vector<double>{1.0, -1.0, 123456.0, INT_MIN, 2.0, -3.0, INT_MAX, 5.0}));
}

}  // namespace
}  // namespace pelvaron::io
