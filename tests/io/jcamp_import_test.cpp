// Importing JCAMP-DX files: points, order and axis of files in the styles of spectrometer and
// processing software, compound files, exports of the earlier layout, the title comment.
#include "io/jcamp_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "io/file_dialogs.h"
#include "io/jcamp_reader.h"
#include "io_fixture.h"
#include "jcamp_fixtures.h"
#include "processing/fourier_dialog.h"

namespace pelvaron::io {
namespace {

using testing::AsdfForm;
using testing::JcampDataSet;

/// Imports `text` as the file data.jdx into the scratch document.
bool importText(Scratch& s, const std::string& text) {
    testing::writeFile(s.dir.file("data.jdx"), text);
    setFilePath(*s.doc, s.dir.file("data.jdx"));
    s.doc->specData.fill(0.0);
    return importJcamp(*s.doc, s.ui);
}

/// The document holds these complex points (a reversed real part when `reversed`).
void expectPoints(const Scratch& s, const std::vector<long>& re, const std::vector<long>& im,
                  bool reversed = false) {
    const int n = static_cast<int>(re.size());
    for (int k = 0; k < n; ++k) {
        EXPECT_EQ(s.re(k), re[reversed ? n - 1 - k : k]) << k;
        EXPECT_EQ(s.im(k), im.empty() ? 0 : im[k]) << k;
    }
}

/// A spectrum of n points with one line at `at` and a dispersion-like imaginary part.
JcampDataSet lineSpectrum(int n, int at) {
    JcampDataSet d;
    for (int k = 0; k < n; ++k) {
        const double x = k - at;
        d.real.push_back(static_cast<long>(std::lround(50000.0 / (1.0 + x * x / 4.0))) + (k % 3) - 1);
        d.imag.push_back(static_cast<long>(std::lround(25000.0 * x / (1.0 + x * x / 4.0))));
    }
    return d;
}

TEST(JcampImport, SpectrometerSpectrumLoadsOnItsAxis) {
    // Descending frequency, as spectrometers write it, with the ppm of point 1 named.
    JcampDataSet d = lineSpectrum(64, 10);
    d.firstX = 3000.0;
    d.lastX = 3000.0 - 63 * 93.75;
    d.extraHeader = {"##.SHIFT REFERENCE= INTERNAL, CDCl3, 1, 12.5"};
    Scratch s;
    ASSERT_TRUE(importText(s, testing::jcampNTuplesFile(d)));
    EXPECT_TRUE(s.ui.messages.empty()) << s.ui.messages.front().text;
    const Document& doc = *s.doc;
    EXPECT_EQ(std::tuple(doc.nData, doc.acqPars.TD, doc.acqPars.aqMode, doc.acqPars.complexData),
              std::tuple(128, 128, 1, 1));
    EXPECT_NEAR(doc.acqPars.SW, 6000.0, 1e-6);  // 64 points of 93.75 Hz, not the first abscissa
    EXPECT_DOUBLE_EQ(doc.acqPars.SF, 400.13);
    expectPoints(s, d.real, d.imag);
    // The first point lies at 12.5 ppm: offsetHz + SW.
    EXPECT_NEAR(doc.offsetHz + doc.acqPars.SW, 12.5 * 400.13, 1e-6);
    EXPECT_EQ(doc.peakIndex, 20);
    EXPECT_EQ(doc.referenceSource, ReferenceSource::JcampLabel);

    // Without the shift reference the axis is the file's own; BF1 is the frequency of 0 ppm.
    d.extraHeader = {"##$BF1= 400.12"};
    Scratch plain;
    ASSERT_TRUE(importText(plain, testing::jcampNTuplesFile(d)));
    EXPECT_NEAR(plain.doc->offsetHz + plain.doc->acqPars.SW, 3000.0, 1e-6);
    EXPECT_EQ(plain.doc->acqPars.SF, 400.12);
    EXPECT_EQ(plain.doc->referenceSource, ReferenceSource::JcampLabel);

    // Either way it opens as the spectrum it is: ppm, and the inverse transform proposed.
    for (Scratch* opened : {&s, &plain}) {
        EXPECT_EQ(opened->doc->xUnits, kPpm);
        processing::FourierDialog ft(*opened->doc);
        ft.open();
        EXPECT_EQ(std::tuple(ft.inverse, ft.rotate), std::tuple(1, 0));
    }
}

TEST(JcampImport, AscendingAxesAreTurnedAround) {
    // Processing software writing low to high frequency, in ppm, on one XYDATA table.
    JcampDataSet d = lineSpectrum(49, 40);
    d.xUnits = "PPM";
    d.firstX = -1.0;
    d.lastX = 11.0;
    d.form = AsdfForm::Affn;
    Scratch s;
    ASSERT_TRUE(importText(s, testing::jcampXYDataFile(d)));
    EXPECT_EQ(s.doc->nData, 98);
    EXPECT_NEAR(s.doc->acqPars.SW, 49 * 0.25 * 400.13, 1e-6);
    EXPECT_NEAR(s.doc->offsetHz + s.doc->acqPars.SW, 11.0 * 400.13, 1e-6);
    expectPoints(s, d.real, {}, true);
    EXPECT_EQ(s.doc->peakIndex, 2 * 8);
}

TEST(JcampImport, FidLoadsForwardInTimeWithItsFilterOnly) {
    JcampDataSet d{.dataType = "NMR FID", .xUnits = "SECONDS", .firstX = 0.0, .lastX = 39 / 5000.0};
    for (int k = 0; k < 40; ++k) {
        d.real.push_back(static_cast<long>(10000 * std::exp(-k / 10.0) * std::cos(k * 0.7)));
        d.imag.push_back(static_cast<long>(10000 * std::exp(-k / 10.0) * std::sin(k * 0.7)));
    }
    d.extraHeader = {"##$DECIM= 16", "##$DSPFVS= 12", "##$GRPDLY= 46.0"};
    Scratch s;
    s.doc->acqPars.offsetHz = 77.0;  // left over from an earlier document
    ASSERT_TRUE(importText(s, testing::jcampNTuplesFile(d)));
    EXPECT_NEAR(s.doc->acqPars.SW, 5000.0, 1e-6);
    EXPECT_EQ(std::tuple(s.doc->acqPars.DECIM, s.doc->acqPars.DSPFVS, s.doc->groupDelay, s.doc->offsetHz),
              std::tuple(16, 12, 46.0, 0.0));
    EXPECT_EQ(s.doc->referenceSource, ReferenceSource::None);
    EXPECT_EQ(std::tuple(s.doc->xUnits, s.doc->ftInverse), std::tuple(kSeconds, 0));
    expectPoints(s, d.real, d.imag);

    // Without filter labels, nothing of an earlier data set's filter remains.
    d.extraHeader.clear();
    s.doc->acqPars.DECIM = 32;
    s.doc->groupDelay = 60.0;
    ASSERT_TRUE(importText(s, testing::jcampNTuplesFile(d)));
    EXPECT_EQ(s.doc->acqPars.DECIM, 1);
    EXPECT_EQ(s.doc->groupDelay, 0.0);
}

TEST(JcampImport, SpectrometerFidLandsWhereItsLabelsSay) {
    // The aspirin FID as spectrometer software exports it: its reference in .SHIFT REFERENCE and
    // the processed set's labels, its filter in DECIM and DSPFVS with "no group delay" (-1).
    Scratch bruker;
    ASSERT_TRUE(bruker.loadBruker(testing::sourcePath("tests/data/aspirin-1h/fid-set")));
    const Document& b = *bruker.doc;
    const int n = b.nData / 2;
    JcampDataSet d{
        .title = "aspirin", .dataType = "NMR FID", .xUnits = "SECONDS", .lastX = (n - 1) / b.acqPars.SW};
    for (int k = 0; k < n; ++k) {
        d.real.push_back(static_cast<long>(bruker.re(k)));
        d.imag.push_back(static_cast<long>(bruker.im(k)));
    }
    const std::vector<std::string> labels = {"##.SHIFT REFERENCE= INTERNAL, CDCl3, 1, 15.47866",
                                             "##$BF1= 300.13",
                                             "##$DECIM= 24",
                                             "##$DSPFVS= 10",
                                             "##$GRPDLY= -1",
                                             "##$O1= 1000",
                                             "##$OFFSET= 15.4",
                                             "##$SF= 300.13",
                                             "##$SW_p= 4789.27203065133"};
    /// The labels with the one starting `name` replaced by `line` (dropped when empty).
    auto edit = [](std::vector<std::string> h, const std::string& name, const std::string& line) {
        for (auto& l : h)
            if (l.rfind(name, 0) == 0) l = line;
        std::erase(h, "");
        return h;
    };
    const double sw = b.acqPars.SW;
    const double o1Left = (1000 + sw / 2) / 300.13;  // ppm of the first point from O1 and BF1
    struct Case {
        const char* what;
        std::vector<std::string> labels;
        double sf;
        std::optional<double> leftPpm;  // none: not referenced
    };
    const Case cases[] = {
        {"as exported", labels, 300.13, 15.47866},
        {"BF1 without SF", edit(edit(labels, "##$SF=", ""), "##$BF1=", "##$BF1= 300.12"), 300.12, 15.47866},
        {"neither SF nor BF1", edit(edit(labels, "##$SF=", ""), "##$BF1=", ""), 400.13, 15.47866},
        {"OFFSET alone", edit(labels, "##.SHIFT", ""), 300.13, 15.4},
        {"a processed strip", edit(labels, "##$SW_p=", "##$SW_p= 2000"), 300.13, o1Left},
        {"no reference", edit(edit(edit(labels, "##.SHIFT", ""), "##$OFFSET=", ""), "##$O1=", ""), 300.13,
         std::nullopt},
    };
    for (const Case& c : cases) {
        d.extraHeader = c.labels;
        Scratch s;
        ASSERT_TRUE(importText(s, testing::jcampNTuplesFile(d))) << c.what;
        EXPECT_TRUE(s.ui.messages.empty()) << c.what;
        const Document& doc = *s.doc;
        EXPECT_EQ(doc.acqPars.SF, c.sf) << c.what;
        EXPECT_NEAR(doc.acqPars.SW, sw, 1e-3) << c.what;
        if (c.leftPpm) {
            EXPECT_EQ(doc.referenceSource, ReferenceSource::JcampLabel) << c.what;
            EXPECT_NEAR((doc.offsetHz + doc.acqPars.SW) / c.sf, *c.leftPpm, 1e-6) << c.what;
        } else {
            EXPECT_EQ(doc.referenceSource, ReferenceSource::None) << c.what;
            EXPECT_EQ(doc.offsetHz, 0.0) << c.what;
        }
        // The table's delay for DECIM 24 and DSPFVS 10 is proposed, as for the Bruker FID.
        EXPECT_EQ(doc.groupDelay, 0.0) << c.what;
        EXPECT_EQ(doc.xUnits, kSeconds) << c.what;
        processing::FourierDialog ft(*s.doc);
        ft.open();
        EXPECT_EQ(std::tuple(ft.inverse, ft.rotate, ft.rotateCountText), std::tuple(0, 1, "61")) << c.what;
    }

    // As exported, the FID is the Bruker reader's, on the Bruker reader's axis.
    d.extraHeader = labels;
    Scratch s;
    ASSERT_TRUE(importText(s, testing::jcampNTuplesFile(d)));
    ASSERT_EQ(s.doc->nData, b.nData);
    for (int i = 0; i < b.nData; ++i) ASSERT_EQ(s.doc->specData[i], b.specData[i]) << i;
    EXPECT_NEAR(s.doc->offsetHz, b.offsetHz, 1e-2);
    EXPECT_EQ(s.doc->acqPars.SF, b.acqPars.SF);
}

TEST(JcampImport, CompoundFileTakesTheFirstNmrBlock) {
    const JcampDataSet ir{.title = "infrared",
                          .dataType = "INFRARED SPECTRUM",
                          .xUnits = "1/CM",
                          .firstX = 4000,
                          .lastX = 400,
                          .real = {1, 2, 3}};
    JcampDataSet nmr = lineSpectrum(30, 5);
    nmr.title = "proton";
    nmr.firstX = 2000;
    nmr.lastX = 2000 - 29 * 10.0;
    JcampDataSet carbon = lineSpectrum(20, 3);
    carbon.title = "carbon";
    Scratch s;
    ASSERT_TRUE(
        importText(s, testing::jcampLinkFile({testing::jcampXYDataFile(ir), testing::jcampNTuplesFile(nmr),
                                              testing::jcampXYDataFile(carbon)})));
    EXPECT_TRUE(s.ui.messages.empty()) << s.ui.messages.front().text;
    EXPECT_EQ(s.doc->nData, 60);
    expectPoints(s, nmr.real, nmr.imag);
    EXPECT_NEAR(s.doc->acqPars.SW, 300.0, 1e-9);
    ASSERT_EQ(s.doc->comments.boxes.size(), 1u);
    EXPECT_EQ(s.doc->comments.boxes[0].text, " proton");
}

TEST(JcampImport, EarlierExportsReadAsBefore) {
    // Exports of the earlier layout: the page labelled real holds the imaginary parts, both pages
    // run from the end of the data, FIRST is SW and LAST offsetHz.
    std::vector<double> e;
    for (int i = 0; i < 16; ++i) e.push_back(i % 2 == 0 ? 100.0 * (i + 1) : -7.0 * i);
    auto scaled = [&](int i) { return std::trunc(e[i] * 10000 / 1500.0); };  // 1500: the largest real, e[14]
    Scratch s;
    s.doc->acqPars.offsetHz = 42.0;
    ASSERT_TRUE(importText(s, testing::legacyExport(e, 5000.0, 400.13, -300.0, true)));
    EXPECT_TRUE(s.ui.messages.empty()) << s.ui.messages.front().text;
    EXPECT_TRUE(s.doc->jcamp.legacyLayout);
    EXPECT_EQ(s.doc->nData, 16);
    EXPECT_EQ(s.doc->acqPars.SW, 5000.0);
    EXPECT_EQ(s.doc->acqPars.offsetHz, 42.0);  // not part of what the earlier completion set
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(s.re(k), scaled(2 * k)) << k;
        EXPECT_EQ(s.im(k), scaled(2 * k + 1)) << k;
    }

