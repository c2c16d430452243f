// The Bruker Aspect and WIN-NMR readers. Aspect: its floats, both byte orders, the capacity.
// WIN-NMR: DIS before aqs, and what a former data set must not pass on. Damaged files of every
// reader are in the import test; the companions' places in the Varian test.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "aspect_writer.h"
#include "io/aspect.h"
#include "io/winnmr.h"
#include "io_fixture.h"
#include "winnmr_writer.h"

namespace pelvaron::io {
namespace {

using testing::WinNmrSpec;

TEST(AspectFloat, ExponentMantissaAndTheirWraps) {
    const std::pair<std::array<std::uint8_t, 6>, double> cases[] = {
        {{0x40, 0, 0, 0, 0, 0}, 0.5},
        {{0x40, 0, 0, 1, 0, 0}, 128.0},
        // Bit 5 of byte 4 is the exponent's lowest bit and also 2^-23 of the mantissa.
        {{0x40, 0, 0, 0, 0x20, 0}, 1.0 + std::ldexp(1.0, -22)},  // 1.000000238418579
        {{0x80, 0, 0, 0, 0, 0}, 1.0},                            // only mantissas above 1 wrap
        {{0x80, 1, 0, 0, 0, 0}, -1.0 + 1.0 / 32768.0},
        {{0x40, 0, 0, 0xFF, 0xE0, 0}, (0.5 + std::ldexp(1.0, -23)) / 2},  // exponent -1
    };
    for (const auto& [bytes, value] : cases) EXPECT_EQ(decodeAspectFloat(bytes), value) << value;
}

testing::AspectFidSpec sample(bool reversed, std::vector<std::int32_t> values = {}) {
    if (values.empty()) values = {0, 1, -1, 0x7FFFFF, -0x800000, 123456, -654321, 42};
    return {.values = values, .sw = 6009.6154, .offsetHz = -1234.5, .aqMode = 2, .reversed = reversed};
}

TEST(AspectFile, EitherByteOrderGivesTheFidAndALargeOneIsCut) {
    std::vector<std::int32_t> large(kCapacity + 6, 5);
    large[kCapacity - 1] = -7;
    for (const testing::AspectFidSpec& spec : {sample(false), sample(true), sample(true, large)}) {
        Scratch s;
        s.former();
        const Document& d = *s.doc;
        ASSERT_TRUE(readAspectFile(*s.doc, s.said, testing::aspectFile(spec)));
        expectRead(s, spec.values, static_cast<int>(spec.values.size()));
        const AcqParams& p = d.spectrum.acqPars;
        EXPECT_EQ(std::tuple(p.aqMode, p.complexData, p.offsetHz), std::tuple(2, 1, -1234.5));
        EXPECT_NEAR(p.SW, 6009.6154, 1e-7);  // 36 significant bits
        EXPECT_NEAR(p.SF, 400.13, 1e-8);
        EXPECT_EQ(std::tuple(d.spectrum.negateImag, d.spectrum.fileNegateImag, d.spectrum.groupDelay,
                             d.spectrum.referenceSource),
                  std::tuple(0, 0, 0.0, ReferenceSource::DataHeader));
    }
}

TEST(WinNmr, DisBeforeAqsAndNothingOfAFormerDataSetStays) {
    const WinNmrSpec dis{.values = {1.5f, -2.25f, 3e-7f, -4e9f}, .sw = 6009.6154, .sf = 400.13, .aqMode = 3};
    const WinNmrSpec aqs{.values = {9, 9}, .sw = 100.0, .sf = 50.0, .aqMode = 0, .decim = 16, .dspfvs = 12};
    const WinNmrSpec plain{.values = {1, 2}};
    WinNmrSpec large{.values = std::vector<float>(kCapacity + 2, 0.5f)};
    large.values[kCapacity - 1] = -3.0f;
    // The set read, whether it has a DIS text (then the aqs text is another set's), DECIM, DSPFVS.
    const std::tuple<const WinNmrSpec*, bool, int, int> cases[] = {
        {&dis, true, 1, 20}, {&aqs, false, 16, 12}, {&plain, false, 1, 20}, {&large, true, 1, 20}};
    for (const auto& [spec, withDis, decim, dspfvs] : cases) {
        Scratch s;
        s.former();
        Document& d = *s.doc;
        const auto disText = withDis ? std::optional(testing::winNmrDis(*spec)) : std::nullopt;
        ASSERT_TRUE(readWinNmrFid(d, s.said, testing::winNmrData(*spec), disText,
                                  testing::winNmrAqs(withDis ? aqs : *spec)));
        expectRead(s, spec->values, static_cast<int>(spec->values.size()));
        const AcqParams& p = d.spectrum.acqPars;
        EXPECT_EQ(std::tuple(p.SW, p.SF, p.aqMode, p.complexData, p.DECIM, p.DSPFVS),
                  std::tuple(spec->sw, spec->sf, spec->aqMode, spec->aqMode != 0, decim, dspfvs));
        EXPECT_EQ(
            std::tuple(d.spectrum.groupDelay, p.offsetHz, d.spectrum.negateImag, d.spectrum.fileNegateImag),
            std::tuple(0.0, 0.0, 0, 0));
    }
}

}  // namespace
}  // namespace pelvaron::io
