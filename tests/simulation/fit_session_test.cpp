// Fitting the simulation of Compare to current spc. to the measured spectrum: an ABX measured from
// known values and compared with a start that is off, fitted and brought back into the subsystem
// table, then undone; held parameters; the refusals; the dialogs' sigmas and held parameters.
#include "simulation/fit_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "base/format.h"
#include "display/two_set.h"
#include "recording_ui.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/spin_engine.h"

namespace pelvaron::simulation {
namespace {

using Kind = FitParameterId::Kind;
using testing::messageTexts;

const std::vector<double> kTrueShifts = {610.0, 622.0, 700.0};
const std::vector<double> kStartShifts = {611.5, 620.8, 701.2};

/// A 3 x 3 coupling table of J(1,2), J(1,3), J(2,3).
std::vector<std::vector<double>> couplings(double j12, double j13, double j23) {
    return {{0.0, j12, j13}, {j12, 0.0, j23}, {j13, j23, 0.0}};
}

/// Stores the copies as subsystem 1 and computes the simulation.
void simulate(Document& doc, const std::vector<double>& shifts, const std::vector<std::vector<double>>& j,
              double width) {
    doc.sim.nNucleiInput = 3;
    doc.sim.editShifts = shifts;
    doc.sim.editCouplings = j;
    doc.sim.simLineWidth = width;
    Messages said;
    ASSERT_TRUE(storeSubsystemParams(doc, said));
    ASSERT_TRUE(completeSimulation(doc, said)) << messageTexts(said).front();
}

/// The ABX "measured" at 300 MHz (500 to 800 Hz, 16384 points, lines 0.8 Hz wide, noise 0.2 % of
/// the tallest line), then Compare to current spc. with the start values and lines 1.2 Hz wide.
std::unique_ptr<Document> compareDocument(display::View& view) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(beginNewSimulation(*doc, ui));
    doc->sim.simFromHz = 500.0;
    doc->sim.simToHz = 800.0;
    doc->sim.simPoints = 16384;
    simulate(*doc, kTrueShifts, couplings(15.5, 3.2, 8.7), 0.8);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.002 * std::fabs(doc->spectrum.peakValue));
    for (int k = 0; k < doc->spectrum.nData; k += 2) doc->spectrum.specData[k] += noise(random);

    display::prepareTwoSetDisplay(*doc, view);
    beginCompareSimulation(*doc);
    simulate(*doc, kStartShifts, couplings(14.0, 4.0, 7.5), 1.2);
    display::beginTwoSetDisplay(*doc, view);
    display::matchSecondSetHeight(*doc);
    return doc;
}

double lowHz(const Document& doc) { return pointHz(doc.spectrum, doc.spectrum.nData / 2 - 1); }
double highHz(const Document& doc) { return pointHz(doc.spectrum, 0); }

FitResult fit(const FitJob& job) { return fitSpinSystem(job.start, job.regions, job.fixed); }

const SpinSubsystem& subsystem(const Document& doc) { return doc.sim.spinSubsystems[0]; }

