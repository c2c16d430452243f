// Importing JCAMP-DX files: points, order and axis of files in the styles of spectrometer and
// processing software, compound files, exports of the earlier layout, the title comment.
#include "io/jcamp_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "io/file_dialogs.h"
#include "io/jcamp_reader.h"
#include "jcamp_fixtures.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {
namespace {

using testing::AsdfForm;
using testing::JcampDataSet;
using testing::RecordingUserInterface;

struct Import {
    testing::TempDir dir;
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    RecordingUserInterface ui;
    bool ok = false;

    bool run(const std::string& text, const std::string& name = "data.jdx") {
        testing::writeFile(dir.file(name), text);
        setFilePath(*doc, dir.file(name));
        doc->specData.fill(0.0);
        ok = importJcamp(*doc, ui);
        return ok;
    }
    [[nodiscard]] double re(int k) const { return doc->specData[2 * k]; }
    [[nodiscard]] double im(int k) const { return doc->specData[2 * k + 1]; }
};

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
    Import imp;
    ASSERT_TRUE(imp.run(testing::jcampNTuplesFile(d)));
    EXPECT_TRUE(imp.ui.messages.empty()) << imp.ui.messages.front().text;
    const Document& doc = *imp.doc;
    EXPECT_EQ(doc.nData, 128);
    EXPECT_EQ(doc.acqPars.TD, 128);
    EXPECT_NEAR(doc.acqPars.SW, 6000.0, 1e-6);  // 64 points of 93.75 Hz, not the first abscissa
    EXPECT_DOUBLE_EQ(doc.acqPars.SF, 400.13);
    EXPECT_EQ(doc.acqPars.aqMode, 1);
    EXPECT_EQ(doc.acqPars.complexData, 1);
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(imp.re(k), d.real[k]) << k;
        EXPECT_EQ(imp.im(k), d.imag[k]) << k;
    }
    // The first point lies at 12.5 ppm: offsetHz + SW.
    EXPECT_NEAR(doc.offsetHz + doc.acqPars.SW, 12.5 * 400.13, 1e-6);
    EXPECT_EQ(doc.peakIndex, 20);

    // Without the shift reference the axis is the file's own.
    d.extraHeader.clear();
    Import plain;
    ASSERT_TRUE(plain.run(testing::jcampNTuplesFile(d)));
    EXPECT_NEAR(plain.doc->offsetHz + plain.doc->acqPars.SW, 3000.0, 1e-6);
}

TEST(JcampImport, AscendingAxesAreTurnedAround) {
    // Processing software writing low to high frequency, in ppm, on one XYDATA table.
    JcampDataSet d = lineSpectrum(49, 40);
    d.xUnits = "PPM";
    d.firstX = -1.0;
    d.lastX = 11.0;
    d.form = AsdfForm::Affn;
    Import imp;
    ASSERT_TRUE(imp.run(testing::jcampXYDataFile(d)));
    const Document& doc = *imp.doc;
    EXPECT_EQ(doc.nData, 98);
    EXPECT_NEAR(doc.acqPars.SW, 49 * 0.25 * 400.13, 1e-6);
    EXPECT_NEAR(doc.offsetHz + doc.acqPars.SW, 11.0 * 400.13, 1e-6);
    for (int k = 0; k < 49; ++k) {
        EXPECT_EQ(imp.re(k), d.real[48 - k]) << k;
        EXPECT_EQ(imp.im(k), 0.0) << k;
    }
    EXPECT_EQ(doc.peakIndex, 2 * 8);
}

