// The Simulation menu: New's flow of count and pages with the menus it leaves, Edit Parameters,
// Interactive Simulation, and Compare over a measured spectrum's window.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/display_commands.h"
#include "app/simulation_commands.h"
#include "app_fixture.h"
#include "base/format.h"
#include "io/load.h"
#include "simulation/spin_engine.h"
#include "simulation/spin_system_file.h"
#include "temp_dir.h"

namespace pelvaron::testing {
namespace {

using simulation::InputParametersDialog;
using simulation::SimulationDataDialog;

/// A count the person types into Input parameters.
std::function<int(InputParametersDialog&)> typeCount(const char* text) {
    return [text](InputParametersDialog& m) { return m.ok(text); };
}

/// Shifts (Hz) and J(1,2) typed into the page's Chemical Shift and Coupling Constant dialogs.
void typeSystem(Document& doc, std::vector<double> shifts, double j12) {
    for (std::size_t i = 0; i < shifts.size(); ++i)
        simulation::ChemicalShiftDialog(doc, static_cast<int>(i), 0.0).ok(cformat("%.6f", shifts[i]));
    if (shifts.size() > 1) simulation::CouplingConstantDialog(doc, {0, 1}).ok(cformat("%.6f", j12));
}

/// A page on which the person types a system, then presses `button`.
std::function<int(SimulationDataDialog&)> typePage(Document& doc, std::vector<double> shifts, double j12,
                                                   int button = SimulationDataDialog::kOk) {
    return [&doc, shifts, j12, button](SimulationDataDialog& m) {
        typeSystem(doc, shifts, j12);
        if (button == SimulationDataDialog::kNewSubsystem) return m.addSubsystem(m.fields());
        if (button == SimulationDataDialog::kCancelled) return m.cancel();
        return m.ok(m.fields());
    };
}

bool enabled(AppFixture& f, int id) { return f.dispatcher.menus().isEnabled(id); }

TEST(SimulationCommands, NewEntersFiveSubsystemsPageByPageToEditTuneOrReplace) {
    AppFixture f(false);
    Document& doc = *f.doc;
    EXPECT_TRUE(enabled(f, app::kCmdSimulationNew));
    EXPECT_FALSE(enabled(f, app::kCmdEditSimulation) || enabled(f, app::kCmdCompareSimulation));

    // 11 is refused with the error and the count asked again. A window the simulation cannot use
    // keeps the first page open with its reason; four pages end with New, what was typed on one
    // standing for the next; New on the fifth is refused, the table being full, and its OK
    // computes all five, in ppm with the width typed.
    f.host.inputParameters.push(typeCount("11"));
    for (int s = 0; s < kMaxSubsystems; ++s) {
        f.host.inputParameters.push(typeCount("2"));
        f.host.simulationData.push([&doc, s](SimulationDataDialog& m) {
            typeSystem(doc, {1000.0 + 100 * s, 1040.0 + 100 * s}, 10.0 + s);
            simulation::SimulationFields typed = m.fields();
            typed.to = "-5";
            EXPECT_TRUE(s > 0 || m.ok(typed) == SimulationDataDialog::kKeepOpen);
            typed.to = "1500";
            if (s + 1 < kMaxSubsystems) return m.addSubsystem(typed);
            EXPECT_EQ(m.addSubsystem(typed), SimulationDataDialog::kKeepOpen);
            typed.lineWidth = "1.5";
            return m.setUnits(true, typed) ? m.ok(typed) : SimulationDataDialog::kKeepOpen;
        });
    }
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_EQ(f.ui.messageTexts(),
              (std::vector<std::string>{simulation::kCountErrorText, simulation::kWindowText,
                                        simulation::kTooManySubsystemsText}));
    EXPECT_EQ(f.ui.messages[0].caption, "Error");
    EXPECT_EQ(std::tuple(f.host.inputParameters.runs, f.host.simulationData.runs, doc.sim.lastSubsystem),
              std::tuple(6, 5, 4));
    EXPECT_EQ(std::tuple(doc.sim.simExists, doc.spectrum.nData, doc.spectrum.xUnits, doc.sim.simToHz, doc.sim.simLineWidth),
              std::tuple(1, 8192, kPpm, 1500.0, 1.5));
    EXPECT_TRUE(enabled(f, app::kCmdEditSimulation) && enabled(f, app::kCmdInteractiveSimulation));
    EXPECT_FALSE(enabled(f, app::kCmdCompareSimulation));
    const simulation::SpinSystemFile entered = simulation::spinSystemOf(doc);
    ASSERT_EQ(entered.subsystems.size(), 5u);
    EXPECT_EQ(entered.subsystems[4].couplings[0][1], 14.0);

    // Edit Parameters on the second subsystem: its page alone, loaded with what is in use,
    // recomputing all. Select Subsystem offers the five and no row past them.
    const std::vector<double> before(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + 8192);
    f.host.selectSubsystem.push([](simulation::SelectSubsystemDialog& m) {
        EXPECT_EQ(std::pair(m.lines().size(), m.lines()[4]),
                  std::pair(std::size_t{5}, std::string("5-> No. of Nuclei: 2")));
        return m.select(1), m.select(5), m.ok();
    });
    f.host.simulationData.push([&doc](SimulationDataDialog& m) {
        EXPECT_TRUE(m.editing());
        EXPECT_EQ(std::pair(m.couplingLines()[0], m.fields().lineWidth),
                  std::pair(std::string("1,2= 11.00"), std::string("1.50")));
        simulation::ChemicalShiftDialog(doc, 0, 0.0).ok("2100");
        return m.ok(m.fields());
    });
    f.dispatcher.dispatch(app::kCmdEditSimulation);
    simulation::SpinSystemFile edited = entered;
    edited.subsystems[1].shifts[0] = 2100.0 / 300.0;
    EXPECT_EQ(simulation::spinSystemOf(doc), edited);
    EXPECT_EQ(std::tuple(doc.sim.simInteractive, doc.sim.simUpdateDocument, doc.sim.simNewSubsystem),
              std::tuple(0, 0, 1));
    EXPECT_NE(std::vector<double>(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + 8192), before);
    f.host.selectSubsystem.push([](simulation::SelectSubsystemDialog& m) { return m.ok(); });
    f.dispatcher.dispatch(app::kCmdInteractiveSimulation);
    EXPECT_EQ(std::tuple(f.host.interactiveShown, doc.sim.simInteractive, doc.sim.currentSubsystem),
              std::tuple(1, 1, 1));

    // A spin-system file opened while Interactive Sim. tunes replaces the simulation whole, on the
    // file's own axis; so it does over a New left unfinished (a page, New, the next count
    // cancelled), whose table holds that page's system.
    TempDir dir;
    writeFile(dir.file("abx.json"), R"({"from": 500, "to": 1500, "points": 4096,
                       "subsystems": [{"shifts": [1000, 1020, 1200], "couplings": [[1, 2, 12]]}]})");
    const simulation::SpinSystemFile::Subsystem abx{{1000, 1020, 1200}, {{0, 12, 0}, {12, 0, 0}, {0, 0, 0}}};
    for (const bool unfinished : {false, true}) {
        if (unfinished) {
            f.host.inputParameters.push(typeCount("2"));
            f.host.simulationData.push(typePage(doc, {1000, 1040}, 10, SimulationDataDialog::kNewSubsystem));
            f.dispatcher.dispatch(app::kCmdSimulationNew);
        }
        doc.noSaveQuery = 1;
        f.ui.files = {dir.file("abx.json")};
        f.dispatcher.dispatch(app::kCmdOpenSpinSystem);
        EXPECT_EQ(simulation::spinSystemOf(doc).subsystems, std::vector{abx}) << unfinished;
        EXPECT_EQ(std::tuple(doc.spectrum.nData, doc.spectrum.acqPars.SW, doc.sim.simExists), std::tuple(4096, 1000.0, 1));
    }