    // The earlier real-part export held the imaginary parts: they come back as the real parts.
    ASSERT_TRUE(importText(s, testing::legacyExport(e, 5000.0, 400.13, -300.0, false)));
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(s.re(k), scaled(2 * k + 1)) << k;
        EXPECT_EQ(s.im(k), 0.0);
    }

    // With LASTX not below FIRSTX the earlier exports stay as written (from the end backwards).
    ASSERT_TRUE(importText(s, testing::legacyExport(e, 5000.0, 400.13, 6000.0, true)));
    EXPECT_EQ(s.re(0), scaled(14));
}

TEST(JcampImport, TitleBecomesTheSelectedComment) {
    JcampDataSet d = lineSpectrum(8, 2);
    d.title = "a\tb\xC3\xA9z";
    d.firstX = 100;
    d.lastX = 30;
    Scratch s;
    s.doc->comments.boxes.push_back({Rect{1, 2, 3, 4}, "old"});
    ASSERT_TRUE(importText(s, testing::jcampXYDataFile(d)));
    const CommentList& c = s.doc->comments;
    ASSERT_EQ(c.boxes.size(), 1u);
    EXPECT_EQ(c.boxes[0].text, " a b  z");
    // The recording interface measures 8 pixels a character and 16 a line.
    EXPECT_EQ(c.boxes[0].rect, (Rect{100, 50, 100 + 8 * 7, 50 + 16}));
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(s.ui.titles.back(), "Pelvaron 1.5.0 data.jdx");
    EXPECT_GE(s.ui.waitCursorOn, 1);
    EXPECT_GE(s.ui.repaints, 1);

    EXPECT_EQ(jcampTitleComment(std::string("\x1a\x1b~\x7f\x80", 5)), " \x1b~\x7f ");
}

