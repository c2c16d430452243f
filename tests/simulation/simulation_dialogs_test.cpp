// The simulation dialogs' models: the couplings list and the ring of nucleus buttons, what clicks
// and lists open, the units switch, the pages' OK, Cancel and New, Select Subsystem, and the
// interactive steps with their bounds, in place and off the user-interface thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

#include "recording_ui.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/spin_engine.h"
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

/// An ABX system typed into an opened page: shifts 1000, 1020, 1200 Hz, J 12, 3, 6 Hz.
void typeAbx(Document& doc) {
    doc.sim.editShifts = {1000.0, 1020.0, 1200.0};
    doc.sim.editCouplings = {{0, 12, 3}, {12, 0, 6}, {3, 6, 0}};
}

std::vector<double> spectrum(const Document& doc) {
    return {doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + doc.sim.simPoints};
}

class RecordingRunner : public TuningRunner {
public:
    std::vector<Recompute> asked;
    void recompute(Recompute what) override { asked.push_back(what); }
};

TEST(SimulationDialogs, CouplingListOrderAndTheRingOfNucleusButtons) {
    // (1,2), (1,3) ... (1,n), (2,3) ... (n-1,n), both ways, for every size.
    for (int n = 2; n <= kMaxNuclei; ++n) {
        int index = 0;
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j, ++index) {
                EXPECT_EQ(couplingIndexToPair(index, n), (NucleusPair{i, j}));
                EXPECT_EQ(couplingPairToIndex(j, i, n), index);
            }
        EXPECT_EQ(couplingIndexToPair(index, n).i, -1);
    }
    EXPECT_EQ(couplingIndexToPair(-1, 4).i, -1);
    EXPECT_EQ(couplingPairToIndex(2, 2, 4), -1);
    EXPECT_EQ(couplingPairToIndex(0, 4, 4), -1);

    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 3);
    SimulationDataDialog page(*doc, ui);
    ASSERT_TRUE(page.open());
    page.layoutRing(600, 400, 57, 40);
    // r = 80, 120 degrees apart, nucleus 1 at the top; the ellipse is twice as wide as high.
    ASSERT_EQ(page.ring().size(), 3u);
    EXPECT_EQ(std::tuple(page.ring()[0].x, page.ring()[0].y, page.ring()[0].anchorX, page.ring()[0].anchorY),
              std::tuple(300, 120, 319, 140));
    EXPECT_EQ(std::tuple(page.ring()[1].x, page.ring()[1].y), std::tuple(438, 239));
    EXPECT_EQ(std::tuple(page.ring()[2].x, page.ring()[2].y), std::tuple(162, 240));
    EXPECT_EQ(page.nucleusAt(319, 140), 0);
    EXPECT_EQ(page.nucleusAt(438 + 56, 239 + 39), 1);
    EXPECT_EQ(page.nucleusAt(438 + 57, 239), -1);
    EXPECT_EQ(page.nucleusAt(300, 200), -1);

    // A line for each coupled pair, in the colour of its smaller nucleus.
    EXPECT_TRUE(page.ringLines().empty());
    CouplingConstantDialog(*doc, {1, 2}).ok("4");
    CouplingConstantDialog(*doc, {0, 2}).ok("7");
    const std::vector<RingLine> lines = page.ringLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].pair, (NucleusPair{0, 2}));
    EXPECT_EQ(lines[0].colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(lines[1].colour, (Rgb{255, 160, 115}));
    EXPECT_EQ(couplingLineColour(8), (Rgb{255, 255, 255}));
}

TEST(SimulationDialogs, TheCountIsReadFromTwoCharactersAndMustBeZeroToTen) {
    auto doc = std::make_unique<Document>();
    doc->sim.nNucleiInput = 4;
    InputParametersDialog count(*doc);
    EXPECT_EQ(count.countText(), "4");
    for (const char* refused : {"11", "-1", "99"})
        EXPECT_EQ(count.ok(refused), InputParametersDialog::kRefused) << refused;
    EXPECT_EQ(doc->sim.nNucleiInput, 4);
    // "100" is read as "10"; text that is not a number reads as 0, which asks for no page.
    for (const auto& [typed, n] : {std::pair{"100", 10}, {"7x", 7}, {"abc", 0}, {"1", 1}}) {
        EXPECT_EQ(count.ok(typed), InputParametersDialog::kAccepted) << typed;
        EXPECT_EQ(doc->sim.nNucleiInput, n) << typed;
    }
    EXPECT_EQ(count.cancel(), InputParametersDialog::kCancelled);
    EXPECT_EQ(doc->sim.nNucleiInput, 0);
}

