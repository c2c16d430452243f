// The Simulation menu's dialog flow: the number of nuclei, then the subsystem's page, page after
// page while New is pressed.
#pragma once

#include "app/dispatcher.h"

namespace pelvaron::app {

/// How the flow ended.
enum FlowResult : int {
    kFlowCancelled = 0,      ///< the count was cancelled, or the page could not open
    kFlowDone = 1,           ///< a page ended with OK (or the count 0 asked for no page)
    kFlowDataCancelled = 2,  ///< Simulation data was cancelled
};

/// With `askCount`, "Input parameters" until a valid count is given ("You must enter a number
/// between 1 and 10" after each refusal); then, for a count above 0, "Simulation data". New on
/// that page runs the flow again for the next subsystem. OK enables Edit Parameters and
/// Interactive Simulation and grays Compare; Cancel grays all three.
int newSpinSystemFlow(CommandContext& c, bool askCount);

}  // namespace pelvaron::app
