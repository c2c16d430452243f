// Process as Recorded: the spectrometer software's own 1r reproduced from two FIDs, the phase rule
// for digital filters of any delay, the refusals, Undo, and the recorded window functions.
#include "processing/recorded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

#include "base/byte_order.h"
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

/// The real parts of a processed set's pdata/1/1r (little-endian int32).
std::vector<double> their1r(const std::string& experiment) {
    const std::string bytes = testing::readFile(testing::sourcePath(experiment + "/pdata/1/1r"));
    std::vector<double> out(bytes.size() / 4);
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = static_cast<std::int32_t>(
            bytes::loadLE32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4 * k));
    return out;
}

TEST(ProcessAsRecorded, EachFidBecomesTheSpectrometersOwn1rWhateverItsDigitalFilter) {
    // Aspirin: DIGMOD 1, a group delay of 61 whole points and a fraction; coffee: DIGMOD 3
    // (baseopt), 76 whole points. The aspirin 1r was made with the procs of its processed set.
    testing::TempDir dir;
    const std::string aspirin = dir.file("aspirin");
    std::filesystem::copy(testing::sourcePath("tests/data/aspirin-1h/fid-set"), aspirin,
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(testing::sourcePath("tests/data/aspirin-1h/processed-set/pdata/1/procs"),
                               aspirin + "/pdata/1/procs", std::filesystem::copy_options::overwrite_existing);
    const std::pair<std::string, std::string> pairs[] = {
        {aspirin, "tests/data/aspirin-1h/processed-set"},
        {testing::sourcePath("tests/data/coffee-1h-baseopt"), "tests/data/coffee-1h-baseopt"}};
    for (const auto& [fid, processed] : pairs) {
        SCOPED_TRACE(processed);
        testing::RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ASSERT_TRUE(io::loadFile(*doc, ui, fid, FileFormat::Bruker));
        ASSERT_TRUE(processAsRecorded(*doc));
        const std::vector<double> theirs = their1r(processed);
        const int si = static_cast<int>(theirs.size());
        ASSERT_EQ(doc->spectrum.nData, 2 * si);
        double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        for (int k = 0; k < si; ++k) {
            const double x = theirs[k], y = doc->spectrum.specData[2 * k];
            sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
        }
        const double r = (sxy - sx * sy / si) / std::sqrt((sxx - sx * sx / si) * (syy - sy * sy / si));
        EXPECT_GE(r, 0.9999) << "Pearson correlation with the 1r";

        // Point k of both lies on the 1r's axis: OFFSET at the first point, SW_p/SI per point down.
        const RecordedProcessing& rec = doc->spectrum.recorded;
        EXPECT_EQ(rec.PH_mod, 1);  // phased by PHC0 and PHC1
        for (int k : {0, 12345, si - 1}) {
            const double ppm = units::tToUnit(*doc, units::indexToT(*doc, 2 * k), kPpm);
            EXPECT_NEAR(ppm, rec.OFFSET - k * rec.SW_p / rec.SF / si, 1e-9) << k;
        }
        // The tallest line is upright at +100, and the Phase dialog's values re-create the data.
        EXPECT_DOUBLE_EQ(doc->spectrum.peakValue, 100.0);
        const std::vector<double> phased = dataOf(*doc);
        ASSERT_EQ(doc->spectrum.phaseSourceValid, 1);
        restoreUnphased(doc->spectrum);
        phaseRotation(doc->spectrum, doc->spectrum.phase0, doc->spectrum.phase1, true);
        for (int i = 0; i < doc->spectrum.nData; ++i)
            ASSERT_NEAR(doc->spectrum.specData[i], phased[i], 1e-9) << i;
    }
}

TEST(ProcessAsRecorded, ALineComesOutInTheSamePhaseWhateverTheParityOfTheWholeDelay) {
    // The same line behind digital filters of odd and even whole delays, with and without a
    // fraction. The software corrects a delay of d points by a phase ramp that is zero at the
    // first point rather than in the middle: it leaves every line turned by 180 d degrees, which
    // the PHC0 it records takes back. Given that record, the line comes out in one phase in all.
    std::vector<double> angles;
    for (const double delay : {61.3, 60.3, 76.0, 67.0, 12.7}) {
        auto doc = documentWith(testing::fidOf(1024, 1024.0, {110.0}, delay), 1024.0);
        doc->spectrum.groupDelay = delay;
        doc->spectrum.recorded = RecordedProcessing{.present = true, .SI = 1024, .PHC0 = -180.0 * delay};
        ASSERT_TRUE(processAsRecorded(*doc));
        const int k = 2 * (512 - 110);  // 1 Hz a point, the first at +512 Hz
        angles.push_back(std::atan2(doc->spectrum.specData[k + 1], doc->spectrum.specData[k]) * 180.0 / kPi);
        EXPECT_NEAR(std::remainder(angles.back() - angles.front(), 360.0), 0.0, 2.0) << delay;
    }
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
    // A spectrum without a record (a processed 1r) is a spectrum first.
    doc->spectrum.recorded.present = false;
    EXPECT_EQ(processAsRecorded(*doc).error(), RecordedProblem::AlreadySpectrum);
    doc->spectrum.recorded.present = true;
    undoCommand(*doc);
    EXPECT_EQ((std::vector<int>{doc->spectrum.nData, doc->spectrum.acqPars.TD, doc->spectrum.xUnits,
                                doc->spectrum.phaseSourceValid, doc->spectrum.ftInverse}),
              (std::vector<int>{512, 512, kSeconds, 0, 0}));
    EXPECT_EQ(dataOf(*doc), fid);
    EXPECT_EQ((std::pair{doc->spectrum.peakValue, doc->spectrum.phase0}), (std::pair{fidPeak, 0.0}));
}

TEST(ProcessAsRecorded, PhaseModesAndTheDcOffsetOfAFidWithoutDigitalFilter) {
    // The FID of recordedFid, a DC offset of `dc` added to both parts, processed under `record`.
    const auto processed = [](double dc, const std::function<void(RecordedProcessing&)>& record,
                              RecordedNotes* notes = nullptr) {
        auto doc = recordedFid(0, 0, 256);
        for (int i = 0; i < doc->spectrum.nData; ++i) doc->spectrum.specData[i] += dc;
        record(doc->spectrum.recorded);
        const auto done = processAsRecorded(*doc);
        EXPECT_TRUE(done);
        if (notes != nullptr && done) *notes = *done;
        return dataOf(*doc);
    };
    const auto near = [](const std::vector<double>& a, const std::vector<double>& b) {
        double worst = 0;
        for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
        return a.size() == b.size() && worst < 1e-9;
    };
    const auto plain = processed(0.0, [](RecordedProcessing&) {});
    // PH_mod 0 applies none of the recorded angles.
    EXPECT_EQ(processed(0.0, [](RecordedProcessing& r) { r.PHC0 = 75, r.PHC1 = 20, r.PH_mod = 0; }), plain);
    // PH_mod 2: the modulus of each point, whatever the angles, its largest at +100.
    const auto magnitude = processed(0.0, [](RecordedProcessing& r) { r.PHC0 = 75, r.PH_mod = 2; });
    EXPECT_TRUE(near(magnitude, processed(0.0, [](RecordedProcessing& r) { r.PHC0 = -40, r.PH_mod = 2; })));
    std::vector<double> modulus;
    for (std::size_t i = 0; i < plain.size(); i += 2)
        modulus.insert(modulus.end(), {std::hypot(plain[i], plain[i + 1]), 0.0});
    const double top = *std::max_element(modulus.begin(), modulus.end());
    for (double& m : modulus) m *= 100.0 / top;
    EXPECT_TRUE(near(magnitude, modulus));
    // BC_mod 2 takes a receiver's offset off each part; 0 leaves it as a line at 0 Hz.
    const auto quad = [](RecordedProcessing& r) { r.BC_mod = 2; };
    EXPECT_TRUE(near(processed(40.0, quad), processed(0.0, quad)));
    EXPECT_FALSE(near(processed(40.0, [](RecordedProcessing&) {}), plain));
    // A solvent filter is not repeated, and the note says which.
    RecordedNotes notes;
    EXPECT_EQ(processed(
                  0.0, [](RecordedProcessing& r) { r.BC_mod = 5; }, &notes),
              plain);
    EXPECT_EQ(
        recordedNote(notes)->text,
        "The spectrometer software also corrected the FID (BC_mod 5: a polynomial or a solvent filter); "
        "that correction is not repeated.");
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
