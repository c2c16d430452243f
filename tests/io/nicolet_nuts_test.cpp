// The GE/Nicolet and Nuts readers. Nicolet: packed 20-bit words, Nicolet floats, the size from SW
// and AQ in each header variant, the capacity. Nuts: a known FID with each acquisition mode, the
// capacity. Damaged files of every reader are in the import test.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "io/nicolet.h"
#include "io/nuts.h"
#include "io_fixture.h"
#include "nicolet_writer.h"
#include "nuts_writer.h"

namespace pelvaron::io {
namespace {

TEST(NicoletWords, TwoToFiveBytesSignedAndZeroPastTheEnd) {
    const std::string bytes("\x12\x34\x5A\x78\x9A\x80\x00\x0F", 8);
    // Word 2 ends with the last byte; word 3 misses its last two.
    EXPECT_EQ(std::tuple(readNicoletWord(bytes, 1), readNicoletWord(bytes, 2), readNicoletWord(bytes, 3),
                         readNicoletWord(bytes, -1)),
              std::tuple(-0x58766, -0x80000, 0, 0));
    std::array<int, 5> out;
    out.fill(99);
    unpackNicoletWords(bytes, out);
    EXPECT_EQ(out, (std::array{0x12345, -0x58766, -0x80000, 0, 0}));
}

TEST(NicoletWords, Floats) {
    // The mantissa holds bits 8 and 9 of neither word: values are exact to about 2^-20.
    for (double v : {5000.0, 819200.0, 300.52, -42.0, 0.001953125, -1e-5, 0.0}) {
        const auto [w0, w1] = testing::encodeNicoletFloat(v);
        EXPECT_NEAR(readNicoletFloat(testing::packNicoletWords({7, w0, w1}), 1), v, std::abs(v) * 2e-6) << v;
    }
    // w1 = -1: its remainder -1 taken away from the mantissa, exponent 0.
    EXPECT_EQ(readNicoletFloat(testing::packNicoletWords({1, -1}), 0), 1023.0 / (1 << 29));
}

TEST(NicoletFid, SizeFromSwAndAqInEachHeaderVariantMadeEvenAndCapped) {
    // Header word, complex points written, SW, AQ in microseconds (absent: the writer's), TD.
    const std::tuple<int, std::size_t, double, std::optional<double>, int> cases[] = {
        {0x2C72, 4096, 5000.0, 819200.0, 8192},
        {0x3212, 4096, 5000.0, 819200.0, 8192},
        {0xE243, 4096, 5000.0, 819200.0, 8192},
        {0x2C72, 2, 1000.0, 1600.0, 4},  // a product that is odd is made even
        // Cut before reading; the imaginary parts still start at word TD / 2 of the file.
        {0x2C72, kCapacity / 2 + 3, 5000.0, std::nullopt, kCapacity + 6},
    };
    for (const auto& [header, points, sw, aq, td] : cases) {
        SCOPED_TRACE(td);
        testing::NicoletFidSpec spec{.headerWord = header, .sw = sw, .aqMicroseconds = aq, .sf = 300.5};
        std::vector<int> interleaved;
        for (std::size_t k = 0; k < points; ++k) {
            spec.real.push_back(static_cast<int>(k * 7919 % 500000) - 250000);
            spec.imag.push_back(static_cast<int>(k % 9999) - 300000);
            interleaved.insert(interleaved.end(), {spec.real.back(), spec.imag.back()});
        }
        Scratch s;
        s.former();
        ASSERT_TRUE(readNicoletFid(*s.doc, s.said, testing::nicoletFile(spec)));
        expectRead(s, interleaved, td);
        // AQ in seconds; nothing in the header says the imaginary parts run the other way.
        const AcqParams& p = s.doc->spectrum.acqPars;
        EXPECT_EQ(
            std::tuple(p.SW, p.AQ, p.SF, p.aqMode, p.complexData, p.offsetHz, s.doc->spectrum.negateImag,
                       s.doc->spectrum.fileNegateImag, s.doc->spectrum.referenceSource),
            std::tuple(sw, aq ? *aq / 1e6 : p.AQ, 300.5, 1, 1, 0.0, 0, 0, ReferenceSource::None));
    }
}

std::vector<double> floats(int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<float>(1e4 * std::cos(0.2 * i) - 0.25 * i));
    return v;
}

TEST(NutsFile, KnownFidRoundTripsAqModeOneNegatesAndALargeOneIsCut) {
    // aqMode, complexData, values written, TD written (the last cut before the file must hold TD
    // values), negateImag.
    const std::tuple<std::int16_t, std::int16_t, int, int, int> cases[] = {
        {1, 1, 256, 256, 1},
        {3, 1, 256, 256, 0},
        {0, 0, 256, 256, 0},
        {-1, 7, 256, 256, 0},
        {1, 1, kCapacity, kCapacity + 2, 1}};
    for (const auto& [aqMode, complexData, n, td, negate] : cases) {
        const std::vector<double> values = floats(n);
        Scratch s;
        s.former();
        const testing::NutsFileSpec spec{
            .values = values, .td = td, .aqMode = aqMode, .complexData = complexData};
        ASSERT_TRUE(readNutsFile(*s.doc, s.said, testing::nutsFile(spec)));
        expectRead(s, values, td);
        const AcqParams& p = s.doc->spectrum.acqPars;
        EXPECT_EQ(std::tuple(p.SW, p.SF, p.aqMode, p.complexData, p.offsetHz),
                  std::tuple(5000.0, static_cast<double>(400.13f), aqMode, complexData, 0.0));
        EXPECT_EQ(std::tuple(s.doc->spectrum.negateImag, s.doc->spectrum.fileNegateImag,
                             s.doc->spectrum.referenceSource),
                  std::tuple(negate, negate, ReferenceSource::None));
    }
}

}  // namespace
}  // namespace pelvaron::io