TEST(SimulationDialogs, ClicksAndListLinesAskForTheShiftOrCouplingTheyPointAt) {
    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 4);
    SimulationDataDialog page(*doc, ui);
    ASSERT_TRUE(page.open());
    using K = EditRequest::Kind;
    auto is = [](EditRequest r, K kind, int i, int j) { return r.kind == kind && r.i == i && r.j == j; };

    EXPECT_TRUE(is(page.clickNucleus(0), K::kNone, -1, -1));
    EXPECT_TRUE(is(page.clickNucleus(2), K::kCoupling, 0, 2));
    // The same nucleus twice is no pair; a later different one pairs with it, in order.
    EXPECT_TRUE(is(page.clickNucleus(3), K::kNone, -1, -1));
    EXPECT_TRUE(is(page.clickNucleus(3), K::kNone, -1, -1));
    EXPECT_TRUE(is(page.clickNucleus(1), K::kCoupling, 1, 3));
    // A double click asks for the shift and forgets its first click.
    EXPECT_TRUE(is(page.clickNucleus(1), K::kNone, -1, -1));
    EXPECT_TRUE(is(page.doubleClickNucleus(1), K::kShift, 1, -1));
    EXPECT_TRUE(is(page.clickNucleus(2), K::kNone, -1, -1));
    // Lists, and indices outside the ring or the lists, which are ignored.
    EXPECT_TRUE(is(page.selectShiftLine(3), K::kShift, 3, -1));
    EXPECT_TRUE(is(page.clickNucleus(0), K::kNone, -1, -1));  // a line forgets the click before it
    EXPECT_TRUE(is(page.selectCouplingLine(1), K::kCoupling, 0, 2));
    EXPECT_TRUE(is(page.selectCouplingLine(5), K::kCoupling, 2, 3));
    for (EditRequest r : {page.selectCouplingLine(6), page.selectShiftLine(4), page.clickNucleus(4),
                          page.clickNucleus(-1), page.doubleClickNucleus(10)})
        EXPECT_EQ(r.kind, K::kNone);

    // The dialogs they open write the editing copies; the lists follow.
    CouplingConstantDialog j13(*doc, {0, 2});
    EXPECT_EQ(std::pair(j13.pairText(), j13.valueText()), std::pair(std::string("1,3"), std::string("0.00")));
    j13.ok("7.126");
    EXPECT_EQ(doc->sim.editCouplings[2][0], 7.126);
    EXPECT_EQ(page.couplingLines()[1], "1,3= 7.13");
    ChemicalShiftDialog shift(*doc, 1, 0.0);
    shift.ok("1020.4567");
    EXPECT_EQ(page.shiftLines()[1], "2= 1020.46");
    // OK on the text as shown keeps the value behind it; a pair or nucleus outside is ignored.
    ChemicalShiftDialog(*doc, 1, 0.0).ok("1020.46");
    EXPECT_EQ(doc->sim.editShifts[1], 1020.4567);
    CouplingConstantDialog(*doc, {2, 4}).ok("9");
    ChemicalShiftDialog(*doc, 4, 0.0).ok("9");
    EXPECT_EQ(doc->sim.editShifts.size(), 4u);
}

TEST(SimulationDialogs, UnitsSwitchConvertsTheWindowByTheFrequencyShown) {
    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 2);
    doc->sim.simFromHz = 450.123456;
    SimulationDataDialog page(*doc, ui);
    ASSERT_TRUE(page.open());
    page.layoutRing(600, 400, 57, 40);
    SimulationFields f = page.fields();
    EXPECT_EQ(std::tuple(f.from, f.to, f.sf, f.points, f.lineWidth, f.threshold),
              std::tuple("450.12", "3000.00", "300.00", "8192", "0.30", "0.0010"));
    ChemicalShiftDialog(*doc, 0, 0.0).ok("600");

    f.sf = "400";
    ASSERT_TRUE(page.setUnits(true, f));
    EXPECT_EQ(std::tuple(f.from, f.to, page.unitLabel(), page.ppmFactor()),
              std::tuple("1.1253", "7.5000", "ppm", 400.0));
    EXPECT_EQ(page.shiftLines()[0], "1= 1.50");
    // In ppm the Chemical Shift dialog shows and reads ppm of that frequency.
    ChemicalShiftDialog ppmShift(*doc, 1, page.ppmFactor());
    EXPECT_EQ(ppmShift.unitLabel(), "ppm");
    ppmShift.ok("2.5");
    EXPECT_EQ(doc->sim.editShifts[1], 1000.0);

    ASSERT_TRUE(page.setUnits(false, f));
    EXPECT_EQ(std::tuple(f.from, f.to, page.unitLabel()), std::tuple("450.12", "3000.00", "Hertz"));
    // Untouched edits keep the window exactly; a switch with no frequency to divide by is refused.
    f.sf = "0";
    EXPECT_FALSE(page.setUnits(true, f));
    EXPECT_EQ(f.from, "450.12");
    f.sf = "300.00";
    doc->sim.editCouplings = {{0, 12}, {12, 0}};
    ASSERT_EQ(page.ok(f), SimulationDataDialog::kOk);
    EXPECT_EQ(doc->sim.simFromHz, 450.123456);
    EXPECT_EQ(doc->sim.simSF, 300.0);
}

