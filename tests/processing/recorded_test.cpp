// Process as Recorded: the spectrometer software's own 1r reproduced from its FID, the refusals,
// Undo, and the conventions of the recorded window functions.
#include "processing/recorded.h"

#include <gtest/gtest.h>

#include <cmath>
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

constexpr double kPi = std::numbers::pi;

/// A FID of 256 complex points at SW 1000 Hz with the given record.
std::unique_ptr<Document> recordedFid(int wdw, int tdeff, int si) {
    auto doc = documentWith(testing::fidOf(256, 1000.0, {110.0, -260.0}));
    doc->spectrum.recorded = RecordedProcessing{.present = true, .WDW = wdw, .SI = si, .TDeff = tdeff};
    return doc;
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
    auto doc = std::make_unique<Document>(), theirs = testing::aspirin("processed-set");
    ASSERT_TRUE(io::loadFile(*doc, ui, experiment, FileFormat::Bruker));
    ASSERT_TRUE(processAsRecorded(*doc));

    const int si = 32768;
    ASSERT_EQ(doc->spectrum.nData, 2 * si);
    ASSERT_EQ(theirs->spectrum.nData, 2 * si);
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int k = 0; k < si; ++k) {
        const double x = theirs->spectrum.specData[2 * k], y = doc->spectrum.specData[2 * k];
        sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
    }
    const double r = (sxy - sx * sy / si) / std::sqrt((sxx - sx * sx / si) * (syy - sy * sy / si));
    EXPECT_GE(r, 0.9999) << "Pearson correlation with the 1r";

    // Point k of both lies on the 1r's axis: OFFSET at the first point, SW_p/SI per point down.
    for (int k : {0, 12345, si - 1}) {
        const double ppm = units::tToUnit(*doc, units::indexToT(*doc, 2 * k), kPpm);
        EXPECT_NEAR(ppm, 15.47866 - k * 4789.27203065133 / 300.13 / si, 1e-9) << k;
    }
    // The Phase dialog's values re-create the data from the unphased copy.
    const std::vector<double> phased = dataOf(*doc);
    ASSERT_EQ(doc->spectrum.phaseSourceValid, 1);
    restoreUnphased(doc->spectrum);
    phaseRotation(doc->spectrum, doc->spectrum.phase0, doc->spectrum.phase1, true);
    for (int i = 0; i < doc->spectrum.nData; ++i)
        ASSERT_NEAR(doc->spectrum.specData[i], phased[i], 1e-9) << i;
}

TEST(ProcessAsRecorded, RefusesWhatItCannotProcessAndOneUndoBringsBackTheWholeFid) {
    // TDeff and SI both shorter than the FID: the spectrum holds less than the FID did.
    auto doc = recordedFid(3, 400, 64);
    doc->spectrum.recorded.PHC0 = 30.0;
    doc->spectrum.recorded.PHC1 = -50.0;
    doc->spectrum.recorded.present = false;
    const std::vector<double> fid = dataOf(*doc);
    const double fidPeak = doc->spectrum.peakValue;
    const auto noRecord = processAsRecorded(*doc);
    EXPECT_EQ(dataOf(*doc), fid);
    doc->spectrum.recorded.present = true;
    ASSERT_TRUE(processAsRecorded(*doc));
    ASSERT_EQ(doc->spectrum.nData, 128);
    const std::vector<double> spectrum = dataOf(*doc);
    const double phase0 = doc->spectrum.phase0;
    const auto again = processAsRecorded(*doc);
    ASSERT_TRUE(!noRecord && !again);
    EXPECT_EQ(std::pair(recordedMessage(noRecord.error())->text, recordedMessage(again.error())->text),
              std::pair(std::string(kNoRecordedProcessingText), std::string(kAlreadySpectrumText)));
    EXPECT_EQ((std::pair{dataOf(*doc), doc->spectrum.phase0}), (std::pair{spectrum, phase0}));
    undoCommand(*doc);
    EXPECT_EQ((std::vector<int>{doc->spectrum.nData, doc->spectrum.acqPars.TD, doc->spectrum.xUnits,
                                doc->spectrum.phaseSourceValid, doc->spectrum.ftInverse}),
              (std::vector<int>{512, 512, kSeconds, 0, 0}));
    EXPECT_EQ(dataOf(*doc), fid);
    EXPECT_EQ((std::pair{doc->spectrum.peakValue, doc->spectrum.phase0}), (std::pair{fidPeak, 0.0}));
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto expected = recordedFid(0, tdeff, si);
        for (int k = 0; k < tdeff / 2; ++k) {
            expected->spectrum.specData[2 * k] *= c.factor(k / sw);
            expected->spectrum.specData[2 * k + 1] *= c.factor(k / sw);
        }
        ASSERT_TRUE(processAsRecorded(*expected));
        auto doc = recordedFid(c.wdw, tdeff, si);
        doc->spectrum.recorded.LB = c.lb;
        doc->spectrum.recorded.GB = c.gb;
        doc->spectrum.recorded.SSB = c.ssb;
        doc->spectrum.recorded.FCOR = c.fcor;
        ASSERT_TRUE(processAsRecorded(*doc));
        ASSERT_EQ(doc->spectrum.nData, 2 * si);
        for (int i = 0; i < doc->spectrum.nData; ++i)
            ASSERT_NEAR(doc->spectrum.specData[i], expected->spectrum.specData[i], 1e-9) << i;
    }
}

}  // namespace
}  // namespace pelvaron::processing
