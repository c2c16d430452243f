// The Bruker readers, fed from memory: values by byte order and type, acqus parameters and damaged
// ones, the reference chain, processed spectra; and the real aspirin experiment read from files.
#include "io/bruker.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>

#include "document/units.h"
#include "io/companion.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFiles;

std::vector<double> ramp(int n, double scale = 1.0) {
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i) v[i] = scale * ((i % 2) ? -(i * 37 % 1001) : (i * 91 % 2003)) - 1e5 * (i % 5);
    return v;
}

void replace(std::string& text, const std::string& what, const std::string& with) {
    text.replace(text.find(what), what.size(), with);
}

TEST(BrukerFid, ValuesFollowTheByteOrderLabelElseTheXwinGuess) {
    struct Case {
        bool bigEndian, label, xwinTitle, doubles;
    } const cases[] = {{true, true, false, false}, {false, true, true, false}, {true, false, true, false},
                       {false, true, false, true}, {true, true, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::vector{c.bigEndian, c.label, c.xwinTitle, c.doubles}));
        const std::vector<double> values = c.doubles ? std::vector{0.5, -1.25, 1e-300, 3.0e12} : ramp(512);
        BrukerFiles files = testing::brukerFid({.values = values, .bigEndian = c.bigEndian, .doubles = c.doubles});
        if (!c.label) replace(files["acqus"], "##$BYTORDA= 1\n", "");
        if (c.xwinTitle) replace(files["acqus"], "UXNMR", "XWIN-NMR 3.5");
        Scratch s;
        ASSERT_TRUE(s.readFid(files));
        ASSERT_EQ(std::vector(s.doc->specData.begin(), s.doc->specData.begin() + s.doc->nData), values);
    }
}

TEST(BrukerFid, AcqusParametersAndDamagedParameterFiles) {
    Scratch s;
    s.doc->acqPars.DSPFVS = 11;
    ASSERT_TRUE(s.readFid(testing::brukerFid({.values = ramp(64)})));
    EXPECT_EQ(std::tuple(s.doc->acqPars.DECIM, s.doc->acqPars.DSPFVS, s.doc->groupDelay), std::tuple(1, 11, 0.))
        << "no filter labels: no digital filter, DSPFVS as it was";
    expectOnlyMessage(s.ui, kNoReferenceText, "Warning");
    ASSERT_TRUE(s.readFid(testing::brukerFid(
        {.values = ramp(1024), .sw = 6e3, .bf1 = 500.13, .aqMode = 1, .decim = 24, .dspfvs = 10, .grpdly = 67.98})));
    const AcqParams& p = s.doc->acqPars;
    EXPECT_EQ(std::tuple(p.TD, p.aqMode, p.complexData, p.DECIM, p.DSPFVS, p.SW, p.SF, s.doc->groupDelay),
              std::tuple(1024, 1, 1, 24, 10, 6000.0, 500.13, 67.98));

    const struct {
        std::string acqus;
        bool loads;
        int td;
    } cases[] = {
        {"##$TD=256 ##$SW_h=1234.5\n##$BF1=  100.5\n##$AQ_mod= 0\n", true, 256},  // values glued to labels
        {std::string("\x01\x02##$TD=\n\xff\xfe##$SW_h="), false, 0},            // labels without numbers
        {"##$TD= -16\n##$SW_h= 100\n", false, -16},
        {"##$TD= 64\n##$SW_h= 0\n", false, 64},
        {"", false, 0},
        {"##$TD= 2147483647\n##$SW_h= 100\n", true, kCapacity},  // capped once, with the warning
    };
    for (const auto& c : cases) {
        Scratch d;
        d.doc->specData.fill(3.0);
        const std::string fid = testing::encodeBrukerValues({9, 8}, false, false);
        EXPECT_EQ(d.readFid({{"acqus", c.acqus}, {"fid", fid}}), c.loads) << c.acqus;
        EXPECT_EQ(d.doc->acqPars.TD, c.td) << c.acqus;
        if (!c.loads) {
            expectOnlyMessage(d.ui, "Cannot Open Acqus", "Error");
            continue;
        }
        // Values the fid does not hold read as 0, up to TD.
        EXPECT_EQ(std::tuple(d.doc->specData[1], d.doc->specData[2], d.doc->specData[c.td - 1]), std::tuple(8, 0, 0));
        EXPECT_EQ(d.ui.messages.front().text, c.td == kCapacity ? kCapacityWarningText : kNoReferenceText);
    }
}