TEST(FitSession, AFitOfTheComparedSpectrumLandsInTheTableAndUndoReturnsTheStartExactly) {
    display::View view;
    auto doc = compareDocument(view);
    const std::vector<double> before(doc->spectrum.specData.begin(),
                                     doc->spectrum.specData.begin() + doc->spectrum.nData);
    const std::vector<double> measured(doc->secondData.begin(),
                                       doc->secondData.begin() + doc->spectrum.nData);

    // No integral: the window shown (here the whole spectrum) is the one region.
    FitJob job;
    Messages said;
    ASSERT_TRUE(prepareCompareFit(*doc, highHz(*doc), lowHz(*doc), job, said));
    ASSERT_EQ(job.regions.size(), 1u);
    EXPECT_EQ(std::pair(job.firstPoints[0], job.regions[0].hz.size()), std::pair(0, std::size_t{8192}));
    EXPECT_EQ(job.start.subsystems[0].shifts, kStartShifts);
    EXPECT_EQ(job.start.subsystems[0].lineWidth, 1.2);
    EXPECT_TRUE(job.fixed.empty());

    const FitResult result = fit(job);
    ASSERT_EQ(result.status, FitResult::Status::Converged) << result.message;
    ASSERT_TRUE(applyFit(*doc, job, result, said));
    const SpinSubsystem& rec = subsystem(*doc);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(rec.shifts()[i], kTrueShifts[i], 0.05) << i;
    const auto truth = couplings(15.5, 3.2, 8.7);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(rec.couplings()[i][j], truth[i][j], 0.05) << i << j;
    EXPECT_NEAR(doc->sim.simLineWidth, 0.8, 0.01);
    // The sigmas stand beside the values; the editing copies follow; the measured set is drawn at
    // the fitted height, so that the two sets overlay and the residual is noise about 0.
    ASSERT_EQ(rec.fit.sigmas.shifts.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_GT(rec.fit.sigmas.shifts[i], 0.0);
    EXPECT_GT(fitWidthSigma(doc->sim), 0.0);
    EXPECT_EQ(doc->sim.editShifts, rec.shifts());
    // The residual kept for the display is the fit's: its rms over the tallest measured value
    // (on the scale the measured set is shown with) is the fit's relative rms.
    const auto& residual = fitResidual(*doc);
    ASSERT_EQ(residual.size(), 1u);
    ASSERT_EQ(std::pair(residual[0].first, residual[0].residual.size()), std::pair(0, std::size_t{8192}));
    double squares = 0.0, tallest = 0.0;
    for (std::size_t k = 0; k < 8192; ++k) {
        squares += residual[0].residual[k] * residual[0].residual[k];
        tallest = std::max(tallest, std::fabs(doc->secondData[2 * k]));
    }
    EXPECT_NEAR(std::sqrt(squares / 8192) / tallest, result.relativeRms, 1e-9);
    // The noise: 0.2 % of the tallest line.
    EXPECT_NEAR(result.relativeRms, 0.002, 0.0002);

    // Undo fit: the start values and width exactly, the simulation as it was, the measured set at
    // its height; nothing more to undo, no sigma, no residual.
    ASSERT_TRUE(undoFit(*doc, said));
    EXPECT_EQ(subsystem(*doc).shifts(), kStartShifts);
    EXPECT_EQ(subsystem(*doc).couplings(), couplings(14.0, 4.0, 7.5));
    EXPECT_EQ(doc->sim.simLineWidth, 1.2);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), doc->spectrum.specData.begin()));
    for (std::size_t i = 0; i < measured.size(); i += 97)
        EXPECT_NEAR(doc->secondData[i], measured[i], 1e-12 * std::fabs(doc->spectrum.peakValue));
    EXPECT_FALSE(fitUndoable(doc->sim));
    EXPECT_TRUE(subsystem(*doc).fit.sigmas.empty() && fitResidual(*doc).empty());
    EXPECT_FALSE(undoFit(*doc, said));
    EXPECT_TRUE(said.empty());

    // A simulation changed while the fit ran is left as it is.
    ASSERT_TRUE(prepareCompareFit(*doc, highHz(*doc), lowHz(*doc), job, said));
    doc->sim.spinSubsystems[0].setShift(0, 612.0);
    EXPECT_FALSE(applyFit(*doc, job, fit(job), said));
    EXPECT_EQ(messageTexts(said), std::vector<std::string>{kFitChangedText});
    EXPECT_EQ(subsystem(*doc).shifts()[1], kStartShifts[1]);
}

TEST(FitSession, HeldParametersStayAndIntegralsInTheWindowAreTheRegions) {
    display::View view;
    auto doc = compareDocument(view);
    SpinSubsystem& rec = doc->sim.spinSubsystems[0];
    rec.fit.held.setShift(1, true);
    rec.fit.held.setCoupling(2, 0, true);
    rec.fit.held.width = true;
    // Two integrals about the lines (one reaching past the window's edge at 690 Hz) and one
    // outside the window: the two, cut to the window, are the regions.
    const Spectrum& s = doc->spectrum;
    auto pointAt = [&](double hz) { return (s.acqPars.SW + s.offsetHz - hz) / s.acqPars.SW * s.nData / 2.0; };
    IntegralState& in = doc->integrals;
    in.integralCount = 3;
    in.integralStart = {pointAt(640.0), pointAt(720.0), pointAt(760.0)};
    in.integralEnd = {pointAt(590.0), pointAt(680.0), pointAt(740.0)};
    FitJob job;
    Messages said;
    ASSERT_TRUE(prepareCompareFit(*doc, 550.0, 690.0, job, said));
    ASSERT_EQ(job.regions.size(), 2u);
    // Points lie 300 / 8192 Hz apart.
    EXPECT_NEAR(job.regions[0].hz.front(), 640.0, 0.04);
    EXPECT_NEAR(job.regions[0].hz.back(), 590.0, 0.04);
    EXPECT_NEAR(job.regions[1].hz.front(), 690.0, 0.04);
    EXPECT_NEAR(job.regions[1].hz.back(), 680.0, 0.04);
    EXPECT_EQ(job.firstPoints[0], static_cast<int>(std::ceil(pointAt(640.0))));
    EXPECT_EQ(job.fixed, (std::vector<FitParameterId>{
                             {Kind::Coupling, 0, 0, 2}, {Kind::Shift, 0, 1, 0}, {Kind::Width, 0, 0, 0}}));

    const FitResult result = fit(job);
    ASSERT_EQ(result.status, FitResult::Status::Converged) << result.message;
    ASSERT_TRUE(applyFit(*doc, job, result, said));
    EXPECT_EQ(std::tuple(rec.shifts()[1], rec.couplings()[0][2], doc->sim.simLineWidth),
              std::tuple(kStartShifts[1], 4.0, 1.2));
    EXPECT_NE(rec.shifts()[0], kStartShifts[0]);
    EXPECT_EQ(std::pair(rec.fit.sigmas.shifts[1], rec.fit.sigmas.width), std::pair(0.0, 0.0));
    EXPECT_EQ(fitResidual(*doc).size(), 2u);
}

