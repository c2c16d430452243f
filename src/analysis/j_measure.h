// Measure J: numbered cursors dropped on the spectrum with the mouse and the distance in Hz
// between each cursor and the one before it, listed in the modeless "Measure J" dialog.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/report_pages.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::analysis {

/// |a * SW / TD - b * SW / TD| for two cursor indices, in Hz; 0 without a TD.
[[nodiscard]] double jBetween(const Document& doc, int a, int b);

/// A cursor at data index p (the real part the tool picked). Unless it is the
/// first or follows a Reset, the line "J %d-%d=%.2lf" against the previous cursor is appended to
/// the list (jLines) and returned. Once the table's 202 cursors are placed further clicks are
/// ignored (nothing changes, nothing is returned).
std::optional<std::string> placeJCursor(Document& doc, int p);

/// The "Measure J" dialog without its widgets: list 1073 is `lines()`.
class MeasureJDialog {
public:
    MeasureJDialog(Document& doc, platform::UserInterface& ui) : doc_(doc), ui_(ui) {}

    /// Grays the document menus while the measurement lasts; the cursors are shown.
    void open();
    /// Ends the measurement: no cursors, the menus back; the dialog closes (and the window puts
    /// the J tool down).
    void ok();
    /// Removes every cursor and line; the tool stays active.
    void clearAll();
    /// The next cursor starts a new chain: no J line against the one before it.
    void reset() { doc_.jState.jChainBreak = 1; }

    [[nodiscard]] const std::vector<std::string>& lines() const { return doc_.jState.jLines; }

    /// What Print sends to the printer, per copy: "Meassure J result:", a blank line, then the J
    /// between every two consecutive cursors (across Resets as well). A page holds `perPage`
    /// lines from its top (linesPerPage(height, lineHeight, 0)); the next goes on a new page.
    [[nodiscard]] std::vector<PrintedPage> printPages(int perPage) const;

private:
    Document& doc_;
    platform::UserInterface& ui_;
};

}  // namespace pelvaron::analysis
