// State of peak picking and J measurement.
#pragma once

namespace pelvaron {

struct PeakState {
    int peakCount = 0;
    int peakRegionCount = 0;
};

struct JState {
    int jShown = 0;
    int jCursorCount = 0;
    int jChainBreak = 0;
};

}  // namespace pelvaron
