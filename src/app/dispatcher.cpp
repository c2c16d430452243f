// The command table and the small commands served by the dispatcher itself.
#include "app/dispatcher.h"

#include <filesystem>

#include "base/numeric.h"
#include "display/comments.h"
#include "display/tools.h"
#include "io/import.h"
#include "io/load.h"
#include "io/native_file.h"
#include "processing/data_ops.h"
#include "simulation/spin_engine.h"

namespace pelvaron::app {

namespace {

using platform::clearStatusBar;

void toggle(int& flag) { flag = flag ? 0 : 1; }

}  // namespace

CommandDispatcher::CommandDispatcher(Document& doc, platform::UserInterface& ui, DialogHost& dialogs)
    : doc_(doc), ui_(ui), dialogs_(dialogs), follower_(doc, view_), presenter_(doc, ui) {
    registerBuiltins();
    registerSubsystemCommands();
    registerAnalysisCommands();
    registerSpinSystemCommands();
    registerSimulationCommands();
    registerOutputCommands();
    registerDisplayCommands();
}

void CommandDispatcher::registerCommand(int id, CommandHandler handler) {
    handlers_[id] = std::move(handler);
}

bool CommandDispatcher::hasCommand(int id) const { return handlers_.count(id) != 0; }

bool CommandDispatcher::dispatch(int id, CommandSource source) {
    const auto it = handlers_.find(id);
    // A grayed item does nothing, also when its accelerator key is pressed.
    if (it == handlers_.end() || !menus_.isEnabled(id)) return false;
    if (source == CommandSource::Menu) {
        doc_.notify(kViewChanged);
        dialogs_.focusMainWindow();
    }
    CommandContext context{doc_, view_, ui_, dialogs_, *this};
    // Copied: a command may register commands while it runs.
    const CommandHandler handler = it->second;
    handler(context);
    return true;
}

void CommandDispatcher::setPhaseDialogOpen(bool open) {
    phaseDialogOpen_ = open;
    holdForLiveDialogs();
}

void CommandDispatcher::setApodizationDialogOpen(bool open) {
    apodizationDialogOpen_ = open;
    holdForLiveDialogs();
}

void CommandDispatcher::holdForLiveDialogs() {
    const bool any = phaseDialogOpen_ || apodizationDialogOpen_;
    for (int id : liveDialogHeldCommands()) menus_.setHeld(id, any);
    menus_.setHeld(kCmdInteractiveApodization, phaseDialogOpen_);
    menus_.setHeld(kCmdPhase, apodizationDialogOpen_);
    menus_.setHeld(kCmdApodize, apodizationDialogOpen_);
    // Cancel is the dialog's way back; Undo meanwhile would put the opening's data under a
    // spectrum the movements may have zero filled. Byte Swap would replace the FID it works from.
    menus_.setHeld(kCmdUndo, apodizationDialogOpen_);
    menus_.setHeld(kCmdByteSwap, apodizationDialogOpen_);
}

bool CommandDispatcher::queryClose() { return io::saveQuestion(doc_, ui_); }

bool CommandDispatcher::reportLoaded(bool loaded) {
    if (loaded && fileLoaded_ && !doc_.filePath.empty()) fileLoaded_(doc_.filePath);
    return loaded;
}

bool CommandDispatcher::openPath(const std::string& path) {
    const bool loaded = reportLoaded(io::loadFile(doc_, ui_, path, std::nullopt));
    doc_.notify(kAllDrawn);
    return loaded;
}

bool CommandDispatcher::openRecent(const std::string& path) {
    if (!menus_.isEnabled(kCmdOpen) || !io::saveQuestion(doc_, ui_)) return false;
    simulation::releaseSimulation(doc_.sim);
    const bool loaded = openPath(path);
    clearStatusBar(ui_);
    display::resetTool(view_);
    return loaded;
}

bool CommandDispatcher::openDropped(const std::string& path) {
    if (!menus_.isEnabled(kCmdOpen)) return false;
    // A dropped experiment folder stands for its data file, as on the command line.
    const io::NativeOpen result = io::openNativePath(doc_, ui_, io::resolveBrukerPath(path));
    if (result == io::NativeOpen::HandToImport) dispatch(kCmdImport, CommandSource::Accelerator);
    reportLoaded(result == io::NativeOpen::Loaded);
    doc_.notify(kAllDrawn);
    return result != io::NativeOpen::Cancelled;
}

void CommandDispatcher::open(CommandContext& c) {
    if (!io::saveQuestion(c.doc, c.ui)) return;
    simulation::releaseSimulation(c.doc.sim);
    const io::NativeOpen result = io::openNativeFile(c.doc, c.ui);
    if (result == io::NativeOpen::HandToImport) dispatch(kCmdImport, CommandSource::Accelerator);
    reportLoaded(result == io::NativeOpen::Loaded);
    lastOpenSucceeded_ = result != io::NativeOpen::Cancelled;
    clearStatusBar(c.ui);
    display::resetTool(c.view);
}

void CommandDispatcher::import(CommandContext& c) {
    if (!io::saveQuestion(c.doc, c.ui)) return;
    FileTypeDialogModel model(c.doc);
    // A file handed over by Open or a drop starts the dialog on the format its own bytes name.
    if (c.doc.import.importAskFile == 0) model.checkDetected(io::detectFormat(c.doc.filePath));
    if (!c.dialogs.runFileTypeDialog(model)) {
        // Without this, an Open handed over and then cancelled here would leave the next Import
        // reading the old path with no open dialog.
        c.doc.import.importAskFile = 1;
        return;
    }
    simulation::releaseSimulation(c.doc.sim);
    reportLoaded(io::importData(c.doc, c.ui));
    c.dialogs.focusMainWindow();
    clearStatusBar(c.ui);
    display::resetTool(c.view);
    c.doc.notify(kAllDrawn);
}

void CommandDispatcher::registerBuiltins() {
    registerCommand(kCmdOpen, [this](CommandContext& c) { open(c); });
    registerCommand(kCmdImport, [this](CommandContext& c) { import(c); });
    registerCommand(kCmdSave, [](CommandContext& c) {
        io::saveNativeFile(c.doc, c.ui);
        clearStatusBar(c.ui);
        display::endReferencePick(c.view);
    });
    registerCommand(kCmdExit, [](CommandContext& c) { c.dialogs.requestClose(); });
    registerCommand(kCmdUndo, [](CommandContext& c) {
        undoCommand(c.doc);
        c.doc.notify(kDataChanged | kAxisChanged);
    });
    registerCommand(kCmdSetLimits, [](CommandContext& c) {
        display::SetLimitsDialog model(c.doc, c.view);
        if (c.dialogs.runSetLimitsDialog(model)) display::applyLimitsAsZoom(c.doc, c.view, c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdFull, [](CommandContext& c) { display::viewFull(c.doc, c.view); });
    registerCommand(kCmdUnits, [](CommandContext& c) {
        display::UnitsDialog model(c.doc);
        c.dialogs.runUnitsDialog(model);
    });
    registerCommand(kCmdScaleFactor, [](CommandContext& c) {
        // Asked again until the factor lies within 1 .. 10; each refusal says why.
        for (;;) {
            display::ScaleFactorDialog model(c.view);
            c.dialogs.runScaleFactorDialog(model);
            if (display::acceptScaleFactor(c.view, c.ui)) break;
        }
    });
    registerCommand(kCmdIncrease, [](CommandContext& c) { display::increaseScale(c.doc, c.view); });
    registerCommand(kCmdDecrease, [](CommandContext& c) { display::decreaseScale(c.doc, c.view); });
    registerCommand(kCmdParameters,
                    [](CommandContext& c) { c.dialogs.showParametersDialog(parametersFields(c.doc)); });
    registerCommand(kCmdInvert, [](CommandContext& c) {
        processing::invertData(c.doc);
        c.doc.notify(kDataChanged);
    });
    registerCommand(kCmdHelp, [](CommandContext& c) { c.dialogs.showHelp(); });
    registerCommand(kCmdAbout, [](CommandContext& c) { c.dialogs.showAbout(); });
    registerCommand(kCmdZoom, [](CommandContext& c) {
        clearStatusBar(c.ui);
        display::chooseZoom(c.view);
        c.doc.notify(kViewChanged);
    });
    registerCommand(kCmdMoveSpectrum, [](CommandContext& c) {
        clearStatusBar(c.ui);
        display::chooseMoveSpectrum(c.view);
    });
    registerCommand(kCmdLinearDrift, [](CommandContext& c) {
        processing::removeLinearDrift(c.doc);
        clearStatusBar(c.ui);
        display::endReferencePick(c.view);
        c.doc.notify(kDataChanged);
    });
    registerCommand(kCmdDefaultMode, [](CommandContext& c) {
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdShowGrid, [](CommandContext& c) {
        toggle(c.view.showGrid);
        c.doc.notify(kViewChanged);
    });
    registerCommand(kCmdDualZoom, [](CommandContext& c) {
        toggle(c.view.dualZoom);
        c.doc.notify(kViewChanged);
    });
    registerCommand(kCmdDotDisplay, [](CommandContext& c) {
        toggle(c.view.dotDisplay);
        c.doc.notify(kViewChanged);
    });
    registerCommand(kCmdInsertComments, [](CommandContext& c) {
        CommentEntry entry;
        entry.text = display::commentDialogInitialText(c.doc);
        if (c.dialogs.runCommentDialog(entry)) {
            display::acceptCommentDialog(c.doc, entry.x, entry.y, entry.text, entry.extent);
        }
    });
}

}  // namespace pelvaron::app
