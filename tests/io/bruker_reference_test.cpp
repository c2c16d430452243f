// Where a Bruker data set's ppm axis comes from: the processed set that spans the acquisition,
// the acquisition itself, or nothing; and processed spectra opened on their own axis.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "bruker_writer.h"
#include "document/units.h"
#include "io_fixture.h"
#include "processing/fourier_dialog.h"
#include "processing/phase.h"
#include "processing/window_function_dialog.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFidSpec;
using testing::parameterFile;

const std::string kAspirin = "tests/data/aspirin-1h/";

std::string exact(double v) {
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

/// A processed set of width `swp` whose first point lies at `offset` ppm.
std::string processedSet(double swp, double offset, double sf) {
    return parameterFile({{"OFFSET", exact(offset)},
                          {"SF", exact(sf)},
                          {"SI", "8192"},
                          {"SW_p", exact(swp)}});
}

TEST(BrukerReference, TheSetSpanningTheAcquisitionThenTheAcquisitionThenNothing) {
    const double sw = 5000.0, bf1 = 400.13, sf = 400.1300123;
    struct Case {
        const char* what;
        std::optional<std::string> procs, proc;
        std::optional<double> o1;
        ReferenceSource source;
        double offsetHz;
        double sfUsed;
    };
    const std::string strip = processedSet(2000.0, 5.0, sf);
    const Case cases[] = {
        // A strip proc beside a full procs: the procs wins, and its SF is the axis frequency.
        {"full procs", processedSet(sw, 10.0, sf), strip, 1234.0, ReferenceSource::Procs, 10.0 * sf - sw, sf},
        // Widths agree within a part in 10^6.
        {"full proc", strip, processedSet(sw * (1 + 5e-7), 9.0, sf), std::nullopt, ReferenceSource::Proc,
         9.0 * sf - sw, sf},
        {"just too narrow", processedSet(sw * (1 - 2e-6), 9.0, sf), std::nullopt, 1000.0, ReferenceSource::Acqus,
         1000.0 + sw / 2 + (bf1 - sf) * 1e6 - sw, sf},
        // Strips only: the acquisition's O1 puts the left edge O1 + SW/2 above BF1.
        {"strips", strip, strip, 2000.0, ReferenceSource::Acqus, 2000.0 + sw / 2 + (bf1 - sf) * 1e6 - sw, sf},
        {"acqus only", std::nullopt, std::nullopt, 2000.0, ReferenceSource::Acqus, 2000.0 - sw / 2, bf1},
        {"nothing", std::nullopt, std::nullopt, std::nullopt, ReferenceSource::None, 0.0, bf1},
    };
    for (const Case& c : cases) {
        Scratch s;
        BrukerFidSpec spec;
        spec.values.assign(256, 1.0);
        spec.sw = sw;
        spec.bf1 = bf1;
        spec.o1 = c.o1;
        spec.procsText = c.procs;
        spec.procText = c.proc;
        ASSERT_TRUE(s.loadBruker(testing::writeBrukerFid(s.dir.path().string(), spec))) << c.what;
        EXPECT_EQ(s.doc->referenceSource, c.source) << c.what;
        EXPECT_NEAR(s.doc->acqPars.offsetHz, c.offsetHz, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(s.doc->acqPars.SF, c.sfUsed) << c.what;
        EXPECT_EQ(s.doc->recorded.present, c.procs.has_value()) << c.what;
        if (c.source == ReferenceSource::None) {
            expectOnlyMessage(s.ui,
                              "The 'proc' file was not found.\n The spectrum will not be automatically referenced",
                              "Warning");
        } else {
            EXPECT_TRUE(s.ui.messages.empty()) << c.what;
        }
    }
}

TEST(BrukerProcessed, OpensAsASpectrumOnItsOwnAxisScaledByNcProc) {
    Scratch s;
    testing::BrukerProcessedSpec spec;
    const int si = 131072;
    spec.real.resize(si);
    spec.imag.resize(si);
    for (int k = 0; k < si; ++k) {
        spec.real[k] = (k == 40000) ? 1e6 : (k % 7) - 3;
        spec.imag[k] = -((k % 5) - 2);
    }
    spec.si = si;
    spec.ncProc = 2;
    spec.offset = 12.5;
    spec.swp = 6000.0;
    spec.sf = 400.13;
    ASSERT_TRUE(s.loadBruker(testing::writeBrukerProcessed(s.dir.path().string(), spec)));
    ASSERT_EQ(s.doc->nData, 2 * si) << "the whole spectrum, not half of it";
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_EQ(s.doc->specData[80000], 4e6);
    EXPECT_EQ(s.doc->specData[2 * 9 + 1], -4.0 * ((9 % 5) - 2));
    EXPECT_EQ(s.doc->referenceSource, ReferenceSource::Procs);
    EXPECT_DOUBLE_EQ(s.doc->acqPars.offsetHz, 12.5 * 400.13 - 6000.0);
    // The first point lies at OFFSET, and point k SW_p/SI further down.
    EXPECT_DOUBLE_EQ(units::tToUnit(*s.doc, units::indexToT(*s.doc, 0), kPpm), 12.5);
    EXPECT_NEAR(units::tToUnit(*s.doc, units::indexToT(*s.doc, 80000), kPpm),
                12.5 - 40000 * 6000.0 / si / 400.13, 1e-9);
    // A spectrum: ppm, and the transform proposes the way back (Undo keeps that).
    EXPECT_EQ(s.doc->xUnits, kPpm);
    EXPECT_EQ(s.doc->unitPpm, 1);
    undoCommand(*s.doc);
    processing::FourierDialog dialog(*s.doc);
    dialog.open();
    EXPECT_EQ(dialog.inverse, 1);
    EXPECT_EQ(dialog.rotate, 0);
    EXPECT_FALSE(s.doc->recorded.present);
}

TEST(BrukerReference, TheAspirinExperimentLandsOnTheSpectrometersAxis) {
    Scratch fid;
    ASSERT_TRUE(fid.loadBruker(testing::sourcePath(kAspirin + "fid-set")));
    EXPECT_EQ(fid.doc->referenceSource, ReferenceSource::Procs);
    EXPECT_NEAR(fid.doc->acqPars.offsetHz, 15.47866 * 300.13 - 4789.27203065134, 1e-9);
    EXPECT_TRUE(fid.doc->recorded.present);
    EXPECT_EQ(fid.doc->recorded.SI, 32768);

    Scratch spectrum;
    ASSERT_TRUE(spectrum.loadBruker(testing::sourcePath(kAspirin + "processed-set/pdata/1/1r")));
    ASSERT_EQ(spectrum.doc->nData, 65536);
    EXPECT_EQ(spectrum.doc->xUnits, kPpm);
    const double lineOf1r =
        units::tToUnit(*spectrum.doc, units::indexToT(*spectrum.doc, spectrum.doc->peakIndex), kPpm);
    // The spectrometer's axis for that point: OFFSET less SW_p/SF per SI of the way.
    const int k = spectrum.doc->peakIndex / 2;
    EXPECT_NEAR(lineOf1r, 15.47866 - k * 4789.27203065133 / 300.13 / 32768, 1e-9);
    // The acetyl singlet of aspirin.
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
    const double lineOfFid = units::tToUnit(*fid.doc, units::indexToT(*fid.doc, fid.doc->peakIndex), kPpm);
    EXPECT_NEAR(lineOfFid, lineOf1r, 0.004);
    EXPECT_GT(fid.doc->specData[fid.doc->peakIndex], 0.0);
}

}  // namespace
}  // namespace pelvaron::io
