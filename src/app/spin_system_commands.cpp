// Simulation > Open Spin System and Save Spin System: the spin-system files of
// pelvaron-cli simulate, read into a simulated spectrum and written from the present simulation.
#include <memory>
#include <string>

#include "app/dispatcher.h"
#include "display/tools.h"
#include "io/companion.h"
#include "io/file_dialogs.h"
#include "io/native_file.h"
#include "io/text_export.h"
#include "simulation/spin_system_file.h"

namespace pelvaron::app {

namespace {

using platform::Icon;

constexpr const char* kCaption = "Spin System";

void openSpinSystem(CommandContext& c) {
    if (!io::saveQuestion(c.doc, c.ui)) return;
    platform::FileRequest request;
    request.defaultExtension = "json";
    const std::optional<std::string> path = c.ui.chooseFile(request);
    if (!path) return;
    const std::optional<std::string> text = io::readWholeFile(*path);
    if (!text) {
        c.ui.message("Cannot Open this file", "Error", Icon::None);
        return;
    }
    simulation::SpinSystemFile file;
    std::string error;
    if (!simulation::parseSpinSystemJson(*text, file, error)) {
        c.ui.message(io::fileTitleOf(*path) + ": " + error, kCaption, Icon::Exclamation);
        return;
    }
    // Tried on a document of its own first, so that a system the engine refuses leaves the data
    // set that is open as it was.
    simulation::Messages said;
    auto simulate = [&](Document& doc) {
        c.ui.setWaitCursor(true);
        const bool simulated = simulation::simulateSpinSystem(doc, said, file);
        c.ui.setWaitCursor(false);
        platform::reportAll(c.ui, said);
        return simulated;
    };
    if (!simulate(*std::make_unique<Document>())) return;
    // The simulation there was is released on the way, as New releases it.
    (void)simulate(c.doc);
    platform::clearStatusBar(c.ui);
    display::resetTool(c.view);
    c.doc.notify(kAllDrawn);
}

void saveSpinSystem(CommandContext& c) {
    // A cancelled page leaves a simulation without subsystems: nothing to save either.
    if (!c.doc.sim.simExists || !c.doc.sim.subsystemsAllocated) {
        c.ui.message("There is no spin system to save: simulate one first.", kCaption, Icon::Exclamation);
        return;
    }
    platform::FileRequest request;
    request.save = true;
    request.defaultExtension = "json";
    const std::optional<std::string> path = c.ui.chooseFile(request);
    if (!path) return;
    const std::string text = simulation::writeSpinSystemJson(simulation::spinSystemOf(c.doc));
    if (io::writeTextFile(*path, text) != io::TextFileResult::Written)
        c.ui.message("Cannot Save File", "File Error", Icon::Stop);
}

}  // namespace

void CommandDispatcher::registerSpinSystemCommands() {
    registerCommand(kCmdOpenSpinSystem, [](CommandContext& c) { openSpinSystem(c); });
    registerCommand(kCmdSaveSpinSystem, [](CommandContext& c) { saveSpinSystem(c); });
}

}  // namespace pelvaron::app
