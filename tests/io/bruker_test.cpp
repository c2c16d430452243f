// The Bruker readers, fed from memory: values by byte order and type, acqus parameters and damaged
// ones, the reference chain, processed spectra; and the real aspirin experiment read from files.
#include "io/bruker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>

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

TEST(BrukerFid, ValuesFollowTheByteOrderLabelElseTheXwinGuess) {
    struct Case {
        bool bigEndian, label, xwinTitle, doubles;
    };
    for (const Case& c :
         {Case{true, true, false, false}, Case{false, true, true, false}, Case{true, false, true, false},
          Case{false, true, false, true}, Case{true, true, false, true}}) {
        SCOPED_TRACE(::testing::PrintToString(std::vector{c.bigEndian, c.label, c.xwinTitle, c.doubles}));
        const std::vector<double> values = c.doubles ? std::vector{0.5, -1.25, 1e-300, 3.0e12} : ramp(512);
        BrukerFiles f =
            testing::brukerFid({.values = values, .bigEndian = c.bigEndian, .doubles = c.doubles});
        if (!c.label) f["acqus"].erase(f["acqus"].find("##$BYTORDA= 1\n"), 14);
        if (c.xwinTitle) f["acqus"].replace(f["acqus"].find("UXNMR"), 5, "XWIN-NMR 3.5");
        Scratch s;
        ASSERT_TRUE(s.readFid(f));
        ASSERT_EQ(std::vector(s.doc->spectrum.specData.begin(),
                              s.doc->spectrum.specData.begin() + s.doc->spectrum.nData),
                  values);
    }
}

TEST(BrukerFid, AcqusParametersAndDamagedParameterFiles) {
    Scratch s;
    const AcqParams& p = s.doc->spectrum.acqPars;
    s.doc->spectrum.acqPars.DSPFVS = 11;  // without filter labels: no digital filter, DSPFVS as it was
    ASSERT_TRUE(s.readFid(testing::brukerFid({.values = ramp(64)})));
    EXPECT_EQ(std::tuple(p.DECIM, p.DSPFVS, s.doc->spectrum.groupDelay), std::tuple(1, 11, 0.));
    expectOnlyMessage(s.said, kNoReferenceText, "Warning");
    testing::BrukerFidSpec spec{.values = ramp(1024), .sw = 6e3, .bf1 = 500.13, .aqMode = 1, .decim = 24};
    spec.dspfvs = 10;
    spec.grpdly = 67.98;
    ASSERT_TRUE(s.readFid(testing::brukerFid(spec)));
    EXPECT_EQ(
        std::tuple(p.TD, p.aqMode, p.complexData, p.DECIM, p.DSPFVS, p.SW, p.SF, s.doc->spectrum.groupDelay),
        std::tuple(1024, 1, 1, 24, 10, 6000.0, 500.13, 67.98));

    const struct {
        std::string acqus;
        bool loads;
        int td;
    } cases[] = {
        {"##$TD=256 ##$SW_h=1234.5\n##$BF1=  100.5\n##$AQ_mod= 0\n", true, 256},  // values glued to labels
        {"##$TD= -16\n##$SW_h= 100\n", false, -16},
        {"##$TD= 64\n##$SW_h= 0\n", false, 64},
        {"", false, 0},
        {"##$TD= 2147483647\n##$SW_h= 100\n", true, kCapacity},  // capped once, with the warning
    };
    const std::string fid = testing::encodeBrukerValues({9, 8}, false, false);
    for (const auto& c : cases) {
        Scratch d;
        d.doc->spectrum.specData.fill(3.0);
        EXPECT_EQ(d.readFid({{"acqus", c.acqus}, {"fid", fid}}), c.loads) << c.acqus;
        EXPECT_EQ(d.doc->spectrum.acqPars.TD, c.td) << c.acqus;
        if (!c.loads) {
            expectOnlyMessage(d.said, "Cannot Open Acqus", "Error");
            continue;
        }
        // Values the fid does not hold read as 0, up to TD.
        EXPECT_EQ(std::tuple(d.doc->spectrum.specData[1], d.doc->spectrum.specData[2],
                             d.doc->spectrum.specData[c.td - 1]),
                  std::tuple(8, 0, 0));
        EXPECT_EQ(d.said.front().text, c.td == kCapacity ? kCapacityWarningText : kNoReferenceText);
    }
}

TEST(BrukerReference, TheSetSpanningTheAcquisitionThenTheAcquisitionThenNothing) {
    using enum ReferenceSource;
    const double sw = 5000.0, bf1 = 400.13, sf = 400.1300123;
    // A processed set of width SW_p whose first point lies at OFFSET ppm.
    auto set = [](const char* swp, const char* offset) {
        return testing::parameterFile({{"OFFSET", offset}, {"SF", "400.1300123"}, {"SW_p", swp}});
    };
    // The acquisition's O1 puts the left edge O1 + SW/2 above BF1.
    auto carrier = [&](double o1) { return o1 + sw / 2 + (bf1 - sf) * 1e6 - sw; };
    const std::string strip = set("2000", "5");
    const struct {
        std::optional<std::string> procs, proc;
        std::optional<double> o1;
        ReferenceSource source;
        double offsetHz, sfUsed;
    } cases[] = {
        {set("5000", "10"), strip, 1234.0, Procs, 10.0 * sf - sw, sf},
        {strip, set("5000.0025", "9"), {}, Proc, 9.0 * sf - sw, sf},  // widths agree to 1e-6
        {set("4999.99", "9"), {}, 1000.0, Acqus, carrier(1000.0), sf},
        {strip, strip, 2000.0, Acqus, carrier(2000.0), sf},
        {{}, {}, 2000.0, Acqus, 2000.0 - sw / 2, bf1},
        {{}, testing::parameterFile({{"OFFSET", "12"}}), {}, Proc, 12 * bf1 - sw, bf1},
        {{}, {}, {}, None, 0.0, bf1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offsetHz);
        BrukerFiles f =
            testing::brukerFid({.values = std::vector(256, 1.0), .sw = sw, .bf1 = bf1, .o1 = c.o1});
        if (c.procs) f["pdata/1/procs"] = *c.procs;
        if (c.proc) f["pdata/1/proc"] = *c.proc;
        Scratch s;
        ASSERT_TRUE(s.readFid(f));
        EXPECT_EQ(std::tuple(s.doc->spectrum.referenceSource, s.doc->spectrum.acqPars.SF,
                             s.doc->spectrum.recorded.present),
                  std::tuple(c.source, c.sfUsed, c.procs.has_value()));
        EXPECT_NEAR(s.doc->spectrum.acqPars.offsetHz, c.offsetHz, 1e-9);
        EXPECT_EQ(s.said.size(), c.source == None ? 1u : 0u);
    }
}