TEST(FitSession, RefusesWithoutASimulationOverAFidOrWhereARegionHoldsNoLines) {
    Messages said;
    FitJob job;
    Document fresh;
    EXPECT_FALSE(prepareCompareFit(fresh, 0.0, 100.0, job, said));

    display::View view;
    auto doc = compareDocument(view);
    doc->sim.compareMeasuredIsSpectrum = 0;
    EXPECT_FALSE(prepareCompareFit(*doc, highHz(*doc), lowHz(*doc), job, said));
    doc->sim.compareMeasuredIsSpectrum = 1;
    // One point shown; then a window of measured values all alike.
    const double at = pointHz(doc->spectrum, 100);
    EXPECT_FALSE(prepareCompareFit(*doc, at, at, job, said));
    for (int k = 100; k < 200; ++k) doc->secondData[2 * k] = 0.25;
    EXPECT_FALSE(
        prepareCompareFit(*doc, pointHz(doc->spectrum, 100), pointHz(doc->spectrum, 199), job, said));
    const std::string ppm = cformat("%.4f", pointHz(doc->spectrum, 100) / 300.0);
    EXPECT_EQ(messageTexts(said),
              (std::vector<std::string>{
                  kFitNoSimulationText, kFitMeasuredFidText,
                  "The region " + cformat("%.4f", at / 300.0) + " to " + cformat("%.4f", at / 300.0) +
                      " ppm holds fewer than 2 measured points",
                  "The region " + ppm + " to " + cformat("%.4f", pointHz(doc->spectrum, 199) / 300.0) +
                      " ppm holds no lines of the measured spectrum"}));
    EXPECT_EQ(valueWithSigma(7.951234, 0.00213), "7.9512 ± 0.0021");
    EXPECT_EQ(valueWithSigma(612.3456, 0.6), "612.35 ± 0.60");
    EXPECT_EQ(valueWithSigma(1.5, NAN), "1.50 ± ?");
}

TEST(FitSession, TheDialogsShowTheSigmasKeepTheHeldParametersAndForgetSigmasOnAnEdit) {
    display::View view;
    auto doc = compareDocument(view);
    FitJob job;
    Messages said;
    ASSERT_TRUE(prepareCompareFit(*doc, highHz(*doc), lowHz(*doc), job, said));
    ASSERT_TRUE(applyFit(*doc, job, fit(job), said));
    const double sigma = subsystem(*doc).fit.sigmas.shifts[0];

    // Edit Parameters: each line with its sigma (in ppm, divided as the value is); holding shift 2,
    // J(1,3) and the width survives OK, and so do the sigmas of values OK left as they were.
    doc->sim.simNewSubsystem = 0;
    doc->sim.currentSubsystem = 0;
    doc->sim.simUnitsPpm = 1;
    SimulationDataDialog page(*doc);
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.shiftLines()[0],
              "1= " + valueWithSigma(subsystem(*doc).shifts()[0] / 300.0, sigma / 300.0));
    EXPECT_NE(page.couplingLines()[0].find(" ± "), std::string::npos);
    EXPECT_EQ(page.widthSigmaText().substr(0, 3), "± ");
    EXPECT_TRUE(page.shiftFree(1) && page.couplingFree(1) && page.widthFree());
    page.setShiftFree(1, false);
    page.setCouplingFree(1, false);
    page.setWidthFree(false);
    ASSERT_EQ(page.ok(page.fields()), SimulationDataDialog::kOk);
    const SpinSubsystem& rec = subsystem(*doc);
    EXPECT_TRUE(rec.fit.held.shift(1) && rec.fit.held.coupling(2, 0) && rec.fit.held.width &&
                !rec.fit.held.shift(0));
    EXPECT_EQ(rec.fit.sigmas.shifts[0], sigma);
    EXPECT_TRUE(fitUndoable(doc->sim));
    doc->sim.simNewSubsystem = 0;
    SimulationDataDialog again(*doc);
    ASSERT_TRUE(again.open());
    EXPECT_FALSE(again.shiftFree(1) || again.couplingFree(1) || again.widthFree());

    // Interactive Sim. shows the sigmas too, until a value is changed by hand.
    ImmediateTuning runner(*doc);
    InteractiveSimDialog tuning(*doc, runner);
    tuning.open();
    EXPECT_EQ(tuning.shiftLines()[0], "1= " + valueWithSigma(rec.shifts()[0], sigma));
    EXPECT_NE(tuning.widthLine().find(" ± "), std::string::npos);
    tuning.selectCoupling(2);
    ASSERT_TRUE(tuning.inc("0.1"));
    EXPECT_EQ(tuning.shiftLines()[0], cformat("1= %.2f", rec.shifts()[0]));
    EXPECT_EQ(tuning.widthLine(), cformat("%.2f", doc->sim.simLineWidth));
    // Undo fit still returns to the values before the fit.
    ASSERT_TRUE(undoFit(*doc, said));
    EXPECT_EQ(subsystem(*doc).shifts(), kStartShifts);
}

}  // namespace
}  // namespace pelvaron::simulation
