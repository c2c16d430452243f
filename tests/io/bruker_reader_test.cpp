// The Bruker reader: byte orders, value types, parameters, referencing, processed spectra and
// damaged experiments, read back from experiments the tests write.
#include "io/bruker.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "bruker_writer.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFidSpec;
using testing::BrukerProcessedSpec;

std::vector<double> ramp(int n, double scale = 1.0) {
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = scale * ((i % 2) ? -(i * 37 % 1001) : (i * 91 % 2003)) - 100000.0 * (i % 5);
    return v;
}

BrukerFidSpec fidOf(std::vector<double> values) {
    BrukerFidSpec spec;
    spec.values = std::move(values);
    return spec;
}

TEST(BrukerFid, ByteOrderLabelDecidesTheXwinGuessOnlyWithoutItAndDoublesAreRead) {
    struct Case {
        bool bigEndian, label, xwinTitle, doubles;
    };
    // With the label the data follow it, whatever the title says; without it, the title decides.
    const Case cases[] = {{true, true, false, false}, {false, true, true, false},
                          {true, false, true, false}, {false, false, false, false},
                          {false, true, false, true}, {true, true, false, true}};
    for (const Case& c : cases) {
        const std::string what =
            ::testing::PrintToString(std::vector<bool>{c.bigEndian, c.label, c.xwinTitle, c.doubles});
        Scratch s;
        BrukerFidSpec spec =
            fidOf(c.doubles ? std::vector<double>{0.5, -1.25, 1e-300, 3.0e12, -7.0, 8.0} : ramp(512));
        spec.bigEndian = c.bigEndian;
        spec.writeByteOrderLabel = c.label;
        spec.xwinTitle = c.xwinTitle;
        spec.doubles = c.doubles;
        ASSERT_TRUE(s.loadBruker(testing::writeBrukerFid(s.dir.path().string(), spec))) << what;
        ASSERT_EQ(s.doc->nData, static_cast<int>(spec.values.size())) << what;
        for (std::size_t i = 0; i < spec.values.size(); ++i)
            ASSERT_EQ(s.doc->specData[static_cast<std::ptrdiff_t>(i)], spec.values[i])
                << what << " value " << i;
    }
}

TEST(BrukerFid, ParametersDigitalFilterAndReference) {
    Scratch s;
    BrukerFidSpec spec = fidOf(ramp(1024));
    spec.sw = 6000.0;
    spec.bf1 = 500.13;
    spec.aqMode = 1;
    spec.decim = 24;
    spec.dspfvs = 10;
    spec.grpdly = 67.9841;
    spec.procOffset = 12.0;
    ASSERT_TRUE(s.loadBruker(testing::writeBrukerFid(s.dir.path().string(), spec)));
    const AcqParams& p = s.doc->acqPars;
    EXPECT_EQ(std::tuple(p.TD, p.aqMode, p.complexData, p.DECIM, p.DSPFVS), std::tuple(1024, 1, 1, 24, 10));
    EXPECT_DOUBLE_EQ(p.SW, 6000.0);
    EXPECT_DOUBLE_EQ(p.SF, 500.13);
    EXPECT_DOUBLE_EQ(s.doc->groupDelay, 67.9841);
    // The first point lies at OFFSET ppm: offsetHz is the Hz of the last point.
    EXPECT_DOUBLE_EQ(p.offsetHz, 12.0 * 500.13 - 6000.0);
    EXPECT_DOUBLE_EQ(s.doc->offsetHz + p.SW, 12.0 * 500.13);
    EXPECT_EQ(s.doc->negateImag, 0);
    EXPECT_TRUE(s.ui.messages.empty());
}

TEST(BrukerFid, MissingLabelsAndProcFileKeepDefaultsWithAWarning) {
    Scratch s;
    s.doc->acqPars.DSPFVS = 11;
    ASSERT_TRUE(s.loadBruker(testing::writeBrukerFid(s.dir.path().string(), fidOf(ramp(64)))));
    EXPECT_EQ(s.doc->acqPars.DECIM, 1) << "no DECIM label: no digital filter";
    EXPECT_EQ(s.doc->acqPars.DSPFVS, 11) << "no DSPFVS label: the previous value stays";
    EXPECT_EQ(s.doc->groupDelay, 0.0);
    EXPECT_EQ(s.doc->acqPars.offsetHz, 0.0);
    expectOnlyMessage(s.ui,
                      "The 'proc' file was not found.\n The spectrum will not be automatically referenced",
                      "Warning");
}

TEST(BrukerFid, CompanionFilesAreFoundWhateverTheirCase) {
    Scratch s;
    BrukerFidSpec spec = fidOf(ramp(64));
    spec.acqusName = "Acqus";
    spec.fidName = "FID";
    spec.procOffset = 10.0;
    spec.procInPdata = false;
    const std::string fid = testing::writeBrukerFid(s.dir.path().string(), spec);
    std::filesystem::rename(s.dir.file("proc"), s.dir.file("PROC"));
    ASSERT_TRUE(s.loadBruker(fid));
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_DOUBLE_EQ(s.doc->acqPars.offsetHz, 10.0 * 400.13 - 5000.0);
    EXPECT_EQ(s.doc->fileTitle, "FID");
}