TEST(SimulationDialogs, OkComputesTheSpectrumCancelDiscardsAndNewAppendsUpToTheTable) {
    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 3);
    {
        SimulationDataDialog page(*doc, ui);
        ASSERT_TRUE(page.open());
        EXPECT_FALSE(page.editing());
        typeAbx(*doc);
        // A window the simulation cannot use keeps the page open with its reason.
        SimulationFields bad = page.fields();
        bad.to = "-5";
        EXPECT_EQ(page.ok(bad), SimulationDataDialog::kKeepOpen);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, kWindowText);
        EXPECT_EQ(doc->sim.simExists, 0);

        SimulationFields f = page.fields();
        f.ppm = true;
        ASSERT_TRUE(page.setUnits(true, f));
        f.lineWidth = "1.5";
        ASSERT_EQ(page.ok(f), SimulationDataDialog::kOk);
    }
    EXPECT_EQ(
        std::tuple(doc->sim.simExists, doc->spectrum.nData, doc->spectrum.xUnits, doc->spectrum.acqPars.SF),
        std::tuple(1, 8192, kPpm, 300.0));
    EXPECT_EQ(doc->sim.simLineWidth, 1.5);
    const std::vector<double> abx = spectrum(*doc);
    EXPECT_GT(*std::max_element(abx.begin(), abx.end()), 0.0);

    // Editing the subsystem loads it, offers no Cancel or New, and keeps the width in use.
    doc->sim.simNewSubsystem = 0;
    doc->sim.currentSubsystem = 0;
    {
        SimulationDataDialog edit(*doc, ui);
        ASSERT_TRUE(edit.open());
        EXPECT_TRUE(edit.editing());
        EXPECT_EQ(edit.couplingLines(), (std::vector<std::string>{"1,2= 12.00", "1,3= 3.00", "2,3= 6.00"}));
        EXPECT_EQ(edit.fields().lineWidth, "1.50");
        ASSERT_EQ(edit.ok(edit.fields()), SimulationDataDialog::kOk);
    }
    EXPECT_EQ(spectrum(*doc), abx);

    // New: each page stores its subsystem and what was typed on it; the sixth is refused.
    auto five = newSimulation(ui, 2);
    for (int s = 0; s < kMaxSubsystems; ++s) {
        five->sim.nNucleiInput = 2;
        SimulationDataDialog page(*five, ui);
        ASSERT_TRUE(page.open());
        five->sim.editShifts = {500.0 + 100 * s, 520.0 + 100 * s};
        SimulationFields f = page.fields();
        f.to = "1500";
        if (s + 1 < kMaxSubsystems) {
            ASSERT_TRUE(page.canAddSubsystem());
            ASSERT_EQ(page.addSubsystem(f), SimulationDataDialog::kNewSubsystem);
            EXPECT_EQ(five->sim.simToHz, 1500.0);
        } else {
            EXPECT_FALSE(page.canAddSubsystem());
            ui.messages.clear();
            EXPECT_EQ(page.addSubsystem(f), SimulationDataDialog::kKeepOpen);
            EXPECT_EQ(ui.messages.at(0).text, kTooManySubsystemsText);
            ASSERT_EQ(page.ok(f), SimulationDataDialog::kOk);
        }
    }
    EXPECT_EQ(five->sim.lastSubsystem, 4);
    SelectSubsystemDialog select(*five);
    EXPECT_EQ(select.lines().size(), 5u);
    EXPECT_EQ(select.lines()[4], "5-> No. of Nuclei: 2");

    // Cancel discards the table; the simulation counts as existing.
    auto cancelled = newSimulation(ui, 2);
    SimulationDataDialog page(*cancelled, ui);
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.cancel(), SimulationDataDialog::kCancelled);
    EXPECT_EQ(std::tuple(cancelled->sim.subsystemsAllocated, cancelled->sim.simExists), std::tuple(0, 1));
    // New asks before clearing an existing simulation; No keeps it.
    ui.answers = {platform::Answer::No};
    EXPECT_FALSE(beginNewSimulation(*doc, ui));
    EXPECT_EQ(doc->sim.simExists, 1);
    EXPECT_EQ(ui.messages.back().text, kClearSimulationText);
}

