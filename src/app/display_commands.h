// The commands of the expansion windows and of the two-set display, and the start of that
// display that Add/Subtract and Compare share.
#pragma once

#include <functional>

#include "app/dispatcher.h"

namespace pelvaron::app {

/// The buttons of the two-set display's control strip arrive as these commands.
enum TwoSetCommandId : int {
    kCmdTwoSetOk = 3456,
    kCmdTwoSetQuit = 3457,
    kCmdTwoSetAdd = 3458,
    kCmdTwoSetSubtract = 3459,
    kCmdTwoSetRange = 3460,
    kCmdTwoSetSwap = 3461,
};

/// Starts the two-set display with the present data as the second set: prepares the document,
/// lets `bringNewData` put the other set into specData (a file's, a simulation's) and, when it
/// reports success, turns the display and its controls on. A failure leaves the display off and
/// the save question as it was.
bool startTwoSetDisplay(CommandContext& c, const std::function<bool()>& bringNewData);

}  // namespace pelvaron::app
