// Placeholders for the actions of the region tools: each is filled in by the subsystem that owns
// the action (integration, peak picking, J measurement, baseline points).
#include "display/tool_actions.h"

#include "processing/baseline.h"

namespace pelvaron::display {

void integrateRegion(Document& /*doc*/, platform::UserInterface& /*ui*/, double /*x0*/, double /*x1*/) {}

void pickPeakRegion(Document& /*doc*/, platform::UserInterface& /*ui*/, int /*iL*/, int /*iR*/,
                    double /*threshold*/) {}

void placeJCursorAt(Document& /*doc*/, platform::UserInterface& /*ui*/, int /*x*/) {}

void addBaselinePoint(Document& doc, platform::UserInterface& ui, double t) {
    // Beyond the 300 points the list holds, further clicks are ignored.
    (void)processing::MultiPointBaseline(doc, ui).addPoint(t);
}

int hitIntegralLabel(const Document& /*doc*/, int /*x*/) { return -1; }

void deleteIntegralAt(Document& /*doc*/, platform::UserInterface& /*ui*/, int /*index*/) {}

}  // namespace pelvaron::display