TEST(BrukerFid, OversizedTdIsCappedOnceAndShortFilesEndInZeros) {
    Scratch s;
    BrukerFidSpec spec = fidOf(ramp(kCapacity + 64));
    spec.procOffset = 0.0;
    ASSERT_TRUE(s.loadBruker(testing::writeBrukerFid(s.dir.file("big"), spec)));
    EXPECT_EQ(s.doc->nData, kCapacity);
    EXPECT_EQ(s.doc->specData[kCapacity - 1], spec.values[kCapacity - 1]);
    expectOnlyMessage(s.ui,
                      kCapacityWarningText,
                      "Warning");

    // TD announces more than the file holds: the rest reads as 0.
    BrukerFidSpec shortSpec = fidOf(ramp(100));
    shortSpec.td = 4096;
    s.doc->specData.fill(3.0);
    ASSERT_TRUE(s.loadBruker(testing::writeBrukerFid(s.dir.file("short"), shortSpec)));
    EXPECT_EQ(s.doc->nData, 4096);
    EXPECT_EQ(s.doc->specData[99], shortSpec.values[99]);
    EXPECT_EQ(s.doc->specData[100], 0.0);
    EXPECT_EQ(s.doc->specData[4095], 0.0);
}

TEST(BrukerFid, AbsurdSizesNeverReadOutsideTheBuffer) {
    for (int td : {-16, 0, 2147483647}) {
        Scratch s;
        BrukerFidSpec spec = fidOf(ramp(32));
        spec.td = td;
        const bool loaded = s.loadBruker(testing::writeBrukerFid(s.dir.path().string(), spec));
        EXPECT_LE(s.doc->nData, kCapacity) << "TD " << td;
        EXPECT_EQ(loaded, td > 0) << "TD " << td;
        if (td <= 0) {
            ASSERT_FALSE(s.ui.messages.empty());
            EXPECT_EQ(s.ui.messages.back().text, "Cannot Open Acqus");
            EXPECT_EQ(s.ui.messages.back().caption, "Error");
        } else {
            EXPECT_EQ(s.doc->specData[31], spec.values[31]);
        }
    }
}

TEST(BrukerProcessed, PairsRealAndImaginaryFilesByByteOrderSiAndValueType) {
    struct Case {
        std::optional<std::string> version;
        std::optional<int> bytordp;
        bool bigEndian;
        int n;                  // real points written to each file
        std::optional<int> si;  // when set, TDeff is smaller than the transformed spectrum
        bool doubles;
        const char* opened;
    };
    const Case cases[] = {
        {std::string("XWIN-NMR"), std::nullopt, true, 8192, std::nullopt, false, "1r"},
        {std::string("UXNMR"), std::nullopt, false, 8192, std::nullopt, false, "1r"},
        {std::nullopt, std::nullopt, false, 8192, std::nullopt, false, "1r"},
        {std::string("XWIN-NMR"), 0, false, 8192, std::nullopt, false,
         "1r"},  // the label outranks the version
        {std::nullopt, 1, true, 8192, std::nullopt, false, "1r"},
        {std::nullopt, 1, true, 4096, 4096, true, "1i"},
    };
    for (std::size_t ci = 0; ci < std::size(cases); ++ci) {
        const Case& c = cases[ci];
        Scratch s;
        BrukerProcessedSpec spec;
        spec.real = ramp(c.n);
        spec.imag = ramp(c.n, -3.0);
        spec.version = c.version;
        spec.bytordp = c.bytordp;
        spec.bigEndian = c.bigEndian;
        spec.tdeff = c.si ? 2000 : 2 * c.n;
        spec.si = c.si;
        spec.doubles = c.doubles;
        spec.swp = 4000.0;
        spec.sf = 300.0;
        testing::writeBrukerProcessed(s.dir.file("pdata/1"), spec);
        ASSERT_TRUE(s.loadBruker(s.dir.file(std::string("pdata/1/") + c.opened))) << "case " << ci;
        ASSERT_EQ(s.doc->nData, 2 * c.n) << "case " << ci;
        for (int k = 0; k < c.n; ++k) {
            ASSERT_EQ(s.re(k), spec.real[k]) << "case " << ci << " point " << k;
            ASSERT_EQ(s.im(k), spec.imag[k]) << "case " << ci << " point " << k;
        }
        EXPECT_DOUBLE_EQ(s.doc->acqPars.SW, 4000.0);
        EXPECT_DOUBLE_EQ(s.doc->acqPars.SF, 300.0);
        EXPECT_EQ(s.doc->acqPars.aqMode, 1);
        EXPECT_EQ(s.doc->acqPars.DECIM, 1);
    }
}

TEST(BrukerProcessed, MissingCompanionIsCannotOpenThisFile) {
    Scratch s;
    BrukerProcessedSpec spec;
    spec.real = ramp(16);
    spec.imag = ramp(16);
    testing::writeBrukerProcessed(s.dir.path().string(), spec);
    std::filesystem::remove(s.dir.file("1i"));
    EXPECT_FALSE(s.loadBruker(s.dir.file("1r")));
    expectOnlyMessage(s.ui, "Cannot Open this file", "Error");
}

TEST(Acqus, ValuesGluedToTheirLabelAndGarbageAreHandled) {
    Scratch s;
    BrukerDataFormat format;
    EXPECT_TRUE(parseAcqus(*s.doc, s.ui, "##$TD=256 ##$SW_h=1234.5\n##$BF1=  100.5\n##$AQ_mod= 0\n", format));
    EXPECT_EQ(s.doc->acqPars.TD, 256);
    EXPECT_DOUBLE_EQ(s.doc->acqPars.SW, 1234.5);
    EXPECT_DOUBLE_EQ(s.doc->acqPars.SF, 100.5);
    EXPECT_EQ(s.doc->acqPars.complexData, 0);

    auto other = std::make_unique<Document>();
    EXPECT_FALSE(parseAcqus(*other, s.ui, std::string("\x01\x02##$TD=\n\xff\xfe##$SW_h="), format));
    EXPECT_EQ(other->acqPars.TD, 0) << "a label with no number reads as 0";
}

}  // namespace
}  // namespace pelvaron::io