/// A processed set of width `swp` whose first point lies at `offset` ppm.
std::string processedSet(double swp, double offset, double sf) {
    auto exact = [](double v) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);  // shortest exact form
    };
    return testing::parameterFile({{"OFFSET", exact(offset)}, {"SF", exact(sf)}, {"SI", "8192"}, {"SW_p", exact(swp)}});
}

TEST(BrukerReference, TheSetSpanningTheAcquisitionThenTheAcquisitionThenNothing) {
    using enum ReferenceSource;
    const double sw = 5000.0, bf1 = 400.13, sf = 400.1300123;
    // The acquisition's O1 puts the left edge O1 + SW/2 above BF1.
    auto carrier = [&](double o1) { return o1 + sw / 2 + (bf1 - sf) * 1e6 - sw; };
    const std::string strip = processedSet(2000.0, 5.0, sf), oldProc = testing::parameterFile({{"OFFSET", "12"}});
    const struct {
        std::optional<std::string> procs, proc;
        std::optional<double> o1;
        ReferenceSource source;
        double offsetHz, sfUsed;
    } cases[] = {
        {processedSet(sw, 10.0, sf), strip, 1234.0, Procs, 10.0 * sf - sw, sf},
        {strip, processedSet(sw * (1 + 5e-7), 9.0, sf), {}, Proc, 9.0 * sf - sw, sf},  // widths agree to 1e-6
        {processedSet(sw * (1 - 2e-6), 9.0, sf), {}, 1000.0, Acqus, carrier(1000.0), sf},
        {strip, strip, 2000.0, Acqus, carrier(2000.0), sf},
        {{}, {}, 2000.0, Acqus, 2000.0 - sw / 2, bf1},
        {{}, oldProc, {}, Proc, 12 * bf1 - sw, bf1},
        {{}, {}, {}, None, 0.0, bf1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offsetHz);
        BrukerFiles files = testing::brukerFid({.values = std::vector(256, 1.0), .sw = sw, .bf1 = bf1, .o1 = c.o1});
        if (c.procs) files["pdata/1/procs"] = *c.procs;
        if (c.proc) files["pdata/1/proc"] = *c.proc;
        Scratch s;
        ASSERT_TRUE(s.readFid(files));
        EXPECT_EQ(std::tuple(s.doc->referenceSource, s.doc->acqPars.SF, s.doc->recorded.present),
                  std::tuple(c.source, c.sfUsed, c.procs.has_value()));
        EXPECT_NEAR(s.doc->acqPars.offsetHz, c.offsetHz, 1e-9);
        EXPECT_EQ(s.ui.messages.size(), c.source == None ? 1u : 0u);
    }
}

