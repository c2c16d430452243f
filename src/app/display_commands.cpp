// Create Expansions, Add/Subtract and the buttons of the two-set display's strip.
#include "app/display_commands.h"

#include "display/expansions.h"
#include "display/two_set.h"

namespace pelvaron::app {

bool startTwoSetDisplay(CommandContext& c, const std::function<bool()>& bringNewData) {
    const int saveQuery = c.doc.noSaveQuery;
    display::prepareTwoSetDisplay(c.doc, c.view);
    if (!bringNewData()) {
        // Nothing was replaced: the present data keep their save question.
        c.doc.noSaveQuery = saveQuery;
        return false;
    }
    c.dialogs.showTwoSetControls(true);
    display::beginTwoSetDisplay(c.doc, c.view);
    c.dialogs.focusMainWindow();
    c.doc.notify(kAllDrawn);
    return true;
}

void CommandDispatcher::registerDisplayCommands() {
    registerCommand(kCmdCreateExpansion, [](CommandContext& c) {
        const int slot = display::claimExpansionSlot(c.view, c.ui);
        if (slot >= 0) c.dialogs.openExpansionWindow(slot);
    });
    registerCommand(kCmdAddSubtract, [this](CommandContext& c) {
        (void)startTwoSetDisplay(c, [this, &c] {
            open(c);
            return lastOpenSucceeded_;
        });
    });

    auto strip = [this](int id, std::function<void(CommandContext&)> action) {
        registerCommand(id, [action = std::move(action)](CommandContext& c) {
            action(c);
            c.dialogs.focusMainWindow();
        });
        // The strip exists only while the display is on; its buttons need no menu item.
        menus_.setEnabled(id, true);
    };
    strip(kCmdTwoSetAdd, [](CommandContext& c) { display::addScaledSecond(c.doc, c.view, +1); });
    strip(kCmdTwoSetSubtract, [](CommandContext& c) { display::addScaledSecond(c.doc, c.view, -1); });
    strip(kCmdTwoSetSwap, [](CommandContext& c) { display::swapTwoSets(c.doc); });
    strip(kCmdTwoSetRange, [](CommandContext& c) {
        // The strip follows the document: its factor bar takes the new range.
        if (display::increaseFactorRange(c.view, c.ui)) c.doc.notify(kViewChanged);
    });
    strip(kCmdTwoSetOk, [](CommandContext& c) {
        c.dialogs.showTwoSetControls(false);
        display::endTwoSetDisplay(c.doc, c.view, true);
    });
    strip(kCmdTwoSetQuit, [](CommandContext& c) {
        c.dialogs.showTwoSetControls(false);
        display::endTwoSetDisplay(c.doc, c.view, false);
    });
}

}  // namespace pelvaron::app