TEST(JcampImport, FailureLeavesTheDocumentAndOverCapacityIsCapped) {
    Scratch s;
    s.doc->acqPars.SW = 1234.0;
    setFilePath(*s.doc, s.dir.file("absent.jdx"));
    EXPECT_FALSE(importJcamp(*s.doc, s.ui));
    EXPECT_EQ(s.ui.messageTexts(), (std::vector<std::string>{"Error opening file", "Cannot Open this file"}));
    EXPECT_EQ(s.ui.messages[1].caption, "Error");
    EXPECT_EQ(s.doc->acqPars.SW, 1234.0);
    EXPECT_TRUE(s.ui.titles.empty());

    // An NTUPLES file over the capacity: one warning and the capacity's points.
    constexpr int kOver = kCapacity / 2 + 4000;
    const JcampDataSet big{.firstX = kOver,
                           .lastX = 1,
                           .real = std::vector<long>(kOver, 5),
                           .imag = std::vector<long>(kOver, -5)};
    Scratch cap;
    ASSERT_TRUE(importText(cap, testing::jcampNTuplesFile(big)));
    ASSERT_EQ(cap.ui.messages.size(), 1u);
    EXPECT_EQ(cap.ui.messages[0].caption, "Warning");
    EXPECT_EQ(cap.doc->nData, kCapacity);
    EXPECT_EQ(cap.re(kCapacity / 2 - 1), 5.0);
    EXPECT_EQ(cap.im(kCapacity / 2 - 1), -5.0);
}