TEST(BrukerProcessed, PairsRealAndImaginaryByByteOrderSiTypeAndNcProc) {
    const struct {
        const char* extraLabels;  // added to procs
        int n;                    // points written to each file
        testing::BrukerProcessedSpec spec;
    } cases[] = {
        {"$$ VERSION XWIN-NMR\n", 8192, {.bigEndian = true}},
        {"$$ VERSION UXNMR\n", 8192, {.ncProc = 2}},
        {"", 64, {.ncProc = -1}},
        {"##$BYTORDP= 0\n$$ VERSION XWIN-NMR\n", 64, {}},
        {"##$BYTORDP= 1\n", 4096, {.si = 4096, .bigEndian = true, .doubles = true, .ncProc = 3}},
    };
    for (auto [extraLabels, n, spec] : cases) {
        SCOPED_TRACE(std::string(extraLabels) + std::to_string(n));
        spec.real = ramp(n);
        spec.imag = ramp(n, -3.0);
        spec.tdeff = spec.si ? 2000 : 2 * n;  // with SI, TDeff is smaller than the transformed spectrum
        spec.offset = 12.5;
        BrukerFiles f = testing::brukerProcessed(spec);
        f["procs"] += extraLabels;
        Scratch s;
        ASSERT_TRUE(s.readProcessed(f));
        ASSERT_EQ(s.doc->spectrum.nData, 2 * n) << "the whole spectrum";
        const double scale = std::ldexp(1.0, spec.ncProc.value_or(0));
        for (int k = 0; k < n; ++k)
            ASSERT_EQ(std::pair(s.re(k), s.im(k)), std::pair(scale * spec.real[k], scale * spec.imag[k]))
                << k;
        const Document& d = *s.doc;
        EXPECT_EQ(std::tuple(d.spectrum.acqPars.SW, d.spectrum.acqPars.SF, d.spectrum.acqPars.aqMode,
                             d.spectrum.acqPars.DECIM),
                  std::tuple(5000.0, 400.13, 1, 1));
        EXPECT_EQ(std::tuple(d.spectrum.referenceSource, d.spectrum.xUnits, d.spectrum.recorded.present),
                  std::tuple(ReferenceSource::Procs, kPpm, false));
        // The first point lies at OFFSET, and point k SW_p/SI further down.
        EXPECT_NEAR(units::tToUnit(d, units::indexToT(d, 2 * 7), kPpm), 12.5 - 7 * 5e3 / n / 400.13, 1e-9);
        EXPECT_TRUE(s.said.empty());
    }
    Scratch s;
    EXPECT_FALSE(s.readProcessed({{"1r", ""}, {"1i", ""}}));
    expectOnlyMessage(s.said, "Cannot Open this file", "Error");
}

TEST(BrukerAspirin, FilesAreFoundWhateverTheirCaseAndAProcessedSetNeedsIts1i) {
    // What the files' values become is in the real-data table.
    const std::string root = testing::sourcePath("tests/data/aspirin-1h/");
    // Without procs, proc (of the same OFFSET) references the FID.
    const std::pair<const char*, const char*> names[] = {{"acqus", "Acqus"},
                                                         {"fid", "FID"},
                                                         {"pdata/1/proc", "PDATA/1/Proc"},
                                                         {"pdata/1/procs", "pdata/1/PROCS"}};
    for (const bool procs : {true, false}) {
        Scratch s;
        for (const auto& [name, onDisk] : std::span(names, procs ? 4 : 3))
            testing::writeFile(s.dir.file(onDisk), *readWholeFile(root + "fid-set/" + name));
        ASSERT_TRUE(s.loadBruker(s.dir.path().string()));
        const Document& d = *s.doc;
        EXPECT_EQ(std::tuple(s.ui.messages.size(), d.fileTitle, d.spectrum.referenceSource,
                             d.spectrum.recorded.SI, d.spectrum.nData),
                  std::tuple(0u, "FID", procs ? ReferenceSource::Procs : ReferenceSource::Proc,
                             procs ? 32768 : 0, 16384));
        EXPECT_NEAR(d.spectrum.acqPars.offsetHz, 15.47866 * 300.13 - 4789.27203065134, 1e-9);
    }
    // The processed set without its 1i: reported, nothing loaded.
    Scratch s;
    for (const char* name : {"1r", "procs"})
        testing::writeFile(s.dir.file("p/") + name, *readWholeFile(root + "processed-set/pdata/1/" + name));
    EXPECT_FALSE(s.loadBruker(s.dir.file("p/1r")));
    EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{"Cannot Open this file"});
}

}  // namespace
}  // namespace pelvaron::io
