// Process as Recorded: the spectrometer software's own 1r reproduced from its FID, the refusals,
// Undo, and the conventions of the recorded window functions.
#include "processing/recorded.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <numbers>

#include "document/units.h"
#include "fixtures.h"
#include "io/load.h"
#include "processing/phase.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;
using testing::documentWith;

constexpr double kPi = std::numbers::pi;

/// A FID of `values` doubles: two decaying lines, real and imaginary parts distinct.
std::vector<double> twoLines(int values, double sw) {
    std::vector<double> v(static_cast<std::size_t>(values));
    for (int k = 0; k < values / 2; ++k) {
        const double t = k / sw;
        const std::complex<double> x = std::polar(1000.0 * std::exp(-3.0 * t), 2 * kPi * 110.0 * t) +
                                       std::polar(400.0 * std::exp(-8.0 * t), -2 * kPi * 260.0 * t + 0.3);
        v[2 * k] = x.real();
        v[2 * k + 1] = x.imag();
    }
    return v;
}

RecordedProcessing recordWith(int wdw, int tdeff, int si) {
    RecordedProcessing r;
    r.present = true;
    r.WDW = wdw;
    r.TDeff = tdeff;
    r.SI = si;
    return r;
}

TEST(ProcessAsRecorded, TheAspirinFidBecomesTheSpectrometersOwn1r) {
    // The 1r of processed-set was made with that set's procs: put it beside the FID.
    testing::TempDir dir;
    const std::string experiment = dir.file("aspirin");
    std::filesystem::copy(testing::sourcePath("tests/data/aspirin-1h/fid-set"), experiment,
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(testing::sourcePath("tests/data/aspirin-1h/processed-set/pdata/1/procs"),
                               experiment + "/pdata/1/procs",
                               std::filesystem::copy_options::overwrite_existing);
    testing::RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ASSERT_TRUE(io::loadFile(*doc, ui, experiment, io::FileFormat::Bruker));
    ASSERT_TRUE(processAsRecorded(*doc, ui));

    const int si = 32768;
    ASSERT_EQ(doc->nData, 2 * si);
    // The 1r as stored: little-endian int32 times 2^NC_proc (-2; the factor does not matter here).
    const std::string raw =
        testing::readFile(testing::sourcePath("tests/data/aspirin-1h/processed-set/pdata/1/1r"));
    ASSERT_EQ(raw.size(), 4u * si);
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int k = 0; k < si; ++k) {
        const auto* b = reinterpret_cast<const unsigned char*>(raw.data()) + 4 * k;
        const double x =
            0.25 * static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (b[1] << 8) | (b[2] << 16) |
                                             (static_cast<std::uint32_t>(b[3]) << 24));
        const double y = doc->specData[2 * k];
        sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
    }
    const double n = si;
    const double r = (sxy - sx * sy / n) / std::sqrt((sxx - sx * sx / n) * (syy - sy * sy / n));
    EXPECT_GE(r, 0.9999) << "Pearson correlation with the 1r";

    // Point k of both lies on the 1r's axis: OFFSET at the first point, SW_p/SI per point down.
    for (int k : {0, 12345, si - 1}) {
        const double ppm = units::tToUnit(*doc, units::indexToT(*doc, 2 * k), kPpm);
        EXPECT_NEAR(ppm, 15.47866 - k * 4789.27203065133 / 300.13 / si, 1e-9) << k;
    }
    // The tallest line is upright at +100, and the Phase dialog's values re-create the data.
    EXPECT_DOUBLE_EQ(doc->peakValue, 100.0);
    const std::vector<double> phased = dataOf(*doc);
    ASSERT_EQ(doc->phaseSourceValid, 1);
    restoreUnphased(*doc);
    phaseRotation(*doc, doc->phase0, doc->phase1, true);
    for (int i = 0; i < doc->nData; ++i) ASSERT_NEAR(doc->specData[i], phased[i], 1e-9) << i;
}

TEST(ProcessAsRecorded, RefusesDataWithoutARecordAndSpectraLeavingThemAlone) {
    testing::RecordingUserInterface ui;
    auto doc = documentWith(twoLines(512, 1000.0));
    const std::vector<double> fid = dataOf(*doc);
    EXPECT_FALSE(processAsRecorded(*doc, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kNoRecordedProcessingText);
    EXPECT_EQ(dataOf(*doc), fid);
    EXPECT_EQ(doc->ftInverse, 0);

    doc->recorded = recordWith(1, 0, 256);
    ASSERT_TRUE(processAsRecorded(*doc, ui));
    const std::vector<double> spectrum = dataOf(*doc);
    const double phase0 = doc->phase0;
    EXPECT_FALSE(processAsRecorded(*doc, ui));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, kAlreadySpectrumText);
    EXPECT_EQ(dataOf(*doc), spectrum);
    EXPECT_EQ(doc->phase0, phase0);
}