TEST(BrukerProcessed, PairsRealAndImaginaryByByteOrderSiTypeAndNcProc) {
    const struct {
        const char* extraLabels;  // added to procs
        bool bigEndian, doubles;
        int n;                  // points written to each file
        std::optional<int> si;  // when set, TDeff is smaller than the transformed spectrum
        std::optional<int> ncProc;
    } cases[] = {
        {"$$ VERSION XWIN-NMR\n", true, false, 8192, {}, {}},
        {"$$ VERSION UXNMR\n", false, false, 8192, {}, 2},
        {"", false, false, 64, {}, -1},
        {"##$BYTORDP= 0\n$$ VERSION XWIN-NMR\n", false, false, 64, {}, {}},
        {"##$BYTORDP= 1\n", true, true, 4096, 4096, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.extraLabels) + std::to_string(c.n));
        const testing::BrukerProcessedSpec spec{
            .real = ramp(c.n), .imag = ramp(c.n, -3.0), .tdeff = c.si ? 2000 : 2 * c.n, .si = c.si, .swp = 4000.0,
            .sf = 300.0, .bigEndian = c.bigEndian, .doubles = c.doubles, .ncProc = c.ncProc, .offset = 12.5};
        BrukerFiles files = testing::brukerProcessed(spec);
        files["procs"] += c.extraLabels;
        Scratch s;
        ASSERT_TRUE(s.readProcessed(files));
        ASSERT_EQ(s.doc->nData, 2 * c.n) << "the whole spectrum";
        const double f = std::ldexp(1.0, c.ncProc.value_or(0));
        for (int k = 0; k < c.n; ++k)
            ASSERT_EQ(std::pair(s.re(k), s.im(k)), std::pair(f * spec.real[k], f * spec.imag[k])) << k;
        const Document& d = *s.doc;
        EXPECT_EQ(std::tuple(d.acqPars.SW, d.acqPars.SF, d.acqPars.aqMode, d.acqPars.DECIM, d.referenceSource),
                  std::tuple(4000.0, 300.0, 1, 1, ReferenceSource::Procs));
        EXPECT_EQ(std::tuple(d.xUnits, d.recorded.present), std::tuple(kPpm, false));
        // The first point lies at OFFSET, and point k SW_p/SI further down.
        EXPECT_NEAR(units::tToUnit(*s.doc, units::indexToT(*s.doc, 2 * 7), kPpm), 12.5 - 7 * 4e3 / c.n / 300, 1e-9);
        EXPECT_TRUE(s.ui.messages.empty());
    }
    Scratch s;
    EXPECT_FALSE(s.readProcessed({{"1r", ""}, {"1i", ""}}));
    expectOnlyMessage(s.ui, "Cannot Open this file", "Error");
}

TEST(BrukerFiles, CompanionsAreFoundWhateverTheirCaseAndAMissingOneIsReported) {
    Scratch s;
    BrukerFiles files = testing::brukerFid({.values = ramp(64), .procOffset = 10.0});
    testing::writeBrukerFiles(s.dir.path().string(), {{"Acqus", files["acqus"]}, {"FID", files["fid"]},
                                                      {"PDATA/1/Proc", files["pdata/1/proc"]}});
    ASSERT_TRUE(s.loadBruker(s.dir.file("FID")));
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_EQ(std::pair(s.doc->acqPars.offsetHz, s.doc->fileTitle), std::pair(10 * 400.13 - 5e3, std::string("FID")));

    testing::writeBrukerProcessed(s.dir.file("p"), {.real = ramp(16), .imag = ramp(16)});
    std::filesystem::remove(s.dir.file("p/1i"));
    EXPECT_FALSE(s.loadBruker(s.dir.file("p/1r")));
    EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{"Cannot Open this file"});
}

TEST(BrukerAspirin, FilesAndMemoryLeaveTheSameDocument) {
    const std::string root = testing::sourcePath("tests/data/aspirin-1h/fid-set/");
    auto file = [&](const std::string& name) { return *readWholeFile(root + name); };
    Scratch fid, memory;
    ASSERT_TRUE(fid.loadBruker(root));
    EXPECT_EQ(std::tuple(fid.doc->referenceSource, fid.doc->recorded.present, fid.doc->recorded.SI),
              std::tuple(ReferenceSource::Procs, true, 32768));
    EXPECT_NEAR(fid.doc->acqPars.offsetHz, 15.47866 * 300.13 - 4789.27203065134, 1e-9);
    ASSERT_TRUE(memory.readFid({{"acqus", file("acqus")}, {"fid", file("fid")}, {"pdata/1/proc", file("pdata/1/proc")},
                                {"pdata/1/procs", file("pdata/1/procs")}}));
    EXPECT_EQ(std::tuple(fid.doc->acqPars, fid.doc->refIndex), std::tuple(memory.doc->acqPars, memory.doc->refIndex));
    EXPECT_TRUE(std::equal(fid.doc->specData.begin(), fid.doc->specData.end(), memory.doc->specData.begin()));
}

}  // namespace
}  // namespace pelvaron::io
