// Which commands are available when: the items enabled before any file is loaded, and the set
// that a loaded document enables (and that Measure J grays while it is open).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>

#include "display/view.h"
#include "document/document.h"

namespace pelvaron::app {

/// Items enabled at start, before any document exists.
[[nodiscard]] std::span<const int> initiallyEnabledCommands();

/// Items that `enableDocumentMenus` enables or grays together (the toolbar follows them).
[[nodiscard]] std::span<const int> documentCommands();

/// The simulation enables and grays these on its own.
[[nodiscard]] std::span<const int> simulationCommands();

/// Grayed while Phase Correction or Interactive Apodization is open: each would replace the data
/// (and their size) under the dialog, whose next scroll, OK or Cancel would then put back data
/// that no longer belong to the document.
[[nodiscard]] std::span<const int> liveDialogHeldCommands();

/// The check mark of a checkable item, from the document or view flag it shows; nothing for
/// items that carry no check mark.
[[nodiscard]] std::optional<bool> checkState(const Document& doc, const display::View& view, int id);

/// Tracks the enabled state of every menu item as the two sets above change it.
class MenuState {
public:
    MenuState();
    /// Enables or grays the document set; also the toolbar's visibility.
    void enableDocumentMenus(bool enable);
    void setEnabled(int id, bool enable);
    /// A held item is grayed whatever the sets above say, until it is let go.
    void setHeld(int id, bool held);
    /// Enabled and not held.
    [[nodiscard]] bool isEnabled(int id) const;
    [[nodiscard]] bool toolbarVisible() const { return toolbarVisible_; }

private:
    std::map<int, bool> enabled_;
    std::set<int> held_;
    bool toolbarVisible_ = false;
};

}  // namespace pelvaron::app