TEST(ProcessAsRecorded, OneUndoBringsBackTheWholeFidAsLoaded) {
    // TDeff and SI both shorter than the FID: the spectrum holds less than the FID did.
    testing::RecordingUserInterface ui;
    auto doc = documentWith(twoLines(512, 1000.0));
    doc->recorded = recordWith(3, 400, 64);
    doc->recorded.PHC0 = 30.0;
    doc->recorded.PHC1 = -50.0;
    const std::vector<double> fid = dataOf(*doc);
    const double fidPeak = doc->peakValue;
    ASSERT_TRUE(processAsRecorded(*doc, ui));
    ASSERT_EQ(doc->nData, 128);
    const std::vector<double> spectrum = dataOf(*doc);

    undoCommand(*doc);
    EXPECT_EQ(doc->nData, 512);
    EXPECT_EQ(doc->acqPars.TD, 512);
    EXPECT_EQ(dataOf(*doc), fid);
    EXPECT_EQ(doc->peakValue, fidPeak);
    EXPECT_EQ(doc->xUnits, kSeconds);
    EXPECT_EQ(doc->phase0, 0.0);
    EXPECT_EQ(doc->phaseSourceValid, 0);
    // It is the FID again: processing it once more gives the same spectrum.
    ASSERT_TRUE(processAsRecorded(*doc, ui));
    EXPECT_EQ(dataOf(*doc), spectrum);
}

TEST(ProcessAsRecorded, WindowsWeighEveryComplexPointOverTheValuesUsed) {
    // Each recorded window must give what the same FID weighted by hand gives unweighted: both
    // values of point k by the factor of t = k/SW, over AQ = the TDeff points' time (not the FID's
    // nor the zero-filled spectrum's). FCOR likewise: the first point times FCOR, against 0.5.
    const double sw = 1000.0;
    const int tdeff = 384, si = 256;
    const double aq = (tdeff / 2) / sw;
    struct Case {
        const char* name;
        int wdw;
        double lb, gb, ssb;
        std::function<double(double)> factor;
        double fcor = 0.5;
    };
    const Case cases[] = {
        {"EM", 1, 4.0, 0, 0, [](double t) { return std::exp(-kPi * 4.0 * t); }},
        // A Gaussian whose top lies at GB*AQ, written about its top.
        {"GM", 2, -5.0, 0.3, 0,
         [aq](double t) {
             const double top = 0.3 * aq;
             return std::exp(kPi * -5.0 / (2 * top) * (t - top) * (t - top) - kPi * -5.0 * top / 2);
         }},
        // SSB 2: the cosine bell, from 1 down to 0 one point after the last.
        {"SINE", 3, 0, 0, 2.0, [aq](double t) { return std::cos(kPi / 2 * t / aq); }},
        // SSB 0: the plain squared sine, from 0.
        {"QSINE", 4, 0, 0, 0.0, [aq](double t) { return std::pow(std::sin(kPi * t / aq), 2); }},
        {"FCOR 1", 0, 0, 0, 0, [](double t) { return t == 0.0 ? 2.0 : 1.0; }, 1.0},
    };
    testing::RecordingUserInterface ui;
    for (const Case& c : cases) {
        std::vector<double> byHand = twoLines(512, sw);
        for (int k = 0; k < tdeff / 2; ++k) {
            byHand[2 * k] *= c.factor(k / sw);
            byHand[2 * k + 1] *= c.factor(k / sw);
        }
        auto expected = documentWith(byHand, sw);
        expected->recorded = recordWith(0, tdeff, si);
        ASSERT_TRUE(processAsRecorded(*expected, ui));

        auto doc = documentWith(twoLines(512, sw), sw);
        doc->recorded = recordWith(c.wdw, tdeff, si);
        doc->recorded.LB = c.lb;
        doc->recorded.GB = c.gb;
        doc->recorded.SSB = c.ssb;
        doc->recorded.FCOR = c.fcor;
        ASSERT_TRUE(processAsRecorded(*doc, ui));
        ASSERT_EQ(doc->nData, 2 * si);
        for (int i = 0; i < doc->nData; ++i) {
            ASSERT_NEAR(doc->specData[i], expected->specData[i], 1e-9) << c.name << " at " << i;
        }
    }
}

}  // namespace
}  // namespace pelvaron::processing
