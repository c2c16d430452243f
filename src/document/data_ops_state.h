// The choices of the Shift Data and Supress Peaks dialogs, remembered while the program runs.
#pragma once

namespace pelvaron {

struct DataOpsState {
    int shiftLeft = 0;        ///< "Left Shift data" was chosen last; "Right Shift data" otherwise
    int suppressByZeros = 0;  ///< "Substitute by zeros" was chosen last; "Substitute by noise" otherwise
};

}  // namespace pelvaron
