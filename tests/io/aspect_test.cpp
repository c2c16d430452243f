// The Aspect reader: its floats, both byte orders, the refused kind of file, damaged files and the
// capacity.
#include "io/aspect.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "aspect_writer.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

double decode(std::array<std::uint8_t, 6> b) { return decodeAspectFloat(b); }

TEST(AspectFloat, ExponentMantissaAndTheirWraps) {
    EXPECT_EQ(decode({0x40, 0, 0, 0, 0, 0}), 0.5);
    EXPECT_EQ(decode({0x40, 0, 0, 1, 0, 0}), 128.0);
    // Bit 5 of byte 4 is the exponent's lowest bit and also 2^-23 of the mantissa.
    EXPECT_DOUBLE_EQ(decode({0x40, 0, 0, 0, 0x20, 0}), 1.000000238418579);
    EXPECT_EQ(decode({0x80, 0, 0, 0, 0, 0}), 1.0);  // only mantissas above 1 wrap
    EXPECT_EQ(decode({0x80, 1, 0, 0, 0, 0}), -1.0 + 1.0 / 32768.0);
    EXPECT_EQ(decode({0x40, 0, 0, 0xFF, 0xE0, 0}), (0.5 + std::ldexp(1.0, -23)) / 2);  // exponent -1
    for (double v : {5000.0, 400.13, -1234.5678, 1e-6, -3.0e9})
        EXPECT_NEAR(decodeAspectFloat(testing::encodeAspectFloat(v)), v, std::abs(v) * 1e-10) << v;
}

testing::AspectFidSpec sample(bool reversed) {
    testing::AspectFidSpec spec;
    spec.values = {0, 1, -1, 0x7FFFFF, -0x800000, 123456, -654321, 42};
    spec.sw = 6009.6154;
    spec.sf = 400.13;
    spec.offsetHz = -1234.5;
    spec.aqMode = 2;
    spec.complexData = 1;
    spec.reversed = reversed;
    return spec;
}

TEST(AspectFile, BothByteOrdersGiveTheSameDocument) {
    Scratch standard, reversed;
    for (Scratch* s : {&standard, &reversed}) {
        s->doc->negateImag = s->doc->fileNegateImag = 1;
        s->doc->groupDelay = 67.98;
        const std::string file = testing::aspectFile(sample(s == &reversed));
        ASSERT_TRUE(looksLikeAspect(file));
        ASSERT_TRUE(readAspectFile(*s->doc, s->ui, file));
        EXPECT_TRUE(s->ui.messages.empty());
    }
    const Document& d = *standard.doc;
    EXPECT_EQ(std::vector(d.specData.begin(), d.specData.begin() + d.nData),
              std::vector<double>({0, 1, -1, 0x7FFFFF, -0x800000, 123456, -654321, 42}));
    EXPECT_EQ(std::tuple(d.nData, d.acqPars.TD, d.acqPars.aqMode, d.acqPars.complexData, d.refIndex),
              std::tuple(8, 8, 2, 1, 8));
    EXPECT_NEAR(d.acqPars.SW, 6009.6154, 1e-7);  // 36 significant bits
    EXPECT_NEAR(d.acqPars.SF, 400.13, 1e-8);
    EXPECT_EQ(d.acqPars.offsetHz, -1234.5);
    EXPECT_EQ(std::tuple(d.negateImag, d.fileNegateImag, d.groupDelay, d.referenceSource),
              std::tuple(0, 0, 0.0, ReferenceSource::DataHeader));

    const Document& r = *reversed.doc;
    EXPECT_EQ(r.acqPars, d.acqPars);
    EXPECT_EQ(std::vector(r.specData.begin(), r.specData.begin() + 8),
              std::vector(d.specData.begin(), d.specData.begin() + 8));
}

TEST(AspectFile, RefusedAndDamagedFilesLeaveTheDocumentAlone) {
    testing::AspectFidSpec refused = sample(false);
    refused.magic = {0xC2, 0x04, 0x00};
    const std::string good = testing::aspectFile(sample(false));
    testing::AspectFidSpec noWidth = sample(true);
    noWidth.sw = 0.0;
    std::string zeroTd = good;
    zeroTd[129] = zeroTd[130] = zeroTd[131] = 0;
    const struct {
        std::string bytes;
        bool message;
    } cases[] = {
        {testing::aspectFile(refused), true},
        {"", false},
        {"\x47\x84", false},
        {good.substr(0, 767), false},              // the header cut short
        {good.substr(0, good.size() - 1), false},  // one value short of TD
        {zeroTd, false},
        {testing::aspectFile(noWidth), false},
        {std::string(800, 'x'), false},  // no Aspect word at all
    };
    for (const auto& c : cases) {
        Scratch s;
        s.doc->acqPars.SW = 777.0;
        s.doc->nData = 4;
        EXPECT_FALSE(readAspectFile(*s.doc, s.ui, c.bytes)) << c.bytes.size();
        EXPECT_EQ(std::tuple(s.doc->acqPars.SW, s.doc->nData, s.doc->specData[0]), std::tuple(777.0, 4, 0.0));
        if (c.message) {
            expectOnlyMessage(s.ui, "We have never found a file like this\nPlease contact the authors",
                              "Error");
        } else {
            EXPECT_TRUE(s.ui.messages.empty());
        }
    }
    EXPECT_TRUE(looksLikeAspect(testing::aspectFile(refused)));
    EXPECT_TRUE(looksLikeAspect("\xF5\x84\x47"));
    EXPECT_FALSE(looksLikeAspect("\x47\x84"));
    EXPECT_FALSE(looksLikeAspect("\x47\x84\xF4"));
}

TEST(AspectFile, SizeAboveTheCapacityIsCutWithTheWarning) {
    testing::AspectFidSpec spec;
    spec.values.assign(kCapacity + 6, 5);
    spec.values[kCapacity - 1] = -7;
    spec.values[kCapacity] = 9;
    Scratch s;
    ASSERT_TRUE(readAspectFile(*s.doc, s.ui, testing::aspectFile(spec)));
    expectOnlyMessage(s.ui, kCapacityWarningText, "Warning");
    EXPECT_EQ(std::tuple(s.doc->nData, s.doc->acqPars.TD, s.doc->specData[kCapacity - 1]),
              std::tuple(kCapacity, kCapacity, -7.0));
}

}  // namespace
}  // namespace pelvaron::io
