// Simulation > New, Edit Parameters, Interactive Simulation and Compare to current spc.
#include "app/simulation_commands.h"

#include "app/display_commands.h"
#include "display/tools.h"
#include "display/two_set.h"
#include "simulation/simulation_dialogs.h"

namespace pelvaron::app {

namespace {

using simulation::InputParametersDialog;
using simulation::SimulationDataDialog;

void setSimulationMenus(CommandContext& c, bool edit, bool compare) {
    MenuState& menus = c.dispatcher.menus();
    menus.setEnabled(kCmdEditSimulation, edit);
    menus.setEnabled(kCmdInteractiveSimulation, edit);
    menus.setEnabled(kCmdCompareSimulation, compare);
}

/// Select Subsystem; false when cancelled.
bool chooseSubsystem(CommandContext& c) {
    simulation::SelectSubsystemDialog model(c.doc);
    return c.dialogs.runSelectSubsystemDialog(model);
}

/// A spectrum was computed by the flow: the simulation exists with its table.
bool simulationComputed(const Document& doc) { return doc.sim.simExists && doc.sim.subsystemsAllocated; }

}  // namespace

int newSpinSystemFlow(CommandContext& c, bool askCount) {
    if (askCount) {
        for (;;) {
            InputParametersDialog count(c.doc);
            const int result = c.dialogs.runInputParametersDialog(count);
            if (result == InputParametersDialog::kCancelled) return kFlowCancelled;
            if (result == InputParametersDialog::kAccepted) break;
            c.ui.message(simulation::kCountErrorText, "Error", platform::Icon::None);
        }
    }
    if (c.doc.sim.nNucleiInput <= 0) return kFlowDone;
    SimulationDataDialog page(c.doc);
    const int closed = c.dialogs.runSimulationDataDialog(page);
    // What the window has not shown yet.
    platform::reportAll(c.ui, page.said);
    switch (closed) {
        case SimulationDataDialog::kOk:
            setSimulationMenus(c, true, false);
            display::resetTool(c.view);
            platform::clearStatusBar(c.ui);
            c.doc.notify(kAllDrawn);
            return kFlowDone;
        case SimulationDataDialog::kNewSubsystem: (void)newSpinSystemFlow(c, true); return kFlowDone;
        case SimulationDataDialog::kCancelled: setSimulationMenus(c, false, false); return kFlowDataCancelled;
        default: return kFlowCancelled;
    }
}

void CommandDispatcher::registerSimulationCommands() {
    registerCommand(kCmdSimulationNew, [](CommandContext& c) {
        if (!simulation::beginNewSimulation(c.doc, c.ui)) return;
        (void)newSpinSystemFlow(c, true);
    });
    registerCommand(kCmdEditSimulation, [](CommandContext& c) {
        if (!chooseSubsystem(c)) return;
        SimulationState& sim = c.doc.sim;
        sim.simNewSubsystem = 0;
        sim.simInteractive = 1;
        sim.simUpdateDocument = 1;
        (void)newSpinSystemFlow(c, false);
        sim.simInteractive = 0;
        sim.simUpdateDocument = 0;
        // The page edited the subsystem chosen; further pages append.
        sim.simNewSubsystem = 1;
    });
    registerCommand(kCmdInteractiveSimulation, [](CommandContext& c) {
        if (!chooseSubsystem(c)) return;
        c.doc.sim.simNewSubsystem = 1;
        c.doc.sim.simInteractive = 1;
        c.dialogs.showInteractiveSimDialog();
    });
    registerCommand(kCmdCompareSimulation, [](CommandContext& c) {
        c.doc.sim.simNewSubsystem = 1;
        const bool started = startTwoSetDisplay(c, [&c] {
            simulation::beginCompareSimulation(c.doc);
            // Only a computed simulation is compared: a cancelled count or page leaves the
            // measured data alone, without a second set to move.
            if (newSpinSystemFlow(c, true) != kFlowDone || !simulationComputed(c.doc)) return false;
            // The measured copy alone is scaled: Quit puts the measured data back as they were.
            display::matchSecondSetHeight(c.doc);
            return true;
        });
        // The measured data are still there to compare with.
        if (!started) c.dispatcher.menus().setEnabled(kCmdCompareSimulation, true);
    });
}

}  // namespace pelvaron::app
