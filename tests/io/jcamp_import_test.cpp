// Importing JCAMP-DX files: points, order and axis of files in the styles of spectrometer and
// processing software, compound files and their title comment, exports of the earlier layout.
#include "io/jcamp_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "io/file_dialogs.h"
#include "io/jcamp_reader.h"
#include "io_fixture.h"
#include "jcamp_fixtures.h"

namespace pelvaron::io {
namespace {

using testing::JcampDataSet;

/// The document holds the data set's points (in reverse order when `reversed`).
void expectPoints(const Scratch& s, const JcampDataSet& d, bool reversed = false) {
    const int n = static_cast<int>(d.real.size());
    for (int k = 0; k < n; ++k) {
        const int at = reversed ? n - 1 - k : k;
        ASSERT_EQ(std::pair(s.re(k), s.im(k)), (std::pair<double, double>(d.real[at], d.imag[at]))) << k;
    }
}

/// `d` with n points of one line at `at` and a dispersion-like imaginary part.
JcampDataSet lineSpectrum(int n, int at, JcampDataSet d = {}) {
    for (int k = 0; k < n; ++k) {
        const double x = k - at;
        d.real.push_back(std::lround(50000.0 / (1.0 + x * x / 4.0)) + (k % 3) - 1);
        d.imag.push_back(std::lround(25000.0 * x / (1.0 + x * x / 4.0)));
    }
    return d;
}

TEST(JcampImport, SpectraLoadOnTheirAxis) {
    const struct {
        const char* units;
        double firstX, lastX;  // of 48 points
        const char* labels;
        double sf, leftHz;
    } cases[] = {
        {"HZ", 3000, -1406.25, "##.SHIFT REFERENCE= INTERNAL, CDCl3, 1, 12.5", 400.13, 5001.625},
        {"HZ", 3000, -1406.25, "##$BF1= 400.12", 400.12, 3000},                   // the file's axis
        {"PPM", -1, 10.75, "$$ ascending", 400.13, 10.75 * 400.13},               // reversed
        {"PPM", -1, 10.75, "##$BF1= 400.1\n##$SF= 400.2", 400.2, 10.75 * 400.2},  // ppm of SF
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.labels);
        const JcampDataSet d = lineSpectrum(
            48, 10, {.xUnits = c.units, .firstX = c.firstX, .lastX = c.lastX, .extraHeader = {c.labels}});
        Scratch s;
        ASSERT_TRUE(s.importJcamp(testing::jcampNTuplesFile(d)));
        EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{});
        const AcqParams& p = s.doc->spectrum.acqPars;
        EXPECT_EQ(std::tuple(s.doc->spectrum.nData, p.TD, p.aqMode, p.complexData, p.SF,
                             s.doc->spectrum.referenceSource, s.doc->spectrum.xUnits),
                  std::tuple(96, 96, 1, 1, c.sf, ReferenceSource::JcampLabel, kPpm));
        EXPECT_NEAR(p.SW, 48 * std::fabs(c.lastX - c.firstX) / 47 * (c.units[0] == 'P' ? c.sf : 1), 1e-6);
        EXPECT_NEAR(s.doc->spectrum.offsetHz + p.SW, c.leftHz, 1e-6);
        expectPoints(s, d, c.lastX > c.firstX);
    }
}

