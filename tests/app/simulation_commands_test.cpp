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

/// A page on which the person types these shifts (Hz) and J(1,2), then presses `button`.
std::function<int(SimulationDataDialog&)> typePage(Document& doc, std::vector<double> shifts, double j12,
                                                   int button = SimulationDataDialog::kOk) {
    return [&doc, shifts, j12, button](SimulationDataDialog& m) {
        for (std::size_t i = 0; i < shifts.size(); ++i)
            simulation::ChemicalShiftDialog(doc, static_cast<int>(i), 0.0).ok(cformat("%.6f", shifts[i]));
        if (shifts.size() > 1) simulation::CouplingConstantDialog(doc, {0, 1}).ok(cformat("%.6f", j12));
        if (button == SimulationDataDialog::kNewSubsystem) return m.addSubsystem(m.fields());
        if (button == SimulationDataDialog::kCancelled) return m.cancel();
        return m.ok(m.fields());
    };
}

bool enabled(AppFixture& f, int id) { return f.dispatcher.menus().isEnabled(id); }

TEST(SimulationCommands, NewAsksTheCountUntilValidThenPagesUntilOk) {
    AppFixture f(false);
    Document& doc = *f.doc;
    EXPECT_TRUE(enabled(f, app::kCmdSimulationNew));
    EXPECT_FALSE(enabled(f, app::kCmdEditSimulation) || enabled(f, app::kCmdCompareSimulation));

    // 11 is refused with the error and the count asked again; an AB, then New for an A3.
    f.host.inputParameters.push(typeCount("11"));
    f.host.inputParameters.push(typeCount("2"));
    f.host.inputParameters.push(typeCount("1"));
    f.host.simulationData.push(typePage(doc, {1000, 1040}, 10, SimulationDataDialog::kNewSubsystem));
    f.host.simulationData.push(typePage(doc, {2000}, 0));
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(std::pair(f.ui.messages[0].text, f.ui.messages[0].caption),
              std::pair(std::string(simulation::kCountErrorText), std::string("Error")));
    EXPECT_EQ(std::tuple(f.host.inputParameters.runs, f.host.simulationData.runs, doc.sim.lastSubsystem),
              std::tuple(3, 2, 1));
    EXPECT_EQ(std::tuple(doc.sim.simExists, doc.spectrum.nData, doc.spectrum.xUnits),
              std::tuple(1, 8192, kHz));
    EXPECT_TRUE(enabled(f, app::kCmdEditSimulation) && enabled(f, app::kCmdInteractiveSimulation));
    EXPECT_FALSE(enabled(f, app::kCmdCompareSimulation));
    const simulation::SpinSystemFile entered = simulation::spinSystemOf(doc);
    ASSERT_EQ(entered.subsystems.size(), 2u);
    EXPECT_EQ(entered.subsystems[0].couplings[0][1], 10.0);

    // Edit Parameters on the second subsystem: its page alone, recomputing both.
    const std::vector<double> before(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + 8192);
    f.host.selectSubsystem.push([](simulation::SelectSubsystemDialog& m) { return m.select(1), m.ok(); });
    f.host.simulationData.push([&doc](SimulationDataDialog& m) {
        EXPECT_TRUE(m.editing());
        simulation::ChemicalShiftDialog(doc, 0, 0.0).ok("2100");
        return m.ok(m.fields());
    });
    f.dispatcher.dispatch(app::kCmdEditSimulation);
    EXPECT_EQ(doc.sim.spinSubsystems[1].shifts[0], 2100.0);
    EXPECT_EQ(doc.sim.spinSubsystems[0].shifts[1], 1040.0);
    EXPECT_EQ(std::tuple(doc.sim.simInteractive, doc.sim.simUpdateDocument, doc.sim.simNewSubsystem),
              std::tuple(0, 0, 1));
    EXPECT_NE(std::vector<double>(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + 8192),
              before);
    f.host.selectSubsystem.push([](simulation::SelectSubsystemDialog& m) { return m.ok(); });
    f.dispatcher.dispatch(app::kCmdInteractiveSimulation);
    EXPECT_EQ(std::tuple(f.host.interactiveShown, doc.sim.simInteractive, doc.sim.currentSubsystem),
              std::tuple(1, 1, 1));

    // New again asks first; No keeps the simulation. A count of 0 asks for no page; Cancel on a
    // page grays the three items.
    f.ui.answers = {platform::Answer::No};
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_EQ(f.ui.messages.back().text, simulation::kClearSimulationText);
    EXPECT_EQ(doc.sim.lastSubsystem, 1);
    f.host.inputParameters.push(typeCount("0"));
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_EQ(std::tuple(f.host.simulationData.runs, doc.sim.simExists, doc.sim.lastSubsystem),
              std::tuple(3, 0, 0));
    f.host.inputParameters.push(typeCount("2"));
    f.host.simulationData.push(typePage(doc, {1000, 1040}, 10, SimulationDataDialog::kCancelled));
    f.dispatcher.dispatch(app::kCmdSimulationNew);
    EXPECT_FALSE(enabled(f, app::kCmdEditSimulation) || enabled(f, app::kCmdInteractiveSimulation));
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
    EXPECT_EQ(doc.addSubMode, 0);
    EXPECT_FALSE(f.host.twoSetControls);
    EXPECT_EQ(std::vector<double>(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n),
              measured);

    f.host.inputParameters.push(typeCount("1"));
    f.host.simulationData.push(typePage(doc, {methylHz}, 0));
    f.dispatcher.dispatch(app::kCmdCompareSimulation);
    EXPECT_EQ(doc.addSubMode, 1);
    EXPECT_TRUE(f.host.twoSetControls);
    EXPECT_EQ(std::tuple(doc.spectrum.nData, doc.spectrum.acqPars.SW, doc.sim.simSF),
              std::tuple(n, sw, doc.spectrum.acqPars.SF));
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
    EXPECT_EQ(std::vector<double>(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + n),
              simulated);
}

}  // namespace
}  // namespace pelvaron::testing
