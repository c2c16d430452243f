// The simulation dialogs' models: the couplings list and the ring of nucleus buttons, what clicks
// and lists open, the count, the units switch, the pages' OK, and the interactive steps with their
// bounds, in place and off the user-interface thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "recording_ui.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/spin_engine.h"
#include "simulation/spin_system_file.h"
#include "simulation/synthesis.h"
#include "simulation/tuning.h"

namespace pelvaron::simulation {
namespace {

using testing::RecordingUserInterface;

/// A document with the defaults of New and the count of nuclei entered.
std::unique_ptr<Document> newSimulation(RecordingUserInterface& ui, int nuclei) {
    auto doc = std::make_unique<Document>();
    EXPECT_TRUE(beginNewSimulation(*doc, ui));
    doc->sim.nNucleiInput = nuclei;
    return doc;
}

std::vector<double> spectrum(const Document& doc) {
    return {doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + doc.sim.simPoints};
}

/// What a click or a list line asks for: "" for nothing, "S2" for nucleus 2's shift, "J1,3".
std::string asked(EditRequest r) {
    if (r.kind == EditRequest::kShift) return "S" + std::to_string(r.i + 1);
    if (r.kind == EditRequest::kCoupling)
        return "J" + std::to_string(r.i + 1) + "," + std::to_string(r.j + 1);
    return "";
}

TEST(SimulationDialogs, TheRingAndTheListsAskForTheShiftOrCouplingTheyPointAt) {
    // The couplings list: (1,2), (1,3) ... (1,n), (2,3) ... (n-1,n), both ways, for every size.
    for (int n = 2; n <= kMaxNuclei; ++n) {
        int index = 0;
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j, ++index) {
                EXPECT_EQ(couplingIndexToPair(index, n), (NucleusPair{i, j}));
                EXPECT_EQ(couplingPairToIndex(j, i, n), index);
            }
        EXPECT_EQ(couplingIndexToPair(index, n).i, -1);
    }
    EXPECT_EQ(
        std::tuple(couplingIndexToPair(-1, 4).i, couplingPairToIndex(2, 2, 4), couplingPairToIndex(0, 4, 4)),
        std::tuple(-1, -1, -1));

    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 4);
    SimulationDataDialog page(*doc);
    ASSERT_TRUE(page.open());
    // Where the buttons go is the widget test's; a pixel finds the button it lies on.
    page.layoutRing(600, 400, 57, 40);
    ASSERT_EQ(page.ring().size(), 4u);
    const RingButton b = page.ring()[1];
    EXPECT_EQ(std::tuple(page.nucleusAt(b.anchorX, b.anchorY), page.nucleusAt(b.x + 56, b.y + 39),
                         page.nucleusAt(b.x + 57, b.y), page.nucleusAt(300, 200)),
              std::tuple(1, 1, -1, -1));
    // A line for each coupled pair, in the colour of its smaller nucleus.
    EXPECT_TRUE(page.ringLines().empty());
    CouplingConstantDialog(*doc, {1, 2}).ok("4");
    CouplingConstantDialog(*doc, {0, 2}).ok("7");
    const std::vector<RingLine> lines = page.ringLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::pair(lines[0].pair, lines[0].colour), std::pair(NucleusPair{0, 2}, Rgb{255, 0, 0}));
    EXPECT_EQ(lines[1].colour, (Rgb{255, 160, 115}));

    // In turn: a first click, then a pair; the same nucleus twice is no pair, a later different
    // one pairs with it, in order; a double click asks for the shift and forgets its first click;
    // a list line forgets the click before it; indices outside the ring or the lists are ignored.
    const EditRequest got[] = {
        page.clickNucleus(0),       page.clickNucleus(2),       page.clickNucleus(3),
        page.clickNucleus(3),       page.clickNucleus(1),       page.clickNucleus(1),
        page.doubleClickNucleus(1), page.clickNucleus(2),       page.selectShiftLine(3),
        page.clickNucleus(0),       page.selectCouplingLine(1), page.selectCouplingLine(5),
        page.selectCouplingLine(6), page.selectShiftLine(4),    page.clickNucleus(4),
        page.clickNucleus(-1),      page.doubleClickNucleus(10)};
    std::vector<std::string> said;
    for (EditRequest r : got) said.push_back(asked(r));
    EXPECT_EQ(said, (std::vector<std::string>{"", "J1,3", "", "", "J2,4", "", "S2", "", "S4", "", "J1,3",
                                              "J3,4", "", "", "", "", ""}));

    // The dialogs they open write the editing copies, but OK on the text as shown keeps the value
    // behind it; the lists follow. A pair or nucleus outside the copies is ignored.
    CouplingConstantDialog(*doc, {0, 2}).ok("7.126");
    ChemicalShiftDialog(*doc, 1, 0.0).ok("1020.4567");
    ChemicalShiftDialog(*doc, 1, 0.0).ok("1020.46");
    CouplingConstantDialog(*doc, {2, 4}).ok("9");
    ChemicalShiftDialog(*doc, 4, 0.0).ok("9");
    EXPECT_EQ(std::tuple(doc->sim.editCouplings[2][0], doc->sim.editShifts[1], doc->sim.editShifts.size()),
              std::tuple(7.126, 1020.4567, 4u));
    EXPECT_EQ(std::tuple(page.couplingLines()[1], page.shiftLines()[1]),
              std::tuple("1,3= 7.13", "2= 1020.46"));
}

