// The command dispatcher: every menu item, toolbar button and accelerator arrives here by its
// id. It keeps the table of commands, the enabled state of each, and serves the small commands
// that need no subsystem of their own (Undo, the view and scale commands, Invert, the linear
// drift removal, Open, Save, Import, Exit, comments, help) and the commands that hand a
// subsystem's dialog model to the window (Apodize, Fourier transform, Phase Correction,
// Autophase, Export JCamp, Byte Swap, Data points).
#pragma once

#include <functional>
#include <map>
#include <string>

#include "app/command_ids.h"
#include "app/dialog_host.h"
#include "app/menu_state.h"
#include "app/ui_presenter.h"
#include "display/tools.h"
#include "display/view.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::app {

/// Menu items and toolbar buttons invalidate the plot and focus the window first; accelerator
/// keys do not.
enum class CommandSource { Menu, Accelerator };

class CommandDispatcher;

/// What a command works with.
struct CommandContext {
    Document& doc;
    display::View& view;
    platform::UserInterface& ui;
    DialogHost& dialogs;
    CommandDispatcher& dispatcher;
};

using CommandHandler = std::function<void(CommandContext&)>;

class CommandDispatcher {
public:
    /// Registers the commands served here.
    CommandDispatcher(Document& doc, platform::UserInterface& ui, DialogHost& dialogs);

    /// Adds (or replaces) the command `id`; subsystems with windows of their own register theirs.
    void registerCommand(int id, CommandHandler handler);
    /// Whether a command serves `id`: the window shows only the items that have one.
    [[nodiscard]] bool hasCommand(int id) const;

    /// Runs command `id` if it has a handler and is enabled; false when nothing ran.
    bool dispatch(int id, CommandSource source = CommandSource::Menu);

    /// The enabled state of every item; the window mirrors it on its menus and toolbar.
    [[nodiscard]] MenuState& menus() { return menus_; }
    [[nodiscard]] const MenuState& menus() const { return menus_; }

    /// Closing the window: the save question; false when the person cancelled.
    [[nodiscard]] bool queryClose();

    /// The main plot's view of the document, which follows each new data set.
    [[nodiscard]] display::View& view() { return view_; }
    [[nodiscard]] const display::View& view() const { return view_; }

    /// "pelvaron FILE": loads the file with the format its content and companions show.
    bool openPath(const std::string& path);
    /// A file dropped on the window: opened as a Native file, handed to Import when it is not.
    bool openDropped(const std::string& path);

    /// File > Open Recent: the save question, then the file loaded as openPath loads it. False when
    /// the person cancelled or the file could not be loaded (its reader has said why).
    bool openRecent(const std::string& path);

    /// Called with the file's path each time a data set is loaded from a file: Open, Import, a
    /// drop, the command line and Open Recent. The window keeps its recent files with it.
    void setFileLoadedCallback(std::function<void(const std::string&)> callback) {
        fileLoaded_ = std::move(callback);
    }

    /// Whether the last Open loaded a file (or handed it to Import).
    [[nodiscard]] bool lastOpenSucceeded() const { return lastOpenSucceeded_; }

    /// Phase Correction or Interactive Apodization opened (the command) or closed (the window, on
    /// OK, Cancel or close): while one is open the commands that bring a new data set are grayed,
    /// and so is the other dialog, as both return to the one Undo snapshot; Interactive
    /// Apodization also grays Apodize, whose snapshot its Cancel would return to, Undo, and Byte
    /// Swap, which would replace the FID it starts from.
    void setPhaseDialogOpen(bool open);
    void setApodizationDialogOpen(bool open);

    /// A mouse event on the plot asked for a dialog or the report (display::ToolFeedback):
    /// runs it through the dialog host; `index` is the feedback's requestIndex.
    void toolRequested(display::ToolRequest request, int index);
    [[nodiscard]] bool phaseDialogOpen() const { return phaseDialogOpen_; }
    [[nodiscard]] bool apodizationDialogOpen() const { return apodizationDialogOpen_; }

private:
    Document& doc_;
    platform::UserInterface& ui_;
    DialogHost& dialogs_;
    display::View view_;
    /// Attached before the presenter: the expansion windows it closes find their slots freed.
    display::ViewFollower follower_;
    /// The document's change notices shown through ui_ (title, menus, expansion windows).
    UserInterfacePresenter presenter_;
    MenuState menus_;
    std::map<int, CommandHandler> handlers_;
    bool lastOpenSucceeded_ = false;
    std::function<void(const std::string&)> fileLoaded_;
    bool phaseDialogOpen_ = false;
    bool apodizationDialogOpen_ = false;

    void holdForLiveDialogs();
    /// Tells fileLoaded_ the document's file when `loaded`; returns `loaded`.
    bool reportLoaded(bool loaded);

    void registerBuiltins();
    /// The commands of the processing and data-file subsystems (subsystem_commands.cpp).
    void registerSubsystemCommands();
    /// The baseline, data-operation and analysis commands (analysis_commands.cpp).
    void registerAnalysisCommands();
    /// Open and Save Spin System (spin_system_commands.cpp).
    void registerSpinSystemCommands();
    /// New, Edit Parameters, Interactive Simulation and Compare (simulation_commands.cpp).
    void registerSimulationCommands();
    /// Print, the clipboard copies, Export Picture and the Printer Options (output_commands.cpp).
    void registerOutputCommands();
    /// Create Expansions, Add/Subtract and the two-set strip's buttons (display_commands.cpp).
    void registerDisplayCommands();
    void open(CommandContext& c);
    void import(CommandContext& c);
};

}  // namespace pelvaron::app