TEST(JcampImport, FidLoadsForwardInTime) {
    JcampDataSet d;
    d.dataType = "NMR FID";
    d.xUnits = "SECONDS";
    for (int k = 0; k < 40; ++k) {
        d.real.push_back(static_cast<long>(10000 * std::exp(-k / 10.0) * std::cos(k * 0.7)));
        d.imag.push_back(static_cast<long>(10000 * std::exp(-k / 10.0) * std::sin(k * 0.7)));
    }
    d.firstX = 0.0;
    d.lastX = 39 / 5000.0;
    d.extraHeader = {"##$DECIM= 16", "##$DSPFVS= 12", "##$GRPDLY= 46.0"};
    Import imp;
    imp.doc->acqPars.offsetHz = 77.0;  // left over from an earlier document
    ASSERT_TRUE(imp.run(testing::jcampNTuplesFile(d)));
    const Document& doc = *imp.doc;
    EXPECT_NEAR(doc.acqPars.SW, 5000.0, 1e-6);
    EXPECT_EQ(doc.acqPars.DECIM, 16);
    EXPECT_EQ(doc.acqPars.DSPFVS, 12);
    EXPECT_EQ(doc.groupDelay, 46.0);
    EXPECT_EQ(doc.offsetHz, 0.0);
    for (int k = 0; k < 40; ++k) EXPECT_EQ(imp.re(k), d.real[k]) << k;

    // Without filter labels, nothing of an earlier data set's filter remains.
    d.extraHeader.clear();
    Import next;
    next.doc->acqPars.DECIM = 32;
    next.doc->groupDelay = 60.0;
    ASSERT_TRUE(next.run(testing::jcampNTuplesFile(d)));
    EXPECT_EQ(next.doc->acqPars.DECIM, 1);
    EXPECT_EQ(next.doc->groupDelay, 0.0);
}

TEST(JcampImport, CompoundFileTakesTheFirstNmrBlock) {
    JcampDataSet ir;
    ir.title = "infrared";
    ir.dataType = "INFRARED SPECTRUM";
    ir.xUnits = "1/CM";
    ir.real = {1, 2, 3};
    ir.firstX = 4000;
    ir.lastX = 400;
    JcampDataSet nmr = lineSpectrum(30, 5);
    nmr.title = "proton";
    nmr.firstX = 2000;
    nmr.lastX = 2000 - 29 * 10.0;
    JcampDataSet carbon = lineSpectrum(20, 3);
    carbon.title = "carbon";
    Import imp;
    ASSERT_TRUE(imp.run(testing::jcampLinkFile(
        {testing::jcampXYDataFile(ir), testing::jcampNTuplesFile(nmr), testing::jcampXYDataFile(carbon)})));
    EXPECT_TRUE(imp.ui.messages.empty()) << imp.ui.messages.front().text;
    EXPECT_EQ(imp.doc->nData, 60);
    EXPECT_EQ(imp.re(5), nmr.real[5]);
    EXPECT_EQ(imp.im(7), nmr.imag[7]);
    EXPECT_NEAR(imp.doc->acqPars.SW, 300.0, 1e-9);
    ASSERT_EQ(imp.doc->comments.boxes.size(), 1u);
    EXPECT_EQ(imp.doc->comments.boxes[0].text, " proton");
}

TEST(JcampImport, EarlierExportsReadAsBefore) {
    // Exports of the earlier layout: the page labelled real holds the imaginary parts, both pages
    // run from the end of the data, FIRST is SW and LAST offsetHz.
    std::vector<double> e;
    for (int i = 0; i < 16; ++i) e.push_back(i % 2 == 0 ? 100.0 * (i + 1) : -7.0 * i);
    const double p = 1500.0;  // the largest real value, e[14]
    Import imp;
    imp.doc->acqPars.offsetHz = 42.0;
    ASSERT_TRUE(imp.run(testing::legacyNTuplesExport(e, 5000.0, 400.13, -300.0)));
    EXPECT_TRUE(imp.ui.messages.empty()) << imp.ui.messages.front().text;
    const Document& doc = *imp.doc;
    EXPECT_TRUE(doc.jcamp.legacyLayout);
    EXPECT_EQ(doc.nData, 16);
    EXPECT_EQ(doc.acqPars.SW, 5000.0);
    EXPECT_EQ(doc.acqPars.offsetHz, 42.0);  // not part of what the earlier completion set
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(imp.re(k), std::trunc(e[2 * k] * 10000 / p)) << k;
        EXPECT_EQ(imp.im(k), std::trunc(e[2 * k + 1] * 10000 / p)) << k;
    }

    // The earlier real-part export held the imaginary parts: they come back as the real parts.
    Import xy;
    ASSERT_TRUE(xy.run(testing::legacyXYDataExport(e, 5000.0, 400.13, -300.0)));
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(xy.re(k), std::trunc(e[2 * k + 1] * 10000 / p)) << k;
        EXPECT_EQ(xy.im(k), 0.0);
    }

    // With LASTX not below FIRSTX the earlier exports stay as written (from the end backwards).
    Import fid;
    ASSERT_TRUE(fid.run(testing::legacyNTuplesExport(e, 5000.0, 400.13, 6000.0)));
    EXPECT_EQ(fid.re(0), std::trunc(e[14] * 10000 / p));
}

