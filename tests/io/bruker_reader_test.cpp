// The Bruker reader: byte orders, value types, parameters, referencing, processed spectra and
// damaged experiments, read back from experiments the tests write.
#include "io/bruker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "bruker_writer.h"
#include "io/import.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFidSpec;
using testing::BrukerProcessedSpec;
using testing::RecordingUserInterface;
using testing::TempDir;

std::vector<double> ramp(int n, double scale = 1.0) {
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i) v[i] = scale * ((i % 2) ? -(i * 37 % 1001) : (i * 91 % 2003)) - 100000.0 * (i % 5);
    return v;
}

/// Loads a Bruker data file as Import does, with no dialog.
bool importBrukerFile(Document& doc, RecordingUserInterface& ui, const std::string& path) {
    return loadFile(doc, ui, path, FileFormat::Bruker);
}

void expectValues(const Document& doc, const std::vector<double>& values) {
    ASSERT_EQ(doc.nData, static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) ASSERT_EQ(doc.specData[static_cast<std::ptrdiff_t>(i)], values[i]) << "value " << i;
}

TEST(BrukerFidTest, ByteOrderLabelDecidesAndTheXwinGuessOnlyWithoutIt) {
    struct Case {
        bool bigEndian;
        bool label;
        bool xwinTitle;
    };
    // With the label the data follow it, whatever the title says; without it, the title decides.
    const Case cases[] = {{true, true, false}, {false, true, true}, {true, false, true}, {false, false, false}};
    for (const Case& c : cases) {
        TempDir dir;
        BrukerFidSpec spec;
        spec.values = ramp(512);
        spec.bigEndian = c.bigEndian;
        spec.writeByteOrderLabel = c.label;
        spec.xwinTitle = c.xwinTitle;
        const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ASSERT_TRUE(importBrukerFile(*doc, ui, fid));
        expectValues(*doc, spec.values);
    }
}

TEST(BrukerFidTest, DoubleValuedDataAreReadAsDoublesInBothOrders) {
    for (bool big : {false, true}) {
        TempDir dir;
        BrukerFidSpec spec;
        spec.values = {0.5, -1.25, 1e-300, 3.0e12, -7.0, 8.0};
        spec.doubles = true;
        spec.bigEndian = big;
        const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ASSERT_TRUE(importBrukerFile(*doc, ui, fid));
        expectValues(*doc, spec.values);
    }
}

