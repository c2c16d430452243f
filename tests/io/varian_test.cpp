// The Varian readers, fed from memory: VXR/Unity fids of both sample widths with their procpar
// (names that share first letters, the reference, damaged files), Gemini FIDs with their ACQPAR
// (the SFRQ entry or the one after it, short data, damaged files), and the parameter files'
// places beside the data.
#include "io/varian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

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
    return readVarianFid(*s.doc, s.ui, f.at("fid"), f.at("procpar"));
}
bool readGemini(Scratch& s, const testing::VarianFiles& f) {
    return readGeminiFid(*s.doc, s.ui, f.at("data"), f.at("ACQPAR"));
}
std::vector<double> data(const Scratch& s) {
    return {s.doc->specData.begin(), s.doc->specData.begin() + s.doc->nData};
}

TEST(VarianFid, KnownFidRoundTripsInEitherSampleWidth) {
    // dp "y": 32-bit; "n" and no dp at all: 16-bit. The writer puts sw1, swet and sfrq1 after
    // sw and sfrq, and a sample name holding "sw np sfrq": none of them may stand in.
    const struct {
        std::optional<std::string> dp;
        double scale;
    } cases[] = {{"y", 2.0e9}, {"n", 32767.0}, {std::nullopt, -32768.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dp.value_or("(none)"));
        const std::vector<double> values = signal(512, c.scale);
        Scratch s;
        s.doc->groupDelay = 67.98;  // left by a Bruker data set
        ASSERT_TRUE(readVarian(s, testing::varianFid({.values = values, .dp = c.dp, .extraBlocks = 1})));
        EXPECT_EQ(data(s), values);
        const AcqParams& p = s.doc->acqPars;
        EXPECT_EQ(std::tuple(p.TD, p.SW, p.SF, p.aqMode, p.complexData, s.doc->refIndex),
                  std::tuple(512, 6000.0, 399.952, 1, 1, 512));
        EXPECT_EQ(std::tuple(s.doc->negateImag, s.doc->fileNegateImag, s.doc->groupDelay),
                  std::tuple(1, 1, 0.0));
        EXPECT_TRUE(s.ui.messages.empty());
    }
    // The procpar copied through systems that end lines otherwise.
    for (const char* ending : {"\r\n", "\r"}) {
        testing::VarianFiles f = testing::varianFid({.values = signal(64, 1e5), .rfl = 20.0});
        std::string& text = f["procpar"];
        for (std::size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + std::strlen(ending)))
            text.replace(at, 1, ending);
        Scratch s;
        ASSERT_TRUE(readVarian(s, f));
        EXPECT_EQ(std::tuple(s.doc->acqPars.TD, s.doc->acqPars.SW, s.doc->acqPars.offsetHz),
                  std::tuple(64, 6000.0, -20.0));
    }
}

TEST(VarianFid, OffsetIsRfpLessRflAndAMissingOneCountsZero) {
    const struct {
        std::optional<double> rfp, rfl;
        double offset;
        ReferenceSource source;
    } cases[] = {{0.0, 1200.0, -1200.0, ReferenceSource::Procpar},
                 {350.5, 100.0, 250.5, ReferenceSource::Procpar},
                 {std::nullopt, 800.0, -800.0, ReferenceSource::Procpar},
                 {std::nullopt, std::nullopt, 0.0, ReferenceSource::None}};
    for (const auto& c : cases) {
        Scratch s;
        s.doc->acqPars.offsetHz = 99.0;
        ASSERT_TRUE(
            readVarian(s, testing::varianFid({.values = signal(64, 100), .rfp = c.rfp, .rfl = c.rfl})));
        EXPECT_EQ(s.doc->acqPars.offsetHz, c.offset);
        EXPECT_EQ(s.doc->referenceSource, c.source);
    }
}

TEST(VarianFid, ShortOrMalformedFilesFailWithoutAMessage) {
    const testing::VarianFiles good = testing::varianFid({.values = signal(64, 1e6)});
    auto with = [&](const std::string& name, const std::string& bytes) {
        testing::VarianFiles f = good;
        f[name] = bytes;
        return f;
    };
    std::string noSw = good.at("procpar");
    noSw.replace(noSw.find("\nsw "), 4, "\nsx ");
    const testing::VarianFiles cases[] = {
        with("fid", good.at("fid").substr(0, good.at("fid").size() - 1)),  // the block cut by a byte
        with("fid", good.at("fid").substr(0, 59)),
        with("fid", ""),
        with("procpar", ""),
        with("procpar", noSw),
        testing::varianFid({.values = signal(64, 1e6), .np = 0}),
        testing::varianFid({.values = signal(64, 1e6), .np = -64}),
        testing::varianFid({.values = signal(64, 1e6), .sw = 0.0}),
        with("procpar", good.at("procpar") + "rfl 1 1 1 1 0 2 1 11 1 64\n1 nan\n0\n"),
        with("procpar", "np 1 1\n"),  // the value missing at the end
    };
    for (const auto& f : cases) {
        Scratch s;
        EXPECT_FALSE(readVarian(s, f));
        EXPECT_TRUE(s.ui.messages.empty());
    }
}

