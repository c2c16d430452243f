// Placeholders for the actions of the region tools: each is filled in by the subsystem that owns
// the action (integration, peak picking, J measurement, baseline points).
#include "display/tool_actions.h"

#include "analysis/j_measure.h"
#include "analysis/peaks.h"

namespace pelvaron::display {

void integrateRegion(Document& /*doc*/, platform::UserInterface& /*ui*/, double /*x0*/, double /*x1*/) {}

void pickPeakRegion(Document& doc, platform::UserInterface& ui, int iL, int iR, double threshold) {
    analysis::pickPeaksInRegion(doc, ui, iL, iR, threshold);
    // The report opens after every pick, a refused one included: it is where Clear All is.
    doc.peaks.reportRequested = 1;
    ui.requestRepaint();
}

void placeJCursorAt(Document& doc, platform::UserInterface& ui, int x) {
    // The new line, if any, is in jState.jLines, which the open Measure J dialog shows.
    (void)analysis::placeJCursor(doc, x);
    ui.requestRepaint();
}

void addBaselinePoint(Document& /*doc*/, platform::UserInterface& /*ui*/, double /*t*/) {}

int hitIntegralLabel(const Document& /*doc*/, int /*x*/) { return -1; }

void deleteIntegralAt(Document& /*doc*/, platform::UserInterface& /*ui*/, int /*index*/) {}

}  // namespace pelvaron::display