TEST(SimulationDialogs, TheCountAndTheUnitsSwitchReadWhatIsTypedAndKeepExactValuesUntouched) {
    // The count is read from two characters and must be 0 to 10 ("100" is "10"; text that is not
    // a number is 0, which asks for no page); a refusal keeps it, Cancel makes it 0. (11, with
    // the flow's message, is the menu's test.)
    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 4);
    InputParametersDialog count(*doc);
    for (const auto& [typed, result, n] : {std::tuple{"-1", InputParametersDialog::kRefused, 4},
                                           {"99", InputParametersDialog::kRefused, 4},
                                           {"100", InputParametersDialog::kAccepted, 10},
                                           {"7x", InputParametersDialog::kAccepted, 7},
                                           {"abc", InputParametersDialog::kAccepted, 0}})
        EXPECT_EQ(std::pair(count.ok(typed), doc->sim.nNucleiInput), std::pair(int{result}, n)) << typed;
    EXPECT_EQ(count.ok("2"), InputParametersDialog::kAccepted);
    EXPECT_EQ(count.cancel(), InputParametersDialog::kCancelled);
    EXPECT_EQ(doc->sim.nNucleiInput, 0);

    // The units switch converts the window by the frequency shown, not the one stored.
    doc->sim.nNucleiInput = 2;
    doc->sim.simFromHz = 450.123456;
    SimulationDataDialog page(*doc);
    ASSERT_TRUE(page.open());
    SimulationFields f = page.fields();
    EXPECT_EQ(std::tuple(f.from, f.to, f.sf, f.points, f.lineWidth, f.threshold),
              std::tuple("450.12", "3000.00", "300.00", "8192", "0.30", "0.0010"));
    ChemicalShiftDialog(*doc, 0, 0.0).ok("600");
    f.sf = "400";
    ASSERT_TRUE(page.setUnits(true, f));
    EXPECT_EQ(std::tuple(f.from, f.to, page.unitLabel(), page.ppmFactor(), page.shiftLines()[0]),
              std::tuple("1.1253", "7.5000", "ppm", 400.0, "1= 1.50"));
    // In ppm the Chemical Shift dialog shows and reads ppm of that frequency.
    ChemicalShiftDialog ppmShift(*doc, 1, page.ppmFactor());
    ppmShift.ok("2.5");
    EXPECT_EQ(std::pair(ppmShift.unitLabel(), doc->sim.editShifts[1]), std::pair(std::string("ppm"), 1000.0));
    ASSERT_TRUE(page.setUnits(false, f));
    EXPECT_EQ(std::tuple(f.from, f.to, page.unitLabel()), std::tuple("450.12", "3000.00", "Hertz"));
    // A switch with no frequency to divide by is refused; untouched edits keep the window exactly.
    f.sf = "0";
    EXPECT_FALSE(page.setUnits(true, f));
    EXPECT_EQ(f.from, "450.12");
    f.sf = "300.00";
    doc->sim.editCouplings = {{0, 12}, {12, 0}};
    ASSERT_EQ(page.ok(f), SimulationDataDialog::kOk);
    EXPECT_EQ(std::pair(doc->sim.simFromHz, doc->sim.simSF), std::pair(450.123456, 300.0));
}

/// Two subsystems, ABX and an AB, over 0 .. 2000 Hz, computed as the dialogs would.
std::unique_ptr<Document> twoSubsystems() {
    auto doc = std::make_unique<Document>();
    Messages said;
    const SpinSystemFile file{.to = 2000.0,
                              .subsystems = {{{1000.0, 1020.0, 1200.0}, {{0, 12, 3}, {12, 0, 6}, {3, 6, 0}}},
                                             {{1500.0, 1530.0}, {{0, 8}, {8, 0}}}}};
    EXPECT_TRUE(simulateSpinSystem(*doc, said, file));
    return doc;
}

/// Notes what it is asked and recomputes at once: in place, or as a job on a copy of the
/// simulation, run and brought back as the window's worker does.
struct NotingTuning final : TuningRunner {
    Document& doc;
    bool asJob;
    std::vector<Recompute> asked;
    NotingTuning(Document& d, bool job) : doc(d), asJob(job) {}
    void recompute(Recompute what, Messages& said) override {
        asked.push_back(what);
        if (!asJob) return ImmediateTuning(doc).recompute(what, said);
        auto job = snapshotTuning(doc, what);
        runTuningJob(*job);
        EXPECT_TRUE(applyTuningResult(doc, *job));
    }
};

