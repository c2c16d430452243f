// The Varian readers, fed from memory: VXR/Unity fids of both sample widths with their procpar
// (names that share first letters, line ends, the reference, the capacity), Gemini FIDs with their
// ACQPAR (SFRQ or the entry after it, short data); and the places of the Varian and WIN-NMR
// parameter files beside the data. Damaged files of every reader are in the import test.
#include "io/varian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "io/winnmr.h"
#include "io_fixture.h"
#include "varian_writer.h"

namespace pelvaron::io {
namespace {

std::vector<double> signal(int n, double scale) {
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] =
            std::round(scale * std::sin(0.37 * i + (i % 2)) * std::exp(-i / 300.0));
    return v;
}

bool readVarian(Scratch& s, const testing::VarianFiles& f) {
    return readVarianFid(*s.doc, s.said, f.at("fid"), f.at("procpar"));
}
bool readGemini(Scratch& s, const testing::VarianFiles& f) {
    return readGeminiFid(*s.doc, s.said, f.at("data"), f.at("ACQPAR"));
}

TEST(VarianFid, KnownFidRoundTripsInEitherSampleWidthWithItsReference) {
    // dp "y": 32-bit; "n" and no dp at all: 16-bit. The writer puts sw1, swet and sfrq1 after sw
    // and sfrq, and a sample name holding "sw np sfrq": none of them may stand in. Columns: dp,
    // scale, line end, values, np (absent: the value count), rfp, rfl, offsetHz = rfp - rfl.
    using Maybe = std::optional<double>;
    const std::tuple<std::optional<std::string>, double, const char*, int, std::optional<int>, Maybe, Maybe,
                     double>
        cases[] = {
            {"y", 2.0e9, "\n", 512, std::nullopt, 0.0, 1200.0, -1200.0},
            {"n", 32767.0, "\r\n", 512, std::nullopt, 350.5, 100.0, 250.5},  // copied through other systems
            {std::nullopt, -32768.0, "\r", 512, std::nullopt, std::nullopt, 800.0, -800.0},
            // Cut before the fid must hold np values; no reference at all counts 0.
            {"n", 30000.0, "\n", kCapacity, kCapacity + 4096, std::nullopt, std::nullopt, 0.0},
        };
    for (const auto& [dp, scale, ending, n, np, rfp, rfl, offset] : cases) {
        SCOPED_TRACE(dp.value_or("(none)"));
        const std::vector<double> values = signal(n, scale);
        testing::VarianFiles f = testing::varianFid(
            {.values = values, .np = np, .rfp = rfp, .rfl = rfl, .dp = dp, .extraBlocks = 1});
        std::string procpar;
        for (char c : f["procpar"]) procpar += c == '\n' ? std::string(ending) : std::string(1, c);
        f["procpar"] = procpar;
        Scratch s;
        s.former();
        ASSERT_TRUE(readVarian(s, f));
        expectRead(s, values, np.value_or(n));
        const AcqParams& p = s.doc->spectrum.acqPars;
        EXPECT_EQ(std::tuple(p.SW, p.SF, p.aqMode, p.complexData, p.offsetHz),
                  std::tuple(6000.0, 399.952, 1, 1, offset));
        EXPECT_EQ(s.doc->spectrum.referenceSource,
                  rfp || rfl ? ReferenceSource::Procpar : ReferenceSource::None);
        EXPECT_EQ(std::tuple(s.doc->spectrum.negateImag, s.doc->spectrum.fileNegateImag,
                             s.doc->spectrum.groupDelay),
                  std::tuple(1, 1, 0.0));
    }
}

TEST(GeminiFid, KnownFidRoundTripsWithSfFromSfrqOrTheEntryAfterItAndShortDataGiveWhatTheyHold) {
    // SFRQ named at 784, values written, complex points announced (64: fewer values than TD), the
    // warning.
    const std::tuple<bool, int, std::optional<double>, bool> cases[] = {{true, 256, std::nullopt, false},
                                                                        {false, 256, std::nullopt, false},
                                                                        {true, 100, 64, false},
                                                                        {true, 100, 1e12, true}};
    for (const auto& [named, n, points, warned] : cases) {
        const std::vector<double> values = signal(n, -2.1e9);
        testing::VarianFiles f = testing::geminiFid({.values = values, .points = points, .sfrqNamed = named});
        f["data"] += "\x7F\x01";  // a partial value is no value
        Scratch s;
        s.former();
        ASSERT_TRUE(readGemini(s, f));
        EXPECT_EQ(testing::messageTexts(s.said), std::vector<std::string>(warned, kCapacityWarningText));
        EXPECT_EQ(s.values(), values);
        const AcqParams& p = s.doc->spectrum.acqPars;
        EXPECT_EQ(std::tuple(p.TD, p.SW, p.SF, p.aqMode, p.offsetHz, s.doc->spectrum.refIndex),
                  std::tuple(n, 4000.0, static_cast<double>(300.075f), 1, 0.0, n));
        EXPECT_EQ(std::tuple(s.doc->spectrum.negateImag, s.doc->spectrum.fileNegateImag,
                             s.doc->spectrum.referenceSource),
                  std::tuple(1, 1, ReferenceSource::None));
    }
}

TEST(CompanionFiles, AreFoundBesideTheDataFileWithoutRegardToCaseNotInTheCurrentDirectory) {
    testing::TempDir here, data, bare;
    for (const char* name : {"procpar", "ACQPAR", "exp1.dis"}) testing::writeFile(here.file(name), "");
    for (const char* name : {"PROCPAR", "acqpar", "exp1.dis", "EXP1.AQS", "EXP2.DIS"})
        testing::writeFile(data.file(name), "");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(here.path());
    EXPECT_EQ(findVarianProcpar(data.file("fid")), data.file("PROCPAR"));
    EXPECT_EQ(findGeminiAcqpar(data.file("gemini.fid")), data.file("acqpar"));
    const WinNmrCompanions found = findWinNmrCompanions(data.file("EXP1.FID")),
                           none = findWinNmrCompanions(data.file("OTHER.FID"));
    EXPECT_EQ(std::tuple(found.dis, found.aqs), std::tuple(data.file("exp1.dis"), data.file("EXP1.AQS")));
    EXPECT_FALSE(none.dis || none.aqs || findVarianProcpar(bare.file("fid")) ||
                 findGeminiAcqpar(bare.file("x.fid")));
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace pelvaron::io
