// The Nicolet reader: packed 20-bit words, Nicolet floats, the three header variants, the size
// from SW and AQ, damaged files and the capacity.
#include "io/nicolet.h"

#include <gtest/gtest.h>

#include <array>

#include "io_fixture.h"
#include "nicolet_writer.h"

namespace pelvaron::io {
namespace {

TEST(NicoletWords, TwoToFiveBytesSignedAndZeroPastTheEnd) {
    const std::string bytes("\x12\x34\x5A\x78\x9A\x80\x00\x0F", 8);
    EXPECT_EQ(readNicoletWord(bytes, 0), 0x12345);
    EXPECT_EQ(readNicoletWord(bytes, 1), -0x58766);
    EXPECT_EQ(readNicoletWord(bytes, 2), -0x80000);
    EXPECT_EQ(readNicoletWord(bytes, 3), 0);  // its last two bytes are missing
    EXPECT_EQ(readNicoletWord(bytes, -1), 0);
    std::array<int, 5> out;
    out.fill(99);
    unpackNicoletWords(bytes, out);
    EXPECT_EQ(out, (std::array{0x12345, -0x58766, -0x80000, 0, 0}));

    const std::vector<int> words{0x7FFFF, -1, 0, -0x80000, 12345};
    std::vector<int> back(words.size());
    unpackNicoletWords(testing::packNicoletWords(words), back);
    EXPECT_EQ(back, words);
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

TEST(NicoletFid, EachHeaderVariantGivesTheSizeFromSwAndAq) {
    std::vector<int> real(4096), imag(4096);
    for (int k = 0; k < 4096; ++k) real[k] = (k * 7919) % 500000 - 250000, imag[k] = -(k * 31) % 70000;
    for (int header : {0x2C72, 0x3212, 0xE243}) {
        SCOPED_TRACE(header);
        Scratch s;
        Document& d = *s.doc;
        d.negateImag = d.fileNegateImag = 1;
        d.acqPars.offsetHz = 999.0;
        const std::string file = testing::nicoletFile({.real = real,
                                                       .imag = imag,
                                                       .headerWord = header,
                                                       .sw = 5000.0,
                                                       .aqMicroseconds = 819200.0,
                                                       .sf = 300.5});
        ASSERT_TRUE(looksLikeNicolet(file));
        ASSERT_TRUE(readNicoletFid(d, s.ui, file));
        EXPECT_TRUE(s.ui.messages.empty());
        EXPECT_EQ(std::tuple(d.nData, d.acqPars.TD, d.acqPars.SW, d.acqPars.AQ),
                  std::tuple(8192, 8192, 5000.0, 0.8192));
        EXPECT_EQ(d.acqPars.SF, 300.5);
        EXPECT_EQ(std::tuple(d.acqPars.aqMode, d.acqPars.complexData, d.acqPars.offsetHz, d.negateImag,
                             d.fileNegateImag),
                  std::tuple(1, 1, 0.0, 0, 0));
        EXPECT_EQ(s.part(4096, 0), std::vector<double>(real.begin(), real.end()));
        EXPECT_EQ(s.part(4096, 1), std::vector<double>(imag.begin(), imag.end()));
    }
    // A product that is odd is made even.
    Scratch s;
    ASSERT_TRUE(readNicoletFid(
        *s.doc, s.ui,
        testing::nicoletFile({.real = {1, 2}, .imag = {3, 4}, .sw = 1000.0, .aqMicroseconds = 1600.0})));
    EXPECT_EQ(std::tuple(s.doc->nData, s.re(0), s.im(0), s.re(1), s.im(1)),
              std::tuple(4, 1.0, 3.0, 2.0, 4.0));
}

TEST(NicoletFid, ForeignAndDamagedFilesFail) {
    const std::string good = testing::nicoletFile({.real = {1, 2, 3, 4}, .imag = {5, 6, 7, 8}});
    std::string foreign = good;
    foreign[0] = 0;
    const struct {
        std::string bytes;
        bool notNicolet;
    } cases[] = {
        {"", true},
        {foreign, true},
        {good.substr(0, 1279), false},
        {good.substr(0, good.size() - 1), false},  // the last word cut
        {testing::nicoletFile({.real = {1}, .imag = {2}, .sw = 0.0}), false},
        {testing::nicoletFile({.real = {1}, .imag = {2}, .aqMicroseconds = -100.0}), false},
        {testing::nicoletFile({.real = {1}, .imag = {2}, .sw = 1e30, .aqMicroseconds = 1e6}), false},
    };
    for (const auto& c : cases) {
        Scratch s;
        s.doc->nData = 6;
        EXPECT_FALSE(readNicoletFid(*s.doc, s.ui, c.bytes));
        EXPECT_EQ(std::tuple(s.doc->nData, s.doc->specData[0]), std::tuple(6, 0.0));
        if (c.notNicolet) {
            expectOnlyMessage(s.ui, "Not a Nicolet header", "Error");
        } else {
            EXPECT_TRUE(s.ui.messages.empty());
        }
    }
    EXPECT_FALSE(looksLikeNicolet(foreign));
}

TEST(NicoletFid, SizeAboveTheCapacityIsCutBeforeReading) {
    const std::size_t points = kCapacity / 2 + 3;
    std::vector<int> real(points, 1), imag(points, 2);
    real[kCapacity / 2 - 1] = -5;
    imag[0] = -6;
    imag[kCapacity / 2 - 1] = 7;
    Scratch s;
    ASSERT_TRUE(readNicoletFid(*s.doc, s.ui, testing::nicoletFile({.real = real, .imag = imag})));
    expectOnlyMessage(s.ui, kCapacityWarningText, "Warning");
    EXPECT_EQ(std::tuple(s.doc->nData, s.re(kCapacity / 2 - 1), s.im(0), s.im(kCapacity / 2 - 1)),
              std::tuple(kCapacity, -5.0, -6.0, 7.0));
}

}  // namespace
}  // namespace pelvaron::io