TEST(VarianFid, SizeBeyondTheCapacityIsCappedWithTheWarning) {
    Scratch s;
    testing::VarianFiles f =
        testing::varianFid({.values = signal(16, 10), .np = kCapacity + 4096, .dp = "n"});
    f["fid"].resize(60 + 2 * static_cast<std::size_t>(kCapacity), '\x01');
    ASSERT_TRUE(readVarian(s, f));
    expectOnlyMessage(s.ui, kCapacityWarningText, "Warning");
    EXPECT_EQ(std::tuple(s.doc->nData, s.doc->acqPars.TD, s.doc->specData[kCapacity - 1]),
              std::tuple(kCapacity, kCapacity, 257.0));
}

TEST(GeminiFid, KnownFidRoundTripsWithSfFromSfrqOrTheEntryAfterIt) {
    for (bool named : {true, false}) {
        const std::vector<double> values = signal(256, -2.1e9);
        Scratch s;
        s.doc->acqPars.offsetHz = 1234.0;  // the previous data set's reference
        s.doc->referenceSource = ReferenceSource::Acqus;
        ASSERT_TRUE(readGemini(s, testing::geminiFid({.values = values, .sfrqNamed = named})));
        EXPECT_EQ(data(s), values);
        const AcqParams& p = s.doc->acqPars;
        EXPECT_EQ(std::tuple(p.TD, p.SW, p.SF, p.aqMode, p.offsetHz, s.doc->refIndex),
                  std::tuple(256, 4000.0, static_cast<double>(300.075f), 1, 0.0, 256));
        EXPECT_EQ(std::tuple(s.doc->negateImag, s.doc->fileNegateImag, s.doc->referenceSource),
                  std::tuple(1, 1, ReferenceSource::None));
    }
}

TEST(GeminiFid, ShortDataGiveTheValuesTheyHold) {
    const std::vector<double> values = signal(100, 5e5);
    Scratch s;
    testing::VarianFiles f = testing::geminiFid({.values = values, .points = 64});
    f["data"] += "\x7F\x01";  // a partial value is no value
    ASSERT_TRUE(readGemini(s, f));
    EXPECT_EQ(std::tuple(s.doc->nData, s.doc->acqPars.TD), std::tuple(100, 100));
    EXPECT_EQ(data(s), values);

    Scratch big;
    ASSERT_TRUE(readGemini(big, testing::geminiFid({.values = values, .points = 1e12})));
    expectOnlyMessage(big.ui, kCapacityWarningText, "Warning");
    EXPECT_EQ(big.doc->acqPars.TD, 100);
}

TEST(GeminiFid, ShortOrMalformedFilesFailWithoutAMessage) {
    const std::vector<double> values = signal(32, 7);
    const testing::GeminiFidSpec cases[] = {
        {.values = values, .acqparSize = 797},                      // SFRQ's value cut
        {.values = values, .sfrqNamed = false, .acqparSize = 813},  // the entry after it cut
        {.values = values, .acqparSize = 0},
        {.values = {}, .points = 16},
        {.values = values, .points = 0.0},
        {.values = values, .points = -8.0},
        {.values = values, .points = std::nan("")},
        {.values = values, .sw = 0.0},
        {.values = values, .sw = std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : cases) {
        Scratch s;
        EXPECT_FALSE(readGemini(s, testing::geminiFid(c)));
        EXPECT_TRUE(s.ui.messages.empty());
    }
    Scratch s;
    EXPECT_TRUE(readGemini(s, testing::geminiFid({.values = values, .acqparSize = 798})));
}

TEST(VarianFiles, ParameterFilesAreFoundBesideTheDataNotInTheCurrentDirectory) {
    namespace fs = std::filesystem;
    testing::TempDir here, data, bare;
    testing::writeFile(here.file("procpar"), "");
    testing::writeFile(here.file("ACQPAR"), "");
    testing::writeFile(data.file("PROCPAR"), "");
    testing::writeFile(data.file("acqpar"), "");
    const fs::path before = fs::current_path();
    fs::current_path(here.path());
    EXPECT_EQ(findVarianProcpar(data.file("fid")), data.file("PROCPAR"));
    EXPECT_EQ(findGeminiAcqpar(data.file("gemini.fid")), data.file("acqpar"));
    EXPECT_EQ(findVarianProcpar(bare.file("fid")), std::nullopt);
    EXPECT_EQ(findGeminiAcqpar(bare.file("x.fid")), std::nullopt);
    fs::current_path(before);
}

}  // namespace
}  // namespace pelvaron::io