TEST(SimulationDialogs, SelectSubsystemChoosesOnlySubsystemsThatExist) {
    RecordingUserInterface ui;
    auto doc = newSimulation(ui, 2);
    EXPECT_FALSE(SelectSubsystemDialog(*doc).ok());  // no table yet
    ASSERT_TRUE(allocateSpinSubsystems(*doc, ui));
    doc->sim.lastSubsystem = 1;
    doc->sim.spinSubsystems[0].nNuclei = 2;
    doc->sim.spinSubsystems[1].nNuclei = 7;
    // A choice left from a larger simulation is not kept.
    doc->sim.currentSubsystem = 3;
    SelectSubsystemDialog select(*doc);
    EXPECT_EQ(select.lines(), (std::vector<std::string>{"1-> No. of Nuclei: 2", "2-> No. of Nuclei: 7"}));
    EXPECT_EQ(select.currentText(), "1");
    select.select(1);
    select.select(2);
    EXPECT_EQ(select.currentText(), "2");
    ASSERT_TRUE(select.ok());
    EXPECT_EQ(doc->sim.currentSubsystem, 1);
}

/// Two subsystems, ABX and an AB, computed as the dialogs' OK would.
std::unique_ptr<Document> twoSubsystems(RecordingUserInterface& ui) {
    auto doc = newSimulation(ui, 3);
    doc->sim.simToHz = 2000.0;
    EXPECT_TRUE(allocateSpinSubsystems(*doc, ui));
    typeAbx(*doc);
    EXPECT_TRUE(storeSubsystemParams(*doc, ui));
    doc->sim.lastSubsystem = 1;
    doc->sim.nNucleiInput = 2;
    doc->sim.editShifts = {1500.0, 1530.0};
    doc->sim.editCouplings = {{0, 8}, {8, 0}};
    EXPECT_TRUE(storeSubsystemParams(*doc, ui));
    EXPECT_TRUE(completeSimulation(*doc, ui));
    return doc;
}

TEST(SimulationDialogs, InteractiveStepsChangeTheSelectedValueAndRecomputeWhatItNeeds) {
    RecordingUserInterface ui;
    auto doc = twoSubsystems(ui);
    RecordingRunner runner;
    doc->sim.currentSubsystem = 0;
    InteractiveSimDialog tune(*doc, ui, runner);
    tune.open();
    EXPECT_EQ(doc->sim.simInteractive, 1);
    EXPECT_EQ(tune.shiftLines(), (std::vector<std::string>{"1= 1000.00", "2= 1020.00", "3= 1200.00"}));
    EXPECT_EQ(std::pair(tune.parameterLabel(), tune.parameterText()),
              std::pair(std::string("Sel. Param."), std::string()));
    EXPECT_FALSE(tune.inc("1"));  // nothing selected

    tune.selectShift(1);
    EXPECT_EQ(std::pair(tune.parameterLabel(), tune.parameterText()),
              std::pair(std::string("Shift Nuc. 2"), std::string("1020.00")));
    EXPECT_TRUE(tune.inc("2.5"));
    EXPECT_TRUE(tune.dec("0.5"));
    EXPECT_EQ(doc->sim.spinSubsystems[0].shifts[1], 1022.0);
    EXPECT_EQ(doc->sim.editShifts[1], 1022.0);
    EXPECT_EQ(tune.shiftLines()[1], "2= 1022.00");

    tune.selectCoupling(2);
    EXPECT_EQ(tune.parameterLabel(), "J (2,3)");
    EXPECT_TRUE(tune.apply("6.75"));
    EXPECT_EQ(doc->sim.spinSubsystems[0].couplings[1][2], 6.75);
    EXPECT_EQ(tune.couplingLines()[2], "2,3= 6.75");

    // The width: a step below 0.01 Hz stops there with the warning.
    tune.selectWidth();
    EXPECT_EQ(std::pair(tune.parameterLabel(), tune.widthLine()),
              std::pair(std::string("Width"), std::string("0.30")));
    EXPECT_TRUE(tune.dec("1"));
    EXPECT_EQ(doc->sim.simLineWidth, kMinTuningWidth);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(std::pair(ui.messages.back().text, ui.messages.back().caption),
              std::pair(std::string(kLineWidthClampText), std::string("Warning")));
    EXPECT_EQ(runner.asked, (std::vector<Recompute>{Recompute::Full, Recompute::Full, Recompute::Full,
                                                    Recompute::WidthOnly}));

    // Rows outside the lists select nothing; once a load released the simulation, no step writes.
    tune.selectShift(3);
    tune.selectCoupling(3);
    EXPECT_EQ(tune.parameterLabel(), "Width");
    tune.selectShift(0);
    freeSpinSubsystems(*doc);
    EXPECT_FALSE(tune.inc("1"));
    EXPECT_TRUE(tune.shiftLines().empty());
    EXPECT_EQ(runner.asked.size(), 4u);
    tune.close();
    EXPECT_EQ(doc->sim.simInteractive, 0);
}