TEST(JcampImport, FileAndMemoryEntryPointsAgree) {
    JcampDataSet d = lineSpectrum(64, 10);
    d.firstX = 3000.0;
    d.lastX = 3000.0 - 63 * 93.75;
    const std::string text = testing::jcampNTuplesFile(d);
    Scratch file, memory;
    ASSERT_TRUE(importText(file, text));
    setFilePath(*memory.doc, file.doc->filePath);
    ASSERT_TRUE(importJcampText(*memory.doc, memory.ui, text));
    EXPECT_EQ(memory.doc->acqPars, file.doc->acqPars);
    EXPECT_EQ(std::tuple(memory.doc->refIndex, memory.doc->xUnits, memory.doc->comments.boxes.size()),
              std::tuple(file.doc->refIndex, file.doc->xUnits, file.doc->comments.boxes.size()));
    EXPECT_TRUE(std::equal(file.doc->specData.begin(), file.doc->specData.end(), memory.doc->specData.begin()));
    EXPECT_EQ(memory.ui.messageTexts(), file.ui.messageTexts());
}

TEST(JcampImport, DetectsJcampDataFilesOnly) {
    const JcampDataSet d{.real = {1, 2}, .imag = {1, 2}};
    const std::string acqus = "##TITLE= Parameter file\n##JCAMPDX= 5.0\n##$TD= 16384\n##END=\n";
    EXPECT_TRUE(looksLikeJcampText(testing::jcampXYDataFile(d)));
    EXPECT_TRUE(looksLikeJcampText("\xEF\xBB\xBF##TITLE= x\n##DATA TYPE= LINK\n"));
    EXPECT_FALSE(looksLikeJcampText(acqus));
    EXPECT_FALSE(looksLikeJcampText(std::string("PLV\0\0\0", 6)));
    testing::TempDir dir;
    testing::writeFile(dir.file("s.dx"), testing::jcampNTuplesFile(d));
    testing::writeFile(dir.file("acqus"), acqus);
    EXPECT_TRUE(looksLikeJcamp(dir.file("s.dx")));
    EXPECT_FALSE(looksLikeJcamp(dir.file("acqus")));
    EXPECT_FALSE(looksLikeJcamp(dir.file("none")));
}

}  // namespace
}  // namespace pelvaron::io
