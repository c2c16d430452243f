// The Measure J tool on the plot: arming it, and its numbered cursors drawn over the spectrum.
#pragma once

#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"
#include "platform/user_interface.h"

namespace pelvaron::display {

/// Command 40149 "Measure &J": a blank prompt, the J tool with its vertical line,
/// cursors shown. The window then opens the modeless Measure J dialog.
void chooseMeasureJ(Document& doc, View& view, platform::UserInterface& ui);

/// Each cursor k as a vertical line from row 5 to clientHeight - 65 at its place in the view,
/// labelled "%d" (k) centred on it, at row 50 for even k and 90 for odd k so that neighbouring
/// labels alternate height. Uses the surface's current pen and font.
void drawJCursors(platform::Surface& surface, const Document& doc, const View& view);

}  // namespace pelvaron::display