TEST(SimulationDialogs, ShiftThenWidthStepsMatchAFreshComputationInPlaceAndOffThread) {
    RecordingUserInterface ui;
    auto tuned = twoSubsystems(ui);
    auto threaded = twoSubsystems(ui);
    ImmediateTuning now(*tuned, ui);
    InteractiveSimDialog tune(*tuned, ui, now);
    tune.open();
    tune.selectShift(2);
    ASSERT_TRUE(tune.apply("1250"));
    tune.selectWidth();
    ASSERT_TRUE(tune.apply("0.8"));

    // Every subsystem computed anew with the new shift and width is the same spectrum: the
    // width step re-synthesised both from their stored lines and kept the shift.
    auto fresh = twoSubsystems(ui);
    fresh->sim.spinSubsystems[0].shifts[2] = 1250.0;
    fresh->sim.simLineWidth = 0.8;
    fresh->sim.simInteractive = 1;
    ASSERT_TRUE(recomputeSimulation(*fresh, ui));
    EXPECT_EQ(spectrum(*tuned), spectrum(*fresh));
    EXPECT_EQ(tuned->sim.spinSubsystems[0].transFreq, fresh->sim.spinSubsystems[0].transFreq);

    // The same two steps as jobs on a scratch document, brought back in turn.
    auto scratch = std::make_unique<Document>();
    threaded->sim.spinSubsystems[0].shifts[2] = 1250.0;
    auto full = snapshotTuning(*threaded, Recompute::Full);
    runTuningJob(*full, *scratch);
    ASSERT_TRUE(applyTuningResult(*threaded, ui, *full, *scratch));
    threaded->sim.simLineWidth = 0.8;
    auto width = snapshotTuning(*threaded, Recompute::WidthOnly);
    runTuningJob(*width, *scratch);
    ASSERT_TRUE(applyTuningResult(*threaded, ui, *width, *scratch));
    EXPECT_EQ(spectrum(*threaded), spectrum(*fresh));
    EXPECT_EQ(threaded->spectrum.acqPars, tuned->spectrum.acqPars);  // the axis is not rewritten by tuning

    // A result whose simulation changed shape meanwhile is dropped; its messages still show.
    auto stale = snapshotTuning(*threaded, Recompute::Full);
    stale->sim.spinSubsystems[1].shifts[0] = std::numeric_limits<double>::infinity();
    runTuningJob(*stale, *scratch);
    const std::vector<double> before = spectrum(*threaded);
    const std::size_t shown = ui.messages.size();
    EXPECT_FALSE(applyTuningResult(*threaded, ui, *stale, *scratch));
    EXPECT_EQ(ui.messages.size(), shown + 1);
    auto reshaped = snapshotTuning(*threaded, Recompute::Full);
    runTuningJob(*reshaped, *scratch);
    threaded->sim.lastSubsystem = 0;
    EXPECT_FALSE(applyTuningResult(*threaded, ui, *reshaped, *scratch));
    EXPECT_EQ(spectrum(*threaded), before);
}

}  // namespace
}  // namespace pelvaron::simulation