TEST(BrukerFidTest, ParametersDigitalFilterAndReference) {
    TempDir dir;
    BrukerFidSpec spec;
    spec.values = ramp(1024);
    spec.sw = 6000.0;
    spec.bf1 = 500.13;
    spec.aqMode = 1;
    spec.decim = 24;
    spec.dspfvs = 10;
    spec.grpdly = 67.9841;
    spec.procOffset = 12.0;
    const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ASSERT_TRUE(importBrukerFile(*doc, ui, fid));
    EXPECT_EQ(doc->acqPars.TD, 1024);
    EXPECT_DOUBLE_EQ(doc->acqPars.SW, 6000.0);
    EXPECT_DOUBLE_EQ(doc->acqPars.SF, 500.13);
    EXPECT_EQ(doc->acqPars.aqMode, 1);
    EXPECT_EQ(doc->acqPars.complexData, 1);
    EXPECT_EQ(doc->acqPars.DECIM, 24);
    EXPECT_EQ(doc->acqPars.DSPFVS, 10);
    EXPECT_DOUBLE_EQ(doc->groupDelay, 67.9841);
    // The first point lies at OFFSET ppm: offsetHz is the Hz of the last point.
    EXPECT_DOUBLE_EQ(doc->acqPars.offsetHz, 12.0 * 500.13 - 6000.0);
    EXPECT_DOUBLE_EQ(doc->offsetHz + doc->acqPars.SW, 12.0 * 500.13);
    EXPECT_EQ(doc->negateImag, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(BrukerFidTest, MissingLabelsAndProcFileKeepDefaultsWithAWarning) {
    TempDir dir;
    BrukerFidSpec spec;
    spec.values = ramp(64);
    spec.procOffset.reset();
    const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->acqPars.DSPFVS = 11;
    ASSERT_TRUE(importBrukerFile(*doc, ui, fid));
    EXPECT_EQ(doc->acqPars.DECIM, 1) << "no DECIM label: no digital filter";
    EXPECT_EQ(doc->acqPars.DSPFVS, 11) << "no DSPFVS label: the previous value stays";
    EXPECT_EQ(doc->groupDelay, 0.0);
    EXPECT_EQ(doc->acqPars.offsetHz, 0.0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The 'proc' file was not found.\n The spectrum will not be automatically referenced");
    EXPECT_EQ(ui.messages[0].caption, "Warning");
}

TEST(BrukerFidTest, CompanionFilesAreFoundWhateverTheirCase) {
    TempDir dir;
    BrukerFidSpec spec;
    spec.values = ramp(64);
    spec.acqusName = "Acqus";
    spec.fidName = "FID";
    spec.procOffset = 10.0;
    spec.procInPdata = false;
    const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
    std::filesystem::rename(dir.file("proc"), dir.file("PROC"));
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ASSERT_TRUE(importBrukerFile(*doc, ui, fid));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_DOUBLE_EQ(doc->acqPars.offsetHz, 10.0 * 400.13 - 5000.0);
    EXPECT_EQ(doc->fileTitle, "FID");
}

TEST(BrukerFidTest, OversizedTdIsCappedOnceAndShortFilesEndInZeros) {
    TempDir dir;
    BrukerFidSpec spec;
    spec.values = ramp(kCapacity + 64);
    spec.procOffset = 0.0;
    const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ASSERT_TRUE(importBrukerFile(*doc, ui, fid));
    EXPECT_EQ(doc->nData, kCapacity);
    EXPECT_EQ(doc->specData[kCapacity - 1], spec.values[kCapacity - 1]);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Time domain exceeds Pelvaron capabilities \n It will be trucated to 64K data points");

    // TD announces more than the file holds: the rest reads as 0.
    TempDir dir2;
    BrukerFidSpec shortSpec;
    shortSpec.values = ramp(100);
    shortSpec.td = 4096;
    const std::string fid2 = testing::writeBrukerFid(dir2.path().string(), shortSpec);
    doc->specData.fill(3.0);
    ASSERT_TRUE(importBrukerFile(*doc, ui, fid2));
    EXPECT_EQ(doc->nData, 4096);
    EXPECT_EQ(doc->specData[99], shortSpec.values[99]);
    EXPECT_EQ(doc->specData[100], 0.0);
    EXPECT_EQ(doc->specData[4095], 0.0);
}

TEST(BrukerFidTest, AbsurdSizesNeverReadOutsideTheBuffer) {
    for (int td : {-16, 0, 2147483647}) {
        TempDir dir;
        BrukerFidSpec spec;
        spec.values = ramp(32);
        spec.td = td;
        const std::string fid = testing::writeBrukerFid(dir.path().string(), spec);
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        const bool loaded = importBrukerFile(*doc, ui, fid);
        EXPECT_LE(doc->nData, kCapacity) << "TD " << td;
        if (td <= 0) {
            EXPECT_FALSE(loaded);
            ASSERT_FALSE(ui.messages.empty());
            EXPECT_EQ(ui.messages.back().text, "Cannot Open Acqus");
            EXPECT_EQ(ui.messages.back().caption, "Error");
        } else {
            EXPECT_TRUE(loaded);
            EXPECT_EQ(doc->specData[31], spec.values[31]);
        }
    }
}

TEST(BrukerProcessedTest, PairsRealAndImaginaryFilesByTheirByteOrder) {
    struct Case {
        std::optional<std::string> version;
        std::optional<int> bytordp;
        bool bigEndian;
    };
    const Case cases[] = {
        {std::string("XWIN-NMR"), std::nullopt, true},
        {std::string("UXNMR"), std::nullopt, false},
        {std::nullopt, std::nullopt, false},
        {std::string("XWIN-NMR"), 0, false},  // the label outranks the version guess
        {std::nullopt, 1, true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        BrukerProcessedSpec spec;
        spec.real = ramp(8192);
        spec.imag = ramp(8192, -3.0);
        spec.version = c.version;
        spec.bytordp = c.bytordp;
        spec.bigEndian = c.bigEndian;
        spec.tdeff = 16384;
        spec.swp = 4000.0;
        spec.sf = 300.0;
        const std::string path = testing::writeBrukerProcessed(dir.file("pdata/1"), spec);
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ASSERT_TRUE(importBrukerFile(*doc, ui, path));
        ASSERT_EQ(doc->nData, 16384);
        for (int k = 0; k < 8192; ++k) {
            ASSERT_EQ(doc->specData[2 * k], spec.real[k]) << k;
            ASSERT_EQ(doc->specData[2 * k + 1], spec.imag[k]) << k;
        }
        EXPECT_DOUBLE_EQ(doc->acqPars.SW, 4000.0);
        EXPECT_DOUBLE_EQ(doc->acqPars.SF, 300.0);
        EXPECT_EQ(doc->acqPars.aqMode, 1);
        EXPECT_EQ(doc->acqPars.DECIM, 1);
    }
}

TEST(BrukerProcessedTest, SiPointsAreReadWhenTheyDifferFromTdeffAndDoublesWork) {
    TempDir dir;
    BrukerProcessedSpec spec;
    spec.real = ramp(4096);
    spec.imag = ramp(4096, 2.0);
    spec.tdeff = 2000;  // the acquired size, smaller than the transformed spectrum
    spec.si = 4096;
    spec.doubles = true;
    spec.bytordp = 1;
    spec.bigEndian = true;
    const std::string path = testing::writeBrukerProcessed(dir.path().string(), spec);
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ASSERT_TRUE(importBrukerFile(*doc, ui, dir.file("1i")));
    ASSERT_EQ(doc->nData, 8192);
    EXPECT_EQ(doc->specData[2 * 4095], spec.real[4095]);
    EXPECT_EQ(doc->specData[2 * 4095 + 1], spec.imag[4095]);
}

TEST(BrukerProcessedTest, MissingCompanionIsCannotOpenThisFile) {
    TempDir dir;
    BrukerProcessedSpec spec;
    spec.real = ramp(16);
    spec.imag = ramp(16);
    testing::writeBrukerProcessed(dir.path().string(), spec);
    std::filesystem::remove(dir.file("1i"));
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    EXPECT_FALSE(importBrukerFile(*doc, ui, dir.file("1r")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Cannot Open this file");
    EXPECT_EQ(ui.messages[0].caption, "Error");
}

TEST(AcqusTest, ValuesGluedToTheirLabelAndGarbageAreHandled) {
    TempDir dir;
    testing::writeFile(dir.file("acqus"), "##$TD=256 ##$SW_h=1234.5\n##$BF1=  100.5\n##$AQ_mod= 0\n");
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    BrukerDataFormat format;
    ASSERT_TRUE(readAcqus(*doc, ui, dir.file("acqus"), format));
    EXPECT_EQ(doc->acqPars.TD, 256);
    EXPECT_DOUBLE_EQ(doc->acqPars.SW, 1234.5);
    EXPECT_DOUBLE_EQ(doc->acqPars.SF, 100.5);
    EXPECT_EQ(doc->acqPars.complexData, 0);

    testing::writeFile(dir.file("garbage"), std::string("\x01\x02##$TD=\n\xff\xfe##$SW_h="));
    auto other = std::make_unique<Document>();
    EXPECT_TRUE(readAcqus(*other, ui, dir.file("garbage"), format));
    EXPECT_EQ(other->acqPars.TD, 0) << "a label with no number reads as 0";
    EXPECT_FALSE(readAcqus(*other, ui, dir.file("absent"), format));
}

}  // namespace
}  // namespace pelvaron::io
