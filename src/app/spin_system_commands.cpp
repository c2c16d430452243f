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

/// Counts the messages it passes on: any message of the engine means the spectrum is not to be
/// trusted, as on the command line.
class CountingInterface : public platform::UserInterface {
public:
    explicit CountingInterface(platform::UserInterface& ui) : ui_(ui) {}
    platform::Answer message(std::string_view text, std::string_view caption, Icon icon,
                             platform::Buttons buttons) override {
        ++count;
        return ui_.message(text, caption, icon, buttons);
    }
    std::optional<std::string> chooseFile(const platform::FileRequest& request) override {
        return ui_.chooseFile(request);
    }
    void setStatusText(int part, std::string_view text) override { ui_.setStatusText(part, text); }
    void setWindowTitle(std::string_view title) override { ui_.setWindowTitle(title); }
    void enableDocumentMenus(bool enable) override { ui_.enableDocumentMenus(enable); }
    void setWaitCursor(bool on) override { ui_.setWaitCursor(on); }
    void requestRepaint() override { ui_.requestRepaint(); }
    void destroyExpansionWindows() override { ui_.destroyExpansionWindows(); }
    platform::TextExtent measureText(std::string_view text) override { return ui_.measureText(text); }
    int count = 0;

private:
    platform::UserInterface& ui_;
};

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
    {
        auto trial = std::make_unique<Document>();
        CountingInterface counting(c.ui);
        if (!simulation::simulateSpinSystem(*trial, counting, file) || counting.count != 0) return;
    }
    releaseSimulation(c.doc);
    (void)simulation::simulateSpinSystem(c.doc, c.ui, file);
    platform::clearStatusBar(c.ui);
    display::resetTool(c.doc);
    c.ui.requestRepaint();
}

void saveSpinSystem(CommandContext& c) {
    if (!c.doc.sim.simExists) {
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
