// The Bruker readers, fed from memory: values by byte order and type, acqus parameters and damaged
// ones, the reference chain, processed spectra; and the real aspirin experiment read from files.
#include "io/bruker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "document/units.h"
#include "io/companion.h"
#include "io_fixture.h"
#include "processing/fourier_dialog.h"
#include "processing/phase.h"
#include "processing/window_function_dialog.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFidSpec;
using testing::BrukerFiles;

std::vector<double> ramp(int n, double scale = 1.0) {
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i) v[i] = scale * ((i % 2) ? -(i * 37 % 1001) : (i * 91 % 2003)) - 100000.0 * (i % 5);
    return v;
}

void replace(std::string& text, const std::string& what, const std::string& with) {
    text.replace(text.find(what), what.size(), with);
}

std::string exact(double v) {
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

TEST(BrukerFid, ValuesFollowTheByteOrderLabelElseTheXwinGuess) {
    struct Case {
        bool bigEndian, label, xwinTitle, doubles;
    };
    const Case cases[] = {{true, true, false, false},  {false, true, true, false}, {true, false, true, false},
                          {false, false, false, false}, {false, true, false, true}, {true, true, false, true}};
    for (const Case& c : cases) {
        const std::string what = ::testing::PrintToString(std::vector{c.bigEndian, c.label, c.xwinTitle, c.doubles});
        BrukerFidSpec spec{.values = c.doubles ? std::vector{0.5, -1.25, 1e-300, 3.0e12, -7.0, 8.0} : ramp(512),
                           .bigEndian = c.bigEndian,
                           .doubles = c.doubles};
        BrukerFiles files = testing::brukerFid(spec);
        if (!c.label) replace(files["acqus"], c.bigEndian ? "##$BYTORDA= 1\n" : "##$BYTORDA= 0\n", "");
        if (c.xwinTitle) replace(files["acqus"], "UXNMR", "XWIN-NMR 3.5");
        Scratch s;
        ASSERT_TRUE(s.readFid(files)) << what;
        ASSERT_EQ(s.doc->nData, static_cast<int>(spec.values.size())) << what;
        for (std::size_t i = 0; i < spec.values.size(); ++i) ASSERT_EQ(s.doc->specData[i], spec.values[i]) << what << i;
    }
}

TEST(BrukerFid, AcqusParametersAndDamagedParameterFiles) {
    Scratch s;
    s.doc->acqPars.DSPFVS = 11;
    ASSERT_TRUE(s.readFid(testing::brukerFid({.values = ramp(64)})));
    EXPECT_EQ(std::tuple(s.doc->acqPars.DECIM, s.doc->acqPars.DSPFVS, s.doc->groupDelay), std::tuple(1, 11, 0.0))
        << "no filter labels: no digital filter, DSPFVS as it was";
    expectOnlyMessage(s.ui, kNoReferenceText, "Warning");

    BrukerFiles filtered = testing::brukerFid(
        {.values = ramp(1024), .sw = 6000.0, .bf1 = 500.13, .aqMode = 1, .decim = 24, .dspfvs = 10, .grpdly = 67.9841});
    ASSERT_TRUE(s.readFid(filtered));
    const AcqParams& p = s.doc->acqPars;
    EXPECT_EQ(std::tuple(p.TD, p.aqMode, p.complexData, p.DECIM, p.DSPFVS), std::tuple(1024, 1, 1, 24, 10));
    EXPECT_EQ(std::tuple(p.SW, p.SF, s.doc->groupDelay, s.doc->negateImag), std::tuple(6000.0, 500.13, 67.9841, 0));

    struct Case {
        std::string acqus;
        bool loads;
        int nData;
    };
    const Case cases[] = {
        {"##$TD=256 ##$SW_h=1234.5\n##$BF1=  100.5\n##$AQ_mod= 0\n", true, 256},  // values glued to labels
        {std::string("\x01\x02##$TD=\n\xff\xfe##$SW_h="), false, 0},            // labels without numbers
        {"##$TD= -16\n##$SW_h= 100\n", false, -16},
        {"##$TD= 64\n##$SW_h= 0\n", false, 64},
        {"", false, 0},
        {"##$TD= 2147483647\n##$SW_h= 100\n", true, kCapacity},  // capped once, with the warning
    };
    for (const Case& c : cases) {
        Scratch d;
        d.doc->specData.fill(3.0);
        EXPECT_EQ(d.readFid({{"acqus", c.acqus}, {"fid", testing::encodeBrukerValues({9, 8}, false, false)}}), c.loads)
            << c.acqus;
        EXPECT_EQ(d.doc->acqPars.TD, c.nData) << c.acqus;
        if (!c.loads) {
            expectOnlyMessage(d.ui, "Cannot Open Acqus", "Error");
            continue;
        }
        EXPECT_EQ(d.doc->acqPars.complexData, 0);
        // Values the fid does not hold read as 0, up to TD.
        EXPECT_EQ(std::tuple(d.doc->specData[1], d.doc->specData[2], d.doc->specData[c.nData - 1]), std::tuple(8, 0, 0));
        EXPECT_EQ(d.ui.messages.front().text, c.nData == kCapacity ? kCapacityWarningText : kNoReferenceText);
    }
}

/// A processed set of width `swp` whose first point lies at `offset` ppm.
std::string processedSet(double swp, double offset, double sf) {
    return testing::parameterFile({{"OFFSET", exact(offset)}, {"SF", exact(sf)}, {"SI", "8192"}, {"SW_p", exact(swp)}});
}

TEST(BrukerReference, TheSetSpanningTheAcquisitionThenTheAcquisitionThenNothing) {
    const double sw = 5000.0, bf1 = 400.13, sf = 400.1300123;
    struct Case {
        const char* what;
        std::optional<std::string> procs, proc;
        std::optional<double> o1;
        ReferenceSource source;
        double offsetHz, sfUsed;
    };
    const std::string strip = processedSet(2000.0, 5.0, sf);
    const Case cases[] = {
        {"full procs", processedSet(sw, 10.0, sf), strip, 1234.0, ReferenceSource::Procs, 10.0 * sf - sw, sf},
        // Widths agree within a part in 10^6.
        {"full proc", strip, processedSet(sw * (1 + 5e-7), 9.0, sf), {}, ReferenceSource::Proc, 9.0 * sf - sw, sf},
        {"just too narrow", processedSet(sw * (1 - 2e-6), 9.0, sf), {}, 1000.0, ReferenceSource::Acqus,
         1000.0 + sw / 2 + (bf1 - sf) * 1e6 - sw, sf},
        // Strips only: the acquisition's O1 puts the left edge O1 + SW/2 above BF1.
        {"strips", strip, strip, 2000.0, ReferenceSource::Acqus, 2000.0 + sw / 2 + (bf1 - sf) * 1e6 - sw, sf},
        {"acqus only", {}, {}, 2000.0, ReferenceSource::Acqus, 2000.0 - sw / 2, bf1},
        {"a proc of old versions", {}, testing::parameterFile({{"OFFSET", "12"}}), {}, ReferenceSource::Proc,
         12.0 * bf1 - sw, bf1},
        {"nothing", {}, {}, {}, ReferenceSource::None, 0.0, bf1},
    };
    for (const Case& c : cases) {
        BrukerFiles files = testing::brukerFid({.values = std::vector(256, 1.0), .sw = sw, .bf1 = bf1, .o1 = c.o1});
        if (c.procs) files["pdata/1/procs"] = *c.procs;
        if (c.proc) files["pdata/1/proc"] = *c.proc;
        Scratch s;
        ASSERT_TRUE(s.readFid(files)) << c.what;
        EXPECT_EQ(s.doc->referenceSource, c.source) << c.what;
        EXPECT_NEAR(s.doc->acqPars.offsetHz, c.offsetHz, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(s.doc->acqPars.SF, c.sfUsed) << c.what;
        EXPECT_EQ(s.doc->recorded.present, c.procs.has_value()) << c.what;
        EXPECT_EQ(s.ui.messageTexts(), c.source == ReferenceSource::None ? std::vector<std::string>{kNoReferenceText}
                                                                         : std::vector<std::string>{})
            << c.what;
    }
}

TEST(BrukerProcessed, PairsRealAndImaginaryByByteOrderSiTypeAndNcProc) {
    struct Case {
        const char* extraLabels;  // added to procs
        bool bigEndian, doubles;
        int n;                    // points written to each file
        std::optional<int> si;    // when set, TDeff is smaller than the transformed spectrum
        std::optional<int> ncProc;
    };
    const Case cases[] = {
        {"$$ VERSION XWIN-NMR\n", true, false, 8192, {}, {}},  {"$$ VERSION UXNMR\n", false, false, 8192, {}, 2},
        {"", false, false, 8192, {}, -1},                      {"##$BYTORDP= 0\n$$ VERSION XWIN-NMR\n", false, false, 64, {}, {}},
        {"##$BYTORDP= 1\n", true, true, 4096, 4096, 3},
    };
    for (const Case& c : cases) {
        const testing::BrukerProcessedSpec spec{.real = ramp(c.n), .imag = ramp(c.n, -3.0), .tdeff = c.si ? 2000 : 2 * c.n,
                                                .si = c.si, .swp = 4000.0, .sf = 300.0, .bigEndian = c.bigEndian,
                                                .doubles = c.doubles, .ncProc = c.ncProc, .offset = 12.5};
        BrukerFiles files = testing::brukerProcessed(spec);
        files["procs"] += c.extraLabels;
        Scratch s;
        ASSERT_TRUE(s.readProcessed(files)) << c.extraLabels << c.n;
        ASSERT_EQ(s.doc->nData, 2 * c.n) << "the whole spectrum: " << c.extraLabels;
        const double scale = std::ldexp(1.0, c.ncProc.value_or(0));
        for (int k = 0; k < c.n; ++k) {
            ASSERT_EQ(s.re(k), scale * spec.real[k]) << c.extraLabels << k;
            ASSERT_EQ(s.im(k), scale * spec.imag[k]) << c.extraLabels << k;
        }
        EXPECT_EQ(std::tuple(s.doc->acqPars.SW, s.doc->acqPars.SF, s.doc->acqPars.aqMode, s.doc->acqPars.DECIM),
                  std::tuple(4000.0, 300.0, 1, 1));
        EXPECT_EQ(s.doc->referenceSource, ReferenceSource::Procs);
        // The first point lies at OFFSET, and point k SW_p/SI further down; it opens in ppm.
        EXPECT_NEAR(units::tToUnit(*s.doc, units::indexToT(*s.doc, 2 * 7), kPpm), 12.5 - 7 * 4000.0 / c.n / 300.0, 1e-9);
        EXPECT_EQ(std::tuple(s.doc->xUnits, s.doc->recorded.present), std::tuple(kPpm, false));
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
    EXPECT_DOUBLE_EQ(s.doc->acqPars.offsetHz, 10.0 * 400.13 - 5000.0);
    EXPECT_EQ(s.doc->fileTitle, "FID");

    testing::writeBrukerProcessed(s.dir.file("p"), {.real = ramp(16), .imag = ramp(16)});
    std::filesystem::remove(s.dir.file("p/1i"));
    EXPECT_FALSE(s.loadBruker(s.dir.file("p/1r")));
    EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{"Cannot Open this file"});
}

TEST(BrukerAspirin, FilesAndMemoryAgreeOnTheSpectrometersAxis) {
    const std::string root = testing::sourcePath("tests/data/aspirin-1h/");
    Scratch fid, spectrum;
    ASSERT_TRUE(fid.loadBruker(root + "fid-set"));
    ASSERT_TRUE(spectrum.loadBruker(root + "processed-set/pdata/1/1r"));
    EXPECT_EQ(fid.doc->referenceSource, ReferenceSource::Procs);
    EXPECT_NEAR(fid.doc->acqPars.offsetHz, 15.47866 * 300.13 - 4789.27203065134, 1e-9);
    EXPECT_EQ(std::tuple(fid.doc->recorded.present, fid.doc->recorded.SI), std::tuple(true, 32768));

    // The memory readers, given the same files, leave the same documents.
    auto file = [&](const std::string& name) { return *readWholeFile(root + name); };
    Scratch fidMemory, spectrumMemory;
    ASSERT_TRUE(fidMemory.readFid({{"acqus", file("fid-set/acqus")}, {"fid", file("fid-set/fid")},
                                   {"pdata/1/proc", file("fid-set/pdata/1/proc")},
                                   {"pdata/1/procs", file("fid-set/pdata/1/procs")}}));
    ASSERT_TRUE(spectrumMemory.readProcessed({{"procs", file("processed-set/pdata/1/procs")},
                                              {"1r", file("processed-set/pdata/1/1r")},
                                              {"1i", file("processed-set/pdata/1/1i")}}));
    for (auto [a, b] : {std::pair(&fid, &fidMemory), std::pair(&spectrum, &spectrumMemory)}) {
        EXPECT_EQ(a->doc->acqPars, b->doc->acqPars);
        EXPECT_EQ(std::tuple(a->doc->refIndex, a->doc->xUnits), std::tuple(b->doc->refIndex, b->doc->xUnits));
        EXPECT_TRUE(std::equal(a->doc->specData.begin(), a->doc->specData.end(), b->doc->specData.begin()));
    }

    // The acetyl singlet of the 1r, where the spectrometer's axis puts it.
    ASSERT_EQ(spectrum.doc->nData, 65536);
    const double lineOf1r = units::tToUnit(*spectrum.doc, units::indexToT(*spectrum.doc, spectrum.doc->peakIndex), kPpm);
    EXPECT_NEAR(lineOf1r, 15.47866 - spectrum.doc->peakIndex / 2 * 4789.27203065133 / 300.13 / 32768, 1e-9);
    EXPECT_NEAR(lineOf1r, 2.3, 0.1);

    // Our own exponential window, transform and Autophase find that line within 0.004 ppm.
    processing::WindowFunctionDialog window(*fid.doc, fid.ui);
    window.open();
    window.selected = Window::Exponential;
    window.lbExpText = "0.3";
    ASSERT_TRUE(window.ok());
    processing::FourierDialog ft(*fid.doc);
    ft.open();
    ft.chooseSize(8);  // 32768 doubles: the FID's own size
    ASSERT_TRUE(ft.ok());
    processing::autophaseCommand(*fid.doc, fid.ui);
    EXPECT_NEAR(units::tToUnit(*fid.doc, units::indexToT(*fid.doc, fid.doc->peakIndex), kPpm), lineOf1r, 0.004);
    EXPECT_GT(fid.doc->specData[fid.doc->peakIndex], 0.0);
}

}  // namespace
}  // namespace pelvaron::io