TEST(SimulationDialogs, InteractiveStepsChangeTheChosenValueAsAFreshComputationWouldInPlaceAndOffThread) {
    // Every subsystem computed anew with the values the steps below reach: the width step must
    // re-synthesise both subsystems from the lines stored after the shift and coupling steps.
    auto fresh = twoSubsystems();
    ASSERT_TRUE(fresh->sim.spinSubsystems[0].setShift(1, 1022.0) &&
                fresh->sim.spinSubsystems[0].setCoupling(1, 2, 6.75));
    fresh->sim.simLineWidth = kMinTuningWidth;
    fresh->sim.simInteractive = 1;  // the axis is not rewritten
    Messages said;
    ASSERT_TRUE(recomputeSimulation(*fresh, said));

    for (const bool asJob : {false, true}) {
        SCOPED_TRACE(asJob ? "off thread" : "in place");
        auto tuned = twoSubsystems();
        const AcqParams axis = tuned->spectrum.acqPars;
        NotingTuning runner(*tuned, asJob);
        InteractiveSimDialog tune(*tuned, runner);
        tune.open();
        EXPECT_EQ(tuned->sim.simInteractive, 1);
        EXPECT_EQ(tune.shiftLines(), (std::vector<std::string>{"1= 1000.00", "2= 1020.00", "3= 1200.00"}));
        EXPECT_EQ(std::pair(tune.parameterLabel(), tune.parameterText()),
                  std::pair(std::string("Sel. Param."), std::string()));
        EXPECT_FALSE(tune.inc("1"));  // nothing selected

        tune.selectShift(1);
        EXPECT_EQ(std::pair(tune.parameterLabel(), tune.parameterText()),
                  std::pair(std::string("Shift Nuc. 2"), std::string("1020.00")));
        EXPECT_TRUE(tune.inc("2.5") && tune.dec("0.5"));
        EXPECT_EQ(std::tuple(tuned->sim.spinSubsystems[0].shifts()[1], tuned->sim.editShifts[1],
                             tune.shiftLines()[1]),
                  std::tuple(1022.0, 1022.0, "2= 1022.00"));
        tune.selectCoupling(2);
        EXPECT_TRUE(tune.apply("6.75"));
        EXPECT_EQ(std::tuple(tune.parameterLabel(), tuned->sim.spinSubsystems[0].couplings()[1][2],
                             tune.couplingLines()[2]),
                  std::tuple("J (2,3)", 6.75, "2,3= 6.75"));
        // The width: a step below 0.01 Hz stops there with the warning.
        tune.selectWidth();
        EXPECT_EQ(std::pair(tune.parameterLabel(), tune.widthLine()),
                  std::pair(std::string("Width"), std::string("0.30")));
        EXPECT_TRUE(tune.dec("1"));
        EXPECT_EQ(
            std::tuple(tuned->sim.simLineWidth, tune.said.back().text, std::string(tune.said.back().caption)),
            std::tuple(kMinTuningWidth, kLineWidthClampText, "Warning"));
        EXPECT_EQ(runner.asked, (std::vector<Recompute>{Recompute::Full, Recompute::Full, Recompute::Full,
                                                        Recompute::WidthOnly}));
        EXPECT_EQ(spectrum(*tuned), spectrum(*fresh));
        EXPECT_EQ(tuned->sim.spinSubsystems[0].transFreq(), fresh->sim.spinSubsystems[0].transFreq());
        EXPECT_EQ(tuned->spectrum.acqPars, axis);

        // Rows outside the lists select nothing; once a load released the simulation, no step writes.
        tune.selectShift(3);
        tune.selectCoupling(3);
        EXPECT_EQ(tune.parameterLabel(), "Width");
        tune.selectShift(0);
        releaseSimulation(tuned->sim);
        EXPECT_FALSE(tune.inc("1"));
        EXPECT_TRUE(tune.shiftLines().empty());
        EXPECT_EQ(runner.asked.size(), 4u);
        tune.close();
        EXPECT_EQ(tuned->sim.simInteractive, 0);
    }

    // A job that failed, or whose simulation changed shape meanwhile, is dropped; its messages
    // are still there to show.
    const std::vector<double> before = spectrum(*fresh);
    auto failed = snapshotTuning(*fresh, Recompute::Full);
    failed->sim.simLineWidth = -1.0;
    runTuningJob(*failed);
    EXPECT_FALSE(applyTuningResult(*fresh, *failed));
    EXPECT_EQ(failed->messages.size(), 1u);
    auto reshaped = snapshotTuning(*fresh, Recompute::Full);
    reshaped->sim.simLineWidth = 2.0;
    runTuningJob(*reshaped);
    fresh->sim.lastSubsystem = 0;
    EXPECT_FALSE(applyTuningResult(*fresh, *reshaped));
    EXPECT_EQ(spectrum(*fresh), before);
}

}  // namespace
}  // namespace pelvaron::simulation
