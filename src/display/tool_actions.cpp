// The actions of the region tools, handed to the subsystem that owns each.
#include "display/tool_actions.h"

#include "analysis/integrals.h"
#include "analysis/j_measure.h"
#include "analysis/peaks.h"
#include "processing/baseline.h"

namespace pelvaron::display {

void integrateRegion(Document& doc, platform::UserInterface& ui, double x0, double x1) {
    analysis::createIntegral(doc, ui, x0, x1, doc.integrals.integralRestart);
}

void pickPeakRegion(Document& doc, platform::UserInterface& ui, int iL, int iR, double threshold) {
    analysis::pickPeaksInRegion(doc, ui, iL, iR, threshold);
    ui.requestRepaint();
}

void placeJCursorAt(Document& doc, platform::UserInterface& ui, int x) {
    // The new line, if any, is in jState.jLines, which the open Measure J dialog shows.
    (void)analysis::placeJCursor(doc, x);
    ui.requestRepaint();
}

void addBaselinePoint(Document& doc, platform::UserInterface& ui, double t) {
    // Beyond the 300 points the list holds, further clicks are ignored.
    (void)processing::MultiPointBaseline(doc, ui).addPoint(t);
}

int hitIntegralLabel(Document& doc, int x) {
    return analysis::hitIntegralLabel(doc, x) ? doc.integrals.refIntegral : -1;
}

void deleteIntegralAt(Document& doc, platform::UserInterface& /*ui*/, int index) {
    IntegralState& in = doc.integrals;
    if (index < 0 || index >= in.integralCount) return;
    // The integral deleted is the reference; the one before comes back after it.
    if (index != in.refIntegral) {
        in.prevRefIntegral = in.refIntegral;
        in.refIntegral = index;
    }
    analysis::deleteIntegral(doc);
}

}  // namespace pelvaron::display