TEST(JcampImport, SpectrometerFidLandsWhereItsLabelsSay) {
    // The aspirin FID as spectrometer software exports it: its reference in .SHIFT REFERENCE and
    // the processed set's labels, its filter in DECIM and DSPFVS (what the transform's proposal
    // reads) with "no group delay" (-1).
    Scratch bruker;
    ASSERT_TRUE(bruker.loadBruker(testing::sourcePath("tests/data/aspirin-1h/fid-set")));
    const int n = bruker.doc->spectrum.nData / 2;
    const double sw = bruker.doc->spectrum.acqPars.SW;
    JcampDataSet d{.dataType = "NMR FID", .xUnits = "SECONDS", .lastX = (n - 1) / sw};
    for (int k = 0; k < n; ++k) {
        d.real.push_back(static_cast<long>(bruker.re(k)));
        d.imag.push_back(static_cast<long>(bruker.im(k)));
    }
    const std::string shift = "##.SHIFT REFERENCE= INTERNAL, CDCl3, 1, 15.47866\n";
    const struct {
        std::string labels;
        double sf;
        std::optional<double> leftPpm;  // none: not referenced
        int decim, dspfvs;
        double groupDelay;
    } cases[] = {
        {shift + "##$BF1= 300.12\n##$SW_p= 4789.27203065133\n##$GRPDLY= 46.0", 300.12, 15.47866, 1, 0, 46},
        {"##$OFFSET= 15.4\n##$SF= 300.13\n##$BF1= 300.2", 300.13, 15.4, 1, 0, 0},
        {shift + "##$SW_p= 2000\n##$O1= 1000\n##$SF= 300.13\n##$BF1= 300.13", 300.13,
         (1000 + sw / 2) / 300.13, 1, 0, 0},
        {"", 400.13, std::nullopt, 1, 0, 0},
        {shift + "##$BF1= 300.13\n##$O1= 1000\n##$SF= 300.13\n##$DECIM= 24\n##$DSPFVS= 10\n##$GRPDLY= -1",
         300.13, 15.47866, 24, 10, 0},
    };
    Scratch s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.labels);
        d.extraHeader = {c.labels};
        s.doc->spectrum.acqPars.offsetHz = 77.0;  // left over from an earlier document, as is its filter
        s.doc->spectrum.acqPars.DECIM = 32;
        s.doc->spectrum.groupDelay = 60.0;
        ASSERT_TRUE(s.importJcamp(testing::jcampNTuplesFile(d)));
        EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{});
        const Document& doc = *s.doc;
        EXPECT_EQ(std::tuple(doc.spectrum.acqPars.SF, doc.spectrum.acqPars.DECIM, doc.spectrum.acqPars.DSPFVS,
                             doc.spectrum.groupDelay, doc.spectrum.xUnits),
                  std::tuple(c.sf, c.decim, c.dspfvs, c.groupDelay, kSeconds));
        EXPECT_NEAR(doc.spectrum.acqPars.SW, sw, 1e-3);
        EXPECT_EQ(doc.spectrum.referenceSource,
                  c.leftPpm ? ReferenceSource::JcampLabel : ReferenceSource::None);
        EXPECT_NEAR(doc.spectrum.offsetHz, c.leftPpm ? *c.leftPpm * c.sf - doc.spectrum.acqPars.SW : 0.0,
                    1e-3);
        expectPoints(s, d);
    }
}

TEST(JcampImport, CompoundFileTakesTheFirstNmrBlockWithItsTitleAsTheSelectedComment) {
    const JcampDataSet ir{
        .title = "infrared", .dataType = "INFRARED SPECTRUM", .xUnits = "1/CM", .real = {1, 2, 3}};
    const JcampDataSet nmr = lineSpectrum(30, 5, {.title = "a\tb\xC3\xA9z", .firstX = 2000, .lastX = 1710});
    Scratch s;
    s.doc->comments.boxes.push_back({Rect{1, 2, 3, 4}, "old"});
    ASSERT_TRUE(
        s.importJcamp(testing::jcampLinkFile({testing::jcampXYDataFile(ir), testing::jcampNTuplesFile(nmr),
                                              testing::jcampXYDataFile(lineSpectrum(20, 3))})));
    EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{});
    EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.doc->spectrum.acqPars.SW), std::tuple(60, 300.0));
    expectPoints(s, nmr);
    // Characters outside 27 to 127 become blanks. The recording interface measures 8 pixels a
    // character and 16 a line.
    const CommentList& c = s.doc->comments;
    ASSERT_EQ(c.boxes.size(), 1u);
    EXPECT_EQ(std::tuple(c.boxes[0].text, c.boxes[0].rect, c.selected),
              std::tuple(" a b  z", Rect{100, 50, 100 + 8 * 7, 50 + 16}, 0));
    EXPECT_EQ(jcampTitleComment(std::string("\x1a\x1b~\x7f\x80", 5)), " \x1b~\x7f ");
}