TEST(JcampImport, TitleBecomesTheSelectedComment) {
    JcampDataSet d = lineSpectrum(8, 2);
    d.title = "a\tb\xC3\xA9z";
    d.firstX = 100;
    d.lastX = 30;
    Import imp;
    imp.doc->comments.boxes.push_back({Rect{1, 2, 3, 4}, "old"});
    ASSERT_TRUE(imp.run(testing::jcampXYDataFile(d)));
    const CommentList& c = imp.doc->comments;
    ASSERT_EQ(c.boxes.size(), 1u);
    EXPECT_EQ(c.boxes[0].text, " a b  z");
    // The recording interface measures 8 pixels a character and 16 a line.
    EXPECT_EQ(c.boxes[0].rect, (Rect{100, 50, 100 + 8 * 7, 50 + 16}));
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(imp.ui.titles.back(), "Pelvaron 1.5.0 data.jdx");
    EXPECT_GE(imp.ui.waitCursorOn, 1);
    EXPECT_GE(imp.ui.repaints, 1);

    EXPECT_EQ(jcampTitleComment(std::string("\x1a\x1b~\x7f\x80", 5)), " \x1b~\x7f ");
}

TEST(JcampImport, FailureLeavesTheDocument) {
    Import imp;
    imp.doc->acqPars.SW = 1234.0;
    setFilePath(*imp.doc, imp.dir.file("absent.jdx"));
    EXPECT_FALSE(importJcamp(*imp.doc, imp.ui));
    ASSERT_EQ(imp.ui.messages.size(), 2u);
    EXPECT_EQ(imp.ui.messages[0].text, "Error opening file");
    EXPECT_EQ(imp.ui.messages[1].text, "Cannot Open this file");
    EXPECT_EQ(imp.ui.messages[1].caption, "Error");
    EXPECT_EQ(imp.doc->acqPars.SW, 1234.0);
    EXPECT_TRUE(imp.ui.titles.empty());

    // An NTUPLES file over the capacity: one warning and 65536 points.
    JcampDataSet big;
    big.real.assign(70000, 5);
    big.imag.assign(70000, -5);
    big.firstX = 70000;
    big.lastX = 1;
    Import cap;
    ASSERT_TRUE(cap.run(testing::jcampNTuplesFile(big)));
    ASSERT_EQ(cap.ui.messages.size(), 1u);
    EXPECT_EQ(cap.ui.messages[0].caption, "Warning");
    EXPECT_EQ(cap.doc->nData, kCapacity);
    EXPECT_EQ(cap.re(65535), 5.0);
    EXPECT_EQ(cap.im(65535), -5.0);
}

TEST(JcampImport, DetectsJcampFiles) {
    testing::TempDir dir;
    JcampDataSet d = lineSpectrum(4, 1);
    testing::writeFile(dir.file("s.dx"), testing::jcampNTuplesFile(d));
    testing::writeFile(dir.file("acqus"), "##TITLE= Parameter file\n##JCAMPDX= 5.0\n##$TD= 16384\n##END=\n");
    EXPECT_TRUE(looksLikeJcamp(dir.file("s.dx")));
    EXPECT_FALSE(looksLikeJcamp(dir.file("acqus")));
    EXPECT_FALSE(looksLikeJcamp(dir.file("none")));
}

}  // namespace
}  // namespace pelvaron::io
