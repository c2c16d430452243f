// The Nuts reader, fed from memory: a known FID with each acquisition mode, the byte-order mark,
// and damaged files.
#include "io/nuts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "io_fixture.h"
#include "nuts_writer.h"

namespace pelvaron::io {
namespace {

std::vector<double> floats(int n) {
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] =
            static_cast<float>(1e4 * std::cos(0.2 * i) * std::exp(-i / 100.0) + 0.125);
    return v;
}

TEST(NutsFile, KnownFidRoundTripsAndAqModeOneNegatesTheImaginaryParts) {
    const struct {
        std::int16_t aqMode, complexData;
        int negate;
    } cases[] = {{1, 1, 1}, {3, 1, 0}, {0, 0, 0}, {-1, 7, 0}};
    for (const auto& c : cases) {
        const std::vector<double> values = floats(256);
        Scratch s;
        s.doc->acqPars.offsetHz = 55.0;
        ASSERT_TRUE(readNutsFile(
            *s.doc, s.ui,
            testing::nutsFile({.values = values, .aqMode = c.aqMode, .complexData = c.complexData})));
        EXPECT_EQ(std::vector(s.doc->specData.begin(), s.doc->specData.begin() + s.doc->nData), values);
        const AcqParams& p = s.doc->acqPars;
        EXPECT_EQ(std::tuple(p.TD, p.SW, p.SF, p.aqMode, p.complexData, p.offsetHz),
                  std::tuple(256, 5000.0, static_cast<double>(400.13f), c.aqMode, c.complexData, 0.0));
        EXPECT_EQ(std::tuple(s.doc->negateImag, s.doc->fileNegateImag), std::tuple(c.negate, c.negate));
        EXPECT_TRUE(s.ui.messages.empty());
    }
}

TEST(NutsFile, MarkIsTheLittleEndianInteger) {
    const std::string file = testing::nutsFile({.values = floats(8)});
    EXPECT_TRUE(looksLikeNuts(file.substr(0, 4)));
    EXPECT_FALSE(looksLikeNuts(file.substr(0, 3)));
    const std::string reversed = testing::nutsFile({.values = floats(8), .reversedMark = true});
    EXPECT_EQ(reversed.substr(0, 4), std::string("\x04\x03\x02\x01"));
    EXPECT_FALSE(looksLikeNuts(reversed));
    Scratch s;
    EXPECT_FALSE(readNutsFile(*s.doc, s.ui, reversed));
}

TEST(NutsFile, ShortOrMalformedFilesFailWithoutAMessage) {
    const std::string good = testing::nutsFile({.values = floats(64)});
    const std::string cases[] = {
        good.substr(0, good.size() - 1),  // the last value cut
        good.substr(0, 455),              // SF cut
        good.substr(0, 1036),
        "",
        testing::nutsFile({.values = floats(64), .td = 0}),
        testing::nutsFile({.values = floats(64), .td = -64}),
        testing::nutsFile({.values = floats(64), .td = std::numeric_limits<std::int32_t>::max()}),
        testing::nutsFile({.values = floats(64), .sw = 0.0}),
        testing::nutsFile({.values = floats(64), .sw = std::nan("")}),
        testing::nutsFile({.values = floats(64), .sf = std::numeric_limits<double>::infinity()}),
    };
    for (const auto& bytes : cases) {
        Scratch s;
        EXPECT_FALSE(readNutsFile(*s.doc, s.ui, bytes));
    }
    // A size beyond the capacity is cut to it, with the warning, before any value is read.
    Scratch s;
    std::string large = testing::nutsFile({.values = floats(4), .td = kCapacity + 2});
    large.resize(1036 + 4 * static_cast<std::size_t>(kCapacity));
    ASSERT_TRUE(readNutsFile(*s.doc, s.ui, large));
    expectOnlyMessage(s.ui, kCapacityWarningText, "Warning");
    EXPECT_EQ(s.doc->acqPars.TD, kCapacity);
}

}  // namespace
}  // namespace pelvaron::io
