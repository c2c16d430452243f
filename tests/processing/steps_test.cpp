// The processing steps of --steps, and the bundled example taken from FID to phased spectrum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/steps.h"
#include "document/units.h"
#include "fixtures.h"
#include "io/load.h"
#include "recording_ui.h"

namespace pelvaron::cli {
namespace {

using testing::RecordingUserInterface;

std::string example() {
    const char* root = std::getenv("PELVARON_SOURCE_DIR");
    return std::string(root ? root : ".") + "/examples/ethyl-acetate/1";
}

class ExampleSteps : public ::testing::Test {
protected:
    void SetUp() override { doc = load(); }
    std::unique_ptr<Document> load() {
        auto d = std::make_unique<Document>();
        EXPECT_TRUE(io::loadFile(*d, ui, example(), std::nullopt));
        return d;
    }
    [[nodiscard]] bool run(const std::string& steps) { return runSteps(*doc, ui, steps, error); }

    std::unique_ptr<Document> doc;
    RecordingUserInterface ui;
    std::string error;
};

TEST_F(ExampleSteps, TransformedAndAutophasedTheAcetylSingletIsTheLargestLine) {
    ASSERT_TRUE(run("em=0.3,ft,autophase")) << error;
    EXPECT_EQ(doc->xUnits, kPpm);
    EXPECT_EQ(doc->transform.ftRotateCount, 70);  // DECIM 32, DSPFVS 10: 70.0156 points
    EXPECT_EQ(doc->phaseSourceValid, 1);

    // Where 2.045 ppm lies on the document's own axis: Hz at index i is (refIndex - i)*SW/N.
    const double n = doc->nData;
    const double expected = doc->refIndex - 2.045 * doc->acqPars.SF * n / doc->acqPars.SW;
    const double largest = findPeak(*doc);
    EXPECT_GT(largest, 0.0);
    EXPECT_LE(std::fabs(doc->peakIndex - expected), 2.0)
        << "peak at " << doc->peakIndex << ", expected " << expected;
    const double ppm = units::tToUnit(*doc, units::indexToT(*doc, doc->peakIndex), kPpm);
    EXPECT_NEAR(ppm, 2.045, doc->acqPars.SW / (n / 2) / doc->acqPars.SF);
}

TEST_F(ExampleSteps, TransformingTwiceReturnsToTheTimeDomain) {
    ASSERT_TRUE(run("ft")) << error;
    EXPECT_EQ(doc->ftInverse, 1);
    ASSERT_TRUE(run("ft")) << error;
    EXPECT_EQ(doc->xUnits, kSeconds);
    EXPECT_EQ(doc->ftInverse, 0);
}

TEST_F(ExampleSteps, SizedTransformZeroFillsOrTruncates) {
    ASSERT_TRUE(run("ft=16384")) << error;  // complex points: twice the example's 8192
    EXPECT_EQ(doc->nData, 32768);
    EXPECT_EQ(doc->acqPars.TD, 16384);  // the size list leaves TD alone
    doc = load();
    ASSERT_TRUE(run("ft=2048")) << error;
    EXPECT_EQ(doc->nData, 4096);

    for (const char* bad : {"ft=100", "ft=32", "ft=1048576", "ft=1024.5"}) {
        auto d = load();
        EXPECT_FALSE(runSteps(*d, ui, bad, error)) << bad;
        EXPECT_NE(error.find("the size must be"), std::string::npos) << error;
        EXPECT_EQ(d->nData, 16384) << bad;
        EXPECT_EQ(d->xUnits, kSeconds) << bad;
    }
}

TEST_F(ExampleSteps, WindowStepsApplyAndRefuseAsTheDialogDoes) {
    const double before = doc->specData[4000];
    ASSERT_TRUE(run("em=2")) << error;
    EXPECT_DOUBLE_EQ(doc->specData[4000],
                     before * std::exp(-3.141592653589793 * 2.0 * 4000 / (2.0 * doc->acqPars.SW)));
    EXPECT_EQ(doc->window.lbExp, 2.0);
    ASSERT_TRUE(run("gm=1/0.2,traf=0.5,sine=90,sine2=45,hanning,hamming,lg=3/0.4")) << error;
    EXPECT_EQ(doc->window.lbLg, -3.0);
    EXPECT_EQ(doc->window.selected, Window::LorentzGauss);
    EXPECT_EQ(doc->window.sine2Deg, 45.0);

    const std::vector<double> kept = testing::dataOf(*doc);
    ui.messages.clear();
    EXPECT_FALSE(run("lg=-1/0"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "GB must be a number between 0 and 1");
    EXPECT_FALSE(run("gm=1/1.5"));
    EXPECT_EQ(ui.messages.back().text, "Shift must be a value between 0 and 1");
    EXPECT_EQ(testing::dataOf(*doc), kept);

    EXPECT_FALSE(run("em"));
    EXPECT_NE(error.find("wrong number of arguments"), std::string::npos);
    EXPECT_FALSE(run("hanning=1"));
}

TEST_F(ExampleSteps, PhaseSetsTotalsAboutThePivotAndInvertTurnsHalfATurn) {
    ASSERT_TRUE(run("ft,phase=30/-5")) << error;
    EXPECT_EQ(doc->phase0, 30.0);
    EXPECT_EQ(doc->phase1, -5.0);
    EXPECT_EQ(doc->phaseSourceValid, 1);
    EXPECT_EQ(doc->transform.showPivot, 0);
    // Totals, not increments: the same phase again leaves the data as they are.
    const std::vector<double> phased = testing::dataOf(*doc);
    ASSERT_TRUE(run("phase=30/-5")) << error;
    EXPECT_EQ(testing::dataOf(*doc), phased);

    ASSERT_TRUE(run("invert")) << error;
    EXPECT_EQ(doc->phase0, -150.0);
    EXPECT_EQ(doc->specData[100], -phased[100]);
}

TEST(CliDump, PrintsThePhasedSpectrum) {
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"dump", example(), "--steps", "em=0.3,ft,autophase"}, out, err), 0) << err.str();
    std::istringstream in(out.str());
    std::string line;
    int count = 0;
    double largest = 0.0;
    while (std::getline(in, line)) {
        const double v = std::strtod(line.c_str(), nullptr);
        if (count % 2 == 0 && std::fabs(v) > std::fabs(largest)) largest = v;
        ++count;
    }
    EXPECT_EQ(count, 16384);
    EXPECT_GT(largest, 0.0);
}

}  // namespace
}  // namespace pelvaron::cli