TEST(JcampImport, EarlierExportsReadAsBefore) {
    // Exports of the earlier layout: the page labelled real holds the imaginary parts, both pages
    // run from the end of the data, FIRST is SW and LAST offsetHz.
    std::vector<double> e;
    for (int i = 0; i < 16; ++i) e.push_back(i % 2 == 0 ? 100.0 * (i + 1) : -7.0 * i);
    auto scaled = [&](int i) { return std::trunc(e[i] * 10000 / 1500.0); };  // 1500: the largest real, e[14]
    Scratch s;
    s.doc->spectrum.acqPars.offsetHz = 42.0;
    ASSERT_TRUE(s.importJcamp(testing::legacyExport(e, 5000.0, 400.13, -300.0, true)));
    EXPECT_EQ(s.ui.messageTexts(), std::vector<std::string>{});
    // offsetHz is not part of what the earlier completion set. The version text starts new comments.
    EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.doc->spectrum.acqPars.SW, s.doc->spectrum.acqPars.offsetHz,
                         s.doc->jcamp.lastJcampText),
              std::tuple(16, 5000.0, 42.0, " 5.00 $$Pelvaron 1.5"));
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(std::pair(s.re(k), s.im(k)), std::pair(scaled(2 * k), scaled(2 * k + 1)));

    // The earlier real-part export held the imaginary parts: they come back as the real parts.
    ASSERT_TRUE(s.importJcamp(testing::legacyExport(e, 5000.0, 400.13, -300.0, false)));
    for (int k = 0; k < 8; ++k) EXPECT_EQ(std::pair(s.re(k), s.im(k)), std::pair(scaled(2 * k + 1), 0.0));

    // With LASTX not below FIRSTX the earlier exports stay as written (from the end backwards).
    ASSERT_TRUE(s.importJcamp(testing::legacyExport(e, 5000.0, 400.13, 6000.0, true)));
    EXPECT_EQ(s.re(0), scaled(14));
}

TEST(JcampImport, FileEntryPointReadsTheWholeFileAndReportsFailures) {
    Scratch file;
    file.doc->spectrum.acqPars.SW = 1234.0;
    for (const std::string& path : {file.dir.file("data.jdx"), file.dir.path().string()}) {
        setFilePath(*file.doc, path);
        EXPECT_FALSE(importJcamp(*file.doc, file.ui));
        EXPECT_EQ(file.ui.messageTexts(),
                  (std::vector<std::string>{"Error opening file", "Cannot Open this file"}));
        EXPECT_EQ(std::tuple(file.ui.messages[0].caption, file.ui.messages[1].caption),
                  std::tuple("error", "Error"));
        EXPECT_FALSE(looksLikeJcamp(path));
        file.ui.messages.clear();
    }
    EXPECT_EQ(std::tuple(file.doc->spectrum.acqPars.SW, file.ui.titles.size()), std::tuple(1234.0, 0u));
    const JcampDataSet d = lineSpectrum(64, 10, {.firstX = 3000, .lastX = -2906.25});
    testing::writeFile(file.dir.file("data.jdx"), testing::jcampNTuplesFile(d));
    EXPECT_TRUE(looksLikeJcamp(file.dir.file("data.jdx")));
    setFilePath(*file.doc, file.dir.file("data.jdx"));
    ASSERT_TRUE(importJcamp(*file.doc, file.ui));
    EXPECT_EQ(std::tuple(file.doc->spectrum.nData, file.doc->spectrum.acqPars.SW, file.ui.messages.size()),
              std::tuple(128, 6000.0, 0u));
    expectPoints(file, d);
    // Data files only: a parameter file such as acqus is no JCAMP-DX data.
    EXPECT_TRUE(looksLikeJcampText("\xEF\xBB\xBF##TITLE= x\n##DATA TYPE= LINK\n"));
    EXPECT_FALSE(looksLikeJcampText("##TITLE= Parameter file\n##JCAMPDX= 5.0\n##$TD= 16384\n##END=\n"));
}

}  // namespace
}  // namespace pelvaron::io