    // New again asks first; No keeps the simulation. A count of 0 asks for no page; Cancel on a
    // page discards the table and grays the three items, the simulation counting as existing.
    f.ui.answers = {platform::Answer::No};
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_EQ(f.ui.messages.back().text, simulation::kClearSimulationText);
    EXPECT_EQ(doc.sim.subsystemsAllocated, 1);
    const int pages = f.host.simulationData.runs;
    f.host.inputParameters.push(typeCount("0"));
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_EQ(std::tuple(f.host.simulationData.runs, doc.sim.simExists, doc.sim.subsystemsAllocated),
              std::tuple(pages, 0, 0));
    f.host.inputParameters.push(typeCount("2"));
    f.host.simulationData.push(typePage(doc, {1000, 1040}, 10, SimulationDataDialog::kCancelled));
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_FALSE(enabled(f, app::kCmdEditSimulation) || enabled(f, app::kCmdInteractiveSimulation));
    EXPECT_EQ(std::tuple(doc.sim.subsystemsAllocated, doc.sim.simExists), std::tuple(0, 1));
}

TEST(SimulationCommands, CompareSimulatesOverTheMeasuredWindowAndLinesFallOnItsAxis) {
    AppFixture f(false);
    Document& doc = *f.doc;
    ASSERT_TRUE(io::loadFile(doc, f.ui, sourcePath("tests/data/aspirin-1h/processed-set"), std::nullopt));
    f.dispatcher.menus().enableDocumentMenus(true);
    ASSERT_TRUE(enabled(f, app::kCmdCompareSimulation));
    const int n = doc.spectrum.nData;
    doc.spectrum.acqPars.TD = n / 2;  // a size recorded by the file other than the spectrum's
    const double sw = doc.spectrum.acqPars.SW;
    const std::vector<double> measured(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n);
    // The acetyl methyl, the largest line, at the Hz its axis gives it.
    (void)findPeak(doc.spectrum);
    const int methyl = doc.spectrum.peakIndex;
    // A line is drawn on the point at or below its frequency: a quarter point above the
    // methyl's keeps it off the boundary.
    const double methylHz = (doc.spectrum.refIndex - methyl + 0.5) / (n / sw);

    // A cancelled count or page starts no display and keeps the measured data.
    f.dispatcher.dispatch(app::kCmdCompareSimulation);
    f.host.inputParameters.push(typeCount("1"));
    f.host.simulationData.push(typePage(doc, {methylHz}, 0, SimulationDataDialog::kCancelled));
    f.dispatcher.dispatch(app::kCmdCompareSimulation);
    EXPECT_EQ(std::pair(f.view.addSubMode, f.host.twoSetControls), std::pair(0, false));
    EXPECT_EQ(std::vector<double>(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n), measured);

    f.host.inputParameters.push(typeCount("1"));
    f.host.simulationData.push(typePage(doc, {methylHz}, 0));
    f.dispatcher.dispatch(app::kCmdCompareSimulation);
    EXPECT_EQ(std::pair(f.view.addSubMode, f.host.twoSetControls), std::pair(1, true));
    EXPECT_EQ(std::tuple(doc.spectrum.nData, doc.spectrum.acqPars.SW, doc.sim.simSF), std::tuple(n, sw, doc.spectrum.acqPars.SF));
    // The simulated singlet stands where the measured methyl stands.
    const auto top = std::max_element(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n);
    EXPECT_EQ(top - doc.spectrum.specData.begin(), methyl);
    // The measured spectrum, whose intensities are millions of times the simulation's, is
    // drawn at the simulation's height: its methyl as tall as the simulated one, every point
    // scaled alike.
    EXPECT_NEAR(doc.secondData[methyl], *top, 1e-9 * *top);
    const double k = doc.secondData[methyl] / measured[methyl];
    for (int i = 0; i < n; i += 997) EXPECT_NEAR(doc.secondData[i], measured[i] * k, 1e-9 * *top) << i;
    // 1-2 leaves the scaled measured spectrum's negative in the simulation; Quit puts the
    // simulation back as it was computed.
    const std::vector<double> simulated(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n);
    f.dispatcher.dispatch(app::kCmdTwoSetSubtract);
    EXPECT_NEAR(doc.spectrum.specData[methyl], 0.0, 1e-9 * simulated[methyl]);
    f.dispatcher.dispatch(app::kCmdTwoSetQuit);
    EXPECT_EQ(std::vector<double>(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n), simulated);
}

}  // namespace
}  // namespace pelvaron::testing
