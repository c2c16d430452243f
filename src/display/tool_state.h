// The state of the mouse tools between button-down and button-up, and the zoom bookkeeping.
#pragma once

namespace pelvaron::display {

struct ToolState {
    int dragging = 0;
    int anchorX = 0, anchorY = 0;
    int dragX = 0, dragY = 0;
    int lineDrawn = 0, rectDrawn = 0;
    int inOverview = 0;
    int fromSetLimits = 0;
    double zoomLeftPx = 0.0, zoomRightPx = 0.0;
    int panned = 0;
    int firstPan = 1;
    double panStartLeft = 0.0;
    int commentDragging = 0;
    int overviewBottom = 200;     ///< last row of the overview band: a quarter of the client's height
    int referencePickIndex = -1;  ///< the reference pick point; -1 = none picked
    double referencePickT = 0.0;  ///< time (seconds scale) of the reference pick
    int suppressFrom = 0;         ///< suppress region picked with the mouse: first index
    int suppressTo = 0;           ///< and last index, both multiples of 4
    int zoomChosenBefore = 0;     ///< Zoom has been chosen once since start-up

    /// What a new data set clears: the zoom and pan bookkeeping and the reference pick. A drag
    /// under way stays.
    void resetForNewData() {
        zoomLeftPx = zoomRightPx = 0.0;
        panned = 0;
        firstPan = 1;
        panStartLeft = 0.0;
        referencePickIndex = -1;
    }
};

}  // namespace pelvaron::display
