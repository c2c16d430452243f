// State of the expansion windows (each its own region of the data, scales and integral position)
// and of the printed page (the Printer Options and the page factors of the last output).
#pragma once

#include <array>

#include "base/geometry.h"

namespace pelvaron::display {

inline constexpr int kMaxExpansions = 5;

/// One expansion window's slot. Rectangles are the window's client coordinates, except `frame`.
struct ExpansionSlot {
    int expLeftIndex = 0;   ///< first index shown (even)
    int expRightIndex = 0;  ///< last index shown (even)
    int expSpan = 0;        ///< expRightIndex - expLeftIndex
    double expVScale = 75.0;
    double expIntegralScale = 0.055;
    int expIntegralY = 0;
    Rect expClient;
    Rect expPlotRect;        ///< the client with its bottom raised by 21 pixels
    Rect expBaselineHandle;  ///< 6-pixel band whose centre row is the window's zero line
    /// Where the window stands: its outer rectangle in the main plot's coordinates (as the
    /// document's plot pixels), and the window's height less its client area's (caption and
    /// frame), by which the printed inset's rows are shifted.
    Rect frame;
    int captionHeight = 0;
};

struct ExpansionState {
    std::array<ExpansionSlot, kMaxExpansions> windows{};  ///< by slot number
};

/// The Printer Options and the factors the page is drawn with.
struct PrintState {
    int printColour = 0;      ///< "Print (or Export Metafile) in Colour"
    int printParams = 1;      ///< "Print Acquisition Parameters"
    int printExpBorders = 0;  ///< "Print Border of Expansions"
    double pageBaseFactor = 1.6;
    double pageAxisScale = 1.8;
    double pageScaleX = 1.0;  ///< target resolution over the screen's, horizontally
    double pageScaleY = 1.0;
};

}  // namespace pelvaron::display
